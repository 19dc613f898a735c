// The value of an evaluated report expression and the texts of its failures.
#pragma once

#include <cstdint>

#include "framework/rtl/System.h"

enum TQREvResultKind : std::uint8_t { rkInteger = 0, rkFloat = 1, rkString = 2, rkBoolean = 3, rkError = 4 };

// Texts in a result (strings and error messages) hold at most this many characters.
constexpr int QRMaxResultText = 255;

// Cuts a text to what a result may hold.
String CutToResultText(const String& text);

// One evaluation result. Expression failures travel as rkError results carrying the message in
// Text; only the field that belongs to Kind is meaningful.
struct TQREvResultRecord {
    TQREvResultKind Kind = rkInteger;
    std::int32_t IntValue = 0;
    double FloatValue = 0.0;
    String Text;
    bool BoolValue = false;

    static TQREvResultRecord Integer(std::int32_t value);
    static TQREvResultRecord Float(double value);
    static TQREvResultRecord Str(const String& text);  // cut to QRMaxResultText
    static TQREvResultRecord Boolean(bool value);
    static TQREvResultRecord Error(const String& message);  // cut to QRMaxResultText

    bool IsError() const { return Kind == rkError; }
    bool IsNumeric() const { return Kind == rkInteger || Kind == rkFloat; }
    double AsDouble() const { return Kind == rkInteger ? IntValue : FloatValue; }
};

// Integer as decimal text, float in general format (locale decimal separator), string as is,
// boolean "True"/"False". An error result raises Exception "Error in expression : <message>".
String ResultAsText(const TQREvResultRecord& result);

// Messages shared by the compiler, the function library and the environments.
namespace QRExprMessages {
inline constexpr const wchar_t* UnknownFunction = L"Unknown function : %s";
inline constexpr const wchar_t* ErrorInExpression = L"Error in expression : %s";
inline constexpr const wchar_t* EvaluatorNotPrepared = L"Evaluator not prepared";
inline constexpr const wchar_t* IntegerOverflow = L"Integer overflow";
inline constexpr const wchar_t* FloatOverflow = L"Float overflow";
inline constexpr const wchar_t* NestedTooDeeply = L"Expression nested too deeply";
inline constexpr const wchar_t* WrongArguments = L"Wrong arguments for %s";
}  // namespace QRExprMessages
