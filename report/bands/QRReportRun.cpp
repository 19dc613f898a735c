// The report's generation run and the output operations built on it.
#include <algorithm>

#include "framework/rtl/Numeric.h"
#include "report/bands/QRPagination.h"
#include "report/bands/QRReport.h"
#include "report/expressions/QREvEnvironment.h"
#include "report/filters/QRExportFilter.h"
#include "report/printables/QRPrintable.h"
#include "report/printer/QRPrintDialog.h"

namespace {

int Rounded(Extended value) { return static_cast<int>(Round(value)); }

// Runs a cleanup when the scope ends, however it ends.
template <class F>
class TOnExit {
public:
    explicit TOnExit(F f) : f_(std::move(f)) {}
    ~TOnExit() { f_(); }
    TOnExit(const TOnExit&) = delete;
    TOnExit& operator=(const TOnExit&) = delete;

private:
    F f_;
};

}  // namespace

// A run of the report: not Available while it lasts, and its visibility as it was, whatever
// ends it.
class TCustomQRReport::TRunGuard {
public:
    explicit TRunGuard(TCustomQRReport& report) : report_(report), visible_(report.Visible()) {
        report_.available_ = false;
        report_.cancelled_ = false;
        report_.stopRequest_ = false;
        report_.headerJustPrinted_ = false;
        report_.runDataSets_ = std::make_unique<TQRDataSetList>();
    }
    ~TRunGuard() {
        report_.functions_->BindDataSets(nullptr);
        report_.runDataSets_.reset();
        report_.backgroundControl_ = nullptr;
        if (report_.Visible() != visible_) report_.SetVisible(visible_);
        report_.available_ = true;
        // Band list changes asked for during the run wait until its lists are no longer walked.
        if (report_.bandListPending_ && !report_.Destroying()) {
            report_.bandListPending_ = false;
            report_.RebuildBandList();
            report_.ArrangeBands();
        }
    }
    TRunGuard(const TRunGuard&) = delete;
    TRunGuard& operator=(const TRunGuard&) = delete;

private:
    TCustomQRReport& report_;
    bool visible_;
};

// ---- the levels ----

void TCustomQRReport::CollectFormDataSets() {
    // The report is the root of its own description: the datasets beside its bands, and those
    // of the component that owns it.
    for (TComponent* owner : {Owner(), static_cast<TComponent*>(this)}) {
        if (owner == nullptr) continue;
        for (int i = 0; i < owner->ComponentCount(); ++i)
            if (auto* dataSet = dynamic_cast<TDataSet*>(owner->Components(i)))
                runDataSets_->push_back(&dataSet->Fields());
    }
}

void TCustomQRReport::PreparePrintables(bool prepare) {
    auto each = [prepare](TControl* control) {
        if (auto* printable = dynamic_cast<TQRPrintable*>(control)) {
            if (prepare)
                printable->PrepareForRun();
            else
                printable->ReleaseAfterRun();
        }
    };
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* control = Controls(i);
        each(control);
        if (auto* band = dynamic_cast<TQRCustomBand*>(control))
            for (int j = 0; j < band->ControlCount(); ++j) each(band->Controls(j));
    }
}

void TCustomQRReport::RunLevels(TQRPagination* pagination) {
    controller_->RebuildLists();
    TQREvEnvironment* global = GetGlobalEnvironment();
    if (global != nullptr) global->Compile();
    functions_->BindDataSets(runDataSets_.get());
    functions_->Compile();
    struct TReleased {
        TCustomQRReport& report;
        TQREvEnvironment* global;
        bool printables;
        ~TReleased() {
            if (printables) report.PreparePrintables(false);
            report.controller_->UnprepareLevel();
            report.functions_->Release();
            if (global != nullptr) global->Release();
        }
    } released{*this, global, false};
    if (TQREvElement* title = functions_->FindConstant(L"REPORTTITLE"))
        TQREvEnvironment::AssignStringConstant(title, reportTitle_);
    controller_->PrepareLevel();
    if (pagination != nullptr) {
        released.printables = true;
        PreparePrintables(true);
    }
    RunController();
    if (pagination == nullptr) return;
    pagination->SetCurrentX(Rounded(page_->StoredValue(TQRPage::iLeftMargin)));
    pagination->SetLastPage(true);
    if (!cancelled_) pagination->FinishPage();
    if (exportFilter_ != nullptr) exportFilter_->EndExport();
}

