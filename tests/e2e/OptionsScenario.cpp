// Always on top and start with Windows, remembered by marker files beside
// the executable, across restarts of the program.
#include "Session.h"

namespace e2e {

namespace {

constexpr int kAlwaysOnTop = QuelloryApp::kAlwaysOnTopItem;
constexpr int kAutoRun = QuelloryApp::kAutoRunItem;

bool Topmost(HWND wnd) { return (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

std::wstring Markers(const QuelloryApp& app) {
    std::wstring list;
    for (const wchar_t* name : {L"00.ini", L"01.ini", L"02.ini", L"03.ini"})
        if (app.MarkerExists(name)) list += std::wstring(list.empty() ? L"" : L" ") + name;
    return L"markers: " + (list.empty() ? std::wstring(L"none") : list);
}

bool Restart(QuelloryApp& app, Report& report) {
    const bool closed = app.Close();
    return report.Check("Quellory restarts", closed && app.Start() && app.WaitForMainWindow(20000));
}

// The program writes one marker file, removes the other, then sets the Run
// value: a check waits for the whole new state, not for its first part.
bool Settles(const std::function<bool()>& state) { return WaitUntil(state, 10000); }

bool Toggle(QuelloryApp& app, Report& report, int item, const char* name) {
    std::wstring why;
    return report.Check(name, app.ChooseMenuItem(L'f', item, &why), why);
}

}  // namespace

void RunOptions(const Settings& settings, Report& report) {
    report.Note(L"-- options across restarts");
    LoopbackFiles files(settings.workFolder);
    QuelloryApp app(settings.quelloryExe);
    app.DeleteMarkers();
    if (!report.Check("Quellory starts without marker files", app.Start() && app.WaitForMainWindow(20000))) return;
    report.Check("  ... as a normal window", !Topmost(app.Main()));
    const std::wstring exe = settings.quelloryExe;
    std::wstring run;

    // On: markers, style, Run value; then a restart keeps them.
    if (!Toggle(app, report, kAlwaysOnTop, "the menu turns always on top on")) return;
    report.Check("  ... 02.ini is written, no 03.ini, the window is topmost",
                 Settles([&] { return Topmost(app.Main()) && app.MarkerExists(L"02.ini") && !app.MarkerExists(L"03.ini"); }),
                 Markers(app));
    if (!Toggle(app, report, kAutoRun, "the menu turns start with Windows on")) return;
    report.Check("  ... 00.ini is written, no 01.ini", Settles([&] { return app.MarkerExists(L"00.ini") && !app.MarkerExists(L"01.ini"); }),
                 Markers(app));
    report.Check("  ... the Run value QLRVX holds the executable path",
                 Settles([&] { return QuelloryApp::ReadRunValue(run) && SamePath(run, exe); }),
                 L"QLRVX = \"" + run + L"\", expected \"" + exe + L"\"");
    if (!Restart(app, report)) return;
    report.Check("after a restart the window is topmost", Topmost(app.Main()), Markers(app));

    // The check marks came back checked: choosing the items now turns them off.
    if (!Toggle(app, report, kAlwaysOnTop, "the menu toggles always on top again")) return;
    report.Check("  ... it was checked: now off, 03.ini written, 02.ini gone, not topmost",
                 Settles([&] { return !Topmost(app.Main()) && app.MarkerExists(L"03.ini") && !app.MarkerExists(L"02.ini"); }),
                 Markers(app));
    if (!Toggle(app, report, kAutoRun, "the menu toggles start with Windows again")) return;
    report.Check("  ... it was checked: now off, 01.ini written, 00.ini gone",
                 Settles([&] { return app.MarkerExists(L"01.ini") && !app.MarkerExists(L"00.ini"); }),
                 Markers(app));
    report.Check("  ... the Run value QLRVX stays, empty",
                 Settles([&] { return QuelloryApp::ReadRunValue(run) && run.empty(); }),
                 L"QLRVX = \"" + run + L"\"");
    if (!Restart(app, report)) return;
    report.Check("after a restart the window is normal", !Topmost(app.Main()), Markers(app));

    // And unchecked: choosing start with Windows turns it on.
    if (!Toggle(app, report, kAutoRun, "the menu toggles start with Windows once more")) return;
    report.Check("  ... it was unchecked: now on, 00.ini written",
                 Settles([&] { return app.MarkerExists(L"00.ini") && !app.MarkerExists(L"01.ini"); }),
                 Markers(app));
    Toggle(app, report, kAutoRun, "the menu turns start with Windows off to finish");

    // Both files of a pair: the "off" file wins.
    app.Close();
    for (const wchar_t* name : {L"00.ini", L"01.ini", L"02.ini", L"03.ini"})
        CloseHandle(CreateFileW((app.Folder() + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!report.Check("Quellory starts with all four marker files", app.Start() && app.WaitForMainWindow(20000)))
        return;
    report.Check("  ... as a normal window", !Topmost(app.Main()));
    if (!Toggle(app, report, kAlwaysOnTop, "the menu toggles always on top")) return;
    report.Check("  ... it was unchecked: now on, topmost, 03.ini gone",
                 Settles([&] { return Topmost(app.Main()) && !app.MarkerExists(L"03.ini"); }), Markers(app));
    if (!Toggle(app, report, kAutoRun, "the menu toggles start with Windows")) return;
    report.Check("  ... it was unchecked: now on, 01.ini gone",
                 Settles([&] { return !app.MarkerExists(L"01.ini") && app.MarkerExists(L"00.ini"); }),
                 Markers(app));
    Toggle(app, report, kAutoRun, "the menu turns start with Windows off to finish");
    app.Close();
    app.DeleteMarkers();
}

void RunWithoutRecogniser(const Settings& settings, Report& report) {
    report.Note(L"-- start-up without the recogniser");
    if (settings.loopbackDll.empty()) {
        report.Note(L"SKIP: no --loopback DLL given, so it cannot be unregistered and registered again");
        return;
    }
    const std::wstring dll = L"\"" + settings.loopbackDll + L"\"";
    if (!report.Check("regsvr32 /u unregisters the loopback recogniser",
                      RunToEnd(L"regsvr32.exe /s /u " + dll, 30000) == 0))
        return;
    struct Reregister {
        std::wstring dll;
        ~Reregister() { RunToEnd(L"regsvr32.exe /s " + dll, 30000); }
    } reregister{dll};

    LoopbackFiles files(settings.workFolder);
    QuelloryApp app(settings.quelloryExe);
    app.DeleteMarkers();
    // Always on top marked on: without the recogniser it must not be restored.
    CloseHandle(CreateFileW((app.Folder() + L"02.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!report.Check("Quellory starts", app.Start())) return;
    std::vector<MessageBoxSeen> boxes;
    WaitUntil([&] {
        boxes = app.MessageBoxes();
        return !boxes.empty();
    }, 20000);
    std::wstring seen;
    for (const auto& b : boxes) seen += L"[" + b.title + L": " + b.text + L"]";
    report.Check("one error box shows", boxes.size() == 1, L"boxes: " + seen);
    if (!boxes.empty()) report.Note(L"it says: " + boxes[0].text);
    for (const auto& b : boxes) QuelloryApp::CloseBox(b.wnd);
    if (!report.Check("the main window opens after it", app.WaitForMainWindow(20000))) return;
    app.RoundTrip();
    report.Check("no second box", app.MessageBoxes().empty());
    RECT r{};
    GetWindowRect(app.Main(), &r);
    report.Check("the window is at 197,115", r.left == 197 && r.top == 115,
                 L"at " + std::to_wstring(r.left) + L"," + std::to_wstring(r.top));
    report.Check("the window is not topmost although 02.ini exists (options not restored)",
                 (GetWindowLongPtrW(app.Main(), GWL_EXSTYLE) & WS_EX_TOPMOST) == 0);
    report.Check("the recogniser was never reached", files.LogLines().empty());
    report.Check("Quellory closes", app.Close());
    app.DeleteMarkers();
}

}  // namespace e2e
