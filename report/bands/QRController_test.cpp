// Data levels over a band printer that writes down what it is handed: the empty level, empty
// and missing data, nested groups, cancelling and stopping, and the guards of a run.
#include <gmock/gmock.h>

#include "report/bands/QRBandsTestSupport_test.h"
#include "testing/ControlTestSupport.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// Title, detail, summary, a sub-level after the detail, and a column header.
struct TLevelReport {
    TLocal<TQRReport> report{nullptr};
    TRecordingBandPrinter printer;
    TMemoryDataSet* data = new TMemoryDataSet(&report);
    TQRBand* title = MakeBand(report, L"Title", rbTitle);
    TQRBand* detail = MakeBand(report, L"Detail", rbDetail);
    TQRBand* summary = MakeBand(report, L"Summary", rbSummary);
    TQRSubDetail* sub = MakeBand<TQRSubDetail>(report, L"Sub");

    TLevelReport() {
        data->SetName(L"Dados");
        data->SetFields({L"K1", L"K2"});
        report.SetBandPrinter(&printer);
    }
};

void NoMoreData(TObject*, bool& more) { more = false; }

struct TNeedData {
    int calls = 0;
    int records = 0;
    void Next(TObject*, bool& more) { more = ++calls <= records; }
};

}  // namespace

TEST(QRController, LevelWithoutData) {
    struct TCase {
        bool printIfEmpty;
        std::vector<String> trace;
    };
    const TCase cases[] = {
        {true, {L"Title", L"Detail", L"Sub", L"Summary"}},
        {false, {}},
    };
    for (const TCase& c : cases) {
        TLevelReport f;
        f.report.SetPrintIfEmpty(c.printIfEmpty);
        EXPECT_TRUE(f.report.RunDataLevels());
        EXPECT_EQ(c.trace, f.printer.Trace) << c.printIfEmpty;
    }
}

TEST(QRController, OpenEmptyDataSetPrintsTheLevelOnce) {
    struct TCase {
        bool printIfEmpty;
        std::vector<String> trace;
    };
    for (const TCase& c : {TCase{true, {L"Title", L"Detail", L"Sub", L"Summary"}}, TCase{false, {}}}) {
        TLevelReport f;
        MakeBand(f.report, L"ColumnHeader", rbColumnHeader);
        f.report.SetDataSet(f.data);
        f.report.SetPrintIfEmpty(c.printIfEmpty);
        f.report.RunDataLevels();
        EXPECT_EQ(c.trace, f.printer.Trace) << c.printIfEmpty;
    }
}

TEST(QRController, NeedDataSayingNoAtOncePrintsNothing) {
    TLevelReport f;
    f.report.SetPrintIfEmpty(true);
    f.report.OnNeedData = TQROnNeedDataEvent(nullptr);
    struct THandler {
        void Handle(TObject* sender, bool& more) { NoMoreData(sender, more); }
    } handler;
    f.report.OnNeedData = TQROnNeedDataEvent(&handler, &THandler::Handle);
    f.report.RunDataLevels();
    EXPECT_THAT(f.printer.Trace, IsEmpty());
}

TEST(QRController, NeedDataRecords) {
    TLevelReport f;
    MakeBand(f.report, L"ColumnHeader", rbColumnHeader);
    TNeedData source{0, 2};
    f.report.OnNeedData = TQROnNeedDataEvent(&source, &TNeedData::Next);
    f.report.RunDataLevels();
    EXPECT_THAT(f.printer.Trace,
                ElementsAre(L"Title", L"ColumnHeader", L"Detail", L"Sub", L"Detail", L"Sub", L"Summary"));
    EXPECT_EQ(3, source.calls);
    EXPECT_EQ(2, f.report.CurrentDetailNumber());
}

TEST(QRController, NestedGroupsBreakAndCloseInOrder) {
    TLevelReport f;
    delete f.title;
    delete f.summary;
    delete f.sub;
    auto* outer = MakeBand<TQRGroup>(f.report, L"G1");
    outer->SetExpression(L"Dados.K1");
    auto* inner = MakeBand<TQRGroup>(f.report, L"G2");
    inner->SetExpression(L"Dados.K2");
    outer->SetFooterBand(MakeBand(f.report, L"F1"));
    inner->SetFooterBand(MakeBand(f.report, L"F2"));
    f.data->Rows = {{L"A", L"1"}, {L"A", L"2"}, {L"B", L"2"}};
    f.report.SetDataSet(f.data);
    f.printer.DataSet = f.data;
    f.report.RunDataLevels();
    EXPECT_THAT(f.printer.Trace,
                ElementsAre(L"G1(A1)", L"G2(A1)", L"Detail(A1)",                       // first record
                            L"F2(A1)", L"G2(A2)", L"Detail(A2)",                       // inner group 1 closes
                            L"F2(A2)", L"F1(A2)", L"G1(B2)", L"G2(B2)", L"Detail(B2)",  // both close
                            L"F2(B2)", L"F1(B2)"));                                    // end of the data
    EXPECT_THAT(BandNames(f.report), ElementsAre(L"G1", L"G2", L"Detail", L"F2", L"F1"));
}