bool TCustomQRReport::RunDataLevels() {
    if (!available_) return false;
    try {
        TRunGuard guard(*this);
        CollectFormDataSets();
        RunLevels(nullptr);
    } catch (...) {
        if (releasePending_) FreeNow();
        throw;
    }
    // Nothing of the report is touched after this: it may be gone.
    if (releasePending_) FreeNow();
    return true;
}

// ---- the generation run ----

void TCustomQRReport::GenerateReport() {
    if (!available_) return;
    designPicture_.reset();
    if (page_->Width() - page_->LeftMargin() - page_->RightMargin() < 0) {
        page_->SetLeftMargin(0);
        page_->SetRightMargin(0);
    }
    if (page_->Length() - page_->TopMargin() - page_->BottomMargin() < 0) {
        page_->SetTopMargin(0);
        page_->SetBottomMargin(0);
    }
    try {
        TRunGuard guard(*this);
        CollectFormDataSets();
        for (int i = 0; i < ControlCount(); ++i)
            if (Controls(i)->Name() == backImageControl_ && !backImageControl_.empty() &&
                Controls(i)->ClassName() == L"TQRImage")
                backgroundControl_ = dynamic_cast<TQRPrintable*>(Controls(i));
        bool print = true;
        if (BeforePrint && !ComponentState().Contains(csDesigning)) BeforePrint(this, print);
        if (print) RunPrintingBlock();
    } catch (...) {
        if (releasePending_) FreeNow();
        throw;
    }
    if (releasePending_) FreeNow();
}

void TCustomQRReport::RunPrintingBlock() {
    if (printer_ == nullptr) printer_ = MakeReportPrinter();
    TQRPrinter& printer = *printer_;
    const TQRUnit units = Units();
    TOnExit restoreUnits([this, units] {
        if (Units() != units && !Destroying()) SetUnits(units);
    });
    SetUnits(TQRUnit::Native);
    ApplyPrinterSettings();
    printer.SetTitle(reportTitle_);
    printer.SetCompression(options_.Contains(TQRReportOption::Compression));
    printer.OpenDocument();
    // An export keeps no pages: its document is abandoned like a cancelled one.
    TOnExit endDocument([this, &printer] {
        if (cancelled_ || !canvasOutput_)
            printer.AbandonDocument();
        else
            printer.CloseDocument();
    });

    TQRPagination pagination(*this);
    TOnExit uninstall([this, previous = bandPrinter_] {
        bandPrinter_ = previous;
        pagination_ = nullptr;
    });
    bandPrinter_ = &pagination;
    pagination_ = &pagination;
    pagination.SetBackgroundControl(backgroundControl_);
    if (exportFilter_ != nullptr && !exportFilter_->Active())
        exportFilter_->BeginExport(Rounded(page_->StoredValue(TQRPage::iWidth)),
                                   Rounded(page_->StoredValue(TQRPage::iLength)), Font());
    pagination.SetPageFooterHeight(pagination.MeasurePageFooters());
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* band = dynamic_cast<TQRCustomBand*>(Controls(i))) band->SetParentReport(this);
    pagination.SetCurrentX(Rounded(page_->StoredValue(TQRPage::iLeftMargin)));
    RunLevels(&pagination);
}

// ---- printers ----

std::unique_ptr<TQRPrinter> TCustomQRReport::MakeReportPrinter() {
    auto printer = std::make_unique<TQRPrinter>(&printerLink_);
    printer->AfterPreview = TQRPrinterCallback(this, &TCustomQRReport::NotifyAfterPreview);
    printer->AfterPrint = TQRPrinterCallback(this, &TCustomQRReport::NotifyAfterPrint);
    return printer;
}

TQRPrinter* TCustomQRReport::ShowingPrinter() const {
    if (printer_ != nullptr && printer_->PreviewShowing()) return printer_.get();
    for (const auto& printer : retiredPrinters_)
        if (printer->PreviewShowing()) return printer.get();
    return nullptr;
}

