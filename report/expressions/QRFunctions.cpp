#include "report/expressions/QRFunctions.h"

#include <cmath>

#include "framework/rtl/DateTime.h"
#include "framework/rtl/FloatFormat.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/Numeric.h"
#include "framework/rtl/StringUtils.h"
#include "report/expressions/QRAggregates.h"
#include "report/expressions/QRLibrary.h"

namespace {

using R = TQREvResultRecord;

R WrongArguments(const wchar_t* name) {
    return R::Error(Format(QRExprMessages::WrongArguments, {name}));
}

R EmptyError() {
    return R::Error(L"");
}

// Floats outside the 32-bit range (and NaN) have no integer value.
bool FitsInt32(double value) {
    return value > -2147483649.0 && value < 2147483648.0;
}

// For UPPER, LOWER and PRETTY: a string argument gives its text; anything else an error result
// carrying the argument's text.
bool StringArgument(const R& argument, R& error) {
    if (argument.Kind == rkString) return true;
    error = R::Error(argument.IsError() ? argument.Text : ResultAsText(argument));
    return false;
}

}  // namespace

R TQREvIfFunction::ComputeResult() {
    if (ArgCount() != 3 || Arg(0).Kind != rkBoolean) return WrongArguments(L"IF");
    return Arg(0).BoolValue ? Arg(1) : Arg(2);
}

R TQREvTypeOfFunction::ComputeResult() {
    if (ArgCount() != 1) return WrongArguments(L"TypeOf");
    static const wchar_t* const names[] = {L"INTEGER", L"FLOAT", L"STRING", L"BOOLEAN", L"ERROR"};
    return R::Str(names[Arg(0).Kind]);
}

R TQREvTrue::ComputeResult() {
    return ArgCount() == 0 ? R::Boolean(true) : R::Error(L"Too many arguments");
}

R TQREvFalse::ComputeResult() {
    return ArgCount() == 0 ? R::Boolean(false) : R::Error(L"Too many arguments");
}

R TQREvIntFunction::ComputeResult() {
    if (ArgCount() != 1 || !Arg(0).IsNumeric()) return WrongArguments(L"INT");
    if (Arg(0).Kind == rkInteger) return Arg(0);
    const double truncated = std::trunc(Arg(0).FloatValue);
    if (!FitsInt32(truncated)) return R::Error(QRExprMessages::IntegerOverflow);
    return R::Integer(static_cast<std::int32_t>(truncated));
}

R TQREvFracFunction::ComputeResult() {
    if (ArgCount() != 1 || !Arg(0).IsNumeric()) return EmptyError();
    if (Arg(0).Kind == rkInteger) return R::Float(0.0);
    return R::Float(static_cast<double>(Frac(Arg(0).FloatValue)));
}

R TQREvSQRTFunction::ComputeResult() {
    if (ArgCount() != 1 || !Arg(0).IsNumeric() || Arg(0).AsDouble() < 0.0)
        return R::Error(L"Invalid argument to SQRT function");
    return R::Float(std::sqrt(Arg(0).AsDouble()));
}

namespace {

// DIV's operands: integers as they are, floats rounded to the nearest integer, halves to even.
bool DivOperand(const R& argument, std::int32_t& value) {
    if (argument.Kind == rkInteger) {
        value = argument.IntValue;
        return true;
    }
    if (!(std::fabs(argument.FloatValue) < 4294967296.0)) return false;  // NaN included
    const Int64 rounded = RoundHalfEven(argument.FloatValue);
    if (rounded < INT32_MIN || rounded > INT32_MAX) return false;
    value = static_cast<std::int32_t>(rounded);
    return true;
}

}  // namespace

R TQREvDivFunction::ComputeResult() {
    if (ArgCount() != 2 || !Arg(0).IsNumeric() || !Arg(1).IsNumeric()) return WrongArguments(L"DIV");
    std::int32_t dividend = 0;
    std::int32_t divisor = 0;
    if (!DivOperand(Arg(0), dividend) || !DivOperand(Arg(1), divisor))
        return R::Error(QRExprMessages::IntegerOverflow);
    if (divisor == 0) return R::Error(L"Division by Zero");
    if (dividend == INT32_MIN && divisor == -1) return R::Error(QRExprMessages::IntegerOverflow);
    return R::Integer(dividend / divisor);
}

R TQREvStrFunction::ComputeResult() {
    if (ArgCount() != 1 || Arg(0).Kind == rkString || Arg(0).IsError())
        return R::Error(L"Conversion error");
    return R::Str(ResultAsText(Arg(0)));
}

R TQREvUpperFunction::ComputeResult() {
    if (ArgCount() != 1) return R::Error(Format(L"Missing argument for %s", {L"UPPER"}));
    R error;
    if (!StringArgument(Arg(0), error)) return error;
    return R::Str(AnsiUpperCase(Arg(0).Text));
}

R TQREvLowerFunction::ComputeResult() {
    if (ArgCount() != 1) return R::Error(Format(L"Missing argument for %s", {L"LOWER"}));
    R error;
    if (!StringArgument(Arg(0), error)) return error;
    return R::Str(AnsiLowerCase(Arg(0).Text));
}

