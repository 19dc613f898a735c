#include "framework/rtl/StringList.h"

#include <algorithm>
#include <string>

#include "framework/rtl/StringUtils.h"
#include "framework/rtl/Streams.h"

namespace {

constexpr wchar_t kNameValueSeparator = L'=';

bool IsBlank(wchar_t c) { return c != L'\0' && c <= L' '; }

String Quoted(const String& s, wchar_t quote) {
    String result(1, quote);
    for (wchar_t c : s) {
        result += c;
        if (c == quote) result += quote;
    }
    result += quote;
    return result;
}

// Reads a quoted item starting at text[pos] (the opening quote); a doubled quote is a literal one.
// An unterminated item runs to the end of the text.
String ExtractQuoted(const String& text, size_t& pos, wchar_t quote) {
    String result;
    ++pos;
    while (pos < text.size()) {
        wchar_t c = text[pos++];
        if (c != quote) {
            result += c;
        } else if (pos < text.size() && text[pos] == quote) {
            result += quote;
            ++pos;
        } else {
            break;
        }
    }
    return result;
}

}  // namespace

// ---- TStrings ----

void TStrings::Put(int index, const String& text) {
    TObject* object = GetObject(index);
    BeginUpdate();
    Delete(index);
    InsertObject(index, text, object);
    EndUpdate();
}

TObject* TStrings::GetObject(int) const { return nullptr; }

void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const String& text) {
    int index = Count();
    Insert(index, text);
    return index;
}

int TStrings::AddObject(const String& text, TObject* object) {
    int index = Add(text);
    PutObject(index, object);
    return index;
}

void TStrings::InsertObject(int index, const String& text, TObject* object) {
    Insert(index, text);
    PutObject(index, object);
}

void TStrings::Exchange(int index1, int index2) {
    BeginUpdate();
    String text1 = Get(index1);
    TObject* object1 = GetObject(index1);
    Put(index1, Get(index2));
    PutObject(index1, GetObject(index2));
    Put(index2, text1);
    PutObject(index2, object1);
    EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    BeginUpdate();
    String text = Get(curIndex);
    TObject* object = GetObject(curIndex);
    // Insert before deleting: a list that refuses the insertion (sorted, bad index) stays intact,
    // and the object is detached from its old line so an owning list does not free it.
    int insertAt = newIndex > curIndex ? newIndex + 1 : newIndex;
    int deleteAt = newIndex > curIndex ? curIndex : curIndex + 1;
    try {
        InsertObject(insertAt, text, object);
    } catch (...) {
        EndUpdate();
        throw;
    }
    PutObject(deleteAt, nullptr);
    Delete(deleteAt);
    EndUpdate();
}

int TStrings::IndexOf(const String& text) const {
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Get(i), text) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(const String& name) const {
    for (int i = 0; i < Count(); ++i) {
        String line = Get(i);
        auto separator = line.find(kNameValueSeparator);
        if (separator != String::npos && CompareStrings(line.substr(0, separator), name) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(TObject* object) const {
    for (int i = 0; i < Count(); ++i)
        if (GetObject(i) == object) return i;
    return -1;
}

String TStrings::Names(int index) const {
    String line = Get(index);
    auto separator = line.find(kNameValueSeparator);
    return separator == String::npos ? String() : line.substr(0, separator);
}

String TStrings::Values(const String& name) const {
    int index = IndexOfName(name);
    return index < 0 ? String() : ValueFromIndex(index);
}

void TStrings::SetValues(const String& name, const String& value) {
    int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0) Delete(index);
    } else if (index < 0) {
        Add(name + kNameValueSeparator + value);
    } else {
        Put(index, name + kNameValueSeparator + value);
    }
}

String TStrings::ValueFromIndex(int index) const {
    String line = Get(index);
    auto separator = line.find(kNameValueSeparator);
    return separator == String::npos ? String() : line.substr(separator + 1);
}

void TStrings::SetValueFromIndex(int index, const String& value) {
    if (value.empty()) {
        Delete(index);
    } else {
        Put(index, Names(index) + kNameValueSeparator + value);
    }
}

String TStrings::Text() const {
    String result;
    for (int i = 0; i < Count(); ++i) {
        result += Get(i);
        result += L"\r\n";
    }
    return result;
}

void TStrings::SetText(const String& text) {
    BeginUpdate();
    Clear();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of(L"\r\n", pos);
        if (end == String::npos) end = text.size();
        Add(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == L'\r') ++pos;
        if (pos < text.size() && text[pos] == L'\n') ++pos;
    }
    EndUpdate();
}

