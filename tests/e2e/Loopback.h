#pragma once
// The loopback recogniser's two files: the script the driver appends to
// (UTF-8, one command per line) and the call log it writes.
#include <string>
#include <vector>

namespace e2e {

class LoopbackFiles {
public:
    // Creates both files empty and points LOOPBACK_RECO_SCRIPT and
    // LOOPBACK_RECO_LOG at them, for the processes started afterwards.
    explicit LoopbackFiles(const std::wstring& directory);

    void Append(const std::vector<std::wstring>& lines) const;
    void Append(const std::wstring& line) const { Append(std::vector<std::wstring>{line}); }

    std::vector<std::wstring> LogLines() const;
    // Log lines from the given index on that are exactly the line.
    int Count(const std::wstring& line, size_t from = 0) const;
    // Waits until the log holds at least count such lines after from.
    bool WaitForLog(const std::wstring& line, int count, size_t from, unsigned timeoutMs) const;
    size_t LogSize() const { return LogLines().size(); }

    const std::wstring& ScriptPath() const { return script_; }
    const std::wstring& LogPath() const { return log_; }

private:
    std::wstring script_;
    std::wstring log_;
};

}  // namespace e2e
