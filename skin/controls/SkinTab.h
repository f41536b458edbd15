#pragma once
// TSkinTab: tab controls and page controls (and foreign "SysTabControl32"
// windows) drawn from the skin's Tabs element: the tab strip on any of the
// four sides, the pane around the display area, and on a page control
// tagged for it a close box on every tab.
#include <vector>

#include "classlib/Bitmap.h"
#include "skin/controls/WinSubClass.h"

class TSkinTab : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    static constexpr int kCloseBoxTag = 7777;

    using TSkinControl::TSkinControl;
    void Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) override;
    void AttachHandle(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
    void SkinChanged() override;

    // One per tab of the last paint, window co-ordinates.
    std::vector<RECT> CloseRects;
    // 0 top, 1 bottom, 2 left, 3 right.
    int TabPosition = 0;
    TBitmap TabBitmap;
    TBitmap PaneBitmap;
    TBitmap StripBitmap;
    // The painter of the scroll arrows ("msctls_updown32" child), once found.
    TSkinControl* Scroller = nullptr;
    bool CloseBoxes = false;

private:
    void PrepareBitmaps();
    // The arrows child, or null; attaches the scroller painter once.
    HWND FindScroller();
    void AttachedCommon();
    void DrawStrip(HDC dc, const RECT& rect, const RECT& display);
    void DrawItem(HDC strip, int index, const RECT& face, int frame, HIMAGELIST images);
    void AskToClose(int index);
};
