#pragma once
// Text helpers shared by the class library: the program works in UTF-16;
// stored layouts and the portable core speak UTF-8.
#include <string>
#include <string_view>

#include "classlib/Utf8.h"

// Case-insensitive comparison of identifiers (class, property and member names).
bool SameText(std::wstring_view a, std::wstring_view b);
std::wstring IntToStr(long long value);
