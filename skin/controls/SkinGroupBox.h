#pragma once
// TSkinGroupBox: group boxes and radio groups get a rounded frame in the
// skin's shadow colour with the caption over it. Mode 1 (a class-library
// control) paints the whole box itself; mode 0 (a bare window) paints over
// the system's drawing after wiping the system's frame.
#include <string>

#include "skin/controls/WinSubClass.h"

class TSkinGroupBox : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    static constexpr int kModeOwnerPainted = 1;

    using TSkinControl::TSkinControl;
    void Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    void DrawFrameAndCaption(HDC dc, const RECT& rect, const std::wstring& caption);
};
