#pragma once
// A timer component: OnTimer runs every Interval milliseconds while Enabled.
//
// Each running timer is a thread timer of the system (no window: making one
// costs more than a start-up can spare), so its ticks arrive through the
// thread's message loop, also inside modal loops. No timer runs while
// Interval is 0, OnTimer is empty or a stored layout is still being read.
#include <windows.h>

#include "classlib/Component.h"

class TTimer : public TComponent {
    DECLARE_CLASS_INFO()
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned v);
    const TNotifyEvent& OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent handler);

    void Loaded() override;
    // Whether a system timer is running for this component now.
    bool Running() const { return running_; }

protected:
    // Runs OnTimer; an exception goes to the application's handler.
    virtual void Timer();

private:
    void UpdateTimer();
    void StopTimer();
    static VOID CALLBACK TimerProc(HWND wnd, UINT msg, UINT_PTR id, DWORD time);

    bool enabled_ = true;
    unsigned interval_ = 1000;
    TNotifyEvent onTimer_;
    UINT_PTR id_ = 0;  // the system's, while running
    bool running_ = false;
};
