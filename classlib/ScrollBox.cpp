#include "classlib/ScrollBox.h"

#include <algorithm>

const TClassInfo& TScrollBox::StaticClass() {
    static const TClassInfo info(L"TScrollBox", &TWinControl::StaticClass(),
                                 {
                                     props::Enumeration(L"BorderStyle", &TScrollBox::BorderStyle,
                                                        &TScrollBox::SetBorderStyle, {L"bsNone", L"bsSingle"}),
                                 });
    return info;
}

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 41); }

void TScrollBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style |= WS_CLIPCHILDREN;
    if (borderStyle_ == TBorderStyle::bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::SetBorderStyle(TBorderStyle v) {
    if (v == borderStyle_) return;
    borderStyle_ = v;
    RecreateWnd();
}

void TScrollBox::AlignControls(RECT& rect) {
    TWinControl::AlignControls(rect);
    UpdateRanges();
}

void TScrollBox::UpdateRanges() {
    if (!HandleAllocated() || updating_) return;
    updating_ = true;
    // Children sit at their scrolled places: add the scroll back for the extent.
    int right = 0, bottom = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible()) continue;
        right = std::max(right, c->Left() + c->Width() + static_cast<int>(pos_.x));
        bottom = std::max(bottom, c->Top() + c->Height() + static_cast<int>(pos_.y));
    }
    HWND wnd = WindowHandle();
    for (int bar : {SB_HORZ, SB_VERT}) {
        RECT client{};
        GetClientRect(wnd, &client);
        const int page = bar == SB_HORZ ? client.right : client.bottom;
        const int extent = bar == SB_HORZ ? right : bottom;
        SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, 0, std::max(extent - 1, 0),
                        static_cast<UINT>(std::max(page, 0)), 0, 0};
        SetScrollInfo(wnd, bar, &info, TRUE);
    }
    // A larger client area may leave the content scrolled too far.
    const auto limit = [&](int bar, int pos) {
        SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(wnd, bar, &info);
        return std::clamp(pos, 0, std::max(0, info.nMax - static_cast<int>(info.nPage) + 1));
    };
    ScrollTo(limit(SB_HORZ, pos_.x), limit(SB_VERT, pos_.y));
    updating_ = false;
}

void TScrollBox::ScrollTo(int x, int y) {
    if (!HandleAllocated()) return;
    const int dx = pos_.x - x, dy = pos_.y - y;
    pos_ = {x, y};
    HWND wnd = WindowHandle();
    SetScrollPos(wnd, SB_HORZ, x, TRUE);
    SetScrollPos(wnd, SB_VERT, y, TRUE);
    if (dx || dy)
        ScrollWindowEx(wnd, dx, dy, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

int TScrollBox::Scrolled(int bar, int code) const {
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(WindowHandle(), bar, &info);
    const int page = std::max(static_cast<int>(info.nPage), 1);
    const int last = std::max(0, info.nMax - page + 1);
    int pos = info.nPos;
    switch (code) {
    case SB_LINEUP: pos -= 8; break;
    case SB_LINEDOWN: pos += 8; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = last; break;
    default: break;
    }
    return std::clamp(pos, 0, last);
}

void TScrollBox::WndProc(TMessage& m) {
    // With lParam set, the notification is a scroll-bar control's: it goes on to it.
    if ((m.Msg == WM_HSCROLL || m.Msg == WM_VSCROLL) && m.LParam == 0) {
        const int code = LOWORD(m.WParam);
        if (m.Msg == WM_HSCROLL) ScrollTo(Scrolled(SB_HORZ, code), pos_.y);
        else ScrollTo(pos_.x, Scrolled(SB_VERT, code));
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
    if (m.Msg == WM_SIZE) UpdateRanges();
}
