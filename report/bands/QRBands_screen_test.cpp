// The design view of a report: band fill (grey while disabled), band outline and type name,
// margins and the report frame, drawn on a window that is shown.
#include <gmock/gmock.h>

#include "report/bands/QRBandsTestSupport_test.h"
#include "testing/ControlTestSupport.h"

TEST(QRBandsScreen, DesignViewOfAReport) {
    TestHost host(820, 520);
    auto* report = new TQRReport(&host.Root());
    report->SetParent(&host.Root());
    report->Page()->SetRuler(false);
    report->Frame()->SetDrawLeft(true);
    report->Frame()->SetDrawTop(true);
    report->Frame()->SetDrawRight(true);
    report->Frame()->SetDrawBottom(true);
    TQRBand* title = report->AddBandOfType(rbTitle);
    title->Size()->SetHeight(30);
    TQRBand* detail = report->AddBandOfType(rbDetail);
    detail->Size()->SetHeight(20);
    detail->SetEnabled(false);
    report->AddBandOfType(rbPageFooter);
    ASSERT_TRUE(PumpUntil([&] { return report->HandleAllocated() && IsWindowVisible(report->HandleIfAllocated()); }));

    auto image = PaintedImage(*report);
    const TRect titleArea = Rect(title->Left() + 10, title->Top() + 4, title->Left() + title->Width() - 10,
                                 title->Top() + title->Height() - 20);
    const TRect detailArea = Rect(detail->Left() + 10, detail->Top() + 4, detail->Left() + detail->Width() - 10,
                                  detail->Top() + detail->Height() - 20);
    EXPECT_EQ(titleArea.Width() * titleArea.Height(), CountPixels(*image, titleArea, clWhite, 0));
    EXPECT_EQ(detailArea.Width() * detailArea.Height(), CountPixels(*image, detailArea, 0xC0C0C0, 0));
    // The type name in the ruler font's colour near the band's bottom left corner.
    const TRect nameArea = Rect(title->Left() + 2, title->Top() + title->Height() - 20, title->Left() + 60,
                                title->Top() + title->Height() - 2);
    EXPECT_GT(CountPixels(*image, nameArea, DesignPalette().RulerFontColor, 40), 5);
    // The report frame runs along the margins: its left side below the bands.
    EXPECT_GT(CountPixels(*image, Rect(title->Left() - 2, 400, title->Left() + 2, 500), clBlack, 0), 90);
    // Outside the margins the report is white.
    EXPECT_EQ(30 * 100, CountPixels(*image, Rect(2, 400, 32, 500), clWhite, 0));
}
