#pragma once
// TSkinBox: panels, tool bars, navigators and embedded forms. They draw
// themselves; the painter only lends them the skin's face colour and never
// takes over their messages.
#include "skin/controls/WinSubClass.h"

class TSkinBox : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    // Set by whoever takes the control's colour over after attaching:
    // Detach then leaves the colour alone.
    static constexpr int kStateColourKept = 4;
    static constexpr int kStateDetached = 2;

    using TSkinControl::TSkinControl;
    void Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) override;
    void Detach() override;
    void AfterMessage(TMessage&) override {}
};
