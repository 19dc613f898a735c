// The styled hint's settings as the hint component publishes them and the renderer reads them.
#pragma once

#include "framework/classes/Properties.h"

// The corner of the mouse cursor at which the hint sits.
FV_ENUM(THintPosition, hiTopRight, hiTopLeft, hiBottomRight, hiBottomLeft)
// quHi darkens every pixel of a shadow, quLow every other one (a checkerboard).
FV_ENUM(TQuality, quHi, quLow)
FV_ENUM(THintStyle, hiRectangle, hiRoundrect, hiBubble, hiImage, hiTexture, hiText)
// What joins the hint to the cursor: nothing, an arrow (a wedge for the bubble) or three bubbles.
FV_ENUM(TLinkStyle, liNone, liArrow, liBubble)
