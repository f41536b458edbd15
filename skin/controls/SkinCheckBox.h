#pragma once
// TSkinCheckBox: the check box drawn from the Buttons element's check
// strip. Mode 1 (a class-library control, a skin with a check strip) paints
// the whole control; mode 0 lets the system draw and puts the skin's box
// over the system's one.
#include <windows.h>

#include "skin/controls/WinSubClass.h"

class TBitmap;

// The frame of a check box's strip: index 1 unchecked, 2 checked, 4 grayed;
// disabled adds 2, indeterminate makes it 4; 12-frame strips order their
// frames by mark (unchecked, checked, mixed), each in four looks.
int CheckBoxFrame(int index, bool disabled, bool indeterminate, int frames);
// The same for radio buttons, whose 8-frame strips have no mixed mark.
int RadioButtonFrame(int index, bool disabled, int frames);

// The strip when its frames are at least a pixel wide (frames set), else nullptr.
TBitmap* UsableStrip(TBitmap& strip, int stripFrames, int& frames);

class TSkinCheckBox : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TSkinCheckBox(TComponent* owner);

    void Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) override;
    void AttachHandle(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
    // A new skin may bring or take away the strip: the mode follows it.
    void SkinChanged() override;

    int RememberedState = 0;  // 0 unknown, else the last BM_SETCHECK wParam + 1
    bool Transparent = false;

protected:
    // The strip and its frame count; nullptr when the skin has none usable.
    virtual TBitmap* Strip(int& frames) const;
    // The frame to draw for the control's state.
    virtual int FrameIndex(int frames);
    // How far inside the right edge a box with its text on the left ends.
    virtual int RightInset() const { return 0; }
    void ChooseMode();
};
