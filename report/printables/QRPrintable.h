// TQRPrintable: the base of every control that prints on a report page.
//
// A printable sits on a band or directly on the report. It keeps its geometry in a
// TQRPrintableSize (0.1 mm, pushed into the control as pixels at its zoom) and its frame in a
// TQRFrame. Every generation run goes through it in a fixed order:
//
//     PrepareForRun()          once: printing, and the report's printer bound
//     PrintAt(x, y)            each time its band prints (the band's position in 0.1 mm), or at
//                              each page end, at (0, 0), for a control on the report itself;
//                              a control with more for the next page clears PrintFinished
//     ReleaseAfterRun()        once: no longer printing
//
// Only ShouldPrint (Enabled) decides whether a control prints. No window is needed for any of
// it: the control's window is made only when it is shown.
#pragma once

#include <memory>

#include "framework/controls/Control.h"
#include "framework/controls/StdCtrls.h"
#include "report/printables/QRFrame.h"
#include "report/printables/QRPrintableEditor.h"
#include "report/printables/QRReportLinks.h"
#include "report/printables/QRUnits.h"

class TQRPrintable : public TCustomControl {
    FV_CLASS(TQRPrintable, TCustomControl)
public:
    explicit TQRPrintable(TComponent* owner);
    ~TQRPrintable() override;
    static void Publish(TPublisher<TQRPrintable>& p);

    virtual bool ShouldPrint() const { return Enabled(); }
    virtual TQRPrintableEditorClass PropertyEditorClass() const { return TQRPrintableEditor::EditorClass(); }
    // Moves the control to the band's left, right or centre when AlignToBand is on.
    virtual void ApplyBandAlignment();
    virtual void PrepareForRun();
    // xOffset, yOffset: 0.1 mm added to the control's own position.
    virtual void PrintAt(int xOffset, int yOffset);
    // Operation 2: the band changed its bounds, the alignment is applied again.
    virtual void ReportNotification(TObject* sender, Byte operation);
    virtual void ChangeAlignment(TAlignment alignment);
    virtual void ReleaseAfterRun();
    // The height the control needs, in screen pixels; the base leaves it as it is.
    virtual void NeededHeight(Extended& height) { (void)height; }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment) { ChangeAlignment(alignment); }
    bool AlignToBand() const { return alignToBand_; }
    void SetAlignToBand(bool align);
    bool Transparent() const { return !ControlStyle().Contains(csOpaque); }
    void SetTransparent(bool transparent);
    TQRFrame* Frame() const { return frame_.get(); }
    void SetFrame(const TQRFrame& frame) { frame_->Assign(&frame); }
    TQRPrintableSize* Size() const { return size_.get(); }

    bool Printing() const { return printing_; }
    bool PrintFinished() const { return printFinished_; }
    void SetPrintFinished(bool finished) { printFinished_ = finished; }
    IQRReport* ParentReport() const { return parentReport_; }
    TQRPrinter* QRPrinter() const { return printer_; }
    int DisplayZoom() const { return size_->Zoom(); }
    void SetZoom(int zoom);

    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;

protected:
    void Loaded() override;
    void Paint() override;

private:
    void BindToReport(IQRReport* report);

    bool aligning_ = false;
    TAlignment alignment_ = taLeftJustify;
    bool alignToBand_ = false;
    std::unique_ptr<TQRFrame> frame_;
    bool printing_ = false;
    IQRReport* parentReport_ = nullptr;
    bool printFinished_ = true;
    TQRPrinter* printer_ = nullptr;
    std::unique_ptr<TQRPrintableSize> size_;
    // Non-zero bounds met while the description is read.
    int loadedLeft_ = 0, loadedTop_ = 0, loadedWidth_ = 0, loadedHeight_ = 0;
};
