#include "classlib/SpeedButton.h"

#include "classlib/ButtonGlyph.h"

const TClassInfo& TSpeedButton::StaticClass() {
    static const TClassInfo info(
        L"TSpeedButton", &TGraphicControl::StaticClass(),
        {
            props::Integer(L"GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex),
            props::Boolean(L"AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp),
            props::Boolean(L"Down", &TSpeedButton::Down, &TSpeedButton::SetDown),
            props::Boolean(L"Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat),
            props::Object(L"Glyph", &TSpeedButton::Glyph),
            props::Integer(L"NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs),
            props::Enumeration(L"Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout, ButtonLayoutNames()),
            props::Integer(L"Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing),
            props::Integer(L"Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin),
        });
    return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 23, 22); }

void TSpeedButton::SetGroupIndex(int v) {
    groupIndex_ = v;
    if (v == 0) SetDown(false);
}

void TSpeedButton::SetAllowAllUp(bool v) { allowAllUp_ = v; }

void TSpeedButton::SetDown(bool v) {
    // Down only means something in a group; a button of a group goes up by
    // itself only when the group allows all up (else another goes down).
    if (groupIndex_ == 0) v = false;
    if (v == down_ || (down_ && !allowAllUp_)) return;
    down_ = v;
    if (v) ReleaseGroup();
    Invalidate();
}

void TSpeedButton::ReleaseGroup() {
    TWinControl* parent = Parent();
    if (!parent) return;
    for (int i = 0; i < parent->ControlCount(); ++i)
        if (auto* b = As<TSpeedButton>(parent->Controls(i)); b && b != this && b->groupIndex_ == groupIndex_ && b->down_) {
            b->down_ = false;
            b->Invalidate();
        }
}

void TSpeedButton::SetFlat(bool v) {
    flat_ = v;
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int v) {
    numGlyphs_ = v < 1 ? 1 : v > 4 ? 4 : v;
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout v) {
    layout_ = v;
    Invalidate();
}

void TSpeedButton::SetSpacing(int v) {
    spacing_ = v;
    Invalidate();
}

void TSpeedButton::SetMargin(int v) {
    margin_ = v;
    Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !Enabled()) return;
    pressed_ = true;
    Invalidate();
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !pressed_) return;
    pressed_ = false;
    const RECT r = ClientRect();
    const POINT p{x, y};
    if (groupIndex_ != 0 && PtInRect(&r, p)) {
        if (!down_) SetDown(true);
        else if (allowAllUp_) SetDown(false);
    }
    Invalidate();
}

void TSpeedButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_MOUSEENTER:
        hot_ = true;
        if (flat_) Invalidate();
        break;
    case CM_MOUSELEAVE:
        hot_ = false;
        if (flat_) Invalidate();
        break;
    default:
        break;
    }
    TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint() {
    TCanvas& canvas = *Canvas();
    HDC dc = canvas.Handle();
    RECT r = ClientRect();
    const bool sunk = pressed_ || down_;
    if (flat_) {
        if (sunk || (hot_ && Enabled())) DrawEdge(dc, &r, sunk ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    } else {
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (sunk ? DFCS_PUSHED : 0));
    }
    const std::wstring caption = Caption();
    SelectedObject font(dc, Font()->Handle());
    RECT text{0, 0, r.right - 4, r.bottom - 4};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_CALCRECT | DT_WORDBREAK);
    const TGlyphAndText at = LayoutGlyphAndText({r.right, r.bottom}, GlyphFrameSize(*glyph_, numGlyphs_),
                                                {text.right, text.bottom}, layout_, margin_, spacing_, false);
    const int shift = sunk ? 1 : 0;
    DrawGlyphFrame(dc, at.Glyph.x + shift, at.Glyph.y + shift, *glyph_, numGlyphs_,
                   down_ ? 4 : pressed_ ? 3 : !Enabled() ? 2 : 1);
    RECT place{at.Text.x + shift, at.Text.y + shift, at.Text.x + shift + text.right, at.Text.y + shift + text.bottom};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &place, DT_WORDBREAK | DT_CENTER);
}
