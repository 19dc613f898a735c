// Test doubles: a dataset with settable fields, and a scope that switches the decimal separator.
#pragma once

#include <memory>
#include <vector>

#include "framework/rtl/FormatSettings.h"
#include "report/expressions/QRDataSets.h"

class FakeField : public TQRField {
public:
    FakeField(const String& name, TQRFieldKind kind) : name_(name), kind_(kind) {}
    String FieldName() const override { return name_; }
    TQRFieldKind Kind() const override { return kind_; }
    void SetKind(TQRFieldKind kind) { kind_ = kind; }
    String AsString() const override { return text; }
    Int64 AsInteger() const override { return integer; }
    double AsFloat() const override { return number; }
    bool AsBoolean() const override { return boolean; }
    String DisplayText() const override { return text; }

    String text;
    Int64 integer = 0;
    double number = 0.0;
    bool boolean = false;

private:
    String name_;
    TQRFieldKind kind_;
};

class FakeDataSet : public TQRDataSet {
public:
    explicit FakeDataSet(const String& name) : name_(name) {}
    String Name() const override { return name_; }
    int FieldCount() const override { return static_cast<int>(fields_.size()); }
    TQRField* FieldAt(int index) override { return fields_.at(static_cast<size_t>(index)).get(); }
    bool DefaultFields() const override { return defaultFields; }

    FakeField& AddField(const String& name, TQRFieldKind kind) {
        fields_.push_back(std::make_unique<FakeField>(name, kind));
        return *fields_.back();
    }
    // Replaces a field object, as reopening a dataset with default fields does.
    FakeField& ReplaceField(int index, const String& name, TQRFieldKind kind) {
        fields_.at(static_cast<size_t>(index)) = std::make_unique<FakeField>(name, kind);
        return *fields_.at(static_cast<size_t>(index));
    }

    bool defaultFields = false;

private:
    String name_;
    std::vector<std::unique_ptr<FakeField>> fields_;
};

// Sets the process default decimal separator (and a matching thousand separator) for a test.
class DecimalSeparatorScope {
public:
    explicit DecimalSeparatorScope(wchar_t separator) : saved_(DefaultFormatSettings()) {
        TFormatSettings settings = saved_;
        settings.DecimalSeparator = separator;
        settings.ThousandSeparator = separator == L',' ? L'.' : L',';
        SetDefaultFormatSettings(settings);
    }
    ~DecimalSeparatorScope() { SetDefaultFormatSettings(saved_); }
    DecimalSeparatorScope(const DecimalSeparatorScope&) = delete;
    DecimalSeparatorScope& operator=(const DecimalSeparatorScope&) = delete;

private:
    TFormatSettings saved_;
};
