#include "report/expressions/QREvEnvironment.h"

#include "framework/classes/Reader.h"
#include "framework/classes/Writer.h"
#include "framework/rtl/DateTime.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/StringUtils.h"

namespace {

// Set while an environment releases its named expressions: their evaluators release the global
// environment themselves and must not re-enter it.
bool releasingEnvironment = false;

// The global environment. Owned here; destroyed at program end before anything else in this file.
std::unique_ptr<TQREvEnvironment> globalEnvironment;
bool engineInitialized = false;
bool shuttingDown = false;

struct GlobalEnvironmentFinalizer {
    ~GlobalEnvironmentFinalizer() {
        shuttingDown = true;
        // Entries' evaluators release the global environment while it is destroyed; with the
        // flag set, GetGlobalEnvironment answers nullptr and they leave it alone.
        std::unique_ptr<TQREvEnvironment> doomed = std::move(globalEnvironment);
    }
} globalEnvironmentFinalizer;

class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = previous_; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
    bool previous_;
};

String QuotedLiteral(const String& text) {
    return L"'" + text + L"'";
}

}  // namespace

// ---- TQREvEmbeddedFunction ----

TQREvEmbeddedFunction::TQREvEmbeddedFunction(const String& expression)
    : expression_(expression), evaluator_(std::make_unique<TQREvaluator>()) {}

TQREvResultRecord TQREvEmbeddedFunction::ComputeValue(TQRFiFo&) {
    return Value();
}

TQREvResultRecord TQREvEmbeddedFunction::Value() {
    if (inEvaluation_) return TQREvResultRecord::Error(L"Recursive calls not allowed");
    if (!evaluator_->Compiled()) return TQREvResultRecord::Error(QRExprMessages::EvaluatorNotPrepared);
    ScopedFlag evaluating(inEvaluation_);
    return evaluator_->Evaluate();
}

void TQREvEmbeddedFunction::ResetValue() {
    evaluator_->ResetAggregates();
}

TQREvElement* TQREvEmbeddedFunction::ElementAt(int index) const {
    TQRFiFo* list = evaluator_->FiFo();
    return list != nullptr ? list->At(index) : nullptr;
}

// ---- TQREvEnvironment ----

TQREvEnvironment::TQREvEnvironment() : TStringList(true) {}

TQREvEnvironment::~TQREvEnvironment() {
    Clear();  // the entries' evaluators refer to the dataset list owned here
}

void TQREvEnvironment::DefineEntry(const String& name, const String& expression) {
    const String upperName = UpperCase(name);
    int index = IndexOf(upperName);
    if (index >= 0 && EntryFunction(index) != nullptr) return;
    auto function = std::make_unique<TQREvEmbeddedFunction>(expression);
    TQREvEmbeddedFunction& added = *function;
    if (index >= 0)
        PutObject(index, function.get());
    else
        AddObject(upperName, function.get());
    function.release();  // the list owns its entries
    if (IsCompiled()) CompileEntry(added);
}

void TQREvEnvironment::RemoveEntry(const String& name) {
    int index = IndexOf(name);
    if (index >= 0) Delete(index);
}

TQREvEmbeddedFunction* TQREvEnvironment::EntryFunction(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return dynamic_cast<TQREvEmbeddedFunction*>(GetObject(index));
}

TQREvEmbeddedFunction* TQREvEnvironment::FindFunction(const String& name) const {
    return EntryFunction(IndexOf(UpperCase(name)));
}

void TQREvEnvironment::CompileEntry(TQREvEmbeddedFunction& function) {
    TQREvaluator& evaluator = function.Evaluator();
    evaluator.SetEnvironment(this);
    evaluator.BindDataSets(&DataSetList());
    evaluator.Compile(function.SourceText());
}

void TQREvEnvironment::Compile() {
    // Counted before the entries compile: an entry that refers back to this environment (every
    // entry of the global one does) then finds it prepared instead of preparing it again.
    if (prepareCount_++ > 0) return;
    for (int i = 0; i < Count(); ++i)
        if (TQREvEmbeddedFunction* function = EntryFunction(i)) CompileEntry(*function);
}

void TQREvEnvironment::Release() {
    if (releasingEnvironment && this == GetGlobalEnvironment()) return;
    if (prepareCount_ == 0) return;
    if (--prepareCount_ > 0) return;
    ScopedFlag releasing(releasingEnvironment);
    for (int i = 0; i < Count(); ++i)
        if (TQREvEmbeddedFunction* function = EntryFunction(i)) function->Evaluator().Release();
}

