#include "report/expressions/QRAggregates.h"

#include "framework/rtl/Format.h"
#include "framework/rtl/Numeric.h"

namespace {

using R = TQREvResultRecord;

R WrongArguments(const wchar_t* name) {
    return R::Error(Format(QRExprMessages::WrongArguments, {name}));
}

// Orders two values of comparable kinds (numbers with numbers, strings ordinally, False before
// True); false for kinds that cannot be compared.
bool CompareValues(const R& a, const R& b, int& order) {
    if (a.IsNumeric() && b.IsNumeric()) {
        if (a.Kind == rkInteger && b.Kind == rkInteger)
            order = (a.IntValue > b.IntValue) - (a.IntValue < b.IntValue);
        else
            order = (a.AsDouble() > b.AsDouble()) - (a.AsDouble() < b.AsDouble());
        return true;
    }
    if (a.Kind != b.Kind) return false;
    if (a.Kind == rkString) {
        order = a.Text.compare(b.Text);
        return true;
    }
    if (a.Kind == rkBoolean) {
        order = static_cast<int>(a.BoolValue) - static_cast<int>(b.BoolValue);
        return true;
    }
    return false;
}

}  // namespace

// ---- SUM ----

void TQREvSumFunction::AccumulateSum() {
    if (ArgCount() != 1) {
        sum_ = WrongArguments(FunctionName());
        assigned_ = true;
        return;
    }
    const R& value = Arg(0);
    if (!assigned_) {
        assigned_ = true;
        sum_ = value.IsNumeric() || value.IsError() ? value : WrongArguments(FunctionName());
        return;
    }
    if (sum_.IsError()) return;
    if (value.Kind == rkString) {
        sum_ = WrongArguments(FunctionName());
    } else if (value.Kind == rkInteger && sum_.Kind == rkInteger) {
        int total = 0;
        sum_ = TryAddInt32(sum_.IntValue, value.IntValue, total) ? R::Integer(total)
                                                                 : R::Error(QRExprMessages::IntegerOverflow);
    } else if (value.IsNumeric()) {
        sum_ = R::Float(sum_.AsDouble() + value.AsDouble());
    }
    // booleans and errors after the first value are ignored
}

void TQREvSumFunction::AccumulateValue() {
    AccumulateSum();
}

R TQREvSumFunction::ComputeResult() {
    return assigned_ ? sum_ : R::Integer(0);
}

void TQREvSumFunction::ResetValue() {
    assigned_ = false;
    sum_ = R();
}

// ---- AVERAGE ----

void TQREvAverageFunction::AccumulateValue() {
    AccumulateSum();
    if (!TryAddInt32(count_, 1, count_)) {
        average_ = R::Error(QRExprMessages::IntegerOverflow);
        return;
    }
    average_ = Sum().IsNumeric() ? R::Float(Sum().AsDouble() / count_) : Sum();
}

R TQREvAverageFunction::ComputeResult() {
    return average_;
}

void TQREvAverageFunction::ResetValue() {
    TQREvSumFunction::ResetValue();
    count_ = 0;
    average_ = R::Float(0.0);
}

// ---- MAX and MIN ----

TQREvExtremeFunction::TQREvExtremeFunction(bool keepGreater, const wchar_t* name)
    : keepGreater_(keepGreater), name_(name) {
    MarkAggregate();
}

void TQREvExtremeFunction::AccumulateValue() {
    if (ArgCount() != 1) {
        value_ = WrongArguments(name_);
        assigned_ = true;
        return;
    }
    const R& value = Arg(0);
    if (!assigned_) {
        value_ = value;
        assigned_ = true;
        return;
    }
    if (value_.IsError()) return;
    int order = 0;
    if (!CompareValues(value, value_, order)) return;  // a value of another kind is ignored
    if (keepGreater_ ? order > 0 : order < 0) value_ = value;
}

R TQREvExtremeFunction::ComputeResult() {
    return assigned_ ? value_ : R::Integer(0);
}

void TQREvExtremeFunction::ResetValue() {
    assigned_ = false;
    value_ = R();
}

// ---- COUNT ----

void TQREvCountFunction::AccumulateValue() {
    if (!TryAddInt32(counter_, 1, counter_)) overflowed_ = true;
}

R TQREvCountFunction::ComputeResult() {
    if (ArgCount() != 0) return R::Error(L"COUNT - Too many arguments");
    if (overflowed_) return R::Error(QRExprMessages::IntegerOverflow);
    return R::Integer(counter_);
}

void TQREvCountFunction::ResetValue() {
    counter_ = 0;
    overflowed_ = false;
}
