// The controls the program itself uses, on real windows: a form with the
// controls parented on it, driven by window messages and the application's
// key routing, read back through the windows, pixels and the clipboard.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "classlib/Bevel.h"
#include "classlib/Button.h"
#include "classlib/Edit.h"
#include "classlib/Forms.h"
#include "classlib/Label.h"
#include "classlib/LayoutReader.h"
#include "classlib/ProgressBar.h"
#include "classlib/StatusBar.h"
#include "classlib/Timer.h"

namespace {

std::wstring WindowText(HWND wnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(wnd, buffer, 512);
    return buffer;
}

std::wstring ClassNameOf(HWND wnd) {
    wchar_t buffer[256] = {};
    GetClassNameW(wnd, buffer, 256);
    return buffer;
}

LONG StyleOf(HWND wnd) { return GetWindowLongW(wnd, GWL_STYLE); }
LONG ExStyleOf(HWND wnd) { return GetWindowLongW(wnd, GWL_EXSTYLE); }

std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return L"<clipboard busy>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void PutOnClipboard(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(mem), text.c_str(), bytes);
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    CloseClipboard();
}

// A control's client area as the class library paints it, windowless
// children included, rendered into a 32-bit bitmap (WM_ERASEBKGND then
// WM_PRINTCLIENT).
class Snapshot {
public:
    explicit Snapshot(TWinControl& control) {
        HWND wnd = control.Handle();
        RECT r;
        GetClientRect(wnd, &r);
        width_ = r.right;
        height_ = r.bottom;
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width_;
        bi.bmiHeader.biHeight = -height_;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc_.reset(CreateCompatibleDC(nullptr));
        bitmap_.reset(CreateDIBSection(dc_.get(), &bi, DIB_RGB_COLORS, &bits_, nullptr, 0));
        SelectedObject selected(dc_.get(), bitmap_.get());
        SendMessageW(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc_.get()), 0);
        SendMessageW(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.get()), PRF_CLIENT);
        GdiFlush();
    }
    COLORREF At(int x, int y) const {
        const DWORD px = static_cast<const DWORD*>(bits_)[y * width_ + x];
        return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
    }
    // Pixels in r that differ from background.
    int CountOther(const RECT& r, COLORREF background) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += At(x, y) != background;
        return n;
    }

private:
    UniqueDC dc_;
    UniqueBitmap bitmap_;
    void* bits_ = nullptr;
    int width_ = 0, height_ = 0;
};

COLORREF Rgb(TColor c) { return ColorToRGB(c); }

class StdControls : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(50, 50, 420, 320);
    }

    template <class T>
    T* Add(int left, int top, int width, int height) {
        T* c = TComponent::Create<T>(form.get());
        c->SetBounds(left, top, width, height);
        c->SetParent(form.get());
        return c;
    }

    // Shows the form in front and gives control the focus.
    void ShowWithFocus(TWinControl* control) {
        form->Show();
        SetForegroundWindow(form->Handle());
        control->SetFocus();
        Application->ProcessMessages();
        ASSERT_EQ(GetFocus(), control->Handle());
    }

    // A key as the keyboard sends it, to the focused window, routed by the application.
    static void PressKey(WORD key) {
        HWND target = GetFocus();
        const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
        PostMessageW(target, WM_KEYDOWN, key, static_cast<LPARAM>(1 | (scan << 16)));
        PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(1 | (scan << 16) | 0xC0000000u));
        Application->ProcessMessages();
    }

    std::unique_ptr<TForm> form;
};

// ---------------------------------------------------------------- class information

TEST_F(StdControls, WindowClassesAreNamedAfterTheControlAndFindTheirControl) {
    struct Row {
        TWinControl* control;
        const wchar_t* className;
        const wchar_t* ancestor;
    };
    const Row rows[] = {
        {Add<TButton>(0, 0, 75, 25), L"TButton", L"TButtonControl"},
        {Add<TEdit>(0, 30, 100, 21), L"TEdit", L"TCustomEdit"},
        {Add<TMemo>(0, 60, 100, 50), L"TMemo", L"TCustomEdit"},
        {Add<TStatusBar>(0, 0, 100, 19), L"TStatusBar", L"TCustomStatusBar"},
        {Add<TProgressBar>(0, 120, 100, 15), L"TProgressBar", L"TWinControl"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << WideToUtf8(row.className));
        HWND wnd = row.control->Handle();
        EXPECT_EQ(ClassNameOf(wnd), row.className);
        EXPECT_EQ(TWinControl::FindControl(wnd), row.control);
        EXPECT_TRUE(row.control->InheritsFrom(std::wstring_view(row.ancestor)));
    }
    EXPECT_TRUE(As<TMemo>(rows[2].control)->InheritsFrom(L"TCustomMemo"));
    EXPECT_TRUE(TLabel::StaticClass().InheritsFrom(TGraphicControl::StaticClass()));
    EXPECT_TRUE(TBevel::StaticClass().InheritsFrom(TGraphicControl::StaticClass()));
    EXPECT_TRUE(TTimer::StaticClass().InheritsFrom(TComponent::StaticClass()));
    EXPECT_FALSE(TTimer::StaticClass().InheritsFrom(TControl::StaticClass()));
}

