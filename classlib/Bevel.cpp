#include "classlib/Bevel.h"

#include <utility>

#include "classlib/Graphics.h"

const TClassInfo& TBevel::StaticClass() {
    static const TClassInfo info(
        L"TBevel", &TGraphicControl::StaticClass(),
        {
            props::Enumeration(L"Shape", &TBevel::Shape, &TBevel::SetShape,
                               {L"bsBox", L"bsFrame", L"bsTopLine", L"bsBottomLine", L"bsLeftLine", L"bsRightLine",
                                L"bsSpacer"}),
            props::Enumeration(L"Style", &TBevel::Style, &TBevel::SetStyle, {L"bsLowered", L"bsRaised"}),
        });
    return info;
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape v) {
    if (v == shape_) return;
    shape_ = v;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle v) {
    if (v == style_) return;
    style_ = v;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas& canvas = *Canvas();
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetStyle(TPenStyle::psSolid);
    // Lowered: the shadow on the top and left, the highlight on the bottom and right.
    TColor dark = clBtnShadow, light = clBtnHighlight;
    if (style_ == TBevelStyle::bsRaised) std::swap(dark, light);
    const int w = Width(), h = Height();

    auto line = [&](TColor c, int x1, int y1, int x2, int y2) {
        canvas.Pen()->SetColor(c);
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    // Top-left edges in the first colour, bottom-right in the second.
    auto box = [&](TColor topLeft, TColor bottomRight, RECT r) {
        canvas.Pen()->SetColor(topLeft);
        canvas.MoveTo(r.left, r.bottom);
        canvas.LineTo(r.left, r.top);
        canvas.LineTo(r.right, r.top);
        canvas.Pen()->SetColor(bottomRight);
        canvas.LineTo(r.right, r.bottom);
        canvas.LineTo(r.left, r.bottom);
    };

    switch (shape_) {
    case TBevelShape::bsBox:
        box(dark, light, {0, 0, w - 1, h - 1});
        break;
    case TBevelShape::bsFrame:
        // Two nested boxes make an etched (or embossed) frame.
        box(light, light, {1, 1, w - 1, h - 1});
        box(dark, dark, {0, 0, w - 2, h - 2});
        break;
    case TBevelShape::bsTopLine:
        line(dark, 0, 0, w, 0);
        line(light, 0, 1, w, 1);
        break;
    case TBevelShape::bsBottomLine:
        line(dark, 0, h - 2, w, h - 2);
        line(light, 0, h - 1, w, h - 1);
        break;
    case TBevelShape::bsLeftLine:
        line(dark, 0, 0, 0, h);
        line(light, 1, 0, 1, h);
        break;
    case TBevelShape::bsRightLine:
        line(dark, w - 2, 0, w - 2, h);
        line(light, w - 1, 0, w - 1, h);
        break;
    case TBevelShape::bsSpacer:
        break;
    }
}
