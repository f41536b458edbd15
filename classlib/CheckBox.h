#pragma once
// Check boxes over the Windows "BUTTON" class. The control keeps the state
// itself (a three-state button the system never toggles), so that the
// state survives a new window and AllowGrayed decides the cycle.
#include "classlib/Alignment.h"
#include "classlib/Button.h"

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
    DECLARE_CLASS_INFO()
public:
    explicit TCustomCheckBox(TComponent* owner);

    TCheckBoxState State() const { return state_; }
    // Shows the new state and runs OnClick when it changed.
    void SetState(TCheckBoxState state);
    bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
    void SetChecked(bool v) { SetState(v ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool v) { allowGrayed_ = v; }
    // taLeftJustify puts the text left of the box.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);

    // Unchecked -> (grayed when allowed) -> checked -> unchecked.
    void Toggle();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& message) override;

private:
    TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
    bool allowGrayed_ = false;
    TAlignment alignment_ = TAlignment::taRightJustify;
    bool wordWrap_ = false;
};

class TCheckBox : public TCustomCheckBox {
    DECLARE_CLASS_INFO()
public:
    using TCustomCheckBox::TCustomCheckBox;
};
