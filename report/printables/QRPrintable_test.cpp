#include "report/printables/QRPrintable.h"

#include <gmock/gmock.h>

#include "framework/classes/Reader.h"
#include "report/printables/QRTestPanels_test.h"
#include "report/printer/QRPrinter.h"
#include "testing/FakePrinters.h"

namespace {

struct AlignCase {
    TAlignment Alignment;
    bool OnBand;
    int BandWidth;
    int ExpectedLeft;
    int LeftAfterMove;
};

// A control 100 pixels wide, first placed at Left 40.
const AlignCase alignments[] = {
    {taLeftJustify, true, 718, 0, 0},
    {taRightJustify, true, 718, 618, 618},
    {taCenter, true, 718, 309, 309},
    {taCenter, true, 719, 309, 309},   // (719 - 100) div 2
    {taCenter, true, 50, -25, -25},    // truncated toward zero
    {taLeftJustify, false, 0, 0, 0},
    {taRightJustify, false, 0, 40, 7},  // only a band has a width to align to
    {taCenter, false, 0, 40, 7},
};

TEST(Printable, AlignsToItsBand) {
    for (const AlignCase& c : alignments) {
        TLocal<TTestReport> report(nullptr);
        TLocal<TTestBand> band(nullptr);
        band.SetBounds(0, 0, c.BandWidth, 40);
        auto printable = std::make_unique<TQRPrintable>(nullptr);
        printable->SetParent(c.OnBand ? static_cast<TWinControl*>(&band) : &report);
        printable->SetBounds(40, 5, 100, 20);
        printable->SetAlignment(c.Alignment);
        printable->SetAlignToBand(true);
        EXPECT_EQ(printable->Left(), c.ExpectedLeft) << c.Alignment << " on a band " << c.BandWidth;
        printable->SetLeft(7);  // moved by hand: it snaps back
        EXPECT_EQ(printable->Left(), c.LeftAfterMove) << c.Alignment << " on a band " << c.BandWidth;
        EXPECT_EQ(printable->Width(), 100);
    }
}

TEST(Printable, FollowsItsBandsNewWidthWhenTold) {
    TLocal<TTestBand> band(nullptr);
    band.SetBounds(0, 0, 718, 40);
    auto printable = std::make_unique<TQRPrintable>(nullptr);
    printable->SetParent(&band);
    printable->SetBounds(0, 0, 100, 20);
    printable->SetAlignment(taRightJustify);
    printable->SetAlignToBand(true);
    band.SetWidth(818);
    printable->ReportNotification(&band, 1);
    EXPECT_EQ(printable->Left(), 618) << "only operation 2 aligns";
    printable->ReportNotification(&band, 2);
    EXPECT_EQ(printable->Left(), 718);
}

TEST(Printable, PrintsWhenEnabledWhateverItsVisibility) {
    struct Row {
        bool Enabled, Visible, Prints;
    } rows[] = {{true, true, true}, {true, false, true}, {false, true, false}, {false, false, false}};
    for (const Row& r : rows) {
        TLocal<TQRPrintable> printable(nullptr);
        printable.SetEnabled(r.Enabled);
        printable.SetVisible(r.Visible);
        EXPECT_EQ(printable.ShouldPrint(), r.Prints) << "enabled " << r.Enabled << ", visible " << r.Visible;
    }
}

TEST(Printable, TakesTheUnitsAndZoomOfWhereItIsPlaced) {
    TLocal<TTestReport> report(nullptr);
    report.Page()->SetUnits(TQRUnit::Inches);
    report.Zoom = 50;
    auto printable = std::make_unique<TQRPrintable>(nullptr);
    printable->SetBounds(30, 10, 100, 20);
    printable->SetParent(&report);
    EXPECT_EQ(printable->ParentReport(), &report);
    EXPECT_EQ(printable->Size()->Units(), TQRUnit::Inches);
    EXPECT_EQ(printable->DisplayZoom(), 50);
    EXPECT_EQ(printable->Left(), 30) << "the control stays where it was";
    // 30 pixels at half zoom are 60 pixels of paper: 60 / 96 inch.
    EXPECT_NEAR(static_cast<double>(printable->Size()->StoredValue(TQRPrintableSize::iLeft)), 158.75, 1e-9);

    TLocal<TTestBand> band(nullptr);
    band.BandSize()->SetUnits(TQRUnit::MM);
    band.Report = &report;
    printable->SetParent(&band);
    EXPECT_EQ(printable->Size()->Units(), TQRUnit::MM);
    EXPECT_EQ(printable->ParentReport(), &report);
}

TEST(Printable, KeepsItsStoredLeftWhenItsValuesSayZero) {
    TLocal<TTestReport> report(nullptr);
    ReadComponentFromText(&report,
                          L"object R: TTestReport\n"
                          L"  object P: TQRPrintable\n"
                          L"    Left = 12\n    Top = 5\n    Width = 50\n    Height = 20\n"
                          L"    Size.Values = (52.916666666666667 0 13.229166666666667 132.29166666666667)\n"
                          L"  end\nend\n",
                          L"R");
    auto* printable = dynamic_cast<TQRPrintable*>(report.FindComponent(L"P"));
    ASSERT_NE(printable, nullptr);
    EXPECT_EQ(printable->BoundsRect(), Rect(12, 5, 62, 25));
    EXPECT_NEAR(static_cast<double>(printable->Size()->StoredValue(TQRPrintableSize::iLeft)), 12 * 254 / 96.0, 1e-9);
}

class PrintableRun : public ::testing::Test {
protected:
    PrintableRun() {
        report.Printer = &printer;
        report.Filter = &filter;
        printable = std::make_unique<TQRPrintable>(nullptr);
        printable->SetParent(&report);
        printable->SetTransparent(true);
        TQRPrintableSize& size = *printable->Size();
        size.SetUnits(TQRUnit::Native);
        size.SetLeft(100);
        size.SetTop(200);
        size.SetWidth(500);
        size.SetHeight(300);
        TQRFrame& frame = *printable->Frame();
        for (TQRFrame::Side side : {TQRFrame::sTop, TQRFrame::sBottom, TQRFrame::sLeft, TQRFrame::sRight})
            frame.SetDrawSide(side, true);
    }

