// Skinned buttons, check boxes and radio buttons on a form skinned with the
// shipped skin: the screen is compared with the skin's own frames, and the
// buttons are driven by real input.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "CaptionTestSupport.h"
#include "ShippedSkinSupport.h"
#include "classlib/BitBtn.h"
#include "classlib/Button.h"
#include "classlib/ButtonLayout.h"
#include "classlib/CheckBox.h"
#include "classlib/RadioButton.h"
#include "classlib/SpeedButton.h"
#include "classlib/Forms.h"
#include "classlib/LayoutReader.h"
#include "skin/SkinMessages.h"
#include "skin/controls/SkinBitButton.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinMP.h"
#include "skin/controls/SkinMenuButton.h"
#include "skin/controls/WMediaPlayer.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinRadioButton.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/data/SkinElements.h"

using namespace caption_test;

namespace {

// The pixels of a window (its whole rectangle) as the screen shows them.
std::vector<COLORREF> WindowPixels(HWND wnd, const RECT& part) {
    WindowDC dc(wnd, true);
    std::vector<COLORREF> pixels;
    for (int y = part.top; y < part.bottom; ++y)
        for (int x = part.left; x < part.right; ++x) pixels.push_back(GetPixel(dc.get(), x, y));
    return pixels;
}

// Compares part (in frame coordinates) of frame `frame` of a strip with the
// window's client pixels at `at`, skipping the strip's transparent pixels.
::testing::AssertionResult ShowsFrameAt(HWND wnd, bool wholeWindow, POINT at, TBitmap& strip, int frameCount,
                                        int frame, const RECT& part) {
    const int fw = strip.Width() / frameCount;
    HDC source = strip.Canvas()->Handle();
    WindowDC screen(wnd, wholeWindow);
    int compared = 0;
    for (int y = part.top; y < part.bottom; ++y)
        for (int x = part.left; x < part.right; ++x) {
            const COLORREF want = GetPixel(source, (frame - 1) * fw + x, y);
            if (want == RGB(255, 0, 255)) continue;
            const COLORREF got = GetPixel(screen.get(), at.x + x, at.y + y);
            if (got != want)
                return ::testing::AssertionFailure() << "frame " << frame << " at (" << at.x + x << "," << at.y + y
                                                     << "): screen " << std::hex << got << ", skin " << want;
            ++compared;
        }
    if (compared == 0) return ::testing::AssertionFailure() << "nothing to compare";
    return ::testing::AssertionSuccess();
}

// The window's four corners (each the size of the face's margins) against
// the same corners of a face frame.
::testing::AssertionResult CornersShowFrame(HWND wnd, TDataSkinObject& faces, int frameCount, int frame) {
    RECT w{};
    GetWindowRect(wnd, &w);
    const int width = w.right - w.left, height = w.bottom - w.top;
    const int fw = faces.Bitmap.Width() / frameCount, fh = faces.Bitmap.Height();
    const int mw = faces.Margins.left, mh = faces.Margins.top;
    for (int corner = 0; corner < 4; ++corner) {
        const RECT part{corner & 1 ? fw - mw : 0, corner & 2 ? fh - mh : 0, corner & 1 ? fw : mw, corner & 2 ? fh : mh};
        const POINT at{corner & 1 ? width - fw : 0, corner & 2 ? height - fh : 0};
        if (auto r = ShowsFrameAt(wnd, true, at, faces.Bitmap, frameCount, frame, part); !r)
            return r << " (corner " << corner << ")";
    }
    return ::testing::AssertionSuccess();
}

POINT ScreenCentre(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A form with two push buttons, skinned through the manager as the program's forms are.
struct ButtonForm {
    SkinHost host;
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TButton* button;
    TButton* other;
    int clicks = 0;

    ButtonForm() {
        form->SetBounds(200, 150, 320, 220);
        button = AddButton(L"Go", 20);
        other = AddButton(L"Other", 80);
        button->OnClick = [this](TObject*) { ++clicks; };
        form->Show();
        SetForegroundWindow(form->Handle());
        TSkinManage::Instance()->SkinWindow(form->Handle());
        PumpUntil([&] { return Painter() != nullptr; });
        other->SetFocus();
        MoveMouse({5, 5});
        PumpFor(200);
    }
    TButton* AddButton(const wchar_t* caption, int top) {
        auto* b = TComponent::Create<TButton>(form.get());
        b->SetParent(form.get());
        b->SetBounds(20, top, 120, 40);
        b->SetCaption(caption);
        return b;
    }
    TSkinButton* Painter() const { return PainterOf<TSkinButton>(button); }
    TDataSkinButton& Faces() const { return *host.Skin->Buttons; }
    ::testing::AssertionResult Shows(int frame) {
        return CornersShowFrame(button->Handle(), Faces(), Faces().Frame, frame);
    }
};

}  // namespace

TEST(SkinButton, FaceCornersAreTheSkinFrameOfEachState) {
    ButtonForm f;
    ASSERT_NE(f.Painter(), nullptr);
    ASSERT_GE(f.Faces().Frame, 5);
    struct Row {
        const char* state;
        std::uint8_t mouse;
        bool focused, enabled;
        int frame;
    };
    const Row rows[] = {
        {"normal", 0, false, true, bfNormal},
        {"hot", TSkinControl::kMouseHot, false, true, bfHot},
        {"pressed", TSkinControl::kMousePressed, false, true, bfPressed},
        {"pressed and hot", TSkinControl::kMouseHot | TSkinControl::kMousePressed, false, true, bfPressed},
        {"focused", 0, true, true, bfFocused},
        {"hot and focused", TSkinControl::kMouseHot, true, true, bfHot},
        {"disabled", 0, false, false, bfDisabled},
        {"disabled and hot", TSkinControl::kMouseHot, false, false, bfDisabled},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        f.button->SetEnabled(row.enabled);
        (row.focused ? f.button : f.other)->SetFocus();
        f.Painter()->MouseState = row.mouse;
        f.Painter()->Repaint();
        PumpFor(30);
        EXPECT_TRUE(f.Shows(row.frame));
    }
    f.button->SetEnabled(true);

    // Painting makes and frees its GDI objects (or keeps the same ones).
    const long before = LiveGdiObjects();
    for (int i = 0; i < 200; ++i) {
        f.Painter()->MouseState = static_cast<std::uint8_t>(i % 4);
        RedrawWindow(f.button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    EXPECT_LE(LiveGdiObjects(), before + 2);
}

TEST(SkinButton, RealMouseAndSpaceClickOnceAndShowEachFace) {
    ButtonForm f;
    ASSERT_NE(f.Painter(), nullptr);
    MoveMouse(ScreenCentre(f.button->Handle()));
    PumpFor(150);
    EXPECT_TRUE(f.Shows(bfHot));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    PumpFor(150);
    EXPECT_TRUE(f.Shows(bfPressed));
    EXPECT_EQ(GetFocus(), f.button->Handle());
    EXPECT_EQ(f.clicks, 0);
    MouseButton(MOUSEEVENTF_LEFTUP);
    PumpFor(150);
    EXPECT_EQ(f.clicks, 1);
    EXPECT_TRUE(f.Shows(bfHot));

    // A release the painter did not see pressed is no click.
    SendMessageW(f.button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    PumpFor(50);
    EXPECT_EQ(f.clicks, 1);

    MoveMouse({5, 5});
    EXPECT_TRUE(PumpUntil([&] { return f.Shows(bfFocused); }, 2000)) << f.Shows(bfFocused);
    ASSERT_EQ(GetFocus(), f.button->Handle());
    Key(VK_SPACE, false);
    EXPECT_TRUE(PumpUntil([&] { return f.Shows(bfPressed); }, 1000)) << f.Shows(bfPressed);
    Key(VK_SPACE, true);
    PumpFor(150);
    EXPECT_EQ(f.clicks, 2);
    EXPECT_TRUE(f.Shows(bfFocused));
}

// A Win32 button (a message box's, say) has no control to click: the
// painter posts its command to the parent, once.
TEST(SkinButton, BareButtonClickedByMouseSendsItsCommandOnce) {
    SkinHost host;
    HWND wnd = host.MakeWindow();
    HWND button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 100, 30, wnd,
                                  reinterpret_cast<HMENU>(IDOK), nullptr, nullptr);
    SkinHost::Form(wnd)->SkinChildWindow(button);
    ASSERT_EQ(SendMessageW(button, SKM_ISSKINNED, 0, 0), 1);
    TDataSkinButton& faces = *host.Skin->Buttons;
    InvalidateRect(button, nullptr, TRUE);
    PumpFor(50);
    EXPECT_TRUE(CornersShowFrame(button, faces, faces.Frame, bfNormal));
    Click(ScreenCentre(button));
    MoveMouse({5, 5});
    PumpUntil([] { return !Log().commands.empty(); }, 2000);
    PumpFor(100);
    EXPECT_EQ(Log().commands, std::vector<UINT>{IDOK});
    DestroyWindow(wnd);
}

TEST(SkinButton, SwitchedOffByMessageTheSystemPaintsAndOnAgainTheSkin) {
    ButtonForm f;
    ASSERT_NE(f.Painter(), nullptr);
    HWND wnd = f.button->Handle();
    EXPECT_TRUE(f.Shows(bfNormal));
    SendMessageW(wnd, SKM_ENABLESKIN, 0, 0);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_FALSE(f.Shows(bfNormal));
    SendMessageW(wnd, SKM_ENABLESKIN, 1, 0);
    EXPECT_TRUE(f.Shows(bfNormal));
}

// A skin that cannot show every face of a button (no Buttons element, or a
// strip of fewer than five frames) leaves the button exactly as the system
// draws it, rather than blank or cut from outside the strip.
TEST(SkinButton, SkinWithoutEveryFaceLeavesTheSystemLook) {
    ButtonForm f;
    ASSERT_NE(f.Painter(), nullptr);
    HWND wnd = f.button->Handle();
    RECT w{};
    GetWindowRect(wnd, &w);
    const RECT whole{0, 0, w.right - w.left, w.bottom - w.top};
    SendMessageW(wnd, SKM_ENABLESKIN, 0, 0);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const std::vector<COLORREF> system = WindowPixels(wnd, whole);
    SendMessageW(wnd, SKM_ENABLESKIN, 1, 0);
    ASSERT_NE(WindowPixels(wnd, whole), system);

    const int frames = f.Faces().Frame;
    f.Faces().Frame = 3;
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(WindowPixels(wnd, whole), system);
    f.Faces().Frame = frames;

    std::unique_ptr<TDataSkinButton> faces = std::move(f.host.Skin->Buttons);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(WindowPixels(wnd, whole), system);
    MoveMouse(ScreenCentre(wnd));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    PumpFor(150);
    EXPECT_EQ(f.clicks, 1);
    f.host.Skin->Buttons = std::move(faces);
}

namespace {

// A check box that allows grayed and a group of three radio buttons.
struct BoxForm {
    SkinHost host;
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TCheckBox* check;
    std::vector<TRadioButton*> radios;

    BoxForm() {
        form->SetBounds(200, 150, 320, 240);
        check = Add<TCheckBox>(L"Check", 16);
        check->SetAllowGrayed(true);
        for (int i = 0; i < 3; ++i) radios.push_back(Add<TRadioButton>(L"Radio", 60 + 30 * i));
        form->Show();
        SetForegroundWindow(form->Handle());
        TSkinManage::Instance()->SkinWindow(form->Handle());
        PumpUntil([&] { return PainterOf<TSkinCheckBox>(check) && PainterOf<TSkinRadioButton>(radios[2]); });
        PumpFor(100);
    }
    template <class T> T* Add(const wchar_t* caption, int top) {
        auto* c = TComponent::Create<T>(form.get());
        c->SetParent(form.get());
        c->SetBounds(20, top, 150, 24);
        c->SetCaption(caption);
        return c;
    }
    TDataSkinButton& Faces() const { return *host.Skin->Buttons; }
    // The box at the left edge, centred vertically.
    ::testing::AssertionResult Shows(TWinControl* c, TBitmap& strip, int frames, int frame) {
        const int fw = strip.Width() / frames, fh = strip.Height();
        return ShowsFrameAt(c->Handle(), false, {0, (c->Height() - fh) / 2}, strip, frames, frame, {0, 0, fw, fh});
    }
    ::testing::AssertionResult CheckShows(int frame) {
        return Shows(check, Faces().CheckBitmap, Faces().CheckFrames, frame);
    }
    ::testing::AssertionResult RadioShows(int i, int frame) {
        return Shows(radios[static_cast<std::size_t>(i)], Faces().RadioBitmap, Faces().RadioFrames, frame);
    }
};

}  // namespace

TEST(SkinCheckBox, FrameArithmeticOfTwelveAndEightFrameStrips) {
    struct Row {
        const char* name;
        int index;
        bool disabled, indeterminate;
        int frames, frame;
    };
    const Row rows[] = {
        {"unchecked", 1, false, false, 12, 1},        {"checked", 2, false, false, 12, 5},
        {"unchecked disabled", 1, true, false, 12, 4}, {"checked disabled", 2, true, false, 12, 8},
        {"indeterminate", 4, false, true, 12, 9},      {"indeterminate disabled", 4, true, true, 12, 12},
        {"checked, four frames", 2, false, false, 4, 2}, {"checked disabled, four frames", 2, true, false, 4, 4},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CheckBoxFrame(row.index, row.disabled, row.indeterminate, row.frames), row.frame) << row.name;
    EXPECT_EQ(RadioButtonFrame(2, false, 8), 5);
    EXPECT_EQ(RadioButtonFrame(1, true, 8), 4);
    EXPECT_EQ(RadioButtonFrame(2, true, 8), 8);
}

TEST(SkinCheckBox, ClickedThroughItsCycleShowsTheSkinFrameOfEachState) {
    BoxForm f;
    ASSERT_EQ(f.Faces().CheckFrames, 12);
    const POINT box = [&] {
        RECT r{};
        GetWindowRect(f.check->Handle(), &r);
        return POINT{r.left + 6, (r.top + r.bottom) / 2};
    }();
    struct Step {
        TCheckBoxState state;
        int frame, disabledFrame;
    };
    const Step cycle[] = {{TCheckBoxState::cbGrayed, 9, 12},
                          {TCheckBoxState::cbChecked, 5, 8},
                          {TCheckBoxState::cbUnchecked, 1, 4}};
    EXPECT_TRUE(f.CheckShows(1));
    for (const Step& step : cycle) {
        Click(box);
        ASSERT_TRUE(PumpUntil([&] { return f.check->State() == step.state; }, 2000));
        MoveMouse({5, 5});
        EXPECT_TRUE(PumpUntil([&] { return f.CheckShows(step.frame); }, 1000)) << f.CheckShows(step.frame);
        f.check->SetEnabled(false);
        PumpFor(50);
        EXPECT_TRUE(f.CheckShows(step.disabledFrame));
        f.check->SetEnabled(true);
        PumpFor(50);
    }
}

TEST(SkinRadioButton, ClickedOneAtATimeTheGroupKeepsExactlyOneChecked) {
    BoxForm f;
    ASSERT_EQ(f.Faces().RadioFrames, 8);
    for (int pick : {1, 0, 2, 2}) {
        RECT r{};
        GetWindowRect(f.radios[static_cast<std::size_t>(pick)]->Handle(), &r);
        Click({r.left + 6, (r.top + r.bottom) / 2});
        MoveMouse({5, 5});
        ASSERT_TRUE(PumpUntil([&] { return f.radios[static_cast<std::size_t>(pick)]->Checked(); }, 2000));
        PumpFor(100);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(f.radios[static_cast<std::size_t>(i)]->Checked(), i == pick) << i;
            EXPECT_EQ(SendMessageW(f.radios[static_cast<std::size_t>(i)]->Handle(), BM_GETCHECK, 0, 0),
                      i == pick ? BST_CHECKED : BST_UNCHECKED);
            EXPECT_TRUE(f.RadioShows(i, i == pick ? 5 : 1)) << i;
        }
    }
}

TEST(BitButtonLayout, GlyphAndTextPlacesFollowMarginSpacingAndLayout) {
    using L = TButtonLayout;
    struct Row {
        const char* name;
        SIZE client, glyph, text;
        L layout;
        int margin, spacing;
        bool centred;
        POINT glyphAt, textAt;
    };
    const SIZE wide{100, 30}, tall{80, 60}, glyph{16, 16}, text{40, 13}, shortText{30, 13};
    const Row rows[] = {
        {"both -1: thirds of the free room", wide, glyph, text, L::blGlyphLeft, -1, -1, false, {14, 7}, {44, 9}},
        {"margin -1: the pair centred", wide, glyph, text, L::blGlyphLeft, -1, 4, false, {20, 7}, {40, 9}},
        {"spacing -1: half what is left", wide, glyph, text, L::blGlyphLeft, 2, -1, false, {2, 7}, {39, 9}},
        {"right: from the right edge", wide, glyph, text, L::blGlyphRight, 2, 4, false, {82, 7}, {38, 9}},
        {"top: along y, centred across", tall, glyph, shortText, L::blGlyphTop, -1, 4, false, {32, 14}, {25, 34}},
        {"bottom: from the bottom edge", tall, glyph, shortText, L::blGlyphBottom, 3, 2, false, {32, 41}, {25, 26}},
        {"no text: no spacing", wide, glyph, {0, 0}, L::blGlyphLeft, -1, 4, false, {42, 7}, {58, 15}},
        {"centred wins over a margin", wide, glyph, text, L::blGlyphLeft, 2, 4, true, {20, 7}, {40, 9}},
        {"no room: division rounds toward zero", {20, 30}, glyph, text, L::blGlyphLeft, -1, -1, false, {-12, 7},
         {-8, 9}},
    };
    for (const Row& row : rows) {
        const TGlyphAndText at =
            LayoutGlyphAndText(row.client, row.glyph, row.text, row.layout, row.margin, row.spacing, row.centred);
        EXPECT_EQ(at.Glyph.x, row.glyphAt.x) << row.name;
        EXPECT_EQ(at.Glyph.y, row.glyphAt.y) << row.name;
        EXPECT_EQ(at.Text.x, row.textAt.x) << row.name;
        EXPECT_EQ(at.Text.y, row.textAt.y) << row.name;
    }
}

// The bit and speed buttons: the face from the skin, the glyph where the
// layout puts it, its transparent colour leaving the face visible.
TEST(SkinBitButton, FaceFromTheSkinAndGlyphWhereTheLayoutPutsIt) {
    SkinHost host;
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(200, 150, 320, 200);
    auto* bit = TComponent::Create<TBitBtn>(form.get());
    auto* speed = TComponent::Create<TSpeedButton>(form.get());
    const COLORREF red = RGB(200, 0, 0);
    for (TBitmap* glyph : {bit->Glyph(), speed->Glyph()}) {
        glyph->SetPixelFormat(TPixelFormat::pf24bit);
        glyph->SetSize(16, 16);
        UniqueBrush brush(CreateSolidBrush(red));
        const RECT all{0, 0, 16, 16};
        FillRect(glyph->Canvas()->Handle(), &all, brush.get());
        ::SetPixel(glyph->Canvas()->Handle(), 0, 15, RGB(0, 255, 0));  // the automatic transparent colour
    }
    bit->SetParent(form.get());
    bit->SetBounds(20, 20, 120, 40);
    bit->SetCaption(L"Bit");
    bit->SetMargin(10);
    speed->SetParent(form.get());
    speed->SetBounds(20, 80, 120, 40);
    form->Show();
    TSkinManage::Instance()->SkinWindow(form->Handle());
    PumpUntil([&] { return PainterOf<TSkinBitButton>(bit) && PainterOf<TSkinSpeedButton>(speed); });
    PumpFor(200);
    ASSERT_NE(PainterOf<TSkinBitButton>(bit), nullptr);
    ASSERT_NE(PainterOf<TSkinSpeedButton>(speed), nullptr);
    TDataSkinButton& faces = *host.Skin->Buttons;
    EXPECT_TRUE(CornersShowFrame(bit->Handle(), faces, faces.Frame, bfNormal));
    {
        WindowDC dc(bit->Handle());
        EXPECT_EQ(GetPixel(dc.get(), 10 + 8, 12 + 8), red);   // margin 10, centred across
        EXPECT_NE(GetPixel(dc.get(), 10, 12 + 15), RGB(0, 255, 0));
    }
    // The speed button has no window: its face is on the form.
    const RECT part{0, 0, faces.Margins.left, faces.Margins.top};
    EXPECT_TRUE(ShowsFrameAt(form->Handle(), false, {20, 80}, faces.Bitmap, faces.Frame, bfNormal, part));
    {
        WindowDC dc(form->Handle());
        EXPECT_EQ(GetPixel(dc.get(), 20 + 60, 80 + 20), red);  // no caption: the glyph centred
    }
}

namespace {

// What skinning must give back: the look and the state a control had.
struct ControlSnapshot {
    TColor colour;
    std::wstring font;
    LRESULT fontHandle;
    LONG_PTR style, exStyle;
    LRESULT check;
    std::vector<COLORREF> pixels;
    bool operator==(const ControlSnapshot&) const = default;
};

ControlSnapshot Snapshot(TWinControl* c) {
    HWND wnd = c->Handle();
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    RECT w{};
    GetWindowRect(wnd, &w);
    return {c->Color(),
            c->Font()->Name() + L"/" + std::to_wstring(c->Font()->Size()),
            SendMessageW(wnd, WM_GETFONT, 0, 0),
            GetWindowLongPtrW(wnd, GWL_STYLE),
            GetWindowLongPtrW(wnd, GWL_EXSTYLE),
            SendMessageW(wnd, BM_GETCHECK, 0, 0),
            WindowPixels(wnd, {0, 0, w.right - w.left, w.bottom - w.top})};
}

}  // namespace

TEST(SkinButton, SkinningOffAndOnGivesEachControlBackAsItWas) {
    BoxForm f;
    // Unskin what the fixture skinned, so that "before" is the plain look.
    SkinHost::Form(f.form->Handle())->Detach();
    PumpFor(100);
    auto* button = f.Add<TButton>(L"Button", 150);
    f.check->SetState(TCheckBoxState::cbGrayed);
    f.radios[1]->SetChecked(true);
    const std::vector<TWinControl*> controls = {button, f.check, f.radios[0], f.radios[1]};
    std::vector<ControlSnapshot> before;
    for (TWinControl* c : controls) before.push_back(Snapshot(c));

    TSkinManage::Instance()->RemoveForm(f.form->Handle());
    TSkinManage::Instance()->SkinWindow(f.form->Handle());
    ASSERT_TRUE(PumpUntil([&] { return PainterOf<TSkinButton>(button) && PainterOf<TSkinCheckBox>(f.check); }));
    PumpFor(100);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        EXPECT_NE(Snapshot(controls[i]).pixels, before[i].pixels) << i << " is not skinned";
        // Switched off by message: the plain look, the same state.
        SendMessageW(controls[i]->Handle(), SKM_ENABLESKIN, 0, 0);
        EXPECT_TRUE(Snapshot(controls[i]) == before[i]) << i << " switched off";
        SendMessageW(controls[i]->Handle(), SKM_ENABLESKIN, 1, 0);
    }
    SkinHost::Form(f.form->Handle())->Detach();
    PumpFor(100);
    for (std::size_t i = 0; i < controls.size(); ++i)
        EXPECT_TRUE(Snapshot(controls[i]) == before[i]) << i << " unskinned";
    EXPECT_EQ(f.check->State(), TCheckBoxState::cbGrayed);
    EXPECT_TRUE(f.radios[1]->Checked());
}

namespace {

// A media player as discovery knows it by class name: its published button
// sets, and the clicks it gets.
class TMediaPlayer : public TCustomControl {
    DECLARE_CLASS_INFO()
public:
    using TCustomControl::TCustomControl;
    std::uint32_t Visible = 0, EnabledSet = 0;
    std::vector<UINT> mouse;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONUP) mouse.push_back(m.Msg);
        TCustomControl::WndProc(m);
    }
};

