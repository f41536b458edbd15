#include <array>

#include "core/SystemColours.h"

namespace {

// The Windows 2000 standard scheme, indexed by COLOR_* number.
constexpr std::array<TColor, 31> kClassicScheme = {
    MakeColour(212, 208, 200),  //  0 scroll bar
    MakeColour(58, 110, 165),   //  1 desktop
    MakeColour(10, 36, 106),    //  2 active caption
    MakeColour(128, 128, 128),  //  3 inactive caption
    MakeColour(212, 208, 200),  //  4 menu
    MakeColour(255, 255, 255),  //  5 window
    MakeColour(0, 0, 0),        //  6 window frame
    MakeColour(0, 0, 0),        //  7 menu text
    MakeColour(0, 0, 0),        //  8 window text
    MakeColour(255, 255, 255),  //  9 caption text
    MakeColour(212, 208, 200),  // 10 active border
    MakeColour(212, 208, 200),  // 11 inactive border
    MakeColour(128, 128, 128),  // 12 application workspace
    MakeColour(10, 36, 106),    // 13 highlight
    MakeColour(255, 255, 255),  // 14 highlight text
    MakeColour(212, 208, 200),  // 15 button face
    MakeColour(128, 128, 128),  // 16 button shadow
    MakeColour(128, 128, 128),  // 17 grey text
    MakeColour(0, 0, 0),        // 18 button text
    MakeColour(212, 208, 200),  // 19 inactive caption text
    MakeColour(255, 255, 255),  // 20 button highlight
    MakeColour(64, 64, 64),     // 21 3D dark shadow
    MakeColour(212, 208, 200),  // 22 3D light
    MakeColour(0, 0, 0),        // 23 tooltip text
    MakeColour(255, 255, 225),  // 24 tooltip background
    MakeColour(181, 181, 181),  // 25 alternate button face
    MakeColour(0, 0, 128),      // 26 hot-tracked item
    MakeColour(166, 202, 240),  // 27 active caption gradient
    MakeColour(192, 192, 192),  // 28 inactive caption gradient
    MakeColour(10, 36, 106),    // 29 menu highlight
    MakeColour(212, 208, 200),  // 30 menu bar
};

}  // namespace

TColor ColorToRGB(TColor colour) {
    if (colour >= 0) return colour;
    const unsigned index = static_cast<unsigned>(colour) & 0xFF;
    return index < kClassicScheme.size() ? kClassicScheme[index] : 0;
}
