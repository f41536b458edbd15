#include "Notepad.h"

#include "Support.h"

namespace e2e {

bool Notepad::Start() {
    if (!process_.Start(L"notepad.exe")) return false;
    WaitUntil([&] {
        top_ = TopWindow(process_.Id(), L"Notepad");
        edit_ = top_ ? FindWindowExW(top_, nullptr, L"Edit", nullptr) : nullptr;
        return edit_ && IsWindowVisible(top_);
    }, 20000);
    return edit_ != nullptr;
}

std::wstring Notepad::Text() const { return edit_ ? WindowText(edit_) : std::wstring(); }

void Notepad::Clear() {
    if (!edit_) return;
    SendMessageTimeoutW(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), SMTO_ABORTIFHUNG, 2000, nullptr);
}

bool Notepad::BringToFront() {
    if (!top_) return false;
    for (int attempt = 0; attempt < 5; ++attempt) {
        SetForegroundWindow(top_);
        if (WaitUntil([&] { return GetForegroundWindow() == top_; }, 500)) return true;
    }
    return false;
}

bool Notepad::WaitForText(const std::wstring& expected, DWORD timeoutMs, std::wstring* last) const {
    std::wstring text;
    const bool ok = WaitUntil([&] {
        text = Text();
        return text == expected;
    }, timeoutMs, 50);
    if (last) *last = text;
    return ok;
}

void Notepad::Close() {
    if (top_ && process_.Running()) {
        SendMessageTimeoutW(edit_, EM_SETMODIFY, FALSE, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
        PostMessageW(top_, WM_CLOSE, 0, 0);
        process_.WaitExit(5000);
    }
    process_.Kill();
    top_ = edit_ = nullptr;
}

}  // namespace e2e
