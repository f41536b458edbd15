// Skinned scroll bars on real windows under the shipped skin: the overlays
// are driven with real mouse input and compared with the system's own bars
// and with the skin's bitmaps.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "CaptionTestSupport.h"
#include "ShippedSkinSupport.h"
#include "TestSupport.h"
#include "classlib/Edit.h"
#include "core/SystemColours.h"
#include "classlib/Handles.h"
#include "classlib/ListBox.h"
#include "classlib/Panel.h"
#include "classlib/ScrollBox.h"
#include "classlib/ScrollBar.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/SkinScControl.h"
#include "skin/controls/SkinScrollbarH.h"
#include "skin/controls/SkinSizer.h"
#include "skin/controls/WScrollbar.h"
#include "skin/data/ElementDrawing.h"
#include "skin/forms/WinSkinForm.h"

using namespace caption_test;

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);

std::wstring ManyLines(int count) {
    std::wstring text;
    for (int i = 0; i < count; ++i) text += L"line " + std::to_wstring(i) + L"\r\n";
    return text;
}

SCROLLBARINFO VerticalBar(HWND wnd) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    GetScrollBarInfo(wnd, OBJID_VSCROLL, &info);
    return info;
}

int VerticalPos(HWND wnd, int bar = SB_VERT) {
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(wnd, bar, &info);
    return info.nPos;
}

// A form whose controls get their scroll-bar painters by hand.
struct ScrollForm {
    ShippedSkin shipped;
    TSkinData& skin = *shipped.skin;
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    std::unique_ptr<TWinSkinForm> skinned;

    ScrollForm() {
        form->SetBounds(20, 20, 640, 420);
        form->Show();
        SetForegroundWindow(form->Handle());
        skinned = std::make_unique<TWinSkinForm>(form->Handle(), form.get(), skin);
        PumpFor(100);
    }
    ~ScrollForm() { Unskin(); }
    // Control discovery, as a skinned form runs it.
    void Skin() {
        Unskin();
        skinned = std::make_unique<TWinSkinForm>(form->Handle(), form.get(), skin);
        skinned->SkinControls();
        Redraw();
    }
    void Unskin() {
        if (!skinned) return;
        skinned->DetachControlsOnly();
        skinned.reset();
    }
    TMemo* Memo(int left) {
        auto* memo = TComponent::Create<TMemo>(form.get());
        memo->SetParent(form.get());
        memo->SetBounds(left, 10, 180, 200);
        memo->SetScrollBars(TScrollStyle::ssVertical);
        memo->Lines()->SetText(ManyLines(300));
        // The caret and the view at the first line, so that every test can scroll down.
        SendMessageW(memo->Handle(), EM_SETSEL, 0, 0);
        SendMessageW(memo->Handle(), EM_SCROLLCARET, 0, 0);
        return memo;
    }
    TSkinScrollbar* SkinControl(TControl* control) {
        auto* painter = TComponent::Create<TSkinScrollbar>(control);
        painter->Attach(skinned.get(), &skin, false, &skinned->ControlCanvas);
        Redraw();
        return painter;
    }
    TSkinScrollbarH* SkinWindow(HWND wnd) {
        auto* painter = TComponent::Create<TSkinScrollbarH>(form.get());
        painter->AttachHandle(wnd, &skin, skinned.get(), &skinned->ControlCanvas);
        Redraw();
        return painter;
    }
    void Redraw() {
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpFor(60);
    }
};

// The overlay's pixels along its middle line, as on screen.
std::vector<COLORREF> MiddleColumn(TWScrollbar& bar) {
    WindowDC dc(bar.WindowHandle());
    const RECT r = bar.ClientRect();
    std::vector<COLORREF> pixels;
    for (int y = 0; y < r.bottom; ++y) pixels.push_back(GetPixel(dc.get(), r.right / 2, y));
    return pixels;
}

