#include "export/filters/QRGrImage.h"
#include "export/filters/QRPlacedBox.h"

#include <windows.h>

#include <cmath>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/ScreenMetrics.h"
#include "framework/rtl/Numeric.h"
#include "report/filters/QRExportFilter.h"
#include "report/printables/QRImage.h"
#include "report/printer/QRPrinter.h"

TRect FittedPictureRect(const TQRPrinter& printer, Extended x, Extended y, Extended width, Extended height,
                        int pictureWidth, int pictureHeight, int controlWidth, int controlHeight, TFitMode mode,
                        bool center) {
    TRect r = Rect(printer.ToDeviceX(x), printer.ToDeviceY(y), printer.ToDeviceX(x + width), printer.ToDeviceY(y + height));
    // A picture or control without size has no ratio to follow.
    if (pictureWidth <= 0 || pictureHeight <= 0 || width <= 0 || height <= 0) return r;
    const Extended ratio = static_cast<Extended>(pictureWidth) / pictureHeight;
    const bool widerThanControl = static_cast<Extended>(pictureHeight) / height <= static_cast<Extended>(pictureWidth) / width;
    bool heightFollows = false, widthFollows = false;
    switch (mode) {
    case fmKeepWidth: heightFollows = true; break;
    case fmKeepHeight: widthFollows = true; break;
    case fmProportional:
        widthFollows = widerThanControl;
        heightFollows = !widerThanControl;
        break;
    case fmInsideProp: {
        const int deviceWidth = r.Right - r.Left, deviceHeight = r.Bottom - r.Top;
        if (widerThanControl) {
            const int fitted = static_cast<int>(Round(pictureHeight / (static_cast<Extended>(pictureWidth) / deviceWidth)));
            const int shift = (deviceHeight - fitted) / 2;
            r.Top += shift;
            r.Bottom = r.Top + fitted;
        } else {
            const int fitted = static_cast<int>(Round(pictureWidth / (static_cast<Extended>(pictureHeight) / deviceHeight)));
            const int shift = (deviceWidth - fitted) / 2;
            r.Left += shift;
            r.Right = r.Left + fitted;
        }
        return r;
    }
    }
    if (heightFollows) {
        r.Bottom = printer.ToDeviceY(y + width / ratio);
        if (center) {
            const int up = static_cast<int>(Round((pictureHeight - controlHeight) / 2.0L));
            r.Top -= up;
            r.Bottom -= up;
        }
    }
    if (widthFollows) {
        r.Right = printer.ToDeviceX(x + height * ratio);
        if (center) {
            const int left = static_cast<int>(Round((pictureWidth - controlWidth) / 2.0L));
            r.Left -= left;
            r.Right -= left;
        }
    }
    return r;
}

namespace {
void StretchInto(TCanvas& canvas, TGraphic& graphic, const TRect& r) {
    if (auto* bitmap = dynamic_cast<TBitmap*>(&graphic)) DrawBitmapAsDIB(canvas, r, *bitmap);
    else canvas.StretchDraw(r, graphic);
}
}  // namespace

void DrawFittedPicture(TCanvas& canvas, TGraphic& graphic, TRect r, bool stretch, bool clipImage, bool center,
                       const TQRPrinter& printer, int deviceWidth, int deviceHeight) {
    if (graphic.Empty() || graphic.Width() <= 0 || graphic.Height() <= 0) return;
    if (stretch) {
        StretchInto(canvas, graphic, r);
        return;
    }
    HDC dc = canvas.Handle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    if (clipImage) {
        const Extended ppi = ScreenMetrics::PixelsPerInch();
        const int w = static_cast<int>(Round(graphic.Width() / ppi * 254 * printer.XFactor()));
        const int h = static_cast<int>(Round(graphic.Height() / ppi * 254 * printer.YFactor()));
        r.Right = r.Left + w;
        r.Bottom = r.Top + h;
        if (center) {
            const int dx = (deviceWidth - w) / 2, dy = (deviceHeight - h) / 2;
            r = Rect(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy);
        }
    }
    StretchInto(canvas, graphic, r);
    if (saved != 0) RestoreDC(dc, saved);
}