TEST_F(StdControls, PublishedPropertiesReadBackWhatWasWritten) {
    auto* button = Add<TButton>(0, 0, 75, 25);
    auto* label = Add<TLabel>(0, 0, 50, 13);
    auto* bevel = Add<TBevel>(0, 0, 50, 9);
    auto* edit = Add<TEdit>(0, 0, 50, 21);
    auto* memo = Add<TMemo>(0, 0, 50, 50);
    auto* status = Add<TStatusBar>(0, 0, 50, 19);
    auto* progress = Add<TProgressBar>(0, 0, 50, 15);
    auto* timer = TComponent::Create<TTimer>(form.get());
    struct Row {
        TObject* object;
        const wchar_t* property;
        const wchar_t* value;
    };
    const Row rows[] = {
        {button, L"Default", L"True"},          {button, L"Cancel", L"True"},
        {button, L"ModalResult", L"2"},         {label, L"AutoSize", L"False"},
        {label, L"Alignment", L"taCenter"},     {label, L"WordWrap", L"True"},
        {label, L"Transparent", L"True"},       {label, L"ShowAccelChar", L"False"},
        {bevel, L"Shape", L"bsTopLine"},        {bevel, L"Style", L"bsRaised"},
        {edit, L"ReadOnly", L"True"},           {edit, L"MaxLength", L"12"},
        {edit, L"BorderStyle", L"bsNone"},      {edit, L"Ctl3D", L"False"},
        {memo, L"WordWrap", L"False"},          {memo, L"ScrollBars", L"ssBoth"},
        {memo, L"WantReturns", L"False"},       {memo, L"WantTabs", L"True"},
        {status, L"SimplePanel", L"True"},      {status, L"SimpleText", L"ready"},
        {status, L"SizeGrip", L"False"},        {progress, L"Min", L"5"},
        {progress, L"Max", L"50"},              {progress, L"Position", L"7"},
        {progress, L"Step", L"3"},              {progress, L"Smooth", L"True"},
        {progress, L"Orientation", L"pbVertical"}, {timer, L"Interval", L"250"},
        {timer, L"Enabled", L"False"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << WideToUtf8(row.property) << " = " << WideToUtf8(row.value));
        ASSERT_TRUE(row.object->HasProperty(row.property));
        row.object->SetProperty(row.property, TValue(std::wstring(row.value)));
        const TValue back = row.object->GetProperty(row.property);
        if (back.GetKind() == TValue::Kind::Boolean)
            EXPECT_EQ(back.AsBoolean(), SameText(row.value, L"True"));
        else
            EXPECT_EQ(back.AsText(), row.value);
    }
    EXPECT_EQ(As<TStatusBar>(status)->GetProperty(L"Align").AsText(), L"alBottom");
}

// ---------------------------------------------------------------- buttons

TEST_F(StdControls, ButtonPropertiesBeforeAndAfterTheWindow) {
    auto* button = Add<TButton>(10, 10, 87, 22);
    button->SetCaption(L"Start");
    button->SetDefault(true);
    HWND wnd = button->Handle();
    EXPECT_EQ(WindowText(wnd), L"Start");
    EXPECT_EQ(StyleOf(wnd) & 0xF, BS_DEFPUSHBUTTON);
    EXPECT_TRUE(StyleOf(wnd) & WS_TABSTOP);
    button->SetCaption(L"Stop");
    EXPECT_EQ(WindowText(wnd), L"Stop");
    button->SetDefault(false);
    EXPECT_EQ(StyleOf(wnd) & 0xF, BS_PUSHBUTTON);
    EXPECT_FALSE(button->Active());
}

TEST_F(StdControls, BmClickRunsOnClickOnce) {
    auto* button = Add<TButton>(10, 10, 87, 22);
    int clicks = 0;
    button->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, button);
        ++clicks;
    };
    ShowWithFocus(button);
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(clicks, 1);
}

TEST_F(StdControls, ClickSetsTheFormsModalResultOnlyWhenTheButtonHasOne) {
    auto* ok = Add<TButton>(10, 10, 75, 25);
    auto* plain = Add<TButton>(100, 10, 75, 25);
    ok->SetModalResult(mrOk);
    form->SetModalResult(mrNone);
    plain->Click();
    EXPECT_EQ(form->ModalResult(), mrNone);
    ok->Click();
    EXPECT_EQ(form->ModalResult(), mrOk);
    plain->Click();
    EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST_F(StdControls, EnterClicksTheDefaultButtonAndEscTheCancelButton) {
    auto* edit = Add<TEdit>(10, 40, 120, 21);
    auto* start = Add<TButton>(10, 10, 87, 22);
    auto* stop = Add<TButton>(110, 10, 87, 22);
    start->SetDefault(true);
    stop->SetCancel(true);
    int starts = 0, stops = 0;
    start->OnClick = [&](TObject*) { ++starts; };
    stop->OnClick = [&](TObject*) { ++stops; };
    ShowWithFocus(edit);

    PressKey(VK_RETURN);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(stops, 0);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(stops, 1);
    // Neither key reached the edit as text.
    EXPECT_EQ(edit->Text(), L"");
}

TEST_F(StdControls, AFocusedButtonTakesEnterAndTheDefaultFrame) {
    auto* edit = Add<TEdit>(10, 40, 120, 21);
    auto* start = Add<TButton>(10, 10, 87, 22);
    auto* dict = Add<TButton>(210, 10, 87, 22);
    start->SetDefault(true);
    int starts = 0, dicts = 0;
    start->OnClick = [&](TObject*) { ++starts; };
    dict->OnClick = [&](TObject*) { ++dicts; };

    ShowWithFocus(dict);
    EXPECT_TRUE(dict->Active());
    EXPECT_FALSE(start->Active());
    EXPECT_EQ(StyleOf(dict->Handle()) & 0xF, BS_DEFPUSHBUTTON);
    EXPECT_EQ(StyleOf(start->Handle()) & 0xF, BS_PUSHBUTTON);
    PressKey(VK_RETURN);
    EXPECT_EQ(dicts, 1);
    EXPECT_EQ(starts, 0);

    // Back on a control that is no button, Enter is the default button's again.
    edit->SetFocus();
    Application->ProcessMessages();
    EXPECT_TRUE(start->Active());
    EXPECT_FALSE(dict->Active());
    EXPECT_EQ(StyleOf(start->Handle()) & 0xF, BS_DEFPUSHBUTTON);
    EXPECT_EQ(StyleOf(dict->Handle()) & 0xF, BS_PUSHBUTTON);
    PressKey(VK_RETURN);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(dicts, 1);
}

TEST_F(StdControls, ADisabledCancelButtonIgnoresEsc) {
    auto* edit = Add<TEdit>(10, 40, 120, 21);
    auto* stop = Add<TButton>(110, 10, 87, 22);
    stop->SetCancel(true);
    stop->SetEnabled(false);
    int stops = 0;
    stop->OnClick = [&](TObject*) { ++stops; };
    ShowWithFocus(edit);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(stops, 0);
    EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 0);
}

