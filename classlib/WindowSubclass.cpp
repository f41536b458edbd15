#include "classlib/WindowSubclass.h"

#include <memory>
#include <utility>

namespace {

// Where a thunk leads once its subclass object has gone while a later
// subclass still chains through it: straight to the previous procedure.
// Never freed, like the thunk itself, because the window may call it until
// it is destroyed; a few bytes for each such (rare) case.
struct Forwarder {
    HWND wnd;
    WNDPROC previous;
    bool unicode;
};

LRESULT CALLBACK Forward(HWND self, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto* forwarder = reinterpret_cast<const Forwarder*>(self);
    return forwarder->unicode ? CallWindowProcW(forwarder->previous, forwarder->wnd, msg, wParam, lParam)
                              : CallWindowProcA(forwarder->previous, forwarder->wnd, msg, wParam, lParam);
}

}  // namespace

TWindowSubclass::~TWindowSubclass() { Restore(); }

bool TWindowSubclass::Install(HWND wnd, Handler handler) {
    if (installed_ || !IsWindow(wnd)) return false;
    wnd_ = wnd;
    handler_ = std::move(handler);
    unicode_ = IsWindowUnicode(wnd) != FALSE;
    instance_ = TObjectInstance(this, &TWindowSubclass::Thunked);
    const auto proc = reinterpret_cast<LONG_PTR>(instance_.Proc());
    previous_ = reinterpret_cast<WNDPROC>(unicode_ ? SetWindowLongPtrW(wnd, GWLP_WNDPROC, proc)
                                                   : SetWindowLongPtrA(wnd, GWLP_WNDPROC, proc));
    installed_ = previous_ != nullptr;
    if (!installed_) instance_.Reset();
    return installed_;
}

void TWindowSubclass::Restore() {
    if (!installed_) return;
    installed_ = false;
    const auto ours = reinterpret_cast<LONG_PTR>(instance_.Proc());
    const bool alive = IsWindow(wnd_) != FALSE;
    const LONG_PTR current =
        alive ? (unicode_ ? GetWindowLongPtrW(wnd_, GWLP_WNDPROC) : GetWindowLongPtrA(wnd_, GWLP_WNDPROC)) : 0;
    if (!alive || current == ours) {
        if (alive) {
            if (unicode_)
                SetWindowLongPtrW(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
            else
                SetWindowLongPtrA(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        }
        instance_.Reset();
        return;
    }
    // Someone subclassed after us and still calls our thunk.
    auto forwarder = std::make_unique<Forwarder>(Forwarder{wnd_, previous_, unicode_});
    instance_.Retarget(forwarder.release(), &Forward);
    instance_.Abandon();
}

LRESULT TWindowSubclass::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return CallPrevious(wnd_, msg, wParam, lParam);
}

LRESULT TWindowSubclass::CallPrevious(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) const {
    if (!previous_) return unicode_ ? DefWindowProcW(wnd, msg, wParam, lParam) : DefWindowProcA(wnd, msg, wParam, lParam);
    return unicode_ ? CallWindowProcW(previous_, wnd, msg, wParam, lParam)
                    : CallWindowProcA(previous_, wnd, msg, wParam, lParam);
}

LRESULT CALLBACK TWindowSubclass::Thunked(HWND self, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* subclass = reinterpret_cast<TWindowSubclass*>(self);
    const HWND wnd = subclass->wnd_;
    if (!subclass->installed_ || !subclass->handler_) return subclass->CallPrevious(wnd, msg, wParam, lParam);
    // The handler may Restore (at WM_NCDESTROY, say); the object itself stays
    // alive until the handler returns, by contract.
    ++subclass->depth_;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{subclass->depth_};
    try {
        return subclass->handler_(wnd, msg, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's dispatcher; owners that want
        // to report an error catch it themselves first.
        return 0;
    }
}
