#include "report/printer/QRPrinter.h"

#include <algorithm>

#include "framework/classes/ComponentScope.h"
#include "framework/graphics/ScreenMetrics.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Numeric.h"
#include "framework/rtl/StringUtils.h"
#include "framework/rtl/Streams.h"
#include "report/pagestore/QRFileFormat.h"

namespace {

const wchar_t kNotReady[] = L"QRPrinter not ready";
const wchar_t kIllegalNewPage[] = L"Illegal call to NewPage";

// Device units per 0.1 mm when a device does not say: 96 pixels per inch.
constexpr Extended kDefaultFactor = 0.37795L;

Extended ScreenFactor() { return static_cast<Extended>(ScreenMetrics::PixelsPerInch()) / 254; }

int NearestInt(Extended value) { return static_cast<int>(Round(value)); }

// A read-only stream over bytes someone else holds.
class TBytesStream : public TCustomMemoryStream {
public:
    explicit TBytesStream(std::span<const Byte> bytes) {
        SetPointer(const_cast<Byte*>(bytes.data()), static_cast<Int64>(bytes.size()));
    }
};

std::unique_ptr<TMetafile> MetafileOf(std::span<const Byte> bytes) {
    TBytesStream stream(bytes);
    auto metafile = std::make_unique<TMetafile>();
    metafile->LoadFromStream(stream);
    return metafile;
}

bool& PreparedReportLoadedFlag() {
    static bool loaded = false;
    return loaded;
}

}  // namespace

// ---- construction ----

TQRPrinter::TQRPrinter(IQRParentReport* parent)
    : parent_(parent),
      settings_(std::make_unique<TPrinterSettings>()),
      pageList_(std::make_unique<TQRPageList>()) {
    TPrinter& global = ::Printer();
    printersInstalled_ = !global.Printers().empty();
    if (parent_) {
        settings_->SetUseStandardPrinter(parent_->UseStandardPrinter());
        settings_->SetMemoryLimit(parent_->MemoryLimit());
    }
    if (settings_->UseStandardPrinter() || !printersInstalled_) {
        printer_ = &global;
    } else {
        ownPrinter_ = std::make_unique<TPrinter>();
        printer_ = ownPrinter_.get();
    }
    if (printersInstalled_) {
        settings_->SetPrinter(printer_);
        QRProcessMessages();
        const int index = global.PrinterIndex();
        if (ownPrinter_ && index >= 0 && index < static_cast<int>(printer_->Printers().size()))
            printer_->SetPrinterIndex(index);
    }
    topWaste_ = settings_->TopOffset();
    leftWaste_ = settings_->LeftOffset();
}

TQRPrinter::~TQRPrinter() {
    if (status_ != qpIdle) ClearPages();
    if (client_) client_->PrinterDestroyed(*this);
}

// ---- messages ----

void TQRPrinter::PostToClient(UINT message, WPARAM wParam) {
    if (!client_) return;
    if (HWND window = client_->ClientHandle()) PostMessageW(window, message, wParam, 0);
}

void TQRPrinter::ReportProgress(int percent) {
    progress_ = percent;
    PostToClient(CM_QRPROGRESS, static_cast<WPARAM>(percent));
}

void TQRPrinter::SetAvailablePages(int pages) {
    availablePages_ = pages;
    PostToClient(CM_QRPAGEREADY, static_cast<WPARAM>(pages));
}

// ---- conversions ----

int TQRPrinter::ToDeviceX(Extended x) const { return NearestInt((x - leftWaste_) * xFactor_); }
int TQRPrinter::ToDeviceY(Extended y) const { return NearestInt((y - topWaste_) * yFactor_); }
int TQRPrinter::ToDeviceWidth(Extended width) const { return NearestInt(width * xFactor_); }
int TQRPrinter::ToDeviceHeight(Extended height) const { return NearestInt(height * yFactor_); }

int TQRPrinter::PaperWidth() const {
    return settings_->Orientation() == poLandscape ? settings_->PaperLength() : settings_->PaperWidth();
}

int TQRPrinter::PaperLength() const {
    return settings_->Orientation() == poLandscape ? settings_->PaperWidth() : settings_->PaperLength();
}

// A device's resolution as units per 0.1 mm; one that gives none counts as 96 pixels per inch.
Extended TQRPrinter::PrinterFactor(int pixelsPerInch) const {
    const Extended factor = static_cast<Extended>(pixelsPerInch) / 254;
    return factor < 0.1L ? kDefaultFactor : factor;
}

// ---- the document protocol ----

