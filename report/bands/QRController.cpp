#include "report/bands/QRController.h"

#include <algorithm>

#include "framework/rtl/Format.h"
#include "report/bands/QRReport.h"
#include "report/expressions/QREvEnvironment.h"
#include "report/expressions/QREvaluator.h"
#include "report/printables/QRPrintable.h"
#include "report/printer/QRMessages.h"

// ---- TQRCustomController ----

TQRCustomController::TQRCustomController(TComponent* holder)
    : TComponent(nullptr), holder_(holder), levelOwner_(this) {}

TQRCustomController::~TQRCustomController() = default;

void TQRCustomController::BeforeDestruction() {
    beforeList_.clear();
    afterList_.clear();
    groups_.clear();
    notifyList_.clear();
    TComponent::BeforeDestruction();
}

void TQRCustomController::SetMaster(TComponent* master) {
    if (master == this) return;
    if (master != nullptr && dynamic_cast<TCustomQRReport*>(master) == nullptr &&
        dynamic_cast<TQRCustomController*>(master) == nullptr && dynamic_cast<TQRControllerBand*>(master) == nullptr)
        return;
    if (master_ != nullptr && master_ != master) master_->RemoveFreeNotification(this);
    master_ = master;
    if (master != nullptr) master->FreeNotification(this);
}

void TQRCustomController::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == master_) master_ = nullptr;
}

void TQRCustomController::NotifyExpressions(Byte operation) {
    for (TQRPrintable* printable : notifyList_) printable->ReportNotification(this, operation);
}

void TQRCustomController::ResultValue(TQREvResultRecord& result) { result = TQREvResultRecord::Error(String()); }

void TQRCustomController::StoreResultConstant() {
    TQREvResultRecord result;
    ResultValue(result);
    if (resultElement_ != nullptr) TQREvEnvironment::AssignConstant(resultElement_, result);
}

void TQRCustomController::RebuildLists() {
    if (ComponentState().Contains(csDestroying)) return;
    beforeList_.clear();
    afterList_.clear();
    groups_.clear();
    TComponent* first = dynamic_cast<TQRCustomController*>(levelOwner_) != nullptr
                            ? holder_
                            : (levelOwner_ != nullptr ? levelOwner_->Owner() : nullptr);
    AdoptComponents(first);
    if (levelOwner_ != first) AdoptComponents(levelOwner_);
    CollectDataSets();
}

// The sub-levels and groups among owner's components whose master is this level.
void TQRCustomController::AdoptComponents(TComponent* owner) {
    if (owner == nullptr) return;
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        TComponent* component = owner->Components(i);
        // A component on its way out must not stay in a list that outlives it.
        if (component->ComponentState().Contains(csDestroying)) continue;
        TQRCustomController* controller = dynamic_cast<TQRCustomController*>(component);
        if (auto* band = dynamic_cast<TQRControllerBand*>(component)) controller = band->Controller();
        if (controller != nullptr && controller != this) {
            if (controller->Master() != levelOwner_ || levelOwner_ == nullptr) continue;
            auto& list = controller->PrintBefore() ? beforeList_ : afterList_;
            if (std::find(list.begin(), list.end(), controller) != list.end()) continue;
            controller->SetParentReport(parentReport_);
            list.push_back(controller);
            controller->RebuildLists();
        } else if (auto* group = dynamic_cast<TQRGroup*>(component)) {
            if (group->Master() != levelOwner_ || levelOwner_ == nullptr) continue;
            if (std::find(groups_.begin(), groups_.end(), group) != groups_.end()) continue;
            groups_.push_back(group);
            group->SetParentReport(parentReport_);
        }
    }
}

void TQRCustomController::PrepareLevel() {
    notifyList_.clear();
    for (TQRCustomController* controller : beforeList_) controller->PrepareLevel();
    for (TQRCustomController* controller : afterList_) controller->PrepareLevel();
    for (TQRGroup* group : groups_) group->PrepareGroup();
    resultElement_ = nullptr;
    if (parentReport_ != nullptr && holder_ != nullptr && !holder_->Name().empty())
        resultElement_ = parentReport_->Functions()->FindConstant(holder_->Name());
}

