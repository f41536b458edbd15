#include "classlib/TrackBar.h"

#include <commctrl.h>

#include <algorithm>

const TClassInfo& TTrackBar::StaticClass() {
    static const TClassInfo info(
        L"TTrackBar", &TWinControl::StaticClass(),
        {
            props::Integer(L"Min", &TTrackBar::Min, &TTrackBar::SetMin),
            props::Integer(L"Max", &TTrackBar::Max, &TTrackBar::SetMax),
            props::Integer(L"Position", &TTrackBar::Position, &TTrackBar::SetPosition),
            props::Enumeration(L"Orientation", &TTrackBar::Orientation, &TTrackBar::SetOrientation,
                               {L"trHorizontal", L"trVertical"}),
            props::Integer(L"Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency),
            props::Enumeration(L"TickMarks", &TTrackBar::TickMarks, &TTrackBar::SetTickMarks,
                               {L"tmBottomRight", L"tmTopLeft", L"tmBoth"}),
            props::Event(L"OnChange", &TTrackBar::OnChange),
        });
    return info;
}

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, 45);
    SetTabStop(true);
}

void TTrackBar::CreateParams(TCreateParams& p) {
    const INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, TRACKBAR_CLASSW);
    p.Style |= TBS_AUTOTICKS;
    if (orientation_ == TTrackBarOrientation::trVertical) p.Style |= TBS_VERT;
    // TBS_TOP is TBS_LEFT and TBS_BOTTOM TBS_RIGHT: the same bits name both orientations.
    if (tickMarks_ == TTickMark::tmTopLeft) p.Style |= TBS_TOP;
    if (tickMarks_ == TTickMark::tmBoth) p.Style |= TBS_BOTH;
}

void TTrackBar::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    HWND wnd = WindowHandle();
    SendMessageW(wnd, TBM_SETRANGEMIN, FALSE, min_);
    SendMessageW(wnd, TBM_SETRANGEMAX, FALSE, max_);
    SendMessageW(wnd, TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
    SendMessageW(wnd, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::DestroyWnd() {
    position_ = Position();
    TWinControl::DestroyWnd();
}

void TTrackBar::WndProc(TMessage& m) {
    if ((m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) && HandleAllocated()) {
        const int now = static_cast<int>(SendMessageW(WindowHandle(), TBM_GETPOS, 0, 0));
        if (now != position_) {
            position_ = now;
            if (OnChange) OnChange(this);
        }
        return;
    }
    TWinControl::WndProc(m);
}

void TTrackBar::SetMin(int v) {
    if (v == min_) return;
    min_ = v;
    if (HandleAllocated()) SendMessageW(WindowHandle(), TBM_SETRANGEMIN, TRUE, v);
    SetPosition(Position());
}

void TTrackBar::SetMax(int v) {
    if (v == max_) return;
    max_ = v;
    if (HandleAllocated()) SendMessageW(WindowHandle(), TBM_SETRANGEMAX, TRUE, v);
    SetPosition(Position());
}

int TTrackBar::Position() const {
    if (HandleAllocated()) return static_cast<int>(SendMessageW(WindowHandle(), TBM_GETPOS, 0, 0));
    return position_;
}

void TTrackBar::SetPosition(int v) {
    // A range given upside down (Min set before Max while loading) clamps nothing.
    if (min_ <= max_) v = std::clamp(v, min_, max_);
    const bool changed = v != position_;
    position_ = v;
    if (HandleAllocated()) SendMessageW(WindowHandle(), TBM_SETPOS, TRUE, v);
    if (changed && OnChange) OnChange(this);
}

void TTrackBar::SetOrientation(TTrackBarOrientation v) {
    if (v == orientation_) return;
    orientation_ = v;
    if (HandleAllocated()) RecreateWnd();
}

void TTrackBar::SetFrequency(int v) {
    v = std::max(v, 1);
    if (v == frequency_) return;
    frequency_ = v;
    if (HandleAllocated()) SendMessageW(WindowHandle(), TBM_SETTICFREQ, static_cast<WPARAM>(v), 0);
}

void TTrackBar::SetTickMarks(TTickMark v) {
    if (v == tickMarks_) return;
    tickMarks_ = v;
    if (HandleAllocated()) RecreateWnd();
}
