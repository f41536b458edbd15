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