void TQRCustomController::UnprepareLevel() {
    for (TQRCustomController* controller : beforeList_) controller->UnprepareLevel();
    for (TQRCustomController* controller : afterList_) controller->UnprepareLevel();
    for (TQRGroup* group : groups_) group->ReleaseGroup();
    resultElement_ = nullptr;
}

void TQRCustomController::RunBeforeList() {
    for (TQRCustomController* controller : beforeList_) controller->RunDataLoop();
}

void TQRCustomController::RunAfterList() {
    for (TQRCustomController* controller : afterList_) controller->RunDataLoop();
}

void TQRCustomController::PrintEmptyLevel() {
    // Nothing of a level prints outside a report.
    if (parentReport_ == nullptr) return;
    RunBeforeList();
    RunAfterList();
}

void TQRCustomController::RunDataLoop() {
    if (printIfEmpty_) PrintEmptyLevel();
}

void TQRCustomController::CollectBands(TCustomQRReport&) {}

bool TQRCustomController::CheckGroupBreaks() {
    size_t i = 0;
    bool broke = false;
    while (i < groups_.size()) {
        TQRGroup* group = groups_[i++];
        group->EvaluateBreak();
        if (group->Broken()) {
            broke = true;
            break;
        }
    }
    if (!broke) return false;
    for (; i < groups_.size(); ++i) groups_[i]->ForceBreak();
    return true;
}

void TQRCustomController::PrintGroupHeaders() {
    for (TQRGroup* group : groups_)
        if (group->Broken()) group->PrintGroupHeader();
}

void TQRCustomController::PrintGroupFooters() {
    for (auto it = groups_.rbegin(); it != groups_.rend(); ++it)
        if ((*it)->Broken()) (*it)->PrintGroupFooter();
}

void TQRCustomController::ToggleGroupBreaks() {
    for (TQRGroup* group : groups_) group->SetBroken(!group->Broken());
}

void TQRCustomController::ReprintGroupHeaders() {
    if (std::any_of(groups_.begin(), groups_.end(), [](TQRGroup* g) { return g->Broken(); })) return;
    for (TQRCustomController* controller : beforeList_) controller->ReprintGroupHeaders();
    size_t i = 0;
    bool marked = false;
    while (i < groups_.size()) {
        TQRGroup* group = groups_[i++];
        group->CheckReprint();
        if (group->Broken()) {
            marked = true;
            break;
        }
    }
    if (marked) {
        for (; i < groups_.size(); ++i) groups_[i]->ForceBreak();
        PrintGroupHeaders();
    }
    for (TQRCustomController* controller : afterList_) controller->ReprintGroupHeaders();
}

// ---- TQRController ----

void TQRController::SetDataSet(TDataSet* dataSet) {
    if (dataSet_ != nullptr && dataSet_ != dataSet) dataSet_->RemoveFreeNotification(this);
    Watch(dataSet_, dataSet);
}

void TQRController::Notification(TComponent* component, TOperation operation) {
    TQRCustomController::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == header_) header_ = nullptr;
    if (component == detail_) detail_ = nullptr;
    if (component == footer_) footer_ = nullptr;
    if (component == dataSet_) dataSet_ = nullptr;
}

bool TQRController::Designing() const {
    return LevelOwner() != nullptr && LevelOwner()->ComponentState().Contains(csDesigning);
}

void TQRController::PrepareLevel() {
    // Query parameters are filled from Functions only for query datasets, which this program's
    // data layer does not have.
    TQRCustomController::PrepareLevel();
}

void TQRController::PrintEmptyLevel() {
    TCustomQRReport* report = ParentReport();
    if (report == nullptr) return;
    report->PlaceBand(header_);
    RunBeforeList();
    report->PlaceBand(detail_);
    RunAfterList();
    report->PlaceBand(footer_);
}

void TQRController::CollectBands(TCustomQRReport& report) {
    report.AppendBandChain(header_);
    for (TQRGroup* group : Groups()) report.AppendBandChain(group);
    for (TQRCustomController* controller : BeforeList()) controller->CollectBands(report);
    report.AppendBandChain(detail_);
    for (TQRCustomController* controller : AfterList()) controller->CollectBands(report);
    for (auto it = Groups().rbegin(); it != Groups().rend(); ++it) report.AppendBandChain((*it)->FooterBand());
    report.AppendBandChain(footer_);
}

