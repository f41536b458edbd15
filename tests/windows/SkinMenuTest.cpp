// Skinned popup menus: the menu window's background and frame from the
// skin's MenuBackground, the manager's menu-kind gates, and owner-drawn
// items on real popups, read back from the screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/ImageList.h"
#include "classlib/Menus.h"
#include "classlib/UtilityWindow.h"
#include "skin/controls/SkinManager.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinPopMenu.h"
#include "tests/windows/TestSupport.h"

namespace {

constexpr int kCorner = 5;  // MenuBackground's margins
constexpr TColor kBackgroundMiddle = MakeColour(236, 240, 248);
constexpr TColor kSelectedFill = MakeColour(40, 96, 196);
constexpr TColor kSeparatorInk = MakeColour(120, 130, 150);

// Every pixel of MenuBackground's corners can be told apart.
TColor CornerColour(int x, int y) { return MakeColour(30 + 10 * x, 30 + 10 * y, 90); }

void Fill(TBitmap& bitmap, const RECT& r, TColor colour) {
    bitmap.Canvas()->Brush()->SetColor(colour);
    bitmap.Canvas()->FillRect(r);
}

// A skin with just the menu elements: MenuBackground 20 x 20 with margins 5
// and identifiable corners; MenuItem with five 20 x 18 frames, magenta (the
// background shows) except the separator line of frame 2 and the selected
// fill of frame 4.
std::unique_ptr<TSkinData> MenuSkin() {
    auto skin = std::make_unique<TSkinData>(nullptr);
    auto background = std::make_unique<TDataSkinObject>("MenuBackground");
    background->Bitmap.SetSize(20, 20);
    Fill(background->Bitmap, {0, 0, 20, 20}, kBackgroundMiddle);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            if ((x < kCorner || x >= 20 - kCorner) && (y < kCorner || y >= 20 - kCorner))
                background->Bitmap.Canvas()->SetPixel(x, y, CornerColour(x % 10, y % 10));
    background->Margins = {kCorner, kCorner, kCorner, kCorner};
    background->Frame = 1;
    skin->MenuBackground = std::move(background);

    auto item = std::make_unique<TDataSkinObject>("MenuItem");
    item->Bitmap.SetSize(100, 18);
    Fill(item->Bitmap, {0, 0, 100, 18}, clFuchsia);
    Fill(item->Bitmap, {20, 13, 40, 14}, kSeparatorInk);
    Fill(item->Bitmap, {60, 0, 80, 18}, kSelectedFill);
    item->Margins = {2, 3, 2, 3};
    item->Frame = 5;
    item->Trans = 1;
    skin->MenuItem = std::move(item);

    // Plain frame pieces, so that windows get a skinned frame.
    auto piece = [](TDataSkinBorder& border, int w, int h) {
        border.Bitmap.SetSize(w, h);
        Fill(border.Bitmap, {0, 0, w, h}, MakeColour(0, 85, 229));
        border.Frame = 1;
    };
    piece(*skin->FrameTop, 30, 24);
    piece(*skin->FrameBottom, 30, 4);
    piece(*skin->FrameLeft, 4, 30);
    piece(*skin->FrameRight, 4, 30);

    skin->MenuColour = MakeColour(250, 250, 250);
    skin->MenuTextColour = clBlack;
    skin->HilightTextColour = clWhite;
    skin->SkinPending = false;
    return skin;
}

struct MenuSkinFixture : ::testing::Test {
    std::unique_ptr<TSkinData> skin = MenuSkin();
    TSkinManage* manager = nullptr;
    void SetUp() override {
        TSkinManage::FreeInstance();
        manager = &TSkinManage::Ensure();
        manager->Active = true;
        manager->AddSkinData(skin.get());
    }
    void TearDown() override {
        skin.reset();
        TSkinManage::FreeInstance();
    }
};

// A window standing in for a menu window: it counts what reaches its own
// procedure.
struct StandIn {
    static inline int erased = 0;
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_ERASEBKGND) {
            ++erased;
            return 1;
        }
        return DefWindowProcW(wnd, msg, wParam, lParam);
    }
    UniqueWindow window = CreateUtilityWindow(L"SkinMenuStandIn", &Proc, WS_EX_TOOLWINDOW, WS_POPUP, nullptr, nullptr);
};

