// The export-aware printables in a run: which filters each one hands itself to and where, how
// a picture is fitted to the control, and what the data-bound picture prints without a field.
#include <gmock/gmock.h>

#include <functional>

#include "export/filters/QRAsciiExportFilter.h"
#include "export/filters/QRGrDBImage.h"
#include "export/filters/QRGrImage.h"
#include "export/filters/QRHRule.h"
#include "export/filters/QRHTMLDocumentFilter.h"
#include "export/filters/QRPDFShape.h"
#include "export/pdf/QRPDFFilter.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Metafile.h"
#include "report/printables/QRTestPanels_test.h"
#include "report/printer/QRPrinter.h"
#include "testing/FakePrinters.h"

namespace {

struct TPlacement {
    int X, Y;
    friend bool operator==(const TPlacement&, const TPlacement&) = default;
};

// A filter of the class F that notes where each control was handed to it.
template <class F>
class TNotingFilter : public F {
public:
    TNotingFilter() : F(String()) {}
    void PlaceGraphic(TQRPrintable* control, Extended x, Extended y) override {
        Placed.push_back({static_cast<int>(x), static_cast<int>(y)});
        F::PlaceGraphic(control, x, y);
    }
    std::vector<TPlacement> Placed;
};

class ExportControls : public ::testing::Test {
protected:
    ExportControls() { report.Printer = &printer; }

    // The control on the report at (100, 200) tenths of a millimetre, 500 x 300.
    void Place(TQRPrintable& control) {
        control.SetParent(&report);
        TQRPrintableSize& size = *control.Size();
        size.SetUnits(TQRUnit::Native);
        size.SetLeft(100);
        size.SetTop(200);
        size.SetWidth(500);
        size.SetHeight(300);
    }

    FakePrintMachine machine;
    ScopedFakePrinters installed{machine};
    TLocal<TTestReport> report{nullptr};
    TQRPrinter printer;
};

TEST_F(ExportControls, EachControlReachesTheFiltersItBelongsTo) {
    auto rule = [] { return std::unique_ptr<TQRPrintable>(std::make_unique<TQRHRule>(nullptr)); };
    auto shape = [] { return std::unique_ptr<TQRPrintable>(std::make_unique<TQRPDFShape>(nullptr)); };
    auto picture = [] {
        auto image = std::make_unique<TQRGrImage>(nullptr);
        image->Picture()->Assign(TBitmap(4, 2));
        return std::unique_ptr<TQRPrintable>(std::move(image));
    };
    auto fieldPicture = [] { return std::unique_ptr<TQRPrintable>(std::make_unique<TQRGrDBImage>(nullptr)); };
    struct TCase {
        const char* control;
        std::function<std::unique_ptr<TQRPrintable>()> make;
        bool html, pdf, text, other;
    };
    const TCase cases[] = {
        {"rule", rule, true, true, false, false},
        {"shape", shape, false, true, false, false},
        {"picture", picture, true, true, true, true},
        {"empty field picture", fieldPicture, true, true, true, true},
    };
    // (150, 260) tenths of a millimetre at 96 per inch.
    const std::vector<TPlacement> once = {{57, 98}};
    for (const TCase& c : cases) {
        TNotingFilter<TQRGHTMLDocumentFilter> html;
        html.SetReportPrinter(&printer);
        TFont font;
        html.BeginExport(2100, 2970, &font);  // into memory: no file name
        TNotingFilter<TQRPDFDocumentFilter> pdf;
        pdf.SetReportPrinter(&printer);
        pdf.BeginExport(2100, 2970, &font);
        TNotingFilter<TQRAsciiExportFilter> text;
        TNotingFilter<TQRExportFilter> other;
        struct TRun {
            TQRExportFilter* filter;
            const std::vector<TPlacement>* placed;
            bool expected;
            const char* name;
        };
        for (TRun run : {TRun{&html, &html.Placed, c.html, "HTML"}, TRun{&pdf, &pdf.Placed, c.pdf, "PDF"}, TRun{&text, &text.Placed, c.text, "text"},
                         TRun{&other, &other.Placed, c.other, "other"}}) {
            std::unique_ptr<TQRPrintable> control = c.make();
            Place(*control);
            report.Filter = run.filter;
            report.Canvas = false;
            control->PrepareForRun();
            control->PrintAt(50, 60);
            control->ReleaseAfterRun();
            EXPECT_EQ(*run.placed, run.expected ? once : std::vector<TPlacement>{}) << c.control << " to " << run.name;
        }
        html.EndExport();
        pdf.EndExport();
    }
}

TEST_F(ExportControls, PicturesFitTheControlBySide) {
    // The control: (0, 0) to (1000, 1000) tenths of a millimetre, (0, 0, 378, 378) on the device;
    // the picture 200 x 100 pixels.
    struct TCase {
        const char* name;
        TFitMode mode;
        bool center;
        int controlWidth, controlHeight;
        int pictureWidth, pictureHeight;
        TRect r;
    };
    const TCase cases[] = {
        {"keep width: the height follows", fmKeepWidth, false, 100, 100, 200, 100, Rect(0, 0, 378, 189)},
        {"keep height: the width follows", fmKeepHeight, false, 100, 100, 200, 100, Rect(0, 0, 756, 378)},
        {"proportional, wide picture", fmProportional, false, 100, 100, 200, 100, Rect(0, 0, 756, 378)},
        {"proportional, tall picture", fmProportional, false, 100, 100, 100, 200, Rect(0, 0, 378, 756)},
        {"inside, wide picture: centred vertically", fmInsideProp, false, 100, 100, 200, 100, Rect(0, 94, 378, 283)},
        {"inside, tall picture: centred across", fmInsideProp, false, 100, 100, 100, 200, Rect(94, 0, 283, 378)},
        {"keep width, centred: up by half the pixels", fmKeepWidth, true, 100, 60, 200, 100, Rect(0, -20, 378, 169)},
        {"no picture size: the control's rectangle", fmProportional, true, 100, 100, 0, 0, Rect(0, 0, 378, 378)},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(FittedPictureRect(printer, 0, 0, 1000, 1000, c.pictureWidth, c.pictureHeight, c.controlWidth,
                                    c.controlHeight, c.mode, c.center),
                  c.r)
            << c.name;
}

TEST_F(ExportControls, AStretchedFieldPictureWithoutAPicturePrintsItsColour) {
    TLocal<TQRGrDBImage> image{nullptr};
    Place(image);
    image.SetStretch(true);
    image.SetColor(clLime);
    printer.OpenDocument();
    printer.StartNewPage();
    ASSERT_NE(printer.PageCanvas(), nullptr);
    image.PrepareForRun();
    image.PrintAt(0, 0);
    image.ReleaseAfterRun();
    printer.CloseDocument();
    std::unique_ptr<TMetafile> page = printer.PageMetafile(1);
    ASSERT_NE(page, nullptr);
    const int width = printer.ToDeviceX(2100), height = printer.ToDeviceY(2970);
    TBitmap drawn(width, height);
    drawn.Canvas().Brush().SetColor(clWhite);
    drawn.Canvas().FillRect(Rect(0, 0, width, height));
    drawn.Canvas().StretchDraw(Rect(0, 0, width, height), *page);
    // (100, 200)-(600, 500) tenths of a millimetre: (38, 76)-(227, 189).
    EXPECT_EQ(drawn.Canvas().Pixels(130, 130), clLime);
    EXPECT_EQ(drawn.Canvas().Pixels(20, 130), clWhite);
    EXPECT_EQ(drawn.Canvas().Pixels(130, 200), clWhite);
}

}  // namespace