// A printer that is not idle is left exactly as it is: its page and job go on.
void TQRPrinter::OpenDocument() {
    if (status_ != qpIdle) throw EQRError(kNotReady);
    const bool toPrinter = destination_ == ptPrinter;
    if (toPrinter && !printersInstalled_) throw EPrinter(SNoDefaultPrinter);
    availablePages_ = 0;
    cancelled_ = false;
    if (toPrinter) settings_->ApplyToPrinter();
    topWaste_ = toPrinter ? settings_->TopOffset() : 0;
    leftWaste_ = toPrinter ? settings_->LeftOffset() : 0;

    pageNumber_ = 0;
    pageCount_ = 0;
    status_ = qpBuilding;
    if (toPrinter) {
        try {
            xFactor_ = PrinterFactor(printer_->DeviceCaps(LOGPIXELSX));
            yFactor_ = PrinterFactor(printer_->DeviceCaps(LOGPIXELSY));
        } catch (...) {
            status_ = qpIdle;
            throw;
        }
    } else {
        pageList_->Clear();
        pageList_->SetStream(std::make_unique<TQRStream>(settings_->MemoryLimit()));
        xFactor_ = yFactor_ = ScreenFactor();
    }
}

bool TQRPrinter::PageInPrintRange() const {
    return !((firstPage_ > 0 && pageCount_ < firstPage_) || (lastPage_ > 0 && pageCount_ > lastPage_));
}

void TQRPrinter::StartNewPage() {
    if (status_ != qpBuilding) throw EQRError(kIllegalNewPage);
    if (pageNumber_ > 0) {
        if (destination_ == ptPageStore) {
            FinishMetafilePage(true);
        } else if (metafile_) {
            FinishMetafilePage(false);  // outside the print range
        } else if (printer_->Printing() && pageCount_ != lastPage_) {
            printer_->NewPage();
        }
        SetAvailablePages(availablePages_ + 1);
    }
    ++pageCount_;
    ++pageNumber_;
    if (destination_ == ptPrinter && PageInPrintRange())
        StartPrinterPage();
    else
        StartMetafilePage();
}

// A page drawn at screen resolution into a metafile as large as the paper.
void TQRPrinter::StartMetafilePage() {
    auto metafile = std::make_unique<TMetafile>();
    metafile->SetWidth(ToDeviceWidth(PaperWidth()));
    metafile->SetHeight(ToDeviceHeight(PaperLength()));
    metafileCanvas_ = std::make_unique<TMetafileCanvas>(*metafile, nullptr);
    metafile_ = std::move(metafile);
    canvas_ = metafileCanvas_.get();
    xFactor_ = yFactor_ = ScreenFactor();
}

void TQRPrinter::StartPrinterPage() {
    if (!printer_->Printing()) {
        printer_->SetTitle(title_);
        printer_->BeginDoc();
    } else {
        printer_->Canvas().Refresh();
    }
    canvas_ = &printer_->Canvas();
    xFactor_ = PrinterFactor(printer_->DeviceCaps(LOGPIXELSX));
    yFactor_ = PrinterFactor(printer_->DeviceCaps(LOGPIXELSY));
}

// Completes the metafile page; a kept page goes into the page store.
void TQRPrinter::FinishMetafilePage(bool keep) {
    canvas_ = nullptr;
    metafileCanvas_.reset();
    std::unique_ptr<TMetafile> metafile = std::move(metafile_);
    if (!keep || !metafile) return;
    TMemoryStream bytes;
    metafile->SaveToStream(bytes);
    pageList_->AddPageBytes(std::span<const Byte>(static_cast<const Byte*>(bytes.Memory()),
                                                  static_cast<size_t>(bytes.Size())));
}

void TQRPrinter::CloseDocument() {
    if (status_ != qpBuilding) return;
    if (destination_ == ptPrinter) {
        FinishMetafilePage(false);
        canvas_ = nullptr;
        if (printer_->Printing()) printer_->EndDoc();
    } else if (pageCount_ > 0) {
        FinishMetafilePage(true);
    }
    status_ = qpDone;
    SetAvailablePages(availablePages_ + 1);
    QRProcessMessages();
    if (destination_ == ptPageStore)
        pageList_->WriteHeader();
    else
        AfterPrint(this);
}

// The header is written again so that what was stored carries its true page count.
void TQRPrinter::AbandonDocument() {
    if (destination_ == ptPrinter) {
        FinishMetafilePage(false);
        canvas_ = nullptr;
        if (printer_->Printing()) printer_->Abort();
    } else {
        if (metafile_) FinishMetafilePage(!(parent_ && parent_->Exporting()));
        if (pageList_->Stream()) pageList_->WriteHeader();
    }
    status_ = qpDone;
}

