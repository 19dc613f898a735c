#include "skin/SkinPrimitives.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "framework/controls/Control.h"

namespace {

void StretchCopy(HDC target, const TRect& dest, HDC source, const TRect& src) {
    StretchBlt(target, dest.Left, dest.Top, dest.Width(), dest.Height(), source, src.Left, src.Top, src.Width(),
               src.Height(), SRCCOPY);
}

// Keeps a DC's stretch mode COLORONCOLOR for a scope.
class ColorOnColor {
public:
    explicit ColorOnColor(HDC dc) : dc_(dc), previous_(SetStretchBltMode(dc, COLORONCOLOR)) {}
    ~ColorOnColor() { if (previous_) SetStretchBltMode(dc_, previous_); }
    ColorOnColor(const ColorOnColor&) = delete;
    ColorOnColor& operator=(const ColorOnColor&) = delete;

private:
    HDC dc_;
    int previous_;
};

std::optional<TRect> FrameOf(TBitmap& strip, int frame, int frameCount, bool vertical) {
    if (strip.Empty()) return std::nullopt;
    return SkinFrameRect(strip.Width(), strip.Height(), frame, frameCount, vertical);
}

// A fresh 24-bit bitmap of the given size; none for no area.
std::unique_ptr<TBitmap> NewImage(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    return std::make_unique<TBitmap>(width, height, pf24bit);
}

void DrawCopies(TBitmap& image, TBitmap& strip, const std::vector<TSkinCopy>& copies) {
    TCanvas& canvas = image.Canvas();
    for (const TSkinCopy& copy : copies) {
        if (copy.Tile) TileDraw(canvas, copy.Dest, strip, copy.Source);
        else canvas.CopyRect(copy.Dest, strip.Canvas(), copy.Source);
    }
}

void PutImage(HDC dc, const TRect& dest, TBitmap& image, bool transparent) {
    if (transparent) {
        TransparentBlit(dc, Bounds(dest.Left, dest.Top, image.Width(), image.Height()), image, kSkinKeyColor);
    } else {
        BitBlt(dc, dest.Left, dest.Top, image.Width(), image.Height(), image.Canvas().Handle(), 0, 0, SRCCOPY);
    }
}

UniqueRegion RegionOf(const std::vector<TRect>& rects, std::size_t first, std::size_t count) {
    std::vector<std::byte> buffer(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(count);
    if (count > 0) header.rcBound = RECT{rects[first].Left, rects[first].Top, rects[first].Right, rects[first].Bottom};
    for (std::size_t i = first; i < first + count; ++i) {
        const TRect& r = rects[i];
        header.rcBound.left = std::min<LONG>(header.rcBound.left, r.Left);
        header.rcBound.top = std::min<LONG>(header.rcBound.top, r.Top);
        header.rcBound.right = std::max<LONG>(header.rcBound.right, r.Right);
        header.rcBound.bottom = std::max<LONG>(header.rcBound.bottom, r.Bottom);
        const RECT rect{r.Left, r.Top, r.Right, r.Bottom};
        std::memcpy(buffer.data() + sizeof(RGNDATAHEADER) + (i - first) * sizeof(RECT), &rect, sizeof rect);
    }
    std::memcpy(buffer.data(), &header, sizeof header);
    return UniqueRegion(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()),
                                        reinterpret_cast<const RGNDATA*>(buffer.data())));
}

}  // namespace

std::unique_ptr<TBitmap> BuildSkinImage(const TRect& dest, TBitmap& strip, const TRect& margins, int frame,
                                        int frameCount, bool tile, bool vertical) {
    if (IsInvertedRect(dest)) return nullptr;
    const auto source = FrameOf(strip, frame, frameCount, vertical);
    if (!source) return nullptr;
    auto image = NewImage(dest.Width(), dest.Height());
    if (!image) return nullptr;
    DrawCopies(*image, strip, NineSliceCopies(dest.Width(), dest.Height(), *source, margins, tile));
    return image;
}

