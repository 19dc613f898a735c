// Collections: owned lists of items of one class, stored as "< item ... end >".
#pragma once

#include <vector>

#include "framework/classes/Persistent.h"

class TCollection;

class TCollectionItem : public TPersistent {
    FV_CLASS(TCollectionItem, TPersistent)
public:
    // Joins collection (at the end) when it is not null.
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return collection_; }
    int Index() const;
    String GetNamePath() const override;  // "Owner.Columns[2]"

protected:
    TPersistent* GetOwner() const override;

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
};

class TCollection : public TPersistent {
    FV_CLASS(TCollection, TPersistent)
public:
    // itemClass must derive from TCollectionItem and be creatable by name; owner is the object
    // whose property the collection is (for name paths).
    explicit TCollection(TClass itemClass, TPersistent* owner = nullptr);
    ~TCollection() override;

    TClass ItemClass() const { return itemClass_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const;  // raises EListError out of range
    TCollectionItem* Add();
    void Delete(int index);
    void Clear();
    String GetNamePath() const override;

protected:
    TPersistent* GetOwner() const override { return owner_; }

private:
    friend class TCollectionItem;
    TClass itemClass_;
    TPersistent* owner_;
    std::vector<TCollectionItem*> items_;
};
