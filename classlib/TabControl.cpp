#include "classlib/TabControl.h"

#include <commctrl.h>

#include "classlib/Messages.h"

// ---------------------------------------------------------------- TCustomTabControl

const TClassInfo& TCustomTabControl::StaticClass() {
    static const TClassInfo info(
        L"TCustomTabControl", &TWinControl::StaticClass(),
        {
            props::Enumeration(L"TabPosition", &TCustomTabControl::TabPosition, &TCustomTabControl::SetTabPosition,
                               {L"tpTop", L"tpBottom", L"tpLeft", L"tpRight"}),
            props::Enumeration(L"Style", &TCustomTabControl::Style, &TCustomTabControl::SetStyle,
                               {L"tsTabs", L"tsButtons", L"tsFlatButtons"}),
            props::Boolean(L"MultiLine", &TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine),
            props::Event(L"OnChange", &TCustomTabControl::OnChange),
        });
    return info;
}

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
}

void TCustomTabControl::CreateParams(TCreateParams& p) {
    const INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_TABCONTROLW);
    p.Style |= WS_CLIPCHILDREN;
    switch (tabPosition_) {
    case TTabPosition::tpTop: break;
    case TTabPosition::tpBottom: p.Style |= TCS_BOTTOM; break;
    case TTabPosition::tpLeft: p.Style |= TCS_VERTICAL; break;
    case TTabPosition::tpRight: p.Style |= TCS_VERTICAL | TCS_RIGHT; break;
    }
    // Side tabs only exist in several rows.
    if (multiLine_ || (p.Style & TCS_VERTICAL)) p.Style |= TCS_MULTILINE;
    if (style_ == TTabStyle::tsButtons) p.Style |= TCS_BUTTONS;
    if (style_ == TTabStyle::tsFlatButtons) p.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
}

void TCustomTabControl::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    UpdateTabs();
    Realign();
}

void TCustomTabControl::Loaded() {
    TWinControl::Loaded();
    UpdateTabs();
}

void TCustomTabControl::UpdateTabs() {
    if (!HandleAllocated() || IsLoading()) return;
    HWND wnd = WindowHandle();
    const std::vector<std::wstring> texts = TabTexts();
    if (tabIndex_ >= static_cast<int>(texts.size())) tabIndex_ = static_cast<int>(texts.size()) - 1;
    SendMessageW(wnd, TCM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        std::wstring text = texts[i];
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(wnd, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(wnd, TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_), 0);
    Realign();
    Invalidate();
}

void TCustomTabControl::SetTabIndex(int v) {
    if (v < -1) v = -1;
    if (v == tabIndex_) return;
    tabIndex_ = v;
    if (HandleAllocated() && !IsLoading()) SendMessageW(WindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(v), 0);
}

void TCustomTabControl::SetTabPosition(TTabPosition v) {
    if (v == tabPosition_) return;
    tabPosition_ = v;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomTabControl::SetStyle(TTabStyle v) {
    if (v == style_) return;
    style_ = v;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomTabControl::SetMultiLine(bool v) {
    if (v == multiLine_) return;
    multiLine_ = v;
    if (HandleAllocated()) RecreateWnd();
}

RECT TCustomTabControl::DisplayRect() {
    RECT r = ClientRect();
    if (HandleAllocated()) SendMessageW(WindowHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

void TCustomTabControl::AlignControls(RECT& rect) {
    rect = DisplayRect();
    TWinControl::AlignControls(rect);
}

void TCustomTabControl::WndProc(TMessage& m) {
    if (m.Msg == CN_NOTIFY && HandleAllocated()) {
        if (reinterpret_cast<const NMHDR*>(m.LParam)->code == TCN_SELCHANGE) {
            tabIndex_ = static_cast<int>(SendMessageW(WindowHandle(), TCM_GETCURSEL, 0, 0));
            Change();
        }
        return;
    }
    TWinControl::WndProc(m);
}

void TCustomTabControl::Change() {
    if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------- TTabControl

const TClassInfo& TTabControl::StaticClass() {
    static const TClassInfo info(L"TTabControl", &TCustomTabControl::StaticClass(),
                                 {
                                     props::Object(L"Tabs", &TTabControl::Tabs),
                                     props::Integer(L"TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex),
                                 });
    return info;
}

TTabControl::TTabControl(TComponent* owner) : TCustomTabControl(owner), tabs_(std::make_unique<TStringList>()) {
    tabs_->OnChange = [this](TObject*) { UpdateTabs(); };
}
