// Data levels: which bands print, and how often.
//
// The report owns the top-level controller; every TQRSubDetail owns the controller of its
// nested level. One run of a level (RunDataLoop):
//
//     no dataset and no OnNeedData      PrintEmptyLevel once when PrintIfEmpty:
//                                       header, print-before levels, detail, print-after levels,
//                                       footer
//     records (dataset or OnNeedData)   header (and the report's column header on page 1), then
//                                       per record: group headers that broke, print-before
//                                       levels, detail, print-after levels, and group footers
//                                       (innermost first) when the next record breaks a group;
//                                       at the end the open group footers and the footer
//
// A nested level runs inside its master's loop, once per master record. Bands are handed to the
// report's band printer (TCustomQRReport::PlaceBand). Between records waiting window messages
// run, so a closed preview (the report's Cancelled, the printer's cancel flag) ends the loop at
// once and the report's stop request after the current record.
//
// Per run: RebuildLists -> PrepareLevel -> RunDataLoop -> UnprepareLevel.
#pragma once

#include <memory>
#include <vector>

#include "framework/classes/Component.h"
#include "report/bands/QRBands.h"
#include "report/expressions/QREvResult.h"

class TCustomQRReport;
class TQRGroup;
class TQREvaluator;
class TQREvElement;

class TQRCustomController : public TComponent {
    FV_CLASS(TQRCustomController, TComponent)
public:
    // holder: the report or band that creates the controller and frees it (not an owner).
    explicit TQRCustomController(TComponent* holder);
    ~TQRCustomController() override;

    TComponent* Holder() const { return holder_; }
    TComponent* Master() const { return master_; }
    // Taken only when it is a report, a controller or a controller band other than this one.
    void SetMaster(TComponent* master);
    TComponent* LevelOwner() const { return levelOwner_; }
    void SetLevelOwner(TComponent* owner) { levelOwner_ = owner; }
    TCustomQRReport* ParentReport() const { return parentReport_; }
    void SetParentReport(TCustomQRReport* report) { parentReport_ = report; }
    bool PrintIfEmpty() const { return printIfEmpty_; }
    void SetPrintIfEmpty(bool value) { printIfEmpty_ = value; }
    bool PrintBefore() const { return printBefore_; }
    const std::vector<TQRCustomController*>& BeforeList() const { return beforeList_; }
    const std::vector<TQRCustomController*>& AfterList() const { return afterList_; }
    const std::vector<TQRGroup*>& Groups() const { return groups_; }

    void AppendBeforeList(TQRCustomController* controller) { beforeList_.push_back(controller); }
    void AppendAfterList(TQRCustomController* controller) { afterList_.push_back(controller); }
    void AddToNotifyList(TQRPrintable* printable) { notifyList_.push_back(printable); }
    void NotifyExpressions(Byte operation);

    virtual void ResultValue(TQREvResultRecord& result);
    virtual void RebuildLists();
    virtual void RunDataLoop();
    virtual void PrepareLevel();
    virtual void UnprepareLevel();
    virtual void RunAfterList();
    virtual void RunBeforeList();
    virtual void PrintEmptyLevel();
    // Appends the level's bands to the report's band list being built.
    virtual void CollectBands(TCustomQRReport& report);
    virtual void CollectDataSets() {}
    virtual void SetPrintBefore(bool value) { printBefore_ = value; }
    virtual void StoreResultConstant();

    // Evaluates the groups outermost first; the first that breaks breaks every group after it.
    bool CheckGroupBreaks();
    void PrintGroupHeaders();
    void PrintGroupFooters();
    // A new page began: headers of groups that ask for it print again.
    void ReprintGroupHeaders();
    // Inverts every group's break mark at the end of the loop: the groups that did not break on
    // the last record are the ones whose footers are still open.
    void ToggleGroupBreaks();

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void BeforeDestruction() override;

private:
    void AdoptComponents(TComponent* owner);

