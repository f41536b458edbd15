#pragma once
// Push buttons over the Windows "BUTTON" class.
//
// A form's buttons share the classic Enter and Esc rules: whenever the focus
// moves (CM_FOCUSCHANGED) each button works out whether it is the "active"
// one: the focused control when that is a button, else the default button.
// Enter (CM_DIALOGKEY) clicks the active button and Esc the cancel button;
// the active one is drawn with the default-button frame.
#include "classlib/Forms.h"

class TButtonControl : public TWinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TButtonControl(TComponent* owner);

protected:
    void WndProc(TMessage& message) override;
    // True while a mouse press moves the focus here: the click it may cause is dropped.
    bool ClicksDisabled() const { return clicksDisabled_; }

private:
    bool clicksDisabled_ = false;
};

class TButton : public TButtonControl {
    DECLARE_CLASS_INFO()
public:
    explicit TButton(TComponent* owner);

    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult v) { modalResult_ = v; }
    // Whether Enter clicks this button now.
    bool Active() const { return active_; }

    // Sets the parent form's ModalResult (when this button has one), then runs OnClick.
    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& message) override;

private:
    void SetButtonStyle(bool isDefault);

    bool default_ = false;
    bool cancel_ = false;
    bool active_ = false;
    TModalResult modalResult_ = mrNone;
};
