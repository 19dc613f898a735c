#include "report/expressions/QRAggregates.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/rtl/StringUtils.h"
#include "report/expressions/QREvaluator.h"
#include "testing/QRTestDataSet.h"

namespace {

using R = TQREvResultRecord;

// Feeds values to aggregate expressions through a data field X.
class AggregateTest : public testing::Test {
protected:
    AggregateTest() : data(L"Data") {
        x = &data.AddField(L"X", TQRFieldKind::Integer);
        list = {&data};
        evaluator.BindDataSets(&list);
    }

    void SetX(const R& value) {
        switch (value.Kind) {
        case rkInteger: x->SetKind(TQRFieldKind::Integer); x->integer = value.IntValue; break;
        case rkFloat: x->SetKind(TQRFieldKind::Float); x->number = value.FloatValue; break;
        case rkString: x->SetKind(TQRFieldKind::Text); x->text = value.Text; break;
        case rkBoolean: x->SetKind(TQRFieldKind::Boolean); x->boolean = value.BoolValue; break;
        case rkError: x->SetKind(TQRFieldKind::Other); break;
        }
    }

    R Run(const String& expression, const std::vector<R>& values) {
        evaluator.Compile(expression);
        for (const R& value : values) {
            SetX(value);
            evaluator.Accumulate();
        }
        return evaluator.Evaluate();
    }

    FakeDataSet data;
    FakeField* x;
    TQRDataSetList list;
    TQREvaluator evaluator;
};

R I(int v) { return R::Integer(v); }
R F(double v) { return R::Float(v); }
R S(const wchar_t* v) { return R::Str(v); }
R B(bool v) { return R::Boolean(v); }
R E(const wchar_t* v) { return R::Error(v); }

struct Sequence {
    const wchar_t* expression;
    std::vector<R> values;
    R expected;
};

TEST_F(AggregateTest, SequencesGiveTheirRunningResult) {
    const Sequence sequences[] = {
        {L"SUM(X)", {I(1), I(2), I(3)}, I(6)},
        {L"SUM(X)", {}, I(0)},
        {L"SUM(X)", {I(1), F(2.5)}, F(3.5)},
        {L"SUM(X)", {F(2.5), I(1)}, F(3.5)},
        {L"SUM(X)", {I(1), B(true), I(2)}, I(3)},
        {L"SUM(X)", {I(1), S(L"a"), I(2)}, E(L"Wrong arguments for SUM")},
        {L"SUM(X)", {S(L"a"), I(2)}, E(L"Wrong arguments for SUM")},
        {L"SUM(X)", {I(2147483647), I(1)}, E(L"Integer overflow")},
        {L"SUM(X, X)", {I(1)}, E(L"Wrong arguments for SUM")},
        {L"SUM(X) * 2", {I(1), I(2)}, I(6)},
        {L"AVERAGE(X)", {I(1), I(2)}, F(1.5)},
        {L"AVERAGE(X)", {F(1.5), I(3), I(3)}, F(2.5)},
        {L"AVERAGE(X)", {}, F(0)},
        {L"AVERAGE(X)", {I(1), S(L"a")}, E(L"Wrong arguments for AVERAGE")},
        {L"MAX(X)", {I(3), I(7), I(5)}, I(7)},
        {L"MIN(X)", {I(3), I(7), I(5)}, I(3)},
        {L"MAX(X)", {I(1), F(2.5), I(2)}, F(2.5)},
        {L"MAX(X)", {S(L"b"), S(L"c"), S(L"a")}, S(L"c")},
        {L"MIN(X)", {S(L"b"), S(L"C"), S(L"a")}, S(L"C")},
        {L"MIN(X)", {B(true), B(false)}, B(false)},
        {L"MAX(X)", {B(false), B(true)}, B(true)},
        {L"MAX(X)", {I(1), S(L"z"), I(3)}, I(3)},
        {L"MAX(X)", {}, I(0)},
        {L"COUNT", {I(0), I(0), I(0), I(0), I(0)}, I(5)},
        {L"COUNT(1)", {I(0)}, E(L"COUNT - Too many arguments")},
    };
    for (const Sequence& s : sequences) {
        SCOPED_TRACE(StringToUtf8(s.expression) + " over " + std::to_string(s.values.size()) + " values");
        R result = Run(s.expression, s.values);
        ASSERT_EQ(s.expected.Kind, result.Kind) << StringToUtf8(result.Text);
        switch (result.Kind) {
        case rkInteger: EXPECT_EQ(s.expected.IntValue, result.IntValue); break;
        case rkFloat: EXPECT_DOUBLE_EQ(s.expected.FloatValue, result.FloatValue); break;
        case rkBoolean: EXPECT_EQ(s.expected.BoolValue, result.BoolValue); break;
        default: EXPECT_EQ(s.expected.Text, result.Text); break;
        }
    }
}

TEST_F(AggregateTest, ResetClearsTheState) {
    EXPECT_EQ(5, Run(L"COUNT", {I(0), I(0), I(0), I(0), I(0)}).IntValue);
    evaluator.ResetAggregates();
    EXPECT_EQ(0, evaluator.Evaluate().IntValue);

    EXPECT_EQ(6, Run(L"SUM(X)", {I(1), I(2), I(3)}).IntValue);
    evaluator.ResetAggregates();
    EXPECT_EQ(0, evaluator.Evaluate().IntValue);
    SetX(I(4));
    evaluator.Accumulate();
    EXPECT_EQ(4, evaluator.Evaluate().IntValue);

    EXPECT_EQ(rkError, Run(L"SUM(X)", {S(L"a")}).Kind);
    evaluator.ResetAggregates();  // an error is cleared too
    EXPECT_EQ(0, evaluator.Evaluate().IntValue);

    EXPECT_DOUBLE_EQ(2.0, Run(L"AVERAGE(X)", {I(2)}).FloatValue);
    evaluator.ResetAggregates();
    R average = evaluator.Evaluate();
    EXPECT_EQ(rkFloat, average.Kind);
    EXPECT_DOUBLE_EQ(0.0, average.FloatValue);
    SetX(I(8));
    evaluator.Accumulate();
    EXPECT_DOUBLE_EQ(8.0, evaluator.Evaluate().FloatValue);
}

TEST_F(AggregateTest, OnlyAccumulationTakesValues) {
    evaluator.Compile(L"COUNT + SUM(X)");
    SetX(I(10));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(0, evaluator.Evaluate().IntValue);
    evaluator.Accumulate();
    EXPECT_EQ(11, evaluator.Evaluate().IntValue);
    EXPECT_EQ(11, evaluator.Evaluate().IntValue);
    evaluator.Compile(L"COUNT + SUM(X)");  // a new compilation starts afresh
    EXPECT_EQ(0, evaluator.Evaluate().IntValue);
}

TEST_F(AggregateTest, HasAggregatesFindsAggregateFunctions) {
    evaluator.Compile(L"IF(TRUE, 1, MAX(X))");
    EXPECT_TRUE(evaluator.HasAggregates());
    evaluator.Compile(L"IF(TRUE, 1, INT(X))");
    EXPECT_FALSE(evaluator.HasAggregates());
}

}  // namespace
