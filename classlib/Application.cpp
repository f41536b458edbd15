#include <objbase.h>

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/Icon.h"
#include "classlib/LayoutReader.h"
#include "classlib/UtilityWindow.h"

namespace {

constexpr UINT_PTR kHintShowTimer = 1;
constexpr UINT_PTR kHintHideTimer = 2;
constexpr wchar_t kAppClass[] = L"TApplication";

}  // namespace

std::wstring TitleFromExeName(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const auto dot = name.find(L'.');
    if (dot != std::wstring::npos) name.resize(dot);
    if (name.size() > 1) CharLowerBuffW(name.data() + 1, static_cast<DWORD>(name.size() - 1));
    return name;
}

// ---------------------------------------------------------------- TScreen

const TClassInfo& TScreen::StaticClass() {
    static const TClassInfo info(L"TScreen", &TComponent::StaticClass());
    return info;
}

TScreen::TScreen(TComponent* owner) : TComponent(owner), menuFont_(std::make_unique<TFont>()) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        menuFont_->SetLogFont(metrics.lfMenuFont);
}

TCustomForm* TScreen::ActiveForm() const {
    HWND active = GetActiveWindow();
    for (TCustomForm* f : forms_)
        if (f->HandleAllocated() && f->WindowHandle() == active) return f;
    return nullptr;
}

int TScreen::PixelsPerInch() const {
    WindowDC dc(nullptr);
    return GetDeviceCaps(dc.get(), LOGPIXELSY);
}

// ---------------------------------------------------------------- TApplication

const TClassInfo& TApplication::StaticClass() {
    static const TClassInfo info(L"TApplication", &TComponent::StaticClass());
    return info;
}

TApplication::TApplication() : TComponent(nullptr), icon_(std::make_unique<TIcon>()) {
    Application = this;
    Screen = TComponent::Create<TScreen>(this);
    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    title_ = TitleFromExeName(path);
}

TApplication::~TApplication() {
    // Forms first, while the application object is whole.
    for (int i = ComponentCount() - 1; i >= 0; --i)
        if (As<TCustomForm>(Components(i))) Components(i)->Free();
    mainForm_ = nullptr;
    DestroyComponents();
    Screen = nullptr;
    hintWindow_.reset();
    handle_.reset();
    if (comInitialized_) CoUninitialize();
    Application = nullptr;
}

void TApplication::Initialize() {
    if (!comInitialized_) comInitialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    if (handle_) return;
    // Hidden; it holds the application's icons and runs the hint timers.
    handle_ = CreateUtilityWindow(kAppClass, AppWndProc, 0,
                                  WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, nullptr,
                                  nullptr, title_.c_str());
}

LRESULT CALLBACK TApplication::AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!Application || Application->handle_.get() != wnd) return DefWindowProcW(wnd, msg, wParam, lParam);
    try {
        switch (msg) {
        case WM_TIMER:
            if (wParam == kHintShowTimer) Application->ShowHintNow();
            else if (wParam == kHintHideTimer) Application->CancelHint();
            return 0;
        case WM_GETICON:
            if (Application->icon_->Empty()) break;
            return reinterpret_cast<LRESULT>(
                wParam == ICON_BIG ? Application->icon_->Handle()
                                   : Application->icon_->HandleForSize(GetSystemMetrics(SM_CXSMICON),
                                                                       GetSystemMetrics(SM_CYSMICON)));
        default:
            break;
        }
    } catch (...) {
        Application->HandleException(Application);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

void TApplication::FormCreated(TCustomForm& form) {
    if (!mainForm_) mainForm_ = &form;
    ReadFormLayout(form);
    form.DoCreate();
}

void TApplication::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    PostQuitMessage(0);
}

void TApplication::SetShowHint(bool v) {
    showHint_ = v;
    if (!v) CancelHint();
}

void TApplication::Run() {
    if (mainForm_ && ShowMainForm) mainForm_->Show();
    while (!terminated_) HandleMessage();
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg)) {
        Idle();
        if (!terminated_) WaitMessage();
    }
}

void TApplication::Idle() { CheckMouseControl(); }

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        CancelHint();
        break;
    default:
        break;
    }
    if (IsKeyMsg(msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) CheckMouseControl();
    return true;
}

