#pragma once
// TSkinBitButton: a push button face with the control's glyph and caption
// laid out as the class library's bit button lays them out.
#include "classlib/ButtonLayout.h"
#include "skin/controls/SkinButton.h"

class TSkinBitButton : public TSkinButton {
    DECLARE_CLASS_INFO()
public:
    using TSkinButton::TSkinButton;
    void Draw(HDC dc, const RECT& rect) override;

    // The published property holding the glyph; empty: "Glyph".
    std::wstring GlyphProperty;

protected:
    // Draws the glyph (frame glyphFrame: 1 up, 2 disabled, 3 pressed, 4 down)
    // and the caption into local, a rectangle at the origin.
    void DrawGlyphAndCaption(HDC dc, const RECT& local, int glyphFrame, int face);
    TControl* Target() const { return RedrawTarget ? RedrawTarget : Control; }
};

// The layout a control publishes ("Layout", "Margin", "Spacing", and
// "Alignment" taCenter for a centred pair); absent values count as -1.
TButtonLayout PublishedLayout(const TObject& control);
