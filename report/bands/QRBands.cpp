#include "report/bands/QRBands.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "framework/graphics/ScreenMetrics.h"
#include "framework/rtl/Format.h"
#include "report/bands/QRController.h"
#include "report/bands/QRReport.h"
#include "report/printables/QRPrintable.h"

namespace {

struct TBandTypeNames {
    const wchar_t* DisplayName;
    const wchar_t* NameBase;
};

constexpr TBandTypeNames BandTypeNames[] = {
    {L"Title", L"TitleBand"},
    {L"Page Header", L"PageHeaderBand"},
    {L"Detail", L"DetailBand"},
    {L"Page Footer", L"PageFooterBand"},
    {L"Summary", L"SummaryBand"},
    {L"Group Header", L"GroupHeaderBand"},
    {L"Group Footer", L"GroupFooterBand"},
    {L"Sub Detail", L"SubDetailBand"},
    {L"Column Header", L"ColumnHeaderBand"},
    {L"Overlay", L"OverlayBand"},
    {L"Wild", L"WildBand"},
    {L"Child", L"ChildBand"},
};
static_assert(std::size(BandTypeNames) == rbChild + 1);

const TBandTypeNames* NamesOf(TQRBandType type) {
    int index = static_cast<int>(type);
    if (index < 0 || index > rbChild) return nullptr;
    return &BandTypeNames[index];
}

constexpr TQRDesignPalette HighColorPalette{psSolid,        0xF9F9F9, psSolid, 0xF0F0F0, L"Small Fonts", 6,
                                            0x707070,       psDot,    0xFF8080, psDot,  0x606060};
constexpr TQRDesignPalette LowColorPalette{psDot,          0xC0C0C0, psSolid, 0xC0C0C0, L"Small Fonts", 6,
                                           0xC0C0C0,       psDash,   0x808080, psSolid, 0x808080};

const TQRDesignPalette*& CurrentPalette() {
    static const TQRDesignPalette* palette = &HighColorPalette;
    return palette;
}

void RebuildAndArrange(TCustomQRReport* report) {
    if (report == nullptr || report->ComponentState().Contains(csDestroying)) return;
    report->RebuildBandList();
    report->ArrangeBands();
}

}  // namespace

String QRBandTypeDisplayName(TQRBandType type) {
    const TBandTypeNames* names = NamesOf(type);
    return names != nullptr ? String(names->DisplayName) : String();
}

String QRBandTypeNameBase(TQRBandType type) {
    const TBandTypeNames* names = NamesOf(type);
    return names != nullptr ? String(names->NameBase) : String();
}

bool QRBandSpansPage(TQRBandType type) {
    return type == rbTitle || type == rbPageHeader || type == rbPageFooter || type == rbSummary ||
           type == rbOverlay;
}

const TQRDesignPalette& DesignPalette() { return *CurrentPalette(); }

void SelectDesignPalette() {
    // A colour depth above 8 bits offers more than 256 colours.
    CurrentPalette() = ScreenMetrics::ColorDepth() > 8 ? &HighColorPalette : &LowColorPalette;
}

bool TQRChainWalk::Visit(const void* band) {
    // Far more links than any report holds: a chain this long is broken, whatever it contains.
    constexpr size_t MaxChainLength = 10000;
    if (band == nullptr || seen_.size() >= MaxChainLength) return false;
    if (std::find(seen_.begin(), seen_.end(), band) != seen_.end()) return false;
    seen_.push_back(band);
    return true;
}

// ---- TQRBasePanel ----

TQRBasePanel::TQRBasePanel(TComponent* owner) : TCustomControl(owner), frame_(std::make_unique<TQRFrame>(this)) {}

TQRBasePanel::~TQRBasePanel() = default;

void TQRBasePanel::Publish(TPublisher<TQRBasePanel>& p) { p.Property(L"Frame", &TQRBasePanel::Frame); }

void TQRBasePanel::SetFrame(const TQRFrame& frame) {
    frame_->Assign(&frame);
    Invalidate();
}