bool Dark(TColor c) { return RedOf(c) < 100 && GreenOf(c) < 100 && BlueOf(c) < 100; }

// The colour of a screen pixel.
TColor ScreenPixel(int x, int y) {
    WindowDC screen(nullptr);
    return static_cast<TColor>(GetPixel(screen.get(), x, y));
}

std::function<void()> tick;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (tick) tick();
}

// Runs popup at (100, 100); inspect gets the open menu window once it has
// been painted (keys posted to it first), then the menu is closed with Esc.
void WithOpenPopup(TPopupMenu& popup, const std::function<void(HWND)>& inspect, std::vector<WPARAM> keys = {}) {
    int ticks = 0;
    tick = [&] {
        HWND menu = FindWindowW(L"#32768", nullptr);
        if (!menu || !IsWindowVisible(menu)) {
            if (++ticks > 40) EndMenu();
            return;
        }
        if (ticks == 1)
            for (const WPARAM key : keys) PostMessageW(menu, WM_KEYDOWN, key, 0);
        if (ticks++ == 3) {
            UpdateWindow(menu);
            inspect(menu);
            PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        } else if (ticks > 40) {
            EndMenu();
        }
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &Tick);
    popup.Popup(100, 100);
    KillTimer(nullptr, timer);
    tick = nullptr;
}

}  // namespace

