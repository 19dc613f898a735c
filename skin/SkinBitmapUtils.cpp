#include "skin/SkinBitmapUtils.h"

#include <cstdint>

namespace {

TColor SystemColorValue(int index) { return static_cast<TColor>(GetSysColor(index)); }

template <typename Transform>
void Rewrite(TBitmap& bitmap, Transform transform) {
    if (bitmap.Empty()) return;
    WriteSkinPixels(bitmap, transform(ReadSkinPixels(bitmap)));
}

}  // namespace

TSkinPixels ReadSkinPixels(TBitmap& bitmap) {
    if (bitmap.Empty()) return {};
    bitmap.SetPixelFormat(pf24bit);
    TSkinPixels pixels(bitmap.Width(), bitmap.Height());
    for (int y = 0; y < pixels.Height; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(bitmap.ScanLine(y));
        for (int x = 0; x < pixels.Width; ++x, row += 3) pixels.At(x, y) = row[2] | (row[1] << 8) | (row[0] << 16);
    }
    return pixels;
}

void WriteSkinPixels(TBitmap& bitmap, const TSkinPixels& pixels) {
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(pixels.Width, pixels.Height);
    if (bitmap.Empty()) return;
    for (int y = 0; y < pixels.Height; ++y) {
        auto* row = static_cast<std::uint8_t*>(bitmap.ScanLine(y));
        for (int x = 0; x < pixels.Width; ++x, row += 3) {
            const TColor p = pixels.At(x, y);
            row[0] = static_cast<std::uint8_t>(p >> 16);
            row[1] = static_cast<std::uint8_t>(p >> 8);
            row[2] = static_cast<std::uint8_t>(p);
        }
    }
}

void GrayScaleBitmap(TBitmap& bitmap) {
    Rewrite(bitmap, [](TSkinPixels p) {
        GrayScalePixels(p);
        return p;
    });
}

void ReplaceKeyColor(TBitmap& bitmap, TColor color) {
    Rewrite(bitmap, [color](TSkinPixels p) {
        ReplaceKeyPixels(p, color);
        return p;
    });
}

void MirrorBitmap(TBitmap& bitmap) { Rewrite(bitmap, [](const TSkinPixels& p) { return MirroredPixels(p); }); }
void FlipBitmap(TBitmap& bitmap) { Rewrite(bitmap, [](const TSkinPixels& p) { return FlippedPixels(p); }); }
void RotateBitmapLeft(TBitmap& bitmap) { Rewrite(bitmap, [](const TSkinPixels& p) { return RotatedLeftPixels(p); }); }
void RotateBitmapRight(TBitmap& bitmap) { Rewrite(bitmap, [](const TSkinPixels& p) { return RotatedRightPixels(p); }); }

TColor BlendColors(TColor c1, TColor c2, int weight) { return BlendColors(c1, c2, weight, &SystemColorValue); }

TGradientCache& SharedGradientCache() {
    static TGradientCache cache;
    return cache;
}

void GradientFillRect(HDC dc, const TRect& rect, TColor start, bool vertical, TColor end, TGradientCache& cache) {
    const RECT area{rect.Left, rect.Top, rect.Right, rect.Bottom};
    if (!RectVisible(dc, &area)) return;
    const TColor from = static_cast<TColor>(ColorToRGB(start));
    const TColor to = static_cast<TColor>(ColorToRGB(end));
    const int length = vertical ? rect.Height() : rect.Width();
    if (length <= 0) return;
    RECT clip{};
    GetClipBox(dc, &clip);
    const TLineSpan lines = vertical ? GradientLineSpan(rect.Top, length, clip.top, clip.bottom)
                                     : GradientLineSpan(rect.Left, length, clip.left, clip.right);
    const int slot = cache.GetGradientColors(length, from, to);
    const std::vector<TColor>& run = cache.Slot(slot);
    for (int i = lines.First; i <= lines.Last; ++i) {
        const RECT line = vertical ? RECT{rect.Left, rect.Top + i, rect.Right, rect.Top + i + 1}
                                   : RECT{rect.Left + i, rect.Top, rect.Left + i + 1, rect.Bottom};
        UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(run[static_cast<std::size_t>(i)])));
        FillRect(dc, &line, brush.get());
    }
}