void TQRBasePanel::ChangeZoom(int zoom) {
    if (zoom == 0) return;
    zoom_ = zoom;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (auto* printable = dynamic_cast<TQRPrintable*>(child))
            printable->SetZoom(zoom);
        else if (auto* panel = dynamic_cast<TQRBasePanel*>(child))
            panel->ChangeZoom(zoom);
    }
}

void TQRBasePanel::PaintPanelFill() {
    TCanvas& canvas = Canvas();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Enabled() ? Color() : 0xC0C0C0);
    canvas.FillRect(ClientRect());
    canvas.Brush().SetStyle(bsClear);
}

namespace {

// One ruler line across (vertical false: a horizontal line at y = position) or down the panel.
void RulerLine(TCanvas& canvas, bool vertical, int position, int width, int height, bool major) {
    const TQRDesignPalette& palette = DesignPalette();
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(major ? palette.RulerMajorStyle : palette.RulerMinorStyle);
    canvas.Pen().SetColor(major ? palette.RulerMajorColor : palette.RulerMinorColor);
    if (vertical) {
        canvas.MoveTo(position, 0);
        canvas.LineTo(position, height);
    } else {
        canvas.MoveTo(0, position);
        canvas.LineTo(width, position);
    }
}

}  // namespace

void TQRBasePanel::PaintRulers(TQRUnit units) {
    if (units != TQRUnit::Inches && units != TQRUnit::MM && units != TQRUnit::Characters) return;
    TCanvas& canvas = Canvas();
    const TQRDesignPalette& palette = DesignPalette();
    canvas.Font().SetName(palette.RulerFontName);
    canvas.Font().SetSize(palette.RulerFontSize);
    canvas.Font().SetColor(palette.RulerFontColor);
    canvas.Brush().SetStyle(bsClear);
    const int w = Width(), h = Height();
    const Extended ppi = ScreenMetrics::PixelsPerInch();
    // Numbers are written on the report itself only, not on its bands.
    const bool numbers = AsQRReport(this) != nullptr;
    auto label = [&](bool vertical, int position, int value) {
        if (!numbers) return;
        String text = IntToStr(value);
        if (vertical)
            canvas.TextOut(position + 2, 2, text);
        else
            canvas.TextOut(2, position + 2, text);
    };
    auto lines = [&](bool vertical, Extended step, auto&& draw) {
        if (step <= 0) return;
        const int extent = vertical ? w : h;
        for (int i = 1; i * step < extent; ++i) draw(vertical, static_cast<int>(std::lround(i * step)), i);
    };
    switch (units) {
    case TQRUnit::Inches: {
        const Extended step = ppi / 4 * zoom_ / 100;
        for (bool vertical : {true, false})
            lines(vertical, step, [&](bool v, int pos, int i) {
                bool major = i % 4 == 0;
                if (!major && zoom_ < 50) return;
                RulerLine(canvas, v, pos, w, h, major);
                if (major) label(v, pos, i / 4);
            });
        break;
    }
    case TQRUnit::MM: {
        const Extended step = ppi * zoom_ / 508;
        for (bool vertical : {true, false})
            lines(vertical, step, [&](bool v, int pos, int i) {
                bool major = i % 2 == 0;
                if (!major && zoom_ < 60) return;
                RulerLine(canvas, v, pos, w, h, major);
                if (major && zoom_ >= 60) label(v, pos, i / 2);
            });
        break;
    }
    case TQRUnit::Characters: {
        const Extended size = fontSize_ != 0 ? std::abs(fontSize_) : 10;
        // A cell in millimetres, then in pixels.
        const Extended across = CharacterCellWidth(size) * 10 * ppi / 25.4L * zoom_ / 100;
        const Extended down = CharacterCellHeight(size) * ppi / 25.4L * zoom_ / 100;
        lines(true, across, [&](bool v, int pos, int i) {
            RulerLine(canvas, v, pos, w, h, false);
            label(v, pos, i * 10);
        });
        lines(false, down, [&](bool v, int pos, int i) {
            RulerLine(canvas, v, pos, w, h, false);
            label(v, pos, i);
        });
        break;
    }
    default: break;
    }
}

