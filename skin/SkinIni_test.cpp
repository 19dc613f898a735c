#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "skin/SkinIni.h"

namespace {

using namespace std::literals;

std::unique_ptr<TQuickIni> Ini(const std::string& text) {
    auto ini = std::make_unique<TQuickIni>();
    TStringStream stream(text);
    ini->LoadFromStream(&stream);
    return ini;
}

TEST(QuickIni, LooksUpTheFirstMatchingLineOfTheFirstMatchingSection) {
    struct Case {
        std::string_view text;
        const char* section;
        const char* key;
        const char* expected;  // the default is "def"
    };
    const Case cases[] = {
        {"[Colours]\r\n; note\r\nMenu = 1 2 3\r\nmenu=4\r\n"sv, "colours", "MENU", "1 2 3"},
        {"[A]\nKey=\nKey=later\n"sv, "A", "key", "def"},          // the empty value decides
        {"Key=early\n[A]\nOther=1\n"sv, "A", "Key", "def"},        // before any section: never found
        {"Key=early\n[A]\n"sv, "", "Key", "def"},
        {"[A]\rKey=1\r[B]\rKey=2\r"sv, "B", "Key", "2"},            // CR alone ends lines
        {"[A]\nX=1\n[A]\nKey=2\n"sv, "A", "Key", "def"},            // only the first [A] counts
        {"[ A ]\nKey=1\n"sv, "A", "Key", "def"},                   // no spaces inside brackets
        {"  [A]  \n\t Key = a = b \n"sv, "A", "key", "a = b"},     // trimmed; the first "=" splits
        {"[A]\nKey=1\0\nOther=2\n"sv, "A", "Other", "def"},        // a zero byte ends the text
        {"[A]\nNoEquals\n"sv, "A", "NoEquals", "def"},
        {"[A]\n;Key=1\nKey=2\n"sv, "A", "Key", "2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Ini(std::string(c.text))->ReadString(c.section, c.key, "def"), c.expected) << c.text;
    }
}

TEST(QuickIni, ReadsIntegersDecimalAndHexadecimal) {
    struct Case {
        const char* value;
        int expected;  // the default is -7
    };
    const Case cases[] = {
        {"42", 42}, {"-3", -3}, {"0x1F", 31}, {"0X1f", 31}, {"$10", 16}, {"0x", -7}, {"12abc", -7},
        {"99999999999", -7}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}, {"2147483648", -7},
        {"0xFFFFFFFF", -1}, {"0x100000000", -7}, {"", -7}, {"1 2", -7}, {"+5", 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Ini(std::string("[S]\nK=") + c.value + "\n")->ReadInteger("s", "k", -7), c.expected) << c.value;
    }
}

TEST(QuickIni, ListsSectionsInFileOrder) {
    const auto ini = Ini("; top\n[Personality]\nLeft=a.bmp\n[ Colours ]\n[Button0]\n");
    std::vector<std::string> sections{"old"};
    ini->ReadSections(sections);
    EXPECT_EQ(sections, (std::vector<std::string>{"Personality", "Colours", "Button0"}));
}

TEST(QuickIni, ReadsFromTheStreamPositionAndIgnoresNoStream) {
    TQuickIni ini;
    ini.LoadFromStream(nullptr);
    EXPECT_EQ(ini.ReadString("A", "K", "def"), "def");
    TStringStream stream("[B]\nK=0\n[A]\nK=1\n");
    stream.SetPosition(8);
    ini.LoadFromStream(&stream);
    EXPECT_EQ(ini.ReadString("A", "K", "def"), "1");
    EXPECT_EQ(ini.ReadString("B", "K", "def"), "def");
}

}  // namespace