// ---- pages ----

void TQRPrinter::SetPageNumber(int page) {
    if (page >= 1 && page <= pageCount_) pageNumber_ = page;
}

std::unique_ptr<TMetafile> TQRPrinter::ReadStoredPage(int page) {
    std::optional<TQRPageBytes> bytes = pageList_->GetPageBytes(page);
    if (!bytes) return nullptr;
    return MetafileOf(*bytes);
}

std::unique_ptr<TMetafile> TQRPrinter::PageMetafile(int page) {
    if ((status_ != qpBuilding && status_ != qpDone) || page < 1 || page > pageCount_) return nullptr;
    return ReadStoredPage(page);
}

// A print run still building loses its job too.
void TQRPrinter::ClearPages() {
    if (status_ == qpBuilding) {
        cancelled_ = true;
        if (destination_ == ptPrinter && printer_->Printing()) printer_->Abort();
    }
    canvas_ = nullptr;
    metafileCanvas_.reset();
    metafile_.reset();
    pageList_->SetStream(nullptr);
    pageList_->Clear();
    pageCount_ = 0;
    status_ = qpIdle;
}

// The first page's size in units of 4 mm against the papers Letter to ESheet, upright and
// turned; the last match the driver takes stays.
void TQRPrinter::DetectPaper() {
    std::unique_ptr<TMetafile> first;
    try {
        first = ReadStoredPage(1);
    } catch (const Exception& e) {
        throw EQRCorruptFile(L"Page 1 cannot be read: " + e.Message());
    }
    if (!first) throw EQRCorruptFile(L"Page 1 cannot be read");
    const Int64 w = Trunc(first->Width() / xFactor_ / 40);
    const Int64 h = Trunc(first->Height() / xFactor_ / 40);
    for (int i = static_cast<int>(TQRPaperSize::Letter); i <= static_cast<int>(TQRPaperSize::ESheet); ++i) {
        const auto size = static_cast<TQRPaperSize>(i);
        const Int64 width = Trunc(QRPaperEntry(size).WidthMM / 4);
        const Int64 length = Trunc(QRPaperEntry(size).LengthMM / 4);
        if (width == w && length == h) {
            SetPaperSize(size);
            SetOrientation(poPortrait);
        }
        if (width == h && length == w) {
            SetPaperSize(size);
            SetOrientation(poLandscape);
        }
    }
}

void TQRPrinter::LoadPreparedReport(const String& fileName) {
    if (status_ != qpIdle) ClearPages();
    try {
        pageList_->LoadFromFile(fileName);
        pageCount_ = pageList_->PageCount();
        xFactor_ = yFactor_ = ScreenFactor();
        if (pageCount_ > 0) DetectPaper();
    } catch (...) {
        ClearPages();
        throw;
    }
    status_ = qpDone;
    prepared_ = true;
    SetPreparedReportLoaded(true);
}

bool TQRPrinter::SavePreparedReport(const String& fileName) {
    if (status_ != qpDone || !pageList_->Stream()) return false;
    pageList_->WritePreparedFile(fileName);
    return true;
}

void TQRPrinter::SelectPrinter(int index) {
    printer_->Refresh();
    if (!printersInstalled_ || !ownPrinter_ || index == -1 || index == printer_->PrinterIndex()) return;
    printer_->SetPrinterIndex(index);
    ResetPrinterDeviceMode(*printer_);
    settings_->ReadFromPrinter();
}

// ---- preview ----

void TQRPrinter::ShowPreview() {
    if (OnPreview) return OnPreview(this);
    std::unique_ptr<TQRPreviewInterface> factory = CreatePreviewInterface();
    previewForm_ = factory->Show(*this);
}

void TQRPrinter::SetPreviewShowing(bool showing) {
    if (previewShowing_ && !showing) {
        try {
            if (status_ == qpBuilding) cancelled_ = true;
            AfterPreview(this);
        } catch (...) {
            previewShowing_ = showing;
            throw;
        }
    }
    previewShowing_ = showing;
}

void TQRPrinter::PreviewClosed() {
    SetPreviewShowing(false);
    if (reportWindow_ && IsWindow(reportWindow_))
        SendMessageW(reportWindow_, CM_QRPREVIEWDONE, 0, reinterpret_cast<LPARAM>(this));
}

// ---- printing stored pages ----