void DrawSkinImage(HDC dc, const TRect& dest, TBitmap& strip, const TRect& margins, int frame, int frameCount,
                   bool transparent, bool tile, bool vertical) {
    // The parts go straight to the DC, clipped to dest as the image's own edges would clip them:
    // a window-sized image made only to be copied costs more than all its parts.
    if (IsInvertedRect(dest) || dest.IsEmpty()) return;
    const auto source = FrameOf(strip, frame, frameCount, vertical);
    if (!source) return;
    SavedDCState saved(dc);
    IntersectClipRect(dc, dest.Left, dest.Top, dest.Right, dest.Bottom);
    SetStretchBltMode(dc, COLORONCOLOR);
    HDC from = strip.Canvas().Handle();
    auto copy = [&](const TRect& to, const TRect& src) {
        if (to.IsEmpty() || src.IsEmpty()) return;
        if (transparent)
            GdiTransparentBlt(dc, to.Left, to.Top, to.Width(), to.Height(), from, src.Left, src.Top, src.Width(),
                              src.Height(), static_cast<UINT>(kSkinKeyColor));
        else
            StretchCopy(dc, to, from, src);
    };
    for (const TSkinCopy& part : NineSliceCopies(dest.Width(), dest.Height(), *source, margins, tile)) {
        const TRect to = Bounds(part.Dest.Left + dest.Left, part.Dest.Top + dest.Top, part.Dest.Width(),
                                part.Dest.Height());
        if (!part.Tile) {
            copy(to, part.Source);
            continue;
        }
        const int width = part.Source.Width(), height = part.Source.Height();
        for (const TPoint& at : TilePositions(to, width, height)) copy(Bounds(at.X, at.Y, width, height), part.Source);
    }
}

void DrawSkinBar(TCanvas& canvas, const TRect& dest, TBitmap& strip, const TRect& margins, int frame,
                 int frameCount, bool transparent, bool vertical) {
    if (IsInvertedRect(dest)) return;
    const auto source = FrameOf(strip, frame, frameCount, vertical);
    if (!source) return;
    auto bar = NewImage(dest.Width(), dest.Height());
    if (!bar) return;
    DrawCopies(*bar, strip, SkinBarCopies(dest.Width(), dest.Height(), *source, margins));
    if (transparent) bar->SetTransparentColor(kSkinKeyColor);
    bar->SetTransparent(transparent);
    canvas.Draw(dest.Left, dest.Top, *bar);
}

void DrawSkinFrame(HDC dc, const TRect& dest, TBitmap& strip, int frame, int frameCount, bool transparent) {
    if (IsInvertedRect(dest)) return;
    const auto source = FrameOf(strip, frame, frameCount, false);
    if (!source) return;
    auto image = NewImage(dest.Width(), dest.Height());
    if (!image) return;
    image->Canvas().CopyRect(Rect(0, 0, dest.Width(), dest.Height()), strip.Canvas(), *source);
    PutImage(dc, dest, *image, transparent);
}

void DrawSkinFrameCentered(HDC dc, const TRect& dest, TBitmap& strip, int frame, int frameCount, bool transparent) {
    if (IsInvertedRect(dest)) return;
    const auto source = FrameOf(strip, frame, frameCount, false);
    if (!source) return;
    auto image = NewImage(source->Width(), source->Height());
    image->Canvas().CopyRect(Rect(0, 0, source->Width(), source->Height()), strip.Canvas(), *source);
    const TPoint at = CenteredFramePosition(dest, source->Width(), source->Height());
    PutImage(dc, Bounds(at.X, at.Y, source->Width(), source->Height()), *image, transparent);
}

void DrawSkinThreeSliceStretch(HDC dc, const TRect& dest, TBitmap& strip, const TRect& margins, int frame,
                               int frameCount, bool vertical) {
    if (IsInvertedRect(dest)) return;
    const auto source = FrameOf(strip, frame, frameCount, vertical);
    if (!source) return;
    ColorOnColor mode(dc);
    HDC from = strip.Canvas().Handle();
    for (const TSkinCopy& copy : ThreeSliceStretchCopies(dest, *source, margins))
        StretchCopy(dc, copy.Dest, from, copy.Source);
}

void TileDraw(TCanvas& canvas, const TRect& dest, TBitmap& bitmap, const TRect& source) {
    if (source.Width() <= 0 || source.Height() <= 0) return;
    // Through a bitmap of the tile's own size: the copies never read past the source rectangle.
    TBitmap tile(source.Width(), source.Height(), pf24bit);
    tile.Canvas().CopyRect(Rect(0, 0, source.Width(), source.Height()), bitmap.Canvas(), source);
    for (const TPoint& at : TilePositions(dest, source.Width(), source.Height()))
        canvas.CopyRect(Bounds(at.X, at.Y, source.Width(), source.Height()), tile.Canvas(),
                        Rect(0, 0, source.Width(), source.Height()));
}

