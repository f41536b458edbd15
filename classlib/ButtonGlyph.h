#pragma once
// A button glyph: a strip of NumGlyphs equal frames (up, disabled, pressed,
// down), drawn with the bitmap's own transparent colour.
#include <windows.h>

class TBitmap;

// The size of one frame; a count below 1 counts as 1.
SIZE GlyphFrameSize(const TBitmap& glyph, int numGlyphs);
// Frame index (1-based) at (x, y); a frame beyond the strip falls back to 1.
void DrawGlyphFrame(HDC dc, int x, int y, TBitmap& glyph, int numGlyphs, int index);
