// What expressions need to know about data: named datasets whose fields can be found by name and
// read in their current record. The program has no database layer; hosts that supply data
// implement these two interfaces.
#pragma once

#include <vector>

#include "framework/rtl/System.h"

// The field classes an expression can read; the others evaluate to an error.
enum class TQRFieldKind {
    Text,      // string fields
    Integer,   // small, word, integer and large-integer fields
    Float,     // float, currency and BCD fields
    Boolean,
    DateTime,  // date, time, date-time and time-stamp fields: read as their display text
    Other
};

class TQRField {
public:
    virtual ~TQRField() = default;
    virtual String FieldName() const = 0;
    virtual TQRFieldKind Kind() const = 0;
    virtual String AsString() const = 0;
    virtual Int64 AsInteger() const = 0;
    virtual double AsFloat() const = 0;
    virtual bool AsBoolean() const = 0;
    virtual String DisplayText() const = 0;
};

class TQRDataSet {
public:
    virtual ~TQRDataSet() = default;
    // The dataset's component name, matched case-insensitively by "Dataset.Field" names.
    virtual String Name() const = 0;
    virtual int FieldCount() const = 0;
    virtual TQRField* FieldAt(int index) = 0;
    // True when the field objects are made afresh on opening, so that a compiled expression must
    // fetch its field again by index instead of keeping the object.
    virtual bool DefaultFields() const = 0;
};

// Datasets an evaluator searches for field names (not owned by the list).
using TQRDataSetList = std::vector<TQRDataSet*>;
