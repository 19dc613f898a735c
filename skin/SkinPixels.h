// A skin bitmap's pixels as plain colours, and what the bitmap library does to them: grey scale,
// key-colour replacement, mirroring, flipping and the two rotations. Pure; SkinBitmapUtils moves
// a bitmap's pixels in and out.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/graphics/Colors.h"

// Rows from the top; each pixel a 0x00BBGGRR colour.
struct TSkinPixels {
    int Width = 0;
    int Height = 0;
    std::vector<TColor> Pixels;

    TSkinPixels() = default;
    TSkinPixels(int width, int height, TColor fill = 0)
        : Width(width), Height(height), Pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}
    TColor& At(int x, int y) { return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)]; }
    TColor At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)]; }
    friend bool operator==(const TSkinPixels&, const TSkinPixels&) = default;
};

// Every pixel becomes (R + G + B) div 3 in all three channels.
void GrayScalePixels(TSkinPixels& image);
// Every pixel exactly magenta takes color's red, green and blue, as given (a system colour is not
// looked up: its low bytes are taken).
void ReplaceKeyPixels(TSkinPixels& image, TColor color);
// Left-right: pixel x comes from width - 1 - x.
TSkinPixels MirroredPixels(const TSkinPixels& image);
// Top-bottom: row y comes from height - 1 - y.
TSkinPixels FlippedPixels(const TSkinPixels& image);
// 90 degrees anticlockwise: new (x', y') is old (W - 1 - y', x').
TSkinPixels RotatedLeftPixels(const TSkinPixels& image);
// 90 degrees clockwise: new (x', y') is old (y', H - 1 - x').
TSkinPixels RotatedRightPixels(const TSkinPixels& image);
