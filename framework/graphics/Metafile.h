// Enhanced metafiles: recorded GDI drawing that plays back at any size. TMetafileCanvas records
// into a metafile; the recording is complete when the canvas is destroyed.
#pragma once

#include <memory>

#include "framework/graphics/Canvas.h"
#include "framework/graphics/GdiHandles.h"
#include "framework/graphics/Graphic.h"

class TMetafile : public TGraphic {
    FV_CLASS(TMetafile, TGraphic)
public:
    TMetafile() = default;

    std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TMetafile>(); }

    bool Empty() const override { return !handle_; }
    // Size in screen pixels; settable before recording to fix the recording's frame.
    int Width() const override;
    int Height() const override;
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    // The frame in 0.01 mm.
    int MMWidth() const;
    int MMHeight() const;
    void SetMMWidth(int width);
    void SetMMHeight(int height);

    HENHMETAFILE Handle() const { return handle_.get(); }
    // The frame is read from the metafile's header. A handle set here is the program's own
    // drawing, played as it is.
    void SetHandle(UniqueEnhMetafile handle);
    UniqueEnhMetafile ReleaseHandle();
    void Clear();

    // A metafile read from a stream plays only the records the metafile check knows (IsSoundEmf).
    void Draw(TCanvas& canvas, const TRect& r) override;
    // Raw EMF: reads exactly the byte count the EMF header states, after checking the records.
    // A Windows metafile (with or without the placeable header) is checked (IsSoundWmf) and
    // converted to an enhanced one.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;

protected:
    void AssignGraphic(const TGraphic& source) override;

private:
    void LoadEnhanced(TStream& stream, Int64 start);
    void LoadWindowsMetafile(TStream& stream, Int64 start, bool placeable);

    UniqueEnhMetafile handle_;
    bool fromStream_ = false;  // read from outside: drawn record by record, checked ones only
    int mmWidth_ = 0;  // 0.01 mm
    int mmHeight_ = 0;
};

class TMetafileCanvas : public TCanvas {
public:
    // Records for metafile, measuring text and resolution on referenceDevice (0 = the screen).
    TMetafileCanvas(TMetafile& metafile, HDC referenceDevice);
    // Ends the recording and hands the result to the metafile.
    ~TMetafileCanvas() override;
    String ClassName() const override { return L"TMetafileCanvas"; }

private:
    TMetafile& metafile_;
    UniqueMetafileRecording recording_;
};
