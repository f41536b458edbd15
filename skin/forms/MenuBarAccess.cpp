// Opening the skinned menu bar's items from the mouse and the keyboard, and
// the message-filter hook that moves between the bar's popups while one is
// open (Left/Right, sliding the mouse along the bar).
#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "skin/controls/SkinManager.h"
#include "skin/data/WindowsPlatform.h"
#include "skin/forms/NCObjects.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinMenu.h"

namespace {

constexpr UINT kMenuGetHandle = 0x01E1;  // MN_GETHMENU

// One bar popup at a time is tracked on the UI thread.
struct TMenuTracking {
    TWinSkinForm* Form = nullptr;
    int Index = -1;
    TMenuItem* HighlightedItem = nullptr;
    bool Switching = false;
    bool FirstKeySent = false;
    POINT LastMousePos{};
    UniqueHook Hook;
};

TMenuTracking& Tracking() {
    static TMenuTracking tracking;
    return tracking;
}

BOOL CALLBACK CollectMenuWindow(HWND wnd, LPARAM list) {
    wchar_t name[16] = {};
    GetClassNameW(wnd, name, 16);
    if (IsWindowVisible(wnd) && std::wstring_view(name) == L"#32768")
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
    return TRUE;
}

// The visible popup-menu windows of this thread, topmost (deepest) first.
std::vector<HWND> OpenMenuWindows() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), &CollectMenuWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The highlighted entry of the deepest open popup has a popup of its own.
bool HighlightedHasSubMenu(HWND menuWindow) {
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, kMenuGetHandle, 0, 0));
    if (!menu) return false;
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_SUBMENU;
        if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) && (info.fState & MFS_HILITE))
            return info.hSubMenu != nullptr;
    }
    return false;
}

// The bar item step places from index, wrapping round; items that cannot be
// hit (hidden, no text) are passed over.
TMenuBtn* NeighbourItem(TWinSkinMenu& bar, int index, int step) {
    const int count = static_cast<int>(bar.Items.size());
    for (int n = 1; n <= count; ++n) {
        TMenuBtn& item = *bar.Items[static_cast<std::size_t>(((index + step * n) % count + count) % count)];
        if (item.Visible && !item.Caption.empty()) return &item;
    }
    return nullptr;
}

// Everything the filter does after the next hook had its say.
void FilterMenuMessage(TMenuTracking& t, MSG& msg) {
    TWinSkinForm& form = *t.Form;
    TWinSkinMenu* bar = form.SkinMenu.get();
    if (!t.FirstKeySent) {
        t.FirstKeySent = true;
        const std::vector<HWND> open = OpenMenuWindows();
        if (!open.empty()) PostMessageW(open.front(), WM_KEYDOWN, VK_DOWN, 1);
    }
    TMenuBtn* target = nullptr;
    switch (msg.message) {
    case WM_KEYDOWN:
        if (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) t.Switching = false;
        if (!bar) break;
        if (msg.wParam == VK_LEFT) {
            // Left in a deeper popup only closes that popup.
            if (OpenMenuWindows().size() <= 1) target = NeighbourItem(*bar, t.Index, -1);
        } else if (msg.wParam == VK_RIGHT) {
            const std::vector<HWND> open = OpenMenuWindows();
            if (open.empty() || !HighlightedHasSubMenu(open.front())) target = NeighbourItem(*bar, t.Index, 1);
        }
        break;
    case WM_SYSKEYDOWN:
        if (msg.wParam == VK_MENU) form.MenuTracking = false;
        return;
    case WM_MENUSELECT:
        if (HIWORD(msg.wParam) == 0xFFFF && !msg.lParam) {
            if (!t.Switching) form.MenuTracking = false;
            return;
        }
        t.Switching = false;
        t.HighlightedItem = nullptr;
        if (TMainMenu* menu = bar ? bar->Menu : nullptr) {
            const auto owner = reinterpret_cast<HMENU>(msg.lParam);
            if (HIWORD(msg.wParam) & MF_POPUP) {
                const HMENU popup = GetSubMenu(owner, LOWORD(msg.wParam));
                for (int i = 0; popup && i < menu->Items()->Count() && !t.HighlightedItem; ++i)
                    if (menu->Items()->Items(i)->HandleAllocated() && menu->Items()->Items(i)->Handle() == popup)
                        t.HighlightedItem = menu->Items()->Items(i);
            } else {
                t.HighlightedItem = menu->FindItem(LOWORD(msg.wParam));
            }
        }
        return;
    case WM_MOUSEMOVE:
        if (bar && (msg.pt.x != t.LastMousePos.x || msg.pt.y != t.LastMousePos.y)) {
            target = bar->ItemAt(form.WindowPoint(MAKELPARAM(msg.pt.x, msg.pt.y)));
            t.LastMousePos = msg.pt;
        }
        break;
    default:
        break;
    }
    if (target && target->Index != t.Index && !t.Switching) {
        t.Switching = true;
        RECT window{};
        GetWindowRect(form.Handle, &window);
        const int x = window.left + target->BoundsRect.left + 1, y = window.top + target->BoundsRect.top + 1;
        // The press opens the target once the open popup has closed.
        PostMessageW(form.Handle, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(x, y));
        EndMenu();
    }
}

