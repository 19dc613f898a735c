#include "framework/classes/Collection.h"

#include <algorithm>
#include <memory>

#include "framework/rtl/Format.h"

TCollectionItem::TCollectionItem(TCollection* collection) : collection_(collection) {
    if (collection_ != nullptr) collection_->items_.push_back(this);
}

TCollectionItem::~TCollectionItem() {
    if (collection_ == nullptr) return;
    auto& items = collection_->items_;
    auto it = std::find(items.begin(), items.end(), this);
    if (it != items.end()) items.erase(it);
}

int TCollectionItem::Index() const {
    if (collection_ == nullptr) return -1;
    const auto& items = collection_->items_;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

TPersistent* TCollectionItem::GetOwner() const {
    return collection_;
}

String TCollectionItem::GetNamePath() const {
    if (collection_ == nullptr) return ClassName();
    return Format(L"%s[%d]", {collection_->GetNamePath(), Index()});
}

TCollection::TCollection(TClass itemClass, TPersistent* owner) : itemClass_(itemClass), owner_(owner) {
    if (itemClass_ == nullptr || !itemClass_->InheritsFrom(TCollectionItem::StaticClass()) ||
        itemClass_->Factory == nullptr)
        throw EInvalidArgument(L"A collection needs a creatable item class");
}

TCollection::~TCollection() {
    Clear();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(Format(L"List index out of bounds (%d)", {index}));
    return items_[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() {
    // The item joins the list in its constructor; the factory's result is that same object.
    std::unique_ptr<TObject> created(itemClass_->Factory(this));
    auto* item = dynamic_cast<TCollectionItem*>(created.get());
    if (item == nullptr || item->collection_ != this)
        throw EInvalidArgument(L"A collection item must join the collection it is created for");
    created.release();
    return item;
}

void TCollection::Delete(int index) {
    delete Items(index);
}

void TCollection::Clear() {
    while (!items_.empty()) delete items_.back();
}

String TCollection::GetNamePath() const {
    // The owner's property that holds this collection names it.
    if (owner_ == nullptr) return ClassName();
    String ownerPath = owner_->GetNamePath();
    for (const TPropInfo* prop : PublishedProperties(owner_->ClassType())) {
        if (prop->Kind == TTypeKind::Collection &&
            prop->GetObject(owner_) == this)
            return ownerPath.empty() ? prop->Name : ownerPath + L"." + prop->Name;
    }
    return ownerPath.empty() ? ClassName() : ownerPath + L"." + ClassName();
}