TEST_F(StdControls, TheAcceleratorClicksItsButton) {
    auto* go = Add<TButton>(10, 10, 75, 25);
    go->SetCaption(L"&Go");
    int clicks = 0;
    go->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, L'x', 0), 0);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, L'g', 0), 1);
    EXPECT_EQ(clicks, 1);
}

// ---------------------------------------------------------------- labels and bevels

TEST_F(StdControls, AutoSizeFollowsTheCaptionUnlessSwitchedOff) {
    auto* label = Add<TLabel>(20, 20, 10, 10);
    label->SetCaption(L"A fairly long caption");
    const int grown = label->Width();
    EXPECT_GT(grown, 60);
    EXPECT_GT(label->Height(), 8);

    // Right-aligned: the right edge stays where it was.
    label->SetAlignment(TAlignment::taRightJustify);
    const int right = label->Left() + label->Width();
    label->SetCaption(L"Short");
    EXPECT_LT(label->Width(), grown);
    EXPECT_EQ(label->Left() + label->Width(), right);

    label->SetAutoSize(false);
    label->SetBounds(16, 16, 633, 13);
    label->SetCaption(L"A caption much longer than before, and longer still");
    EXPECT_EQ(label->Width(), 633);
    EXPECT_EQ(label->Height(), 13);
}

TEST_F(StdControls, AutoSizeWaitsUntilTheLayoutIsRead) {
    // As a stored layout makes it: loading from creation until Loaded.
    auto* label = TComponent::Create<TLabel>(form.get());
    label->SetLoading(true);
    label->SetBounds(16, 16, 633, 13);
    label->SetParent(form.get());
    label->SetCaption(L"Text read from a layout");
    label->SetAutoSize(false);
    label->SetLoading(false);
    label->Loaded();
    EXPECT_EQ(label->Width(), 633);
    EXPECT_EQ(label->Height(), 13);
}

TEST_F(StdControls, LabelPaintsItsCaptionOnItsColourUnlessTransparent) {
    form->SetColor(clWhite);
    auto* label = Add<TLabel>(20, 20, 10, 10);
    label->SetAutoSize(false);
    label->SetBounds(20, 20, 120, 20);
    label->Font()->SetColor(clBlack);
    const RECT inside{20, 20, 140, 40};
    const COLORREF white = RGB(255, 255, 255);

    EXPECT_EQ(Snapshot(*form).CountOther(inside, white), 0) << "no caption, parent's colour";

    label->SetCaption(L"Hello");
    const Snapshot withText(*form);
    EXPECT_GT(withText.CountOther(inside, white), 20);
    EXPECT_EQ(withText.At(135, 35), white);

    label->SetColor(clRed);
    EXPECT_EQ(Snapshot(*form).At(135, 35), Rgb(clRed));
    label->SetTransparent(true);
    EXPECT_EQ(Snapshot(*form).At(135, 35), white);
}

TEST_F(StdControls, TheLabelsAcceleratorFocusesItsControl) {
    auto* edit = Add<TEdit>(100, 10, 120, 21);
    auto* other = Add<TEdit>(100, 40, 120, 21);
    auto* label = Add<TLabel>(10, 10, 80, 13);
    label->SetCaption(L"&Name");
    label->SetFocusControl(edit);
    ShowWithFocus(other);
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, L'n', 0), 1);
    EXPECT_EQ(GetFocus(), edit->Handle());
    // Once the control is gone the label forgets it.
    edit->Free();
    EXPECT_EQ(label->FocusControl(), nullptr);
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, L'n', 0), 0);
}

