#include "classlib/Button.h"

#include "classlib/Menus.h"

// ---------------------------------------------------------------- TButtonControl

const TClassInfo& TButtonControl::StaticClass() {
    static const TClassInfo info(L"TButtonControl", &TWinControl::StaticClass());
    return info;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
    // The Windows button captures the mouse and reports the click itself.
    ControlStyle = csSetCaption;
    SetTabStop(true);
}

void TButtonControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // Take the focus first; if someone refused it (a validating OnExit),
        // the press is dropped, and so is a click it might produce.
        if (HandleAllocated() && !Focused()) {
            clicksDisabled_ = true;
            ::SetFocus(WindowHandle());
            clicksDisabled_ = false;
            if (!Focused()) return;
        }
        break;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

// ---------------------------------------------------------------- TButton

const TClassInfo& TButton::StaticClass() {
    static const TClassInfo info(L"TButton", &TButtonControl::StaticClass(),
                                 {
                                     props::Boolean(L"Default", &TButton::Default, &TButton::SetDefault),
                                     props::Boolean(L"Cancel", &TButton::Cancel, &TButton::SetCancel),
                                     props::Integer(L"ModalResult", &TButton::ModalResult, &TButton::SetModalResult),
                                 });
    return info;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    CreateSubClass(p, L"BUTTON");
    p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateHandleDone() {
    TButtonControl::CreateHandleDone();
    active_ = default_;
}

void TButton::SetDefault(bool v) {
    default_ = v;
    if (!HandleAllocated()) return;
    // Let every button of the form work out again which one Enter clicks.
    if (TCustomForm* form = GetParentForm(this))
        form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
    else
        SetButtonStyle(active_ = v);
}

void TButton::SetButtonStyle(bool isDefault) {
    if (!HandleAllocated()) return;
    const LONG style = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    const LONG current = GetWindowLongW(WindowHandle(), GWL_STYLE) & 0xF;
    // An owner-drawn button draws the default frame itself.
    if (current == BS_OWNERDRAW) {
        Invalidate();
        return;
    }
    if (current != style)
        SendMessageW(WindowHandle(), BM_SETSTYLE, static_cast<WPARAM>(style), TRUE);
}

void TButton::Click() {
    if (modalResult_ != mrNone)
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TButtonControl::Click();
}

void TButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED && !ClicksDisabled()) Click();
        return;
    case CM_DIALOGKEY:
        if (((m.WParam == VK_RETURN && active_) || (m.WParam == VK_ESCAPE && cancel_)) &&
            KeyDataToShiftState(m.LParam) == 0 && CanFocus()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<wchar_t>(m.WParam), Caption()) && CanFocus()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    case CM_FOCUSCHANGED: {
        auto* sender = reinterpret_cast<TWinControl*>(m.LParam);
        active_ = sender && sender->Is<TButton>() ? sender == this : default_;
        SetButtonStyle(active_);
        break;
    }
    default:
        break;
    }
    TButtonControl::WndProc(m);
}
