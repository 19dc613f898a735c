#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/SkinIni.h"
#include "skin/SkinRead.h"
#include "skin/testing/ProbeSkin.h"
#include "skin/testing/SkinFixtures.h"

namespace {

std::unique_ptr<TSkinReader> Load(const std::vector<Byte>& packed) {
    auto reader = std::make_unique<TSkinReader>();
    TMemoryStream stream;
    stream.WriteBuffer(packed.data(), static_cast<Int64>(packed.size()));
    EXPECT_TRUE(reader->LoadFromStream(stream));
    return reader;
}

std::string Extract(const TSkinReader& reader, const std::string& name) {
    TMemoryStream target;
    reader.ExtractByName(name, target);
    std::string bytes(static_cast<std::size_t>(target.Size()), '\0');
    target.Read(bytes.data(), target.Size());
    return bytes;
}

// The colour of pixel (x, y) of a 24-bit bottom-up BMP.
std::uint32_t Pixel24(const std::string& bmp, int x, int y) {
    const auto size = BmpSizeOf(bmp);
    const int stride = (size->Width * 3 + 3) / 4 * 4;
    const auto at = static_cast<std::size_t>(54 + (size->Height - 1 - y) * stride + 3 * x);
    return static_cast<Byte>(bmp[at + 2]) | static_cast<Byte>(bmp[at + 1]) << 8 | static_cast<Byte>(bmp[at]) << 16;
}

TEST(ProbeSkin, ColoursNameElementFrameAndZone) {
    for (const TProbePixel pixel : {TProbePixel{1, 1, 0}, TProbePixel{20, 23, 8}, TProbePixel{34, 2, 5}})
        EXPECT_EQ(DecodeProbeColour(ProbeColour(pixel)), pixel);
    EXPECT_EQ(DecodeProbeColour(0xFF00FF), std::nullopt);
    EXPECT_EQ(DecodeProbeColour(0xC0C0C0), std::nullopt);
    EXPECT_EQ(DecodeProbeColour(0x000F65), std::nullopt);  // green 15: no frame
}

TEST(ProbeSkin, EachFramesNineSlicesCarryTheirNames) {
    const auto reader = Load(MakeProbeSkin());
    // frametop (element 3): 142 x 31 frames stacked, margins 32 left and right, rounded corners.
    const std::string top = Extract(*reader, "frametop.bmp");
    EXPECT_EQ(Pixel24(top, 0, 0), 0xFF00FFu);
    EXPECT_EQ(DecodeProbeColour(Pixel24(top, 5, 5)), (TProbePixel{3, 1, 8}));
    EXPECT_EQ(DecodeProbeColour(Pixel24(top, 70, 10)), (TProbePixel{3, 1, 0}));
    EXPECT_EQ(DecodeProbeColour(Pixel24(top, 141, 40)), (TProbePixel{3, 2, 4}));
    EXPECT_EQ(Pixel24(top, 141, 31), 0xFF00FFu);
    // buttons (element 9): 5 frames of 20 x 23, margins 5, 4, 5, 4.
    const std::string buttons = Extract(*reader, "buttons.bmp");
    EXPECT_EQ(DecodeProbeColour(Pixel24(buttons, 0, 0)), (TProbePixel{9, 1, 1}));
    EXPECT_EQ(DecodeProbeColour(Pixel24(buttons, 47, 2)), (TProbePixel{9, 3, 2}));
    EXPECT_EQ(DecodeProbeColour(Pixel24(buttons, 99, 22)), (TProbePixel{9, 5, 5}));
    EXPECT_EQ(DecodeProbeColour(Pixel24(buttons, 60, 20)), (TProbePixel{9, 4, 7}));
}

TEST(ProbeSkin, VariantsChangeTheDescriptionAndStrips) {
    TProbeSkinOptions options = ProbeWithUnknownAction();
    options.OnlyBottomTransparent = true;
    options.Frames["closebutton"] = 3;
    const auto reader = Load(MakeProbeSkin(options));
    TMemoryStream description;
    std::string name;
    reader->ExtractByPart(".ini", description, name);
    TQuickIni ini;
    ini.LoadFromStream(&description);
    EXPECT_EQ(ini.ReadInteger("Button5", "Action", 0), 40);
    EXPECT_EQ(ini.ReadInteger("Personality", "TopTrans", -1), 0);
    EXPECT_EQ(ini.ReadInteger("Personality", "BottomTrans", -1), 1);
    EXPECT_EQ(BmpSizeOf(Extract(*reader, "closebutton.bmp"))->Width, 105);
    EXPECT_NE(Pixel24(Extract(*reader, "frametop.bmp"), 0, 0), 0xFF00FFu);
    EXPECT_EQ(Pixel24(Extract(*reader, "framebottom.bmp"), 0, 4), 0xFF00FFu);

    const auto other = Load(MakeProbeSkin(ProbeWithVisibility1000()));
    TMemoryStream text;
    other->ExtractByPart(".ini", text, name);
    ini.LoadFromStream(&text);
    EXPECT_EQ(ini.ReadInteger("Button5", "Visibility", 0), 1000);
    EXPECT_EQ(ini.ReadString("Button0", "ButtonImage", ""), "closebutton.bmp");
}

TEST(ProbeSkin, SetIniValueReplacesAddsAndAppends) {
    const std::string text = "[A]\r\nKey=1\r\n[B]\r\n";
    EXPECT_EQ(SetIniValue(text, "a", "KEY", "2"), "[A]\r\nKEY=2\r\n[B]\r\n");
    EXPECT_EQ(SetIniValue(text, "B", "New", "3"), "[A]\r\nKey=1\r\n[B]\r\nNew=3\r\n");
    EXPECT_EQ(SetIniValue(text, "C", "K", "4"), "[A]\r\nKey=1\r\n[B]\r\n[C]\r\nK=4\r\n");
}

}  // namespace