TEST_F(StdControls, BevelShapesDrawShadowAndHighlightWhereTheyBelong) {
    const COLORREF dark = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT),
                   face = GetSysColor(COLOR_BTNFACE);
    form->SetColor(clBtnFace);
    const int w = 40, h = 20, x0 = 30, y0 = 30;
    struct Point {
        int x, y;
        COLORREF expected;
    };
    struct Row {
        const char* name;
        TBevelShape shape;
        TBevelStyle style;
        std::vector<Point> points;
    };
    const Row rows[] = {
        {"top line", TBevelShape::bsTopLine, TBevelStyle::bsLowered, {{5, 0, dark}, {5, 1, light}, {5, 2, face}}},
        {"top line raised", TBevelShape::bsTopLine, TBevelStyle::bsRaised, {{5, 0, light}, {5, 1, dark}}},
        {"bottom line", TBevelShape::bsBottomLine, TBevelStyle::bsLowered,
         {{5, h - 2, dark}, {5, h - 1, light}, {5, 0, face}}},
        {"left line", TBevelShape::bsLeftLine, TBevelStyle::bsLowered, {{0, 5, dark}, {1, 5, light}, {2, 5, face}}},
        {"right line", TBevelShape::bsRightLine, TBevelStyle::bsLowered,
         {{w - 2, 5, dark}, {w - 1, 5, light}, {0, 5, face}}},
        {"box", TBevelShape::bsBox, TBevelStyle::bsLowered,
         {{0, 5, dark}, {5, 0, dark}, {w - 1, 5, light}, {5, h - 1, light}, {5, 5, face}}},
        {"box raised", TBevelShape::bsBox, TBevelStyle::bsRaised, {{0, 5, light}, {w - 1, 5, dark}}},
        {"frame", TBevelShape::bsFrame, TBevelStyle::bsLowered,
         {{0, 5, dark}, {1, 5, light}, {w - 2, 5, dark}, {w - 1, 5, light}, {5, 5, face}}},
        {"spacer", TBevelShape::bsSpacer, TBevelStyle::bsLowered, {{0, 5, face}, {5, 0, face}}},
    };
    auto* bevel = Add<TBevel>(x0, y0, w, h);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bevel->SetShape(row.shape);
        bevel->SetStyle(row.style);
        const Snapshot shot(*form);
        for (const Point& p : row.points)
            EXPECT_EQ(shot.At(x0 + p.x, y0 + p.y), p.expected) << "at " << p.x << "," << p.y;
    }
}

// ---------------------------------------------------------------- edits and memos

TEST_F(StdControls, EditStylesBeforeAndAfterTheWindow) {
    auto* edit = Add<TEdit>(10, 10, 120, 21);
    edit->SetReadOnly(true);
    edit->SetMaxLength(8);
    edit->SetTextProp(L"keep me");
    HWND wnd = edit->Handle();
    EXPECT_EQ(ClassNameOf(wnd), L"TEdit");
    EXPECT_TRUE(StyleOf(wnd) & ES_READONLY);
    EXPECT_TRUE(ExStyleOf(wnd) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(SendMessageW(wnd, EM_GETLIMITTEXT, 0, 0), 8);
    EXPECT_EQ(WindowText(wnd), L"keep me");

    edit->SetReadOnly(false);
    EXPECT_FALSE(StyleOf(wnd) & ES_READONLY);
    edit->SetMaxLength(3);
    EXPECT_EQ(SendMessageW(wnd, EM_GETLIMITTEXT, 0, 0), 3);

    // Flat: a plain border in place of the sunken edge, on a new window keeping the text.
    edit->SetCtl3D(false);
    wnd = edit->Handle();
    EXPECT_FALSE(ExStyleOf(wnd) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(WindowText(wnd), L"keep me");
    EXPECT_EQ(SendMessageW(wnd, EM_GETLIMITTEXT, 0, 0), 3);
}

// The window an edit asks Windows for. (The edit control takes WS_BORDER out
// of its style and draws that border itself, so the window cannot tell.)
struct ProbeEdit : TEdit {
    using TEdit::TEdit;
    TCreateParams Params() {
        TCreateParams p;
        CreateParams(p);
        return p;
    }
};

TEST_F(StdControls, EditBordersAreSunkenFlatOrNone) {
    struct Row {
        const char* name;
        TBorderStyle border;
        bool ctl3D;
        bool wsBorder, clientEdge;
    };
    const Row rows[] = {
        {"sunken", TBorderStyle::bsSingle, true, false, true},
        {"flat", TBorderStyle::bsSingle, false, true, false},
        {"none", TBorderStyle::bsNone, true, false, false},
        {"none, flat", TBorderStyle::bsNone, false, false, false},
    };
    auto* edit = Add<ProbeEdit>(10, 10, 120, 21);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        edit->SetBorderStyle(row.border);
        edit->SetCtl3D(row.ctl3D);
        const TCreateParams p = edit->Params();
        EXPECT_EQ(p.SubClassName, L"EDIT");
        EXPECT_EQ((p.Style & WS_BORDER) != 0, row.wsBorder);
        EXPECT_EQ((p.ExStyle & WS_EX_CLIENTEDGE) != 0, row.clientEdge);
        EXPECT_EQ((ExStyleOf(edit->Handle()) & WS_EX_CLIENTEDGE) != 0, row.clientEdge);
    }
}

TEST_F(StdControls, EditSelectionAndOnChange) {
    auto* edit = Add<TEdit>(10, 10, 120, 21);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->Handle();
    edit->SetTextProp(L"dictation");
    EXPECT_EQ(changes, 1);
    edit->SetSelStart(2);
    edit->SetSelLength(4);
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 4);
    EXPECT_EQ(edit->SelText(), L"ctat");
    edit->SetSelText(L"--");
    EXPECT_EQ(edit->Text(), L"di--ion");
    EXPECT_EQ(changes, 2);
    edit->Clear();
    EXPECT_EQ(edit->Text(), L"");
}

TEST_F(StdControls, CutAndPasteGoThroughTheClipboard) {
    auto* edit = Add<TEdit>(10, 10, 120, 21);
    edit->SetTextProp(L"alpha beta");
    edit->SetSelStart(0);
    edit->SetSelLength(6);
    edit->CutToClipboard();
    EXPECT_EQ(edit->Text(), L"beta");
    EXPECT_EQ(ClipboardText(), L"alpha ");
    PutOnClipboard(L"gamma ");
    edit->SetSelStart(0);
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->Text(), L"gamma beta");
}

