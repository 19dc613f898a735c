#include "framework/graphics/checks/BmpCheck.h"

#include "framework/graphics/checks/LittleEndian.h"

namespace {

constexpr Cardinal BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3;
constexpr std::size_t FileHeaderSize = 14;

Int64 StrideFor(Int64 width, Int64 bitCount) { return (width * bitCount + 31) / 32 * 4; }

bool KnownHeaderSize(Cardinal size) {
    return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool KnownBitCount(Word bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

TBmpHeaderCheck CheckBmpHeader(std::span<const Byte> head, Int64 fileSize) {
    TBmpHeaderCheck refused;
    if (head.size() < FileHeaderSize + 4 || head[0] != 'B' || head[1] != 'M') return refused;
    const Int64 pixelOffset = U32At(head, 10);
    const std::span<const Byte> info = head.subspan(FileHeaderSize);
    const Cardinal headerSize = U32At(info, 0);
    if (!KnownHeaderSize(headerSize) || headerSize > info.size()) return refused;

    TBmpLayout bmp{};
    bmp.core = headerSize == 12;
    Int64 height;
    Word planes;
    Cardinal colorsUsed = 0, imageSize = 0;
    bmp.compression = BiRgb;
    if (bmp.core) {
        bmp.width = U16At(info, 4);
        height = U16At(info, 6);
        planes = U16At(info, 8);
        bmp.bitCount = U16At(info, 10);
    } else {
        bmp.width = I32At(info, 4);
        height = I32At(info, 8);
        planes = U16At(info, 12);
        bmp.bitCount = U16At(info, 14);
        bmp.compression = U32At(info, 16);
        imageSize = U32At(info, 20);
        colorsUsed = U32At(info, 32);
    }
    bmp.topDown = height < 0;
    bmp.height = height < 0 ? -height : height;
    if (planes != 1 || bmp.width <= 0 || bmp.height <= 0 || bmp.width > BmpMaxDimension ||
        bmp.height > BmpMaxDimension)
        return refused;
    if (!KnownBitCount(bmp.bitCount)) return refused;
    const bool rle = bmp.compression == BiRle8 || bmp.compression == BiRle4;
    if (bmp.compression == BiRle8 && bmp.bitCount != 8) return refused;
    if (bmp.compression == BiRle4 && bmp.bitCount != 4) return refused;
    if (bmp.compression == BiBitfields && bmp.bitCount != 16 && bmp.bitCount != 32) return refused;
    if (bmp.compression != BiRgb && bmp.compression != BiBitfields && !rle) return refused;
    if (rle && bmp.topDown) return refused;

    // A 40-byte header keeps its bit fields behind it; the longer ones hold them at offset 40.
    Int64 afterHeader = static_cast<Int64>(FileHeaderSize + headerSize);
    if (bmp.compression == BiBitfields) {
        const bool behind = headerSize == 40;
        const std::size_t at = behind ? headerSize : 40;
        if (at + 12 > info.size()) return refused;
        for (std::size_t i = 0; i < 3; ++i) bmp.masks[i] = U32At(info, at + 4 * i);
        if (behind) afterHeader += 12;
    }

    const Cardinal maxColors = bmp.bitCount <= 8 ? (1u << bmp.bitCount) : 256u;
    Cardinal colorCount = colorsUsed ? colorsUsed : (bmp.bitCount <= 8 ? maxColors : 0);
    if (colorCount > maxColors) return refused;
    if (bmp.bitCount > 8) colorCount = 0;  // an optional palette for the screen: not needed
    if (bmp.bitCount <= 8 && colorCount == 0) return refused;
    bmp.colorCount = colorCount;

    bmp.stride = StrideFor(bmp.width, bmp.bitCount);
    // Refused before anything is allocated or decoded: a few bytes of run-length data can claim
    // an image of hundreds of megabytes. 16-bit pictures are decoded to 24 bits.
    const Int64 decodedStride = StrideFor(bmp.width, bmp.bitCount == 16 ? 24 : bmp.bitCount);
    if (const TPictureLimit limit = ExceededPictureLimit(bmp.width, bmp.height, decodedStride);
        limit != TPictureLimit::None) {
        refused.limit = limit;
        return refused;
    }
    const Int64 rawSize = bmp.stride * bmp.height;
    if (rawSize > BmpMaxImageBytes) return refused;
    if (rle && (imageSize == 0 || imageSize > BmpMaxImageBytes)) return refused;
    bmp.dataSize = rle ? imageSize : rawSize;

    bmp.tableOffset = afterHeader;
    const Int64 afterTable = afterHeader + static_cast<Int64>(colorCount) * (bmp.core ? 3 : 4);
    bmp.dataOffset = pixelOffset >= afterTable ? pixelOffset : afterTable;
    if (bmp.dataOffset + bmp.dataSize > fileSize) return refused;
    return {bmp, TPictureLimit::None};
}
