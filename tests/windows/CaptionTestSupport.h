#pragma once
// A plain Win32 window skinned with the shipped skin, real mouse and keyboard
// input (SendInput), and a look at the popup menus the UI thread has open.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "classlib/Forms.h"
#include "classlib/LayoutReader.h"
#include "dictation/ContinuousDictationU.h"
#include "skin/controls/SkinManager.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/NCObjects.h"
#include "skin/forms/WinSkinForm.h"

namespace caption_test {

// What the test window received.
struct Received {
    std::vector<UINT> commands;     // WM_COMMAND identifiers
    std::vector<UINT> sysCommands;  // WM_SYSCOMMAND codes (low four bits cleared)
};
inline Received& Log() {
    static Received log;
    return log;
}

inline LRESULT CALLBACK TestWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND) Log().commands.push_back(LOWORD(wParam));
    if (msg == WM_SYSCOMMAND) Log().sysCommands.push_back(static_cast<UINT>(wParam & 0xFFF0));
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

// The shipped skin, as the main window's layout carries it, and a running manager.
class SkinHost {
public:
    SkinHost() {
        TSkinManage::FreeInstance();
        RegisterComponentClass<TSkinData>();
        form_ = TComponent::Create<TfrmContinuousDictation>(Application);
        ReadFormLayout(*form_);
        Skin = As<TSkinData>(form_->FindComponent(L"SkinData1"));
        TSkinManage& manager = TSkinManage::Ensure();
        manager.AddSkinData(Skin);
        manager.Active = true;
        manager.State = TSkinManage::kStateRunning;
    }
    ~SkinHost() {
        TSkinManage::FreeInstance();
        form_->Free();
    }
    SkinHost(const SkinHost&) = delete;
    SkinHost& operator=(const SkinHost&) = delete;

    // A plain overlapped window, shown in front and skinned.
    HWND MakeWindow(HMENU menu = nullptr, int width = 420, int height = 320) {
        static const ATOM atom = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &TestWindowProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            wc.lpszClassName = L"CaptionTestWindow";
            return RegisterClassW(&wc);
        }();
        (void)atom;
        Log() = {};
        HWND wnd = CreateWindowExW(0, L"CaptionTestWindow", L"Caption test", WS_OVERLAPPEDWINDOW, 120, 100, width,
                                   height, nullptr, menu, GetModuleHandleW(nullptr), nullptr);
        ShowWindow(wnd, SW_SHOWNORMAL);
        SetForegroundWindow(wnd);
        TSkinManage::Instance()->SkinWindow(wnd);
        PumpUntil([&] { return Form(wnd) && Form(wnd)->AttachState == TWinSkinForm::kRunning; }, 3000);
        PumpFor(300);
        return wnd;
    }
    static TWinSkinForm* Form(HWND wnd) {
        TSkinManage* manager = TSkinManage::Instance();
        return manager ? dynamic_cast<TWinSkinForm*>(manager->FindSkinnedForm(wnd)) : nullptr;
    }

    TSkinData* Skin = nullptr;

private:
    TfrmContinuousDictation* form_ = nullptr;
};

// The screen point at the middle of a non-client object of wnd.
inline POINT CentreOf(HWND wnd, const RECT& windowRect) {
    RECT w{};
    GetWindowRect(wnd, &w);
    return {w.left + (windowRect.left + windowRect.right) / 2, w.top + (windowRect.top + windowRect.bottom) / 2};
}

inline void MouseButton(DWORD flag) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    SendInput(1, &input, sizeof(input));
}
inline void MoveMouse(POINT p) {
    // One absolute move: a relative one would start from where the X server
    // last saw the pointer.
    SetCursorPos(p.x, p.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}
inline void Click(POINT p, bool right = false) {
    MoveMouse(p);
    MouseButton(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    MouseButton(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}
inline void Key(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}
inline void Press(WORD vk) {
    Key(vk, false);
    Key(vk, true);
}
inline void AltPress(WORD vk) {
    Key(VK_MENU, false);
    Press(vk);
    Key(VK_MENU, true);
}

inline BOOL CALLBACK FindShownPopup(HWND wnd, LPARAM out) {
    wchar_t name[16] = {};
    GetClassNameW(wnd, name, 16);
    if (IsWindowVisible(wnd) && std::wstring_view(name) == L"#32768") {
        *reinterpret_cast<HWND*>(out) = wnd;
        return FALSE;
    }
    return TRUE;
}

// The menu shown by the topmost visible popup window of thread, or nullptr.
inline HMENU ShownPopupMenu(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(thread, &FindShownPopup, reinterpret_cast<LPARAM>(&found));
    DWORD_PTR menu = 0;
    if (found) SendMessageTimeoutW(found, 0x01E1 /* MN_GETHMENU */, 0, 0, SMTO_NORMAL, 1000, &menu);
    return reinterpret_cast<HMENU>(menu);
}

// Runs script on a thread of its own while this thread pumps messages (and
// the menu loops that the input opens) until the script has ended.
inline void RunScript(const std::function<void(DWORD uiThread)>& script, int ms = 20000) {
    std::atomic<bool> done{false};
    const DWORD ui = GetCurrentThreadId();
    std::thread worker([&] {
        script(ui);
        done = true;
    });
    PumpUntil([&] { return done.load(); }, ms);
    worker.join();
}

inline void Wait(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace caption_test
