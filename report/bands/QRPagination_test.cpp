// Pagination: small reports exported into a recording filter, each checked against the pages,
// bands and print positions the filter was told of, in order.
#include <gmock/gmock.h>

#include <functional>

#include "report/bands/QRBandsTestSupport_test.h"
#include "report/bands/QRPagination.h"
#include "report/filters/QRExportFilter.h"
#include "report/printables/QRImage.h"
#include "report/printables/QRPrintable.h"

namespace {

// "open" / "close" for the pages, "Band@y" for each band (y where it began), "text@y" for each
// text line (0.1 mm).
class TRecordingFilter : public TQRExportFilter {
public:
    explicit TRecordingFilter(bool unpaged = false) : TQRExportFilter(L"trace"), unpaged_(unpaged) {}
    bool UnpagedOutput() const override { return unpaged_; }
    void OpenPage() override {
        Trace.push_back(L"open");
        if (FailOnPage > 0 && ++opened_ == FailOnPage) throw Exception(L"disk full");
    }
    void ClosePage() override { Trace.push_back(L"close"); }
    void PlaceGraphic(TQRPrintable* control, Extended, Extended) override {
        ++Graphics;
        Placed.push_back(control);
    }
    void NoteBand(TQRCustomBand* band, Extended, Extended y, Extended) override {
        Trace.push_back(band->Name() + L"@" + IntToStr(static_cast<int>(y)));
    }
    void PlaceText(Extended, Extended y, TFont*, TColor, TAlignment, const String& text) override {
        Trace.push_back(text + L"@" + IntToStr(static_cast<int>(y)));
    }

    std::vector<String> Trace;
    int Graphics = 0;
    std::vector<TQRPrintable*> Placed;
    int FailOnPage = 0;

private:
    bool unpaged_;
    int opened_ = 0;
};

// Text lines of a fixed height, as a stretching label prints them: the lines that fit in the
// band, then one line of growth at a time while the band may grow; the rest on the next page.
class TLinesPrintable : public TQRPrintable {
    FV_CLASS(TLinesPrintable, TQRPrintable)
public:
    explicit TLinesPrintable(TComponent* owner) : TQRPrintable(owner) {}
    int Lines = 0;
    int LineHeight = 50;
    String Text = L"L";
    // Never finishes and never grows: a control that cannot make progress.
    bool Stuck = false;

    void PrepareForRun() override {
        TQRPrintable::PrepareForRun();
        next_ = 0;
    }
    void PrintAt(int, int y) override {
        if (Stuck) {
            SetPrintFinished(false);
            return;
        }
        auto* band = dynamic_cast<TQRCustomBand*>(Parent());
        TQRExportFilter* filter = ParentReport()->ExportFilter();
        Extended room = band->Size()->StoredValue(TQRBandSize::iHeight);
        Extended total = 0;
        bool grown = false;
        int printed = 0;
        while (next_ < Lines) {
            if ((printed + 1) * LineHeight > room) {
                if (!band->CanGrowBand(LineHeight)) break;
                band->GrowBand(total, grown, LineHeight);
                room += LineHeight;
            }
            filter->PlaceText(0, y + printed * LineHeight, Font(), clWhite, taLeftJustify, Text);
            ++printed;
            ++next_;
        }
        SetPrintFinished(next_ >= Lines);
    }

private:
    int next_ = 0;
};

// Counts the notifications of its band's level (aggregates advance on operation 0).
class TCountingPrintable : public TQRPrintable {
    FV_CLASS(TCountingPrintable, TQRPrintable)
public:
    explicit TCountingPrintable(TComponent* owner) : TQRPrintable(owner) {}
    int Count = 0;
    void PrepareForRun() override {
        TQRPrintable::PrepareForRun();
        if (auto* band = dynamic_cast<TQRCustomBand*>(Parent()))
            if (band->ParentReport() != nullptr) band->ParentReport()->AddToNotifyList(this);
    }
    void ReportNotification(TObject* sender, Byte operation) override {
        if (operation == 0) ++Count;
        TQRPrintable::ReportNotification(sender, operation);
    }
};

// A report on A4 portrait with 10 mm margins (the page body from 100 to 2870), in 0.1 mm, whose
// top level prints Records records.
class TPaginationFixture : public TObject {
public:
    TPaginationFixture() {
        report.SetShowProgress(false);
        TQRPage& page = *report.Page();
        page.SetUnits(TQRUnit::MM);
        page.SetOrientation(poPortrait);
        page.SetPaperSize(TQRPaperSize::A4);
        page.SetLeftMargin(10);
        page.SetRightMargin(10);
        page.SetTopMargin(10);
        page.SetBottomMargin(10);
        report.SetUnits(TQRUnit::Native);
    }
    String ClassName() const override { return L"TPaginationFixture"; }

