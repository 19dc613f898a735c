// Aggregate functions: they take a value each time their expression is accumulated
// (TQREvaluator::Accumulate) and report the running result at every evaluation.
#pragma once

#include "report/expressions/QREvElements.h"

class TQREvSumFunction : public TQREvElementFunction {
public:
    TQREvSumFunction() { MarkAggregate(); }
    String ClassName() const override { return L"TQREvSumFunction"; }
    void AccumulateValue() override;
    TQREvResultRecord ComputeResult() override;
    void ResetValue() override;

protected:
    virtual const wchar_t* FunctionName() const { return L"SUM"; }
    // Adds the argument to the running sum: integers stay integers until a float arrives.
    void AccumulateSum();
    const TQREvResultRecord& Sum() const { return sum_; }

private:
    bool assigned_ = false;
    TQREvResultRecord sum_;
};

class TQREvAverageFunction : public TQREvSumFunction {
public:
    String ClassName() const override { return L"TQREvAverageFunction"; }
    void AccumulateValue() override;
    TQREvResultRecord ComputeResult() override;
    void ResetValue() override;

protected:
    const wchar_t* FunctionName() const override { return L"AVERAGE"; }

private:
    TQREvResultRecord average_ = TQREvResultRecord::Float(0.0);
    int count_ = 0;
};

// Keeps the greatest (MAX) or smallest (MIN) value taken.
class TQREvExtremeFunction : public TQREvElementFunction {
public:
    TQREvExtremeFunction(bool keepGreater, const wchar_t* name);
    void AccumulateValue() override;
    TQREvResultRecord ComputeResult() override;
    void ResetValue() override;

private:
    bool keepGreater_;
    const wchar_t* name_;
    bool assigned_ = false;
    TQREvResultRecord value_;
};

class TQREvMaxFunction : public TQREvExtremeFunction {
public:
    TQREvMaxFunction() : TQREvExtremeFunction(true, L"MAX") {}
    String ClassName() const override { return L"TQREvMaxFunction"; }
};

class TQREvMinFunction : public TQREvExtremeFunction {
public:
    TQREvMinFunction() : TQREvExtremeFunction(false, L"MIN") {}
    String ClassName() const override { return L"TQREvMinFunction"; }
};

class TQREvCountFunction : public TQREvElementFunction {
public:
    TQREvCountFunction() { MarkAggregate(); }
    String ClassName() const override { return L"TQREvCountFunction"; }
    void AccumulateValue() override;
    TQREvResultRecord ComputeResult() override;
    void ResetValue() override;

private:
    int counter_ = 0;
    bool overflowed_ = false;
};
