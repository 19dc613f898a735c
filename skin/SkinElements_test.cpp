#include "skin/SkinElements.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/graphics/Colors.h"
#include "skin/SkinRead.h"
#include "skin/SkinWrite.h"
#include "skin/testing/SkinFixtures.h"

namespace {

std::string Extract(const TSkinReader& archive, const std::string& name) {
    TMemoryStream target;
    archive.ExtractByName(name, target);
    std::string bytes(static_cast<std::size_t>(target.Size()), '\0');
    target.SetPosition(0);
    target.Read(bytes.data(), target.Size());
    return bytes;
}

std::int32_t Int32At(const std::string& bytes, std::size_t offset) {
    std::int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// Pixel (x, y) from the top of a bottom-up 24-bit BMP file, read straight from its bytes.
TColor RawPixel(const std::string& bmp, int x, int y) {
    const int width = Int32At(bmp, 18), height = Int32At(bmp, 22);
    const std::size_t stride = static_cast<std::size_t>((width * 3 + 3) / 4 * 4);
    const std::size_t at = static_cast<std::size_t>(Int32At(bmp, 10)) +
                           static_cast<std::size_t>(height - 1 - y) * stride + static_cast<std::size_t>(x) * 3;
    const auto byte = [&](std::size_t i) { return static_cast<int>(static_cast<unsigned char>(bmp[at + i])); };
    return byte(2) | byte(1) << 8 | byte(0) << 16;
}

bool LoadArchive(TSkinReader& archive, const std::vector<Byte>& packed) {
    TMemoryStream stream;
    stream.WriteBuffer(packed.data(), static_cast<Int64>(packed.size()));
    return archive.LoadFromStream(stream);
}

TSkinDescription DescriptionOf(const TSkinReader& archive) {
    TMemoryStream text;
    std::string name;
    archive.ExtractByPart(".ini", text, name);
    TQuickIni ini;
    ini.LoadFromStream(&text);
    return ReadSkinDescription(ini, ArchiveImageProbe(archive));
}

// Every element of the record with the image it names.
struct TNamedImage {
    const TSkinElement* Element;
    const TSkinImage* Image;
    TBitmap TSkinElementBitmaps::*Slot;
};
std::vector<TNamedImage> NamedImages(const TSkinDescription& d) {
    std::vector<TNamedImage> all;
    const auto plain = [&](const TSkinElement& e) { all.push_back({&e, &e.Image, &TSkinElementBitmaps::Bitmap}); };
    const auto border = [&](const TSkinBorderElement& e) {
        plain(e);
        all.push_back({&e, &e.Image2, &TSkinElementBitmaps::Bitmap2});
    };
    for (const TSkinBorderElement* e : {&d.BorderLeft, &d.BorderRight, &d.BorderTop, &d.BorderBottom}) border(*e);
    plain(d.Title);
    plain(d.Buttons);
    all.push_back({&d.Buttons, &d.Buttons.CheckImage, &TSkinElementBitmaps::CheckBitmap});
    all.push_back({&d.Buttons, &d.Buttons.RadioImage, &TSkinElementBitmaps::RadioBitmap});
    for (const TSkinSysButtonElement& e : d.SysButtons) plain(e);
    for (const std::optional<TSkinBorderElement>* e : {&d.Progress, &d.Tabs, &d.UpDownHorz, &d.UpDownVert})
        if (*e) border(**e);
    if (d.ComboButton) plain(*d.ComboButton);
    if (d.GroupBox) plain(*d.GroupBox);
    for (const std::optional<TSkinElement>* e :
         {&d.ProgressChunk, &d.MenuBar, &d.GroupBoxEdge, &d.StatusBarEdges, &d.TabPane, &d.ToolBars, &d.SunkEdge,
          &d.ExtraImages, &d.Headerbar, &d.MenuItem, &d.MenuBackground, &d.Scrollbar, &d.HorzScroll, &d.VertScroll,
          &d.HorzScrollThumb, &d.VertScrollThumb, &d.TrackThumbHorz, &d.TrackThumbVert, &d.TrackThumbLeft,
          &d.TrackThumbRight, &d.TrackThumbUp, &d.TrackThumbDown})
        if (*e) plain(**e);
    plain(d.Track);
    plain(d.TrackVert);
    return all;
}

struct OurSkinElements : testing::Test {
    void SetUp() override {
        ASSERT_TRUE(LoadArchive(archive, OurPackedSkin()));
        elements.Load(DescriptionOf(archive), archive);
    }
    TSkinReader archive;
    TSkinElements elements;
};

TEST_F(OurSkinElements, LoadsEveryImageInTheSizeTheDescriptionGives) {
    int loaded = 0;
    for (const TNamedImage& named : NamedImages(elements.Description())) {
        TBitmap& bitmap = elements.Images(*named.Element).*named.Slot;
        const std::string what = named.Element->Name + " " + named.Image->Entry;
        if (named.Image->Empty()) {
            EXPECT_TRUE(bitmap.Empty()) << what;
            continue;
        }
        ASSERT_FALSE(bitmap.Empty()) << what;
        EXPECT_EQ(bitmap.Width(), named.Image->Width) << what;
        EXPECT_EQ(bitmap.Height(), named.Image->Height) << what;
        ++loaded;
    }
    // 36 images less mincaption (named by nothing), the MDI strip three times, the two tracks.
    EXPECT_EQ(loaded, 34 - 1 + 2 + 2);

    // The MDI buttons are the strip's three quarters, side by side.
    const TSkinDescription& d = elements.Description();
    const std::string strip = Extract(archive, "mdibutton.bmp");
    for (std::size_t k = 0; k < SkinMdiButtonCount; ++k) {
        TBitmap& button = elements.Images(d.SysButtons[d.SysButtons.size() - SkinMdiButtonCount + k]).Bitmap;
        for (const auto& [x, y] : {std::pair{0, 0}, std::pair{20, 6}, std::pair{51, 12}})
            EXPECT_EQ(button.Canvas().Pixels(x, y), RawPixel(strip, 52 * static_cast<int>(k) + x, y)) << k;
    }
}

TEST_F(OurSkinElements, DerivesTheTitleColourAndTheFaceBrush) {
    // frametop is 142 x 62 in two frames: a third across, a third down the first.
    EXPECT_EQ(elements.TitleColour(), RawPixel(Extract(archive, "frametop.bmp"), 47, 10));

    LOGBRUSH brush{};
    ASSERT_EQ(GetObjectW(elements.FaceBrush(), sizeof brush, &brush), static_cast<int>(sizeof brush));
    EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(brush.lbColor, static_cast<COLORREF>(RGB(236, 239, 243)));  // [Colours] ButtonFace
    EXPECT_EQ(elements.Description().Colours.ButtonFace, SkinRgb(236, 239, 243));

    TBitmap& gradient = elements.Images(elements.ToolbarGradient).Bitmap;
    EXPECT_EQ(gradient.Width(), 10);
    EXPECT_EQ(gradient.Height(), 40);
}

TEST_F(OurSkinElements, WithoutASunkenEdgeTheArrowIsTheComboButtonOnTheFaceColour) {
    ASSERT_FALSE(elements.Description().SunkEdge);
    const std::string button = Extract(archive, "comboboxbtn.bmp");
    TBitmap& arrow = elements.Images(elements.ComboxArrow).Bitmap;
    ASSERT_EQ(arrow.Width(), 60);
    ASSERT_EQ(arrow.Height(), 16);
    EXPECT_EQ(elements.ComboxArrow.Frame, 4);
    int magenta = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 60; ++x) {
            const TColor source = RawPixel(button, x, y);
            const bool key = source == clFuchsia;
            magenta += key;
            EXPECT_EQ(arrow.Canvas().Pixels(x, y), key ? SkinRgb(236, 239, 243) : source) << x << "," << y;
        }
    }
    EXPECT_GT(magenta, 0);
    // The combo button itself keeps its magenta, to draw transparent.
    EXPECT_EQ(elements.Images(*elements.Description().ComboButton).Bitmap.Canvas().Pixels(0, 0), RawPixel(button, 0, 0));
}

