#pragma once
// TSkinHeader: header controls (a list view's header too) drawn item by item
// from the skin's Headerbar element, the item under the mouse in its hot
// frame.
#include <vector>

#include "skin/controls/WinSubClass.h"

class TSkinHeader : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    using TSkinControl::TSkinControl;
    void Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) override;
    void AttachHandle(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

    int HotItem = -1;
    // The items of the last paint, each narrowed by 3 pixels on both sides,
    // for the hover test.
    std::vector<RECT> ItemRects;

private:
    bool HasElement() const;
    void DrawItemContent(HDC face, const RECT& size, int item, HIMAGELIST images);
};
