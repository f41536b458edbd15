#include "classlib/CheckBox.h"

const TClassInfo& TCustomCheckBox::StaticClass() {
    static const TClassInfo info(
        L"TCustomCheckBox", &TButtonControl::StaticClass(),
        {
            props::Boolean(L"Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked),
            props::Enumeration(L"State", &TCustomCheckBox::State, &TCustomCheckBox::SetState,
                               {L"cbUnchecked", L"cbChecked", L"cbGrayed"}),
            props::Boolean(L"AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed),
            props::Enumeration(L"Alignment", &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment,
                               {L"taLeftJustify", L"taRightJustify"}),
            props::Boolean(L"WordWrap", &TCustomCheckBox::WordWrap, &TCustomCheckBox::SetWordWrap),
        });
    return info;
}

const TClassInfo& TCheckBox::StaticClass() {
    static const TClassInfo info(L"TCheckBox", &TCustomCheckBox::StaticClass());
    return info;
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

void TCustomCheckBox::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    CreateSubClass(p, L"BUTTON");
    p.Style |= BS_3STATE;
    if (alignment_ == TAlignment::taLeftJustify) p.Style |= BS_LEFTTEXT;
    if (wordWrap_) p.Style |= BS_MULTILINE;
}

void TCustomCheckBox::CreateHandleDone() {
    TButtonControl::CreateHandleDone();
    SendMessageW(WindowHandle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCustomCheckBox::SetState(TCheckBoxState state) {
    if (state == state_) return;
    state_ = state;
    if (HandleAllocated()) SendMessageW(WindowHandle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
    // A state read from a stored layout is no click.
    if (!IsLoading()) Click();
}

void TCustomCheckBox::SetAlignment(TAlignment v) {
    if (v == TAlignment::taCenter) v = TAlignment::taRightJustify;
    if (v == alignment_) return;
    alignment_ = v;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomCheckBox::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomCheckBox::Toggle() {
    switch (state_) {
    case TCheckBoxState::cbUnchecked:
        SetState(allowGrayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked);
        break;
    case TCheckBoxState::cbChecked: SetState(TCheckBoxState::cbUnchecked); break;
    case TCheckBoxState::cbGrayed: SetState(TCheckBoxState::cbChecked); break;
    }
}

void TCustomCheckBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == BN_CLICKED && !ClicksDisabled()) Toggle();
        return;
    }
    TButtonControl::WndProc(m);
}
