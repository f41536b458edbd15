#pragma once
// Follows a script file as it grows: each call reads the bytes appended since
// the last one and hands back the lines that are complete. A file that got
// shorter was rewritten and is read again from its start.
#include <string>
#include <vector>

namespace loopback {

class ScriptFollower {
public:
    explicit ScriptFollower(std::wstring path) : path_(std::move(path)) {}

    // Complete new lines, without their line ends; a missing file gives none.
    std::vector<std::string> ReadNewLines();

private:
    std::wstring path_;
    unsigned long long offset_ = 0;  // bytes consumed, including partial_
    std::string partial_;            // the start of a line not yet ended
};

}  // namespace loopback
