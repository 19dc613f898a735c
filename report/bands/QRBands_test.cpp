// Band classes: the band order of a report with every kind of band, child bands, the links
// that refuse circles, bands dropped on bands, heights read from descriptions.
#include <gmock/gmock.h>

#include <functional>

#include "framework/classes/Reader.h"
#include "report/bands/QRBandsTestSupport_test.h"

using ::testing::ElementsAre;

namespace {

// Every band kind, made in an order unlike the printed one, with chains of child bands.
struct TEveryBandReport {
    TLocal<TQRReport> report{nullptr};
    TQRBand* detail = MakeBand(report, L"Detail", rbDetail);
    TQRBand* summary = MakeBand(report, L"Summary", rbSummary);
    TQRBand* overlay = MakeBand(report, L"Overlay", rbOverlay);
    TQRBand* pageFooter = MakeBand(report, L"PageFooter", rbPageFooter);
    TQRSubDetail* after = MakeBand<TQRSubDetail>(report, L"SubAfter");
    TQRBand* title = MakeBand(report, L"Title", rbTitle);
    TQRSubDetail* before = MakeBand<TQRSubDetail>(report, L"SubBefore");
    TQRGroup* group = MakeBand<TQRGroup>(report, L"Group");
    TQRBand* groupFooter = MakeBand(report, L"GroupFooter", rbDetail);
    TQRBand* columnHeader = MakeBand(report, L"ColumnHeader", rbColumnHeader);
    TQRBand* pageHeader = MakeBand(report, L"PageHeader", rbPageHeader);

    TEveryBandReport() {
        before->SetPrintBefore(true);
        group->SetFooterBand(groupFooter);
        title->SetHasChild(true);
        title->ChildBand()->SetName(L"TitleChild");
        title->ChildBand()->SetHasChild(true);
        title->ChildBand()->ChildBand()->SetName(L"TitleGrandchild");
        detail->SetHasChild(true);
        detail->ChildBand()->SetName(L"DetailChild");
        pageFooter->SetHasChild(true);
        pageFooter->ChildBand()->SetName(L"PageFooterChild");
    }
};

}  // namespace

TEST(QRBands, EveryBandKindTakesItsPlaceInTheBandList) {
    TEveryBandReport fixture;
    EXPECT_THAT(BandNames(fixture.report),
                ElementsAre(L"PageHeader", L"Title", L"TitleChild", L"TitleGrandchild", L"ColumnHeader", L"Group",
                            L"SubBefore", L"Detail", L"DetailChild", L"SubAfter", L"GroupFooter", L"Summary",
                            L"PageFooter", L"PageFooterChild", L"Overlay"));
    EXPECT_EQ(rbGroupFooter, fixture.groupFooter->BandType());
    // The bands are stacked in that order.
    int y = -1;
    for (TQRCustomBand* band : fixture.report.BandList()) {
        EXPECT_GT(band->Top(), y) << band->Name().c_str();
        y = band->Top();
    }
}

TEST(QRBands, ReTypingABandMovesIt) {
    TEveryBandReport fixture;
    fixture.overlay->SetBandType(rbPageHeader);
    EXPECT_EQ(L"PageHeader", BandNames(fixture.report)[0]);
    EXPECT_EQ(L"Overlay", BandNames(fixture.report)[1]);
}

TEST(QRBands, HasChildSetTwiceMakesOneChild) {
    TLocal<TQRReport> report(nullptr);
    TQRBand* band = MakeBand(report, L"Detail");
    band->SetHasChild(true);
    TQRChildBand* child = band->ChildBand();
    band->SetHasChild(true);
    EXPECT_EQ(child, band->ChildBand());
    EXPECT_EQ(2u, report.BandList().size());
    EXPECT_EQ(rbChild, child->BandType());
}