TEST(SkinElements, ABitmapEntryShortOfItsBytesLeavesOnlyThatImageEmpty) {
    TSkinReader intact;
    ASSERT_TRUE(LoadArchive(intact, OurPackedSkin()));
    // The description read from the whole skin; the images from one whose buttons entry lost its
    // last pixel row, and whose checkbox entry lost its header.
    std::vector<TSkinEntry> entries;
    for (int i = 0; i < intact.EntryCount(); ++i) {
        const std::string bytes = Extract(intact, intact.EntryName(i));
        TSkinEntry entry{intact.EntryName(i), std::vector<Byte>(bytes.begin(), bytes.end())};
        if (entry.Name == "buttons.bmp") entry.Bytes.resize(entry.Bytes.size() - 100);
        if (entry.Name == "checkbox.bmp") entry.Bytes.resize(20);
        entries.push_back(std::move(entry));
    }
    TSkinReader damaged;
    ASSERT_TRUE(LoadArchive(damaged, PackSkin(WriteSkinArchive(std::move(entries)))));

    TSkinElements elements;
    elements.Load(DescriptionOf(intact), damaged);
    const TSkinDescription& d = elements.Description();
    EXPECT_TRUE(elements.Images(d.Buttons).Bitmap.Empty());
    EXPECT_TRUE(elements.Images(d.Buttons).CheckBitmap.Empty());
    EXPECT_EQ(elements.Images(d.Buttons).RadioBitmap.Width(), 104);
    EXPECT_EQ(elements.Images(d.BorderTop).Bitmap.Width(), 142);
    EXPECT_EQ(elements.Images(*d.MenuItem).Bitmap.Width(), 100);
}