void TransparentBlit(HDC dc, const TRect& dest, TBitmap& bitmap, TColor key) {
    if (IsInvertedRect(dest) || bitmap.Empty()) return;
    const int width = dest.Width();
    const int height = dest.Height();
    if (width == 0 || height == 0) return;
    HDC source = bitmap.Canvas().Handle();
    // The mask: 1 where the bitmap has the key colour (a colour-to-monochrome copy turns the
    // source's background colour into 1 and every other colour into 0).
    UniqueBitmap mask(CreateBitmap(width, height, 1, 1, nullptr));
    UniqueDC maskDC(CreateCompatibleDC(dc));
    if (!mask || !maskDC) return;
    {
        SelectionGuard selected(maskDC.get(), mask.get());
        const COLORREF background = SetBkColor(source, ColorToRGB(key));
        BitBlt(maskDC.get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
        SetBkColor(source, background);
    }
    // Mask bit 1 keeps the destination (raster operation 0xAA0029), 0 copies the bitmap.
    MaskBlt(dc, dest.Left, dest.Top, width, height, source, 0, 0, mask.get(), 0, 0,
            MAKEROP4(0x00AA0029, SRCCOPY));
}

UniqueRegion BitmapToRegion(TBitmap& bitmap, int dx, int dy, TColor key, int redTolerance, int greenTolerance,
                            int blueTolerance) {
    const TKeyColorRange range = KeyColorRange(key, redTolerance, greenTolerance, blueTolerance);
    std::vector<TRect> runs;
    if (!bitmap.Empty()) {
        // 24- and 32-bit rows are read as they are; any other format from a 32-bit copy, so the
        // caller's bitmap keeps its format.
        TBitmap* pixels = &bitmap;
        std::unique_ptr<TBitmap> copy;
        if (bitmap.PixelFormat() != pf24bit && bitmap.PixelFormat() != pf32bit) {
            copy = std::make_unique<TBitmap>(bitmap.Width(), bitmap.Height(), pf32bit);
            BitBlt(copy->Canvas().Handle(), 0, 0, bitmap.Width(), bitmap.Height(), bitmap.Canvas().Handle(), 0, 0,
                   SRCCOPY);
            pixels = copy.get();
        }
        const int bytesPerPixel = pixels->PixelFormat() == pf24bit ? 3 : 4;
        for (int y = 0; y < pixels->Height(); ++y)
            AppendOpaqueRuns(static_cast<const std::uint8_t*>(pixels->ScanLine(y)), pixels->Width(), bytesPerPixel, y,
                             range, dx, dy, runs);
    }
    if (runs.empty()) return UniqueRegion(CreateRectRgn(0, 0, 0, 0));
    UniqueRegion result;
    for (std::size_t first = 0; first < runs.size(); first += kRegionBatchSize) {
        const std::size_t count = std::min<std::size_t>(kRegionBatchSize, runs.size() - first);
        UniqueRegion batch = RegionOf(runs, first, count);
        if (!batch) return UniqueRegion();
        if (!result) result = std::move(batch);
        else CombineRgn(result.get(), result.get(), batch.get(), RGN_OR);
    }
    return result;
}

void PaintParentBackground(TControl& control, HDC dc) {
    TWinControl* parent = control.Parent();
    if (!parent) return;
    SavedDCState saved(dc);
    OffsetViewportOrgEx(dc, -control.Left(), -control.Top(), nullptr);
    const TRect client = control.ClientRect();
    IntersectClipRect(dc, client.Left + control.Left(), client.Top + control.Top(), client.Right + control.Left(),
                      client.Bottom + control.Top());
    const auto wParam = reinterpret_cast<WPARAM>(dc);
    if (!control.ComponentState().Contains(csDesigning)) {
        parent->Perform(WM_ERASEBKGND, wParam, 0);
        parent->Perform(WM_PAINT, wParam, 0);
        return;
    }
    // In the designer a broken parent must not stop the control from painting.
    try {
        parent->Perform(WM_ERASEBKGND, wParam, 0);
        parent->Perform(WM_PAINT, wParam, 0);
    } catch (...) {
    }
}