TEST(QRBands, ClearingHasChildRelinksTheGrandchild) {
    TLocal<TQRReport> report(nullptr);
    TQRBand* band = MakeBand(report, L"Detail");
    band->SetHasChild(true);
    band->ChildBand()->SetHasChild(true);
    TQRChildBand* grandchild = band->ChildBand()->ChildBand();
    band->SetHasChild(false);
    EXPECT_EQ(grandchild, band->ChildBand());
    EXPECT_EQ(band, grandchild->ParentBand());
    EXPECT_EQ(2u, report.BandList().size());
}

TEST(QRBands, ParentBandOfAChildOnNoReportIsIgnored) {
    TLocal<TQRReport> report(nullptr);
    TQRBand* band = MakeBand(report, L"Detail");
    TLocal<TQRChildBand> loose(nullptr);
    loose.SetParentBand(band);
    EXPECT_EQ(nullptr, loose.ParentBand());
}

TEST(QRBands, LinksThatWouldCloseACircleAreRefused) {
    struct TCase {
        const char* name;
        // Links made first, then the link tried; returns whether the tried link was taken.
        std::function<bool(TCustomQRReport&)> attempt;
    };
    const TCase cases[] = {
        {"band linked to itself",
         [](TCustomQRReport& r) {
             auto* a = MakeBand(r, L"A");
             a->SetLinkBand(a);
             return a->LinkBand() == a;
         }},
        {"link back along a chain",
         [](TCustomQRReport& r) {
             auto *a = MakeBand(r, L"A"), *b = MakeBand(r, L"B"), *c = MakeBand(r, L"C");
             a->SetLinkBand(b);
             b->SetLinkBand(c);
             c->SetLinkBand(a);
             return c->LinkBand() == a;
         }},
        {"child of its own child",
         [](TCustomQRReport& r) {
             auto* a = MakeBand(r, L"A");
             a->SetHasChild(true);
             TQRChildBand* child = a->ChildBand();
             child->SetHasChild(true);
             TQRChildBand* grandchild = child->ChildBand();
             child->SetParentBand(grandchild);
             return child->ParentBand() == grandchild;
         }},
        {"child of itself",
         [](TCustomQRReport& r) {
             auto* a = MakeBand(r, L"A");
             a->SetHasChild(true);
             TQRChildBand* child = a->ChildBand();
             child->SetParentBand(child);
             return child->ParentBand() == child;
         }},
        {"master of itself",
         [](TCustomQRReport& r) {
             auto* a = MakeBand<TQRSubDetail>(r, L"A");
             a->SetMaster(a);
             return a->Master() == a;
         }},
        {"master through a sub-level",
         [](TCustomQRReport& r) {
             auto *a = MakeBand<TQRSubDetail>(r, L"A"), *b = MakeBand<TQRSubDetail>(r, L"B");
             b->SetMaster(a);
             a->SetMaster(b);
             return a->Master() == b;
         }},
    };
    for (const TCase& c : cases) {
        TLocal<TQRReport> report(nullptr);
        EXPECT_FALSE(c.attempt(report)) << c.name;
        // The band list is still whole and every walk along it ends.
        for (TQRCustomBand* band : report.BandList()) EXPECT_FALSE(band->LinkChain().empty()) << c.name;
    }
}

TEST(QRBands, LinksThatCloseNoCircleAreTaken) {
    TLocal<TQRReport> report(nullptr);
    auto *a = MakeBand(report, L"A"), *b = MakeBand(report, L"B"), *c = MakeBand(report, L"C");
    a->SetLinkBand(b);
    b->SetLinkBand(c);
    EXPECT_EQ(3u, a->LinkChain().size());
    auto *s1 = MakeBand<TQRSubDetail>(report, L"S1"), *s2 = MakeBand<TQRSubDetail>(report, L"S2");
    s2->SetMaster(s1);
    EXPECT_EQ(s1, s2->Master());
    delete c;
    EXPECT_EQ(nullptr, b->LinkBand());
}

TEST(QRBands, AChainWalkStopsAtALinkMetBefore) {
    int a = 0, b = 0;
    TQRChainWalk walk;
    EXPECT_TRUE(walk.Visit(&a));
    EXPECT_TRUE(walk.Visit(&b));
    EXPECT_FALSE(walk.Visit(&a));
    EXPECT_FALSE(walk.Visit(nullptr));
}

