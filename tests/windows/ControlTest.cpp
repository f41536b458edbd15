// Controls and forms on real windows: the message path through WindowProc,
// the control property on every window, notifications, the mouse, errors.
#include <gtest/gtest.h>

#include <cstdio>

#include "TestSupport.h"
#include "classlib/Forms.h"
#include "classlib/Icon.h"
#include "classlib/LayoutReader.h"

namespace {

// A windowed control that paints itself; it counts what reaches it.
class TProbe : public TCustomControl {
    DECLARE_CLASS_INFO()
public:
    explicit TProbe(TComponent* owner) : TCustomControl(owner) {
        SetBounds(10, 10, 60, 40);
        ControlStyle |= csClickEvents;
    }
    int paints = 0;
    int loaded = 0;

protected:
    void Paint() override {
        ++paints;
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(ClientRect());
    }
    void Loaded() override {
        TCustomControl::Loaded();
        ++loaded;
    }
};

const TClassInfo& TProbe::StaticClass() {
    static const TClassInfo info(L"TProbe", &TCustomControl::StaticClass());
    return info;
}

// A windowless control.
class TSpot : public TGraphicControl {
    DECLARE_CLASS_INFO()
public:
    explicit TSpot(TComponent* owner) : TGraphicControl(owner) { SetBounds(100, 10, 30, 30); }
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        Canvas()->Brush()->SetColor(MakeColour(0, 0, 255));
        Canvas()->FillRect(RECT{0, 0, Width(), Height()});
    }
};

const TClassInfo& TSpot::StaticClass() {
    static const TClassInfo info(L"TSpot", &TGraphicControl::StaticClass());
    return info;
}

class TProbeForm : public TForm {
    DECLARE_CLASS_INFO()
public:
    using TForm::TForm;
    void ProbeClick(TObject*) { ++clicks; }
    void FormCreate(TObject*) { createdWithProbe = FindComponent(L"Probe1") != nullptr; }
    int clicks = 0;
    bool createdWithProbe = false;
};

const TClassInfo& TProbeForm::StaticClass() {
    static const TClassInfo info(L"TProbeForm", &TForm::StaticClass(), {},
                                 {
                                     props::Handler(L"ProbeClick", &TProbeForm::ProbeClick),
                                     props::Handler(L"FormCreate", &TProbeForm::FormCreate),
                                 });
    return info;
}

struct RegisterProbes {
    RegisterProbes() {
        RegisterComponentClass<TProbe>();
        RegisterComponentClass<TSpot>();
    }
} registerProbes;

// A form on screen at a known place, freed at the end of the test.
struct ShownForm {
    TForm* form;
    TProbe* probe;
    TSpot* spot;
    ShownForm() {
        form = TComponent::Create<TForm>(Application);
        form->SetBounds(50, 50, 300, 200);
        probe = TComponent::Create<TProbe>(form);
        probe->SetParent(form);
        spot = TComponent::Create<TSpot>(form);
        spot->SetParent(form);
        form->Show();
        PumpFor(50);
    }
    ~ShownForm() { form->Free(); }
};

}  // namespace

TEST(WindowProc, ReplacedMethodSeesPerformAndWindowMessagesAndRestoredOneWorks) {
    ShownForm f;
    std::vector<UINT> seen;
    TWndMethod old = f.probe->WindowProc;
    f.probe->WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == WM_USER + 7) {
            m.Result = 77;
            return;
        }
        old(m);
    };
    EXPECT_EQ(f.probe->Perform(WM_USER + 7), 77);
    EXPECT_EQ(SendMessageW(f.probe->Handle(), WM_USER + 7, 0, 0), 77);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_USER + 7), 2);
    // Real painting passes through the replacement too and still works.
    const int paintsBefore = f.probe->paints;
    InvalidateRect(f.probe->Handle(), nullptr, TRUE);
    UpdateWindow(f.probe->Handle());
    EXPECT_NE(std::find(seen.begin(), seen.end(), WM_PAINT), seen.end());
    EXPECT_GT(f.probe->paints, paintsBefore);

    f.probe->WindowProc = old;
    seen.clear();
    EXPECT_EQ(f.probe->Perform(WM_USER + 7), 0);
    InvalidateRect(f.probe->Handle(), nullptr, TRUE);
    UpdateWindow(f.probe->Handle());
    EXPECT_TRUE(seen.empty());
    EXPECT_GT(f.probe->paints, paintsBefore + 1);
}

