// Skinned edits, memos, combo boxes, up-down buttons and date pickers on a
// form skinned with the shipped skin: the screen is compared with the
// skin's own frames, the controls are driven by real input, and what is
// typed lands exactly as in unskinned controls.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "CaptionTestSupport.h"
#include "ShippedSkinSupport.h"
#include "classlib/ComboBox.h"
#include "classlib/PageControl.h"
#include "classlib/DateTimePicker.h"
#include "classlib/Edit.h"
#include "classlib/Forms.h"
#include "classlib/LayoutReader.h"
#include "classlib/StandardClasses.h"
#include "classlib/UpDown.h"
#include "dictation/SendTextToFocusedWindow.h"
#include "skin/SkinMessages.h"
#include "skin/controls/ArrowButton.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinDateTime.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"

using namespace caption_test;

namespace {

// Pixels of the window (whole rectangle from origin) that differ from the
// expected bitmap; its magenta pixels are not compared.
int Mismatches(HWND wnd, POINT origin, HBITMAP expected, SIZE size) {
    WindowDC screen(wnd, true);
    MemoryDC want(screen.get(), expected);
    int wrong = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            const COLORREF w = GetPixel(want.get(), x, y);
            if (w != kMagenta && GetPixel(screen.get(), origin.x + x, origin.y + y) != w) ++wrong;
        }
    return wrong;
}

SIZE WindowSize(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

POINT ScreenPoint(HWND wnd, int x, int y) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return {r.left + x, r.top + y};
}

std::wstring TextOf(HWND wnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(wnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(wnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The middle of a combo's drop-down button, on the screen.
POINT ButtonCentre(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo, &info);
    return ScreenPoint(combo, (info.rcButton.left + info.rcButton.right) / 2, (info.rcButton.top + info.rcButton.bottom) / 2);
}

// The shipped skin with no manager watching: forms are skinned, or left
// plain for comparison, only when a test says so.
struct QuietSkin : SkinHost {
    QuietSkin() { TSkinManage::FreeInstance(); }
};

// A form with one control of each kind; Skin() runs control discovery on it
// as a skinned form does, Unskin() ends the skinning of its controls.
struct EditForm {
    SkinHost& host;
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    std::unique_ptr<TWinSkinForm> skinned;
    TEdit* edit;
    TMemo* memo;
    TComboBox* combo;
    TEdit* spinEdit;
    TUpDown* upDown;
    TDateTimePicker* picker;

    template <class T> T* Add(int left, int top, int width, int height) {
        T* c = TComponent::Create<T>(form.get());
        c->SetParent(form.get());
        c->SetBounds(left, top, width, height);
        return c;
    }

    EditForm(SkinHost& h, int left, bool skin) : host(h) {
        form->SetBounds(left, 120, 420, 260);
        edit = Add<TEdit>(20, 20, 150, 24);
        memo = Add<TMemo>(20, 60, 150, 80);
        combo = Add<TComboBox>(200, 20, 150, 24);
        combo->SetStyle(TComboBoxStyle::csDropDownList);
        for (const wchar_t* item : {L"One", L"Two", L"Three"}) combo->Items()->Add(item);
        combo->SetItemIndex(0);
        spinEdit = Add<TEdit>(200, 60, 80, 24);
        spinEdit->SetTextProp(L"0");
        upDown = Add<TUpDown>(280, 60, 17, 24);
        upDown->SetAssociate(spinEdit);
        picker = Add<TDateTimePicker>(200, 100, 150, 24);
        form->Show();
        SetForegroundWindow(form->Handle());
        if (skin) Skin();
        MoveMouse({5, 5});
        PumpFor(250);
    }
    ~EditForm() {
        if (skinned) Unskin();
    }
    void Skin() {
        skinned = std::make_unique<TWinSkinForm>(form->Handle(), form.get(), *host.Skin);
        skinned->FrameSkinned = true;
        // A memo is the scroll-bar painters' part, border and all.
        skinned->SkinControls();
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpFor(100);
    }
    void Unskin() {
        skinned->DetachControlsOnly();
        skinned.reset();
        PumpFor(100);
    }
    std::vector<HWND> Windows() const {
        return {edit->Handle(), memo->Handle(), combo->Handle(), spinEdit->Handle(), upDown->Handle(), picker->Handle()};
    }
};

// The combo's button as the skin draws it in frame index: that frame of
// ComboButton at its own size (the shipped skin's is no higher than a
// thumb), magenta where the skin leaves the screen alone.
UniqueBitmap ExpectedComboButton(TSkinData& skin, HWND combo, const RECT& button, int index) {
    TDataSkinBorder& element = *skin.ComboButton;
    WindowDC screen(combo, true);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), button.right - button.left, button.bottom - button.top));
    MemoryDC dc(screen.get(), bitmap.get());
    const RECT whole{0, 0, button.right - button.left, button.bottom - button.top};
    UniqueBrush magenta(CreateSolidBrush(kMagenta));
    FillRect(dc.get(), &whole, magenta.get());
    DrawFrameStretched(dc.get(), whole, element.Bitmap, true, element.Frame, index);
    return bitmap;
}

