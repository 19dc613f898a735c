#include "hints/HintShapes.h"

#include <algorithm>

namespace {

bool IsTopCorner(THintPosition corner) { return corner == hiTopRight || corner == hiTopLeft; }

TRect Moved(TRect r, int dx, int dy) { return Rect(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy); }

}  // namespace

THintGeometry HintGeometry(THintPosition corner, THintStyle style, int width, int height, int linkHeight,
                           bool shadow, int shadowWidth) {
    THintGeometry g;
    g.W = width;
    g.H = height;
    g.SW = (shadow && style != hiText) ? shadowWidth : 0;
    g.LH = linkHeight;
    g.Wb = g.W - g.SW;
    g.t3 = g.W / 3;
    g.K = (g.H - g.SW - g.LH) / 2;
    if (IsTopCorner(corner)) {
        g.Body = Rect(0, 0, g.Wb, g.H - g.SW - g.LH);
        g.Shadow = Rect(g.SW, g.SW, g.W, g.H - g.LH);
    } else {
        g.Body = Rect(0, g.LH, g.Wb, g.H - g.SW);
        g.Shadow = Rect(g.SW, g.SW + g.LH, g.W, g.H);
    }
    return g;
}

THintTriangle LinkArrow(const THintGeometry& g, THintPosition corner, THintStyle style) {
    const int H = g.H, SW = g.SW, LH = g.LH, Wb = g.Wb, t3 = g.t3, K = g.K;
    if (style == hiBubble) {
        switch (corner) {
        case hiTopRight: return {Point(t3, H - SW - LH - K), Point(0, H - SW), Point(2 * t3, H - SW - LH - K)};
        case hiTopLeft:
            return {Point(Wb - t3, H - SW - LH - K), Point(Wb, H - SW), Point(Wb - 2 * t3, H - SW - LH - K)};
        case hiBottomRight: return {Point(t3, K + LH), Point(0, 0), Point(2 * t3, K + LH)};
        case hiBottomLeft: return {Point(Wb - t3, K + LH), Point(Wb, 0), Point(Wb - 2 * t3, K + LH)};
        }
    }
    switch (corner) {
    case hiTopRight: return {Point(10, H - SW - LH - 2), Point(0, H - SW), Point(30, H - SW - LH - 2)};
    case hiTopLeft: return {Point(Wb - 10, H - SW - LH - 2), Point(Wb, H - SW), Point(Wb - 30, H - SW - LH - 2)};
    case hiBottomRight: return {Point(10, LH + 1), Point(0, 0), Point(30, LH + 1)};
    case hiBottomLeft: return {Point(Wb - 10, LH + 2), Point(Wb, 0), Point(Wb - 30, LH + 2)};
    }
    return {};
}

THintTriangle LinkArrowShadow(const THintGeometry& g, THintPosition corner, THintStyle style) {
    const int W = g.W, H = g.H, SW = g.SW, LH = g.LH, t3 = g.t3, K = g.K;
    if (style == hiBubble) {
        switch (corner) {
        case hiTopRight: return {Point(SW + t3, H - LH - K), Point(SW, H), Point(SW + 2 * t3, H - LH - K)};
        case hiTopLeft: return {Point(W - t3, H - LH - K), Point(W, H), Point(W - 2 * t3, H - LH - K)};
        case hiBottomRight:
            return {Point(SW + t3, K + SW + LH), Point(SW, SW), Point(SW + 2 * t3, K + SW + LH)};
        case hiBottomLeft: return {Point(W - t3, K + SW + LH), Point(W, SW), Point(W - 2 * t3, K + SW + LH)};
        }
    }
    switch (corner) {
    case hiTopRight: return {Point(SW + 10, H - LH - 1), Point(SW, H), Point(SW + 30, H - LH - 1)};
    case hiTopLeft: return {Point(W - 10, H - LH - 1), Point(W, H), Point(W - 30, H - LH - 1)};
    case hiBottomRight: return {Point(SW + 10, SW + LH), Point(SW, SW), Point(SW + 30, SW + LH)};
    case hiBottomLeft: return {Point(W - 10, SW + LH), Point(W, SW), Point(W - 30, SW + LH)};
    }
    return {};
}

TRect ArrowShadowArea(const THintTriangle& shadow) {
    const TPoint tip = shadow[1], far = shadow[2];
    return Rect(std::min(tip.X, far.X), std::min(tip.Y, far.Y), std::max(tip.X, far.X), std::max(tip.Y, far.Y));
}

std::array<TRect, 3> LinkBubbles(const THintGeometry& g, THintPosition corner) {
    const int H = g.H, SW = g.SW, Wb = g.Wb;
    switch (corner) {
    case hiTopRight:
        return {Rect(0, H - SW - 6, 6, H - SW), Rect(7, H - SW - 12, 17, H - SW - 2),
                Rect(15, H - SW - 25, 30, H - SW - 10)};
    case hiTopLeft:
        return {Rect(Wb - 6, H - SW - 6, Wb, H - SW), Rect(Wb - 17, H - SW - 12, Wb - 7, H - SW - 2),
                Rect(Wb - 30, H - SW - 25, Wb - 15, H - SW - 10)};
    case hiBottomRight: return {Rect(0, 0, 6, 6), Rect(7, 2, 17, 12), Rect(15, 10, 30, 25)};
    case hiBottomLeft:
        return {Rect(Wb - 6, 0, Wb, 6), Rect(Wb - 17, 2, Wb - 7, 12), Rect(Wb - 30, 10, Wb - 15, 25)};
    }
    return {};
}

std::array<TRect, 3> LinkBubbleShadows(const THintGeometry& g, THintPosition corner) {
    std::array<TRect, 3> circles = LinkBubbles(g, corner);
    for (TRect& r : circles) r = Moved(r, g.SW, g.SW);
    return circles;
}

TRect HintTextRect(const THintGeometry& g, THintStyle style, int textHeight) {
    const TRect b = g.Body;
    switch (style) {
    case hiRectangle: return Rect(b.Left + 4, b.Top, b.Right - 4, b.Bottom);
    case hiRoundrect:
    case hiImage: return Rect(b.Left + 5, b.Top + 5, b.Right - 5, b.Bottom - 5);
    case hiBubble:
        return Rect(b.Left + textHeight / 2, b.Top + (b.Height() - textHeight) / 2, b.Right - textHeight / 2,
                    b.Bottom);
    case hiTexture: return Rect(b.Left + 2, b.Top, b.Right - 2, b.Bottom);
    case hiText: return b;
    }
    return b;
}

int DarkenChannel(int channel, int amount) {
    const int value = channel + amount;
    if (amount > 0) return value > 255 ? 254 : value;
    return value < 0 ? 1 : value;
}

std::uint32_t DarkenRgb(std::uint32_t rgb, int amount) {
    const auto channel = [&](int shift) {
        return static_cast<std::uint32_t>(DarkenChannel(static_cast<int>((rgb >> shift) & 0xFF), amount)) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

bool ShadesPixel(TQuality quality, int x, int y) {
    switch (quality) {
    case quHi: return true;
    case quLow: return ((x ^ y) & 1) == 0;  // both even or both odd
    }
    return false;
}
