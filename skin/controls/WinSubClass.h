#pragma once
// TSkinControl: the base of every control painter. A painter takes over its
// control's message stream (the control's WindowProc for a class-library
// control, the window procedure for a bare window), lets the control do its
// own work, and paints over the result from the skin's elements.
#include <windows.h>

#include <cstdint>
#include <string>

#include "classlib/Component.h"
#include "classlib/Controls.h"
#include "classlib/WindowProcHook.h"
#include "classlib/WindowSubclass.h"
#include "core/Colour.h"

class TCanvas;
class TSkinData;
class TWinSkinForm;

class TSkinControl : public TComponent {
    DECLARE_CLASS_INFO()
public:
    static constexpr int kStateAttached = 1;
    static constexpr int kStateClosed = 6;
    // Mouse state bits.
    static constexpr std::uint8_t kMouseHot = 1;
    static constexpr std::uint8_t kMousePressed = 2;

    // owner: the painted control, or the skinned form for a bare window.
    explicit TSkinControl(TComponent* owner);
    ~TSkinControl() override;

    // Attach to the owner control (once); colourFlag: while attached the
    // control's Color is the skin's ButtonFaceColour.
    virtual void Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas);
    // Attach to a window that has no class-library control.
    virtual void AttachHandle(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas);
    // Gives back what attaching changed (the colour); the message path is
    // restored by destruction.
    virtual void Detach();
    // True: pass the message on to the control, then AfterMessage.
    virtual bool BeforeMessage(TMessage& message);
    virtual void AfterMessage(TMessage& message);
    // Paints over the whole window rectangle; dc null: the window DC.
    virtual void PaintFrame(HDC dc);
    virtual void Draw(HDC dc, const RECT& rect);
    virtual void SkinChanged();
    // After SKM_ENABLESKIN has turned painting on or off (PaintingOn).
    virtual void PaintingSwitched();
    virtual bool CanSkin() { return true; }

    void CallPrevious(TMessage& message);
    void Repaint();
    void FillFace(HDC dc, const RECT& rect) const;
    void FillParentColour(HDC dc, const RECT& rect) const;
    LONG_PTR GetWindowLong(int index) const;
    void DrawFocusAroundText(HDC dc, UINT format, const RECT& rect) const;
    void MouseDownFromMessage(const TMessage& message);

    std::uint8_t MouseState = 0;
    TCanvas* Canvas = nullptr;  // lent by the skinned form
    bool EnabledLook = false;
    std::wstring WindowText;
    bool PaintingOn = true;
    bool UnicodeWindow = false;
    TSkinData* SkinData = nullptr;
    HWND Window = nullptr;
    TControl* Control = nullptr;
    RECT WindowRect{};
    TControl* RedrawTarget = nullptr;
    bool ColourFlag = false;
    TColor SavedColour = 0;
    bool Attached = false;
    int State = 0;
    TWinSkinForm* SkinnedForm = nullptr;
    int Mode = 0;

protected:
    // The painter's message procedure: every message of the window.
    void MessageProc(TMessage& message);
    // Stores what Attach is given; the control is the owner, if a control.
    void Bind(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas);
    // Answers WM_PAINT or WM_PRINTCLIENT itself: Draw over the whole window
    // on the DC in wParam, else between BeginPaint and EndPaint.
    void OwnerPaint(TMessage& message);
    // Joins the form's painter list (once).
    void JoinForm(TWinSkinForm* form);
    // For painters whose Draw covers the whole window: WM_PAINT owner-painted,
    // WM_ERASEBKGND answered 1. True when the message was one of them and
    // is consumed.
    bool PaintsWholeWindow(TMessage& message);
    // With the colour flag: the control's colour saved, the skin's face colour given.
    void TakeControlColour();

private:
    TWindowProcHook hook_;  // the control's WindowProc, when attached to a control
    TWindowSubclass subclass_;
};

// Paints control's parent (background, then content) into dc, whose origin
// is the control's top-left corner: what shows under transparent content.
void PaintParentInto(TControl* control, HDC dc);
