// Menus: the Win32 menus built from a tree of items and kept in step with it,
// shortcuts, commands, owner drawing, popups, and destruction in any order.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/LayoutReader.h"
#include "classlib/Menus.h"

namespace {

// What Windows holds for one menu entry.
struct Win32Item {
    UINT type = 0;
    UINT state = 0;
    UINT id = 0;
    HMENU subMenu = nullptr;
    ULONG_PTR data = 0;
    std::wstring text;
};

Win32Item ReadItem(HMENU menu, int position) {
    wchar_t buffer[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = 255;
    Win32Item item;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) {
        ADD_FAILURE() << "no menu entry at position " << position;
        return item;
    }
    item.type = info.fType;
    item.state = info.fState;
    item.id = info.wID;
    item.subMenu = info.hSubMenu;
    item.data = info.dwItemData;
    item.text = buffer;
    return item;
}

std::vector<std::wstring> Texts(HMENU menu) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) texts.push_back(ReadItem(menu, i).text);
    return texts;
}

TMenuItem* NewItem(TComponent& owner, const std::wstring& caption, TMenuItem* parent = nullptr) {
    TMenuItem* item = TComponent::Create<TMenuItem>(&owner);
    item->SetCaption(caption);
    if (parent) parent->Add(item);
    return item;
}

// A plain window that counts CM_MENUCHANGED and runs a handler for its timers.
class TestWindow {
public:
    TestWindow() {
        static const ATOM atom = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = &TestWindow::Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"MenusTestWindow";
            return RegisterClassExW(&wc);
        }();
        wnd_.reset(CreateWindowExW(0, MAKEINTATOM(atom), L"menus", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), this));
    }
    HWND get() const { return wnd_.get(); }
    int menuChanged = 0;
    std::function<void(UINT_PTR)> onTimer;

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCCREATE)
            SetWindowLongPtrW(wnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
        if (self && msg == CM_MENUCHANGED) {
            ++self->menuChanged;
            return 0;
        }
        if (self && msg == WM_TIMER && self->onTimer) {
            self->onTimer(wParam);
            return 0;
        }
        return DefWindowProcW(wnd, msg, wParam, lParam);
    }
    UniqueWindow wnd_;
};

// Holds modifier keys down in this thread's key state for the scope.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<int> keys) {
        GetKeyboardState(saved_);
        BYTE state[256];
        GetKeyboardState(state);
        for (int key : keys) state[key] = 0x80;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(saved_); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE saved_[256] = {};
};

// A stand-in for the image list: only its class name matters to menus.
class TFakeImageList : public TComponent {
    DECLARE_CLASS_INFO()
public:
    using TComponent::TComponent;
};

const TClassInfo& TFakeImageList::StaticClass() {
    static const TClassInfo info(L"TImageList", &TComponent::StaticClass());
    return info;
}

// The main window's menu in small: a bar with a file menu and a control menu.
struct SmallMenu {
    TComponent form{nullptr};
    TMainMenu* menu = TComponent::Create<TMainMenu>(&form);
    TMenuItem* file = NewItem(form, L"文件(&F)", menu->Items());
    TMenuItem* readMe = NewItem(form, L"请读", file);
    TMenuItem* line = NewItem(form, L"-", file);
    TMenuItem* onTop = NewItem(form, L"最顶端", file);
    TMenuItem* hidden = NewItem(form, L"Hidden", file);
    TMenuItem* transparency = NewItem(form, L"透明度", file);
    TMenuItem* light = NewItem(form, L"浅透明", transparency);
    TMenuItem* control = NewItem(form, L"控制(&C)", menu->Items());
    TMenuItem* start = NewItem(form, L"开始", control);
    TMenuItem* stop = NewItem(form, L"停止", control);

    SmallMenu() {
        onTop->SetChecked(true);
        hidden->SetVisible(false);
        start->SetShortCut(VK_F5);
        stop->SetShortCut(VK_F6);
        stop->SetEnabled(false);
        light->SetRadioItem(true);
        light->SetChecked(true);
        readMe->SetDefault(true);
    }
};

}  // namespace

TEST(Menus, BuildsTheWin32MenuOfATree) {
    SmallMenu m;
    const HMENU bar = m.menu->Handle();
    ASSERT_TRUE(IsMenu(bar));
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    const Win32Item file = ReadItem(bar, 0);
    EXPECT_EQ(file.text, L"文件(&F)");
    EXPECT_EQ(file.subMenu, m.file->Handle());
    EXPECT_EQ(file.id, m.file->Command());

    const HMENU fileMenu = m.file->Handle();
    // The hidden item is left out.
    EXPECT_EQ(Texts(fileMenu), (std::vector<std::wstring>{L"请读", L"", L"最顶端", L"透明度"}));
    EXPECT_EQ(ReadItem(fileMenu, 0).state & MFS_DEFAULT, static_cast<UINT>(MFS_DEFAULT));
    EXPECT_EQ(ReadItem(fileMenu, 0).id, m.readMe->Command());
    EXPECT_EQ(ReadItem(fileMenu, 0).data, reinterpret_cast<ULONG_PTR>(m.readMe));
    EXPECT_TRUE(ReadItem(fileMenu, 1).type & MFT_SEPARATOR);
    EXPECT_EQ(ReadItem(fileMenu, 2).state & MFS_CHECKED, static_cast<UINT>(MFS_CHECKED));
    EXPECT_EQ(ReadItem(fileMenu, 3).subMenu, m.transparency->Handle());

    const Win32Item light = ReadItem(m.transparency->Handle(), 0);
    EXPECT_TRUE(light.type & MFT_RADIOCHECK);
    EXPECT_TRUE(light.state & MFS_CHECKED);

    const HMENU controlMenu = m.control->Handle();
    EXPECT_EQ(Texts(controlMenu), (std::vector<std::wstring>{L"开始\tF5", L"停止\tF6"}));
    EXPECT_EQ(ReadItem(controlMenu, 0).state & MFS_DISABLED, 0u);
    EXPECT_EQ(ReadItem(controlMenu, 1).state & MFS_DISABLED, static_cast<UINT>(MFS_DISABLED));
    // Nothing is owner-drawn unless the menu asks for it.
    EXPECT_EQ(ReadItem(controlMenu, 0).type & MFT_OWNERDRAW, 0u);
}

