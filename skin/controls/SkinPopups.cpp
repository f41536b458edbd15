// The skin manager's list of skinned popup-menu windows and the services the
// owner-drawn menu items use to find a popup's rendered background.
#include <algorithm>

#include "skin/controls/SkinManager.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinPopMenu.h"

namespace {

// Menu kinds the manager records before a popup opens.
constexpr int kKindPopupMenu = 0, kKindMenuBar = 1, kKindSystemMenu = 2;

bool KindSkinned(const TSkinData& skinData, int kind) {
    switch (kind) {
    case kKindPopupMenu: return skinData.HasSkinControl(xcPopupMenu);
    case kKindMenuBar: return skinData.HasSkinControl(xcMainMenu) || skinData.HasSkinControl(xcMenuItem);
    case kKindSystemMenu: return skinData.HasSkinControl(xcSystemMenu);
    default: return false;
    }
}

}  // namespace

bool TSkinManage::SkinPopupMenu(HWND window) {
    std::erase_if(retiredPopups_, [](const auto& popup) { return !popup->Busy(); });
    if (!Active || !IsWindow(window)) return false;
    if (SendMessageW(window, SKM_ISSKINNED, 0, 0) == 1 || IsPopupSkinned(window)) return false;
    TSkinData* skinData = FindSkinData(window);
    if (!skinData || skinData->SkinPending || !KindSkinned(*skinData, MenuKind)) return false;
    auto popup = std::make_unique<TWinSkinPopMenu>();
    popup->Attach(window, skinData);
    popup->PopupFlag = PopupFlag;
    popups_.push_back(std::move(popup));
    return true;
}

bool TSkinManage::UnskinPopupMenu(HWND window) {
    std::erase_if(retiredPopups_, [](const auto& popup) { return !popup->Busy(); });
    const auto it = std::find_if(popups_.begin(), popups_.end(),
                                 [window](const auto& popup) { return popup->Handle == window; });
    if (it == popups_.end()) return false;
    std::unique_ptr<TWinSkinPopMenu> popup = std::move(*it);
    popups_.erase(it);
    if (CurrentPopup == popup.get()) CurrentPopup = nullptr;
    popup->Detach();
    if (popup->Busy()) retiredPopups_.push_back(std::move(popup));
    if (popups_.empty()) {
        PopupFlag = false;
        MenuKind = kKindPopupMenu;
    }
    return true;
}

bool TSkinManage::IsPopupSkinned(HWND window) const {
    return std::any_of(popups_.begin(), popups_.end(), [window](const auto& popup) { return popup->Handle == window; });
}

void TSkinManage::SetMenuHandle(HMENU menu) {
    if (!menu || PopupFor(menu)) return;
    // The popup painting now is the one whose items are being drawn.
    if (CurrentPopup && !CurrentPopup->MenuHandle) {
        CurrentPopup->MenuHandle = menu;
        return;
    }
    for (auto it = popups_.rbegin(); it != popups_.rend(); ++it)
        if (!(*it)->MenuHandle) {
            (*it)->MenuHandle = menu;
            return;
        }
}

void TSkinManage::MarkOwnerDrawn() {
    for (const auto& popup : popups_) popup->OwnerDrawn = true;
}

TWinSkinPopMenu* TSkinManage::PopupFor(HMENU menu) const {
    if (!menu) return nullptr;
    for (const auto& popup : popups_)
        if (popup->MenuHandle == menu) return popup.get();
    return nullptr;
}

TBitmap* TSkinManage::BackgroundFor(HMENU menu) const {
    TWinSkinPopMenu* popup = PopupFor(menu);
    return popup && !popup->FrameBitmap.Empty() ? &popup->FrameBitmap : nullptr;
}

void TSkinManage::FreePopups() {
    CurrentPopup = nullptr;
    for (auto& popup : popups_) {
        popup->Detach();
        if (popup->Busy()) retiredPopups_.push_back(std::move(popup));
    }
    popups_.clear();
    std::erase_if(retiredPopups_, [](const auto& popup) { return !popup->Busy(); });
    // One still running at program end is left to the process's exit.
    for (auto& popup : retiredPopups_) static_cast<void>(popup.release());
}
