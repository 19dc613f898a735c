#include "report/printables/QRUnits.h"

#include <cstdlib>
#include <vector>

#include "framework/classes/Reader.h"
#include "framework/classes/Writer.h"
#include "framework/graphics/ScreenMetrics.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/FormatSettings.h"
#include "framework/rtl/Numeric.h"

namespace {

// The report font's size after construction: Characters of a report without a font size
// (none, or 0 points) are measured in it rather than divided by zero.
constexpr Extended FallbackCharacterFontSize = 10;

}  // namespace

bool MeasureInInches() { return DefaultFormatSettings().MeasureInInches; }

Extended CharacterCellWidth(Extended fontSize) { return 80 / fontSize / 2.54L; }
Extended CharacterCellHeight(Extended fontSize) { return 145.3L / fontSize / 2.54L; }

// ---- TQRUnitBase ----

TQRUnitBase::TQRUnitBase()
    : resolution_(ScreenMetrics::PixelsPerInch()),
      units_(MeasureInInches() ? TQRUnit::Inches : TQRUnit::MM),
      savedUnits_(units_) {}

void TQRUnitBase::SetZoom(int zoom) {
    if (zoom >= 1) zoom_ = zoom;
}

Extended TQRUnitBase::CharacterFontSize() const {
    int size = report_ != nullptr ? std::abs(report_->ReportFontSize()) : 0;
    return size != 0 ? size : FallbackCharacterFontSize;
}

Extended TQRUnitBase::StoredToUnits(TQRUnit units, bool horizontal, Extended stored) const {
    switch (units) {
    case TQRUnit::MM: return stored / 10;
    case TQRUnit::Inches: return stored / 254;
    case TQRUnit::Pixels: return stored / (254.0L / resolution_) * zoom_ / 100;
    case TQRUnit::Characters: {
        Extended f = CharacterFontSize();
        return stored / (horizontal ? CharacterCellWidth(f) : CharacterCellHeight(f)) / 10;
    }
    case TQRUnit::Native: break;
    }
    return stored;
}

Extended TQRUnitBase::UnitsToStored(TQRUnit units, bool horizontal, Extended value) const {
    switch (units) {
    case TQRUnit::MM: return value * 10;
    case TQRUnit::Inches: return value * 254;
    case TQRUnit::Pixels: return value * (254.0L / resolution_) / zoom_ * 100;
    case TQRUnit::Characters: {
        Extended f = CharacterFontSize();
        return value * (horizontal ? CharacterCellWidth(f) : CharacterCellHeight(f)) * 10;
    }
    case TQRUnit::Native: break;
    }
    return value;
}

void TQRUnitBase::SwitchToPixels() {
    savedUnits_ = units_;
    ChangeUnits(TQRUnit::Pixels);
}

Extended TQRUnitBase::Get(int index, bool horizontal) const {
    return StoredToUnits(units_, horizontal, StoredValue(index));
}

void TQRUnitBase::Put(int index, bool horizontal, Extended value) {
    Slot(index) = UnitsToStored(units_, horizontal, value);
}

Extended TQRUnitBase::StoredValue(int index) const { return const_cast<TQRUnitBase*>(this)->Slot(index); }

Extended& TQRUnitBase::Slot(int index) {
    std::span<Extended> values = StoredValues();
    if (index < 0 || static_cast<size_t>(index) >= values.size())
        throw EInvalidArgument(Format(L"%s has no value %d", {ClassName(), index}));
    return values[static_cast<size_t>(index)];
}

int TQRUnitBase::PixelsOf(int index, bool horizontal) const {
    return static_cast<int>(Round(StoredToUnits(TQRUnit::Pixels, horizontal, StoredValue(index))));
}

void TQRUnitBase::DefineProperties(TFiler& filer) {
    TPersistent::DefineProperties(filer);
    filer.DefineProperty(
        L"Values", [this](TReader& reader) { ReadStoredValues(reader); },
        [this](TWriter& writer) { WriteStoredValues(writer); }, true);
}

