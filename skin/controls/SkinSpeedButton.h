#pragma once
// TSkinSpeedButton: a windowless speed button, painted on its parent's DC
// when the control's WindowProc sees WM_PAINT; the mouse state comes from
// the class library's enter and leave notifications.
#include "skin/controls/SkinBitButton.h"

class TSkinSpeedButton : public TSkinBitButton {
    DECLARE_CLASS_INFO()
public:
    using TSkinBitButton::TSkinBitButton;

    void Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

    // Set while a paint runs: painting the parent under a transparent
    // button paints this button again.
    bool Drawing = false;

protected:
    int FacesNeeded() const override { return bfHot; }
    int FaceIndex() const override;
};
