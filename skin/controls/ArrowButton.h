#pragma once
// TArrowButton: the skinned drop-down button laid over a date picker's own
// one. A click is handed on to the picker at the same place, so the picker
// opens its calendar as if its own button had been pressed.
#include <windows.h>

#include "classlib/Controls.h"

class TSkinData;

class TArrowButton : public TCustomControl {
    DECLARE_CLASS_INFO()
public:
    // owner: the painter; picker: the date picker the button sits in.
    TArrowButton(TComponent* owner, TWinControl* picker, TSkinData* skinData);

    TWinControl* Picker = nullptr;
    HWND PickerWindow = nullptr;
    int ArrowSize = 0;  // SM_CXHSCROLL when made
    bool Hot = false;
    TSkinData* SkinData = nullptr;

    // Puts the button against the picker's right edge (left with WS_EX_LEFTSCROLLBAR).
    void Place();

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;
};