TEST(MemoLines, SplitAndJoin) {
    struct Row {
        const char* name;
        const wchar_t* text;
        std::vector<std::wstring> lines;
        const wchar_t* joined;  // what the lines give back
    };
    const Row rows[] = {
        {"empty text has no lines", L"", {}, L""},
        {"one line", L"one", {L"one"}, L"one"},
        {"a last break adds no line", L"one\r\n", {L"one"}, L"one"},
        {"two lines", L"one\r\ntwo", {L"one", L"two"}, L"one\r\ntwo"},
        {"lone LF and CR break too", L"a\nb\rc", {L"a", L"b", L"c"}, L"a\r\nb\r\nc"},
        {"LF CR is two breaks", L"a\n\rb", {L"a", L"", L"b"}, L"a\r\n\r\nb"},
        {"one empty line", L"\r\n", {L""}, L"\r\n"},
        {"an empty last line keeps its break", L"a\r\n\r\n", {L"a", L""}, L"a\r\n\r\n"},
        {"empty lines inside", L"\r\n\r\nx", {L"", L"", L"x"}, L"\r\n\r\nx"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SplitMemoLines(row.text), row.lines);
        EXPECT_EQ(JoinMemoLines(row.lines), row.joined);
        EXPECT_EQ(SplitMemoLines(JoinMemoLines(row.lines)), row.lines);
    }
}

TEST_F(StdControls, MemoLinesLiveInTheControlThenInTheWindow) {
    auto* memo = Add<TMemo>(10, 10, 200, 80);
    TStrings& lines = *memo->Lines();
    lines.Add(L"one");
    lines.Add(L"two");
    EXPECT_EQ(memo->Text(), L"one\r\ntwo");
    EXPECT_FALSE(memo->HandleAllocated());

    HWND wnd = memo->Handle();
    EXPECT_TRUE(StyleOf(wnd) & ES_MULTILINE);
    EXPECT_EQ(WindowText(wnd), L"one\r\ntwo");
    EXPECT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Get(1), L"two");
    lines.Insert(1, L"middle");
    lines.Delete(0);
    lines.Put(1, L"last");
    EXPECT_EQ(WindowText(wnd), L"middle\r\nlast");
    lines.Add(L"");
    EXPECT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.ToVector(), (std::vector<std::wstring>{L"middle", L"last", L""}));
    EXPECT_THROW(lines.Get(3), std::out_of_range);
    EXPECT_THROW(lines.Insert(5, L"x"), std::out_of_range);
    lines.Clear();
    EXPECT_EQ(lines.Count(), 0);
    EXPECT_EQ(WindowText(wnd), L"");

    // The lines survive a new window.
    lines.SetText(L"a\nb");
    memo->SetScrollBars(TScrollStyle::ssVertical);
    EXPECT_NE(memo->Handle(), wnd);
    EXPECT_TRUE(StyleOf(memo->Handle()) & WS_VSCROLL);
    EXPECT_EQ(WindowText(memo->Handle()), L"a\r\nb");
}

TEST_F(StdControls, StoredLayoutsWriteMemoLinesThroughTheLinesObject) {
    auto* memo = Add<TMemo>(16, 96, 561, 49);
    TObject* lines = memo->GetProperty(L"Lines").AsObject();
    ASSERT_NE(lines, nullptr);
    EXPECT_TRUE(lines->InheritsFrom(L"TStrings"));
    lines->SetProperty(L"Strings", TValue(std::vector<std::wstring>{L"http://example.com/quellory"}));
    EXPECT_EQ(memo->Text(), L"http://example.com/quellory");
    memo->Handle();
    EXPECT_EQ(lines->GetProperty(L"Strings").AsStrings(), (std::vector<std::wstring>{L"http://example.com/quellory"}));
}

