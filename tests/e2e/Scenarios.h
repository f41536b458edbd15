#pragma once
// The end-to-end scenarios. Each prints one line per check into the report.
#include <string>

#include "Support.h"

namespace e2e {

struct Settings {
    std::wstring quelloryExe;   // full path of Quellory.exe
    std::wstring loopbackDll;   // the registered loopback DLL; empty skips the unregistered run
    std::wstring workFolder;    // where the script, the log and the demo's hand-shake files live
    std::wstring setupExe;      // the installer, for the package run
    std::wstring galleryExe;    // the skin gallery, whose skinned edits are dictated into; empty skips that
};

// Typing into Notepad: order, mixed text, a thousand phrases, Stop/Start,
// hypotheses and false recognitions, the audio level, the dictionary command,
// a failing Resume.
void RunDictation(const Settings& settings, Report& report);
// Always on top and start with Windows across restarts.
void RunOptions(const Settings& settings, Report& report);
// Start-up without the recogniser registered.
void RunWithoutRecogniser(const Settings& settings, Report& report);
// The demo: a short Chinese script dictated into Notepad, kept on screen
// until the caller has taken its screenshot.
void RunDemo(const Settings& settings, Report& report);
// The installer: silent install, the installed program's markers, silent uninstall.
void RunPackage(const Settings& settings, Report& report);

}  // namespace e2e
