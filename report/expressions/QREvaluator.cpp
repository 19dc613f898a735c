#include "report/expressions/QREvaluator.h"

#include <cmath>

#include <cwctype>
#include <optional>

#include "framework/rtl/FloatFormat.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/FormatSettings.h"
#include "framework/rtl/StringUtils.h"
#include "report/expressions/QREvEnvironment.h"
#include "report/expressions/QRLibrary.h"

namespace {

constexpr wchar_t ListSeparator = L',';

// Raised inside the compiler only; Compile turns it into one error element.
struct NestingTooDeep {};

// Quote, bracket and bracketed-name state while scanning a text from its start.
struct ScanState {
    int depth = 0;
    bool quoted = false;
    bool bracketed = false;

    // Takes one character; true when that character stands at depth 0, outside quotes and
    // bracketed names, where operators and separators count.
    bool Step(wchar_t c) {
        switch (c) {
        case L'\'':
            if (!bracketed) quoted = !quoted;
            return false;
        case L'(':
            if (!quoted && !bracketed) ++depth;
            return false;
        case L')':
            if (!quoted && !bracketed) --depth;
            return false;
        case L'[':
            if (!quoted) bracketed = true;
            return false;
        case L']':
            if (!quoted) bracketed = false;
            return false;
        default: return depth == 0 && !quoted && !bracketed;
        }
    }
};

struct OperatorMatch {
    size_t position;
    size_t length;
    TQREvOperatorCode code;
};

using MatchFunction = std::optional<OperatorMatch> (*)(std::wstring_view text, size_t i);

// The first operator of a level, looked for from the second to the last-but-one character.
std::optional<OperatorMatch> FindOperator(std::wstring_view text, MatchFunction match) {
    ScanState state;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (!state.Step(text[i]) || i == 0) continue;
        if (auto found = match(text, i)) return found;
    }
    return std::nullopt;
}

bool FollowedByWord(std::wstring_view text, size_t i, std::wstring_view word) {
    if (i + word.size() + 1 >= text.size()) return false;  // room for the word and a space
    for (size_t k = 0; k < word.size(); ++k)
        if (static_cast<wchar_t>(std::towlower(text[i + 1 + k])) != word[k]) return false;
    return text[i + 1 + word.size()] == L' ';
}

std::optional<OperatorMatch> MatchComparison(std::wstring_view text, size_t i) {
    wchar_t next = text[i + 1];
    switch (text[i]) {
    case L'<':
        if (next == L'>') return OperatorMatch{i, 2, ocNotEqual};
        if (next == L'=') return OperatorMatch{i, 2, ocLessEqual};
        return OperatorMatch{i, 1, ocLess};
    case L'=': return OperatorMatch{i, 1, ocEqual};
    case L'>':
        if (next == L'=') return OperatorMatch{i, 2, ocGreaterEqual};
        return OperatorMatch{i, 1, ocGreater};
    default: return std::nullopt;
    }
}

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// True when the word "and", "or" or "not" (any case) ends just before position end, as a word.
bool EndsWithKeyword(std::wstring_view text, size_t end) {
    size_t begin = end;
    while (begin > 0 && end - begin < 4 && IsAsciiLetter(text[begin - 1])) --begin;
    if (begin > 0 && text[begin - 1] > L' ') return false;  // a longer word, or glued to a name
    wchar_t word[4] = {};
    for (size_t k = begin; k < end; ++k) word[k - begin] = static_cast<wchar_t>(std::towlower(text[k]));
    const std::wstring_view found(word, end - begin);
    return found == L"and" || found == L"or" || found == L"not";
}

// A "+" or "-" with nothing but blanks, another operator or a logical keyword before it is a
// sign ("1 + -2", "IF(x, -1, 1)", "2 * -3", "a and -1"), not an operator.
bool FollowsOperand(std::wstring_view text, size_t i) {
    while (i > 0 && text[i - 1] <= L' ') --i;
    if (i == 0) return false;
    if (std::wstring_view(L"+-*/<>=").find(text[i - 1]) != std::wstring_view::npos) return false;
    return !EndsWithKeyword(text, i);
}

std::optional<OperatorMatch> MatchSum(std::wstring_view text, size_t i) {
    switch (text[i]) {
    case L'+':
        if (!FollowsOperand(text, i)) return std::nullopt;
        return OperatorMatch{i, 1, ocAdd};
    case L'-':
        if (!FollowsOperand(text, i)) return std::nullopt;
        return OperatorMatch{i, 1, ocSubtract};
    case L' ':
        if (FollowedByWord(text, i, L"or")) return OperatorMatch{i, 3, ocOr};
        return std::nullopt;
    default: return std::nullopt;
    }
}

