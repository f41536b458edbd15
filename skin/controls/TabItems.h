#pragma once
// What the tab painters share about a "SysTabControl32" window: its display
// area and the text, image and layout of one tab.
#include <windows.h>
#include <commctrl.h>

#include <string>

// 0 top, 1 bottom, 2 left, 3 right, from the window style.
int TabPositionOf(LONG_PTR style);

// The area under the tabs of a window whose rectangle is rect: the
// control's display area grown over the pane border, one pixel further
// toward the tabs.
RECT TabDisplayArea(HWND tabs, const RECT& rect, int position);

// Text and image index (-1: none) of a tab, through the W or A message.
std::wstring TabItemText(HWND tabs, bool unicode, int index, int& image);

// Image and text centred in face, the text in the DC's font and colour.
void DrawTabItemContent(HDC dc, const RECT& face, const std::wstring& text, HIMAGELIST images, int image);