void TQRController::CollectDataSets() {
    TCustomQRReport* report = ParentReport();
    if (report == nullptr || report->RunDataSets() == nullptr || !IsDataSetOpen(dataSet_)) return;
    TQRDataSetList& list = *report->RunDataSets();
    TQRDataSet* fields = &dataSet_->Fields();
    if (std::find(list.begin(), list.end(), fields) == list.end()) list.push_back(fields);
}

void TQRController::ReportLoopProgress(bool hasDataSet, int recordCount) {
    TCustomQRReport* report = ParentReport();
    TQRPrinter* printer = report->ReportPrinter();
    if (printer == nullptr) return;
    auto* qrReport = dynamic_cast<TQRReport*>(report);
    if (qrReport != nullptr && hasDataSet && dataSet_ == qrReport->DataSet() && recordCount != 0) {
        printer->ReportProgress(detailNumber_ * 100 / recordCount);
        return;
    }
    // Without a count the indicator cycles.
    int progress = printer->Progress() + 2;
    printer->ReportProgress(progress > 100 ? 5 : progress);
}

void TQRController::RunDataLoop() {
    int recordCount = 1;
    for (TQRGroup* group : Groups()) group->SetEvaluated(false);
    TCustomQRReport* report = ParentReport();
    const bool hasDataSet = IsDataSetOpen(dataSet_);
    if ((!hasDataSet && !OnNeedData) || report == nullptr) {
        if (PrintIfEmpty()) PrintEmptyLevel();
        return;
    }
    bool more = true;
    if (hasDataSet) {
        dataSet_->First();
        more = !dataSet_->Eof();
        if (dynamic_cast<TQRReport*>(report) != nullptr) recordCount = report->MainRecordCount();
        if (!more && PrintIfEmpty()) PrintEmptyLevel();
    } else if (!Designing()) {
        OnNeedData(LevelOwner(), more);
    }
    detailNumber_ = 0;
    if (detail_ != nullptr) detail_->SetNotifyController(this);
    if (!more) return;

    QRProcessMessages();
    if (report->Cancelled()) return;
    report->PlaceBand(header_);
    if (LevelOwner() == report) report->SetHeaderJustPrinted(true);
    if (report->PageNumber() <= 1 && LevelOwner() == report) {
        TQRCustomBand* columnHeader = report->FirstBandOfType(rbColumnHeader);
        if (columnHeader != nullptr && columnHeader->Enabled()) {
            report->PlaceBand(columnHeader);
            report->SetHeaderJustPrinted(true);
        }
    }
    CheckGroupBreaks();
    report->SetStopRequest(false);

    while (more) {
        QRProcessMessages();
        if (report->ReportPrinter() != nullptr && report->ReportPrinter()->Cancelled()) return;
        ++detailNumber_;
        PrintGroupHeaders();
        RunBeforeList();
        report->PlaceBand(detail_);
        RunAfterList();
        if (hasDataSet) {
            dataSet_->Next();
            more = !dataSet_->Eof();
        } else {
            more = false;
            if (!Designing()) OnNeedData(LevelOwner(), more);
        }
        if (CheckGroupBreaks()) {
            // The footers print while the record that closed the group is current.
            if (hasDataSet) dataSet_->Prior();
            PrintGroupFooters();
            if (hasDataSet) dataSet_->Next();
        }
        ReportLoopProgress(hasDataSet, recordCount);
        more = more && !report->StopRequested();
        if (report->PagesInPreview() > 0 && report->ReportPrinter() != nullptr)
            more = more && report->ReportPrinter()->PageNumber() <= report->PagesInPreview();
    }
    if (report->ReportPrinter() != nullptr) report->ReportPrinter()->ReportProgress(100);
    ToggleGroupBreaks();
    PrintGroupFooters();
    if (footer_ != nullptr) {
        if (report->PageNumber() == 0) report->StartNextPage();
        if (footer_->Size()->StoredValue(TQRBandSize::iHeight) > report->SpaceLeftInColumn())
            report->StartNextColumn();
        report->PlaceBand(footer_);
    }
}

// ---- TQRGroup ----

TQRGroup::TQRGroup(TComponent* owner) : TQRCustomBand(owner), evaluator_(std::make_unique<TQREvaluator>()) {
    SetBandTypeValue(rbGroupHeader);
}

TQRGroup::~TQRGroup() = default;

