#pragma once
// Collections: owned lists of items of one class with published properties
// (a status bar's panels). Stored layouts write them as "< item ... end >".
#include <functional>
#include <memory>
#include <vector>

#include "classlib/Component.h"

class TCollection;

class TCollectionItem : public TPersistent {
    DECLARE_CLASS_INFO()
public:
    explicit TCollectionItem(TCollection* collection) : collection_(collection) {}
    TCollection* Collection() const { return collection_; }
    int Index() const;

protected:
    // Tells the collection (and its owner) that this item changed.
    void Changed();

private:
    TCollection* collection_;
};

class TCollection : public TPersistent {
    DECLARE_CLASS_INFO()
public:
    using ItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection*)>;
    explicit TCollection(ItemFactory factory) : factory_(std::move(factory)) {}

    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)).get(); }
    TCollectionItem* Add();
    void Delete(int index);
    void Clear();
    int IndexOf(const TCollectionItem* item) const;

    // Runs after any change (item added, removed or changed).
    std::function<void(TCollection*)> OnUpdate;
    void Changed() {
        if (OnUpdate) OnUpdate(this);
    }

private:
    ItemFactory factory_;
    std::vector<std::unique_ptr<TCollectionItem>> items_;
};