void TQRGrImage::Publish(TPublisher<TQRGrImage>& p) {
    p.Property(L"Picture", &TQRGrImage::Picture);
    p.Property(L"AutoSize", &TQRGrImage::AutoSize, &TQRGrImage::SetAutoSize).Default(false);
    p.Property(L"Center", &TQRGrImage::Center, &TQRGrImage::SetCenter).Default(false);
    p.Property(L"Stretch", &TQRGrImage::Stretch, &TQRGrImage::SetStretch).Default(false);
    p.Property(L"ClipImage", &TQRGrImage::ClipImage, &TQRGrImage::SetClipImage).Default(false);
    p.Property(L"FitMode", &TQRGrImage::FitMode, &TQRGrImage::SetFitMode).Default(fmProportional);
}

TQRGrImage::TQRGrImage(TComponent* owner) : TQRPrintable(owner), picture_(std::make_unique<TPicture>()) {
    picture_->OnChange = TNotifyEvent(this, &TQRGrImage::PictureChanged);
    SetBounds(Left(), Top(), 105, 105);
}

TQRGrImage::~TQRGrImage() = default;

void TQRGrImage::SetAutoSize(bool value) {
    autoSize_ = value;
    PictureChanged(nullptr);
}

void TQRGrImage::SetCenter(bool value) {
    if (value == center_) return;
    center_ = value;
    PictureChanged(nullptr);
}

void TQRGrImage::SetStretch(bool value) {
    if (value == stretch_) return;
    stretch_ = value;
    PictureChanged(nullptr);
}

void TQRGrImage::PictureChanged(TObject*) {
    const int w = picture_->Width(), h = picture_->Height();
    if (autoSize_ && w > 0 && h > 0) SetBounds(Left(), Top(), w, h);
    const bool coveringBitmap =
        dynamic_cast<TBitmap*>(picture_->Graphic()) != nullptr && w >= Width() && h >= Height();
    SetControlStyle(coveringBitmap ? ControlStyle() + csOpaque : ControlStyle() - csOpaque);
    Invalidate();
}

void TQRGrImage::PrintAt(int xOffset, int yOffset) {
    const auto [report, printer, x, y, w, h] = PlacedBox(*this, xOffset, yOffset);
    if (printer == nullptr) return;
    TGraphic* graphic = picture_->Graphic();
    if (TCanvas* canvas = printer->PageCanvas(); canvas != nullptr && graphic != nullptr && !graphic->Empty()) {
        TRect r = Rect(printer->ToDeviceX(x), printer->ToDeviceY(y), printer->ToDeviceX(x + w), printer->ToDeviceY(y + h));
        const int deviceWidth = r.Right - r.Left, deviceHeight = r.Bottom - r.Top;
        if (!stretch_ && dynamic_cast<TBitmap*>(graphic) != nullptr)
            r = FittedPictureRect(*printer, x, y, w, h, graphic->Width(), graphic->Height(), Width(), Height(), fitMode_,
                                  center_);
        DrawFittedPicture(*canvas, *graphic, r, stretch_, clipImage_, center_, *printer, deviceWidth, deviceHeight);
    }
    TQRPrintable::PrintAt(xOffset, yOffset);
    if (TQRExportFilter* filter = report->ExportFilter())
        filter->PlaceGraphic(this, printer->ToDeviceX(x), printer->ToDeviceY(y));
}

void TQRGrImage::Paint() {
    TCanvas& canvas = Canvas();
    if (ComponentState().Contains(csDesigning)) {
        canvas.Pen().SetStyle(psDash);
        canvas.Brush().SetStyle(bsClear);
        canvas.Rectangle(ClientRect());
    }
    TGraphic* graphic = picture_->Graphic();
    if (graphic == nullptr || graphic->Empty()) return;
    TRect r = ClientRect();
    if (!stretch_) {
        const int w = graphic->Width(), h = graphic->Height();
        r = center_ ? Rect((Width() - w) / 2, (Height() - h) / 2, (Width() - w) / 2 + w, (Height() - h) / 2 + h)
                    : Rect(0, 0, w, h);
    }
    const int zoom = DisplayZoom();
    if (zoom != 100)
        r = Rect(r.Left, r.Top, r.Left + (r.Right - r.Left) * zoom / 100, r.Top + (r.Bottom - r.Top) * zoom / 100);
    canvas.StretchDraw(r, *graphic);
}