// ---- TQRCustomBand ----

TQRCustomBand::TQRCustomBand(TComponent* owner)
    : TQRBasePanel(owner), size_(std::make_unique<TQRBandSize>(this)) {
    SetColor(clWhite);
    SetBounds(Left(), Top(), Width(), 40);
}

TQRCustomBand::~TQRCustomBand() = default;

void TQRCustomBand::Publish(TPublisher<TQRCustomBand>& p) {
    p.Event(L"AfterPrint", &TQRCustomBand::AfterPrint);
    p.Property(L"AlignToBottom", &TQRCustomBand::AlignToBottom, &TQRCustomBand::SetAlignToBottom).Default(false);
    p.Event(L"BeforePrint", &TQRCustomBand::BeforePrint);
    p.ColorProperty(L"Color", &TControl::Color, &TControl::SetColor).Default(clBtnFace);
    p.Property(L"Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
    p.Property(L"TransparentBand", &TQRCustomBand::TransparentBand, &TQRCustomBand::SetTransparentBand)
        .Default(false);
    p.Property(L"ForceNewColumn", &TQRCustomBand::ForceNewColumn, &TQRCustomBand::SetForceNewColumn)
        .Default(false);
    p.Property(L"ForceNewPage", &TQRCustomBand::ForceNewPage, &TQRCustomBand::SetForceNewPage).Default(false);
    p.Property(L"HasChild", &TQRCustomBand::HasChild, &TQRCustomBand::SetHasChild).Stored(false);
    p.Property(L"LinkBand", &TQRCustomBand::LinkBand, &TQRCustomBand::SetLinkBand);
    p.Property(L"Size", &TQRCustomBand::Size);
    p.Property(L"PreCaluculateBandHeight", &TQRCustomBand::PreCaluculateBandHeight,
               &TQRCustomBand::SetPreCaluculateBandHeight)
        .Default(false);
    p.Property(L"KeepOnOnePage", &TQRCustomBand::KeepOnOnePage, &TQRCustomBand::SetKeepOnOnePage).Default(false);
}

IQRReport* TQRCustomBand::BandReport() const { return parentReport_; }

void TQRCustomBand::SetBandTypeValue(TQRBandType type) { bandType_ = type; }

void TQRCustomBand::RebuildReportBands() { RebuildAndArrange(parentReport_); }

void TQRCustomBand::SetEnabled(bool enabled) {
    TQRBasePanel::SetEnabled(enabled);
    Invalidate();
}

void TQRCustomBand::SetTransparentBand(bool value) {
    transparentBand_ = value;
    Invalidate();
}

TQRChildBand* TQRCustomBand::ChildBand() const {
    return parentReport_ != nullptr ? parentReport_->ChildOf(this) : nullptr;
}

void TQRCustomBand::SetHasChild(bool value) {
    TQRChildBand* child = ChildBand();
    if (value) {
        if (child != nullptr) return;
        auto* band = new TQRChildBand(Owner());
        if (ComponentState().Contains(csDesigning) && Owner() != nullptr)
            band->SetName(UniqueComponentName(Owner(), QRBandTypeNameBase(rbChild)));
        band->SetParent(Parent());
        band->SetParentBand(this);
        return;
    }
    if (child == nullptr) return;
    if (TQRChildBand* grandchild = child->ChildBand()) grandchild->SetParentBand(this);
    delete child;
}

void TQRCustomBand::SetLinkBand(TQRCustomBand* band) {
    TQRChainWalk walk;
    for (TQRCustomBand* b = band; b != nullptr && walk.Visit(b); b = b->linkBand_)
        if (b == this) return;  // would close a circle of links
    if (linkBand_ != nullptr && linkBand_ != band) linkBand_->RemoveFreeNotification(this);
    linkBand_ = band;
    if (band != nullptr) band->FreeNotification(this);
}

std::vector<TQRCustomBand*> TQRCustomBand::LinkChain() {
    std::vector<TQRCustomBand*> chain;
    TQRChainWalk walk;
    for (TQRCustomBand* b = this; b != nullptr && walk.Visit(b); b = b->linkBand_) chain.push_back(b);
    return chain;
}

bool TQRCustomBand::CanGrowBand(Extended extra) {
    IQRBandPrinter* printer = parentReport_ != nullptr ? parentReport_->BandPrinter() : nullptr;
    return printer != nullptr && printer->CanGrowBand(this, extra);
}

bool TQRCustomBand::GrowBand(Extended& total, bool& grown, Extended extra) {
    IQRBandPrinter* printer = parentReport_ != nullptr ? parentReport_->BandPrinter() : nullptr;
    return printer != nullptr && printer->GrowBand(this, total, grown, extra);
}

void TQRCustomBand::SetBandUnits(TQRUnit units) {
    size_->SetUnits(units);
    Invalidate();
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* printable = dynamic_cast<TQRPrintable*>(Controls(i))) printable->Size()->SetUnits(units);
}

