#pragma once
// TSkinTabSheet: the pages of a page control, filled with the skin's face
// colour under their windowless children.
#include "skin/controls/WinSubClass.h"

class TSkinTabSheet : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
};
