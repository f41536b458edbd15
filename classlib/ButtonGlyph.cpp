#include "classlib/ButtonGlyph.h"

#include <algorithm>

#include "classlib/Bitmap.h"

SIZE GlyphFrameSize(const TBitmap& glyph, int numGlyphs) {
    if (glyph.Empty()) return {0, 0};
    return {glyph.Width() / std::max(numGlyphs, 1), glyph.Height()};
}

void DrawGlyphFrame(HDC dc, int x, int y, TBitmap& glyph, int numGlyphs, int index) {
    const SIZE size = GlyphFrameSize(glyph, numGlyphs);
    if (size.cx <= 0 || size.cy <= 0) return;
    if (index < 1 || index > std::max(numGlyphs, 1)) index = 1;
    const COLORREF key = ColorToRGB(glyph.TransparentColor());
    TransparentBlt(dc, x, y, size.cx, size.cy, glyph.Canvas()->Handle(), (index - 1) * size.cx, 0, size.cx, size.cy,
                   key);
}
