#pragma once
// TSkinObjImage: for other vendors' check boxes and radio buttons that
// draw themselves from a glyph strip of their own. Instead of taking over
// the messages, it builds a strip from the skin's check or radio frames once
// and hands it to the control. Mode: 1 check boxes (9 frames), 2 radio
// buttons (6 frames) through "CustomGlyphs", 3 check boxes (6 frames)
// through the "Glyph" of the control's "Properties".
#include "classlib/Bitmap.h"
#include "skin/controls/WinSubClass.h"

class TSkinObjImage : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TSkinObjImage(TComponent* owner);

    void Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) override;
    void Detach() override;
    void SkinChanged() override;

    // The strip handed to the control; empty when the skin has no frames.
    TBitmap Strip;

private:
    void BuildAndHand();
};
