// The PDF filter fed by real report runs: a small résumé-like report with accented text, a
// filled and outlined shape, a frame and a photo; the filter library; exports that fail or are
// cancelled leave no file; Brazilian number settings never reach an operator line.
#include <gmock/gmock.h>

#include <cstdlib>
#include <cstring>
#include <regex>
#include <sstream>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/ScreenMetrics.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/FormatSettings.h"
#include "report/bands/QRBandsTestSupport_test.h"
#include "export/pdf/QRPDFFilter.h"
#include "report/printables/QRImage.h"
#include "report/printables/QRShape.h"
#include "report/text/QRTextPrintables.h"
#include "testing/TestFormatSettings.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// A4 with 10 mm margins in 0.1 mm: a title band with a heading, a shape and a photo (2 x 2
// pixels: red, green over blue, white), and detail bands with one line each.
class TResumeReport {
public:
    explicit TResumeReport(int records = 2) : records_(records) {
        report.SetShowProgress(false);
        TQRPage& page = *report.Page();
        page.SetUnits(TQRUnit::MM);
        page.SetPaperSize(TQRPaperSize::A4);
        page.SetTopMargin(10);
        page.SetBottomMargin(10);
        report.SetUnits(TQRUnit::Native);
        TQRBand* title = MakeBand(report, L"Title", rbTitle);
        report.SetUnits(TQRUnit::Native);
        title->Size()->SetHeight(400);
        heading = AddLabel(title, L"Experiência profissional", 0, 0);
        heading->Font()->SetName(L"Arial");
        heading->Font()->SetSize(14);
        heading->Font()->SetStyle(TFontStyles{fsBold});

        shape = new TQRShape(title);
        shape->SetParent(title);
        Place(*shape, 0, 100, 500, 100);
        shape->Brush()->SetColor(clYellow);
        shape->Pen()->SetColor(clBlue);

        photo = new TQRImage(title);
        photo->SetParent(title);
        Place(*photo, 1000, 100, 300, 300);
        photo->SetStretch(true);
        TBitmap pixels(2, 2, pf24bit);
        pixels.Canvas().SetPixels(0, 0, clRed);
        pixels.Canvas().SetPixels(1, 0, clLime);
        pixels.Canvas().SetPixels(0, 1, clBlue);
        pixels.Canvas().SetPixels(1, 1, clWhite);
        photo->Picture()->Assign(pixels);

        TQRBand* detail = MakeBand(report, L"Detail", rbDetail);
        report.SetUnits(TQRUnit::Native);
        detail->Size()->SetHeight(60);
        line = AddLabel(detail, L"Formação (2010) \\ ação", 0, 0);
        line->Font()->SetName(L"Arial");
        line->Font()->SetSize(10);
        report.OnNeedData = TQROnNeedDataEvent(this, &TResumeReport::NeedData);
    }

    static TQRLabel* AddLabel(TQRBand* band, const String& caption, int left, int top) {
        auto* label = new TQRLabel(band);
        label->SetParent(band);
        Place(*label, left, top, 1500, 60);
        label->AssignCaption(caption);
        return label;
    }
    static void Place(TQRPrintable& control, int left, int top, int width, int height) {
        control.Size()->SetLeft(left);
        control.Size()->SetTop(top);
        control.Size()->SetWidth(width);
        control.Size()->SetHeight(height);
    }
    void NeedData(TObject*, bool& more) { more = served_++ < records_; }

    // The document of an export kept in memory.
    std::string Export() {
        TQRPDFDocumentFilter filter(String{});
        report.ExportReport(&filter);
        return filter.Document();
    }

    TLocal<TQRReport> report{nullptr};
    TQRLabel* heading = nullptr;
    TQRLabel* line = nullptr;
    TQRShape* shape = nullptr;
    TQRImage* photo = nullptr;

private:
    int records_;
    int served_ = 0;
};

class TFailingFonts : public TPDFFontSource {
public:
    TPDFFontMetrics Metrics(const TPDFFontKey&) override { throw Exception(L"GetFontData error"); }
};

String TempFile(const String& name) { return GetTempDirectory() + name; }

