#pragma once
// Types a phrase into the control that has the keyboard focus in the
// foreground window of any application: one posted WM_IME_CHAR per character.
#include <windows.h>

#include <cstdint>
#include <string>

#include "dictation/ImeCharCodes.h"

// The lead-byte ranges of the system's ANSI code page (none when single-byte).
TLeadByteRanges SystemLeadByteRanges();

// The system calls that delivery makes; tests give their own.
class TTextDeliveryPlatform {
public:
    virtual ~TTextDeliveryPlatform() = default;
    virtual HWND ForegroundWindow() = 0;
    virtual DWORD WindowThread(HWND wnd) = 0;
    virtual DWORD CurrentThread() = 0;
    virtual bool AttachInput(DWORD self, DWORD target, bool attach) = 0;
    virtual HWND FocusedWindow() = 0;
    virtual void Post(HWND wnd, std::uint16_t code) = 0;
};

TTextDeliveryPlatform& SystemTextDelivery();

// text is in the system's ANSI code page. Attaches to the foreground window's
// input thread for the duration (always detaching again, also for an empty
// text), finds its focused control and posts to it; reports nothing. With no
// foreground window, no focused control, or no way to attach, nothing is
// typed: never into Quellory's own window by mistake.
void SendTextToFocusedWindow(const std::string& text, TTextDeliveryPlatform& platform = SystemTextDelivery());
