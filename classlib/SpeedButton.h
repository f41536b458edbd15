#pragma once
// Speed buttons: windowless buttons painted on the parent's window, with a
// glyph, an optional flat look, and GroupIndex groups in which at most one
// button is down (none when AllowAllUp).
#include <memory>

#include "classlib/Bitmap.h"
#include "classlib/ButtonLayout.h"
#include "classlib/Controls.h"

class TSpeedButton : public TGraphicControl {
    DECLARE_CLASS_INFO()
public:
    explicit TSpeedButton(TComponent* owner);

    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v);
    bool Down() const { return down_; }
    void SetDown(bool v);
    bool Flat() const { return flat_; }
    void SetFlat(bool v);
    TBitmap* Glyph() const { return glyph_.get(); }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int v);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout v);
    int Spacing() const { return spacing_; }
    void SetSpacing(int v);
    int Margin() const { return margin_; }
    void SetMargin(int v);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;

private:
    // The other buttons of the group let go when this one goes down.
    void ReleaseGroup();

    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool down_ = false;
    bool flat_ = false;
    std::unique_ptr<TBitmap> glyph_ = std::make_unique<TBitmap>();
    int numGlyphs_ = 1;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    int spacing_ = 4;
    int margin_ = -1;
    bool pressed_ = false;
    bool hot_ = false;
};
