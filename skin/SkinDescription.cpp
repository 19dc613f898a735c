#include "skin/SkinDescription.h"

#include <algorithm>
#include <span>

#include "framework/graphics/checks/BmpCheck.h"
#include "skin/SkinRead.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string UpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

int AtLeastOne(int count) { return count < 1 ? 1 : count; }

class TDescriptionReader {
public:
    TDescriptionReader(const TQuickIni& ini, const TSkinImageProbe& images) : ini_(ini), images_(images) {}

    int Int(const std::string& section, const std::string& key, int defaultValue) const {
        return ini_.ReadInteger(section, key, defaultValue);
    }
    bool Given(const std::string& section, const std::string& key) const {
        return !ini_.ReadString(section, key, "").empty();
    }
    TSkinColour Colour(const std::string& section, const std::string& key, TSkinColour defaultValue) const {
        const std::string text = ini_.ReadString(section, key, "");
        return text.empty() ? defaultValue : ParseSkinColourText(text);
    }
    TSkinImage Image(const std::string& section, const std::string& key) const {
        TSkinImage image;
        const std::string entry = SkinImageEntry(ini_.ReadString(section, key, ""));
        if (entry.empty() || !images_) return image;
        const std::optional<TSkinImageSize> size = images_(entry);
        if (!size || size->Width <= 0 || size->Height <= 0) return image;
        image.Entry = entry;
        image.Width = size->Width;
        image.Height = size->Height;
        return image;
    }

    // A new element: no margins, text colours not given, the second colours the button text's.
    template <typename Element>
    Element Make(const std::string& name) const {
        Element element;
        element.Name = name;
        element.NormalColour2 = element.MouseOverColour2 = element.PressedColour2 = buttonText_;
        return element;
    }

    // What every element section holds; the frame only where the element reads one.
    template <typename Element>
    void ReadCommon(const std::string& section, Element& element, bool frame) const {
        element.Image = Image(section, "Image");
        element.Style = Int(section, "Style", 0);
        element.LeftWidth = Int(section, "LeftWidth", 0);
        element.RightWidth = Int(section, "RightWidth", 0);
        element.TopHeight = Int(section, "TopHeight", 0);
        element.BottomHeight = Int(section, "BottomHeight", 0);
        if (frame) element.Frame = AtLeastOne(Int(section, "Frame", 0));
        element.Trans = Int(section, "Trans", 0);
        element.Tile = Int(section, "Tile", 0);
        if (element.Tile > 1) element.Tile = 0;
        element.NormalColour = Int(section, "NormalColour", -1);
        element.MouseOverColour = Int(section, "MouseOverColour", -1);
        element.PressedColour = Int(section, "PressedColour", -1);
        element.NormalColour2 = Colour(section, "NormalColour2", buttonText_);
        element.MouseOverColour2 = Colour(section, "MouseOverColour2", buttonText_);
        element.PressedColour2 = Colour(section, "PressedColour2", buttonText_);
    }

    std::optional<TSkinElement> Element(const std::string& section) const {
        if (!Given(section, "Image")) return std::nullopt;
        auto element = Make<TSkinElement>(section);
        ReadCommon(section, element, true);
        return element;
    }

    // secondKey empty: the element has no second image.
    std::optional<TSkinBorderElement> BorderElement(const std::string& section, const std::string& secondKey) const {
        if (!Given(section, "Image")) return std::nullopt;
        auto element = Make<TSkinBorderElement>(section);
        ReadCommon(section, element, false);
        if (!secondKey.empty()) element.Image2 = Image(section, secondKey);
        return element;
    }

    std::optional<TSkinBoxLabelElement> BoxLabelElement(const std::string& section) const {
        if (!Given(section, "Image")) return std::nullopt;
        auto element = Make<TSkinBoxLabelElement>(section);
        ReadCommon(section, element, false);
        element.BackgroundAlignment = Int(section, "BackgroundAlignment", 0);
        element.BackgroundLeftShift = Int(section, "BackgroundLeftShift", 0);
        element.BackgroundRightShift = Int(section, "BackgroundRightShift", 0);
        return element;
    }