TEST_F(StdControls, WrappedMemoLinesAreTheTextsLines) {
    auto* memo = Add<TMemo>(10, 10, 60, 80);
    memo->Lines()->Add(L"a line far too long to fit into sixty pixels of width");
    memo->Handle();
    EXPECT_GT(SendMessageW(memo->Handle(), EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_EQ(memo->Lines()->Count(), 1);
}

TEST_F(StdControls, SelectAllAndCopyPutTheWholeAddressOnTheClipboard) {
    auto* memo = Add<TMemo>(16, 96, 561, 49);
    memo->SetReadOnly(true);
    memo->Lines()->Assign(std::vector<std::wstring>{L"http://example.com/quellory"});
    PutOnClipboard(L"something else");
    ShowWithFocus(memo);
    memo->SelectAll();
    memo->CopyToClipboard();
    EXPECT_EQ(memo->SelStart(), 0);
    EXPECT_EQ(memo->SelLength(), 27);
    EXPECT_EQ(ClipboardText(), L"http://example.com/quellory");
    // Read-only still takes lines from the program.
    memo->Lines()->Add(L"second");
    EXPECT_EQ(memo->Lines()->Count(), 2);
}

TEST_F(StdControls, EditsAskForTheirColoursThroughReflectedNotifications) {
    auto* edit = Add<TEdit>(10, 10, 120, 21);
    auto* memo = Add<TMemo>(10, 40, 200, 50);
    memo->SetReadOnly(true);
    memo->SetColor(clInfoBk);
    memo->Font()->SetColor(clRed);
    memo->Font()->SetStyle(fsBold);
    memo->SetCtl3D(false);
    memo->Lines()->Add(L"address");

    std::vector<UINT> seen;
    const TWndMethod oldEdit = edit->WindowProc, oldMemo = memo->WindowProc;
    for (TWinControl* c : {static_cast<TWinControl*>(edit), static_cast<TWinControl*>(memo)}) {
        TWndMethod old = c->WindowProc;
        c->WindowProc = [old, c, &seen](TMessage& m) {
            old(m);
            if (m.Msg == CN_CTLCOLOREDIT || m.Msg == CN_CTLCOLORSTATIC) {
                seen.push_back(m.Msg);
                EXPECT_EQ(reinterpret_cast<HBRUSH>(m.Result), c->Brush()->Handle());
            }
        };
    }
    form->Show();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Application->ProcessMessages();
    EXPECT_NE(std::find(seen.begin(), seen.end(), CN_CTLCOLOREDIT), seen.end()) << "the editable edit";
    EXPECT_NE(std::find(seen.begin(), seen.end(), CN_CTLCOLORSTATIC), seen.end()) << "the read-only memo";
    edit->WindowProc = oldEdit;
    memo->WindowProc = oldMemo;

    // The colours the read-only memo is given: red text on the info-tip colour.
    WindowDC dc(memo->Handle());
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(form->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                     reinterpret_cast<LPARAM>(memo->Handle())));
    EXPECT_EQ(brush, memo->Brush()->Handle());
    EXPECT_EQ(GetTextColor(dc.get()), Rgb(clRed));
    EXPECT_EQ(GetBkColor(dc.get()), Rgb(clInfoBk));
}

TEST_F(StdControls, EscInAMemoStillReachesTheCancelButton) {
    auto* memo = Add<TMemo>(10, 40, 200, 50);
    auto* close = Add<TButton>(300, 200, 75, 25);
    close->SetCancel(true);
    int closes = 0;
    close->OnClick = [&](TObject*) { ++closes; };
    memo->Lines()->Add(L"address");
    ShowWithFocus(memo);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(memo->Text(), L"address");
}

TEST_F(StdControls, EnterInAMemoBreaksTheLineUnlessItDoesNotWantReturns) {
    auto* memo = Add<TMemo>(10, 40, 200, 50);
    auto* start = Add<TButton>(300, 200, 75, 25);
    start->SetDefault(true);
    int starts = 0;
    start->OnClick = [&](TObject*) { ++starts; };
    ShowWithFocus(memo);
    PressKey(VK_RETURN);
    EXPECT_EQ(starts, 0);
    EXPECT_EQ(memo->Text(), L"\r\n");

    memo->SetWantReturns(false);
    PressKey(VK_RETURN);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(memo->Text(), L"\r\n");
}

// ---------------------------------------------------------------- status bar

TEST_F(StdControls, StatusBarSimpleTextBeforeAndAfterTheWindow) {
    auto* status = Add<TStatusBar>(0, 32, 307, 19);
    status->SetSimplePanel(true);
    status->SetSimpleText(L"用你的声音进行文字聊天。  ");
    HWND wnd = status->Handle();
    EXPECT_EQ(ClassNameOf(wnd), L"TStatusBar");
    wchar_t text[128] = {};
    EXPECT_TRUE(SendMessageW(wnd, SB_ISSIMPLE, 0, 0));
    SendMessageW(wnd, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"用你的声音进行文字聊天。  ");

    status->SetSimpleText(L"changed");
    SendMessageW(wnd, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"changed");
    EXPECT_EQ(status->GetProperty(L"simpletext").AsText(), L"changed");
}

TEST_F(StdControls, StatusBarSitsAtTheBottomWithItsGripOnASizeableForm) {
    auto* status = Add<TStatusBar>(0, 32, 307, 19);
    form->Handle();
    EXPECT_EQ(status->Top() + status->Height(), form->ClientHeight());
    EXPECT_EQ(status->Width(), form->ClientWidth());
    EXPECT_EQ(status->Height(), 19);
    EXPECT_TRUE(StyleOf(status->Handle()) & SBARS_SIZEGRIP);
    status->SetSizeGrip(false);
    EXPECT_FALSE(StyleOf(status->Handle()) & SBARS_SIZEGRIP);

    form->SetBorderStyle(TFormBorderStyle::bsDialog);
    status->SetSizeGrip(true);
    EXPECT_FALSE(StyleOf(status->Handle()) & SBARS_SIZEGRIP);
}

TEST_F(StdControls, StatusBarPanelsBecomeParts) {
    auto* status = Add<TStatusBar>(0, 0, 300, 19);
    TStatusPanel* first = status->Panels()->Add();
    first->SetText(L"A");
    first->SetWidth(50);
    TStatusPanel* second = status->Panels()->Add();
    second->SetText(L"B");
    second->SetWidth(80);
    second->SetAlignment(TAlignment::taCenter);
    HWND wnd = status->Handle();
    status->Panels()->Add()->SetText(L"C");

    int edges[4] = {};
    ASSERT_EQ(SendMessageW(wnd, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 3);
    EXPECT_EQ(edges[0], 50);
    EXPECT_EQ(edges[1], 130);
    wchar_t text[64] = {};
    SendMessageW(wnd, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"A");
    SendMessageW(wnd, SB_GETTEXTW, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"C");
    // The common control centres what follows one tab.
    SendMessageW(wnd, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"\tB");

    first->SetWidth(70);
    SendMessageW(wnd, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    EXPECT_EQ(edges[1], 150);
    status->Panels()->Clear();
    EXPECT_EQ(SendMessageW(wnd, SB_GETPARTS, 0, 0), 1);
}

// ---------------------------------------------------------------- progress bar

TEST_F(StdControls, ProgressRangeAndPositionBeforeAndAfterTheWindow) {
    auto* progress = Add<TProgressBar>(9, 5, 292, 15);
    progress->SetMin(10);
    progress->SetMax(50);
    progress->SetPosition(60);
    EXPECT_EQ(progress->Position(), 50) << "kept within the range";
    progress->SetSmooth(true);
    HWND wnd = progress->Handle();
    EXPECT_EQ(ClassNameOf(wnd), L"TProgressBar");
    EXPECT_TRUE(StyleOf(wnd) & PBS_SMOOTH);
    EXPECT_EQ(SendMessageW(wnd, PBM_GETRANGE, TRUE, 0), 10);
    EXPECT_EQ(SendMessageW(wnd, PBM_GETRANGE, FALSE, 0), 50);
    EXPECT_EQ(SendMessageW(wnd, PBM_GETPOS, 0, 0), 50);

    progress->SetPosition(20);
    EXPECT_EQ(SendMessageW(wnd, PBM_GETPOS, 0, 0), 20);
    progress->SetMax(15);
    EXPECT_EQ(progress->Position(), 15);

    // A new window (vertical now) keeps the position.
    progress->SetOrientation(TProgressBarOrientation::pbVertical);
    EXPECT_TRUE(StyleOf(progress->Handle()) & PBS_VERTICAL);
    EXPECT_EQ(SendMessageW(progress->Handle(), PBM_GETPOS, 0, 0), 15);
}

TEST_F(StdControls, StepItWrapsAlikeWithAndWithoutTheWindow) {
    struct Row {
        const char* name;
        int min, max, position, step, expected;
    };
    const Row rows[] = {
        {"within the range", 0, 100, 20, 10, 30},
        {"onto the maximum", 0, 100, 90, 10, 100},
        {"past the maximum starts again", 0, 100, 95, 10, 5},
        {"past the maximum with an offset range", 10, 20, 18, 5, 13},
        {"a negative step below the minimum", 0, 100, 5, -10, 95},
        {"an empty range stays put", 5, 5, 5, 3, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (bool windowed : {false, true}) {
            auto bar = std::make_unique<TProgressBar>(nullptr);
            bar->SetParent(form.get());
            bar->SetMax(row.max);
            bar->SetMin(row.min);
            bar->SetPosition(row.position);
            bar->SetStep(row.step);
            if (windowed) bar->Handle();
            bar->StepIt();
            EXPECT_EQ(bar->Position(), row.expected) << (windowed ? "with" : "without") << " the window";
            bar->SetParent(nullptr);
        }
    }
}

// ---------------------------------------------------------------- timer

TEST(Timer, FiresWhilePumpingAndStopsWhenDisabled) {
    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetInterval(40);
    timer.SetOnTimer([&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        ++ticks;
    });
    EXPECT_TRUE(timer.Running());
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }, 2000));

    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Running());
    const int stopped = ticks;
    PumpFor(200);
    EXPECT_EQ(ticks, stopped);

    timer.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return ticks > stopped; }, 2000));
}