TEST(QRController, CancelEndsAtOnceAndStopAfterTheRecord) {
    struct TCase {
        const char* name;
        void (*interrupt)(TCustomQRReport&);
        std::vector<String> trace;
    };
    const TCase cases[] = {
        // the record being printed finishes; the open group footer and the summary print only
        // after a stop request
        {"cancel",
         [](TCustomQRReport& r) { r.RequestStop(); },
         {L"Title", L"G", L"Detail", L"Sub", L"GF", L"G", L"Detail", L"Sub"}},
        {"stop request",
         [](TCustomQRReport& r) { r.SetStopRequest(true); },
         {L"Title", L"G", L"Detail", L"Sub", L"GF", L"G", L"Detail", L"Sub", L"GF", L"Summary"}},
    };
    for (const TCase& c : cases) {
        TLevelReport f;
        f.report.SetReportPrinter(std::make_unique<TQRPrinter>(&f.report.PrinterLink()));
        f.data->Rows = {{L"A", L"1"}, {L"B", L"1"}, {L"B", L"2"}};
        f.report.SetDataSet(f.data);
        auto* group = MakeBand<TQRGroup>(f.report, L"G");
        group->SetExpression(L"Dados.K1");
        group->SetFooterBand(MakeBand(f.report, L"GF"));
        int details = 0;
        f.printer.OnPlace = [&](TQRCustomBand* band) {
            if (band == f.detail && ++details == 2) c.interrupt(f.report);
        };
        f.report.RunDataLevels();
        EXPECT_EQ(c.trace, f.printer.Trace) << c.name;
    }
}

TEST(QRController, ProgressCyclesWithoutACount) {
    TLevelReport f;
    f.report.SetReportPrinter(std::make_unique<TQRPrinter>(&f.report.PrinterLink()));
    f.report.ReportPrinter()->ReportProgress(97);
    std::vector<int> progress;
    f.printer.OnPlace = [&](TQRCustomBand* band) {
        if (band == f.detail) progress.push_back(f.report.ReportPrinter()->Progress());
    };
    TNeedData source{0, 4};
    f.report.OnNeedData = TQROnNeedDataEvent(&source, &TNeedData::Next);
    f.report.RunDataLevels();
    EXPECT_THAT(progress, ElementsAre(97, 99, 5, 7));
    EXPECT_EQ(100, f.report.ReportPrinter()->Progress());
}

TEST(QRController, ProgressFollowsTheReportDataSet) {
    TLevelReport f;
    f.report.SetReportPrinter(std::make_unique<TQRPrinter>(&f.report.PrinterLink()));
    f.data->Rows = {{L"A", L"1"}, {L"B", L"1"}, {L"C", L"1"}, {L"D", L"1"}};
    f.report.SetDataSet(f.data);
    std::vector<int> progress;
    f.printer.OnPlace = [&](TQRCustomBand* band) {
        if (band == f.detail) progress.push_back(f.report.ReportPrinter()->Progress());
    };
    f.report.RunDataLevels();
    EXPECT_THAT(progress, ElementsAre(0, 25, 50, 75));
    // A count that cannot be read counts as one record.
    f.data->CountFails = true;
    EXPECT_EQ(1, f.report.MainRecordCount());
    f.data->Open = false;
    f.data->CountFails = false;
    EXPECT_EQ(1, f.report.MainRecordCount());
}

TEST(QRController, ARunIsRefusedWhileAnotherIsInProgress) {
    TLevelReport f;
    bool nested = true;
    f.printer.OnPlace = [&](TQRCustomBand* band) {
        if (band == f.detail) nested = f.report.RunDataLevels();
    };
    EXPECT_TRUE(f.report.RunDataLevels());
    EXPECT_FALSE(nested);
    EXPECT_THAT(f.printer.Trace, ElementsAre(L"Title", L"Detail", L"Sub", L"Summary"));
    EXPECT_TRUE(f.report.Available());
}

TEST(QRController, ReTypingABandDuringARunWaitsForItsEnd) {
    TLevelReport f;
    std::vector<String> during;
    f.printer.OnPlace = [&](TQRCustomBand* band) {
        if (band != f.detail) return;
        MakeBand(f.report, L"Overlay", rbOverlay)->SetBandType(rbPageHeader);
        f.summary->SetBandType(rbTitle);
        during = BandNames(f.report);
    };
    f.report.RunDataLevels();
    EXPECT_THAT(during, ElementsAre(L"Title", L"Detail", L"Sub", L"Summary", L"Overlay"));
    EXPECT_THAT(BandNames(f.report), ElementsAre(L"Overlay", L"Title", L"Summary", L"Detail", L"Sub"));
    EXPECT_THAT(f.printer.Trace, ElementsAre(L"Title", L"Detail", L"Sub", L"Summary"));
}