void TQRCustomBand::ChangeZoom(int zoom) {
    TQRBasePanel::ChangeZoom(zoom);
    if (zoom == 0) return;
    size_->SetZoom(zoom);
    size_->PushToParent();
}

void TQRCustomBand::GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) {
    for (int i = 0; i < ControlCount(); ++i) proc(Controls(i));
}

void TQRCustomBand::PaintRulers(TQRUnit units) {
    if (parentReport_ != nullptr) SetFontSize(std::abs(parentReport_->Font()->Size()));
    TQRBasePanel::PaintRulers(units);
}

void TQRCustomBand::SetBounds(int left, int top, int width, int height) {
    if (ComponentState().Contains(csLoading)) {
        // Only the description's own Height counts; the size object pushes its values later.
        if (height != 40 && (size_ == nullptr || !size_->Updating())) storedHeight_ = height;
        return;
    }
    if (parentReport_ == nullptr || size_ == nullptr) {
        TQRBasePanel::SetBounds(left, top, width, height);
        return;
    }
    if (size_->Updating()) {
        TQRBasePanel::SetBounds(left, top, width, height);
        if (!arranging_) parentReport_->ArrangeBands();
        for (int i = 0; i < ControlCount(); ++i)
            if (auto* printable = dynamic_cast<TQRPrintable*>(Controls(i)))
                if (printable->AlignToBand()) printable->ReportNotification(this, 2);
        return;
    }
    // Moved or sized by a user or a program: the height goes into the size object; the width
    // always comes from the report's arrangement.
    TCustomQRReport* report = parentReport_;
    size_->SwitchToPixels();
    if (size_->Height() != height) size_->SetHeight(height);
    if (top != Top() || left != Left()) {
        TQRBasePanel::SetBounds(left, top, Width(), Height());
        report->ArrangeBands();
    }
    size_->RestoreUnits();
    report->InvalidateDesignPicture();
}

void TQRCustomBand::SetParent(TWinControl* parent) {
    // Bands do not nest: one dropped on a band joins that band's parent.
    TQRChainWalk walk;
    while (auto* band = dynamic_cast<TQRCustomBand*>(parent)) {
        if (!walk.Visit(band)) return;
        parent = band->Parent();
    }
    if (auto* old = dynamic_cast<TCustomQRReport*>(Parent()); old != nullptr && old != parent) old->RemoveBand(this);
    TQRBasePanel::SetParent(parent);
    if (auto* report = dynamic_cast<TCustomQRReport*>(parent)) {
        SetParentReport(report);
        report->AddBand(this);
        size_->SetReport(report);
        ChangeZoom(report->Zoom());
    } else if (parentReport_ != nullptr) {
        SetParentReport(nullptr);
        size_->SetReport(nullptr);
    }
}

