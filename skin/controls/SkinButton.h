#pragma once
// TSkinButton: paints a push button entirely from the skin's Buttons
// faces and clicks it itself, so the system button never captures the
// mouse. The bit, menu and speed buttons reuse its face and caption work.
#include <windows.h>

#include <string>

#include "classlib/Bitmap.h"
#include "skin/controls/WinSubClass.h"

class TDataSkinButton;

// Frames of the Buttons element, numbered from 1.
enum TButtonFace : int { bfNormal = 1, bfPressed = 2, bfDisabled = 3, bfHot = 4, bfFocused = 5 };

// A button or box shows its parent's background: its Tag is 5555 or the
// skin asks for transparent controls.
bool TransparentByTagOrSkin(const TControl* control, const TSkinData* skinData);

// The face of a push button: focus, then pressed or hot; disabled wins.
int PushButtonFace(bool focused, bool pressed, bool hot, bool enabled);

class TSkinButton : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TSkinButton(TComponent* owner);

    void Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) override;
    void AttachHandle(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

    bool Focused = false;
    bool Transparent = false;

protected:
    // The Buttons element when it holds every face this painter draws;
    // otherwise nullptr and the control keeps its own look.
    TDataSkinButton* Faces() const;
    virtual int FacesNeeded() const { return bfFocused; }
    virtual int FaceIndex() const;
    std::wstring CaptionText() const;
    bool RightToLeft() const;
    // Composes background and face into the off-screen bitmap (the size of
    // rect) and returns its DC; the caller adds the content and calls Present.
    HDC ComposeFace(const RECT& rect, int face, bool drawFace = true);
    void Present(HDC dc, const RECT& rect);
    // Selects the caption font and sets the caption colour for the face.
    class CaptionStyle {
    public:
        CaptionStyle(TSkinButton& painter, HDC dc, int face);
        CaptionStyle(const CaptionStyle&) = delete;
        CaptionStyle& operator=(const CaptionStyle&) = delete;

    private:
        SelectedObject font_;
    };
    void ClickControl();
    // Mouse handling shared with the painters that take over the button.
    void TrackHot();

    TBitmap Offscreen;

private:
    void SetTransparentFlag();
};
