#include "report/text/QRTextPrintables.h"

#include <algorithm>
#include <cmath>

#include "framework/classes/Filer.h"
#include "framework/classes/Reader.h"
#include "framework/classes/Writer.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/ScreenMetrics.h"
#include "framework/rtl/DateTime.h"
#include "framework/rtl/FloatFormat.h"
#include "framework/rtl/Format.h"
#include "report/bands/QRBands.h"
#include "report/bands/QRReport.h"
#include "report/filters/QRExportFilter.h"
#include "report/printables/QRShape.h"
#include "report/printer/QRPrinter.h"

namespace {

int MulDivRound(int value, int numerator, int denominator) {
    if (denominator == 0) return -1;
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

// A frame width (points) in 0.1 mm.
Extended FrameWidthInTenths(const TQRFrame& frame) { return std::round(frame.Width() / 72.0 * 254); }

TAlignment Mirrored(TAlignment alignment, bool rightToLeft) {
    if (!rightToLeft) return alignment;
    if (alignment == taLeftJustify) return taRightJustify;
    if (alignment == taRightJustify) return taLeftJustify;
    return alignment;
}

}  // namespace

// ---- TQRCustomLabel ----

void TQRCustomLabel::Publish(TPublisher<TQRCustomLabel>& p) {
    p.Property(L"Alignment", &TQRCustomLabel::Alignment, &TQRCustomLabel::SetAlignment).Default(taLeftJustify);
    p.Property(L"AlignToBand", &TQRCustomLabel::AlignToBand, &TQRCustomLabel::SetAlignToBand).Default(false);
    p.Property(L"AutoSize", &TQRCustomLabel::AutoSize, &TQRCustomLabel::SetAutoSize).Default(true);
    p.Property(L"Transparent", &TQRCustomLabel::Transparent, &TQRCustomLabel::SetTransparent).Default(false);
    p.Property(L"ExportAs", &TQRCustomLabel::ExportAs, &TQRCustomLabel::SetExportAs).Default(exptText);
    p.Event(L"OnPrint", &TQRCustomLabel::OnPrint);
}

TQRCustomLabel::TQRCustomLabel(TComponent* owner) : TQRPrintable(owner) { SetTransparent(false); }

TQRCustomLabel::~TQRCustomLabel() = default;

TCustomQRReport* TQRCustomLabel::LabelReport() const { return dynamic_cast<TCustomQRReport*>(ParentReport()); }

void TQRCustomLabel::SetAutoStretch(bool value) {
    autoStretch_ = value;
    Invalidate();
}

void TQRCustomLabel::SetWordWrap(bool value) {
    wordWrap_ = value;
    Invalidate();
}

void TQRCustomLabel::SetLabelCaption(const String& value) {
    caption_ = value;
    printText_ = value;
    formatted_ = false;
    FormatLines();
    Invalidate();
}

int TQRCustomLabel::LineWidth(const String& text) {
    if (TCustomQRReport* report = LabelReport())
        return MulDivRound(report->TextWidthOf(*Font(), text), DisplayZoom(), 100);
    // Off a report the label is measured without making its window.
    TBitmap surface(1, 1);
    surface.Canvas().SetFont(*Font());
    return surface.Canvas().TextWidth(text);
}

int TQRCustomLabel::OneLineHeight() {
    TCustomQRReport* report = LabelReport();
    return report != nullptr ? report->TextHeightOf(*Font(), L"W") * DisplayZoom() / 100 + 1 : 0;
}

void TQRCustomLabel::GrowToOneLine() {
    int line = OneLineHeight();
    if (Height() < line) SetHeight(line);
}

void TQRCustomLabel::FormatLines() {
    if (Parent() == nullptr) {
        formatted_ = true;
        return;
    }
    const bool onReport = LabelReport() != nullptr;
    TQRLineBreakOptions options{Width(), autoSize_, wordWrap_};
    formattedLines_ = BreakIntoLines(printText_, options, [this](const String& text) { return LineWidth(text); });
    if (!updatingBounds_ && onReport) GrowToOneLine();
    if (autoSize_ && !updatingBounds_ && onReport) {
        int w = 0;
        for (const String& line : formattedLines_) w = std::max(w, LineWidth(line));
        if (Frame()->DrawLeft()) w += Frame()->Width();
        if (Frame()->DrawRight()) w += Frame()->Width();
        struct TGuard {
            bool& flag;
            explicit TGuard(bool& f) : flag(f) { flag = true; }
            ~TGuard() { flag = false; }
        } guard(updatingBounds_);
        switch (Mirrored(Alignment(), RightToLeftReading())) {
        case taRightJustify: SetLeft(Left() + Width() - w); break;
        case taCenter: SetLeft(Left() + (Width() - w) / 2); break;
        case taLeftJustify: break;
        }
        SetWidth(w);
        GrowToOneLine();
    }
    formatted_ = true;
}

void TQRCustomLabel::SetName(const String& name) {
    // A label read with an empty caption keeps it: the name stands in only for a new label.
    // The reader names a component as it creates it, before marking it loading; its owner is
    // being read then.
    auto reading = [](const TComponent* c) {
        return c != nullptr && (c->ComponentState().Contains(csLoading) || c->ComponentState().Contains(csReading));
    };
    const bool loading = reading(this) || reading(Owner());
    if (!loading && (caption_.empty() || caption_ == Name())) SetLabelCaption(name);
    TQRPrintable::SetName(name);
}

void TQRCustomLabel::SetParent(TWinControl* parent) {
    TQRPrintable::SetParent(parent);
    FormatLines();
}

void TQRCustomLabel::FontChanged() {
    TQRPrintable::FontChanged();
    formatted_ = false;
    FormatLines();
}

void TQRCustomLabel::DefineProperties(TFiler& filer) {
    TQRPrintable::DefineProperties(filer);
    filer.DefineProperty(
        L"FontSize", [this](TReader& reader) { storedFontSize_ = reader.ReadInteger(); },
        [this](TWriter& writer) { writer.WriteInteger(Font()->Size()); }, true);
}

void TQRCustomLabel::Loaded() {
    TQRPrintable::Loaded();
    if (storedFontSize_ > 0) Font()->SetSize(storedFontSize_);
}

void TQRCustomLabel::PrepareForRun() {
    TQRPrintable::PrepareForRun();
    SetLabelCaption(caption_);
}

void TQRCustomLabel::PrintLine(const String& line, Extended anchorX, Extended y, TAlignment alignment) {
    IQRReport* report = ParentReport();
    TQRPrinter* printer = QRPrinter();
    if (report->CanvasOutput() && printer != nullptr && printer->PageCanvas() != nullptr && !line.empty()) {
        TCanvas& canvas = *printer->PageCanvas();
        int x = printer->ToDeviceX(anchorX);
        int width = canvas.TextWidth(line);
        if (alignment == taRightJustify) x -= width;
        if (alignment == taCenter) x -= width / 2;
        canvas.Brush().SetStyle(bsClear);
        canvas.TextOut(x, printer->ToDeviceY(y), line);
    }
    if (TQRExportFilter* filter = report->ExportFilter())
        filter->PlaceText(anchorX, y, Font(), Color(), alignment, line);
}

void TQRCustomLabel::PrintAt(int xOffset, int yOffset) {
    if (!ShouldPrint()) return;
    if (QRPrinter() == nullptr) PrepareForRun();
    IQRReport* report = ParentReport();
    TQRPrinter* printer = QRPrinter();
    if (report == nullptr || printer == nullptr) return;
    TCanvas* canvas = printer->PageCanvas();
    auto lineHeight = [&]() -> Extended {
        if (canvas != nullptr && printer->YFactor() > 0) {
            canvas->SetFont(*Font());
            return canvas->TextHeight(L"W") / printer->YFactor();
        }
        // No page to measure on (an export that lays out no pages): the screen height in 0.1 mm.
        TCustomQRReport* qr = LabelReport();
        int pixels = qr != nullptr ? qr->TextHeightOf(*Font(), L"W") : 0;
        return static_cast<Extended>(pixels) * 254 / ScreenMetrics::PixelsPerInch();
    };
    const TQRPrintableSize& size = *Size();
    Extended lh = lineHeight();
    Extended x = size.StoredValue(TQRPrintableSize::iLeft) + xOffset;
    Extended y = size.StoredValue(TQRPrintableSize::iTop) + yOffset;
    Extended w = size.StoredValue(TQRPrintableSize::iWidth);
    Extended h = size.StoredValue(TQRPrintableSize::iHeight);
    const Extended widthBefore = w;

    String savedText;
    bool textChanged = false;
    if (OnPrint) {
        String value = printText_;
        OnPrint(this, value);
        lh = lineHeight();
        h = size.StoredValue(TQRPrintableSize::iHeight);
        if (value != printText_) {
            savedText = printText_;
            textChanged = true;
            printText_ = value;
            formatted_ = false;
        }
    }
    FormatLines();
    w = size.StoredValue(TQRPrintableSize::iWidth);

    const TColor white = static_cast<TColor>(0xFFFFFF);
    if (report->Exporting() && !Transparent() && Color() != white) {
        TQRShape background(nullptr);
        background.Brush()->SetColor(Color());
        background.Brush()->SetStyle(bsSolid);
        background.Pen()->SetStyle(psClear);
        background.SetBounds(printer->ToDeviceX(x), printer->ToDeviceY(y), printer->ToDeviceWidth(w),
                             printer->ToDeviceHeight(h));
        report->ExportFilter()->PlaceGraphic(&background, background.Left(), background.Top());
    }
    const bool onCanvas = report->CanvasOutput() && canvas != nullptr;
    auto fill = [&](Extended top, Extended bottom) {
        canvas->Pen().SetWidth(0);
        canvas->Brush().SetColor(Color());
        canvas->Brush().SetStyle(bsSolid);
        canvas->FillRect(Rect(printer->ToDeviceX(x), printer->ToDeviceY(top), printer->ToDeviceX(x + w),
                              printer->ToDeviceY(bottom)));
    };
    if (onCanvas && !Transparent()) fill(y, y + h);

    const Extended frameWidth = FrameWidthInTenths(*Frame());
    if (Frame()->HasAnyLine()) {
        if (Frame()->DrawTop()) y += frameWidth;
        if (Frame()->DrawLeft()) x += frameWidth;
    }
    const TAlignment alignment = Mirrored(Alignment(), RightToLeftReading());
    if (autoSize_) {
        Extended gained = w - widthBefore;
        if (Alignment() == taRightJustify) x -= gained;
        if (Alignment() == taCenter) x -= gained / 2;
    }
    Extended anchor = x;
    if (alignment == taRightJustify) anchor = x + w;
    if (alignment == taCenter) anchor = x + w / 2;

    Extended bottom = y + h + 1;
    Extended cy = y;
    Extended extra = 0;
    if (PrintFinished()) currentLine_ = 0;
    auto* band = dynamic_cast<TQRCustomBand*>(Parent());
    const int count = static_cast<int>(formattedLines_.size());
    while (currentLine_ < count) {
        if (cy + lh > bottom) {
            if (!autoStretch_ || band == nullptr || !band->CanGrowBand(lh)) break;
            Extended before = extra;
            bool grown = false;
            band->GrowBand(extra, grown, lh);
            if (extra <= before) break;  // the band did not give the room after all
            bottom = y + h + 1 + extra;
            if (onCanvas && !Transparent()) fill(y + h + before, y + h + extra);
            if (cy + lh > bottom) continue;
        }
        PrintLine(formattedLines_[static_cast<std::size_t>(currentLine_)], anchor, cy, alignment);
        cy += lh;
        ++currentLine_;
    }
    SetPrintFinished(!(currentLine_ < count && autoStretch_));
    if (textChanged) printText_ = savedText;

    if ((onCanvas || report->Exporting()) && canvas != nullptr && Frame()->HasAnyLine()) {
        TRect r = Rect(printer->ToDeviceX(x - frameWidth), printer->ToDeviceY(y - frameWidth),
                       printer->ToDeviceX(x + w), printer->ToDeviceY(y + h + extra));
        Frame()->PaintFrame(*canvas, r, printer->XFactor(), printer->YFactor());
    }
}

void TQRCustomLabel::Paint() {
    TCanvas& canvas = Canvas();
    canvas.SetFont(*Font());
    canvas.Font().SetSize(MulDivRound(Font()->Size(), DisplayZoom(), 100));
    TQRPrintable::Paint();
    if (!formatted_) FormatLines();
    TRect r = ClientRect();
    if (!Transparent()) {
        canvas.Brush().SetColor(Color());
        canvas.Brush().SetStyle(bsSolid);
        canvas.FillRect(r);
    }
    int x = 0, y = 0;
    if (Frame()->DrawTop() && Frame()->Width() > 0) y += Frame()->Width();
    if (Frame()->DrawLeft()) x += Frame()->Width();
    canvas.Brush().SetStyle(bsClear);
    const int lineHeight = canvas.TextHeight(L"W");
    for (std::size_t i = 0; i < formattedLines_.size(); ++i) {
        const String& line = formattedLines_[i];
        if (line.empty()) continue;
        int lx = x;
        int width = canvas.TextWidth(line);
        if (Alignment() == taRightJustify) lx = x + r.Right - width;
        if (Alignment() == taCenter) lx = x + r.Right / 2 - width / 2;
        canvas.TextOut(lx, y + static_cast<int>(i) * lineHeight, line);
    }
}

// ---- TQRLabel ----

void TQRLabel::Publish(TPublisher<TQRLabel>& p) {
    p.Property(L"AutoStretch", &TQRLabel::AutoStretch, &TQRLabel::SetAutoStretch).Default(false);
    p.Property(L"Caption", &TQRLabel::Caption, &TQRLabel::AssignCaption).Default(L"");
    p.Property(L"WordWrap", &TQRLabel::WordWrap, &TQRLabel::SetWordWrap).Default(true);
}

void TQRLabel::AssignCaption(const String& value) { SetLabelCaption(value); }

// ---- TQRSysData ----

namespace {
const wchar_t* KindName(TQRSysDataType kind) {
    switch (kind) {
    case qrsTime: return L"Time";
    case qrsDate: return L"Date";
    case qrsDateTime: return L"Date/Time";
    case qrsPageNumber: return L"Page#";
    case qrsReportTitle: return L"Report title";
    case qrsDetailCount: return L"Detail count";
    case qrsDetailNo: return L"Detail no";
    }
    return L"";
}
}  // namespace

void TQRSysData::Publish(TPublisher<TQRSysData>& p) {
    p.Property(L"Data", &TQRSysData::Data, &TQRSysData::SetData).Default(qrsTime);
    p.Property(L"Text", &TQRSysData::Text, &TQRSysData::SetText).Default(L"");
}

TQRSysData::TQRSysData(TComponent* owner) : TQRCustomLabel(owner) { ShowKind(); }

void TQRSysData::ShowKind() { SetLabelCaption(text_ + L"(" + KindName(data_) + L")"); }

void TQRSysData::SetData(TQRSysDataType value) {
    data_ = value;
    ShowKind();
}

void TQRSysData::SetText(const String& value) {
    text_ = value;
    ShowKind();
}

void TQRSysData::PrintAt(int xOffset, int yOffset) {
    TCustomQRReport* report = LabelReport();
    if (report != nullptr) {
        switch (data_) {
        case qrsTime: SetLabelCaption(text_ + FormatDateTime(L"t", Now())); break;
        case qrsDate: SetLabelCaption(text_ + FormatDateTime(L"c", Date())); break;
        case qrsDateTime: SetLabelCaption(text_ + FormatDateTime(L"c", Now())); break;
        case qrsPageNumber: SetLabelCaption(text_ + IntToStr(report->PageNumber())); break;
        case qrsReportTitle: SetLabelCaption(text_ + report->ReportTitle()); break;
        case qrsDetailCount:
            if (dynamic_cast<TQRReport*>(report) != nullptr) SetLabelCaption(text_ + IntToStr(report->MainRecordCount()));
            break;
        case qrsDetailNo:
            if (dynamic_cast<TQRReport*>(report) != nullptr)
                SetLabelCaption(text_ + IntToStr(report->CurrentDetailNumber()));
            break;
        }
    }
    TQRCustomLabel::PrintAt(xOffset, yOffset);
}

// ---- TQRExpr ----

String FormatExprResult(const TQREvResultRecord& result, const String& mask) {
    try {
        switch (result.Kind) {
        case rkInteger: return FormatFloat(mask, static_cast<Extended>(result.IntValue));
        case rkFloat:
            if (mask.find(L"%m") != String::npos) return Format(mask, {static_cast<Extended>(result.FloatValue)});
            return FormatFloat(mask, result.FloatValue);
        case rkBoolean: return result.BoolValue ? L"True" : L"False";
        case rkString:
        case rkError: return result.Text;
        }
    } catch (const Exception&) {
        // A mask the formatter refuses marks the value; the page still prints.
    }
    return L"#ERROR";
}

void TQRExpr::Publish(TPublisher<TQRExpr>& p) {
    p.Property(L"AutoStretch", &TQRExpr::AutoStretch, &TQRExpr::SetAutoStretch).Default(false);
    p.Property(L"WordWrap", &TQRExpr::WordWrap, &TQRExpr::SetWordWrap).Default(true);
    p.Property(L"Expression", &TQRExpr::Expression, &TQRExpr::SetExpression).Default(L"");
    p.Property(L"Mask", &TQRExpr::Mask, &TQRExpr::SetMask).Default(L"");
    p.Property(L"ResetAfterPrint", &TQRExpr::ResetAfterPrint, &TQRExpr::SetResetAfterPrint).Default(false);
}

TQRExpr::TQRExpr(TComponent* owner) : TQRCustomLabel(owner), evaluator_(std::make_unique<TQREvaluator>()) {}

TQRExpr::~TQRExpr() = default;

void TQRExpr::ShowExpression() {
    SetLabelCaption(expression_.empty() ? String(L"(none)") : expression_);
}

void TQRExpr::SetExpression(const String& value) {
    expression_ = value;
    ShowExpression();
}

void TQRExpr::SetMask(const String& value) {
    mask_ = value;
    ShowExpression();
}

void TQRExpr::PrepareForRun() {
    TQRCustomLabel::PrepareForRun();
    TCustomQRReport* report = LabelReport();
    if (report != nullptr) {
        evaluator_->BindDataSets(report->RunDataSets());
        evaluator_->SetEnvironment(report->Functions());
    }
    evaluator_->Compile(expression_);
    if (auto* masterReport = dynamic_cast<TCustomQRReport*>(master_))
        masterReport->AddToNotifyList(this);
    else if (auto* subDetail = dynamic_cast<TQRSubDetail*>(master_))
        subDetail->AddToNotifyList(this);
    else if (master_ == nullptr && report != nullptr && evaluator_->HasAggregates())
        report->AddToNotifyList(this);
    evaluator_->ResetAggregates();
}

void TQRExpr::ReportNotification(TObject* sender, Byte operation) {
    TQRCustomLabel::ReportNotification(sender, operation);
    if (operation == 0 && evaluator_->Compiled()) evaluator_->Accumulate();
}

void TQRExpr::PrintAt(int xOffset, int yOffset) {
    if (!ShouldPrint()) return;
    if (QRPrinter() == nullptr) PrepareForRun();
    String text = evaluator_->Compiled() ? FormatExprResult(evaluator_->Evaluate(), mask_) : String();
    // The value prints; the caption keeps the expression.
    SetPrintText(text);
    TQRCustomLabel::PrintAt(xOffset, yOffset);
    if (resetAfterPrint_) evaluator_->ResetAggregates();
}

void TQRExpr::ReleaseAfterRun() {
    evaluator_->BindDataSets(nullptr);
    evaluator_->Release();
    TQRCustomLabel::ReleaseAfterRun();
    ShowExpression();
}
