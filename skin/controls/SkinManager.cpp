#include "skin/controls/SkinManager.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/Timer.h"
#include "skin/controls/DiscoveryText.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinPopMenu.h"

namespace {

std::unique_ptr<TSkinManage>& ManagerSlot() {
    static std::unique_ptr<TSkinManage> manager;
    return manager;
}

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

}  // namespace

TSkinnedForm::TSkinnedForm(HWND window, TCustomForm* form, TSkinData& skinData)
    : TComponent(nullptr), window_(window), form_(form), skinData_(&skinData) {
    if (form_) FreeNotification(static_cast<TComponent*>(form_));
}

TSkinnedForm::~TSkinnedForm() {
    if (form_) RemoveFreeNotification(static_cast<TComponent*>(form_));
}

void TSkinnedForm::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && form_ && component == static_cast<TComponent*>(form_)) {
        form_ = nullptr;
        FormGone();
    }
}

bool TSkinnedForm::OfThisModule() const {
    return !IsWindow(window_) ||
           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE)) == ModuleInstance() ||
           form_ != nullptr;
}

TSkinManage* TSkinManage::Instance() { return ManagerSlot().get(); }

TSkinManage& TSkinManage::Ensure() {
    auto& slot = ManagerSlot();
    if (!slot) slot = std::make_unique<TSkinManage>();
    return *slot;
}

void TSkinManage::FreeInstance() {
    // Moved out first: skin data freed meanwhile must not find a manager
    // that is half destroyed.
    std::unique_ptr<TSkinManage> manager = std::move(ManagerSlot());
    manager.reset();
}

TSkinManage::TSkinManage() : timer_(std::make_unique<TTimer>(nullptr)) {
    timer_->SetEnabled(false);
    timer_->SetInterval(kTimerInterval);
    timer_->SetOnTimer([this](TObject*) { DoAction(); });
}

TSkinManage::~TSkinManage() {
    State = kStateDestroying;
    Active = false;
    timer_.reset();
    // Last to first; a form whose window has gone was detached when it
    // closed and has nothing left to give back.
    for (std::size_t i = forms_.size(); i-- > 0;) {
        std::unique_ptr<TSkinnedForm> form = std::move(forms_[i]);
        forms_.pop_back();
        if (form && form->OfThisModule() && form->State() != TSkinnedForm::kClosed && IsWindow(form->Window()))
            form->Detach();
        if (form && form->Busy()) (void)form.release();  // its window procedure still runs; it leaks rather than crashes
    }
    FreePopups();
    hook_.reset();
}

void TSkinManage::InstallHook() {
    PlatformVersion = GetVersion();
    if (hook_) return;  // one hook per thread is enough
    hook_.reset(SetWindowsHookExA(WH_CBT, &TSkinManage::CbtHookProc, nullptr, GetCurrentThreadId()));
}

