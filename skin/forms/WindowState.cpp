// Window state kept by the skinned frame (normal, maximised, minimised), the
// operations of the caption buttons, the skinned system popup, the form's
// replacement WindowProc and the MDI client's replacement procedure.
#include <windowsx.h>

#include "classlib/Forms.h"
#include "classlib/Keys.h"
#include "classlib/Menus.h"
#include "classlib/Timer.h"
#include "skin/controls/SkinManager.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/WinSkinData.h"
#include "skin/data/WindowsPlatform.h"
#include "skin/forms/NCObjects.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinMenu.h"

namespace {

constexpr int kSystemPopupTag = 33333;
// SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED
constexpr UINT kRecalcFrame = 55;
// RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW
constexpr UINT kRedrawAll = 1413;

int PlacementState(HWND wnd) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(wnd, &placement)) return TWinSkinForm::kStateNormal;
    switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: return TWinSkinForm::kStateMinimized;
    case SW_SHOWMAXIMIZED: return TWinSkinForm::kStateMaximized;
    default: return TWinSkinForm::kStateNormal;
    }
}

void SetStyleBits(HWND wnd, LONG_PTR bits, bool on) {
    const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
    const LONG_PTR wanted = on ? style | bits : style & ~bits;
    if (wanted != style) SetWindowLongPtrW(wnd, GWL_STYLE, wanted);
}

bool IsSystemCommand(UINT code) {
    switch (code) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE: return true;
    default: return false;
    }
}

}  // namespace

// ---- state messages

// The state part only: the frame procedure gives WM_SIZE to the previous
// procedure once, after this.
void TWinSkinForm::WMSize(TMessage& message) {
    switch (message.WParam) {
    case SIZE_RESTORED: WindowState = kStateNormal; break;
    case SIZE_MINIMIZED: WindowState = kStateMinimized; break;
    case SIZE_MAXIMIZED: WindowState = kStateMaximized; break;
    default: break;
    }
    if (WindowState == kStateMinimized) return;
    if (MDIKind == kMDIChild && WindowState == kStateMaximized) {
        // However it was maximised (its caption button, or WM_MDIMAXIMIZE
        // from code), a maximised child is unframed: no region.
        if (HasRegion) RemoveRegion();
        return;
    }
    const TSkinManage* manager = TSkinManage::Instance();
    if (MDIKind == kMDIChild && ((manager && manager->MDIMaximized) || WindowState != kStateNormal)) return;
    if (AttachState == kRunning || AttachState == kReskinning) BuildRegion();
}

void TWinSkinForm::WMWindowPosChanged(TMessage& message) {
    WindowState = PlacementState(Handle);
    message.Result = FrameSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
}

void TWinSkinForm::WMGetMinMaxInfo(TMessage& message) {
    message.Result = FrameSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
    WindowState = PlacementState(Handle);
    if (SysFlags & kSysCaptionWorkaround)
        SetStyleBits(Handle, WS_CAPTION,
                     WindowState == kStateMinimized || (MDIKind == kMDIChild && WindowState == kStateMaximized));
}

void TWinSkinForm::WMSysCommandState(TMessage& message) {
    switch (message.WParam & 0xFFF0) {
    case SC_MINIMIZE:
        WindowState = kStateMinimized;
        if (MDIKind == kMDIChild) SetStyleBits(Handle, WS_CAPTION, true);
        break;
    case SC_MAXIMIZE: WindowState = kStateMaximized; break;
    case SC_RESTORE:
        WindowState = kStateNormal;
        if (MDIKind == kMDIChild) {
            SetStyleBits(Handle, WS_CAPTION, false);
            if (TSkinManage* manager = TSkinManage::Instance(); manager && manager->MDIMaximized)
                manager->SetMDIMaximized(false);
        }
        break;
    default: break;
    }
    message.Result = FrameSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
}

