#include "framework/rtl/StringUtils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(StringUtilsTest, CopyClampsLikeTheClassicCopy) {
    struct Case { int index, count; const wchar_t* expected; };
    const Case cases[] = {
        {1, 3, L"abc"}, {2, 2, L"bc"}, {0, 2, L"ab"}, {-5, 1, L"a"}, {4, 10, L"def"},
        {6, 1, L"f"},   {7, 1, L""},   {100, 1, L""}, {2, 0, L""},  {2, -1, L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Copy(L"abcdef", c.index, c.count), c.expected) << c.index << "," << c.count;
    EXPECT_EQ(Copy(L"", 1, 1), L"");
}

TEST(StringUtilsTest, PosIsOneBasedAndZeroWhenAbsentOrEmpty) {
    EXPECT_EQ(Pos(L"c", L"abcabc"), 3);
    EXPECT_EQ(Pos(L"abc", L"abcabc"), 1);
    EXPECT_EQ(Pos(L"x", L"abc"), 0);
    EXPECT_EQ(Pos(L"", L"abc"), 0);
    EXPECT_EQ(Pos(L"abcd", L"abc"), 0);
    EXPECT_EQ(PosEx(L"c", L"abcabc", 4), 6);
    EXPECT_EQ(PosEx(L"c", L"abcabc", 7), 0);
    EXPECT_EQ(PosEx(L"c", L"abcabc", 0), 0);
}

TEST(StringUtilsTest, DeleteAndInsertClamp) {
    struct DeleteCase { int index, count; const wchar_t* expected; };
    const DeleteCase deletes[] = {
        {2, 2, L"adef"}, {1, 100, L""}, {0, 2, L"abcdef"}, {7, 1, L"abcdef"}, {3, 0, L"abcdef"}, {6, 5, L"abcde"},
    };
    for (const DeleteCase& c : deletes) {
        String s = L"abcdef";
        Delete(s, c.index, c.count);
        EXPECT_EQ(s, c.expected) << c.index << "," << c.count;
    }
    struct InsertCase { int index; const wchar_t* expected; };
    const InsertCase inserts[] = {{1, L"XYabc"}, {2, L"aXYbc"}, {4, L"abcXY"}, {99, L"abcXY"}, {0, L"XYabc"}, {-3, L"XYabc"}};
    for (const InsertCase& c : inserts) {
        String s = L"abc";
        Insert(L"XY", s, c.index);
        EXPECT_EQ(s, c.expected) << c.index;
    }
}

TEST(StringUtilsTest, TrimRemovesBlanksAndControlCharacters) {
    EXPECT_EQ(Trim(L" \t\r\n a b \x01"), L"a b");
    EXPECT_EQ(TrimLeft(L"  a  "), L"a  ");
    EXPECT_EQ(TrimRight(L"  a  "), L"  a");
    EXPECT_EQ(Trim(L"   "), L"");
    EXPECT_EQ(Trim(L"\u00e1"), L"\u00e1");
}

TEST(StringUtilsTest, StringReplaceHonoursFlags) {
    EXPECT_EQ(StringReplace(L"aXbxc", L"x", L"-"), L"aXb-c");
    EXPECT_EQ(StringReplace(L"aXbxc", L"x", L"-", rfIgnoreCase), L"a-bxc");
    EXPECT_EQ(StringReplace(L"aXbxc", L"x", L"-", {rfReplaceAll, rfIgnoreCase}), L"a-b-c");
    EXPECT_EQ(StringReplace(L"aaaa", L"aa", L"a", rfReplaceAll), L"aa");  // no rescan of output
    EXPECT_EQ(StringReplace(L"abc", L"", L"x", rfReplaceAll), L"abc");
    EXPECT_EQ(StringReplace(L"A\u00c7\u00c3O", L"\u00e7\u00e3o", L"cao", {rfReplaceAll, rfIgnoreCase}), L"Acao");
}

TEST(StringUtilsTest, AsciiCaseFunctionsLeaveAccentsAlone) {
    EXPECT_EQ(UpperCase(L"a\u00e7z"), L"A\u00e7Z");
    EXPECT_EQ(LowerCase(L"A\u00c7Z"), L"a\u00c7z");
    EXPECT_EQ(AnsiUpperCase(L"a\u00e7\u00e3o"), L"A\u00c7\u00c3O");
    EXPECT_EQ(AnsiLowerCase(L"A\u00c7\u00c3O"), L"a\u00e7\u00e3o");
}

