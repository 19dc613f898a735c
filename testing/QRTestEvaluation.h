// Test support for tables of expressions: the expected result of one expression and the check of
// an evaluated result against it, under either decimal separator.
#pragma once

#include <gtest/gtest.h>

#include "framework/rtl/StringUtils.h"
#include "report/expressions/QREvResult.h"

// Expected result of one expression. For strings and errors "text" is the expected text, in
// which "." stands for the decimal separator when "localized" is set; numbers and booleans
// (0 or 1) are in "number".
struct EvaluationCase {
    const wchar_t* expression;
    TQREvResultKind kind;
    const wchar_t* text;
    double number;
    bool localized = false;
};

// text with every "." replaced by separator.
inline String Localize(const String& text, wchar_t separator) {
    String out = text;
    for (wchar_t& c : out)
        if (c == L'.') c = separator;
    return out;
}

inline void ExpectResult(const EvaluationCase& c, const TQREvResultRecord& result, wchar_t separator) {
    SCOPED_TRACE(testing::Message() << "expression: " << StringToUtf8(c.expression));
    ASSERT_EQ(c.kind, result.Kind) << "text: " << StringToUtf8(result.Text);
    switch (c.kind) {
    case rkInteger: EXPECT_EQ(static_cast<int>(c.number), result.IntValue); break;
    case rkFloat: EXPECT_DOUBLE_EQ(c.number, result.FloatValue); break;
    case rkBoolean: EXPECT_EQ(c.number != 0, result.BoolValue); break;
    case rkString:
    case rkError:
        EXPECT_EQ(c.localized ? Localize(c.text, separator) : String(c.text), result.Text);
        break;
    }
}
