#include "report/bands/QRReport.h"

#include <algorithm>

#include "framework/classes/ComponentResource.h"
#include "framework/controls/ControlsScope.h"
#include "framework/graphics/ScreenMetrics.h"
#include "framework/rtl/Numeric.h"
#include "report/expressions/QREvEnvironment.h"
#include "report/printables/QRPrintable.h"
#include "report/printer/PrinterSettings.h"

namespace {

int Rounded(Extended value) { return static_cast<int>(Round(value)); }

bool Dying(const TComponent* component) {
    return component->ComponentState().Contains(csDestroying);
}

}  // namespace

bool TCustomQRReport::TPrinterLink::UseStandardPrinter() const {
    return report_.printerSettings_->UseStandardprinter();
}

int TCustomQRReport::TPrinterLink::MemoryLimit() const { return report_.printerSettings_->MemoryLimit(); }

void TCustomQRReport::TPrinterLink::AfterPrint() {
    if (report_.AfterPrint) report_.AfterPrint(&report_);
}

// ---- construction ----

TCustomQRReport::TCustomQRReport(TComponent* owner)
    : TQRBasePanel(owner),
      bands_(std::make_unique<TQRReportBands>(this)),
      description_(std::make_unique<TStringList>()),
      functions_(std::make_unique<TQREvEnvironment>()),
      printerSettings_(std::make_unique<TQRReportPrinterSettings>()),
      dialogSettings_(std::make_unique<TQRReportPrinterSettings>()) {
    functions_->DefineEntry(L"PAGENUMBER", L"0");
    functions_->DefineEntry(L"COLUMNNUMBER", L"0");
    functions_->DefineEntry(L"REPORTTITLE", L"''");
    SetParentFont(false);
    Font()->SetName(L"Arial");
    Font()->SetSize(10);
    SetColor(clWhite);
    SetBounds(0, 0, Width(), Height());
    // The page sizes the control, which must exist by then.
    page_ = std::make_unique<TQRPage>(this);
    page_->SetPaperSize(CurrentPrinterPaperSize());
    page_->PushToParent();
    TCustomQRReport::CreateNewReport();
}

TCustomQRReport::~TCustomQRReport() = default;

void TCustomQRReport::CreateNewReport() {
    auto controller = std::make_unique<TQRCustomController>(this);
    controller->SetParentReport(this);
    controller->SetLevelOwner(this);
    ReplaceController(std::move(controller));
}

void TCustomQRReport::ReplaceController(std::unique_ptr<TQRCustomController> controller) {
    if (controller_ != nullptr && controller != nullptr) controller->SetPrintIfEmpty(controller_->PrintIfEmpty());
    controller_ = std::move(controller);
}

void TCustomQRReport::ReadReport() { ReadComponentResource(this, ClassName()); }

void TCustomQRReport::BeforeDestruction() {
    messageWindow_.reset();
    // Bands that outlive the report (owned by its owner) must not reach it any more.
    for (TQRCustomBand* band : bandList_) {
        band->SetParentReport(nullptr);
        band->Size()->SetReport(nullptr);
    }
    TQRBasePanel::BeforeDestruction();
    bandList_.clear();
    scratchList_.clear();
    controller_.reset();
}

void TCustomQRReport::Loaded() {
    TQRBasePanel::Loaded();
    RebuildBandList();
    ArrangeBands();
}

void TCustomQRReport::Notification(TComponent* component, TOperation operation) {
    TQRBasePanel::Notification(component, operation);
    if (operation != opRemove) return;
    auto it = std::find(bandList_.begin(), bandList_.end(), component);
    if (it != bandList_.end()) bandList_.erase(it);
}

// ---- properties ----

void TCustomQRReport::SetZoom(int zoom) {
    if (zoom < 1 || zoom > 300) return;
    ChangeZoom(zoom);
    page_->SetZoom(zoom);
    page_->PushToParent();
    ArrangeBands();
}

void TCustomQRReport::ChangeZoom(int zoom) { TQRBasePanel::ChangeZoom(zoom); }

