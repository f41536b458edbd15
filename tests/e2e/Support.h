#pragma once
// Small helpers of the end-to-end driver: printing, waiting with a
// deadline, registry strings, and the report of checks.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "classlib/Utf8.h"

namespace e2e {

// Prints UTF-8 to the standard output as it is (no code page conversion).
void Print(std::string_view utf8);
void Print(std::wstring_view wide);

// Seconds since a GetTickCount64 value, with one decimal.
std::wstring SecondsSince(ULONGLONG start);

// A REG_SZ value; false when the key or the value is missing or of another type.
bool ReadRegString(HKEY root, const wchar_t* key, const wchar_t* name, std::wstring& value);

// Paths equal but for case and slash direction.
bool SamePath(const std::wstring& a, const std::wstring& b);

// Polls until the predicate holds or the time is up; true when it held.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD stepMs = 20);

// One line per check: "PASS name" or "FAIL name: detail". Failures are counted.
class Report {
public:
    bool Check(std::string_view name, bool ok, std::wstring_view detail = {});
    void Note(std::wstring_view line);
    int Failures() const { return failures_; }
    int Checks() const { return checks_; }

private:
    int failures_ = 0;
    int checks_ = 0;
};

}  // namespace e2e