// The moves (the last one with the release) a drag has still to make.
std::vector<POINT>& DragSteps() {
    static std::vector<POINT> steps;
    return steps;
}

void CALLBACK DragStep(HWND, UINT, UINT_PTR, DWORD) {
    std::vector<POINT>& steps = DragSteps();
    if (steps.empty()) return;
    MoveMouse(steps.front());
    if (steps.size() == 1) MouseButton(MOUSEEVENTF_LEFTUP);
    steps.erase(steps.begin());
}

// Presses at from and drags dy pixels down. The moves and the release come
// from a timer, as a hand's would: after the press, from inside whatever
// loop the press started.
void Drag(POINT from, int dy) {
    DragSteps() = {{from.x, from.y + dy / 2}, {from.x, from.y + dy}};
    MoveMouse(from);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    const UINT_PTR timer = SetTimer(nullptr, 0, 40, DragStep);
    PumpUntil([] { return DragSteps().empty(); }, 3000);
    PumpFor(200);
    KillTimer(nullptr, timer);
}

// True when pixel equals the strip's pixel near (x, y) of frame `frame`:
// stretching may move it by one.
bool NearFramePixel(TBitmap& strip, int frames, int frame, int x, int y, COLORREF pixel) {
    const int frameWidth = strip.Width() / frames;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (GetPixel(strip.Canvas()->Handle(), (frame - 1) * frameWidth + x + dx, y + dy) == pixel) return true;
    return false;
}

}  // namespace

TEST(SkinScrollbar, ThumbDraggedWithTheMouseScrollsAMemoToTheLineTheSystemBarGives) {
    ScrollForm w;
    TMemo* plain = w.Memo(10);
    TMemo* skinned = w.Memo(220);
    TSkinScrollbar* painter = w.SkinControl(skinned);
    ASSERT_TRUE(painter->VertBar && painter->VertBar->Shown);
    ASSERT_FALSE(painter->HorzBar->Shown);

    // The overlay lies exactly over the system bar, on the memo's parent.
    const SCROLLBARINFO bar = VerticalBar(skinned->Handle());
    RECT overlay{};
    GetWindowRect(painter->VertBar->WindowHandle(), &overlay);
    EXPECT_TRUE(EqualRect(&overlay, &bar.rcScrollBar));
    EXPECT_EQ(GetParent(painter->VertBar->WindowHandle()), w.form->Handle());
    const POINT middle{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2,
                       (bar.rcScrollBar.top + bar.rcScrollBar.bottom) / 2};
    EXPECT_EQ(WindowFromPoint(middle), painter->VertBar->WindowHandle());

    for (TMemo* memo : {plain, skinned}) {
        const SCROLLBARINFO info = VerticalBar(memo->Handle());
        Drag({(info.rcScrollBar.left + info.rcScrollBar.right) / 2,
              info.rcScrollBar.top + (info.xyThumbTop + info.xyThumbBottom) / 2},
             60);
    }
    const auto line = [](TMemo* m) { return SendMessageW(m->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0); };
    EXPECT_GT(line(plain), 20);
    EXPECT_EQ(line(skinned), line(plain));
    // Clicking the overlay left the focus where it was.
    EXPECT_NE(GetFocus(), painter->VertBar->WindowHandle());
}