LRESULT CALLBACK MenuFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    TMenuTracking& t = Tracking();
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code >= 0 && msg && t.Form && t.Form->RightToLeft && (msg->message == WM_KEYDOWN) &&
        (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT))
        msg->wParam = msg->wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
    const LRESULT next = CallNextHookEx(t.Hook.get(), code, wParam, lParam);
    if (next != 0 || code != MSGF_MENU || !msg || !t.Form) return next;
    try {
        FilterMenuMessage(t, *msg);
    } catch (...) {
        // A filter that fails leaves the menu to the system.
    }
    return next;
}

// Installs the filter for one tracked popup and takes it away again.
class TTrackingScope {
public:
    TTrackingScope(TWinSkinForm& form, int index) {
        TMenuTracking& t = Tracking();
        t.Form = &form;
        t.Index = index;
        t.Switching = false;
        t.FirstKeySent = false;
        GetCursorPos(&t.LastMousePos);
        t.Hook.reset(SetWindowsHookExW(WH_MSGFILTER, &MenuFilterHook, nullptr, GetCurrentThreadId()));
        form.MenuTracking = true;
    }
    ~TTrackingScope() {
        TMenuTracking& t = Tracking();
        if (t.Form) t.Form->MenuTracking = false;
        t.Hook.reset();
        t.Form = nullptr;
        t.Index = -1;
        t.HighlightedItem = nullptr;
        t.FirstKeySent = false;
    }
    TTrackingScope(const TTrackingScope&) = delete;
    TTrackingScope& operator=(const TTrackingScope&) = delete;
};

void MakeOwnerDrawn(HMENU menu) {
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (!(info.fType & MFT_OWNERDRAW)) {
            info.fMask = MIIM_FTYPE;
            info.fType |= MFT_OWNERDRAW;
            SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        }
        if (info.hSubMenu) MakeOwnerDrawn(info.hSubMenu);
    }
}

// Separators at either end, and a separator right after another, are hidden.
void TidySeparators(TMenuItem& parent) {
    std::vector<bool> show(static_cast<std::size_t>(parent.Count()), false);
    bool itemSinceSeparator = false;
    int lastShownSeparator = -1;
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem& child = *parent.Items(i);
        if (!child.IsLine()) {
            show[static_cast<std::size_t>(i)] = child.Visible();
            itemSinceSeparator |= child.Visible();
        } else if (itemSinceSeparator) {
            show[static_cast<std::size_t>(i)] = true;
            lastShownSeparator = i;
            itemSinceSeparator = false;
        }
    }
    if (lastShownSeparator >= 0 && !itemSinceSeparator) show[static_cast<std::size_t>(lastShownSeparator)] = false;
    for (int i = 0; i < parent.Count(); ++i)
        if (TMenuItem& child = *parent.Items(i); child.IsLine() && child.Visible() != show[static_cast<std::size_t>(i)])
            child.SetVisible(show[static_cast<std::size_t>(i)]);
}

}  // namespace

