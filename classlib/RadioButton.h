#pragma once
// Radio buttons over the Windows "BUTTON" class. Checking one unchecks the
// other radio buttons of the same parent: one checked per group.
#include "classlib/Button.h"

class TRadioButton : public TButtonControl {
    DECLARE_CLASS_INFO()
public:
    explicit TRadioButton(TComponent* owner);

    bool Checked() const { return checked_; }
    // Checking runs OnClick and unchecks the siblings.
    void SetChecked(bool v);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& message) override;

private:
    bool checked_ = false;
};