TEST(StringUtilsTest, Comparisons) {
    EXPECT_EQ(CompareText(L"abc", L"ABC"), 0);
    EXPECT_LT(CompareText(L"abc", L"abd"), 0);
    EXPECT_GT(CompareText(L"abcd", L"ABC"), 0);
    EXPECT_GT(CompareText(L"_", L"a"), 0);  // folded to upper case: '_' (95) sorts after 'A' (65)
    EXPECT_TRUE(SameText(L"Hello", L"hELLO"));
    EXPECT_FALSE(SameText(L"\u00e7", L"\u00c7"));
    EXPECT_LT(CompareStr(L"ABC", L"abc"), 0);
    EXPECT_EQ(CompareStr(L"abc", L"abc"), 0);
    EXPECT_EQ(AnsiCompareText(L"\u00e7\u00e3o", L"\u00c7\u00c3O"), 0);
    EXPECT_TRUE(AnsiSameText(L"\u00e9", L"\u00c9"));
    EXPECT_LT(AnsiCompareStr(L"a", L"b"), 0);
    EXPECT_GT(AnsiCompareStr(L"b", L"a"), 0);
}

TEST(StringUtilsTest, SmallHelpers) {
    EXPECT_EQ(QuotedStr(L"it's"), L"'it''s'");
    EXPECT_EQ(QuotedStr(L""), L"''");
    EXPECT_EQ(IntToHex(255, 4), L"00FF");
    EXPECT_EQ(IntToHex(0, 0), L"0");
    EXPECT_EQ(IntToHex(0xABCDEF, 2), L"ABCDEF");
    EXPECT_EQ(IntToHex(-1, 2), L"FFFFFFFFFFFFFFFF");
    EXPECT_EQ(StringOfChar(L'-', 3), L"---");
    EXPECT_EQ(StringOfChar(L'-', -1), L"");
}

TEST(StringUtilsTest, Utf8RoundTripIncludingSurrogatePairs) {
    const String text = L"a\u00e7\u20AC\xD83D\xDE00";  // a, c-cedilla, euro, U+1F600
    const std::string utf8 = "a\xC3\xA7\xE2\x82\xAC\xF0\x9F\x98\x80";
    EXPECT_EQ(StringToUtf8(text), utf8);
    EXPECT_EQ(Utf8ToString(utf8), text);
}

TEST(StringUtilsTest, MalformedUtf8AndLoneSurrogatesBecomeReplacementCharacters) {
    struct Case { std::string in; String expected; };
    const std::vector<Case> cases = {
        {"\xFF" "a", L"\xFFFD" L"a"},
        {"\xC3", L"\xFFFD"},                     // truncated at the end
        {"\xE2\x82" "a", L"\xFFFD" L"a"},        // truncated before ASCII
        {"\xC0\xAF", L"\xFFFD"},                 // overlong '/'
        {"\xED\xA0\x80", L"\xFFFD"},             // encoded surrogate
        {"\xF4\x90\x80\x80", L"\xFFFD"},         // beyond U+10FFFF
    };
    for (const Case& c : cases) EXPECT_EQ(Utf8ToString(c.in), c.expected) << c.in;
    EXPECT_EQ(StringToUtf8(L"\xD800x"), "\xEF\xBF\xBDx");
}

TEST(StringUtilsTest, AnsiConversionUsesTheRequestedCodePage) {
    const String text = L"Curr\u00edculo \u20AC";
    EXPECT_EQ(StringToAnsi(text, 1252), "Curr\xED" "culo \x80");
    EXPECT_EQ(AnsiToString("Curr\xED" "culo \x80", 1252), text);
    EXPECT_EQ(StringToAnsi(L"\u4E2D", 1252), "?");
    EXPECT_EQ(StringToAnsi(L""), "");
}

TEST(ExceptionTest, WhatIsUtf8OfTheMessage) {
    Exception e(L"Arquivo n\u00e3o encontrado");
    EXPECT_STREQ(e.what(), "Arquivo n\xC3\xA3o encontrado");
    e.SetMessage(L"\u00e7");
    EXPECT_STREQ(e.what(), "\xC3\xA7");
    EXPECT_EQ(e.Message(), L"\u00e7");
    EXPECT_THROW(Abort(), EAbort);
}

}  // namespace
