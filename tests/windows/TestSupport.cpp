#include "TestSupport.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "classlib/Forms.h"

std::wstring TempPath(const wchar_t* prefix, const wchar_t* name) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + prefix + std::to_wstring(GetCurrentProcessId()) + L"-" + name;
}

void AppendBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot append to a test file");
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

std::vector<std::string> ReadLines(const std::wstring& path, std::string* rest) {
    std::string bytes;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        char buf[4096];
        DWORD got = 0;
        while (ReadFile(f, buf, sizeof(buf), &got, nullptr) && got > 0) bytes.append(buf, got);
        CloseHandle(f);
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t nl = bytes.find('\n'); nl != std::string::npos; nl = bytes.find('\n', start)) {
        lines.push_back(bytes.substr(start, nl - start));
        start = nl + 1;
    }
    if (rest) *rest = bytes.substr(start);
    return lines;
}

void PumpFor(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    while (static_cast<int>(end - GetTickCount()) > 0) {
        Application->ProcessMessages();
        Sleep(5);
    }
    Application->ProcessMessages();
}

bool PumpUntil(const std::function<bool()>& done, int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    while (!done()) {
        if (static_cast<int>(end - GetTickCount()) <= 0) return false;
        Application->ProcessMessages();
        Sleep(5);
    }
    return true;
}

long LiveGdiObjects() {
    if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<long>(n);
    std::vector<HBRUSH> probes;
    while (probes.size() < 1000000) {
        HBRUSH probe = CreateSolidBrush(0);
        if (!probe) break;
        probes.push_back(probe);
    }
    for (HBRUSH probe : probes) DeleteObject(probe);
    return -static_cast<long>(probes.size());
}

namespace {
std::map<UINT_PTR, DialogCloser*>& Closers() {
    static std::map<UINT_PTR, DialogCloser*> closers;
    return closers;
}

std::wstring WindowText(HWND wnd) {
    wchar_t buf[4096] = {};
    GetWindowTextW(wnd, buf, 4096);
    return buf;
}

BOOL CALLBACK CollectVisible(HWND wnd, LPARAM list) {
    if (IsWindowVisible(wnd)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
    return TRUE;
}

std::wstring ClassOf(HWND wnd) {
    wchar_t buf[256] = {};
    GetClassNameW(wnd, buf, 256);
    return buf;
}
}  // namespace

DialogCloser::DialogCloser(std::vector<std::wstring> classes) : classes_(std::move(classes)) {
    timer_ = SetTimer(nullptr, 0, 50, Tick);
    Closers()[timer_] = this;
}

DialogCloser::~DialogCloser() {
    KillTimer(nullptr, timer_);
    Closers().erase(timer_);
}

void CALLBACK DialogCloser::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Closers().find(id);
    if (it != Closers().end()) it->second->Check();
}

void DialogCloser::Check() {
    std::vector<HWND> visible;
    EnumThreadWindows(GetCurrentThreadId(), CollectVisible, reinterpret_cast<LPARAM>(&visible));
    std::vector<HWND> windows;
    for (HWND wnd : visible)
        for (const auto& c : classes_)
            if (ClassOf(wnd) == c) windows.push_back(wnd);
    for (HWND wnd : windows) {
        if (std::find(handled_.begin(), handled_.end(), wnd) != handled_.end()) continue;
        handled_.push_back(wnd);
        Seen s;
        s.windowClass = ClassOf(wnd);
        s.caption = WindowText(wnd);
        for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const std::wstring cls = ClassOf(child);
            const LONG style = GetWindowLongW(child, GWL_STYLE);
            if (cls == L"Static" && (style & SS_TYPEMASK) == SS_ICON) {
                if (SendMessageW(child, STM_GETICON, 0, 0)) s.iconStyle = MB_ICONSTOP;
            } else if (cls == L"Static") {
                if (!s.text.empty()) s.text += L"\n";
                s.text += WindowText(child);
            }
        }
        if (auto* control = TWinControl::FindControl(wnd)) {
            // A class-library form: its labels are windowless; read their captions.
            for (int i = 0; i < control->ControlCount(); ++i)
                if (!As<TWinControl>(control->Controls(i)) && !control->Controls(i)->Caption().empty()) {
                    if (!s.text.empty()) s.text += L"\n";
                    s.text += control->Controls(i)->Caption();
                }
        }
        seen_.push_back(s);
        if (OnDialog) {
            OnDialog(wnd);
        } else if (auto* form = As<TCustomForm>(TWinControl::FindControl(wnd)); form && form->IsModal()) {
            form->SetModalResult(mrOk);
        } else if (HWND ok = GetDlgItem(wnd, IDOK)) {
            SendMessageW(ok, BM_CLICK, 0, 0);
        } else {
            PostMessageW(wnd, WM_CLOSE, 0, 0);
        }
    }
}