TEST(Menus, ShortcutTextOnlyOnCommandItemsInPopups) {
    TComponent form(nullptr);
    auto* menu = TComponent::Create<TMainMenu>(&form);
    TMenuItem* top = NewItem(form, L"Top", menu->Items());
    top->SetShortCut(VK_F2);
    TMenuItem* parent = NewItem(form, L"Parent", top);
    parent->SetShortCut(VK_F3);
    NewItem(form, L"Child", parent)->SetShortCut(ShortCut('S', ssCtrl));
    EXPECT_EQ(ReadItem(menu->Handle(), 0).text, L"Top");
    EXPECT_EQ(ReadItem(top->Handle(), 0).text, L"Parent");
    EXPECT_EQ(ReadItem(parent->Handle(), 0).text, L"Child\tCtrl+S");
}

TEST(Menus, ChangesAfterBuildingReachTheWin32Menu) {
    SmallMenu m;
    const HMENU fileMenu = m.file->Handle();
    const HMENU controlMenu = m.control->Handle();

    m.readMe->SetCaption(L"Read me");
    EXPECT_EQ(ReadItem(fileMenu, 0).text, L"Read me");
    m.onTop->SetChecked(false);
    EXPECT_EQ(ReadItem(fileMenu, 2).state & MFS_CHECKED, 0u);
    m.stop->SetEnabled(true);
    EXPECT_EQ(ReadItem(controlMenu, 1).state & MFS_DISABLED, 0u);
    m.start->SetShortCut(0);
    EXPECT_EQ(ReadItem(controlMenu, 0).text, L"开始");
    m.readMe->SetDefault(false);
    EXPECT_EQ(ReadItem(fileMenu, 0).state & MFS_DEFAULT, 0u);

    m.hidden->SetVisible(true);
    EXPECT_EQ(Texts(fileMenu), (std::vector<std::wstring>{L"Read me", L"", L"最顶端", L"Hidden", L"透明度"}));
    m.line->SetVisible(false);
    EXPECT_EQ(Texts(fileMenu), (std::vector<std::wstring>{L"Read me", L"最顶端", L"Hidden", L"透明度"}));
    // The entry after a hidden one is still updated in its own place.
    m.onTop->SetCaption(L"On top");
    EXPECT_EQ(Texts(fileMenu), (std::vector<std::wstring>{L"Read me", L"On top", L"Hidden", L"透明度"}));

    m.hidden->SetCaption(L"-");
    EXPECT_TRUE(ReadItem(fileMenu, 2).type & MFT_SEPARATOR);
    m.hidden->SetCaption(L"Back");
    EXPECT_EQ(ReadItem(fileMenu, 2).type & MFT_SEPARATOR, 0u);
    EXPECT_EQ(ReadItem(fileMenu, 2).text, L"Back");

    // The menu's Handle stays the same: a window holding it sees the changes.
    EXPECT_EQ(m.file->Handle(), fileMenu);
}

TEST(Menus, ChildrenAddedOrRemovedAfterBuilding) {
    SmallMenu m;
    const HMENU bar = m.menu->Handle();
    const HMENU fileMenu = m.file->Handle();

    TMenuItem* close = NewItem(m.form, L"关闭", m.file);
    EXPECT_EQ(GetMenuItemCount(fileMenu), 5);
    EXPECT_EQ(ReadItem(fileMenu, 4).id, close->Command());

    // An item that gains its first child becomes a submenu, and loses it again.
    EXPECT_EQ(ReadItem(fileMenu, 0).subMenu, nullptr);
    TMenuItem* sub = NewItem(m.form, L"Sub", m.readMe);
    EXPECT_EQ(ReadItem(fileMenu, 0).subMenu, m.readMe->Handle());
    EXPECT_EQ(GetMenuItemCount(m.readMe->Handle()), 1);
    m.readMe->Remove(sub);
    EXPECT_EQ(ReadItem(fileMenu, 0).subMenu, nullptr);
    EXPECT_EQ(sub->Parent(), nullptr);

    m.menu->Items()->Insert(0, sub);
    EXPECT_EQ(Texts(bar), (std::vector<std::wstring>{L"Sub", L"文件(&F)", L"控制(&C)"}));
    // Moving an item to another parent takes it out of the old one.
    m.control->Add(sub);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(Texts(m.control->Handle()), (std::vector<std::wstring>{L"开始\tF5", L"停止\tF6", L"Sub"}));
    EXPECT_EQ(sub->MenuIndex(), 2);
}

