// The skin description read into its record. The input is the description's text, a zero byte,
// then the sizes of the bitmaps it names: 16-bit width and height for each new entry name in
// the order they are asked for (a width of 0, or no bytes left: no such bitmap). Whatever the
// text says, every frame count is at least 1, every image is a whole bitmap or columns inside
// one, the limits of the keys hold, and the three MDI buttons end the title-bar buttons.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "skin/SkinDescription.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

struct Sizes {
    const std::uint8_t* at;
    const std::uint8_t* end;
    std::map<std::string, std::optional<TSkinImageSize>> known;

    std::optional<TSkinImageSize> operator()(const std::string& entry) {
        const auto found = known.find(entry);
        if (found != known.end()) return found->second;
        std::optional<TSkinImageSize> size;
        if (end - at >= 4) {
            const int width = at[0] | at[1] << 8, height = at[2] | at[3] << 8;
            at += 4;
            if (width != 0) size = TSkinImageSize{width, height};
        }
        known[entry] = size;
        return size;
    }
};

const Sizes* sizes = nullptr;

void CheckImage(const TSkinImage& image) {
    if (image.Empty()) return;
    Require(image.Width > 0 && image.Height > 0 && image.Left >= 0);
    if (image.Resource) return;
    Require(image.Entry.ends_with(".bmp") && image.Entry.find_first_of("\\/:ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos);
    const auto found = sizes->known.find(image.Entry);
    Require(found != sizes->known.end() && found->second);
    Require(image.Height == found->second->Height && image.Left + image.Width <= found->second->Width);
}

void CheckElement(const TSkinElement& element) {
    Require(element.Frame >= 1);
    Require(element.Tile <= 1);
    CheckImage(element.Image);
}

template <typename Element>
void CheckElement(const std::optional<Element>& element) {
    if (element) CheckElement(*element);
}

void CheckColour(TSkinColour colour) {
    const auto bits = static_cast<std::uint32_t>(colour);
    Require(bits <= 0xFFFFFF || (bits & 0x7FFFFF00) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4 * 1024) return 0;
    std::size_t textEnd = 0;
    while (textEnd < size && data[textEnd] != 0) ++textEnd;
    TQuickIni ini;
    ini.LoadFromText(std::string(reinterpret_cast<const char*>(data), textEnd));
    Sizes probe{data + (textEnd < size ? textEnd + 1 : size), data + size, {}};
    sizes = &probe;
    const TSkinDescription d = ReadSkinDescription(ini, [&probe](const std::string& entry) { return probe(entry); });

    for (const TSkinBorderElement* border : {&d.BorderLeft, &d.BorderRight, &d.BorderTop, &d.BorderBottom}) {
        CheckElement(*border);
        Require(border->Name.size() >= 3);
    }
    CheckElement(d.Title);
    CheckElement(d.Buttons);
    CheckImage(d.Buttons.CheckImage);
    CheckImage(d.Buttons.RadioImage);
    Require(d.Buttons.RadioFrame >= 1 && d.Buttons.CheckFrame >= 1);

    Require(d.SysButtons.size() >= SkinMdiButtonCount);
    for (const TSkinSysButtonElement& button : d.SysButtons) CheckElement(button);
    for (std::size_t k = 0; k < SkinMdiButtonCount; ++k) {
        const TSkinSysButtonElement& mdi = d.SysButtons[d.SysButtons.size() - SkinMdiButtonCount + k];
        Require(mdi.Action == 7 + static_cast<int>(k) && mdi.Frame == 4);
        Require(mdi.Image.Empty() || (mdi.Image.Width % 4 == 0 && mdi.Image.Left == static_cast<int>(k) * mdi.Image.Width));
    }

    CheckElement(d.Progress);
    CheckElement(d.ProgressChunk);
    CheckElement(d.MenuBar);
    CheckElement(d.GroupBoxEdge);
    CheckElement(d.GroupBox);
    CheckElement(d.Tabs);
    CheckElement(d.StatusBarEdges);
    CheckElement(d.TabPane);
    if (d.TabPane)
        Require(d.TabPane->LeftWidth <= 4 && d.TabPane->TopHeight <= 4 && d.TabPane->RightWidth <= 4 &&
                d.TabPane->BottomHeight <= 4);
    CheckElement(d.ToolBars);
    CheckElement(d.ComboButton);
    for (const auto* element : {&d.SunkEdge, &d.ExtraImages, &d.Headerbar, &d.MenuItem, &d.MenuBackground, &d.Scrollbar,
                                &d.HorzScroll, &d.VertScroll, &d.HorzScrollThumb, &d.VertScrollThumb, &d.TrackThumbHorz,
                                &d.TrackThumbVert, &d.TrackThumbLeft, &d.TrackThumbRight, &d.TrackThumbUp, &d.TrackThumbDown})
        CheckElement(*element);
    for (const auto* upDown : {&d.UpDownHorz, &d.UpDownVert}) {
        CheckElement(*upDown);
        if (*upDown) CheckImage((*upDown)->Image2);
    }
    CheckElement(d.Track);
    CheckElement(d.TrackVert);
    for (TSkinColour colour : {d.Colours.WindowText, d.Colours.ButtonFace, d.Colours.Scrollbar, d.Colours.HilightText,
                               d.Colours.Hilight, d.Colours.Menubar, d.Colours.Menu, d.Colours.MenuText,
                               d.Colours.ButtonText, d.Colours.ButtonHilight, d.Colours.Buttonlight,
                               d.Colours.ButtonShadow, d.Colours.ButtonDkShadow, d.Colours.MenuBarText,
                               d.Colours.TitleTextActive, d.Colours.TitleTextNoActive})
        CheckColour(colour);
    return 0;
}