    TQRBand* Band(const String& name, TQRBandType type, int height) {
        TQRBand* band = MakeBand(report, name, type);
        report.SetUnits(TQRUnit::Native);
        band->Size()->SetHeight(height);
        return band;
    }
    void NeedData(TObject*, bool& more) { more = served_++ < Records; }
    void Feed(int records) {
        Records = records;
        report.OnNeedData = TQROnNeedDataEvent(this, &TPaginationFixture::NeedData);
    }
    void Refuse(TQRCustomBand*, bool& print) { print = false; }
    std::vector<String> Export(bool unpaged = false) {
        TRecordingFilter filter(unpaged);
        report.ExportReport(&filter);
        return filter.Trace;
    }

    TLocal<TQRReport> report{nullptr};
    int Records = 0;

private:
    int served_ = 0;
};

std::vector<String> Join(std::initializer_list<std::vector<String>> parts) {
    std::vector<String> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// name@from, name@from+step, ... (count entries).
std::vector<String> Steps(const String& name, int from, int step, int count) {
    std::vector<String> entries;
    for (int i = 0; i < count; ++i) entries.push_back(name + L"@" + IntToStr(from + i * step));
    return entries;
}

struct TPaginationCase {
    const char* name;
    std::function<void(TPaginationFixture&)> build;
    std::vector<String> expected;
    bool unpaged = false;
};

}  // namespace

TEST(QRPagination, PagesBandsAndPositions) {
    using V = std::vector<String>;
    const TPaginationCase cases[] = {
        {"first page header, page footers to the last page (footer ends on the margin, 2870)",
         [](TPaginationFixture& f) {
             f.Band(L"H", rbPageHeader, 100);
             f.Band(L"T", rbTitle, 200);
             f.Band(L"D", rbDetail, 300);
             f.Band(L"F", rbPageFooter, 100);
             f.Feed(10);
         },
         Join({V{L"close", L"open", L"H@100", L"T@200"}, Steps(L"D", 400, 300, 7),
               V{L"F@2770", L"close", L"open", L"H@100"}, Steps(L"D", 200, 300, 3), V{L"F@2770", L"close"}})},
        {"no header on page 1, no footer on the last page",
         [](TPaginationFixture& f) {
             f.report.SetOptions({});
             f.Band(L"H", rbPageHeader, 100);
             f.Band(L"T", rbTitle, 200);
             f.Band(L"D", rbDetail, 300);
             f.Band(L"F", rbPageFooter, 100);
             f.Feed(10);
         },
         Join({V{L"close", L"open", L"T@100"}, Steps(L"D", 300, 300, 8), V{L"F@2770", L"close", L"open", L"H@100"},
               Steps(L"D", 200, 300, 2), V{L"close"}})},
        {"AlignToBottom that fits ends above the footers",
         [](TPaginationFixture& f) {
             f.Band(L"T", rbTitle, 100);
             f.Band(L"S", rbSummary, 200)->SetAlignToBottom(true);
             f.Band(L"F", rbPageFooter, 100);
         },
         V{L"close", L"open", L"T@100", L"S@2570", L"F@2770", L"close"}},
        {"AlignToBottom that does not fit stays and breaks",
         [](TPaginationFixture& f) {
             f.Band(L"T", rbTitle, 2600);
             f.Band(L"S", rbSummary, 200)->SetAlignToBottom(true);
             f.Band(L"F", rbPageFooter, 100);
         },
         V{L"close", L"open", L"T@100", L"F@2770", L"close", L"open", L"S@100", L"F@2770", L"close"}},
        {"ForceNewPage: not after the title, then on every later detail",
         [](TPaginationFixture& f) {
             f.Band(L"T", rbTitle, 100);
             f.Band(L"D", rbDetail, 300)->SetForceNewPage(true);
             f.Feed(3);
         },
         V{L"close", L"open", L"T@100", L"D@200", L"close", L"open", L"D@100", L"close", L"open", L"D@100", L"close"}},
        {"ForceNewPage ignored on title, page header and page footer",
         [](TPaginationFixture& f) {
             f.Band(L"H", rbPageHeader, 100)->SetForceNewPage(true);
             f.Band(L"T", rbTitle, 200)->SetForceNewPage(true);
             f.Band(L"D", rbDetail, 300);
             f.Band(L"F", rbPageFooter, 100)->SetForceNewPage(true);
             f.Feed(2);
         },
         V{L"close", L"open", L"H@100", L"T@200", L"D@400", L"D@700", L"F@2770", L"close"}},
        {"the first ForceNewColumn stays in column 1, the next ones break",
         [](TPaginationFixture& f) {
             f.report.Page()->SetColumns(2);
             f.Band(L"T", rbTitle, 100);
             f.Band(L"D", rbDetail, 300)->SetForceNewColumn(true);
             f.Feed(3);
         },
         V{L"close", L"open", L"T@100", L"D@200", L"D@200", L"close", L"open", L"D@100", L"close"}},
        {"a band taller than the page body goes to the top of a fresh page",
         [](TPaginationFixture& f) {
             f.Band(L"T", rbTitle, 100);
             f.Band(L"D", rbDetail, 3000);
             f.Feed(2);
         },
         V{L"close", L"open", L"T@100", L"close", L"open", L"D@100", L"close", L"open", L"D@100", L"close"}},
        {"a page header taller than the page does not break forever",
         [](TPaginationFixture& f) {
             f.Band(L"H", rbPageHeader, 3000);
             f.Band(L"D", rbDetail, 100);
         },
         V{L"close", L"open", L"H@100", L"D@3100", L"close"}},
        {"a zero-height band keeps the position",
         [](TPaginationFixture& f) {
             f.Band(L"T", rbTitle, 100);
             f.Band(L"Z", rbDetail, 0);
             f.Band(L"S", rbSummary, 100);
         },
         V{L"close", L"open", L"T@100", L"Z@200", L"S@200", L"close"}},
        {"a child after a parent that BeforePrint refused",
         [](TPaginationFixture& f) {
             f.Band(L"T", rbTitle, 100);
             TQRBand* d = f.Band(L"D", rbDetail, 300);
             d->BeforePrint = TQRBandBeforePrintEvent(&f, &TPaginationFixture::Refuse);
             d->SetHasChild(true);
             d->ChildBand()->SetName(L"C");
             f.report.SetUnits(TQRUnit::Native);
             d->ChildBand()->Size()->SetHeight(100);
             f.Feed(3);
         },
         V{L"close", L"open", L"T@100", L"C@200", L"C@300", L"C@400", L"close"}},
        {"an unpaged filter gets one page however long the report",
         [](TPaginationFixture& f) {
             f.Band(L"D", rbDetail, 300);
             f.Feed(20);
         },
         Join({V{L"close", L"open"}, Steps(L"D", 100, 300, 20), V{L"close"}}), true},
        {"a stretching label over three pages; the band's finished control prints once",
         [](TPaginationFixture& f) {
             TQRBand* d = f.Band(L"D", rbDetail, 100);
             auto* lines = new TLinesPrintable(&f.report);
             lines->SetParent(d);
             lines->Lines = 130;
             auto* once = new TLinesPrintable(&f.report);
             once->SetParent(d);
             once->Lines = 1;
             once->Text = L"once";
             f.Band(L"S", rbSummary, 100);
         },
         Join({V{L"close", L"open"}, Steps(L"L", 100, 50, 55), V{L"once@100", L"close", L"open"},
               Steps(L"L", 100, 50, 55), V{L"close", L"open"}, Steps(L"L", 100, 50, 20),
               V{L"D@100", L"S@1100", L"close"}})},
        {"a continuation that prints nothing on a fresh page ends",
         [](TPaginationFixture& f) {
             TQRBand* d = f.Band(L"D", rbDetail, 100);
             auto* stuck = new TLinesPrintable(&f.report);
             stuck->SetParent(d);
             stuck->Stuck = true;
         },
         V{L"close", L"open", L"close", L"open", L"D@100", L"close"}},
    };
    for (const TPaginationCase& c : cases) {
        TPaginationFixture fixture;
        c.build(fixture);
        EXPECT_THAT(fixture.Export(c.unpaged), ::testing::ElementsAreArray(c.expected)) << c.name;
        EXPECT_TRUE(fixture.report.Available()) << c.name;
    }
}

TEST(QRPagination, DisabledBandCountsRefusedBandDoesNot) {
    struct TCase {
        const char* name;
        bool disabled;
        int count;
    };
    for (TCase c : {TCase{"disabled", true, 3}, TCase{"refused by BeforePrint", false, 0}}) {
        TPaginationFixture f;
        f.Band(L"T", rbTitle, 100);
        TQRBand* d = f.Band(L"D", rbDetail, 300);
        auto* counter = new TCountingPrintable(&f.report);
        counter->SetParent(d);
        if (c.disabled)
            d->SetEnabled(false);
        else
            d->BeforePrint = TQRBandBeforePrintEvent(&f, &TPaginationFixture::Refuse);
        f.Feed(3);
        EXPECT_THAT(f.Export(), ::testing::ElementsAre(L"close", L"open", L"T@100", L"close")) << c.name;
        EXPECT_EQ(c.count, counter->Count) << c.name;
    }
}

TEST(QRPagination, FailedExportDetachesItsFilter) {
    TPaginationFixture f;
    f.Band(L"D", rbDetail, 300);
    TRecordingFilter filter;
    filter.FailOnPage = 1;
    EXPECT_THROW(f.report.ExportReport(&filter), Exception);
    EXPECT_EQ(nullptr, f.report.ExportFilter());
    EXPECT_TRUE(f.report.CanvasOutput());
    EXPECT_TRUE(f.report.Available());
    EXPECT_EQ(TQRUnit::Native, f.report.Units());
    // The next export runs normally.
    EXPECT_THAT(f.Export(), ::testing::ElementsAre(L"close", L"open", L"D@100", L"close"));
}

TEST(QRPagination, BackgroundPictureOnEveryPage) {
    TPaginationFixture f;
    auto* picture = new TQRImage(&f.report);
    picture->SetName(L"Fundo");
    picture->SetParent(&f.report);
    TBitmap bitmap(8, 8);
    picture->Picture()->Assign(bitmap);
    f.report.SetBackImageControl(L"Fundo");
    f.Band(L"D", rbDetail, 1000);
    f.Feed(4);
    TRecordingFilter filter;
    f.report.ExportReport(&filter);
    EXPECT_EQ(std::count(filter.Placed.begin(), filter.Placed.end(), picture), 2) << "two pages, once each";
}
