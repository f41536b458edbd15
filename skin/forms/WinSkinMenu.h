#pragma once
// TWinSkinMenu: the skinned menu bar of one window, drawn in the band under
// the caption. Windows keeps no menu bar on the window while it is skinned:
// the items are read from the menu, the menu is taken off the window, and the
// bar measures, paints and hit-tests its items itself.
#include <windows.h>

#include <memory>
#include <vector>

#include "classlib/Bitmap.h"

class TMainMenu;
class TSkinData;
class TWinSkinForm;
class TMenuBtn;

class TWinSkinMenu {
public:
    explicit TWinSkinMenu(TWinSkinForm& form);
    ~TWinSkinMenu();
    TWinSkinMenu(const TWinSkinMenu&) = delete;
    TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

    // Items from the window's menu (and its class-library menu); the Win32
    // menu is then taken off the window.
    void BuildItems();
    // The same from the class-library menu's top-level items (Windows NT 4).
    void BuildItemsFromMenu();
    // After the MDI frame's menu changed: items keep the Win32 values where
    // the text is empty, and are laid out at once.
    void RebuildItems();
    // Item rectangles for the current band, without painting.
    void LayoutItems();
    // Paints the band (window co-ordinates in band) on dc.
    void PaintBar(HDC dc, const RECT& band);
    // The item whose rectangle holds the window point, or nullptr.
    TMenuBtn* ItemAt(POINT windowPoint) const;
    // The item's text as the bar shows it, on a DC whose font is the menu font.
    void DrawItemText(HDC dc, const TMenuBtn& item, const RECT& rect) const;
    // The band of the window as it was last painted or is now.
    RECT Band() const;
    bool RightToLeft() const;

    std::vector<std::unique_ptr<TMenuBtn>> Items;
    TMainMenu* Menu = nullptr;
    RECT BarRect{};
    TSkinData* SkinData = nullptr;
    TWinSkinForm* Form = nullptr;
    TBitmap Background;  // the band as painted before the item texts
    int ItemCount = 0;
    bool Painting = false;
    HMENU Handle = nullptr;

private:
    void ReadItems(bool keepWin32WhenEmpty);
    void PlaceItems(HDC dc, const RECT& band);
};

// The scratch bitmap every skinned menu bar paints into, made once per
// process with COLORONCOLOR stretching; the frame paints only while it exists.
TBitmap* MenuBarScratch();
// The menu font (Screen's, or the system's before there is a Screen).
HFONT MenuBarFont();
