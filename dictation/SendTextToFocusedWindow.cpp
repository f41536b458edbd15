#include "dictation/SendTextToFocusedWindow.h"

TLeadByteRanges SystemLeadByteRanges() {
    TLeadByteRanges ranges;
    CPINFO info{};
    if (GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1)
        for (int i = 0; i + 1 < MAX_LEADBYTES && (info.LeadByte[i] || info.LeadByte[i + 1]); i += 2)
            ranges.AddRange(info.LeadByte[i], info.LeadByte[i + 1]);
    return ranges;
}

namespace {

class TSystemTextDelivery final : public TTextDeliveryPlatform {
public:
    HWND ForegroundWindow() override { return GetForegroundWindow(); }
    DWORD WindowThread(HWND wnd) override { return GetWindowThreadProcessId(wnd, nullptr); }
    DWORD CurrentThread() override { return GetCurrentThreadId(); }
    bool AttachInput(DWORD self, DWORD target, bool attach) override {
        return AttachThreadInput(self, target, attach) != FALSE;
    }
    HWND FocusedWindow() override { return GetFocus(); }
    // The ANSI post: the system turns a double-byte wParam into the right
    // character for a Unicode window.
    void Post(HWND wnd, std::uint16_t code) override { PostMessageA(wnd, WM_IME_CHAR, code, 0); }
};

}  // namespace

TTextDeliveryPlatform& SystemTextDelivery() {
    static TSystemTextDelivery platform;
    return platform;
}

void SendTextToFocusedWindow(const std::string& text, TTextDeliveryPlatform& platform) {
    const HWND front = platform.ForegroundWindow();
    const DWORD target = front ? platform.WindowThread(front) : 0;
    if (!target) return;
    const DWORD self = platform.CurrentThread();
    // Another thread's focus can be read only while attached to its input;
    // unattached, GetFocus would name a control of this program instead.
    const bool attached = target != self && platform.AttachInput(self, target, true);
    if (target != self && !attached) return;
    // A null window would post to this thread's own queue.
    if (HWND focus = platform.FocusedWindow())
        for (std::uint16_t code : ImeCharCodes(text, SystemLeadByteRanges())) platform.Post(focus, code);
    if (attached) platform.AttachInput(self, target, false);
}