std::optional<OperatorMatch> MatchProduct(std::wstring_view text, size_t i) {
    switch (text[i]) {
    case L'*': return OperatorMatch{i, 1, ocMultiply};
    case L'/': return OperatorMatch{i, 1, ocDivide};
    case L' ':
        if (FollowedByWord(text, i, L"and")) return OperatorMatch{i, 4, ocAnd};
        return std::nullopt;
    default: return std::nullopt;
    }
}

TQREvOperatorCode Exchanged(TQREvOperatorCode code) {
    switch (code) {
    case ocAdd: return ocSubtract;
    case ocSubtract: return ocAdd;
    case ocMultiply: return ocDivide;
    case ocDivide: return ocMultiply;
    default: return code;
    }
}

std::wstring_view TrimView(std::wstring_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && text[begin] <= L' ') ++begin;
    while (end > begin && text[end - 1] <= L' ') --end;
    return text.substr(begin, end - begin);
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// NOT is an operator only as a whole word: NOTES is a name.
bool StartsWithNot(std::wstring_view text) {
    if (text.size() < 3) return false;
    for (size_t k = 0; k < 3; ++k)
        if (static_cast<wchar_t>(std::towlower(text[k])) != L"not"[k]) return false;
    if (text.size() == 3) return true;
    wchar_t next = text[3];
    return !(std::iswalnum(next) || next == L'_');
}

// Digits, an optional fraction and an optional exponent: "12", "1.5", "1.5E+3".
bool IsWellFormedNumber(std::wstring_view text) {
    size_t i = 0;
    auto digits = [&] {
        const size_t start = i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        return i > start;
    };
    if (!digits()) return false;
    if (i < text.size() && text[i] == L'.') {
        ++i;
        digits();
    }
    if (i < text.size() && (text[i] == L'E' || text[i] == L'e')) {
        ++i;
        if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
        if (!digits()) return false;
    }
    return i == text.size();
}

bool IsNumberTail(wchar_t c) {
    return IsDigit(c) || c == L'+' || c == L'-' || c == L'.' || c == L'E' || c == L'e';
}

// Position of the next list separator at depth 0 from "from"; the last character never
// separates. npos when there is none.
size_t NextArgumentBreak(std::wstring_view text, size_t from) {
    ScanState state;
    for (size_t i = from; i + 1 < text.size(); ++i) {
        if (state.Step(text[i]) && text[i] == ListSeparator) return i;
    }
    return std::wstring_view::npos;
}

bool IsErrorElement(const TQREvElement* element) {
    return dynamic_cast<const TQREvElementError*>(element) != nullptr;
}

}  // namespace

