// The Windows-metafile record check on any bytes. A metafile it accepts is walked here to its
// end-of-file record, and each record replayed against what the system's converter takes on
// trust: counts within the record, objects created into a free slot of the header's table and
// selected or deleted only while they exist, bitmaps whose bits fit in their record.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "framework/graphics/checks/WmfCheck.h"

namespace {

using U64 = std::uint64_t;
using Bytes = std::span<const std::uint8_t>;

void Require(bool condition) {
    if (!condition) std::abort();
}

U64 U16(Bytes b, U64 at) {
    Require(at + 2 <= b.size());
    return b[at] | b[at + 1] << 8;
}

U64 U32(Bytes b, U64 at) { return U16(b, at) | U16(b, at + 2) << 16; }

struct Table {
    std::vector<bool> live;

    void Create() {
        for (std::size_t i = 0; i < live.size(); ++i)
            if (!live[i]) {
                live[i] = true;
                return;
            }
        Require(false);
    }
    void Use(U64 index, bool deleting) {
        Require(index < live.size() && live[index]);
        if (deleting) live[index] = false;
    }
};

// A packed DIB at at: header, colour table, then bits for every row up to the record's end.
void ReplayDib(Bytes record, U64 at) {
    Require(at + 40 <= record.size());
    const U64 headerSize = U32(record, at);
    const auto width = static_cast<std::int32_t>(U32(record, at + 4));
    const auto height = static_cast<std::int32_t>(U32(record, at + 8));
    const U64 bitCount = U16(record, at + 14), compression = U32(record, at + 16);
    const U64 used = U32(record, at + 32);
    Require(width > 0 && height != 0 && headerSize >= 40);
    const U64 rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    const U64 colors = used != 0 ? used : bitCount <= 8 ? U64{1} << bitCount : 0;
    const U64 table = headerSize + colors * 2;  // the smallest colour table a usage allows
    Require(at + table <= record.size());
    if (compression == 0) Require((static_cast<U64>(width) * bitCount + 31) / 32 * 4 * rows <= record.size() - at - table);
}

void Replay(Bytes record, U64 function, Table& table) {
    const U64 size = record.size();
    switch (function) {
    case 0x0324: case 0x0325: Require(8 + U16(record, 6) * 4 <= size); break;
    case 0x0538: {
        const U64 polygons = U16(record, 6);
        U64 points = 0;
        for (U64 i = 0; i < polygons; ++i) points += U16(record, 8 + 2 * i);
        Require(8 + 2 * polygons + 4 * points <= size);
        break;
    }
    case 0x0521: Require(8 + (U16(record, 6) + 1) / 2 * 2 + 4 <= size); break;
    case 0x0A32: Require(14 + U16(record, 10) <= size); break;
    case 0x012D: case 0x0234: case 0x012C: table.Use(U16(record, 6), false); break;
    case 0x01F0: table.Use(U16(record, 6), true); break;
    case 0x02FA: case 0x02FC: case 0x02FB: case 0x00F7: table.Create(); break;
    case 0x0142: ReplayDib(record, 10); table.Create(); break;
    case 0x0F43: ReplayDib(record, 28); break;
    case 0x0940: if (size != 24) ReplayDib(record, 22); break;
    case 0x0B41: if (size != 28) ReplayDib(record, 26); break;
    default: break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes bytes(data, size);
    if (!IsSoundWmf(bytes)) return 0;
    Require(U32(bytes, 6) * 2 == size);
    Table table{std::vector<bool>(U16(bytes, 10), false)};
    for (U64 at = 18;;) {
        const U64 recordSize = U32(bytes, at) * 2, function = U16(bytes, at + 4);
        Require(recordSize >= 6 && recordSize <= size - at);
        if (function == 0) return 0;
        Replay(bytes.subspan(at, recordSize), function, table);
        at += recordSize;
    }
}
