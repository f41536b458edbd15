#pragma once
// TSkinStatusBar: status bars, simple or in panels, each panel's face from
// the skin's StatusBarEdges element (lowered, raised, flat), the size grip
// from ExtraImages. Every bar composes in the one off-screen bitmap status
// bars share.
#include <string>
#include <vector>

#include "skin/controls/WinSubClass.h"

class TCustomStatusBar;

class TSkinStatusBar : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    struct TPanelLook {
        RECT Rect;
        int Frame;  // 1 lowered, 2 raised, 3 no bevel
        std::wstring Text;
        UINT Align;
        bool RightToLeft;
        int Part;  // index of the bar's part
    };
    std::vector<TPanelLook> PanelLooks(const RECT& rect, TCustomStatusBar* bar, bool simple) const;
    void DrawPanel(HDC dc, const TPanelLook& panel);
    void DrawSizeGrip(HDC dc, const RECT& rect);
};