std::vector<Byte> BmpBytes(TBitmap& bitmap) {
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    std::vector<Byte> bytes(static_cast<std::size_t>(stream.Size()));
    stream.SetPosition(0);
    stream.Read(bytes.data(), stream.Size());
    return bytes;
}

// A strip of frames side by side, frame k (from 1) solid colour(k).
template <typename Colour>
std::vector<Byte> SolidStrip(int frameWidth, int height, int frames, Colour colour) {
    TBitmap strip(frameWidth * frames, height, pf24bit);
    for (int k = 1; k <= frames; ++k)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < frameWidth; ++x) strip.Canvas().SetPixels(frameWidth * (k - 1) + x, y, colour(k));
    return BmpBytes(strip);
}

TColor SunkColour(int k) { return SkinRgb(40 * k, 0, 0); }
TColor ComboColour(int k) { return SkinRgb(0, 40 * k, 0); }

TEST(SkinElements, ASunkenEdgeMakesTheComboStripsAndTheArrowSquares) {
    const std::string ini =
        "[SunkEdge]\nImage=sunk.bmp\n[ComboButton]\nImage=combo.bmp\n[Colours]\nButtonFace=1 2 3\n";
    TSkinReader archive;
    ASSERT_TRUE(LoadArchive(archive, PackSkin(WriteSkinArchive({
                                         {"sunk.bmp", SolidStrip(10, 10, 4, SunkColour)},
                                         {"combo.bmp", SolidStrip(17, 21, 4, ComboColour)},
                                         {"skin.ini", std::vector<Byte>(ini.begin(), ini.end())},
                                     }))));
    TSkinElements elements;
    elements.Load(DescriptionOf(archive), archive);
    const TSkinDescription& d = elements.Description();
    const int button = GetSystemMetrics(SM_CXHSCROLL) + 2;

    ASSERT_TRUE(d.ComboButton && d.SunkEdge);
    EXPECT_EQ(d.ComboButton->Style, 2);
    EXPECT_EQ(d.ComboButton->LeftWidth, 2);
    EXPECT_EQ(d.ComboButton->RightWidth, button + 2);
    EXPECT_EQ(d.SunkEdge->LeftWidth, button + 2);
    EXPECT_EQ(d.SunkEdge->RightWidth, 2);
    TBitmap& combo = elements.Images(*d.ComboButton).Bitmap;
    TBitmap& sunk = elements.Images(*d.SunkEdge).Bitmap;
    ASSERT_EQ(combo.Width(), 200);
    ASSERT_EQ(combo.Height(), 21);
    for (int k = 1; k <= 4; ++k) {
        const int left = 50 * (k - 1);
        EXPECT_EQ(combo.Canvas().Pixels(left + 1, 1), SunkColour(k)) << k;          // the edge
        EXPECT_EQ(combo.Canvas().Pixels(left + 10, 10), clFuchsia) << k;           // the text's hole
        EXPECT_EQ(combo.Canvas().Pixels(left + 48 - button, 17), clFuchsia) << k;  // its last pixel
        EXPECT_EQ(combo.Canvas().Pixels(left + 49 - button, 17), SunkColour(k)) << k;
        EXPECT_EQ(combo.Canvas().Pixels(left + 10, 18), SunkColour(k)) << k;
        EXPECT_EQ(combo.Canvas().Pixels(left + 50 - button, 1), ComboColour(k)) << k;  // the button
        EXPECT_EQ(combo.Canvas().Pixels(left + 49, 20), ComboColour(k)) << k;
    }
    ASSERT_EQ(sunk.Width(), 200);
    for (const int x : {0, 1, 30, 48, 49, 120, 199})
        EXPECT_EQ(sunk.Canvas().Pixels(x, 5), combo.Canvas().Pixels(199 - x, 5)) << x;

    // Each arrow frame: the 17 x 17 square ending 2 pixels in from its cell's right and top.
    TBitmap& arrow = elements.Images(elements.ComboxArrow).Bitmap;
    ASSERT_EQ(arrow.Width(), 68);
    ASSERT_EQ(arrow.Height(), 17);
    EXPECT_EQ(elements.ComboxArrow.Frame, 4);
    for (int i = 0; i < 4; ++i)
        for (const auto& [x, y] : {std::pair{0, 0}, std::pair{16, 16}, std::pair{8, 3}})
            EXPECT_EQ(arrow.Canvas().Pixels(17 * i + x, y), combo.Canvas().Pixels(50 * (i + 1) - 19 + x, 2 + y)) << i;
}

