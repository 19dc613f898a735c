// Pagination figures: a report of text bands prepared into the page store until it fills 1000
// A4 pages (a page header, a page footer and 4 mm detail bands, each with a line of text), timed
// as pages per second.
#include <chrono>
#include <cstdio>
#include <string>

#include "framework/controls/ControlsScope.h"
#include "report/bands/BandsRegistration.h"
#include "report/bands/QRReport.h"
#include "report/expressions/QREvEnvironment.h"
#include "report/printables/QRPrintable.h"

namespace {

using Clock = std::chrono::steady_clock;

// One line of text where its band prints, as a label without stretching draws it.
class TTextLine : public TQRPrintable {
    FV_CLASS(TTextLine, TQRPrintable)
public:
    explicit TTextLine(TComponent* owner) : TQRPrintable(owner) {}
    std::wstring Text;
    void PrintAt(int x, int y) override {
        TQRPrinter* printer = QRPrinter();
        if (printer == nullptr || printer->PageCanvas() == nullptr) return;
        TCanvas& canvas = *printer->PageCanvas();
        canvas.Font().Assign(*Font());
        canvas.TextOut(printer->ToDeviceX(x + Size()->StoredValue(TQRPrintableSize::iLeft)),
                       printer->ToDeviceY(y + Size()->StoredValue(TQRPrintableSize::iTop)), String(Text.c_str()));
    }
};

class TBenchReport : public TObject {
public:
    explicit TBenchReport(int records) : records_(records) {
        report.SetShowProgress(false);
        report.Page()->SetUnits(TQRUnit::MM);
        report.Page()->SetPaperSize(TQRPaperSize::A4);
        report.Page()->SetTopMargin(10);
        report.Page()->SetBottomMargin(10);
        header = report.AddBandOfType(rbPageHeader);
        detail = report.AddBandOfType(rbDetail);
        footer = report.AddBandOfType(rbPageFooter);
        report.SetUnits(TQRUnit::Native);
        header->Size()->SetHeight(100);
        detail->Size()->SetHeight(40);
        footer->Size()->SetHeight(100);
        line = new TTextLine(&report);
        line->SetParent(detail);
        line->Text = L"Experi\u00EAncia profissional: analista de sistemas, 2019 a 2024";
        report.OnNeedData = TQROnNeedDataEvent(this, &TBenchReport::NeedData);
    }
    String ClassName() const override { return L"TBenchReport"; }
    void NeedData(TObject*, bool& more) { more = served_++ < records_; }

    TLocal<TQRReport> report{nullptr};
    TQRBand* header;
    TQRBand* detail;
    TQRBand* footer;
    TTextLine* line;

private:
    int records_;
    int served_ = 0;
};

}  // namespace

int main() {
    TControlsScope scope;
    RegisterReportBandsClasses();
    InitializeExpressionEngine(L"Folhavida");
    // A page body of 2970 - 2 x 100 (margins) - 100 (header) - 100 (footer) = 2570 holds 64 bands
    // (the bands have no room left for a 65th); the title-less first page the same.
    const int records = 64 * 1000;
    TBenchReport bench(records);
    const auto start = Clock::now();
    bench.report.PrepareReport();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const int pages = bench.report.ReportPrinter()->PageCount();
    std::printf("prepare %d text bands into %d A4 pages: %.2f s = %.0f pages/s\n", records, pages, seconds,
                pages / seconds);
    return pages == 1000 ? 0 : 1;
}
