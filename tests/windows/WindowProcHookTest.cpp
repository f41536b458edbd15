// Two hooks on one control's WindowProc, removed in either order: the chain
// keeps reaching the control's own method and never a removed handler.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "classlib/Forms.h"
#include "classlib/WindowProcHook.h"

namespace {

constexpr UINT kProbe = WM_APP + 11;

struct Recorder {
    std::string calls;
    std::unique_ptr<TWindowProcHook> Hook(TControl& control, char name) {
        auto hook = std::make_unique<TWindowProcHook>();
        TWindowProcHook* raw = hook.get();
        hook->Install(&control, [this, raw, name](TMessage& m) {
            if (m.Msg == kProbe) calls += name;
            raw->CallPrevious(m);
        });
        return hook;
    }
};

}  // namespace

TEST(WindowProcHook, EitherOrderOfRemovalKeepsTheChainWhole) {
    for (const bool firstGoesFirst : {true, false}) {
        SCOPED_TRACE(firstGoesFirst ? "first removed first" : "last removed first");
        TControl control(nullptr);
        std::string own;
        const TWndMethod original = control.WindowProc;
        control.WindowProc = [&](TMessage& m) {
            if (m.Msg == kProbe) own += 'o';
            original(m);
        };
        Recorder r;
        auto a = r.Hook(control, 'a');
        auto b = r.Hook(control, 'b');
        control.Perform(kProbe);
        EXPECT_EQ(r.calls, "ba");
        (firstGoesFirst ? a : b).reset();
        r.calls.clear();
        control.Perform(kProbe);
        EXPECT_EQ(r.calls, firstGoesFirst ? "b" : "a");
        (firstGoesFirst ? b : a).reset();
        r.calls.clear();
        control.Perform(kProbe);
        EXPECT_EQ(r.calls, "");
        EXPECT_EQ(own, "ooo") << "the control's own method must be reached every time";
    }
}