R TQREvPrettyFunction::ComputeResult() {
    if (ArgCount() != 1) return R::Error(Format(L"Missing argument for %s", {L"PRETTY"}));
    R error;
    if (!StringArgument(Arg(0), error)) return error;
    const String& text = Arg(0).Text;
    if (text.empty()) return Arg(0);
    // Strings are UTF-16: the first character is the first code unit.
    return R::Str(AnsiUpperCase(text.substr(0, 1)) + AnsiLowerCase(text.substr(1)));
}

R TQREvTimeFunction::ComputeResult() {
    if (ArgCount() != 0) return EmptyError();
    return R::Str(TimeToStr(Now()));
}

R TQREvDateFunction::ComputeResult() {
    if (ArgCount() != 0) return EmptyError();
    return R::Str(DateToStr(Date()));
}

R TQREvCopyFunction::ComputeResult() {
    if (ArgCount() != 3 || Arg(0).Kind != rkString || Arg(1).Kind != rkInteger ||
        Arg(2).Kind != rkInteger)
        return EmptyError();
    // Copy clamps: a start below 1 counts as 1, a start past the end or a length below 1 gives ''.
    return R::Str(Copy(Arg(0).Text, Arg(1).IntValue, Arg(2).IntValue));
}

R TQREvFormatNumericFunction::ComputeResult() {
    if (ArgCount() != 2 || Arg(0).Kind != rkString || !Arg(1).IsNumeric()) return EmptyError();
    try {
        return R::Str(FormatFloat(Arg(0).Text, Arg(1).AsDouble()));
    } catch (const Exception&) {
        return R::Error(L"Invalid format or value specified");
    }
}

void RegisterBuiltInFunctions(TQRFunctionLibrary& library) {
    struct Entry {
        TQRElementFactory factory;
        const wchar_t* name;
        const wchar_t* description;
        const wchar_t* signature;
    };
    static const Entry entries[] = {
        {MakeElement<TQREvIfFunction>, L"IF",
         L"IF(<Exp>, <X>, <Y>)|Returns <X> or <Y> depending on the boolean expression <Exp>", L"5BVV"},
        {MakeElement<TQREvStrFunction>, L"STR", L"STR(<X>)|Convert a numeric <X> to a string", L"7N"},
        {MakeElement<TQREvUpperFunction>, L"UPPER", L"UPPER(<X>)|Converts a string to upper case letters",
         L"7S"},
        {MakeElement<TQREvLowerFunction>, L"LOWER", L"LOWER(<X>)|Converts a string to lower case letters",
         L"7S"},
        {MakeElement<TQREvPrettyFunction>, L"PRETTY",
         L"PRETTY(<X>)|Makes the first character upper case and the rest lower case", L"7S"},
        {MakeElement<TQREvTimeFunction>, L"TIME", L"TIME|Return current time as a string", L"1"},
        {MakeElement<TQREvDateFunction>, L"DATE", L"DATE|Return current date as a string", L"1"},
        {MakeElement<TQREvCopyFunction>, L"COPY", L"COPY(<X>, <St>,<Len>)|Returns a substring of string X",
         L"7SNN"},
        {MakeElement<TQREvSumFunction>, L"SUM", L"SUM(<X>)|Sums the numeric <X>", L"3N"},
        {MakeElement<TQREvCountFunction>, L"COUNT", L"COUNT|Increments for each iteration", L"3"},
        {MakeElement<TQREvMaxFunction>, L"MAX", L"MAX(<X>)|Returns the highest <X>", L"3V"},
        {MakeElement<TQREvMinFunction>, L"MIN", L"MIN(<X>)|Returns the lowest <X>", L"3V"},
        {MakeElement<TQREvAverageFunction>, L"AVERAGE", L"AVERAGE(<X>)|Returns the average of numeric <X>",
         L"3N"},
        {MakeElement<TQREvTrue>, L"TRUE", L"TRUE|boolean value", L"5"},
        {MakeElement<TQREvFalse>, L"FALSE", L"FALSE|boolean value", L"5"},
        {MakeElement<TQREvIntFunction>, L"INT", L"INT(<X>)|Returns the integer part of <X>", L"2N"},
        {MakeElement<TQREvFracFunction>, L"FRAC", L"FRAC(<X>)|Returns the fractional part of <X>", L"2N"},
        {MakeElement<TQREvSQRTFunction>, L"SQRT", L"SQRT(<X>)|Returns square root of <X>", L"2N"},
        {MakeElement<TQREvDivFunction>, L"DIV", L"DIV(<X>, <Y>) | Integer division of <X> by <Y>", L"2NN"},
        {MakeElement<TQREvTypeOfFunction>, L"TYPEOF", L"TYPEOF(<Exp>)|Returns the data type of <Exp>", L"6N"},
        {MakeElement<TQREvFormatNumericFunction>, L"FORMATNUMERIC",
         L"FORMATNUMERIC(<F>,<N>)|Formats numeric <N> using the mask in <F>", L"7SN"},
    };
    for (const Entry& entry : entries)
        library.AddEntry(entry.factory, entry.name, entry.description, QRBuiltInVendor, entry.signature);
}
