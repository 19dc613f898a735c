// The preview window's decisions without a window: go-to-page answers, status and progress
// texts, and where a save goes.
#include "report/previewwindow/QRPreviewRules.h"

#include <gtest/gtest.h>

namespace {

class TFakePdfFilter : public TQRExportFilter {
    FV_EXPORT_FILTER(TFakePdfFilter)
public:
    using TQRExportFilter::TQRExportFilter;
    String FileExtension() const override { return L"PDF"; }
    String FilterTitle() const override { return L"Adobe PDF"; }
};

class TFakeHtmlFilter : public TQRExportFilter {
    FV_EXPORT_FILTER(TFakeHtmlFilter)
public:
    using TQRExportFilter::TQRExportFilter;
    String FileExtension() const override { return L"HTM"; }
    String FilterTitle() const override { return L"HTML document"; }
};

TQRExportFilterLibrary PdfAndHtml() {
    TQRExportFilterLibrary library;
    library.EnrollFilter(TFakePdfFilter::FilterClass());
    library.EnrollFilter(TFakeHtmlFilter::FilterClass());
    return library;
}

}  // namespace

TEST(PreviewRules, GoToPageAnswers) {
    struct Case {
        const wchar_t* answer;
        int read;
        int page;  // in a report of three pages
    };
    const Case cases[] = {
        {L"0", 0, 1},     {L"99", 99, 1},  {L"abc", 0, 1},  {L"2x", 2, 2},     {L"$2", 2, 2},
        {L"0x3", 3, 3},   {L"  3", 3, 3},  {L"+2", 2, 2},   {L"-2", -2, 1},    {L"", 0, 1},
        {L"$", 0, 1},     {L"3 4", 3, 3},  {L"$1F", 31, 1}, {L"99999999999999999999", 2147483647, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadPageAnswer(c.answer), c.read) << "answer \"" << String(c.answer) << "\"";
        EXPECT_EQ(PageFromAnswer(c.answer, 3), c.page) << "answer \"" << String(c.answer) << "\"";
    }
    EXPECT_EQ(PageFromAnswer(L"1", 0), 1) << "an empty report still shows page 1";
}

TEST(PreviewRules, StatusAndProgressTexts) {
    EXPECT_EQ(PageStatusText(3, 12), L"Page 3 of 12");

    // 1, 2, ..., 100: 5%, 10%, ... up to 100%.
    TPreviewProgressText panel;
    std::vector<String> shown;
    for (int p = 1; p <= 100; ++p)
        if (const auto text = panel.Update(p)) shown.push_back(*text);
    ASSERT_EQ(shown.size(), 20u);
    EXPECT_EQ(shown[0], L"5%");
    EXPECT_EQ(shown[1], L"10%");
    EXPECT_EQ(shown[18], L"95%");
    EXPECT_EQ(shown[19], L"100%");
    // Jumps show at once; a step back shows nothing; 0 clears.
    TPreviewProgressText jumps;
    EXPECT_EQ(jumps.Update(33).value_or(L"-"), L"33%");
    EXPECT_FALSE(jumps.Update(30).has_value());
    EXPECT_EQ(jumps.Update(67).value_or(L"-"), L"67%");
    EXPECT_EQ(jumps.Update(0).value_or(L"-"), L"");

    // The progress window: three pages give 33, 67 and 100, and each moves it.
    TProgressFormSteps three;
    EXPECT_EQ(three.Update(33).value_or(L"-"), L"33%  Completed");
    EXPECT_EQ(three.Update(67).value_or(L"-"), L"67%  Completed");
    EXPECT_EQ(three.Update(100).value_or(L"-"), L"100%  Completed");
    // Many pages: once per step of 5, from 0.
    TProgressFormSteps many;
    std::vector<String> lines;
    for (int p = 0; p <= 100; ++p)
        if (const auto line = many.Update(p)) lines.push_back(*line);
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], L"0%  Completed");
    EXPECT_EQ(lines[1], L"5%  Completed");
    EXPECT_EQ(lines[20], L"100%  Completed");
    EXPECT_FALSE(many.Update(100).has_value()) << "the same progress again does not repaint";
}

TEST(PreviewRules, SaveDialogFilterOffersDefaultPreparedAndFilters) {
    const TQRExportFilterLibrary library = PdfAndHtml();
    EXPECT_EQ(DefaultSaveExtension(1), L".PDF");
    EXPECT_EQ(DefaultSaveExtension(0), L".QRP");
    EXPECT_EQ(DefaultSaveExtension(3), L".HTML");
    EXPECT_EQ(SaveDialogFilter(L".PDF", library),
              L".PDF|*.PDF|Report file(*.QRP)|*.QRP|Adobe PDF (*.PDF)|*.PDF|HTML document (*.HTM)|*.HTM");
}

TEST(PreviewRules, SaveTargets) {
    const TQRExportFilterLibrary library = PdfAndHtml();
    struct Case {
        const wchar_t* name;
        int filterIndex;
        const wchar_t* defaultExtension;
        const wchar_t* fileName;
        const wchar_t* extension;
    };
    const Case cases[] = {
        {L"C:\\cv.html", 1, L".PDF", L"C:\\cv.html", L"HTM"},   // the name's extension wins
        {L"C:\\cv", 2, L".PDF", L"C:\\cv.QRP", L"QRP"},         // the prepared-report entry
        {L"C:\\cv", 1, L".PDF", L"C:\\cv.PDF", L"PDF"},         // the default entry
        {L"C:\\cv", 4, L".QRP", L"C:\\cv.HTM", L"HTM"},         // the library's second filter
        {L"C:\\cv", 9, L".PDF", L"C:\\cv.PDF", L"PDF"},         // past the library: the default
        {L"C:\\cv", 1, L".HTML", L"C:\\cv.HTML", L"HTM"},       // cut to three letters
        {L"C:\\cv.Pdf", 2, L".QRP", L"C:\\cv.Pdf", L"PDF"},
        {L"C:\\cv.xls", 1, L".PDF", L"C:\\cv.xls", L"XLS"},     // no filter has it
    };
    for (const Case& c : cases) {
        const TSaveTarget target = ResolveSaveTarget(c.name, c.filterIndex, c.defaultExtension, library);
        EXPECT_EQ(target.FileName, c.fileName) << String(c.name) << " index " << c.filterIndex;
        EXPECT_EQ(target.Extension, c.extension) << String(c.name) << " index " << c.filterIndex;
    }
    EXPECT_EQ(library.EntryForExtension(ResolveSaveTarget(L"cv.html", 1, L".PDF", library).Extension)->FilterClass,
              TFakeHtmlFilter::FilterClass());
    EXPECT_FALSE(library.EntryForExtension(ResolveSaveTarget(L"cv.xls", 1, L".PDF", library).Extension));
}