TEST(WindowProc, EveryWindowCarriesItsControlUnderTheControlOfsAtom) {
    ShownForm f;
    char name[64];
    std::snprintf(name, sizeof name, "ControlOfs%.8X%.8X",
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr))),
                  static_cast<unsigned>(GetCurrentThreadId()));
    const ATOM atom = GlobalFindAtomA(name);
    ASSERT_NE(atom, 0);
    EXPECT_EQ(GetPropA(f.probe->Handle(), reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(atom))), static_cast<void*>(f.probe));
    EXPECT_EQ(GetPropA(f.form->Handle(), reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(atom))), static_cast<void*>(static_cast<TControl*>(f.form)));
    EXPECT_EQ(TWinControl::FindControl(f.probe->Handle()), f.probe);
    wchar_t cls[64];
    GetClassNameW(f.probe->Handle(), cls, 64);
    EXPECT_STREQ(cls, L"TProbe");
    GetClassNameW(f.form->Handle(), cls, 64);
    EXPECT_STREQ(cls, L"TForm");
    // Gone with the window.
    HWND wnd = f.probe->Handle();
    f.probe->SetParent(nullptr);
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_FALSE(f.probe->HandleAllocated());
    EXPECT_EQ(TWinControl::FindControl(wnd), nullptr);
    // Also when the window is destroyed behind the control's back.
    f.probe->SetParent(f.form);
    wnd = f.probe->Handle();
    ASSERT_EQ(TWinControl::FindControl(wnd), f.probe);
    DestroyWindow(wnd);
    EXPECT_EQ(TWinControl::FindControl(wnd), nullptr);
    EXPECT_FALSE(f.probe->HandleAllocated());
}

TEST(Notifications, VisibleAndEnabledChangesReachWindowProcAndTheWindow) {
    ShownForm f;
    std::vector<UINT> seen;
    TWndMethod old = f.probe->WindowProc;
    f.probe->WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        old(m);
    };
    f.probe->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(f.probe->Handle()));
    f.probe->SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(f.probe->Handle()));
    f.probe->SetVisible(true);
    EXPECT_TRUE(IsWindowVisible(f.probe->Handle()));
    EXPECT_EQ(std::count(seen.begin(), seen.end(), CM_ENABLEDCHANGED), 1);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), CM_VISIBLECHANGED), 2);
    f.probe->WindowProc = old;
}

TEST(Notifications, MouseEnterAndLeaveFollowTheCursor) {
    ShownForm f;
    std::vector<std::pair<UINT, LPARAM>> probeSeen, spotSeen;
    TWndMethod oldProbe = f.probe->WindowProc, oldSpot = f.spot->WindowProc;
    f.probe->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) probeSeen.emplace_back(m.Msg, m.LParam);
        oldProbe(m);
    };
    f.spot->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) spotSeen.emplace_back(m.Msg, m.LParam);
        oldSpot(m);
    };
    const POINT inProbe = f.probe->ClientToScreen({20, 20});
    SetCursorPos(inProbe.x, inProbe.y);
    EXPECT_TRUE(PumpUntil([&] { return !probeSeen.empty(); }));
    ASSERT_FALSE(probeSeen.empty());
    EXPECT_EQ(probeSeen[0].first, static_cast<UINT>(CM_MOUSEENTER));
    // The windowless control is found under its parent's window.
    const POINT inSpot = f.spot->ClientToScreen({5, 5});
    SetCursorPos(inSpot.x, inSpot.y);
    EXPECT_TRUE(PumpUntil([&] { return !spotSeen.empty(); }));
    EXPECT_EQ(probeSeen.back().first, static_cast<UINT>(CM_MOUSELEAVE));
    ASSERT_FALSE(spotSeen.empty());
    EXPECT_EQ(spotSeen[0].first, static_cast<UINT>(CM_MOUSEENTER));
    EXPECT_EQ(Application->MouseControl(), f.spot);
    SetCursorPos(5, 700);
    EXPECT_TRUE(PumpUntil([&] { return spotSeen.back().first == CM_MOUSELEAVE; }));
    f.probe->WindowProc = oldProbe;
    f.spot->WindowProc = oldSpot;
}

TEST(Painting, WindowlessChildrenPaintThroughTheirParent) {
    ShownForm f;
    InvalidateRect(f.form->Handle(), nullptr, TRUE);
    UpdateWindow(f.form->Handle());
    EXPECT_GT(f.spot->paints, 0);
    WindowDC dc(f.form->Handle());
    EXPECT_EQ(GetPixel(dc.get(), 110, 20), RGB(0, 0, 255));
}

