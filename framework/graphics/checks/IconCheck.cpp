#include "framework/graphics/checks/IconCheck.h"

#include <cstdint>

#include "framework/graphics/checks/DibCheck.h"
#include "framework/graphics/checks/LittleEndian.h"
#include "framework/graphics/checks/PictureLimits.h"

namespace {

using U64 = std::uint64_t;

constexpr std::size_t DirectorySize = 6, EntrySize = 16;
constexpr Byte PngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

Cardinal BigEndianAt(std::span<const Byte> bytes, std::size_t at) {
    return static_cast<Cardinal>(bytes[at]) << 24 | static_cast<Cardinal>(bytes[at + 1]) << 16 |
           static_cast<Cardinal>(bytes[at + 2]) << 8 | bytes[at + 3];
}

bool IsPng(std::span<const Byte> image) {
    if (image.size() < sizeof PngSignature) return false;
    for (std::size_t i = 0; i < sizeof PngSignature; ++i)
        if (image[i] != PngSignature[i]) return false;
    return true;
}

// The signature, then the IHDR chunk: its length, its name, the width and height.
bool PngIsSound(std::span<const Byte> image, const TIconImage& entry) {
    if (image.size() < 24 || BigEndianAt(image, 12) != 0x49484452) return false;  // "IHDR"
    const Cardinal width = BigEndianAt(image, 16), height = BigEndianAt(image, 20);
    return width != 0 && height != 0 && width <= static_cast<Cardinal>(entry.width) &&
           height <= static_cast<Cardinal>(entry.height);
}

// The colour image and, behind its bits, the one-bit mask: the header's height counts both, and
// its rows run bottom-up (a negative height is no icon's).
bool BitmapIsSound(std::span<const Byte> image, const TIconImage& entry) {
    const std::optional<TDibShape> shape = ReadDibInfo(image, TDibColors::Rgb);
    if (!shape || I32At(image, 8) < 0 || shape->compression != 0 || shape->height % 2 != 0) return false;
    const Int64 rows = shape->height / 2;
    if (shape->width > entry.width || rows > entry.height) return false;
    const U64 maskRow = (static_cast<U64>(shape->width) + 31) / 32 * 4;
    const U64 bits = (shape->rowBytes + maskRow) * static_cast<U64>(rows);
    return bits <= image.size() - shape->infoBytes;
}

TIconImage EntryAt(std::span<const Byte> file, std::size_t at) {
    return {U32At(file, at + 12), U32At(file, at + 8), file[at] != 0 ? file[at] : 256, file[at + 1] != 0 ? file[at + 1] : 256};
}

bool Better(const TIconImage& candidate, Word candidateDepth, const TIconImage& best, Word bestDepth) {
    const int area = candidate.width * candidate.height, bestArea = best.width * best.height;
    return area > bestArea || (area == bestArea && candidateDepth > bestDepth);
}

}  // namespace

std::optional<TIconImage> ChooseIconImage(std::span<const Byte> file) {
    if (file.size() < DirectorySize + EntrySize) return std::nullopt;
    const Word count = U16At(file, 4);
    if (U16At(file, 0) != 0 || U16At(file, 2) != 1 || count == 0) return std::nullopt;
    if (DirectorySize + U64{count} * EntrySize > file.size()) return std::nullopt;
    TIconImage best{};
    Word bestDepth = 0;
    for (Word i = 0; i < count; ++i) {
        const std::size_t at = DirectorySize + EntrySize * i;
        const TIconImage entry = EntryAt(file, at);
        const Word depth = U16At(file, at + 6);
        if (entry.size == 0 || entry.offset > file.size() || entry.size > file.size() - entry.offset) return std::nullopt;
        if (i == 0 || Better(entry, depth, best, bestDepth)) {
            best = entry;
            bestDepth = depth;
        }
    }
    const std::span<const Byte> image = file.subspan(best.offset, best.size);
    const bool sound = IsPng(image) ? PngIsSound(image, best) : BitmapIsSound(image, best);
    return sound ? std::optional<TIconImage>(best) : std::nullopt;
}