TEST(Timer, RunsOnlyWithAnIntervalAHandlerAndAfterLoading) {
    TTimer timer(nullptr);
    EXPECT_FALSE(timer.Running()) << "no handler";
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_TRUE(timer.Enabled());
    timer.SetOnTimer([](TObject*) {});
    EXPECT_TRUE(timer.Running());
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running()) << "interval 0";
    timer.SetInterval(100);
    EXPECT_TRUE(timer.Running());
    timer.SetOnTimer(nullptr);
    EXPECT_FALSE(timer.Running()) << "handler removed";

    TTimer loading(nullptr);
    loading.SetLoading(true);
    loading.SetOnTimer([](TObject*) {});
    EXPECT_FALSE(loading.Running()) << "while loading";
    loading.SetLoading(false);
    loading.Loaded();
    EXPECT_TRUE(loading.Running());
}

TEST(Timer, AnExceptionInOnTimerGoesToTheApplicationAndTheTimerGoesOn) {
    auto saved = Application->OnException;
    std::vector<std::string> errors;
    Application->OnException = [&](TObject* sender, const std::exception& e) {
        EXPECT_TRUE(sender && sender->Is<TTimer>());
        errors.push_back(e.what());
    };
    {
        TTimer timer(nullptr);
        timer.SetInterval(20);
        timer.SetOnTimer([](TObject*) { throw Exception("tick failed"); });
        EXPECT_TRUE(PumpUntil([&] { return errors.size() >= 2; }, 2000));
    }
    Application->OnException = saved;
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors.front(), "tick failed");
}

TEST(Timer, AHandlerMayFreeItsOwnTimer) {
    auto timer = std::make_unique<TTimer>(nullptr);
    int ticks = 0;
    timer->SetInterval(20);
    timer->SetOnTimer([&](TObject*) {
        ++ticks;
        timer.reset();
    });
    EXPECT_TRUE(PumpUntil([&] { return timer == nullptr; }, 2000));
    PumpFor(100);
    EXPECT_EQ(ticks, 1);
}

// ---------------------------------------------------------------- resources

TEST(StdControlsResources, NoGdiObjectLeaksAcrossManyFormsOfControls) {
    const auto round = [] {
        TForm form(nullptr);
        form.SetBounds(0, 0, 300, 200);
        const auto add = [&](auto* control) {
            control->SetParent(&form);
            return control;
        };
        add(TComponent::Create<TLabel>(&form))->SetCaption(L"label");
        add(TComponent::Create<TBevel>(&form))->SetShape(TBevelShape::bsFrame);
        add(TComponent::Create<TButton>(&form))->SetDefault(true);
        auto* memo = add(TComponent::Create<TMemo>(&form));
        memo->SetColor(clInfoBk);
        memo->Font()->SetStyle(fsBold);
        memo->Lines()->Add(L"line");
        add(TComponent::Create<TStatusBar>(&form))->SetSimpleText(L"status");
        add(TComponent::Create<TProgressBar>(&form))->SetPosition(40);
        Snapshot shot(form);
        memo->SetCtl3D(false);  // a new window
        Snapshot again(form);
    };
    round();  // the first round makes what is made once per process
    const long before = LiveGdiObjects();
    for (int i = 0; i < 100; ++i) round();
    EXPECT_EQ(LiveGdiObjects(), before);
}

