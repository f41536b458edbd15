#pragma once
// TSkinSizer: a foreign dialog's size-grip scroll bar, painted flat.
#include "skin/controls/WinSubClass.h"

class TSkinSizer : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    using TSkinControl::TSkinControl;
    void Draw(HDC dc, const RECT& rect) override;
};
