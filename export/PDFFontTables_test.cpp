#include "export/PDFFontTables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void Put16(std::vector<Byte>& data, std::size_t at, std::uint16_t v) {
    if (data.size() < at + 2) data.resize(at + 2);
    data[at] = static_cast<Byte>(v >> 8);
    data[at + 1] = static_cast<Byte>(v);
}

void Put32(std::vector<Byte>& data, std::size_t at, std::uint32_t v) {
    Put16(data, at, static_cast<std::uint16_t>(v >> 16));
    Put16(data, at + 2, static_cast<std::uint16_t>(v));
}

std::vector<Byte> Head(std::uint16_t unitsPerEm) {
    std::vector<Byte> head(54);
    Put32(head, 12, 0x5F0F3CF5u);
    Put16(head, 18, unitsPerEm);
    Put16(head, 36, static_cast<std::uint16_t>(-1361));
    Put16(head, 38, static_cast<std::uint16_t>(-665));
    Put16(head, 40, 4096);
    Put16(head, 42, 2060);
    return head;
}

std::vector<Byte> OS2(std::uint16_t version) {
    std::vector<Byte> os2(version >= 2 ? 96 : 78);
    Put16(os2, 0, version);
    Put16(os2, 4, 700);
    Put16(os2, 30, 0x0105);  // class 1 (oldstyle serifs), subclass 5
    if (version >= 2) Put16(os2, 88, 1467);
    return os2;
}

// A font file with the tables in that order, each at a 4-byte boundary.
std::vector<Byte> Font(const std::vector<std::pair<std::string, std::vector<Byte>>>& tables, std::size_t at = 0) {
    std::vector<Byte> file(at);
    Put32(file, at, 0x00010000);
    Put16(file, at + 4, static_cast<std::uint16_t>(tables.size()));
    std::size_t offset = at + 12 + 16 * tables.size();
    offset = (offset + 3) & ~std::size_t{3};
    for (std::size_t i = 0; i < tables.size(); ++i) {
        std::size_t entry = at + 12 + 16 * i;
        file.resize(std::max(file.size(), entry + 16));
        std::copy(tables[i].first.begin(), tables[i].first.end(), file.begin() + static_cast<std::ptrdiff_t>(entry));
        Put32(file, entry + 8, static_cast<std::uint32_t>(offset));
        Put32(file, entry + 12, static_cast<std::uint32_t>(tables[i].second.size()));
        file.resize(offset);
        file.insert(file.end(), tables[i].second.begin(), tables[i].second.end());
        offset = (file.size() + 3) & ~std::size_t{3};
    }
    return file;
}

TEST(PDFFontTables, FindsTablesByTagAndReadsThem) {
    auto file = Font({{"OS/2", OS2(3)}, {"head", Head(2048)}});
    auto head = FindTrueTypeTable(file, "head");
    auto os2 = FindTrueTypeTable(file, "OS/2");
    ASSERT_TRUE(head && os2);
    auto h = ParseTrueTypeHead(*head);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->UnitsPerEm, 2048);
    EXPECT_EQ(ScaleTo1000(h->XMin, h->UnitsPerEm), -665);
    EXPECT_EQ(ScaleTo1000(h->YMin, h->UnitsPerEm), -325);
    EXPECT_EQ(ScaleTo1000(h->XMax, h->UnitsPerEm), 2000);
    EXPECT_EQ(ScaleTo1000(h->YMax, h->UnitsPerEm), 1006);
    auto o = ParseTrueTypeOS2(*os2);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->FamilyClass, 1);
    EXPECT_TRUE(SerifFamilyClass(o->FamilyClass));
    EXPECT_EQ(o->WeightClass, 700);
    EXPECT_EQ(o->CapHeight, std::optional<std::int16_t>(1467));
    EXPECT_EQ(StemVFromWeight(o->WeightClass), 150);
    EXPECT_EQ(StemVFromWeight(400), 80);
    EXPECT_FALSE(ParseTrueTypeOS2(OS2(1))->CapHeight);
    EXPECT_FALSE(SerifFamilyClass(8));  // sans serif
    EXPECT_FALSE(ScriptFamilyClass(o->FamilyClass));
    EXPECT_TRUE(ScriptFamilyClass(10));
    EXPECT_FALSE(SerifFamilyClass(10));
}

