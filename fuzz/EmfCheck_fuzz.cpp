// The metafile record check on any bytes. Every record of a metafile it accepts, of a type it
// lets play, is replayed here against what the system's player takes on trust: point and
// polygon counts within the record, object indices below the header's handle count and naming
// an object that exists, strings inside the record, bitmap headers and bits inside the record.
// A record accepted that breaks one of these is a finding.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "framework/graphics/checks/EmfCheck.h"

namespace {

using U64 = std::uint64_t;
using Bytes = std::span<const std::uint8_t>;

void Require(bool condition) {
    if (!condition) std::abort();
}

U64 U32(Bytes b, U64 at) {
    Require(at + 4 <= b.size());
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | U64{b[at + 3]} << 24;
}

// A block of count items of unit bytes at offset lies inside the record.
void RequireInside(Bytes record, U64 offset, U64 count, U64 unit) {
    if (count == 0) return;
    Require(offset <= record.size() && count * unit <= record.size() - offset);
}

struct Table {
    U64 handles;
    std::vector<bool> live;

    void Create(U64 index) {
        Require(index >= 1 && index < handles);
        live[index] = true;
    }
    void Use(U64 index, bool deleting) {
        if (!deleting && (index & 0x80000000u) != 0) return;  // a stock object
        Require(index >= 1 && index < handles && live[index]);
        if (deleting) live[index] = false;
    }
};

// Points of pointSize bytes, counted at countAt and starting at pointsAt.
void ReplayPoints(Bytes record, U64 countAt, U64 pointsAt, U64 pointSize) {
    RequireInside(record, pointsAt, U32(record, countAt), pointSize);
}

void ReplayPolyPoly(Bytes record, U64 pointSize) {
    const U64 polygons = U32(record, 24);
    RequireInside(record, 32, polygons, 4);
    U64 total = 0;
    for (U64 i = 0; i < polygons; ++i) total += U32(record, 32 + 4 * i);
    Require(total == U32(record, 28));
    RequireInside(record, 32 + 4 * polygons, total, pointSize);
}

// The BITMAPINFO and bits a player reads: header, colour table, and rows (uncompressed) or
// the coded size.
void ReplayBitmap(Bytes record, U64 headerField, U64 bitsField) {
    const U64 headerAt = U32(record, headerField), headerSize = U32(record, headerField + 4);
    const U64 bitsAt = U32(record, bitsField), bitsSize = U32(record, bitsField + 4);
    if (headerSize == 0) return;
    RequireInside(record, headerAt, headerSize, 1);
    RequireInside(record, bitsAt, bitsSize, 1);
    Require(headerSize >= 40);
    const Bytes header = record.subspan(headerAt, headerSize);
    const auto width = static_cast<std::int32_t>(U32(header, 4));
    const auto height = static_cast<std::int32_t>(U32(header, 8));
    const U64 bitCount = header[14] | header[15] << 8;
    const U64 compression = U32(header, 16);
    Require(width > 0 && height != 0);
    const U64 rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    Require(static_cast<U64>(width) * rows <= U64{16} << 20);
    if (compression == 0 || compression == 3) {
        const U64 stride = (static_cast<U64>(width) * bitCount + 31) / 32 * 4;
        if (U32(record, 0) != 80) Require(stride * rows <= bitsSize);  // SETDIBITSTODEVICE may carry fewer lines
    } else {
        Require(U32(header, 20) <= bitsSize);
    }
}

void ReplayText(Bytes record, U64 at, U64 charSize) {
    const U64 chars = U32(record, at + 8);
    RequireInside(record, U32(record, at + 12), chars, charSize);
    RequireInside(record, U32(record, at + 36), chars, 4);
}

void Replay(Bytes record, U64 type, Table& table) {
    switch (type) {
    case 2: case 3: case 4: case 5: case 6: ReplayPoints(record, 24, 28, 8); break;
    case 85: case 86: case 87: case 88: case 89: ReplayPoints(record, 24, 28, 4); break;
    case 7: case 8: ReplayPolyPoly(record, 8); break;
    case 90: case 91: ReplayPolyPoly(record, 4); break;
    case 37: case 48: table.Use(U32(record, 8), false); break;
    case 40: table.Use(U32(record, 8), true); break;
    case 38: case 39: case 49: case 82: table.Create(U32(record, 8)); break;
    case 93: case 94: ReplayBitmap(record, 16, 24); table.Create(U32(record, 8)); break;
    case 95: ReplayBitmap(record, 12, 20); table.Create(U32(record, 8)); break;
    case 76: case 77: case 114: case 116: ReplayBitmap(record, 84, 92); break;
    case 78: ReplayBitmap(record, 84, 92); ReplayBitmap(record, 112, 120); break;
    case 80: case 81: ReplayBitmap(record, 48, 56); break;
    case 83: ReplayText(record, 36, 1); break;
    case 84: ReplayText(record, 36, 2); break;
    default: break;
    }
    if (type == 39) {  // a brush whose hatch field would be a pointer
        const U64 style = U32(record, 12);
        Require(style <= 2);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes bytes(data, size);
    if (!IsSoundEmf(bytes)) return 0;
    Table table{U32(bytes, 56) & 0xFFFF, {}};
    table.live.assign(table.handles, false);
    for (U64 at = 0; at < bytes.size();) {
        const U64 type = U32(bytes, at), recordSize = U32(bytes, at + 4);
        Require(recordSize >= 8 && recordSize <= bytes.size() - at);
        if (IsCheckedEmfRecordType(static_cast<Cardinal>(type)))
            Replay(bytes.subspan(at, recordSize), type, table);
        at += recordSize;
    }
    return 0;
}
