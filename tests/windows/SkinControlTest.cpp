// The painter base on real controls: a painter of the tests' own fills its
// window with one colour after the control has painted, so the screen tells
// whether it is on.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

#include "TestSupport.h"
#include "classlib/Button.h"
#include "classlib/Forms.h"
#include "classlib/Handles.h"
#include "skin/SkinMessages.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"

namespace {

constexpr COLORREF kFill = RGB(10, 200, 30);

class TFillPainter : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void Draw(HDC dc, const RECT& rect) override {
        if (raise) throw std::runtime_error("paint failed");
        UniqueBrush brush(CreateSolidBrush(kFill));
        FillRect(dc, &rect, brush.get());
    }
    bool raise = false;
};

COLORREF CentreOf(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    WindowDC dc(wnd, true);
    return GetPixel(dc.get(), (r.right - r.left) / 2, (r.bottom - r.top) / 2);
}

struct ButtonOnForm {
    std::vector<UINT> seenByControl;  // outlives the form, whose button records into it
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TButton* button;
    TSkinData skin{nullptr};
    std::unique_ptr<TWinSkinForm> skinned;
    ButtonOnForm() {
        form->SetBounds(40, 40, 240, 160);
        button = TComponent::Create<TButton>(form.get());
        button->SetParent(form.get());
        button->SetBounds(20, 20, 120, 50);
        button->SetCaption(L"Press");
        form->Show();
        skin.ButtonFaceColour = MakeColour(1, 2, 3);
        skinned = std::make_unique<TWinSkinForm>(form->Handle(), form.get(), skin);
        // The control's own message path records what reaches it.
        TWndMethod own = button->WindowProc;
        button->WindowProc = [this, own](TMessage& m) {
            seenByControl.push_back(m.Msg);
            own(m);
        };
    }
};

}  // namespace

TEST(SkinControl, SwitchedOffPaintsPlainAndSwitchedOnRepaintsSkinned) {
    ButtonOnForm w;
    auto* painter = TComponent::Create<TFillPainter>(w.button);
    painter->Attach(w.skinned.get(), &w.skin, true, nullptr);
    ASSERT_EQ(w.skinned->SkinnedControls, std::vector<TSkinControl*>{painter});
    w.button->Invalidate();
    PumpFor(50);
    EXPECT_EQ(CentreOf(w.button->Handle()), kFill);

    SendMessageW(w.button->Handle(), SKM_ENABLESKIN, 0, 0);
    RedrawWindow(w.button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_NE(CentreOf(w.button->Handle()), kFill);
    // Switching on repaints by itself.
    SendMessageW(w.button->Handle(), SKM_ENABLESKIN, 1, 0);
    EXPECT_EQ(CentreOf(w.button->Handle()), kFill);

    // The query is answered by the painter: the control never sees it.
    w.seenByControl.clear();
    EXPECT_EQ(SendMessageW(w.button->Handle(), SKM_ISSKINNED, 0, 0), 1);
    EXPECT_EQ(std::count(w.seenByControl.begin(), w.seenByControl.end(), SKM_ISSKINNED), 0);

    // A painting failure never reaches the control.
    painter->raise = true;
    RedrawWindow(w.button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(IsWindow(w.button->Handle()));
}

TEST(SkinControl, DestroyedWindowGivesTheColourBackAndFreedPainterTheMessagePath) {
    ButtonOnForm w;
    const TColor colour = w.button->Color();
    auto* painter = TComponent::Create<TFillPainter>(w.button);
    painter->Attach(w.skinned.get(), &w.skin, true, nullptr);
    EXPECT_EQ(w.button->Color(), w.skin.ButtonFaceColour);
    w.button->DestroyHandle();
    EXPECT_EQ(painter->State, TSkinControl::kStateClosed);
    EXPECT_EQ(w.button->Color(), colour);

    // Freed, the painter leaves its form's list and the control's path.
    painter->Free();
    EXPECT_TRUE(w.skinned->SkinnedControls.empty());
    w.seenByControl.clear();
    w.button->Perform(SKM_ISSKINNED);
    EXPECT_EQ(w.seenByControl, std::vector<UINT>{SKM_ISSKINNED});

    // A bare window: subclassed by thunk, owned by the skinned form, and
    // restored when its window goes.
    const int thunks = TObjectInstance::LiveCount();
    HWND bare = CreateWindowExW(0, L"STATIC", L"\x4F60", WS_CHILD | WS_VISIBLE, 150, 20, 60, 40, w.form->Handle(),
                                nullptr, nullptr, nullptr);
    const auto original = GetWindowLongPtrW(bare, GWLP_WNDPROC);
    auto* barePainter = TComponent::Create<TFillPainter>(w.skinned.get());
    barePainter->AttachHandle(bare, &w.skin, w.skinned.get(), nullptr);
    EXPECT_EQ(barePainter->WindowText, L"\x4F60");
    EXPECT_EQ(SendMessageW(bare, SKM_ISSKINNED, 0, 0), 1);
    EXPECT_EQ(TObjectInstance::LiveCount(), thunks + 1);
    DestroyWindow(bare);
    EXPECT_EQ(barePainter->State, TSkinControl::kStateClosed);
    EXPECT_EQ(TObjectInstance::LiveCount(), thunks);
    barePainter->Free();
    EXPECT_TRUE(w.skinned->SkinnedControls.empty());

    // Freeing a painter while its window lives gives the procedure back.
    bare = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, w.form->Handle(), nullptr, nullptr, nullptr);
    barePainter = TComponent::Create<TFillPainter>(w.skinned.get());
    barePainter->AttachHandle(bare, &w.skin, w.skinned.get(), nullptr);
    barePainter->Free();
    EXPECT_EQ(GetWindowLongPtrW(bare, GWLP_WNDPROC), original);
    EXPECT_EQ(SendMessageW(bare, SKM_ISSKINNED, 0, 0), 0);
    DestroyWindow(bare);
}
