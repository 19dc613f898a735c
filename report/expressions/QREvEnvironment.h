// Named expressions: a report's Functions and the process-wide global environment.
#pragma once

#include <memory>
#include <vector>

#include "framework/classes/Filer.h"
#include "framework/rtl/StringList.h"
#include "report/expressions/QRDataSets.h"
#include "report/expressions/QREvElements.h"
#include "report/expressions/QREvaluator.h"

// One named expression with its own evaluator.
class TQREvEmbeddedFunction : public TQREvElement {
public:
    explicit TQREvEmbeddedFunction(const String& expression);
    String ClassName() const override { return L"TQREvEmbeddedFunction"; }

    TQREvResultRecord ComputeValue(TQRFiFo& list) override;
    void ResetValue() override;  // resets the aggregates of its own expression

    // The value of the expression; "Recursive calls not allowed" while it is already being
    // computed (an expression that refers to itself, directly or through others).
    TQREvResultRecord Value();
    const String& SourceText() const { return expression_; }
    TQREvElement* ElementAt(int index) const;  // nullptr when not compiled or out of range
    TQREvaluator& Evaluator() { return *evaluator_; }

private:
    String expression_;
    std::unique_ptr<TQREvaluator> evaluator_;
    bool inEvaluation_ = false;
};

// Stands in a compiled list for a named expression (which it does not own).
class TQREvElementWrapper : public TQREvElement {
public:
    explicit TQREvElementWrapper(TQREvEmbeddedFunction& function) : function_(function) {}
    String ClassName() const override { return L"TQREvElementWrapper"; }
    TQREvResultRecord ComputeValue(TQRFiFo&) override { return function_.Value(); }
    TQREvEmbeddedFunction& Function() const { return function_; }

private:
    TQREvEmbeddedFunction& function_;
};

// Lines are upper-cased names; each line's object is its TQREvEmbeddedFunction (owned).
// Compile and Release are counted: the named expressions are compiled while the count is above 0.
class TQREvEnvironment : public TStringList, public TStringsStoredProperties {
public:
    TQREvEnvironment();
    ~TQREvEnvironment() override;
    String ClassName() const override { return L"TQREvEnvironment"; }

    // Adds a named expression; an existing name keeps its expression.
    void DefineEntry(const String& name, const String& expression);
    void RemoveEntry(const String& name);
    TQREvEmbeddedFunction* EntryFunction(int index) const;  // nullptr when the line has none

    void Compile();
    void Release();
    bool IsCompiled() const { return prepareCount_ > 0; }

    void BindDataSets(TQRDataSetList* list);
    TQRDataSetList& DataSetList();

    // A wrapper for the named expression, or an error element "Unknown function : <name>".
    std::unique_ptr<TQREvElement> EntryElement(const String& name) const;
    TQREvResultRecord EvaluateEntry(const String& name) const;
    // The first element of the named expression's compiled list (the constant of a one-constant
    // expression); nullptr when the name is absent or not compiled.
    TQREvElement* FindConstant(const String& name) const;

    static void AssignStringConstant(TQREvElement* element, const String& text);
    static void AssignIntegerConstant(TQREvElement* element, int value);
    static void AssignConstant(TQREvElement* element, const TQREvResultRecord& value);

    // The stored "DATA" property: the expression text of every line, in line order.
    std::vector<String> WriteData() const;
    // Gives each line without an expression the expression at its index. A list whose length
    // differs from the number of lines raises EReadError and changes nothing.
    void ReadData(const std::vector<String>& expressions);
    // Defines "DATA" on a reader or writer of stored descriptions: a list of strings,
    // "DATA = ( 'expr' ... )", stored after the lines ("Strings").
    void DefineProperties(TFiler& filer) override;

private:
    void CompileEntry(TQREvEmbeddedFunction& function);
    TQREvEmbeddedFunction* FindFunction(const String& name) const;

    int prepareCount_ = 0;
    TQRDataSetList* dataSets_ = nullptr;
    std::unique_ptr<TQRDataSetList> ownedDataSets_;
};

// The process-wide environment holding AppStartTime, AppStartDate and AppName; nullptr once the
// program is shutting down.
TQREvEnvironment* GetGlobalEnvironment();

// Creates the function library and the global environment, once. AppName takes the given
// application title; the engine initializes itself with an empty title if used before this call.
void InitializeExpressionEngine(const String& applicationTitle);
