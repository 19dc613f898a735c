// A résumé-like report exported to HTML, with its page as the preview draws it beside, for the
// browser check (export/testing/check_html_in_browser.sh) to open. Runs only when that check
// names the folder to write into (FOLHAVIDA_HTML_CHECK_DIR).
#include <gmock/gmock.h>

#include <cstdlib>

#include "export/filters/QRHTMLDocumentFilter.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Metafile.h"
#include "framework/rtl/StringUtils.h"
#include "report/bands/QRBandsTestSupport_test.h"
#include "report/printables/QRImage.h"
#include "report/printables/QRShape.h"
#include "report/printer/QRPrinter.h"
#include "report/text/QRTextPrintables.h"

namespace {

template <class T>
T* Put(TQRBand* band, int left, int top, int width, int height) {
    auto* control = new T(band);
    control->SetParent(band);
    control->Size()->SetLeft(left);
    control->Size()->SetTop(top);
    control->Size()->SetWidth(width);
    control->Size()->SetHeight(height);
    return control;
}

TEST(HTMLInBrowser, WritesTheResumeAndItsPreview) {
    const char* folder = std::getenv("FOLHAVIDA_HTML_CHECK_DIR");
    if (folder == nullptr || *folder == 0) GTEST_SKIP() << "only for the browser check";
    const String out = Utf8ToString(folder) + L"\\";

    TLocal<TQRReport> report{nullptr};
    report.SetShowProgress(false);
    TQRPage& page = *report.Page();
    page.SetUnits(TQRUnit::MM);
    page.SetPaperSize(TQRPaperSize::A4);
    report.SetUnits(TQRUnit::Native);
    TQRBand* band = MakeBand(report, L"Title", rbTitle);
    report.SetUnits(TQRUnit::Native);
    band->Size()->SetHeight(1200);

    auto* name = Put<TQRLabel>(band, 100, 50, 1200, 100);
    name->SetName(L"Nome");
    name->AssignCaption(L"Maria da Conceição & Silva");
    name->Font()->SetName(L"Arial");
    name->Font()->SetSize(20);
    name->Font()->SetStyle({fsBold});
    auto* line = Put<TQRLabel>(band, 100, 250, 1500, 60);
    line->SetName(L"Endereco");
    line->AssignCaption(L"Rua das Flores, 123 <apto 4>");
    line->Font()->SetName(L"Arial");
    line->Font()->SetSize(11);
    line->Font()->SetColor(clNavy);
    // A caption and its value as the résumé places them: the value begins just after the caption.
    auto* caption = Put<TQRLabel>(band, 100, 800, 247, 44);
    caption->SetName(L"Rotulo");
    caption->AssignCaption(L"Naturalidade:");
    caption->Font()->SetName(L"Arial");
    caption->Font()->SetSize(10);
    auto* value = Put<TQRLabel>(band, 312, 800, 583, 44);
    value->SetName(L"Valor");
    value->AssignCaption(L"São Paulo");
    value->Font()->SetName(L"Arial");
    value->Font()->SetSize(10);
    auto* box = Put<TQRShape>(band, 100, 400, 1000, 150);
    box->SetName(L"Faixa");
    box->Brush()->SetColor(clTeal);
    box->Pen()->SetColor(clTeal);
    auto* rule = Put<TQRShape>(band, 100, 650, 1800, 40);
    rule->SetName(L"Linha");
    rule->SetShape(qrsHorLine);
    auto* photo = Put<TQRImage>(band, 1500, 50, 300, 300);
    photo->SetName(L"foto");
    photo->SetStretch(true);
    TBitmap picture(30, 30);
    picture.Canvas().Brush().SetColor(clRed);
    picture.Canvas().FillRect(Rect(0, 0, 30, 30));
    photo->Picture()->Assign(picture);

    {
        TQRGHTMLDocumentFilter filter(out + L"curriculo.htm");
        report.ExportReport(&filter);
    }
    report.PrepareReport();
    TQRPrinter& printer = *report.ReportPrinter();
    ASSERT_GE(printer.PageCount(), 1);
    std::unique_ptr<TMetafile> first = printer.PageMetafile(1);
    ASSERT_NE(first, nullptr);
    const int width = printer.ToDeviceWidth(2100), height = printer.ToDeviceHeight(2970);
    TBitmap preview(width, height);
    preview.Canvas().Brush().SetColor(clWhite);
    preview.Canvas().FillRect(Rect(0, 0, width, height));
    preview.Canvas().StretchDraw(Rect(0, 0, width, height), *first);
    preview.SaveToFile(out + L"preview.bmp");
}

}  // namespace
