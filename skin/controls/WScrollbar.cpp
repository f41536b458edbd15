#include "skin/controls/WScrollbar.h"

#include <algorithm>
#include <cstdlib>

#include "classlib/Handles.h"
#include "core/AsciiCase.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/OptionalEntryPoints.h"
#include "skin/data/WinSkinData.h"

namespace {

constexpr int kArrowFrames = 23;
constexpr int kTrackFrames = 4;
constexpr DWORD kStateUnavailable = 0x1;
constexpr DWORD kStateInvisible = 0x8000;
constexpr DWORD kStateOffscreen = 0x10000;

// First frame of each arrow in the ScrollbarArrows strip; pressed is +1, hot +3.
constexpr int kLeftArrow = 1, kRightArrow = 5, kUpArrow = 9, kDownArrow = 13;
constexpr int kHorzGrip = 17, kVertGrip = 20;

int Along(POINT p, bool vertical) { return vertical ? p.y : p.x; }

bool Usable(const std::unique_ptr<TDataSkinObject>& element) { return element && !element->Bitmap.Empty(); }

}  // namespace

const TClassInfo& TWScrollbar::StaticClass() {
    static const TClassInfo info(L"TWScrollbar", &TCustomPanel::StaticClass(), {});
    return info;
}

TWScrollbar::TWScrollbar(TComponent* owner) : TCustomPanel(owner) {
    SetTabStop(false);
    SetVisible(false);
    SetBevelOuter(TPanelBevel::bvNone);
}

void TWScrollbar::CreateParams(TCreateParams& params) {
    TCustomPanel::CreateParams(params);
    // A click on the overlay must leave the focus where it was.
    params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    params.Style &= ~static_cast<DWORD>(WS_TABSTOP);
}

void TWScrollbar::AttachToControl(TSkinControl* painter, TControl* control, int barMode) {
    TargetControl = control;
    HWND window = nullptr;
    if (auto* windowed = As<TWinControl>(control)) window = windowed->Handle();
    AttachToWindow(painter, window, barMode);
    if (barMode == kControlBar && control)
        Orientation = AsciiLower(control->GetProperty(L"Kind").AsText()) == L"sbhorizontal" ? 0 : 1;
}

void TWScrollbar::AttachToWindow(TSkinControl* painter, HWND window, int barMode) {
    Painter = painter;
    TargetWindow = window;
    BarMode = barMode;
    Orientation = barMode == kControlBar ? ((::GetWindowLongPtrW(window, GWL_STYLE) & SBS_VERT) ? 1 : 0) : barMode;
    ArrowSize = GetSystemMetrics(SM_CXHSCROLL);
    if (!IsWindow(window)) return;
    SetParentWindow(GetParent(window));
    PlaceOverBar(window);
}

bool TWScrollbar::ReadBar(TBarRecord& bar) const {
    if (!IsWindow(TargetWindow)) return false;
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    const LONG object = BarMode == kHorzBar ? OBJID_HSCROLL : BarMode == kVertBar ? OBJID_VSCROLL : OBJID_CLIENT;
    if (!GetScrollBarInfoSafe(TargetWindow, object, info)) return false;
    bar.Screen = info.rcScrollBar;
    bar.ThumbStart = info.xyThumbTop;
    bar.ThumbEnd = info.xyThumbBottom;
    bar.State = info.rgstate[0];
    return true;
}

void TWScrollbar::PlaceOverBar(HWND target) {
    if (target) TargetWindow = target;
    TBarRecord bar;
    if (!ReadBar(bar)) return;
    const LONG_PTR style = ::GetWindowLongPtrW(TargetWindow, GWL_STYLE);
    if (!(style & WS_VISIBLE) || (bar.State & (kStateInvisible | kStateOffscreen)) || IsRectEmpty(&bar.Screen)) {
        HideOverlay();
        return;
    }
    BarRect = bar.Screen;
    MapWindowPoints(HWND_DESKTOP, TargetWindow, reinterpret_cast<POINT*>(&BarRect), 2);
    BarLength = Vertical() ? bar.Screen.bottom - bar.Screen.top : bar.Screen.right - bar.Screen.left;
    RECT place = bar.Screen;
    MapWindowPoints(HWND_DESKTOP, GetParent(TargetWindow), reinterpret_cast<POINT*>(&place), 2);
    // Made when first needed: a bar that never shows (a hidden control, a
    // memo without its second bar) costs no window at start-up.
    HandleNeeded();
    // Just above the target: over its bar, under every window that covers it.
    HWND self = WindowHandle();
    HWND before = GetWindow(TargetWindow, GW_HWNDPREV);
    UINT flags = SWP_NOACTIVATE;
    if (before == self) flags |= SWP_NOZORDER;
    SetWindowPos(self, before ? before : HWND_TOP, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, flags);
    SetVisible(true);
    Shown = true;
    RepaintNow();
}