TEST(Menus, TreeOperationsKeepTheTreeSound) {
    TComponent form(nullptr);
    auto* menu = TComponent::Create<TPopupMenu>(&form);
    TMenuItem* a = NewItem(form, L"a", menu->Items());
    TMenuItem* b = NewItem(form, L"b", a);
    TMenuItem* c = NewItem(form, L"c", menu->Items());

    EXPECT_THROW(b->Add(a), EMenuError) << "an item cannot hold its own parent";
    EXPECT_THROW(a->Add(a), EMenuError);
    EXPECT_THROW(a->Add(menu->Items()), EMenuError) << "a menu's root is no one's child";
    EXPECT_THROW(a->Add(nullptr), EMenuError);
    EXPECT_THROW(menu->Items()->Insert(3, b), EMenuError);
    EXPECT_THROW(menu->Items()->Insert(-1, b), EMenuError);
    // A refused insertion leaves the item where it was.
    EXPECT_EQ(b->Parent(), a);
    EXPECT_EQ(a->Count(), 1);

    // Moving within the same parent: the index counts the items without it.
    menu->Items()->Insert(1, a);
    EXPECT_EQ(menu->Items()->Items(0), c);
    EXPECT_EQ(menu->Items()->Items(1), a);
    menu->Items()->Add(c);
    EXPECT_EQ(menu->Items()->Items(1), c);
    EXPECT_EQ(c->MenuIndex(), 1);
    EXPECT_EQ(menu->Items()->Count(), 2);

    a->Remove(c);  // not a child: nothing happens
    EXPECT_EQ(c->Parent(), menu->Items());
    EXPECT_EQ(b->GetParentMenu(), menu);
    EXPECT_EQ(menu->Items()->MenuIndex(), -1);
}

TEST(Menus, MainMenuTellsItsWindowAboutChanges) {
    TestWindow window;
    SmallMenu m;
    m.menu->Handle();
    m.menu->SetWindowHandle(window.get());

    m.readMe->SetCaption(L"Read me");
    EXPECT_EQ(window.menuChanged, 1);
    m.onTop->SetChecked(false);
    EXPECT_EQ(window.menuChanged, 2);
    m.onTop->SetChecked(false);  // no change, no message
    EXPECT_EQ(window.menuChanged, 2);
    NewItem(m.form, L"New", m.control);
    EXPECT_EQ(window.menuChanged, 3);
    m.hidden->SetVisible(true);
    EXPECT_EQ(window.menuChanged, 4);
    m.menu->SetOwnerDraw(true);
    EXPECT_EQ(window.menuChanged, 5);

    // A popup menu has no window to tell.
    TPopupMenu* popup = TComponent::Create<TPopupMenu>(&m.form);
    popup->SetWindowHandle(window.get());
    NewItem(m.form, L"x", popup->Items());
    EXPECT_EQ(window.menuChanged, 5);
}

TEST(Menus, LoadingTellsTheWindowOnceAtTheEnd) {
    TestWindow window;
    TComponent form(nullptr);
    auto* menu = TComponent::Create<TMainMenu>(&form);
    menu->SetWindowHandle(window.get());
    menu->SetLoading(true);
    // As the layout reader does: properties, then the nested objects attached.
    auto* file = TComponent::Create<TMenuItem>(&form);
    file->SetLoading(true);
    file->SetProperty(L"Caption", L"文件(&F)");
    menu->AddReadChild(file);
    auto* start = TComponent::Create<TMenuItem>(&form);
    start->SetLoading(true);
    start->SetProperty(L"Caption", L"开始");
    start->SetProperty(L"ShortCut", 116);
    file->AddReadChild(start);
    menu->AddReadChild(&form);  // not a menu item: ignored
    EXPECT_EQ(window.menuChanged, 0);

    for (TComponent* c : std::initializer_list<TComponent*>{menu, file, start}) c->Loaded();
    EXPECT_EQ(window.menuChanged, 1);
    ASSERT_EQ(menu->Items()->Count(), 1);
    EXPECT_EQ(menu->Items()->Items(0), file);
    EXPECT_EQ(start->Parent(), file);
    EXPECT_EQ(Texts(file->Handle()), std::vector<std::wstring>{L"开始\tF5"});
}

namespace {

class TMenuHost : public TComponent {
    DECLARE_CLASS_INFO()
public:
    using TComponent::TComponent;
    void NStartClick(TObject*) { ++startClicks; }
    int startClicks = 0;
};

const TClassInfo& TMenuHost::StaticClass() {
    static const TClassInfo info(L"TMenuHost", &TComponent::StaticClass(), {},
                                 {props::Handler(L"NStartClick", &TMenuHost::NStartClick)});
    return info;
}

const char* kMenuLayout = R"(object Host: TMenuHost
  object MainMenu1: TMainMenu
    object N1: TMenuItem
      Caption = '文件(&F)'
      object NReadme: TMenuItem
        Caption = '请读'
      end
      object N2: TMenuItem
        Caption = '-'
      end
      object NTransparency: TMenuItem
        Caption = '透明度'
        object NLight: TMenuItem
          Caption = '浅透明'
          RadioItem = True
        end
      end
    end
    object N3: TMenuItem
      Caption = '控制(&C)'
      object NStart: TMenuItem
        Caption = '开始'
        ShortCut = 116
        OnClick = NStartClick
      end
    end
  end
end
)";

}  // namespace

