#pragma once
// Quellory.exe as the driver sees it from outside: its main window, buttons,
// menus (through the keyboard: Wine gives no access to another process's
// menus), message boxes and the files it keeps beside itself.
#include <windows.h>

#include <string>
#include <vector>

#include "Process.h"

namespace e2e {

struct MessageBoxSeen {
    HWND wnd = nullptr;
    std::wstring title;
    std::wstring text;  // the static texts; empty for a form drawing its own
};

class QuelloryApp {
public:
    // File menu positions below "请读" (separators do not count).
    static constexpr int kAlwaysOnTopItem = 1;  // 最顶端
    static constexpr int kAutoRunItem = 3;      // 自动运行 (after 透明度)

    explicit QuelloryApp(std::wstring exePath) : exe_(std::move(exePath)) {}
    ~QuelloryApp() { Close(); }

    bool Start();
    // Waits for the visible main window; message boxes shown before it
    // (start-up errors) are left open for the caller.
    bool WaitForMainWindow(DWORD timeoutMs);
    HWND Main() const { return main_; }
    DWORD ProcessId() const { return process_.Id(); }
    bool Running() const { return process_.Running(); }

    HWND Button(const wchar_t* caption) const;
    void Click(const wchar_t* caption) const;      // BM_CLICK on the button
    void PressKey(WORD virtualKey) const;          // a key press posted to the main window
    // Returns once Quellory's window thread has taken a sent message: what
    // the handler running now does (a second call, a box) has happened by then.
    void RoundTrip() const;
    // Opens the menu with the accelerator key (e.g. 'f' for "文件(&F)") with the
    // keyboard and chooses the item that is `downs` steps below the first
    // (separators are skipped by the menu). On failure, `why` says which step.
    bool ChooseMenuItem(wchar_t accelerator, int downs, std::wstring* why = nullptr) const;

    std::vector<MessageBoxSeen> MessageBoxes() const;
    // Dialogs of the process with this title (the recogniser's stand-in dialogs).
    HWND Dialog(const wchar_t* title) const;
    static void CloseBox(HWND box);

    // The folder of the executable, with a trailing backslash.
    std::wstring Folder() const;
    bool MarkerExists(const wchar_t* name) const;
    void DeleteMarkers() const;
    // The machine's start-with-Windows value QLRVX; false when it is missing.
    static bool ReadRunValue(std::wstring& value);

    // WM_CLOSE, closing boxes in the way; TerminateProcess as last resort.
    // True when the program ended by itself.
    bool Close();

private:
    std::wstring exe_;
    ChildProcess process_;
    HWND main_ = nullptr;
};

}  // namespace e2e
