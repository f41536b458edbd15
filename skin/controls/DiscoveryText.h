#pragma once
// Class-name helpers of control discovery (names compare in ASCII case only,
// core/AsciiCase.h, as the class names of the class library and of Windows are ASCII).
#include <windows.h>

#include <string>
#include <string_view>

#include "core/AsciiCase.h"

// The window's class name as registered.
std::wstring WindowClassName(HWND window);