TEST_F(MenuSkinFixture, OnlyTheKindsOfMenuTheSkinAsksForAreSkinned) {
    constexpr TSkinControlTypes all = TSkinData::kDefaultSkinControls;
    struct Row {
        const char* name;
        int kind;
        TSkinControlTypes controls;
        bool skinned;
    } rows[] = {
        {"popup menu", 0, all, true},
        {"popup menu without xcPopupMenu", 0, all & ~SetBit(xcPopupMenu), false},
        {"menu-bar drop-down with xcMainMenu", 1, SetBit(xcMainMenu), true},
        {"menu-bar drop-down with xcMenuItem", 1, SetBit(xcMenuItem), true},
        {"menu-bar drop-down with neither", 1, all & ~SetBit(xcMainMenu) & ~SetBit(xcMenuItem), false},
        {"system menu", 2, SetBit(xcSystemMenu), true},
        {"system menu without xcSystemMenu", 2, all & ~SetBit(xcSystemMenu), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        StandIn first, second;
        skin->SetSkinControls(row.controls);
        manager->MenuKind = row.kind;
        manager->PopupFlag = true;
        EXPECT_EQ(manager->SkinPopupMenu(first.window.get()), row.skinned);
        EXPECT_EQ(SendMessageW(first.window.get(), SKM_ISSKINNED, 0, 0), row.skinned ? 1 : 0);
        if (!row.skinned) continue;
        EXPECT_FALSE(manager->SkinPopupMenu(first.window.get())) << "skinned once";
        ASSERT_TRUE(manager->SkinPopupMenu(second.window.get()));
        // The kind and the popup flag last until the last skinned popup closes.
        EXPECT_TRUE(manager->UnskinPopupMenu(first.window.get()));
        EXPECT_EQ(manager->MenuKind, row.kind);
        EXPECT_TRUE(manager->UnskinPopupMenu(second.window.get()));
        EXPECT_EQ(manager->MenuKind, 0);
        EXPECT_FALSE(manager->PopupFlag);
        EXPECT_EQ(SendMessageW(first.window.get(), SKM_ISSKINNED, 0, 0), 0);
    }
    // Nothing while the skin is still loading.
    StandIn loading;
    skin->SetSkinControls(all);
    skin->SkinPending = true;
    EXPECT_FALSE(manager->SkinPopupMenu(loading.window.get()));
}

TEST_F(MenuSkinFixture, WithMenuBGTheSystemNeverErasesThePopup) {
    for (const bool menuBG : {true, false}) {
        SCOPED_TRACE(menuBG ? "xoMenuBG" : "no xoMenuBG");
        skin->SetOptions(menuBG ? SetBit(xoMenuBG) : 0);
        StandIn popup;
        ASSERT_TRUE(manager->SkinPopupMenu(popup.window.get()));
        StandIn::erased = 0;
        WindowDC dc(popup.window.get());
        EXPECT_EQ(SendMessageW(popup.window.get(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0), 1);
        EXPECT_EQ(StandIn::erased, menuBG ? 0 : 1);
        manager->UnskinPopupMenu(popup.window.get());
    }
}

TEST_F(MenuSkinFixture, APopupsFrameIsTheSkinsMenuBackground) {
    manager->InstallHook();  // it skins menu windows as they are made
    TComponent owner(nullptr);
    auto* popup = TComponent::Create<TPopupMenu>(&owner);
    for (const wchar_t* caption : {L"Open", L"Save", L"Close"}) {
        TMenuItem* item = TComponent::Create<TMenuItem>(&owner);
        item->SetCaption(caption);
        popup->Items()->Add(item);
    }
    bool seen = false;
    WithOpenPopup(*popup, [&](HWND menu) {
        seen = true;
        EXPECT_EQ(SendMessageW(menu, SKM_ISSKINNED, 0, 0), 1);
        RECT r{};
        GetWindowRect(menu, &r);
        // The frame strips at every corner, pixel for pixel from the skin.
        for (const POINT p : {POINT{0, 0}, POINT{2, 1}, POINT{1, 2}})
            EXPECT_EQ(ScreenPixel(r.left + p.x, r.top + p.y), CornerColour(p.x, p.y)) << p.x << "," << p.y;
        EXPECT_EQ(ScreenPixel(r.right - 1, r.bottom - 1), CornerColour(9, 9));
        EXPECT_EQ(ScreenPixel(r.right - 3, r.top + 1), CornerColour(7, 1));

        // Asked to print itself (menu animation), it does so on the same background.
        TBitmap printed;
        printed.SetSize(r.right - r.left, r.bottom - r.top);
        Fill(printed, {0, 0, printed.Width(), printed.Height()}, clBlack);
        SendMessageW(menu, WM_PRINT, reinterpret_cast<WPARAM>(printed.Canvas()->Handle()),
                     PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
        EXPECT_EQ(printed.Canvas()->Pixel(1, 2), CornerColour(1, 2));
        EXPECT_EQ(printed.Canvas()->Pixel(printed.Width() - 1, printed.Height() - 1), CornerColour(9, 9));
        int ink = 0;
        for (int y = kCorner; y < printed.Height() - kCorner; ++y) ink += Dark(printed.Canvas()->Pixel(30, y));
        EXPECT_GT(ink, 0) << "the items printed over it";
    });
    EXPECT_TRUE(seen) << "the popup never opened";
    EXPECT_FALSE(manager->IsPopupSkinned(FindWindowW(L"#32768", nullptr)));
}

namespace {

// The screen under a window, read once.
struct Snapshot {
    RECT area{};
    TBitmap pixels;
    explicit Snapshot(HWND wnd) {
        GetWindowRect(wnd, &area);
        pixels.SetSize(area.right - area.left, area.bottom - area.top);
        WindowDC screen(nullptr);
        BitBlt(pixels.Canvas()->Handle(), 0, 0, pixels.Width(), pixels.Height(), screen.get(), area.left, area.top,
               SRCCOPY);
    }
    // At a screen point.
    TColor operator()(int x, int y) { return pixels.Canvas()->Pixel(x - area.left, y - area.top); }
};


RECT ItemRect(HMENU menu, int position) {
    RECT r{};
    GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &r);
    return r;
}

TMenuItem* AddItem(TComponent& owner, TPopupMenu& popup, const std::wstring& caption) {
    TMenuItem* item = TComponent::Create<TMenuItem>(&owner);
    item->SetCaption(caption);
    popup.Items()->Add(item);
    return item;
}

}  // namespace

TEST_F(MenuSkinFixture, OwnerDrawnItemsSitOnThePopupsBackground) {
    manager->InstallHook();  // it skins menu windows as they are made
    StandIn window;
    TWinSkinForm form(window.window.get(), nullptr, *skin);
    TComponent owner(nullptr);
    auto* popup = TComponent::Create<TPopupMenu>(&owner);
    // One image: a red square on white, the mask colour.
    auto* images = TComponent::Create<TImageList>(&owner);
    TBitmap picture;
    picture.SetSize(16, 16);
    Fill(picture, {0, 0, 16, 16}, clWhite);
    Fill(picture, {5, 5, 11, 11}, clRed);
    images->AddMasked(picture, clWhite);
    popup->SetImages(images);
    AddItem(owner, *popup, L"Open");
    AddItem(owner, *popup, L"Save")->SetShortCut(ShortCut('S', ssCtrl));
    AddItem(owner, *popup, L"Checked")->SetChecked(true);
    TMenuItem* imaged = AddItem(owner, *popup, L"Imaged");
    imaged->SetChecked(true);
    imaged->SetImageIndex(0);
    AddItem(owner, *popup, L"-");
    SetMenuOwnerDraw(&owner, form, true);
    ASSERT_TRUE(popup->OwnerDraw());
    SetCursorPos(0, 0);

    bool seen = false;
    WithOpenPopup(*popup, [&](HWND menu) {
        seen = true;
        Snapshot screen(menu);
        const HMENU handle = popup->Handle();
        RECT window{};
        GetWindowRect(menu, &window);
        // The first item copies the popup's background from where it lies on
        // the popup (3, 3 inside the frame): its corner pixels are the skin's.
        const RECT first = ItemRect(handle, 0);
        const POINT at{first.left - window.left, first.top - window.top};
        ASSERT_LT(at.x + 1, kCorner);
        EXPECT_EQ(screen(first.left, first.top), CornerColour(at.x, at.y));
        EXPECT_EQ(screen(first.left + 1, first.top + 1), CornerColour(at.x + 1, at.y + 1));

        // Ctrl+S ends 10 pixels before the caption box's end (the item's right - 1).
        const RECT save = ItemRect(handle, 1);
        int lastInk = -1;
        for (int x = save.left; x < save.right; ++x)
            for (int y = save.top; y < save.bottom; ++y)
                if (Dark(screen(x, y))) lastInk = x;
        EXPECT_LT(lastInk, save.right - 1 - 10);
        EXPECT_GE(lastInk, save.right - 1 - 10 - 3);

        // The glyph box starts past MenuItem's left margin (2) and 1 pixel in.
        const int margin = skin->MenuItem->Margins.left;
        const RECT checked = ItemRect(handle, 2);
        int ink = 0;
        for (int x = 0; x < 16; ++x)
            for (int y = 0; y < 16; ++y) ink += Dark(screen(checked.left + 1 + margin + x, checked.top + 1 + y));
        EXPECT_GT(ink, 5) << "the check mark";

        const RECT image = ItemRect(handle, 3);
        const int bx = image.left + 1 + margin, by = image.top + 1;
        EXPECT_EQ(screen(bx, by), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW))) << "sunken edge";
        EXPECT_EQ(screen(bx + 8, by + 8), clRed) << "the image";
        const TColor face = static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
        const TColor light = static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT));
        const TColor a = screen(bx + 2, by + 2), b = screen(bx + 3, by + 2);
        EXPECT_TRUE((a == face && b == light) || (a == light && b == face)) << "checkered: " << a << " " << b;

        // The last item is selected (the Up key): MenuItem's frame 4.
        EXPECT_EQ(screen(image.right - 3, image.top + 1), kSelectedFill);
        EXPECT_NE(screen(checked.right - 3, checked.top + 1), kSelectedFill);

        // A separator is lower than MenuItem's frames: it shows the bottom of
        // frame 2, whose line lies 5 rows above the frame's end.
        const RECT line = ItemRect(handle, 4);
        const int middle = (line.left + line.right) / 2, lineRow = line.bottom - 5;
        ASSERT_LT(line.bottom - line.top, 18);
        EXPECT_EQ(screen(middle, lineRow), kSeparatorInk);
        EXPECT_NE(screen(middle, lineRow - 1), kSeparatorInk);
    }, {VK_UP});
    EXPECT_TRUE(seen) << "the popup never opened";
}

