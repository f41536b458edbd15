#include "classlib/RadioButton.h"

const TClassInfo& TRadioButton::StaticClass() {
    static const TClassInfo info(L"TRadioButton", &TButtonControl::StaticClass(),
                                 {props::Boolean(L"Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)});
    return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    CreateSubClass(p, L"BUTTON");
    // Not the automatic kind: the system would uncheck windows outside the group.
    p.Style |= BS_RADIOBUTTON;
}

void TRadioButton::CreateHandleDone() {
    TButtonControl::CreateHandleDone();
    SendMessageW(WindowHandle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    SetTabStop(v);
    if (HandleAllocated()) SendMessageW(WindowHandle(), BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!v) return;
    if (TWinControl* parent = Parent())
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* sibling = As<TRadioButton>(parent->Controls(i)); sibling && sibling != this)
                sibling->SetChecked(false);
    if (!IsLoading()) Click();
}

void TRadioButton::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == BN_CLICKED && !ClicksDisabled()) SetChecked(true);
        return;
    }
    TButtonControl::WndProc(m);
}
