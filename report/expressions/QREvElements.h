// A compiled expression: a flat list of elements in prefix order (an operator before its two
// operands, a function before its arguments and their end marker). Every element pulls its own
// operands from the list when it computes its value.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "framework/rtl/System.h"
#include "report/expressions/QRDataSets.h"
#include "report/expressions/QREvResult.h"

class TQRFiFo;

class TQREvElement : public TObject {
public:
    TQREvElement() = default;
    String ClassName() const override { return L"TQREvElement"; }

    virtual TQREvResultRecord ComputeValue(TQRFiFo& list);
    virtual void ResetValue() {}
    virtual bool IsArgumentEnd() const { return false; }

    // Aggregates accumulate over the records of a run.
    bool IsAggregate() const { return aggregate_; }

protected:
    void MarkAggregate() { aggregate_ = true; }

private:
    bool aggregate_ = false;
};

// Ordered list of owned elements with a read cursor.
class TQRFiFo {
public:
    void Put(std::unique_ptr<TQREvElement> element);
    void Clear();
    int Count() const { return static_cast<int>(elements_.size()); }
    TQREvElement* At(int index) const;  // nullptr outside the list

    void Start() { cursor_ = 0; }
    // The element under the cursor, advancing it; nullptr past the end.
    TQREvElement* Next();
    // Value of the next element; an error result past the end of the list.
    TQREvResultRecord NextValue();
    // Value of an element already taken from the list. Guards the nesting of evaluations
    // (named expressions included) so that no expression can exhaust the stack.
    TQREvResultRecord ValueOf(TQREvElement& element);

    bool Aggregate() const { return aggregate_; }
    void SetAggregate(bool aggregate) { aggregate_ = aggregate; }

private:
    std::vector<std::unique_ptr<TQREvElement>> elements_;
    size_t cursor_ = 0;
    bool aggregate_ = false;
};

// Deepest nesting of element evaluations, across named expressions.
constexpr int QRMaxEvaluationDepth = 1024;

enum TQREvOperatorCode {
    ocLess,
    ocLessEqual,
    ocGreater,
    ocGreaterEqual,
    ocEqual,
    ocNotEqual,
    ocAdd,
    ocSubtract,
    ocOr,
    ocMultiply,
    ocDivide,
    ocAnd
};

class TQREvElementOperator : public TQREvElement {
public:
    explicit TQREvElementOperator(TQREvOperatorCode code) : code_(code) {}
    String ClassName() const override { return L"TQREvElementOperator"; }
    TQREvResultRecord ComputeValue(TQRFiFo& list) override;
    TQREvOperatorCode Code() const { return code_; }

    // Applies the operator to two values, bringing them to one kind first.
    static TQREvResultRecord Apply(TQREvOperatorCode code, TQREvResultRecord left,
                                   TQREvResultRecord right);

private:
    TQREvOperatorCode code_;
};

// Logical negation of the following value.
class TQREvElementNot : public TQREvElement {
public:
    String ClassName() const override { return L"TQREvElementNot"; }
    TQREvResultRecord ComputeValue(TQRFiFo& list) override;
};

class TQREvElementConstant : public TQREvElement {
public:
    explicit TQREvElementConstant(const TQREvResultRecord& value) : value_(value) {}
    String ClassName() const override { return L"TQREvElementConstant"; }
    TQREvResultRecord ComputeValue(TQRFiFo&) override { return value_; }
    const TQREvResultRecord& Value() const { return value_; }
    void SetValue(const TQREvResultRecord& value) { value_ = value; }

private:
    TQREvResultRecord value_;
};

// Keeps only what a result can hold.
class TQREvElementString : public TQREvElement {
public:
    explicit TQREvElementString(std::wstring_view text) { SetText(text); }
    String ClassName() const override { return L"TQREvElementString"; }
    TQREvResultRecord ComputeValue(TQRFiFo&) override { return TQREvResultRecord::Str(text_); }
    const String& Text() const { return text_; }
    void SetText(std::wstring_view text) { text_ = String(text.substr(0, QRMaxResultText)); }

private:
    String text_;
};

class TQREvElementDataField : public TQREvElement {
public:
    TQREvElementDataField(TQRDataSet& dataSet, int fieldIndex, TQRField& field)
        : dataSet_(dataSet), fieldIndex_(fieldIndex), field_(&field) {}
    String ClassName() const override { return L"TQREvElementDataField"; }
    TQREvResultRecord ComputeValue(TQRFiFo& list) override;

private:
    TQRDataSet& dataSet_;
    int fieldIndex_;
    TQRField* field_;
};

class TQREvElementError : public TQREvElement {
public:
    explicit TQREvElementError(const String& message) : message_(message) {}
    String ClassName() const override { return L"TQREvElementError"; }
    TQREvResultRecord ComputeValue(TQRFiFo&) override { return TQREvResultRecord::Error(message_); }
    const String& Message() const { return message_; }

private:
    String message_;
};

class TQREvElementArgumentEnd : public TQREvElement {
public:
    String ClassName() const override { return L"TQREvElementArgumentEnd"; }
    bool IsArgumentEnd() const override { return true; }
};

// Base of the library's functions: collects the values of its arguments up to the end marker,
// accumulates when the list is evaluated for aggregation, then computes its result.
class TQREvElementFunction : public TQREvElement {
public:
    String ClassName() const override { return L"TQREvElementFunction"; }
    TQREvResultRecord ComputeValue(TQRFiFo& list) override;

    virtual void AccumulateValue() {}
    virtual TQREvResultRecord ComputeResult();

protected:
    int ArgCount() const { return static_cast<int>(args_.size()); }
    const TQREvResultRecord& Arg(int index) const { return args_[static_cast<size_t>(index)]; }

private:
    std::vector<TQREvResultRecord> args_;
};