TEST(SkinElements, WithoutATrackTheProgramsOwnGrooveIsTaken) {
    TSkinElements elements;
    elements.Load(ReadSkinDescription(TQuickIni(), [](const std::string&) { return std::nullopt; }), TSkinReader());
    const TSkinDescription& d = elements.Description();
    TBitmap& track = elements.Images(d.Track).Bitmap;
    ASSERT_EQ(track.Width(), 16);
    ASSERT_EQ(track.Height(), 4);
    EXPECT_EQ(d.Track.LeftWidth, 3);
    EXPECT_EQ(d.Track.Frame, 1);
    // Row 1: silver silver, twelve grey, white white; row 3 begins grey.
    EXPECT_EQ(track.Canvas().Pixels(1, 0), static_cast<TColor>(0xC0C0C0));
    EXPECT_EQ(track.Canvas().Pixels(2, 0), static_cast<TColor>(0x808080));
    EXPECT_EQ(track.Canvas().Pixels(15, 0), static_cast<TColor>(0xFFFFFF));
    EXPECT_EQ(track.Canvas().Pixels(0, 2), static_cast<TColor>(0x808080));
    TBitmap& upright = elements.Images(d.TrackVert).Bitmap;
    ASSERT_EQ(upright.Width(), 4);
    ASSERT_EQ(upright.Height(), 16);
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 4; ++y) EXPECT_EQ(upright.Canvas().Pixels(y, x), track.Canvas().Pixels(x, y));
    // No title piece: the title colour is the face colour, here the system's.
    EXPECT_EQ(elements.TitleColour(), clBtnFace);
    EXPECT_TRUE(elements.Images(elements.ComboxArrow).Bitmap.Empty());
}

}  // namespace