void TQRCustomBand::Loaded() {
    TQRBasePanel::Loaded();
    size_->AfterLoad();
    if (storedHeight_ != 40 && Height() == 40) SetHeight(storedHeight_);
}

void TQRCustomBand::Notification(TComponent* component, TOperation operation) {
    TQRBasePanel::Notification(component, operation);
    if (operation == opRemove && component == linkBand_) linkBand_ = nullptr;
}

void TQRCustomBand::BeforeDestruction() {
    if (parentReport_ != nullptr && !parentReport_->ComponentState().Contains(csDestroying))
        parentReport_->RemoveBand(this);
    TQRBasePanel::BeforeDestruction();
}

void TQRCustomBand::Paint() {
    TCanvas& canvas = Canvas();
    PaintPanelFill();
    if (parentReport_ != nullptr && parentReport_->Page()->Ruler()) PaintRulers(parentReport_->Units());
    const TQRDesignPalette& palette = DesignPalette();
    const int w = Width(), h = Height();
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(palette.BandOutlineStyle);
    canvas.Pen().SetColor(palette.BandOutlineColor);
    canvas.Polyline({Point(0, 0), Point(w - 1, 0), Point(w - 1, h - 1), Point(0, h - 1), Point(0, 0)});
    const Extended factor = static_cast<Extended>(ScreenMetrics::PixelsPerInch()) / 254;
    TRect r = ClientRect();
    Frame()->PaintFrame(canvas, Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1), factor, factor);
    canvas.Font().SetName(palette.RulerFontName);
    canvas.Font().SetSize(palette.RulerFontSize);
    canvas.Font().SetColor(palette.RulerFontColor);
    canvas.Brush().SetStyle(bsClear);
    canvas.TextOut(2, h - canvas.TextHeight(L"W") - 4, BandTypeDisplayName());
}

// ---- TQRBand ----

void TQRBand::Publish(TPublisher<TQRBand>& p) {
    p.Property(L"BandType", &TQRBand::BandType, &TQRBand::SetBandType);
}

void TQRBand::SetBandType(TQRBandType type) {
    SetBandTypeValue(type);
    RebuildReportBands();
}

// ---- TQRChildBand ----

TQRChildBand::TQRChildBand(TComponent* owner) : TQRCustomBand(owner) { SetBandTypeValue(rbChild); }

void TQRChildBand::Publish(TPublisher<TQRChildBand>& p) {
    p.Property(L"ParentBand", &TQRChildBand::ParentBand, &TQRChildBand::SetParentBand);
    p.Property(L"PrintOrder", &TQRChildBand::PrintOrder, &TQRChildBand::SetPrintOrder).Default(cboAfterParent);
}

void TQRChildBand::SetParentBand(TQRCustomBand* band) {
    if (band == this) return;
    TQRChainWalk walk;
    for (auto* child = dynamic_cast<TQRChildBand*>(band); child != nullptr && walk.Visit(child);
         child = dynamic_cast<TQRChildBand*>(child->parentBand_))
        if (child == this) return;  // would close a circle of children
    if (ParentReport() == nullptr) return;
    if (parentBand_ != nullptr && parentBand_ != band) parentBand_->RemoveFreeNotification(this);
    parentBand_ = band;
    if (band != nullptr) band->FreeNotification(this);
    RebuildReportBands();
}

TQRCustomBand* TQRChildBand::FirstNonChildParent() const {
    TQRChainWalk walk;
    walk.Visit(this);
    for (TQRCustomBand* band = parentBand_; band != nullptr && walk.Visit(band);) {
        auto* child = dynamic_cast<TQRChildBand*>(band);
        if (child == nullptr) return band;
        band = child->parentBand_;
    }
    return nullptr;
}

void TQRChildBand::Notification(TComponent* component, TOperation operation) {
    TQRCustomBand::Notification(component, operation);
    if (operation == opRemove && component == parentBand_) parentBand_ = nullptr;
}

// ---- TQRControllerBand ----

