#pragma once
// A hidden message-only window on the creating thread with a timer, so that
// the script is read and events are fired from that thread's message loop,
// as the speech runtime delivers its events.
#include <windows.h>

#include <functional>

namespace loopback {

class TickWindow {
public:
    TickWindow(UINT intervalMs, std::function<void()> onTick);
    ~TickWindow();
    TickWindow(const TickWindow&) = delete;
    TickWindow& operator=(const TickWindow&) = delete;

    HWND Handle() const { return wnd_; }
    // The window class is registered on first use and kept until the module unloads.
    static void UnregisterClass();

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    std::function<void()> onTick_;
    HWND wnd_ = nullptr;
};

HINSTANCE ModuleInstance();

}  // namespace loopback
