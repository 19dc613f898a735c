#include "hints/HintRenderer.h"

#include <algorithm>
#include <vector>

namespace {

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) return SIZE{0, 0};
    return SIZE{info.bmWidth, std::abs(info.bmHeight)};
}

// A top-down 32-bit DIB section with a DC of its own, for reading and writing pixels directly.
struct TPixelBuffer {
    UniqueDC Dc;
    UniqueBitmap Bitmap;
    std::uint32_t* Bits = nullptr;
    int Width = 0;

    TPixelBuffer(HDC like, int width, int height) : Dc(CreateCompatibleDC(like)), Width(width) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        Bitmap.reset(CreateDIBSection(like, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        Bits = static_cast<std::uint32_t*>(bits);
    }
    bool Valid() const { return Dc && Bitmap && Bits != nullptr; }
};

// The rectangles of a region (an empty list for an empty one).
std::vector<RECT> RegionRects(HRGN region) {
    const DWORD bytes = GetRegionData(region, 0, nullptr);
    if (bytes < sizeof(RGNDATAHEADER)) return {};
    std::vector<std::uint8_t> data(bytes);
    auto* header = reinterpret_cast<RGNDATA*>(data.data());
    if (GetRegionData(region, bytes, header) == 0) return {};
    const auto* first = reinterpret_cast<const RECT*>(header->Buffer);
    return std::vector<RECT>(first, first + header->rdh.nCount);
}

// A DIB pixel is 0x00RRGGBB; a colour is 0x00BBGGRR.
std::uint32_t DarkenDibPixel(std::uint32_t pixel, int amount) {
    const std::uint32_t rgb = ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
    const std::uint32_t dark = DarkenRgb(rgb, amount);
    return ((dark >> 16) & 0xFF) | (dark & 0xFF00) | ((dark & 0xFF) << 16);
}

TColor AsColor(std::uint32_t rgb) { return static_cast<TColor>(rgb); }

UniqueRegion RectRegion(const TRect& r) { return UniqueRegion(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom)); }
UniqueRegion EllipseRegion(const TRect& r) {
    return UniqueRegion(CreateEllipticRgn(r.Left, r.Top, r.Right, r.Bottom));
}

const int kRoundCorner = 15;

UniqueRegion BodyShadowRegion(THintStyle style, const TRect& s) {
    switch (style) {
    case hiRectangle: return RectRegion(Rect(s.Left, s.Top, s.Right, s.Bottom - 1));
    case hiRoundrect:
        return UniqueRegion(CreateRoundRectRgn(s.Left, s.Top, s.Right, s.Bottom, kRoundCorner, kRoundCorner));
    case hiBubble: return EllipseRegion(s);
    default: return RectRegion(s);
    }
}

void DrawShadows(HDC dc, const THintDrawing& hint, const THintGeometry& g) {
    const UniqueRegion body = BodyShadowRegion(hint.Style, g.Shadow);
    ShadeRegion(dc, g.Shadow, body.get(), hint.ShadowIntensity, hint.ShadowQuality);
    if (hint.Link == liArrow) {
        const THintTriangle shadow = LinkArrowShadow(g, hint.Corner, hint.Style);
        const POINT points[3] = {{shadow[0].X, shadow[0].Y}, {shadow[1].X, shadow[1].Y}, {shadow[2].X, shadow[2].Y}};
        const UniqueRegion arrow(CreatePolygonRgn(points, 3, WINDING));
        // The ellipse in the shadow's rectangle, whatever the body's shape: the link's shadow
        // must not darken the body's shadow a second time where they meet.
        const UniqueRegion bodyEllipse = EllipseRegion(g.Shadow);
        ShadeRegionExcept(dc, ArrowShadowArea(shadow), arrow.get(), hint.ShadowIntensity, hint.ShadowQuality,
                          bodyEllipse.get());
    } else if (hint.Link == liBubble) {
        for (const TRect& circle : LinkBubbleShadows(g, hint.Corner)) {
            const UniqueRegion region = EllipseRegion(circle);
            ShadeRegion(dc, circle, region.get(), hint.ShadowIntensity, hint.ShadowQuality);
        }
    }
}