TEST_F(MenuSkinFixture, SwitchingOwnerDrawOffKeepsTheApplicationsOwnHandlers) {
    StandIn window;
    TWinSkinForm form(window.window.get(), nullptr, *skin);
    TComponent owner(nullptr);
    auto* skinned = TComponent::Create<TPopupMenu>(&owner);
    auto* disabled = TComponent::Create<TPopupMenu>(&owner);
    disabled->SetTag(skin->DisableTag());
    TMenuItem* plain = AddItem(owner, *skinned, L"Plain");
    TMenuItem* own = AddItem(owner, *skinned, L"Own");
    TMenuItem* sub = AddItem(owner, *skinned, L"Sub");
    TMenuItem* deep = TComponent::Create<TMenuItem>(&owner);
    sub->Add(deep);
    int ownMeasured = 0;
    own->OnMeasureItem = [&](TObject*, TCanvas*, int&, int&) { ++ownMeasured; };
    AddItem(owner, *disabled, L"Left alone");

    SetMenuOwnerDraw(&owner, form, true);
    EXPECT_TRUE(skinned->OwnerDraw());
    EXPECT_FALSE(disabled->OwnerDraw());
    for (TMenuItem* item : {plain, own, deep}) EXPECT_TRUE(item->OnDrawItem && item->OnMeasureItem);
    int width = 0, height = 0;
    TCanvas canvas;
    own->OnMeasureItem(own, &canvas, width, height);
    EXPECT_EQ(ownMeasured, 1) << "an own measuring handler is kept";

    SetMenuOwnerDraw(&owner, form, false);
    EXPECT_FALSE(skinned->OwnerDraw());
    for (TMenuItem* item : {plain, own, deep}) EXPECT_FALSE(item->OnDrawItem);
    EXPECT_FALSE(plain->OnMeasureItem);
    ASSERT_TRUE(own->OnMeasureItem) << "the application's handler survives switching off";
    own->OnMeasureItem(own, &canvas, width, height);
    EXPECT_EQ(ownMeasured, 2);
}

