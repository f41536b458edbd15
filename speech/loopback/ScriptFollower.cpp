#include "ScriptFollower.h"

#include <windows.h>

namespace loopback {

std::vector<std::string> ScriptFollower::ReadNewLines() {
    std::vector<std::string> lines;
    if (path_.empty()) return lines;
    // Opened per read, sharing everything, so that the writer is never in the way.
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lines;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    const auto fileSize = static_cast<unsigned long long>(size.QuadPart);
    if (fileSize < offset_) {
        offset_ = 0;
        partial_.clear();
    }
    if (fileSize > offset_) {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset_);
        SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
        std::string chunk(64 * 1024, '\0');
        DWORD got = 0;
        while (ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) && got > 0) {
            if (offset_ == 0 && partial_.empty() && got >= 3 && chunk.compare(0, 3, "\xEF\xBB\xBF") == 0)
                partial_.append(chunk, 3, got - 3);  // a byte order mark is not part of the first line
            else
                partial_.append(chunk, 0, got);
            offset_ += got;
        }
    }
    CloseHandle(file);

    size_t start = 0;
    for (size_t nl = partial_.find('\n'); nl != std::string::npos; nl = partial_.find('\n', start)) {
        lines.emplace_back(partial_, start, nl - start);
        start = nl + 1;
    }
    partial_.erase(0, start);
    return lines;
}

}  // namespace loopback
