// The preview control: one page of a report printer's page store shown on screen at a zoom, in a
// scroll box. While attached it is the printer's client, so pages appear as they are stored.
#pragma once

#include <memory>
#include <vector>

#include "framework/controls/ScrollBox.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Metafile.h"
#include "report/printer/QRPreviewInterface.h"
#include "report/printer/QRPrinter.h"

FV_ENUM(TQRHyperlinkEventType, heCursorMoveOver, heCursorMoveAway, heGoto)

using TQRPageAvailableEvent = TMethod<void(TObject* Sender, int PageNum)>;
using TQRProgressUpdateEvent = TMethod<void(TObject* Sender, int Progress)>;
using TQRPreviewHyperlinkEvent =
    TMethod<void(TObject* Sender, TQRHyperlinkEventType EventType, const String& Link, bool& Handled)>;

struct TQRPreviewLink {
    int Left = 0;  // device units of the page at zoom 100
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    String Link;
};

// Paints a page (or, while designing, an empty one): white paper, a black frame and a 2-pixel
// shadow at the right and bottom, the metafile stretched over the whole rectangle. Thumbnails
// use it too.
void DrawPageImage(TMetafile* metafile, TCanvas& canvas, const TRect& rect, bool design);

class TQRPreviewImage : public TGraphicControl {
    FV_CLASS(TQRPreviewImage, TGraphicControl)
public:
    explicit TQRPreviewImage(TComponent* owner);
    ~TQRPreviewImage() override;

    TQRPrinter* Printer() const { return printer_; }
    void SetPrinter(TQRPrinter* printer) { printer_ = printer; }
    int PageNumber() const { return pageNumber_; }
    TMetafile* Metafile() const { return metafile_.get(); }
    int Zoom() const { return zoom_; }
    void SetZoom(int zoom) { zoom_ = zoom; }
    // Shows stored page n, or nothing while it is not stored.
    void ShowPage(int page);

    // The link under control pixel (x, y); empty without one.
    String LinkAt(int x, int y);
    void SetLinks(std::vector<TQRPreviewLink> links) { links_ = std::move(links); }
    bool OverLink() const { return overLink_; }
    void SetIsLink(bool value);

    TQRPreviewHyperlinkEvent OnHyperlink;

    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    void Paint() override;

private:
    // The page drawn at a size it can be read at and shrunk to the image's, kept until the page
    // or the size changes.
    TBitmap& ReducedPage(int width, int height);

    std::vector<TQRPreviewLink> links_;
    TQRPrinter* printer_ = nullptr;
    int pageNumber_ = 1;
    std::unique_ptr<TMetafile> metafile_;
    std::unique_ptr<TBitmap> reduced_;
    int zoom_ = 100;
    bool overLink_ = false;
    String lastLink_;
};

class TQRPreview : public TScrollBox, public IQRPrinterClient {
    FV_CLASS(TQRPreview, TScrollBox)
public:
    explicit TQRPreview(TComponent* owner);
    ~TQRPreview() override;

    TQRPreviewImage& Image() { return *image_; }
    TQRPrinter* QRPrinter() const { return printer_; }
    void AttachPrinter(TQRPrinter* printer);

    int PageNumber() const { return pageNumber_; }
    void SetPageNumber(int page);
    int Zoom() const { return zoom_; }
    void SetZoom(int zoom);
    TQRZoomState ZoomState() const { return zoomState_; }
    void SetZoomState(TQRZoomState state) { zoomState_ = state; }
    IQROutlineTree* Outline() const { return outline_; }
    void SetOutline(IQROutlineTree* outline);

    void FitWholePage();
    void FitPageWidth();
    void LayoutPage();
    void ApplyZoomState();
    void PageBecameAvailable();

    TQRPageAvailableEvent OnPageAvailable;
    TQRProgressUpdateEvent OnProgressUpdate;

    // IQRPrinterClient
    HWND ClientHandle() override { return HandleIfAllocated(); }
    void PrinterDestroyed(TQRPrinter& printer) override;

    void WndProc(TMessage& message) override;

protected:
    void Resize() override;
    void DoEnter() override;
    void BeforeDestruction() override;

private:
    // The page's size on screen at zoom 100, device pixels; 0 when there is no paper to measure.
    int PaperPixelsWide() const;
    int PaperPixelsHigh() const;

    TQRPreviewImage* image_;  // owned as a component
    int pageNumber_ = 1;
    TQRPrinter* printer_ = nullptr;
    int zoom_ = 100;
    TQRZoomState zoomState_ = qrZoomOther;
    IQROutlineTree* outline_ = nullptr;
};
