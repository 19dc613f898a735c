#include "skin/testing/ProbeSkin.h"

#include <algorithm>
#include <functional>

#include "skin/SkinRead.h"
#include "skin/SkinWrite.h"
#include "skin/testing/SkinFixtures.h"

namespace {

constexpr std::uint32_t kMagenta = 0xFF00FF;

void PutLE(std::vector<Byte>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<Byte>(value >> (8 * i)));
}

// A bottom-up BI_RGB bitmap file; 8 bits take a palette of the colours used, in order of value.
std::vector<Byte> BmpFile(int width, int height, int bits, const std::function<std::uint32_t(int, int)>& pixel) {
    std::vector<std::uint32_t> palette;
    if (bits == 8) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) palette.push_back(pixel(x, y));
        std::sort(palette.begin(), palette.end());
        palette.erase(std::unique(palette.begin(), palette.end()), palette.end());
    }
    const int stride = (width * bits + 31) / 32 * 4;
    const auto offset = static_cast<std::uint32_t>(14 + 40 + 4 * palette.size());
    const auto imageSize = static_cast<std::uint32_t>(stride * height);
    std::vector<Byte> out{'B', 'M'};
    PutLE(out, offset + imageSize, 4);
    PutLE(out, 0, 4);
    PutLE(out, offset, 4);
    for (std::uint32_t field : {40u, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)}) PutLE(out, field, 4);
    PutLE(out, 1, 2);
    PutLE(out, static_cast<std::uint32_t>(bits), 2);
    for (std::uint32_t field : {0u, imageSize, 2835u, 2835u, static_cast<std::uint32_t>(palette.size()), 0u}) PutLE(out, field, 4);
    for (std::uint32_t colour : palette) PutLE(out, (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF), 4);
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < width; ++x) {
            const std::uint32_t colour = pixel(x, y);
            if (bits == 8) {
                out.push_back(static_cast<Byte>(std::lower_bound(palette.begin(), palette.end(), colour) - palette.begin()));
                continue;
            }
            out.push_back(static_cast<Byte>(colour >> 16));  // blue
            out.push_back(static_cast<Byte>(colour >> 8));
            out.push_back(static_cast<Byte>(colour));
            if (bits == 32) out.push_back(0);
        }
        out.resize(rowStart + static_cast<std::size_t>(stride), 0);
    }
    return out;
}

// Our skin rounds the outer corners of its pieces: the pixels less than 4 steps from the corner.
bool Transparent(const TSkinLayoutRow& row, const TProbeSkinOptions& options, int x, int y) {
    const int dx = std::min(x, row.FrameWidth() - 1 - x);
    if (row.Entry == "frametop" && !options.OnlyBottomTransparent) return dx + y < 4;
    if (row.Entry == "framebottom" && options.OnlyBottomTransparent) return dx + (row.FrameHeight() - 1 - y) < 4;
    return false;
}

std::vector<Byte> ProbeBitmap(const TSkinLayoutRow& row, int frames, const TProbeSkinOptions& options) {
    const int fw = row.FrameWidth(), fh = row.FrameHeight();
    const int width = row.Across ? fw * frames : fw;
    const int height = row.Across ? fh : fh * frames;
    const std::array<int, 4> margins = row.Margins.value_or(std::array<int, 4>{});
    return BmpFile(width, height, row.Bits, [&](int x, int y) {
        const int frame = row.Across ? x / fw + 1 : y / fh + 1;
        const int fx = x % fw, fy = y % fh;
        if (Transparent(row, options, fx, fy)) return kMagenta;
        return ProbeColour({row.Element, frame, ProbeZone(fx, fy, fw, fh, margins)});
    });
}

std::string LowerAscii(std::string text) { return SkinLowerCase(std::move(text)); }

}  // namespace

std::uint32_t ProbeColour(const TProbePixel& pixel) {
    return static_cast<std::uint32_t>(100 + pixel.Element) | static_cast<std::uint32_t>(10 * pixel.Frame) << 8 |
           static_cast<std::uint32_t>(20 * pixel.Zone) << 16;
}

