#include "classlib/ProgressBar.h"

#include <commctrl.h>

#include <algorithm>

const TClassInfo& TProgressBar::StaticClass() {
    static const TClassInfo info(
        L"TProgressBar", &TWinControl::StaticClass(),
        {
            props::Integer(L"Min", &TProgressBar::Min, &TProgressBar::SetMin),
            props::Integer(L"Max", &TProgressBar::Max, &TProgressBar::SetMax),
            props::Integer(L"Position", &TProgressBar::Position, &TProgressBar::SetPosition),
            props::Integer(L"Step", &TProgressBar::Step, &TProgressBar::SetStep),
            props::Boolean(L"Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth),
            props::Enumeration(L"Orientation", &TProgressBar::Orientation, &TProgressBar::SetOrientation,
                               {L"pbHorizontal", L"pbVertical"}),
        });
    return info;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, GetSystemMetrics(SM_CYVSCROLL));
}

void TProgressBar::CreateParams(TCreateParams& p) {
    const INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, PROGRESS_CLASSW);
    if (orientation_ == TProgressBarOrientation::pbVertical) p.Style |= PBS_VERTICAL;
    if (smooth_) p.Style |= PBS_SMOOTH;
}

void TProgressBar::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    UpdateRange();
    SendMessageW(WindowHandle(), PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
    SendMessageW(WindowHandle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::DestroyWnd() {
    position_ = Position();
    TWinControl::DestroyWnd();
}

int TProgressBar::Clamped(int v) const {
    // A range given upside down (Min set before Max while loading) clamps nothing.
    return min_ <= max_ ? std::clamp(v, min_, max_) : v;
}

void TProgressBar::UpdateRange() {
    if (HandleAllocated()) SendMessageW(WindowHandle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TProgressBar::SetMin(int v) {
    if (v == min_) return;
    min_ = v;
    UpdateRange();
    SetPosition(Position());
}

void TProgressBar::SetMax(int v) {
    if (v == max_) return;
    max_ = v;
    UpdateRange();
    SetPosition(Position());
}

int TProgressBar::Position() const {
    if (HandleAllocated()) return static_cast<int>(SendMessageW(WindowHandle(), PBM_GETPOS, 0, 0));
    return position_;
}

void TProgressBar::SetPosition(int v) {
    position_ = Clamped(v);
    if (HandleAllocated()) SendMessageW(WindowHandle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetStep(int v) {
    step_ = v;
    if (HandleAllocated()) SendMessageW(WindowHandle(), PBM_SETSTEP, static_cast<WPARAM>(v), 0);
}

void TProgressBar::SetSmooth(bool v) {
    if (v == smooth_) return;
    smooth_ = v;
    RecreateWnd();
}

void TProgressBar::SetOrientation(TProgressBarOrientation v) {
    if (v == orientation_) return;
    orientation_ = v;
    RecreateWnd();
}

void TProgressBar::StepIt() {
    // Worked out here rather than by PBM_STEPIT, so a bar without its window steps alike.
    long long next = static_cast<long long>(Position()) + step_;
    const long long span = static_cast<long long>(max_) - min_;
    if (span > 0) {
        if (next > max_) next = min_ + (next - min_) % span;
        if (next < min_) next = max_ - (min_ - next) % span;
    }
    SetPosition(static_cast<int>(next));
}

void TProgressBar::StepBy(int delta) { SetPosition(static_cast<int>(static_cast<long long>(Position()) + delta)); }
