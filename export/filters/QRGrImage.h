// TQRGrImage: a picture printed in the control's rectangle, stretched, or fitted to it by one
// of its sides (FitMode), optionally centred and clipped to its natural size. It hands itself
// to any export filter after drawing.
#pragma once

#include <memory>

#include "framework/graphics/Picture.h"
#include "report/printables/QRPrintable.h"

class TQRPrinter;

FV_ENUM(TFitMode, fmProportional, fmKeepWidth, fmKeepHeight, fmInsideProp)

// Where a picture of pictureWidth x pictureHeight pixels prints, unstretched, in a control at
// (x, y) of width x height (0.1 mm) that measures controlWidth x controlHeight pixels: the device
// rectangle with one side following the other as mode says.
TRect FittedPictureRect(const TQRPrinter& printer, Extended x, Extended y, Extended width, Extended height,
                        int pictureWidth, int pictureHeight, int controlWidth, int controlHeight, TFitMode mode,
                        bool center);

// Draws the graphic into r on the page as the export-aware pictures do: stretched, or clipped to
// r (with clipImage at its natural size from r's top-left, centred in the control's device size
// deviceWidth x deviceHeight when center is on).
void DrawFittedPicture(TCanvas& canvas, TGraphic& graphic, TRect r, bool stretch, bool clipImage, bool center,
                       const TQRPrinter& printer, int deviceWidth, int deviceHeight);

class TQRGrImage : public TQRPrintable {
    FV_CLASS(TQRGrImage, TQRPrintable)
public:
    explicit TQRGrImage(TComponent* owner);
    ~TQRGrImage() override;
    static void Publish(TPublisher<TQRGrImage>& p);

    void PrintAt(int xOffset, int yOffset) override;

    TPicture* Picture() const { return picture_.get(); }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool ClipImage() const { return clipImage_; }
    void SetClipImage(bool value) { clipImage_ = value; }
    TFitMode FitMode() const { return fitMode_; }
    void SetFitMode(TFitMode value) { fitMode_ = value; }

protected:
    void Paint() override;

private:
    void PictureChanged(TObject*);

    std::unique_ptr<TPicture> picture_;
    bool autoSize_ = false;
    bool center_ = false;
    bool stretch_ = false;
    bool clipImage_ = false;
    TFitMode fitMode_ = fmProportional;
};
