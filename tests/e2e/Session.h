#pragma once
// Notepad and Quellory started side by side with the loopback recogniser's
// files, Notepad in the foreground: the set-up every dictation scenario shares.
#include <memory>
#include <string>

#include "Loopback.h"
#include "Notepad.h"
#include "QuelloryApp.h"
#include "Scenarios.h"

namespace e2e {

class Session {
public:
    Session(const Settings& settings, Report& report);
    ~Session();
    // False (after reporting why) when a window did not come up.
    bool Start();

    // Puts Notepad back in front (clicks in Quellory may take it away).
    bool FocusNotepad();
    // Appends recognitions and waits until Notepad shows `expected` in full.
    bool Dictate(const std::string& check, const std::vector<std::wstring>& scriptLines,
                 const std::wstring& expected, DWORD timeoutMs = 10000);
    // A recognition that proves the recogniser has read everything appended
    // before it; Notepad is cleared afterwards.
    bool Sync();

    Notepad notepad;
    QuelloryApp app;
    LoopbackFiles loopback;
    Report& report;
};

}  // namespace e2e
