#include "skin/data/OptionalEntryPoints.h"

namespace {

using GetScrollBarInfoFn = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
using TrackMouseEventFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);

template <class F> F Lookup(HMODULE module, const char* name) {
    if (!module) return nullptr;
    // Through void*: the pointer's real type is the one named by F.
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Holds user32 loaded for the program's run so the pointers stay valid.
class TUser32Entries {
public:
    TUser32Entries()
        : module_(LoadLibraryW(L"user32.dll")),
          getScrollBarInfo_(Lookup<GetScrollBarInfoFn>(module_, "GetScrollBarInfo")),
          trackMouseEvent_(Lookup<TrackMouseEventFn>(module_, "TrackMouseEvent")) {}
    ~TUser32Entries() {
        if (module_) FreeLibrary(module_);
    }
    TUser32Entries(const TUser32Entries&) = delete;
    TUser32Entries& operator=(const TUser32Entries&) = delete;

    GetScrollBarInfoFn GetScrollBarInfo() const { return getScrollBarInfo_; }
    TrackMouseEventFn TrackMouseEvent() const { return trackMouseEvent_; }

private:
    HMODULE module_;
    GetScrollBarInfoFn getScrollBarInfo_;
    TrackMouseEventFn trackMouseEvent_;
};

const TUser32Entries& Entries() {
    static const TUser32Entries entries;
    return entries;
}

}  // namespace

bool HasGetScrollBarInfo() { return Entries().GetScrollBarInfo() != nullptr; }
bool HasTrackMouseEvent() { return Entries().TrackMouseEvent() != nullptr; }

BOOL GetScrollBarInfoSafe(HWND window, LONG objectId, SCROLLBARINFO& info) {
    const auto f = Entries().GetScrollBarInfo();
    return f ? f(window, objectId, &info) : FALSE;
}

void TrackMouseLeave(HWND window) {
    const auto f = Entries().TrackMouseEvent();
    if (!f) return;
    TRACKMOUSEEVENT request{};
    request.cbSize = sizeof(request);  // 16 bytes on 32-bit Windows
    request.dwFlags = TME_LEAVE;
    request.hwndTrack = window;
    f(&request);
}
