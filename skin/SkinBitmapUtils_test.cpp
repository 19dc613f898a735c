#include <gtest/gtest.h>

#include <vector>

#include "skin/SkinBitmapUtils.h"
#include "skin/SkinGeometry.h"
#include "testing/TestPixels.h"

namespace {

// A 3 x 2 bitmap of six colours in the given format:  A B C
//                                                      D E F
constexpr TColor A = 0x0000FF, B = 0x00FF00, C = 0xFF0000, D = 0x00FFFF, E = 0xFFFF00, F = 0x102030;
std::unique_ptr<TBitmap> Sample(TPixelFormat format) {
    auto bitmap = std::make_unique<TBitmap>(3, 2, format);
    const TColor colors[] = {A, B, C, D, E, F};
    for (int i = 0; i < 6; ++i) bitmap->Canvas().SetPixels(i % 3, i / 3, colors[i]);
    return bitmap;
}

std::vector<TColor> Pixels(TBitmap& bitmap) {
    std::vector<TColor> pixels;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) pixels.push_back(DibPixel(bitmap, x, y));
    return pixels;
}

TEST(SkinBitmapUtils, MirrorFlipAndRotateMakeTheBitmap24BitFirst) {
    struct Case {
        const char* name;
        void (*operation)(TBitmap&);
        int width, height;
        std::vector<TColor> expected;
    };
    const Case cases[] = {
        {"mirror", MirrorBitmap, 3, 2, {C, B, A, F, E, D}},
        {"flip", FlipBitmap, 3, 2, {D, E, F, A, B, C}},
        {"left", RotateBitmapLeft, 2, 3, {C, F, B, E, A, D}},
        {"right", RotateBitmapRight, 2, 3, {D, A, E, B, F, C}},
    };
    for (const auto& c : cases)
        for (TPixelFormat format : {pf24bit, pf32bit}) {
            SCOPED_TRACE(std::string(c.name) + (format == pf24bit ? " 24-bit" : " 32-bit"));
            auto bitmap = Sample(format);
            c.operation(*bitmap);
            EXPECT_EQ(bitmap->PixelFormat(), pf24bit);
            EXPECT_EQ(bitmap->Width(), c.width);
            EXPECT_EQ(bitmap->Height(), c.height);
            EXPECT_EQ(Pixels(*bitmap), c.expected);
        }
    TBitmap empty;
    RotateBitmapLeft(empty);
    EXPECT_TRUE(empty.Empty());
}

TEST(SkinBitmapUtils, GrayScaleAndKeyColour) {
    auto bitmap = Sample(pf32bit);
    bitmap->Canvas().SetPixels(1, 1, kSkinKeyColor);
    ReplaceKeyColor(*bitmap, 0x445566);
    EXPECT_EQ(bitmap->PixelFormat(), pf24bit);
    EXPECT_EQ(Pixels(*bitmap), (std::vector<TColor>{A, B, C, D, 0x445566, F}));
    GrayScaleBitmap(*bitmap);
    EXPECT_EQ(Pixels(*bitmap), (std::vector<TColor>{0x555555, 0x555555, 0x555555, 0xAAAAAA, 0x555555, 0x202020}));
}

TEST(SkinBitmapUtils, BlendLooksUpSystemColours) {
    const TColor face = static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(BlendColors(clBtnFace, clBtnFace, 50), face);
    EXPECT_EQ(BlendColors(clBtnFace, 0, 0), 0);
    EXPECT_EQ(BlendColors(0x000000, 0xFFFFFF, 150), 0xD9D9D9);
}

std::vector<int> RedsDown(TBitmap& bitmap, int x) {
    std::vector<int> reds;
    for (int y = 0; y < bitmap.Height(); ++y) reds.push_back(RedOf(DibPixel(bitmap, x, y)));
    return reds;
}

TEST(SkinBitmapUtils, GradientFillsOneLineAPixelInsideTheClipBox) {
    TGradientCache cache;
    TBitmap bitmap(4, 7, pf24bit);
    HDC dc = bitmap.Canvas().Handle();
    GradientFillRect(dc, Rect(1, 1, 3, 6), clBlack, true, clRed, cache);
    EXPECT_EQ(RedsDown(bitmap, 1), (std::vector<int>{255, 0, 64, 128, 191, 255, 255}));  // white above and below
    EXPECT_EQ(RedsDown(bitmap, 2), RedsDown(bitmap, 1));
    EXPECT_EQ(DibPixel(bitmap, 0, 3), clWhite);
    EXPECT_EQ(cache.NextSlot(), 1);

    // Falling, through a clip box that shows lines 1 and 2 only; the run is the full length's.
    TBitmap clipped(1, 7, pf24bit);
    HDC clippedDC = clipped.Canvas().Handle();
    IntersectClipRect(clippedDC, 0, 2, 1, 4);
    GradientFillRect(clippedDC, Rect(0, 1, 1, 6), clRed, true, clBlack, cache);
    EXPECT_EQ(RedsDown(clipped, 0), (std::vector<int>{255, 255, 192, 128, 255, 255, 255}));
    EXPECT_EQ(cache.NextSlot(), 2);

    // Horizontal, left to right.
    TBitmap row(5, 1, pf24bit);
    GradientFillRect(row.Canvas().Handle(), Rect(0, 0, 5, 1), clBlack, false, clRed, cache);
    std::vector<int> reds;
    for (int x = 0; x < 5; ++x) reds.push_back(RedOf(DibPixel(row, x, 0)));
    EXPECT_EQ(reds, (std::vector<int>{0, 64, 128, 191, 255}));
    EXPECT_EQ(cache.NextSlot(), 2);  // the rising run of 5 was cached
}

}  // namespace