// Draws a shape of the body's style over r with the selected pen and brush.
void DrawBodyShape(HDC dc, THintStyle style, const TRect& r) {
    switch (style) {
    case hiRectangle: Rectangle(dc, r.Left, r.Top, r.Right, r.Bottom); break;
    case hiRoundrect: RoundRect(dc, r.Left, r.Top, r.Right, r.Bottom, kRoundCorner, kRoundCorner); break;
    case hiBubble: Ellipse(dc, r.Left, r.Top, r.Right, r.Bottom); break;
    default: break;
    }
}

void DrawBody(HDC dc, const THintDrawing& hint, const TRect& b) {
    switch (hint.Style) {
    case hiRectangle:
    case hiRoundrect:
    case hiBubble: DrawBodyShape(dc, hint.Style, b); break;
    case hiImage:
        if (hint.Border) {
            SelectionGuard hollow(dc, GetStockObject(NULL_BRUSH));
            Rectangle(dc, b.Left, b.Top, b.Right, b.Bottom);
            DrawBitmapHandle(dc, b.Left + 1, b.Top + 1, hint.Picture);
        } else {
            DrawBitmapHandle(dc, b.Left, b.Top, hint.Picture);
        }
        break;
    case hiTexture: {
        SelectionGuard hollow(dc, GetStockObject(NULL_BRUSH));
        if (hint.Border) {
            Rectangle(dc, b.Left, b.Top, b.Right, b.Bottom);
            TileBitmap(dc, b.Left + 1, b.Top + 1, hint.Picture, b.Height() - 2, b.Width() - 2);
        } else {
            TileBitmap(dc, b.Left, b.Top, hint.Picture, b.Height(), b.Width());
        }
        break;
    }
    case hiText:
        if (hint.Shadow) {
            const UniqueRegion region = RectRegion(b);
            ShadeRegion(dc, b, region.get(), hint.ShadowIntensity, hint.ShadowQuality);
        }
        break;
    }
}

void DrawLink(HDC dc, const THintDrawing& hint, const THintGeometry& g) {
    if (hint.Link == liArrow) {
        const THintTriangle arrow = LinkArrow(g, hint.Corner, hint.Style);
        const POINT points[3] = {{arrow[0].X, arrow[0].Y}, {arrow[1].X, arrow[1].Y}, {arrow[2].X, arrow[2].Y}};
        Polygon(dc, points, 3);
    } else if (hint.Link == liBubble) {
        for (const TRect& circle : LinkBubbles(g, hint.Corner))
            Ellipse(dc, circle.Left, circle.Top, circle.Right, circle.Bottom);
    }
}

void DrawHintText(HDC dc, const THintDrawing& hint, const THintGeometry& g) {
    TFont font;
    font.SetName(hint.FontName);
    font.SetSize(std::min(hint.FontSize, kHintMaxFontSize));
    font.SetStyle(hint.FontStyle);
    SelectionGuard selected(dc, font.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(hint.FontColor));
    const TRect t = HintTextRect(g, hint.Style, hint.TextHeight);
    RECT r{t.Left, t.Top, t.Right, t.Bottom};
    DrawTextW(dc, hint.Text.c_str(), static_cast<int>(hint.Text.size()), &r, DT_WORDBREAK | DT_NOPREFIX);
}

}  // namespace

TColor DarkenColor(TColor color, int amount) { return AsColor(DarkenRgb(ColorToRGB(color), amount)); }

void ShadeRegion(HDC dc, const TRect& r, HRGN region, int intensity, TQuality quality) {
    ShadeRegionExcept(dc, r, region, intensity, quality, nullptr);
}

