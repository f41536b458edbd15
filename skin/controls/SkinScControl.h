#pragma once
// TSkinScControl: a scroll-bar control, covered whole by one overlay.
#include "skin/controls/WinSubClass.h"

class TWScrollbar;

class TSkinScControl : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    using TSkinControl::TSkinControl;
    ~TSkinScControl() override;
    void Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
    void Detach() override;

    TWScrollbar* Bar = nullptr;

private:
    void FreeBar();
};
