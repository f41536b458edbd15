#pragma once
// A child process the driver started; terminated on destruction if it is
// still running, so that a failed run leaves nothing behind.
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() { Kill(); }

    // commandLine as CreateProcessW takes it; the environment is inherited.
    bool Start(const std::wstring& commandLine);
    bool Running() const;
    bool WaitExit(DWORD timeoutMs);
    // Until the process first waits for input with nothing left in its queue.
    bool WaitIdle(DWORD timeoutMs) const;
    DWORD ExitCode() const;
    DWORD Id() const { return id_; }
    // TerminateProcess when still running; the last resort of every close.
    void Kill();

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Runs a command line to its end; the exit code, or -1 when it did not start
// or did not end in time.
long RunToEnd(const std::wstring& commandLine, DWORD timeoutMs);

// Every visible or hidden top-level window of the process with the class
// (and the title, when given).
std::vector<HWND> TopWindows(DWORD processId, const wchar_t* className, const wchar_t* title = nullptr);
HWND TopWindow(DWORD processId, const wchar_t* className, const wchar_t* title = nullptr);

// A descendant window with the class (and the text, when given); when
// usable, only an enabled and visible one.
HWND ChildWindow(HWND parent, const wchar_t* className, const wchar_t* text = nullptr, bool usable = false);

// WM_GETTEXT across processes, with a timeout so that a hung target cannot
// hang the driver.
std::wstring WindowText(HWND wnd);
std::wstring ClassName(HWND wnd);

// The text of every static control of a dialog, joined by line breaks.
std::wstring DialogText(HWND dialog);

}  // namespace e2e
