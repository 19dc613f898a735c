// Pointer and object lists with index checking.
#pragma once

#include <functional>
#include <vector>

#include "framework/rtl/System.h"

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// Returns <0, 0 or >0 as item1 sorts before, with or after item2.
using TListSortCompare = std::function<int(void* item1, void* item2)>;

// An ordered list of untyped pointers. Index errors raise EListError.
class TList : public TObject {
public:
    TList() = default;
    ~TList() override;
    String ClassName() const override { return L"TList"; }

    int Count() const { return static_cast<int>(items_.size()); }
    void* Items(int index) const;
    void* operator[](int index) const { return Items(index); }
    void SetItem(int index, void* item);

    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    int Remove(void* item);     // index the item had, or -1
    void* Extract(void* item);  // removes without lnDeleted; nullptr when absent
    int IndexOf(void* item) const;
    void Clear();
    void Exchange(int index1, int index2);
    void Move(int curIndex, int newIndex);
    void Sort(const TListSortCompare& compare);
    void Pack();  // removes nil entries
    void* First() const;
    void* Last() const;

protected:
    // Called after an item entered or left the list.
    virtual void Notify(void* item, TListNotification action);
    void CheckIndex(int index) const;

private:
    std::vector<void*> items_;
};

// A list of objects that, while OwnsObjects is true, frees every object it deletes or clears.
class TObjectList : public TList {
public:
    explicit TObjectList(bool ownsObjects = true) : ownsObjects_(ownsObjects) {}
    ~TObjectList() override;
    String ClassName() const override { return L"TObjectList"; }

    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool owns) { ownsObjects_ = owns; }

    TObject* Items(int index) const { return static_cast<TObject*>(TList::Items(index)); }
    TObject* operator[](int index) const { return Items(index); }
    void SetItem(int index, TObject* item) { TList::SetItem(index, item); }
    int Add(TObject* item) { return TList::Add(item); }
    void Insert(int index, TObject* item) { TList::Insert(index, item); }
    int Remove(TObject* item) { return TList::Remove(item); }
    TObject* Extract(TObject* item) { return static_cast<TObject*>(TList::Extract(item)); }
    int IndexOf(TObject* item) const { return TList::IndexOf(item); }
    TObject* First() const { return static_cast<TObject*>(TList::First()); }
    TObject* Last() const { return static_cast<TObject*>(TList::Last()); }

protected:
    void Notify(void* item, TListNotification action) override;

private:
    bool ownsObjects_;
};