namespace {

class TFreeWatcher : public TComponent {
    FV_CLASS(TFreeWatcher, TComponent)
public:
    using TComponent::TComponent;
    bool Freed = false;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove && component != this) Freed = true;
    }
};

}  // namespace

TEST(QRController, ReleasingTheReportDuringItsRunWaitsForTheRunToEnd) {
    TLocal<TFreeWatcher> watcher(nullptr);
    auto* report = new TQRReport(nullptr);
    report->FreeNotification(&watcher);
    TRecordingBandPrinter printer;
    report->SetBandPrinter(&printer);
    MakeBand(*report, L"Detail", rbDetail);
    MakeBand(*report, L"Summary", rbSummary);
    bool freedInRun = true;
    printer.OnPlace = [&](TQRCustomBand* band) {
        if (band->Name() != L"Detail") return;
        report->Release();
        PumpMessages();
        freedInRun = watcher.Freed;
    };
    EXPECT_TRUE(report->RunDataLevels());
    EXPECT_FALSE(freedInRun);
    EXPECT_THAT(printer.Trace, ElementsAre(L"Detail", L"Summary"));
    EXPECT_TRUE(PumpUntil([&] { return watcher.Freed; }));
}

TEST(QRController, ALevelOutsideAReportPrintsNothing) {
    // A report with a band printer beside it: the loose level must not reach it, nor read its data.
    TLevelReport f;
    auto* loose = new TQRSubDetail(&f.report);
    loose->SetName(L"Loose");
    loose->SetHasChild(true);
    loose->SetHeaderBand(new TQRBand(&f.report));
    loose->SetFooterBand(new TQRBand(&f.report));
    loose->SetPrintIfEmpty(true);
    f.data->Rows = {{L"A", L"1"}, {L"B", L"2"}};
    f.data->Next();  // on the second record: a run of the level would start again at the first
    loose->SetDataSet(f.data);
    TNeedData source{0, 5};
    TLocal<TQRSubDetail> asking(nullptr);
    asking.SetOnNeedData(TQROnNeedDataEvent(&source, &TNeedData::Next));
    for (TQRSubDetail* level : {loose, static_cast<TQRSubDetail*>(&asking)}) {
        ASSERT_EQ(level->ParentReport(), nullptr);
        EXPECT_NO_THROW(level->Controller()->PrintEmptyLevel());
        EXPECT_NO_THROW(level->Controller()->RunDataLoop());
    }
    TLocal<TQRCustomController> generic(nullptr);
    generic.SetPrintIfEmpty(true);
    EXPECT_NO_THROW(generic.PrintEmptyLevel());
    EXPECT_NO_THROW(generic.RunDataLoop());
    EXPECT_THAT(f.printer.Trace, IsEmpty());
    EXPECT_EQ(f.data->Current(), L"B2") << "the level moved its dataset";
    EXPECT_EQ(source.calls, 0) << "the level asked for data";
}

TEST(QRController, SubLevelsPrintBeforeOrAfterTheDetail) {
    TLevelReport f;
    auto* before = MakeBand<TQRSubDetail>(f.report, L"Before");
    before->SetPrintBefore(true);
    auto* nested = MakeBand<TQRSubDetail>(f.report, L"Nested");
    nested->SetMaster(f.sub);
    f.sub->Bands()->SetHasFooter(true);
    f.sub->FooterBand()->SetName(L"SubFooter");
    f.data->Rows = {{L"A", L"1"}};
    f.report.SetDataSet(f.data);
    f.report.RunDataLevels();
    EXPECT_THAT(f.printer.Trace, ElementsAre(L"Title", L"Before", L"Detail", L"Sub", L"Nested", L"SubFooter",
                                             L"Summary"));
    EXPECT_THAT(BandNames(f.report), ElementsAre(L"Title", L"Before", L"Detail", L"Sub", L"Nested",
                                                 L"SubFooter", L"Summary"));
}

TEST(QRController, AFailingRunLeavesTheReportAvailable) {
    TLevelReport f;
    f.printer.OnPlace = [&](TQRCustomBand* band) {
        if (band == f.detail) throw EInvalidOperation(L"disk full");
    };
    EXPECT_THROW(f.report.RunDataLevels(), EInvalidOperation);
    EXPECT_TRUE(f.report.Available());
    f.printer.OnPlace = nullptr;
    f.printer.Trace.clear();
    EXPECT_TRUE(f.report.RunDataLevels());
    EXPECT_THAT(f.printer.Trace, ElementsAre(L"Title", L"Detail", L"Sub", L"Summary"));
}

TEST(QRController, ADataSetThatGoesIsForgotten) {
    TLevelReport f;
    f.report.SetDataSet(f.data);
    f.sub->SetDataSet(f.data);
    delete f.data;
    EXPECT_EQ(nullptr, f.report.DataSet());
    EXPECT_EQ(nullptr, f.sub->DataSet());
    EXPECT_TRUE(f.report.RunDataLevels());
}
