// Test support: our committed skin (skin/Folhavida.skn, its description skin/ours/skin.ini) and
// the layout table of its bitmaps (skin/SkinLayout.txt), compiled into the program that links
// skin_testing, so tests of both builds read the same bytes without finding files at run time.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/rtl/System.h"

struct TSkinFixtureFile {
    std::string_view Name;   // relative to skin/
    std::string_view Bytes;
};
const std::vector<TSkinFixtureFile>& SkinFixtureFiles();
// The bytes of one of them; raises EInvalidArgument for a name that is not embedded.
std::string_view SkinFixtureFile(std::string_view name);
std::vector<Byte> OurPackedSkin();

// One row of the layout table.
struct TSkinLayoutRow {
    int Element;           // the row's number, from 1
    std::string Entry;     // the archive entry without ".bmp"
    std::string Section;   // empty when the description names no such entry
    std::string Key;
    int Width, Height, Bits, Frames;
    bool Across;           // frames side by side, else stacked
    std::optional<std::array<int, 4>> Margins;  // left, top, right, bottom

    int FrameWidth() const { return Across ? Width / Frames : Width; }
    int FrameHeight() const { return Across ? Height : Height / Frames; }
};
std::vector<TSkinLayoutRow> SkinLayout();

// The header fields of a BMP file that the tests compare; nullopt when it is no BMP.
struct TBmpSize {
    int Width, Height, Bits;
};
std::optional<TBmpSize> BmpSizeOf(std::string_view bytes);
