#include "core/SystemColours.h"

#include <windows.h>

TColor ColorToRGB(TColor colour) {
    if (colour >= 0) return colour;
    // GetSysColor answers 0 for an index it does not know.
    return static_cast<TColor>(GetSysColor(colour & 0xFF));
}
