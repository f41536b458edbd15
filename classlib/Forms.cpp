#include "classlib/Forms.h"

#include <algorithm>

#include "classlib/Icon.h"

namespace {

const std::vector<std::wstring_view> kBorderStyleNames{L"bsNone",   L"bsSingle",      L"bsSizeable",
                                                       L"bsDialog", L"bsToolWindow", L"bsSizeToolWin"};
const std::vector<std::wstring_view> kBorderIconNames{L"biSystemMenu", L"biMinimize", L"biMaximize", L"biHelp"};
const std::vector<std::wstring_view> kPositionNames{
    L"poDesigned",       L"poDefault",        L"poDefaultPosOnly", L"poDefaultSizeOnly",
    L"poScreenCenter",   L"poDesktopCenter",  L"poMainFormCenter", L"poOwnerFormCenter"};
const std::vector<std::wstring_view> kFormStyleNames{L"fsNormal", L"fsMDIChild", L"fsMDIForm", L"fsStayOnTop"};

BOOL CALLBACK CollectEnabledWindow(HWND wnd, LPARAM list) {
    if (IsWindowVisible(wnd) && IsWindowEnabled(wnd)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
    return TRUE;
}

}  // namespace

const TClassInfo& TCustomForm::StaticClass() {
    static const TClassInfo info(
        L"TCustomForm", &TWinControl::StaticClass(),
        {
            props::Enumeration(L"BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle,
                               kBorderStyleNames),
            props::SetOf(L"BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons, kBorderIconNames),
            props::Enumeration(L"Position", &TCustomForm::Position, &TCustomForm::SetPosition, kPositionNames),
            props::Enumeration(L"FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, kFormStyleNames),
            props::Reference(L"Menu", &TCustomForm::Menu, &TCustomForm::SetMenu),
            props::Object(L"Icon", &TCustomForm::Icon),
            props::Reference(L"ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl),
            props::Boolean(L"KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview),
            props::Event(L"OnCreate", &TCustomForm::OnCreate),
            props::Event(L"OnDestroy", &TCustomForm::OnDestroy),
            props::Event(L"OnShow", &TCustomForm::OnShow),
            props::Event(L"OnHide", &TCustomForm::OnHide),
            props::Event(L"OnActivate", &TCustomForm::OnActivate),
            props::Event(L"OnDeactivate", &TCustomForm::OnDeactivate),
            props::Event(L"OnResize", &TCustomForm::OnResize),
            props::Event(L"OnClose", &TCustomForm::OnClose),
            props::Event(L"OnCloseQuery", &TCustomForm::OnCloseQuery),
        });
    return info;
}

const TClassInfo& TForm::StaticClass() {
    static const TClassInfo info(L"TForm", &TCustomForm::StaticClass());
    return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), icon_(std::make_unique<TIcon>()) {
    SetVisible(false);
    SetBoundsFields(0, 0, 320, 240);
    ControlStyle |= csAcceptsControls;
    if (Screen) Screen->forms_.push_back(this);
}

TCustomForm::~TCustomForm() {
    if (Screen) {
        auto& forms = Screen->forms_;
        forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    }
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
    }
    // The window goes while this object is still a form.
    DestroyHandle();
}

void TCustomForm::SetParent(TWinControl* parent) {
    TWinControl::SetParent(parent);
}

bool TCustomForm::Showing() const {
    if (Parent()) return TWinControl::Showing();
    return Visible() && HandleAllocated() && IsWindowVisible(WindowHandle());
}

RECT TCustomForm::ClientRect() const {
    if (HandleAllocated() || Parent()) return TWinControl::ClientRect();
    TCreateParams p;
    const_cast<TCustomForm*>(this)->CreateParams(p);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, p.Style, menu_ != nullptr, p.ExStyle);
    return {0, 0, std::max(0L, Width() - (frame.right - frame.left)), std::max(0L, Height() - (frame.bottom - frame.top))};
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
    if (v == borderStyle_) return;
    borderStyle_ = v;
    if (!IsLoading()) RecreateWnd();
}

void TCustomForm::SetBorderIcons(std::uint32_t v) {
    if (v == borderIcons_) return;
    borderIcons_ = v;
    if (!IsLoading()) RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle v) {
    if (v == formStyle_) return;
    formStyle_ = v;
    if (HandleAllocated() && (v == TFormStyle::fsStayOnTop || v == TFormStyle::fsNormal))
        SetWindowPos(WindowHandle(), v == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (menu == menu_) return;
    if (menu_) menu_->SetWindowHandle(nullptr);
    menu_ = menu;
    if (menu_) menu_->FreeNotification(this);
    MenuChanged();
}

void TCustomForm::MenuChanged() {
    if (HandleAllocated()) SendMessageW(WindowHandle(), CM_MENUCHANGED, 0, 0);
}

void TCustomForm::UpdateMenu() {
    if (!HandleAllocated()) return;
    if (menu_) menu_->SetWindowHandle(WindowHandle());
    ::SetMenu(WindowHandle(), menu_ ? menu_->Handle() : nullptr);
    DrawMenuBar(WindowHandle());
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_) return;
    if (control && (control == this || GetParentForm(control) != this))
        throw EInvalidOperation("Invalid control for ActiveControl");
    activeControl_ = control;
    if (control) control->FreeNotification(this);
    if (!IsLoading() && Showing() && control && control->CanFocus()) control->SetFocus();
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == menu_) menu_ = nullptr;
    if (component == activeControl_) activeControl_ = nullptr;
    if (component == focusedControl_) focusedControl_ = nullptr;
}

void TCustomForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style &= ~(WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    p.Style |= WS_CLIPCHILDREN;
    p.ExStyle = 0;
    if (Parent()) {
        p.Style |= WS_CHILD;
        return;
    }
    switch (borderStyle_) {
    case TFormBorderStyle::bsNone: p.Style |= WS_POPUP; break;
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsToolWindow: p.Style |= WS_CAPTION | WS_BORDER; break;
    case TFormBorderStyle::bsSizeable:
    case TFormBorderStyle::bsSizeToolWin: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case TFormBorderStyle::bsDialog:
        p.Style |= WS_POPUP | WS_CAPTION;
        p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (borderStyle_ == TFormBorderStyle::bsToolWindow || borderStyle_ == TFormBorderStyle::bsSizeToolWin)
        p.ExStyle |= WS_EX_TOOLWINDOW;
    if (borderStyle_ != TFormBorderStyle::bsNone && (borderIcons_ & biSystemMenu)) {
        p.Style |= WS_SYSMENU;
        if (borderStyle_ != TFormBorderStyle::bsDialog && borderStyle_ != TFormBorderStyle::bsToolWindow &&
            borderStyle_ != TFormBorderStyle::bsSizeToolWin) {
            if (borderIcons_ & biMinimize) p.Style |= WS_MINIMIZEBOX;
            if (borderIcons_ & biMaximize) p.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (formStyle_ == TFormStyle::fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
    // Secondary forms belong to the main form: they stay above it and share its task bar entry.
    p.WndParent = nullptr;
    if (Application && Application->MainForm() && Application->MainForm() != this &&
        Application->MainForm()->HandleAllocated())
        p.WndParent = Application->MainForm()->WindowHandle();
    PlaceOnScreen(p);
}

void TCustomForm::PlaceOnScreen(TCreateParams& p) const {
    switch (position_) {
    case TPosition::poScreenCenter:
        p.X = (GetSystemMetrics(SM_CXSCREEN) - p.Width) / 2;
        p.Y = (GetSystemMetrics(SM_CYSCREEN) - p.Height) / 2;
        break;
    case TPosition::poDesktopCenter:
        // The virtual desktop spans every monitor and may start left of or
        // above the primary one.
        p.X = GetSystemMetrics(SM_XVIRTUALSCREEN) + (GetSystemMetrics(SM_CXVIRTUALSCREEN) - p.Width) / 2;
        p.Y = GetSystemMetrics(SM_YVIRTUALSCREEN) + (GetSystemMetrics(SM_CYVIRTUALSCREEN) - p.Height) / 2;
        break;
    case TPosition::poMainFormCenter:
    case TPosition::poOwnerFormCenter: {
        const TCustomForm* centre = Application ? Application->MainForm() : nullptr;
        if (position_ == TPosition::poOwnerFormCenter && As<TCustomForm>(Owner())) centre = As<TCustomForm>(Owner());
        if (centre && centre != this) {
            p.X = centre->Left() + (centre->Width() - p.Width) / 2;
            p.Y = centre->Top() + (centre->Height() - p.Height) / 2;
        } else {
            p.X = (GetSystemMetrics(SM_CXSCREEN) - p.Width) / 2;
            p.Y = (GetSystemMetrics(SM_CYSCREEN) - p.Height) / 2;
        }
        break;
    }
    case TPosition::poDefault:
    case TPosition::poDefaultPosOnly:
        p.X = CW_USEDEFAULT;
        p.Y = CW_USEDEFAULT;
        break;
    default:
        break;
    }
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    // Windows picked the place for a default position: remember it.
    RECT r;
    GetWindowRect(WindowHandle(), &r);
    SetBoundsFields(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TCustomForm::CreateHandleDone() {
    MenuChanged();
    if (!icon_->Empty()) {
        SendMessageW(WindowHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_->Handle()));
        SendMessageW(WindowHandle(), WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(icon_->HandleForSize(GetSystemMetrics(SM_CXSMICON),
                                                                   GetSystemMetrics(SM_CYSMICON))));
    }
}

void TCustomForm::SetClientWidth(int v) {
    if (IsLoading()) pendingClientWidth_ = v;
    else TWinControl::SetClientWidth(v);
}

void TCustomForm::SetClientHeight(int v) {
    if (IsLoading()) pendingClientHeight_ = v;
    else TWinControl::SetClientHeight(v);
}

void TCustomForm::Loaded() {
    TWinControl::Loaded();
    if (pendingClientWidth_ >= 0 || pendingClientHeight_ >= 0) {
        SetClientSize(pendingClientWidth_ >= 0 ? pendingClientWidth_ : ClientWidth(),
                      pendingClientHeight_ >= 0 ? pendingClientHeight_ : ClientHeight());
        pendingClientWidth_ = pendingClientHeight_ = -1;
    }
    if (menu_) MenuChanged();
}

bool TCustomForm::ForEachMenu(const std::function<bool(TMenu&)>& action) {
    // The main menu first, then every other menu the form owns.
    if (menu_ && action(*menu_)) return true;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* menu = As<TMenu>(Components(i)); menu && menu != menu_ && action(*menu)) return true;
    return false;
}

void TCustomForm::DestroyWnd() {
    if (menu_) menu_->SetWindowHandle(nullptr);
    TWinControl::DestroyWnd();
}

void TCustomForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TCustomForm::Show() {
    SetVisible(true);
    HWND wnd = Handle();
    ShowWindow(wnd, SW_SHOWNORMAL);
    SetForegroundWindow(wnd);
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

void TCustomForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = TCloseAction::caHide;
    DoClose(action);
    if (action == TCloseAction::caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case TCloseAction::caHide: Hide(); break;
    case TCloseAction::caMinimize:
        if (HandleAllocated()) ShowWindow(WindowHandle(), SW_MINIMIZE);
        break;
    case TCloseAction::caFree: Release(); break;
    default: break;
    }
}

void TCustomForm::Release() {
    if (HandleAllocated()) PostMessageW(WindowHandle(), CM_RELEASE, 0, 0);
    else Free();
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || modal_) throw EInvalidOperation("Cannot make a visible window modal");
    if (GetCapture()) SendMessageW(GetCapture(), WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    HWND previous = GetActiveWindow();
    // The other windows of this thread are disabled while the form is modal.
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
    HWND self = Handle();
    disabled.erase(std::remove(disabled.begin(), disabled.end(), self), disabled.end());
    for (HWND wnd : disabled) EnableWindow(wnd, FALSE);
    modal_ = true;
    modalResult_ = mrNone;
    struct Restore {
        TCustomForm& form;
        std::vector<HWND>& windows;
        HWND previous;
        ~Restore() {
            for (HWND wnd : windows)
                if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
            form.modal_ = false;
            if (form.HandleAllocated()) {
                form.SetVisible(false);
            }
            if (previous && IsWindow(previous)) SetActiveWindow(previous);
        }
    } restore{*this, disabled, previous};
    Show();
    while (modalResult_ == mrNone) {
        Application->HandleMessage();
        if (Application->Terminated()) modalResult_ = mrCancel;
        if (modalResult_ != mrNone) {
            // Closing a modal form asks the same questions as closing any form.
            TCloseAction action = TCloseAction::caHide;
            if (!CloseQuery()) action = TCloseAction::caNone;
            else DoClose(action);
            if (action == TCloseAction::caNone && !Application->Terminated()) modalResult_ = mrNone;
        }
    }
    return modalResult_;
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
    if (control == focusedControl_) return;
    TWinControl* old = focusedControl_;
    focusedControl_ = control;
    if (control) {
        activeControl_ = control;
        control->FreeNotification(this);
    }
    if (old) {
        old->Perform(CM_EXIT);
        if (old->OnExit) old->OnExit(old);
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
    if (control) {
        control->Perform(CM_ENTER);
        if (control->OnEnter) control->OnEnter(control);
    }
}

void TCustomForm::FocusControl(TWinControl* control) {
    if (control && control->CanFocus()) control->SetFocus();
}

bool TCustomForm::IsShortCut(TMessage& m) {
    return menu_ && menu_->IsShortCut(m);
}

void TCustomForm::DialogKey(TMessage& m) {
    if (GetKeyState(VK_MENU) < 0) return;
    switch (m.WParam) {
    case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
            SelectNext(focusedControl_, GetKeyState(VK_SHIFT) >= 0, true);
            m.Result = 1;
        }
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        if (focusedControl_ && focusedControl_->Parent()) {
            focusedControl_->Parent()->SelectNext(focusedControl_, m.WParam == VK_RIGHT || m.WParam == VK_DOWN,
                                                  false);
            m.Result = 1;
        }
        break;
    default:
        break;
    }
}

void TCustomForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case WM_COMMAND:
        if (m.LParam == 0 && HIWORD(m.WParam) <= 1) {
            const UINT command = LOWORD(m.WParam);
            if (ForEachMenu([&](TMenu& menu) { return menu.DispatchCommand(command); })) return;
        }
        break;
    case WM_MEASUREITEM:
        if (reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->CtlType == ODT_MENU) {
            auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
            if (ForEachMenu([&](TMenu& menu) { return menu.DispatchMeasureItem(measure); })) {
                m.Result = 1;
                return;
            }
        }
        break;
    case WM_DRAWITEM:
        if (reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->CtlType == ODT_MENU) {
            const auto& draw = *reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
            if (ForEachMenu([&](TMenu& menu) { return menu.DispatchDrawItem(draw); })) {
                m.Result = 1;
                return;
            }
        }
        break;
    case WM_INITMENUPOPUP:
        ForEachMenu([&](TMenu& menu) { return menu.DispatchPopup(reinterpret_cast<HMENU>(m.WParam)); });
        break;
    case WM_ACTIVATE:
        if (LOWORD(m.WParam) != WA_INACTIVE) {
            if (OnActivate) OnActivate(this);
        } else if (OnDeactivate) {
            OnDeactivate(this);
        }
        break;
    case WM_SETFOCUS:
        // The form passes the focus on to its active control.
        if (focusedControl_ && focusedControl_ != this && focusedControl_->CanFocus() &&
            focusedControl_->HandleAllocated()) {
            ::SetFocus(focusedControl_->WindowHandle());
            return;
        }
        if (activeControl_ && activeControl_->CanFocus()) {
            ::SetFocus(activeControl_->Handle());
            return;
        }
        break;
    case WM_SHOWWINDOW:
        if (m.WParam) {
            if (OnShow) OnShow(this);
        } else if (OnHide) {
            OnHide(this);
        }
        break;
    case WM_SIZE:
        TWinControl::WndProc(m);
        if (OnResize) OnResize(this);
        return;
    case CM_DIALOGKEY:
        DialogKey(m);
        if (m.Result) return;
        break;
    case CM_RELEASE:
        Free();  // the last use of this object
        return;
    case CM_MENUCHANGED:
        UpdateMenu();
        return;
    case CM_VISIBLECHANGED:
        if (!Parent()) {
            if (Visible()) {
                HWND wnd = Handle();
                if (!IsWindowVisible(wnd)) ShowWindow(wnd, SW_SHOWNORMAL);
            } else if (HandleAllocated()) {
                ShowWindow(WindowHandle(), SW_HIDE);
            }
            TControl::WndProc(m);
            return;
        }
        break;
    default:
        break;
    }
    TWinControl::WndProc(m);
}
