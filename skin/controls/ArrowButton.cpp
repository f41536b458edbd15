#include "skin/controls/ArrowButton.h"

#include <algorithm>

#include "classlib/Canvas.h"
#include "classlib/Messages.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"

const TClassInfo& TArrowButton::StaticClass() {
    static const TClassInfo info(L"TArrowButton", &TCustomControl::StaticClass(), {});
    return info;
}

TArrowButton::TArrowButton(TComponent* owner, TWinControl* picker, TSkinData* skinData)
    : TCustomControl(owner), Picker(picker), PickerWindow(picker ? picker->Handle() : nullptr),
      ArrowSize(GetSystemMetrics(SM_CXHSCROLL)), SkinData(skinData) {
    SetTabStop(false);
}

void TArrowButton::Place() {
    if (!Picker) return;
    const bool left = GetWindowLongPtrW(PickerWindow, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR;
    SetBounds(left ? 2 : Picker->Width() - ArrowSize - 4, 0, ArrowSize, ArrowSize + 1);
}

void TArrowButton::Paint() {
    const RECT r = ClientRect();
    TCanvas& canvas = *Canvas();
    canvas.Brush()->SetColor(SkinData->ButtonFaceColour);
    canvas.FillRect(r);
    TDataSkinObject* arrow = SkinData->ComboArrow.get();
    if (!arrow || arrow->Bitmap.Empty() || arrow->Frame < 1) return;
    DrawFrameStretched(canvas.Handle(), r, arrow->Bitmap, false, arrow->Frame, std::min(Hot ? 4 : 1, arrow->Frame));
}

void TArrowButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (IsWindowEnabled(PickerWindow)) {
            Hot = m.Msg == CM_MOUSEENTER;
            Invalidate();
        }
        break;
    case WM_LBUTTONDOWN: {
        // The picker opens its calendar on its own button's down and up.
        const POINT p{static_cast<short>(LOWORD(m.LParam)) + Left(), static_cast<short>(HIWORD(m.LParam)) + Top()};
        PostMessageW(PickerWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        PostMessageW(PickerWindow, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        Invalidate();
        m.Result = 0;
        return;
    }
    case WM_LBUTTONUP:
        SetFocus();
        if (Picker) Picker->SetFocus();
        m.Result = 0;
        return;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}
