#pragma once
// TSkinUpDown: up-down (spin) buttons drawn whole from the UpDownVert or
// UpDownHorz element, alone or glued inside a skinned edit. Without the
// element the halves are plain line-drawn arrows in the skin's colours.
// Mode 1 puts the arrows side by side whatever the style says.
#include <windows.h>

#include "skin/controls/WinSubClass.h"

class TSkinUpDown : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TSkinUpDown(TComponent* owner);

    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

    // Set when attached by a skinned edit that holds the up-down.
    bool BuddyFlag = false;

private:
    // The rectangle left for the arrows: a buddy keeps off its edit's border.
    RECT ArrowArea(HDC dc, const RECT& rect) const;
};

// The frame index of one half: 1 normal, 2 pressed under the cursor, 3 disabled.
int UpDownHalfIndex(bool cursorInside, bool pressed, bool enabled);
