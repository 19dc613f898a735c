// JPEG pictures: kept compressed, decoded to a 24-bit DIB for drawing. Errors of the codec raise
// EJPEG "JPEG error #<code>".
#pragma once

#include <memory>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Graphic.h"

FV_DECLARE_EXCEPTION(EJPEG, EInvalidGraphic);

class TJPEGImage : public TGraphic {
    FV_CLASS(TJPEGImage, TGraphic)
public:
    TJPEGImage();
    ~TJPEGImage() override;

    std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TJPEGImage>(); }

    bool Empty() const override { return width_ == 0; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetWidth(int) override;  // a JPEG's size is fixed by its data
    void SetHeight(int) override;

    int CompressionQuality() const { return quality_; }
    void SetCompressionQuality(int quality);  // 1..100; takes effect at the next compression

    // The decoded picture.
    const TBitmap& Bitmap();
    // Builds the compressed data from the picture when it has none (after Assign of a bitmap).
    void Compress();

    void Draw(TCanvas& canvas, const TRect& r) override;
    // Reads the rest of the stream; a picture that does not decode leaves this one unchanged.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;

protected:
    // From another JPEG (the compressed data), or from any graphic drawn as a bitmap.
    void AssignGraphic(const TGraphic& source) override;

private:
    TBitmap& DIBNeeded();

    std::vector<Byte> data_;
    std::unique_ptr<TBitmap> bitmap_;
    int width_ = 0;
    int height_ = 0;
    int quality_ = 90;
};
