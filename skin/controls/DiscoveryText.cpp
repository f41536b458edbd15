#include "skin/controls/DiscoveryText.h"

#include <algorithm>

std::wstring WindowClassName(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, name + std::max(length, 0));
}
