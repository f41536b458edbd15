#pragma once
// TSkinRadioButton: the check-box painter with the Buttons element's radio
// strip, reading only the checked state.
#include "skin/controls/SkinCheckBox.h"

class TSkinRadioButton : public TSkinCheckBox {
    DECLARE_CLASS_INFO()
public:
    using TSkinCheckBox::TSkinCheckBox;
    void AfterMessage(TMessage& message) override;

protected:
    TBitmap* Strip(int& frames) const override;
    int FrameIndex(int frames) override;
    int RightInset() const override { return 1; }
};
