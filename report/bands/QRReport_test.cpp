// The report component: band arrangement, zoom, the Has... switches, units, stored properties,
// the report read as a description root of its own, its message window and the run's guards.
#include <gmock/gmock.h>

#include "framework/classes/Reader.h"
#include "framework/classes/Writer.h"
#include "framework/graphics/ScreenMetrics.h"
#include "report/bands/QRBandsTestSupport_test.h"
#include "report/printables/QRImage.h"
#include "report/printables/QRShape.h"
#include "testing/ControlTestSupport.h"

using ::testing::ElementsAre;

namespace {

// Two columns, 10 mm margins, 5 mm between the columns, A4 portrait.
void TwoColumnA4(TCustomQRReport& report) {
    TQRPage& page = *report.Page();
    page.SetUnits(TQRUnit::MM);
    page.SetOrientation(poPortrait);
    page.SetPaperSize(TQRPaperSize::A4);
    page.SetLeftMargin(10);
    page.SetRightMargin(10);
    page.SetTopMargin(10);
    page.SetBottomMargin(10);
    page.SetColumnSpace(5);
    page.SetColumns(2);
}

}  // namespace

TEST(QRReport, TwoColumnBandWidths) {
    ASSERT_EQ(96, ScreenMetrics::PixelsPerInch()) << "the figures are those of a 96 dpi screen";
    struct TCase {
        TQRBandType type;
        int width;
    };
    const TCase cases[] = {
        {rbTitle, 718},       {rbPageHeader, 718},  {rbPageFooter, 718},   {rbSummary, 718},
        {rbOverlay, 718},     {rbDetail, 349},      {rbColumnHeader, 349}, {rbGroupHeader, 349},
        {rbGroupFooter, 349}, {rbWild, 349},
    };
    TLocal<TQRReport> report(nullptr);
    TwoColumnA4(report);
    EXPECT_EQ(794, report.Width());
    for (const TCase& c : cases) {
        TQRBand* band = report.AddBandOfType(c.type);
        EXPECT_EQ(c.width, band->Width()) << QRBandTypeDisplayName(c.type).c_str();
        EXPECT_EQ(38, band->Left());
    }
    TQRSubDetail* sub = MakeBand<TQRSubDetail>(report, L"Sub");
    EXPECT_EQ(349, sub->Width());
    // A child band takes the width of the first band up its chain that is not a child.
    TQRCustomBand* title = report.FirstBandOfType(rbTitle);
    title->SetHasChild(true);
    title->ChildBand()->SetHasChild(true);
    EXPECT_EQ(718, title->ChildBand()->ChildBand()->Width());
    report.FirstBandOfType(rbDetail)->SetHasChild(true);
    EXPECT_EQ(349, report.FirstBandOfType(rbDetail)->ChildBand()->Width());
}

TEST(QRReport, BandWidthsNeverFallBelowOne) {
    // Margins wider than the paper, and more columns than pixels left.
    struct TCase {
        Extended margin;
        int columns;
        Extended space;
    };
    for (TCase c : {TCase{150, 1, 0}, TCase{100, 7, 5}, TCase{10, 30, 20}}) {
        TLocal<TQRReport> report(nullptr);
        report.Page()->SetLeftMargin(c.margin);
        report.Page()->SetRightMargin(c.margin);
        report.Page()->SetColumnSpace(c.space);
        report.Page()->SetColumns(c.columns);
        TQRBand* title = report.AddBandOfType(rbTitle);
        TQRBand* detail = report.AddBandOfType(rbDetail);
        EXPECT_GE(title->Width(), 1) << c.margin << " " << c.columns;
        EXPECT_GE(detail->Width(), 1) << c.margin << " " << c.columns;
    }
}

TEST(QRReport, ZoomTakesOneToThreeHundred) {
    struct TCase {
        int zoom;
        int expected;
    };
    for (TCase c : {TCase{0, 100}, TCase{1, 1}, TCase{300, 300}, TCase{301, 100}, TCase{-5, 100}}) {
        TLocal<TQRReport> report(nullptr);
        TQRBand* band = report.AddBandOfType(rbDetail);
        report.SetZoom(c.zoom);
        EXPECT_EQ(c.expected, report.Zoom()) << c.zoom;
        EXPECT_EQ(c.expected, band->Zoom()) << c.zoom;
        EXPECT_EQ(c.expected, report.Page()->Zoom()) << c.zoom;
    }
}

