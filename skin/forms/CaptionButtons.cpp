// Caption buttons: which are shown, where they go, how they paint into the
// caption, and the caption's mouse handling.
#include <windowsx.h>

#include <algorithm>

#include "classlib/Timer.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/NCObjects.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinMenu.h"

namespace {

// Visibility values.
constexpr int kMDIChildButtons = 100;
constexpr int kOwnDialogOnly = 200;

bool ActiveMDIChildMaximized(HWND mdiClient) {
    if (!mdiClient) return false;
    BOOL maximized = FALSE;
    const HWND child = reinterpret_cast<HWND>(SendMessageW(mdiClient, WM_MDIGETACTIVE, 0,
                                                           reinterpret_cast<LPARAM>(&maximized)));
    return child && maximized;
}

POINT ScreenPoint(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

bool TWinSkinForm::CaptionButtonVisible(int index) {
    TWinSysButton& button = *SysButtons.at(static_cast<std::size_t>(index));
    const TDataSkinSysButton& e = *button.Element;
    const bool maximized = WindowState == kStateMaximized;
    const bool maxBox = (SysFlags & kSysMaximizeBox) != 0, minBox = (SysFlags & kSysMinimizeBox) != 0;
    const bool sysMenu = (SysFlags & kSysMenu) != 0;
    // first: the Visibility condition; the Visibility1 one differs for 6, 8 and 1000-2000.
    auto holds = [&](int value, bool first) {
        switch (value) {
        case 0: return true;
        case 1: return maximized;
        case 2: return !maximized;
        case 3: return Active;
        case 4: return !Active;
        case 6: return maxBox && (sysMenu || !first);
        case 7: return !maxBox;
        case 8: return minBox && (sysMenu || !first);
        case 9: return !minBox;
        case kMDIChildButtons: return MDIKind == kMDIParent && SkinMenu && ActiveMDIChildMaximized(MDIClient);
        case kOwnDialogOnly: return FrameKind == kFrameDialog && !IsDialog;
        default: break;
        }
        if (value > kOwnDialogOnly && value < 1000) return true;
        if (value >= 1000 && value <= 2000)
            return !first || SendMessageW(Handle, SKM_BUTTONVISIBLE, static_cast<WPARAM>(e.Visibility),
                                          static_cast<LPARAM>(e.Action)) > 0;
        return false;
    };
    bool allowed = true;
    switch (e.Action) {
    case 0: allowed = sysMenu; break;
    case 1: allowed = maxBox; break;
    case 2: allowed = minBox; break;
    case 3:
    case 11:
    case 12: allowed = FrameKind != kFrameDialog; break;
    default: break;
    }
    button.Visible = allowed && holds(e.Visibility, true) && holds(e.Visibility1, false);
    return button.Visible;
}

void TWinSkinForm::LayoutCaptionButtons() {
    for (std::size_t i = 0; i < SysButtons.size(); ++i) {
        TWinSysButton& button = *SysButtons[i];
        if (!CaptionButtonVisible(static_cast<int>(i))) continue;
        const TDataSkinSysButton& e = *button.Element;
        if (e.Bitmap.Empty()) continue;
        const int width = e.Bitmap.Width() / std::max(e.Frame, 1), height = e.Bitmap.Height();
        constexpr int reference = 0;  // nothing sets the reference of Align 2, 3, 8, 9
        int left = 0, top = e.YCoord;
        switch (e.Align) {
        case 0: left = e.XCoord; break;
        case 1: left = FrameWidth - e.XCoord; break;
        case 2:
        case 8: left = reference - width - e.XCoord; break;
        case 3:
        case 9: left = e.XCoord + reference; break;
        case 100: {
            const int barMargin = SkinData && SkinData->MenuBar ? SkinData->MenuBar->Margins.left : 0;
            top = CaptionHeight + (MenuBarHeight - height) / 2;
            left = RightToLeft ? BorderLeft + e.XCoord + barMargin : FrameWidth - e.XCoord - BorderRight - barMargin;
            break;
        }
        default: top = 0; break;
        }
        button.BoundsRect = {left, top, left + width, top + height};
    }
}

void TWinSkinForm::PaintCaptionButtons(TCanvas& caption) {
    HDC dc = caption.Handle();
    for (const auto& button : SysButtons) {
        const TDataSkinSysButton& e = *button->Element;
        if (!button->Visible || e.Bitmap.Empty() || e.Visibility == kMDIChildButtons) continue;
        if (button->IsIconButton()) {
            button->PaintIcon(dc, button->BoundsRect);
            continue;
        }
        const int frames = std::max(e.Frame, 1);
        const int frame = Active || frames < 4 ? 1 : 4;
        DrawFrameStretched(dc, button->BoundsRect, button->Element->Bitmap, true, frames, frame);
    }
}

TNCObject* TWinSkinForm::HitObject(POINT windowPoint) {
    for (const auto& button : SysButtons)
        if (button->Visible && button->Element->Action >= 0 && PtInRect(&button->BoundsRect, windowPoint))
            return button.get();
    return SkinMenu ? SkinMenu->ItemAt(windowPoint) : nullptr;
}

void TWinSkinForm::RunButtonAction(POINT screenPoint) {
    auto* button = dynamic_cast<TWinSysButton*>(HotObject);
    if (!button) return;
    const int action = button->Element->Action;
    switch (action) {
    case 0: CloseFromButton(); break;
    case 1:
    case 22: ToggleMaximize(); break;
    case 2:
    case 23: ToggleMinimize(); break;
    case 3:
    case 11:
    case 12: ShowSystemPopup({screenPoint.x + 1, screenPoint.y + 1}); break;
    case 7:
    case 60: SendToActiveMDIChild(SC_MINIMIZE); break;
    case 8:
    case 61: SendToActiveMDIChild(SC_RESTORE); break;
    case 9:
    case 62: SendToActiveMDIChild(SC_CLOSE); break;
    default: PostMessageW(Handle, SKM_BUTTONACTION, static_cast<WPARAM>(action), 0); break;
    }
}

void TWinSkinForm::NCMouseMove(TMessage& message) {
    message.Result = 0;
    if (!Active) return;
    // While a button is held down it stays the one that was pressed, so that
    // releasing over another button does not run that one.
    const bool holding = HotObject && HotObject->State == TNCObject::kPressed && GetKeyState(VK_LBUTTON) < 0;
    if (TNCObject* object = HitObject(WindowPoint(message.LParam))) {
        if (!holding) object->MouseEnter();
        return;
    }
    if (HotObject && !holding) HotObject->MouseLeave();
    message.Result = FrameSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
}

void TWinSkinForm::NCLButtonDown(TMessage& message) {
    message.Result = 0;
    if (MenuTracking) {
        // A press meant for the bar while one of its popups is still open
        // (sliding to another item): close the popup and take the press
        // again once the menu loop has returned.
        EndMenu();
        PostMessageW(Handle, message.Msg, message.WParam, message.LParam);
        return;
    }
    if (TNCObject* object = HitObject(WindowPoint(message.LParam))) {
        if (!Active) SetForegroundWindow(Handle);
        if (auto* item = dynamic_cast<TMenuBtn*>(object)) PressMenuItem(*item);
        else object->MouseDown();
        return;
    }
    WPARAM hit = message.WParam;
    if (Active && WindowState == kStateMaximized && hit == HTCAPTION) hit = HTMENU;  // no dragging when maximised
    message.Result = FrameSubclass.CallPrevious(message.Msg, hit, message.LParam);
}

void TWinSkinForm::NCLButtonUp(TMessage& message) {
    message.Result = 0;
    TNCObject* object = HitObject(WindowPoint(message.LParam));
    if (!object) {
        message.Result = FrameSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
        return;
    }
    if (object == HotObject && dynamic_cast<TWinSysButton*>(object)) {
        object->MouseUp();
        RunButtonAction(ScreenPoint(message.LParam));
    }
}

void TWinSkinForm::NCLButtonDblClk(TMessage& message) {
    message.Result = 0;
    if (TNCObject* object = HitObject(WindowPoint(message.LParam))) {
        if (auto* button = dynamic_cast<TWinSysButton*>(object); button && button->IsIconButton()) {
            if (HoverTimer) HoverTimer->SetEnabled(false);
            PostMessageW(Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return;
    }
    // Only the caption toggles: a double click on a sizing border stays the system's.
    if (message.WParam == HTCAPTION && WindowState != kStateNormal) RestoreWindow();
    else if (message.WParam == HTCAPTION && (SysFlags & kSysMaximizeBox)) ToggleMaximize();
    else message.Result = FrameSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
}

void TWinSkinForm::NCRButtonDown(TMessage& message) {
    if (message.WParam == HTCAPTION && MDIKind != kMDIChild) {
        ShowSystemPopup(ScreenPoint(message.LParam));
        message.Result = 0;
        return;
    }
    message.Result = FrameSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
}