void TQRUnitBase::ReadStoredValues(TReader& reader) {
    std::vector<Extended> read;
    reader.ReadListBegin();
    while (!reader.EndOfList()) read.push_back(reader.ReadFloat());
    reader.ReadListEnd();
    std::span<Extended> values = StoredValues();
    if (read.size() != values.size())
        throw EReadError(Format(L"%s.Values holds %d values instead of %d",
                                {ClassName(), static_cast<int>(read.size()), static_cast<int>(values.size())}));
    std::copy(read.begin(), read.end(), values.begin());
}

void TQRUnitBase::WriteStoredValues(TWriter& writer) {
    writer.WriteListBegin();
    for (Extended value : StoredValues()) writer.WriteFloat(value);
    writer.WriteListEnd();
}

// ---- TQRPage ----

void TQRPage::Publish(TPublisher<TQRPage>& p) {
    // The seven lengths are stored only through "Values".
    p.Property(L"BottomMargin", &TQRPage::BottomMargin, &TQRPage::SetBottomMargin).Stored(false);
    p.Property(L"Length", &TQRPage::Length, &TQRPage::SetLength).Stored(false);
    p.Property(L"TopMargin", &TQRPage::TopMargin, &TQRPage::SetTopMargin).Stored(false);
    p.Property(L"Width", &TQRPage::Width, &TQRPage::SetWidth).Stored(false);
    p.Property(L"LeftMargin", &TQRPage::LeftMargin, &TQRPage::SetLeftMargin).Stored(false);
    p.Property(L"RightMargin", &TQRPage::RightMargin, &TQRPage::SetRightMargin).Stored(false);
    p.Property(L"ColumnSpace", &TQRPage::ColumnSpace, &TQRPage::SetColumnSpace).Stored(false);
    p.Property(L"Columns", &TQRPage::Columns, &TQRPage::SetColumns);
    p.Property(L"Orientation", &TQRPage::Orientation, &TQRPage::SetOrientation);
    p.Property(L"PaperSize", &TQRPage::PaperSize, &TQRPage::SetPaperSize);
    p.Property(L"Ruler", &TQRPage::Ruler, &TQRPage::SetRuler).Default(true);
}

TQRPage::TQRPage(IQRReport* report) {
    SetReport(report);
    SetBottomMargin(0);
    Extended margin;
    if (MeasureInInches()) {
        ChangeUnits(TQRUnit::Inches);
        SetPaperSize(TQRPaperSize::Letter);
        margin = 0.5L;
    } else {
        ChangeUnits(TQRUnit::MM);
        SetPaperSize(TQRPaperSize::A4);
        margin = 10;
    }
    SetTopMargin(margin);
    SetBottomMargin(margin);
    SetLeftMargin(margin);
    SetRightMargin(margin);
}

static bool PageHorizontal(int index) { return index >= TQRPage::iWidth; }

Extended TQRPage::GetIndexedValue(int index) const { return Get(index, PageHorizontal(index)); }

void TQRPage::SetIndexedValue(int index, Extended value) {
    if ((index == iLength || index == iWidth) && paperSize_ != TQRPaperSize::Custom) return;
    Put(index, PageHorizontal(index), value);
    if (index == iBottomMargin || index == iLength || index == iWidth) {
        PushToParent();
        Arrange();
    } else {
        Arrange();
        Repaint();
    }
}

void TQRPage::SetColumns(int columns) {
    if (columns <= 0 || columns == columns_) return;
    columns_ = columns;
    Arrange();
    Repaint();
}

void TQRPage::SetOrientation(TPrinterOrientation orientation) {
    orientation_ = orientation;
    SetPaperSize(paperSize_);
}