void TCustomQRReport::RetirePrinter(std::unique_ptr<TQRPrinter> printer) {
    if (printer != nullptr && printer->PreviewShowing()) retiredPrinters_.push_back(std::move(printer));
}

bool TCustomQRReport::CreateReportPrinter() {
    if (!available_) return false;
    std::unique_ptr<TQRPrinter> fresh = MakeReportPrinter();
    if (printer_ != nullptr) fresh->SetClient(printer_->Client());
    RetirePrinter(SetReportPrinter(std::move(fresh)));
    return true;
}

void TCustomQRReport::AttachExportFilter(TQRExportFilter* filter) { exportFilter_ = filter; }

void TCustomQRReport::ApplyPrinterSettings() {
    if (printer_ == nullptr) return;
    TQRPrinter& printer = *printer_;
    const TQRReportPrinterSettings& s = *printerSettings_;
    printer.SelectPrinter(s.PrinterIndex());
    printer.SetPaperSize(page_->PaperSize());
    if (printer.PaperSize() == TQRPaperSize::Custom) {
        printer.Settings().SetCustomPaperWidth(Rounded(page_->Width()));
        printer.Settings().SetCustomPaperLength(Rounded(page_->Length()));
    }
    printer.SetOrientation(page_->Orientation());
    printer.SetCopies(s.Copies());
    printer.SetOutputBin(s.OutputBin());
    printer.SetFirstPage(s.FirstPage());
    printer.SetLastPage(s.LastPage());
    printer.SetDuplex(s.Duplex());
    TPrinterSettings& d = printer.Settings();
    d.SetUseStandardPrinter(s.UseStandardprinter());
    d.SetPrintMetaFile(s.PrintMetaFile());
    d.SetUseCustomBinCode(s.UseCustomBinCode());
    d.SetCustomBinCode(s.CustomBinCode());
    d.SetUseCustomPaperCode(s.UseCustomPaperCode());
    d.SetCustomPaperCode(s.CustomPaperCode());
    d.SetPrintQuality(s.PrintQuality());
    d.SetCollate(s.Collate());
    d.SetColorOption(s.ColorOption());
    d.SetExtendedDuplex(s.ExtendedDuplex());
    d.OnApplyPrinterSettings = OnApplyPrinterSettings;
    d.OnGetPrinterSettings = OnGetPrinterSettings;
}

// ---- the output operations ----

void TCustomQRReport::PrepareReport() {
    if (!CreateReportPrinter()) return;
    TQRPrinter* printer = printer_.get();
    printer->SetDestination(ptPageStore);
    printer->SetReportWindow(ReportWindow());
    printer->SetTitle(reportTitle_);
    if (OnPreview) printer->OnPreview = OnPreview;
    GenerateReport();
    printer->SetPrepared(true);
}

void TCustomQRReport::ShowPreview() {
    QRProcessMessages();
    if (!available_) return;
    if (TQRPrinter* showing = ShowingPrinter()) {
        if (auto* window = dynamic_cast<TControl*>(showing->PreviewForm())) window->BringToFront();
        return;
    }
    if (!CreateReportPrinter()) return;
    TQRPrinter* printer = printer_.get();
    printer->SetDestination(ptPageStore);
    printer->SetReportWindow(ReportWindow());
    printer->SetTitle(reportTitle_);
    if (OnPreview) printer->OnPreview = OnPreview;
    ApplyPrinterSettings();
    printer->ShowPreview();
    GenerateReport();
    printer->SetPrepared(true);
    if (AfterPreview) AfterPreview(this);
    if (cancelled_) {
        if (printer_.get() == printer) printer_.reset();
        return;
    }
    do {
        if (!QRHandleMessage()) break;
    } while (printer_ != nullptr && printer_->PreviewShowing());
}

