#include "skin/controls/SkinScrollbarH.h"

#include "skin/controls/WScrollbar.h"

const TClassInfo& TSkinScrollbarH::StaticClass() {
    static const TClassInfo info(L"TSkinScrollbarH", &TSkinScrollbar::StaticClass(), {});
    return info;
}

void TSkinScrollbarH::AttachHandle(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
    TSkinControl::AttachHandle(wnd, skinData, form, canvas);
    if (!Attached) return;
    HorzBar = TComponent::Create<TWScrollbar>(this);
    HorzBar->AttachToWindow(this, wnd, TWScrollbar::kHorzBar);
    VertBar = TComponent::Create<TWScrollbar>(this);
    VertBar->AttachToWindow(this, wnd, TWScrollbar::kVertBar);
}

bool TSkinScrollbarH::BeforeMessage(TMessage& m) {
    if (m.Msg == WM_DESTROY) HideBars();
    return TSkinControl::BeforeMessage(m);
}

void TSkinScrollbarH::AfterMessage(TMessage& m) {
    TSkinControl::AfterMessage(m);
    if (m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY) return;
    if (VertBar && !IsWindowVisible(Window)) VertBar->HideOverlay();
    switch (m.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
    case WM_WINDOWPOSCHANGED:
        PlaceBars();
        return;
    case WM_HSCROLL:
    case WM_VSCROLL:
        ShowScrollCode(m);
        return;
    default:
        if (!MayScroll(m.Msg)) return;
        for (TWScrollbar* bar : {HorzBar, VertBar})
            if (bar) bar->RefreshIfChanged();
    }
}