std::optional<TProbePixel> DecodeProbeColour(std::uint32_t colour) {
    const int red = static_cast<int>(colour & 0xFF), green = static_cast<int>(colour >> 8 & 0xFF);
    const int blue = static_cast<int>(colour >> 16 & 0xFF);
    static const int elements = static_cast<int>(SkinLayout().size());
    if ((colour >> 24) != 0 || red <= 100 || red > 100 + elements || green == 0 || green % 10 != 0 || blue % 20 != 0 ||
        blue > 160)
        return std::nullopt;
    return TProbePixel{red - 100, green / 10, blue / 20};
}

int ProbeZone(int x, int y, int width, int height, const std::array<int, 4>& margins) {
    const int column = x < margins[0] ? 0 : x >= width - margins[2] ? 2 : 1;
    const int line = y < margins[1] ? 0 : y >= height - margins[3] ? 2 : 1;
    // By column, line: the centre 0, then clockwise from the top-left corner.
    constexpr int zones[3][3] = {{1, 8, 7}, {2, 0, 6}, {3, 4, 5}};
    return zones[column][line];
}

TProbeSkinOptions ProbeWithUnknownAction() {
    TProbeSkinOptions options;
    options.Settings = {{"Button5", "ButtonImage", "closebutton.bmp"}, {"Button5", "Action", "40"},
                         {"Button5", "Align", "1"}, {"Button5", "XCoord", "107"}, {"Button5", "YCoord", "5"}};
    return options;
}

TProbeSkinOptions ProbeWithVisibility1000() {
    TProbeSkinOptions options;
    options.Settings = {{"Button5", "ButtonImage", "closebutton.bmp"}, {"Button5", "Action", "0"},
                         {"Button5", "Align", "1"}, {"Button5", "XCoord", "107"}, {"Button5", "YCoord", "5"},
                         {"Button5", "Visibility", "1000"}};
    return options;
}

std::vector<TSkinEntry> ProbeSkinEntries(const TProbeSkinOptions& options) {
    std::vector<TSkinEntry> entries;
    for (const TSkinLayoutRow& row : SkinLayout()) {
        const auto frames = options.Frames.find(row.Entry);
        entries.push_back({row.Entry + ".bmp", ProbeBitmap(row, frames == options.Frames.end() ? row.Frames : frames->second, options)});
    }
    std::string description(SkinFixtureFile("ours/skin.ini"));
    if (options.OnlyBottomTransparent) {
        description = SetIniValue(description, "Personality", "TopTrans", "0");
        description = SetIniValue(description, "Personality", "BottomTrans", "1");
    }
    for (const TIniSetting& setting : options.Settings)
        description = SetIniValue(description, setting.Section, setting.Key, setting.Value);
    entries.push_back({"skin.ini", std::vector<Byte>(description.begin(), description.end())});
    return entries;
}

std::vector<Byte> MakeProbeSkin(const TProbeSkinOptions& options) {
    return PackSkin(WriteSkinArchive(ProbeSkinEntries(options)));
}

std::string SetIniValue(const std::string& text, const std::string& section, const std::string& key,
                        const std::string& value) {
    std::vector<std::string> lines = SplitSkinLines(text);
    const std::string header = LowerAscii("[" + section + "]");
    const std::string line = key + "=" + value;
    auto at = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return LowerAscii(l) == header; });
    if (at == lines.end()) {
        lines.push_back("[" + section + "]");
        lines.push_back(line);
    } else {
        auto end = std::find_if(at + 1, lines.end(), [](const std::string& l) { return !l.empty() && l[0] == '['; });
        auto same = std::find_if(at + 1, end, [&](const std::string& l) {
            return LowerAscii(l.substr(0, l.find('='))) == LowerAscii(key);
        });
        if (same != end) *same = line;
        else lines.insert(at + 1, line);
    }
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}
