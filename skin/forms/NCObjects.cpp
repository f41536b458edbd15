#include "skin/forms/NCObjects.h"

#include <algorithm>

#include "core/SystemColours.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinMenu.h"

TNCObject::~TNCObject() {
    if (Form->HotObject == this) Form->HotObject = nullptr;
}

void TNCObject::MouseDown() {
    if (Form->HotObject && Form->HotObject != this) Form->HotObject->MouseLeave();
    if (!Visible) return;
    Form->HotObject = this;
    State = kPressed;
    Paint();
}

void TNCObject::MouseUp() {
    if (!Visible) return;
    State = kHot;
    Paint();
}

void TNCObject::MouseEnter() {
    if (Form->HotObject == this) return;
    if (Form->HotObject) Form->HotObject->MouseLeave();
    if (!Visible) return;
    Form->HotObject = this;
    State = kHot;
    Paint();
}

void TNCObject::MouseLeave() {
    // An object hidden meanwhile still lets go of the form.
    if (Form->HotObject == this) Form->HotObject = nullptr;
    if (!Visible) return;
    State = kNormal;
    Paint();
}

bool TWinSysButton::IsIconButton() const { return Element->Action == 3 || Element->Action == 11; }

void TWinSysButton::PaintIcon(HDC dc, const RECT& rect) const {
    HICON icon = Form->IconHandle;
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(Form->Handle, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(Form->Handle, WM_GETICON, ICON_BIG, 0));
    if (icon) {
        const int size = Form->IconSize;
        DrawIconEx(dc, rect.left, rect.top, Form->ScaledIcon(icon), size, size, 0, nullptr, DI_NORMAL);
    } else if (!Form->IconBitmap.Empty()) {
        DrawTransparent(dc, rect, Form->IconBitmap, clFuchsia);
    }
}

// A button or item that fails to paint keeps its old look: the click or
// hover that asked for the paint still runs.
void TWinSysButton::Paint() {
    if (!Visible || Element->Bitmap.Empty()) return;
    WindowDC dc(Form->Handle, true);
    if (!dc.get()) return;
    try {
        if (IsIconButton()) {
            PaintIcon(dc.get(), BoundsRect);
            return;
        }
        const int frames = std::max(Element->Frame, 1);
        int frame = std::max(State, kNormal);
        if (Element->Visibility == 100 && State == kHot) frame = 4;
        DrawFrameStretched(dc.get(), BoundsRect, Element->Bitmap, true, frames, std::min(frame, frames));
    } catch (...) {
    }
}

void TMenuBtn::Paint() {
    TWinSkinMenu* bar = Form->SkinMenu.get();
    if (!Visible || !bar || bar->Background.Empty()) return;
    WindowDC dc(Form->Handle, true);
    if (!dc.get()) return;
    const RECT& r = BoundsRect;
    try {
        BitBlt(dc.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, bar->Background.Canvas()->Handle(),
               r.left - bar->BarRect.left, r.top - bar->BarRect.top, SRCCOPY);
        if (State == kHot || State == kPressed) {
            const TColor frame = SkinData ? SkinData->ButtonHilightColour : clBtnHighlight;
            UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(frame))));
            FrameRect(dc.get(), &r, brush.get());
        }
        bar->DrawItemText(dc.get(), *this, r);
    } catch (...) {
    }
}
