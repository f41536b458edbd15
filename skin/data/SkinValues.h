#pragma once
// Conversions of the value types a skin definition uses: integers, colour
// triples ("236 233 216") and colours given as three R, G, B integer keys.
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/Colour.h"
#include "skin/data/IniIntegers.h"

class TQuickIni;

// A colour the skin leaves unset (the class library's "no colour").
constexpr TColor kUnsetColour = 0x1FFFFFFF;

// A colour triple: red, green, blue as decimal numbers separated by any
// non-digit characters.
TColor ColourTripleValue(std::string_view text, TColor defaultValue);

// Colour components: a colour only when all three are 0 or more.
TColor ColourFromComponents(std::int32_t r, std::int32_t g, std::int32_t b);

TColor ReadColourTriple(const TQuickIni& ini, std::string_view section, std::string_view key,
                        TColor defaultValue);
// Reads prefix + "R", "G" and "B" (default -1 each).
TColor ReadColourComponents(const TQuickIni& ini, std::string_view section,
                            std::string_view prefix);
