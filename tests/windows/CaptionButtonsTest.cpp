// Caption buttons and the skinned menu bar of a plain window skinned with the
// shipped skin, driven with real mouse and keyboard input.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "CaptionTestSupport.h"
#include "classlib/Menus.h"
#include "skin/data/ElementDrawing.h"
#include "skin/forms/WinSkinMenu.h"

using namespace caption_test;

namespace {

// The window's caption button made from the skin's section of that Action and Visibility.
TWinSysButton* ButtonOf(TWinSkinForm& form, int action, int visibility) {
    for (auto& button : form.SysButtons)
        if (button->Element->Action == action && button->Element->Visibility == visibility) return button.get();
    return nullptr;
}

LRESULT CALLBACK AnswersButtonVisible(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == SKM_BUTTONVISIBLE) return wParam == 1500 ? 1 : 0;
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

}  // namespace

TEST(CaptionButtons, VisibilityAndActionDecideWhichButtonsShow) {
    SkinHost host;
    WNDCLASSW wc{};
    wc.lpfnWndProc = &AnswersButtonVisible;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CaptionVisibilityProbe";
    RegisterClassW(&wc);
    UniqueWindow wnd(CreateWindowExW(0, L"CaptionVisibilityProbe", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr));
    TWinSkinForm form(wnd.get(), nullptr, *host.Skin);
    TDataSkinSysButton element("BUTTON0");
    form.SysButtons.push_back(std::make_unique<TWinSysButton>(form, element));
    constexpr int all = TWinSkinForm::kSysMenu | TWinSkinForm::kSysMaximizeBox | TWinSkinForm::kSysMinimizeBox;
    struct Row {
        const char* what;
        int visibility, visibility1, action, sysFlags, windowState, frameKind;
        bool active, shown;
    };
    const Row rows[] = {
        {"restore bitmap while maximised", 1, 0, 1, all, 1, 0, true, true},
        {"restore bitmap while normal", 1, 0, 1, all, 0, 0, true, false},
        {"maximise bitmap while normal", 2, 6, 1, all, 0, 0, true, true},
        {"maximise bitmap while maximised", 2, 6, 1, all, 1, 0, true, false},
        {"maximise bitmap without a maximise box", 2, 6, 99, TWinSkinForm::kSysMenu, 0, 0, true, false},
        {"6 in Visibility also needs the system menu", 6, 0, 99, TWinSkinForm::kSysMaximizeBox, 0, 0, true, false},
        {"6 in Visibility1 needs only the box", 0, 6, 99, TWinSkinForm::kSysMaximizeBox, 0, 0, true, true},
        {"8 minimise box and system menu", 8, 0, 99, all, 0, 0, true, true},
        {"9 no minimise box", 9, 0, 99, all, 0, 0, true, false},
        {"3 active", 3, 0, 99, all, 0, 0, true, true},
        {"4 inactive, window active", 4, 0, 99, all, 0, 0, true, false},
        {"5 never", 5, 0, 99, all, 0, 0, true, false},
        {"200 own dialog frame", 200, 0, 99, all, 0, 3, true, true},
        {"200 not a dialog frame", 200, 0, 99, all, 0, 0, true, false},
        {"201-999 always", 500, 0, 99, all, 0, 0, true, true},
        {"1000-2000 asks the window: yes", 1500, 0, 99, all, 0, 0, true, true},
        {"1000-2000 asks the window: no", 1600, 0, 99, all, 0, 0, true, false},
        {"1000-2000 in Visibility1 holds", 0, 1600, 99, all, 0, 0, true, true},
        {"3000 never", 3000, 0, 99, all, 0, 0, true, false},
        {"close needs the system menu", 0, 0, 0, TWinSkinForm::kSysMaximizeBox, 0, 0, true, false},
        {"minimise action needs the box", 0, 0, 2, TWinSkinForm::kSysMenu, 0, 0, true, false},
        {"icon hidden on a dialog frame", 0, 0, 3, all, 0, 3, true, false},
        {"icon on a sizeable frame", 0, 0, 11, all, 0, 0, true, true},
    };
    for (const Row& row : rows) {
        element.Visibility = row.visibility;
        element.Visibility1 = row.visibility1;
        element.Action = row.action;
        form.SysFlags = row.sysFlags;
        form.WindowState = row.windowState;
        form.FrameKind = row.frameKind;
        form.Active = row.active;
        EXPECT_EQ(form.CaptionButtonVisible(0), row.shown) << row.what;
        EXPECT_EQ(form.SysButtons[0]->Visible, row.shown) << row.what;
    }
}