TEST(Menus, StoredLayoutBuildsTheTree) {
    TMenuHost host(nullptr);
    ReadLayoutText(host, kMenuLayout);
    auto* menu = As<TMainMenu>(host.FindComponent(L"MainMenu1"));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->Items()->Count(), 2);
    TMenuItem* file = menu->Items()->Items(0);
    EXPECT_EQ(file->Name(), L"N1");
    EXPECT_EQ(Texts(file->Handle()), (std::vector<std::wstring>{L"请读", L"", L"透明度"}));
    auto* light = As<TMenuItem>(host.FindComponent(L"NLight"));
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->Parent(), host.FindComponent(L"NTransparency"));
    EXPECT_TRUE(light->RadioItem());
    EXPECT_EQ(Texts(menu->Items()->Items(1)->Handle()), std::vector<std::wstring>{L"开始\tF5"});
    EXPECT_TRUE(menu->IsShortCut(TMessage{WM_KEYDOWN, VK_F5, 0, 0}));
    EXPECT_EQ(host.startClicks, 1);
}

TEST(Menus, PublishedProperties) {
    TComponent form(nullptr);
    auto* item = TComponent::Create<TMenuItem>(&form);
    struct Row {
        const wchar_t* name;
        TValue written;
        TValue expected;
    };
    const Row rows[] = {
        {L"Caption", L"帮助(&H)", L"帮助(&H)"},
        {L"ShortCut", 116, static_cast<int>(VK_F5)},                   // as a stored layout writes it
        {L"ShortCut", L"Ctrl+S", static_cast<int>(scCtrl | 'S')},      // as text
        {L"ShortCut", L"119", 119},                                   // a number in text
        {L"ShortCut", 0x10000, 119},                                  // out of range: ignored
        {L"Checked", L"True", true},
        {L"Enabled", false, false},
        {L"Visible", false, false},
        {L"Default", true, true},
        {L"RadioItem", true, true},
        {L"ImageIndex", 3, 3},
        {L"NoSuchProperty", 1, TValue()},
    };
    for (const Row& row : rows) {
        item->SetProperty(row.name, row.written);
        EXPECT_EQ(item->GetProperty(row.name).AsText(), row.expected.AsText()) << "property " << WideToUtf8(row.name);
    }

    int clicks = 0;
    item->SetProperty(L"OnClick", TValue::Method(TNotifyEvent([&](TObject*) { ++clicks; })));
    item->SetEnabled(true);
    item->Click();
    EXPECT_EQ(clicks, 1);

    auto* menu = TComponent::Create<TMainMenu>(&form);
    EXPECT_TRUE(menu->InheritsFrom(L"TMenu"));
    EXPECT_TRUE(TComponent::Create<TPopupMenu>(&form)->Is<TMenu>());
    EXPECT_EQ(item->ClassName(), L"TMenuItem");
    menu->SetProperty(L"OwnerDraw", true);
    EXPECT_TRUE(menu->OwnerDraw());
}

TEST(Menus, ImagesAreAnImageListAndForgottenWhenItGoes) {
    TComponent form(nullptr);
    auto* menu = TComponent::Create<TPopupMenu>(&form);
    auto* images = TComponent::Create<TFakeImageList>(&form);
    menu->SetProperty(L"Images", static_cast<TObject*>(&form));  // not an image list
    EXPECT_EQ(menu->GetProperty(L"Images").AsObject(), nullptr);
    menu->SetProperty(L"Images", static_cast<TObject*>(images));
    EXPECT_EQ(menu->Images<TFakeImageList>(), images);
    EXPECT_EQ(menu->GetProperty(L"Images").AsObject(), images);
    images->Free();
    EXPECT_EQ(menu->Images<TFakeImageList>(), nullptr);
    menu->SetImages(nullptr);
}

