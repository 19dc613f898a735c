// Test doubles of the report family: a dataset over rows held in memory, and a band printer
// that writes down each band it is handed (with the dataset's current record, when given one).
#pragma once

#include <gmock/gmock.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "framework/rtl/Format.h"
#include "report/bands/QRReport.h"

// Text fields over rows; the current record stays the last one once past the end, as a
// dataset's does.
class TMemoryDataSet : public TDataSet {
    FV_CLASS(TMemoryDataSet, TDataSet)
public:
    explicit TMemoryDataSet(TComponent* owner) : TDataSet(owner) {}

    void SetFields(const std::vector<String>& names) {
        fields_.clear();
        for (size_t i = 0; i < names.size(); ++i) fields_.push_back(std::make_unique<TField>(*this, names[i], i));
    }
    std::vector<std::vector<String>> Rows;
    bool Open = true;
    bool CountFails = false;

    bool Active() const override { return Open; }
    void First() override { Move(0); }
    void Next() override { Move(position_ + 1); }
    void Prior() override { Move(position_ - 1); }
    bool Eof() const override { return eof_; }
    int RecordCount() const override {
        if (CountFails) throw EConvertError(L"count unavailable");
        return static_cast<int>(Rows.size());
    }
    // The current record's values joined ("A1"), empty when there is none.
    String Current() const {
        String text;
        if (Rows.empty()) return text;
        for (const String& value : Rows[static_cast<size_t>(position_)]) text += value;
        return text;
    }

protected:
    int FieldCount() const override { return static_cast<int>(fields_.size()); }
    TQRField* FieldAt(int index) override { return fields_.at(static_cast<size_t>(index)).get(); }

private:
    class TField : public TQRField {
    public:
        TField(TMemoryDataSet& owner, String name, size_t column) : owner_(owner), name_(std::move(name)), column_(column) {}
        String FieldName() const override { return name_; }
        TQRFieldKind Kind() const override { return TQRFieldKind::Text; }
        String AsString() const override {
            if (owner_.Rows.empty()) return String();
            return owner_.Rows[static_cast<size_t>(owner_.position_)].at(column_);
        }
        Int64 AsInteger() const override { return 0; }
        double AsFloat() const override { return 0; }
        bool AsBoolean() const override { return false; }
        String DisplayText() const override { return AsString(); }

    private:
        TMemoryDataSet& owner_;
        String name_;
        size_t column_;
    };

    void Move(int position) {
        const int count = static_cast<int>(Rows.size());
        eof_ = position >= count;
        position_ = std::clamp(position, 0, count > 0 ? count - 1 : 0);
    }

    std::vector<std::unique_ptr<TField>> fields_;
    int position_ = 0;
    bool eof_ = true;
};

// Writes down the bands handed to it by name, each followed by "(record)" when a dataset is
// given; OnPlace runs after each is written down.
class TRecordingBandPrinter : public IQRBandPrinter {
public:
    void PlaceBand(TQRCustomBand* band) override {
        String entry = band->Name();
        if (DataSet != nullptr) entry += L"(" + DataSet->Current() + L")";
        Trace.push_back(entry);
        if (OnPlace) OnPlace(band);
    }
    void StartNextColumn() override { Trace.push_back(L"<column>"); }
    void StartNextPage() override {
        ++Page;
        Trace.push_back(L"<page>");
    }
    int SpaceLeftInColumn() override { return Space; }
    int PageNumber() const override { return Page; }

    std::vector<String> Trace;
    TMemoryDataSet* DataSet = nullptr;
    std::function<void(TQRCustomBand*)> OnPlace;
    int Page = 1;
    int Space = 100000;
};

// A named band of the type on the report.
template <class Band = TQRBand>
Band* MakeBand(TCustomQRReport& report, const String& name, TQRBandType type = rbDetail) {
    auto* band = new Band(&report);
    band->SetName(name);
    if constexpr (std::is_same_v<Band, TQRBand>) band->SetBandTypeValue(type);
    band->SetParent(&report);
    return band;
}

inline std::vector<String> BandNames(const TCustomQRReport& report) {
    std::vector<String> names;
    for (TQRCustomBand* band : report.BandList()) names.push_back(band->Name());
    return names;
}

// A template: a report whose layout is its stored description (resource "TTestTemplate").
class TTestTemplate : public TQRReport {
    FV_CLASS(TTestTemplate, TQRReport)
public:
    explicit TTestTemplate(TComponent* owner) : TQRReport(owner) { ReadReport(); }
};