    std::optional<TSkinBorderElement> ProgressElement() const {
        const std::string section = "Progress";
        if (!Given(section, "Bitmap")) return std::nullopt;
        auto element = Make<TSkinBorderElement>(section);
        element.Image = Image(section, "Bitmap");
        element.Style = Int(section, "Style", 0);
        element.LeftWidth = Int(section, "LeftWidth", 0);
        element.RightWidth = Int(section, "RightWidth", 0);
        element.TopHeight = Int(section, "TopHeight", 0);
        element.BottomHeight = Int(section, "BottomHeight", 0);
        element.Trans = Int(section, "Trans", 0);
        element.Tile = std::min(Int(section, "Tile", 0), 1);
        return element;
    }

    std::optional<TSkinElement> MenuBarElement() const {
        const std::string section = "Personality";
        if (!Given(section, "menuBar")) return std::nullopt;
        auto element = Make<TSkinElement>(section);
        element.Image = Image(section, "menuBar");
        element.Tile = std::min(Int(section, "TileMenu", 1), 1);
        element.LeftWidth = Int(section, "TileLeftMenu", 1);
        element.RightWidth = Int(section, "TileRightMenu", 1);
        return element;
    }

    // The pieces are strips: the left and right ones run down, the top and bottom ones across,
    // and "TopHeight"/"BotHeight" are the margins along the strip.
    void Border(const std::string& piece, TSkinBorderElement& element) const {
        const std::string section = "Personality";
        element = Make<TSkinBorderElement>(piece);
        element.Image = Image(section, piece);
        const int start = Int(section, piece + "TopHeight", 0);
        const int end = Int(section, piece + "BotHeight", 0);
        if (piece == "Left" || piece == "Right") {
            element.TopHeight = start;
            element.BottomHeight = end;
        } else {
            element.LeftWidth = start;
            element.RightWidth = end;
        }
        element.Frame = AtLeastOne(Int(section, piece + "Frame", 1));
        element.Tile = std::min(Int(section, piece + "Stretch", 1), 1);
        element.Trans = Int(section, piece + "Trans", 1);
    }

    TSkinColours Colours() const {
        const std::string s = "Colours";
        TSkinColours c;
        c.WindowText = Colour(s, "WindowText", c.WindowText);
        c.ButtonFace = Colour(s, "ButtonFace", c.ButtonFace);
        c.Scrollbar = Colour(s, "Scrollbar", c.Scrollbar);
        c.HilightText = Colour(s, "HilightText", c.HilightText);
        c.Hilight = Colour(s, "Hilight", c.Hilight);
        c.Menubar = Colour(s, "Menubar", c.ButtonFace);
        c.Menu = Colour(s, "Menu", c.Menu);
        c.MenuText = Colour(s, "MenuText", c.MenuText);
        c.ButtonText = Colour(s, "ButtonText", c.ButtonText);
        c.ButtonHilight = Colour(s, "ButtonHilight", c.ButtonHilight);
        c.Buttonlight = Colour(s, "Buttonlight", c.Buttonlight);
        c.ButtonShadow = Colour(s, "ButtonShadow", c.ButtonShadow);
        c.ButtonDkShadow = Colour(s, "ButtonDkShadow", c.ButtonDkShadow);
        c.MenuBarText = Colour(s, "MenuBarText", c.MenuBarText);
        c.TitleTextActive = Colour(s, "TitleTextActive", c.TitleTextActive);
        c.TitleTextNoActive = Colour(s, "TitleTextNoActive", c.TitleTextNoActive);
        return c;
    }