// The up-down's window as the skin draws it with each half in its index.
UniqueBitmap ExpectedUpDown(TSkinData& skin, HWND upDown, int upperIndex, int lowerIndex) {
    TDataSkinBorder& element = *skin.UpDownVert;
    const SIZE size = WindowSize(upDown);
    WindowDC screen(upDown, true);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    MemoryDC dc(screen.get(), bitmap.get());
    const RECT whole{0, 0, size.cx, size.cy};
    UniqueBrush face(CreateSolidBrush(ColorToRGB(skin.ButtonFaceColour)));
    FillRect(dc.get(), &whole, face.get());
    const RECT halves[2] = {{0, 0, size.cx, size.cy / 2}, {0, size.cy / 2, size.cx, size.cy}};
    const int indexes[2] = {upperIndex, lowerIndex + 4};
    for (int i = 0; i < 2; ++i) {
        DrawFrameStretched(dc.get(), halves[i], element.Bitmap, true, 8, indexes[i]);
        DrawFrameCentred(dc.get(), halves[i], element.Bitmap2, true, 8, indexes[i]);
    }
    return bitmap;
}

}  // namespace

TEST(SkinEdit, BordersComboButtonsAndUpDownArrowsAreTheSkinsFrames) {
    QuietSkin host;
    EditForm f(host, 200, true);
    TSkinData& skin = *host.Skin;
    ASSERT_NE(PainterOf<TSkinComBox>(f.combo), nullptr);
    ASSERT_NE(PainterOf<TSkinUpDown>(f.upDown), nullptr);
    ASSERT_EQ(skin.ComboButton->Style, 1);  // the shipped skin's flat button
    const int frameWidth = skin.ComboButton->Bitmap.Width() / skin.ComboButton->Frame;
    HWND combo = f.combo->Handle(), upDown = f.upDown->Handle();

    // The edit border: shadow along the edge, two white lines inside.
    for (HWND wnd : {f.edit->Handle()}) {
        WindowDC dc(wnd, true);
        const SIZE size = WindowSize(wnd);
        EXPECT_EQ(GetPixel(dc.get(), 0, size.cy / 2), ColorToRGB(skin.ButtonShadowColour));
        EXPECT_EQ(GetPixel(dc.get(), size.cx / 2, size.cy - 1), ColorToRGB(skin.ButtonShadowColour));
        EXPECT_EQ(GetPixel(dc.get(), 1, size.cy / 2), RGB(255, 255, 255));
        EXPECT_EQ(GetPixel(dc.get(), size.cx / 2, 2), RGB(255, 255, 255));
    }

    const POINT button = ButtonCentre(combo);
    const SIZE upDownSize = WindowSize(upDown);
    const POINT upper = ScreenPoint(upDown, upDownSize.cx / 2, upDownSize.cy / 4);
    struct Row {
        const char* state;
        std::function<void()> enter, leave;
        int combo, upper, lower;
    };
    const Row rows[] = {
        {"normal", [] {}, [] {}, 1, 1, 1},
        {"hot", [&] { MoveMouse(button); }, [] { MoveMouse({5, 5}); }, 4, 1, 1},
        {"pressed",
         [&] {
             MoveMouse(upper);
             MouseButton(MOUSEEVENTF_LEFTDOWN);
         },
         [&] {
             MouseButton(MOUSEEVENTF_LEFTUP);
             MoveMouse({5, 5});
         },
         1, 2, 1},
        {"disabled",
         [&] {
             f.combo->SetEnabled(false);
             f.upDown->SetEnabled(false);
         },
         [&] {
             f.combo->SetEnabled(true);
             f.upDown->SetEnabled(true);
         },
         3, 3, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        row.enter();
        PumpFor(250);
        // The button sits against the right inner edge, one frame wide.
        const RECT b = PainterOf<TSkinComBox>(f.combo)->ButtonRect;
        EXPECT_EQ(b.right, WindowSize(combo).cx - 2);
        EXPECT_EQ(b.right - b.left, frameWidth);
        EXPECT_EQ(Mismatches(combo, {b.left, b.top}, ExpectedComboButton(skin, combo, b, row.combo).get(),
                             SIZE{b.right - b.left, b.bottom - b.top}),
                  0);
        WindowDC dc(combo, true);
        EXPECT_EQ(GetPixel(dc.get(), 0, WindowSize(combo).cy / 2), ColorToRGB(skin.ButtonShadowColour));
        EXPECT_EQ(Mismatches(upDown, {0, 0}, ExpectedUpDown(skin, upDown, row.upper, row.lower).get(), upDownSize), 0);
        row.leave();
        PumpFor(250);
    }

    // Scroll bars on the left (a right-to-left reading order) put the button
    // against the left inner edge.
    SetWindowLongPtrW(combo, GWL_EXSTYLE, GetWindowLongPtrW(combo, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
    RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    PumpFor(100);
    const RECT b = PainterOf<TSkinComBox>(f.combo)->ButtonRect;
    EXPECT_EQ(b.left, 2);
    EXPECT_EQ(Mismatches(combo, {b.left, b.top}, ExpectedComboButton(skin, combo, b, 1).get(),
                         SIZE{b.right - b.left, b.bottom - b.top}),
              0);
}

TEST(SkinEdit, ComboAndDatePickerOpenFromTheirSkinnedButtons) {
    QuietSkin host;
    EditForm f(host, 200, true);
    HWND combo = f.combo->Handle();
    const POINT button = ButtonCentre(combo);
    Click(button);
    EXPECT_TRUE(PumpUntil([&] { return f.combo->DroppedDown(); }, 2000));
    // Pressed only while the button is held.
    EXPECT_FALSE(PainterOf<TSkinComBox>(f.combo)->MouseState & TSkinControl::kMousePressed);
    Click(button);
    EXPECT_TRUE(PumpUntil([&] { return !f.combo->DroppedDown(); }, 2000));
    EXPECT_EQ(f.combo->ItemIndex(), 0);

    // The date picker's skinned arrow opens the picker's calendar.
    TArrowButton* arrow = PainterOf<TSkinDateTime>(f.picker)->ArrowButton;
    ASSERT_NE(arrow, nullptr);
    HWND picker = f.picker->Handle();
    const auto calendarShown = [&] {
        HWND calendar = reinterpret_cast<HWND>(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
        return calendar && IsWindowVisible(calendar);
    };
    ASSERT_FALSE(calendarShown());
    const POINT middle = ScreenPoint(arrow->Handle(), arrow->Width() / 2, arrow->Height() / 2);
    Click(middle);
    EXPECT_TRUE(PumpUntil(calendarShown, 2000));
    // Closing it is the picker's own business (under Wine an outside click
    // leaves even a plain picker's calendar open); the form takes it along.
}

TEST(SkinEdit, UpDownClicksChangeItsBuddysValue) {
    QuietSkin host;
    EditForm f(host, 200, true);
    HWND upDown = f.upDown->Handle();
    const SIZE size = WindowSize(upDown);
    const POINT upper = ScreenPoint(upDown, size.cx / 2, size.cy / 4);
    const POINT lower = ScreenPoint(upDown, size.cx / 2, size.cy * 3 / 4);
    for (POINT p : {upper, upper, upper, lower}) {
        Click(p);
        PumpFor(150);
    }
    EXPECT_EQ(f.upDown->Position(), 2);
    EXPECT_EQ(TextOf(f.spinEdit->Handle()), L"2");
}

TEST(SkinEdit, TextTypedPastedOrDictatedIsWhatAnUnskinnedEditHolds) {
    QuietSkin host;
    EditForm plain(host, 20, false);
    EditForm skinned(host, 460, true);
    ASSERT_NE(PainterOf<TSkinEdit>(skinned.edit), nullptr);
    ASSERT_NE(PainterOf<TSkinControl>(skinned.memo), nullptr);
    ASSERT_EQ(PainterOf<TSkinControl>(plain.edit), nullptr);
    // The clipboard holds a line to paste.
    const std::wstring pasted = L"粘贴 paste";
    plain.spinEdit->SetTextProp(pasted);
    SendMessageW(plain.spinEdit->Handle(), EM_SETSEL, 0, -1);
    SendMessageW(plain.spinEdit->Handle(), WM_COPY, 0, 0);
    // 你好，世界 as the recogniser's phrase reaches SendTextToFocusedWindow: code page 936.
    ASSERT_EQ(GetACP(), 936u);
    const std::string dictated = "\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7";

    std::vector<std::wstring> texts;
    for (EditForm* f : {&plain, &skinned})
        for (TCustomEdit* target : {static_cast<TCustomEdit*>(f->edit), static_cast<TCustomEdit*>(f->memo)}) {
            SetForegroundWindow(f->form->Handle());
            target->SetFocus();
            PumpFor(100);
            for (WORD vk : {WORD('A'), WORD('B'), WORD(VK_SPACE), WORD('1')}) Press(vk);
            Key(VK_CONTROL, false);
            Press('V');
            Key(VK_CONTROL, true);
            PumpFor(100);
            // As the dictation delivers a phrase, then one more character as WM_CHAR.
            SendTextToFocusedWindow(dictated);
            PumpFor(150);
            PostMessageW(GetFocus(), WM_CHAR, L'界', 0);
            PumpFor(150);
            texts.push_back(TextOf(target->Handle()));
        }
    const std::wstring want = L"ab 1" + pasted + L"你好，世界界";
    EXPECT_EQ(texts[0], want);
    EXPECT_EQ(texts[1], want);
    EXPECT_EQ(texts[2], texts[0]);
    EXPECT_EQ(texts[3], texts[1]);
}

TEST(SkinEdit, SkinningOffAndOnLeavesEveryControlAsItWas) {
    QuietSkin host;
    EditForm f(host, 200, false);
    struct Look {
        LONG_PTR style, exStyle;
        HWND firstChild;
        RECT window;
        std::wstring text;
        bool operator==(const Look& o) const {
            return style == o.style && exStyle == o.exStyle && firstChild == o.firstChild && EqualRect(&window, &o.window) &&
                   text == o.text;
        }
    };
    const auto looks = [&] {
        std::vector<Look> all;
        for (HWND wnd : f.Windows()) {
            RECT r{};
            GetWindowRect(wnd, &r);
            all.push_back({GetWindowLongPtrW(wnd, GWL_STYLE), GetWindowLongPtrW(wnd, GWL_EXSTYLE),
                           GetWindow(wnd, GW_CHILD), r, TextOf(wnd)});
        }
        return all;
    };
    const std::vector<Look> before = looks();
    for (int round = 0; round < 2; ++round) {
        f.Skin();
        ASSERT_NE(PainterOf<TSkinDateTime>(f.picker), nullptr);
        for (HWND wnd : {f.edit->Handle(), f.combo->Handle(), f.upDown->Handle(), f.picker->Handle()})
            EXPECT_TRUE(SendMessageW(wnd, SKM_ISSKINNED, 0, 0));
        TArrowButton* arrow = PainterOf<TSkinDateTime>(f.picker)->ArrowButton;
        ASSERT_NE(arrow, nullptr);
        EXPECT_EQ(GetParent(arrow->Handle()), f.picker->Handle());
        f.Unskin();
        EXPECT_EQ(looks(), before);
    }
}

TEST(SkinEdit, AnUpDownInsideASkinnedEditGetsAPainterThatKeepsOffTheBorder) {
    QuietSkin host;
    EditForm f(host, 200, false);
    HWND edit = f.edit->Handle();
    RECT client{};
    GetClientRect(edit, &client);
    // Flush with the edit's client area: the two-pixel sunken edge is all
    // that lies between it and the window's edge.
    HWND inner = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, client.right - 16, 0, 16, client.bottom,
                                 edit, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(inner, nullptr);
    f.Skin();
    f.edit->Invalidate();
    PumpFor(200);
    TSkinUpDown* buddy = PainterOf<TSkinEdit>(f.edit)->Buddy;
    ASSERT_NE(buddy, nullptr);
    EXPECT_TRUE(buddy->BuddyFlag);
    EXPECT_EQ(buddy->Window, inner);
    EXPECT_TRUE(SendMessageW(inner, SKM_ISSKINNED, 0, 0));
    // The edit's border (shadow, white, white) runs on where the up-down sits.
    const SIZE size = WindowSize(edit);
    WindowDC dc(edit, true);
    int wrong = 0;
    for (int y = 3; y < size.cy - 3; ++y) {
        wrong += GetPixel(dc.get(), size.cx - 1, y) != static_cast<COLORREF>(ColorToRGB(host.Skin->ButtonShadowColour));
        wrong += GetPixel(dc.get(), size.cx - 2, y) != RGB(255, 255, 255);
        wrong += GetPixel(dc.get(), size.cx - 3, y) != RGB(255, 255, 255);
    }
    for (int x = size.cx - 18; x < size.cx - 3; ++x) {
        wrong += GetPixel(dc.get(), x, 2) != RGB(255, 255, 255);
        wrong += GetPixel(dc.get(), x, size.cy - 3) != RGB(255, 255, 255);
    }
    EXPECT_EQ(wrong, 0);
    f.Unskin();
    DestroyWindow(inner);
}

TEST(SkinEdit, ALayoutsComboUpDownAndPickerPropertiesReachTheirWindows) {
    RegisterStandardClasses();
    auto form = std::make_unique<TForm>(nullptr);
    ReadLayoutText(*form, R"(object Holder: TForm
  ClientHeight = 200
  ClientWidth = 300
  object Choice: TComboBox
    Left = 10
    Top = 10
    Style = csDropDownList
    Items.Strings = (
      'One'
      'Two'
      'Three')
    ItemIndex = 1
  end
  object Count: TEdit
    Left = 10
    Top = 50
    Width = 60
  end
  object Spin: TUpDown
    Left = 70
    Top = 50
    Associate = Count
    Min = 5
    Max = 20
    Position = 12
    Orientation = udHorizontal
  end
  object When: TDateTimePicker
    Left = 10
    Top = 90
    Date = 45000.000000
    Time = 0.500000
    DateFormat = dfLong
  end
end
)");
    form->Show();
    PumpFor(50);
    HWND combo = As<TComboBox>(form->FindComponent(L"Choice"))->Handle();
    EXPECT_EQ(GetWindowLongPtrW(combo, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    HWND spin = As<TUpDown>(form->FindComponent(L"Spin"))->Handle();
    HWND count = As<TEdit>(form->FindComponent(L"Count"))->Handle();
    int low = 0, high = 0;
    SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 5);
    EXPECT_EQ(high, 20);
    EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 12);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)), count);
    EXPECT_EQ(TextOf(count), L"12");
    EXPECT_TRUE(GetWindowLongPtrW(spin, GWL_STYLE) & UDS_HORZ);
    HWND when = As<TDateTimePicker>(form->FindComponent(L"When"))->Handle();
    EXPECT_TRUE(GetWindowLongPtrW(when, GWL_STYLE) & DTS_LONGDATEFORMAT);
    SYSTEMTIME time{};
    ASSERT_EQ(SendMessageW(when, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)), GDT_VALID);
    EXPECT_EQ(time.wYear, 2023);
    EXPECT_EQ(time.wMonth, 3);
    EXPECT_EQ(time.wDay, 15);
    EXPECT_EQ(time.wHour, 12);  // the fraction of a day the layout gives
    EXPECT_EQ(time.wMinute, 0);
}

