// TQRGrDBImage: the picture of a record's blob field, printed as TQRGrImage prints its picture.
// The program has no database layer whose fields hold pictures, so the field's picture is the
// control's own picture object, which stays empty unless a host loads one; an empty picture
// prints the control's colour when stretched and nothing otherwise, and reaches a filter as a
// picture without size.
#pragma once

#include <memory>

#include "export/filters/QRGrImage.h"

class TDataSet;

class TQRGrDBImage : public TQRPrintable {
    FV_CLASS(TQRGrDBImage, TQRPrintable)
public:
    explicit TQRGrDBImage(TComponent* owner);
    ~TQRGrDBImage() override;
    static void Publish(TPublisher<TQRGrDBImage>& p);

    void PrintAt(int xOffset, int yOffset) override;

    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* value);
    const String& DataField() const { return dataField_; }
    void SetDataField(const String& value) { dataField_ = value; }
    bool Center() const { return center_; }
    void SetCenter(bool value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool ClipImage() const { return clipImage_; }
    void SetClipImage(bool value) { clipImage_ = value; }
    TFitMode FitMode() const { return fitMode_; }
    void SetFitMode(TFitMode value) { fitMode_ = value; }

    // The picture read from the field.
    TPicture* FieldPicture() const { return picture_.get(); }
    bool PictureLoaded() const { return pictureLoaded_; }

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;

private:
    void PictureChanged(TObject*);

    TDataSet* dataSet_ = nullptr;
    String dataField_;
    bool center_ = true;
    bool stretch_ = false;
    bool clipImage_ = false;
    TFitMode fitMode_ = fmProportional;
    std::unique_ptr<TPicture> picture_;
    bool pictureLoaded_ = false;
};
