#include "report/expressions/QREvaluator.h"

#include <gtest/gtest.h>

#include "report/expressions/QREvEnvironment.h"
#include "testing/QRTestDataSet.h"
#include "testing/QRTestEvaluation.h"

namespace {

const EvaluationCase expressionCases[] = {
    // precedence and the left-to-right reading of "-" and "/"
    {L"10 - 4 + 3", rkInteger, nullptr, 9},
    {L"10 - 4 - 3", rkInteger, nullptr, 3},
    {L"12 / 2 * 3", rkFloat, nullptr, 18},
    {L"12 / 2 / 3", rkFloat, nullptr, 2},
    {L"7 / 2", rkFloat, nullptr, 3.5},
    {L"2 + 3 * 4", rkInteger, nullptr, 14},
    {L"(2 + 3) * 4", rkInteger, nullptr, 20},
    {L"10 - (4 + 3)", rkInteger, nullptr, 3},
    {L"-3 + 5", rkInteger, nullptr, 2},
    {L"5--2", rkInteger, nullptr, 7},
    {L"1 + -2", rkInteger, nullptr, -1},
    {L"1 - - 2", rkInteger, nullptr, 3},
    {L"2 * -3", rkInteger, nullptr, -6},
    {L"7 and -1", rkInteger, nullptr, 7},
    {L"Band-1", rkError, L"Unknown function : Band", 0},
    {L"-1 < 1", rkBoolean, nullptr, 1},
    {L"0 = -0", rkBoolean, nullptr, 1},
    {L"2 - 1E-3", rkError, L"Illegal character in numeric contant \"1E\"", 0},
    {L"-(2 * 3)", rkInteger, nullptr, -6},
    {L"+4", rkInteger, nullptr, 4},
    {L"1 + 2.5", rkFloat, nullptr, 3.5},
    {L"1.5E3", rkFloat, nullptr, 1500},
    {L"2147483648", rkFloat, nullptr, 2147483648.0},
    // comparisons
    {L"1 < 2", rkBoolean, nullptr, 1},
    {L"2 <= 2", rkBoolean, nullptr, 1},
    {L"3 >= 4", rkBoolean, nullptr, 0},
    {L"1 <> 2", rkBoolean, nullptr, 1},
    {L"2 = 2.0", rkBoolean, nullptr, 1},
    {L"'b' > 'a'", rkBoolean, nullptr, 1},
    {L"'a' < 'B'", rkBoolean, nullptr, 0},
    {L"'abc' = 'ABC'", rkBoolean, nullptr, 0},
    {L"TRUE = TRUE", rkBoolean, nullptr, 1},
    // strings and mixed kinds
    {L"'ab' + 'cd'", rkString, L"abcd", 0},
    {L"1 + 'x'", rkString, L"1x", 0},
    {L"'x' + 2.5", rkString, L"x2.5", 0, true},
    {L"'v' + TRUE", rkString, L"vTrue", 0},
    {L"'a + b'", rkString, L"a + b", 0},
    {L"[a + b", rkError, L"Missing ]", 0},
    {L"", rkString, L" ", 0},
    // logic
    {L"not (1 > 2)", rkBoolean, nullptr, 1},
    {L"NOT TRUE", rkBoolean, nullptr, 0},
    {L"not 5", rkError, L"Invalid use of NOT", 0},
    {L"TRUE and FALSE", rkBoolean, nullptr, 0},
    {L"FALSE OR TRUE", rkBoolean, nullptr, 1},
    {L"6 and 3", rkInteger, nullptr, 2},
    {L"6 or 3", rkInteger, nullptr, 7},
    {L"1 < 2 and 3", rkBoolean, nullptr, 1},  // comparisons bind loosest: 1 < (2 and 3)
    // commas inside brackets and quotes stay inside one argument
    {L"IF(1 > 0, 'a,b', 'c')", rkString, L"a,b", 0},
    {L"IF(1 > 2, 'c', COPY('a,b,c', 2, 3))", rkString, L",b,", 0},
    // operator errors
    {L"1 / 0", rkError, L"Cannot divide by 0", 0},
    {L"1.5 / 0", rkError, L"Cannot divide by 0", 0},
    {L"'a' - 'b'", rkError, L"Cannot subtract string expressions", 0},
    {L"'a' * 'b'", rkError, L"Cannot multiply string expressions", 0},
    {L"TRUE + TRUE", rkError, L"Cannot add boolean expressions", 0},
    {L"TRUE / FALSE", rkError, L"Cannot divide boolean expressions", 0},
    {L"TRUE < FALSE", rkError, L"Operator < is not compatible with boolean expressions", 0},
    {L"1.5 or 2", rkError, L"Operator OR is not compatible with numeric expressions", 0},
    {L"'a' and 'b'", rkError, L"Operator AND is not compatible with string expressions", 0},
    {L"XYZ + 1", rkError, L"Unknown function : XYZ", 0},
    {L"1 + XYZ", rkError, L"Unknown function : XYZ", 0},
    // syntax errors
    {L"'abc", rkError, L"Missing '", 0},
    {L"(1 + 2", rkError, L"Missing )", 0},
    {L"[abc", rkError, L"Missing ]", 0},
    {L"1E-3", rkError, L"Illegal character in numeric contant \"1E\"", 0},
    {L"12abc", rkError, L"Illegal character in numeric contant \"12abc\"", 0},
    {L"1.2.3", rkError, L"Illegal character in numeric contant \"1.2.3\"", 0},
    {L"-", rkError, L"Illegal character in numeric contant \"0-\"", 0},
    {L"XYZ", rkError, L"Unknown function : XYZ", 0},
    {L"xyz(1)", rkError, L"Unknown function : XYZ", 0},
    {L"IF(1", rkError, L"Unknown function : ", 0},
    {L"[Customer Name]", rkError, L"Unknown function : Customer Name", 0},
    {L"#1", rkError, L"Error in expression : #1", 0},
    {L"1 + ", rkError, L"Error in expression : ", 0},
    // faults mended: integer overflow is an error value, NOT needs a word boundary
    {L"2147483647 + 1", rkError, L"Integer overflow", 0},
    {L"-2147483647 - 2", rkError, L"Integer overflow", 0},
    {L"65536 * 65536", rkError, L"Integer overflow", 0},
    {L"-2147483647 - 1", rkInteger, nullptr, -2147483648.0},
    {L"NOTES", rkError, L"Unknown function : NOTES", 0},
    // faults mended: a float past the double range is an error value, and so is a literal that is
    // a number too large to read
    {L"1E308 * 10", rkError, L"Float overflow", 0},
    {L"-1E308 - 1E308", rkError, L"Float overflow", 0},
    {L"1E308 / 0.1", rkError, L"Float overflow", 0},
    {L"1E400", rkError, L"Float overflow", 0},
    {L"2.5E5000", rkError, L"Float overflow", 0},
    {L"1E308 * 10 > 1", rkError, L"Float overflow", 0},
    {L"1E308 * 1", rkFloat, nullptr, 1E308},
    {L"1E4x", rkError, L"Illegal character in numeric contant \"1E4x\"", 0},
    {L"not(1 = 1)", rkBoolean, nullptr, 0},
};

class ExpressionTable : public testing::TestWithParam<wchar_t> {};

TEST_P(ExpressionTable, EvaluatesEveryCase) {
    DecimalSeparatorScope separator(GetParam());
    TQREvaluator evaluator;
    for (const EvaluationCase& c : expressionCases) ExpectResult(c, evaluator.CalculateOnce(c.expression), GetParam());
}

INSTANTIATE_TEST_SUITE_P(DecimalSeparators, ExpressionTable, testing::Values(L'.', L','));

TEST(Evaluator, EvaluateWithoutCompileRaises) {
    TQREvaluator evaluator;
    try {
        evaluator.Evaluate();
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(L"Evaluator not prepared", e.Message());
    }
    evaluator.Compile(L"1");
    evaluator.Release();
    EXPECT_THROW(evaluator.Evaluate(), Exception);
}

TEST(Evaluator, ResultAsTextOfAnErrorRaises) {
    try {
        ResultAsText(TQREvResultRecord::Error(L"boom"));
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(L"Error in expression : boom", e.Message());
    }
    EXPECT_EQ(L"False", ResultAsText(TQREvResultRecord::Boolean(false)));
    EXPECT_EQ(L"-12", ResultAsText(TQREvResultRecord::Integer(-12)));
}

TEST(Evaluator, RecompileReplacesTheList) {
    TQREvaluator evaluator;
    evaluator.Compile(L"1 + 1");
    evaluator.Compile(L"'x'");
    EXPECT_EQ(L"x", evaluator.Evaluate().Text);
    EXPECT_EQ(L"x", evaluator.Evaluate().Text);  // evaluating again rewinds the list
}

// ---- strings are limited to 255 characters ----

TEST(Evaluator, TextsAreCutTo255Characters) {
    TQREvaluator evaluator;
    const String long300(300, L'a');
    EXPECT_EQ(String(255, L'a'), evaluator.CalculateOnce(L"'" + long300 + L"'").Text);
    const String half(200, L'b');
    EXPECT_EQ(255u, evaluator.CalculateOnce(L"'" + half + L"' + '" + half + L"'").Text.size());
    for (const String& literal : {String(250, L'1') + L"abcdefghij", String(400, L'1')}) {
        TQREvResultRecord error = evaluator.CalculateOnce(literal);
        EXPECT_EQ(rkError, error.Kind);
        EXPECT_EQ(255u, error.Text.size());
    }
}

// ---- nesting limit ----

String Nested(const String& open, const String& inner, const String& close, int depth) {
    String text;
    for (int i = 0; i < depth; ++i) text += open;
    text += inner;
    for (int i = 0; i < depth; ++i) text += close;
    return text;
}

String Chain(int terms) {
    String text = L"1";
    for (int i = 1; i < terms; ++i) text += L"+1";
    return text;
}

TEST(Evaluator, NestingUpToTheLimitEvaluates) {
    TQREvaluator evaluator;
    EXPECT_EQ(7, evaluator.CalculateOnce(Nested(L"(", L"7", L")", 250)).IntValue);
    EXPECT_EQ(5, evaluator.CalculateOnce(Nested(L"INT(", L"5", L")", 250)).IntValue);
    EXPECT_EQ(200, evaluator.CalculateOnce(Chain(200)).IntValue);
}

TEST(Evaluator, NestingBeyondTheLimitIsAnErrorValue) {
    TQREvaluator evaluator;
    const String texts[] = {
        Nested(L"(", L"7", L")", 3000),
        Nested(L"INT(", L"5", L")", 1000),
        Nested(L"not ", L"TRUE", L"", 1000),
        Nested(L"-", L"1", L"", 1000),
        Chain(3000),
        L"TYPEOF(" + Nested(L"(", L"1", L")", 1000) + L")",
    };
    for (const String& text : texts) {
        TQREvResultRecord result = evaluator.CalculateOnce(text);
        EXPECT_EQ(rkError, result.Kind);
        EXPECT_EQ(L"Expression nested too deeply", result.Text);
    }
}

// ---- dataset fields ----

class DataFieldTest : public testing::Test {
protected:
    DataFieldTest() : customers(L"Customers"), orders(L"Orders") {
        name = &customers.AddField(L"Name", TQRFieldKind::Text);
        age = &customers.AddField(L"Age", TQRFieldKind::Integer);
        total = &orders.AddField(L"Total", TQRFieldKind::Float);
        paid = &orders.AddField(L"Paid", TQRFieldKind::Boolean);
        orderName = &orders.AddField(L"Name", TQRFieldKind::Text);
        list = {&customers, &orders};
        evaluator.BindDataSets(&list);
    }