// The pixels are read into a DIB once, darkened there and written back in one copy: the same
// result as reading and writing them one by one, in a fraction of the time.
void ShadeRegionExcept(HDC dc, const TRect& r, HRGN region, int intensity, TQuality quality, HRGN excluded) {
    if (quality != quHi && quality != quLow) return;
    const int width = r.Width() + 1, height = r.Height() + 1;
    if (width <= 0 || height <= 0 || region == nullptr) return;
    const UniqueRegion area(CreateRectRgn(r.Left, r.Top, r.Right + 1, r.Bottom + 1));
    if (CombineRgn(area.get(), area.get(), region, RGN_AND) == NULLREGION) return;
    if (excluded != nullptr && CombineRgn(area.get(), area.get(), excluded, RGN_DIFF) == NULLREGION) return;
    const std::vector<RECT> rects = RegionRects(area.get());
    if (rects.empty()) return;
    TPixelBuffer buffer(dc, width, height);
    if (!buffer.Valid()) return;
    SelectionGuard selected(buffer.Dc.get(), buffer.Bitmap.get());
    BitBlt(buffer.Dc.get(), 0, 0, width, height, dc, r.Left, r.Top, SRCCOPY);
    GdiFlush();
    for (const RECT& part : rects)
        for (int y = part.top; y < part.bottom; ++y) {
            std::uint32_t* row = buffer.Bits + static_cast<size_t>(y - r.Top) * static_cast<size_t>(width);
            for (int x = part.left; x < part.right; ++x)
                if (ShadesPixel(quality, x, y)) row[x - r.Left] = DarkenDibPixel(row[x - r.Left], -intensity);
        }
    BitBlt(dc, r.Left, r.Top, width, height, buffer.Dc.get(), 0, 0, SRCCOPY);
}

// A DIB section of 16 bits or more is drawn from its bits: it may be selected into its owner's
// canvas, and a bitmap can be selected into one DC only.
void DrawBitmapHandle(HDC dc, int x, int y, HBITMAP bitmap) {
    const SIZE size = BitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0) return;
    DIBSECTION dib{};
    if (GetObjectW(bitmap, sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBits != nullptr &&
        dib.dsBmih.biBitCount >= 16) {
        GdiFlush();
        StretchDIBits(dc, x, y, size.cx, size.cy, 0, 0, size.cx, size.cy, dib.dsBm.bmBits,
                      reinterpret_cast<const BITMAPINFO*>(&dib.dsBmih), DIB_RGB_COLORS, SRCCOPY);
        return;
    }
    const UniqueDC source(CreateCompatibleDC(dc));
    SelectionGuard selected(source.get(), bitmap);
    BitBlt(dc, x, y, size.cx, size.cy, source.get(), 0, 0, SRCCOPY);
}

void TileBitmap(HDC dc, int x, int y, HBITMAP bitmap, int height, int width) {
    const SIZE tile = BitmapSize(bitmap);
    if (tile.cx <= 0 || tile.cy <= 0 || width <= 0 || height <= 0) return;
    const UniqueDC work(CreateCompatibleDC(dc));
    const UniqueBitmap canvas(CreateCompatibleBitmap(dc, width, height));
    if (!work || !canvas) return;
    SelectionGuard selected(work.get(), canvas.get());
    for (int row = 0; row <= height / tile.cy; ++row)
        for (int column = 0; column <= width / tile.cx; ++column)
            DrawBitmapHandle(work.get(), column * tile.cx, row * tile.cy, bitmap);
    BitBlt(dc, x, y, width, height, work.get(), 0, 0, SRCCOPY);
}

void DrawStyledHint(HDC dc, const THintDrawing& hint) {
    const THintGeometry g = HintGeometry(hint.Corner, hint.Style, hint.Width, hint.Height, hint.LinkHeight,
                                         hint.Shadow, hint.ShadowWidth);
    SavedDCState saved(dc);
    if (g.SW > 0) DrawShadows(dc, hint, g);
    {
        const UniquePen pen(CreatePen(PS_SOLID, 1, ColorToRGB(hint.Border ? hint.BorderColor : hint.Color)));
        const UniqueBrush brush(CreateSolidBrush(ColorToRGB(hint.Color)));
        SelectionGuard selectedPen(dc, pen.get());
        SelectionGuard selectedBrush(dc, brush.get());
        DrawBody(dc, hint, g.Body);
        DrawLink(dc, hint, g);
        // Filled once more without an outline: covers the link's outline where it enters the body.
        SelectionGuard noPen(dc, GetStockObject(NULL_PEN));
        const TRect b = g.Body;
        DrawBodyShape(dc, hint.Style, Rect(b.Left + 1, b.Top + 1, b.Right, b.Bottom));
    }
    DrawHintText(dc, hint, g);
}
