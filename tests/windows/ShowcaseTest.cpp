// The showcase form, read from its stored layout: every control set up as
// the layout says, and the keyboard rules of forms (menu shortcuts wherever
// the focus is, Enter for the default button, Esc for the cancel button).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "TestSupport.h"
#include "classlib/Bevel.h"
#include "classlib/Button.h"
#include "classlib/Dialogs.h"
#include "classlib/Edit.h"
#include "classlib/Label.h"
#include "classlib/LayoutReader.h"
#include "classlib/ProgressBar.h"
#include "classlib/StatusBar.h"
#include "classlib/Timer.h"
#include "tools/showcase/ShowcaseForm.h"

namespace {

// The showcase, built as CreateForm builds forms but without becoming the main form.
struct Showcase {
    TShowcaseForm* form;
    Showcase() {
        form = TComponent::Create<TShowcaseForm>(Application);
        ReadFormLayout(*form);
        form->DoCreate();
        form->Show();
        SetForegroundWindow(form->Handle());
        PumpFor(30);
    }
    ~Showcase() { form->Free(); }
    template <class T> T* Get(const wchar_t* name) const {
        T* c = form->Find<T>(name);
        EXPECT_NE(c, nullptr) << "no " << WideToUtf8(name);
        return c;
    }
    // A key pressed where the focus is, through the application's key routing.
    void Press(WORD key) const {
        HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
        PumpFor(30);
    }
};

}  // namespace

TEST(Showcase, EveryControlIsSetUpFromTheStoredLayout) {
    Showcase s;
    EXPECT_EQ(s.form->Caption(), L"Showcase 展示");
    EXPECT_EQ(s.form->ClientWidth(), 400);
    EXPECT_EQ(s.form->ClientHeight(), 236);
    EXPECT_EQ(s.form->Menu(), s.Get<TMainMenu>(L"MainMenu1"));
    EXPECT_EQ(GetMenu(s.form->Handle()), s.form->Menu()->Handle());
    EXPECT_EQ(s.Get<TLabel>(L"Label1")->Caption(), L"名字(&N):");
    EXPECT_EQ(s.Get<TEdit>(L"Edit1")->Text(), L"Quellory");
    auto* memo = s.Get<TMemo>(L"Memo1");
    EXPECT_EQ(memo->Lines()->ToVector(), (std::vector<std::wstring>{L"http://example.invalid/quellory"}));
    EXPECT_TRUE(GetWindowLongW(memo->Handle(), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(memo->Font()->Style(), fsBold);
    EXPECT_EQ(memo->Color(), clInfoBk);
    EXPECT_TRUE(s.Get<TButton>(L"BStart")->Default());
    EXPECT_TRUE(s.Get<TButton>(L"BStop")->Cancel());
    EXPECT_EQ(SendMessageW(s.Get<TProgressBar>(L"ProgressBar1")->Handle(), PBM_GETPOS, 0, 0), 40);
    wchar_t text[128] = {};
    SendMessageW(s.Get<TStatusBar>(L"StatusBar1")->Handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"用你的声音进行文字聊天。  ");
    EXPECT_EQ(s.Get<TTimer>(L"Timer1")->Interval(), 100u);
    EXPECT_EQ(s.Get<TEdit>(L"Edit1")->TabOrder(), 0);
    EXPECT_EQ(s.Get<TButton>(L"BStop")->TabOrder(), 2);
    // The form's classes and windows are the ones the skin engine looks for.
    wchar_t cls[64];
    GetClassNameW(s.Get<TButton>(L"BStart")->Handle(), cls, 64);
    EXPECT_STREQ(cls, L"TButton");
    GetClassNameW(s.form->Handle(), cls, 64);
    EXPECT_STREQ(cls, L"TShowcaseForm");
}

TEST(Showcase, MenuShortcutRunsWhereverTheFocusIsInTheForm) {
    Showcase s;
    s.Get<TButton>(L"BStop")->SetFocus();
    PumpFor(20);
    ASSERT_TRUE(s.Get<TButton>(L"BStop")->Focused());
    s.Press(VK_F5);
    EXPECT_EQ(s.form->starts, 1);
    EXPECT_EQ(s.form->stops, 0);
    s.Get<TEdit>(L"Edit1")->SetFocus();
    PumpFor(20);
    s.Press(VK_F6);
    EXPECT_EQ(s.form->stops, 1);
}

TEST(Showcase, EnterClicksTheDefaultButtonOrTheFocusedOneAndEscTheCancelButton) {
    Showcase s;
    s.Get<TEdit>(L"Edit1")->SetFocus();
    PumpFor(20);
    s.Press(VK_RETURN);
    EXPECT_EQ(s.form->starts, 1);
    s.Press(VK_ESCAPE);
    EXPECT_EQ(s.form->stops, 1);
    // A focused button takes Enter for itself.
    s.Get<TButton>(L"BStop")->SetFocus();
    PumpFor(20);
    s.Press(VK_RETURN);
    EXPECT_EQ(s.form->starts, 1);
    EXPECT_EQ(s.form->stops, 2);
}

TEST(Showcase, TheTimerRunsWhileStartedAndStopsWithStop) {
    Showcase s;
    s.Get<TButton>(L"BStart")->Click();
    EXPECT_TRUE(PumpUntil([&] { return s.form->ticks >= 2; }, 2000));
    s.Get<TButton>(L"BStop")->Click();
    const int ticks = s.form->ticks;
    PumpFor(300);
    EXPECT_EQ(s.form->ticks, ticks);
}

TEST(MessageDialog, ShowMessageShowsAModalMessageFormWithTheTitleTextAndOk) {
    Showcase s;
    DialogCloser closer;
    bool hadOk = false;
    closer.OnDialog = [&](HWND wnd) {
        auto* form = As<TMessageForm>(TWinControl::FindControl(wnd));
        ASSERT_NE(form, nullptr);
        EXPECT_TRUE(form->IsModal());
        hadOk = form->OkButton() && form->OkButton()->Caption() == L"OK";
        // Enter (the default OK button) closes it, as a user would.
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
    };
    ShowMessage(L"请在点击后，稍等一会即可下载。");
    ASSERT_EQ(closer.SeenDialogs().size(), 1u);
    EXPECT_EQ(closer.SeenDialogs()[0].windowClass, L"TMessageForm");
    EXPECT_EQ(closer.SeenDialogs()[0].caption, Application->Title());
    EXPECT_EQ(closer.SeenDialogs()[0].text, L"请在点击后，稍等一会即可下载。");
    EXPECT_TRUE(hadOk);
    EXPECT_TRUE(IsWindowEnabled(s.form->WindowHandle()));
}
