#include "classlib/Timer.h"

#include <unordered_map>

#include "classlib/Forms.h"

namespace {

// The thread's running timers by the id the system gave them.
std::unordered_map<UINT_PTR, TTimer*>& ThreadTimers() {
    thread_local std::unordered_map<UINT_PTR, TTimer*> timers;
    return timers;
}

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

TTimer::~TTimer() { StopTimer(); }

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

void TTimer::StopTimer() {
    if (!running_) return;
    KillTimer(nullptr, id_);
    ThreadTimers().erase(id_);
    id_ = 0;
    running_ = false;
}

void TTimer::UpdateTimer() {
    // Started again, so a new interval counts from now.
    StopTimer();
    if (interval_ == 0 || !enabled_ || !onTimer_ || IsLoading()) return;
    const UINT_PTR id = SetTimer(nullptr, 0, interval_, &TTimer::TimerProc);
    if (!id) throw Exception("Not enough timers available");
    ThreadTimers()[id] = this;
    id_ = id;
    running_ = true;
}

void TTimer::Timer() {
    // A copy: the handler may replace itself or free this timer.
    if (TNotifyEvent handler = onTimer_) handler(this);
}

VOID CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    const auto& timers = ThreadTimers();
    const auto found = timers.find(id);
    // A tick queued before its timer stopped finds nobody.
    if (found == timers.end()) return;
    TTimer* timer = found->second;
    // The handler may free the timer: nothing touches it afterwards.
    try {
        timer->Timer();
    } catch (...) {
        if (Application) Application->HandleException(timer);
    }
}
