#pragma once
// A colour as the class library stores it: red in the low byte, then green
// and blue; a negative value refers to a system colour by its index.
#include <cstdint>

using TColor = std::int32_t;

constexpr TColor MakeColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<TColor>(r | g << 8 | b << 16);
}
