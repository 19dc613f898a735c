#include "framework/rtl/Lists.h"

#include <algorithm>
#include <string>

namespace {

[[noreturn]] void RaiseIndexError(int index) {
    throw EListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
}

}  // namespace

TList::~TList() { Clear(); }

void TList::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) RaiseIndexError(index);
}

void* TList::Items(int index) const {
    CheckIndex(index);
    return items_[index];
}

void TList::SetItem(int index, void* item) {
    CheckIndex(index);
    void* old = items_[index];
    if (old == item) return;
    items_[index] = item;
    if (old) Notify(old, lnDeleted);
    if (item) Notify(item, lnAdded);
}

int TList::Add(void* item) {
    items_.push_back(item);
    if (item) Notify(item, lnAdded);
    return Count() - 1;
}

void TList::Insert(int index, void* item) {
    if (index < 0 || index > Count()) RaiseIndexError(index);
    items_.insert(items_.begin() + index, item);
    if (item) Notify(item, lnAdded);
}

void TList::Delete(int index) {
    CheckIndex(index);
    void* item = items_[index];
    items_.erase(items_.begin() + index);
    if (item) Notify(item, lnDeleted);
}

int TList::Remove(void* item) {
    int index = IndexOf(item);
    if (index >= 0) Delete(index);
    return index;
}

void* TList::Extract(void* item) {
    int index = IndexOf(item);
    if (index < 0) return nullptr;
    items_.erase(items_.begin() + index);
    Notify(item, lnExtracted);
    return item;
}

int TList::IndexOf(void* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Clear() {
    // Items leave one at a time from the end, so a notification sees a consistent list.
    while (!items_.empty()) Delete(Count() - 1);
}

void TList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(items_[index1], items_[index2]);
}

void TList::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    void* item = items_[curIndex];
    items_.erase(items_.begin() + curIndex);
    items_.insert(items_.begin() + newIndex, item);
}

void TList::Sort(const TListSortCompare& compare) {
    std::stable_sort(items_.begin(), items_.end(), [&](void* a, void* b) { return compare(a, b) < 0; });
}

void TList::Pack() { items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end()); }

void* TList::First() const { return Items(0); }

void* TList::Last() const { return Items(Count() - 1); }

void TList::Notify(void*, TListNotification) {}

TObjectList::~TObjectList() {
    // The base destructor can no longer reach this class's Notify.
    Clear();
}

void TObjectList::Notify(void* item, TListNotification action) {
    if (ownsObjects_ && action == lnDeleted) delete static_cast<TObject*>(item);
    TList::Notify(item, action);
}
