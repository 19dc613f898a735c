#include "hints/HintPlacement.h"

#include <algorithm>

namespace {

const int kCharsPerLine = 45;
const int kCharWidth = 7;
const int kLineHeight = 26;
// The gap between the cursor and a window above or below it.
const int kCursorGap = 10;

bool HasNoLink(THintStyle style) { return style == hiImage || style == hiTexture || style == hiText; }

// The body's size before the link and the shadow.
void SizeBody(const THintSizeRequest& request, THintSize& size) {
    size.Width = request.TextRect.Width();
    size.Height = request.TextRect.Height();
    const int border = request.Border ? 2 : 0;
    switch (request.Style) {
    case hiRoundrect: {
        const THintLines lines = HintLineLayout(request.TextLength);
        size.Width = kCharWidth * lines.CharsPerLine + border;
        size.Height = kLineHeight * lines.Count + border;
        break;
    }
    case hiBubble:
        size.Width += size.Height;
        size.Height *= 2;
        // A long flat text makes a flat ellipse: keep it at most four times as wide as high.
        if (size.Height == 0 ? size.Width > 0 : size.Width / size.Height > 4) size.Height = size.Width / 4;
        break;
    case hiImage:
        size.Width = request.PictureWidth + border;
        size.Height = request.PictureHeight + border;
        break;
    case hiRectangle:
    case hiTexture:
    case hiText: break;
    }
}

}  // namespace

THintLines HintLineLayout(int textLength) {
    if (textLength < kCharsPerLine) return {1, textLength};
    return {(textLength + 1) / kCharsPerLine + 1, kCharsPerLine};
}

THintSize HintWindowSize(const THintSizeRequest& request) {
    THintSize size;
    size.TextHeight = request.TextRect.Height();
    size.Shadow = request.Shadow && request.Style != hiText;
    size.Link = HasNoLink(request.Style) ? liNone : request.Style == hiRoundrect ? liArrow : request.Link;
    SizeBody(request, size);
    if (size.Link != liNone) {
        size.LinkHeight = request.Link == liArrow ? 15 : 20;
        size.Width = std::max(size.Width, 35);
    } else {
        size.LinkHeight = 10;
    }
    size.Height += size.LinkHeight;
    if (size.Shadow) {
        size.Width += request.ShadowWidth;
        size.Height += request.ShadowWidth;
    }
    return size;
}

THintPlace PlaceHint(THintPosition corner, TPoint cursor, int width, int height, int screenWidth, int screenHeight) {
    const bool fitsLeft = cursor.X - width > 0;
    const bool fitsRight = cursor.X + width < screenWidth;
    const bool fitsAbove = cursor.Y - height - kCursorGap > 0;
    const bool fitsBelow = cursor.Y + height + kCursorGap < screenHeight;
    // Each hand-over fixes one direction for good, so two of them settle on a corner.
    for (int handOvers = 0; handOvers < 4; ++handOvers) {
        const bool right = corner == hiTopRight || corner == hiBottomRight;
        const bool top = corner == hiTopRight || corner == hiTopLeft;
        if (right && !fitsRight && fitsLeft) {
            corner = top ? hiTopLeft : hiBottomLeft;
        } else if (!right && !fitsLeft && fitsRight) {
            corner = top ? hiTopRight : hiBottomRight;
        } else if (top && !fitsAbove && fitsBelow) {
            corner = right ? hiBottomRight : hiBottomLeft;
        } else if (!top && !fitsBelow && fitsAbove) {
            corner = right ? hiTopRight : hiTopLeft;
        } else {
            break;
        }
    }
    THintPlace place{corner, cursor.X, cursor.Y};
    const bool fitsNeither = !fitsLeft && !fitsRight;
    if (corner == hiTopRight || corner == hiBottomRight) {
        if (fitsNeither) place.X = screenWidth - width;
    } else {
        place.X = fitsNeither ? 0 : cursor.X - width;
    }
    place.Y = (corner == hiTopRight || corner == hiTopLeft) ? cursor.Y - height - kCursorGap : cursor.Y + kCursorGap;
    return place;
}
