// Draws one styled hint into a DC that already holds what lies under the hint window: the
// shadow of the body and the link, the body, the link that points at the cursor and the
// word-wrapped text. The shadow darkens the pixels already there, so it falls on whatever the
// screen showed, and everything outside the shapes keeps the copy: the window looks shaped
// without a window region. HintShapes.h gives the geometry.
#pragma once

#include "framework/graphics/Colors.h"
#include "framework/graphics/GraphicsObjects.h"
#include "hints/HintShapes.h"

struct THintDrawing {
    TColor FontColor = clBlack;
    int FontSize = 10;  // points; drawn at kHintMaxFontSize at most
    TFontStyles FontStyle;
    String FontName = L"Arial";
    int Width = 0;
    int Height = 0;
    int TextHeight = 0;
    TColor Color = clWhite;  // the body's
    String Text;
    THintPosition Corner = hiTopRight;
    THintStyle Style = hiBubble;
    TLinkStyle Link = liArrow;
    int LinkHeight = 0;
    bool Shadow = true;
    TQuality ShadowQuality = quLow;
    int ShadowWidth = 4;
    int ShadowIntensity = 70;
    HBITMAP Picture = nullptr;  // borrowed; hiImage draws it, hiTexture tiles it
    bool Border = true;
    TColor BorderColor = clBlack;
};

void DrawStyledHint(HDC dc, const THintDrawing& hint);

// Each channel of the colour (a system colour resolved first) plus amount: see DarkenChannel.
TColor DarkenColor(TColor color, int amount);
// Darkens by intensity every pixel of r, its right and bottom edges included, that lies in
// region and, for ShadeRegionExcept, not in excluded; quLow takes every other pixel.
void ShadeRegion(HDC dc, const TRect& r, HRGN region, int intensity, TQuality quality);
void ShadeRegionExcept(HDC dc, const TRect& r, HRGN region, int intensity, TQuality quality, HRGN excluded);
// Covers height x width at (x, y) with copies of the bitmap from the top left; the last row and
// column are cut. An empty bitmap draws nothing.
void TileBitmap(HDC dc, int x, int y, HBITMAP bitmap, int height, int width);
void DrawBitmapHandle(HDC dc, int x, int y, HBITMAP bitmap);