void TWinSkinForm::WMCommand(TMessage& message) {
    // The skinned system popup, tracked with this window as owner, sends these.
    if (const UINT code = LOWORD(message.WParam); IsSystemCommand(code)) {
        PostMessageW(Handle, WM_SYSCOMMAND, code, 0);
        message.Result = 0;
        return;
    }
    message.Result = FrameSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
}

// ---- caption-button operations: the state is set before the command is
// posted, so that a repaint in between already shows the new buttons.

void TWinSkinForm::ToggleMaximize() {
    if (WindowState == kStateMaximized) {
        WindowState = kStateNormal;
        PostMessageW(Handle, WM_SYSCOMMAND, SC_RESTORE, 0);
        return;
    }
    if (MDIKind == kMDIChild)
        if (TSkinManage* manager = TSkinManage::Instance()) manager->SetMDIMaximized(true);
    WindowState = kStateMaximized;
    PostMessageW(Handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    HotObject = nullptr;
}

void TWinSkinForm::ToggleMinimize() {
    if (WindowState == kStateMinimized) {
        RestoreWindow();
        return;
    }
    WindowState = kStateMinimized;
    SetStyleBits(Handle, WS_SYSMENU, true);
    PostMessageW(Handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::RestoreWindow() {
    WindowState = kStateNormal;
    PostMessageW(Handle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::CloseFromButton() {
    bool canClose = IsWindowsNT4OrOlder() || !IsWindowsNT();
    if (!canClose) {
        const HMENU menu = SystemMenu ? SystemMenu : GetSystemMenu(Handle, FALSE);
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE;
        // A close entry the program greyed out keeps the window open, as the
        // standard close button would.
        canClose = menu && GetMenuItemInfoW(menu, SC_CLOSE, FALSE, &info) &&
                   !(info.fState & (MFS_DISABLED | MFS_GRAYED));
    }
    if (!canClose) return;
    if (HoverTimer) HoverTimer->SetEnabled(false);
    PostMessageW(Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void TWinSkinForm::SendToActiveMDIChild(UINT command) {
    if (MDIKind != kMDIParent || !MDIClient) return;
    if (const auto child = reinterpret_cast<HWND>(SendMessageW(MDIClient, WM_MDIGETACTIVE, 0, 0)))
        SendMessageW(child, WM_SYSCOMMAND, command, 0);
}

// ---- system popup

void TWinSkinForm::ShowSystemPopup(POINT screenPoint) {
    const DWORD now = GetTickCount();
    if (DoubleClickTime >= 0 && now - SysMenuClickTick <= static_cast<DWORD>(DoubleClickTime)) {
        // The second click of a double click on the icon closes the window.
        if (HoverTimer) HoverTimer->SetEnabled(false);
        if (HotObject) PostMessageW(Handle, WM_CLOSE, 0, 0);
        return;
    }
    if (TSkinManage* manager = TSkinManage::Instance()) manager->MenuKind = 2;
    SysMenuClickTick = now;
    BuildSystemPopup();
    // Held here while it shows: a popup built again meanwhile (or a detach)
    // must not free the one whose menu loop is running.
    std::unique_ptr<TPopupMenu> popup = std::move(SystemPopup);
    if (popup) popup->Popup(screenPoint.x, screenPoint.y);
    if (!SystemPopup) SystemPopup = std::move(popup);
}

void TWinSkinForm::BuildSystemPopup() {
    auto popup = std::make_unique<TPopupMenu>(nullptr);
    popup->SetTag(kSystemPopupTag);
    popup->SetOwnerDraw(true);
    if (SkinData && SkinData->MenuGlyphs()) popup->SetImages(SkinData->MenuGlyphs());
    auto add = [&](const std::wstring& caption, int tag, int image, bool enabled, bool checked, TNotifyEvent click) {
        TMenuItem* item = TComponent::Create<TMenuItem>(popup.get());
        item->SetCaption(caption);
        item->SetTag(tag);
        item->SetImageIndex(image);
        item->SetEnabled(enabled);
        item->SetChecked(checked);
        item->OnClick = std::move(click);
        popup->Items()->Add(item);
        return item;
    };
    const bool maxBox = (SysFlags & kSysMaximizeBox) != 0, minBox = (SysFlags & kSysMinimizeBox) != 0;
    if (IsWindowsNT4OrOlder()) {
        add(L" Restore ", 0, 0, true, false, [this](TObject*) { RestoreWindow(); });
        if (maxBox) add(L" Maximize ", 1, 1, true, false, [this](TObject*) { ToggleMaximize(); });
        if (minBox) add(L" Minimize ", 2, 2, true, false, [this](TObject*) { ToggleMinimize(); });
        add(L"-", 100, -1, true, false, nullptr);
        TMenuItem* close = add(L" Close ", 3, 3, true, false, [this](TObject*) {
            if (HoverTimer) HoverTimer->SetEnabled(false);
            PostMessageW(Handle, WM_CLOSE, 0, 0);
        });
        close->SetShortCut(TextToShortCut(L"Alt+F4"));
    } else if (const HMENU menu = SystemMenu ? SystemMenu : GetSystemMenu(Handle, FALSE)) {
        const HWND wnd = Handle;
        for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
            wchar_t text[80] = {};
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
            info.dwTypeData = text;
            info.cch = static_cast<UINT>(std::size(text) - 1);
            if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
            const UINT command = info.wID;
            int image = -1;
            // The window's state decides these; their menu states are the
            // system's leftovers from whenever it last showed the menu.
            bool byState = true, enabled = true;
            switch (command) {
            case SC_MINIMIZE: image = 2; enabled = WindowState != kStateMinimized && minBox; break;
            case SC_MAXIMIZE: image = 1; enabled = WindowState != kStateMaximized && maxBox; break;
            case SC_RESTORE: image = 0; enabled = WindowState != kStateNormal; break;
            case SC_SIZE: enabled = WindowState != kStateMaximized && Sizeable; break;
            case SC_MOVE: enabled = WindowState != kStateMaximized; break;
            case SC_CLOSE: image = 3; byState = false; break;
            default: byState = false; break;
            }
            if (!byState && (info.fState & (MFS_DISABLED | MFS_GRAYED))) enabled = false;
            add(text[0] ? std::wstring(text) : std::wstring(L"-"), static_cast<int>(command), image, enabled,
                (info.fState & MFS_CHECKED) != 0,
                [wnd, command](TObject*) { PostMessageW(wnd, WM_SYSCOMMAND, command, 0); });
        }
    }
    SetPopupItemHandlers(*popup->Items(), *this, true);
    SystemPopup = std::move(popup);
}

// ---- the form's WindowProc

void TWinSkinForm::FormWindowProc(TMessage& message) {
    auto previous = [&] {
        OldWindowProc.CallPrevious(message);
    };
    switch (message.Msg) {
    case WM_SETTEXT: {
        if (!IsWindowVisible(Handle)) break;
        if (!UnicodeWindow) {
            SendMessageW(Handle, WM_SETREDRAW, FALSE, 0);
            previous();
            SendMessageW(Handle, WM_SETREDRAW, TRUE, 0);
            if (Application) Application->ProcessMessages();
        } else {
            previous();
        }
        const TSkinManage* manager = TSkinManage::Instance();
        if (WindowState == kStateMaximized && manager && manager->MDIClient)
            PostMessageW(manager->MDIClient, SKM_REDRAWMDI, 0, 0);
        else if (WindowState == kStateMinimized) PaintFrame();
        else SetWindowPos(Handle, nullptr, 0, 0, 0, 0, kRecalcFrame);
        return;
    }
    case SKM_SKINCHANGED: {
        if (!SkinData || !Form) return;
        Form->SetColor(SkinData->ButtonFaceColour);
        for (int i = 0; i < Form->ComponentCount(); ++i)
            if (auto* owned = As<TCustomForm>(Form->Components(i))) owned->SetColor(SkinData->ButtonFaceColour);
        for (TSkinControl* control : SkinnedControls)
            if (control) control->SkinChanged();
        AttachState = kReskinning;
        if (FrameSkinned) {
            SetMenuOwnerDraw(Form, *this, true);
            Resize(true);
            const int height = Form->Height();
            Form->SetHeight(height + 1);
            Form->SetHeight(height);
        }
        SendMessageW(Handle, SKM_ANNOUNCE, 0, kSkinMagic);
        AttachState = kRunning;
        message.Result = 0;
        return;
    }
    case SKM_ANNOUNCE:
        // Shares its number with CN_NOTIFY: its lParam is no NMHDR.
        if (message.LParam == kSkinMagic) {
            message.Result = 0;
            return;
        }
        break;
    case CM_DIALOGCHAR: {
        previous();
        if (message.Result != 0) return;
        // Only Alt+letter goes on: a plain letter reaching another form would
        // press that form's buttons.
        if (KeyDataToShiftState(message.LParam) != ssAlt) return;
        if (TMenuBtn* item = FindAccelItem(static_cast<wchar_t>(message.WParam))) {
            RECT window{};
            GetWindowRect(Handle, &window);
            PostMessageW(Handle, WM_NCLBUTTONDOWN, HTMENU,
                         MAKELPARAM(window.left + item->BoundsRect.left + 1, window.top + item->BoundsRect.top + 1));
            message.Result = 1;
            return;
        }
        const TSkinManage* manager = TSkinManage::Instance();
        if (MDIKind == kMDIChild && manager && manager->MDIParentForm && manager->MDIParentForm != Form)
            message.Result = manager->MDIParentForm->Perform(CM_DIALOGCHAR, message.WParam, message.LParam);
        else if (Application && Application->MainForm() && Application->MainForm() != Form)
            message.Result = Application->MainForm()->Perform(CM_DIALOGCHAR, message.WParam, message.LParam);
        return;
    }
    case SKM_PAINTFRAMEDC:
    case SKM_QUERYSKIN:
        if (AnswerSkinQuery(message)) return;
        break;
    default: break;
    }
    previous();
}

// ---- the MDI client's procedure

void TWinSkinForm::ClientWndProc(TMessage& message) {
    auto previous = [&] { message.Result = ClientSubclass.CallPrevious(message.Msg, message.WParam, message.LParam); };
    TSkinManage* manager = TSkinManage::Instance();
    switch (message.Msg) {
    case SKM_REDRAWMDI:
        RedrawWindow(Handle, nullptr, nullptr, kRedrawAll);
        message.Result = 0;
        return;
    case WM_NCCALCSIZE:
        if (FrameSkinned && SkinData && !SkinData->HasOption(xoMDIScrollbar))
            SetStyleBits(MDIClient, WS_HSCROLL | WS_VSCROLL, false);
        previous();
        return;
    case WM_MDICREATE:
        if (SkinData) SkinData->SetMenuUpdate(false);
        previous();
        return;
    case WM_MDIDESTROY: {
        previous();
        BOOL maximized = FALSE;
        const auto active = reinterpret_cast<HWND>(
            SendMessageW(MDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
        if (manager) manager->SetMDIMaximized(active && maximized);
        if (!active) {
            if (SkinData) SkinData->SetMenuUpdate(MenuUpdate);
            if (SkinMenu) SkinMenu->BuildItems();
        }
        return;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (manager && manager->MDIMaximized) manager->SetMDIMaximized(false);
        previous();
        return;
    case WM_MDISETMENU:
        previous();
        if (message.WParam) {
            if (SkinMenu) SkinMenu->RebuildItems();
            SetMenu(Handle, nullptr);
        }
        return;
    case WM_NCDESTROY:
        previous();
        ClientSubclass.Restore();
        return;
    default: previous(); return;
    }
}