String TStrings::DelimitedTextWith(wchar_t delimiter, wchar_t quoteChar) const {
    // A single empty line must stay distinguishable from an empty list.
    if (Count() == 1 && Get(0).empty()) return String(2, quoteChar);
    String result;
    for (int i = 0; i < Count(); ++i) {
        String line = Get(i);
        bool needsQuotes = std::any_of(line.begin(), line.end(), [&](wchar_t c) {
            return c <= L' ' || c == quoteChar || c == delimiter;
        });
        if (i > 0) result += delimiter;
        result += needsQuotes ? Quoted(line, quoteChar) : line;
    }
    return result;
}

void TStrings::SetDelimitedTextWith(const String& text, wchar_t delimiter, wchar_t quoteChar) {
    BeginUpdate();
    Clear();
    size_t pos = 0;
    auto skipBlanks = [&] {
        while (pos < text.size() && IsBlank(text[pos])) ++pos;
    };
    skipBlanks();
    while (pos < text.size()) {
        String item;
        if (text[pos] == quoteChar) {
            item = ExtractQuoted(text, pos, quoteChar);
        } else {
            size_t start = pos;
            while (pos < text.size() && text[pos] > L' ' && text[pos] != delimiter) ++pos;
            item = text.substr(start, pos - start);
        }
        Add(item);
        skipBlanks();
        if (pos < text.size() && text[pos] == delimiter) {
            ++pos;
            // A trailing delimiter stands for one more, empty item.
            if (pos == text.size()) Add(String());
            skipBlanks();
        } else if (pos < text.size() && text[pos] == L'\0') {
            ++pos;
        }
    }
    EndUpdate();
}

String TStrings::DelimitedText() const { return DelimitedTextWith(delimiter_, quoteChar_); }

void TStrings::SetDelimitedText(const String& text) { SetDelimitedTextWith(text, delimiter_, quoteChar_); }

String TStrings::CommaText() const { return DelimitedTextWith(L',', L'"'); }

void TStrings::SetCommaText(const String& text) { SetDelimitedTextWith(text, L',', L'"'); }

void TStrings::Assign(const TStrings& source) {
    if (&source == this) return;
    BeginUpdate();
    Clear();
    delimiter_ = source.delimiter_;
    quoteChar_ = source.quoteChar_;
    AddStrings(source);
    EndUpdate();
}

void TStrings::AddStrings(const TStrings& source) {
    BeginUpdate();
    // Counted first so adding a list to itself terminates.
    int count = source.Count();
    for (int i = 0; i < count; ++i) AddObject(source.Get(i), source.GetObject(i));
    EndUpdate();
}

bool TStrings::Equals(const TStrings& other) const {
    if (Count() != other.Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != other.Get(i)) return false;
    return true;
}

