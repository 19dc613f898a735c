// Line breaking with a fake measurer: every character 10 pixels wide.
#include <gmock/gmock.h>

#include "report/text/QRLineBreaking.h"

namespace {

int TenPerCharacter(const String& text) { return static_cast<int>(text.size()) * 10; }

struct TBreakCase {
    const wchar_t* name;
    String text;
    TQRLineBreakOptions options;
    std::vector<String> lines;
};

TEST(QRLineBreaking, Cases) {
    const TBreakCase cases[] = {
        {L"empty text gives one empty line", L"", {100, false, true}, {L""}},
        {L"carriage returns split, line feeds vanish", L"a\r\nb\r", {100, false, true}, {L"a", L"b", L""}},
        {L"AutoSize keeps a paragraph whole", L"one two three four", {30, true, true}, {L"one two three four"}},
        {L"AutoSize still splits at carriage returns", L"one\rtwo", {30, true, true}, {L"one", L"two"}},
        {L"two words in a one-word label", L"abc def", {40, false, true}, {L"abc ", L"def"}},
        {L"hyphen ends a word", L"ab-cd", {30, false, true}, {L"ab-", L"cd"}},
        {L"an over-wide word breaks over lines", L"fulano@exemplo.com", {60, false, true},
         {L"fulano", L"@exemp", L"lo.com"}},
        {L"an over-wide word after words", L"e-mail: fulano@exemplo.com", {60, false, true},
         {L"e-", L"mail: ", L"fulano", L"@exemp", L"lo.com"}},
        {L"the tail of an over-wide word joins the next", L"abcdefgh ij", {60, false, true},
         {L"abcdef", L"gh ij"}},
        {L"WordWrap off: one clipped line per paragraph", L"one two three\rfour", {60, false, false},
         {L"one tw", L"four"}},
        {L"a label narrower than a letter still ends", L"abc", {5, false, true}, {L"a", L"b", L"c"}},
    };
    for (const TBreakCase& c : cases)
        EXPECT_EQ(BreakIntoLines(c.text, c.options, TenPerCharacter), c.lines) << c.name;
}

}  // namespace
