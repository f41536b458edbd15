#pragma once
#include <windows.h>

#include <string>

namespace loopback {

// Shows the stand-in for a recogniser set-up dialog (the title, a line naming
// the UI type, OK) modally over parent; returns when it is closed.
void ShowUIDialog(HWND parent, const std::wstring& title, const std::wstring& typeOfUI);

}  // namespace loopback
