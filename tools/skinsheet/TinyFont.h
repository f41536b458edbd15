#pragma once
// A 5 x 7 pixel font for labels on the contact sheet: digits, capitals (small
// letters print as capitals) and the punctuation skin names and labels use.
#include <string_view>

#include "core/Colour.h"
#include "tools/skingen/ArtImage.h"

inline constexpr int kTinyFontAdvance = 6;  // 5 pixels and a gap
inline constexpr int kTinyFontHeight = 7;

// Draws text with its top-left corner at (x, y), each font pixel a square of
// scale pixels; characters without a glyph print as '?'. Returns the x after it.
int DrawTinyText(TArtImage& image, int x, int y, std::string_view text, TColor colour, int scale = 1);
int TinyTextWidth(std::string_view text, int scale = 1);