TEST(Errors, AnExceptionInAHandlerShowsTheTitledStopBoxAndTheLoopGoesOn) {
    ShownForm f;
    f.probe->OnClick = [](TObject*) { throw Exception("Resume failed"); };
    DialogCloser closer;
    SendMessageW(f.probe->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(f.probe->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(closer.SeenDialogs().size(), 1u);
    EXPECT_EQ(closer.SeenDialogs()[0].caption, Application->Title());
    EXPECT_EQ(closer.SeenDialogs()[0].text, L"Resume failed.");
    EXPECT_EQ(closer.SeenDialogs()[0].iconStyle, static_cast<UINT>(MB_ICONSTOP));
    // The program goes on: the next message is handled normally.
    f.probe->OnClick = [](TObject*) { throw Exception("Already a sentence."); };
    SendMessageW(f.probe->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(f.probe->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(closer.SeenDialogs().size(), 2u);
    EXPECT_EQ(closer.SeenDialogs()[1].text, L"Already a sentence.");
}

TEST(Application, TitleIsTheExecutableNameCutAtItsFirstDot) {
    EXPECT_EQ(TitleFromExeName(L"C:\\Program Files\\Q\\QUELLORY.EXE"), L"Quellory");
    EXPECT_EQ(TitleFromExeName(L"Z:\\x\\windows_tests.exe"), L"windows_tests");
    EXPECT_EQ(TitleFromExeName(L"a.B.c.exe"), L"a");
    EXPECT_EQ(TApplication::WithFullStop(L"Done."), L"Done.");
    EXPECT_EQ(TApplication::WithFullStop(L"OLE error 8004503A"), L"OLE error 8004503A.");
}

TEST(StoredLayouts, AFormIsBuiltWithItsControlsParentedAndItsHandlersBound) {
    auto* form = TComponent::Create<TProbeForm>(Application);
    ReadLayoutText(*form, R"(object ProbeForm: TProbeForm
  Left = 120
  Top = 80
  Width = 320
  Height = 200
  Caption = '测试'
  OnCreate = FormCreate
  object Probe1: TProbe
    Left = 8
    Top = 8
    Width = 50
    Height = 20
    OnClick = ProbeClick
  end
  object Spot1: TSpot
    Left = 80
  end
end
)");
    form->DoCreate();
    auto* probe = As<TProbe>(form->FindComponent(L"Probe1"));
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->Parent(), form);
    EXPECT_EQ(probe->loaded, 1);
    EXPECT_EQ(As<TSpot>(form->FindComponent(L"Spot1"))->Left(), 80);
    EXPECT_TRUE(form->createdWithProbe);
    form->Show();
    EXPECT_EQ(form->Caption(), L"测试");
    RECT r;
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.right - r.left, 320);
    SendMessageW(probe->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(probe->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(form->clicks, 1);
    form->Free();
}

TEST(StoredLayouts, CreateFormReadsTheLayoutCompiledIntoTheProgram) {
    auto* form = Application->CreateForm<TProbeForm>();
    EXPECT_TRUE(form->createdWithProbe);  // OnCreate ran after the layout was read
    EXPECT_EQ(form->Caption(), L"资源中的窗体");
    auto* probe = As<TProbe>(form->FindComponent(L"Probe1"));
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->loaded, 1);
    EXPECT_EQ(probe->Parent(), form);
    form->Free();
}

TEST(Hints, AControlsHintShowsAsATooltipAfterThePauseAndFallsBackToItsParents) {
    ShownForm f;
    f.form->SetHint(L"窗体的提示");
    f.probe->SetHint(L"开始接受语音输入(F5、回车键)");
    f.form->SetShowHint(true);  // children take it through ParentShowHint
    EXPECT_TRUE(f.probe->ShowHint());
    EXPECT_EQ(TApplication::GetHint(f.spot), L"窗体的提示");
    const int pause = Application->HintPause;
    Application->HintPause = 50;
    SetCursorPos(5, 700);
    PumpFor(50);
    const POINT inProbe = f.probe->ClientToScreen({20, 20});
    SetCursorPos(inProbe.x, inProbe.y);
    auto tipText = [] {
        HWND tip = Application->HintWindow();
        if (!tip || !IsWindowVisible(tip)) return std::wstring();
        wchar_t buf[256] = {};
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = Application->Handle();
        ti.uId = 1;
        ti.lpszText = buf;
        SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
        return std::wstring(buf);
    };
    EXPECT_TRUE(PumpUntil([&] { return !tipText().empty(); }));
    EXPECT_EQ(tipText(), L"开始接受语音输入(F5、回车键)");
    // Over the windowless control the form's own hint shows.
    const POINT inSpot = f.spot->ClientToScreen({5, 5});
    SetCursorPos(inSpot.x, inSpot.y);
    EXPECT_TRUE(PumpUntil([&] { return tipText() == L"窗体的提示"; }));
    Application->HintPause = pause;
    SetCursorPos(5, 700);
    PumpFor(30);
}

TEST(Forms, ShowModalReturnsTheModalResultAndDisablesTheOtherWindowsMeanwhile) {
    ShownForm owner;
    auto* dialog = TComponent::Create<TForm>(Application);
    dialog->SetCaption(L"modal");
    bool ownerDisabledMeanwhile = false;
    DialogCloser closer({L"TForm"});
    closer.OnDialog = [&](HWND wnd) {
        if (wnd != dialog->WindowHandle()) return;
        ownerDisabledMeanwhile = !IsWindowEnabled(owner.form->WindowHandle());
        dialog->SetModalResult(mrYes);
    };
    EXPECT_EQ(dialog->ShowModal(), mrYes);
    EXPECT_TRUE(ownerDisabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner.form->WindowHandle()));
    EXPECT_FALSE(IsWindowVisible(dialog->WindowHandle()));
    // A visible form cannot be made modal.
    dialog->Show();
    EXPECT_THROW(dialog->ShowModal(), EInvalidOperation);
    dialog->Free();
}

TEST(Forms, CloseAsksOnCloseQueryAndFollowsTheCloseAction) {
    auto* form = TComponent::Create<TForm>(Application);
    form->Show();
    bool allow = false;
    form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
    form->Close();
    EXPECT_TRUE(IsWindowVisible(form->WindowHandle()));
    allow = true;
    form->Close();  // caHide by default
    EXPECT_FALSE(IsWindowVisible(form->WindowHandle()));
    form->Show();
    form->OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
    const int count = Application->ComponentCount();
    SendMessageW(form->WindowHandle(), WM_CLOSE, 0, 0);
    PumpFor(20);  // freed by the posted CM_RELEASE
    EXPECT_EQ(Application->ComponentCount(), count - 1);
}

TEST(Forms, TabMovesTheFocusInTabOrderThroughTheDialogKeyPath) {
    ShownForm f;
    auto* second = TComponent::Create<TProbe>(f.form);
    second->SetBounds(10, 100, 60, 40);
    second->SetParent(f.form);
    f.probe->SetTabStop(true);
    second->SetTabStop(true);
    SetForegroundWindow(f.form->Handle());
    f.probe->SetFocus();
    PumpFor(20);
    ASSERT_TRUE(f.probe->Focused());
    EXPECT_EQ(f.form->ActiveControl(), f.probe);
    PostMessageW(f.probe->Handle(), WM_KEYDOWN, VK_TAB, 1);
    EXPECT_TRUE(PumpUntil([&] { return second->Focused(); }, 1000));
    EXPECT_EQ(f.form->ActiveControl(), second);
}

TEST(Forms, PositionScreenCenterAndTheFormIconReachTheWindow) {
    auto* form = TComponent::Create<TForm>(Application);
    form->SetBounds(0, 0, 300, 200);
    form->SetPosition(TPosition::poScreenCenter);
    form->Icon()->SetHandle(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
    form->Show();
    RECT r;
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 300) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 200) / 2);
    EXPECT_NE(SendMessageW(form->Handle(), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(form->Handle(), WM_GETICON, ICON_SMALL, 0), 0);
    form->Free();
}

TEST(Forms, AFreedControlLeavesItsParentsTabOrder) {
    ShownForm f;
    auto* first = TComponent::Create<TProbe>(f.form);
    first->SetParent(f.form);
    auto* second = TComponent::Create<TProbe>(f.form);
    second->SetParent(f.form);
    const int secondOrder = second->TabOrder();
    first->Free();
    EXPECT_EQ(second->TabOrder(), secondOrder - 1);
    std::vector<TWinControl*> list;
    f.form->GetTabOrderList(list);
    EXPECT_EQ(std::count(list.begin(), list.end(), static_cast<TWinControl*>(second)), 1);
    EXPECT_EQ(list.size(), 2u);  // the probe of the shown form and the second one
}
