#pragma once
// TSkinTabBtn: page controls in button style, their tab row drawn as the
// skin's Buttons faces.
#include "skin/controls/WinSubClass.h"

class TSkinTabBtn : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
};
