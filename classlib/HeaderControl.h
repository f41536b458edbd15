#pragma once
// Header controls over the common control "SysHeader32": a row of Sections,
// each with its text, width and alignment.
#include <memory>
#include <string>

#include "classlib/Alignment.h"
#include "classlib/Collection.h"
#include "classlib/Controls.h"

class THeaderSection : public TCollectionItem {
    DECLARE_CLASS_INFO()
public:
    explicit THeaderSection(TCollection* collection) : TCollectionItem(collection) {}

    std::wstring Text() const { return text_; }
    void SetText(const std::wstring& v);
    int Width() const { return width_; }
    void SetWidth(int v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);

    void Assign(const TPersistent& source) override;

private:
    std::wstring text_;
    int width_ = 50;
    TAlignment alignment_ = TAlignment::taLeftJustify;
};

class THeaderSections : public TCollection {
    DECLARE_CLASS_INFO()
public:
    THeaderSections();
    THeaderSection* Add() { return static_cast<THeaderSection*>(TCollection::Add()); }
    THeaderSection* Items(int index) const { return static_cast<THeaderSection*>(TCollection::Items(index)); }
};

class THeaderControl : public TWinControl {
    DECLARE_CLASS_INFO()
public:
    explicit THeaderControl(TComponent* owner);

    THeaderSections* Sections() const { return sections_.get(); }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;

private:
    void UpdateSections();

    std::unique_ptr<THeaderSections> sections_;
};