void TCustomQRReport::ChangeUnits(TQRUnit units) {
    page_->SetUnits(units);
    for (TQRCustomBand* band : bandList_) band->SetBandUnits(units);
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* printable = dynamic_cast<TQRPrintable*>(Controls(i))) printable->Size()->SetUnits(units);
}

void TCustomQRReport::SetBounds(int left, int top, int width, int height) {
    const bool resized = width != Width() || height != Height();
    TQRBasePanel::SetBounds(left, top, width, height);
    // A custom paper follows the control; any other comes from the paper table.
    if (resized && page_ != nullptr && !page_->Updating() && page_->PaperSize() == TQRPaperSize::Custom &&
        !ComponentState().Contains(csLoading)) {
        page_->SwitchToPixels();
        page_->SetWidth(width);
        page_->SetLength(height);
        page_->RestoreUnits();
    }
}

void TCustomQRReport::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    for (int i = 0; i < ControlCount(); ++i) proc(Controls(i));
    if (root != this) return;
    // Components without a control parent (filters, datasets) are stored with the report too.
    for (int i = 0; i < ComponentCount(); ++i)
        if (!Components(i)->HasParent()) proc(Components(i));
}

// ---- bands ----

TQRBand* TCustomQRReport::AddBandOfType(TQRBandType type) {
    TComponent* owner = Owner() != nullptr ? Owner() : this;
    auto* band = new TQRBand(owner);
    band->SetName(UniqueComponentName(owner, QRBandTypeNameBase(type)));
    band->SetBandTypeValue(type);
    band->SetParent(this);
    return band;
}

void TCustomQRReport::AddBand(TQRCustomBand* band) {
    if (band == nullptr) return;
    if (std::find(bandList_.begin(), bandList_.end(), band) == bandList_.end()) {
        bandList_.push_back(band);
        band->FreeNotification(this);
    }
    RebuildBandList();
    ArrangeBands();
}

void TCustomQRReport::RemoveBand(TQRCustomBand* band) {
    auto it = std::find(bandList_.begin(), bandList_.end(), band);
    if (it != bandList_.end()) bandList_.erase(it);
    RebuildBandList();
    ArrangeBands();
}

TQRCustomBand* TCustomQRReport::FirstBandOfType(TQRBandType type) const {
    for (TQRCustomBand* band : bandList_)
        if (band->BandType() == type && !Dying(band)) return band;
    return nullptr;
}

TQRChildBand* TCustomQRReport::ChildOf(const TQRCustomBand* band) const {
    if (band == nullptr) return nullptr;
    for (TQRCustomBand* candidate : bandList_) {
        auto* child = dynamic_cast<TQRChildBand*>(candidate);
        if (child != nullptr && child->ParentBand() == band && !Dying(child)) return child;
    }
    return nullptr;
}

void TCustomQRReport::AppendBandChain(TQRCustomBand* band) {
    // Each band once: a chain of children that comes back to a band already listed ends there.
    auto listed = [this](TQRCustomBand* b) {
        return std::find(scratchList_.begin(), scratchList_.end(), b) != scratchList_.end();
    };
    for (TQRCustomBand* b = band; b != nullptr && b->ParentReport() == this && !listed(b) && !Dying(b);
         b = ChildOf(b))
        scratchList_.push_back(b);
}

void TCustomQRReport::RebuildBandList() {
    if (ComponentState().Contains(csLoading) || Destroying() || controller_ == nullptr) return;
    if (!available_) {
        // The run walks the lists; they are rebuilt once it has ended.
        bandListPending_ = true;
        return;
    }
    BindBandsToController();
    controller_->RebuildLists();
    scratchList_.clear();
    const std::vector<TQRCustomBand*> current = bandList_;
    auto appendType = [&](TQRBandType type) {
        for (TQRCustomBand* band : current)
            if (band->BandType() == type) AppendBandChain(band);
    };
    appendType(rbPageHeader);
    appendType(rbTitle);
    appendType(rbColumnHeader);
    controller_->CollectBands(*this);
    appendType(rbPageFooter);
    for (TQRCustomBand* band : current) AppendBandChain(band);
    bandList_ = std::move(scratchList_);
    scratchList_ = {};
}