// The window-creation hook: new menu windows get their popup painter, new
// MDI children and every activated window their skinned form. Nothing that
// goes wrong here may reach the window being created.
LRESULT CALLBACK TSkinManage::CbtHookProc(int code, WPARAM wParam, LPARAM lParam) {
    TSkinManage* manager = Instance();
    if (manager && code >= 0 && manager->State != kStateDestroying) {
        try {
            manager->HookEvent(code, reinterpret_cast<HWND>(wParam), lParam);
        } catch (...) {
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TSkinManage::HookEvent(int code, HWND window, LPARAM lParam) {
    switch (code) {
    case HCBT_CREATEWND: {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam)->lpcs;
        const std::wstring className = AsciiLower(WindowClassName(window));
        if (className == L"scrollbar" && (create->style & SBS_SIZEGRIP)) {
            if (auto* form = dynamic_cast<TWinSkinForm*>(FindSkinnedForm(create->hwndParent)))
                form->SkinChildWindow(window);
        }
        if (!(create->style & WS_CHILD) && className == L"#32768") SkinPopupMenu(window);
        if (create->dwExStyle & WS_EX_MDICHILD) SkinWindow(window);
        break;
    }
    case HCBT_DESTROYWND:
        UnskinPopupMenu(window);
        break;
    case HCBT_ACTIVATE:
        if (State == kStateNotStarted) State = kStateRunning;
        SkinWindow(window);
        break;
    default:
        break;
    }
}

void TSkinManage::AddSkinData(TSkinData* skinData) {
    if (!skinData || std::find(skinDataList_.begin(), skinDataList_.end(), skinData) != skinDataList_.end())
        return;
    skinDataList_.push_back(skinData);
    if (!mainSkinData_ && skinData->SkinFormtype() == TSkinFormType::sfMainform) mainSkinData_ = skinData;
}

void TSkinManage::RemoveSkinData(TSkinData* skinData) {
    std::erase(skinDataList_, skinData);
    if (mainSkinData_ == skinData) mainSkinData_ = nullptr;
    if (ActionSkinData == skinData) ActionSkinData = nullptr;
    // Skinned forms of a component that goes can no longer paint with it.
    if (State == kStateDestroying) return;
    for (std::size_t i = forms_.size(); i-- > 0;)
        if (forms_[i]->SkinData() == skinData) FreeForm(i);
}

// ---- Skinned forms

TSkinnedForm* TSkinManage::FindSkinnedForm(HWND window) const {
    for (const auto& form : forms_)
        if (form->Window() == window) return form.get();
    return nullptr;
}

void TSkinManage::RemoveForm(HWND window) {
    if (State == kStateDestroying) return;
    std::erase_if(forms_, [window](const auto& form) { return form->Window() == window; });
}

void TSkinManage::FreeForm(std::size_t index, bool detach) {
    if (forms_[index]->Busy()) {
        if (detach && forms_[index]->State() != TSkinnedForm::kClosed) forms_[index]->Detach();
        forms_[index]->MarkClosed();
        return;
    }
    std::unique_ptr<TSkinnedForm> form = std::move(forms_[index]);
    forms_.erase(forms_.begin() + static_cast<std::ptrdiff_t>(index));
    if (detach) form->Detach();
}

void TSkinManage::PurgeForms() {
    for (std::size_t i = forms_.size(); i-- > 0;) {
        TSkinnedForm& form = *forms_[i];
        // Closed forms were detached when they closed; a gone window has
        // nothing left to restore.
        const bool gone = !IsWindow(form.Window());
        if (form.Busy()) continue;  // freed by a later purge
        if (gone || (form.State() == TSkinnedForm::kClosed && form.OfThisModule())) FreeForm(i, false);
    }
}

std::vector<TSkinnedForm*> TSkinManage::FormsOf(const TSkinData* skinData) const {
    std::vector<TSkinnedForm*> result;
    for (const auto& form : forms_)
        if (form->SkinData() == skinData) result.push_back(form.get());
    return result;
}

bool TSkinManage::IsPlainChildWindow(HWND window) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (!(style & WS_CHILD) || (exStyle & WS_EX_MDICHILD)) return false;
    return AsciiLower(WindowClassName(GetParent(window))) != L"mdiclient";
}

TCustomForm* TSkinManage::FindLibraryForm(HWND window) {
    if (Screen)
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TCustomForm* form = Screen->Forms(i);
            if (form->HandleAllocated() && form->Handle() == window) return form;
        }
    return As<TCustomForm>(TWinControl::FindControl(window));
}

TSkinData* TSkinManage::FindSkinData(HWND window) const {
    TSkinData* found = nullptr;
    for (TSkinData* data : skinDataList_)
        if (data->SkinFormtype() == TSkinFormType::sfOnlyThisForm) {
            auto* owner = As<TWinControl>(data->Owner());
            if (owner && owner->HandleAllocated() && owner->Handle() == window) found = data;
        }
    if (found) return found;
    const std::wstring className = AsciiLower(WindowClassName(window));
    if (className == L"tmessageform" || className == L"#32770")
        for (TSkinData* data : skinDataList_)
            if (data->SkinFormtype() == TSkinFormType::sfDialog) found = data;
    if (found) return found;
    for (TSkinData* data : skinDataList_)
        if (data->SkinFormtype() == TSkinFormType::sfMainform) found = data;
    if (found) return found;
    return skinDataList_.empty() ? nullptr : skinDataList_.front();
}

bool TSkinManage::AskFormSkin(HWND window, const std::wstring& className) const {
    if (!mainSkinData_) return true;
    bool doSkin = true;
    if (!mainSkinData_->HasOption(xoPreview) && AsciiLower(className).find(L"preview") != std::wstring::npos)
        doSkin = false;
    mainSkinData_->QueryFormSkin(window, className, doSkin);
    return doSkin;
}