void TWScrollbar::HideOverlay() {
    Shown = false;
    SetVisible(false);
}

void TWScrollbar::RepaintNow() {
    if (Shown && HandleAllocated()) RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

bool MayScroll(UINT msg) {
    switch (msg) {
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_NCPAINT:
    case WM_PRINTCLIENT:
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_GETFONT:
    case WM_GETDLGCODE:
        return false;
    default:
        return true;
    }
}

void TWScrollbar::RefreshIfChanged() {
    if (refreshing_ || Tracking || !HandleAllocated()) return;
    refreshing_ = true;
    TBarRecord bar;
    if (ReadBar(bar) && !(bar == drawn_)) {
        const bool barShown = (::GetWindowLongPtrW(TargetWindow, GWL_STYLE) & WS_VISIBLE) &&
                              !(bar.State & (kStateInvisible | kStateOffscreen));
        if (barShown != Shown || !EqualRect(&bar.Screen, &drawn_.Screen))
            PlaceOverBar(nullptr);
        else
            RepaintNow();
        drawn_ = bar;
    }
    refreshing_ = false;
}

int TWScrollbar::HitTest(POINT p) const {
    const int c = Along(p, Vertical());
    if (c < ArrowSize) return kFirstArrow;
    if (c < ThumbStart) return kPageBefore;
    if (c < ThumbEnd) return kThumb;
    if (c < BarLength - ArrowSize) return kPageAfter;
    return kSecondArrow;
}

int TWScrollbar::TrackThumb() const {
    POINT cursor{};
    GetCursorPos(&cursor);
    const int length = ThumbEnd - ThumbStart;
    const int moved = ThumbStartAtPress + Along(cursor, Vertical()) - Along(PressPoint, Vertical());
    return std::clamp(moved, ArrowSize, std::max(ArrowSize, BarLength - ArrowSize - length));
}

void TWScrollbar::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_MOUSEACTIVATE:
        m.Result = MA_NOACTIVATE;
        return;
    case WM_ERASEBKGND:
        m.Result = 1;
        return;
    case WM_MOUSEMOVE: {
        const int hot = HitTest(POINT{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))});
        if (hot != HotPart) {
            HotPart = hot;
            RepaintNow();
        }
        TrackMouseLeave(WindowHandle());
        m.Result = 0;
        return;
    }
    case WM_MOUSELEAVE:
        if (!Tracking) {
            HotPart = kNoPart;
            RepaintNow();
        }
        m.Result = 0;
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseDown(m.LParam);
        m.Result = 0;
        return;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        // The wheel over a bar scrolls its control, as over the system's own.
        if (IsWindow(TargetWindow)) m.Result = SendMessageW(TargetWindow, m.Msg, m.WParam, m.LParam);
        return;
    case WM_LBUTTONUP:
        MouseUp();
        m.Result = 0;
        return;
    default:
        TCustomPanel::WndProc(m);
    }
}

