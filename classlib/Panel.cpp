#include "classlib/Panel.h"

#include <algorithm>

#include "classlib/Handles.h"

namespace {

std::vector<std::wstring_view> BevelNames() { return {L"bvNone", L"bvLowered", L"bvRaised", L"bvSpace"}; }

// One bevel of width pixels just inside r, which shrinks past it.
void DrawBevel(HDC dc, RECT& r, TPanelBevel bevel, int width) {
    if (bevel == TPanelBevel::bvNone) return;
    for (int i = 0; i < width; ++i) {
        if (bevel != TPanelBevel::bvSpace) {
            RECT edge = r;
            DrawEdge(dc, &edge, bevel == TPanelBevel::bvLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        }
        InflateRect(&r, -1, -1);
    }
}

}  // namespace

const TClassInfo& TCustomPanel::StaticClass() {
    static const TClassInfo info(
        L"TCustomPanel", &TCustomControl::StaticClass(),
        {
            props::Enumeration(L"BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, BevelNames()),
            props::Enumeration(L"BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, BevelNames()),
            props::Integer(L"BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth),
            props::Enumeration(L"Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment, AlignmentNames()),
        });
    return info;
}

const TClassInfo& TPanel::StaticClass() {
    static const TClassInfo info(L"TPanel", &TCustomPanel::StaticClass());
    return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque;
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelOuter(TPanelBevel v) {
    if (v == bevelOuter_) return;
    bevelOuter_ = v;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel v) {
    if (v == bevelInner_) return;
    bevelInner_ = v;
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int v) {
    v = std::max(v, 1);
    if (v == bevelWidth_) return;
    bevelWidth_ = v;
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment v) {
    if (v == alignment_) return;
    alignment_ = v;
    Invalidate();
}

void TCustomPanel::WndProc(TMessage& m) {
    // The caption is painted, not kept by a window class that would redraw it.
    if (m.Msg == WM_SETTEXT || m.Msg == CM_COLORCHANGED || m.Msg == CM_FONTCHANGED) Invalidate();
    TCustomControl::WndProc(m);
}

void TCustomPanel::Paint() {
    HDC dc = Canvas()->Handle();
    RECT r = ClientRect();
    Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas()->FillRect(r);
    DrawBevel(dc, r, bevelOuter_, bevelWidth_);
    DrawBevel(dc, r, bevelInner_, bevelWidth_);
    const std::wstring caption = Caption();
    if (caption.empty()) return;
    Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
    Canvas()->DrawText(caption, r, AlignmentToDrawText(alignment_) | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
}
