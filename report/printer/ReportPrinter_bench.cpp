// Report-printer figures: building 1000 A4 pages through TQRPrinter into the page store (as the
// pagination draws them: a frame, headings, sixty lines of text and rules, all through the
// 0.1 mm conversions), plain and compressed; and printing 100 stored pages on the PostScript test
// printer into a file. Run it in the suite's prefix, where the test printer is installed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "framework/rtl/FileUtils.h"
#include "report/printer/QRPrinter.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void DrawResumePage(TQRPrinter& printer, int page) {
    TCanvas& canvas = *printer.PageCanvas();
    canvas.Font().SetName(L"Arial");
    canvas.Font().SetSize(10);
    canvas.Rectangle(printer.ToDeviceX(100), printer.ToDeviceY(100), printer.ToDeviceX(2000), printer.ToDeviceY(2870));
    for (int line = 0; line < 60; ++line) {
        const int y = 150 + line * 44;
        canvas.TextOut(printer.ToDeviceX(150), printer.ToDeviceY(y),
                       L"Experi\u00EAncia profissional " + std::to_wstring(page) + L"." + std::to_wstring(line) +
                           L": analista de sistemas, 2019 a 2024");
        if (line % 10 == 0) {
            canvas.MoveTo(printer.ToDeviceX(150), printer.ToDeviceY(y - 8));
            canvas.LineTo(printer.ToDeviceX(1950), printer.ToDeviceY(y - 8));
        }
    }
}

// Builds the pages into a page store; returns the seconds taken.
double Build(TQRPrinter& printer, int pages) {
    const auto start = Clock::now();
    printer.OpenDocument();
    for (int page = 1; page <= pages; ++page) {
        printer.StartNewPage();
        DrawResumePage(printer, page);
    }
    printer.CloseDocument();
    return SecondsSince(start);
}

void BuildFigures(bool compressed) {
    const int pages = 1000;
    TQRPrinter printer;
    printer.SetCompression(compressed);
    const double seconds = Build(printer, pages);
    std::printf("build %d A4 pages into the store (%s, %s, %.0f KB): %.2f s = %.0f pages/s\n", pages,
                compressed ? "compressed" : "plain", printer.Stream()->InMemory() ? "in memory" : "spilled",
                static_cast<double>(printer.Stream()->Size()) / 1024.0, seconds, pages / seconds);
}

int PrintFigures() {
    const int pages = 100;
    const auto& names = Printer().Printers();
    const auto found = std::find(names.begin(), names.end(), String(L"Folhavida Test Printer"));
    if (found == names.end()) {
        std::printf("print: the test printer is not installed in this prefix (the suite installs it)\n");
        return 1;
    }
    TQRPrinter printer;
    printer.SelectPrinter(static_cast<int>(found - names.begin()));
    Build(printer, pages);
    const String output = GetTempDirectory() + L"fv-report-printer-bench.ps";
    printer.PrinterObject().SetOutputFile(output);
    const auto start = Clock::now();
    printer.PrintStoredPages();
    const double seconds = SecondsSince(start);
    std::printf("print %d stored pages on the test printer (%.0f KB of PostScript): %.2f s = %.1f pages/s\n", pages,
                static_cast<double>(FileSize(output)) / 1024.0, seconds, pages / seconds);
    DeleteFile(output);
    return 0;
}

}  // namespace

int main() {
    BuildFigures(false);
    BuildFigures(true);
    return PrintFigures();
}
