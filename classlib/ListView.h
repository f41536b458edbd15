#pragma once
// List views over the common control "SysListView32": Columns (caption and
// width of each) and Items (one caption per row), in one of the four view
// styles. Both are the source of what the window shows, pushed into it
// whenever they change or the window is made.
#include <memory>
#include <string>

#include "classlib/Collection.h"
#include "classlib/Controls.h"
#include "classlib/Strings.h"

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TListColumn : public TCollectionItem {
    DECLARE_CLASS_INFO()
public:
    explicit TListColumn(TCollection* collection) : TCollectionItem(collection) {}

    std::wstring Caption() const { return caption_; }
    void SetCaption(const std::wstring& v);
    int Width() const { return width_; }
    void SetWidth(int v);

private:
    std::wstring caption_;
    int width_ = 50;
};

class TListColumns : public TCollection {
    DECLARE_CLASS_INFO()
public:
    TListColumns();
    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
    TListColumn* Items(int index) const { return static_cast<TListColumn*>(TCollection::Items(index)); }
};

class TCustomListView : public TWinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;

    TListColumns* Columns() const { return columns_.get(); }
    TStrings* Items() const { return items_.get(); }
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle v);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;

private:
    void FillColumns();
    void FillItems();

    std::unique_ptr<TListColumns> columns_;
    std::unique_ptr<TStringList> items_;
    TViewStyle viewStyle_ = TViewStyle::vsIcon;
};

class TListView : public TCustomListView {
    DECLARE_CLASS_INFO()
public:
    explicit TListView(TComponent* owner) : TCustomListView(owner) {}
};
