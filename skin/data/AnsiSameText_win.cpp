#include "skin/data/AnsiSameText.h"

#include <climits>
#include <windows.h>

bool AnsiSameText(std::string_view a, std::string_view b) {
    // No shortcut on length: a locale-aware comparison may call strings of
    // different lengths equal.
    if (a.size() > INT_MAX || b.size() > INT_MAX) return false;
    if (a.empty() || b.empty()) return a.empty() && b.empty();
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                          static_cast<int>(a.size()), b.data(), static_cast<int>(b.size())) ==
           CSTR_EQUAL;
}
