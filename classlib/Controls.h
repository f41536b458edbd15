#pragma once
// Controls. Every message a control receives, from Windows or from Perform,
// goes through its WindowProc: a replaceable method value that starts as the
// control's own WndProc. Whoever replaces it keeps the old value, forwards
// what it does not handle to it, and puts it back when done.
//
// Windowed controls (TWinControl) create their window on first use of
// Handle, under a window class named after their class ("TButton",
// superclassing "BUTTON"), and carry the window property named by the atom
// "ControlOfs<instance><thread>" pointing at the control, so that the
// control of any window can be found (FindControl).
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/Component.h"
#include "classlib/Keys.h"
#include "classlib/Messages.h"

class TWinControl;
class TCustomForm;
class TPopupMenu;

using TWndMethod = std::function<void(TMessage&)>;
enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, wchar_t& key)>;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Control style bits.
enum TControlStyleFlag : std::uint32_t {
    csAcceptsControls = 1,
    csCaptureMouse = 2,
    csClickEvents = 4,
    csOpaque = 8,
    csSetCaption = 16,
    csNoStdEvents = 32,
};

class TControl : public TComponent {
    DECLARE_CLASS_INFO()
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // The message path. WindowProc may be replaced; Perform goes through it.
    TWndMethod WindowProc;
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual void WndProc(TMessage& message);
    // Handles what WndProc does not; for windows, the Windows default procedure.
    virtual void DefaultHandler(TMessage& message);

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    virtual RECT ClientRect() const { return {0, 0, width_, height_}; }
    int ClientWidth() const { return ClientRect().right; }
    int ClientHeight() const { return ClientRect().bottom; }
    virtual void SetClientSize(int width, int height);
    virtual void SetClientWidth(int v) { SetClientSize(v, ClientHeight()); }
    virtual void SetClientHeight(int v) { SetClientSize(ClientWidth(), v); }
    virtual POINT ClientOrigin() const;
    POINT ClientToScreen(POINT p) const;
    POINT ScreenToClient(POINT p) const;
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible and every parent up to a shown window visible too.
    virtual bool Showing() const;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TFont* Font() const { return font_.get(); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);

    std::wstring Caption() const { return GetText(); }
    void SetCaption(const std::wstring& text) { SetText(text); }
    std::wstring Text() const { return GetText(); }
    void SetTextProp(const std::wstring& text) { SetText(text); }
    std::wstring Hint() const { return hint_; }
    void SetHint(const std::wstring& hint) { hint_ = hint; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool v);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);

    std::uint32_t ControlStyle = csCaptureMouse | csClickEvents | csSetCaption;

    virtual void Invalidate();
    virtual void Update() {}
    void Repaint();
    void BringToFront();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    virtual void Click();
    // The mouse-down handler (also re-issued by the skin engine's painters).
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);

    void Notification(TComponent* component, TOperation operation) override;

protected:
    virtual std::wstring GetText() const { return text_; }
    virtual void SetText(const std::wstring& text);
    // Called when a property that changes the look has changed.
    virtual void Changed() { Invalidate(); }
    void SetBoundsFields(int left, int top, int width, int height);
    void RequestAlign();
    std::wstring text_;

private:
    void FontChanged();
    void HandleMouse(TMessage& message);

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = TAlign::alNone;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_;
    bool parentColor_ = false;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    std::wstring hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TPopupMenu* popupMenu_ = nullptr;
    bool clicked_ = false;
    friend class TWinControl;
};

// Windowless controls paint on their parent's window (TWinControl::PaintControls).
class TGraphicControl : public TControl {
    DECLARE_CLASS_INFO()
public:
    explicit TGraphicControl(TComponent* owner);
    TCanvas* Canvas() const { return canvas_.get(); }
    // Paints into dc, whose origin is this control's top-left corner.
    void PaintOn(HDC dc);
    void Invalidate() override;
    void Update() override;

protected:
    virtual void Paint() {}
    void WndProc(TMessage& message) override;

private:
    std::unique_ptr<TCanvas> canvas_;
};