TEST_F(MenuSkinFixture, ASystemCommandIsMeasuredFromItsText) {
    UniqueWindow dialog(CreateWindowExW(0, L"#32770", L"Dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU, 10, 10, 200,
                                        100, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(dialog);
    TWinSkinForm form(dialog.get(), nullptr, *skin);
    wchar_t text[81] = {};
    ASSERT_GT(GetMenuStringW(GetSystemMenu(dialog.get(), FALSE), SC_CLOSE, text, 81, MF_BYCOMMAND), 0);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    UniqueFont font(CreateFontIndirectW(&metrics.lfMenuFont));
    WindowDC dc(dialog.get());
    SelectedObject selected(dc.get(), font.get());
    RECT extent{};
    DrawTextW(dc.get(), text, -1, &extent, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);

    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemID = SC_CLOSE;
    measure.itemHeight = 15;
    TMessage message{WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure), 0};
    form.WMMeasureItem(message);
    EXPECT_EQ(message.Result, TRUE);
    EXPECT_EQ(measure.itemWidth, static_cast<UINT>(extent.right + 26 + skin->MenuItem->Margins.left));
    EXPECT_EQ(measure.itemHeight, 19u);
}

TEST_F(MenuSkinFixture, APlainDialogsOwnerDrawnSystemMenuIsMeasuredAndDrawnByTheSkin) {
    manager->InstallHook();
    UniqueWindow dialog(CreateWindowExW(0, L"#32770", L"Plain", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 300,
                                        300, 200, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    manager->SkinWindow(dialog.get());  // unless its activation did already
    PumpFor(100);
    ASSERT_EQ(SendMessageW(dialog.get(), SKM_ISSKINNED, 0, 0), 1);
    // The close entry made owner-drawn: its text stays in the menu.
    const HMENU system = GetSystemMenu(dialog.get(), FALSE);
    int close = -1;
    for (int i = 0; i < GetMenuItemCount(system); ++i)
        if (GetMenuItemID(system, i) == SC_CLOSE) close = i;
    ASSERT_GE(close, 0);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(system, SC_CLOSE, FALSE, &info));
    info.fType |= MFT_OWNERDRAW;
    ASSERT_TRUE(SetMenuItemInfoW(system, SC_CLOSE, FALSE, &info));
    SetCursorPos(0, 0);

    bool seen = false;
    int ticks = 0;
    tick = [&] {
        HWND popup = FindWindowW(L"#32768", nullptr);
        if (++ticks > 40) EndMenu();
        if (seen || !popup || !IsWindowVisible(popup)) return;
        seen = true;
        UpdateWindow(popup);
        Snapshot screen(popup);
        RECT window{}, item{};
        GetWindowRect(popup, &window);
        GetMenuItemRect(nullptr, system, static_cast<UINT>(close), &item);
        EXPECT_EQ(screen(item.right - 1, item.bottom - 1), kBackgroundMiddle) << "on the popup's background";
        int ink = 0;
        for (int x = item.left; x < item.right; ++x)
            for (int y = item.top; y < item.bottom; ++y) ink += Dark(screen(x, y));
        EXPECT_GT(ink, 10) << "its text";
        PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &Tick);
    TrackPopupMenu(system, TPM_RIGHTBUTTON, 320, 330, 0, dialog.get(), nullptr);
    KillTimer(nullptr, timer);
    tick = nullptr;
    EXPECT_TRUE(seen) << "the popup never opened";
}

TEST_F(MenuSkinFixture, RightToLeftMirrorsTheGlyphAndTheShortcut) {
    StandIn window;
    TWinSkinForm form(window.window.get(), nullptr, *skin);
    TMenuItem item(nullptr);
    item.SetCaption(L"Save");
    item.SetShortCut(ShortCut('S', ssCtrl));
    item.SetChecked(true);
    constexpr int kWidth = 200, kHeight = 20;
    const int margin = skin->MenuItem->Margins.left;
    for (const bool rtl : {false, true}) {
        SCOPED_TRACE(rtl ? "right to left" : "left to right");
        form.RightToLeft = rtl;
        TBitmap picture;
        picture.SetSize(kWidth, kHeight);
        Fill(picture, {0, 0, kWidth, kHeight}, clWhite);
        form.DrawFlatItem(item, *picture.Canvas(), {0, 0, kWidth, kHeight}, false);
        auto inkIn = [&](int left, int right) {
            int ink = 0;
            for (int x = left; x < right; ++x)
                for (int y = 0; y < kHeight; ++y) ink += Dark(picture.Canvas()->Pixel(x, y));
            return ink;
        };
        // The glyph box (check mark) at the item's start, the shortcut ending
        // 10 pixels before the caption box's far end.
        const int boxStart = 1 + margin, boxEnd = boxStart + 16;
        if (!rtl) {
            EXPECT_GT(inkIn(boxStart, boxEnd), 5);
            EXPECT_EQ(inkIn(kWidth - 1 - 10, kWidth), 0);
            EXPECT_GT(inkIn(kWidth - 1 - 10 - 4, kWidth - 1 - 10), 0);
        } else {
            EXPECT_GT(inkIn(kWidth - boxEnd, kWidth - boxStart), 5);
            EXPECT_EQ(inkIn(0, 1 + 10), 0);
            EXPECT_GT(inkIn(1 + 10, 1 + 10 + 4), 0);
        }
    }
}
