#include "export/PDFFontTables.h"

#include <cstring>

namespace {

std::optional<std::uint32_t> U32(std::span<const Byte> data, std::size_t at) {
    if (at > data.size() || data.size() - at < 4) return std::nullopt;
    return (std::uint32_t{data[at]} << 24) | (std::uint32_t{data[at + 1]} << 16) | (std::uint32_t{data[at + 2]} << 8) |
           data[at + 3];
}

std::optional<std::uint16_t> U16(std::span<const Byte> data, std::size_t at) {
    if (at > data.size() || data.size() - at < 2) return std::nullopt;
    return static_cast<std::uint16_t>((data[at] << 8) | data[at + 1]);
}

std::int16_t S16(std::uint16_t value) { return static_cast<std::int16_t>(value); }

}  // namespace

std::optional<std::span<const Byte>> FindTrueTypeTable(std::span<const Byte> file, const char (&tag)[5],
                                                       std::uint32_t fontIndex) {
    std::size_t directory = 0;
    if (file.size() >= 4 && std::memcmp(file.data(), "ttcf", 4) == 0) {
        auto count = U32(file, 8);
        if (!count || fontIndex >= *count) return std::nullopt;
        auto offset = U32(file, 12 + std::size_t{fontIndex} * 4);
        if (!offset) return std::nullopt;
        directory = *offset;
    }
    auto tables = U16(file, directory + 4);
    if (!tables) return std::nullopt;
    for (std::size_t i = 0; i < *tables; ++i) {
        std::size_t entry = directory + 12 + 16 * i;
        if (entry > file.size() || file.size() - entry < 16) return std::nullopt;
        if (std::memcmp(file.data() + entry, tag, 4) != 0) continue;
        std::uint32_t offset = *U32(file, entry + 8), length = *U32(file, entry + 12);
        if (offset > file.size() || file.size() - offset < length) return std::nullopt;
        return file.subspan(offset, length);
    }
    return std::nullopt;
}

std::optional<TTrueTypeHead> ParseTrueTypeHead(std::span<const Byte> table) {
    auto magic = U32(table, 12);
    auto unitsPerEm = U16(table, 18);
    auto xMax = U16(table, 40);
    auto yMax = U16(table, 42);
    if (!magic || *magic != 0x5F0F3CF5u || !unitsPerEm || *unitsPerEm == 0 || !xMax || !yMax) return std::nullopt;
    TTrueTypeHead head;
    head.UnitsPerEm = *unitsPerEm;
    head.XMin = S16(*U16(table, 36));
    head.YMin = S16(*U16(table, 38));
    head.XMax = S16(*xMax);
    head.YMax = S16(*yMax);
    return head;
}

std::optional<double> ParseTrueTypeItalicAngle(std::span<const Byte> table) {
    auto angle = U32(table, 4);
    if (!angle) return std::nullopt;
    return static_cast<std::int32_t>(*angle) / 65536.0;  // 16.16 fixed point
}

std::optional<TTrueTypeUnderline> ParseTrueTypeUnderline(std::span<const Byte> table) {
    auto position = U16(table, 8);
    auto thickness = U16(table, 10);
    if (!position || !thickness) return std::nullopt;
    return TTrueTypeUnderline{static_cast<std::int16_t>(*position), static_cast<std::int16_t>(*thickness)};
}

std::optional<TTrueTypeOS2> ParseTrueTypeOS2(std::span<const Byte> table) {
    auto version = U16(table, 0);
    auto weight = U16(table, 4);
    auto family = U16(table, 30);
    if (!version || !weight || !family) return std::nullopt;
    TTrueTypeOS2 os2;
    os2.WeightClass = *weight;
    os2.FamilyClass = static_cast<std::uint8_t>(*family >> 8);
    if (*version >= 2) {
        if (auto capHeight = U16(table, 88)) os2.CapHeight = S16(*capHeight);
    }
    return os2;
}

std::int32_t ScaleTo1000(std::int32_t value, std::uint16_t unitsPerEm) {
    if (unitsPerEm == 0) return value;
    long long scaled = static_cast<long long>(value) * 1000;
    long long half = unitsPerEm / 2;
    return static_cast<std::int32_t>(scaled >= 0 ? (scaled + half) / unitsPerEm : -((-scaled + half) / unitsPerEm));
}

bool SerifFamilyClass(std::uint8_t familyClass) {
    return (familyClass >= 1 && familyClass <= 5) || familyClass == 7;
}

bool ScriptFamilyClass(std::uint8_t familyClass) { return familyClass == 10; }

std::int32_t StemVFromWeight(std::uint16_t weightClass) {
    std::int32_t weight = weightClass < 100 ? 100 : weightClass > 900 ? 900 : weightClass;
    return 80 + (weight - 400) * 70 / 300;
}
