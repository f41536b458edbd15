#pragma once
// User32 entry points that older systems lack, looked up by name once and
// reached only through these wrappers.
#include <windows.h>

bool HasGetScrollBarInfo();
bool HasTrackMouseEvent();
// GetScrollBarInfo's result; FALSE when the system has no such function.
BOOL GetScrollBarInfoSafe(HWND window, LONG objectId, SCROLLBARINFO& info);
// Asks for WM_MOUSELEAVE when the mouse leaves the window; nothing on
// systems without TrackMouseEvent.
void TrackMouseLeave(HWND window);
