#include <gtest/gtest.h>

#include "skin/SkinPixels.h"

namespace {

// 3 x 2:  1 2 3
//         4 5 6
TSkinPixels Sample() {
    TSkinPixels image(3, 2);
    image.Pixels = {1, 2, 3, 4, 5, 6};
    return image;
}

TSkinPixels Image(int width, int height, std::vector<TColor> pixels) {
    TSkinPixels image(width, height);
    image.Pixels = std::move(pixels);
    return image;
}

TEST(SkinPixels, MirrorFlipAndRotate) {
    EXPECT_EQ(MirroredPixels(Sample()), Image(3, 2, {3, 2, 1, 6, 5, 4}));
    EXPECT_EQ(FlippedPixels(Sample()), Image(3, 2, {4, 5, 6, 1, 2, 3}));
    // Anticlockwise: the right column becomes the top row.
    EXPECT_EQ(RotatedLeftPixels(Sample()), Image(2, 3, {3, 6, 2, 5, 1, 4}));
    // Clockwise: the bottom row becomes the left column, read upwards.
    EXPECT_EQ(RotatedRightPixels(Sample()), Image(2, 3, {4, 1, 5, 2, 6, 3}));
    EXPECT_EQ(RotatedLeftPixels(RotatedRightPixels(Sample())), Sample());
}

TEST(SkinPixels, GrayScaleAndKeyReplacement) {
    TSkinPixels image = Image(2, 1, {0x0000FF, 0x302010});
    GrayScalePixels(image);
    EXPECT_EQ(image, Image(2, 1, {0x555555, 0x202020}));

    TSkinPixels keyed = Image(4, 1, {0xFF00FF, 0xFE00FF, 0xFF01FF, 0xFF00FF});
    ReplaceKeyPixels(keyed, 0x123456);
    EXPECT_EQ(keyed, Image(4, 1, {0x123456, 0xFE00FF, 0xFF01FF, 0x123456}));
    ReplaceKeyPixels(keyed = Image(1, 1, {0xFF00FF}), SystemColor(15));  // taken as is, not looked up
    EXPECT_EQ(keyed, Image(1, 1, {15}));
}

}  // namespace
