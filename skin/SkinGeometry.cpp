#include "skin/SkinGeometry.h"

#include <algorithm>

std::optional<TRect> SkinFrameRect(int stripWidth, int stripHeight, int frame, int frameCount, bool vertical) {
    const int count = SkinFrameCount(frameCount);
    if (frame < 1 || frame > count) return std::nullopt;
    TRect r;
    if (vertical) {
        const int height = stripHeight / count;
        r = Bounds(0, (frame - 1) * height, stripWidth, height);
    } else {
        const int width = stripWidth / count;
        r = Bounds((frame - 1) * width, 0, width, stripHeight);
    }
    if (r.IsEmpty()) return std::nullopt;
    return r;
}

TRect ClampSkinMargins(const TRect& margins, int frameWidth, int frameHeight) {
    TRect m;
    m.Left = std::clamp(margins.Left, 0, std::max(frameWidth, 0));
    m.Right = std::clamp(margins.Right, 0, std::max(frameWidth - m.Left, 0));
    m.Top = std::clamp(margins.Top, 0, std::max(frameHeight, 0));
    m.Bottom = std::clamp(margins.Bottom, 0, std::max(frameHeight - m.Top, 0));
    return m;
}

std::vector<TSkinCopy> NineSliceCopies(int width, int height, const TRect& frame, const TRect& margins, bool tile) {
    const int fw = frame.Width();
    const int fh = frame.Height();
    const int ox = frame.Left;
    const int oy = frame.Top;
    TRect m = ClampSkinMargins(margins, fw, fh);
    if (width < m.Left + m.Right) m.Left = m.Right = 0;
    if (height < m.Top + m.Bottom) m.Top = m.Bottom = 0;
    const int L = m.Left, T = m.Top, R = m.Right, B = m.Bottom;
    const int W = width, H = height;

    std::vector<TSkinCopy> copies;
    auto add = [&](TRect source, TRect dest, bool tiled = false) { copies.push_back({source, dest, tiled}); };
    if (L > 0 && T > 0) add(Rect(ox, oy, ox + L, oy + T), Rect(0, 0, L, T));
    if (L > 0 && B > 0) add(Rect(ox, oy + fh - B, ox + L, oy + fh), Rect(0, H - B, L, H));
    if (R > 0 && T > 0) add(Rect(ox + fw - R, oy, ox + fw, oy + T), Rect(W - R, 0, W, T));
    if (L > 0) add(Rect(ox, oy + T, ox + L, oy + fh - B), Rect(0, T, L, H - B));
    if (T > 0) add(Rect(ox + L, oy, ox + fw - R, oy + T), Rect(L, 0, W - R, T));
    add(Rect(ox + L, oy + T, ox + fw - R, oy + fh - B), Rect(L, T, W - R, H - B), tile);
    if (R > 0 && B > 0) add(Rect(ox + fw - R, oy + fh - B, ox + fw, oy + fh), Rect(W - R, H - B, W, H));
    if (R > 0) add(Rect(ox + fw - R, oy + T, ox + fw, oy + fh - B), Rect(W - R, T, W, H - B));
    if (B > 0) add(Rect(ox + L, oy + fh - B, ox + fw - R, oy + fh), Rect(L, H - B, W - R, H));
    return copies;
}

std::vector<TSkinCopy> SkinBarCopies(int width, int height, const TRect& frame, const TRect& margins) {
    const int fw = frame.Width();
    const int fh = frame.Height();
    const int ox = frame.Left;
    const int oy = frame.Top;
    const TRect m = ClampSkinMargins(margins, fw, 0);
    const int L = m.Left, R = m.Right, W = width, H = height;
    const int middle = fw - L - R;
    if (middle <= 0) return {{frame, Rect(0, 0, W, H)}};  // a middle of 0 would never advance

    std::vector<TSkinCopy> copies;
    copies.push_back({Rect(ox, oy, ox + L, oy + fh), Rect(0, 0, L, H)});
    for (int x = L; x < W - R; x += middle)
        copies.push_back({Rect(ox + L, oy, ox + L + middle, oy + fh), Rect(x, 0, x + middle, H)});
    copies.push_back({Rect(ox + fw - R, oy, ox + fw, oy + fh), Rect(W - R, 0, W, H)});
    return copies;
}

std::vector<TSkinCopy> ThreeSliceStretchCopies(const TRect& dest, const TRect& frame, const TRect& margins) {
    const int fw = frame.Width();
    const int fh = frame.Height();
    const int ox = frame.Left;
    const int oy = frame.Top;
    const int W = dest.Width();
    const int H = dest.Height();
    if (fw > W) return {{frame, dest}};
    const TRect m = ClampSkinMargins(margins, fw, 0);
    const int L = m.Left, R = m.Right;
    return {
        {Bounds(ox, oy, L, fh), Bounds(dest.Left, dest.Top, L, H)},
        {Bounds(ox + L, oy, fw - L - R, fh), Bounds(dest.Left + L, dest.Top, W - L - R, H)},
        {Bounds(ox + fw - R, oy, R, fh), Bounds(dest.Right - R, dest.Top, R, H)},
    };
}

std::vector<TPoint> TilePositions(const TRect& dest, int tileWidth, int tileHeight) {
    std::vector<TPoint> positions;
    if (tileWidth <= 0 || tileHeight <= 0) return positions;
    for (int x = dest.Left; x < dest.Right; x += tileWidth)
        for (int y = dest.Top; y < dest.Bottom; y += tileHeight) positions.push_back(Point(x, y));
    return positions;
}

TPoint CenteredFramePosition(const TRect& dest, int frameWidth, int frameHeight) {
    return Point(dest.Left + (dest.Width() - frameWidth) / 2, dest.Top + (dest.Height() - frameHeight) / 2);
}

TKeyColorRange KeyColorRange(TColor key, int redTolerance, int greenTolerance, int blueTolerance) {
    const int red = key & 0xFF;
    const int green = (key >> 8) & 0xFF;
    const int blue = (key >> 16) & 0xFF;
    auto high = [](int channel, int tolerance) {
        return static_cast<int>(std::min<long long>(255, static_cast<long long>(channel) + tolerance));
    };
    return {red, green, blue, high(red, redTolerance), high(green, greenTolerance), high(blue, blueTolerance)};
}

void AppendOpaqueRuns(const std::uint8_t* row, int width, int bytesPerPixel, int y, const TKeyColorRange& key,
                      int dx, int dy, std::vector<TRect>& runs) {
    const std::size_t step = static_cast<std::size_t>(bytesPerPixel);
    auto keyed = [&](int x) {
        const std::uint8_t* p = row + static_cast<std::size_t>(x) * step;
        return key.Contains(p[2], p[1], p[0]);
    };
    int x = 0;
    while (x < width) {
        while (x < width && keyed(x)) ++x;
        const int start = x;
        while (x < width && !keyed(x)) ++x;
        if (x > start) runs.push_back(Rect(start + dx, y + dy, x + dx, y + 1 + dy));
    }
}
