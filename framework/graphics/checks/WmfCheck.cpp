#include "framework/graphics/checks/WmfCheck.h"

#include <cstdint>
#include <vector>

#include "framework/graphics/checks/DibCheck.h"
#include "framework/graphics/checks/LittleEndian.h"

// Record layouts follow the published Windows-metafile format: a record is its size in 16-bit
// words (4 bytes), its function (2 bytes) and its parameters, which start at offset 6.

namespace {

using U64 = std::uint64_t;
using Record = std::span<const Byte>;

constexpr std::size_t Params = 6;

constexpr Word MetaEof = 0x0000;
constexpr Word MetaScaleWindowExt = 0x0410, MetaScaleViewportExt = 0x0412;
constexpr Word MetaSelectObject = 0x012D, MetaDeleteObject = 0x01F0, MetaSelectPalette = 0x0234;
constexpr Word MetaSelectClipRegion = 0x012C;
constexpr Word MetaCreatePenIndirect = 0x02FA, MetaCreateBrushIndirect = 0x02FC, MetaCreateFontIndirect = 0x02FB;
constexpr Word MetaCreatePalette = 0x00F7, MetaDibCreatePatternBrush = 0x0142;
constexpr Word MetaPolygon = 0x0324, MetaPolyline = 0x0325, MetaPolyPolygon = 0x0538;
constexpr Word MetaTextOut = 0x0521, MetaExtTextOut = 0x0A32, MetaEscape = 0x0626;
constexpr Word MetaDibBitBlt = 0x0940, MetaDibStretchBlt = 0x0B41, MetaStretchDib = 0x0F43, MetaSetDibToDev = 0x0D33;

constexpr Word EtoOpaque = 0x0002, EtoClipped = 0x0004;
constexpr std::size_t LogFont16Size = 18;  // without the face name, which may be cut short

// Records of fixed parameters alone, and how many bytes of them.
struct PlainRecord {
    Word function;
    Byte params;
};

constexpr PlainRecord PlainRecords[] = {
    {0x0201, 4},  {0x0102, 2},  {0x0103, 2}, {0x0104, 2}, {0x0105, 2},  {0x0106, 2},  {0x0107, 2},
    {0x0108, 2},  {0x0209, 4},  {0x020A, 4}, {0x020B, 4}, {0x020C, 4},  {0x020D, 4},  {0x020E, 4},
    {0x020F, 4},  {0x0211, 4},  {0x0213, 4}, {0x0214, 4}, {0x0415, 8},  {0x0416, 8},  {0x0817, 16},
    {0x0418, 8},  {0x081A, 16}, {0x041B, 8}, {0x061C, 12}, {0x061D, 10}, {0x001E, 0},  {0x041F, 8},
    {0x0220, 4},  {0x0830, 16}, {0x012E, 2}, {0x0127, 2}, {0x0231, 4},  {0x0035, 0},  {0x0149, 4},
};

const PlainRecord* PlainLayout(Word function) {
    for (const PlainRecord& layout : PlainRecords)
        if (layout.function == function) return &layout;
    return nullptr;
}

// ---- objects ----

// The object table: a new object takes the lowest free slot.
struct Objects {
    std::vector<bool> held;

