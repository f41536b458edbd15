#include "classlib/WindowProcHook.h"

#include <utility>

void TWindowProcHook::Entry::operator()(TMessage& message) const {
    // Keep the link alive for the whole call: the handler may restore.
    const std::shared_ptr<Link> keep = link;
    if (keep->handler)
        keep->handler(message);
    else if (keep->previous)
        keep->previous(message);
}

bool TWindowProcHook::Install(TControl* control, Handler handler) {
    if (link_ || !control) return false;
    control_ = control;
    link_ = std::make_shared<Link>(Link{std::move(handler), control->WindowProc});
    control->WindowProc = Entry{link_};
    return true;
}

void TWindowProcHook::Restore(bool controlGone) {
    if (!link_) return;
    const std::shared_ptr<Link> link = std::move(link_);
    if (!controlGone && control_) {
        const Entry* current = control_->WindowProc.target<Entry>();
        if (current && current->link == link) {
            control_->WindowProc = link->previous;
            link->handler = nullptr;
            control_ = nullptr;
            return;
        }
    }
    // Still inside someone else's chain (or the control is gone): forward.
    link->handler = nullptr;
    control_ = nullptr;
}

void TWindowProcHook::CallPrevious(TMessage& message) const {
    if (link_ && link_->previous) link_->previous(message);
}
