// TQRDBImage: a picture read from a large-object field of the current record. A band that holds
// one may need to be taller than it stands (PreCaluculateBandHeight): the pagination asks the
// control for the height its picture needs (NeededHeight) before the band is placed.
//
// A dataset offers a picture field by giving a TQRBlobField among its fields; any other field
// leaves the control without a picture.
#pragma once

#include "framework/graphics/Picture.h"
#include "report/bands/QRDataSet.h"
#include "report/printables/QRPrintable.h"

// A large-object field whose value is a picture.
class TQRBlobField : public TQRField {
public:
    TQRFieldKind Kind() const override { return TQRFieldKind::Other; }
    // Loads the current record's picture into picture (an empty field leaves it empty).
    virtual void LoadPicture(TPicture& picture) const = 0;
};

class TQRDBImage : public TQRPrintable {
    FV_CLASS(TQRDBImage, TQRPrintable)
public:
    explicit TQRDBImage(TComponent* owner);
    ~TQRDBImage() override;
    static void Publish(TPublisher<TQRDBImage>& p);

    void PrepareForRun() override;
    void ReleaseAfterRun() override;
    // The picture's height in screen pixels for a picture field, else the control's height.
    void NeededHeight(Extended& height) override;

    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);
    const String& DataField() const { return dataField_; }
    void SetDataField(const String& field);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);
    // The field bound for the run (null outside one or when the dataset has no such field).
    TQRField* Field() const { return field_; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TDataSet* dataSet_ = nullptr;
    String dataField_;
    TQRField* field_ = nullptr;
    bool stretch_ = false;
    bool center_ = true;
};
