// Skinned popup menus: the menu window's background and frame from the
// skin's MenuBackground, the manager's menu-kind gates, and owner-drawn
// items on real popups, read back from the screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Menus.h"
#include "classlib/UtilityWindow.h"
#include "skin/controls/SkinManager.h"
#include "skin/data/WinSkinData.h"
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
// been painted, then the menu is closed with Esc.
void WithOpenPopup(TPopupMenu& popup, const std::function<void(HWND)>& inspect) {
    int ticks = 0;
    tick = [&] {
        HWND menu = FindWindowW(L"#32768", nullptr);
        if (!menu || !IsWindowVisible(menu)) {
            if (++ticks > 40) EndMenu();
            return;
        }
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

// The manager attaches popups as its window-creation hook sees them.
struct PopupHook {
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
        TSkinManage* manager = TSkinManage::Instance();
        if (manager && code == HCBT_CREATEWND) {
            wchar_t name[16] = {};
            GetClassNameW(reinterpret_cast<HWND>(wParam), name, 16);
            const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
            if (std::wstring(name) == L"#32768" && !(create->style & WS_CHILD))
                manager->SkinPopupMenu(reinterpret_cast<HWND>(wParam));
        } else if (manager && code == HCBT_DESTROYWND) {
            manager->UnskinPopupMenu(reinterpret_cast<HWND>(wParam));
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    UniqueHook hook{SetWindowsHookExW(WH_CBT, &Proc, nullptr, GetCurrentThreadId())};
};

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
    PopupHook hook;
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
    });
    EXPECT_TRUE(seen) << "the popup never opened";
    EXPECT_FALSE(manager->IsPopupSkinned(FindWindowW(L"#32768", nullptr)));
}
