#include "Session.h"

namespace e2e {

Session::Session(const Settings& settings, Report& r)
    : app(settings.quelloryExe), loopback(settings.workFolder), report(r) {}

Session::~Session() {
    app.Close();
    notepad.Close();
}

bool Session::Start() {
    if (!report.Check("Wine's Notepad starts with its edit control", notepad.Start())) return false;
    if (!report.Check("Quellory.exe starts", app.Start(), L"CreateProcess failed for " + app.Folder()))
        return false;
    if (!report.Check("the main window TfrmContinuousDictation opens", app.WaitForMainWindow(20000))) {
        for (const auto& box : app.MessageBoxes()) report.Note(L"box: " + box.title + L": " + box.text);
        return false;
    }
    // The program activates its window as it shows it; let that happen first,
    // or it takes the foreground back from Notepad afterwards.
    WaitUntil([&] { return GetForegroundWindow() == app.Main(); }, 3000);
    Sleep(300);
    return FocusNotepad();
}

bool Session::FocusNotepad() {
    // It has to stay there, not only get there.
    const bool front = notepad.BringToFront() && (Sleep(200), GetForegroundWindow() == notepad.Window());
    return report.Check("Notepad is the foreground window", front,
                        L"GetForegroundWindow is of class " + ClassName(GetForegroundWindow()));
}

bool Session::Dictate(const std::string& check, const std::vector<std::wstring>& scriptLines,
                      const std::wstring& expected, DWORD timeoutMs) {
    loopback.Append(scriptLines);
    std::wstring last;
    const bool ok = notepad.WaitForText(expected, timeoutMs, &last);
    return report.Check(check, ok, L"expected \"" + expected + L"\", Notepad has \"" + last + L"\"");
}

bool Session::Sync() {
    notepad.Clear();
    loopback.Append(L"recognize sync");
    const bool ok = notepad.WaitForText(L"sync", 10000);
    notepad.Clear();
    return ok;
}

}  // namespace e2e