std::vector<std::string> OperatorLines(const std::string& document) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    bool inImage = false;
    while (at < document.size()) {
        std::size_t end = document.find("\r\n", at);
        if (end == std::string::npos) end = document.size();
        std::string line = document.substr(at, end - at);
        at = end + 2;
        if (line == "ID") inImage = true;
        if (line == "EI") inImage = false;
        if (!inImage) lines.push_back(line);
    }
    return lines;
}

}  // namespace

TEST(QRPDFFilter, ComponentEnrolsTheFilterForPdfNamesWhileItExists) {
    EXPECT_FALSE(ExportFilterLibrary().EntryForExtension(L"pdf"));
    {
        TLocal<TQRPDFFilter> component{nullptr};
        auto entry = ExportFilterLibrary().EntryForExtension(L"pdf");
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->FilterClass, TQRPDFDocumentFilter::FilterClass());
        EXPECT_EQ(entry->FilterName, L"PDF document");
        EXPECT_THAT(ExportFilterLibrary().BuildSaveFilterText(), HasSubstr(L"|PDF document (*.PDF)|*.PDF"));
    }
    EXPECT_FALSE(ExportFilterLibrary().EntryForExtension(L"pdf"));
}

TEST(QRPDFFilter, ReportRunGivesOnePageWithTextsShapesAndPhoto) {
    TResumeReport resume;
    const std::string pdf = resume.Export();
    ASSERT_EQ(pdf.rfind("%PDF-1.3\r\n", 0), 0u);
    EXPECT_THAT(pdf, HasSubstr("/Count 1\r\n"));
    EXPECT_THAT(pdf, HasSubstr("/MediaBox [0 0 595 842]"));
    // Bold Arial first, plain Arial second; the texts in code page 1252, escaped.
    EXPECT_THAT(pdf, HasSubstr("/F00 14.25 Tf"));  // 19 and 13 pixels on a 96-dpi screen
    EXPECT_THAT(pdf, HasSubstr("/F01 9.75 Tf"));
    EXPECT_THAT(pdf, HasSubstr("/BaseFont /Arial,Bold"));
    EXPECT_THAT(pdf, HasSubstr("/BaseFont /Arial\r\n"));
    EXPECT_THAT(pdf, HasSubstr("(Experi\xEAncia profissional) Tj"));
    EXPECT_THAT(pdf, HasSubstr("(Forma\xE7\xE3o \\(2010\\) \\\\ a\xE7\xE3o) Tj"));
    // The shape filled in yellow, then outlined in blue; the photo as an inline image.
    const std::size_t fill = pdf.find("1.00 1.00 0.00 rg"), stroke = pdf.find("0.00 0.00 1.00 RG");
    ASSERT_NE(fill, std::string::npos);
    ASSERT_NE(stroke, std::string::npos);
    EXPECT_LT(fill, stroke);
    EXPECT_THAT(pdf, HasSubstr("/Filter [/ASCII85Decode /LZWDecode]"));
    // Stretched into a bitmap of the control's size (30 mm), placed at that size in points.
    std::smatch image;
    ASSERT_TRUE(std::regex_search(pdf, image, std::regex("q (\\d+) 0 0 (\\d+) \\d+ \\d+ cm\r\nBI\r\n/Width (\\d+)\r\n/Height (\\d+)")));
    EXPECT_NEAR(std::stoi(image[1]), 85, 1);
    EXPECT_NEAR(std::stoi(image[2]), 85, 1);
    EXPECT_EQ(image[3], image[4]);
    EXPECT_GT(std::stoi(image[3]), 2);
    EXPECT_EQ(pdf.substr(pdf.size() - 7), "%%EOF\r\n");
}

