#pragma once
// Class-name helpers of control discovery: names compare in ASCII case only,
// as the class names of the class library and of Windows are ASCII.
#include <windows.h>

#include <string>
#include <string_view>

std::wstring LowerAscii(std::wstring_view text);
std::wstring UpperAscii(std::wstring_view text);
// The window's class name as registered.
std::wstring WindowClassName(HWND window);
