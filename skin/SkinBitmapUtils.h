// The skin's bitmap library: grey scale, key-colour replacement, mirroring, flipping and
// rotation of a bitmap in place, colour blending with system colours looked up, and gradients
// drawn a line at a time from cached colour runs. The pixel and colour arithmetic is in
// SkinPixels and SkinGradient; this is the part that touches bitmaps and DCs.
//
// Every operation that rewrites pixels makes the bitmap 24-bit first, so it never reads another
// format three bytes at a time.
#pragma once

#include "framework/graphics/Bitmap.h"
#include "skin/SkinGradient.h"
#include "skin/SkinPixels.h"

void GrayScaleBitmap(TBitmap& bitmap);
void ReplaceKeyColor(TBitmap& bitmap, TColor color);
void MirrorBitmap(TBitmap& bitmap);
void FlipBitmap(TBitmap& bitmap);
void RotateBitmapLeft(TBitmap& bitmap);   // 90 degrees anticlockwise
void RotateBitmapRight(TBitmap& bitmap);  // 90 degrees clockwise

// The bitmap's pixels (made 24-bit first), and pixels written back into it at their size.
TSkinPixels ReadSkinPixels(TBitmap& bitmap);
void WriteSkinPixels(TBitmap& bitmap, const TSkinPixels& pixels);

// BlendColors with system colours looked up from the system.
TColor BlendColors(TColor c1, TColor c2, int weight);

// The gradient runs the skin's drawing shares, for the life of the process.
TGradientCache& SharedGradientCache();

// Fills rect with a gradient from start to end, top to bottom (vertical) or left to right, one
// solid line per pixel; only the lines inside the DC's clip box are drawn. The run is cached by
// the rectangle's full length.
void GradientFillRect(HDC dc, const TRect& rect, TColor start, bool vertical, TColor end,
                      TGradientCache& cache = SharedGradientCache());
