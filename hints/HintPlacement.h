// How big the styled hint's window is and where it goes: pure arithmetic over the text's
// rectangle, the hint component's settings, the cursor and the screen. TNewDesign applies it.
#pragma once

#include "framework/graphics/Geometry.h"
#include "hints/HintTypes.h"

// The rounded hint sizes itself by characters, not by the measured text: 7 pixels a character,
// 26 a line, 45 characters a line.
struct THintLines {
    int Count = 1;
    int CharsPerLine = 0;
};
THintLines HintLineLayout(int textLength);

struct THintSizeRequest {
    THintStyle Style = hiBubble;
    TLinkStyle Link = liArrow;  // as the hint component is set
    bool Border = true;
    bool Shadow = true;
    int ShadowWidth = 4;
    TRect TextRect;  // the rectangle the hint window computed for the text
    int TextLength = 0;
    int PictureWidth = 0;
    int PictureHeight = 0;
};

struct THintSize {
    int Width = 0;
    int Height = 0;
    int TextHeight = 0;
    int LinkHeight = 0;
    TLinkStyle Link = liNone;  // the link actually drawn
    bool Shadow = false;       // whether room for the shadow was added
};
THintSize HintWindowSize(const THintSizeRequest& request);

// The window's corner and top-left point, for a window of width x height at the cursor on a
// screen of screenWidth x screenHeight. A corner where the window does not fit hands over to
// the one that does.
struct THintPlace {
    THintPosition Corner = hiTopRight;
    int X = 0;
    int Y = 0;
};
THintPlace PlaceHint(THintPosition corner, TPoint cursor, int width, int height, int screenWidth, int screenHeight);
