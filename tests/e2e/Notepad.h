#pragma once
// Wine's Notepad as the target application: its top-level window and the
// edit control that receives the typed text.
#include <windows.h>

#include <string>

#include "Process.h"

namespace e2e {

class Notepad {
public:
    ~Notepad() { Close(); }
    bool Start();  // and wait for its window and edit control
    HWND Window() const { return top_; }
    HWND Edit() const { return edit_; }
    DWORD ProcessId() const { return process_.Id(); }

    std::wstring Text() const;
    void Clear();
    // SetForegroundWindow, then whether GetForegroundWindow agrees.
    bool BringToFront();
    // Waits until the text is exactly the expected one; false (with the last
    // text read in *last) when it does not become that in time.
    bool WaitForText(const std::wstring& expected, DWORD timeoutMs, std::wstring* last = nullptr) const;
    // The text as unmodified first, so that no Save prompt can stop it.
    void Close();

private:
    ChildProcess process_;
    HWND top_ = nullptr;
    HWND edit_ = nullptr;
};

}  // namespace e2e