const TClassInfo& TMediaPlayer::StaticClass() {
    static const std::vector<std::wstring_view> names = {L"btPlay", L"btPause", L"btStop",   L"btNext", L"btPrev",
                                                         L"btStep", L"btBack",  L"btRecord", L"btEject"};
    static const TClassInfo info(
        L"TMediaPlayer", &TCustomControl::StaticClass(),
        {props::SetOf(
             L"VisibleButtons", [](const TObject& o) { return static_cast<const TMediaPlayer&>(o).Visible; },
             [](TObject& o, std::uint32_t v) { static_cast<TMediaPlayer&>(o).Visible = v; }, names),
         props::SetOf(
             L"EnabledButtons", [](const TObject& o) { return static_cast<const TMediaPlayer&>(o).EnabledSet; },
             [](TObject& o, std::uint32_t v) { static_cast<TMediaPlayer&>(o).EnabledSet = v; }, names)});
    return info;
}

}  // namespace

TEST(SkinMP, PlayAndStopShareTheBarInTwoSlotsAndTheClickReachesThePlayer) {
    SkinHost host;
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(200, 150, 320, 200);
    auto* player = TComponent::Create<TMediaPlayer>(form.get());
    player->Visible = SetBit(static_cast<int>(TMPBtnType::btPlay)) | SetBit(static_cast<int>(TMPBtnType::btStop));
    player->EnabledSet = player->Visible;
    player->SetParent(form.get());
    player->SetBounds(20, 20, 120, 30);
    form->Show();
    TSkinManage::Instance()->SkinWindow(form->Handle());
    PumpUntil([&] { return PainterOf<TSkinMP>(player) != nullptr; });
    PumpFor(200);
    TSkinMP* painter = PainterOf<TSkinMP>(player);
    ASSERT_NE(painter, nullptr);
    ASSERT_NE(painter->Panel, nullptr);
    HWND bar = painter->Panel->Handle();
    EXPECT_EQ(painter->Panel->VisibleButtons(), (std::vector<TMPBtnType>{TMPBtnType::btPlay, TMPBtnType::btStop}));
    TDataSkinButton& faces = *host.Skin->Buttons;
    const int fw = faces.Bitmap.Width() / faces.Frame, fh = faces.Bitmap.Height();
    // Each slot, 60 pixels wide, is a whole face: its left corners at 0 and 60, its right ones at 60 and 120.
    const RECT left{0, 0, faces.Margins.left, faces.Margins.top};
    const RECT right{fw - faces.Margins.right, fh - faces.Margins.bottom, fw, fh};
    for (int slot = 0; slot < 2; ++slot) {
        EXPECT_TRUE(ShowsFrameAt(bar, false, {60 * slot, 0}, faces.Bitmap, faces.Frame, 1, left)) << slot;
        EXPECT_TRUE(ShowsFrameAt(bar, false, {60 * slot + 60 - fw, 30 - fh}, faces.Bitmap, faces.Frame, 1, right))
            << slot;
    }
    {
        // The play glyph (11 x 11, the program's resource) centred in the first slot.
        WindowDC dc(bar);
        EXPECT_EQ(GetPixel(dc.get(), (60 - 11) / 2 + 3, (30 - 11) / 2 + 5), RGB(0, 0, 0));
    }
    RECT r{};
    GetWindowRect(bar, &r);
    Click({r.left + 90, r.top + 15});
    MoveMouse({5, 5});
    PumpUntil([&] { return player->mouse.size() >= 2; }, 2000);
    EXPECT_EQ(player->mouse, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST(ButtonClasses, StoredLayoutsSetTheirPublishedProperties) {
    auto form = std::make_unique<TForm>(nullptr);
    ReadLayoutText(*form, R"(object Form1: TForm
  object Check1: TCheckBox
    AllowGrayed = True
    State = cbGrayed
    Alignment = taLeftJustify
    WordWrap = True
  end
  object Radio1: TRadioButton
    Checked = True
  end
  object Bit1: TBitBtn
    Kind = bkOK
    Layout = blGlyphTop
    NumGlyphs = 2
    Spacing = 6
    Margin = 3
  end
  object Speed1: TSpeedButton
    GroupIndex = 1
    AllowAllUp = True
    Down = True
    Flat = True
  end
end
)");
    auto* check = As<TCheckBox>(form->FindComponent(L"Check1"));
    auto* radio = As<TRadioButton>(form->FindComponent(L"Radio1"));
    auto* bit = As<TBitBtn>(form->FindComponent(L"Bit1"));
    auto* speed = As<TSpeedButton>(form->FindComponent(L"Speed1"));
    ASSERT_TRUE(check && radio && bit && speed);
    EXPECT_TRUE(check->Is<TCustomCheckBox>());
    EXPECT_EQ(check->State(), TCheckBoxState::cbGrayed);
    EXPECT_EQ(check->Alignment(), TAlignment::taLeftJustify);
    const auto style = GetWindowLongPtrW(check->Handle(), GWL_STYLE);
    EXPECT_EQ(style & (BS_LEFTTEXT | BS_MULTILINE), BS_LEFTTEXT | BS_MULTILINE);
    EXPECT_EQ(SendMessageW(check->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(bit->Caption(), L"OK");
    EXPECT_EQ(bit->ModalResult(), mrOk);
    EXPECT_EQ(bit->Layout(), TButtonLayout::blGlyphTop);
    EXPECT_EQ(bit->NumGlyphs(), 2);
    EXPECT_EQ(bit->Spacing(), 6);
    EXPECT_EQ(bit->Margin(), 3);
    EXPECT_TRUE(speed->Down());
    EXPECT_TRUE(speed->Flat());
    EXPECT_EQ(speed->GetProperty(L"Down").AsText(), L"True");
}

namespace {

// Another vendor's check box, known to discovery by its class name, that
// draws itself from a glyph strip it publishes; its radio button likewise.
class TRzCheckBox : public TCustomControl {
    DECLARE_CLASS_INFO()
public:
    using TCustomControl::TCustomControl;
    TBitmap* CustomGlyphs() const { return glyphs_.get(); }
    bool UseCustomGlyphs() const { return use_; }
    void SetUseCustomGlyphs(bool v) { use_ = v; }

private:
    std::unique_ptr<TBitmap> glyphs_ = std::make_unique<TBitmap>();
    bool use_ = false;
};

const TClassInfo& TRzCheckBox::StaticClass() {
    static const TClassInfo info(
        L"TRzCheckBox", &TCustomControl::StaticClass(),
        {props::Object(L"CustomGlyphs", &TRzCheckBox::CustomGlyphs),
         props::Boolean(L"UseCustomGlyphs", &TRzCheckBox::UseCustomGlyphs, &TRzCheckBox::SetUseCustomGlyphs)});
    return info;
}

class TRzRadioButton : public TRzCheckBox {
    DECLARE_CLASS_INFO()
public:
    using TRzCheckBox::TRzCheckBox;
};

const TClassInfo& TRzRadioButton::StaticClass() {
    static const TClassInfo info(L"TRzRadioButton", &TRzCheckBox::StaticClass(), {});
    return info;
}

}  // namespace

TEST(SkinObjImage, OtherVendorsCheckAndRadioGetTheSkinsFramesAsTheirGlyphStrip) {
    SkinHost host;
    TDataSkinButton& faces = *host.Skin->Buttons;
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(20, 20, 300, 200);
    auto* check = TComponent::Create<TRzCheckBox>(form.get());
    auto* radio = TComponent::Create<TRzRadioButton>(form.get());
    for (TRzCheckBox* c : {check, static_cast<TRzCheckBox*>(radio)}) {
        c->SetParent(form.get());
        c->SetBounds(10, c == check ? 10 : 40, 120, 20);
    }
    form->Show();
    TSkinManage::Instance()->SkinWindow(form->Handle());
    ASSERT_TRUE(PumpUntil([&] { return !check->CustomGlyphs()->Empty() && !radio->CustomGlyphs()->Empty(); }));
    struct Row {
        const char* name;
        TRzCheckBox* control;
        int frames;         // of the strip handed over
        TBitmap& source;    // the skin's own frames
        int sourceFrame;    // the skin's checked frame, the strip's second
        int sourceFrames;
    };
    const Row rows[] = {
        {"check box", check, 9, faces.CheckBitmap, CheckBoxFrame(2, false, false, faces.CheckFrames), faces.CheckFrames},
        {"radio button", radio, 6, faces.RadioBitmap, RadioButtonFrame(2, false, faces.RadioFrames), faces.RadioFrames},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TBitmap& strip = *row.control->CustomGlyphs();
        const int fw = row.source.Width() / row.sourceFrames;
        ASSERT_EQ(strip.Width(), fw * row.frames);
        ASSERT_EQ(strip.Height(), row.source.Height());
        EXPECT_TRUE(row.control->UseCustomGlyphs());
        int wrong = 0;
        for (int y = 0; y < strip.Height(); ++y)
            for (int x = 0; x < fw; ++x)
                wrong += strip.Canvas()->Pixel(fw + x, y) != row.source.Canvas()->Pixel((row.sourceFrame - 1) * fw + x, y);
        EXPECT_EQ(wrong, 0) << "the strip's checked glyph is not the skin's";
    }
}

TEST(SkinMenuButton, TheDropDownArrowSitsInTheRightmostPixelsInTheTextColour) {
    SkinHost host;
    host.Skin->Skin3rd()->Add(L"TButton=menubtn");
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(20, 20, 300, 200);
    auto* button = TComponent::Create<TButton>(form.get());
    button->SetParent(form.get());
    button->SetBounds(20, 20, 120, 40);
    button->SetCaption(L"Menu");
    form->Show();
    TSkinManage::Instance()->SkinWindow(form->Handle());
    ASSERT_TRUE(PumpUntil([&] { return PainterOf<TSkinMenuButton>(button) != nullptr; }));
    PumpFor(100);
    const auto pixel = [&](int x, int y) {
        WindowDC dc(button->Handle(), true);
        return GetPixel(dc.get(), x, y);
    };
    const int w = 120, h = 40;
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    // The triangle's middle and its top edge's ends; above it, the face.
    for (POINT p : {POINT{w - 12, h / 2}, POINT{w - 14, h / 2 - 1}, POINT{w - 10, h / 2 - 1}})
        EXPECT_EQ(pixel(p.x, p.y), text) << p.x << "," << p.y;
    EXPECT_NE(pixel(w - 12, h / 2 - 4), text);
    button->SetEnabled(false);
    PumpFor(100);
    EXPECT_EQ(pixel(w - 12, h / 2), GetSysColor(COLOR_GRAYTEXT)) << "disabled";
}
