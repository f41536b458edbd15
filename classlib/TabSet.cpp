#include "classlib/TabSet.h"

#include <algorithm>

#include "classlib/Canvas.h"
#include "classlib/Handles.h"

// ---------------------------------------------------------------- TScroller

const TClassInfo& TScroller::StaticClass() {
    static const TClassInfo info(L"TScroller", &TCustomControl::StaticClass(), {});
    return info;
}

TScroller::TScroller(TComponent* owner, TTabSet& tabSet) : TCustomControl(owner), tabSet_(tabSet) {
    SetBounds(0, 0, kWidth, 16);
    SetVisible(false);
}

void TScroller::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft) return;
    tabSet_.SetFirstIndex(tabSet_.FirstIndex() + (x < Width() / 2 ? -1 : 1));
}

void TScroller::Paint() {
    HDC dc = Canvas()->Handle();
    const int half = Width() / 2;
    RECT left{0, 0, half, Height()}, right{half, 0, Width(), Height()};
    DrawFrameControl(dc, &left, DFC_SCROLL, DFCS_SCROLLLEFT);
    DrawFrameControl(dc, &right, DFC_SCROLL, DFCS_SCROLLRIGHT);
}

// ---------------------------------------------------------------- TTabSet

const TClassInfo& TTabSet::StaticClass() {
    static const TClassInfo info(
        L"TTabSet", &TCustomControl::StaticClass(),
        {
            props::Object(L"Tabs", &TTabSet::Tabs),
            props::Integer(L"TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex),
            props::Integer(L"FirstIndex", &TTabSet::FirstIndex, &TTabSet::SetFirstIndex),
            props::Integer(L"StartMargin", &TTabSet::StartMargin, &TTabSet::SetStartMargin),
            props::Integer(L"EndMargin", &TTabSet::EndMargin, &TTabSet::SetEndMargin),
            props::Event(L"OnChange", &TTabSet::OnChange),
        });
    return info;
}

TTabSet::TTabSet(TComponent* owner)
    : TCustomControl(owner), tabs_(std::make_unique<TStringList>()),
      scroller_(TComponent::Create<TScroller>(this, *this)) {
    scroller_->SetParent(this);
    SetBounds(0, 0, 185, 21);
    tabs_->OnChange = [this](TObject*) {
        if (tabIndex_ >= tabs_->Count()) tabIndex_ = tabs_->Count() - 1;
        Rearrange();
    };
}

void TTabSet::Loaded() {
    TCustomControl::Loaded();
    Rearrange();
}

void TTabSet::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    // Whoever paints the tabs leaves the scroller alone.
    p.Style |= WS_CLIPCHILDREN;
}

void TTabSet::CreateHandleDone() {
    TCustomControl::CreateHandleDone();
    Rearrange();
}

void TTabSet::SetBounds(int left, int top, int width, int height) {
    TCustomControl::SetBounds(left, top, width, height);
    Rearrange();
}

void TTabSet::SetTabIndex(int v) {
    v = std::max(-1, v);
    if (v == tabIndex_) return;
    tabIndex_ = v;
    if (!IsLoading() && OnChange) OnChange(this);
    Invalidate();
}

void TTabSet::SetFirstIndex(int v) {
    v = std::clamp(v, 0, std::max(0, tabs_->Count() - 1));
    if (v == firstIndex_) return;
    firstIndex_ = v;
    Rearrange();
}

void TTabSet::SetStartMargin(int v) {
    startMargin_ = std::max(0, v);
    Rearrange();
}

void TTabSet::SetEndMargin(int v) {
    endMargin_ = std::max(0, v);
    Rearrange();
}

int TTabSet::TabWidth(const std::wstring& caption) {
    if (!HandleAllocated()) return static_cast<int>(caption.size()) * 7 + kTabPadding;
    WindowDC dc(WindowHandle());
    SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(WindowHandle(), WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &size);
    return size.cx + kTabPadding;
}

std::vector<RECT> TTabSet::VisibleTabs() {
    std::vector<RECT> tabs;
    const int limit = Width() - endMargin_ - (scroller_->Visible() ? kScrollerRoom : kPlainRoom);
    int x = startMargin_;
    for (int i = firstIndex_; i < tabs_->Count(); ++i) {
        const int width = TabWidth(tabs_->Get(i));
        if (x + width >= limit) break;
        tabs.push_back(RECT{x, 0, x + width, Height()});
        x += width;
    }
    return tabs;
}

void TTabSet::Rearrange() {
    if (IsLoading()) return;
    // The scroller shows while some tab lies out of sight on either side.
    scroller_->SetVisible(false);
    const bool hidden = firstIndex_ > 0 || firstIndex_ + static_cast<int>(VisibleTabs().size()) < tabs_->Count();
    scroller_->SetBounds(Width() - endMargin_ - TScroller::kWidth, 2, TScroller::kWidth, std::max(0, Height() - 4));
    scroller_->SetVisible(hidden);
    Invalidate();
}

void TTabSet::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft) return;
    const std::vector<RECT> tabs = VisibleTabs();
    for (std::size_t i = 0; i < tabs.size(); ++i)
        if (PtInRect(&tabs[i], POINT{x, y})) SetTabIndex(firstIndex_ + static_cast<int>(i));
}

void TTabSet::Paint() {
    HDC dc = Canvas()->Handle();
    const RECT client = ClientRect();
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    const std::vector<RECT> tabs = VisibleTabs();
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        const int index = firstIndex_ + static_cast<int>(i);
        RECT r = tabs[i];
        r.bottom -= 2;
        FillRect(dc, &r, GetSysColorBrush(index == tabIndex_ ? COLOR_WINDOW : COLOR_BTNFACE));
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        const std::wstring caption = tabs_->Get(index);
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}
