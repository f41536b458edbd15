#include "Loopback.h"

#include <windows.h>

#include "Support.h"

namespace e2e {

namespace {

void WriteWhole(const std::wstring& path, const std::string& bytes, DWORD disposition, DWORD access) {
    HANDLE f = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

std::string ReadWhole(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(f);
    return bytes;
}

}  // namespace

LoopbackFiles::LoopbackFiles(const std::wstring& directory)
    : script_(directory + L"\\e2e_script.txt"), log_(directory + L"\\e2e_calls.log") {
    WriteWhole(script_, {}, CREATE_ALWAYS, GENERIC_WRITE);
    WriteWhole(log_, {}, CREATE_ALWAYS, GENERIC_WRITE);
    SetEnvironmentVariableW(L"LOOPBACK_RECO_SCRIPT", script_.c_str());
    SetEnvironmentVariableW(L"LOOPBACK_RECO_LOG", log_.c_str());
}

void LoopbackFiles::Append(const std::vector<std::wstring>& lines) const {
    // One write, whole lines only: the recogniser acts on complete lines.
    std::string bytes;
    for (const auto& line : lines) bytes += WideToUtf8(line) + "\n";
    WriteWhole(script_, bytes, OPEN_ALWAYS, FILE_APPEND_DATA);
}

std::vector<std::wstring> LoopbackFiles::LogLines() const {
    const std::wstring all = Utf8ToWide(ReadWhole(log_));
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t nl = all.find(L'\n'); nl != std::wstring::npos; nl = all.find(L'\n', start)) {
        std::wstring line = all.substr(start, nl - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        lines.push_back(std::move(line));
        start = nl + 1;
    }
    return lines;
}

int LoopbackFiles::Count(const std::wstring& line, size_t from) const {
    const auto lines = LogLines();
    int n = 0;
    for (size_t i = from; i < lines.size(); ++i)
        if (lines[i] == line) ++n;
    return n;
}

bool LoopbackFiles::WaitForLog(const std::wstring& line, int count, size_t from, unsigned timeoutMs) const {
    return WaitUntil([&] { return Count(line, from) >= count; }, timeoutMs, 50);
}

}  // namespace e2e