TQRControllerBand::TQRControllerBand(TComponent* owner)
    : TQRCustomBand(owner), controller_(std::make_unique<TQRController>(this)) {
    controller_->SetDetail(this);
    controller_->SetLevelOwner(this);
    controller_->SetPrintBefore(false);
}

TQRControllerBand::~TQRControllerBand() = default;

void TQRControllerBand::Publish(TPublisher<TQRControllerBand>& p) {
    p.Property(L"Master", &TQRControllerBand::Master, &TQRControllerBand::SetMaster);
}

bool TQRControllerBand::PrintBefore() const { return controller_->PrintBefore(); }

void TQRControllerBand::SetPrintBefore(bool value) {
    if (value == controller_->PrintBefore()) return;
    controller_->SetPrintBefore(value);
    RebuildReportBands();
}

void TQRControllerBand::AddToBandList() {
    if (ParentReport() != nullptr) ParentReport()->AppendBandChain(this);
}

void TQRControllerBand::ChangeMaster(TComponent* master) {
    if (master == this) return;
    TQRChainWalk walk;
    for (auto* band = dynamic_cast<TQRControllerBand*>(master); band != nullptr && walk.Visit(band);
         band = dynamic_cast<TQRControllerBand*>(band->master_))
        if (band == this) return;  // would close a circle of masters
    if (master_ != nullptr && master_ != master) master_->RemoveFreeNotification(this);
    master_ = master;
    controller_->SetMaster(master);
    RebuildReportBands();
    if (master != nullptr) master->FreeNotification(this);
}

void TQRControllerBand::RegisterBandFunction() {
    String value = BandFunctionValue();
    if (value.empty() || ParentReport() == nullptr) return;
    ParentReport()->Functions()->DefineEntry(Name(), value);
    functionRegistered_ = true;
}

void TQRControllerBand::UnregisterBandFunction() {
    if (ParentReport() != nullptr) ParentReport()->Functions()->RemoveEntry(Name());
    functionRegistered_ = false;
}

void TQRControllerBand::SetParentReport(TCustomQRReport* report) {
    TQRCustomBand::SetParentReport(report);
    if (report != nullptr && !functionRegistered_) RegisterBandFunction();
}

void TQRControllerBand::SetName(const String& name) {
    if (functionRegistered_) UnregisterBandFunction();
    TQRCustomBand::SetName(name);
    if (ParentReport() != nullptr) RegisterBandFunction();
}

void TQRControllerBand::SetParent(TWinControl* parent) {
    TQRCustomBand::SetParent(parent);
    if (master_ == nullptr && ParentReport() != nullptr) SetMaster(ParentReport());
}

void TQRControllerBand::Notification(TComponent* component, TOperation operation) {
    TQRCustomBand::Notification(component, operation);
    if (operation == opRemove && component == master_) master_ = nullptr;
}

void TQRControllerBand::BeforeDestruction() {
    TQRCustomBand::BeforeDestruction();
    controller_.reset();
}

// ---- TQRSubDetailGroupBands ----

void TQRSubDetailGroupBands::Publish(TPublisher<TQRSubDetailGroupBands>& p) {
    p.Property(L"HasHeader", &TQRSubDetailGroupBands::HasHeader, &TQRSubDetailGroupBands::SetHasHeader)
        .Stored(false);
    p.Property(L"HasFooter", &TQRSubDetailGroupBands::HasFooter, &TQRSubDetailGroupBands::SetHasFooter)
        .Stored(false);
}

bool TQRSubDetailGroupBands::HasHeader() const { return owner_ != nullptr && owner_->HeaderBand() != nullptr; }
bool TQRSubDetailGroupBands::HasFooter() const { return owner_ != nullptr && owner_->FooterBand() != nullptr; }

void TQRSubDetailGroupBands::SetHasHeader(bool value) {
    if (owner_ == nullptr || value == HasHeader()) return;
    if (value) {
        if (owner_->ParentReport() != nullptr) owner_->SetHeaderBand(owner_->ParentReport()->AddBandOfType(rbGroupHeader));
    } else {
        TQRCustomBand* band = owner_->HeaderBand();
        owner_->SetHeaderBand(nullptr);
        delete band;
    }
}

