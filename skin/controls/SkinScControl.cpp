#include "skin/controls/SkinScControl.h"

#include "classlib/Messages.h"
#include "skin/controls/WScrollbar.h"

const TClassInfo& TSkinScControl::StaticClass() {
    static const TClassInfo info(L"TSkinScControl", &TSkinControl::StaticClass(), {});
    return info;
}

TSkinScControl::~TSkinScControl() { FreeBar(); }

void TSkinScControl::Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) {
    if (Attached) return;
    TSkinControl::Attach(form, skinData, colourFlag, canvas);
    if (!Attached || !Window) return;
    Bar = TComponent::Create<TWScrollbar>(this);
    Bar->SetShowHint(Control->ShowHint());
    Bar->SetHint(Control->Hint());
    Bar->AttachToControl(this, Control, TWScrollbar::kControlBar);
    if (!Control->Visible()) Bar->HideOverlay();
}

void TSkinScControl::FreeBar() {
    if (!Bar) return;
    Bar->Free();
    Bar = nullptr;
}

bool TSkinScControl::BeforeMessage(TMessage& m) {
    if (m.Msg == WM_DESTROY && Bar) Bar->HideOverlay();
    return TSkinControl::BeforeMessage(m);
}

void TSkinScControl::AfterMessage(TMessage& m) {
    TSkinControl::AfterMessage(m);
    if (!Bar || m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY) return;
    switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
    case WM_NCPAINT:
        if (auto* windowed = As<TWinControl>(Control)) Window = windowed->WindowHandle();
        Bar->PlaceOverBar(Window);
        return;
    case CM_VISIBLECHANGED:
        if (m.WParam) Bar->PlaceOverBar(Window);
        else Bar->HideOverlay();
        return;
    case SBM_SETSCROLLINFO:
    case CN_VSCROLL:
        Bar->RepaintNow();
        return;
    default:
        // Moved by the keyboard or by code: the thumb follows at once.
        Bar->RefreshIfChanged();
    }
}

void TSkinScControl::Draw(HDC, const RECT&) {
    if (Bar) Bar->RepaintNow();
}

void TSkinScControl::Detach() {
    TSkinControl::Detach();
    if (State != kStateClosed) FreeBar();
}
