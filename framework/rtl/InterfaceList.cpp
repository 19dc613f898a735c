#include "framework/rtl/InterfaceList.h"

#include <algorithm>
#include <string>

TInterfaceList::~TInterfaceList() { Clear(); }

void TInterfaceList::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
}

IUnknown* TInterfaceList::Items(int index) const {
    CheckIndex(index);
    return items_[index];
}

void TInterfaceList::SetItem(int index, IUnknown* item) {
    CheckIndex(index);
    if (item) item->AddRef();
    IUnknown* old = items_[index];
    items_[index] = item;
    if (old) old->Release();
}

int TInterfaceList::Add(IUnknown* item) {
    items_.push_back(item);
    if (item) item->AddRef();
    return Count() - 1;
}

void TInterfaceList::Insert(int index, IUnknown* item) {
    if (index < 0 || index > Count())
        throw EListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
    items_.insert(items_.begin() + index, item);
    if (item) item->AddRef();
}

void TInterfaceList::Delete(int index) {
    CheckIndex(index);
    IUnknown* item = items_[index];
    items_.erase(items_.begin() + index);
    // Released after leaving the list: its destructor may look at the list.
    if (item) item->Release();
}

int TInterfaceList::Remove(IUnknown* item) {
    int index = IndexOf(item);
    if (index >= 0) Delete(index);
    return index;
}

int TInterfaceList::IndexOf(IUnknown* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TInterfaceList::Clear() {
    while (!items_.empty()) Delete(Count() - 1);
}

void TInterfaceList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(items_[index1], items_[index2]);
}

IUnknown* TInterfaceList::First() const { return Items(0); }

IUnknown* TInterfaceList::Last() const { return Items(Count() - 1); }
