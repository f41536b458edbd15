#pragma once
// TSkinTab31: the class library's tab set, its hanging tabs drawn as the
// skin's Tabs faces turned upside down.
#include "classlib/Bitmap.h"
#include "skin/controls/WinSubClass.h"

class TSkinTab31 : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    using TSkinControl::TSkinControl;
    void Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
    void SkinChanged() override;

    TBitmap TabBitmap;  // the Tabs faces flipped vertically
    // The painter of the tab set's arrows, and their control.
    TSkinControl* ScrollerPainter = nullptr;
    TControl* ScrollerControl = nullptr;

private:
    void FlipTabs();
};
