#include "skin/testing/SkinFixtures.h"

#include <sstream>

namespace {

int Int32At(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return static_cast<int>(static_cast<std::int32_t>(value));
}

}  // namespace

std::string_view SkinFixtureFile(std::string_view name) {
    for (const TSkinFixtureFile& file : SkinFixtureFiles())
        if (file.Name == name) return file.Bytes;
    throw EInvalidArgument(L"No embedded skin file " + String(name.begin(), name.end()));
}

std::vector<Byte> OurPackedSkin() {
    const std::string_view bytes = SkinFixtureFile("Folhavida.skn");
    return std::vector<Byte>(bytes.begin(), bytes.end());
}

std::vector<TSkinLayoutRow> SkinLayout() {
    std::vector<TSkinLayoutRow> rows;
    std::istringstream in{std::string(SkinFixtureFile("SkinLayout.txt"))};
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string entry, key, size, layout, margins;
        int bits = 0, frames = 0;
        fields >> entry >> key >> size >> bits >> frames >> layout >> margins;
        TSkinLayoutRow row{static_cast<int>(rows.size()) + 1, entry, "", "", 0, 0, bits, frames, layout == "across", std::nullopt};
        if (key != "-") {
            row.Section = key.substr(0, key.find('/'));
            row.Key = key.substr(key.find('/') + 1);
        }
        row.Width = std::stoi(size.substr(0, size.find('x')));
        row.Height = std::stoi(size.substr(size.find('x') + 1));
        if (margins != "-") {
            std::array<int, 4> m{};
            char comma = 0;
            std::istringstream parts(margins);
            parts >> m[0] >> comma >> m[1] >> comma >> m[2] >> comma >> m[3];
            row.Margins = m;
        }
        rows.push_back(row);
    }
    return rows;
}

std::optional<TBmpSize> BmpSizeOf(std::string_view bytes) {
    if (bytes.size() < 54 || bytes.substr(0, 2) != "BM") return std::nullopt;
    return TBmpSize{Int32At(bytes, 18), Int32At(bytes, 22), static_cast<unsigned char>(bytes[28]) | static_cast<unsigned char>(bytes[29]) << 8};
}
