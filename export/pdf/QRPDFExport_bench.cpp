// PDF export figures through real report runs: a two-page résumé-shaped report (a heading, a
// coloured shape, a 300 x 400 photo and 60 lines of accented text) and a 200-page text report,
// each exported five times into memory; the best and the median time are printed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "framework/controls/ControlsScope.h"
#include "framework/graphics/Bitmap.h"
#include "report/bands/QRReport.h"
#include "report/expressions/QREvEnvironment.h"
#include "export/pdf/QRPDFFilter.h"
#include "report/printables/QRImage.h"
#include "report/printables/QRShape.h"
#include "report/text/QRTextPrintables.h"
#include "report/text/TextRegistration.h"

namespace {

using Clock = std::chrono::steady_clock;

void Place(TQRPrintable& control, int left, int top, int width, int height) {
    control.Size()->SetLeft(left);
    control.Size()->SetTop(top);
    control.Size()->SetWidth(width);
    control.Size()->SetHeight(height);
}

TQRLabel* AddLabel(TQRBand* band, const String& caption, int left, int top, int size, bool bold) {
    auto* label = new TQRLabel(band);
    label->SetParent(band);
    Place(*label, left, top, 1700, 50);
    label->AssignCaption(caption);
    label->Font()->SetName(L"Arial");
    label->Font()->SetSize(size);
    if (bold) label->Font()->SetStyle(TFontStyles{fsBold});
    return label;
}

class TBenchReport : public TObject {
public:
    TBenchReport(int records, bool resume) : records_(records) {
        report.SetShowProgress(false);
        report.Page()->SetUnits(TQRUnit::MM);
        report.Page()->SetPaperSize(TQRPaperSize::A4);
        report.Page()->SetTopMargin(10);
        report.Page()->SetBottomMargin(10);
        report.SetUnits(TQRUnit::Native);
        if (resume) {
            TQRBand* title = report.AddBandOfType(rbTitle);
            report.SetUnits(TQRUnit::Native);
            title->Size()->SetHeight(600);
            AddLabel(title, L"Maria Conceição Araújo", 0, 0, 18, true);
            AddLabel(title, L"Analista de sistemas — São Paulo", 0, 100, 11, false);
            auto* shape = new TQRShape(title);
            shape->SetParent(title);
            Place(*shape, 0, 200, 1300, 20);
            shape->Brush()->SetColor(RGBColor(30, 80, 160));
            shape->Pen()->SetStyle(psClear);
            auto* photo = new TQRImage(title);
            photo->SetParent(title);
            Place(*photo, 1500, 0, 350, 450);
            photo->SetStretch(true);
            TBitmap pixels(300, 400, pf24bit);
            for (int y = 0; y < 400; ++y)
                for (int x = 0; x < 300; ++x)
                    pixels.Canvas().SetPixels(x, y, RGBColor(x * 255 / 300, y * 255 / 400, (x * y) % 256));
            photo->Picture()->Assign(pixels);
        }
        TQRBand* detail = report.AddBandOfType(rbDetail);
        report.SetUnits(TQRUnit::Native);
        detail->Size()->SetHeight(resume ? 60 : 40);
        AddLabel(detail, L"Experiência profissional: desenvolvimento de aplicações, formação contínua", 0, 0, 10,
                 false);
        report.OnNeedData = TQROnNeedDataEvent(this, &TBenchReport::NeedData);
    }
    String ClassName() const override { return L"TBenchReport"; }
    void NeedData(TObject*, bool& more) { more = served_++ < records_; }

    // Milliseconds of one export, and the file's page count.
    double Export(int& pages, std::size_t& bytes) {
        served_ = 0;
        TQRPDFDocumentFilter filter{String()};
        const auto start = Clock::now();
        report.ExportReport(&filter);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        const std::string pdf = filter.Document();
        std::smatch count;
        pages = std::regex_search(pdf, count, std::regex("/Count ([0-9]+)\r\n/Kids")) ? std::stoi(count[1]) : 0;
        bytes = pdf.size();
        return ms;
    }

    TLocal<TQRReport> report{nullptr};

private:
    int records_;
    int served_ = 0;
};

bool Measure(const char* name, TBenchReport& bench, int expectedPages) {
    std::vector<double> times;
    int pages = 0;
    std::size_t bytes = 0;
    for (int run = 0; run < 5; ++run) times.push_back(bench.Export(pages, bytes));
    std::sort(times.begin(), times.end());
    std::printf("%s: %d pages, %zu bytes: best %.1f ms, median %.1f ms\n", name, pages, bytes, times[0], times[2]);
    return pages == expectedPages;
}

}  // namespace

int main() {
    TControlsScope scope;
    RegisterReportTextClasses();
    RegisterReportPDFClasses();
    InitializeExpressionEngine(L"Folhavida");
    // Résumé: 600 of title, then 6 mm lines: 36 on page 1 (2770 - 600 = 2170), 24 on page 2.
    TBenchReport resume(60, true);
    // Text: 4 mm lines, 69 to a page body of 2770.
    TBenchReport text(69 * 200, false);
    bool right = Measure("resume-shaped report to PDF", resume, 2);
    right = Measure("200-page text report to PDF", text, 200) && right;
    return right ? 0 : 1;
}