    std::vector<TSkinSysButtonElement> SysButtons() const {
        std::vector<std::string> sections;
        ini_.ReadSections(sections);
        std::vector<TSkinSysButtonElement> buttons;
        for (const std::string& section : sections) {
            const std::string upper = UpperCase(section);
            if (!upper.starts_with("BUTTON") || upper == "BUTTON" || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
                upper == "BUTTON.CHECKBOX")
                continue;
            // A button without an action is kept only when it says it is visible in every state.
            if (Int(section, "Action", 0) == -1 && Int(section, "Visibility", -1) != 0) continue;
            auto button = Make<TSkinSysButtonElement>(upper);
            button.Action = Int(section, "Action", 0);
            button.Align = Int(section, "Align", 0);
            button.XCoord = Int(section, "Xcoord", 0);
            button.YCoord = Int(section, "Ycoord", 0);
            button.Visibility = Int(section, "Visibility", 0);
            button.Visibility1 = Int(section, "Visibility1", button.Action == -1 ? -1 : 0);
            button.Image = Image(section, "ButtonImage");
            const int frame = Int(section, "frame", 0);
            if (frame == 0) {
                // A strip more than 3.8 times as wide as it is high holds six frames, else three.
                button.Frame = 6;
                if (!button.Image.Empty())
                    button.Frame = 5 * Int64{button.Image.Width} <= 19 * Int64{button.Image.Height} ? 3 : 6;
                if (button.Action < 0) button.Frame = 6;
                // These draw the window's icon.
                if (button.Action == 3 || button.Action == 11) button.Image = TSkinImage{};
            } else {
                button.Frame = AtLeastOne(frame);
            }
            buttons.push_back(std::move(button));
        }
        MdiButtons(buttons);
        return buttons;
    }

    // Minimize, restore and close of a maximized MDI child: a quarter each of a strip of twelve
    // frames, four frames apiece, placed from the right.
    void MdiButtons(std::vector<TSkinSysButtonElement>& buttons) const {
        const TSkinImage strip = Image("MDICONTROLS", "Image");
        const int frameWidth = strip.Width / 12;
        for (int k = 0; k < SkinMdiButtonCount; ++k) {
            auto button = Make<TSkinSysButtonElement>("");
            button.Action = 7 + k;
            button.Align = button.Visibility = button.Visibility1 = 100;
            button.Frame = 4;
            if (!strip.Empty() && frameWidth > 0) {
                button.Image = strip;
                button.Image.Left = 4 * frameWidth * k;
                button.Image.Width = 4 * frameWidth;
                button.XCoord = (frameWidth + 4) * (3 - k);
            }
            buttons.push_back(std::move(button));
        }
    }

    TSkinButtonsElement Buttons() const {
        const std::string s = "Buttons";
        auto b = Make<TSkinButtonsElement>(s);
        b.LeftWidth = Int(s, "LeftWidth", 0);
        b.RightWidth = Int(s, "RightWidth", 0);
        b.TopHeight = Int(s, "TopHeight", 0);
        b.BottomHeight = Int(s, "BottomHeight", 0);
        b.Trans = Int(s, "Trans", 0);
        b.Tile = Int(s, "Tile", 0);
        if (b.Tile > 1) b.Tile = 0;
        b.Image = Image(s, "Bitmap");
        b.CheckImage = Image(s, "CheckButton");
        b.RadioImage = Image(s, "RadioButton");
        b.NormalColour = Int(s, "NormalColour", -1);
        b.MouseOverColour = Int(s, "MouseOverColour", -1);
        b.PressedColour = Int(s, "PressedColour", -1);
        b.RadioFrame = Int(s, "RadioButtonFrame", 0);
        b.CheckFrame = Int(s, "CheckButtonFrame", 0);
        b.HasNormalColour2 = Given(s, "NormalColour2");
        b.HasMouseOverColour2 = Given(s, "MouseOverColour2");
        b.HasPressedColour2 = Given(s, "PressedColour2");
        b.NormalColour2 = Colour(s, "NormalColour2", buttonText_);
        b.MouseOverColour2 = Colour(s, "MouseOverColour2", buttonText_);
        b.PressedColour2 = Colour(s, "PressedColour2", buttonText_);
        return b;
    }

    TSkinTitleElement Title() const {
        const std::string s = "Personality";
        auto t = Make<TSkinTitleElement>("Title");
        t.Image = Image(s, "TextBack");
        t.LeftWidth = Int(s, "TextShift", 0);
        t.TopHeight = Int(s, "TextShiftVert", 0);
        t.RightWidth = Int(s, "TextRightClip", 0);
        t.TextAlignment = Int(s, "TextAlignment", 0);
        t.TextBackLeft = Int(s, "TXTBackleft", 0);
        t.TextBackRight = Int(s, "TXTBackRight", 0);
        return t;
    }

