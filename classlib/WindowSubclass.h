#pragma once
// Subclassing one window: the window procedure is replaced by a thunk that
// calls Handler, and the previous procedure is put back on Restore or
// destruction, but only while ours is still the window's procedure (someone
// who subclassed after us keeps our thunk alive instead, and it forwards).
//
// The W or A functions are chosen by IsWindowUnicode at install time, so that
// text messages reach the previous procedure unconverted. The object must not
// be destroyed while its Handler is running (Dispatching tells).
#include <windows.h>

#include <functional>

#include "classlib/ObjectInstance.h"

class TWindowSubclass {
public:
    using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

    TWindowSubclass() = default;
    ~TWindowSubclass();
    TWindowSubclass(const TWindowSubclass&) = delete;
    TWindowSubclass& operator=(const TWindowSubclass&) = delete;

    // Installs handler on wnd; false (and nothing changed) when already
    // installed or when wnd is not a window.
    bool Install(HWND wnd, Handler handler);
    // Puts the previous procedure back when ours is still installed. After
    // Restore, messages that still reach the thunk go straight to the
    // previous procedure. Safe to call more than once.
    void Restore();
    // The previous procedure with the message unchanged (CallWindowProcW/A).
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const;
    LRESULT CallPrevious(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) const;

    bool Installed() const { return installed_; }
    HWND Window() const { return wnd_; }
    WNDPROC PreviousProc() const { return previous_; }
    WNDPROC Proc() const { return instance_.Proc(); }
    bool Unicode() const { return unicode_; }
    // Nesting depth of Handler calls now on the stack.
    int Dispatching() const { return depth_; }

private:
    static LRESULT CALLBACK Thunked(HWND self, UINT msg, WPARAM wParam, LPARAM lParam);

    TObjectInstance instance_;
    Handler handler_;
    HWND wnd_ = nullptr;
    WNDPROC previous_ = nullptr;
    bool unicode_ = true;
    bool installed_ = false;
    int depth_ = 0;
};
