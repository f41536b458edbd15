#pragma once
// Which family of Windows the program runs on: transparent drawing and text
// output take a different path on the Windows 9x family.
#include <windows.h>

// GetVersion's high bit is set on every platform that is not Windows NT.
inline bool IsWindowsNT() { return (GetVersion() & 0x80000000u) == 0; }

// Windows NT before 5.0: menus there keep a few older ways.
inline bool IsWindowsNT4OrOlder() { return IsWindowsNT() && (GetVersion() & 0xFF) < 5; }
