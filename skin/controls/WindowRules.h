#pragma once
// The decision for a plain Win32 child window (of a dialog or other foreign
// window, or a size grip found by the window-creation hook): by its class
// name and style, first match wins. The painter is attached by handle.
#include <windows.h>

#include <string_view>

#include "skin/controls/PainterKind.h"

class TSkinData;

// lowerClass: the window class name in lower case.
TControlDecision DecideWindow(std::wstring_view lowerClass, LONG_PTR style, const TSkinData& skin);