TEST(CaptionButtons, TheCloseButtonFollowsTheRightEdgeWithTheSkinsOwnPixels) {
    SkinHost host;
    HWND wnd = host.MakeWindow();
    TWinSkinForm* form = SkinHost::Form(wnd);
    ASSERT_NE(form, nullptr);
    TWinSysButton* close = ButtonOf(*form, 0, 0);  // Align 1, XCoord 25
    ASSERT_NE(close, nullptr);
    ASSERT_EQ(close->Element->Align, 1);
    TBitmap& strip = close->Element->Bitmap;
    const int frameWidth = strip.Width() / close->Element->Frame;
    for (const int width : {420, 560}) {
        SetWindowPos(wnd, nullptr, 0, 0, width, 320, SWP_NOMOVE | SWP_NOZORDER);
        PumpFor(300);
        RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        PumpFor(200);
        EXPECT_EQ(close->BoundsRect.left, width - 25) << width;
        EXPECT_EQ(close->BoundsRect.right - close->BoundsRect.left, frameWidth);
        // Frame 1 of the bitmap is on the screen where the button is.
        RECT w{};
        GetWindowRect(wnd, &w);
        WindowDC screen(nullptr);
        int compared = 0;
        for (int y = 0; y < strip.Height(); y += 3)
            for (int x = 0; x < frameWidth; x += 3) {
                const COLORREF skin = GetPixel(strip.Canvas()->Handle(), x, y);
                if (skin == 0xFF00FF) continue;
                EXPECT_EQ(GetPixel(screen.get(), w.left + close->BoundsRect.left + x, w.top + close->BoundsRect.top + y),
                          skin)
                    << x << "," << y;
                ++compared;
            }
        EXPECT_GT(compared, 10);
    }
    DestroyWindow(wnd);
}

namespace {

// WindowState of the skinned window at the moment SC_MAXIMIZE is taken from the queue.
int g_stateAtMaximize = -1;
HWND g_watched = nullptr;
LRESULT CALLBACK WatchSysCommand(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->hwnd == g_watched && msg->message == WM_SYSCOMMAND &&
        (msg->wParam & 0xFFF0) == SC_MAXIMIZE)
        if (TWinSkinForm* form = SkinHost::Form(g_watched)) g_stateAtMaximize = form->WindowState;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST(CaptionButtons, RealClicksMaximiseRestoreMoveMinimiseAndClose) {
    SkinHost host;
    HWND wnd = host.MakeWindow();
    TWinSkinForm* form = SkinHost::Form(wnd);
    ASSERT_NE(form, nullptr);
    TWinSysButton* maximize = ButtonOf(*form, 1, 2);
    TWinSysButton* restore = ButtonOf(*form, 1, 1);
    TWinSysButton* minimize = ButtonOf(*form, 2, 8);
    TWinSysButton* close = ButtonOf(*form, 0, 0);
    ASSERT_TRUE(maximize && restore && minimize && close);

    g_watched = wnd;
    g_stateAtMaximize = -1;
    UniqueHook watch(SetWindowsHookExW(WH_GETMESSAGE, &WatchSysCommand, nullptr, GetCurrentThreadId()));
    Click(CentreOf(wnd, maximize->BoundsRect));
    EXPECT_TRUE(PumpUntil([&] { return IsZoomed(wnd) != FALSE; }));
    watch.reset();
    EXPECT_EQ(g_stateAtMaximize, TWinSkinForm::kStateMaximized) << "the state comes before the command";
    PumpFor(300);
    ASSERT_TRUE(restore->Visible);
    Click(CentreOf(wnd, restore->BoundsRect));
    EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(wnd); }));
    PumpFor(300);

    // A drag on the caption moves the window.
    RECT before{}, after{};
    GetWindowRect(wnd, &before);
    const POINT grip{before.left + 150, before.top + form->CaptionHeight / 2};
    // The system's move loop runs inside the press: the input comes from another thread.
    RunScript([&](DWORD) {
        MoveMouse(grip);
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        Wait(150);
        for (int step = 1; step <= 4; ++step) {
            MoveMouse({grip.x + 10 * step, grip.y + 8 * step});
            Wait(60);
        }
        MouseButton(MOUSEEVENTF_LEFTUP);
        Wait(200);
    });
    PumpFor(200);
    GetWindowRect(wnd, &after);
    EXPECT_EQ(after.left - before.left, 40);
    EXPECT_EQ(after.top - before.top, 32);

    Click(CentreOf(wnd, minimize->BoundsRect));
    EXPECT_TRUE(PumpUntil([&] { return IsIconic(wnd) != FALSE; }));
    ShowWindow(wnd, SW_RESTORE);
    SetForegroundWindow(wnd);
    PumpFor(400);
    ASSERT_FALSE(IsIconic(wnd));

    Log() = {};
    Click(CentreOf(wnd, close->BoundsRect));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(wnd); }));
    if (IsWindow(wnd)) DestroyWindow(wnd);
}

