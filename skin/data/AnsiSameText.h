#pragma once
// Case-insensitive equality of two ANSI (code page) strings, the way the
// platform compares text for the user: locale-aware on Windows, ASCII
// letters only elsewhere.
#include <string_view>

bool AnsiSameText(std::string_view a, std::string_view b);
