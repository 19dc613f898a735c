// TDataSet: what a report level asks of its data. The program has no database layer; a host
// that has records implements this component (tests use an in-memory one). A dataset is a
// component so that a stored description can name it ("DataSet = Table1"); expressions read
// its fields through Fields(), the expression engine's view of the same records.
#pragma once

#include "framework/classes/Component.h"
#include "report/expressions/QRDataSets.h"

class TDataSet : public TComponent {
    FV_CLASS(TDataSet, TComponent)
public:
    explicit TDataSet(TComponent* owner) : TComponent(owner), fields_(*this) {}

    virtual bool Active() const = 0;
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual void Prior() = 0;
    // After the last record (also when there is none).
    virtual bool Eof() const = 0;
    // May raise when the count cannot be read.
    virtual int RecordCount() const = 0;

    // The current record's fields for expressions: named after the component.
    TQRDataSet& Fields() { return fields_; }

protected:
    virtual int FieldCount() const = 0;
    virtual TQRField* FieldAt(int index) = 0;
    virtual bool DefaultFields() const { return false; }

private:
    class TFieldsView : public TQRDataSet {
    public:
        explicit TFieldsView(TDataSet& owner) : owner_(owner) {}
        String Name() const override { return owner_.Name(); }
        int FieldCount() const override { return owner_.FieldCount(); }
        TQRField* FieldAt(int index) override { return owner_.FieldAt(index); }
        bool DefaultFields() const override { return owner_.DefaultFields(); }

    private:
        TDataSet& owner_;
    };

    TFieldsView fields_;
};

// The dataset exists and is open.
inline bool IsDataSetOpen(const TDataSet* dataSet) { return dataSet != nullptr && dataSet->Active(); }