    TComponent* holder_;
    TComponent* master_ = nullptr;
    std::vector<TQRCustomController*> afterList_;
    std::vector<TQRCustomController*> beforeList_;
    std::vector<TQRGroup*> groups_;
    bool printIfEmpty_ = true;
    TComponent* levelOwner_;
    TCustomQRReport* parentReport_ = nullptr;
    bool printBefore_ = false;
    std::vector<TQRPrintable*> notifyList_;
    TQREvElement* resultElement_ = nullptr;
};

class TQRController : public TQRCustomController {
    FV_CLASS(TQRController, TQRCustomController)
public:
    explicit TQRController(TComponent* holder) : TQRCustomController(holder) {}

    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);
    TQRCustomBand* Detail() const { return detail_; }
    void SetDetail(TQRCustomBand* band) { Watch(detail_, band); }
    TQRCustomBand* Header() const { return header_; }
    void SetHeader(TQRCustomBand* band) { Watch(header_, band); }
    TQRCustomBand* Footer() const { return footer_; }
    void SetFooter(TQRCustomBand* band) { Watch(footer_, band); }
    // Records printed in the current loop.
    int DetailNumber() const { return detailNumber_; }

    TQROnNeedDataEvent OnNeedData;

    void RunDataLoop() override;
    void PrepareLevel() override;
    void PrintEmptyLevel() override;
    void CollectBands(TCustomQRReport& report) override;
    void CollectDataSets() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    template <class T>
    void Watch(T*& field, T* value) {
        field = value;
        if (value != nullptr) value->FreeNotification(this);
    }
    void ReportLoopProgress(bool hasDataSet, int recordCount);
    bool Designing() const;

    TDataSet* dataSet_ = nullptr;
    TQRCustomBand* detail_ = nullptr;
    TQRCustomBand* footer_ = nullptr;
    TQRCustomBand* header_ = nullptr;
    int detailNumber_ = 0;
};

// A group header band: prints whenever the value of Expression changes between records of its
// master's level, with its FooterBand closing the previous group.
class TQRGroup : public TQRCustomBand {
    FV_CLASS(TQRGroup, TQRCustomBand)
public:
    explicit TQRGroup(TComponent* owner);
    ~TQRGroup() override;
    static void Publish(TPublisher<TQRGroup>& p);

    const String& Expression() const { return expression_; }
    void SetExpression(const String& expression) { expression_ = expression; }
    TQRBand* FooterBand() const { return footerBand_; }
    // The band becomes a group footer.
    void SetFooterBand(TQRBand* band);
    TComponent* Master() const { return master_; }
    // Taken only when it is a controller band or a report.
    void SetMaster(TComponent* master);
    bool ReprintOnNewPage() const { return reprintOnNewPage_; }
    void SetReprintOnNewPage(bool value) { reprintOnNewPage_ = value; }

    // ---- during a run ----
    void PrepareGroup();
    void ReleaseGroup();
    void EvaluateBreak();
    // Evaluated now, stored as the last value, marked broken.
    void ForceBreak();
    void CheckReprint();
    void PrintGroupHeader();
    void PrintGroupFooter();
    bool Broken() const { return break_; }
    void SetBroken(bool value) { break_ = value; }
    void SetEvaluated(bool value) { evaluated_ = value; }
    const TQREvResultRecord& LastValue() const { return lastValue_; }

    void SetParent(TWinControl* parent) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TQREvResultRecord Value();

    String expression_;
    TQRBand* footerBand_ = nullptr;
    TComponent* master_ = nullptr;
    bool reprintOnNewPage_ = false;
    std::unique_ptr<TQREvaluator> evaluator_;
    bool break_ = false;
    TQREvResultRecord lastValue_;
    bool evaluated_ = false;
    bool headerPrinted_ = false;
    int headerPage_ = 0;
};

// The base followed by the smallest number from 1 that no component of owner is named with.
String UniqueComponentName(TComponent* owner, const String& base);
