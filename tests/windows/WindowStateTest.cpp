// Window state, the skinned system popup and the MDI client of skinned
// windows: plain Win32 windows skinned with the shipped skin.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "CaptionTestSupport.h"
#include "classlib/Menus.h"

using namespace caption_test;

TEST(WindowState, TheSystemPopupMirrorsTheSystemMenuAndItsCloseItemPostsScClose) {
    SkinHost host;
    HWND wnd = host.MakeWindow();
    TWinSkinForm* form = SkinHost::Form(wnd);
    ASSERT_NE(form, nullptr);

    form->BuildSystemPopup();
    ASSERT_TRUE(form->SystemPopup);
    EXPECT_EQ(form->SystemPopup->Tag(), 33333);
    TMenuItem* items = form->SystemPopup->Items();
    ASSERT_EQ(items->Count(), GetMenuItemCount(GetSystemMenu(wnd, FALSE)));
    auto item = [&](int command) -> TMenuItem* {
        for (int i = 0; i < items->Count(); ++i)
            if (items->Items(i)->Tag() == command) return items->Items(i);
        return nullptr;
    };
    ASSERT_TRUE(item(SC_RESTORE) && item(SC_MOVE) && item(SC_CLOSE) && item(SC_MAXIMIZE));
    EXPECT_FALSE(item(SC_RESTORE)->Enabled()) << "a normal window has nothing to restore";
    EXPECT_TRUE(item(SC_MOVE)->Enabled());
    EXPECT_EQ(item(SC_CLOSE)->ImageIndex(), 3);
    EXPECT_EQ(item(SC_MAXIMIZE)->ImageIndex(), 1);

    // A right click on the caption opens it; Close is chosen with the keys,
    // from the end (Wine adds entries after it).
    int upPresses = 1;
    for (int i = items->Count() - 1; i >= 0 && items->Items(i)->Tag() != SC_CLOSE; --i)
        if (!items->Items(i)->IsLine() && items->Items(i)->Enabled()) ++upPresses;
    RECT w{};
    GetWindowRect(wnd, &w);
    const POINT onCaption{w.left + 150, w.top + form->CaptionHeight / 2};
    Log() = {};
    bool opened = false;
    RunScript([&](DWORD ui) {
        MoveMouse(onCaption);
        MouseButton(MOUSEEVENTF_RIGHTDOWN);
        Wait(400);
        opened = ShownPopupMenu(ui) != nullptr;
        for (int i = 0; i < upPresses; ++i) {
            Press(VK_UP);
            Wait(100);
        }
        Press(VK_RETURN);
        Wait(300);
        MouseButton(MOUSEEVENTF_RIGHTUP);
    });
    EXPECT_TRUE(opened);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(wnd); }));
    EXPECT_NE(std::find(Log().sysCommands.begin(), Log().sysCommands.end(), UINT(SC_CLOSE)), Log().sysCommands.end());
    if (IsWindow(wnd)) DestroyWindow(wnd);
}

TEST(WindowState, AWmCommandCarryingASystemCommandComesBackAsWmSysCommand) {
    SkinHost host;
    HWND wnd = host.MakeWindow();
    ASSERT_NE(SkinHost::Form(wnd), nullptr);
    Log() = {};
    SendMessageW(wnd, WM_COMMAND, SC_MINIMIZE, 0);
    SendMessageW(wnd, WM_COMMAND, 1234, 0);
    PumpUntil([&] { return IsIconic(wnd) != FALSE; });
    EXPECT_EQ(Log().commands, std::vector<UINT>{1234});
    EXPECT_EQ(Log().sysCommands, std::vector<UINT>{SC_MINIMIZE});
    DestroyWindow(wnd);
}

namespace {

LRESULT CALLBACK MdiFrameProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static HWND client = nullptr;
    if (msg == WM_CREATE) {
        CLIENTCREATESTRUCT ccs{};
        ccs.idFirstChild = 5000;
        client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 0, 0, wnd,
                                 nullptr, GetModuleHandleW(nullptr), &ccs);
    }
    return DefFrameProcW(wnd, client, msg, wParam, lParam);
}

}  // namespace

TEST(WindowState, TheMDIClientProcedureKeepsMenuUpdatesAndTheMaximisedFlag) {
    SkinHost host;
    WNDCLASSW frame{};
    frame.lpfnWndProc = &MdiFrameProc;
    frame.hInstance = GetModuleHandleW(nullptr);
    frame.lpszClassName = L"CaptionMdiFrame";
    RegisterClassW(&frame);
    WNDCLASSW child{};
    child.lpfnWndProc = &DefMDIChildProcW;
    child.hInstance = GetModuleHandleW(nullptr);
    child.lpszClassName = L"CaptionMdiChild";
    RegisterClassW(&child);
    HWND parent = CreateWindowExW(0, L"CaptionMdiFrame", L"MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 100, 100, 500,
                                  400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(parent, SW_SHOWNORMAL);
    SetForegroundWindow(parent);
    TSkinManage& manager = *TSkinManage::Instance();
    manager.SkinWindow(parent);
    PumpFor(400);
    TWinSkinForm* form = SkinHost::Form(parent);
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->MDIKind, TWinSkinForm::kMDIParent);
    HWND client = form->MDIClient;
    ASSERT_NE(client, nullptr);
    host.Skin->SetMenuUpdate(true);
    form->MenuUpdate = true;

    MDICREATESTRUCTW mcs{};
    mcs.szClass = L"CaptionMdiChild";
    mcs.szTitle = L"Child";
    mcs.hOwner = GetModuleHandleW(nullptr);
    mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
    const auto created = reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    ASSERT_NE(created, nullptr);
    EXPECT_FALSE(host.Skin->MenuUpdate()) << "menu updates wait while MDI children come";

    manager.MDIMaximized = true;
    SendMessageW(client, WM_MDICASCADE, 0, 0);
    EXPECT_FALSE(manager.MDIMaximized) << "cascading ends the maximised children";

    manager.MDIMaximized = true;
    SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(created), 0);
    EXPECT_FALSE(manager.MDIMaximized);
    EXPECT_TRUE(host.Skin->MenuUpdate()) << "the last child gone, menu updates come back";
    PumpFor(100);
    DestroyWindow(parent);
}
