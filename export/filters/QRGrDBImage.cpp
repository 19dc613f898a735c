#include "export/filters/QRGrDBImage.h"
#include "export/filters/QRPlacedBox.h"

#include "framework/graphics/Bitmap.h"
#include "report/bands/QRDataSet.h"
#include "report/filters/QRExportFilter.h"
#include "report/printer/QRPrinter.h"

void TQRGrDBImage::Publish(TPublisher<TQRGrDBImage>& p) {
    p.Property(L"DataSet", &TQRGrDBImage::DataSet, &TQRGrDBImage::SetDataSet);
    p.Property(L"DataField", &TQRGrDBImage::DataField, &TQRGrDBImage::SetDataField).Default(L"");
    p.Property(L"Center", &TQRGrDBImage::Center, &TQRGrDBImage::SetCenter).Default(true);
    p.Property(L"Stretch", &TQRGrDBImage::Stretch, &TQRGrDBImage::SetStretch).Default(false);
    p.Property(L"ClipImage", &TQRGrDBImage::ClipImage, &TQRGrDBImage::SetClipImage).Default(false);
    p.Property(L"FitMode", &TQRGrDBImage::FitMode, &TQRGrDBImage::SetFitMode).Default(fmProportional);
}

TQRGrDBImage::TQRGrDBImage(TComponent* owner) : TQRPrintable(owner), picture_(std::make_unique<TPicture>()) {
    picture_->OnChange = TNotifyEvent(this, &TQRGrDBImage::PictureChanged);
    SetControlStyle(ControlStyle() + csOpaque);
    SetBounds(Left(), Top(), 105, 105);
}

TQRGrDBImage::~TQRGrDBImage() = default;

void TQRGrDBImage::SetDataSet(TDataSet* value) {
    if (dataSet_ == value) return;
    if (dataSet_ != nullptr) dataSet_->RemoveFreeNotification(this);
    dataSet_ = value;
    if (value != nullptr) value->FreeNotification(this);
}

void TQRGrDBImage::Notification(TComponent* component, TOperation operation) {
    TQRPrintable::Notification(component, operation);
    if (operation == opRemove && component == dataSet_) dataSet_ = nullptr;
}

void TQRGrDBImage::SetCenter(bool value) {
    if (value == center_) return;
    center_ = value;
    Invalidate();
}

void TQRGrDBImage::SetStretch(bool value) {
    if (value == stretch_) return;
    stretch_ = value;
    Invalidate();
}

void TQRGrDBImage::PictureChanged(TObject*) {
    pictureLoaded_ = true;
    Invalidate();
}

void TQRGrDBImage::PrintAt(int xOffset, int yOffset) {
    const auto [report, printer, x, y, w, h] = PlacedBox(*this, xOffset, yOffset);
    if (printer == nullptr) return;
    if (TCanvas* canvas = printer->PageCanvas()) {
        TRect r = Rect(printer->ToDeviceX(x), printer->ToDeviceY(y), printer->ToDeviceX(x + w), printer->ToDeviceY(y + h));
        const int deviceWidth = r.Right - r.Left, deviceHeight = r.Bottom - r.Top;
        canvas->Brush().SetStyle(bsSolid);
        canvas->Brush().SetColor(Color());
        TGraphic* graphic = picture_->Graphic();
        const bool empty = graphic == nullptr || graphic->Empty() || graphic->Width() <= 0 || graphic->Height() <= 0;
        if (empty) {
            if (stretch_) canvas->FillRect(r);
        } else {
            if (!stretch_)
                r = FittedPictureRect(*printer, x, y, w, h, graphic->Width(), graphic->Height(), Width(), Height(),
                                      fitMode_, center_);
            DrawFittedPicture(*canvas, *graphic, r, stretch_, clipImage_, center_, *printer, deviceWidth, deviceHeight);
        }
    }
    TQRPrintable::PrintAt(xOffset, yOffset);
    if (TQRExportFilter* filter = report->ExportFilter())
        filter->PlaceGraphic(this, printer->ToDeviceX(x), printer->ToDeviceY(y));
}

void TQRGrDBImage::Paint() {
    TCanvas& canvas = Canvas();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(ClientRect());
    canvas.SetFont(*Font());
    const String label = L"(" + Name() + L")";
    const int w = canvas.TextWidth(label), h = canvas.TextHeight(label);
    canvas.TextOut((Width() - w) / 2, (Height() - h) / 2, label);
    TQRPrintable::Paint();
}
