#include "report/printables/QRFrame.h"

#include <gmock/gmock.h>

#include "framework/graphics/Bitmap.h"
#include "report/printables/QRTestPanels_test.h"

namespace {

constexpr Extended At96 = 96 / 254.0L;  // device units per 0.1 mm
constexpr Extended At600 = 600 / 254.0L;

struct ThicknessCase {
    int Width;
    Extended Factor;
    int Thickness;
};

const ThicknessCase thicknesses[] = {
    {1, At96, 1},             // 1.333
    {1, At600, 8},            // 8.333
    {2, At96, 3},             // 2.667
    {0, At96, 0},             // no line
    {-1, At600, 1},           // the thinnest line
    {1, 30 / 254.0L, 1},      // 0.417 rounds to 0, but a line is never thinner than 1
};

TEST(Frame, ThicknessFollowsTheDeviceResolution) {
    for (const ThicknessCase& c : thicknesses) {
        TQRFrame frame;
        frame.SetWidth(c.Width);
        EXPECT_EQ(frame.VerticalThickness(c.Factor), c.Thickness) << "width " << c.Width;
        EXPECT_EQ(frame.HorizontalThickness(c.Factor), c.Thickness) << "width " << c.Width;
    }
}

TEST(Frame, PaintsABarPerSideThatIsOn) {
    TBitmap bitmap(40, 40);
    bitmap.Canvas().Brush().SetColor(clWhite);
    bitmap.Canvas().FillRect(Rect(0, 0, 40, 40));
    TQRFrame frame;
    frame.SetColor(clRed);
    frame.SetWidth(2);  // 3 pixels at 96 per inch
    frame.SetDrawTop(true);
    frame.SetDrawRight(true);
    frame.PaintFrame(bitmap.Canvas(), Rect(5, 5, 35, 35), At96, At96);
    TCanvas& c = bitmap.Canvas();
    EXPECT_EQ(c.Pixels(20, 5), clRed);
    EXPECT_EQ(c.Pixels(20, 7), clRed);
    EXPECT_EQ(c.Pixels(20, 8), clWhite);
    EXPECT_EQ(c.Pixels(34, 20), clRed);
    EXPECT_EQ(c.Pixels(32, 20), clRed);
    EXPECT_EQ(c.Pixels(31, 20), clWhite);
    EXPECT_EQ(c.Pixels(5, 20), clWhite) << "left is off";
    EXPECT_EQ(c.Pixels(20, 34), clWhite) << "bottom is off";
}

struct ExportCase {
    const char* Name;
    bool Top, Bottom, Left, Right;
    int Width;
    std::vector<TPlacedShape> Expected;
};

// The frame of a report around (10, 20)-(110, 70) at 96 pixels per inch.
const ExportCase exports[] = {
    {"four sides: one rectangle", true, true, true, true, 1,
     {{qrsRectangle, 10, 20, Rect(10, 20, 110, 70), bsClear, psSolid, 1}}},
    {"top", true, false, false, false, 1, {{qrsHorLine, 10, 20, Rect(10, 20, 110, 21), bsClear, psSolid, 1}}},
    {"bottom", false, true, false, false, 1, {{qrsHorLine, 10, 69, Rect(10, 70, 110, 71), bsClear, psSolid, 1}}},
    {"left", false, false, true, false, 1, {{qrsVertLine, 10, 20, Rect(10, 20, 11, 70), bsClear, psSolid, 1}}},
    {"right", false, false, false, true, 1, {{qrsVertLine, 109, 20, Rect(109, 20, 110, 70), bsClear, psSolid, 1}}},
    {"top and left, 3 points", true, false, true, false, 3,
     {{qrsHorLine, 10, 20, Rect(10, 20, 110, 24), bsClear, psSolid, 4},
      {qrsVertLine, 10, 20, Rect(10, 20, 14, 70), bsClear, psSolid, 4}}},
    {"width 0: nothing, as it prints", true, true, true, true, 0, {}},
    {"no sides", false, false, false, false, 1, {}},
};

TEST(Frame, ExportsTheLinesItPrints) {
    for (const ExportCase& c : exports) {
        TLocal<TTestReport> report(nullptr);
        TRecordingFilter filter;
        report.Filter = &filter;
        TQRFrame frame(&report);
        frame.SetDrawTop(c.Top);
        frame.SetDrawBottom(c.Bottom);
        frame.SetDrawLeft(c.Left);
        frame.SetDrawRight(c.Right);
        frame.SetWidth(c.Width);
        TBitmap bitmap(120, 80);
        frame.PaintFrame(bitmap.Canvas(), Rect(10, 20, 110, 70), At96, At96);
        EXPECT_EQ(filter.Placed, c.Expected) << c.Name;
    }
}

TEST(Frame, AnOpaquePrintableExportsItsBackgroundFirst) {
    TLocal<TTestReport> report(nullptr);
    TRecordingFilter filter;
    report.Filter = &filter;
    auto printable = std::make_unique<TQRPrintable>(nullptr);
    printable->SetParent(&report);
    printable->Frame()->SetDrawTop(true);
    TBitmap bitmap(120, 80);
    printable->Frame()->PaintFrame(bitmap.Canvas(), Rect(10, 20, 110, 70), At96, At96);
    std::vector<TPlacedShape> expected = {
        {qrsRectangle, 10, 20, Rect(10, 20, 110, 70), bsSolid, psClear, 1},
        {qrsHorLine, 10, 20, Rect(10, 20, 110, 21), bsClear, psSolid, 1}};
    EXPECT_EQ(filter.Placed, expected);

    filter.Placed.clear();
    printable->SetTransparent(true);
    printable->Frame()->PaintFrame(bitmap.Canvas(), Rect(10, 20, 110, 70), At96, At96);
    EXPECT_EQ(filter.Placed, std::vector<TPlacedShape>(expected.begin() + 1, expected.end()));
}

TEST(Frame, ABandsFrameGoesToItsReportsFilter) {
    TLocal<TTestReport> report(nullptr);
    TLocal<TTestBand> band(nullptr);
    TRecordingFilter filter;
    report.Filter = &filter;
    TQRFrame frame(&band);
    frame.SetDrawLeft(true);
    TBitmap bitmap(120, 80);
    frame.PaintFrame(bitmap.Canvas(), Rect(10, 20, 110, 70), At96, At96);
    EXPECT_TRUE(filter.Placed.empty()) << "the band is on no report";
    band.Report = &report;
    frame.PaintFrame(bitmap.Canvas(), Rect(10, 20, 110, 70), At96, At96);
    EXPECT_EQ(filter.Placed.size(), 1u);
}

TEST(Frame, AFailingExportFailsThePainting) {
    TLocal<TTestReport> report(nullptr);
    TRecordingFilter filter;
    filter.Fail = true;
    report.Filter = &filter;
    TQRFrame frame(&report);
    frame.SetDrawTop(true);
    TBitmap bitmap(120, 80);
    EXPECT_THROW(frame.PaintFrame(bitmap.Canvas(), Rect(10, 20, 110, 70), At96, At96), EWriteError);
}

}  // namespace
