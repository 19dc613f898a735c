// The icon-file check on any bytes. The image it chooses must lie inside the file, and what the
// system's icon maker reads of it (a PNG's declared size, or a bitmap's header, colour table,
// colour bits and mask) must fit the image's directory entry and its bytes.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "framework/graphics/checks/IconCheck.h"

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

U64 BigEndian(Bytes b, U64 at) {
    Require(at + 4 <= b.size());
    return U64{b[at]} << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

void ReplayBitmap(Bytes image, const TIconImage& chosen) {
    const U64 headerSize = U32(image, 0);
    const auto width = static_cast<std::int32_t>(U32(image, 4));
    const auto height = static_cast<std::int32_t>(U32(image, 8));
    const U64 bitCount = image[14] | image[15] << 8;
    const U64 used = U32(image, 32);
    Require(width > 0 && width <= chosen.width && height > 0 && height / 2 <= chosen.height);
    const U64 colors = used != 0 ? used : bitCount <= 8 ? U64{1} << bitCount : 0;
    const U64 rows = static_cast<U64>(height) / 2;
    const U64 colorRow = (static_cast<U64>(width) * bitCount + 31) / 32 * 4;
    const U64 maskRow = (static_cast<U64>(width) + 31) / 32 * 4;
    Require(headerSize + colors * 4 + (colorRow + maskRow) * rows <= image.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes file(data, size);
    const std::optional<TIconImage> chosen = ChooseIconImage(file);
    if (!chosen) return 0;
    Require(chosen->offset <= size && chosen->size <= size - chosen->offset && chosen->size > 0);
    const Bytes image = file.subspan(chosen->offset, chosen->size);
    if (image.size() >= 8 && image[0] == 0x89 && image[1] == 'P') {
        Require(BigEndian(image, 16) <= static_cast<U64>(chosen->width));
        Require(BigEndian(image, 20) <= static_cast<U64>(chosen->height));
    } else {
        ReplayBitmap(image, *chosen);
    }
    return 0;
}
