#include "CallLog.h"

#include <vector>

namespace loopback {

std::wstring Utf8ToWide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string WideToUtf8(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr,
                        nullptr);
    return utf8;
}

void AppendToLog(std::wstring_view line) {
    // Looked up on every call: a test may point the log elsewhere at any time.
    wchar_t path[MAX_PATH * 2];
    const DWORD len = GetEnvironmentVariableW(L"LOOPBACK_RECO_LOG", path, MAX_PATH * 2);
    if (len == 0 || len >= MAX_PATH * 2) return;
    // Opened per line so that readers see each line as soon as it is written.
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string bytes = WideToUtf8(line) + "\n";
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

HRESULT CallLog::Record(std::wstring_view method, std::wstring_view args) {
    std::wstring line(method);
    if (!args.empty()) {
        line += L' ';
        line += args;
    }
    AppendToLog(line);
    auto it = planned_.find(method);
    if (it == planned_.end() || it->second.empty()) return S_OK;
    const HRESULT hr = it->second.front();
    it->second.pop_front();
    return hr;
}

void CallLog::PlanFailure(const std::wstring& method, HRESULT hr) { planned_[method].push_back(hr); }

}  // namespace loopback
