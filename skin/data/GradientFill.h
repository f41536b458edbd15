#pragma once
// Linear colour gradients painted one line per pixel row (vertical) or
// column (horizontal), with the ramps kept in the program's gradient cache.
#include <windows.h>

#include "core/Colour.h"

// Paints rect from c1 (first row or column) to c2; system-colour references
// are resolved. Only the lines inside the DC's clip box are painted.
void GradientFill(HDC dc, const RECT& rect, TColor c1, bool vertical, TColor c2);
