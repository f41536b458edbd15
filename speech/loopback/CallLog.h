#pragma once
// Every call the loopback recogniser receives, appended as one UTF-8 line
// ("Method arg arg...\n") to the file named by LOOPBACK_RECO_LOG; and the
// failures a script plans for the next calls of a method.
#include <windows.h>

#include <deque>
#include <map>
#include <string>
#include <string_view>

#include "classlib/Utf8.h"

namespace loopback {

class CallLog {
public:
    // Logs the call and answers S_OK, or the failure planned for this method.
    HRESULT Record(std::wstring_view method, std::wstring_view args = {});
    // The next call of method (as it is logged) fails with hr; plans queue up.
    void PlanFailure(const std::wstring& method, HRESULT hr);

private:
    std::map<std::wstring, std::deque<HRESULT>, std::less<>> planned_;
};

// Appends a line to the log file, if LOOPBACK_RECO_LOG names one.
void AppendToLog(std::wstring_view line);

}  // namespace loopback
