// Test support: the probe skin, a skin whose every pixel says where it comes from. It has the
// bitmaps of our skin's layout table (sizes, bits, frame counts) and our description; each frame
// is flat colours that name it:
//     red   = 100 + element (the layout table's row number)
//     green = 10 x frame (from 1)
//     blue  = 20 x zone of the frame's nine slices by the row's margins: 0 the centre, then
//             1 top-left, 2 top, 3 top-right, 4 right, 5 bottom-right, 6 bottom, 7 bottom-left,
//             8 left
// and magenta where a piece is transparent: by default the outer top corners of the top piece
// (each frame), as our skin rounds them. A screenshot of a skinned window thus reads as "element
// 5, frame 3, centre" (DecodeProbeColour). Variants change the description or frame counts.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "framework/rtl/System.h"
#include "skin/SkinWrite.h"

struct TProbePixel {
    int Element, Frame, Zone;
    bool operator==(const TProbePixel&) const = default;
};

// As 0x00BBGGRR.
std::uint32_t ProbeColour(const TProbePixel& pixel);
// The pixel a colour names, or nullopt when it is no probe colour.
std::optional<TProbePixel> DecodeProbeColour(std::uint32_t colour);
// The zone of pixel (x, y) of a frame of width x height with those margins.
int ProbeZone(int x, int y, int width, int height, const std::array<int, 4>& margins);

struct TIniSetting {
    std::string Section, Key, Value;
};

struct TProbeSkinOptions {
    // The bottom piece transparent at its outer corners (BottomTrans 1) and the top one not
    // (TopTrans 0, no magenta).
    bool OnlyBottomTransparent = false;
    // Frame counts other than the table's, by entry: the strip grows or shrinks, frames keep
    // their size.
    std::map<std::string, int> Frames;
    // Description lines set after the others, in order: a key already in the section is
    // replaced, others are added (a section too).
    std::vector<TIniSetting> Settings;
};

// [Button5] with Action 40 (an action no title-bar button knows).
TProbeSkinOptions ProbeWithUnknownAction();
// [Button5], a close button with Visibility 1000.
TProbeSkinOptions ProbeWithVisibility1000();

std::vector<TSkinEntry> ProbeSkinEntries(const TProbeSkinOptions& options = {});
// The packed skin, as a skin file holds it.
std::vector<Byte> MakeProbeSkin(const TProbeSkinOptions& options = {});

// The INI text with key of section set to value (the first such line replaced, else one added
// after the section's header, else the section appended).
std::string SetIniValue(const std::string& text, const std::string& section, const std::string& key,
                        const std::string& value);
