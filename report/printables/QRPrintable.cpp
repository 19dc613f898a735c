#include "report/printables/QRPrintable.h"

#include "framework/graphics/ScreenMetrics.h"
#include "report/printer/QRPrinter.h"

TClass TQRPrintableEditor::EditedClass() const { return TQRPrintable::StaticClass(); }

void TQRPrintable::Publish(TPublisher<TQRPrintable>& p) {
    p.Property(L"Frame", &TQRPrintable::Frame);
    p.Property(L"Size", &TQRPrintable::Size);
}

TQRPrintable::TQRPrintable(TComponent* owner)
    : TCustomControl(owner),
      frame_(std::make_unique<TQRFrame>(this)),
      size_(std::make_unique<TQRPrintableSize>(this)) {
    SetControlStyle(ControlStyle() + csOpaque);
    SetColor(clWhite);
    SetBounds(Left(), Top(), 10, 10);
}

TQRPrintable::~TQRPrintable() = default;

void TQRPrintable::SetAlignToBand(bool align) {
    alignToBand_ = align;
    ApplyBandAlignment();
}

void TQRPrintable::ChangeAlignment(TAlignment alignment) {
    alignment_ = alignment;
    if (alignToBand_) ApplyBandAlignment();
    Invalidate();
}

void TQRPrintable::SetTransparent(bool transparent) {
    if (transparent == Transparent()) return;
    SetControlStyle(transparent ? ControlStyle() - csOpaque : ControlStyle() + csOpaque);
    Invalidate();
}

void TQRPrintable::SetZoom(int zoom) {
    size_->SetZoom(zoom);
    size_->PushToParent();
}

void TQRPrintable::ApplyBandAlignment() {
    if (!alignToBand_) return;
    struct TAligning {
        bool& flag;
        explicit TAligning(bool& f) : flag(f) { flag = true; }
        ~TAligning() { flag = false; }
    } aligning(aligning_);
    IQRBand* band = AsQRBand(Parent());
    int bandWidth = band != nullptr ? band->PanelControl().Width() : 0;
    switch (alignment_) {
    case taLeftJustify: SetLeft(0); break;
    case taRightJustify:
        if (band != nullptr) SetLeft(bandWidth - Width());
        break;
    case taCenter:
        if (band != nullptr) SetLeft((bandWidth - Width()) / 2);
        break;
    }
}

void TQRPrintable::PrepareForRun() {
    printing_ = true;
    printer_ = parentReport_ != nullptr ? parentReport_->ReportPrinter() : nullptr;
}

void TQRPrintable::PrintAt(int xOffset, int yOffset) {
    if (parentReport_ == nullptr || !parentReport_->CanvasOutput() || !frame_->HasAnyLine()) return;
    TQRPrinter* printer = parentReport_->ReportPrinter();
    if (printer == nullptr || printer->PageCanvas() == nullptr) return;
    const TQRPrintableSize& size = *size_;
    Extended left = size.StoredValue(TQRPrintableSize::iLeft) + xOffset;
    Extended top = size.StoredValue(TQRPrintableSize::iTop) + yOffset;
    TRect r = Rect(printer->ToDeviceX(left), printer->ToDeviceY(top),
                   printer->ToDeviceX(left + size.StoredValue(TQRPrintableSize::iWidth)),
                   printer->ToDeviceY(top + size.StoredValue(TQRPrintableSize::iHeight)));
    frame_->PaintFrame(*printer->PageCanvas(), r, printer->XFactor(), printer->YFactor());
}

void TQRPrintable::ReportNotification(TObject*, Byte operation) {
    if (operation == 2) ApplyBandAlignment();
}

void TQRPrintable::ReleaseAfterRun() { printing_ = false; }

void TQRPrintable::SetBounds(int left, int top, int width, int height) {
    if (size_ == nullptr || size_->Updating()) {
        TCustomControl::SetBounds(left, top, width, height);
        if (parentReport_ != nullptr) parentReport_->InvalidateDesignPicture();
    } else if (ComponentState().Contains(csLoading)) {
        if (left != 0) loadedLeft_ = left;
        if (top != 0) loadedTop_ = top;
        if (width != 0) loadedWidth_ = width;
        if (height != 0) loadedHeight_ = height;
    } else {
        TQRPrintableSize& size = *size_;
        size.SwitchToPixels();
        if (height != size.Height()) size.SetHeight(height);
        if (width != size.Width()) size.SetWidth(width);
        if (top != size.Top()) size.SetTop(top);
        if (left != size.Left()) size.SetLeft(left);
        size.RestoreUnits();
    }
    // The size object's own pushes come back here; the outermost call aligns.
    if (alignToBand_ && !aligning_ && size_ != nullptr && !size_->Updating()) ApplyBandAlignment();
}

void TQRPrintable::BindToReport(IQRReport* report) {
    parentReport_ = report;
    size_->SetReport(report);
    size_->SetZoom(report->PanelZoom());
}

void TQRPrintable::SetParent(TWinControl* parent) {
    int left = Left(), top = Top();
    TCustomControl::SetParent(parent);
    if (IQRReport* report = AsQRReport(parent)) {
        size_->SetUnits(report->ReportUnits());
        BindToReport(report);
    } else if (IQRBand* band = AsQRBand(parent)) {
        size_->SetUnits(band->BandSize() != nullptr ? band->BandSize()->Units() : TQRUnit::Native);
        if (band->BandReport() != nullptr) BindToReport(band->BandReport());
    } else {
        return;
    }
    SetTop(top);
    SetLeft(left);
}

void TQRPrintable::Loaded() {
    TCustomControl::Loaded();
    size_->AfterLoad();
    if (Left() == 0 && loadedLeft_ != 0) SetLeft(loadedLeft_);
    if (Top() == 0 && loadedTop_ != 0) SetTop(loadedTop_);
    if (Width() == 0 && loadedWidth_ != 0) SetWidth(loadedWidth_);
    if (Height() == 0 && loadedHeight_ != 0) SetHeight(loadedHeight_);
}

void TQRPrintable::Paint() {
    if (printing_) return;
    TCanvas& canvas = Canvas();
    int w = Width(), h = Height();
    if (!Transparent()) {
        canvas.Brush().SetColor(clWhite);
        canvas.Brush().SetStyle(bsSolid);
        canvas.FillRect(ClientRect());
    }
    canvas.Pen().SetColor(clBlack);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(psSolid);
    canvas.Polyline({Point(0, 3), Point(0, 0), Point(3, 0)});
    canvas.Polyline({Point(0, h - 4), Point(0, h - 1), Point(3, h - 1)});
    canvas.Polyline({Point(w - 4, 0), Point(w - 1, 0), Point(w - 1, 3)});
    canvas.Polyline({Point(w - 4, h - 1), Point(w - 1, h - 1), Point(w - 1, h - 4)});
    Extended factor = static_cast<Extended>(DisplayZoom()) * ScreenMetrics::PixelsPerInch() / 254 / 100;
    TRect r = ClientRect();
    frame_->PaintFrame(canvas, Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1), factor, factor);
}
