#include "classlib/ButtonLayout.h"

namespace {

// The along-axis and cross-axis parts of a size.
struct TAxes {
    LONG along, across;
};
TAxes Split(SIZE s, bool horizontal) { return horizontal ? TAxes{s.cx, s.cy} : TAxes{s.cy, s.cx}; }
POINT Join(LONG along, LONG across, bool horizontal) { return horizontal ? POINT{along, across} : POINT{across, along}; }

}  // namespace

TGlyphAndText LayoutGlyphAndText(SIZE client, SIZE glyphSize, SIZE textSize, TButtonLayout layout, int margin,
                                 int spacing, bool centred) {
    const bool horizontal = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
    const TAxes c = Split(client, horizontal), g = Split(glyphSize, horizontal), t = Split(textSize, horizontal);
    const bool hasGlyph = glyphSize.cx > 0 && glyphSize.cy > 0;
    const bool hasText = textSize.cx > 0 && textSize.cy > 0;
    if (!hasGlyph || !hasText) spacing = 0;
    if (margin == -1 || centred) {
        if (spacing == -1) margin = spacing = (c.along - (g.along + t.along)) / 3;
        else margin = (c.along - (g.along + spacing + t.along) + 1) / 2;
    } else if (spacing == -1) {
        spacing = (c.along - margin - g.along - t.along) / 2;
    }
    LONG glyphAlong = 0, textAlong = 0;
    if (layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphTop) {
        glyphAlong = margin;
        textAlong = margin + g.along + spacing;
    } else {
        glyphAlong = c.along - margin - g.along;
        textAlong = glyphAlong - spacing - t.along;
    }
    TGlyphAndText r;
    r.Glyph = Join(glyphAlong, (c.across - g.across + 1) / 2, horizontal);
    r.Text = Join(textAlong, (c.across - t.across + 1) / 2, horizontal);
    r.Margin = margin;
    r.Spacing = spacing;
    return r;
}
