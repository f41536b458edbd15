#include "Support.h"

#include <cstdio>
#include <cwchar>

namespace e2e {

void Print(std::string_view utf8) {
    // Raw bytes: the log is read as UTF-8 whatever the console's code page.
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

void Print(std::wstring_view wide) { Print(WideToUtf8(wide)); }

bool ReadRegString(HKEY root, const wchar_t* key, const wchar_t* name, std::wstring& value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = 0;
    bool ok = RegQueryValueExW(opened, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ;
    if (ok) {
        std::wstring buf(size / sizeof(wchar_t) + 1, L'\0');
        ok = RegQueryValueExW(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) ==
             ERROR_SUCCESS;
        buf.resize(size / sizeof(wchar_t));
        while (!buf.empty() && buf.back() == L'\0') buf.pop_back();
        value = buf;
    }
    RegCloseKey(opened);
    return ok;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    auto norm = [](std::wstring p) {
        for (auto& c : p)
            if (c == L'/') c = L'\\';
        return p;
    };
    return _wcsicmp(norm(a).c_str(), norm(b).c_str()) == 0;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD stepMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(stepMs);
    }
}

std::wstring SecondsSince(ULONGLONG start) {
    wchar_t text[32];
    swprintf(text, 32, L"%.1f", static_cast<double>(GetTickCount64() - start) / 1000.0);
    return text;
}

bool Report::Check(std::string_view name, bool ok, std::wstring_view detail) {
    ++checks_;
    if (!ok) ++failures_;
    std::string line = ok ? "PASS " : "FAIL ";
    line += name;
    if (!ok && !detail.empty()) line += ": " + WideToUtf8(detail);
    Print(line + "\n");
    return ok;
}

void Report::Note(std::wstring_view line) { Print(L"     " + std::wstring(line) + L"\n"); }

}  // namespace e2e