TEST(CaptionButtons, ADoubleClickOnTheIconClosesTheWindow) {
    SkinHost host;
    HWND wnd = host.MakeWindow();
    TWinSkinForm* form = SkinHost::Form(wnd);
    ASSERT_NE(form, nullptr);
    TWinSysButton* icon = ButtonOf(*form, 3, 0);
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(icon->Visible);
    const POINT p = CentreOf(wnd, icon->BoundsRect);
    RunScript([&](DWORD) {
        Click(p);
        Wait(60);
        Click(p);
        Wait(600);
        // A popup still open would keep the window: close it.
        Press(VK_ESCAPE);
        Wait(200);
    });
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(wnd); }));
    if (IsWindow(wnd)) DestroyWindow(wnd);
}

namespace {

constexpr UINT kGoCommand = 300;

struct BarMenu {
    HMENU bar, file, edit, view, recent;
};

BarMenu MakeBar(bool withCommand) {
    BarMenu m{CreateMenu(), CreatePopupMenu(), CreatePopupMenu(), CreatePopupMenu(), CreatePopupMenu()};
    AppendMenuW(m.file, MF_STRING, 101, L"&Open");
    AppendMenuW(m.file, MF_STRING, 102, L"&Save");
    AppendMenuW(m.recent, MF_STRING, 111, L"&1 notes.txt");
    AppendMenuW(m.file, MF_POPUP, reinterpret_cast<UINT_PTR>(m.recent), L"&Recent");
    AppendMenuW(m.edit, MF_STRING, 201, L"Cu&t");
    AppendMenuW(m.view, MF_STRING, 401, L"&Zoom");
    AppendMenuW(m.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m.file), L"&File");
    AppendMenuW(m.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m.edit), L"&Edit");
    if (withCommand) AppendMenuW(m.bar, MF_STRING, kGoCommand, L"&Go");
    AppendMenuW(m.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m.view), L"&View");
    return m;
}

TMenuBtn* BarItem(TWinSkinForm& form, const wchar_t* caption) {
    for (auto& item : form.SkinMenu->Items)
        if (item->Caption == caption) return item.get();
    return nullptr;
}

}  // namespace

TEST(MenuBar, KeysAndMouseOpenThePopupsAndMoveBetweenThemWithWrapAround) {
    SkinHost host;
    const BarMenu m = MakeBar(false);
    HWND wnd = host.MakeWindow(m.bar);
    TWinSkinForm* form = SkinHost::Form(wnd);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(form->SkinMenu);
    EXPECT_EQ(GetMenu(wnd), nullptr) << "Windows keeps no menu bar of its own";
    ASSERT_EQ(form->SkinMenu->Items.size(), 3u);
    TMenuBtn* file = BarItem(*form, L"&File");
    TMenuBtn* edit = BarItem(*form, L"&Edit");
    ASSERT_TRUE(file && edit);
    EXPECT_GT(file->BoundsRect.right, file->BoundsRect.left);

    std::vector<HMENU> seen;
    RunScript([&](DWORD ui) {
        auto look = [&] {
            Wait(350);
            seen.push_back(ShownPopupMenu(ui));
        };
        Click(CentreOf(wnd, file->BoundsRect));
        look();  // File, its first entry highlighted
        Press(VK_UP);
        Press(VK_RIGHT);
        look();  // on Recent, Right opens its popup rather than the next bar item
        Press(VK_LEFT);
        look();  // and Left closes it again
        Press(VK_DOWN);
        Press(VK_RIGHT);
        look();  // Edit
        Press(VK_RIGHT);
        look();  // View
        Press(VK_RIGHT);
        look();  // wraps to File
        Press(VK_LEFT);
        look();  // wraps back to View
        Press(VK_ESCAPE);
        look();  // closed
        Press(VK_F10);
        look();  // File
        Press(VK_ESCAPE);
        look();
        AltPress('E');
        look();  // Edit
        Press(VK_ESCAPE);
        look();
    });
    // (Sliding the mouse along the bar is not checked here: under Xvfb the X
    // pointer stays where SendInput found it while a popup holds the mouse,
    // and the next popup reports that old place as a move.)
    const std::vector<HMENU> expected{m.file, m.recent, m.file,  m.edit, m.view, m.file,
                                      m.view, nullptr,  m.file, nullptr, m.edit, nullptr};
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(form->MenuTracking);
    DestroyWindow(wnd);
    DestroyMenu(m.bar);
}