void TCustomQRReport::ArrangeBands() {
    if (page_ == nullptr || ComponentState().Contains(csLoading) || Destroying()) return;
    const int left = PagePixels(page_->LeftMargin(), true);
    int y = PagePixels(page_->TopMargin(), false);
    const int columns = std::max(1, page_->Columns());
    // Later arithmetic divides by these widths: a page narrower than its margins still gets 1.
    const int fullWidth = std::max(1, Width() - PagePixels(page_->LeftMargin() + page_->RightMargin(), true));
    const int columnWidth =
        std::max(1, (fullWidth - PagePixels(page_->ColumnSpace(), true) * (columns - 1)) / columns);
    const std::vector<TQRCustomBand*> bands = bandList_;
    for (TQRCustomBand* band : bands) {
        if (Dying(band)) continue;
        band->arranging_ = true;
        band->TQRBasePanel::SetBounds(left, y, band->Width(), band->Height());
        y += band->Height();
        TQRBandType type = band->BandType();
        if (auto* child = dynamic_cast<TQRChildBand*>(band)) {
            TQRCustomBand* parent = child->FirstNonChildParent();
            type = parent != nullptr ? parent->BandType() : rbChild;
        }
        TQRBandSize& size = *band->Size();
        size.SwitchToPixels();
        size.SetWidth(QRBandSpansPage(type) ? fullWidth : columnWidth);
        size.RestoreUnits();
        band->arranging_ = false;
    }
}

// Switching the page's units would repaint the report, so lengths are converted without it.
int TCustomQRReport::PagePixels(Extended length, bool horizontal) const {
    const Extended stored = page_->UnitsToStored(page_->Units(), horizontal, length);
    return Rounded(page_->StoredToUnits(TQRUnit::Pixels, horizontal, stored));
}

// ---- measuring ----

int TCustomQRReport::TextHeightOf(TFont& font, const String&) {
    try {
        if (measure_ == nullptr) measure_ = std::make_unique<TBitmap>(1, 1);
        TCanvas& canvas = measure_->Canvas();
        canvas.Font().Assign(font);
        return canvas.TextHeight(L"A");
    } catch (const Exception&) {
        return 0;
    }
}

int TCustomQRReport::TextWidthOf(TFont& font, const String& text) {
    try {
        if (measure_ == nullptr) measure_ = std::make_unique<TBitmap>(1, 1);
        TCanvas& canvas = measure_->Canvas();
        canvas.Font().Assign(font);
        return canvas.TextWidth(text) + 1;
    } catch (const Exception&) {
        return 0;
    }
}

// ---- data ----

int TCustomQRReport::CurrentDetailNumber() const {
    auto* controller = dynamic_cast<TQRController*>(controller_.get());
    return controller != nullptr ? controller->DetailNumber() : 0;
}

int TCustomQRReport::MainRecordCount() const {
    TDataSet* dataSet = DataSet();
    if (!IsDataSetOpen(dataSet)) return 1;
    try {
        return dataSet->RecordCount();
    } catch (const Exception&) {
        return 1;
    }
}

// ---- the run ----

void TCustomQRReport::RunController() { controller_->RunDataLoop(); }

void TCustomQRReport::RequestStop() {
    cancelled_ = true;
    if (printer_ != nullptr) printer_->RequestCancel();
}

void TCustomQRReport::PlaceBand(TQRCustomBand* band) {
    if (bandPrinter_ != nullptr && band != nullptr) bandPrinter_->PlaceBand(band);
}

void TCustomQRReport::StartNextColumn() {
    if (bandPrinter_ != nullptr) bandPrinter_->StartNextColumn();
}

void TCustomQRReport::StartNextPage() {
    if (bandPrinter_ != nullptr) bandPrinter_->StartNextPage();
}

int TCustomQRReport::SpaceLeftInColumn() { return bandPrinter_ != nullptr ? bandPrinter_->SpaceLeftInColumn() : 0; }