bool TApplication::IsKeyMsg(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    HWND wnd = msg.hwnd;
    if (!wnd) return false;
    // The class library sees the key first (shortcuts, dialog keys), as CN_KEYDOWN, ...
    if (!FindVCLWindow(wnd)) return false;
    HWND target = TWinControl::FindControl(wnd) ? wnd : FindVCLWindow(wnd)->WindowHandle();
    return SendMessageW(target, CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

std::wstring TApplication::WithFullStop(std::wstring text) {
    if (!text.empty() && text.back() != L'.') text += L'.';
    return text;
}

void TApplication::HandleException(TObject* sender) {
    std::string message = "Unknown error";
    const std::exception* error = nullptr;
    std::exception_ptr current = std::current_exception();
    try {
        if (current) std::rethrow_exception(current);
    } catch (const std::exception& e) {
        message = e.what();
        error = &e;
        if (OnException) {
            OnException(sender, e);
            return;
        }
    } catch (...) {
    }
    (void)error;
    ShowException(message);
}

void TApplication::ShowException(const std::string& message) {
    // A second error while the box is up is not shown on top of it.
    if (handlingException_) return;
    ++handlingException_;
    HWND owner = GetActiveWindow();
    if (!owner) owner = handle_.get();
    MessageBoxW(owner, WithFullStop(Utf8ToWide(message)).c_str(), title_.c_str(), MB_OK | MB_ICONSTOP);
    --handlingException_;
}

std::wstring TApplication::GetHint(const TControl* control) {
    for (const TControl* c = control; c; c = c->Parent())
        if (!c->Hint().empty()) return c->Hint();
    return {};
}

void TApplication::CheckMouseControl() {
    POINT p;
    if (!GetCursorPos(&p)) return;
    TControl* control = FindVCLWindow(WindowFromPoint(p));
    if (auto* wc = As<TWinControl>(control)) {
        TControl* child = wc->ControlAtPos(wc->ScreenToClient(p), true);
        if (child && !As<TWinControl>(child)) control = child;
    }
    if (control == mouseControl_) return;
    TControl* old = mouseControl_;
    mouseControl_ = control;
    if (control) control->FreeNotification(this);
    if (old) old->Perform(CM_MOUSELEAVE);
    if (control) control->Perform(CM_MOUSEENTER);
    CancelHint();
    if (control && showHint_ && control->ShowHint() && !GetHint(control).empty() && handle_) {
        hintControl_ = control;
        SetTimer(handle_.get(), kHintShowTimer, static_cast<UINT>(HintPause), nullptr);
    }
}

void TApplication::ShowHintNow() {
    KillTimer(handle_.get(), kHintShowTimer);
    if (!hintControl_ || hintControl_ != mouseControl_) return;
    const std::wstring text = GetHint(hintControl_);
    if (text.empty()) return;
    if (!hintWindow_) {
        hintWindow_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                          WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                          CW_USEDEFAULT, CW_USEDEFAULT, handle_.get(), nullptr,
                                          GetModuleHandleW(nullptr), nullptr));
        if (!hintWindow_) return;
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        ti.hwnd = handle_.get();
        ti.uId = 1;
        ti.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(hintWindow_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        SendMessageW(hintWindow_.get(), TTM_SETMAXTIPWIDTH, 0, 320);
    }
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = handle_.get();
    ti.uId = 1;
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(hintWindow_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    POINT p;
    GetCursorPos(&p);
    SendMessageW(hintWindow_.get(), TTM_TRACKPOSITION, 0, MAKELPARAM(p.x, p.y + 20));
    SendMessageW(hintWindow_.get(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    hintShowing_ = true;
    SetTimer(handle_.get(), kHintHideTimer, static_cast<UINT>(HintHidePause), nullptr);
}

void TApplication::CancelHint() {
    if (!handle_) return;
    KillTimer(handle_.get(), kHintShowTimer);
    KillTimer(handle_.get(), kHintHideTimer);
    if (hintShowing_ && hintWindow_) {
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = handle_.get();
        ti.uId = 1;
        SendMessageW(hintWindow_.get(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
    }
    hintShowing_ = false;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == mouseControl_) mouseControl_ = nullptr;
    if (component == hintControl_) hintControl_ = nullptr;
    if (component == mainForm_) mainForm_ = nullptr;
}
