#pragma once
// TSkinScrollbar: any control with window scroll bars (memos, list boxes,
// tree views, grids, scroll boxes, rich edits). Each bar is covered by a
// TWScrollbar overlay kept in place as the control moves, resizes, scrolls
// and shows or hides its bars; a two-pixel border replaces the control's
// own when it has one.
#include "skin/controls/WinSubClass.h"

class TWScrollbar;

class TSkinScrollbar : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    using TSkinControl::TSkinControl;
    ~TSkinScrollbar() override;
    void Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) override;
    virtual void AttachScroll(TControl* control, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas);
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
    void Detach() override;
    void PaintingSwitched() override;

    TWScrollbar* HorzBar = nullptr;
    TWScrollbar* VertBar = nullptr;
    bool Border = false;
    TColor SavedFixedColour = 0;
    bool FixedColourTaken = false;

protected:
    void PlaceBars();
    void HideBars();
    void FreeBars();
    // The part a scroll code names is drawn highlighted, until the mouse
    // moves over the overlay: keyboard scrolling shows what it did.
    void ShowScrollCode(const TMessage& message);
    void DrawBorder(HDC dc) const;
    // Fills the square between two shown bars, where neither overlay reaches.
    void FillCorner(HDC dc) const;
};