// A combo's own edit and list draw its text: skinning the combo must leave
// them as legible as on a plain form.
TEST(SkinEdit, ACombosEditAndListKeepTheirTextWhenSkinned) {
    QuietSkin host;
    struct Combos {
        std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
        TComboBox* dropDown;
        TComboBox* simple;
        Combos(int left) {
            form->SetBounds(left, 120, 420, 240);
            // On a page of a page control, as in the gallery.
            auto* pages = TComponent::Create<TPageControl>(form.get());
            pages->SetParent(form.get());
            pages->SetBounds(8, 8, 380, 190);
            auto* page = TComponent::Create<TTabSheet>(form.get());
            page->SetPageControl(pages);
            page->SetTextProp(L"Page");
            pages->SetActivePage(page);
            auto add = [&](TComboBoxStyle style, int top, int height) {
                TComboBox* c = TComponent::Create<TComboBox>(form.get());
                c->SetParent(page);
                c->SetStyle(style);
                c->SetBounds(20, top, 200, height);
                for (int i = 1; i <= 9; ++i) c->Items()->Add(L"WWWW " + std::to_wstring(i));
                c->SetTextProp(L"WWWWWWWW");
                return c;
            };
            dropDown = add(TComboBoxStyle::csDropDown, 20, 24);
            simple = add(TComboBoxStyle::csSimple, 60, 100);
            form->Show();
        }
    };
    Combos plain(20), skinned(460);
    TWinSkinForm skin(skinned.form->Handle(), skinned.form.get(), *host.Skin);
    skin.FrameSkinned = true;
    skin.SkinControls();
    ASSERT_NE(PainterOf<TSkinComBox>(skinned.dropDown), nullptr);
    PumpFor(300);

    // Dark pixels: the text's, on the edit's or list's light background.
    auto inked = [](HWND wnd) {
        WindowDC dc(wnd);
        RECT r{};
        GetClientRect(wnd, &r);
        int dark = 0;
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x) {
                const COLORREF c = GetPixel(dc.get(), x, y);
                if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 450) ++dark;
            }
        return dark;
    };
    auto parts = [](TComboBox* combo) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(combo->Handle(), &info);
        return info;
    };
    const COMBOBOXINFO plainDrop = parts(plain.dropDown), skinDrop = parts(skinned.dropDown);
    const COMBOBOXINFO plainSimple = parts(plain.simple), skinSimple = parts(skinned.simple);
    ASSERT_GT(inked(plainDrop.hwndItem), 20);
    EXPECT_GE(inked(skinDrop.hwndItem), inked(plainDrop.hwndItem) - 5) << "drop-down combo's edit";
    EXPECT_GE(inked(skinSimple.hwndItem), inked(plainSimple.hwndItem) - 5) << "simple combo's edit";
    ASSERT_GT(inked(plainSimple.hwndList), 20);
    EXPECT_GE(inked(skinSimple.hwndList), inked(plainSimple.hwndList) - 5) << "simple combo's list";

    // The simple combo's list scrolls under the skin's bar, which goes with the skin.
    auto classAtBar = [](HWND list) {
        SCROLLBARINFO bar{};
        bar.cbSize = sizeof bar;
        GetScrollBarInfo(list, OBJID_VSCROLL, &bar);
        const POINT middle{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2,
                           (bar.rcScrollBar.top + bar.rcScrollBar.bottom) / 2};
        wchar_t name[64] = {};
        GetClassNameW(WindowFromPoint(middle), name, 64);
        return std::wstring(name);
    };
    EXPECT_EQ(classAtBar(skinSimple.hwndList), L"TWScrollbar");
    EXPECT_NE(classAtBar(plainSimple.hwndList), L"TWScrollbar");
    SendMessageW(skinned.simple->Handle(), SKM_ENABLESKIN, 0, 0);
    PumpFor(50);
    EXPECT_NE(classAtBar(skinSimple.hwndList), L"TWScrollbar") << "switched off with its combo";
    SendMessageW(skinned.simple->Handle(), SKM_ENABLESKIN, 1, 0);
    PumpFor(50);
    EXPECT_EQ(classAtBar(skinSimple.hwndList), L"TWScrollbar");
    skin.DetachControlsOnly();
    PumpFor(50);
    EXPECT_NE(classAtBar(skinSimple.hwndList), L"TWScrollbar");
}
