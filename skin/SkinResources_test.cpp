// The engine's bitmap resources (SkinResources.rc), as the program carries them, and the probe
// skin against the colours of the system it runs on.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "skin/testing/ProbeSkin.h"

namespace {

struct DibResource {
    BITMAPINFOHEADER header{};
    const Byte* bits = nullptr;  // after the header and any palette
};

DibResource Resource(const wchar_t* name) {
    HRSRC found = FindResourceW(nullptr, name, MAKEINTRESOURCEW(2));  // RT_BITMAP
    EXPECT_NE(found, nullptr) << "no bitmap resource";
    DibResource dib;
    if (found == nullptr) return dib;
    const auto* data = static_cast<const Byte*>(LockResource(LoadResource(nullptr, found)));
    std::memcpy(&dib.header, data, sizeof dib.header);
    const DWORD colours = dib.header.biClrUsed != 0 ? dib.header.biClrUsed : (dib.header.biBitCount <= 8 ? 1u << dib.header.biBitCount : 0);
    dib.bits = data + dib.header.biSize + 4 * colours;
    return dib;
}

// Rows top first, one letter a pixel: s silver, g grey, w white.
std::vector<std::string> Rows24(const DibResource& dib) {
    const int width = dib.header.biWidth, height = dib.header.biHeight;
    const int stride = (width * 3 + 3) / 4 * 4;
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
        std::string row;
        const Byte* line = dib.bits + (height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const COLORREF c = RGB(line[3 * x + 2], line[3 * x + 1], line[3 * x]);
            row += c == RGB(192, 192, 192) ? 's' : c == RGB(128, 128, 128) ? 'g' : c == RGB(255, 255, 255) ? 'w' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(SkinResources, TrackRowsAreTheTrackBarChannel) {
    const std::vector<std::string> track = {
        "ssggggggggggggww",
        "sswwwwwwwwwwwwww",
        "gswwwwwwwwwwwwww",
        "sswwwwwwwwwwwwww",
    };
    const DibResource horizontal = Resource(L"TRACK");
    ASSERT_EQ(horizontal.header.biBitCount, 24);
    EXPECT_EQ(Rows24(horizontal), track);
    // The same design turned: each row of TRACK is a column of TRACKVERT.
    std::vector<std::string> turned(16, std::string(4, ' '));
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 16; ++column) turned[column][row] = track[row][column];
    EXPECT_EQ(Rows24(Resource(L"TRACKVERT")), turned);
}

TEST(SkinResources, MenuGlyphsAreFourMonochromeSquares) {
    const DibResource glyphs = Resource(L"SKINMENUGLYPHS");
    EXPECT_EQ(glyphs.header.biWidth, 64);
    EXPECT_EQ(glyphs.header.biHeight, 16);
    EXPECT_EQ(glyphs.header.biBitCount, 1);
}

TEST(ProbeSkin, NoSystemColourReadsAsAProbeColour) {
    for (int index = COLOR_SCROLLBAR; index <= COLOR_MENUBAR; ++index) {
        const COLORREF colour = GetSysColor(index);
        EXPECT_EQ(DecodeProbeColour(colour), std::nullopt) << "system colour " << index << " is " << std::hex << colour;
    }
}

}  // namespace