void TStrings::BeginUpdate() {
    if (updateCount_ == 0) SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate() {
    if (updateCount_ == 0) return;
    --updateCount_;
    if (updateCount_ == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

int TStrings::CompareStrings(const String& s1, const String& s2) const { return AnsiCompareText(s1, s2); }

void TStrings::LoadFromStream(TStream& stream) {
    Int64 size = stream.Size() - stream.Position();
    std::string bytes(static_cast<size_t>(std::max<Int64>(size, 0)), '\0');
    if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    SetText(AnsiToString(bytes));
}

void TStrings::SaveToStream(TStream& stream) const {
    std::string bytes = StringToAnsi(Text());
    stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}

void TStrings::LoadFromFile(const String& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TStrings::SaveToFile(const String& fileName) const {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

// ---- TStringList ----

TStringList::~TStringList() {
    // Not Clear(): destruction notifies nobody.
    if (ownsObjects_)
        for (Item& item : items_) delete item.object;
}

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EStringListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
}

String TStringList::Get(int index) const {
    CheckIndex(index);
    return items_[index].text;
}

void TStringList::Put(int index, const String& text) {
    if (sorted_) throw EStringListError(L"Operation not allowed on sorted list");
    CheckIndex(index);
    Changing();
    items_[index].text = text;
    Changed();
}

TObject* TStringList::GetObject(int index) const {
    CheckIndex(index);
    return items_[index].object;
}

void TStringList::PutObject(int index, TObject* object) {
    CheckIndex(index);
    Changing();
    items_[index].object = object;
    Changed();
}

int TStringList::Add(const String& text) { return AddObject(text, nullptr); }

int TStringList::AddObject(const String& text, TObject* object) {
    int index = Count();
    if (sorted_ && Find(text, index)) {
        if (duplicates_ == dupIgnore) return index;
        if (duplicates_ == dupError) throw EStringListError(L"String list does not allow duplicates");
    }
    InsertItem(index, text, object);
    return index;
}

void TStringList::Insert(int index, const String& text) { InsertObject(index, text, nullptr); }

void TStringList::InsertObject(int index, const String& text, TObject* object) {
    if (sorted_) throw EStringListError(L"Operation not allowed on sorted list");
    if (index < 0 || index > Count())
        throw EStringListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
    InsertItem(index, text, object);
}

void TStringList::InsertItem(int index, const String& text, TObject* object) {
    Changing();
    items_.insert(items_.begin() + index, Item{text, object});
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    TObject* object = items_[index].object;
    items_.erase(items_.begin() + index);
    if (ownsObjects_) delete object;
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    std::vector<Item> old;
    old.swap(items_);
    if (ownsObjects_)
        for (Item& item : old) delete item.object;
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(items_[index1], items_[index2]);
    Changed();
}

int TStringList::IndexOf(const String& text) const {
    if (!sorted_) return TStrings::IndexOf(text);
    int index;
    return Find(text, index) ? index : -1;
}

bool TStringList::Find(const String& text, int& index) const {
    // Finds the first of equal entries, so an accepted duplicate goes before its twins.
    int low = 0;
    int high = Count() - 1;
    bool found = false;
    while (low <= high) {
        int middle = low + (high - low) / 2;
        int comparison = CompareStrings(items_[middle].text, text);
        if (comparison < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            if (comparison == 0) found = true;
        }
    }
    index = low;
    return found;
}

void TStringList::Sort() {
    CustomSort([](TStringList& list, int i, int j) {
        return list.CompareStrings(list.items_[i].text, list.items_[j].text);
    });
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
    if (Count() < 2) return;
    Changing();
    // The comparison works on indexes, so sort a permutation and apply it afterwards.
    std::vector<int> order(items_.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (int i : order) sorted.push_back(std::move(items_[i]));
    items_.swap(sorted);
    Changed();
}

void TStringList::SetSorted(bool sorted) {
    if (sorted_ == sorted) return;
    if (sorted) Sort();
    sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
    if (caseSensitive_ == caseSensitive) return;
    caseSensitive_ = caseSensitive;
    if (sorted_) Sort();
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

int TStringList::CompareStrings(const String& s1, const String& s2) const {
    return caseSensitive_ ? AnsiCompareStr(s1, s2) : AnsiCompareText(s1, s2);
}
