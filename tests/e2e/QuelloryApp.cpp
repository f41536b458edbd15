#include "QuelloryApp.h"

#include "Support.h"

namespace e2e {

bool QuelloryApp::Start() {
    main_ = nullptr;
    return process_.Start(L"\"" + exe_ + L"\"");
}

bool QuelloryApp::WaitForMainWindow(DWORD timeoutMs) {
    // The skin finishes setting the window up from a posted message, after it
    // shows: only once the program is idle do its menus answer the keyboard.
    return WaitUntil([&] {
        main_ = TopWindow(process_.Id(), L"TfrmContinuousDictation");
        return main_ && IsWindowVisible(main_);
    }, timeoutMs, 50) && process_.WaitIdle(timeoutMs);
}

HWND QuelloryApp::Button(const wchar_t* caption) const { return ChildWindow(main_, L"TButton", caption); }

void QuelloryApp::Click(const wchar_t* caption) const {
    // Posted: the click may open a modal box, which the caller then handles.
    if (HWND b = Button(caption)) PostMessageW(b, BM_CLICK, 0, 0);
}

void QuelloryApp::PressKey(WORD virtualKey) const {
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageW(main_, WM_KEYDOWN, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16));
    PostMessageW(main_, WM_KEYUP, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16) | (3LL << 30));
}

void QuelloryApp::RoundTrip() const {
    DWORD_PTR result = 0;
    if (main_) SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
}

bool QuelloryApp::ChooseMenuItem(wchar_t accelerator, int downs, std::wstring* why) const {
    auto fail = [&](const wchar_t* reason) {
        if (why) *why = reason;
        return false;
    };
    auto popupOpen = [&] {
        for (HWND w : TopWindows(process_.Id(), L"#32768"))
            if (IsWindowVisible(w)) return true;
        return false;
    };
    // As for a user, the menu answers only once the box or dialog before it
    // has gone and its modal loop has ended: until then the window is disabled.
    if (!WaitUntil([&] { return IsWindowEnabled(main_) && !popupOpen() && MessageBoxes().empty(); }, 10000))
        return fail(L"the main window stayed disabled or a box or popup stayed open");
    RoundTrip();
    PostMessageW(main_, WM_SYSCOMMAND, SC_KEYMENU, accelerator);
    if (!WaitUntil(popupOpen, 10000)) return fail(L"the popup did not open");
    for (int i = 0; i < downs; ++i) PostMessageW(main_, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageW(main_, WM_KEYDOWN, VK_RETURN, 1);
    if (!WaitUntil([&] { return !popupOpen(); }, 10000)) return fail(L"the popup did not close");
    return true;
}

std::vector<MessageBoxSeen> QuelloryApp::MessageBoxes() const {
    std::vector<MessageBoxSeen> boxes;
    for (const wchar_t* cls : {L"#32770", L"TMessageForm"})
        for (HWND w : TopWindows(process_.Id(), cls)) {
            if (!IsWindowVisible(w)) continue;
            boxes.push_back({w, WindowText(w), DialogText(w)});
        }
    return boxes;
}

HWND QuelloryApp::Dialog(const wchar_t* title) const {
    for (HWND w : TopWindows(process_.Id(), L"#32770", title))
        if (IsWindowVisible(w)) return w;
    return nullptr;
}

void QuelloryApp::CloseBox(HWND box) {
    // IDOK answers a message box and the recogniser's dialogs alike; WM_CLOSE
    // covers forms that take no commands.
    if (ClassName(box) == L"#32770")
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    else
        PostMessageW(box, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 3000);
}

std::wstring QuelloryApp::Folder() const {
    const size_t slash = exe_.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L".\\" : exe_.substr(0, slash) + L"\\";
}

bool QuelloryApp::MarkerExists(const wchar_t* name) const {
    return GetFileAttributesW((Folder() + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void QuelloryApp::DeleteMarkers() const {
    for (const wchar_t* name : {L"00.ini", L"01.ini", L"02.ini", L"03.ini"}) DeleteFileW((Folder() + name).c_str());
}

bool QuelloryApp::ReadRunValue(std::wstring& value) {
    return ReadRegString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", L"QLRVX", value);
}

bool QuelloryApp::Close() {
    if (!process_.Running()) {
        process_.Kill();
        return true;
    }
    bool ended = false;
    for (int attempt = 0; attempt < 3 && !ended; ++attempt) {
        for (const auto& box : MessageBoxes()) CloseBox(box.wnd);
        if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
        ended = process_.WaitExit(3000);
    }
    process_.Kill();
    main_ = nullptr;
    return ended;
}

}  // namespace e2e
