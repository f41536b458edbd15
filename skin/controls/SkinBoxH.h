#pragma once
// TSkinBoxH: a dialog embedded in a form. Its background and the background
// its static children ask for become the skin's face colour.
#include "skin/controls/WinSubClass.h"

class TSkinBoxH : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
};
