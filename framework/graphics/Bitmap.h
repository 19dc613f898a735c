// A bitmap held as a DIB section, so that its pixels are addressable (ScanLine) and it draws the
// same on every device. Reads and writes the BMP format.
#pragma once

#include <memory>
#include <vector>

#include "framework/graphics/Canvas.h"
#include "framework/graphics/GdiHandles.h"
#include "framework/graphics/Graphic.h"

enum TPixelFormat { pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
    FV_CLASS(TBitmap, TGraphic)
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pf24bit);
    ~TBitmap() override;

    std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TBitmap>(); }

    bool Empty() const override { return !dib_; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetWidth(int width) override { SetSize(width, height_); }
    void SetHeight(int height) override { SetSize(width_, height); }
    // Keeps the overlapping top-left part of the image; new area is white. 0 in either makes it empty.
    void SetSize(int width, int height);

    TPixelFormat PixelFormat() const { return format_; }
    void SetPixelFormat(TPixelFormat format);  // converts the image
    bool Monochrome() const { return format_ == pf1bit; }
    void SetMonochrome(bool monochrome);

    // Row y (0 = top) of the pixel data; rows are padded to 4 bytes (BytesPerScanLine).
    void* ScanLine(int y);
    int BytesPerScanLine() const;

    // The DIB section; 0 when empty.
    HBITMAP Handle() const { return dib_.get(); }
    // Takes the bitmap (a device-dependent one is converted to a DIB section and freed); an empty
    // owner empties the bitmap.
    void SetHandle(UniqueBitmap handle);
    // Gives the handle to the caller; the bitmap is empty afterwards.
    UniqueBitmap ReleaseHandle();

    TCanvas& Canvas();

    // Auto mode takes the colour of the bottom-left pixel.
    TColor TransparentColor();
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode);

    void Draw(TCanvas& canvas, const TRect& r) override;
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;

protected:
    // Copies a bitmap exactly; any other graphic is drawn onto a white 24-bit bitmap of its size.
    void AssignGraphic(const TGraphic& source) override;

private:
    class BitmapCanvas;
    void CanvasChanged(TObject*) { Changed(); }

    void Replace(UniqueBitmap dib, void* bits, int width, int height, TPixelFormat format);
    void CopyImageTo(TBitmap& target, int width, int height) const;
    HDC MemoryDC();  // the canvas's DC, with the bitmap selected

    UniqueBitmap dib_;
    void* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    TPixelFormat format_ = pf24bit;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = tmAuto;
    std::unique_ptr<BitmapCanvas> canvas_;
};

// Bits per pixel of a format, and the format for a bit count (16 reads as 24).
int BitsPerPixel(TPixelFormat format);

// A DIB section of the given format, white (or palette index of white); bits receives the pixels.
// The palette for 1/4/8 bits is black/white, the 16 standard colours, or a colour cube with greys;
// an explicit palette replaces it.
UniqueBitmap CreateDibSection(int width, int height, TPixelFormat format, void** bits,
                              const std::vector<RGBQUAD>* palette = nullptr);
