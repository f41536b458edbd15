#pragma once
// The element drawing routines the skin loader uses to build the derived
// combo-box strips and the toolbar gradient, declared here until the drawing
// unit's own header is on this branch.
#include <windows.h>

#include "classlib/Bitmap.h"
#include "core/Colour.h"

void DrawElement(HDC dc, const RECT& rect, TBitmap& bitmap, bool vertical, bool tile, bool transparent, int frameCount,
                 int frameIndex, const RECT& margins);
void DrawFrameCentred(HDC dc, const RECT& rect, TBitmap& bitmap, bool transparent, int frameCount, int frameIndex);
void GradientFill(HDC dc, const RECT& rect, TColor c1, bool vertical, TColor c2);
