#include "framework/graphics/checks/EmfCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "framework/graphics/checks/DibCheck.h"
#include "framework/graphics/checks/LittleEndian.h"

// Record layouts follow the published enhanced-metafile format; offsets inside a record count
// from the record's start.

namespace {

using U64 = std::uint64_t;
using Record = std::span<const Byte>;

// ---- record types ----

constexpr Cardinal EmrPolyBezier = 2, EmrPolygon = 3, EmrPolyline = 4, EmrPolyBezierTo = 5, EmrPolylineTo = 6;
constexpr Cardinal EmrPolyPolyline = 7, EmrPolyPolygon = 8;
constexpr Cardinal EmrSetWindowExtEx = 9, EmrSetWindowOrgEx = 10, EmrSetViewportExtEx = 11, EmrSetViewportOrgEx = 12;
constexpr Cardinal EmrSetBrushOrgEx = 13, EmrSetPixelV = 15, EmrSetMapperFlags = 16, EmrSetMapMode = 17;
constexpr Cardinal EmrSetBkMode = 18, EmrSetPolyFillMode = 19, EmrSetRop2 = 20, EmrSetStretchBltMode = 21;
constexpr Cardinal EmrSetTextAlign = 22, EmrSetTextColor = 24, EmrSetBkColor = 25, EmrOffsetClipRgn = 26;
constexpr Cardinal EmrMoveToEx = 27, EmrSetMetaRgn = 28, EmrExcludeClipRect = 29, EmrIntersectClipRect = 30;
constexpr Cardinal EmrSaveDC = 33, EmrRestoreDC = 34, EmrSetWorldTransform = 35, EmrModifyWorldTransform = 36;
constexpr Cardinal EmrSelectObject = 37, EmrCreatePen = 38, EmrCreateBrushIndirect = 39, EmrDeleteObject = 40;
constexpr Cardinal EmrEllipse = 42, EmrRectangle = 43, EmrRoundRect = 44, EmrArc = 45, EmrChord = 46, EmrPie = 47;
constexpr Cardinal EmrSelectPalette = 48, EmrCreatePalette = 49, EmrRealizePalette = 52, EmrLineTo = 54;
constexpr Cardinal EmrArcTo = 55, EmrPolyDraw = 56, EmrSetArcDirection = 57, EmrSetMiterLimit = 58;
constexpr Cardinal EmrBeginPath = 59, EmrEndPath = 60, EmrCloseFigure = 61, EmrFillPath = 62;
constexpr Cardinal EmrStrokeAndFillPath = 63, EmrStrokePath = 64, EmrFlattenPath = 65, EmrWidenPath = 66;
constexpr Cardinal EmrSelectClipPath = 67, EmrAbortPath = 68, EmrGdiComment = 70, EmrExtSelectClipRgn = 75;
constexpr Cardinal EmrBitBlt = 76, EmrStretchBlt = 77, EmrMaskBlt = 78, EmrPlgBlt = 79;
constexpr Cardinal EmrSetDIBitsToDevice = 80, EmrStretchDIBits = 81, EmrExtCreateFontIndirectW = 82;
constexpr Cardinal EmrExtTextOutA = 83, EmrExtTextOutW = 84;
constexpr Cardinal EmrPolyBezier16 = 85, EmrPolygon16 = 86, EmrPolyline16 = 87, EmrPolyBezierTo16 = 88;
constexpr Cardinal EmrPolylineTo16 = 89, EmrPolyPolyline16 = 90, EmrPolyPolygon16 = 91, EmrPolyDraw16 = 92;
constexpr Cardinal EmrCreateMonoBrush = 93, EmrCreateDIBPatternBrushPt = 94, EmrExtCreatePen = 95;
constexpr Cardinal EmrPolyTextOutA = 96, EmrPolyTextOutW = 97, EmrSetIcmMode = 98, EmrSmallTextOut = 108;
constexpr Cardinal EmrAlphaBlend = 114, EmrSetLayout = 115, EmrTransparentBlt = 116;

constexpr Cardinal EtoNoRect = 0x100, EtoSmallChars = 0x200, EtoPdy = 0x2000;

constexpr Cardinal EmfEofSize = 20;       // type, size, palette count and offset, size again
constexpr Cardinal PixelFormatSize = 40;  // PIXELFORMATDESCRIPTOR
constexpr Cardinal EmrTextSize = 40;      // EMRTEXT: reference point, count, offsets, options, frame
constexpr Cardinal LogFontWSize = 92;

// The largest frame (0.01 mm) or bounds (device units) that widens the coordinate bound: 2.6 m,
// beyond the largest paper.
constexpr Int64 MaxHeaderExtent = Int64{1} << 18;
// The smallest coordinate bound, whatever the header says: room for the pixels of a page.
constexpr Int64 MinCoordinateBound = Int64{1} << 14;
// A world transform may scale, rotate and mirror, but not by more than this.
constexpr double MaxTransformScale = 256;
constexpr Cardinal StockObjectFlag = 0x80000000, LastStockObject = 19;  // DC_PEN
constexpr Cardinal MaxPenStyleEntries = 16;

// ---- the state of the walk ----

struct Walk {
    Cardinal handles = 0;          // the header's handle count: object indices 1 .. handles - 1
    std::vector<bool> created;     // the table slots that hold an object
    Int64 bound = 0;               // coordinates lie within -bound .. bound
    Cardinal paletteEntries = 0;   // the header's palette size, which the end-of-file record repeats
};

bool InBound(const Walk& walk, Int64 value) { return value >= -walk.bound && value <= walk.bound; }

bool PointsInBound(Record record, const Walk& walk, std::size_t at, std::size_t values) {
    for (std::size_t i = 0; i < values; ++i)
        if (!InBound(walk, I32At(record, at + 4 * i))) return false;
    return true;
}

// count items of unit bytes at offset lie behind the record's fixed fields and inside it. An
// empty block may sit anywhere up to the record's end (writers leave its offset 0).
bool BlockFits(Record record, Cardinal fixedSize, Cardinal offset, U64 count, U64 unit) {
    if (count == 0) return offset <= record.size();
    return offset >= fixedSize && offset <= record.size() && count * unit <= record.size() - offset;
}

// ---- objects ----

bool IsTableIndex(const Walk& walk, Cardinal index) { return index >= 1 && index < walk.handles; }

bool Creates(Record record, Walk& walk, std::size_t at = 8) {
    const Cardinal index = U32At(record, at);
    if (!IsTableIndex(walk, index)) return false;
    walk.created[index] = true;
    return true;
}

bool SelectsExisting(Record record, const Walk& walk) {
    const Cardinal index = U32At(record, 8);
    if ((index & StockObjectFlag) != 0) return (index & ~StockObjectFlag) <= LastStockObject;
    return IsTableIndex(walk, index) && walk.created[index];
}

bool Deletes(Record record, Walk& walk) {
    const Cardinal index = U32At(record, 8);
    if (!IsTableIndex(walk, index) || !walk.created[index]) return false;
    walk.created[index] = false;
    return true;
}

// A brush from a LOGBRUSH: solid, hollow or hatched. Other styles carry a pointer or a handle
// in their hatch field, which means nothing in a file.
bool LogBrushIsPlain(Cardinal style, Cardinal hatch) {
    constexpr Cardinal BsSolid = 0, BsNull = 1, BsHatched = 2, LastHatch = 5;
    return style == BsSolid || style == BsNull || (style == BsHatched && hatch <= LastHatch);
}

bool CreatePaletteIsSound(Record record, Walk& walk) {
    if (record.size() < 16) return false;
    const Word entries = U16At(record, 14);
    return entries != 0 && 16 + U64{entries} * 4 <= record.size() && Creates(record, walk);
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

// Where the destination's position and extent lie (0: the record has none of its own), and the
// source's extent (0: the destination's).
struct BlitFields {
    Byte destination, destinationExtent, sourceExtent;
};

// The records that carry bitmaps: the size of their fixed fields and where their bitmaps'
// offset and size fields lie.
struct BitmapRecord {
    Cardinal type;
    Cardinal fixedSize;
    BlitFields blit;
    BitmapFields bitmaps[2];  // the second, when there is one, is the mask
};

constexpr BitmapRecord BitmapRecords[] = {
    {EmrBitBlt, 100, {24, 32, 0}, {{{84, 88}, {92, 96}, 80, 0}}},
    {EmrStretchBlt, 108, {24, 32, 100}, {{{84, 88}, {92, 96}, 80, 0}}},
    {EmrMaskBlt, 128, {24, 32, 0}, {{{84, 88}, {92, 96}, 80, 0}, {{112, 116}, {120, 124}, 108, 0}}},
    {EmrPlgBlt, 140, {0, 0, 0}, {{{96, 100}, {104, 108}, 92, 0}, {{124, 128}, {132, 136}, 120, 0}}},
    {EmrSetDIBitsToDevice, 76, {24, 0, 40}, {{{48, 52}, {56, 60}, 64, 72}}},
    {EmrStretchDIBits, 80, {24, 72, 40}, {{{48, 52}, {56, 60}, 64, 0}}},
    {EmrAlphaBlend, 108, {24, 32, 100}, {{{84, 88}, {92, 96}, 80, 0}}},
    {EmrTransparentBlt, 108, {24, 32, 100}, {{{84, 88}, {92, 96}, 80, 0}}},
    {EmrCreateMonoBrush, 32, {0, 0, 0}, {{{16, 20}, {24, 28}, 12, 0}}},
    {EmrCreateDIBPatternBrushPt, 32, {0, 0, 0}, {{{16, 20}, {24, 28}, 12, 0}}},
    {EmrExtCreatePen, 52, {0, 0, 0}, {{{12, 16}, {20, 24}, 0, 0}}},
};

bool BitmapIsSound(Record record, Cardinal fixedSize, const BitmapFields& fields) {
    const Cardinal headerAt = U32At(record, fields.header.offset), headerSize = U32At(record, fields.header.size);
    const Cardinal bitsAt = U32At(record, fields.bits.offset), bitsSize = U32At(record, fields.bits.size);
    if (!BlockFits(record, fixedSize, headerAt, headerSize, 1) || !BlockFits(record, fixedSize, bitsAt, bitsSize, 1))
        return false;
    if (headerSize == 0) return bitsSize == 0;  // no bitmap
    const TDibColors colors = DibColorsOfUsage(fields.usage != 0 ? U32At(record, fields.usage) : 0);
    const std::optional<TDibShape> shape = ReadDibInfo(record.subspan(headerAt, headerSize), colors);
    return shape && DibBitsFit(*shape, fields.scanLines != 0 ? U32At(record, fields.scanLines) : 0, bitsSize);
}

bool HasSourceBitmap(Record record, const BitmapRecord& layout) {
    return U32At(record, layout.bitmaps[0].header.size) != 0;
}

// The destination lies within the bound; a stretched source has extents to divide by.
bool BlitIsSound(Record record, const BitmapRecord& layout, const Walk& walk) {
    const BlitFields& blit = layout.blit;
    if (blit.destination != 0 && !PointsInBound(record, walk, blit.destination, 2)) return false;
    if (blit.destinationExtent != 0 && !PointsInBound(record, walk, blit.destinationExtent, 2)) return false;
    if (blit.sourceExtent != 0 && HasSourceBitmap(record, layout)) {
        if (!PointsInBound(record, walk, blit.sourceExtent, 2)) return false;
        if (I32At(record, blit.sourceExtent) == 0 || I32At(record, blit.sourceExtent + 4) == 0) return false;
    }
    return true;
}

// Solid, hollow and hatched pens need no bitmap; pattern pens need theirs. A pen's dash
// pattern lies behind its fixed fields.
bool ExtCreatePenIsSound(Record record, Walk& walk) {
    constexpr Cardinal BsPattern = 3, BsDibPattern = 5, BsDibPatternPt = 6;
    const Cardinal brushStyle = U32At(record, 36);
    const Cardinal styleEntries = U32At(record, 48);
    const bool hasBitmap = U32At(record, 16) != 0;
    const bool patterned = brushStyle == BsPattern || brushStyle == BsDibPattern || brushStyle == BsDibPatternPt;
    if (!(patterned ? hasBitmap : LogBrushIsPlain(brushStyle, U32At(record, 44)))) return false;
    if (styleEntries > MaxPenStyleEntries || 52 + U64{styleEntries} * 4 > record.size()) return false;
    return Creates(record, walk);
}

bool BitmapRecordIsSound(Record record, const BitmapRecord& layout, Walk& walk) {
    if (record.size() < layout.fixedSize) return false;
    for (const BitmapFields& bitmap : layout.bitmaps)
        if (bitmap.header.size != 0 && !BitmapIsSound(record, layout.fixedSize, bitmap)) return false;
    if (!BlitIsSound(record, layout, walk)) return false;
    switch (layout.type) {
    case EmrExtCreatePen: return ExtCreatePenIsSound(record, walk);
    case EmrCreateMonoBrush:
    case EmrCreateDIBPatternBrushPt: return HasSourceBitmap(record, layout) && Creates(record, walk);
    default: return true;
    }
}

const BitmapRecord* BitmapLayout(Cardinal type) {
    for (const BitmapRecord& layout : BitmapRecords)
        if (layout.type == type) return &layout;
    return nullptr;
}

// ---- text ----

// One EMRTEXT at offset: the reference point within the bound, the string of nChars characters
// and the spacing array beside it.
bool TextIsSound(Record record, Cardinal fixedSize, std::size_t at, Cardinal charSize, const Walk& walk) {
    const Cardinal chars = U32At(record, at + 8);
    const Cardinal stringAt = U32At(record, at + 12);
    const Cardinal options = U32At(record, at + 16);
    const Cardinal spacingAt = U32At(record, at + 36);
    const Cardinal spacingUnit = (options & EtoPdy) != 0 ? 8 : 4;  // a vertical step beside each horizontal
    return PointsInBound(record, walk, at, 2) && BlockFits(record, fixedSize, stringAt, chars, charSize) &&
           BlockFits(record, fixedSize, spacingAt, chars, spacingUnit);
}

bool ExtTextOutIsSound(Record record, Cardinal charSize, const Walk& walk) {
    constexpr Cardinal fixedSize = 36 + EmrTextSize;
    return record.size() >= fixedSize && TextIsSound(record, fixedSize, 36, charSize, walk);
}

bool PolyTextOutIsSound(Record record, Cardinal charSize, const Walk& walk) {
    if (record.size() < 40) return false;
    const Cardinal strings = U32At(record, 36);
    if (strings > (record.size() - 40) / EmrTextSize) return false;
    const auto fixedSize = static_cast<Cardinal>(40 + strings * EmrTextSize);
    for (Cardinal i = 0; i < strings; ++i)
        if (!TextIsSound(record, fixedSize, 40 + i * EmrTextSize, charSize, walk)) return false;
    return true;
}

// No offsets: the optional frame and then the characters follow the fixed fields.
bool SmallTextOutIsSound(Record record, const Walk& walk) {
    if (record.size() < 36) return false;
    const Cardinal chars = U32At(record, 16);
    const Cardinal options = U32At(record, 20);
    const Cardinal textAt = (options & EtoNoRect) != 0 ? 36 : 52;
    return PointsInBound(record, walk, 8, 2) &&
           BlockFits(record, textAt, textAt, chars, (options & EtoSmallChars) != 0 ? 1 : 2);
}

// ---- lines and polygons ----

// cpts points of pointSize bytes (two 16- or 32-bit coordinates) at pointsAt, and behind them
// typeBytes bytes per point (the point types of a POLYDRAW).
bool PointsFit(Record record, std::size_t countAt, std::size_t pointsAt, Cardinal pointSize, Cardinal typeBytes,
               const Walk& walk) {
    if (record.size() < pointsAt) return false;
    const U64 points = U32At(record, countAt);
    if (points * (pointSize + typeBytes) > record.size() - pointsAt) return false;
    if (pointSize == 8) return PointsInBound(record, walk, pointsAt, static_cast<std::size_t>(points) * 2);
    return true;  // 16-bit coordinates lie within any bound
}

// The polygon counts, then the points: the counts add up to the points the record carries.
bool PolyPolyIsSound(Record record, Cardinal pointSize, const Walk& walk) {
    if (record.size() < 32) return false;
    const U64 polygons = U32At(record, 24);
    if (polygons > (record.size() - 32) / 4) return false;
    U64 total = 0;
    for (U64 i = 0; i < polygons; ++i) total += U32At(record, static_cast<std::size_t>(32 + 4 * i));
    if (total != U32At(record, 28)) return false;
    return PointsFit(record, 28, static_cast<std::size_t>(32 + 4 * polygons), pointSize, 0, walk);
}

// ---- transforms and regions ----

bool TransformIsModerate(Record record, std::size_t at, const Walk& walk) {
    for (int i = 0; i < 6; ++i) {
        const double value = F32At(record, at + 4 * i);
        if (!std::isfinite(value)) return false;
        if (i < 4 ? std::fabs(value) > MaxTransformScale : std::fabs(value) > static_cast<double>(walk.bound))
            return false;
    }
    return true;
}

// RGNDATA: its 32-byte header, then nCount rectangles.
bool ClipRegionIsSound(Record record) {
    if (record.size() < 16) return false;
    const Cardinal dataSize = U32At(record, 8);
    if (dataSize > record.size() - 16) return false;
    if (dataSize == 0) return true;  // back to the default clipping
    if (dataSize < 32 || U32At(record, 16) != 32 || U32At(record, 20) != 1) return false;
    return U64{U32At(record, 24)} * 16 <= dataSize - 32;
}

bool CommentIsSound(Record record) { return record.size() >= 12 && U32At(record, 8) <= record.size() - 12; }

// ---- header and end of file ----

Int64 LargestMagnitude(std::span<const Byte> header, std::size_t at) {
    Int64 largest = 0;
    for (int i = 0; i < 4; ++i) {
        const Int64 value = I32At(header, at + 4 * i);
        largest = std::max(largest, value < 0 ? -value : value);
    }
    return largest;
}

// The description and the pixel format lie inside the header record, behind the fields it has
// (88 bytes, 100 with the pixel-format fields, 108 with the size in micrometres).
bool HeaderRecordIsSound(std::span<const Byte> bytes) {
    if (bytes.size() < static_cast<std::size_t>(EmfMinHeaderSize)) return false;
    const Cardinal headerSize = U32At(bytes, 4);
    if (U32At(bytes, 0) != EmfRecordHeader || U32At(bytes, 40) != EmfSignature) return false;
    if (headerSize < static_cast<Cardinal>(EmfMinHeaderSize) || headerSize % 4 != 0 || headerSize > bytes.size())
        return false;
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

// Coordinates in logical units may be in any unit from the device's pixels to the frame's
// 0.01 mm; a few times the larger of the two leaves room for what is drawn beyond the page. A
// frame or bounds beyond any paper widen it no further.
Int64 CoordinateBound(std::span<const Byte> header) {
    const Int64 extent = std::max(LargestMagnitude(header, 8), LargestMagnitude(header, 24));
    return 4 * std::clamp(extent, MinCoordinateBound, MaxHeaderExtent);
}

// The palette lies between the fixed fields and the trailing copy of the record size; its
// length is the one the header announces.
bool EofRecordIsSound(Record record, const Walk& walk) {
    if (record.size() < EmfEofSize || U32At(record, record.size() - 4) != record.size()) return false;
    const Cardinal entries = U32At(record, 8);
    return entries == walk.paletteEntries && BlockFits(record.first(record.size() - 4), 16, U32At(record, 12), entries, 4);
}

// ---- one record ----

// Records of fixed fields alone: their size, and how many 32-bit coordinates start at offset 8.
struct PlainRecord {
    Cardinal type;
    Cardinal size;
    Byte coordinates;
};

constexpr PlainRecord PlainRecords[] = {
    {EmrSetWindowExtEx, 16, 2}, {EmrSetWindowOrgEx, 16, 2}, {EmrSetViewportExtEx, 16, 2},
    {EmrSetViewportOrgEx, 16, 2}, {EmrSetBrushOrgEx, 16, 2}, {EmrOffsetClipRgn, 16, 2},
    {EmrMoveToEx, 16, 2}, {EmrLineTo, 16, 2}, {EmrSetPixelV, 20, 2},
    {EmrExcludeClipRect, 24, 4}, {EmrIntersectClipRect, 24, 4}, {EmrEllipse, 24, 4}, {EmrRectangle, 24, 4},
    {EmrRoundRect, 32, 6}, {EmrArc, 40, 8}, {EmrChord, 40, 8}, {EmrPie, 40, 8}, {EmrArcTo, 40, 8},
    {EmrSetMapperFlags, 12, 0}, {EmrSetMapMode, 12, 0}, {EmrSetBkMode, 12, 0}, {EmrSetPolyFillMode, 12, 0},
    {EmrSetRop2, 12, 0}, {EmrSetStretchBltMode, 12, 0}, {EmrSetTextAlign, 12, 0}, {EmrSetTextColor, 12, 0},
    {EmrSetBkColor, 12, 0}, {EmrSetArcDirection, 12, 0}, {EmrSetMiterLimit, 12, 0}, {EmrSetIcmMode, 12, 0},
    {EmrSetLayout, 12, 0}, {EmrRestoreDC, 12, 0}, {EmrSelectClipPath, 12, 0},
    {EmrSaveDC, 8, 0}, {EmrRealizePalette, 8, 0}, {EmrSetMetaRgn, 8, 0}, {EmrBeginPath, 8, 0}, {EmrEndPath, 8, 0},
    {EmrCloseFigure, 8, 0}, {EmrFlattenPath, 8, 0}, {EmrWidenPath, 8, 0}, {EmrAbortPath, 8, 0},
    {EmrFillPath, 24, 0}, {EmrStrokeAndFillPath, 24, 0}, {EmrStrokePath, 24, 0},
};

const PlainRecord* PlainLayout(Cardinal type) {
    for (const PlainRecord& layout : PlainRecords)
        if (layout.type == type) return &layout;
    return nullptr;
}

// Whether a record that is not plain, and carries no bitmap, is sound.
bool OtherRecordIsSound(Record record, Cardinal type, Walk& walk) {
    switch (type) {
    case EmfRecordEof: return EofRecordIsSound(record, walk);
    case EmrSetWorldTransform: return record.size() >= 32 && TransformIsModerate(record, 8, walk);
    case EmrModifyWorldTransform: return record.size() >= 36 && TransformIsModerate(record, 8, walk);
    case EmrSelectObject:
    case EmrSelectPalette: return record.size() >= 12 && SelectsExisting(record, walk);
    case EmrDeleteObject: return record.size() >= 12 && Deletes(record, walk);
    case EmrCreatePen: return record.size() >= 28 && Creates(record, walk);
    case EmrCreateBrushIndirect:
        return record.size() >= 24 && LogBrushIsPlain(U32At(record, 12), U32At(record, 20)) && Creates(record, walk);
    case EmrCreatePalette: return CreatePaletteIsSound(record, walk);
    case EmrExtCreateFontIndirectW: return record.size() >= 12 + LogFontWSize && Creates(record, walk);
    case EmrGdiComment: return CommentIsSound(record);
    case EmrExtSelectClipRgn: return ClipRegionIsSound(record);
    case EmrExtTextOutA: return ExtTextOutIsSound(record, 1, walk);
    case EmrExtTextOutW: return ExtTextOutIsSound(record, 2, walk);
    case EmrPolyTextOutA: return PolyTextOutIsSound(record, 1, walk);
    case EmrPolyTextOutW: return PolyTextOutIsSound(record, 2, walk);
    case EmrSmallTextOut: return SmallTextOutIsSound(record, walk);
    case EmrPolyBezier:
    case EmrPolygon:
    case EmrPolyline:
    case EmrPolyBezierTo:
    case EmrPolylineTo: return PointsFit(record, 24, 28, 8, 0, walk);
    case EmrPolyBezier16:
    case EmrPolygon16:
    case EmrPolyline16:
    case EmrPolyBezierTo16:
    case EmrPolylineTo16: return PointsFit(record, 24, 28, 4, 0, walk);
    case EmrPolyDraw: return PointsFit(record, 24, 28, 8, 1, walk);
    case EmrPolyDraw16: return PointsFit(record, 24, 28, 4, 1, walk);
    case EmrPolyPolyline:
    case EmrPolyPolygon: return PolyPolyIsSound(record, 8, walk);
    case EmrPolyPolyline16:
    case EmrPolyPolygon16: return PolyPolyIsSound(record, 4, walk);
    default: return false;
    }
}

bool IsOtherCheckedType(Cardinal type) {
    switch (type) {
    case EmfRecordHeader:
    case EmfRecordEof:
    case EmrSetWorldTransform:
    case EmrModifyWorldTransform:
    case EmrSelectObject:
    case EmrSelectPalette:
    case EmrDeleteObject:
    case EmrCreatePen:
    case EmrCreateBrushIndirect:
    case EmrCreatePalette:
    case EmrExtCreateFontIndirectW:
    case EmrGdiComment:
    case EmrExtSelectClipRgn:
    case EmrExtTextOutA:
    case EmrExtTextOutW:
    case EmrPolyTextOutA:
    case EmrPolyTextOutW:
    case EmrSmallTextOut:
    case EmrPolyBezier:
    case EmrPolygon:
    case EmrPolyline:
    case EmrPolyBezierTo:
    case EmrPolylineTo:
    case EmrPolyBezier16:
    case EmrPolygon16:
    case EmrPolyline16:
    case EmrPolyBezierTo16:
    case EmrPolylineTo16:
    case EmrPolyDraw:
    case EmrPolyDraw16:
    case EmrPolyPolyline:
    case EmrPolyPolygon:
    case EmrPolyPolyline16:
    case EmrPolyPolygon16: return true;
    default: return false;
    }
}

// A record of a type the checker does not know is left alone: it is never played.
bool RecordIsSound(Record record, Cardinal type, Walk& walk) {
    if (const PlainRecord* plain = PlainLayout(type))
        return record.size() >= plain->size && PointsInBound(record, walk, 8, plain->coordinates);
    if (const BitmapRecord* bitmap = BitmapLayout(type)) return BitmapRecordIsSound(record, *bitmap, walk);
    if (!IsOtherCheckedType(type)) return true;
    return OtherRecordIsSound(record, type, walk);
}

}  // namespace

bool IsCheckedEmfRecordType(Cardinal type) {
    return PlainLayout(type) != nullptr || BitmapLayout(type) != nullptr || IsOtherCheckedType(type);
}

bool IsSoundEmf(std::span<const Byte> bytes) {
    if (!HeaderRecordIsSound(bytes) || bytes.size() % 4 != 0) return false;
    const Cardinal declaredRecords = U32At(bytes, 52);
    Walk walk;
    walk.handles = U16At(bytes, 56);
    walk.created.assign(walk.handles, false);
    walk.bound = CoordinateBound(bytes);
    walk.paletteEntries = U32At(bytes, 68);
    Cardinal records = 0;
    Cardinal lastType = 0;
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        if (bytes.size() - offset < 8) return false;
        const Cardinal type = U32At(bytes, offset);
        const Cardinal size = U32At(bytes, offset + 4);
        if (size < 8 || size % 4 != 0 || size > bytes.size() - offset) return false;
        if (type == EmfRecordHeader) {
            if (offset != 0) return false;
        } else if (!RecordIsSound(bytes.subspan(offset, size), type, walk)) {
            return false;
        }
        lastType = type;
        ++records;
        offset += size;
    }
    return records == declaredRecords && lastType == EmfRecordEof;
}
