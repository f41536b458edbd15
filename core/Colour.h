#pragma once
// TColor: red in the low byte, green in the second, blue in the third. A
// negative value refers to a Windows system colour whose index is in the low
// byte (0x8000000F is the button face); ColorToRGB resolves it.
#include <cstdint>

using TColor = std::int32_t;

constexpr TColor MakeColour(int r, int g, int b) {
    return TColor((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16);
}

constexpr int RedOf(TColor c) { return c & 0xFF; }
constexpr int GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(TColor c) { return (c >> 16) & 0xFF; }