TEST(QRBands, ABandDroppedOnABandJoinsTheReport) {
    TLocal<TQRReport> report(nullptr);
    TQRBand* outer = MakeBand(report, L"Outer");
    auto* inner = new TQRBand(&report);
    inner->SetName(L"Inner");
    inner->SetParent(outer);
    EXPECT_EQ(&report, inner->Parent());
    EXPECT_EQ(&report, inner->ParentReport());
    EXPECT_EQ(2u, report.BandList().size());
}

TEST(QRBands, DesignHeightGoesIntoSizeAndWidthComesFromTheReport) {
    TLocal<TQRReport> report(nullptr);
    TQRBand* band = MakeBand(report, L"Detail");
    const int width = band->Width();
    band->SetBounds(band->Left(), band->Top(), width + 50, 60);
    EXPECT_EQ(60, band->Height());
    EXPECT_EQ(width, band->Width());
    band->Size()->SwitchToPixels();
    EXPECT_NEAR(60, band->Size()->Height(), 0.01);
    band->Size()->RestoreUnits();
}

TEST(QRBands, HeightsReadFromADescription) {
    // A size of 105.8333 (0.1 mm) is 40 pixels, 198.4375 is 75.
    struct TCase {
        const wchar_t* size;
        int height;
        int expected;
    };
    for (TCase c : {TCase{L"105.8333", 40, 40}, TCase{L"105.8333", 75, 75}, TCase{L"198.4375", 75, 75}}) {
        TLocal<TQRReport> report(nullptr);
        ReadComponentFromText(&report,
                              Format(L"object R: TQRReport\n"
                                     L"  object B: TQRBand\n"
                                     L"    Height = %d\n"
                                     L"    Size.Values = (%s 1880)\n"
                                     L"    BandType = rbDetail\n"
                                     L"  end\n"
                                     L"end\n",
                                     {c.height, String(c.size)}),
                              L"test");
        ASSERT_EQ(1u, report.BandList().size());
        EXPECT_EQ(c.expected, report.BandList()[0]->Height()) << c.height;
    }
}

TEST(QRBands, EnabledIsWhatPrints) {
    TLocal<TQRReport> report(nullptr);
    TQRSubDetail* sub = MakeBand<TQRSubDetail>(report, L"Sub");
    sub->SetEnabled(false);
    EXPECT_FALSE(sub->Enabled());
    EXPECT_TRUE(sub->PrintIfEmpty());
    EXPECT_FALSE(sub->PrintBefore());
    EXPECT_EQ(rbSubDetail, sub->BandType());
    EXPECT_EQ(&report, sub->Master());
}

TEST(QRBands, SubDetailHeaderAndFooterSwitches) {
    TLocal<TQRReport> report(nullptr);
    TQRSubDetail* sub = MakeBand<TQRSubDetail>(report, L"Sub");
    sub->Bands()->SetHasHeader(true);
    sub->Bands()->SetHasFooter(true);
    ASSERT_NE(nullptr, sub->HeaderBand());
    EXPECT_EQ(rbGroupHeader, sub->HeaderBand()->BandType());
    EXPECT_EQ(rbGroupFooter, sub->FooterBand()->BandType());
    EXPECT_THAT(BandNames(report), ElementsAre(L"GroupHeaderBand1", L"Sub", L"GroupFooterBand1"));
    sub->Bands()->SetHasHeader(false);
    EXPECT_EQ(nullptr, sub->HeaderBand());
    EXPECT_THAT(BandNames(report), ElementsAre(L"Sub", L"GroupFooterBand1"));
}

TEST(QRBands, TypeNames) {
    EXPECT_EQ(L"Page Header", QRBandTypeDisplayName(rbPageHeader));
    EXPECT_EQ(L"ColumnHeaderBand", QRBandTypeNameBase(rbColumnHeader));
    EXPECT_EQ(L"Child", QRBandTypeDisplayName(rbChild));
    EXPECT_EQ(L"", QRBandTypeDisplayName(static_cast<TQRBandType>(12)));
}
