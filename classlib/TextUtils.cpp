#include "classlib/TextUtils.h"

#include <windows.h>

bool SameText(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
               CSTR_EQUAL;
}

std::wstring IntToStr(long long value) { return std::to_wstring(value); }
