#include "report/bands/QRDBImage.h"

#include "framework/rtl/StringUtils.h"

TQRDBImage::TQRDBImage(TComponent* owner) : TQRPrintable(owner) { SetBounds(Left(), Top(), 105, 105); }

TQRDBImage::~TQRDBImage() { SetDataSet(nullptr); }

void TQRDBImage::Publish(TPublisher<TQRDBImage>& p) {
    p.Property(L"Center", &TQRDBImage::Center, &TQRDBImage::SetCenter).Default(true);
    p.Property(L"DataField", &TQRDBImage::DataField, &TQRDBImage::SetDataField).Default(L"");
    p.Property(L"DataSet", &TQRDBImage::DataSet, &TQRDBImage::SetDataSet);
    p.Property(L"Stretch", &TQRDBImage::Stretch, &TQRDBImage::SetStretch).Default(false);
}

void TQRDBImage::SetDataSet(TDataSet* dataSet) {
    if (dataSet == dataSet_) return;
    if (dataSet_ != nullptr) dataSet_->RemoveFreeNotification(this);
    dataSet_ = dataSet;
    if (dataSet_ != nullptr) dataSet_->FreeNotification(this);
}

void TQRDBImage::Notification(TComponent* component, TOperation operation) {
    TQRPrintable::Notification(component, operation);
    if (operation == opRemove && component == dataSet_) {
        dataSet_ = nullptr;
        field_ = nullptr;
    }
}

void TQRDBImage::SetDataField(const String& field) {
    if (field == dataField_) return;
    dataField_ = field;
    Invalidate();
}

void TQRDBImage::SetStretch(bool value) {
    if (value == stretch_) return;
    stretch_ = value;
    Invalidate();
}

void TQRDBImage::SetCenter(bool value) {
    if (value == center_) return;
    center_ = value;
    Invalidate();
}

void TQRDBImage::PrepareForRun() {
    TQRPrintable::PrepareForRun();
    field_ = nullptr;
    if (dataSet_ == nullptr) return;
    TQRDataSet& fields = dataSet_->Fields();
    for (int i = 0; i < fields.FieldCount(); ++i) {
        TQRField* field = fields.FieldAt(i);
        if (field != nullptr && SameText(field->FieldName(), dataField_)) {
            field_ = field;
            break;
        }
    }
    if (dynamic_cast<TQRBlobField*>(field_) != nullptr) SetText(String());
}

void TQRDBImage::ReleaseAfterRun() {
    field_ = nullptr;
    TQRPrintable::ReleaseAfterRun();
}

void TQRDBImage::NeededHeight(Extended& height) {
    height = Height();
    if (const auto* blob = dynamic_cast<const TQRBlobField*>(field_)) {
        TPicture picture;
        blob->LoadPicture(picture);
        height = picture.Height();
    }
}