void TWScrollbar::MouseDown(LPARAM lParam) {
    if (!IsWindow(TargetWindow)) return;
    GetCursorPos(&PressPoint);
    TBarRecord bar;
    if (!ReadBar(bar)) return;
    ThumbStart = bar.ThumbStart;
    ThumbEnd = bar.ThumbEnd;
    ThumbStartAtPress = ThumbStart;
    const POINT local{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    HotPart = HitTest(local);
    Tracking = true;
    RepaintNow();
    ReleaseCapture();
    // The system's scrolling loop runs inside this call, until the button is
    // released; the bar's messages repaint the overlay meanwhile.
    HWND target = TargetWindow;
    if (BarMode == kControlBar) {
        SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    } else {
        // Non-client mouse messages carry screen co-ordinates.
        SendMessageW(target, WM_NCLBUTTONDOWN, BarMode == kHorzBar ? HTHSCROLL : HTVSCROLL,
                     MAKELPARAM(PressPoint.x, PressPoint.y));
    }
    Tracking = false;
    if (GetCapture() == WindowHandle()) ReleaseCapture();
    RepaintNow();
}

void TWScrollbar::MouseUp() {
    Tracking = false;
    if (GetCapture() == WindowHandle()) ReleaseCapture();
    if (!IsWindow(TargetWindow)) return;
    POINT p{};
    GetCursorPos(&p);
    if (BarMode == kControlBar) {
        ::ScreenToClient(TargetWindow, &p);
        PostMessageW(TargetWindow, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    } else {
        PostMessageW(TargetWindow, WM_NCLBUTTONUP, BarMode == kHorzBar ? HTHSCROLL : HTVSCROLL, MAKELPARAM(p.x, p.y));
    }
}

void TWScrollbar::Paint() {
    TBarRecord bar;
    if (!Painter || !Painter->SkinData || !Usable(Painter->SkinData->ScrollbarArrows) || !ReadBar(bar)) return;
    if (bar.State & (kStateInvisible | kStateOffscreen)) return;
    const int width = bar.Screen.right - bar.Screen.left, height = bar.Screen.bottom - bar.Screen.top;
    const RECT client = ClientRect();
    if (width <= 0 || height <= 0 || width > client.right || height > client.bottom) return;
    BarLength = Vertical() ? height : width;
    ThumbStart = bar.ThumbStart;
    ThumbEnd = bar.ThumbEnd;
    HDC dc = Canvas()->Handle();
    UniqueBitmap composition(CreateCompositionBitmap(width, height));
    if (!composition) return;
    {
        MemoryDC target(dc, composition.get());
        Compose(target.get(), bar, width, height);
        BitBlt(dc, 0, 0, width, height, target.get(), 0, 0, SRCCOPY);
    }
    drawn_ = bar;
}

void TWScrollbar::Compose(HDC dc, const TBarRecord& bar, int width, int height) {
    TSkinData& skin = *Painter->SkinData;
    SetStretchBltMode(dc, COLORONCOLOR);
    Painter->FillFace(dc, RECT{0, 0, width, height});
    const bool vertical = Vertical();
    const int length = BarLength;
    const auto span = [&](int from, int to) {
        return vertical ? RECT{0, from, width, to} : RECT{from, 0, to, height};
    };
    const bool disabled = (bar.State & kStateUnavailable) != 0;

    // Track, between the arrows; a bar too short for two arrows has none.
    const auto& track = vertical ? skin.VertScroll : skin.HorzScroll;
    if (Usable(track) && length > 2 * ArrowSize)
        DrawElement(dc, span(ArrowSize, length - ArrowSize), track->Bitmap, false, track->Tile == 1,
                    track->Trans == 1, kTrackFrames, disabled ? 3 : 1, track->Margins);

    TBitmap& arrows = skin.ScrollbarArrows->Bitmap;
    const int arrow = length < 2 * ArrowSize ? length / 2 : ArrowSize;
    const auto arrowFrame = [&](int first, int part) {
        if (HotPart != part) return first;
        return Tracking ? first + 1 : first + 3;
    };
    DrawFrameStretched(dc, span(0, arrow), arrows, true, kArrowFrames,
                       arrowFrame(vertical ? kUpArrow : kLeftArrow, kFirstArrow));
    DrawFrameStretched(dc, span(length - arrow, length), arrows, true, kArrowFrames,
                       arrowFrame(vertical ? kDownArrow : kRightArrow, kSecondArrow));

    if (disabled) return;
    int start = bar.ThumbStart, end = bar.ThumbEnd;
    if (Tracking && HotPart == kThumb && BarMode != kControlBar) {
        start = TrackThumb();
        end = start + (bar.ThumbEnd - bar.ThumbStart);
    }
    if (start < 0 || end > length || end <= start) return;
    const RECT thumb = span(start, end);
    const bool hot = HotPart == kThumb;
    if (const auto& element = vertical ? skin.VertScrollThumb : skin.HorzScrollThumb; Usable(element))
        DrawElement(dc, thumb, element->Bitmap, false, false, element->Trans == 1, std::max(element->Frame, 1),
                    hot && Tracking ? 2 : hot ? 3 : 1, element->Margins);
    if (end - start > arrows.Height() + 2)
        DrawFrameCentred(dc, thumb, arrows, true, kArrowFrames,
                         (vertical ? kVertGrip : kHorzGrip) + (hot && Tracking ? 1 : hot ? 2 : 0));
}