TEST(QRPDFFilter, ShapePensAndBrushesDecideWhatIsDrawn) {
    struct Case {
        TBrushStyle brush;
        TPenStyle pen;
        TQRShapeType type;
        int filled, stroked;
    } cases[] = {
        {bsSolid, psSolid, qrsRectangle, 1, 1}, {bsClear, psSolid, qrsRectangle, 0, 1},
        {bsClear, psClear, qrsRectangle, 0, 0}, {bsSolid, psClear, qrsRectangle, 1, 0},
        {bsSolid, psClear, qrsHorLine, 0, 0},   {bsSolid, psSolid, qrsRoundRect, 0, 0},
    };
    for (const Case& c : cases) {
        TResumeReport resume;
        resume.photo->Picture()->Assign(static_cast<const TPersistent*>(nullptr));
        resume.shape->Brush()->SetStyle(c.brush);
        resume.shape->Pen()->SetStyle(c.pen);
        resume.shape->SetShape(c.type);
        const std::string pdf = resume.Export();
        auto count = [&pdf](const std::string& what) {
            int n = 0;
            for (std::size_t at = pdf.find(what); at != std::string::npos; at = pdf.find(what, at + 1)) ++n;
            return n;
        };
        SCOPED_TRACE(static_cast<int>(c.type) * 100 + c.brush * 10 + c.pen);
        EXPECT_EQ(count("1.00 1.00 0.00 rg"), c.filled);
        EXPECT_EQ(count("0.00 0.00 1.00 RG"), c.stroked);
        EXPECT_THAT(pdf, Not(HasSubstr("BI\r\n")));  // an empty picture gives no item
    }
}

// A caption and its value are placed as the page has them; a caption set wider in the file than
// on the page runs into its value. Its width in the file (the font's widths at the Tf size) must
// be its width on the page.
TEST(QRPDFFilter, TextTakesTheRoomItTakesOnThePage) {
    const String caption = L"Nome da Empresa:";
    for (int points : {8, 10, 14}) {
        SCOPED_TRACE(points);
        TResumeReport resume(1);
        resume.line->AssignCaption(caption);
        resume.line->Font()->SetSize(points);
        const std::string pdf = resume.Export();
        std::smatch size, widths;
        ASSERT_TRUE(std::regex_search(pdf, size, std::regex("/F01 ([0-9.]+) Tf\r\n 1 0 0 1 \\d+ \\d+ Tm \\(Nome")));
        ASSERT_TRUE(std::regex_search(pdf, widths, std::regex("/Name /F01\r\n/BaseFont /Arial\r\n/FirstChar 0\r\n"
                                                              "/LastChar \\d+\r\n/Widths \\[ \r\n([0-9 ]+) \\]")));
        std::vector<int> advance;
        std::istringstream list(widths[1].str());
        for (int w; list >> w;) advance.push_back(w);
        ASSERT_EQ(advance.size(), 256u);
        double inFile = 0;
        for (wchar_t c : caption) inFile += advance[static_cast<std::size_t>(c)];
        inFile *= std::stod(size[1]) / 1000;

        TBitmap measure(1, 1);
        measure.Canvas().SetFont(*resume.line->Font());
        const double onPage = measure.Canvas().TextWidth(caption) * 72.0 / ScreenMetrics::PixelsPerInch();
        // Hinting may widen the page's text a little at some sizes; it must never be narrower.
        EXPECT_LE(inFile, onPage + 72.0 / ScreenMetrics::PixelsPerInch()) << "Tf " << size[1];
        EXPECT_GE(inFile, onPage * 0.97) << "Tf " << size[1];
    }
}

TEST(QRPDFFilter, EveryReportPageBecomesAFilePage) {
    TResumeReport resume(120);  // 6 mm lines below a 40 mm title: three A4 pages
    const std::string pdf = resume.Export();
    EXPECT_THAT(pdf, HasSubstr("/Count 3\r\n/Kids [4 0 R 6 0 R 8 0 R]"));
}