bool TWinSkinForm::OpenMenuItem(TMenuBtn& item) {
    // A Win32 popup entry's identifier is no command: only class-library
    // items (whose click updates their children) and plain commands are sent.
    if (item.Command && (!item.SubMenu || item.VclItem)) PostMessageW(Handle, WM_COMMAND, item.Command, 0);
    if (!item.SubMenu) return false;
    if (item.VclItem) TidySeparators(*item.VclItem);
    const HMENU popup = item.SubMenu;
    if (!IsWindowsNT4OrOlder()) MakeOwnerDrawn(popup);
    RECT window{};
    GetWindowRect(Handle, &window);
    const int x = window.left + (RightToLeft ? item.BoundsRect.right : item.BoundsRect.left);
    const int y = window.top + item.BoundsRect.bottom;
    if (TSkinManage* manager = TSkinManage::Instance()) {
        manager->MenuKind = 1;
        manager->PopupFlag = true;
    }
    OpenMenu = popup;
    const bool enabled = item.Enabled;
    TTrackingScope scope(*this, item.Index);
    if (!enabled) return false;
    // The command comes back here and is posted once, whatever the system
    // does with notifications while the popup is open.
    const UINT flags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | (RightToLeft ? TPM_RIGHTALIGN : 0u);
    const auto command = static_cast<UINT>(TrackPopupMenu(popup, flags, x, y, 0, Handle, nullptr));
    if (command) PostMessageW(Handle, WM_COMMAND, command, 0);
    return true;
}

TMenuBtn* TWinSkinForm::FindAccelItem(wchar_t ch) {
    if (!SkinMenu) return nullptr;
    for (const auto& item : SkinMenu->Items)
        if (item->Visible && item->Enabled && IsAccel(ch, item->Caption)) return item.get();
    return nullptr;
}

void TWinSkinForm::PressMenuItem(TMenuBtn& item) {
    item.MouseDown();
    const int index = item.Index;
    OpenMenuItem(item);
    // The bar may have been rebuilt while its popup was open.
    HotObject = nullptr;
    if (SkinMenu)
        for (const auto& current : SkinMenu->Items)
            if (current->Index == index) HotObject = current.get();
}

bool TWinSkinForm::MenuKeyCommand(TMessage& message) {
    if (MenuTracking || (message.WParam & 0xFFF0) != SC_KEYMENU) return false;
    const auto ch = static_cast<wchar_t>(LOWORD(message.LParam));
    if (ch == L' ') {
        if (!(SysFlags & kSysMenu)) return false;
        POINT origin{0, 0};
        ClientToScreen(Handle, &origin);
        ShowSystemPopup(origin);
        message.Result = 0;
        return true;
    }
    if (ch == L'-' || GetCapture()) return false;
    TMenuBtn* item = nullptr;
    if (ch == 0) {
        if (SkinMenu)
            for (const auto& candidate : SkinMenu->Items)
                if (!item && candidate->Visible && !candidate->Caption.empty()) item = candidate.get();
    } else {
        item = FindAccelItem(ch);
        if (!item) return false;
    }
    if (item) PressMenuItem(*item);
    message.Result = 1;
    return true;
}

void TWinSkinForm::OpenMenuAt(POINT screenPoint) {
    if (!SkinMenu || MenuTracking) return;
    if (TMenuBtn* item = SkinMenu->ItemAt(WindowPoint(MAKELPARAM(screenPoint.x, screenPoint.y))))
        PressMenuItem(*item);
}
