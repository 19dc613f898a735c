#include "skin/SkinPixels.h"

#include <algorithm>

void GrayScalePixels(TSkinPixels& image) {
    for (TColor& p : image.Pixels) {
        const int v = ((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) / 3;
        p = v | (v << 8) | (v << 16);
    }
}

void ReplaceKeyPixels(TSkinPixels& image, TColor color) {
    const TColor replacement = color & 0xFFFFFF;
    std::replace(image.Pixels.begin(), image.Pixels.end(), TColor{0xFF00FF}, replacement);
}

TSkinPixels MirroredPixels(const TSkinPixels& image) {
    TSkinPixels result(image.Width, image.Height);
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) result.At(x, y) = image.At(image.Width - 1 - x, y);
    return result;
}

TSkinPixels FlippedPixels(const TSkinPixels& image) {
    TSkinPixels result(image.Width, image.Height);
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) result.At(x, y) = image.At(x, image.Height - 1 - y);
    return result;
}

TSkinPixels RotatedLeftPixels(const TSkinPixels& image) {
    TSkinPixels result(image.Height, image.Width);
    for (int y = 0; y < result.Height; ++y)
        for (int x = 0; x < result.Width; ++x) result.At(x, y) = image.At(image.Width - 1 - y, x);
    return result;
}

TSkinPixels RotatedRightPixels(const TSkinPixels& image) {
    TSkinPixels result(image.Height, image.Width);
    for (int y = 0; y < result.Height; ++y)
        for (int x = 0; x < result.Width; ++x) result.At(x, y) = image.At(y, image.Height - 1 - x);
    return result;
}