TEST(QRReport, ZoomScalesTheReportAndItsBands) {
    TLocal<TQRReport> report(nullptr);
    TQRBand* band = report.AddBandOfType(rbTitle);
    const int width = report.Width(), bandHeight = band->Height();
    report.SetZoom(200);
    EXPECT_NEAR(2 * width, report.Width(), 1);
    EXPECT_NEAR(2 * bandHeight, band->Height(), 1);
}

TEST(QRReport, ValuesAfterConstruction) {
    TLocal<TQRReport> report(nullptr);
    EXPECT_EQ(500, report.PreviewWidth());
    EXPECT_EQ(500, report.PreviewHeight());
    report.SetPreviewWidth(-3);
    EXPECT_EQ(500, report.PreviewWidth());
    report.SetPreviewWidth(640);
    EXPECT_EQ(640, report.PreviewWidth());
    EXPECT_EQ(100, report.Zoom());
    EXPECT_TRUE(report.PrintIfEmpty());
    EXPECT_TRUE(report.ShowProgress());
    EXPECT_TRUE(report.Options().Contains(TQRReportOption::FirstPageHeader));
    EXPECT_TRUE(report.Options().Contains(TQRReportOption::LastPageFooter));
    EXPECT_FALSE(report.Options().Contains(TQRReportOption::Compression));
    EXPECT_EQ(L"Arial", report.Font()->Name());
    EXPECT_EQ(10, report.Font()->Size());
    EXPECT_EQ(TColor(clWhite), report.BackgroundColor());
    EXPECT_EQ(TQRUnit::MM, report.Units());
    EXPECT_TRUE(report.Available());
    EXPECT_THAT(report.Functions()->Text(), ::testing::HasSubstr(L"PAGENUMBER"));
    EXPECT_EQ(3, report.Functions()->Count());
}

TEST(QRReport, ConstructionLeavesPreparedReportLoadedAlone) {
    SetPreparedReportLoaded(true);
    { TLocal<TQRReport> report(nullptr); }
    EXPECT_TRUE(PreparedReportLoaded());
    SetPreparedReportLoaded(false);
}

TEST(QRReport, HasSwitches) {
    TLocal<TQRReport> report(nullptr);
    TQRReportBands& bands = *report.Bands();
    EXPECT_FALSE(bands.HasTitle());
    bands.SetHasTitle(true);
    TQRCustomBand* first = report.FirstBandOfType(rbTitle);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(L"TitleBand1", first->Name());
    bands.SetHasTitle(true);
    EXPECT_EQ(1u, report.BandList().size());
    report.AddBandOfType(rbTitle);
    bands.SetHasTitle(false);
    EXPECT_THAT(BandNames(report), ElementsAre(L"TitleBand2"));
    EXPECT_FALSE(bands.BandExists(5));
    bands.SetBandExists(5, true);
    EXPECT_EQ(1u, report.BandList().size());
    bands.SetHasSummary(true);
    bands.SetHasPageFooter(true);
    EXPECT_TRUE(bands.HasSummary());
    EXPECT_TRUE(bands.HasPageFooter());
}

TEST(QRReport, UnitsChangeHowSizesRead) {
    TLocal<TQRReport> report(nullptr);
    TQRBand* band = report.AddBandOfType(rbDetail);
    band->Size()->SetHeight(20);  // mm
    report.Page()->SetTopMargin(10.00125L);
    report.SetUnits(TQRUnit::Inches);
    EXPECT_NEAR(100.0125L / 254, report.Page()->TopMargin(), 1e-9);
    EXPECT_NEAR(200.0L / 254, band->Size()->Height(), 1e-9);
    EXPECT_NEAR(100.0125L, report.Page()->StoredValue(TQRPage::iTopMargin), 1e-9);
}

TEST(QRReport, UniqueComponentNames) {
    TLocal<TComponent> owner(nullptr);
    auto* a = new TComponent(&owner);
    a->SetName(L"DetailBand1");
    auto* b = new TComponent(&owner);
    b->SetName(L"DetailBand2");
    EXPECT_EQ(L"DetailBand3", UniqueComponentName(&owner, L"DetailBand"));
    EXPECT_EQ(L"TitleBand1", UniqueComponentName(&owner, L"TitleBand"));
}