    FakeDataSet customers;
    FakeDataSet orders;
    FakeField* name;
    FakeField* age;
    FakeField* total;
    FakeField* paid;
    FakeField* orderName;
    TQRDataSetList list;
    TQREvaluator evaluator;
};

TEST_F(DataFieldTest, FieldsReadTheirCurrentValue) {
    name->text = L"Ana";
    age->integer = 40;
    total->number = 12.5;
    paid->boolean = true;
    orderName->text = L"order";
    evaluator.Compile(L"IF(Paid, name + ' ' + STR(AGE + 1), 'no')");
    EXPECT_EQ(L"Ana 41", evaluator.Evaluate().Text);
    age->integer = 41;
    EXPECT_EQ(L"Ana 42", evaluator.Evaluate().Text);
    EXPECT_DOUBLE_EQ(12.5, evaluator.CalculateOnce(L"[Total]").FloatValue);
    EXPECT_EQ(L"order", evaluator.CalculateOnce(L"orders.name").Text);     // qualified
    EXPECT_EQ(L"Ana", evaluator.CalculateOnce(L"Name").Text);              // first dataset wins
    EXPECT_EQ(L"Unknown function : Customers.Total", evaluator.CalculateOnce(L"Customers.Total").Text);
}

TEST_F(DataFieldTest, DefaultFieldsAreFetchedAgainByIndex) {
    orders.defaultFields = true;
    total->number = 1.0;
    evaluator.Compile(L"Total");
    orders.ReplaceField(0, L"Total", TQRFieldKind::Float).number = 2.0;
    EXPECT_DOUBLE_EQ(2.0, evaluator.Evaluate().FloatValue);
}

TEST_F(DataFieldTest, UnreadableFieldsGiveErrors) {
    customers.AddField(L"Photo", TQRFieldKind::Other);
    EXPECT_EQ(L"Field Photo is of unknown type", evaluator.CalculateOnce(L"Photo").Text);
    age->integer = Int64(1) << 40;
    EXPECT_EQ(L"Integer overflow", evaluator.CalculateOnce(L"Age").Text);
}

}  // namespace