    void SetButtonText(TSkinColour colour) { buttonText_ = colour; }

private:
    const TQuickIni& ini_;
    const TSkinImageProbe& images_;
    TSkinColour buttonText_ = SkinSystemColour(18);
};

// The program's own stand-in for a skin's track: a groove 16 x 4 (its upright twin 4 x 16).
TSkinElement ResourceElement(const std::string& name, bool upright) {
    TSkinElement element;
    element.Name = name;
    element.Image.Entry = name;
    element.Image.Resource = true;
    element.Image.Width = upright ? SkinTrackResourceSize.Height : SkinTrackResourceSize.Width;
    element.Image.Height = upright ? SkinTrackResourceSize.Width : SkinTrackResourceSize.Height;
    element.LeftWidth = element.TopHeight = element.RightWidth = element.BottomHeight = 3;
    return element;
}

template <typename Element>
void SetFrame(std::optional<Element>& element, int frame) {
    if (element) element->Frame = frame;
}

// A check box's or radio button's strip: frames 13 pixels wide for a strip below 16 pixels high,
// else 16; at least 4 frames.
int ToggleFrames(int given, const TSkinImage& image) {
    if (given != 0) return AtLeastOne(given);
    const int frameWidth = image.Height < 16 ? 13 : 16;
    return std::max(image.Width / frameWidth, 4);
}

}  // namespace

TSkinColour ParseSkinColourText(const std::string& text) {
    int parts[3] = {0, 0, 0};
    int taken = 0;
    bool inNumber = false;
    int value = 0;
    for (const char c : SkinTrim(text)) {
        if (IsDigit(c)) {
            value = (value * 10 + (c - '0')) % 256;
            inNumber = true;
        } else if (inNumber) {
            if (taken < 3) parts[taken] = value;
            ++taken;
            inNumber = false;
            value = 0;
        }
    }
    if (inNumber && taken == 2) parts[2] = value;
    return SkinRgb(parts[0], parts[1], parts[2]);
}

std::string SkinImageEntry(const std::string& value) {
    const std::size_t delimiter = value.find_last_of("\\/:");
    const std::string name = delimiter == std::string::npos ? value : value.substr(delimiter + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || name.compare(dot, std::string::npos, ".bmp") != 0) return {};
    return SkinLowerCase(name);
}

TSkinImageProbe ArchiveImageProbe(const TSkinReader& archive) {
    return [&archive](const std::string& entry) -> std::optional<TSkinImageSize> {
        TMemoryStream bytes;
        archive.ExtractByName(entry, bytes);
        const std::span<const Byte> all(static_cast<const Byte*>(bytes.Memory()), static_cast<std::size_t>(bytes.Size()));
        const TBmpHeaderCheck check = CheckBmpHeader(all.first(std::min(all.size(), BmpHeadBytes)), bytes.Size());
        if (!check.layout) return std::nullopt;
        return TSkinImageSize{static_cast<int>(check.layout->width), static_cast<int>(check.layout->height)};
    };
}

