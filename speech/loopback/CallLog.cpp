#include "CallLog.h"

#include <oleauto.h>

#include <vector>

namespace loopback {

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
    // A plain failure: no description of ours, and none left over from an
    // earlier call for the caller to mistake for this one's.
    SetErrorInfo(0, nullptr);
    return hr;
}

void CallLog::PlanFailure(const std::wstring& method, HRESULT hr) { planned_[method].push_back(hr); }

}  // namespace loopback