TEST(QRPDFFilter, FileWrittenWholeOrNotAtAll) {
    const String name = TempFile(L"folhavida-pdf-filter-test.pdf");
    DeleteFile(name);
    {
        TResumeReport resume;
        TQRPDFDocumentFilter filter(name);
        filter.SetFontSource(std::make_unique<TFailingFonts>());
        EXPECT_THROW(resume.report.ExportReport(&filter), Exception);
        EXPECT_FALSE(FileExists(name));
    }
    {
        TResumeReport resume;
        TQRPDFDocumentFilter filter(name);
        resume.report.ExportReport(&filter);
        ASSERT_TRUE(FileExists(name));
    }
    TMemoryStream written;
    written.LoadFromFile(name);
    const std::string pdf(static_cast<const char*>(written.Memory()), static_cast<std::size_t>(written.Size()));
    EXPECT_EQ(pdf.rfind("%PDF-1.3", 0), 0u);
    EXPECT_EQ(pdf.substr(pdf.size() - 7), "%%EOF\r\n");
    // The independent readers check this file when the test is run by the read-back script.
    if (const char* keep = std::getenv("FOLHAVIDA_PDF_REPORT"))
        EXPECT_TRUE(RenameFile(name, String(keep, keep + std::strlen(keep))));
    else
        DeleteFile(name);
}

// The lettering models' faces look handwritten and slanted; a reader that has not got them
// picks its stand-in by the descriptor, so the flags must say so.
TEST(QRPDFFilter, LetteringFacesAreDescribedAsTheyLook) {
    TResumeReport resume;
    resume.heading->Font()->SetName(L"Monotype Corsiva");
    resume.heading->Font()->SetStyle(TFontStyles{});
    resume.line->Font()->SetName(L"Brush Script MT");
    const std::string pdf = resume.Export();
    auto descriptor = [&pdf](const std::string& name, int& flags, int& italicAngle) {
        std::smatch m;
        if (!std::regex_search(pdf, m, std::regex("/Flags (\\d+)\r\n/FontBBox \\[[-\\d ]+\\]\r\n/FontName /" + name +
                                                  "\r\n/ItalicAngle (-?\\d+)\r\n")))
            return false;
        flags = std::stoi(m[1]);
        italicAngle = std::stoi(m[2]);
        return true;
    };
    constexpr int kScript = 8, kNonsymbolic = 32, kItalic = 64;
    int flags = 0, angle = 0;
    ASSERT_TRUE(descriptor("MonotypeCorsiva", flags, angle)) << pdf.substr(0, 4000);
    EXPECT_EQ(flags & (kNonsymbolic | kItalic), kNonsymbolic | kItalic) << flags;
    EXPECT_LT(angle, 0);
    ASSERT_TRUE(descriptor("BrushScriptMT", flags, angle));
    EXPECT_EQ(flags & (kNonsymbolic | kScript), kNonsymbolic | kScript) << flags;
    // The read-back script renders this file with the readers' font configuration.
    if (const char* keep = std::getenv("FOLHAVIDA_PDF_LETTERING")) {
        TFileStream file(String(keep, keep + std::strlen(keep)), fmCreate);
        file.WriteBuffer(pdf.data(), static_cast<Int64>(pdf.size()));
    }
}

// What an abandoned export leaves beside an earlier file: ExportReplacesTarget_test.cpp.
TEST(QRPDFFilter, AbandonedExportLeavesNoFile) {
    const String name = TempFile(L"folhavida-pdf-abandoned.pdf");
    DeleteFile(name);
    {
        TQRPDFDocumentFilter filter(name);
        filter.BeginExport(2100, 2970, nullptr);
        EXPECT_FALSE(FileExists(name));  // written under another name until it is complete
    }
    EXPECT_FALSE(FileExists(name));
}

TEST(QRPDFFilter, BrazilianSettingsNeverReachAnOperatorLine) {
    const TFormatSettings before = DefaultFormatSettings();
    SetDefaultFormatSettings(BrazilianSettings());
    TResumeReport resume;
    resume.shape->SetShape(qrsCircle);
    const std::string pdf = resume.Export();
    SetDefaultFormatSettings(before);
    int checked = 0;
    for (const std::string& line : OperatorLines(pdf)) {
        // Text strings may hold commas of their own; the operands before them may not.
        std::string operands = line.substr(0, line.find('('));
        if (operands.rfind("/BaseFont", 0) == 0 || operands.rfind("/FontName", 0) == 0) continue;
        EXPECT_EQ(operands.find(','), std::string::npos) << line;
        ++checked;
    }
    EXPECT_GT(checked, 50);
    EXPECT_THAT(pdf, HasSubstr(" c\r\n"));  // the ellipse's curves, with fractional operands
}