TEST(SkinScrollbar, ArrowsAndThumbAreTheSkinsFramesAndTheHotArrowItsHotFrame) {
    ScrollForm w;
    TMemo* memo = w.Memo(10);
    TWScrollbar& bar = *w.SkinControl(memo)->VertBar;
    TBitmap& arrows = w.skin.ScrollbarArrows->Bitmap;
    const int arrow = bar.ArrowSize, width = bar.ClientRect().right;
    const int frameWidth = arrows.Width() / 23;
    // Centre of each arrow box mapped into the frame.
    const int fx = frameWidth / 2, fy = arrows.Height() / 2;
    const auto pixel = [&](int x, int y) {
        WindowDC dc(bar.WindowHandle());
        return GetPixel(dc.get(), x, y);
    };
    const COLORREF up = pixel(width / 2, arrow / 2), down = pixel(width / 2, bar.BarLength - arrow / 2);
    ASSERT_NE(up, kKey);
    EXPECT_TRUE(NearFramePixel(arrows, 23, 9, fx, fy, up));
    EXPECT_TRUE(NearFramePixel(arrows, 23, 13, fx, fy, down));

    // The thumb's first row is the thumb element's top edge, frame 1.
    const SCROLLBARINFO info = VerticalBar(memo->Handle());
    TBitmap& thumb = w.skin.VertScrollThumb->Bitmap;
    const int thumbFrames = std::max(w.skin.VertScrollThumb->Frame, 1);
    EXPECT_TRUE(NearFramePixel(thumb, thumbFrames, 1, thumb.Width() / thumbFrames / 2, 1,
                               pixel(width / 2, info.xyThumbTop + 1)));

    // Hovered, the down arrow shows its hot frame (16).
    RECT r{};
    GetWindowRect(bar.WindowHandle(), &r);
    MoveMouse({r.left + width / 2, r.bottom - arrow / 2});
    PumpUntil([&] { return bar.HotPart == TWScrollbar::kSecondArrow; }, 1000);
    EXPECT_TRUE(NearFramePixel(arrows, 23, 16, fx, fy, pixel(width / 2, bar.BarLength - arrow / 2)));
    MoveMouse({0, 0});
}

TEST(SkinScrollbar, KeyboardAndCodeScrollingShowTheNewThumbAtOnce) {
    ScrollForm w;
    TMemo* memo = w.Memo(10);
    TWScrollbar& bar = *w.SkinControl(memo)->VertBar;
    struct Row {
        const char* name;
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    };
    for (const Row& row : {Row{"page down key", WM_KEYDOWN, VK_NEXT, 0}, Row{"lines by code", EM_LINESCROLL, 0, 40},
                           Row{"scroll message", WM_VSCROLL, SB_PAGEDOWN, 0}}) {
        SCOPED_TRACE(row.name);
        const std::vector<COLORREF> before = MiddleColumn(bar);
        const int pos = VerticalPos(memo->Handle());
        SendMessageW(memo->Handle(), row.msg, row.wParam, row.lParam);
        ASSERT_GT(VerticalPos(memo->Handle()), pos);
        // No message pumped: what is on screen is already the new thumb.
        const std::vector<COLORREF> now = MiddleColumn(bar);
        EXPECT_TRUE(now != before) << "the overlay still shows the old thumb";
        w.Redraw();
        bar.HotPart = TWScrollbar::kNoPart;
        bar.RepaintNow();
        EXPECT_TRUE(MiddleColumn(bar) == now) << "a full repaint draws another thumb";
    }
}