void TQRPage::SetPaperSize(TQRPaperSize size) {
    int code = static_cast<int>(size);
    if (code < 0 || code >= QRPaperSizeCount)
        throw EInvalidArgument(Format(L"Paper size %d is not in the paper table", {code}));
    if (size != TQRPaperSize::Default && size != TQRPaperSize::Custom) {
        SwitchToPixels();
        ChangeUnits(TQRUnit::MM);
        paperSize_ = TQRPaperSize::Custom;
        const TQRPaperEntry& paper = QRPaperEntry(size);
        bool portrait = orientation_ == poPortrait;
        SetIndexedValue(iWidth, portrait ? paper.WidthMM : paper.LengthMM);
        SetIndexedValue(iLength, portrait ? paper.LengthMM : paper.WidthMM);
        RestoreUnits();
        Arrange();
    }
    paperSize_ = size;
}

void TQRPage::SetRuler(bool ruler) {
    if (ruler == ruler_) return;
    ruler_ = ruler;
    Repaint();
}

void TQRPage::ChangeUnits(TQRUnit units) {
    TQRUnitBase::ChangeUnits(units);
    Repaint();
}

void TQRPage::ReadStoredValues(TReader& reader) {
    TQRUnitBase::ReadStoredValues(reader);
    PushToParent();
}

void TQRPage::PushToParent() {
    if (Updating() || Report() == nullptr) return;
    TUpdating updating(*this);
    TControl& control = Report()->PanelControl();
    control.SetBounds(control.Left(), control.Top(), PixelsOf(iWidth, true), PixelsOf(iLength, false));
}

void TQRPage::Arrange() {
    if (Report() != nullptr) Report()->ArrangeBands();
}

void TQRPage::Repaint() {
    if (Report() != nullptr) Report()->RepaintReport();
}

// ---- TQRBandSize ----

void TQRBandSize::Publish(TPublisher<TQRBandSize>& p) {
    p.Property(L"Height", &TQRBandSize::Height, &TQRBandSize::SetHeight).Stored(false);
    p.Property(L"Width", &TQRBandSize::Width, &TQRBandSize::SetWidth).Stored(false);
}

TQRBandSize::TQRBandSize(TControl* band) : band_(band) {}

void TQRBandSize::SetIndexedValue(int index, Extended value) {
    Put(index, index == iWidth, value);
    PushToParent();
}

void TQRBandSize::PushToParent() {
    if (Updating() || band_ == nullptr) return;
    TUpdating updating(*this);
    band_->SetBounds(band_->Left(), band_->Top(), PixelsOf(iWidth, true), PixelsOf(iHeight, false));
}

// ---- TQRPrintableSize ----

void TQRPrintableSize::Publish(TPublisher<TQRPrintableSize>& p) {
    p.Property(L"Height", &TQRPrintableSize::Height, &TQRPrintableSize::SetHeight).Stored(false);
    p.Property(L"Left", &TQRPrintableSize::Left, &TQRPrintableSize::SetLeft).Stored(false);
    p.Property(L"Top", &TQRPrintableSize::Top, &TQRPrintableSize::SetTop).Stored(false);
    p.Property(L"Width", &TQRPrintableSize::Width, &TQRPrintableSize::SetWidth).Stored(false);
}

TQRPrintableSize::TQRPrintableSize(TControl* printable) : printable_(printable) {}

Extended TQRPrintableSize::GetIndexedValue(int index) const {
    Extended value = Get(index, Horizontal(index));
    if (Units() == TQRUnit::Pixels && printable_ != nullptr) {
        if (IQRPanel* panel = AsQRPanel(printable_->Parent())) value = value * panel->PanelZoom() / 100;
    }
    return value;
}

void TQRPrintableSize::SetIndexedValue(int index, Extended value) {
    if (index >= 0 && index <= iWidth) Put(index, Horizontal(index), value);
    PushToParent();
}

void TQRPrintableSize::PushToParent() {
    if (Updating() || printable_ == nullptr) return;
    TUpdating updating(*this);
    printable_->SetBounds(PixelsOf(iLeft, true), PixelsOf(iTop, false), PixelsOf(iWidth, true),
                          PixelsOf(iHeight, false));
}
