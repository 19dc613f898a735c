// Figures of exporting the full résumé (a name, five experiences, five courses, a photo) to PDF
// the way the preview's Save does, once in the default look and once styled: the report runs
// again into the PDF filter, kept in memory. With a folder argument the last file of each look
// is also written there (resume-default.pdf, resume-styled.pdf) for the readers to look at.
//   ResumePDF_bench [folder]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "app/AppRegistration.h"
#include "app/Curriculo.h"
#include "app/CurriculoTemplate.h"
#include "app/FullResume_test.h"
#include "export/pdf/QRPDFFilter.h"
#include "framework/classes/Component.h"
#include "framework/controls/UiThread.h"
#include "framework/forms/ApplicationScope.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Picture.h"
#include "framework/rtl/Platform.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/WinApi.h"
#include "report/printer/QRPrinter.h"

namespace {

using Clock = std::chrono::steady_clock;


// A camera-sized photo with colours that vary across and down.
void MakePhoto(TPicture& photo) {
    TBitmap pixels(240, 320, pf24bit);
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 240; ++x) pixels.Canvas().SetPixels(x, y, RGBColor(x * 255 / 240, y * 255 / 320, 96));
    photo.Assign(pixels);
}

void Measure(const char* name, TFillVariant variant, const TResumeStyle& style, const String& folder) {
    TLocal<TCurriculo> curriculo{nullptr};
    curriculo.SetShowProgress(false);
    TCurriculoTemplate output(curriculo);
    TPicture photo;
    MakePhoto(photo);
    output.Apply(FillCurriculo(FullResume(), variant, style), photo, [](TFillStep) {});
    std::vector<double> times;
    std::string pdf;
    for (int run = 0; run < 11; ++run) {
        TQRPDFDocumentFilter filter{String()};
        const auto start = Clock::now();
        curriculo.ExportReport(&filter);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        pdf = filter.Document();
    }
    std::sort(times.begin(), times.end());
    std::smatch count;
    const int pages = std::regex_search(pdf, count, std::regex("/Count ([0-9]+)\r\n/Kids")) ? std::stoi(count[1]) : 0;
    std::printf("full résumé, %s, to PDF: %d pages, %zu bytes: best %.1f ms, median %.1f ms (target 50 ms)\n", name,
                pages, pdf.size(), times.front(), times[times.size() / 2]);
    if (!folder.empty()) {
        TFileStream file(folder + L"\\resume-" + platform::FromCodePage(name, CP_ACP) + L".pdf", fmCreate);
        file.WriteBuffer(pdf.data(), static_cast<Int64>(pdf.size()));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const String folder = argc > 1 ? platform::FromCodePage(argv[1], CP_ACP) : String();
    TComApartment com;
    RegisterAppClasses();
    TApplicationScope scope;
    Measure("default", TFillVariant::Default, {}, folder);
    Measure("styled", TFillVariant::Styled, {L"Monotype Corsiva", clNavy, false}, folder);
    return 0;
}
