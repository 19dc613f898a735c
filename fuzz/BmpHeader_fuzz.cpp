// The BMP header check on any bytes. When it accepts a file, what the bitmap reader then reads
// (the colour table and the pixels) lies inside the file, in the order the reader reads it, and
// the picture fits the sizes the reader allocates. The header is read again here on its own.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "framework/graphics/checks/BmpCheck.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes file(data, size);
    const Bytes head = file.first(std::min(size, BmpHeadBytes));
    const TBmpHeaderCheck check = CheckBmpHeader(head, static_cast<Int64>(size));
    if (!check.layout) return 0;
    Require(check.limit == TPictureLimit::None);
    const TBmpLayout& bmp = *check.layout;

    const U64 headerSize = U32(file, 14);
    Require(bmp.core == (headerSize == 12));
    Require(14 + headerSize <= head.size());
    const U64 width = bmp.core ? U16(file, 18) : U32(file, 18);
    Require(static_cast<U64>(bmp.width) == width && width >= 1 && width <= BmpMaxDimension);
    Require(bmp.height >= 1 && bmp.height <= BmpMaxDimension);
    Require(bmp.bitCount == (bmp.core ? U16(file, 24) : U16(file, 28)));
    Require(bmp.colorCount <= (bmp.bitCount <= 8 ? 1u << bmp.bitCount : 0u));
    Require(bmp.bitCount > 8 || bmp.colorCount > 0);

    const U64 stride = (static_cast<U64>(bmp.width) * bmp.bitCount + 31) / 32 * 4;
    Require(static_cast<U64>(bmp.stride) == stride);
    const bool compressed = bmp.compression == 1 || bmp.compression == 2;
    if (!compressed) Require(static_cast<U64>(bmp.dataSize) == stride * static_cast<U64>(bmp.height));
    else Require(bmp.dataSize > 0 && !bmp.topDown);
    Require(bmp.dataSize <= BmpMaxImageBytes);
    Require(ExceededPictureLimit(bmp.width, bmp.height, static_cast<Int64>(stride)) == TPictureLimit::None);

    // The table follows the header (and a 40-byte header's masks); the pixels follow the table.
    const U64 masks = bmp.compression == 3 && headerSize == 40 ? 12 : 0;
    Require(static_cast<U64>(bmp.tableOffset) == 14 + headerSize + masks);
    Require(bmp.tableOffset <= static_cast<Int64>(head.size()));
    const U64 tableEnd = static_cast<U64>(bmp.tableOffset) + U64{bmp.colorCount} * (bmp.core ? 3 : 4);
    Require(tableEnd <= static_cast<U64>(bmp.dataOffset));
    Require(static_cast<U64>(bmp.dataOffset) + static_cast<U64>(bmp.dataSize) <= size);
    return 0;
}
