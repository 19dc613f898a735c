// The headers of a BMP file from outside (a picture file, a skin's bitmap entry): whether the
// file header, the bitmap header, the bit-field masks and the colour table are ones the bitmap
// reader can use, and whether the file holds every byte the header announces, before anything is
// allocated or decoded. The reader then only follows the layout the check hands back.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "framework/graphics/checks/PictureLimits.h"
#include "framework/rtl/System.h"

// Large enough for any picture the program meets, small enough that a forged header cannot
// make us allocate unbounded memory.
constexpr int BmpMaxDimension = 32767;
constexpr Int64 BmpMaxImageBytes = Int64{256} << 20;
// The most of a file the check reads: the file header, the largest bitmap header, three masks.
constexpr std::size_t BmpHeadBytes = 14 + 124 + 12;

struct TBmpLayout {
    Int64 width;
    Int64 height;  // the number of rows, whichever way they run
    bool topDown;
    Word bitCount;
    Cardinal compression;
    bool core;            // a 12-byte header, whose colour entries have 3 bytes
    Cardinal masks[3];    // the bit fields' red, green and blue masks
    Cardinal colorCount;  // colour table entries to read (none above 8 bits)
    Int64 tableOffset;    // from the file's start
    Int64 stride;         // an uncompressed row, DWORD-aligned
    Int64 dataOffset;     // the pixels, from the file's start
    Int64 dataSize;       // rows x stride, or the coded bytes of run-length data
};

struct TBmpHeaderCheck {
    std::optional<TBmpLayout> layout;  // none: the file is refused
    TPictureLimit limit = TPictureLimit::None;  // the limit that refused it, when that was why
};

// head holds the file's first min(fileSize, BmpHeadBytes) bytes; fileSize is all the file has.
TBmpHeaderCheck CheckBmpHeader(std::span<const Byte> head, Int64 fileSize);
