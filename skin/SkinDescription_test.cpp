#include "skin/SkinDescription.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "framework/graphics/Colors.h"
#include "skin/SkinRead.h"
#include "skin/testing/SkinFixtures.h"

namespace {

// The record's colours are the framework's.
static_assert(SkinSystemColour(15) == clBtnFace && SkinSystemColour(21) == cl3DDkShadow);
static_assert(SkinRgb(1, 2, 3) == 0x030201);

// Images by entry name: the probe knows only these.
TSkinImageProbe Images(std::map<std::string, TSkinImageSize> sizes) {
    return [sizes = std::move(sizes)](const std::string& entry) -> std::optional<TSkinImageSize> {
        const auto found = sizes.find(entry);
        if (found == sizes.end()) return std::nullopt;
        return found->second;
    };
}

TSkinDescription Read(const std::string& text, const TSkinImageProbe& images = Images({{"a.bmp", {40, 10}}})) {
    TQuickIni ini;
    ini.LoadFromText(text);
    return ReadSkinDescription(ini, images);
}

TEST(SkinDescription, ReadsColourTextsNumberByNumber) {
    const struct {
        const char* text;
        TSkinColour expected;
    } cases[] = {
        {"236 233 216", SkinRgb(236, 233, 216)},
        {"10 20", SkinRgb(10, 0, 0)},  // a run that ends the text counts only as the third number
        {"1,2,3,", SkinRgb(1, 2, 3)},
        {"1 2 3 4 5", SkinRgb(1, 2, 3)},
        {"  7 8 9  ", SkinRgb(7, 8, 9)},
        {"999999999999 1 2", SkinRgb(255, 1, 2)},  // 999999999999 = 0xE8D4A50FFF
        {"300 256 -1", SkinRgb(44, 0, 1)},
        {"grey", SkinRgb(0, 0, 0)},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseSkinColourText(c.text), c.expected) << c.text;
    // 10^5000 - 1: a number of any length, reduced as it is read.
    EXPECT_EQ(ParseSkinColourText(std::string(5000, '9') + " 0 0"), SkinRgb(255, 0, 0));
}

TEST(SkinDescription, ColoursWithoutAValueKeepTheirSystemColours) {
    const TSkinDescription d = Read("[Colours]\nButtonFace=1 2 3\nMenu=\nHilight=none\n");
    EXPECT_EQ(d.Colours.ButtonFace, SkinRgb(1, 2, 3));
    EXPECT_EQ(d.Colours.Menubar, SkinRgb(1, 2, 3));  // the face colour unless given
    EXPECT_EQ(d.Colours.Menu, SkinSystemColour(4));
    EXPECT_EQ(d.Colours.Hilight, 0);
    EXPECT_EQ(d.Colours.Buttonlight, SkinSystemColour(20));
    EXPECT_EQ(d.Colours.TitleTextNoActive, SkinSystemColour(19));
    EXPECT_EQ(Read("").Colours.Menubar, SkinSystemColour(15));
}

TEST(SkinDescription, AnImageIsTheArchiveEntryOfItsBmpFileName) {
    const struct {
        const char* value;
        const char* entry;
    } cases[] = {
        {"skins\\top.bmp", "top.bmp"}, {"Frames\\Top.BMP", ""}, {"TOP.bmp", "top.bmp"}, {"c:top.bmp", "top.bmp"},
        {"top.bmp.txt", ""},           {"top", ""},            {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(SkinImageEntry(c.value), c.entry) << c.value;

    const TSkinImageProbe images = Images({{"top.bmp", {142, 62}}});
    const TSkinImage found = Read("[Personality]\nTop=skins\\top.bmp\n", images).BorderTop.Image;
    EXPECT_EQ(found.Entry, "top.bmp");
    EXPECT_EQ(found.Width, 142);
    EXPECT_EQ(found.Height, 62);
    EXPECT_TRUE(Read("[Personality]\nTop=Frames\\Top.BMP\n", images).BorderTop.Image.Empty());
    EXPECT_TRUE(Read("[Personality]\nTop=missing.bmp\n", images).BorderTop.Image.Empty());
    // The element is there all the same: its section names an image.
    const TSkinDescription missing = Read("[MenuItem]\nImage=missing.bmp\n", images);
    ASSERT_TRUE(missing.MenuItem);
    EXPECT_TRUE(missing.MenuItem->Image.Empty());
    EXPECT_FALSE(Read("[MenuItem]\nFrame=3\n").MenuItem);
}

TEST(SkinDescription, FrameCountsAreTheElementsOrAsReadButNeverBelowOne) {
    const struct {
        const char* text;
        std::optional<TSkinElement> TSkinDescription::*element;
        int frame;
    } cases[] = {
        {"[Headerbar]\nImage=a.bmp\nFrame=0\n", &TSkinDescription::Headerbar, 5},
        {"[Headerbar]\nImage=a.bmp\n", &TSkinDescription::Headerbar, 5},
        {"[Headerbar]\nImage=a.bmp\nFrame=4\n", &TSkinDescription::Headerbar, 4},
        {"[Headerbar]\nImage=a.bmp\nFrame=-2\n", &TSkinDescription::Headerbar, 1},
        {"[MenuItem]\nImage=a.bmp\nFrame=7\n", &TSkinDescription::MenuItem, 5},
        {"[Scrollbar]\nImage=a.bmp\nFrame=1\n", &TSkinDescription::Scrollbar, 23},
        {"[Progress.Chunk]\nImage=a.bmp\nFrame=0\n", &TSkinDescription::ProgressChunk, 1},
        {"[Progress.Chunk]\nImage=a.bmp\nFrame=3\n", &TSkinDescription::ProgressChunk, 3},
        {"[HorzScrollThumb]\nImage=a.bmp\nFrame=9\n", &TSkinDescription::HorzScrollThumb, 3},
        {"[HorzScrollThumb]\nImage=a.bmp\nFrameCount=4\n", &TSkinDescription::HorzScrollThumb, 4},
        {"[VertScrollThumb]\nImage=a.bmp\nFrameCount=0\n", &TSkinDescription::VertScrollThumb, 1},
        {"[StatusBarEdges]\nImage=a.bmp\n", &TSkinDescription::StatusBarEdges, 3},
        {"[Trackbar.ThumbUp]\nImage=a.bmp\n", &TSkinDescription::TrackThumbUp, 5},
    };
    for (const auto& c : cases) {
        const TSkinDescription d = Read(c.text);
        ASSERT_TRUE(d.*c.element) << c.text;
        EXPECT_EQ((d.*c.element)->Frame, c.frame) << c.text;
    }
    const TSkinDescription borders = Read("[Personality]\nTop=a.bmp\nTopFrame=0\nLeftFrame=3\n[Progress]\nBitmap=a.bmp\n"
                                          "[Tabs]\nImage=a.bmp\nFrame=2\n[UpDown.Horz]\nImage=a.bmp\n");
    EXPECT_EQ(borders.BorderTop.Frame, 1);
    EXPECT_EQ(borders.BorderLeft.Frame, 3);
    EXPECT_EQ(borders.BorderBottom.Frame, 1);
    EXPECT_EQ(borders.Title.Frame, 2);
    EXPECT_EQ(borders.Buttons.Frame, 5);
    EXPECT_EQ(borders.Progress->Frame, 2);  // style 0
    EXPECT_EQ(Read("[Progress]\nBitmap=a.bmp\nStyle=1\n").Progress->Frame, 1);
    EXPECT_EQ(borders.Tabs->Frame, 5);
    EXPECT_EQ(borders.UpDownHorz->Frame, 8);
}

TEST(SkinDescription, KeysHaveTheirDefaultsAndLimits) {
    const TSkinDescription d = Read(
        "[Tab.Pane]\nImage=a.bmp\nLeftWidth=9\nTopHeight=4\nRightWidth=5\nBottomHeight=x\n"
        "[MenuItem]\nImage=a.bmp\nTile=2\nNormalColour=0x10\nNormalColour2=1 2 3\n"
        "[Progress]\nBitmap=a.bmp\nTile=2\nNormalColour=5\n"
        "[Personality]\nLeft=a.bmp\nLeftTopHeight=31\nLeftBotHeight=5\nLeftStretch=3\nTop=a.bmp\nTopTopHeight=32\n"
        "menuBar=a.bmp\nTileMenu=4\nTextShift=16\nTXTBackRight=7\n"
        "[Colours]\nButtonText=9 9 9\n");
    ASSERT_TRUE(d.TabPane);
    EXPECT_EQ(d.TabPane->LeftWidth, 4);
    EXPECT_EQ(d.TabPane->TopHeight, 4);
    EXPECT_EQ(d.TabPane->RightWidth, 4);
    EXPECT_EQ(d.TabPane->BottomHeight, 0);
    EXPECT_EQ(d.MenuItem->Tile, 0);
    EXPECT_EQ(d.MenuItem->NormalColour, 16);
    EXPECT_EQ(d.MenuItem->MouseOverColour, -1);
    EXPECT_EQ(d.MenuItem->NormalColour2, SkinRgb(1, 2, 3));
    EXPECT_EQ(d.MenuItem->PressedColour2, SkinRgb(9, 9, 9));
    EXPECT_EQ(d.Progress->Tile, 1);
    EXPECT_EQ(d.Progress->NormalColour, -1);  // the progress bar reads no colours
    EXPECT_EQ(d.BorderLeft.TopHeight, 31);
    EXPECT_EQ(d.BorderLeft.BottomHeight, 5);
    EXPECT_EQ(d.BorderLeft.LeftWidth, 0);
    EXPECT_EQ(d.BorderLeft.Tile, 1);
    EXPECT_EQ(d.BorderLeft.Trans, 1);
    EXPECT_EQ(d.BorderTop.LeftWidth, 32);
    EXPECT_EQ(d.BorderTop.TopHeight, 0);
    EXPECT_EQ(d.BorderTop.Name, "Top");
    ASSERT_TRUE(d.MenuBar);
    EXPECT_EQ(d.MenuBar->Name, "Personality");
    EXPECT_EQ(d.MenuBar->Tile, 1);
    EXPECT_EQ(d.MenuBar->LeftWidth, 1);
    EXPECT_EQ(d.MenuBar->RightWidth, 1);
    EXPECT_EQ(d.Title.LeftWidth, 16);
    EXPECT_EQ(d.Title.TextBackRight, 7);
    EXPECT_EQ(d.Buttons.NormalColour2, SkinRgb(9, 9, 9));
    EXPECT_FALSE(d.Buttons.HasNormalColour2);
    EXPECT_TRUE(Read("[Buttons]\nPressedColour2=1 1 1\n").Buttons.HasPressedColour2);
}

TEST(SkinDescription, TitleBarButtonsAreTheButtonSectionsThatAct) {
    const struct {
        const char* what;
        const char* text;
        int kept;  // title-bar buttons besides the three MDI ones
    } cases[] = {
        {"action -1 without visibility", "[ButtonX]\nAction=-1\n", 0},
        {"action -1, visibility 0", "[ButtonX]\nAction=-1\nVisibility=0\n", 1},
        {"action -1, visibility 2", "[ButtonX]\nAction=-1\nVisibility=2\n", 0},
        {"the push buttons and toggles", "[Buttons]\n[BUTTON]\n[Button.Radio]\n[button.checkbox]\n", 0},
        {"any other name", "[Button.Help]\nAction=5\n[ButtonsExtra]\n", 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.text).SysButtons.size(), static_cast<std::size_t>(c.kept + SkinMdiButtonCount)) << c.what;

    const TSkinSysButtonElement x = Read("[ButtonX]\nAction=-1\nVisibility=0\n").SysButtons[0];
    EXPECT_EQ(x.Name, "BUTTONX");
    EXPECT_EQ(x.Frame, 6);
    EXPECT_EQ(x.Visibility1, -1);
    EXPECT_EQ(Read("[ButtonX]\nAction=1\n").SysButtons[0].Visibility1, 0);
}

TEST(SkinDescription, ATitleButtonsFramesFollowItsStripWhenNotGiven) {
    const TSkinImageProbe images =
        Images({{"wide.bmp", {210, 21}}, {"ratio.bmp", {38, 10}}, {"past.bmp", {39, 10}}});
    const struct {
        const char* section;
        int frame;
        bool image;
    } cases[] = {
        {"[Button0]\nButtonImage=wide.bmp\n", 6, true},
        {"[Button0]\nButtonImage=ratio.bmp\n", 3, true},  // 3.8 times as wide as high
        {"[Button0]\nButtonImage=past.bmp\n", 6, true},
        {"[Button0]\nButtonImage=ratio.bmp\nAction=-1\nVisibility=0\n", 6, true},
        {"[Button0]\nButtonImage=ratio.bmp\nframe=2\n", 2, true},
        {"[Button0]\nButtonImage=ratio.bmp\nframe=-4\n", 1, true},
        {"[Button0]\n", 6, false},
        {"[Button0]\nButtonImage=ratio.bmp\nAction=3\n", 3, false},  // the window's icon
        {"[Button0]\nButtonImage=ratio.bmp\nAction=11\n", 3, false},
        {"[Button0]\nButtonImage=ratio.bmp\nAction=3\nframe=2\n", 2, true},
    };
    for (const auto& c : cases) {
        const TSkinSysButtonElement button = Read(c.section, images).SysButtons.at(0);
        EXPECT_EQ(button.Frame, c.frame) << c.section;
        EXPECT_EQ(!button.Image.Empty(), c.image) << c.section;
    }
}

TEST(SkinDescription, MdiButtonsTakeAQuarterOfTheirStripEachFromTheRight) {
    const TSkinDescription d = Read("[Button0]\nAction=0\n[MDICONTROLS]\nImage=mdi.bmp\n", Images({{"mdi.bmp", {156, 13}}}));
    ASSERT_EQ(d.SysButtons.size(), 4u);
    const int x[] = {51, 34, 17};
    for (int k = 0; k < SkinMdiButtonCount; ++k) {
        const TSkinSysButtonElement& b = d.SysButtons[1 + static_cast<std::size_t>(k)];
        EXPECT_EQ(b.Action, 7 + k);
        EXPECT_EQ(b.Align, 100);
        EXPECT_EQ(b.Visibility, 100);
        EXPECT_EQ(b.Visibility1, 100);
        EXPECT_EQ(b.Frame, 4);
        EXPECT_EQ(b.XCoord, x[k]);
        EXPECT_EQ(b.Image.Entry, "mdi.bmp");
        EXPECT_EQ(b.Image.Left, 52 * k);
        EXPECT_EQ(b.Image.Width, 52);
        EXPECT_EQ(b.Image.Height, 13);
    }
    // Narrower than twelve pixels there is no frame to cut: no images.
    for (const char* text : {"[MDICONTROLS]\nImage=mdi.bmp\n", "[MDICONTROLS]\n"}) {
        const TSkinDescription narrow = Read(text, Images({{"mdi.bmp", {11, 13}}}));
        ASSERT_EQ(narrow.SysButtons.size(), 3u);
        for (const TSkinSysButtonElement& b : narrow.SysButtons) {
            EXPECT_TRUE(b.Image.Empty()) << text;
            EXPECT_EQ(b.XCoord, 0) << text;
            EXPECT_EQ(b.Frame, 4) << text;
        }
    }
}

TEST(SkinDescription, ToggleFramesComeFromTheStripsHeightWhenNotGiven) {
    const TSkinImageProbe images = Images({{"r13.bmp", {104, 13}}, {"r16.bmp", {104, 16}}, {"small.bmp", {20, 13}}});
    const struct {
        const char* text;
        int radio, check;
    } cases[] = {
        {"[Buttons]\nRadioButton=r13.bmp\nCheckButton=r16.bmp\n", 8, 6},
        {"[Buttons]\nRadioButton=small.bmp\n", 4, 4},
        {"[Buttons]\nRadioButton=r13.bmp\nRadioButtonFrame=3\nCheckButtonFrame=-1\n", 3, 1},
    };
    for (const auto& c : cases) {
        const TSkinDescription d = Read(c.text, images);
        EXPECT_EQ(d.Buttons.RadioFrame, c.radio) << c.text;
        EXPECT_EQ(d.Buttons.CheckFrame, c.check) << c.text;
    }
}

TEST(SkinDescription, WithoutItsOwnTrackTheSkinTakesTheProgramsGroove) {
    const TSkinDescription d = Read("");
    EXPECT_TRUE(d.Track.Image.Resource);
    EXPECT_EQ(d.Track.Image.Entry, "TRACK");
    EXPECT_EQ(d.Track.Image.Width, 16);
    EXPECT_EQ(d.Track.Image.Height, 4);
    EXPECT_EQ(d.Track.Frame, 1);
    EXPECT_EQ(d.Track.Tile, 0);
    EXPECT_EQ(d.Track.LeftWidth, 3);
    EXPECT_EQ(d.Track.BottomHeight, 3);
    EXPECT_EQ(d.TrackVert.Image.Entry, "TRACKVERT");
    EXPECT_EQ(d.TrackVert.Image.Width, 4);
    EXPECT_EQ(d.TrackVert.Image.Height, 16);
    const TSkinDescription own = Read("[Track]\nImage=a.bmp\nFrame=2\n[TRACKVERT]\nImage=a.bmp\n");
    EXPECT_FALSE(own.Track.Image.Resource);
    EXPECT_EQ(own.Track.Frame, 2);
    EXPECT_EQ(own.TrackVert.Frame, 1);
}

TEST(SkinDescription, OurSkinReadsAsItsLayoutSays) {
    const std::vector<Byte> packed = OurPackedSkin();
    TMemoryStream stream;
    stream.WriteBuffer(packed.data(), static_cast<Int64>(packed.size()));
    TSkinReader archive;
    ASSERT_TRUE(archive.LoadFromStream(stream));
    TMemoryStream text;
    std::string name;
    archive.ExtractByPart(".ini", text, name);
    TQuickIni ini;
    ini.LoadFromStream(&text);
    const TSkinDescription d = ReadSkinDescription(ini, ArchiveImageProbe(archive));

    EXPECT_EQ(d.BorderTop.Image.Height / d.BorderTop.Frame, 31);  // the caption
    EXPECT_EQ(d.BorderLeft.Image.Width / d.BorderLeft.Frame, 4);
    EXPECT_EQ(d.BorderRight.Image.Width / d.BorderRight.Frame, 4);
    EXPECT_EQ(d.BorderBottom.Image.Height / d.BorderBottom.Frame, 5);
    EXPECT_EQ(d.BorderLeft.TopHeight, 31);
    EXPECT_EQ(d.BorderBottom.Trans, 0);

    ASSERT_EQ(d.SysButtons.size(), 5u + SkinMdiButtonCount);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(d.SysButtons[i].Frame, 6) << i;
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(d.SysButtons[i].Image.Width, 210) << i;
    EXPECT_EQ(d.SysButtons[4].Name, "BUTTON4");
    EXPECT_EQ(d.SysButtons[4].Action, 3);
    EXPECT_TRUE(d.SysButtons[4].Image.Empty());
    EXPECT_EQ(d.SysButtons[5].XCoord, 51);
    EXPECT_EQ(d.SysButtons[7].XCoord, 17);
    EXPECT_EQ(d.SysButtons[7].Image.Width, 52);

    EXPECT_EQ(d.Buttons.RadioFrame, 8);
    EXPECT_EQ(d.Buttons.CheckFrame, 12);
    EXPECT_EQ(d.Buttons.Image.Entry, "buttons.bmp");
    EXPECT_EQ(d.Title.RightWidth, 20);
    EXPECT_EQ(d.Colours.ButtonFace, SkinRgb(236, 239, 243));
    EXPECT_EQ(d.Colours.Hilight, SkinRgb(44, 104, 176));
    EXPECT_EQ(d.Colours.Scrollbar, SkinSystemColour(0));
    ASSERT_TRUE(d.Headerbar && d.MenuItem && d.HorzScrollThumb && d.UpDownVert && d.TrackThumbDown);
    EXPECT_EQ(d.Headerbar->Frame, 4);
    EXPECT_EQ(d.HorzScrollThumb->Frame, 4);
    EXPECT_EQ(d.UpDownVert->Image2.Entry, "spinarrow.bmp");
    EXPECT_EQ(d.UpDownVert->Image2.Width, 56);
    EXPECT_FALSE(d.SunkEdge);
    EXPECT_FALSE(d.MenuBar);
    EXPECT_TRUE(d.Track.Image.Resource);
}

}  // namespace