TEST(Menus, IsShortCutClicksOnlyReachableItems) {
    TComponent form(nullptr);
    auto* menu = TComponent::Create<TMainMenu>(&form);
    TMenuItem* control = NewItem(form, L"控制(&C)", menu->Items());
    TMenuItem* start = NewItem(form, L"开始", control);
    start->SetShortCut(VK_F5);
    TMenuItem* save = NewItem(form, L"Save", control);
    save->SetShortCut(ShortCut('S', ssCtrl));
    save->SetEnabled(false);
    TMenuItem* quit = NewItem(form, L"Quit", control);
    quit->SetShortCut(ShortCut('X', ssAlt));
    TMenuItem* hiddenParent = NewItem(form, L"Hidden", menu->Items());
    hiddenParent->SetVisible(false);
    TMenuItem* help = NewItem(form, L"Help", hiddenParent);
    help->SetShortCut(VK_F1);
    TMenuItem* disabledParent = NewItem(form, L"Disabled", menu->Items());
    disabledParent->SetEnabled(false);
    TMenuItem* about = NewItem(form, L"About", disabledParent);
    about->SetShortCut(VK_F2);
    TMenuItem* invisible = NewItem(form, L"Invisible", control);
    invisible->SetShortCut(VK_F3);
    invisible->SetVisible(false);

    std::vector<TMenuItem*> clicked;
    for (TMenuItem* item : {start, save, quit, help, about, invisible})
        item->OnClick = [&clicked](TObject* sender) { clicked.push_back(static_cast<TMenuItem*>(sender)); };

    constexpr LPARAM kAlt = LPARAM{1} << 29;
    struct Row {
        const char* name;
        UINT msg;
        WPARAM key;
        LPARAM keyData;
        bool ctrl;
        TMenuItem* expected;
    };
    const Row rows[] = {
        {"F5 key down", WM_KEYDOWN, VK_F5, 0, false, start},
        {"F5 reflected by the message loop", CN_KEYDOWN, VK_F5, 0, false, start},
        {"F5 with Ctrl is another shortcut", WM_KEYDOWN, VK_F5, 0, true, nullptr},
        {"F5 key up", WM_KEYUP, VK_F5, 0, false, nullptr},
        {"F5 as a character", WM_CHAR, VK_F5, 0, false, nullptr},
        {"Ctrl+S of a disabled item", WM_KEYDOWN, 'S', 0, true, nullptr},
        {"Alt+X from the key data", WM_SYSKEYDOWN, 'X', kAlt, false, quit},
        {"Alt+X reflected", CN_SYSKEYDOWN, 'X', kAlt, false, quit},
        {"X without Alt", WM_KEYDOWN, 'X', 0, false, nullptr},
        {"F1 under an invisible parent", WM_KEYDOWN, VK_F1, 0, false, nullptr},
        {"F2 under a disabled parent", WM_KEYDOWN, VK_F2, 0, false, nullptr},
        {"F3 of an invisible item", WM_KEYDOWN, VK_F3, 0, false, nullptr},
        {"Ctrl alone", WM_KEYDOWN, VK_CONTROL, 0, true, nullptr},
    };
    for (const Row& row : rows) {
        clicked.clear();
        bool handled = false;
        {
            std::optional<HeldKeys> keys;
            if (row.ctrl) keys.emplace(std::initializer_list<int>{VK_CONTROL});
            handled = menu->IsShortCut(TMessage{row.msg, row.key, row.keyData, 0});
        }
        EXPECT_EQ(handled, row.expected != nullptr) << row.name;
        EXPECT_EQ(clicked, row.expected ? std::vector<TMenuItem*>{row.expected} : std::vector<TMenuItem*>{})
            << row.name;
    }

    // Enabled again, Ctrl+S runs it.
    save->SetEnabled(true);
    clicked.clear();
    HeldKeys ctrl{VK_CONTROL};
    EXPECT_TRUE(menu->IsShortCut(TMessage{WM_KEYDOWN, 'S', 0, 0}));
    EXPECT_EQ(clicked, std::vector<TMenuItem*>{save});
}

TEST(Menus, DispatchCommandFindsAnyItem) {
    SmallMenu m;
    int lightClicks = 0, stopClicks = 0;
    m.light->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, m.light);
        ++lightClicks;
    };
    m.stop->OnClick = [&](TObject*) { ++stopClicks; };

    EXPECT_EQ(m.menu->FindItem(m.light->Command()), m.light);
    EXPECT_EQ(m.menu->FindItem(m.hidden->Command()), m.hidden);
    EXPECT_EQ(m.menu->FindItem(0), nullptr);
    EXPECT_EQ(m.menu->FindItem(m.menu->Items()->Command()), nullptr) << "the root is not one of the items";
    EXPECT_EQ(m.file->FindItem(m.start->Command()), nullptr) << "another item's subtree";

    EXPECT_TRUE(m.menu->DispatchCommand(m.light->Command()));
    EXPECT_EQ(lightClicks, 1);
    EXPECT_TRUE(m.menu->DispatchCommand(m.stop->Command()));
    EXPECT_EQ(stopClicks, 0) << "a disabled item does not run";
    EXPECT_FALSE(m.menu->DispatchCommand(MaxMenuCommand + 1));

    int transparencyOpened = 0;
    m.transparency->OnClick = [&](TObject*) { ++transparencyOpened; };
    m.menu->Handle();
    EXPECT_TRUE(m.menu->DispatchPopup(m.transparency->Handle()));
    EXPECT_EQ(transparencyOpened, 1);
    EXPECT_FALSE(m.menu->DispatchPopup(m.menu->Handle()));
    EXPECT_FALSE(m.menu->DispatchPopup(nullptr));
}