void TQRSubDetailGroupBands::SetHasFooter(bool value) {
    if (owner_ == nullptr || value == HasFooter()) return;
    if (value) {
        if (owner_->ParentReport() != nullptr) owner_->SetFooterBand(owner_->ParentReport()->AddBandOfType(rbGroupFooter));
    } else {
        TQRCustomBand* band = owner_->FooterBand();
        owner_->SetFooterBand(nullptr);
        delete band;
    }
}

// ---- TQRSubDetail ----

TQRSubDetail::TQRSubDetail(TComponent* owner)
    : TQRControllerBand(owner), bands_(std::make_unique<TQRSubDetailGroupBands>(this)) {
    SetBandTypeValue(rbSubDetail);
    Controller()->SetPrintIfEmpty(true);
}

TQRSubDetail::~TQRSubDetail() = default;

void TQRSubDetail::Publish(TPublisher<TQRSubDetail>& p) {
    p.Property(L"Bands", &TQRSubDetail::Bands);
    p.Property(L"DataSet", &TQRSubDetail::DataSet, &TQRSubDetail::SetDataSet);
    p.Property(L"FooterBand", &TQRSubDetail::FooterBand, &TQRSubDetail::SetFooterBand);
    p.Property(L"HeaderBand", &TQRSubDetail::HeaderBand, &TQRSubDetail::SetHeaderBand);
    p.Event(L"OnNeedData", &TQRSubDetail::OnNeedData, &TQRSubDetail::SetOnNeedData);
    p.Property(L"PrintBefore", &TQRControllerBand::PrintBefore, &TQRControllerBand::SetPrintBefore).Default(false);
    p.Property(L"PrintIfEmpty", &TQRSubDetail::PrintIfEmpty, &TQRSubDetail::SetPrintIfEmpty).Default(true);
}

TDataSet* TQRSubDetail::DataSet() const { return Controller()->DataSet(); }
void TQRSubDetail::SetDataSet(TDataSet* dataSet) { Controller()->SetDataSet(dataSet); }
bool TQRSubDetail::PrintIfEmpty() const { return Controller()->PrintIfEmpty(); }
void TQRSubDetail::SetPrintIfEmpty(bool value) { Controller()->SetPrintIfEmpty(value); }
TQRCustomBand* TQRSubDetail::HeaderBand() const { return Controller()->Header(); }
TQRCustomBand* TQRSubDetail::FooterBand() const { return Controller()->Footer(); }
TQROnNeedDataEvent TQRSubDetail::OnNeedData() const { return Controller()->OnNeedData; }
void TQRSubDetail::SetOnNeedData(TQROnNeedDataEvent event) { Controller()->OnNeedData = event; }

void TQRSubDetail::SetHeaderBand(TQRCustomBand* band) {
    Controller()->SetHeader(band);
    if (band != nullptr) {
        band->SetBandTypeValue(rbGroupHeader);
        band->FreeNotification(this);
    }
    RebuildReportBands();
}

void TQRSubDetail::SetFooterBand(TQRCustomBand* band) {
    Controller()->SetFooter(band);
    if (band != nullptr) {
        band->SetBandTypeValue(rbGroupFooter);
        band->FreeNotification(this);
    }
    RebuildReportBands();
}

void TQRSubDetail::AddToBandList() {
    TCustomQRReport* report = ParentReport();
    if (report == nullptr || ComponentState().Contains(csDestroying)) return;
    if (TQRCustomBand* header = HeaderBand()) report->AppendBandChain(header);
    report->AppendBandChain(this);
    if (TQRCustomBand* footer = FooterBand()) report->AppendBandChain(footer);
}

void TQRSubDetail::AddToNotifyList(TQRPrintable* printable) { Controller()->AddToNotifyList(printable); }
