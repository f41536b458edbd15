#include "dictation/SendTextToFocusedWindow.h"

#include <windows.h>

TLeadByteRanges SystemLeadByteRanges() {
    TLeadByteRanges ranges;
    CPINFO info{};
    if (GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1)
        for (int i = 0; i + 1 < MAX_LEADBYTES && (info.LeadByte[i] || info.LeadByte[i + 1]); i += 2)
            ranges.AddRange(info.LeadByte[i], info.LeadByte[i + 1]);
    return ranges;
}

void SendTextToFocusedWindow(const std::string& text) {
    const DWORD target = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD self = GetCurrentThreadId();
    AttachThreadInput(self, target, TRUE);
    HWND focus = GetFocus();
    // The ANSI post: the system turns a double-byte wParam into the right
    // character for a Unicode window.
    for (std::uint16_t code : ImeCharCodes(text, SystemLeadByteRanges())) PostMessageA(focus, WM_IME_CHAR, code, 0);
    AttachThreadInput(self, target, FALSE);
}
