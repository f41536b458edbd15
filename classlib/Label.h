#pragma once
// Static text drawn on the parent's window (no window of its own).
#include "classlib/Alignment.h"
#include "classlib/Controls.h"

class TCustomLabel : public TGraphicControl {
    DECLARE_CLASS_INFO()
public:
    explicit TCustomLabel(TComponent* owner);

    // With AutoSize the label takes the size of its caption (keeping its
    // right edge when right-aligned); with WordWrap it keeps its width.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    // A transparent label leaves the parent's background under its text.
    bool Transparent() const { return (ControlStyle & csOpaque) == 0; }
    void SetTransparent(bool v);
    // "&x" underlines x and makes Alt+x focus FocusControl.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool v);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* control);

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;
    // Draws the caption into r on the canvas; with DT_CALCRECT measures it into r instead.
    void DoDrawText(RECT& r, UINT flags);
    void AdjustBounds();

private:
    bool autoSize_ = true;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
    DECLARE_CLASS_INFO()
public:
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};
