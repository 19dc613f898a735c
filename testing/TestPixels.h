// Test support: reads pixels of a bitmap straight from its DIB bits, bypassing GDI.
#pragma once

#include <cstdlib>

#include "framework/graphics/Bitmap.h"

inline TColor DibPixel(TBitmap& bitmap, int x, int y) {
    const Byte* row = static_cast<const Byte*>(bitmap.ScanLine(y));
    switch (bitmap.PixelFormat()) {
    case pf24bit: return RGBColor(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
    case pf32bit: return RGBColor(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
    default: return bitmap.Canvas().Pixels(x, y);
    }
}

inline bool ColorsNear(TColor a, TColor b, int tolerance) {
    return std::abs(RedOf(a) - RedOf(b)) <= tolerance && std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
           std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

// A white bitmap of the given size and format.
inline std::unique_ptr<TBitmap> WhiteBitmap(int width, int height, TPixelFormat format = pf24bit) {
    return std::make_unique<TBitmap>(width, height, format);
}
