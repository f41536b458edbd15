#include "classlib/UpDown.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/Messages.h"

const TClassInfo& TCustomUpDown::StaticClass() {
    static const TClassInfo info(
        L"TCustomUpDown", &TWinControl::StaticClass(),
        {
            props::Integer(L"Min", &TCustomUpDown::Min, &TCustomUpDown::SetMin),
            props::Integer(L"Max", &TCustomUpDown::Max, &TCustomUpDown::SetMax),
            props::Integer(L"Position", &TCustomUpDown::Position, &TCustomUpDown::SetPosition),
            props::Reference(L"Associate", &TCustomUpDown::Associate, &TCustomUpDown::SetAssociate),
            props::Enumeration(L"Orientation", &TCustomUpDown::Orientation, &TCustomUpDown::SetOrientation,
                               {L"udVertical", L"udHorizontal"}),
            props::Event(L"OnChanging", &TCustomUpDown::OnChanging),
            props::Event(L"OnClick", &TCustomUpDown::OnClick),
        });
    return info;
}

const TClassInfo& TUpDown::StaticClass() {
    static const TClassInfo info(L"TUpDown", &TCustomUpDown::StaticClass());
    return info;
}

TCustomUpDown::TCustomUpDown(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 17, 25); }


void TCustomUpDown::CreateParams(TCreateParams& p) {
    const INITCOMMONCONTROLSEX icc{sizeof icc, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, UPDOWN_CLASSW);
    p.Style |= UDS_ARROWKEYS | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS;
    if (orientation_ == TUDOrientation::udHorizontal) p.Style |= UDS_HORZ;
}

void TCustomUpDown::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    HWND wnd = WindowHandle();
    // The buddy first: setting the position writes it into the buddy.
    if (associate_) SendMessageW(wnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->Handle()), 0);
    SendMessageW(wnd, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SendMessageW(wnd, UDM_SETPOS32, 0, position_);
}

void TCustomUpDown::DestroyWnd() {
    position_ = Position();
    TWinControl::DestroyWnd();
}

void TCustomUpDown::WndProc(TMessage& m) {
    if ((m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) && HandleAllocated()) {
        const int now = Position();
        if (now != position_) {
            position_ = now;
            if (OnClick) OnClick(this);
        }
        return;
    }
    TWinControl::WndProc(m);
}

void TCustomUpDown::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == associate_) associate_ = nullptr;
}

void TCustomUpDown::SetMin(int v) {
    if (v == min_) return;
    min_ = v;
    if (HandleAllocated()) SendMessageW(WindowHandle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TCustomUpDown::SetMax(int v) {
    if (v == max_) return;
    max_ = v;
    if (HandleAllocated()) SendMessageW(WindowHandle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

int TCustomUpDown::Position() const {
    if (HandleAllocated()) return static_cast<int>(SendMessageW(WindowHandle(), UDM_GETPOS32, 0, 0));
    return position_;
}

void TCustomUpDown::SetPosition(int v) {
    // A range given upside down (Min set before Max while loading) clamps nothing.
    if (min_ <= max_ && !IsLoading()) v = std::clamp(v, min_, max_);
    position_ = v;
    if (HandleAllocated()) SendMessageW(WindowHandle(), UDM_SETPOS32, 0, v);
}

void TCustomUpDown::SetAssociate(TWinControl* v) {
    if (v == associate_ || v == this) return;
    if (associate_) associate_->RemoveFreeNotification(this);
    associate_ = v;
    if (associate_) associate_->FreeNotification(this);
    if (!HandleAllocated()) return;
    SendMessageW(WindowHandle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(v ? v->Handle() : nullptr), 0);
    SendMessageW(WindowHandle(), UDM_SETPOS32, 0, Position());
}

void TCustomUpDown::SetOrientation(TUDOrientation v) {
    if (v == orientation_) return;
    orientation_ = v;
    if (HandleAllocated()) RecreateWnd();
}
