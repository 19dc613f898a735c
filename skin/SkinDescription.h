// The skin description (the INI text of a skin archive) read into a plain record: the window
// border pieces, the caption settings, the title-bar buttons, the push-button images, one element
// per control image and the skin's colours, each key with its default and its limits, and for
// each image the archive entry (or columns of one) it comes from and the entry's size.
//
// Only keys and sections named here have an effect. Names compare without regard to case; a key
// whose value is not an integer keeps its default. The record holds no pixels: the skin data
// component loads the images it names, and derives what needs their pixels (the combo images,
// the tool-bar gradient, the title colour).
//
// Frame counts in the record are never below 1: most elements have a fixed count whatever the
// description says, the rest keep what it says, and a count it gives below 1 counts as 1, so a
// strip is always divided by at least 1.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "skin/SkinIni.h"

class TSkinReader;

// The framework's colour encoding (TColor): 0x00BBGGRR, or 0x80000000 | a system colour index.
using TSkinColour = std::int32_t;
constexpr TSkinColour SkinSystemColour(int index) { return static_cast<TSkinColour>(0x80000000u | static_cast<unsigned>(index)); }
constexpr TSkinColour SkinRgb(int red, int green, int blue) { return red | green << 8 | blue << 16; }

// A colour text such as "236 233 216": runs of digits are numbers, each reduced modulo 256; a
// number counts when a non-digit follows it, a run that ends the text only when it is the third;
// the first three are red, green and blue, a missing one 0. No digits at all: black.
TSkinColour ParseSkinColourText(const std::string& text);

// The archive entry an image value names: its file-name part, lower case, when its extension is
// exactly ".bmp"; else empty ("skins\top.bmp" names "top.bmp", "Top.BMP" nothing).
std::string SkinImageEntry(const std::string& value);

struct TSkinImageSize {
    int Width = 0, Height = 0;
};
// The size of the bitmap in an archive entry, or nullopt when there is no such entry or it is no
// bitmap the program reads whole (its header fails the bitmap checks, or it needs more bytes
// than the entry has).
using TSkinImageProbe = std::function<std::optional<TSkinImageSize>(const std::string& entry)>;
// The probe over an archive's entries.
TSkinImageProbe ArchiveImageProbe(const TSkinReader& archive);

// Columns Left .. Left + Width of an archive entry's bitmap, Width x Height pixels; or one of the
// program's bitmap resources. Empty: no image.
struct TSkinImage {
    std::string Entry;  // lower case; the resource name for a resource
    bool Resource = false;
    int Left = 0, Width = 0, Height = 0;
    bool Empty() const { return Entry.empty(); }
};

// One element: an image strip of Frame equal frames side by side, drawn nine-sliced by its
// margins (in pixels of one frame).
struct TSkinElement {
    std::string Name;
    TSkinImage Image;
    int LeftWidth = 0, TopHeight = 0, RightWidth = 0, BottomHeight = 0;
    int Trans = 0;  // 1: magenta is transparent
    int Tile = 0;   // 1: the centre is tiled, else stretched
    int Frame = 1;
    int Style = 0;
    int NormalColour = -1, MouseOverColour = -1, PressedColour = -1;  // text colours; -1: none given
    TSkinColour NormalColour2 = 0, MouseOverColour2 = 0, PressedColour2 = 0;
};

struct TSkinBorderElement : TSkinElement {
    TSkinImage Image2;
};

// The caption: LeftWidth is the text's shift, TopHeight its vertical shift, RightWidth the clip
// at its right; Image the caption's backing.
struct TSkinTitleElement : TSkinElement {
    int TextAlignment = 0;  // 0 left, 1 centred, 2 right
    int TextBackLeft = 0, TextBackRight = 0;
};

struct TSkinButtonsElement : TSkinElement {
    TSkinImage CheckImage, RadioImage;
    int RadioFrame = 1, CheckFrame = 1;
    bool HasNormalColour2 = false, HasMouseOverColour2 = false, HasPressedColour2 = false;
};

struct TSkinSysButtonElement : TSkinElement {
    int Action = 0, Align = 0, XCoord = 0, YCoord = 0, Visibility = 0, Visibility1 = 0;
};

struct TSkinBoxLabelElement : TSkinElement {
    int BackgroundLeftShift = 0, BackgroundRightShift = 0, BackgroundAlignment = 0;
};

// The keys of [Colours]; each defaults to a system colour.
struct TSkinColours {
    TSkinColour WindowText = SkinSystemColour(8);
    TSkinColour ButtonFace = SkinSystemColour(15);
    TSkinColour Scrollbar = SkinSystemColour(0);
    TSkinColour HilightText = SkinSystemColour(14);
    TSkinColour Hilight = SkinSystemColour(13);
    TSkinColour Menubar = SkinSystemColour(15);  // ButtonFace as read
    TSkinColour Menu = SkinSystemColour(4);
    TSkinColour MenuText = SkinSystemColour(7);
    TSkinColour ButtonText = SkinSystemColour(18);
    TSkinColour ButtonHilight = SkinSystemColour(20);
    TSkinColour Buttonlight = SkinSystemColour(20);  // the button highlight, not the 3-D light
    TSkinColour ButtonShadow = SkinSystemColour(16);
    TSkinColour ButtonDkShadow = SkinSystemColour(21);
    TSkinColour MenuBarText = SkinSystemColour(7);
    TSkinColour TitleTextActive = SkinSystemColour(9);
    TSkinColour TitleTextNoActive = SkinSystemColour(19);
};

// The MDI child's buttons (minimize, restore, close) that follow the description's title-bar buttons.
constexpr int SkinMdiButtonCount = 3;

struct TSkinDescription {
    // Always there, named "Left", "Right", "Top", "Bottom", "Title", "Buttons".
    TSkinBorderElement BorderLeft, BorderRight, BorderTop, BorderBottom;
    TSkinTitleElement Title;
    TSkinButtonsElement Buttons;
    // The description's [Button...] sections in file order, then the three MDI buttons.
    std::vector<TSkinSysButtonElement> SysButtons;
    // The rest exist when their section gives its image key a value, even one that names no
    // bitmap (the image is then empty); Track and TrackVert are else the program's own.
    std::optional<TSkinBorderElement> Progress;
    std::optional<TSkinElement> ProgressChunk, MenuBar, GroupBoxEdge;
    std::optional<TSkinBoxLabelElement> GroupBox;
    std::optional<TSkinBorderElement> Tabs;
    std::optional<TSkinElement> StatusBarEdges, TabPane, ToolBars;
    std::optional<TSkinBorderElement> ComboButton;
    std::optional<TSkinElement> SunkEdge, ExtraImages, Headerbar, MenuItem, MenuBackground, Scrollbar;
    std::optional<TSkinElement> HorzScroll, VertScroll, HorzScrollThumb, VertScrollThumb;
    std::optional<TSkinElement> TrackThumbHorz, TrackThumbVert, TrackThumbLeft, TrackThumbRight, TrackThumbUp,
        TrackThumbDown;
    std::optional<TSkinBorderElement> UpDownHorz, UpDownVert;
    TSkinElement Track, TrackVert;
    TSkinColours Colours;
};

// The program's bitmap resources that stand in for a skin without [Track] or [TRACKVERT].
inline constexpr TSkinImageSize SkinTrackResourceSize{16, 4};

TSkinDescription ReadSkinDescription(const TQuickIni& ini, const TSkinImageProbe& images);