TEST(PDFFontTables, ItalicAngleOfThePostTable) {
    std::vector<Byte> post(32);
    Put32(post, 0, 0x00030000);
    Put32(post, 4, static_cast<std::uint32_t>(-14 * 65536 - 32768));  // -14.5 degrees
    EXPECT_EQ(ParseTrueTypeItalicAngle(post), std::optional<double>(-14.5));
    EXPECT_EQ(ParseTrueTypeItalicAngle(std::span<const Byte>(post).first(8)), std::optional<double>(-14.5));
    EXPECT_FALSE(ParseTrueTypeItalicAngle(std::span<const Byte>(post).first(7)));
}

TEST(PDFFontTables, UnderlineOfThePostTable) {
    std::vector<Byte> post(32);
    Put16(post, 8, static_cast<std::uint16_t>(-217));  // 217 units below the baseline
    Put16(post, 10, 150);
    const auto underline = ParseTrueTypeUnderline(post);
    ASSERT_TRUE(underline);
    EXPECT_EQ(underline->Position, -217);
    EXPECT_EQ(underline->Thickness, 150);
    EXPECT_TRUE(ParseTrueTypeUnderline(std::span<const Byte>(post).first(12)));
    EXPECT_FALSE(ParseTrueTypeUnderline(std::span<const Byte>(post).first(11)));
}

TEST(PDFFontTables, MissingShortOrOutOfRangeTablesGiveNothing) {
    auto file = Font({{"head", Head(1000)}});
    EXPECT_FALSE(FindTrueTypeTable(file, "OS/2"));
    // The directory claims more tables than the file holds.
    auto truncated = file;
    Put16(truncated, 4, 40);
    EXPECT_FALSE(FindTrueTypeTable(truncated, "OS/2"));
    // A table whose length runs past the end of the file.
    auto overlong = file;
    Put32(overlong, 12 + 12, 1u << 30);
    EXPECT_FALSE(FindTrueTypeTable(overlong, "head"));
    EXPECT_FALSE(FindTrueTypeTable(std::span<const Byte>(file.data(), 3), "head"));
    // Tables too short or not what they claim.
    auto head = Head(1000);
    EXPECT_FALSE(ParseTrueTypeHead(std::span<const Byte>(head.data(), 40)));
    EXPECT_FALSE(ParseTrueTypeHead(Head(0)));
    head[12] = 0;
    EXPECT_FALSE(ParseTrueTypeHead(head));
    EXPECT_FALSE(ParseTrueTypeOS2(std::vector<Byte>(20)));
}

TEST(PDFFontTables, ReadsOneFontOfACollection) {
    // "ttcf", version, two fonts; the second font's directory at byte 64.
    std::vector<Byte> file(20);
    std::copy_n("ttcf", 4, file.begin());
    Put32(file, 4, 0x00010000);
    Put32(file, 8, 2);
    Put32(file, 12, 0x7FFFFFF0);  // the first font's directory lies outside the file
    Put32(file, 16, 64);
    auto font = Font({{"head", Head(1000)}}, 64);
    std::copy(file.begin(), file.end(), font.begin());
    EXPECT_FALSE(FindTrueTypeTable(font, "head", 0));
    auto head = FindTrueTypeTable(font, "head", 1);
    ASSERT_TRUE(head);
    EXPECT_EQ(ParseTrueTypeHead(*head)->UnitsPerEm, 1000);
    EXPECT_FALSE(FindTrueTypeTable(font, "head", 2));
}

}  // namespace
