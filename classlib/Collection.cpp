#include "classlib/Collection.h"

#include <stdexcept>

const TClassInfo& TCollectionItem::StaticClass() {
    static const TClassInfo info(L"TCollectionItem", &TPersistent::StaticClass());
    return info;
}

int TCollectionItem::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

void TCollectionItem::Changed() {
    if (collection_) collection_->Changed();
}

const TClassInfo& TCollection::StaticClass() {
    static const TClassInfo info(L"TCollection", &TPersistent::StaticClass());
    return info;
}

TCollectionItem* TCollection::Add() {
    items_.push_back(factory_(this));
    Changed();
    return items_.back().get();
}

void TCollection::Delete(int index) {
    if (index < 0 || index >= Count()) throw std::out_of_range("TCollection::Delete: index out of bounds");
    items_.erase(items_.begin() + index);
    Changed();
}

void TCollection::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed();
}

int TCollection::IndexOf(const TCollectionItem* item) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item) return static_cast<int>(i);
    return -1;
}
