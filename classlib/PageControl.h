#pragma once
// Page controls: a tab control whose tabs are its TTabSheet children, one
// page shown at a time in the display area. A sheet joins the page control
// it is given as parent (as a stored layout does) and leaves it when it is
// freed or moved elsewhere.
#include <vector>

#include "classlib/TabControl.h"

class TTabSheet;

class TPageControl : public TCustomTabControl {
    DECLARE_CLASS_INFO()
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const { return TabIndex(); }
    void SetActivePageIndex(int index);

    void AlignControls(RECT& rect) override;
    void Loaded() override;

protected:
    void Change() override;
    std::vector<std::wstring> TabTexts() const override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void PageCaptionChanged() { UpdateTabs(); }
    // Only the active page is visible.
    void ShowActivePage();

    std::vector<TTabSheet*> pages_;
};

class TTabSheet : public TWinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* control) { SetParent(control); }
    int PageIndex() const;

    void SetParent(TWinControl* parent) override;

protected:
    void SetText(const std::wstring& text) override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
};
