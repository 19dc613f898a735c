#include "framework/graphics/checks/DibCheck.h"

#include "framework/graphics/checks/LittleEndian.h"
#include "framework/graphics/checks/PictureLimits.h"

namespace {

using U64 = std::uint64_t;

constexpr Cardinal BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3, BiJpeg = 4, BiPng = 5;

bool DepthFitsCompression(Word bitCount, Cardinal compression) {
    switch (compression) {
    case BiRgb: return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
    case BiBitfields: return bitCount == 16 || bitCount == 32;
    case BiRle8: return bitCount == 8;
    case BiRle4: return bitCount == 4;
    case BiJpeg:
    case BiPng: return bitCount == 0;
    default: return false;
    }
}

U64 ColorEntrySize(TDibColors colors) {
    return colors == TDibColors::PaletteIndices ? 2 : colors == TDibColors::None ? 0 : 4;
}

}  // namespace

TDibColors DibColorsOfUsage(Cardinal usage) {
    return usage == 1 ? TDibColors::PaletteIndices : usage == 2 ? TDibColors::None : TDibColors::Rgb;
}

std::optional<TDibShape> ReadDibInfo(std::span<const Byte> info, TDibColors colors) {
    if (info.size() < BitmapInfoHeaderSize) return std::nullopt;
    const Cardinal infoSize = U32At(info, 0);
    if (infoSize < BitmapInfoHeaderSize || infoSize > info.size()) return std::nullopt;
    TDibShape shape{};
    shape.width = I32At(info, 4);
    const Int64 height = I32At(info, 8);
    shape.height = height < 0 ? -height : height;
    shape.bitCount = U16At(info, 14);
    shape.compression = U32At(info, 16);
    shape.sizeImage = U32At(info, 20);
    const Cardinal colorsUsed = U32At(info, 32);
    if (shape.width <= 0 || shape.height == 0 || !DepthFitsCompression(shape.bitCount, shape.compression))
        return std::nullopt;
    shape.rowBytes = (static_cast<U64>(shape.width) * shape.bitCount + 31) / 32 * 4;
    // The decoded picture is what the limits are about: a compressed one decodes to 32 bits.
    const U64 decodedRow = shape.bitCount == 0 ? static_cast<U64>(shape.width) * 4 : shape.rowBytes;
    if (ExceededPictureLimit(shape.width, shape.height, static_cast<Int64>(decodedRow)) != TPictureLimit::None)
        return std::nullopt;

    // The colour table follows the header (behind the three masks of a 40-byte bitfields header).
    const U64 masks = shape.compression == BiBitfields && infoSize == BitmapInfoHeaderSize ? 12 : 0;
    const U64 tableEntries = colorsUsed != 0 ? colorsUsed
                             : shape.bitCount <= 8 && shape.bitCount > 0 ? U64{1} << shape.bitCount
                                                                         : 0;
    shape.infoBytes = infoSize + masks + tableEntries * ColorEntrySize(colors);
    if (shape.infoBytes > info.size()) return std::nullopt;
    return shape;
}

bool DibBitsFit(const TDibShape& shape, std::uint64_t scanLines, std::uint64_t bitsSize) {
    switch (shape.compression) {
    case BiRgb:
    case BiBitfields: {
        const U64 lines = scanLines == 0 ? static_cast<U64>(shape.height) : scanLines;
        return lines <= static_cast<U64>(shape.height) && shape.rowBytes * lines <= bitsSize;
    }
    default:  // run-length, JPEG or PNG: the coded bytes the header announces
        return shape.sizeImage != 0 && shape.sizeImage <= bitsSize;
    }
}
