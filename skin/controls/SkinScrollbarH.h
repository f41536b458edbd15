#pragma once
// TSkinScrollbarH: the two scroll-bar overlays for a bare window with no
// class-library control (the list of a simple combo box).
#include "skin/controls/SkinScrollbar.h"

class TSkinScrollbarH : public TSkinScrollbar {
    DECLARE_CLASS_INFO()
public:
    using TSkinScrollbar::TSkinScrollbar;
    void AttachHandle(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
};
