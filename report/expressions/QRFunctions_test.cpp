#include "report/expressions/QRFunctions.h"

#include <gtest/gtest.h>

#include "framework/rtl/Clock.h"
#include "framework/rtl/DateTime.h"
#include "report/expressions/QREvaluator.h"
#include "report/expressions/QRLibrary.h"
#include "testing/QRTestDataSet.h"
#include "testing/QRTestEvaluation.h"

namespace {

// Every case is localized: for strings and errors "." in "text" stands for the decimal separator.
const EvaluationCase functionCases[] = {
    {L"IF(1 > 0, 'yes', 'no')", rkString, L"yes", 0},
    {L"IF(1 > 2, 'yes', 3)", rkInteger, nullptr, 3},
    {L"IF(TRUE, XYZ, 1)", rkError, L"Unknown function : XYZ", 0},
    {L"IF(1, 'a', 'b')", rkError, L"Wrong arguments for IF", 0},
    {L"IF(TRUE, 'a')", rkError, L"Wrong arguments for IF", 0},
    {L"TYPEOF(2.5)", rkString, L"FLOAT", 0},
    {L"TYPEOF('x')", rkString, L"STRING", 0},
    {L"TYPEOF(1)", rkString, L"INTEGER", 0},
    {L"TYPEOF(1 = 1)", rkString, L"BOOLEAN", 0},
    {L"TYPEOF(1 / 0)", rkString, L"ERROR", 0},
    {L"TYPEOF(1, 2)", rkError, L"Wrong arguments for TypeOf", 0},
    {L"TRUE", rkBoolean, nullptr, 1},
    {L"false", rkBoolean, nullptr, 0},
    {L"TRUE(1)", rkError, L"Too many arguments", 0},
    {L"INT(-2.7)", rkInteger, nullptr, -2},
    {L"INT(2.7)", rkInteger, nullptr, 2},
    {L"INT(5)", rkInteger, nullptr, 5},
    {L"INT('5')", rkError, L"Wrong arguments for INT", 0},
    {L"INT(1E10)", rkError, L"Integer overflow", 0},
    {L"INT(-3E9)", rkError, L"Integer overflow", 0},
    {L"FRAC(-2.5)", rkFloat, nullptr, -0.5},
    {L"FRAC(3)", rkFloat, nullptr, 0},
    {L"FRAC('x')", rkError, L"", 0},
    {L"SQRT(16)", rkFloat, nullptr, 4},
    {L"SQRT(2.25)", rkFloat, nullptr, 1.5},
    {L"SQRT(-1)", rkError, L"Invalid argument to SQRT function", 0},
    {L"SQRT('x')", rkError, L"Invalid argument to SQRT function", 0},
    {L"DIV(7, 2)", rkInteger, nullptr, 3},
    {L"DIV(-7, 2)", rkInteger, nullptr, -3},
    {L"DIV(7, -2)", rkInteger, nullptr, -3},
    {L"DIV(7.5, 2)", rkInteger, nullptr, 4},
    {L"DIV(6.5, 2)", rkInteger, nullptr, 3},
    {L"DIV(7, 2.5)", rkInteger, nullptr, 3},
    {L"DIV(1, 0)", rkError, L"Division by Zero", 0},
    {L"DIV(1, 0.4)", rkError, L"Division by Zero", 0},
    {L"DIV(1)", rkError, L"Wrong arguments for DIV", 0},
    {L"DIV('6', 2)", rkError, L"Wrong arguments for DIV", 0},
    {L"DIV(-2147483647 - 1, -1)", rkError, L"Integer overflow", 0},
    {L"DIV(1E10, 2)", rkError, L"Integer overflow", 0},
    {L"STR(TRUE)", rkString, L"True", 0},
    {L"STR(12)", rkString, L"12", 0},
    {L"STR(2.5)", rkString, L"2.5", 0},
    {L"STR(7 / 2)", rkString, L"3.5", 0},
    {L"STR('x')", rkError, L"Conversion error", 0},
    {L"STR(1 / 0)", rkError, L"Conversion error", 0},
    {L"STR()", rkError, L"Conversion error", 0},
    {L"UPPER('abc')", rkString, L"ABC", 0},
    {L"LOWER('ABC')", rkString, L"abc", 0},
    {L"UPPER(12)", rkError, L"12", 0},
    {L"LOWER(1 / 0)", rkError, L"Cannot divide by 0", 0},
    {L"UPPER('a', 'b')", rkError, L"Missing argument for UPPER", 0},
    {L"LOWER", rkError, L"Missing argument for LOWER", 0},
    {L"PRETTY('hELLO wORLD')", rkString, L"Hello world", 0},
    {L"PRETTY('')", rkString, L"", 0},
    {L"PRETTY(TRUE)", rkError, L"True", 0},
    {L"PRETTY()", rkError, L"Missing argument for PRETTY", 0},
    {L"COPY('abcdef', 2, 3)", rkString, L"bcd", 0},
    {L"COPY('abc', 0, 2)", rkString, L"ab", 0},
    {L"COPY('abc', -5, 2)", rkString, L"ab", 0},
    {L"COPY('abc', 2, 100)", rkString, L"bc", 0},
    {L"COPY('abc', 4, 1)", rkString, L"", 0},
    {L"COPY('abc', 2147483647, 2147483647)", rkString, L"", 0},
    {L"COPY('abc', 2, -1)", rkString, L"", 0},
    {L"COPY('abc', 2)", rkError, L"", 0},
    {L"COPY('abc', 1.0, 2)", rkError, L"", 0},
    {L"FORMATNUMERIC('0.00', 3.14159)", rkString, L"3.14", 0},
    {L"FORMATNUMERIC('000', 7)", rkString, L"007", 0},
    {L"FORMATNUMERIC(1, 2)", rkError, L"", 0},
    {L"FORMATNUMERIC('0')", rkError, L"", 0},
    {L"TIME(1)", rkError, L"", 0},
    {L"DATE(1)", rkError, L"", 0},
};

class FunctionTable : public testing::TestWithParam<wchar_t> {};

TEST_P(FunctionTable, EvaluatesEveryCase) {
    DecimalSeparatorScope separator(GetParam());
    TQREvaluator evaluator;
    for (EvaluationCase c : functionCases) {
        c.localized = true;
        ExpectResult(c, evaluator.CalculateOnce(c.expression), GetParam());
    }
}

INSTANTIATE_TEST_SUITE_P(DecimalSeparators, FunctionTable, testing::Values(L'.', L','));

TEST(Functions, UpperAndLowerFollowTheLocale) {
    TQREvaluator evaluator;
    EXPECT_EQ(L"ÇÃO", evaluator.CalculateOnce(L"UPPER('ção')").Text);
    EXPECT_EQ(L"Ótimo", evaluator.CalculateOnce(L"PRETTY('óTIMO')").Text);
}

TEST(Functions, DateAndTimeReadTheClock) {
    const TDateTime moment = EncodeDate(2026, 3, 4) + EncodeTime(13, 5, 6, 0);
    ScopedClock clock(moment);
    TQREvaluator evaluator;
    EXPECT_EQ(DateToStr(moment), evaluator.CalculateOnce(L"DATE").Text);
    EXPECT_EQ(TimeToStr(moment), evaluator.CalculateOnce(L"TIME").Text);
    EXPECT_EQ(L"STRING", evaluator.CalculateOnce(L"TYPEOF(DATE)").Text);
}

TEST(FunctionLibrary, RegistersTheBuiltInsInOrder) {
    const wchar_t* const names[] = {L"IF",  L"STR",  L"UPPER", L"LOWER",   L"PRETTY", L"TIME", L"DATE",
                                    L"COPY", L"SUM", L"COUNT", L"MAX",     L"MIN",    L"AVERAGE",
                                    L"TRUE", L"FALSE", L"INT", L"FRAC",    L"SQRT",   L"DIV",
                                    L"TYPEOF", L"FORMATNUMERIC"};
    TQRFunctionLibrary& library = GetFunctionLibrary();
    ASSERT_GE(library.Count(), 21);
    for (int i = 0; i < 21; ++i) {
        TQRLibraryEntry* entry = library.EntryAt(i);
        ASSERT_NE(nullptr, entry);
        EXPECT_EQ(names[i], entry->Name);
        EXPECT_EQ(L"Report Engine", entry->Vendor);
    }
    TQRLibraryEntry* div = library.FindEntry(L"div");
    ASSERT_NE(nullptr, div);
    EXPECT_EQ(L"DIV(<X>, <Y>) | Integer division of <X> by <Y>", div->Description);
    EXPECT_EQ(L"2NN", div->Data);
    EXPECT_EQ(L"5BVV", library.FindEntry(L"IF")->Data);
    EXPECT_EQ(L"COPY(<X>, <St>,<Len>)|Returns a substring of string X", library.FindEntry(L"COPY")->Description);
    EXPECT_EQ(nullptr, library.EntryAt(library.Count()));
}

TEST(FunctionLibrary, CreatesElementsByName) {
    TQRFunctionLibrary& library = GetFunctionLibrary();
    EXPECT_EQ(L"TQREvSumFunction", library.CreateFunction(L"sum")->ClassName());
    EXPECT_TRUE(library.CreateFunction(L"SUM")->IsAggregate());
    EXPECT_FALSE(library.CreateFunction(L"IF")->IsAggregate());
    auto unknown = library.CreateFunction(L"NOPE");
    auto* error = dynamic_cast<TQREvElementError*>(unknown.get());
    ASSERT_NE(nullptr, error);
    EXPECT_EQ(L"Unknown function : NOPE", error->Message());
}

}  // namespace