TSkinDescription ReadSkinDescription(const TQuickIni& ini, const TSkinImageProbe& images) {
    TDescriptionReader read(ini, images);
    TSkinDescription d;
    // The colours come before every element: an element's second colours default to the
    // button text's.
    d.Colours = read.Colours();
    read.SetButtonText(d.Colours.ButtonText);
    read.Border("Left", d.BorderLeft);
    read.Border("Right", d.BorderRight);
    read.Border("Top", d.BorderTop);
    read.Border("Bottom", d.BorderBottom);
    d.SysButtons = read.SysButtons();
    d.Buttons = read.Buttons();
    d.Title = read.Title();

    d.Progress = read.ProgressElement();
    d.ProgressChunk = read.Element("Progress.Chunk");
    d.MenuBar = read.MenuBarElement();
    d.GroupBoxEdge = read.Element("GroupBoxEdge");
    d.GroupBox = read.BoxLabelElement("GroupBox");
    d.Tabs = read.BorderElement("Tabs", "Border");
    d.StatusBarEdges = read.Element("StatusBarEdges");
    d.TabPane = read.Element("Tab.Pane");
    if (d.TabPane) {
        for (int* margin : {&d.TabPane->LeftWidth, &d.TabPane->TopHeight, &d.TabPane->RightWidth, &d.TabPane->BottomHeight})
            *margin = std::min(*margin, 4);
    }
    d.ToolBars = read.Element("ToolBars");
    d.ComboButton = read.BorderElement("ComboButton", "");
    d.SunkEdge = read.Element("SunkEdge");
    d.ExtraImages = read.Element("ExtraImages");
    d.Headerbar = read.Element("Headerbar");
    d.MenuItem = read.Element("MenuItem");
    d.MenuBackground = read.Element("MenuBackground");
    d.Scrollbar = read.Element("Scrollbar");
    d.HorzScroll = read.Element("HorzScroll");
    d.VertScroll = read.Element("VertScroll");
    d.HorzScrollThumb = read.Element("HorzScrollThumb");
    d.VertScrollThumb = read.Element("VertScrollThumb");
    d.TrackThumbHorz = read.Element("Trackbar.ThumbHorz");
    d.TrackThumbVert = read.Element("Trackbar.ThumbVert");
    d.TrackThumbLeft = read.Element("Trackbar.ThumbLeft");
    d.TrackThumbRight = read.Element("Trackbar.ThumbRight");
    d.TrackThumbUp = read.Element("Trackbar.ThumbUp");
    d.TrackThumbDown = read.Element("Trackbar.ThumbDown");
    d.UpDownHorz = read.BorderElement("UpDown.Horz", "GlyphImage");
    d.UpDownVert = read.BorderElement("UpDown.Vert", "GlyphImage");
    const std::optional<TSkinElement> track = read.Element("Track");
    d.Track = track ? *track : ResourceElement("TRACK", false);
    const std::optional<TSkinElement> trackVert = read.Element("TRACKVERT");
    d.TrackVert = trackVert ? *trackVert : ResourceElement("TRACKVERT", true);

    // Frame counts: fixed by the element, whatever the description says, but for the strips
    // that keep theirs (the border pieces, the progress chunk, the tracks, the title-bar buttons).
    d.Title.Frame = 2;
    d.Buttons.Frame = 5;
    d.Buttons.RadioFrame = ToggleFrames(d.Buttons.RadioFrame, d.Buttons.RadioImage);
    d.Buttons.CheckFrame = ToggleFrames(d.Buttons.CheckFrame, d.Buttons.CheckImage);
    if (d.Progress) d.Progress->Frame = d.Progress->Style != 0 ? 1 : 2;
    SetFrame(d.MenuBar, 2);
    SetFrame(d.GroupBoxEdge, 2);
    SetFrame(d.GroupBox, 1);
    SetFrame(d.Tabs, 5);
    SetFrame(d.StatusBarEdges, 3);
    SetFrame(d.TabPane, 1);
    SetFrame(d.ToolBars, 5);
    SetFrame(d.ComboButton, 4);
    SetFrame(d.SunkEdge, 4);
    SetFrame(d.ExtraImages, 5);
    if (d.Headerbar && ini.ReadInteger("Headerbar", "Frame", 0) == 0) d.Headerbar->Frame = 5;
    SetFrame(d.MenuItem, 5);
    SetFrame(d.MenuBackground, 1);
    SetFrame(d.Scrollbar, 23);
    SetFrame(d.HorzScroll, 4);
    SetFrame(d.VertScroll, 4);
    SetFrame(d.HorzScrollThumb, AtLeastOne(ini.ReadInteger("HorzScrollThumb", "FrameCount", 3)));
    SetFrame(d.VertScrollThumb, AtLeastOne(ini.ReadInteger("VertScrollThumb", "FrameCount", 3)));
    for (auto* thumb : {&d.TrackThumbHorz, &d.TrackThumbVert, &d.TrackThumbLeft, &d.TrackThumbRight, &d.TrackThumbUp,
                        &d.TrackThumbDown})
        SetFrame(*thumb, 5);
    SetFrame(d.UpDownHorz, 8);
    SetFrame(d.UpDownVert, 8);
    return d;
}