void TQREvEnvironment::BindDataSets(TQRDataSetList* list) {
    if (ownedDataSets_ && list != ownedDataSets_.get()) ownedDataSets_.reset();
    dataSets_ = list;
}

TQRDataSetList& TQREvEnvironment::DataSetList() {
    if (dataSets_ == nullptr) {
        ownedDataSets_ = std::make_unique<TQRDataSetList>();
        dataSets_ = ownedDataSets_.get();
    }
    return *dataSets_;
}

std::unique_ptr<TQREvElement> TQREvEnvironment::EntryElement(const String& name) const {
    if (TQREvEmbeddedFunction* function = FindFunction(name))
        return std::make_unique<TQREvElementWrapper>(*function);
    return std::make_unique<TQREvElementError>(Format(QRExprMessages::UnknownFunction, {name}));
}

TQREvResultRecord TQREvEnvironment::EvaluateEntry(const String& name) const {
    if (TQREvEmbeddedFunction* function = FindFunction(name)) return function->Value();
    return TQREvResultRecord::Error(Format(QRExprMessages::UnknownFunction, {name}));
}

TQREvElement* TQREvEnvironment::FindConstant(const String& name) const {
    TQREvEmbeddedFunction* function = FindFunction(name);
    return function != nullptr ? function->ElementAt(0) : nullptr;
}

void TQREvEnvironment::AssignStringConstant(TQREvElement* element, const String& text) {
    if (auto* string = dynamic_cast<TQREvElementString*>(element)) string->SetText(text);
}

void TQREvEnvironment::AssignIntegerConstant(TQREvElement* element, int value) {
    if (auto* constant = dynamic_cast<TQREvElementConstant*>(element))
        constant->SetValue(TQREvResultRecord::Integer(value));
}

void TQREvEnvironment::AssignConstant(TQREvElement* element, const TQREvResultRecord& value) {
    if (auto* constant = dynamic_cast<TQREvElementConstant*>(element)) {
        constant->SetValue(value);
    } else if (auto* string = dynamic_cast<TQREvElementString*>(element)) {
        if (value.Kind == rkString) string->SetText(value.Text);
    }
}

std::vector<String> TQREvEnvironment::WriteData() const {
    std::vector<String> expressions;
    expressions.reserve(static_cast<size_t>(Count()));
    for (int i = 0; i < Count(); ++i) {
        TQREvEmbeddedFunction* function = EntryFunction(i);
        expressions.push_back(function != nullptr ? function->SourceText() : String());
    }
    return expressions;
}

void TQREvEnvironment::ReadData(const std::vector<String>& expressions) {
    if (expressions.size() != static_cast<size_t>(Count()))
        throw EReadError(Format(L"Stored expressions do not match the names: %d expressions for %d names",
                                {static_cast<int>(expressions.size()), Count()}));
    for (int i = 0; i < Count(); ++i) {
        if (EntryFunction(i) != nullptr) continue;
        auto function = std::make_unique<TQREvEmbeddedFunction>(expressions[static_cast<size_t>(i)]);
        TQREvEmbeddedFunction& added = *function;
        PutObject(i, function.release());  // the list owns its entries
        if (IsCompiled()) CompileEntry(added);
    }
}

void TQREvEnvironment::DefineProperties(TFiler& filer) {
    filer.DefineProperty(
        L"DATA",
        [this](TReader& reader) {
            std::vector<String> expressions;
            reader.ReadListBegin();
            while (!reader.EndOfList()) expressions.push_back(reader.ReadString());
            reader.ReadListEnd();
            ReadData(expressions);
        },
        [this](TWriter& writer) {
            writer.WriteListBegin();
            for (const String& expression : WriteData()) writer.WriteString(expression);
            writer.WriteListEnd();
        },
        Count() > 0);
}

// ---- the global environment ----

void InitializeExpressionEngine(const String& applicationTitle) {
    if (engineInitialized || shuttingDown) return;
    engineInitialized = true;
    auto environment = std::make_unique<TQREvEnvironment>();
    const TDateTime start = Now();
    environment->DefineEntry(L"AppStartTime", QuotedLiteral(TimeToStr(start)));
    environment->DefineEntry(L"AppStartDate", QuotedLiteral(DateToStr(start)));
    environment->DefineEntry(L"AppName", QuotedLiteral(applicationTitle));
    globalEnvironment = std::move(environment);
}

TQREvEnvironment* GetGlobalEnvironment() {
    if (shuttingDown) return nullptr;
    InitializeExpressionEngine(String());
    return globalEnvironment.get();
}
