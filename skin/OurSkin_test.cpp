// Our committed skin (skin/Folhavida.skn) against its layout table and description.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "skin/Lzh.h"
#include "skin/LzhEncode.h"
#include "skin/SkinIni.h"
#include "skin/SkinRead.h"
#include "skin/testing/SkinFixtures.h"

namespace {

std::string Extract(const TSkinReader& reader, const std::string& name) {
    TMemoryStream target;
    reader.ExtractByName(name, target);
    std::string bytes(static_cast<std::size_t>(target.Size()), '\0');
    target.Read(bytes.data(), target.Size());
    return bytes;
}

struct OurSkin : testing::Test {
    void SetUp() override {
        const std::vector<Byte> packed = OurPackedSkin();
        stream.WriteBuffer(packed.data(), static_cast<Int64>(packed.size()));
        ASSERT_TRUE(reader.LoadFromStream(stream));
        TMemoryStream description;
        reader.ExtractByPart(".ini", description, descriptionName);
        ini.LoadFromStream(&description);
    }
    TMemoryStream stream;
    TSkinReader reader;
    TQuickIni ini;
    std::string descriptionName;
};

TEST_F(OurSkin, HoldsEveryBitmapOfTheLayoutTableInItsSizeAndFrames) {
    const std::vector<TSkinLayoutRow> layout = SkinLayout();
    ASSERT_EQ(reader.EntryCount(), static_cast<int>(layout.size()) + 1);
    EXPECT_EQ(reader.EntryName(reader.EntryCount() - 1), "skin.ini");
    EXPECT_EQ(descriptionName, "skin.ini");
    for (const TSkinLayoutRow& row : layout) {
        const auto size = BmpSizeOf(Extract(reader, row.Entry + ".bmp"));
        ASSERT_TRUE(size) << row.Entry;
        EXPECT_EQ(size->Width, row.Width) << row.Entry;
        EXPECT_EQ(size->Height, row.Height) << row.Entry;
        EXPECT_EQ(size->Bits, row.Bits) << row.Entry;
        EXPECT_EQ((row.Across ? row.Width : row.Height) % row.Frames, 0) << row.Entry;
        if (!row.Section.empty()) {
            EXPECT_EQ(ini.ReadString(row.Section, row.Key, ""), row.Entry + ".bmp") << row.Entry;
        }
    }
}

TEST_F(OurSkin, DescriptionNamesOnlyBitmapsTheArchiveHolds) {
    std::set<std::string> entries;
    for (int i = 0; i < reader.EntryCount(); ++i) entries.insert(reader.EntryName(i));
    const std::string text(SkinFixtureFile("ours/skin.ini"));
    int named = 0;
    for (const std::string& line : SplitSkinLines(text)) {
        const std::string value = SkinTrim(line.substr(line.find('=') + 1));
        if (line.find('=') == std::string::npos || !SkinLowerCase(value).ends_with(".bmp")) continue;
        EXPECT_EQ(value, SkinLowerCase(value)) << line;
        EXPECT_TRUE(entries.count(value)) << line;
        ++named;
    }
    EXPECT_EQ(named, reader.EntryCount() - 2);  // all but the description and mincaption
}

TEST_F(OurSkin, KeepsTheSettingsTheEngineCountsOn) {
    struct Setting {
        const char* section;
        const char* key;
        int value;
    };
    const Setting settings[] = {
        {"Personality", "LeftTopHeight", 31}, {"Personality", "LeftBotHeight", 5}, {"Personality", "LeftFrame", 2},
        {"Personality", "TopTopHeight", 32}, {"Personality", "TopFrame", 2}, {"Personality", "BottomTrans", 0},
        {"Buttons", "CheckButtonFrame", 12}, {"Buttons", "RadioButtonFrame", 8}, {"Buttons", "LeftWidth", 5},
        {"StatusBarEdges", "LeftWidth", 50}, {"StatusBarEdges", "Tile", 1}, {"Headerbar", "Frame", 4},
        {"HorzScrollThumb", "FrameCount", 4}, {"Button1", "Visibility1", 6}, {"Button4", "Action", 3},
        {"Button4", "XCoord", 8}, {"Button2", "XCoord", 83},
    };
    for (const Setting& s : settings) EXPECT_EQ(ini.ReadInteger(s.section, s.key, -99), s.value) << s.section << "/" << s.key;
    EXPECT_EQ(ini.ReadString("Button4", "ButtonImage", ""), "");
}

TEST_F(OurSkin, ArchiveRoundTripsThroughTheCoder) {
    const std::vector<Byte> packed = OurPackedSkin();
    TMemoryStream archive;
    ASSERT_TRUE(reader.UnpackStream(stream, archive));
    const auto* bytes = static_cast<const Byte*>(archive.Memory());
    const std::vector<Byte> unpacked(bytes, bytes + archive.Size());
    // Our packer's output is a function of the archive: coding it again gives the same stream.
    EXPECT_EQ(LzhPack(unpacked), std::vector<Byte>(packed.begin() + 4, packed.end()));
}

}  // namespace