    bool Create() {
        for (std::size_t i = 0; i < held.size(); ++i)
            if (!held[i]) {
                held[i] = true;
                return true;
            }
        return false;  // no free slot: the player would write past its table
    }
    bool Holds(Word index) const { return index < held.size() && held[index]; }
    bool Delete(Word index) {
        if (!Holds(index)) return false;
        held[index] = false;
        return true;
    }
};

bool HasParams(Record record, std::size_t bytes) { return record.size() >= Params + bytes; }

// Solid, hollow and hatched brushes; the others carry a handle or a pointer.
bool CreateBrushIsSound(Record record, Objects& objects) {
    if (!HasParams(record, 8)) return false;
    const Word style = U16At(record, Params), hatch = U16At(record, Params + 6);
    const bool plain = style == 0 || style == 1 || (style == 2 && hatch <= 5);
    return plain && objects.Create();
}

bool CreatePaletteIsSound(Record record, Objects& objects) {
    if (!HasParams(record, 4)) return false;
    const U64 entries = U16At(record, Params + 2);
    return entries != 0 && Params + 4 + entries * 4 <= record.size() && objects.Create();
}

// ---- bitmaps ----

// The colour table a converter reads: palette indices for DIB_PAL_COLORS, RGB quads for any
// other usage (a table "of no entries" is still read as quads by some players).
TDibColors WmfDibColors(Word usage) { return usage == 1 ? TDibColors::PaletteIndices : TDibColors::Rgb; }

// A BITMAPINFO at at, its colour table and then its bits filling the rest of the record.
bool PackedDibIsSound(Record record, std::size_t at, Word usage) {
    if (record.size() < at) return false;
    const Record dib = record.subspan(at);
    const std::optional<TDibShape> shape = ReadDibInfo(dib, WmfDibColors(usage));
    return shape && DibBitsFit(*shape, 0, dib.size() - shape->infoBytes);
}

// A record of function f without a bitmap is (f >> 8) + 3 words long.
bool CarriesBitmap(Record record, Word function) { return record.size() != ((function >> 8) + 3u) * 2; }

bool BlitIsSound(Record record, Word function, std::size_t dibAt, std::size_t sourceExtentAt) {
    if (!CarriesBitmap(record, function)) return HasParams(record, dibAt - Params);
    if (sourceExtentAt != 0 && (I16At(record, sourceExtentAt) == 0 || I16At(record, sourceExtentAt + 2) == 0))
        return false;  // a stretch divides by the source's extent
    return PackedDibIsSound(record, dibAt, 0);
}

bool DibPatternBrushIsSound(Record record, Objects& objects) {
    if (!HasParams(record, 4)) return false;
    return PackedDibIsSound(record, Params + 4, U16At(record, Params + 2)) && objects.Create();
}

bool StretchDibIsSound(Record record) {
    if (!HasParams(record, 22)) return false;
    if (I16At(record, Params + 6) == 0 || I16At(record, Params + 8) == 0) return false;
    return PackedDibIsSound(record, Params + 22, U16At(record, Params + 4));
}

bool SetDibToDevIsSound(Record record) {
    if (!HasParams(record, 18)) return false;
    const Record dib = record.subspan(Params + 18);
    const std::optional<TDibShape> shape = ReadDibInfo(dib, WmfDibColors(U16At(record, Params)));
    return shape && DibBitsFit(*shape, U16At(record, Params + 2), dib.size() - shape->infoBytes);
}

// ---- lines and text ----

bool PointsFit(Record record, std::size_t pointsAt, U64 points) {
    return record.size() >= pointsAt && points * 4 <= record.size() - pointsAt;
}

bool PolyPolygonIsSound(Record record) {
    if (!HasParams(record, 2)) return false;
    const U64 polygons = U16At(record, Params);
    if (Params + 2 + polygons * 2 > record.size()) return false;
    U64 points = 0;
    for (U64 i = 0; i < polygons; ++i) points += U16At(record, static_cast<std::size_t>(Params + 2 + 2 * i));
    return PointsFit(record, static_cast<std::size_t>(Params + 2 + 2 * polygons), points);
}

// The count, the string padded to a word, then the position.
bool TextOutIsSound(Record record) {
    if (!HasParams(record, 2)) return false;
    const U64 chars = U16At(record, Params);
    return Params + 2 + (chars + 1) / 2 * 2 + 4 <= record.size();
}

// Position, count, options, the rectangle when the options use one, the string padded to a
// word, and the spacing when the record is long enough to hold one.
bool ExtTextOutIsSound(Record record) {
    if (!HasParams(record, 8)) return false;
    const U64 chars = U16At(record, Params + 4);
    const Word options = U16At(record, Params + 6);
    const U64 rect = (options & (EtoOpaque | EtoClipped)) != 0 ? 8 : 0;
    return Params + 8 + rect + (chars + 1) / 2 * 2 <= record.size();
}

bool EscapeIsSound(Record record) {
    return HasParams(record, 4) && Params + 4 + U64{U16At(record, Params + 2)} <= record.size();
}

// ---- one record ----

bool RecordIsSound(Record record, Word function, Objects& objects) {
    if (const PlainRecord* plain = PlainLayout(function)) return HasParams(record, plain->params);
    switch (function) {
    case MetaScaleWindowExt:
    case MetaScaleViewportExt:  // yDenom, yNum, xDenom, xNum
        return HasParams(record, 8) && I16At(record, Params) != 0 && I16At(record, Params + 4) != 0;
    case MetaSelectObject:
    case MetaSelectPalette:
    case MetaSelectClipRegion: return HasParams(record, 2) && objects.Holds(U16At(record, Params));
    case MetaDeleteObject: return HasParams(record, 2) && objects.Delete(U16At(record, Params));
    case MetaCreatePenIndirect: return HasParams(record, 10) && objects.Create();
    case MetaCreateBrushIndirect: return CreateBrushIsSound(record, objects);
    case MetaCreateFontIndirect: return HasParams(record, LogFont16Size) && objects.Create();
    case MetaCreatePalette: return CreatePaletteIsSound(record, objects);
    case MetaDibCreatePatternBrush: return DibPatternBrushIsSound(record, objects);
    case MetaPolygon:
    case MetaPolyline: return HasParams(record, 2) && PointsFit(record, Params + 2, U16At(record, Params));
    case MetaPolyPolygon: return PolyPolygonIsSound(record);
    case MetaTextOut: return TextOutIsSound(record);
    case MetaExtTextOut: return ExtTextOutIsSound(record);
    case MetaEscape: return EscapeIsSound(record);
    case MetaDibBitBlt: return BlitIsSound(record, function, Params + 16, 0);
    case MetaDibStretchBlt: return BlitIsSound(record, function, Params + 20, Params + 4);
    case MetaStretchDib: return StretchDibIsSound(record);
    case MetaSetDibToDev: return SetDibToDevIsSound(record);
    default: return false;
    }
}

}  // namespace

bool IsSoundWmf(std::span<const Byte> bytes) {
    if (bytes.size() < WmfHeaderSize) return false;
    const Word type = U16At(bytes, 0);
    if ((type != 1 && type != 2) || U16At(bytes, 2) != WmfHeaderSize / 2) return false;
    if (U64{U32At(bytes, 6)} * 2 != bytes.size()) return false;
    Objects objects;
    objects.held.assign(U16At(bytes, 10), false);
    std::size_t offset = WmfHeaderSize;
    while (bytes.size() - offset >= Params) {
        const U64 size = U64{U32At(bytes, offset)} * 2;
        const Word function = U16At(bytes, offset + 4);
        if (size < Params || size > bytes.size() - offset) return false;
        if (function == MetaEof) return true;
        if (!RecordIsSound(bytes.subspan(offset, static_cast<std::size_t>(size)), function, objects)) return false;
        offset += static_cast<std::size_t>(size);
    }
    return false;  // no end-of-file record
}
