#include "webupdate/UpdatePage.h"

#include <gtest/gtest.h>

namespace {

std::vector<String> Lines(std::initializer_list<const wchar_t*> lines) {
    return std::vector<String>(lines.begin(), lines.end());
}

}  // namespace

TEST(ParseInfoPage, ReadsEveryValueOfAPage) {
    const auto page = Lines({
        L"<HTML><HEAD>",
        L"<META NAME=\"wuProduct\" CONTENT=\"Folhavida\">",
        L"<META NAME=\"wuVersion\" CONTENT=\"3.1\">",
        L"  <META NAME=\"wuAuthor\" CONTENT=\"Equipe Folhavida\">",
        L"<META NAME=\"wuEmail\" CONTENT=\"suporte@folhavida.com.br\">",
        L"<META NAME=\"wuDownload\" CONTENT=\"/folhavida/Folhavida31.exe\">",
        L"<META NAME=\"wuClientSideName\" CONTENT=\"Folhavida31.exe\">",
        L"<META NAME=\"wuRunParameters\" CONTENT=\"/silent\">",
        L"<META NAME=\"other\" CONTENT=\"ignored\">",
        L"</HEAD></HTML>",
    });
    const TWuPageValues v = ParseInfoPage(page, TWuTagNames{});
    EXPECT_EQ(v.ProductName, L"Folhavida");
    EXPECT_EQ(v.Version, L"3.1");
    EXPECT_EQ(v.Author, L"Equipe Folhavida");
    EXPECT_EQ(v.Email, L"suporte@folhavida.com.br");
    EXPECT_EQ(v.Download, L"/folhavida/Folhavida31.exe");
    EXPECT_EQ(v.ClientFileName, L"Folhavida31.exe");
    EXPECT_EQ(v.RunParameters, L"/silent");
    EXPECT_EQ(v.Redirection, L"");
}

TEST(ParseInfoPage, LineRulesTable) {
    const String long254(254, L'x'), long300(300, L'y');
    struct Case {
        String Line;
        String Version;  // what the line gives the version
    };
    const Case cases[] = {
        {L"<meta name=\"wuVersion\" content=\"2\">", L""},                   // META NAME is case-sensitive
        {L"<META NAME=\"wuVersion\" content=\"2.5\">", L"2.5"},              // CONTENT= in any case
        {L"<META NAME=\"wuVersion\" CoNtEnT=\"2.6\">", L"2.6"},
        {L"<META NAME=\"wuversion\" CONTENT=\"2\">", L""},                   // the name is case-sensitive
        {L"<META NAME=\"wuVersion\">", L"ME="},                             // no CONTENT=: from the ninth character
        {L"<META NAME=\"wuVersion\" CONTENT=\"\">", L""},
        {L"<META NAME=\"wuVersion\" CONTENT=\"" + long254 + L"\">", long254},
        {L"<META NAME=\"wuVersion\" CONTENT=\"" + long300 + L"\">", L""},    // no quote within 255: empty
        {L"<META NAME=\"wuVersion\" CONTENT=\"unclosed", L""},
        {L"META NAME", L""},                                                 // the line ends where the name would start
        {L"META NAME=\"", L""},
        {L"<META NAME=\"wuVersion", L""},
        {L"CONTENT=\"9\" META NAME=\"wuVersion\"", L"9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseInfoPage({c.Line}, TWuTagNames{}).Version, c.Version) << testing::PrintToString(c.Line);
}

TEST(ParseInfoPage, MissingValuesStayEmptyAndALaterLineWins) {
    const auto page = Lines({
        L"<META NAME=\"wuVersion\" CONTENT=\"1.0\">",
        L"<META NAME=\"wuProduct\" CONTENT=\"Primeiro\">",
        L"<META NAME=\"wuVersion\" CONTENT=\"2.0\">",
    });
    const TWuPageValues v = ParseInfoPage(page, TWuTagNames{});
    EXPECT_EQ(v.Version, L"2.0");
    EXPECT_EQ(v.ProductName, L"Primeiro");
    EXPECT_EQ(v.Author, L"");
    EXPECT_EQ(v.Download, L"");
    EXPECT_EQ(ParseInfoPage({}, TWuTagNames{}).Version, L"");
}

TEST(ParseInfoPage, TheTagNamesAreConfigurable) {
    TWuTagNames tags;
    tags.Version = L"versao";
    tags.ProductName = L"versao";  // two values from one name
    const TWuPageValues v = ParseInfoPage({L"<META NAME=\"versao\" CONTENT=\"7\">"}, tags);
    EXPECT_EQ(v.Version, L"7");
    EXPECT_EQ(v.ProductName, L"7");
}

TEST(SplitPageLines, AtCrLfOrEitherAlone) {
    const std::vector<String> expected = {L"a", L"b", L"c", L"", L"d"};
    EXPECT_EQ(SplitPageLines(L"a\r\nb\nc\r\rd"), expected);
    EXPECT_EQ(SplitPageLines(L"x\r\n"), std::vector<String>{L"x"});
    EXPECT_TRUE(SplitPageLines(L"").empty());
}

TEST(DecodePageBytes, Utf8OrElseWindows1252) {
    EXPECT_EQ(DecodePageBytes("Atualiza\xC3\xA7\xC3\xA3o"), L"Atualiza\u00E7\u00E3o");
    EXPECT_EQ(DecodePageBytes("Atualiza\xE7\xE3o \x80"), L"Atualiza\u00E7\u00E3o \u20AC");
    EXPECT_EQ(DecodePageBytes("\xC3"), L"\u00C3");  // a cut sequence is no UTF-8
    EXPECT_EQ(DecodePageBytes("\xF0\x9F\x98\x80"), String(L"\xD83D\xDE00"));
}

TEST(PageText, ReadableTextOfTheBody) {
    const auto page = Lines({
        L"<html><head><title>T</title>",
        L"<META NAME=\"wuVersion\" CONTENT=\"3.1\">",
        L"<style>p { color: red }</style></head>",
        L"<body><h1>Folhavida 3.1</h1>",
        L"<p>Novidades:   melhor &amp; mais <b>r\u00E1pido</b></p>",
        L"<ul><li>um</li><li>dois &#233; &lt;tr\u00EAs&gt;</li></ul>",
        L"<script>var x = '<p>';</script>fim</body></html>",
    });
    EXPECT_EQ(PageText(page), L"Folhavida 3.1\nNovidades: melhor & mais r\u00E1pido\num\ndois \u00E9 <tr\u00EAs>\nfim");
    EXPECT_EQ(PageText(Lines({L"<unclosed"})), L"");
    EXPECT_EQ(PageText(Lines({L"Vers&atilde;o, a&ccedil;&Atilde;o, &eacute; &ocirc;&uuml; &xtilde; &a"})),
              L"Vers\u00E3o, a\u00E7\u00C3o, \u00E9 \u00F4\u00FC &xtilde; &a");
    EXPECT_EQ(PageText(Lines({L"a &bogus; &#; &#99999999; b"})), L"a &bogus; &#; &#99999999; b");
}