// ---------------------------------------------------------------- stored layouts

TEST_F(StdControls, TheTellAFriendDialogFromItsLayoutCopiesTheAddressAndClosesWithEsc) {
    ReadLayoutText(*form, R"(object FTell: TForm
  BorderStyle = bsDialog
  Caption = '☆告诉我的好友'
  ClientHeight = 227
  ClientWidth = 650
  object Label1: TLabel
    Left = 16
    Top = 16
    Width = 633
    Height = 13
    AutoSize = False
    Caption = '亲爱的用户，您好。如果您在使用后喜欢本软件，请在QQ，MSN或Email中把她告诉、推荐给您有朋友吧。'
  end
  object Memo1: TMemo
    Left = 16
    Top = 96
    Width = 561
    Height = 49
    Color = clInfoBk
    Ctl3D = False
    Font.Color = clRed
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    Lines.Strings = (
      'http://example.com/quellory')
    ReadOnly = True
    TabOrder = 1
  end
  object BCopy: TButton
    Left = 592
    Top = 96
    Width = 49
    Height = 49
    Caption = '复制'
    TabOrder = 2
  end
  object Bevel1: TBevel
    Left = 0
    Top = 176
    Width = 649
    Height = 9
    Shape = bsTopLine
  end
  object Bclose: TButton
    Left = 568
    Top = 192
    Width = 75
    Height = 25
    Cancel = True
    Caption = '关闭'
    TabOrder = 0
  end
end
)");
    auto* label = As<TLabel>(form->FindComponent(L"Label1"));
    auto* memo = As<TMemo>(form->FindComponent(L"Memo1"));
    auto* copy = As<TButton>(form->FindComponent(L"BCopy"));
    auto* close = As<TButton>(form->FindComponent(L"Bclose"));
    ASSERT_TRUE(label && memo && copy && close);
    EXPECT_EQ(As<TBevel>(form->FindComponent(L"Bevel1"))->Shape(), TBevelShape::bsTopLine);
    EXPECT_EQ(label->Width(), 633) << "a fixed-size label";
    EXPECT_EQ(label->Height(), 13);
    EXPECT_EQ(memo->Color(), clInfoBk);
    EXPECT_EQ(memo->Font()->Style(), static_cast<std::uint32_t>(fsBold));
    EXPECT_EQ(memo->TabOrder(), 1);
    EXPECT_EQ(close->TabOrder(), 0);

    copy->OnClick = [&](TObject*) {
        memo->SetFocus();
        memo->SelectAll();
        memo->CopyToClipboard();
    };
    int closes = 0;
    close->OnClick = [&](TObject*) { ++closes; };
    PutOnClipboard(L"old");
    ShowWithFocus(close);
    SendMessageW(copy->Handle(), BM_CLICK, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(ClipboardText(), L"http://example.com/quellory");
    EXPECT_EQ(memo->SelLength(), static_cast<int>(memo->Text().size()));
    EXPECT_EQ(GetFocus(), memo->Handle());
    PressKey(VK_ESCAPE);
    EXPECT_EQ(closes, 1);
}

TEST_F(StdControls, TheMainWindowsControlsFromItsLayout) {
    ReadLayoutText(*form, R"(object Main: TForm
  ClientHeight = 51
  ClientWidth = 307
  object ProgressBar: TProgressBar
    Left = 9
    Top = 5
    Width = 292
    Height = 15
    Max = 100
    Smooth = True
    Visible = False
    TabOrder = 0
  end
  object BStart: TButton
    Left = 6
    Top = 4
    Width = 87
    Height = 22
    Caption = '开始(F5)'
    Default = True
    TabOrder = 1
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 32
    Width = 307
    Height = 19
    Panels = <
      item
        Text = 'unused'
        Width = 50
      end>
    SimplePanel = True
    SimpleText = '用你的声音进行文字聊天，就用《Quellory》。  '
  end
  object Tick: TTimer
    Interval = 250
  end
end
)");
    auto* progress = As<TProgressBar>(form->FindComponent(L"ProgressBar"));
    auto* start = As<TButton>(form->FindComponent(L"BStart"));
    auto* status = As<TStatusBar>(form->FindComponent(L"StatusBar1"));
    auto* tick = As<TTimer>(form->FindComponent(L"Tick"));
    ASSERT_TRUE(progress && start && status && tick);
    EXPECT_EQ(tick->Interval(), 250u);
    EXPECT_FALSE(tick->Running()) << "no handler";
    form->Show();
    EXPECT_FALSE(IsWindowVisible(progress->Handle()));
    EXPECT_TRUE(StyleOf(progress->Handle()) & PBS_SMOOTH);
    EXPECT_EQ(StyleOf(start->Handle()) & 0xF, BS_DEFPUSHBUTTON);
    EXPECT_TRUE(start->Active());
    ASSERT_EQ(status->Panels()->Count(), 1);
    EXPECT_EQ(status->Panels()->Items(0)->Text(), L"unused");
    wchar_t text[128] = {};
    SendMessageW(status->Handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"用你的声音进行文字聊天，就用《Quellory》。  ");
    EXPECT_EQ(status->Top() + status->Height(), form->ClientHeight());
}

}  // namespace
