#include "classlib/ScrollBar.h"

#include <algorithm>

#include "classlib/Messages.h"

const TClassInfo& TScrollBar::StaticClass() {
    static const TClassInfo info(
        L"TScrollBar", &TWinControl::StaticClass(),
        {
            props::Enumeration(L"Kind", &TScrollBar::Kind, &TScrollBar::SetKind, {L"sbHorizontal", L"sbVertical"}),
            props::Integer(L"Min", &TScrollBar::Min, &TScrollBar::SetMin),
            props::Integer(L"Max", &TScrollBar::Max, &TScrollBar::SetMax),
            props::Integer(L"Position", &TScrollBar::Position, &TScrollBar::SetPosition),
            props::Integer(L"PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize),
            props::Integer(L"SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange),
            props::Integer(L"LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange),
            props::Event(L"OnChange", &TScrollBar::OnChange),
        });
    return info;
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
    SetTabStop(true);
}

void TScrollBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, L"SCROLLBAR");
    p.Style |= kind_ == TScrollBarKind::sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    UpdateScrollInfo();
}

void TScrollBar::DestroyWnd() {
    position_ = Position();
    TWinControl::DestroyWnd();
}

void TScrollBar::UpdateScrollInfo() {
    if (!HandleAllocated()) return;
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, min_, max_, static_cast<UINT>(pageSize_),
                    position_, 0};
    SendMessageW(WindowHandle(), SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
}

int TScrollBar::Position() const {
    if (!HandleAllocated()) return position_;
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
    SendMessageW(WindowHandle(), SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info.nPos;
}

void TScrollBar::SetKind(TScrollBarKind v) {
    if (v == kind_) return;
    kind_ = v;
    if (!IsLoading()) SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TScrollBar::SetMin(int v) {
    min_ = v;
    position_ = std::max(position_, min_);
    UpdateScrollInfo();
}

void TScrollBar::SetMax(int v) {
    max_ = v;
    UpdateScrollInfo();
}

void TScrollBar::SetPosition(int v) {
    const int before = Position();
    // The highest position leaves a whole page in view.
    const int last = pageSize_ > 0 ? max_ - pageSize_ + 1 : max_;
    position_ = IsLoading() ? v : std::clamp(v, min_, std::max(min_, last));
    UpdateScrollInfo();
    if (position_ != before && OnChange && !IsLoading()) OnChange(this);
}

void TScrollBar::SetPageSize(int v) {
    pageSize_ = std::max(v, 0);
    UpdateScrollInfo();
}

int TScrollBar::Scrolled(int code) const {
    const int now = Position();
    switch (code) {
    case SB_LINEUP: return now - smallChange_;
    case SB_LINEDOWN: return now + smallChange_;
    case SB_PAGEUP: return now - largeChange_;
    case SB_PAGEDOWN: return now + largeChange_;
    case SB_TOP: return min_;
    case SB_BOTTOM: return max_;
    default: return now;
    }
}

void TScrollBar::WndProc(TMessage& m) {
    if ((m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) && HandleAllocated()) {
        const int code = LOWORD(m.WParam);
        if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) {
            SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
            SendMessageW(WindowHandle(), SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&info));
            SetPosition(info.nTrackPos);
        } else if (code != SB_ENDSCROLL) {
            SetPosition(Scrolled(code));
        }
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}
