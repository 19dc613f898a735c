#include "export/filters/QRHRule.h"
#include "export/filters/QRPlacedBox.h"

#include "export/filters/QRHTMLDocumentFilter.h"
#include "export/pdf/QRPDFFilter.h"
#include "report/filters/QRExportFilter.h"
#include "report/printer/QRPrinter.h"

bool FilterTakesRules(const TQRExportFilter* filter) {
    return dynamic_cast<const TQRGHTMLDocumentFilter*>(filter) != nullptr ||
           dynamic_cast<const TQRPDFDocumentFilter*>(filter) != nullptr;
}

void TQRHRule::Publish(TPublisher<TQRHRule>& p) {
    p.Property(L"VertAdjust", &TQRHRule::VertAdjust, &TQRHRule::SetVertAdjust).Default(0);
    p.Property(L"Brush", &TQRHRule::Brush);
    p.Property(L"Pen", &TQRHRule::Pen);
}

TQRHRule::TQRHRule(TComponent* owner)
    : TQRPrintable(owner), brush_(std::make_unique<TBrush>()), pen_(std::make_unique<TPen>()) {
    brush_->OnChange = TNotifyEvent(this, &TQRHRule::StyleChanged);
    pen_->OnChange = TNotifyEvent(this, &TQRHRule::StyleChanged);
    SetBounds(Left(), Top(), 100, 10);
}

TQRHRule::~TQRHRule() = default;

void TQRHRule::PrintAt(int xOffset, int yOffset) {
    const auto [report, printer, x, y, w, h] = PlacedBox(*this, xOffset, yOffset);
    if (printer == nullptr) return;
    TQRExportFilter* filter = report->ExportFilter();
    if (FilterTakesRules(filter)) filter->PlaceGraphic(this, printer->ToDeviceX(x), printer->ToDeviceY(y));
    if (!report->CanvasOutput() || !Enabled() || printer->PageCanvas() == nullptr) return;
    TCanvas& canvas = *printer->PageCanvas();
    canvas.SetPen(*pen_);
    canvas.SetBrush(*brush_);
    const int middle = printer->ToDeviceY(y + h / 2);
    canvas.MoveTo(printer->ToDeviceX(x), middle);
    canvas.LineTo(printer->ToDeviceX(x + w), middle);
}

void TQRHRule::Paint() {
    TCanvas& canvas = Canvas();
    canvas.SetPen(*pen_);
    canvas.SetBrush(*brush_);
    canvas.MoveTo(0, Height() / 2);
    canvas.LineTo(Width(), Height() / 2);
}
