#pragma once
// Hidden windows the class library keeps for its own work (the application
// window, timers, a popup menu's owner): one registration per class name,
// then a window of that class.
#include <windows.h>

#include "classlib/Handles.h"

// Registers className with proc once per process; later calls reuse it.
// Raises Exception when the class cannot be registered.
void EnsureWindowClass(const wchar_t* className, WNDPROC proc);
// Creates a window of a class made by EnsureWindowClass; lpCreateParams is param.
UniqueWindow CreateUtilityWindow(const wchar_t* className, WNDPROC proc, DWORD exStyle, DWORD style, HWND parent,
                                 void* param, const wchar_t* title = L"");
