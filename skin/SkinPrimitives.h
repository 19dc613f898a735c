// The skin's drawing primitives: one frame of an image strip nine-sliced, three-sliced, stretched
// or centred; tiling; copying with magenta as the transparent colour; a bitmap turned into a
// window region; a control's parent painted behind it. Stateless: where the parts go is decided
// by SkinGeometry, these only copy pixels.
//
// A strip's frames lie side by side or, with vertical, stacked; they are numbered from 1 and a
// count below 1 counts as 1. A frame outside 1..count, an empty strip or a destination turned
// inside out draws nothing; skin painting never raises for any of them. "Transparent" leaves the
// destination unchanged under magenta pixels; "opaque" is a plain copy. Stretching is
// COLORONCOLOR, so a skin image never smears colours into each other.
//
//   // a button face: frame 3 of a strip of 5, borders of 3 pixels kept, the face stretched
//   DrawSkinImage(dc, Rect(0, 0, 75, 23), strip, Rect(3, 3, 3, 3), 3, 5, true, false, false);
#pragma once

#include <memory>

#include "framework/graphics/Bitmap.h"
#include "skin/SkinGeometry.h"

class TControl;

// A new bitmap of dest's size holding the frame nine-sliced (the centre tiled when tile is set);
// none when there is nothing to draw.
std::unique_ptr<TBitmap> BuildSkinImage(const TRect& dest, TBitmap& strip, const TRect& margins, int frame,
                                        int frameCount, bool tile, bool vertical);
// The same image drawn on dc at dest, its parts copied straight there (clipped to dest).
void DrawSkinImage(HDC dc, const TRect& dest, TBitmap& strip, const TRect& margins, int frame, int frameCount,
                   bool transparent, bool tile, bool vertical);

// Left cap, the middle repeated at its own width, right cap (margins' Left and Right); a frame
// with no middle between its caps is stretched whole.
void DrawSkinBar(TCanvas& canvas, const TRect& dest, TBitmap& strip, const TRect& margins, int frame,
                 int frameCount, bool transparent, bool vertical);

// The frame (frames side by side) stretched to dest.
void DrawSkinFrame(HDC dc, const TRect& dest, TBitmap& strip, int frame, int frameCount, bool transparent);
// The frame at its own size, centred in dest; a frame larger than dest reaches beyond it.
void DrawSkinFrameCentered(HDC dc, const TRect& dest, TBitmap& strip, int frame, int frameCount, bool transparent);
// Left cap, stretched middle, right cap, straight on the DC (margins' Left and Right); a frame
// wider than dest is stretched whole into it.
void DrawSkinThreeSliceStretch(HDC dc, const TRect& dest, TBitmap& strip, const TRect& margins, int frame,
                               int frameCount, bool vertical);

// Repeats bitmap's source rectangle over dest, columns outer; the last column and row are not
// clipped to dest.
void TileDraw(TCanvas& canvas, const TRect& dest, TBitmap& bitmap, const TRect& source);

// Copies bitmap's top-left (dest's size, not stretched) to dest, leaving key-colour pixels out.
void TransparentBlit(HDC dc, const TRect& dest, TBitmap& bitmap, TColor key);

// A region of every pixel whose colour lies outside key .. key + tolerance (per channel), moved
// by (dx, dy): one rectangle per run of such pixels in a row, created kRegionBatchSize at a time
// and united. Empty for a bitmap without such pixels. The bitmap is left as it is.
UniqueRegion BitmapToRegion(TBitmap& bitmap, int dx, int dy, TColor key, int redTolerance, int greenTolerance,
                            int blueTolerance);

// Paints the control's parent (background, then contents) into dc, the DC of the control, so
// that the control can draw over what lies behind it. Nothing without a parent.
void PaintParentBackground(TControl& control, HDC dc);