int TCustomQRReport::PageNumber() const { return bandPrinter_ != nullptr ? bandPrinter_->PageNumber() : 0; }

std::unique_ptr<TQRPrinter> TCustomQRReport::SetReportPrinter(std::unique_ptr<TQRPrinter> printer) {
    std::swap(printer, printer_);
    return printer;
}

void TCustomQRReport::Release() {
    if (!available_) {
        releasePending_ = true;
        return;
    }
    FreeNow();
}

void TCustomQRReport::FreeNow() {
    releasePending_ = false;
    if (TControlsScope* scope = TControlsScope::Current())
        scope->FreeAfterDispatch(this);
    else
        delete this;
}

// ---- messages ----

HWND TCustomQRReport::ReportWindow() {
    if (messageWindow_ == nullptr)
        messageWindow_ = std::make_unique<TMessageWindow>([this](TMessage& message) { return HandleReportMessage(message); });
    return messageWindow_->Handle();
}

bool TCustomQRReport::HandleReportMessage(TMessage& message) {
    switch (message.Msg) {
    case CM_QRPAGEREADY:
        if (message.WParamLo() == 1 && printer_ != nullptr) {
            designPicture_ = printer_->PageMetafile(1);
            Invalidate();
        }
        return true;
    case CM_QRPREVIEWDONE: {
        // A printer replaced while its preview stayed open goes now, whatever the report does.
        auto* closed = reinterpret_cast<TQRPrinter*>(message.LParam);
        auto retired = std::find_if(retiredPrinters_.begin(), retiredPrinters_.end(),
                                    [closed](const std::unique_ptr<TQRPrinter>& p) { return p.get() == closed; });
        if (closed != nullptr && retired != retiredPrinters_.end()) {
            std::unique_ptr<TQRPrinter> printer = std::move(*retired);
            retiredPrinters_.erase(retired);
            if (printer->PreviewShowing()) printer->SetPreviewShowing(false);
            return true;
        }
        if (!available_) {
            RequestStop();
        } else if (printer_ != nullptr) {
            if (printer_->PreviewShowing()) printer_->SetPreviewShowing(false);
            printer_.reset();
        }
        return true;
    }
    case CM_QRPRINTREQUEST:
        PrintReport();
        return true;
    default: break;
    }
    return false;
}

// ---- design view ----

void TCustomQRReport::PaintRulers(TQRUnit units) {
    SetFontSize(std::abs(Font()->Size()));
    TQRBasePanel::PaintRulers(units);
}

void TCustomQRReport::Paint() {
    TCanvas& canvas = Canvas();
    PaintPanelFill();
    if (designPicture_ != nullptr) canvas.StretchDraw(ClientRect(), *designPicture_);
    if (page_->Ruler()) PaintRulers(Units());
    PaintMargins();
    PaintColumnLines();
    PaintReportFrame();
}

namespace {

}  // namespace

TCustomQRReport::TPixelMargins TCustomQRReport::MarginsInPixels() const {
    return {PagePixels(page_->LeftMargin(), true), PagePixels(page_->TopMargin(), false),
            Width() - PagePixels(page_->RightMargin(), true), Height() - PagePixels(page_->BottomMargin(), false)};
}

namespace {

void MarginPen(TCanvas& canvas) {
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(DesignPalette().MarginStyle);
    canvas.Pen().SetColor(DesignPalette().MarginColor);
    canvas.Brush().SetStyle(bsClear);
}

}  // namespace

void TCustomQRReport::PaintMargins() {
    TCanvas& canvas = Canvas();
    TPixelMargins m = MarginsInPixels();
    MarginPen(canvas);
    canvas.Rectangle(m.Left, m.Top, m.Right, m.Bottom);
}

void TCustomQRReport::PaintColumnLines() {
    const int columns = page_->Columns();
    if (columns <= 1) return;
    TCanvas& canvas = Canvas();
    TPixelMargins m = MarginsInPixels();
    const int space = PagePixels(page_->ColumnSpace(), true);
    const int columnWidth = std::max(1, (m.Right - m.Left - space * (columns - 1)) / columns);
    MarginPen(canvas);
    for (int c = 1; c < columns; ++c) {
        int x = m.Left + c * columnWidth + (c - 1) * space;
        canvas.MoveTo(x, m.Top);
        canvas.LineTo(x, m.Bottom);
        canvas.MoveTo(x + space, m.Top);
        canvas.LineTo(x + space, m.Bottom);
    }
}