TEST(Menus, CommandsAreUniqueAndReused) {
    std::vector<std::unique_ptr<TMenuItem>> items;
    std::set<UINT> commands;
    for (int i = 0; i < 200; ++i) {
        items.push_back(std::make_unique<TMenuItem>(nullptr));
        const UINT command = items.back()->Command();
        EXPECT_NE(command, 0u);
        EXPECT_LE(command, MaxMenuCommand);
        EXPECT_TRUE(commands.insert(command).second) << "command " << command << " given twice";
    }
    const UINT freed = items[100]->Command();
    items[100].reset();
    EXPECT_EQ(std::make_unique<TMenuItem>(nullptr)->Command(), freed);
    commands.erase(freed);

    // Every identifier in use: the next item is refused, and a freed one helps.
    // (Items other tests keep alive hold low identifiers: the count is not exact.)
    std::vector<std::unique_ptr<TMenuItem>> rest;
    try {
        for (;;) {
            rest.push_back(std::make_unique<TMenuItem>(nullptr));
            ASSERT_TRUE(commands.insert(rest.back()->Command()).second) << "given twice";
        }
    } catch (const EMenuError&) {
    }
    EXPECT_GT(rest.size(), static_cast<std::size_t>(MaxMenuCommand) - 1000);
    EXPECT_GE(*commands.begin(), 1u) << "0 is never a command";
    EXPECT_EQ(*commands.rbegin(), MaxMenuCommand) << "the last identifier below the system commands";
    rest.pop_back();
    EXPECT_NO_THROW(std::make_unique<TMenuItem>(nullptr));
}

TEST(Menus, ItemsDestroyedBeforeTheMenu) {
    std::vector<HMENU> handles;
    {
        SmallMenu m;  // the form destroys its components last first: items, then the menu
        handles = {m.menu->Handle(), m.file->Handle(), m.transparency->Handle(), m.control->Handle()};
        for (HMENU h : handles) EXPECT_TRUE(IsMenu(h));
    }
    for (HMENU h : handles) EXPECT_FALSE(IsMenu(h));
}

TEST(Menus, MenuDestroyedBeforeItsItems) {
    TComponent form(nullptr);
    TMenuItem* file = TComponent::Create<TMenuItem>(&form);
    TMenuItem* open = NewItem(form, L"Open", file);
    auto* menu = TComponent::Create<TMainMenu>(&form);
    menu->Items()->Add(file);
    const HMENU bar = menu->Handle();
    const HMENU fileMenu = file->Handle();

    menu->Free();
    EXPECT_FALSE(IsMenu(bar));
    // The items live on without a parent, their own popup intact.
    EXPECT_EQ(file->Parent(), nullptr);
    EXPECT_EQ(file->GetParentMenu(), nullptr);
    EXPECT_TRUE(IsMenu(fileMenu));
    EXPECT_EQ(GetMenuItemCount(fileMenu), 1);
    open->SetCaption(L"Open again");
    EXPECT_EQ(ReadItem(fileMenu, 0).text, L"Open again");

    file->Free();
    EXPECT_FALSE(IsMenu(fileMenu));
    EXPECT_EQ(open->Parent(), nullptr);
}

TEST(Menus, AnItemDestroyedInTheMiddle) {
    SmallMenu m;
    const HMENU fileMenu = m.file->Handle();
    const HMENU transparencyMenu = m.transparency->Handle();
    m.file->Free();
    EXPECT_FALSE(IsMenu(fileMenu));
    EXPECT_EQ(Texts(m.menu->Handle()), std::vector<std::wstring>{L"控制(&C)"});
    EXPECT_EQ(m.readMe->Parent(), nullptr);
    // A grandchild's popup was a submenu of the destroyed one and survives it.
    EXPECT_TRUE(IsMenu(transparencyMenu));
    EXPECT_EQ(m.light->Parent(), m.transparency);
    m.transparency->Free();
    EXPECT_FALSE(IsMenu(transparencyMenu));
}

TEST(Menus, MainMenuLeavesItsWindowWhenDestroyed) {
    TestWindow window;
    TComponent form(nullptr);
    auto* menu = TComponent::Create<TMainMenu>(&form);
    NewItem(form, L"File", menu->Items());
    SetMenu(window.get(), menu->Handle());
    menu->SetWindowHandle(window.get());
    const HMENU bar = menu->Handle();
    menu->Free();
    EXPECT_EQ(GetMenu(window.get()), nullptr);
    EXPECT_FALSE(IsMenu(bar));
}

TEST(Menus, AMenuBarDestroyedWithItsWindowIsBuiltAgain) {
    // DestroyWindow destroys the window's menu bar and every submenu in it.
    SmallMenu m;
    const HMENU oldBar = m.menu->Handle();
    const HMENU oldFile = m.file->Handle();
    {
        TestWindow window;
        SetMenu(window.get(), oldBar);
    }
    ASSERT_FALSE(IsMenu(oldBar));
    ASSERT_FALSE(IsMenu(oldFile));
    // As a form whose window is created again asks for its menu.
    TestWindow window;
    ASSERT_TRUE(SetMenu(window.get(), m.menu->Handle()));
    EXPECT_TRUE(IsMenu(m.menu->Handle()));
    EXPECT_EQ(Texts(m.menu->Handle()), (std::vector<std::wstring>{L"文件(&F)", L"控制(&C)"}));
    EXPECT_TRUE(IsMenu(ReadItem(m.menu->Handle(), 0).subMenu));
    EXPECT_EQ(ReadItem(m.menu->Handle(), 0).subMenu, m.file->Handle());
    EXPECT_EQ(Texts(m.file->Handle()), (std::vector<std::wstring>{L"请读", L"", L"最顶端", L"透明度"}));
    EXPECT_EQ(ReadItem(m.file->Handle(), 3).subMenu, m.transparency->Handle());
    EXPECT_TRUE(IsMenu(m.transparency->Handle()));
    SetMenu(window.get(), nullptr);
}

