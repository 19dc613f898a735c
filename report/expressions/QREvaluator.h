// Compiles expression texts into element lists and evaluates them.
//
// The compiler splits the text at the first operator of a precedence level found at bracket
// depth 0 (outside quotes and [bracketed names]), emits the operator, then compiles the left
// part one level down and the right part at the same level. Right parts after "-" and "/" are
// read with "+"/"-" (or "*"/"/") exchanged, so that a - b + c computes a - (b - c).
// Syntax and lookup errors never raise: they compile into error elements.
#pragma once

#include <memory>
#include <string_view>

#include "framework/rtl/System.h"
#include "report/expressions/QRDataSets.h"
#include "report/expressions/QREvElements.h"

class TQREvEnvironment;

// Deepest nesting of brackets, function calls, operators and NOT that one expression may have;
// a deeper expression compiles into an error.
constexpr int QRMaxExpressionNesting = 256;

class TQREvaluator : public TObject {
public:
    TQREvaluator();
    ~TQREvaluator() override;
    String ClassName() const override { return L"TQREvaluator"; }

    // Releases a previous compilation, prepares the global environment and compiles the text
    // (an empty text compiles as the one-space string).
    void Compile(const String& expression);
    void Release();
    bool Compiled() const { return compiled_; }

    // Raises Exception "Evaluator not prepared" when not compiled.
    TQREvResultRecord Evaluate();
    // Evaluates once with the aggregate flag set, so that aggregate functions take the values.
    void Accumulate();
    bool HasAggregates() const;
    void ResetAggregates();
    TQREvResultRecord CalculateOnce(const String& expression);

    TQREvEnvironment* Environment() const { return environment_; }
    void SetEnvironment(TQREvEnvironment* environment) { environment_ = environment; }

    // The datasets whose fields names may refer to (not owned). DataSetList makes an owned,
    // empty list when none is bound.
    void BindDataSets(TQRDataSetList* list);
    TQRDataSetList& DataSetList();

    // The compiled list; nullptr when not compiled.
    TQRFiFo* FiFo() const { return fifo_.get(); }

protected:
    // A function call or, for an unregistered name without brackets, a name.
    virtual void CompileCall(const String& name, const String& arguments, bool hasArguments);
    // A dataset field or a named expression.
    virtual void CompileName(const String& name);

    void CompileEnvironmentName(const String& name);
    void CompileArguments(const String& arguments);
    void Append(std::unique_ptr<TQREvElement> element);
    void AppendError(const String& message);

private:
    class Nesting;

    void CompileComparison(std::wstring_view text);
    void CompileSum(std::wstring_view text, bool exchanged);
    void CompileProduct(std::wstring_view text, bool exchanged);
    void CompileFactor(std::wstring_view text);
    void CompileNumber(std::wstring_view text);
    void CompileIdentifier(std::wstring_view text);

    std::unique_ptr<TQRFiFo> fifo_;
    bool compiled_ = false;
    int nesting_ = 0;
    TQREvEnvironment* environment_ = nullptr;
    TQRDataSetList* dataSets_ = nullptr;
    std::unique_ptr<TQRDataSetList> ownedDataSets_;
};
