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
    // Its window procedure is running now: the object must outlive the call.
    bool Busy() const { return subclass_.Dispatching() > 0; }
    // Where the client area starts in FrameBitmap: an item at client (x, y)
    // copies its background from (x, y) + this point.
    POINT ClientOrigin() const;

    HWND Handle = nullptr;
    TSkinData* SkinData = nullptr;
    TBitmap FrameBitmap;         // the last rendered background, window-sized
    HMENU MenuHandle = nullptr;  // the menu shown, once the manager learns it
    bool PopupFlag = false;      // copied from the manager at attach
    bool OwnerDrawn = false;     // the items are owner-drawn (MarkOwnerDrawn)

private:
    LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool CanPaint() const;
    // Renders MenuBackground at the window's size into FrameBitmap and makes
    // sure the manager can tell which menu it serves.
    void RenderBackground();
    // The part of the window the items cover, in window co-ordinates: the
    // client area, or on a popup whose frame lies inside its client area
    // (Wine draws it in WM_PAINT) the client area less that frame.
    RECT ItemArea() const;
    RECT ClientBounds() const;  // in window co-ordinates
    bool FrameInClient() const;
    void CopyFrame(HDC dc, bool wholeBitmap);
    LRESULT NCPaint(WPARAM updateRegion);
    LRESULT Paint();
    LRESULT Print(HDC dc, LPARAM flags);
    TWindowSubclass subclass_;
};
