#pragma once
// TSkinManage: the one object per process that decides which windows the
// skin engine takes over, and carries out the skin data components' requests
// (skin everything, unskin everything, re-apply a changed skin) from a short
// timer, outside the caller's stack.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Component.h"
#include "classlib/Handles.h"
#include "skin/SkinMessages.h"

class TControl;
class TCustomForm;
class TBitmap;
class TSkinData;
class TTimer;
class TWinSkinPopMenu;

enum TSkinAction : int {
    saNone = 0,
    saSkinAll = 1,
    saUnskinAll = 2,
    saRefresh = 3,
    saPurge = 6,
    saReskinWindow = 7,
};

// What the manager needs of the object that skins one top-level window.
// The plain record below stands in where a test wants bookkeeping only.
// It is a component without owner (the manager holds it) so that it can
// own the painters of foreign windows and be told when its form goes.
class TSkinnedForm : public TComponent {
public:
    static constexpr int kClosed = 6;

    TSkinnedForm(HWND window, TCustomForm* form, TSkinData& skinData);
    ~TSkinnedForm() override;
    TSkinnedForm(const TSkinnedForm&) = delete;
    TSkinnedForm& operator=(const TSkinnedForm&) = delete;

    HWND Window() const { return window_; }
    TCustomForm* Form() const { return form_; }
    TSkinData* SkinData() const { return skinData_; }
    int State() const { return state_; }
    void MarkClosed() { state_ = kClosed; }
    // Whether the window belongs to this module (not a foreign DLL's).
    bool OfThisModule() const;
    // True while one of its window procedures is on the stack: it must not
    // be freed then.
    virtual bool Busy() const { return false; }

    // Takes the painting off the window and restores it.
    virtual void Detach() {}
    // Re-reads the skin elements and lays the window out again.
    virtual void ReloadSkin() {}
    virtual void Repaint() {}
    // An MDI child switches between its maximised and its framed painting.
    virtual void SetMaximizedPainting(bool) {}

    void Notification(TComponent* component, TOperation operation) override;

protected:
    // The form went away: nothing may touch it any more.
    virtual void FormGone() {}

private:
    HWND window_;
    TCustomForm* form_;
    TSkinData* skinData_;
    int state_ = 0;
};

using TSkinnedFormFactory =
    std::function<std::unique_ptr<TSkinnedForm>(HWND window, TCustomForm* form, TSkinData& skinData)>;

class TSkinManage {
public:
    static constexpr int kStateNotStarted = 0;
    static constexpr int kStateRunning = 1;
    static constexpr int kStateDestroying = 4;
    static constexpr unsigned kTimerInterval = 100;

    // The process-wide manager: nullptr until Ensure made it.
    static TSkinManage* Instance();
    static TSkinManage& Ensure();
    // Frees the manager (at program end; tests start afresh with it).
    static void FreeInstance();

    TSkinManage();
    ~TSkinManage();
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    // The WH_CBT hook of the current thread (installed once).
    void InstallHook();
    bool HookInstalled() const { return static_cast<bool>(hook_); }

    void AddSkinData(TSkinData* skinData);
    void RemoveSkinData(TSkinData* skinData);
    const std::vector<TSkinData*>& SkinDataList() const { return skinDataList_; }
    TSkinData* MainSkinData() const { return mainSkinData_; }

    bool SkinWindow(HWND window);
    void SkinForm(TCustomForm* form);
    TSkinnedForm* FindSkinnedForm(HWND window) const;
    void RemoveForm(HWND window);
    void PurgeForms();
    int SkinnedFormCount() const { return static_cast<int>(forms_.size()); }

    // Tells every skinned MDI child when the maximised state changes (not
    // when the main skin data keeps child borders, xoMDIChildBorder).
    void SetMDIMaximized(bool value);

    // Schedules action code after delay ms. Before the manager has started
    // (state 0) the request only records the switch: 1 on, 2 off.
    void PostAction(int code, unsigned delay);
    void RefreshForms();
    // The timer handler.
    void DoAction();

    // Eligibility helpers (the window tests of SkinWindow).
    static bool IsPlainChildWindow(HWND window);
    TSkinData* FindSkinData(HWND window) const;
    bool AskFormSkin(HWND window, const std::wstring& className) const;
    static TCustomForm* FindLibraryForm(HWND window);

    bool Active = false;
    bool Forcing = false;
    int State = kStateNotStarted;
    int MenuKind = 0;
    bool PopupFlag = false;
    bool MDIMaximized = false;
    HWND MDIClient = nullptr;
    TControl* MDIParentForm = nullptr;
    int PendingAction = saNone;
    TSkinData* ActionSkinData = nullptr;
    HWND TargetWindow = nullptr;
    DWORD PlatformVersion = 0;
    // Makes the object that skins a window; the plain record when empty.
    TSkinnedFormFactory SkinnedFormFactory;

    TTimer& ActionTimer() const { return *timer_; }

    // Skinned popup-menu windows ("#32768"), kept in SkinPopups.cpp.
    bool SkinPopupMenu(HWND window);
    bool UnskinPopupMenu(HWND window);
    bool IsPopupSkinned(HWND window) const;
    // Gives menu to the newest skinned popup that has no menu handle yet.
    void SetMenuHandle(HMENU menu);
    // Every live skinned popup shows owner-drawn items.
    void MarkOwnerDrawn();
    // The rendered background of the popup showing menu, or nullptr.
    TBitmap* BackgroundFor(HMENU menu) const;
    // The skinned popup showing menu, or nullptr.
    TWinSkinPopMenu* PopupFor(HMENU menu) const;
    // The popup without a menu handle that painted last.
    TWinSkinPopMenu* CurrentPopup = nullptr;

private:
    static LRESULT CALLBACK CbtHookProc(int code, WPARAM wParam, LPARAM lParam);
    void HookEvent(int code, HWND window, LPARAM lParam);
    // Frees the skinned form at index, detaching it first when asked. A
    // form whose window procedure is on the stack is only detached and
    // marked closed; a later purge frees it.
    void FreeForm(std::size_t index, bool detach = true);
    std::vector<TSkinnedForm*> FormsOf(const TSkinData* skinData) const;
    // Frees every skinned popup (the manager is going).
    void FreePopups();

    std::unique_ptr<TTimer> timer_;
    UniqueHook hook_;
    std::vector<std::unique_ptr<TSkinnedForm>> forms_;
    std::vector<std::unique_ptr<TWinSkinPopMenu>> popups_;
    // Popups whose window went while their procedure was still running;
    // freed once it has returned.
    std::vector<std::unique_ptr<TWinSkinPopMenu>> retiredPopups_;
    std::vector<TSkinData*> skinDataList_;
    TSkinData* mainSkinData_ = nullptr;
};
