#pragma once
// Resolving system-colour references. On Windows this asks GetSysColor; the
// native build answers with the classic Windows standard scheme, so that
// portable code and its tests see the colours a default desktop would show.
#include "core/Colour.h"

// A non-negative colour comes back unchanged; a negative one gives the
// system colour whose index is its low byte (0 for an unknown index).
TColor ColorToRGB(TColor colour);
