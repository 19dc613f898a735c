#include "report/pagestore/QRPageBytes.h"

#include <cstdint>

#include "report/pagestore/QRFileFormat.h"

// Record layouts follow the published enhanced-metafile format; offsets inside a record count
// from the record's start. The checks make sure that whatever a record points at, the system's
// metafile player and the preview's text search stay inside that record.

namespace {

using U64 = std::uint64_t;

// The record types that carry offsets, and the option bits that change what they point at.
constexpr Cardinal EmrBitBlt = 76, EmrStretchBlt = 77, EmrMaskBlt = 78, EmrPlgBlt = 79;
constexpr Cardinal EmrSetDIBitsToDevice = 80, EmrStretchDIBits = 81, EmrExtTextOutA = 83, EmrExtTextOutW = 84;
constexpr Cardinal EmrCreateMonoBrush = 93, EmrCreateDIBPatternBrushPt = 94, EmrExtCreatePen = 95;
constexpr Cardinal EmrPolyTextOutA = 96, EmrPolyTextOutW = 97, EmrSmallTextOut = 108;
constexpr Cardinal EmrAlphaBlend = 114, EmrTransparentBlt = 116;
constexpr Cardinal EtoNoRect = 0x100, EtoSmallChars = 0x200, EtoPdy = 0x2000;
constexpr Cardinal DibRgbColors = 0, DibPalColors = 1, DibPalIndices = 2;

constexpr Cardinal EmfEofSize = 20;          // type, size, palette count and offset, size again
constexpr Cardinal PixelFormatSize = 40;     // PIXELFORMATDESCRIPTOR
constexpr Cardinal BitmapInfoHeaderSize = 40;
constexpr Cardinal EmrTextSize = 40;         // EMRTEXT: reference point, count, offsets, options, frame

Cardinal U32At(std::span<const Byte> bytes, std::size_t offset) {
    return static_cast<Cardinal>(GetInt32LE(bytes.data() + offset));
}

// count items of unit bytes at offset lie behind the record's fixed fields and inside it. An
// empty block may sit anywhere up to the record's end (writers leave its offset 0).
bool BlockFits(std::span<const Byte> record, Cardinal fixedSize, Cardinal offset, U64 count, U64 unit) {
    if (count == 0) return offset <= record.size();
    return offset >= fixedSize && offset <= record.size() && count * unit <= record.size() - offset;
}

// ---- bitmaps ----

// Where, inside a record, an offset field and the size field that goes with it lie.
struct OffsetPair {
    Byte offset, size;
};

struct BitmapFields {
    OffsetPair header;  // BITMAPINFO: the header and the colour table
    OffsetPair bits;
    Byte usage;      // how the colour table is given; 0: no such field, RGB quads
    Byte scanLines;  // how many scan lines the bits hold; 0: the whole bitmap
};

// The records that carry bitmaps: the size of their fixed fields and where their bitmaps'
// offset and size fields lie.
struct BitmapRecord {
    Cardinal type;
    Cardinal fixedSize;
    BitmapFields bitmaps[2];  // the second, when there is one, is the mask
};

constexpr BitmapRecord BitmapRecords[] = {
    {EmrBitBlt, 100, {{{84, 88}, {92, 96}, 80, 0}}},
    {EmrStretchBlt, 108, {{{84, 88}, {92, 96}, 80, 0}}},
    {EmrMaskBlt, 128, {{{84, 88}, {92, 96}, 80, 0}, {{112, 116}, {120, 124}, 108, 0}}},
    {EmrPlgBlt, 140, {{{96, 100}, {104, 108}, 92, 0}, {{124, 128}, {132, 136}, 120, 0}}},
    {EmrSetDIBitsToDevice, 76, {{{48, 52}, {56, 60}, 64, 72}}},
    {EmrStretchDIBits, 80, {{{48, 52}, {56, 60}, 64, 0}}},
    {EmrAlphaBlend, 108, {{{84, 88}, {92, 96}, 80, 0}}},
    {EmrTransparentBlt, 108, {{{84, 88}, {92, 96}, 80, 0}}},
    {EmrCreateMonoBrush, 32, {{{16, 20}, {24, 28}, 12, 0}}},
    {EmrCreateDIBPatternBrushPt, 32, {{{16, 20}, {24, 28}, 12, 0}}},
    {EmrExtCreatePen, 52, {{{12, 16}, {20, 24}, 0, 0}}},
};

// Whether bits of bitsSize bytes hold the scan lines a bitmap header describes (all the coded
// bytes it announces, when compressed). False for a header no player can use.
bool BitsFit(std::span<const Byte> header, U64 scanLines, Cardinal bitsSize) {
    const auto width = static_cast<std::int32_t>(U32At(header, 4));
    const Word bitCount = GetWordLE(header.data() + 14);
    const Cardinal compression = U32At(header, 16);
    const Cardinal sizeImage = U32At(header, 20);
    if (width < 0) return false;
    switch (compression) {
    case 0:  // BI_RGB
    case 3:  // BI_BITFIELDS
    {
        const bool packed = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24;
        const bool masked = bitCount == 16 || bitCount == 32;
        if (!masked && (compression == 3 || !packed)) return false;
        const U64 stride = (static_cast<U64>(width) * bitCount + 31) / 32 * 4;  // rows are DWORD-aligned
        return scanLines == 0 || stride <= bitsSize / scanLines;
    }
    case 1:  // BI_RLE8
    case 2:  // BI_RLE4
        return bitCount == (compression == 1 ? 8 : 4) && sizeImage != 0 && sizeImage <= bitsSize;
    case 4:  // BI_JPEG
    case 5:  // BI_PNG
        return bitCount == 0 && sizeImage != 0 && sizeImage <= bitsSize;
    default:
        return false;
    }
}

// Colour-table entries are RGB quads, or palette indices, or absent (a monochrome brush's
// colours come from the device context).
U64 ColorEntrySize(Cardinal usage) {
    return usage == DibPalColors ? 2 : usage == DibPalIndices ? 0 : 4;
}

bool BitmapIsSound(std::span<const Byte> record, Cardinal fixedSize, const BitmapFields& fields) {
    const Cardinal headerAt = U32At(record, fields.header.offset), headerSize = U32At(record, fields.header.size);
    const Cardinal bitsAt = U32At(record, fields.bits.offset), bitsSize = U32At(record, fields.bits.size);
    if (!BlockFits(record, fixedSize, headerAt, headerSize, 1) || !BlockFits(record, fixedSize, bitsAt, bitsSize, 1))
        return false;
    if (headerSize == 0) return bitsSize == 0;  // no bitmap
    if (headerSize < BitmapInfoHeaderSize) return false;
    const std::span<const Byte> header = record.subspan(headerAt, headerSize);
    const Cardinal infoSize = U32At(header, 0);
    const Word bitCount = GetWordLE(header.data() + 14);
    const Cardinal compression = U32At(header, 16);
    const Cardinal colorsUsed = U32At(header, 32);
    if (infoSize < BitmapInfoHeaderSize || infoSize > headerSize) return false;

    // The colour table follows the header (behind the three masks of a 40-byte bitfields header).
    const U64 masks = compression == 3 && infoSize == BitmapInfoHeaderSize ? 12 : 0;
    const U64 colors = colorsUsed != 0 ? colorsUsed : bitCount <= 8 && bitCount > 0 ? U64{1} << bitCount : 0;
    const U64 colorSize = ColorEntrySize(fields.usage != 0 ? U32At(record, fields.usage) : DibRgbColors);
    if (infoSize + masks + colors * colorSize > headerSize) return false;

    const auto height = static_cast<std::int32_t>(U32At(header, 8));
    const U64 lines = fields.scanLines != 0 ? U32At(record, fields.scanLines)
                                            : static_cast<U64>(height < 0 ? -static_cast<Int64>(height) : height);
    return BitsFit(header, lines, bitsSize);
}

// ---- text ----

// One EMRTEXT at offset: the string of nChars characters and the spacing array beside it.
bool TextIsSound(std::span<const Byte> record, Cardinal fixedSize, std::size_t at, Cardinal charSize) {
    const Cardinal chars = U32At(record, at + 8);
    const Cardinal stringAt = U32At(record, at + 12);
    const Cardinal options = U32At(record, at + 16);
    const Cardinal spacingAt = U32At(record, at + 36);
    const Cardinal spacingUnit = (options & EtoPdy) != 0 ? 8 : 4;  // a vertical step beside each horizontal
    return BlockFits(record, fixedSize, stringAt, chars, charSize) &&
           BlockFits(record, fixedSize, spacingAt, chars, spacingUnit);
}

bool ExtTextOutIsSound(std::span<const Byte> record, Cardinal charSize) {
    constexpr Cardinal fixedSize = 36 + EmrTextSize;
    return record.size() >= fixedSize && TextIsSound(record, fixedSize, 36, charSize);
}

bool PolyTextOutIsSound(std::span<const Byte> record, Cardinal charSize) {
    if (record.size() < 40) return false;
    const Cardinal strings = U32At(record, 36);
    if (strings > (record.size() - 40) / EmrTextSize) return false;
    const auto fixedSize = static_cast<Cardinal>(40 + strings * EmrTextSize);
    for (Cardinal i = 0; i < strings; ++i)
        if (!TextIsSound(record, fixedSize, 40 + i * EmrTextSize, charSize)) return false;
    return true;
}

// No offsets: the optional frame and then the characters follow the fixed fields.
bool SmallTextOutIsSound(std::span<const Byte> record) {
    if (record.size() < 36) return false;
    const Cardinal chars = U32At(record, 16);
    const Cardinal options = U32At(record, 20);
    const Cardinal textAt = (options & EtoNoRect) != 0 ? 36 : 52;
    return BlockFits(record, textAt, textAt, chars, (options & EtoSmallChars) != 0 ? 1 : 2);
}

// ---- header and end of file ----

// The description and the pixel format lie inside the header record, behind the fields it has
// (88 bytes, 100 with the pixel-format fields, 108 with the size in micrometres).
bool HeaderRecordIsSound(std::span<const Byte> bytes) {
    if (bytes.size() < EmfMinHeaderSize) return false;
    const Cardinal headerSize = U32At(bytes, 4);
    if (U32At(bytes, 0) != EmfRecordHeader || U32At(bytes, 40) != EmfSignature) return false;
    if (headerSize < EmfMinHeaderSize || headerSize % 4 != 0 || headerSize > bytes.size()) return false;
    if (U32At(bytes, 48) != bytes.size()) return false;  // nBytes
    const std::span<const Byte> header = bytes.first(headerSize);
    const Cardinal fields = headerSize >= 108 ? 108 : headerSize >= 100 ? 100 : EmfMinHeaderSize;
    if (!BlockFits(header, fields, U32At(header, 64), U32At(header, 60), 2)) return false;  // description
    if (fields >= 100) {
        const Cardinal pixelFormatSize = U32At(header, 88);
        if (pixelFormatSize != 0 && pixelFormatSize < PixelFormatSize) return false;
        if (!BlockFits(header, fields, U32At(header, 92), pixelFormatSize, 1)) return false;
    }
    return true;
}

// The palette lies between the fixed fields and the trailing copy of the record size; its
// length is the one the header announces.
bool EofRecordIsSound(std::span<const Byte> record, Cardinal headerPaletteEntries) {
    if (record.size() < EmfEofSize || U32At(record, record.size() - 4) != record.size()) return false;
    const Cardinal entries = U32At(record, 8);
    return entries == headerPaletteEntries &&
           BlockFits(record.first(record.size() - 4), 16, U32At(record, 12), entries, 4);
}

bool RecordIsSound(std::span<const Byte> record, Cardinal type, Cardinal headerPaletteEntries) {
    switch (type) {
    case EmfRecordEof: return EofRecordIsSound(record, headerPaletteEntries);
    case EmrExtTextOutA: return ExtTextOutIsSound(record, 1);
    case EmrExtTextOutW: return ExtTextOutIsSound(record, 2);
    case EmrPolyTextOutA: return PolyTextOutIsSound(record, 1);
    case EmrPolyTextOutW: return PolyTextOutIsSound(record, 2);
    case EmrSmallTextOut: return SmallTextOutIsSound(record);
    default: break;
    }
    for (const BitmapRecord& layout : BitmapRecords) {
        if (layout.type != type) continue;
        if (record.size() < layout.fixedSize) return false;
        for (const BitmapFields& bitmap : layout.bitmaps)
            if (bitmap.header.size != 0 && !BitmapIsSound(record, layout.fixedSize, bitmap)) return false;
        return true;
    }
    return true;
}

}  // namespace

bool IsValidEmf(std::span<const Byte> bytes) {
    if (!HeaderRecordIsSound(bytes) || bytes.size() % 4 != 0) return false;
    const Cardinal declaredRecords = U32At(bytes, 52);
    const Cardinal paletteEntries = U32At(bytes, 68);
    Cardinal records = 0;
    Cardinal lastType = 0;
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        if (bytes.size() - offset < 8) return false;
        Cardinal type = U32At(bytes, offset);
        Cardinal size = U32At(bytes, offset + 4);
        if (size < 8 || size % 4 != 0 || size > bytes.size() - offset) return false;
        if (offset != 0 && type == EmfRecordHeader) return false;
        if (!RecordIsSound(bytes.subspan(offset, size), type, paletteEntries)) return false;
        lastType = type;
        ++records;
        offset += size;
    }
    return records == declaredRecords && lastType == EmfRecordEof;
}
