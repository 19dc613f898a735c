// Where the parts of a skin image go: the copies that nine- and three-slicing make, tile and
// centring positions, and the pixel runs a window region is made of. Pure arithmetic;
// SkinPrimitives draws with it.
//
// An image strip holds its frames side by side (frame width = strip width div count) or, for the
// operations that say "vertical", stacked (frame height = strip height div count). Frames are
// numbered from 1; pixels left over at the end of the strip are never used. Margins are a TRect
// whose fields are the widths of the left, top, right and bottom border parts of a frame: border
// parts keep their size along their own direction, the parts between them are stretched or
// tiled. Every copy is a source rectangle of the strip to a destination rectangle; sizes that
// differ stretch.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "framework/graphics/Colors.h"
#include "framework/graphics/Geometry.h"

// Pure magenta marks transparent pixels in every skin image.
constexpr TColor kSkinKeyColor = 0xFF00FF;

// Windows refuses region data beyond some size; regions are built from this many rectangles at
// a time and united.
constexpr int kRegionBatchSize = 2000;

// Every skin drawing does nothing for a rectangle that is turned inside out.
inline bool IsInvertedRect(const TRect& r) { return r.Right < r.Left || r.Bottom < r.Top; }

// A frame count read from a skin may be 0 or negative: it counts as 1, before any division.
inline int SkinFrameCount(int count) { return count < 1 ? 1 : count; }

// Frame n's rectangle in a strip of the given size; none (nothing to draw) when n lies outside
// 1..count or the frame has no pixels.
std::optional<TRect> SkinFrameRect(int stripWidth, int stripHeight, int frame, int frameCount,
                                   bool vertical = false);

// Margins fitted to a frame: none negative, left + right at most the frame's width and top +
// bottom at most its height (right and bottom give way). Wider margins would ask for a middle
// of negative width, which the system draws mirrored.
TRect ClampSkinMargins(const TRect& margins, int frameWidth, int frameHeight);

struct TSkinCopy {
    TRect Source;
    TRect Dest;
    bool Tile = false;  // repeat the source over Dest (TilePositions) instead of stretching it
    friend bool operator==(const TSkinCopy&, const TSkinCopy&) = default;
};

// The copies that make a width x height image of a frame nine-sliced, in drawing order: the
// parts right of and below the centre come after it, so tiles running past the centre are
// covered. An axis too short for both its margins loses them (the centre then spans it).
std::vector<TSkinCopy> NineSliceCopies(int width, int height, const TRect& frame, const TRect& margins,
                                       bool tile);

// A width x height bar of a frame: left cap, the middle repeated at its own width, the right cap
// last (margins' Left and Right). A frame with no middle left between its caps is stretched
// whole, as one copy.
std::vector<TSkinCopy> SkinBarCopies(int width, int height, const TRect& frame, const TRect& margins);

// Three stretched parts of a frame into dest (margins' Left and Right); a frame wider than dest
// is stretched whole into it.
std::vector<TSkinCopy> ThreeSliceStretchCopies(const TRect& dest, const TRect& frame, const TRect& margins);

// The top-left corners of tiles of the given size over dest, columns outer, rows inner. The last
// column and row reach past dest. None for a tile without area.
std::vector<TPoint> TilePositions(const TRect& dest, int tileWidth, int tileHeight);

// Where a frame of its own size goes centred in dest (halves truncated toward zero: a frame
// larger than dest reaches beyond it on both sides).
TPoint CenteredFramePosition(const TRect& dest, int frameWidth, int frameHeight);

// The colours a region leaves out: each channel from the key's up to the key's plus its
// tolerance (at most 255).
struct TKeyColorRange {
    int LowRed = 0, LowGreen = 0, LowBlue = 0;
    int HighRed = 0, HighGreen = 0, HighBlue = 0;
    bool Contains(int red, int green, int blue) const {
        return red >= LowRed && red <= HighRed && green >= LowGreen && green <= HighGreen && blue >= LowBlue &&
               blue <= HighBlue;
    }
};
TKeyColorRange KeyColorRange(TColor key, int redTolerance, int greenTolerance, int blueTolerance);

// Appends one rectangle per maximal run of pixels outside the key range in a row of 24- or
// 32-bit pixels (bytes blue, green, red, and for 32 bits one unused), row y, moved by (dx, dy).
void AppendOpaqueRuns(const std::uint8_t* row, int width, int bytesPerPixel, int y, const TKeyColorRange& key,
                      int dx, int dy, std::vector<TRect>& runs);