TEST(QRReport, ReadsItsOwnDescription) {
    TLocal<TQRReport> report(nullptr);
    ReadComponentFromText(&report,
                          L"object Curriculo: TQRReport\n"
                          L"  Functions.Strings = ('PAGENUMBER' 'COLUMNNUMBER' 'REPORTTITLE' 'QRSTRINGSBAND1')\n"
                          L"  Functions.DATA = ('0' '0' '''''' '''''')\n"
                          L"  Options = [FirstPageHeader, LastPageFooter]\n"
                          L"  Page.Values = (100 2970 100 2100 100 100 0)\n"
                          L"  Page.PaperSize = A4\n"
                          L"  PreviewInitialState = wsMaximized\n"
                          L"  PrevInitialZoom = qrZoom100\n"
                          L"  PreviewDefaultSaveType = stPDF\n"
                          L"  PreviewWidth = 600\n"
                          L"  Units = Pixels\n"
                          L"  object subprincipal: TQRBand\n"
                          L"    Size.Values = (876 1880)\n"
                          L"    BandType = rbTitle\n"
                          L"  end\n"
                          L"  object GroupFooterBand1: TQRBand\n"
                          L"    AlignToBottom = True\n"
                          L"    Size.Values = (42 1880)\n"
                          L"    BandType = rbPageFooter\n"
                          L"  end\n"
                          L"  object subfrase: TQRSubDetail\n"
                          L"    Size.Values = (370 1880)\n"
                          L"    Master = Curriculo\n"
                          L"  end\n"
                          L"  object subcp: TQRSubDetail\n"
                          L"    Size.Values = (77 1880)\n"
                          L"    Master = Curriculo\n"
                          L"  end\n"
                          L"  object continua: TQRChildBand\n"
                          L"    ParentBand = subprincipal\n"
                          L"  end\n"
                          L"end\n",
                          L"Curriculo");
    EXPECT_THAT(BandNames(report),
                ElementsAre(L"subprincipal", L"continua", L"subfrase", L"subcp", L"GroupFooterBand1"));
    EXPECT_EQ(4, report.Functions()->Count());
    EXPECT_EQ(TQRUnit::Pixels, report.Units());
    EXPECT_EQ(TQRZoomState::qrZoom100, report.PrevInitialZoom());
    EXPECT_EQ(TQRPrevWindowState::wsMaximized, report.PreviewInitialState());
    EXPECT_EQ(600, report.PreviewWidth());
    EXPECT_EQ(500, report.PreviewHeight());
    EXPECT_EQ(331, report.BandList()[0]->Height());  // 87.6 mm at 96 dpi
    EXPECT_EQ(38 + 331, report.BandList()[1]->Top());
    EXPECT_TRUE(report.BandList()[0]->HasChild());
}

TEST(QRReport, WritesAndReadsItsProperties) {
    TLocal<TQRReport> report(nullptr);
    report.SetName(L"Relatorio");
    report.SetReportTitle(L"Curriculo de Ana");
    report.SetPagesInPreview(3);
    report.SetPrevShowThumbs(false);
    report.AddBandOfType(rbTitle)->SetHasChild(true);
    const String text = WriteComponentToText(&report);
    TLocal<TQRReport> copy(nullptr);
    ReadComponentFromText(&copy, text, L"copy");
    EXPECT_EQ(L"Curriculo de Ana", copy.ReportTitle());
    EXPECT_EQ(3, copy.PagesInPreview());
    EXPECT_FALSE(copy.PrevShowThumbs());
    ASSERT_EQ(2u, copy.BandList().size());
    EXPECT_TRUE(copy.BandList()[0]->HasChild());
}

