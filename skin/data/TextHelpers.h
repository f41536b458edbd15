#pragma once
// Text conversion and output for the skin engine: the program keeps UTF-16
// text, which the Windows 9x family can only draw through the ANSI calls.
#include <windows.h>

#include <string>
#include <string_view>

#include "skin/data/WindowsPlatform.h"

// Converted with the system ANSI code page.
std::wstring AnsiToWide(std::string_view text);

// The whole text up to its terminator when count is -1, else its first
// count characters (none for a null pointer or another negative count).
std::wstring WideCopy(const wchar_t* text, int count);

// DrawText for UTF-16 text: DrawTextW when unicode, else the text converted
// to the ANSI code page and DrawTextA. Returns DrawText's result; rect
// receives the measured box with DT_CALCRECT.
int DrawTextAuto(HDC dc, std::wstring_view text, RECT& rect, UINT format, bool unicode = IsWindowsNT());
