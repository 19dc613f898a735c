#include "report/expressions/QREvResult.h"

#include "framework/rtl/FloatFormat.h"
#include "framework/rtl/Format.h"

String CutToResultText(const String& text) {
    if (text.size() <= static_cast<size_t>(QRMaxResultText)) return text;
    return text.substr(0, QRMaxResultText);
}

TQREvResultRecord TQREvResultRecord::Integer(std::int32_t value) {
    TQREvResultRecord r;
    r.Kind = rkInteger;
    r.IntValue = value;
    return r;
}

TQREvResultRecord TQREvResultRecord::Float(double value) {
    TQREvResultRecord r;
    r.Kind = rkFloat;
    r.FloatValue = value;
    return r;
}

TQREvResultRecord TQREvResultRecord::Str(const String& text) {
    TQREvResultRecord r;
    r.Kind = rkString;
    r.Text = CutToResultText(text);
    return r;
}

TQREvResultRecord TQREvResultRecord::Boolean(bool value) {
    TQREvResultRecord r;
    r.Kind = rkBoolean;
    r.BoolValue = value;
    return r;
}

TQREvResultRecord TQREvResultRecord::Error(const String& message) {
    TQREvResultRecord r;
    r.Kind = rkError;
    r.Text = CutToResultText(message);
    return r;
}

String ResultAsText(const TQREvResultRecord& result) {
    switch (result.Kind) {
    case rkInteger: return IntToStr(result.IntValue);
    case rkFloat: return FloatToStr(result.FloatValue);
    case rkString: return result.Text;
    case rkBoolean: return result.BoolValue ? L"True" : L"False";
    case rkError: break;
    }
    throw Exception(Format(QRExprMessages::ErrorInExpression, {result.Text}));
}
