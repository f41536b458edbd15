#pragma once
// A timer component: OnTimer runs every Interval milliseconds while Enabled.
//
// Each timer with something to run owns a hidden message-only window that
// receives its WM_TIMER, so ticks arrive through the thread's message loop
// (also inside modal loops). No timer runs while Interval is 0, OnTimer is
// empty or a stored layout is still being read.
#include "classlib/Component.h"
#include "classlib/Handles.h"

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
    static LRESULT CALLBACK TimerWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

    bool enabled_ = true;
    unsigned interval_ = 1000;
    TNotifyEvent onTimer_;
    UniqueWindow window_;
    bool running_ = false;
};