    FakePrintMachine machine;
    ScopedFakePrinters installed{machine};
    TLocal<TTestReport> report{nullptr};
    TQRPrinter printer;
    TRecordingFilter filter;
    std::unique_ptr<TQRPrintable> printable;
};

TEST_F(PrintableRun, PrepareBindsThePrinterAndReleaseEndsPrinting) {
    EXPECT_FALSE(printable->Printing());
    EXPECT_TRUE(printable->PrintFinished());
    printable->PrepareForRun();
    EXPECT_TRUE(printable->Printing());
    EXPECT_EQ(printable->QRPrinter(), &printer);
    printable->ReleaseAfterRun();
    EXPECT_FALSE(printable->Printing());
}

TEST_F(PrintableRun, PrintAtDrawsTheFrameAtItsPositionPlusTheOffsets) {
    printer.OpenDocument();
    printer.StartNewPage();
    ASSERT_NE(printer.PageCanvas(), nullptr);
    printable->PrepareForRun();
    printable->PrintAt(50, 60);
    // (150, 260)-(650, 560) in 0.1 mm on a page store at 96 pixels per inch.
    std::vector<TPlacedShape> expected = {{qrsRectangle, 57, 98, Rect(57, 98, 246, 212), bsClear, psSolid, 1}};
    EXPECT_EQ(filter.Placed, expected);

    filter.Placed.clear();
    report.Canvas = false;  // an export run: text printables hand their own frames over
    printable->PrintAt(50, 60);
    EXPECT_TRUE(filter.Placed.empty());
    printable->ReleaseAfterRun();
    printer.CloseDocument();
    EXPECT_FALSE(printable->HandleAllocated()) << "printing needs no window";
    EXPECT_FALSE(report.HandleAllocated());
}

}  // namespace
