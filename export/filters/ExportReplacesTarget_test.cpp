// Exporting over an earlier file: the PDF, HTML and text filters fed by real report runs that
// finish, are cancelled or fail half-way. Only a finished export replaces the page (and the
// HTML page's picture); the others leave last week's files as they were, and no export leaves
// a temporary file behind.
#include <gmock/gmock.h>

#include <functional>

#include "framework/rtl/WinApi.h"  // before the folder's <windows.h>, whose DeleteFile is a macro
#include "export/filters/ExportTestFolder_test.h"
#include "export/filters/QRAsciiExportFilter.h"
#include "export/filters/QRHTMLDocumentFilter.h"
#include "export/pdf/QRPDFFilter.h"
#include "framework/controls/ControlsScope.h"
#include "framework/graphics/Bitmap.h"
#include "report/bands/QRBandsTestSupport_test.h"
#include "report/printables/QRImage.h"
#include "report/text/QRTextPrintables.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

enum class TOutcome { Completed, Cancelled, Failing };

// A title with a heading and a photo, then detail lines; the run meets its outcome at the
// second record, after the title has gone to the filter.
class TOutcomeReport {
public:
    explicit TOutcomeReport(TOutcome outcome) : outcome_(outcome) {
        report.SetShowProgress(false);
        report.Page()->SetUnits(TQRUnit::MM);
        report.Page()->SetPaperSize(TQRPaperSize::A4);
        report.SetUnits(TQRUnit::Native);
        TQRBand* title = MakeBand(report, L"Title", rbTitle);
        report.SetUnits(TQRUnit::Native);
        title->Size()->SetHeight(400);
        auto* heading = Put<TQRLabel>(title, 0, 0, 1500, 80);
        heading->AssignCaption(L"Curriculo de Maria");
        heading->Font()->SetName(L"Arial");
        auto* photo = Put<TQRImage>(title, 1500, 0, 300, 300);
        photo->SetName(L"foto");
        photo->SetStretch(true);
        TBitmap pixels(4, 4);
        pixels.Canvas().Brush().SetColor(clRed);
        pixels.Canvas().FillRect(Rect(0, 0, 4, 4));
        photo->Picture()->Assign(pixels);
        TQRBand* detail = MakeBand(report, L"Detail", rbDetail);
        report.SetUnits(TQRUnit::Native);
        detail->Size()->SetHeight(60);
        Put<TQRLabel>(detail, 0, 0, 1500, 60)->AssignCaption(L"Experiencia");
        report.OnNeedData = TQROnNeedDataEvent(this, &TOutcomeReport::NeedData);
    }

    TLocal<TQRReport> report{nullptr};

private:
    template <class T>
    static T* Put(TQRBand* band, int left, int top, int width, int height) {
        auto* control = new T(band);
        control->SetParent(band);
        control->Size()->SetLeft(left);
        control->Size()->SetTop(top);
        control->Size()->SetWidth(width);
        control->Size()->SetHeight(height);
        return control;
    }

    void NeedData(TObject*, bool& more) {
        more = ++served_ <= 3;
        if (served_ < 2) return;
        if (outcome_ == TOutcome::Cancelled) report.RequestStop();
        if (outcome_ == TOutcome::Failing) throw EReadError(L"The data could not be read");
    }

    TOutcome outcome_;
    int served_ = 0;
};

struct TFilterKind {
    const char* name;
    const wchar_t* file;
    std::function<std::unique_ptr<TQRExportFilter>(const String&)> make;
    std::string mark;     // what the new file holds
    bool writesPicture;   // the photo goes into a file beside the page
};

}  // namespace

TEST(ExportReplacesTarget, OnlyAFinishedExportReplacesTheEarlierFile) {
    const TFilterKind kinds[] = {
        {"PDF", L"cv.pdf", [](const String& f) { return std::make_unique<TQRPDFDocumentFilter>(f); }, "%PDF-1.3",
         false},
        {"HTML", L"cv.htm", [](const String& f) { return std::make_unique<TQRGHTMLDocumentFilter>(f); },
         "<!DOCTYPE html>", true},
        {"text", L"cv.txt", [](const String& f) { return std::make_unique<TQRAsciiExportFilter>(f); },
         "Curriculo de Maria", false},
    };
    const struct {
        const char* name;
        TOutcome outcome;
    } outcomes[] = {{"completed", TOutcome::Completed},
                    {"cancelled", TOutcome::Cancelled},
                    {"failing", TOutcome::Failing}};
    const std::string oldPage = "last week's export", oldPicture = "last week's photo";
    for (const TFilterKind& kind : kinds) {
        for (const auto& o : outcomes) {
            SCOPED_TRACE(std::string(kind.name) + ", " + o.name);
            TExportTestFolder folder;
            folder.Write(kind.file, oldPage);
            folder.Write(L"cv_foto.jpg", oldPicture);
            {
                TOutcomeReport run(o.outcome);
                std::unique_ptr<TQRExportFilter> filter = kind.make(folder / kind.file);
                if (o.outcome == TOutcome::Failing)
                    EXPECT_THROW(run.report.ExportReport(filter.get()), EReadError);
                else
                    run.report.ExportReport(filter.get());
            }
            EXPECT_THAT(folder.Files(), ElementsAre(kind.file, L"cv_foto.jpg"));
            if (o.outcome == TOutcome::Completed) {
                EXPECT_THAT(folder.Read(kind.file), HasSubstr(kind.mark));
                EXPECT_EQ(folder.Read(L"cv_foto.jpg").rfind(kind.writesPicture ? "\xFF\xD8" : oldPicture, 0), 0u);
            } else {
                EXPECT_EQ(folder.Read(kind.file), oldPage);
                EXPECT_EQ(folder.Read(L"cv_foto.jpg"), oldPicture);
            }
        }
    }
}

// Tests of a suite named "...Scope" make their own scopes.
TEST(ExportFilterScope, TheFilterLibraryAndHTMLSettingsStartFreshInEachScope) {
    for (int run = 1; run <= 2; ++run) {
        TControlsScope scope;
        EXPECT_TRUE(ExportFilterLibrary().Filters().empty()) << "run " << run;
        EXPECT_FALSE(HTMLFilterSettings().MultiPage) << "run " << run;
        ExportFilterLibrary().EnrollFilter(TQRAsciiExportFilter::FilterClass());
        HTMLFilterSettings().MultiPage = true;
    }
}