void TCustomQRReport::PaintReportFrame() {
    TPixelMargins m = MarginsInPixels();
    const Extended factor = static_cast<Extended>(ScreenMetrics::PixelsPerInch()) / 254 * Zoom() / 100;
    Frame()->PaintFrame(Canvas(), Rect(m.Left, m.Top, m.Right, m.Bottom), factor, factor);
}

// ---- TQRReport ----

TQRReport::TQRReport(TComponent* owner) : TCustomQRReport(owner) { TQRReport::CreateNewReport(); }

void TQRReport::CreateNewReport() {
    auto controller = std::make_unique<TQRController>(this);
    controller->SetParentReport(this);
    controller->SetLevelOwner(this);
    ReplaceController(std::move(controller));
}

void TQRReport::Publish(TPublisher<TQRReport>& p) {
    p.Event(L"AfterPrint", &TQRReport::AfterPrint);
    p.Event(L"AfterPreview", &TQRReport::AfterPreview);
    p.Property(L"BackImageControl", &TQRReport::BackImageControl, &TQRReport::SetBackImageControl).Default(L"");
    p.Property(L"Bands", &TQRReport::Bands);
    p.Event(L"BeforePrint", &TQRReport::BeforePrint);
    p.Property(L"DataSet", &TQRReport::DataSet, &TQRReport::SetDataSet);
    p.Property(L"Description", &TQRReport::Description);
    p.Property(L"Functions", &TQRReport::Functions);
    p.Event(L"OnEndPage", &TQRReport::OnEndPage);
    p.Event(L"OnStartPage", &TQRReport::OnStartPage);
    p.Event(L"OnNeedData", &TQRReport::OnNeedData);
    p.Event(L"OnPreview", &TQRReport::OnPreview);
    p.Property(L"Options", &TQRReport::Options, &TQRReport::SetOptions)
        .Default(TQRReportOptions{TQRReportOption::FirstPageHeader, TQRReportOption::LastPageFooter});
    p.Property(L"Page", &TQRReport::Page);
    p.Property(L"PrinterSettings", &TQRReport::PrinterSettings);
    p.Property(L"PrintIfEmpty", &TQRReport::PrintIfEmpty, &TQRReport::SetPrintIfEmpty).Default(true);
    p.Property(L"ReportTitle", &TQRReport::ReportTitle, &TQRReport::SetReportTitle).Default(L"");
    p.Property(L"ShowProgress", &TQRReport::ShowProgress, &TQRReport::SetShowProgress).Default(true);
    p.Property(L"SnapToGrid", &TQRReport::SnapToGrid, &TQRReport::SetSnapToGrid);
    p.Property(L"Units", &TQRReport::Units, &TQRReport::SetUnits);
    p.Property(L"Zoom", &TQRReport::Zoom, &TQRReport::SetZoom);
    p.Event(L"OnGetPrinterSettings", &TQRReport::OnGetPrinterSettings);
    p.Event(L"OnApplyPrinterSettings", &TQRReport::OnApplyPrinterSettings);
    p.Property(L"PrevFormStyle", &TQRReport::PrevFormStyle, &TQRReport::SetPrevFormStyle)
        .Default(TQRPrevFormStyle::fsNormal);
    p.Property(L"PreviewInitialState", &TQRReport::PreviewInitialState, &TQRReport::SetPreviewInitialState)
        .Default(TQRPrevWindowState::wsNormal);
    p.Property(L"PreviewWidth", &TQRReport::PreviewWidth, &TQRReport::SetPreviewWidth).Default(500);
    p.Property(L"PreviewHeight", &TQRReport::PreviewHeight, &TQRReport::SetPreviewHeight).Default(500);
    p.Property(L"PrevShowThumbs", &TQRReport::PrevShowThumbs, &TQRReport::SetPrevShowThumbs).Default(true);
    p.Property(L"PrevShowSearch", &TQRReport::PrevShowSearch, &TQRReport::SetPrevShowSearch).Default(true);
    p.Property(L"PrevInitialZoom", &TQRReport::PrevInitialZoom, &TQRReport::SetPrevInitialZoom)
        .Default(TQRZoomState::qrZoomToFit);
    p.Property(L"PreviewDefaultSaveType", &TQRReport::PreviewDefaultSaveType,
               &TQRReport::SetPreviewDefaultSaveType)
        .Default(TPrevSaveType::stQRP);
    p.ColorProperty(L"BackgroundColor", &TQRReport::BackgroundColor, &TQRReport::SetBackgroundColor)
        .Default(16777215);
    p.Property(L"PagesInPreview", &TQRReport::PagesInPreview, &TQRReport::SetPagesInPreview).Default(0);
}