bool TSkinManage::SkinWindow(HWND window) {
    if (!Active) return false;
    PurgeForms();
    if (!IsWindow(window)) return false;
    if (SendMessageW(window, SKM_ISSKINNED, 0, 0) == 1 || FindSkinnedForm(window)) return false;
    TCustomForm* form = FindLibraryForm(window);
    if (!Forcing && IsPlainChildWindow(window)) return false;
    const std::wstring className = WindowClassName(window);
    const bool ownModule =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)) == ModuleInstance();
    if (!form && !ownModule && className != L"#32770") return false;
    RECT r{};
    GetWindowRect(window, &r);
    const bool mdiChild = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
    if ((r.right - r.left) * (r.bottom - r.top) == 0 && !mdiChild) return false;
    if (form && form->Tag() == 99) return false;
    if (className.find(L"TcxPopupEditPopupWindow") != std::wstring::npos || className == L"TApplication")
        return false;
    if (!AskFormSkin(window, className)) return false;
    TSkinData* skinData = FindSkinData(window);
    if (!skinData || skinData->SkinPending) return false;

    std::unique_ptr<TSkinnedForm> skinned;
    if (SkinnedFormFactory) {
        skinned = SkinnedFormFactory(window, form, *skinData);
    } else {
        auto frame = std::make_unique<TWinSkinForm>(window, form, *skinData);
        if (form)
            frame->AttachToForm(skinData, form);
        else
            frame->AttachToWindow(skinData);
        skinned = std::move(frame);
    }
    if (!skinned) return false;
    forms_.push_back(std::move(skinned));
    PostMessageW(window, SKM_INITFRAME, 0, 1000);
    return true;
}

void TSkinManage::SkinForm(TCustomForm* form) {
    if (!form || !form->Visible() || !form->HandleAllocated()) return;
    if (GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_CHILD) return;
    SkinWindow(form->Handle());
}

void TSkinManage::SetMDIMaximized(bool value) {
    if (value == MDIMaximized) return;
    MDIMaximized = value;
    if (mainSkinData_ && mainSkinData_->HasOption(xoMDIChildBorder)) return;
    for (const auto& form : forms_)
        if (GetWindowLongPtrW(form->Window(), GWL_EXSTYLE) & WS_EX_MDICHILD) form->SetMaximizedPainting(value);
}

// ---- Actions

void TSkinManage::PostAction(int code, unsigned delay) {
    PendingAction = code;
    timer_->SetInterval(delay);
    if (State != kStateNotStarted) {
        timer_->SetEnabled(true);
        return;
    }
    if (code == saSkinAll) Active = true;
    if (code == saUnskinAll) Active = false;
}

void TSkinManage::RefreshForms() {
    for (TSkinnedForm* form : FormsOf(ActionSkinData)) form->ReloadSkin();
}

void TSkinManage::DoAction() {
    timer_->SetEnabled(false);
    TSkinData* skinData = ActionSkinData;
    if (!skinData) return;
    const int action = PendingAction;
    PendingAction = saNone;

    if (skinData->SkinFormtype() == TSkinFormType::sfOnlyThisForm) {
        switch (action) {
        case saSkinAll:
            Active = true;
            Forcing = true;
            if (Screen)
                for (int i = Screen->FormCount(); i-- > 0;)
                    if (Screen->Forms(i) == skinData->Owner()) {
                        SkinForm(Screen->Forms(i));
                        break;
                    }
            Forcing = false;
            break;
        case saUnskinAll:
            Active = false;
            PurgeForms();
            for (std::size_t i = 0; i < forms_.size(); ++i)
                if (forms_[i]->SkinData() == skinData) {
                    FreeForm(i);
                    break;
                }
            break;
        case saRefresh: {
            PurgeForms();
            const auto forms = FormsOf(skinData);
            if (!forms.empty()) {
                forms.front()->ReloadSkin();
                forms.front()->Repaint();
            }
            break;
        }
        case saPurge:
            PurgeForms();
            break;
        default:
            return;
        }
    } else {
        switch (action) {
        case saSkinAll:
            Active = true;
            Forcing = true;
            PurgeForms();
            if (Screen)
                for (int i = Screen->FormCount(); i-- > 0;) SkinForm(Screen->Forms(i));
            Forcing = false;
            break;
        case saUnskinAll:
            Active = false;
            PurgeForms();
            // First to last; a busy form stays listed, closed, for a later purge.
            for (std::size_t i = 0; i < forms_.size();) {
                const std::size_t before = forms_.size();
                FreeForm(i);
                if (forms_.size() == before) ++i;
            }
            break;
        case saRefresh: {
            PurgeForms();
            const auto forms = FormsOf(skinData);
            for (TSkinnedForm* form : forms) form->ReloadSkin();
            for (TSkinnedForm* form : forms) form->Repaint();
            break;
        }
        case saPurge:
            PurgeForms();
            break;
        case saReskinWindow:
            if (TSkinnedForm* form = FindSkinnedForm(TargetWindow)) {
                form->Detach();
                form->MarkClosed();
            }
            PurgeForms();
            SkinWindow(TargetWindow);
            return;
        default:
            return;
        }
    }
    skinData->NotifySkinChanged();
    ActionSkinData = nullptr;
}
