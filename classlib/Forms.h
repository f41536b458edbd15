#pragma once
// Forms, the application object and the screen.
//
// A form is a top-level TWinControl registered under its own class name. It
// knows its focused control, its default and cancel buttons (through
// CM_DIALOGKEY), its main menu (shortcuts work wherever the focus is inside
// the form) and how to run modally. The application object runs the message
// loop, routes key messages to the class library first (CN_KEYDOWN, ...),
// tracks the control under the mouse (CM_MOUSEENTER/CM_MOUSELEAVE), shows
// hints and reports exceptions that reach a window procedure.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/Menus.h"

class TIcon;
class TLayoutReader;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : std::uint32_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum class TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter,
    poOwnerFormCenter
};
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
                       mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

class TCustomForm : public TWinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle v);
    std::uint32_t BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(std::uint32_t v);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition v) { position_ = v; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle v);
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    TIcon* Icon() const { return icon_.get(); }
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool v) { keyPreview_ = v; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult v) { modalResult_ = v; }
    bool IsModal() const { return modal_; }

    void Show();
    void Hide() { SetVisible(false); }
    TModalResult ShowModal();
    void Close();
    // Frees the form once the messages already queued for it are handled.
    void Release();
    bool CloseQuery();

    // Called by a control of this form when it receives the focus.
    void SetFocusedControl(TWinControl* control);
    void FocusControl(TWinControl* control);
    // Runs the main menu item whose shortcut this key message is.
    virtual bool IsShortCut(TMessage& keyMessage);

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnResize;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    // Runs OnCreate (after the stored layout was read).
    virtual void DoCreate();
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void SetParent(TWinControl* parent) override;
    bool Showing() const override;
    // Before the window exists, the client area the window's styles will leave.
    RECT ClientRect() const override;
    // While a layout is read the client size waits for the menu and border
    // settings that follow it, and is applied in Loaded.
    void SetClientWidth(int v) override;
    void SetClientHeight(int v) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void CreateHandleDone() override;
    void DestroyWnd() override;
    void Loaded() override;
    virtual void DoClose(TCloseAction& action);

private:
    void PlaceOnScreen(TCreateParams& params) const;
    // Runs action on each menu of the form until one answers true.
    bool ForEachMenu(const std::function<bool(TMenu&)>& action);
    // Puts the main menu on the window (the CM_MENUCHANGED handler).
    void UpdateMenu();
    // Every menu-bar change goes through the window as CM_MENUCHANGED, so
    // that whoever subclassed the window (a skinned frame) sees it.
    void MenuChanged();
    void DialogKey(TMessage& message);

    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    std::uint32_t borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = TPosition::poDesigned;
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    TMainMenu* menu_ = nullptr;
    std::unique_ptr<TIcon> icon_;
    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    bool keyPreview_ = false;
    TModalResult modalResult_ = mrNone;
    bool modal_ = false;
    int pendingClientWidth_ = -1, pendingClientHeight_ = -1;
};

class TForm : public TCustomForm {
    DECLARE_CLASS_INFO()
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

class TScreen : public TComponent {
    DECLARE_CLASS_INFO()
public:
    explicit TScreen(TComponent* owner);
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const { return forms_.at(static_cast<std::size_t>(index)); }
    TCustomForm* ActiveForm() const;
    // The system's menu font (non-client metrics).
    TFont* MenuFont() const { return menuFont_.get(); }
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    int PixelsPerInch() const;

private:
    friend class TCustomForm;
    std::vector<TCustomForm*> forms_;
    std::unique_ptr<TFont> menuFont_;
};

class TApplication : public TComponent {
    DECLARE_CLASS_INFO()
public:
    TApplication();
    ~TApplication() override;

    // Joins COM as a single-threaded apartment and sets up common controls.
    void Initialize();
    // Creates a form owned by the application, reads its stored layout (the
    // resource named after its class, when there is one), runs Loaded and
    // OnCreate. The first form created becomes the main form.
    template <class T> T* CreateForm() {
        T* form = TComponent::Create<T>(this);
        FormCreated(*form);
        return form;
    }

    std::wstring Title() const { return title_; }
    void SetTitle(const std::wstring& title) { title_ = title; }
    TIcon* Icon() const { return icon_.get(); }
    TCustomForm* MainForm() const { return mainForm_; }
    // The hidden window of class "TApplication" that holds the icons.
    HWND Handle() const { return handle_.get(); }
    bool Terminated() const { return terminated_; }
    void Terminate();
    bool ShowMainForm = true;
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v);
    int HintPause = 500;
    int HintHidePause = 2500;

    void Run();
    void ProcessMessages();
    // Handles one message, or waits for one (running the idle work first).
    void HandleMessage();
    // Shows the current exception: the system message box with the stop icon
    // and OK, captioned with the title, the text ending in a full stop.
    void HandleException(TObject* sender);
    void ShowException(const std::string& message);
    std::function<void(TObject* sender, const std::exception& e)> OnException;
    // The shown message box's text ends in a full stop.
    static std::wstring WithFullStop(std::wstring text);

    // Re-checks which control is under the mouse (CM_MOUSEENTER/LEAVE, hints).
    void CheckMouseControl();
    TControl* MouseControl() const { return mouseControl_; }
    void CancelHint();
    // The hint shown for a control: its own, else its parents'.
    static std::wstring GetHint(const TControl* control);
    // The tooltip window that shows hints (for tests), or nullptr.
    HWND HintWindow() const { return hintWindow_.get(); }

    void Notification(TComponent* component, TOperation operation) override;

private:
    void FormCreated(TCustomForm& form);
    bool ProcessMessage(MSG& msg);
    bool IsKeyMsg(MSG& msg);
    void Idle();
    void ShowHintNow();
    static LRESULT CALLBACK AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

    std::wstring title_;
    std::unique_ptr<TIcon> icon_;
    TCustomForm* mainForm_ = nullptr;
    UniqueWindow handle_;
    UniqueWindow hintWindow_;
    bool terminated_ = false;
    bool showHint_ = true;
    bool comInitialized_ = false;
    TControl* mouseControl_ = nullptr;
    TControl* hintControl_ = nullptr;
    bool hintShowing_ = false;
    int handlingException_ = 0;
};

// The application object and the screen (one each per program).
inline TApplication* Application = nullptr;
inline TScreen* Screen = nullptr;

// The application title for an executable path: the file name without
// directory, cut at its first dot, every character after the first lower case.
std::wstring TitleFromExeName(const std::wstring& path);
