#pragma once
// Types a phrase into the control that has the keyboard focus in the
// foreground window of any application: one posted WM_IME_CHAR per character.
#include <string>

#include "dictation/ImeCharCodes.h"

// The lead-byte ranges of the system's ANSI code page (none when single-byte).
TLeadByteRanges SystemLeadByteRanges();

// text is in the system's ANSI code page. Attaches to the foreground window's
// input thread for the duration (always detaching again, also for an empty
// text), finds its focused control and posts to it; reports nothing.
void SendTextToFocusedWindow(const std::string& text);