void TCustomQRReport::PrintReport() {
    if (!available_) return;
    std::unique_ptr<TQRPrinter> fresh = MakeReportPrinter();
    if (!fresh->PrintersInstalled()) return;
    fresh->SetDestination(ptPrinter);
    std::unique_ptr<IQRPrinterClient> progress;
    if (showProgress_) progress = CreatePreviewInterface()->ShowProgress(*fresh, String());
    fresh->SetClient(progress.get());
    std::unique_ptr<TQRPrinter> remembered = SetReportPrinter(std::move(fresh));
    // The print run's printer goes before its progress window, which it tells that it goes.
    TOnExit restore([this, &remembered, &progress] {
        SetReportPrinter(std::move(remembered)).reset();
        progress.reset();
    });
    GenerateReport();
}

void TCustomQRReport::ExportReport(TQRExportFilter* filter) {
    // A busy report's run would return at once, but not before its printer and canvas output
    // had been taken from the run in progress.
    if (!available_ || filter == nullptr) return;
    AttachExportFilter(filter);
    filter->SetOwnerReport(this);
    filter->SetReportPrinter(printer_.get());
    canvasOutput_ = false;
    std::unique_ptr<TQRPrinter> exportPrinter = MakeReportPrinter();
    std::unique_ptr<IQRPrinterClient> progress;
    if (showProgress_) progress = CreatePreviewInterface()->ShowProgress(*exportPrinter, L"Exporting Progress");
    exportPrinter->SetClient(progress.get());
    std::unique_ptr<TQRPrinter> remembered = SetReportPrinter(std::move(exportPrinter));
    // A failed export leaves the report as a finished one does: the filter goes with the run.
    TOnExit restore([this, &remembered, &progress] {
        SetReportPrinter(std::move(remembered)).reset();
        progress.reset();
        AttachExportFilter(nullptr);
        canvasOutput_ = true;
    });
    GenerateReport();
}

void TCustomQRReport::RunPrinterSetup() {
    TQRPrintDialog dialog(nullptr);
    TPrinter& printerObject = dialog.PrinterObject();
    if (printerSettings_->PrinterIndex() >= 0 &&
        printerSettings_->PrinterIndex() < static_cast<int>(printerObject.Printers().size()))
        printerObject.SetPrinterIndex(printerSettings_->PrinterIndex());
    dialog.SetMinPage(0);
    dialog.SetMaxPage(9999);
    if (printer_ != nullptr && printer_->Status() == qpDone) {
        dialog.SetMinPage(1);
        dialog.SetMaxPage(printer_->PageCount());
        dialog.SetFromPage(1);
        dialog.SetToPage(printer_->PageCount());
    }
    dialog.SetOptions({poPageNums, poWarning});
    dialog.SetOrientation(page_->Orientation());
    dialog.ChangeCopies(printerSettings_->Copies());
    if (!dialog.Execute()) {
        SetTag(1);
        return;
    }
    printerSettings_->SetCopies(dialog.Copies());
    printerSettings_->SetPrinterIndex(printerObject.PrinterIndex());
    page_->SetOrientation(dialog.Orientation());
    TQRReportPrinterSettings& d = *dialogSettings_;
    d.SetCustomBinCode(dialog.OutputBin());
    d.SetExtendedDuplex(dialog.DuplexCode());
    d.SetPrintQuality(dialog.PrintQuality());
    d.SetCollate(dialog.Collate());
    d.SetColorOption(dialog.ColorOption());
    d.SetCopies(dialog.Copies());
    d.SetOrientation(dialog.Orientation());
    d.SetOutputBin(printerSettings_->OutputBin());
    const int bin = dialog.OutputBin() > 255 ? dialog.OutputBin() - 256 : dialog.OutputBin();
    for (int i = 0; i < QRBinCount; ++i)
        if (QRBinCode(static_cast<TQRBin>(i)) == bin) d.SetOutputBin(static_cast<TQRBin>(i));
    d.SetCustomPaperCode(dialog.PaperSize());
    d.SetPrinterIndex(printerObject.PrinterIndex());
    d.SetFirstPage(dialog.FromPage());
    d.SetLastPage(dialog.ToPage());
    d.SetDuplex(dialog.Duplex());
    if (dialog.PrintRange() == prPageNums) {
        printerSettings_->SetFirstPage(dialog.FromPage());
        printerSettings_->SetLastPage(dialog.ToPage());
    } else {
        printerSettings_->SetFirstPage(0);
        printerSettings_->SetLastPage(0);
    }
    SetTag(0);
}
