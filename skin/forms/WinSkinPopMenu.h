#pragma once
// TWinSkinPopMenu: paints the frame and background of one popup-menu window
// ("#32768") from the skin's MenuBackground element. The items are
// owner-drawn by the skinned form and copy their background from here.
#include <windows.h>

#include "classlib/Bitmap.h"
#include "classlib/WindowSubclass.h"

class TSkinData;

class TWinSkinPopMenu {
public:
    TWinSkinPopMenu() = default;
    ~TWinSkinPopMenu();
    TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
    TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

    void Attach(HWND menuWindow, TSkinData* skinData, HMENU menu = nullptr);
    void Detach();

    HWND Handle = nullptr;
    TSkinData* SkinData = nullptr;
    TBitmap FrameBitmap;         // the last rendered background, window-sized
    HMENU MenuHandle = nullptr;  // the menu shown, once the manager learns it
    bool PopupFlag = false;      // copied from the manager at attach
    bool OwnerDrawn = false;     // the items are owner-drawn (MarkOwnerDrawn)

private:
    LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    TWindowSubclass subclass_;
};