TEST(MenuBar, ATopLevelCommandItemSendsItsCommandOnce) {
    SkinHost host;
    const BarMenu m = MakeBar(true);
    HWND wnd = host.MakeWindow(m.bar);
    TWinSkinForm* form = SkinHost::Form(wnd);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(form->SkinMenu);
    TMenuBtn* go = BarItem(*form, L"&Go");
    ASSERT_NE(go, nullptr);
    Log() = {};
    Click(CentreOf(wnd, go->BoundsRect));
    PumpFor(400);
    EXPECT_EQ(std::count(Log().commands.begin(), Log().commands.end(), kGoCommand), 1);
    AltPress('G');
    PumpFor(400);
    EXPECT_EQ(std::count(Log().commands.begin(), Log().commands.end(), kGoCommand), 2);
    DestroyWindow(wnd);
    DestroyMenu(m.bar);
}

TEST(MenuBar, ChangesOfAFormsMenuReachItsWindowAndKeepTheOwnerDrawnEntries) {
    // The form's window sees a new main menu as CM_MENUCHANGED.
    auto* form = TComponent::Create<TForm>(Application);
    form->HandleNeeded();
    static int changes = 0;
    changes = 0;
    TWindowSubclass watch;
    watch.Install(form->Handle(), [&](HWND, UINT msg, WPARAM w, LPARAM l) {
        if (msg == CM_MENUCHANGED) ++changes;
        return watch.CallPrevious(msg, w, l);
    });
    auto* menu = TComponent::Create<TMainMenu>(form);
    auto* top = TComponent::Create<TMenuItem>(form);
    top->SetCaption(L"&File");
    auto* open = TComponent::Create<TMenuItem>(form);
    open->SetCaption(L"&Open");
    auto* save = TComponent::Create<TMenuItem>(form);
    save->SetCaption(L"&Save");
    menu->Items()->Add(top);
    top->Add(open);
    top->Add(save);
    changes = 0;
    form->SetMenu(menu);
    EXPECT_GE(changes, 1);
    EXPECT_EQ(GetMenu(form->Handle()), menu->Handle());

    // A skinned bar made the popup's entries owner-drawn; changing an item keeps that.
    auto ownerDrawn = [&](int position) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(top->Handle(), static_cast<UINT>(position), TRUE, &info);
        return (info.fType & MFT_OWNERDRAW) != 0;
    };
    for (int i = 0; i < 2; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(top->Handle(), static_cast<UINT>(i), TRUE, &info);
        info.fType |= MFT_OWNERDRAW;
        SetMenuItemInfoW(top->Handle(), static_cast<UINT>(i), TRUE, &info);
    }
    open->SetChecked(true);
    EXPECT_TRUE(ownerDrawn(0));
    save->SetVisible(false);
    save->SetVisible(true);
    EXPECT_TRUE(ownerDrawn(0) && ownerDrawn(1));
    // Switching the menu's own owner-drawing off still takes it away.
    menu->SetOwnerDraw(true);
    menu->SetOwnerDraw(false);
    EXPECT_FALSE(ownerDrawn(0) || ownerDrawn(1));
    watch.Restore();
    form->Free();
}
