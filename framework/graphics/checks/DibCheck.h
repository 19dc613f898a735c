// Device-independent bitmaps as metafiles and icons carry them: a BITMAPINFO (the header and its
// colour table) and the bits, each in a block of the enclosing record or entry. The checks make
// sure that what the system's bitmap code reads lies inside those blocks, and that the picture
// stays within the program's picture limits.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "framework/rtl/System.h"

constexpr Cardinal BitmapInfoHeaderSize = 40;

// How a colour table is given: RGB quads, 16-bit palette indices, or not at all.
enum class TDibColors { Rgb, PaletteIndices, None };

// DIB_RGB_COLORS, DIB_PAL_COLORS, DIB_PAL_INDICES as a record's usage field gives them.
TDibColors DibColorsOfUsage(Cardinal usage);

struct TDibShape {
    Int64 width;
    Int64 height;  // the number of rows, whichever way they run
    Word bitCount;
    Cardinal compression;
    Cardinal sizeImage;
    std::uint64_t rowBytes;   // an uncompressed row, DWORD-aligned
    std::uint64_t infoBytes;  // the header, the bitfield masks and the colour table
};

// The bitmap the BITMAPINFO in info describes, when its header is one a player can use, its
// colour table (and bitfield masks) lie inside info, and it stays within the picture limits.
std::optional<TDibShape> ReadDibInfo(std::span<const Byte> info, TDibColors colors);

// Whether bitsSize bytes hold scanLines rows of the bitmap (0: all of them); for a compressed
// bitmap, whether they hold all the coded bytes its header announces.
bool DibBitsFit(const TDibShape& shape, std::uint64_t scanLines, std::uint64_t bitsSize);
