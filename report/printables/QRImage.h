// TQRImage: a picture printed in the control's rectangle, stretched to it or at its natural size
// (read as screen pixels, so the same on paper at any printer resolution), clipped to the
// rectangle and optionally centred in it. The picture may be empty (an optional photo): then
// nothing is drawn, and a filter still gets the control.
#pragma once

#include <memory>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Picture.h"
#include "report/printables/QRPrintable.h"

// Draws the bitmap's device-independent pixels stretched into r. Each step is checked: a bitmap
// that cannot be read (an empty one included) draws nothing. Returns whether it drew.
bool DrawBitmapAsDIB(TCanvas& canvas, const TRect& r, const TBitmap& bitmap);

// Where a picture of pictureWidth x pictureHeight screen pixels prints without stretching, in a
// destination whose device rectangle is r; xFactor, yFactor: device units per 0.1 mm.
TRect NaturalPictureRect(const TRect& r, int pictureWidth, int pictureHeight, Extended xFactor, Extended yFactor,
                         bool center);

class TQRImage : public TQRPrintable {
    FV_CLASS(TQRImage, TQRPrintable)
public:
    explicit TQRImage(TComponent* owner);
    ~TQRImage() override;
    static void Publish(TPublisher<TQRImage>& p);

    void PrintAt(int xOffset, int yOffset) override;

    TPicture* Picture() const { return picture_.get(); }
    void AssignPicture(const TPicture* value) { picture_->Assign(value); }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);

    // Draws the picture on canvas into the device rectangle r as a page shows it.
    void DrawPicture(TCanvas& canvas, const TRect& r, Extended xFactor, Extended yFactor);

protected:
    void Paint() override;

private:
    void PictureChanged(TObject*);

    std::unique_ptr<TPicture> picture_;
    bool autoSize_ = false;
    bool stretch_ = false;
    bool center_ = false;
};
