#pragma once
// Replacing a control's WindowProc method for a while: the handler sees every
// message first and forwards with CallPrevious. Restore puts the previous
// method back only while ours is still the control's; when someone replaced
// it after us, our link stays in their chain and turns into a plain
// forwarder to the method we replaced, so neither side calls a freed object.
#include <memory>

#include "classlib/Controls.h"

class TWindowProcHook {
public:
    using Handler = std::function<void(TMessage&)>;

    TWindowProcHook() = default;
    ~TWindowProcHook() { Restore(); }
    TWindowProcHook(const TWindowProcHook&) = delete;
    TWindowProcHook& operator=(const TWindowProcHook&) = delete;

    // False (nothing changed) when already installed or control is null.
    bool Install(TControl* control, Handler handler);
    // Safe to call more than once, and after the control has gone (say so
    // with controlGone: its WindowProc is then left alone).
    void Restore(bool controlGone = false);
    // The method that was the control's WindowProc before Install.
    void CallPrevious(TMessage& message) const;

    bool Installed() const { return link_ != nullptr; }
    TControl* Control() const { return control_; }

private:
    struct Link {
        Handler handler;    // empty once restored: forward only
        TWndMethod previous;
    };
    struct Entry {
        std::shared_ptr<Link> link;
        void operator()(TMessage& message) const;
    };

    TControl* control_ = nullptr;
    std::shared_ptr<Link> link_;
};