TEST(Menus, OwnerDrawnItemsCarryTheirItem) {
    SmallMenu m;
    m.menu->Handle();
    m.menu->SetOwnerDraw(true);
    const Win32Item bar = ReadItem(m.menu->Handle(), 0);
    EXPECT_EQ(bar.type & MFT_OWNERDRAW, 0u) << "the menu bar itself is drawn by Windows";
    const Win32Item start = ReadItem(m.control->Handle(), 0);
    EXPECT_TRUE(start.type & MFT_OWNERDRAW);
    EXPECT_EQ(start.data, reinterpret_cast<ULONG_PTR>(m.start));
    EXPECT_EQ(start.text, L"开始\tF5") << "the text stays readable";
    EXPECT_TRUE(ReadItem(m.transparency->Handle(), 0).type & MFT_OWNERDRAW) << "deeper levels too";
    EXPECT_TRUE(ReadItem(m.file->Handle(), 1).type & MFT_SEPARATOR);

    // Items built later follow the menu's setting.
    TMenuItem* later = NewItem(m.form, L"Later", m.control);
    EXPECT_TRUE(ReadItem(m.control->Handle(), 2).type & MFT_OWNERDRAW);
    EXPECT_EQ(ReadItem(m.control->Handle(), 2).data, reinterpret_cast<ULONG_PTR>(later));

    m.menu->SetOwnerDraw(false);
    EXPECT_EQ(ReadItem(m.control->Handle(), 0).type & MFT_OWNERDRAW, 0u);
    EXPECT_EQ(ReadItem(m.transparency->Handle(), 0).type & MFT_OWNERDRAW, 0u);
}

TEST(Menus, OwnerDrawMessagesReachTheItem) {
    TComponent form(nullptr);
    auto* menu = TComponent::Create<TPopupMenu>(&form);
    menu->SetOwnerDraw(true);
    TMenuItem* item = NewItem(form, L"&Open", menu->Items());
    TMenuItem* plain = NewItem(form, L"&Open", menu->Items());
    plain->SetShortCut(ShortCut('O', ssCtrl));

    // Default measure: wider with a shortcut; the handler sees and changes it.
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, plain->Command(), 0, 0, reinterpret_cast<ULONG_PTR>(plain)};
    ASSERT_TRUE(menu->DispatchMeasureItem(measure));
    const UINT withShortCut = measure.itemWidth;
    measure = {ODT_MENU, 0, item->Command(), 0, 0, reinterpret_cast<ULONG_PTR>(item)};
    ASSERT_TRUE(menu->DispatchMeasureItem(measure));
    EXPECT_GT(measure.itemWidth, 20u);
    EXPECT_GT(measure.itemHeight, 8u);
    EXPECT_GT(withShortCut, measure.itemWidth);
    int seenWidth = 0;
    item->OnMeasureItem = [&](TObject*, TCanvas* canvas, int& width, int& height) {
        EXPECT_NE(canvas, nullptr);
        seenWidth = width;
        width += 25;
        height = 30;
    };
    const UINT defaultWidth = measure.itemWidth;
    ASSERT_TRUE(menu->DispatchMeasureItem(measure));
    EXPECT_EQ(seenWidth, static_cast<int>(defaultWidth));
    EXPECT_EQ(measure.itemWidth, defaultWidth + 25);
    EXPECT_EQ(measure.itemHeight, 30u);

    // Data that does not name the item of that command is not trusted.
    measure.itemData = reinterpret_cast<ULONG_PTR>(plain);
    EXPECT_FALSE(menu->DispatchMeasureItem(measure));

    UniqueDC dc(CreateCompatibleDC(nullptr));
    UniqueBitmap bitmap(CreateCompatibleBitmap(WindowDC(nullptr).get(), 200, 20));
    SelectedObject selected(dc.get(), bitmap.get());
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemID = item->Command();
    draw.itemData = reinterpret_cast<ULONG_PTR>(item);
    draw.itemState = ODS_SELECTED;
    draw.hDC = dc.get();
    draw.rcItem = {0, 0, 200, 20};
    bool drawnSelected = false;
    item->OnDrawItem = [&](TObject* sender, TCanvas* canvas, RECT rect, bool isSelected) {
        EXPECT_EQ(sender, item);
        EXPECT_EQ(canvas->Handle(), dc.get());
        EXPECT_EQ(rect.right, 200);
        drawnSelected = isSelected;
    };
    ASSERT_TRUE(menu->DispatchDrawItem(draw));
    EXPECT_TRUE(drawnSelected);

    // The default look fills a selected item with the highlight colour.
    draw.itemID = plain->Command();
    draw.itemData = reinterpret_cast<ULONG_PTR>(plain);
    ASSERT_TRUE(menu->DispatchDrawItem(draw));
    EXPECT_EQ(GetPixel(dc.get(), 199, 0), GetSysColor(COLOR_HIGHLIGHT));
    draw.CtlType = ODT_BUTTON;
    EXPECT_FALSE(menu->DispatchDrawItem(draw));
}

