// The HTML page driven as a report run drives it: its head and tail, text blocks, the blocks a
// shape becomes, pages stacked, pictures beside the page, and what an aborted export leaves.
#include "export/filters/QRHTMLDocumentFilter.h"

#include <gmock/gmock.h>

#include <functional>

#include "export/filters/ExportTestFolder_test.h"
#include "export/filters/QRGrDBImage.h"
#include "export/filters/QRGrImage.h"
#include "export/filters/QRHRule.h"
#include "export/filters/QRHTMLFilter.h"
#include "export/filters/QRPDFShape.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/JpegImage.h"
#include "framework/rtl/StringUtils.h"
#include "report/printables/QRImage.h"
#include "report/printables/QRShape.h"
#include "report/printer/QRPrinter.h"
#include "testing/FakePrinters.h"

namespace {

const std::string kHead =
    "<!DOCTYPE html>\r\n"
    "<html>\r\n"
    "<head>\r\n"
    " <meta charset=\"utf-8\">\r\n"
    " <title>cv</title>\r\n"
    "</head>\r\n"
    "<body  bgcolor=\"#FFFFFF\" >\r\n";
const std::string kTail = "</body>\r\n</html>\r\n";

using TPageContent = std::function<void(TQRGHTMLDocumentFilter&)>;

class HTMLExport : public ::testing::Test {
protected:
    // A run of one page per content, as the engine sends it; returns the page's bytes.
    std::string Export(const std::vector<TPageContent>& pages, const String& name = L"cv.htm") {
        TFont font;
        font.SetSize(10);
        TQRGHTMLDocumentFilter filter(folder / name);
        filter.SetReportPrinter(&printer);
        filter.BeginExport(2100, 2970, &font);
        filter.ClosePage();
        for (const TPageContent& page : pages) {
            filter.OpenPage();
            page(filter);
            filter.ClosePage();
        }
        filter.EndExport();
        return folder.Read(name);
    }
    std::string ExportOnePage(const TPageContent& page) { return Export({page}); }

    std::unique_ptr<TBitmap> Picture(int width, int height) {
        auto bitmap = std::make_unique<TBitmap>(width, height);
        bitmap->Canvas().Brush().SetColor(clRed);
        bitmap->Canvas().FillRect(Rect(0, 0, width, height));
        return bitmap;
    }

