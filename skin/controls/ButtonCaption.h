#pragma once
// The caption of a skinned push-style button: "||" breaks it into two
// lines, it is centred vertically in the face (less a 2-pixel border) and
// optionally framed by a focus rectangle.
#include <windows.h>

#include <string>

// Every "||" in caption becomes a line break.
std::wstring TwoLineCaption(std::wstring caption);

// alignment: DT_LEFT, DT_CENTER or DT_RIGHT; rtl adds DT_RTLREADING.
void DrawButtonCaption(HDC dc, const std::wstring& caption, RECT rect, UINT alignment, bool rtl, bool focusRect);
