// Subclassing through object-instance thunks: messages pass the handler and
// reach the previous procedure in the window's own character set, and
// restoring is safe whatever was installed after us.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "classlib/Handles.h"
#include "classlib/WindowSubclass.h"

namespace {

UniqueWindow MakeEdit(bool unicode) {
    return UniqueWindow(unicode ? CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr)
                                : CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr));
}

constexpr UINT kProbe = WM_APP + 7;

}  // namespace

TEST(WindowSubclass, HandlerSeesMessagesAndRestoreHandsBackTheWindow) {
    const int liveBefore = TObjectInstance::LiveCount();
    UniqueWindow edit = MakeEdit(true);
    const auto original = GetWindowLongPtrW(edit.get(), GWLP_WNDPROC);
    {
        TWindowSubclass subclass;
        std::vector<UINT> seen;
        ASSERT_TRUE(subclass.Install(edit.get(), [&](HWND wnd, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
            seen.push_back(msg);
            if (msg == kProbe) return 4321;
            return subclass.CallPrevious(wnd, msg, wp, lp);
        }));
        EXPECT_FALSE(subclass.Install(edit.get(), nullptr)) << "a second install must change nothing";
        EXPECT_EQ(SendMessageW(edit.get(), kProbe, 0, 0), 4321);
        SetWindowTextW(edit.get(), L"\x4F60\x597D");
        wchar_t text[8] = {};
        GetWindowTextW(edit.get(), text, 8);
        EXPECT_EQ(std::wstring(text), L"\x4F60\x597D");
        EXPECT_NE(std::find(seen.begin(), seen.end(), UINT(WM_SETTEXT)), seen.end());
        EXPECT_EQ(TObjectInstance::LiveCount(), liveBefore + 1);
    }
    EXPECT_EQ(GetWindowLongPtrW(edit.get(), GWLP_WNDPROC), original);
    EXPECT_EQ(SendMessageW(edit.get(), kProbe, 0, 0), 0);
    EXPECT_EQ(TObjectInstance::LiveCount(), liveBefore);
}

TEST(WindowSubclass, AnsiWindowChainsThroughTheAnsiFunctions) {
    UniqueWindow edit = MakeEdit(false);
    ASSERT_FALSE(IsWindowUnicode(edit.get()));
    TWindowSubclass subclass;
    ASSERT_TRUE(subclass.Install(edit.get(), [&](HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
        return subclass.CallPrevious(wnd, msg, wp, lp);
    }));
    EXPECT_FALSE(subclass.Unicode());
    EXPECT_FALSE(IsWindowUnicode(edit.get())) << "installing must not turn the window into a Unicode one";
    SetWindowTextA(edit.get(), "abc");
    char text[8] = {};
    GetWindowTextA(edit.get(), text, 8);
    EXPECT_STREQ(text, "abc");
}

// Someone subclasses after us and we go first: their chain must keep working
// and reach the original procedure.
TEST(WindowSubclass, RestoreUnderALaterSubclassKeepsTheChainWorking) {
    UniqueWindow edit = MakeEdit(true);
    auto ours = std::make_unique<TWindowSubclass>();
    int ourCalls = 0;
    ASSERT_TRUE(ours->Install(edit.get(), [&](HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
        ++ourCalls;
        return ours->CallPrevious(wnd, msg, wp, lp);
    }));
    TWindowSubclass later;
    ASSERT_TRUE(later.Install(edit.get(), [&](HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
        return later.CallPrevious(wnd, msg, wp, lp);
    }));
    ours.reset();  // cannot unhook: the later one holds our thunk
    const int callsAfterReset = ourCalls;
    SetWindowTextW(edit.get(), L"still here");
    wchar_t text[16] = {};
    GetWindowTextW(edit.get(), text, 16);
    EXPECT_EQ(std::wstring(text), L"still here");
    EXPECT_EQ(ourCalls, callsAfterReset) << "a freed subclass must not be called";
}

TEST(WindowSubclass, RestoreFromInsideTheHandlerAtDestruction) {
    UniqueWindow edit = MakeEdit(true);
    TWindowSubclass subclass;
    bool sawNcDestroy = false;
    ASSERT_TRUE(subclass.Install(edit.get(), [&](HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCDESTROY) {
            sawNcDestroy = true;
            EXPECT_EQ(subclass.Dispatching(), 1);
            subclass.Restore();
            return CallWindowProcW(subclass.PreviousProc(), wnd, msg, wp, lp);
        }
        return subclass.CallPrevious(wnd, msg, wp, lp);
    }));
    edit.reset();
    EXPECT_TRUE(sawNcDestroy);
    EXPECT_FALSE(subclass.Installed());
}
