#include "report/builder/QRBuilderRules.h"

#include <gtest/gtest.h>

#include "framework/rtl/StringUtils.h"
#include "report/expressions/QRLibrary.h"
#include "report/expressions/QREvaluator.h"

namespace {

TEST(QRBuilderRules, EachLineBreakBecomesOneSpace) {
    const struct {
        const wchar_t* Text;
        const wchar_t* Expected;
    } cases[] = {{L"x\r\nand y", L"x and y"}, {L"a\r", L"a "}, {L"a\nb", L"a b"}, {L"a\r\rb", L"a  b"},
                 {L"a\n\r\nb", L"a  b"}, {L"", L""}, {L"1+1", L"1+1"}};
    for (const auto& c : cases) EXPECT_EQ(RemoveLineBreaks(c.Text), c.Expected) << StringToUtf8(c.Text);
}

TEST(QRBuilderRules, ArgumentsBecomeTheCall) {
    const struct {
        std::vector<String> Arguments;
        const wchar_t* Expected;
    } cases[] = {{{L"1", L"2"}, L"NAME(1,2)"}, {{L"", L"2"}, L"NAME(2)"}, {{L"1", L""}, L"NAME(1,)"},
                 {{L"", L""}, L"NAME()"}};
    for (const auto& c : cases) EXPECT_EQ(FunctionCallText(L"NAME", L"2NN", c.Arguments), c.Expected);
    EXPECT_EQ(FunctionCallText(L"PAGENUMBER", L"7", {}), L"PAGENUMBER");
    EXPECT_EQ(FunctionCallText(L"NAME", L"", {}), L"NAME");
    EXPECT_EQ(ArgumentLetters(L"2NN"), L"NN");
}

TEST(QRBuilderRules, ArgumentLabelsNameTheKind) {
    EXPECT_EQ(ArgumentLabel(L'N', 1), L"Argument 1 - numeric value");
    EXPECT_EQ(ArgumentLabel(L'S', 2), L"Argument 2 - text Value");
    EXPECT_EQ(ArgumentLabel(L'B', 3), L"Argument 3 - logical value");
    EXPECT_EQ(ArgumentLabel(L'V', 4), L"Argument 4 - value");
    EXPECT_EQ(ArgumentLabel(L'X', 1), L"");
}

TEST(QRBuilderRules, AGroupListsTheFunctionsOfItsDigitAndAllListsEvery) {
    const TQRFunctionLibrary& library = GetFunctionLibrary();
    int all = 0, group3 = 0;
    for (int i = 0; i < library.Count(); ++i) {
        const String& signature = library.EntryAt(i)->Data;
        all += InFunctionGroup(signature, 0);
        if (InFunctionGroup(signature, 3)) {
            ++group3;
            EXPECT_EQ(signature.substr(0, 1), L"3");
        }
    }
    EXPECT_EQ(all, library.Count());
    EXPECT_GT(group3, 0);
    EXPECT_LT(group3, all);
    EXPECT_FALSE(InFunctionGroup(L"", 3));
}

TEST(QRBuilderRules, ADescriptionSplitsAtItsFirstBar) {
    EXPECT_EQ(SplitDescription(L"INT(X)|Integer part|of X"), (std::pair<String, String>{L"INT(X)", L"Integer part|of X"}));
    EXPECT_EQ(SplitDescription(L"NOBAR"), (std::pair<String, String>{L"NOBAR", L""}));
}

TEST(QRBuilderRules, ValidationReportsByTheResultsKind) {
    TQREvaluator evaluator;
    EXPECT_EQ(ValidationMessage(evaluator.CalculateOnce(L"1+1")), L"There are no errors. The result is : 2");
    EXPECT_EQ(ValidationMessage(evaluator.CalculateOnce(L"''")), L"There are no errors. The result is : ");
    const TQREvResultRecord unknown = evaluator.CalculateOnce(L"NOSUCHNAME");
    ASSERT_TRUE(unknown.IsError());
    EXPECT_EQ(ValidationMessage(unknown), L"ERROR: " + unknown.Text);
    EXPECT_FALSE(unknown.Text.empty());
}

}  // namespace
