#include "Process.h"

namespace e2e {

bool ChildProcess::Start(const std::wstring& commandLine) {
    Kill();
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = commandLine;  // CreateProcessW may write into it
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    id_ = pi.dwProcessId;
    return true;
}

bool ChildProcess::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool ChildProcess::WaitIdle(DWORD timeoutMs) const {
    return process_ && WaitForInputIdle(process_, timeoutMs) == 0;
}

bool ChildProcess::WaitExit(DWORD timeoutMs) {
    return !process_ || WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) GetExitCodeProcess(process_, &code);
    return code;
}

void ChildProcess::Kill() {
    if (!process_) return;
    if (Running()) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
    id_ = 0;
}

long RunToEnd(const std::wstring& commandLine, DWORD timeoutMs) {
    ChildProcess p;
    if (!p.Start(commandLine)) return -1;
    if (!p.WaitExit(timeoutMs)) return -1;
    return static_cast<long>(p.ExitCode());
}

namespace {

struct TopSearch {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<TopSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != s->processId) return TRUE;
    if (s->className && ClassName(wnd) != s->className) return TRUE;
    if (s->title && WindowText(wnd) != s->title) return TRUE;
    s->found.push_back(wnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> TopWindows(DWORD processId, const wchar_t* className, const wchar_t* title) {
    TopSearch s{processId, className, title, {}};
    if (processId) EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND TopWindow(DWORD processId, const wchar_t* className, const wchar_t* title) {
    const auto all = TopWindows(processId, className, title);
    return all.empty() ? nullptr : all.front();
}

namespace {

struct ChildSearch {
    const wchar_t* className;
    const wchar_t* text;
    bool usable;
    HWND found;
};

BOOL CALLBACK FindChild(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<ChildSearch*>(param);
    if (s->className && ClassName(wnd) != s->className) return TRUE;
    if (s->text && WindowText(wnd) != s->text) return TRUE;
    if (s->usable && (!IsWindowEnabled(wnd) || !IsWindowVisible(wnd))) return TRUE;
    s->found = wnd;
    return FALSE;
}

BOOL CALLBACK CollectStatic(HWND wnd, LPARAM param) {
    auto* text = reinterpret_cast<std::wstring*>(param);
    if (_wcsicmp(ClassName(wnd).c_str(), L"Static") != 0) return TRUE;
    const std::wstring t = WindowText(wnd);
    if (t.empty()) return TRUE;
    if (!text->empty()) *text += L"\n";
    *text += t;
    return TRUE;
}

}  // namespace

HWND ChildWindow(HWND parent, const wchar_t* className, const wchar_t* text, bool usable) {
    ChildSearch s{className, text, usable, nullptr};
    if (parent) EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::wstring WindowText(HWND wnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(wnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(wnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             2000, &copied))
        return {};
    text.resize(static_cast<size_t>(copied));
    return text;
}

std::wstring ClassName(HWND wnd) {
    wchar_t name[256] = {};
    GetClassNameW(wnd, name, 256);
    return name;
}

std::wstring DialogText(HWND dialog) {
    std::wstring text;
    EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

}  // namespace e2e
