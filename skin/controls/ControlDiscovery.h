#pragma once
// Control discovery: the walks that give the child controls of a skinned
// window their painters. The decisions are ControlRules (class-library
// controls) and WindowRules (plain windows); painters come from
// MakePainter; the skinned form keeps the list of attached painters.
#include <windows.h>

class TWinSkinForm;

// A class-library form: its painters of closed windows are dropped, then
// every control the form owns is discovered, then every windowed control of
// its tab order that has a window.
void DiscoverFormControls(TWinSkinForm& form);
// A plain window: each of parent's child windows (WS_CHILD), by the
// plain-window table.
void DiscoverWindowChildren(TWinSkinForm& form, HWND parent);
// One plain window by its class (the hook's size grips).
void DiscoverWindow(TWinSkinForm& form, HWND window);