struct TCreateParams {
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    std::wstring WinClassName;  // the class registered for this control
    std::wstring SubClassName;  // the Windows class it superclasses, if any
    UINT ClassStyle = CS_DBLCLKS;
    HMENU Menu = nullptr;       // or the child id
};

class TWinControl : public TControl {
    DECLARE_CLASS_INFO()
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // Creates the window when first asked.
    HWND Handle();
    HWND WindowHandle() const { return handle_; }
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    void DestroyHandle();
    // Destroys and creates the window again, keeping the control's state.
    void RecreateWnd();
    // A window outside the class library to be the parent (no Parent set).
    HWND ParentWindow() const { return parentWindow_; }
    void SetParentWindow(HWND wnd) { parentWindow_ = wnd; }

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(static_cast<std::size_t>(index)); }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // The child control at a client point (windowless ones included).
    TControl* ControlAtPos(POINT p, bool allowDisabled = false) const;
    // Sends a message to every child control until one answers non-zero.
    void Broadcast(TMessage& message);
    // Tells every child control (a parent's colour, font or hint setting changed).
    void NotifyChildren(UINT msg);

    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v);
    // This control's windowed descendants in tab order, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop, bool checkParent) const;
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();

    TBrush* Brush() const { return brush_.get(); }
    RECT ClientRect() const override;
    POINT ClientOrigin() const override;
    void SetBounds(int left, int top, int width, int height) override;
    bool Showing() const override;
    void Invalidate() override;
    void Update() override;
    // Lays out the children that have an Align.
    virtual void AlignControls(RECT& rect);
    void Realign();

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    void DefaultHandler(TMessage& message) override;
    void WndProc(TMessage& message) override;
    // Paints the windowless children on dc (client coordinates).
    void PaintControls(HDC dc, TControl* first = nullptr);

    // The control of this thread's window wnd (what its control property
    // names), or nullptr.
    static TWinControl* FindControl(HWND wnd);
    // The atom naming the window property that points at a window's control.
    static ATOM ControlAtom();

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    // Runs after the window exists: children, font, text.
    virtual void CreateHandleDone() {}
    virtual void DestroyWnd();
    void CreateSubClass(TCreateParams& params, const wchar_t* windowsClass);
    void SetText(const std::wstring& text) override;
    std::wstring GetText() const override;
    // The key messages reflected by the message loop (CN_KEYDOWN, ...).
    virtual bool DoKeyDown(TMessage& message);
    virtual bool DoKeyPress(TMessage& message);
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyPress(wchar_t& key);
    bool IsMenuKey(TMessage& message);
    // Paints what Windows does not: the background and windowless children.
    virtual void PaintWindow(HDC dc);
    void PaintHandler(TMessage& message);
    WNDPROC defWndProc_ = DefWindowProcW;

private:
    static LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Attach(HWND wnd);
    void Detach();
    void UpdateShowing();
    void ReflectToChild(TMessage& message, HWND child);
    bool ForwardMouseToChild(TMessage& message);
    void CNKeyDown(TMessage& message);
    void CNChar(TMessage& message);

    HWND handle_ = nullptr;
    HWND parentWindow_ = nullptr;
    std::vector<TControl*> controls_;   // children, in z-order of insertion
    std::vector<TWinControl*> tabList_; // windowed children in tab order
    std::unique_ptr<TBrush> brush_;
    bool tabStop_ = false;
    bool creating_ = false;
    int aligning_ = 0;
    TControl* mouseCapture_ = nullptr;  // windowless child holding the mouse
    friend class TControl;
};

// A windowed control that paints itself through a canvas (Paint).
class TCustomControl : public TWinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TCustomControl(TComponent* owner);
    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;

private:
    std::unique_ptr<TCanvas> canvas_;
};

// The form a control sits on (walking up the parents), or nullptr.
TCustomForm* GetParentForm(const TControl* control);
// The class-library control of a window or of its nearest ancestor that has one.
TWinControl* FindVCLWindow(HWND wnd);