namespace {

// Runs a popup menu while a timer of the test window acts on it; a second
// timer ends any menu still open, so a failing test cannot hang.
void PopupWithTimer(TPopupMenu& popup, const std::function<void(HWND)>& act) {
    TestWindow window;
    window.onTimer = [&](UINT_PTR id) {
        KillTimer(window.get(), id);
        if (id == 1) act(window.get());
        else EndMenu();
    };
    SetTimer(window.get(), 1, 100, nullptr);
    SetTimer(window.get(), 2, 5000, nullptr);
    popup.Popup(50, 50);
    KillTimer(window.get(), 1);
    KillTimer(window.get(), 2);
}

}  // namespace

TEST(MenusPopup, DismissedWithoutChoosing) {
    TComponent form(nullptr);
    auto* popup = TComponent::Create<TPopupMenu>(&form);
    TMenuItem* first = NewItem(form, L"First", popup->Items());
    int popups = 0, clicks = 0;
    popup->OnPopup = [&](TObject* sender) {
        EXPECT_EQ(sender, popup);
        ++popups;
    };
    first->OnClick = [&](TObject*) { ++clicks; };
    const DWORD started = GetTickCount();
    PopupWithTimer(*popup, [](HWND wnd) { PostMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 0); });
    EXPECT_LT(GetTickCount() - started, 4000u) << "closed by the escape key, not by the safety timer";
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(clicks, 0);
}

TEST(MenusPopup, KeyboardChoiceRunsTheItem) {
    TComponent form(nullptr);
    auto* popup = TComponent::Create<TPopupMenu>(&form);
    TMenuItem* first = NewItem(form, L"First", popup->Items());
    TMenuItem* second = NewItem(form, L"Second", popup->Items());
    std::vector<TMenuItem*> clicked;
    for (TMenuItem* item : {first, second})
        item->OnClick = [&clicked](TObject* sender) { clicked.push_back(static_cast<TMenuItem*>(sender)); };
    PopupWithTimer(*popup, [](HWND wnd) {
        PostMessageW(wnd, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(wnd, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(wnd, WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_EQ(clicked, std::vector<TMenuItem*>{second});
}

TEST(MenusPopup, OwnerDrawnItemsAreMeasuredAndDrawn) {
    TComponent form(nullptr);
    auto* popup = TComponent::Create<TPopupMenu>(&form);
    popup->SetOwnerDraw(true);
    TMenuItem* item = NewItem(form, L"Drawn", popup->Items());
    NewItem(form, L"-", popup->Items());
    int measured = 0, drawn = 0;
    item->OnMeasureItem = [&](TObject*, TCanvas*, int&, int&) { ++measured; };
    item->OnDrawItem = [&](TObject*, TCanvas*, RECT, bool) { ++drawn; };
    PopupWithTimer(*popup, [](HWND) { EndMenu(); });
    EXPECT_GE(measured, 1);
    EXPECT_GE(drawn, 1);
}

TEST(MenusPopup, ErrorInAHandlerClosesTheMenuAndIsRaisedAfterwards) {
    TComponent form(nullptr);
    auto* popup = TComponent::Create<TPopupMenu>(&form);
    popup->SetOwnerDraw(true);
    TMenuItem* item = NewItem(form, L"Broken", popup->Items());
    item->OnDrawItem = [](TObject*, TCanvas*, RECT, bool) { throw std::runtime_error("cannot draw"); };
    const DWORD started = GetTickCount();
    bool raised = false;
    try {
        PopupWithTimer(*popup, [](HWND) {});
    } catch (const std::runtime_error& e) {
        raised = std::string(e.what()) == "cannot draw";
    }
    EXPECT_TRUE(raised);
    EXPECT_LT(GetTickCount() - started, 4000u) << "closed by the error, not by the safety timer";
}

TEST(MenusHotkeys, GetHotkey) {
    struct Row {
        const wchar_t* caption;
        wchar_t hotkey;
    };
    const Row rows[] = {
        {L"&File", L'F'},          {L"文件(&F)", L'F'},   {L"&&File", 0},      {L"Save && &Quit", L'Q'},
        {L"End&", 0},              {L"", 0},              {L"&a&b", L'a'},      {L"&&&x", L'x'},
        {L"No accelerator", 0},    {L"&文件", L'文'},
    };
    for (const Row& row : rows) EXPECT_EQ(GetHotkey(row.caption), row.hotkey) << WideToUtf8(row.caption);
}

TEST(MenusHotkeys, IsAccelAndStripHotkey) {
    EXPECT_TRUE(IsAccel(L'f', L"&File"));
    EXPECT_TRUE(IsAccel(L'F', L"&file"));
    EXPECT_TRUE(IsAccel(L'C', L"控制(&C)"));
    EXPECT_FALSE(IsAccel(L'x', L"&File"));
    EXPECT_FALSE(IsAccel(L'F', L"&&File"));
    EXPECT_FALSE(IsAccel(0, L"No accelerator"));

    struct Row {
        const wchar_t* caption;
        const wchar_t* stripped;
    };
    const Row rows[] = {
        {L"&File", L"File"}, {L"A&&B", L"A&B"}, {L"End&", L"End"}, {L"&&&x", L"&x"},
        {L"帮助(&H)", L"帮助(H)"}, {L"", L""},
    };
    for (const Row& row : rows) EXPECT_EQ(StripHotkey(row.caption), row.stripped) << WideToUtf8(row.caption);
}
