// The shapes of a styled hint inside its window: where the body, its shadow, the link to the
// cursor and the text go for each corner and style, and the rule by which a shadow darkens the
// pixels under it. Pure arithmetic; HintRenderer draws with it.
//
// The window is W x H. A shadow of width SW lies SW pixels right of and below the body, a link of
// height LH on the cursor's side (below the body for the top corners, above it for the bottom
// ones). Rectangles are left, top, right, bottom.
#pragma once

#include <array>
#include <cstdint>

#include "framework/graphics/Geometry.h"
#include "hints/HintTypes.h"

struct THintGeometry {
    int W = 0;
    int H = 0;
    int SW = 0;  // 0 without a shadow and for hiText
    int LH = 0;
    int Wb = 0;  // the body's width: W - SW
    int t3 = 0;  // a third of W, where the bubble's wedge starts
    int K = 0;   // half the body's height, where the wedge leaves the ellipse
    TRect Body;
    TRect Shadow;
};

THintGeometry HintGeometry(THintPosition corner, THintStyle style, int width, int height, int linkHeight,
                           bool shadow, int shadowWidth);

// Three points; the middle one is the tip that touches the cursor's corner, the last one the
// base point farthest from it.
using THintTriangle = std::array<TPoint, 3>;

// The arrow of every style but hiBubble, whose link is a wide wedge from the ellipse's middle.
THintTriangle LinkArrow(const THintGeometry& g, THintPosition corner, THintStyle style);
THintTriangle LinkArrowShadow(const THintGeometry& g, THintPosition corner, THintStyle style);
// The rectangle an arrow shadow is shaded over: spanned by the tip and the far base point.
TRect ArrowShadowArea(const THintTriangle& shadow);

// The bubble link: small, middle and large circle, from the tip outward.
std::array<TRect, 3> LinkBubbles(const THintGeometry& g, THintPosition corner);
// Their shadows: the same circles SW pixels right and down.
std::array<TRect, 3> LinkBubbleShadows(const THintGeometry& g, THintPosition corner);

// Where the text is drawn (with word breaks); textHeight is the height the text needs.
TRect HintTextRect(const THintGeometry& g, THintStyle style, int textHeight);

// A colour channel plus amount. Lightening (amount > 0) past 255 gives 254; darkening past 0
// gives 1, so a shadow over black still reads as a drawn pixel, never as pure black.
int DarkenChannel(int channel, int amount);
// The same for each channel of 0x00BBGGRR.
std::uint32_t DarkenRgb(std::uint32_t rgb, int amount);
// Whether a shadow of this quality darkens the pixel (x, y); other values than quHi and quLow
// darken nothing.
bool ShadesPixel(TQuality quality, int x, int y);

// The largest font size a hint's text is drawn at.
constexpr int kHintMaxFontSize = 30;