TQRController* TQRReport::ReportController() const { return dynamic_cast<TQRController*>(Controller()); }

TDataSet* TQRReport::DataSet() const {
    TQRController* controller = ReportController();
    return controller != nullptr ? controller->DataSet() : nullptr;
}

void TQRReport::SetDataSet(TDataSet* dataSet) {
    if (TQRController* controller = ReportController()) controller->SetDataSet(dataSet);
}

void TQRReport::BindBandsToController() {
    TQRController* controller = ReportController();
    if (controller == nullptr) return;
    controller->SetHeader(FirstBandOfType(rbTitle));
    controller->SetDetail(FirstBandOfType(rbDetail));
    controller->SetFooter(FirstBandOfType(rbSummary));
}

void TQRReport::RunController() {
    BindBandsToController();
    TQRController* controller = ReportController();
    if (controller == nullptr) return;
    controller->OnNeedData = OnNeedData;
    controller->RunDataLoop();
}

// ---- TQRReportBands ----

namespace {

constexpr TQRBandType NoBand = static_cast<TQRBandType>(-1);

TQRBandType BandTypeOfIndex(int index) {
    switch (index) {
    case 1: return rbTitle;
    case 2: return rbPageHeader;
    case 3: return rbColumnHeader;
    case 4: return rbDetail;
    case 6: return rbPageFooter;
    case 7: return rbSummary;
    default: return NoBand;
    }
}

}  // namespace

void TQRReportBands::Publish(TPublisher<TQRReportBands>& p) {
    p.Property(L"HasTitle", &TQRReportBands::HasTitle, &TQRReportBands::SetHasTitle).Stored(false);
    p.Property(L"HasPageHeader", &TQRReportBands::HasPageHeader, &TQRReportBands::SetHasPageHeader).Stored(false);
    p.Property(L"HasColumnHeader", &TQRReportBands::HasColumnHeader, &TQRReportBands::SetHasColumnHeader)
        .Stored(false);
    p.Property(L"HasDetail", &TQRReportBands::HasDetail, &TQRReportBands::SetHasDetail).Stored(false);
    p.Property(L"HasPageFooter", &TQRReportBands::HasPageFooter, &TQRReportBands::SetHasPageFooter).Stored(false);
    p.Property(L"HasSummary", &TQRReportBands::HasSummary, &TQRReportBands::SetHasSummary).Stored(false);
}

TQRCustomBand* TQRReportBands::BandOfType(TQRBandType type) const {
    return report_ != nullptr ? report_->FirstBandOfType(type) : nullptr;
}

bool TQRReportBands::BandExists(int index) const {
    TQRBandType type = BandTypeOfIndex(index);
    return type != NoBand && BandOfType(type) != nullptr;
}

void TQRReportBands::SetBandExists(int index, bool value) {
    TQRBandType type = BandTypeOfIndex(index);
    if (type == NoBand || report_ == nullptr) return;
    TQRCustomBand* band = BandOfType(type);
    if (value && band == nullptr)
        report_->AddBandOfType(type);
    else if (!value && band != nullptr)
        delete band;
}