TEST(QRReport, WritesThePrintablesOnItsBands) {
    TLocal<TQRReport> report(nullptr);
    report.SetName(L"Relatorio");
    TQRBand* title = report.AddBandOfType(rbTitle);
    report.SetUnits(TQRUnit::Native);
    auto* line = new TQRShape(&report);
    line->SetName(L"linha1");
    line->SetParent(title);
    line->SetShape(qrsHorLine);
    line->Size()->SetLeft(21);
    line->Size()->SetWidth(1857);
    auto* photo = new TQRImage(&report);
    photo->SetName(L"foto");
    photo->SetParent(title);
    const String text = WriteComponentToText(&report);
    TLocal<TQRReport> copy(nullptr);
    ReadComponentFromText(&copy, text, L"copy");
    auto* copiedLine = dynamic_cast<TQRShape*>(copy.FindComponent(L"linha1"));
    ASSERT_NE(copiedLine, nullptr) << text;
    EXPECT_EQ(copiedLine->Parent(), copy.BandList().at(0));
    EXPECT_EQ(copiedLine->Shape(), qrsHorLine);
    EXPECT_EQ(copiedLine->Size()->StoredValue(TQRPrintableSize::iWidth), 1857);
    EXPECT_NE(dynamic_cast<TQRImage*>(copy.FindComponent(L"foto")), nullptr) << text;
    EXPECT_EQ(copy.BandList().at(0)->ControlCount(), 2);
}

TEST(QRReport, MeasuresText) {
    TLocal<TQRReport> report(nullptr);
    TFont font;
    font.SetName(L"Arial");
    font.SetSize(10);
    const int height = report.TextHeightOf(font, L"x");
    EXPECT_GT(height, 5);
    EXPECT_EQ(1, report.TextWidthOf(font, L""));
    EXPECT_GT(report.TextWidthOf(font, L"WWW"), report.TextWidthOf(font, L"W"));
    font.SetSize(20);
    EXPECT_GT(report.TextHeightOf(font, L"x"), height);
}

TEST(QRReport, ATemplateReadsTheDescriptionNamedAfterItsClass) {
    TLocal<TTestTemplate> report(nullptr);
    EXPECT_EQ(L"Modelo", report.Name());
    EXPECT_THAT(BandNames(report), ElementsAre(L"subprincipal", L"subexperiencia1", L"subexperiencia2", L"subfrase",
                                               L"GroupFooterBand1"));
    EXPECT_FALSE(report.BandList()[2]->Enabled());
    EXPECT_EQ(600, report.PreviewHeight());
    EXPECT_TRUE(report.Frame()->DrawLeft());
    ASSERT_EQ(4, report.Functions()->Count());
    EXPECT_EQ(L"QRSTRINGSBAND1", report.Functions()->Get(3));
    EXPECT_EQ(794, report.Width());
    EXPECT_EQ(718, report.BandList()[0]->Width());  // 2100 - 2 x 100 (0.1 mm) at 96 dpi
}

namespace {

class TPrintCountingReport : public TQRReport {
    FV_CLASS(TPrintCountingReport, TQRReport)
public:
    using TQRReport::TQRReport;
    void PrintReport() override { ++Prints; }
    int Prints = 0;
};

}  // namespace

TEST(QRReport, ItsMessagesArriveThroughItsOwnWindow) {
    TLocal<TPrintCountingReport> report(nullptr);
    HWND window = report.ReportWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(window, report.ReportWindow());
    PostMessageW(window, CM_QRPRINTREQUEST, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return report.Prints == 1; })) << report.Prints;

    // The preview closed after the run: the report lets its printer go.
    report.SetReportPrinter(std::make_unique<TQRPrinter>(&report.PrinterLink()));
    SendMessageW(window, CM_QRPREVIEWDONE, 0, 0);
    EXPECT_EQ(nullptr, report.ReportPrinter());

    // The preview closed during a run: the run is cancelled.
    report.SetReportPrinter(std::make_unique<TQRPrinter>(&report.PrinterLink()));
    TRecordingBandPrinter bands;
    report.SetBandPrinter(&bands);
    MakeBand(report, L"Detail", rbDetail);
    bool cancelledInRun = false;
    bands.OnPlace = [&](TQRCustomBand*) {
        SendMessageW(window, CM_QRPREVIEWDONE, 0, 0);
        cancelledInRun = report.Cancelled() && report.ReportPrinter()->Cancelled();
    };
    EXPECT_TRUE(report.RunDataLevels());
    EXPECT_TRUE(cancelledInRun);
    EXPECT_NE(nullptr, report.ReportPrinter());
}
