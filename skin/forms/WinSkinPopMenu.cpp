#include "skin/forms/WinSkinPopMenu.h"

#include <algorithm>

#include "skin/controls/SkinManager.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"

namespace {

// Width of the popup's frame strips.
constexpr int kFrameWidth = 3;
// GetDCEx: the DC follows the window class's style (not in every SDK header).
constexpr DWORD kDcxUseStyle = 0x00010000;

RECT WindowBounds(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return {0, 0, r.right - r.left, r.bottom - r.top};
}

}  // namespace

TWinSkinPopMenu::~TWinSkinPopMenu() { Detach(); }

void TWinSkinPopMenu::Attach(HWND menuWindow, TSkinData* skinData, HMENU menu) {
    if (subclass_.Installed()) return;
    Handle = menuWindow;
    SkinData = skinData;
    MenuHandle = menu;
    subclass_.Install(menuWindow, [this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        return WndProc(wnd, msg, wParam, lParam);
    });
}

void TWinSkinPopMenu::Detach() {
    subclass_.Restore();
    FrameBitmap.Clear();
}

POINT TWinSkinPopMenu::ClientOrigin() const {
    RECT window{};
    GetWindowRect(Handle, &window);
    POINT origin{0, 0};
    ClientToScreen(Handle, &origin);
    return {origin.x - window.left, origin.y - window.top};
}

RECT TWinSkinPopMenu::ClientBounds() const {
    RECT client{};
    GetClientRect(Handle, &client);
    const POINT origin = ClientOrigin();
    OffsetRect(&client, origin.x, origin.y);
    return client;
}

bool TWinSkinPopMenu::FrameInClient() const {
    const RECT client = ClientBounds(), window = WindowBounds(Handle);
    return EqualRect(&client, &window) != FALSE;
}

RECT TWinSkinPopMenu::ItemArea() const {
    RECT area = ClientBounds();
    if (FrameInClient()) InflateRect(&area, -kFrameWidth, -kFrameWidth);
    return area;
}

bool TWinSkinPopMenu::CanPaint() const {
    return SkinData && !SkinData->SkinPending && SkinData->MenuBackground &&
           !SkinData->MenuBackground->Bitmap.Empty();
}

void TWinSkinPopMenu::RenderBackground() {
    TDataSkinObject& element = *SkinData->MenuBackground;
    const RECT bounds = WindowBounds(Handle);
    UniqueBitmap rendered =
        BuildElementBitmap(bounds, element.Bitmap, element.Margins, false, element.Tile == 1, 1, 1);
    if (rendered) FrameBitmap.SetHandle(rendered.release());
    else FrameBitmap.Clear();
    if (MenuHandle) return;
    // The window knows its menu; the manager's guess from the items drawn
    // serves where it does not answer.
    TSkinManage* manager = TSkinManage::Instance();
    const auto menu = reinterpret_cast<HMENU>(subclass_.CallPrevious(MN_GETHMENU, 0, 0));
    if (menu && IsMenu(menu) && (!manager || !manager->PopupFor(menu))) MenuHandle = menu;
    else if (manager) manager->CurrentPopup = this;
}

void TWinSkinPopMenu::CopyFrame(HDC dc, bool wholeBitmap) {
    if (FrameBitmap.Empty()) return;
    const int w = FrameBitmap.Width(), h = FrameBitmap.Height();
    const RECT items = ItemArea();
    HDC source = FrameBitmap.Canvas()->Handle();
    const RECT strips[] = {
        {0, 0, w, items.top},
        {0, items.bottom, w, h},
        {0, items.top, items.left, items.bottom},
        {items.right, items.top, w, items.bottom},
    };
    for (const RECT& s : strips)
        if (s.right > s.left && s.bottom > s.top)
            BitBlt(dc, s.left, s.top, s.right - s.left, s.bottom - s.top, source, s.left, s.top, SRCCOPY);
    if (wholeBitmap) BitBlt(dc, 0, 0, w, h, source, 0, 0, SRCCOPY);
}

LRESULT TWinSkinPopMenu::NCPaint(WPARAM updateRegion) {
    RenderBackground();
    // A popup without a non-client frame paints it with its client (WM_PAINT).
    if (FrameInClient()) return 0;
    const bool whole = updateRegion <= 1;
    HDC dc = GetDCEx(Handle, whole ? nullptr : reinterpret_cast<HRGN>(updateRegion),
                     DCX_WINDOW | kDcxUseStyle | (whole ? 0 : DCX_INTERSECTRGN));
    if (!dc) return 0;
    struct Release {
        HWND wnd;
        HDC dc;
        ~Release() { ReleaseDC(wnd, dc); }
    } release{Handle, dc};
    // This may come without a WM_PAINT: the items are left as they are.
    const RECT client = ClientBounds();
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    CopyFrame(dc, true);
    return 0;
}

LRESULT TWinSkinPopMenu::Paint() {
    if (!FrameInClient()) return subclass_.CallPrevious(WM_PAINT, 0, 0);
    // The frame lies inside the client area, where the system would draw its
    // own: the background goes first, then the items, kept off the frame.
    struct Painting {
        explicit Painting(HWND w) : wnd(w), dc(BeginPaint(w, &ps)) {}
        ~Painting() { EndPaint(wnd, &ps); }
        HWND wnd;
        PAINTSTRUCT ps{};
        HDC dc;
    } painting(Handle);
    if (!painting.dc) return 0;
    RenderBackground();
    CopyFrame(painting.dc, true);
    const RECT items = ItemArea();
    SavedDC saved(painting.dc);
    IntersectClipRect(painting.dc, items.left, items.top, items.right, items.bottom);
    SetBkMode(painting.dc, TRANSPARENT);
    subclass_.CallPrevious(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(painting.dc), PRF_CLIENT);
    return 0;
}

LRESULT TWinSkinPopMenu::Print(HDC dc, LPARAM flags) {
    RenderBackground();
    CopyFrame(dc, true);
    const RECT items = ItemArea();
    SavedDC saved(dc);
    IntersectClipRect(dc, items.left, items.top, items.right, items.bottom);
    SetBkMode(dc, TRANSPARENT);
    return subclass_.CallPrevious(WM_PRINT, reinterpret_cast<WPARAM>(dc), flags);
}

LRESULT TWinSkinPopMenu::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == SKM_ISSKINNED) return 1;
    const TSkinManage* manager = TSkinManage::Instance();
    if (!manager || !manager->Active || !SkinData) return subclass_.CallPrevious(wnd, msg, wParam, lParam);
    switch (msg) {
    case WM_DESTROY:
        Detach();
        break;
    case WM_ERASEBKGND:
        if (!SkinData->HasOption(xoMenuBG)) subclass_.CallPrevious(wnd, msg, wParam, lParam);
        return 1;
    case WM_NCPAINT:
    case WM_PAINT:
    case WM_PRINT:
        if (!CanPaint()) break;
        try {
            if (msg == WM_NCPAINT) return NCPaint(wParam);
            if (msg == WM_PAINT) return Paint();
            return Print(reinterpret_cast<HDC>(wParam), lParam);
        } catch (...) {
            // A failed skin paint leaves the popup to the system.
            FrameBitmap.Clear();
        }
        break;
    default:
        break;
    }
    return subclass_.CallPrevious(wnd, msg, wParam, lParam);
}
