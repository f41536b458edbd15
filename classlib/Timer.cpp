#include "classlib/Timer.h"

#include "classlib/UtilityWindow.h"

#include "classlib/Forms.h"

namespace {

constexpr const wchar_t* kTimerWindowClass = L"TPUtilWindow";
constexpr UINT_PTR kTimerId = 1;

}  // namespace

const TClassInfo& TTimer::StaticClass() {
    static const TClassInfo info(
        L"TTimer", &TComponent::StaticClass(),
        {
            props::Boolean(L"Enabled", &TTimer::Enabled, &TTimer::SetEnabled),
            props::Integer(L"Interval", &TTimer::Interval, &TTimer::SetInterval),
            TPropInfo{L"OnTimer", TPropKind::Event,
                      [](const TObject& o) {
                          return TValue::Method(std::any(static_cast<const TTimer&>(o).OnTimer()));
                      },
                      [](TObject& o, const TValue& v) {
                          if (const auto* f = std::any_cast<TNotifyEvent>(&v.AsMethod()))
                              static_cast<TTimer&>(o).SetOnTimer(*f);
                      },
                      {}},
        });
    return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
    // The window (and with it the system timer) goes before the object it points at.
    if (window_) KillTimer(window_.get(), kTimerId);
    window_.reset();
}

void TTimer::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned v) {
    if (v == interval_) return;
    interval_ = v;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    if (running_) {
        KillTimer(window_.get(), kTimerId);
        running_ = false;
    }
    if (interval_ == 0 || !enabled_ || !onTimer_ || IsLoading()) return;
    if (!window_) {
        window_ = CreateUtilityWindow(kTimerWindowClass, TimerWndProc, 0, 0, HWND_MESSAGE, this);
        if (!window_) throw Exception("Could not create the window of a timer");
    }
    // Setting the timer again restarts it, so a new interval counts from now.
    if (!SetTimer(window_.get(), kTimerId, interval_, nullptr)) throw Exception("Not enough timers available");
    running_ = true;
}

void TTimer::Timer() {
    // A copy: the handler may replace itself or free this timer.
    if (TNotifyEvent handler = onTimer_) handler(this);
}

LRESULT CALLBACK TTimer::TimerWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        SetWindowLongPtrW(wnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    } else if (msg == WM_TIMER && wParam == kTimerId) {
        auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
        // The handler may free the timer: nothing touches it afterwards.
        try {
            if (timer && timer->running_) timer->Timer();
        } catch (...) {
            if (Application) Application->HandleException(timer);
        }
        return 0;
    } else if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}
