#include "report/expressions/QREvElements.h"

#include <cmath>

#include "framework/rtl/Format.h"
#include "framework/rtl/Numeric.h"

namespace {

// Nesting of ValueOf calls in progress. The engine runs on one thread.
int evaluationDepth = 0;

class DepthGuard {
public:
    DepthGuard() { ++evaluationDepth; }
    ~DepthGuard() { --evaluationDepth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
};

const wchar_t* const IncompleteExpression = L"Incomplete expression";

}  // namespace

TQREvResultRecord TQREvElement::ComputeValue(TQRFiFo&) {
    return TQREvResultRecord::Error(L"");
}

// ---- TQRFiFo ----

void TQRFiFo::Put(std::unique_ptr<TQREvElement> element) {
    elements_.push_back(std::move(element));
}

void TQRFiFo::Clear() {
    elements_.clear();
    cursor_ = 0;
}

TQREvElement* TQRFiFo::At(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return elements_[static_cast<size_t>(index)].get();
}

TQREvElement* TQRFiFo::Next() {
    if (cursor_ >= elements_.size()) return nullptr;
    return elements_[cursor_++].get();
}

TQREvResultRecord TQRFiFo::NextValue() {
    TQREvElement* element = Next();
    if (element == nullptr) return TQREvResultRecord::Error(IncompleteExpression);
    return ValueOf(*element);
}

TQREvResultRecord TQRFiFo::ValueOf(TQREvElement& element) {
    if (evaluationDepth >= QRMaxEvaluationDepth)
        return TQREvResultRecord::Error(QRExprMessages::NestedTooDeeply);
    DepthGuard guard;
    return element.ComputeValue(*this);
}

// ---- operators ----

namespace {

const wchar_t* KindName(TQREvResultKind kind) {
    switch (kind) {
    case rkInteger:
    case rkFloat: return L"numeric";
    case rkString: return L"string";
    case rkBoolean: return L"boolean";
    case rkError: break;
    }
    return L"error";
}

const wchar_t* OperatorText(TQREvOperatorCode code) {
    switch (code) {
    case ocLess: return L"<";
    case ocLessEqual: return L"<=";
    case ocGreater: return L">";
    case ocGreaterEqual: return L">=";
    case ocEqual: return L"=";
    case ocNotEqual: return L"<>";
    case ocAdd: return L"add";
    case ocSubtract: return L"subtract";
    case ocMultiply: return L"multiply";
    case ocDivide: return L"divide";
    case ocOr: return L"OR";
    case ocAnd: return L"AND";
    }
    return L"";
}

TQREvResultRecord NotCompatible(TQREvOperatorCode code, TQREvResultKind kind) {
    return TQREvResultRecord::Error(Format(L"Operator %s is not compatible with %s expressions",
                                           {OperatorText(code), KindName(kind)}));
}

TQREvResultRecord CannotDo(TQREvOperatorCode code, TQREvResultKind kind) {
    return TQREvResultRecord::Error(
        Format(L"Cannot %s %s expressions", {OperatorText(code), KindName(kind)}));
}

TQREvResultRecord Overflow() {
    return TQREvResultRecord::Error(QRExprMessages::IntegerOverflow);
}

TQREvResultRecord DivideByZero() {
    return TQREvResultRecord::Error(L"Cannot divide by 0");
}

// Integers meeting floats become floats; any other pair of different kinds is compared or joined
// as text.
void UnifyOperands(TQREvResultRecord& left, TQREvResultRecord& right) {
    if (left.IsError() || right.IsError() || left.Kind == right.Kind) return;
    if (left.IsNumeric() && right.IsNumeric()) {
        left = TQREvResultRecord::Float(left.AsDouble());
        right = TQREvResultRecord::Float(right.AsDouble());
        return;
    }
    left = TQREvResultRecord::Str(ResultAsText(left));
    right = TQREvResultRecord::Str(ResultAsText(right));
}

template <typename T>
TQREvResultRecord Compare(TQREvOperatorCode code, const T& a, const T& b) {
    switch (code) {
    case ocLess: return TQREvResultRecord::Boolean(a < b);
    case ocLessEqual: return TQREvResultRecord::Boolean(a <= b);
    case ocGreater: return TQREvResultRecord::Boolean(a > b);
    case ocGreaterEqual: return TQREvResultRecord::Boolean(a >= b);
    case ocEqual: return TQREvResultRecord::Boolean(a == b);
    case ocNotEqual: return TQREvResultRecord::Boolean(a != b);
    default: break;
    }
    return TQREvResultRecord::Error(L"");
}

bool IsComparison(TQREvOperatorCode code) {
    return code <= ocNotEqual;
}

TQREvResultRecord ApplyInteger(TQREvOperatorCode code, int a, int b) {
    if (IsComparison(code)) return Compare(code, a, b);
    int out = 0;
    switch (code) {
    case ocAdd: return TryAddInt32(a, b, out) ? TQREvResultRecord::Integer(out) : Overflow();
    case ocSubtract: return TrySubInt32(a, b, out) ? TQREvResultRecord::Integer(out) : Overflow();
    case ocMultiply: return TryMulInt32(a, b, out) ? TQREvResultRecord::Integer(out) : Overflow();
    case ocDivide:
        if (b == 0) return DivideByZero();
        return TQREvResultRecord::Float(static_cast<double>(a) / b);
    case ocOr: return TQREvResultRecord::Integer(a | b);
    case ocAnd: return TQREvResultRecord::Integer(a & b);
    default: break;
    }
    return TQREvResultRecord::Error(L"");
}

// A float that left the double range is an error value, as an integer that leaves its range is.
TQREvResultRecord FiniteFloat(double value) {
    return std::isfinite(value) ? TQREvResultRecord::Float(value) : TQREvResultRecord::Error(QRExprMessages::FloatOverflow);
}

TQREvResultRecord ApplyFloat(TQREvOperatorCode code, double a, double b) {
    if (IsComparison(code)) return Compare(code, a, b);
    switch (code) {
    case ocAdd: return FiniteFloat(a + b);
    case ocSubtract: return FiniteFloat(a - b);
    case ocMultiply: return FiniteFloat(a * b);
    case ocDivide:
        if (b == 0.0) return DivideByZero();
        return FiniteFloat(a / b);
    default: break;
    }
    return NotCompatible(code, rkFloat);
}

TQREvResultRecord ApplyString(TQREvOperatorCode code, const String& a, const String& b) {
    // std::wstring compares by code unit: the ordinal, case-sensitive order.
    if (IsComparison(code)) return Compare(code, a, b);
    switch (code) {
    case ocAdd: return TQREvResultRecord::Str(a + b);
    case ocOr:
    case ocAnd: return NotCompatible(code, rkString);
    default: break;
    }
    return CannotDo(code, rkString);
}

TQREvResultRecord ApplyBoolean(TQREvOperatorCode code, bool a, bool b) {
    switch (code) {
    case ocEqual: return TQREvResultRecord::Boolean(a == b);
    case ocNotEqual: return TQREvResultRecord::Boolean(a != b);
    case ocOr: return TQREvResultRecord::Boolean(a || b);
    case ocAnd: return TQREvResultRecord::Boolean(a && b);
    case ocLess:
    case ocLessEqual:
    case ocGreater:
    case ocGreaterEqual: return NotCompatible(code, rkBoolean);
    default: break;
    }
    return CannotDo(code, rkBoolean);
}

}  // namespace

TQREvResultRecord TQREvElementOperator::Apply(TQREvOperatorCode code, TQREvResultRecord left,
                                              TQREvResultRecord right) {
    UnifyOperands(left, right);
    if (left.IsError()) return left;
    if (right.IsError()) return right;
    switch (left.Kind) {
    case rkInteger: return ApplyInteger(code, left.IntValue, right.IntValue);
    case rkFloat: return ApplyFloat(code, left.FloatValue, right.FloatValue);
    case rkString: return ApplyString(code, left.Text, right.Text);
    case rkBoolean: return ApplyBoolean(code, left.BoolValue, right.BoolValue);
    case rkError: break;
    }
    return left;
}

TQREvResultRecord TQREvElementOperator::ComputeValue(TQRFiFo& list) {
    TQREvResultRecord left = list.NextValue();
    TQREvResultRecord right = list.NextValue();
    return Apply(code_, std::move(left), std::move(right));
}

TQREvResultRecord TQREvElementNot::ComputeValue(TQRFiFo& list) {
    TQREvResultRecord value = list.NextValue();
    if (value.Kind != rkBoolean) return TQREvResultRecord::Error(L"Invalid use of NOT");
    value.BoolValue = !value.BoolValue;
    return value;
}

// ---- data fields ----

TQREvResultRecord TQREvElementDataField::ComputeValue(TQRFiFo&) {
    if (dataSet_.DefaultFields()) field_ = dataSet_.FieldAt(fieldIndex_);
    if (field_ == nullptr) return TQREvResultRecord::Error(L"");
    switch (field_->Kind()) {
    case TQRFieldKind::Text: return TQREvResultRecord::Str(field_->AsString());
    case TQRFieldKind::Integer: {
        Int64 value = field_->AsInteger();
        if (value < INT32_MIN || value > INT32_MAX) return Overflow();
        return TQREvResultRecord::Integer(static_cast<std::int32_t>(value));
    }
    case TQRFieldKind::Float: return TQREvResultRecord::Float(field_->AsFloat());
    case TQRFieldKind::Boolean: return TQREvResultRecord::Boolean(field_->AsBoolean());
    case TQRFieldKind::DateTime: return TQREvResultRecord::Str(field_->DisplayText());
    case TQRFieldKind::Other: break;
    }
    return TQREvResultRecord::Error(
        Format(L"Field %s is of unknown type", {field_->FieldName()}));
}

// ---- functions ----

TQREvResultRecord TQREvElementFunction::ComputeValue(TQRFiFo& list) {
    args_.clear();
    for (;;) {
        TQREvElement* element = list.Next();
        if (element == nullptr) {
            args_.clear();
            return TQREvResultRecord::Error(IncompleteExpression);
        }
        if (element->IsArgumentEnd()) break;
        args_.push_back(list.ValueOf(*element));
    }
    if (list.Aggregate()) AccumulateValue();
    TQREvResultRecord result = ComputeResult();
    args_.clear();
    return result;
}

TQREvResultRecord TQREvElementFunction::ComputeResult() {
    return TQREvResultRecord::Error(L"");
}
