#include "framework/graphics/ImageList.h"

#include <gtest/gtest.h>

#include "testing/TestPixels.h"

namespace {

// Two 16 x 16 images: a red and a blue 8 x 8 square on a fuchsia (transparent) ground.
std::unique_ptr<TBitmap> Strip() {
    auto strip = std::make_unique<TBitmap>(32, 16);
    strip->Canvas().Brush().SetColor(clFuchsia);
    strip->Canvas().FillRect(Rect(0, 0, 32, 16));
    strip->Canvas().Brush().SetColor(clRed);
    strip->Canvas().FillRect(Rect(4, 4, 12, 12));
    strip->Canvas().Brush().SetColor(clBlue);
    strip->Canvas().FillRect(Rect(20, 4, 28, 12));
    return strip;
}

}  // namespace

TEST(ImageList, CutsAStripAndDrawsWithTheMask) {
    TLocal<TImageList> images(nullptr);
    auto strip = Strip();
    EXPECT_EQ(images.AddMasked(*strip, clFuchsia), 0);
    EXPECT_EQ(images.Count(), 2);
    EXPECT_EQ(DibPixel(*strip, 0, 0), clFuchsia);  // the caller's bitmap is left alone

    TBitmap target(40, 20);
    images.Draw(target.Canvas(), 2, 2, 1);
    EXPECT_EQ(DibPixel(target, 10, 10), clBlue);
    EXPECT_EQ(DibPixel(target, 3, 3), clWhite);
    images.Draw(target.Canvas(), 20, 2, 7);  // no such image: nothing happens
    EXPECT_EQ(DibPixel(target, 30, 10), clWhite);
}

TEST(ImageList, DisabledImagesAreDrawnInShadowColours) {
    TLocal<TImageList> images(nullptr);
    auto strip = Strip();
    images.AddMasked(*strip, clFuchsia);
    TBitmap target(20, 20);
    images.Draw(target.Canvas(), 0, 0, 0, false);
    EXPECT_EQ(static_cast<std::uint32_t>(DibPixel(target, 8, 8)), ColorToRGB(clBtnShadow));
    EXPECT_EQ(static_cast<std::uint32_t>(DibPixel(target, 12, 12)), ColorToRGB(clBtnHighlight));  // offset copy
    EXPECT_EQ(DibPixel(target, 1, 1), clWhite);
}

TEST(ImageList, ChangingTheSizeClearsIt) {
    TLocal<TImageList> images(nullptr);
    auto strip = Strip();
    images.AddMasked(*strip, clFuchsia);
    images.SetWidth(32);
    EXPECT_EQ(images.Count(), 0);
}
