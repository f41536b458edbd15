#pragma once
// TSkinEdit: a skinned border around an edit (or memo, or up-down-mode date
// picker). The control draws its own text; the painter only draws over the
// border, and gives an up-down glued inside the edit a painter of its own.
#include <windows.h>

#include "core/Colour.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/ElementDrawing.h"

class TSkinUpDown;

// The edit border: a frame in shadow along the edge and whiteFrames white
// frames inside it. Nothing for a window without a border (its client area
// as wide or as high as the window).
void DrawEditBorder(HWND wnd, HDC dc, const RECT& rect, TColor shadow, int whiteFrames);

class TSkinEdit : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TSkinEdit(TComponent* owner);

    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

    TSkinUpDown* Buddy = nullptr;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void FindBuddy();
    // WM_PRINTCLIENT: the border drawn in the DC's current brush.
    void PrintBorder(HDC dc);
};
