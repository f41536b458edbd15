#pragma once
// Shift states and keyboard shortcuts (a virtual key plus modifier bits).
#include <windows.h>

#include <cstdint>
#include <string>

enum TShiftStateFlag : std::uint32_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};
using TShiftState = std::uint32_t;

using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

constexpr TShortCut ShortCut(WORD key, TShiftState shift) {
    return static_cast<TShortCut>((key & 0xFF) | ((shift & ssShift) ? scShift : 0) | ((shift & ssCtrl) ? scCtrl : 0) |
                                  ((shift & ssAlt) ? scAlt : 0));
}

// The modifier keys held now (for a key message being handled).
TShiftState KeyboardShiftState();
// Shift state from a key message's lParam: Alt from bit 29, the rest from the keyboard.
TShiftState KeyDataToShiftState(LPARAM keyData);
// Shift state of a mouse message's wParam (MK_* flags).
TShiftState MouseKeysToShiftState(WPARAM keys);
// "Ctrl+S", "F5", "Shift+Del"; empty for 0.
std::wstring ShortCutToText(TShortCut shortCut);
// The inverse, for shortcuts written as text; 0 when not understood.
TShortCut TextToShortCut(const std::wstring& text);
