#pragma once
// TSkinAdvPage: a page-control family of another vendor that draws its own
// tabs from two published bitmaps ("TabBackGround", "TabBackGroundActive");
// the painter gives it the skin's Tabs faces and skins its scroll arrows.
#include "skin/controls/WinSubClass.h"

class TSkinAdvPage : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    static constexpr int kImageWidth = 100;
    static constexpr int kImageHeight = 21;

    using TSkinControl::TSkinControl;
    void Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) override;
    void Detach() override;
    void Draw(HDC dc, const RECT& rect) override;
    void SkinChanged() override;

    // The painter of the "msctls_updown32" child, once found.
    TSkinControl* Scroller = nullptr;

private:
    void BuildImages();
};