// The progress window of a print run: the printer's client while it lives.
class TQRPrinter::ProgressWindow {
public:
    ProgressWindow(TQRPrinter& printer, bool show) : printer_(printer), previous_(printer.client_) {
        if (!show) return;
        window_ = CreatePreviewInterface()->ShowProgress(printer, String());
        if (window_) printer_.client_ = window_.get();
    }
    ~ProgressWindow() {
        if (window_) printer_.client_ = previous_;
    }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;
    bool Shown() const { return window_ != nullptr; }

private:
    TQRPrinter& printer_;
    IQRPrinterClient* previous_;
    std::unique_ptr<IQRPrinterClient> window_;
};

// Each page is drawn at its own size (its metafile's frame) from the paper's corner, whatever
// paper the report that made it had.
void TQRPrinter::PrintStoredPage(int page, TCanvas& canvas) {
    std::unique_ptr<TMetafile> metafile = ReadStoredPage(page);
    if (!metafile) RaiseCorruptFile();
    const Extended xf = static_cast<Extended>(settings_->PixelsPerInchX() > 0 ? settings_->PixelsPerInchX()
                                                                              : printer_->DeviceCaps(LOGPIXELSX)) / 254;
    const Extended yf = static_cast<Extended>(settings_->PixelsPerInchY() > 0 ? settings_->PixelsPerInchY()
                                                                              : printer_->DeviceCaps(LOGPIXELSY)) / 254;
    const Extended width = static_cast<Extended>(metafile->MMWidth()) / 10;  // 0.1 mm
    const Extended length = static_cast<Extended>(metafile->MMHeight()) / 10;
    const int left = settings_->LeftOffset(), top = settings_->TopOffset();
    const TRect area = Rect(-NearestInt(left * xf), -NearestInt(top * yf), NearestInt((width - left) * xf),
                            NearestInt((length - top) * yf));
    canvas.StretchDraw(area, *metafile);
}

void TQRPrinter::PrintStoredPages() {
    if (reportWindow_ && !prepared_ && !settings_->PrintMetaFile() && status_ == qpDone) {
        PostMessageW(reportWindow_, CM_QRPRINTREQUEST, 0, 0);
        return;
    }
    if (status_ != qpDone) return;
    if (!printersInstalled_) throw EPrinter(SNoDefaultPrinter);
    const int first = std::max(firstPage_ != 0 ? firstPage_ : 1, 1);
    const int last = std::min(lastPage_ != 0 ? lastPage_ : pageCount_, pageCount_);
    if (first > last) return;

    cancelled_ = false;
    printer_->SetTitle(title_);
    if (printer_->Printing()) printer_->Abort();
    settings_->ApplyToPrinter();
    printer_->BeginDoc();
    try {
        ProgressWindow progress(*this, parent_ && parent_->ShowProgress());
        for (int page = first; page <= last; ++page) {
            QRProcessMessages();
            if (progress.Shown()) ReportProgress(NearestInt(static_cast<Extended>(page - first + 1) / (last - first + 1) * 100));
            SetPageNumber(page);
            PrintStoredPage(page, printer_->Canvas());
            if (page < last) printer_->NewPage();
            if (cancelled_) {
                printer_->Abort();
                break;
            }
        }
    } catch (const EQRCorruptFile&) {
        if (printer_->Printing()) printer_->Abort();  // no job made of a damaged report
        throw;
    } catch (const EInvalidGraphic&) {
        if (printer_->Printing()) printer_->Abort();
        throw;
    } catch (...) {
        if (printer_->Printing()) printer_->EndDoc();
        throw;
    }
    if (parent_) parent_->AfterPrint();
    if (printer_->Printing()) printer_->EndDoc();
}

// ---- process-wide ----

namespace {
// The application scope's, like the printer object it prints through.
std::unique_ptr<TQRPrinter>& SharedSlot() { return ScopeObject<std::unique_ptr<TQRPrinter>>(); }
}  // namespace

TQRPrinter& SharedReportPrinter() {
    auto& slot = SharedSlot();
    if (!slot) slot = std::make_unique<TQRPrinter>();
    return *slot;
}

void FreeSharedReportPrinter() { SharedSlot().reset(); }

bool PreparedReportLoaded() { return PreparedReportLoadedFlag(); }
void SetPreparedReportLoaded(bool loaded) { PreparedReportLoadedFlag() = loaded; }

bool PrinterShowsFile(const TQRPrinter& printer, const String& fileName) {
    if (!printer.PreviewShowing() || printer.Stream() == nullptr) return false;
    const String source = printer.Stream()->SourceFileName();
    return !source.empty() && AnsiSameText(ExpandFileName(source), ExpandFileName(fileName));
}