void TQRGroup::Publish(TPublisher<TQRGroup>& p) {
    p.Property(L"Expression", &TQRGroup::Expression, &TQRGroup::SetExpression).Default(L"");
    p.Property(L"FooterBand", &TQRGroup::FooterBand, &TQRGroup::SetFooterBand);
    p.Property(L"Master", &TQRGroup::Master, &TQRGroup::SetMaster);
    p.Property(L"ReprintOnNewPage", &TQRGroup::ReprintOnNewPage, &TQRGroup::SetReprintOnNewPage).Default(false);
}

void TQRGroup::SetFooterBand(TQRBand* band) {
    if (footerBand_ != nullptr && footerBand_ != band) footerBand_->RemoveFreeNotification(this);
    footerBand_ = band;
    if (band == nullptr) return;
    band->FreeNotification(this);
    band->SetBandType(rbGroupFooter);
}

void TQRGroup::SetMaster(TComponent* master) {
    if (master != nullptr && dynamic_cast<TQRControllerBand*>(master) == nullptr &&
        dynamic_cast<TCustomQRReport*>(master) == nullptr)
        return;
    if (master_ != nullptr && master_ != master) master_->RemoveFreeNotification(this);
    master_ = master;
    RebuildReportBands();
    if (master != nullptr) master->FreeNotification(this);
}

void TQRGroup::SetParent(TWinControl* parent) {
    TQRCustomBand::SetParent(parent);
    if (master_ == nullptr && ParentReport() != nullptr) SetMaster(ParentReport());
}

void TQRGroup::Notification(TComponent* component, TOperation operation) {
    TQRCustomBand::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == footerBand_) footerBand_ = nullptr;
    if (component == master_) master_ = nullptr;
}

void TQRGroup::PrepareGroup() {
    if (TCustomQRReport* report = ParentReport()) {
        evaluator_->BindDataSets(report->RunDataSets());
        evaluator_->SetEnvironment(report->Functions());
    }
    evaluator_->Compile(expression_);
    evaluated_ = false;
    headerPage_ = 1;
}

void TQRGroup::ReleaseGroup() {
    evaluator_->Release();
    evaluator_->BindDataSets(nullptr);
}

TQREvResultRecord TQRGroup::Value() {
    if (!evaluator_->Compiled()) return TQREvResultRecord::Error(String());
    return evaluator_->Evaluate();
}

namespace {

bool ValuesDiffer(const TQREvResultRecord& a, const TQREvResultRecord& b) {
    if (a.Kind != b.Kind) return true;
    switch (a.Kind) {
    case rkInteger: return a.IntValue != b.IntValue;
    case rkFloat: return a.FloatValue != b.FloatValue;
    case rkString: return a.Text != b.Text;
    case rkBoolean: return a.BoolValue != b.BoolValue;
    case rkError: break;
    }
    return false;
}

}  // namespace

void TQRGroup::EvaluateBreak() {
    break_ = false;
    if (!evaluated_) {
        lastValue_ = Value();
        break_ = true;
        evaluated_ = true;
        return;
    }
    TQREvResultRecord value = Value();
    if (ValuesDiffer(value, lastValue_)) {
        break_ = true;
        lastValue_ = value;
    }
}

void TQRGroup::ForceBreak() {
    lastValue_ = Value();
    break_ = true;
    evaluated_ = true;
}

void TQRGroup::CheckReprint() {
    const int page = ParentReport() != nullptr ? ParentReport()->PageNumber() : 0;
    break_ = reprintOnNewPage_ && headerPrinted_ && page != headerPage_;
    if (break_) headerPage_ = page;
}

void TQRGroup::PrintGroupHeader() {
    TCustomQRReport* report = ParentReport();
    if (report == nullptr) return;
    report->PlaceBand(this);
    headerPrinted_ = true;
    headerPage_ = report->PageNumber();
}

void TQRGroup::PrintGroupFooter() {
    if (footerBand_ != nullptr && ParentReport() != nullptr) ParentReport()->PlaceBand(footerBand_);
    headerPrinted_ = false;
}

// ---- utilities ----

String UniqueComponentName(TComponent* owner, const String& base) {
    for (int n = 1;; ++n) {
        String name = base + IntToStr(n);
        if (owner == nullptr || owner->FindComponent(name) == nullptr) return name;
    }
}
