#include "report/printables/QRImage.h"

#include <windows.h>

#include <cmath>
#include <vector>

#include "framework/graphics/GdiHandles.h"
#include "framework/graphics/Metafile.h"
#include "framework/graphics/ScreenMetrics.h"
#include "report/filters/QRExportFilter.h"
#include "report/printer/QRPrinter.h"

bool DrawBitmapAsDIB(TCanvas& canvas, const TRect& r, const TBitmap& bitmap) {
    HBITMAP handle = bitmap.Handle();
    if (handle == nullptr || bitmap.Empty()) return false;
    BITMAP info{};
    if (GetObjectW(handle, sizeof(info), &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
    // Header with room for a full colour table, then the bits as 32-bit pixels: what any
    // source format converts to without a palette of its own.
    std::vector<Byte> header(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* bmi = reinterpret_cast<BITMAPINFO*>(header.data());
    bmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi->bmiHeader.biWidth = info.bmWidth;
    bmi->bmiHeader.biHeight = info.bmHeight;
    bmi->bmiHeader.biPlanes = 1;
    bmi->bmiHeader.biBitCount = 32;
    bmi->bmiHeader.biCompression = BI_RGB;
    std::vector<Byte> bits(static_cast<std::size_t>(info.bmWidth) * static_cast<std::size_t>(info.bmHeight) * 4);
    int lines = 0;
    {
        const UniqueWindowDC screen = ScreenDC();
        if (!screen) return false;
        lines = GetDIBits(screen.get(), handle, 0, static_cast<UINT>(info.bmHeight), bits.data(), bmi, DIB_RGB_COLORS);
    }
    if (lines != info.bmHeight) return false;
    TCanvasLock lock(canvas);
    HDC dc = canvas.Handle();
    if (!bitmap.Monochrome()) SetStretchBltMode(dc, COLORONCOLOR);
    int copied = StretchDIBits(dc, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top, 0, 0, info.bmWidth,
                               info.bmHeight, bits.data(), bmi, DIB_RGB_COLORS, SRCCOPY);
    return copied != 0 && copied != static_cast<int>(GDI_ERROR);
}

TRect NaturalPictureRect(const TRect& r, int pictureWidth, int pictureHeight, Extended xFactor, Extended yFactor,
                         bool center) {
    const Extended ppi = ScreenMetrics::PixelsPerInch();
    const int width = static_cast<int>(std::lround(pictureWidth / ppi * 254 * xFactor));
    const int height = static_cast<int>(std::lround(pictureHeight / ppi * 254 * yFactor));
    TRect result = Rect(r.Left, r.Top, r.Left + width, r.Top + height);
    if (center) {
        const int dx = (r.Right - r.Left - width) / 2, dy = (r.Bottom - r.Top - height) / 2;
        result = Rect(result.Left + dx, result.Top + dy, result.Right + dx, result.Bottom + dy);
    }
    return result;
}

void TQRImage::Publish(TPublisher<TQRImage>& p) {
    p.Property(L"AutoSize", &TQRImage::AutoSize, &TQRImage::SetAutoSize).Default(false);
    p.Property(L"Center", &TQRImage::Center, &TQRImage::SetCenter).Default(false);
    p.Property(L"Picture", &TQRImage::Picture);
    p.Property(L"Stretch", &TQRImage::Stretch, &TQRImage::SetStretch).Default(false);
}

TQRImage::TQRImage(TComponent* owner) : TQRPrintable(owner), picture_(std::make_unique<TPicture>()) {
    picture_->OnChange = TNotifyEvent(this, &TQRImage::PictureChanged);
    SetBounds(Left(), Top(), 105, 105);
}

TQRImage::~TQRImage() = default;

void TQRImage::SetAutoSize(bool value) {
    autoSize_ = value;
    PictureChanged(nullptr);
}

void TQRImage::SetStretch(bool value) {
    if (value == stretch_) return;
    stretch_ = value;
    PictureChanged(nullptr);
}

void TQRImage::SetCenter(bool value) {
    if (value == center_) return;
    center_ = value;
    PictureChanged(nullptr);
}

void TQRImage::PictureChanged(TObject*) {
    const int w = picture_->Width(), h = picture_->Height();
    if (autoSize_ && w > 0 && h > 0) SetBounds(Left(), Top(), w, h);
    const bool coveringBitmap =
        dynamic_cast<TBitmap*>(picture_->Graphic()) != nullptr && w >= Width() && h >= Height();
    SetControlStyle(coveringBitmap ? ControlStyle() + csOpaque : ControlStyle() - csOpaque);
    Invalidate();
}

void TQRImage::DrawPicture(TCanvas& canvas, const TRect& r, Extended xFactor, Extended yFactor) {
    TGraphic* graphic = picture_->Graphic();
    if (graphic == nullptr || graphic->Empty()) return;
    if (stretch_) {
        if (auto* bitmap = dynamic_cast<TBitmap*>(graphic)) {
            TCanvasLock lock(bitmap->Canvas());
            canvas.StretchDraw(r, *graphic);
        } else {
            canvas.StretchDraw(r, *graphic);
        }
        return;
    }
    HDC dc = canvas.Handle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    TRect natural = NaturalPictureRect(r, graphic->Width(), graphic->Height(), xFactor, yFactor, center_);
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic))
        DrawBitmapAsDIB(canvas, natural, *bitmap);
    else
        canvas.StretchDraw(natural, *graphic);
    if (saved != 0) RestoreDC(dc, saved);
}

void TQRImage::PrintAt(int xOffset, int yOffset) {
    IQRReport* report = ParentReport();
    if (report == nullptr || !ShouldPrint()) return;
    TQRPrinter* printer = report->ReportPrinter();
    if (printer == nullptr) return;
    const TQRPrintableSize& size = *Size();
    Extended x0 = size.StoredValue(TQRPrintableSize::iLeft) + xOffset;
    Extended y0 = size.StoredValue(TQRPrintableSize::iTop) + yOffset;
    Extended w = size.StoredValue(TQRPrintableSize::iWidth), h = size.StoredValue(TQRPrintableSize::iHeight);
    if (TQRExportFilter* filter = report->ExportFilter())
        filter->PlaceGraphic(this, printer->ToDeviceX(x0), printer->ToDeviceY(y0));
    if (TCanvas* canvas = printer->PageCanvas()) {
        TRect r = Rect(printer->ToDeviceX(x0), printer->ToDeviceY(y0), printer->ToDeviceX(x0 + w),
                       printer->ToDeviceY(y0 + h));
        DrawPicture(*canvas, r, printer->XFactor(), printer->YFactor());
    }
    TQRPrintable::PrintAt(xOffset, yOffset);
}

void TQRImage::Paint() {
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