class TQREvaluator::Nesting {
public:
    explicit Nesting(TQREvaluator& evaluator) : evaluator_(evaluator) {
        if (evaluator_.nesting_ >= QRMaxExpressionNesting) throw NestingTooDeep{};
        ++evaluator_.nesting_;
    }
    ~Nesting() { --evaluator_.nesting_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

private:
    TQREvaluator& evaluator_;
};

TQREvaluator::TQREvaluator() = default;

TQREvaluator::~TQREvaluator() {
    Release();
}

// ---- life cycle ----

void TQREvaluator::Compile(const String& expression) {
    Release();
    if (TQREvEnvironment* global = GetGlobalEnvironment()) global->Compile();
    compiled_ = true;
    fifo_ = std::make_unique<TQRFiFo>();
    nesting_ = 0;
    try {
        CompileComparison(expression.empty() ? std::wstring_view(L"' '") : std::wstring_view(expression));
    } catch (const NestingTooDeep&) {
        fifo_->Clear();
        nesting_ = 0;
        AppendError(QRExprMessages::NestedTooDeeply);
    }
}

void TQREvaluator::Release() {
    if (!compiled_) return;
    fifo_.reset();
    compiled_ = false;
    if (TQREvEnvironment* global = GetGlobalEnvironment()) global->Release();
}

TQREvResultRecord TQREvaluator::Evaluate() {
    if (!compiled_) throw Exception(QRExprMessages::EvaluatorNotPrepared);
    fifo_->Start();
    if (fifo_->Count() == 0) return TQREvResultRecord::Error(L"");
    TQREvResultRecord result = fifo_->NextValue();
    // Functions and aggregates may carry a float past the double range too.
    if (result.Kind == rkFloat && !std::isfinite(result.FloatValue))
        return TQREvResultRecord::Error(QRExprMessages::FloatOverflow);
    return result;
}

void TQREvaluator::Accumulate() {
    if (!compiled_) throw Exception(QRExprMessages::EvaluatorNotPrepared);
    struct FlagScope {
        TQRFiFo& list;
        ~FlagScope() { list.SetAggregate(false); }
    } scope{*fifo_};
    fifo_->SetAggregate(true);
    Evaluate();
}

bool TQREvaluator::HasAggregates() const {
    if (!fifo_) return false;
    for (int i = 0; i < fifo_->Count(); ++i)
        if (fifo_->At(i)->IsAggregate()) return true;
    return false;
}

void TQREvaluator::ResetAggregates() {
    if (!fifo_) return;
    for (int i = 0; i < fifo_->Count(); ++i) fifo_->At(i)->ResetValue();
}

TQREvResultRecord TQREvaluator::CalculateOnce(const String& expression) {
    Compile(expression);
    TQREvResultRecord result = Evaluate();
    Release();
    return result;
}

void TQREvaluator::BindDataSets(TQRDataSetList* list) {
    if (ownedDataSets_ && list != ownedDataSets_.get()) ownedDataSets_.reset();
    dataSets_ = list;
}

TQRDataSetList& TQREvaluator::DataSetList() {
    if (dataSets_ == nullptr) {
        ownedDataSets_ = std::make_unique<TQRDataSetList>();
        dataSets_ = ownedDataSets_.get();
    }
    return *dataSets_;
}

void TQREvaluator::Append(std::unique_ptr<TQREvElement> element) {
    fifo_->Put(std::move(element));
}

void TQREvaluator::AppendError(const String& message) {
    Append(std::make_unique<TQREvElementError>(message));
}

// ---- the three operator levels ----

void TQREvaluator::CompileComparison(std::wstring_view text) {
    auto found = FindOperator(text, MatchComparison);
    if (!found) {
        CompileSum(text, false);
        return;
    }
    Nesting nesting(*this);
    Append(std::make_unique<TQREvElementOperator>(found->code));
    CompileSum(text.substr(0, found->position), false);
    CompileSum(text.substr(found->position + found->length), false);
}

// "exchanged": the text is read with "+" and "-" swapped at depth 0 (the right part of a "-").
// A sign at the very start of the text is a sign, not an operator, and is never swapped.
void TQREvaluator::CompileSum(std::wstring_view text, bool exchanged) {
    auto found = FindOperator(text, MatchSum);
    if (!found) {
        CompileProduct(text, false);
        return;
    }
    TQREvOperatorCode code = exchanged ? Exchanged(found->code) : found->code;
    Nesting nesting(*this);
    Append(std::make_unique<TQREvElementOperator>(code));
    CompileProduct(text.substr(0, found->position), false);
    CompileSum(text.substr(found->position + found->length),
               code == ocSubtract ? !exchanged : exchanged);
}

void TQREvaluator::CompileProduct(std::wstring_view text, bool exchanged) {
    auto found = FindOperator(text, MatchProduct);
    if (!found) {
        CompileFactor(text);
        return;
    }
    TQREvOperatorCode code = exchanged ? Exchanged(found->code) : found->code;
    Nesting nesting(*this);
    Append(std::make_unique<TQREvElementOperator>(code));
    CompileFactor(text.substr(0, found->position));
    CompileProduct(text.substr(found->position + found->length),
                   code == ocDivide ? !exchanged : exchanged);
}

// ---- factors ----

void TQREvaluator::CompileFactor(std::wstring_view text) {
    text = TrimView(text);
    if (StartsWithNot(text)) {
        Nesting nesting(*this);
        Append(std::make_unique<TQREvElementNot>());
        CompileSum(text.substr(3), false);
        return;
    }
    if (text.empty()) {
        AppendError(Format(QRExprMessages::ErrorInExpression, {L""}));
        return;
    }
    const wchar_t first = text.front();
    const wchar_t last = text.back();
    const std::wstring_view inner = text.size() >= 2 ? text.substr(1, text.size() - 2) : std::wstring_view();
    if (first == L'\'') {
        if (text.size() >= 2 && last == L'\'')
            Append(std::make_unique<TQREvElementString>(inner));
        else
            AppendError(Format(L"Missing %s", {L"'"}));
    } else if (first == L'(') {
        if (last == L')') {
            Nesting nesting(*this);
            CompileComparison(inner);
        } else {
            AppendError(Format(L"Missing %s", {L")"}));
        }
    } else if (first == L'+') {
        Nesting nesting(*this);
        CompileFactor(text.substr(1));
    } else if (first == L'-') {
        if (text.size() == 1) {
            CompileNumber(L"0-");  // what "0-" compiles to: an illegal numeric constant
            return;
        }
        // -x is 0 - x: the rest is the right part of a subtraction.
        Nesting nesting(*this);
        Append(std::make_unique<TQREvElementOperator>(ocSubtract));
        Append(std::make_unique<TQREvElementConstant>(TQREvResultRecord::Integer(0)));
        CompileSum(text.substr(1), true);
    } else if (IsDigit(first)) {
        CompileNumber(text);
    } else if (IsAsciiLetter(first)) {
        CompileIdentifier(text);
    } else if (first == L'[') {
        if (last == L']')
            CompileName(String(inner));
        else
            AppendError(Format(L"Missing %s", {L"]"}));
    } else {
        AppendError(Format(QRExprMessages::ErrorInExpression, {String(text)}));
    }
}

// Only the first 255 characters are read; a longer literal is not consumed and is an error
// rather than a different number.
void TQREvaluator::CompileNumber(std::wstring_view text) {
    const String literal(text.substr(0, QRMaxResultText));
    size_t i = 0;
    while (i < literal.size() && IsDigit(literal[i])) ++i;
    bool isFloat = false;
    while (i < literal.size() && IsNumberTail(literal[i])) {
        isFloat = true;
        ++i;
    }
    auto appendIllegal = [&] { AppendError(Format(L"Illegal character in numeric contant \"%s\"", {literal})); };
    if (i < text.size()) {
        appendIllegal();
        return;
    }
    int intValue = 0;
    if (!isFloat && TryStrToInt(literal, intValue)) {
        Append(std::make_unique<TQREvElementConstant>(TQREvResultRecord::Integer(intValue)));
        return;
    }
    // Literals always use "."; the conversion wants the locale's separator.
    String localized = literal;
    for (wchar_t& c : localized)
        if (c == L'.') c = DefaultFormatSettings().DecimalSeparator;
    double floatValue = 0.0;
    if (TryStrToFloat(localized, floatValue))
        Append(std::make_unique<TQREvElementConstant>(TQREvResultRecord::Float(floatValue)));
    else if (IsWellFormedNumber(literal))
        AppendError(QRExprMessages::FloatOverflow);  // a number, but beyond the double range
    else
        appendIllegal();
}

void TQREvaluator::CompileIdentifier(std::wstring_view text) {
    const size_t open = text.find(L'(');
    if (open == std::wstring_view::npos) {
        CompileCall(String(text), String(), false);
    } else if (text.back() == L')') {
        CompileCall(String(text.substr(0, open)), String(text.substr(open + 1, text.size() - open - 2)),
                    true);
    } else {
        CompileCall(String(), String(text.substr(open + 1)), true);
    }
}

// ---- calls and names ----

void TQREvaluator::CompileCall(const String& name, const String& arguments, bool hasArguments) {
    const String upperName = UpperCase(name);
    TQRFunctionLibrary& library = GetFunctionLibrary();
    if (library.FindEntry(upperName) == nullptr) {
        if (hasArguments)
            Append(library.CreateFunction(upperName));
        else
            CompileName(name);
        return;
    }
    Append(library.CreateFunction(upperName));
    if (hasArguments) CompileArguments(arguments);
    Append(std::make_unique<TQREvElementArgumentEnd>());
}

void TQREvaluator::CompileArguments(const String& arguments) {
    Nesting nesting(*this);
    const std::wstring_view text(arguments);
    size_t start = 0;
    for (;;) {
        const size_t separator = NextArgumentBreak(text, start);
        const std::wstring_view piece = text.substr(start, separator == std::wstring_view::npos
                                                               ? std::wstring_view::npos
                                                               : separator - start);
        if (!piece.empty()) CompileComparison(piece);
        if (separator == std::wstring_view::npos) break;
        start = separator + 1;
    }
}

void TQREvaluator::CompileName(const String& name) {
    if (dataSets_ == nullptr) {
        CompileEnvironmentName(name);
        return;
    }
    const size_t dot = name.find(L'.');
    const bool qualified = dot != String::npos;
    const String dataSetName = qualified ? UpperCase(name.substr(0, dot)) : String();
    const String fieldName = UpperCase(qualified ? name.substr(dot + 1) : name);
    for (TQRDataSet* dataSet : *dataSets_) {
        if (dataSet == nullptr) continue;
        if (qualified && !SameText(dataSet->Name(), dataSetName)) continue;
        for (int i = 0; i < dataSet->FieldCount(); ++i) {
            TQRField* field = dataSet->FieldAt(i);
            if (field != nullptr && SameText(field->FieldName(), fieldName)) {
                Append(std::make_unique<TQREvElementDataField>(*dataSet, i, *field));
                return;
            }
        }
        if (qualified) break;  // only the dataset of that name is searched
    }
    CompileEnvironmentName(name);
}

void TQREvaluator::CompileEnvironmentName(const String& name) {
    std::unique_ptr<TQREvElement> element;
    if (environment_ != nullptr) element = environment_->EntryElement(name);
    if (element == nullptr || IsErrorElement(element.get())) {
        if (TQREvEnvironment* global = GetGlobalEnvironment())
            element = global->EntryElement(name);
        else
            element = std::make_unique<TQREvElementError>(Format(QRExprMessages::UnknownFunction, {name}));
    }
    Append(std::move(element));
}
