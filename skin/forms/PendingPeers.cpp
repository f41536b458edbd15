// Stand-ins for the members that the caption-button and menu-bar files
// define, so that the frame links and runs alone.
// Each does what the window would do without it.
#include "skin/forms/PendingPeers.h"

#include "classlib/Menus.h"
#include "skin/controls/SkinManager.h"
#include "skin/forms/WinSkinForm.h"

void TWinSkinForm::FormWindowProc(TMessage& message) {
    if (OldWindowProc) OldWindowProc(message);
}
void TWinSkinForm::ClientWndProc(TMessage& message) {
    message.Result = ClientSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
}
void TWinSkinForm::WMSize(TMessage&) {}
void TWinSkinForm::WMWindowPosChanged(TMessage& message) { CallPrevious(message); }
void TWinSkinForm::WMGetMinMaxInfo(TMessage& message) { CallPrevious(message); }
void TWinSkinForm::WMSysCommandState(TMessage& message) { CallPrevious(message); }
void TWinSkinForm::WMCommand(TMessage& message) { CallPrevious(message); }
bool TWinSkinForm::MenuKeyCommand(TMessage&) { return false; }
void TWinSkinForm::OpenMenuAt(POINT) {}
void TWinSkinForm::NCMouseMove(TMessage& message) { CallPrevious(message); }
void TWinSkinForm::NCLButtonDown(TMessage& message) {
    if (message.WParam == HTCAPTION && Active && WindowState == kStateMaximized) message.WParam = HTMENU;
    CallPrevious(message);
}
void TWinSkinForm::NCLButtonUp(TMessage& message) { CallPrevious(message); }
void TWinSkinForm::NCLButtonDblClk(TMessage& message) { CallPrevious(message); }
void TWinSkinForm::NCRButtonDown(TMessage& message) { CallPrevious(message); }
void TWinSkinForm::LayoutCaptionButtons() {}
void TWinSkinForm::PaintCaptionButtons(TCanvas&) {}
bool TWinSkinForm::CaptionButtonVisible(int) { return false; }
TNCObject* TWinSkinForm::HitObject(POINT) { return nullptr; }
void TWinSkinForm::RebuildCaptionButtons() { SysButtons.clear(); }
void TWinSkinForm::CreateMenuBar() {}
void TWinSkinForm::PaintMenuBar(HDC, const RECT&) {}
void TWinSkinForm::MenuBarChanged() {}
