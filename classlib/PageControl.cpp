#include "classlib/PageControl.h"

#include <algorithm>

// ---------------------------------------------------------------- TPageControl

const TClassInfo& TPageControl::StaticClass() {
    static const TClassInfo info(L"TPageControl", &TCustomTabControl::StaticClass(),
                                 {
                                     props::Reference(L"ActivePage", &TPageControl::ActivePage,
                                                      &TPageControl::SetActivePage),
                                 });
    return info;
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
    // The sheets may outlive this object (their owner frees them): they must
    // not call back into it.
    for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
    pages_.clear();
}

std::vector<std::wstring> TPageControl::TabTexts() const {
    std::vector<std::wstring> texts;
    for (const TTabSheet* page : pages_) texts.push_back(page->Caption());
    return texts;
}

TTabSheet* TPageControl::ActivePage() const {
    return tabIndex_ >= 0 && tabIndex_ < PageCount() ? pages_[static_cast<std::size_t>(tabIndex_)] : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
    const auto found = std::find(pages_.begin(), pages_.end(), page);
    SetActivePageIndex(found == pages_.end() ? -1 : static_cast<int>(found - pages_.begin()));
}

void TPageControl::SetActivePageIndex(int index) {
    SetTabIndex(index);
    ShowActivePage();
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    if (tabIndex_ < 0) tabIndex_ = 0;
    UpdateTabs();
    ShowActivePage();
}

void TPageControl::RemovePage(TTabSheet* page) {
    const auto found = std::find(pages_.begin(), pages_.end(), page);
    if (found == pages_.end()) return;
    const int index = static_cast<int>(found - pages_.begin());
    pages_.erase(found);
    // The page after a removed active one takes its place; the last page's
    // place goes to the one before.
    if (index < tabIndex_ || tabIndex_ >= PageCount()) --tabIndex_;
    if (tabIndex_ < 0 && PageCount() > 0) tabIndex_ = 0;
    UpdateTabs();
    ShowActivePage();
}

void TPageControl::ShowActivePage() {
    if (IsLoading()) return;
    TTabSheet* active = ActivePage();
    // Show the new page before hiding the old, so the area never flashes empty.
    if (active) active->SetVisible(true);
    for (TTabSheet* page : pages_)
        if (page != active) page->SetVisible(false);
}

void TPageControl::Change() {
    ShowActivePage();
    TCustomTabControl::Change();
}

void TPageControl::Loaded() {
    TCustomTabControl::Loaded();
    ShowActivePage();
}

void TPageControl::AlignControls(RECT& rect) {
    rect = DisplayRect();
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    // A page moved asks its parent to align again: only pages out of place move.
    for (TTabSheet* page : pages_)
        if (page->Left() != rect.left || page->Top() != rect.top || page->Width() != width || page->Height() != height)
            page->SetBounds(rect.left, rect.top, width, height);
    TCustomTabControl::AlignControls(rect);
}

// ---------------------------------------------------------------- TTabSheet

const TClassInfo& TTabSheet::StaticClass() {
    static const TClassInfo info(L"TTabSheet", &TWinControl::StaticClass(),
                                 {
                                     props::Reference(L"PageControl", &TTabSheet::PageControl,
                                                      &TTabSheet::SetPageControl),
                                 });
    return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) { SetVisible(false); }

TTabSheet::~TTabSheet() {
    if (pageControl_) pageControl_->RemovePage(this);
    pageControl_ = nullptr;
}

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    for (int i = 0; i < pageControl_->PageCount(); ++i)
        if (pageControl_->Pages(i) == this) return i;
    return -1;
}

void TTabSheet::SetParent(TWinControl* parent) {
    if (pageControl_ && parent != pageControl_) {
        TPageControl* old = pageControl_;
        pageControl_ = nullptr;
        old->RemovePage(this);
    }
    TWinControl::SetParent(parent);
    auto* pages = As<TPageControl>(parent);
    if (pages && pages != pageControl_) {
        pageControl_ = pages;
        pages->InsertPage(this);
    }
}

void TTabSheet::SetText(const std::wstring& text) {
    TWinControl::SetText(text);
    if (pageControl_) pageControl_->PageCaptionChanged();
}