TEST(SkinScrollbar, ListsAndScrollBarControlsScrollWithArrowPageAndWheelThroughTheOverlay) {
    ScrollForm w;
    auto* list = TComponent::Create<TListBox>(w.form.get());
    list->SetParent(w.form.get());
    list->SetBounds(10, 10, 150, 200);
    for (int i = 0; i < 200; ++i) list->Items()->Add(L"item " + std::to_wstring(i));
    HWND tree = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 180, 10, 150,
                                200, w.form->Handle(), nullptr, nullptr, nullptr);
    for (int i = 0; i < 200; ++i) {
        std::wstring text = L"node " + std::to_wstring(i);
        TVINSERTSTRUCTW item{};
        item.hInsertAfter = TVI_LAST;
        item.item.mask = TVIF_TEXT;
        item.item.pszText = text.data();
        SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    HWND view = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 350, 10, 200,
                                200, w.form->Handle(), nullptr, nullptr, nullptr);
    LVCOLUMNW column{LVCF_WIDTH | LVCF_TEXT, 0, 150, const_cast<wchar_t*>(L"Name"), 0, 0, 0, 0, 0, 0, 0};
    SendMessageW(view, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    for (int i = 0; i < 200; ++i) {
        std::wstring text = L"row " + std::to_wstring(i);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = text.data();
        SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    auto* control = TComponent::Create<TScrollBar>(w.form.get());
    control->SetParent(w.form.get());
    control->SetKind(TScrollBarKind::sbVertical);
    control->SetBounds(570, 10, 17, 200);
    control->SetPageSize(10);
    control->SetLargeChange(10);
    auto* controlPainter = TComponent::Create<TSkinScControl>(control);
    controlPainter->Attach(w.skinned.get(), &w.skin, false, &w.skinned->ControlCanvas);
    // A scroll box taller inside than out: its bar moves its children.
    auto* box = TComponent::Create<TScrollBox>(w.form.get());
    box->SetParent(w.form.get());
    box->SetBounds(10, 230, 200, 150);
    auto* content = TComponent::Create<TPanel>(box);
    content->SetParent(box);
    content->SetBounds(0, 0, 150, 900);
    w.Redraw();
    struct Row {
        const char* name;
        HWND wnd;
        TWScrollbar* bar;
        int which;   // SB_VERT, or SB_CTL for a scroll-bar control
        int line;    // what one arrow click scrolls
        bool wheel;  // a scroll-bar control and a scroll box leave the wheel to their parent
    };
    const std::vector<Row> rows{{"list box", list->Handle(), w.SkinControl(list)->VertBar, SB_VERT, 1, true},
                                {"tree view", tree, w.SkinWindow(tree)->VertBar, SB_VERT, 1, true},
                                {"list view", view, w.SkinWindow(view)->VertBar, SB_VERT, 1, true},
                                {"scroll-bar control", control->Handle(), controlPainter->Bar, SB_CTL, 1, false},
                                {"scroll box", box->Handle(), w.SkinControl(box)->VertBar, SB_VERT, 8, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(row.bar->Shown);
        RECT r{};
        GetWindowRect(row.bar->WindowHandle(), &r);
        const int x = (r.left + r.right) / 2, arrow = row.bar->ArrowSize;
        int pos = VerticalPos(row.wnd, row.which);
        Click({x, r.bottom - arrow / 2});
        PumpFor(150);
        EXPECT_EQ(VerticalPos(row.wnd, row.which), pos + row.line) << "arrow";
        pos = VerticalPos(row.wnd, row.which);
        Click({x, r.bottom - arrow - 3});
        PumpFor(150);
        EXPECT_GT(VerticalPos(row.wnd, row.which), pos + 1) << "page";
        if (!row.wheel) continue;
        pos = VerticalPos(row.wnd, row.which);
        MoveMouse({x, (r.top + r.bottom) / 2});
        SetFocus(row.wnd);
        INPUT wheel{};
        wheel.type = INPUT_MOUSE;
        wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
        wheel.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
        SendInput(1, &wheel, sizeof wheel);
        PumpFor(150);
        EXPECT_GT(VerticalPos(row.wnd, row.which), pos) << "wheel";
    }
    // The control's own position follows what the overlay did, and the
    // scroll box's content moved with its bar.
    EXPECT_EQ(control->Position(), VerticalPos(control->Handle(), SB_CTL));
    EXPECT_GT(control->Position(), 1);
    EXPECT_EQ(content->Top(), -VerticalPos(box->Handle()));
    MoveMouse({0, 0});
    DestroyWindow(tree);
    DestroyWindow(view);
}

TEST(SkinScrollbar, SkinOffAndOnAndDestroyLeaveNoOverlayAndNoGdiGrowth) {
    ScrollForm w;
    const auto overlays = [&] {
        int count = 0;
        for (HWND child = GetWindow(w.form->Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            if (std::wstring(name) == L"TWScrollbar") ++count;
        }
        return count;
    };
    TMemo* memo = w.Memo(10);
    w.Skin();
    // The vertical bar shows; the horizontal one gets a window only once it does.
    EXPECT_EQ(overlays(), 1);
    long live = 0;
    for (int round = 0; round < 30; ++round) {
        if (round == 5) live = LiveGdiObjects();
        w.Unskin();
        EXPECT_EQ(overlays(), 0);
        w.Skin();
    }
    EXPECT_LE(LiveGdiObjects(), live + 2);
    // Painting switched off for the memo alone takes its overlays off the
    // screen; switched on, the vertical one is back over the bar.
    const auto shownOverlays = [&] {
        int count = 0;
        for (HWND child = GetWindow(w.form->Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (IsWindowVisible(child) && child != memo->Handle()) ++count;
        return count;
    };
    ASSERT_EQ(shownOverlays(), 1);
    SendMessageW(memo->Handle(), SKM_ENABLESKIN, 0, 0);
    PumpFor(50);
    EXPECT_EQ(shownOverlays(), 0);
    SendMessageW(memo->Handle(), SKM_ENABLESKIN, 1, 0);
    PumpFor(50);
    EXPECT_EQ(shownOverlays(), 1);
    // Hidden with its control, placed again when it shows.
    memo->Hide();
    PumpFor(50);
    for (HWND child = GetWindow(w.form->Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        EXPECT_FALSE(IsWindowVisible(child)) << "an overlay stayed on screen";
    memo->Show();
    PumpFor(50);
    memo->Free();
    PumpFor(50);
    EXPECT_EQ(overlays(), 0);
}

TEST(SkinScrollbar, ASizeGripIsFilledWithTheSkinsFaceColour) {
    ScrollForm w;
    ASSERT_NE(static_cast<COLORREF>(ColorToRGB(w.skin.ButtonFaceColour)), GetSysColor(COLOR_BTNFACE)) << "the skin would not show";
    HWND grip = CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 300, 300, 20, 20,
                                w.form->Handle(), nullptr, nullptr, nullptr);
    auto* painter = TComponent::Create<TSkinSizer>(w.form.get());
    painter->AttachHandle(grip, &w.skin, w.skinned.get(), &w.skinned->ControlCanvas);
    RedrawWindow(grip, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    PumpFor(60);
    WindowDC dc(grip);
    for (POINT p : {POINT{1, 1}, POINT{10, 10}, POINT{18, 18}})
        EXPECT_EQ(GetPixel(dc.get(), p.x, p.y), static_cast<COLORREF>(ColorToRGB(w.skin.ButtonFaceColour))) << p.x << "," << p.y;
    DestroyWindow(grip);
}

TEST(SkinScrollbar, AMemoWhoseWindowIsRecreatedGetsFreshOverlaysOverItsNewBars) {
    ScrollForm w;
    TMemo* memo = w.Memo(10);
    w.Skin();
    // The form answers the painter's request for a successor.
    w.skinned->AttachToForm(&w.skin, w.form.get());
    PumpFor(50);
    const HWND old = memo->Handle();
    memo->SetScrollBars(TScrollStyle::ssBoth);
    ASSERT_NE(memo->Handle(), old) << "the window was not recreated";
    PumpFor(100);
    std::vector<HWND> shown;
    for (HWND child = GetWindow(w.form->Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (child != memo->Handle() && IsWindowVisible(child)) shown.push_back(child);
    ASSERT_EQ(shown.size(), 2u) << "one overlay for each of the new window's bars";
    SCROLLBARINFO vertical = VerticalBar(memo->Handle());
    const bool covered = std::any_of(shown.begin(), shown.end(), [&](HWND overlay) {
        RECT r{};
        GetWindowRect(overlay, &r);
        return EqualRect(&r, &vertical.rcScrollBar) != FALSE;
    });
    EXPECT_TRUE(covered) << "no overlay lies over the new vertical bar";
}
