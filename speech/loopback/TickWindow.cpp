#include "TickWindow.h"

namespace loopback {
namespace {

constexpr wchar_t kClassName[] = L"QuelloryLoopbackRecoTick";
constexpr UINT_PTR kTimerId = 1;

}  // namespace

TickWindow::TickWindow(UINT intervalMs, std::function<void()> onTick) : onTick_(std::move(onTick)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = ModuleInstance();
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);  // fails harmlessly when already registered
    wnd_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ModuleInstance(), this);
    if (wnd_) SetTimer(wnd_, kTimerId, intervalMs, nullptr);
}

TickWindow::~TickWindow() {
    if (wnd_) {
        KillTimer(wnd_, kTimerId);
        SetWindowLongPtrW(wnd_, GWLP_USERDATA, 0);
        DestroyWindow(wnd_);
    }
}

void TickWindow::UnregisterClass() { ::UnregisterClassW(kClassName, ModuleInstance()); }

LRESULT CALLBACK TickWindow::Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    } else if (msg == WM_TIMER && wp == kTimerId) {
        if (auto* self = reinterpret_cast<TickWindow*>(GetWindowLongPtrW(wnd, GWLP_USERDATA))) {
            // A copy: the tick may end the owner, and this window with it.
            auto tick = self->onTick_;
            tick();
        }
        return 0;
    }
    return DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace loopback
