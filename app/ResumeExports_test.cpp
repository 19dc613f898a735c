// The full résumé, generated with a photo, saved from its preview window to PDF and to HTML the
// way a user's Save does, with its pages as the preview draws them beside, for the check
// app/testing/check_resume_exports.sh to read with independent tools. Runs only when that check
// names the folder to write into (FOLHAVIDA_RESUME_EXPORT_DIR).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/Curriculo.h"
#include "app/CurriculoTemplate.h"
#include "app/FullResume_test.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Metafile.h"
#include "framework/graphics/Picture.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/StringUtils.h"
#include "report/previewwindow/QRStandardPreview.h"
#include "report/printer/QRPrinter.h"

namespace {

// Four plain quarters, so that a render shows whether the photo sits the right way round.
void PutQuarteredPhoto(TPicture& photo) {
    TBitmap bitmap(40, 40);
    const TColor quarters[] = {clRed, clLime, clBlue, clYellow};
    for (int q = 0; q < 4; ++q) {
        bitmap.Canvas().Brush().SetColor(quarters[q]);
        const int x = q % 2 * 20, y = q / 2 * 20;
        bitmap.Canvas().FillRect(Rect(x, y, x + 20, y + 20));
    }
    photo.Assign(bitmap);
}

TEST(ResumeExports, SavesTheResumeFromItsPreviewAsPDFAndHTML) {
    const char* folder = std::getenv("FOLHAVIDA_RESUME_EXPORT_DIR");
    if (folder == nullptr || *folder == 0) GTEST_SKIP() << "only for the résumé exports check";
    const String out = Utf8ToString(folder) + L"\\";

    TLocal<TCurriculo> curriculo{nullptr};
    curriculo.SetShowProgress(false);
    TCurriculoTemplate output(curriculo);
    TResumeData resume = FullResume();
    resume.FraseMarcada = {false, true, false, false};
    TPicture photo;
    PutQuarteredPhoto(photo);
    output.Apply(FillCurriculo(resume, TFillVariant::Default, {}), photo, [](TFillStep) {});
    // The preview lays the filled template out again, with the total the first layout counted.
    curriculo.PrepareReport();
    TQRPrinter& printer = *curriculo.ReportPrinter();
    const int pages = printer.PageCount();
    ASSERT_GE(pages, 2);

    // The preview window over the generated pages; its Save picks the filter by the extension.
    {
        TLocal<TQRStandardPreview> preview(nullptr, &printer);
        ASSERT_EQ(preview.Report(), &curriculo);
        for (const wchar_t* name : {L"curriculo.pdf", L"curriculo.htm"}) {
            preview.SaveTo(out + name, 1);
            ASSERT_TRUE(FileExists(out + name)) << StringToUtf8(name);
        }
    }

    // The pages as the preview draws them, at the measuring surface's resolution: the exports ran
    // on printers of their own and left the previewed pages as they were.
    ASSERT_EQ(curriculo.ReportPrinter(), &printer);
    ASSERT_EQ(printer.PageCount(), pages);
    const int width = printer.ToDeviceWidth(2100), height = printer.ToDeviceHeight(2970);
    for (int n = 1; n <= pages; ++n) {
        std::unique_ptr<TMetafile> metafile = printer.PageMetafile(n);
        ASSERT_NE(metafile, nullptr) << n;
        TBitmap page(width, height);
        page.Canvas().Brush().SetColor(clWhite);
        page.Canvas().FillRect(Rect(0, 0, width, height));
        page.Canvas().StretchDraw(Rect(0, 0, width, height), *metafile);
        page.SaveToFile(out + L"preview-" + std::to_wstring(n) + L".bmp");
    }
    const std::string count = std::to_string(pages) + "\n";
    TFileStream file(out + L"pages.txt", fmCreate);
    file.WriteBuffer(count.data(), static_cast<Int64>(count.size()));
}

}  // namespace