    FakePrintMachine machine;
    ScopedFakePrinters installed{machine};
    TQRPrinter printer;  // device units at 96 per inch: 0.37795 per 0.1 mm
    TExportTestFolder folder;
};

TEST_F(HTMLExport, AReportWithoutItemsIsTheHeadAndTheTail) {
    HTMLFilterSettings().MultiPage = true;  // as a form's component might have left it
    EXPECT_EQ(Export({}), kHead + kTail);
    EXPECT_FALSE(HTMLFilterSettings().MultiPage) << "a filter construction resets the settings";
}

TEST_F(HTMLExport, TheTitleIsTheEscapedBaseNameInUtf8) {
    const std::string page = Export({}, L"Currículo & carta.htm");
    EXPECT_THAT(page, ::testing::HasSubstr(" <title>Curr\xC3\xAD" "culo &amp; carta</title>\r\n"));
    EXPECT_THAT(page, ::testing::Not(::testing::HasSubstr(StringToUtf8(folder.Path()))));
}

TEST_F(HTMLExport, TextBlocks) {
    // (1000, 500) tenths of a millimetre are (378, 189) at 96 per inch.
    struct TCase {
        const char* name;
        String fontName;
        TFontStyles style;
        TColor color;
        String text;
        std::string block;
    };
    const TCase cases[] = {
        {"plain black", L"Arial", {}, clBlack, L"Nome",
         "<div style=\"position:absolute;top:189px;left:378px;font-family:Arial,Liberation Sans,sans-serif;font-size:13px;\">\r\nNome\r\n</DIV>\r\n"},
        {"bold", L"Arial", {fsBold}, clBlack, L"Nome",
         "<div style=\"position:absolute;top:189px;left:378px;font-family:Arial,Liberation Sans,sans-serif;font-size:13px;font-weight:bold;\">\r\n"
         "Nome\r\n</DIV>\r\n"},
        {"italic and bold", L"Arial", {fsItalic, fsBold}, clBlack, L"Nome",
         "<div style=\"position:absolute;top:189px;left:378px;font-family:Arial,Liberation Sans,sans-serif;font-size:13px;font-style:italic;"
         "font-weight:bold;\">\r\nNome\r\n</DIV>\r\n"},
        {"red", L"Arial", {}, clRed, L"Nome",
         "<div style=\"position:absolute;top:189px;left:378px;font-family:Arial,Liberation Sans,sans-serif;font-size:13px;color:#FF0000;\">\r\n"
         "Nome\r\n</DIV>\r\n"},
        {"escaped once", L"Arial", {}, clBlack, L"A & <b>\"x\" &amp;",
         "<div style=\"position:absolute;top:189px;left:378px;font-family:Arial,Liberation Sans,sans-serif;font-size:13px;\">\r\n"
         "A&nbsp;&amp;&nbsp;&lt;b&gt;\"x\"&nbsp;&amp;amp;\r\n</DIV>\r\n"},
        {"UTF-8 text", L"Times New Roman", {}, clBlack, L"Educação",
         "<div style=\"position:absolute;top:189px;left:378px;font-family:Times New Roman,Liberation Serif,serif;font-size:13px;\">\r\n"
         "Educa\xC3\xA7\xC3\xA3o\r\n</DIV>\r\n"},
        {"a lettering face and the face that stands in for it", L"Monotype Corsiva", {}, clBlack, L"a",
         "<div style=\"position:absolute;top:189px;left:378px;font-family:Monotype Corsiva,Z003,cursive;"
         "font-size:13px;\">\r\na\r\n</DIV>\r\n"},
        {"named in other letter case", L"brush script mt", {}, clBlack, L"a",
         "<div style=\"position:absolute;top:189px;left:378px;font-family:brush script mt,Kaushan Script,cursive;"
         "font-size:13px;\">\r\na\r\n</DIV>\r\n"},
        {"a face of its own", L"Verdana", {}, clBlack, L"a",
         "<div style=\"position:absolute;top:189px;left:378px;font-family:Verdana;font-size:13px;\">\r\na\r\n</DIV>\r\n"},
        {"a font name cannot end the declaration or the attribute", L" X;color:red\"> ", {}, clBlack, L"a",
         "<div style=\"position:absolute;top:189px;left:378px;font-family:'X;color:red&quot;&gt;';font-size:13px;\">"
         "\r\na\r\n</DIV>\r\n"},
    };
    for (const TCase& c : cases) {
        TFont font;
        font.SetName(c.fontName);
        font.SetSize(10);
        font.SetStyle(c.style);
        font.SetColor(c.color);
        const std::string page =
            ExportOnePage([&](TQRGHTMLDocumentFilter& f) { f.PlaceText(1000, 500, &font, clWhite, taLeftJustify, c.text); });
        EXPECT_EQ(page, kHead + c.block + kTail) << c.name;
    }
}

TEST_F(HTMLExport, FontSizesAreThePixelsOfThePage) {
    // At 96 per inch, rounded as the page's letters are: 8 points are 10.67 pixels, drawn 11.
    struct TCase {
        int points;
        const char* size;
    };
    for (TCase c : {TCase{8, "font-size:11px;"}, TCase{10, "font-size:13px;"}, TCase{12, "font-size:16px;"},
                    TCase{14, "font-size:19px;"}, TCase{20, "font-size:27px;"}}) {
        TFont font;
        font.SetName(L"Arial");
        font.SetSize(c.points);
        const std::string page =
            ExportOnePage([&](TQRGHTMLDocumentFilter& f) { f.PlaceText(1000, 500, &font, clWhite, taLeftJustify, L"a"); });
        EXPECT_THAT(page, ::testing::HasSubstr(c.size)) << c.points;
    }
}

TEST_F(HTMLExport, AlignedTextStartsItsWidthOrHalfItBeforeTheAnchor) {
    TFont font;
    font.SetName(L"Arial");
    font.SetSize(12);
    TBitmap measure(1, 1);
    measure.Canvas().SetFont(font);
    const int width = measure.Canvas().TextWidth(L"Telefone: 1234");
    ASSERT_GT(width, 10);
    struct TCase {
        TAlignment alignment;
        int left;
    };
    for (TCase c : {TCase{taLeftJustify, 378}, TCase{taRightJustify, 378 - width}, TCase{taCenter, 378 - width / 2}}) {
        const std::string page = ExportOnePage(
            [&](TQRGHTMLDocumentFilter& f) { f.PlaceText(1000, 500, &font, clWhite, c.alignment, L"Telefone: 1234"); });
        EXPECT_THAT(page, ::testing::HasSubstr("left:" + std::to_string(c.left) + "px;")) << static_cast<int>(c.alignment);
    }
}

TEST_F(HTMLExport, ShapesAndRulesBecomeBlocks) {
    // Placed at (50.7, 30.5) device units: x truncated to 50, y to the nearest even 30; the
    // controls are 100 x 40 pixels, pens blue and 2 wide, solid brushes yellow. A rule is written
    // 98 wide: the browser's border adds a pixel on either side.
    auto shape = [](TQRShapeType kind, TBrushStyle brush, int vertAdjust) -> std::unique_ptr<TQRPrintable> {
        auto s = std::make_unique<TQRShape>(nullptr);
        s->SetShape(kind);
        s->Brush()->SetColor(clYellow);  // a colour makes a clear brush solid: the style comes last
        s->Brush()->SetStyle(brush);
        s->Pen()->SetColor(clBlue);
        s->Pen()->SetWidth(2);
        s->SetVertAdjust(vertAdjust);
        return s;
    };
    auto rule = []() -> std::unique_ptr<TQRPrintable> {
        auto r = std::make_unique<TQRHRule>(nullptr);
        r->Pen()->SetColor(clBlue);
        r->Pen()->SetWidth(2);
        return r;
    };
    const std::string ruleAt19 = "<DIV style=\"position:absolute;left:50px;top:19px;height:2px;\"><hr width=\"98\" size=\"2\" color=\"#0000FF\"></div>\r\n";
    struct TCase {
        const char* name;
        std::function<std::unique_ptr<TQRPrintable>()> make;
        std::string blocks;
    };
    const TCase cases[] = {
        {"rule", rule,
         "<DIV style=\"position:absolute;left:50px;top:30px;height:2px;\"><hr width=\"98\" size=\"2\" color=\"#0000FF\"></div>\r\n"},
        {"horizontal line: a rule 8 pixels higher", [&] { return shape(qrsHorLine, bsSolid, 0); },
         "<DIV style=\"position:absolute;left:50px;top:22px;height:2px;\"><hr width=\"98\" size=\"2\" color=\"#0000FF\"></div>\r\n"},
        {"vertical line", [&] { return shape(qrsVertLine, bsSolid, 0); },
         "<DIV style=\"position:absolute;left:100px;top:30px;height:40px;width:2px; background-color: #0000FF\"></div>\r\n"},
        {"filled rectangle", [&] { return shape(qrsRectangle, bsSolid, 0); },
         "<DIV style=\"position:absolute;left:50px;top:30px;height:40px;width:100px; background-color: #FFFF00\"></div>\r\n"},
        {"open rectangle", [&] { return shape(qrsRectangle, bsClear, 3); },
         "<DIV style=\"position:absolute;left:50px;top:30px;height:40px;width:2px; background-color: #0000FF\"></div>\r\n"
         "<DIV style=\"position:absolute;left:148px;top:30px;height:40px;width:2px; background-color: #0000FF\"></div>\r\n" +
             ruleAt19 +
             "<DIV style=\"position:absolute;left:50px;top:62px;height:2px;\"><hr width=\"98\" size=\"2\" color=\"#0000FF\"></div>\r\n"},
        {"circle", [&] { return shape(qrsCircle, bsSolid, 0); }, ""},
        {"diagonal", [&] { return shape(qrsLeftDiagonal, bsSolid, 0); }, ""},
        {"round rectangle", [&] { return shape(qrsRoundRect, bsSolid, 0); }, ""},
        {"shape for the PDF writer", [] { return std::make_unique<TQRPDFShape>(nullptr); }, ""},
    };
    for (const TCase& c : cases) {
        std::unique_ptr<TQRPrintable> control = c.make();
        control->SetBounds(0, 0, 100, 40);
        const std::string page = ExportOnePage([&](TQRGHTMLDocumentFilter& f) { f.PlaceGraphic(control.get(), 50.7, 30.5); });
        EXPECT_EQ(page, kHead + c.blocks + kTail) << c.name;
    }
}

TEST_F(HTMLExport, LaterPagesSitOnePaperLengthLowerEach) {
    // An A4 page is 2970 * 0.37795 = 1122.5 device units long.
    TFont font;
    font.SetName(L"Arial");
    font.SetSize(10);
    TLocal<TQRShape> shape{nullptr};
    shape.SetBounds(0, 0, 100, 40);
    shape.Brush()->SetColor(clYellow);
    auto content = [&](TQRGHTMLDocumentFilter& f) {
        f.PlaceText(1000, 500, &font, clWhite, taLeftJustify, L"x");
        f.PlaceGraphic(&shape, 50, 30);
    };
    const std::string page = Export({content, content, content});
    auto tops = [&](const std::string& what) {
        std::vector<std::string> found;
        for (std::size_t at = page.find(what); at != std::string::npos; at = page.find(what, at + 1)) {
            const std::size_t start = page.find("top:", at) + 4;
            found.push_back(page.substr(start, page.find("px", start) - start));
        }
        return found;
    };
    EXPECT_THAT(tops("<div style"), ::testing::ElementsAre("189", "1312", "2434"));
    EXPECT_THAT(tops("<DIV style"), ::testing::ElementsAre("30", "1153", "2275"));
}

TEST_F(HTMLExport, PicturesLieBesideThePageNamedAfterIt) {
    TLocal<TQRImage> image{nullptr};
    image.SetName(L"foto");
    image.SetBounds(0, 0, 40, 20);
    image.Picture()->Assign(*Picture(4, 2));
    auto content = [&](TQRGHTMLDocumentFilter& f) { f.PlaceGraphic(&image, 10, 20); };
    const std::string page = Export({content, content}, L"meu cv.htm");
    EXPECT_EQ(page.substr(page.find("<DIV")),
              "<DIV style=\"position:absolute;left:10px;top:20px;\"><img src=\"meu%20cv_foto.jpg\" width=40 height=20></div>\r\n"
              "<DIV style=\"position:absolute;left:10px;top:1143px;\"><img src=\"meu%20cv_foto.jpg\" width=40 height=20></div>\r\n" +
                  kTail);
    EXPECT_THAT(folder.Files(), ::testing::ElementsAre(L"meu cv.htm", L"meu cv_foto.jpg"));
    TJPEGImage jpeg;
    jpeg.LoadFromFile(folder / L"meu cv_foto.jpg");
    EXPECT_EQ(jpeg.Width(), 4);
    EXPECT_EQ(jpeg.Height(), 2);
}

TEST_F(HTMLExport, EmptyPicturesAndUnloadedFieldsWriteNothing) {
    TLocal<TQRImage> empty{nullptr};
    empty.SetName(L"foto");
    TLocal<TQRGrImage> alsoEmpty{nullptr};
    alsoEmpty.SetName(L"grafico");
    TLocal<TQRGrDBImage> unbound{nullptr};
    unbound.SetName(L"retrato");
    TLocal<TQRImage> noSize{nullptr};
    noSize.SetName(L"plano");
    noSize.Picture()->Assign(*Picture(4, 2));
    noSize.SetBounds(0, 0, 0, 0);
    const std::string page = ExportOnePage([&](TQRGHTMLDocumentFilter& f) {
        for (TQRPrintable* control : std::initializer_list<TQRPrintable*>{&empty, &alsoEmpty, &unbound, &noSize})
            f.PlaceGraphic(control, 10, 20);
    });
    EXPECT_EQ(page, kHead + kTail);
    EXPECT_THAT(folder.Files(), ::testing::ElementsAre(L"cv.htm"));
}

TEST_F(HTMLExport, FieldPicturesGetNumberedFilesAndKeepTheirRatio) {
    // A 200 x 100 picture in a 40 x 40 control.
    struct TCase {
        TFitMode mode;
        bool stretch;
        int width, height;
    };
    const TCase cases[] = {
        {fmProportional, false, 80, 40}, {fmKeepWidth, false, 40, 20}, {fmKeepHeight, false, 80, 40},
        {fmInsideProp, false, 40, 40},   {fmKeepWidth, true, 40, 40},
    };
    for (const TCase& c : cases) {
        TLocal<TQRGrDBImage> image{nullptr};
        image.SetName(L"retrato");
        image.SetBounds(0, 0, 40, 40);
        image.SetFitMode(c.mode);
        image.SetStretch(c.stretch);
        image.FieldPicture()->Assign(*Picture(200, 100));
        const std::string page = ExportOnePage([&](TQRGHTMLDocumentFilter& f) {
            f.PlaceGraphic(&image, 0, 0);
            f.PlaceGraphic(&image, 0, 50);
        });
        const std::string size = " width=" + std::to_string(c.width) + " height=" + std::to_string(c.height) + ">";
        EXPECT_THAT(page, ::testing::HasSubstr("<img src=\"cv_retrato1.jpg\"" + size)) << static_cast<int>(c.mode);
        EXPECT_THAT(page, ::testing::HasSubstr("<img src=\"cv_retrato2.jpg\"" + size)) << static_cast<int>(c.mode);
        EXPECT_THAT(folder.Files(), ::testing::ElementsAre(L"cv.htm", L"cv_retrato1.jpg", L"cv_retrato2.jpg"));
    }
}

TEST_F(HTMLExport, AnAbortedExportRemovesWhatItWrote) {
    TLocal<TQRImage> image{nullptr};
    image.SetName(L"foto");
    image.SetBounds(0, 0, 40, 20);
    image.Picture()->Assign(*Picture(4, 2));
    folder.Write(L"outro.jpg", "not ours");
    {
        TFont font;
        TQRGHTMLDocumentFilter filter(folder / L"cv.htm");
        filter.SetReportPrinter(&printer);
        filter.BeginExport(2100, 2970, &font);
        filter.ClosePage();
        filter.OpenPage();
        filter.PlaceGraphic(&image, 10, 20);
        // written, but beside the names they take when the export ends
        EXPECT_EQ(folder.Files().size(), 3u);
        EXPECT_FALSE(FileExists(folder / L"cv.htm"));
        EXPECT_FALSE(FileExists(folder / L"cv_foto.jpg"));
        // the run raises here and frees the filter without ending the export
    }
    EXPECT_THAT(folder.Files(), ::testing::ElementsAre(L"outro.jpg"));
    EXPECT_EQ(folder.Read(L"outro.jpg"), "not ours");
}

TEST_F(HTMLExport, APictureThatCannotTakeItsNameFailsTheExportAndLeavesNothing) {
    TLocal<TQRImage> image{nullptr};
    image.SetName(L"foto");
    image.SetBounds(0, 0, 40, 20);
    image.Picture()->Assign(*Picture(4, 2));
    ASSERT_TRUE(ForceDirectories(folder / L"cv_foto.jpg"));  // a folder where the picture would go
    {
        TFont font;
        TQRGHTMLDocumentFilter filter(folder / L"cv.htm");
        filter.SetReportPrinter(&printer);
        filter.BeginExport(2100, 2970, &font);
        filter.OpenPage();
        filter.PlaceGraphic(&image, 10, 20);
        filter.ClosePage();
        EXPECT_THROW(filter.EndExport(), EFCreateError);
    }
    EXPECT_TRUE(folder.Files().empty());
    RemoveDir(folder / L"cv_foto.jpg");
}

TEST_F(HTMLExport, WithoutAFileNameThePageGoesToMemory) {
    TFont font;
    TQRGHTMLDocumentFilter filter(String{});
    filter.BeginExport(2100, 2970, &font);
    filter.EndExport();
    ASSERT_NE(filter.MemoryOutput(), nullptr);
    TMemoryStream& memory = *filter.MemoryOutput();
    std::string bytes(static_cast<std::size_t>(memory.Size()), '\0');
    memory.SetPosition(0);
    memory.ReadBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    std::string head = kHead;
    head.replace(head.find("<title>cv"), 9, "<title>");
    EXPECT_EQ(bytes, head + kTail);
}

TEST(HTMLColor, UpperCaseHexOfRedGreenBlue) {
    EXPECT_EQ(HTMLColor(clWhite), L"#FFFFFF");
    EXPECT_EQ(HTMLColor(clRed), L"#FF0000");
    EXPECT_EQ(HTMLColor(static_cast<TColor>(0x0A0B0C)), L"#0C0B0A");
    EXPECT_EQ(HTMLColor(clWindowText), HTMLColor(static_cast<TColor>(ColorToRGB(clWindowText))));
}

TEST(URLEscape, KeepsUnreservedAndEncodesTheRestAsUtf8) {
    EXPECT_EQ(URLEscape(L"cv_foto-1.jpg"), L"cv_foto-1.jpg");
    EXPECT_EQ(URLEscape(L"meu cv#1?&\"ç.jpg"), L"meu%20cv%231%3F%26%22%C3%A7.jpg");
}

TEST(QRHTMLFilter, EnrolsWhileItExistsAndItsPropertiesAreTheProcessSettings) {
    auto listed = [] {
        return ExportFilterLibrary().EntryForExtension(L"HTM").has_value();
    };
    EXPECT_FALSE(listed());
    {
        TLocal<TQRHTMLFilter> component{nullptr};
        ASSERT_TRUE(listed());
        EXPECT_EQ(ExportFilterLibrary().EntryForExtension(L"HTM")->FilterName, L"HTML document");
        component.SetConcatCount(5);
        component.SetLinkFontName(L"Verdana");
        EXPECT_EQ(HTMLFilterSettings().ConcatCount, 5);
        TQRGHTMLDocumentFilter filter(String{});
        EXPECT_EQ(component.ConcatCount(), 1);
        EXPECT_EQ(component.LinkFontName(), L"Arial");
    }
    EXPECT_FALSE(listed());
}

}  // namespace
