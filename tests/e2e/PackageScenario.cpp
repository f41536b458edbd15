// The installer's round trip as a user makes it: a silent install into the
// user's programs folder, the installed program writing its option markers
// beside itself, and the silent uninstall registered for Add/Remove Programs
// leaving nothing behind.
#include <shlobj.h>

#include <regex>
#include <set>

#include "Session.h"

namespace e2e {

namespace {

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quellory";

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
    CoTaskMemFree(path);
    return result;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The names in a folder, "." and ".." left out.
std::set<std::wstring> FolderNames(const std::wstring& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.insert(name);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
}

std::wstring Join(const std::set<std::wstring>& names) {
    std::wstring list;
    for (const auto& n : names) list += (list.empty() ? L"" : L" ") + n;
    return list.empty() ? L"(none)" : list;
}

// "a.b.c" from the file version of the executable's version resource, with
// its fourth part, which the release never sets, required to be 0.
std::wstring FileVersion(const std::wstring& exe) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    if (size == 0) return L"(no version resource)";
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(exe.c_str(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || length < sizeof(*info))
        return L"(unreadable version resource)";
    std::wstring v = std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
                     std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
                     std::to_wstring(HIWORD(info->dwFileVersionLS));
    if (LOWORD(info->dwFileVersionLS) != 0) v += L"." + std::to_wstring(LOWORD(info->dwFileVersionLS));
    return v;
}

std::wstring UninstallValue(const wchar_t* name) {
    std::wstring value;
    return ReadRegString(HKEY_CURRENT_USER, kUninstallKey, name, value) ? value : L"(missing)";
}

bool UninstallKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// What an earlier run that failed half-way left: the next runs start clean.
void ClearLeftovers(const std::wstring& folder, const std::wstring& shortcut) {
    for (const auto& name : FolderNames(folder)) DeleteFileW((folder + name).c_str());
    RemoveDirectoryW(folder.c_str());
    DeleteFileW(shortcut.c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
}

}  // namespace

void RunPackage(const Settings& settings, Report& report) {
    report.Note(L"-- the installer: install, run, uninstall");
    const std::wstring& setup = settings.setupExe;
    std::wsmatch match;
    const std::wstring setupName = setup.substr(setup.find_last_of(L"\\/") + 1);
    const std::wregex pattern(L"Quellory-([0-9]+\\.[0-9]+\\.[0-9]+)-setup\\.exe");
    if (!report.Check("the installer is named Quellory-<version>-setup.exe",
                      std::regex_match(setupName, match, pattern), setupName))
        return;
    const std::wstring version = match[1];
    const std::wstring folder = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Quellory\\";
    const std::wstring exe = folder + L"Quellory.exe";
    const std::wstring shortcut = KnownFolder(FOLDERID_Programs) + L"\\Quellory.lnk";
    if (Exists(folder) || Exists(shortcut) || UninstallKeyExists()) {
        report.Note(L"clearing what an earlier run left: " + folder + L" " + Join(FolderNames(folder)));
        ClearLeftovers(folder, shortcut);
    }
    if (!report.Check("nothing is installed yet", !Exists(folder) && !UninstallKeyExists(), folder)) return;

    if (!report.Check("the silent install ends with 0", RunToEnd(L"\"" + setup + L"\" /S", 120000) == 0)) return;
    const std::set<std::wstring> expected{L"Quellory.exe", L"Uninstall.exe", L"readme.htm"};
    report.Check("  ... the folder holds the program, the read-me and the uninstaller",
                 FolderNames(folder) == expected, folder + L": " + Join(FolderNames(folder)));
    report.Check("  ... a Start menu shortcut", Exists(shortcut), shortcut);
    report.Check("  ... the program's version resource is the version of the installer's name",
                 FileVersion(exe) == version, FileVersion(exe) + L", expected " + version);
    report.Check("  ... registered for Add/Remove Programs with its version and folder",
                 UninstallValue(L"DisplayName") == L"Quellory" && UninstallValue(L"DisplayVersion") == version &&
                     SamePath(UninstallValue(L"InstallLocation") + L"\\", folder),
                 UninstallValue(L"DisplayName") + L" " + UninstallValue(L"DisplayVersion") + L" in " +
                     UninstallValue(L"InstallLocation"));

    {
        if (!settings.loopbackDll.empty())
            RunToEnd(L"regsvr32.exe /s \"" + settings.loopbackDll + L"\"", 30000);
        LoopbackFiles files(settings.workFolder);
        QuelloryApp app(exe);
        if (report.Check("the installed program starts", app.Start() && app.WaitForMainWindow(20000))) {
            const bool onTop = app.ChooseMenuItem(L'f', QuelloryApp::kAlwaysOnTopItem) &&
                               WaitUntil([&] { return app.MarkerExists(L"02.ini"); }, 3000);
            report.Check("  ... always on top, turned on, writes 02.ini beside it", onTop, Join(FolderNames(folder)));
            std::wstring run;
            const bool autoRun = app.ChooseMenuItem(L'f', QuelloryApp::kAutoRunItem) &&
                                 WaitUntil([&] {
                                     return app.MarkerExists(L"00.ini") && QuelloryApp::ReadRunValue(run) &&
                                            SamePath(run, exe);
                                 }, 3000);
            report.Check("  ... start with Windows, turned on, writes 00.ini and names the program in QLRVX",
                         autoRun, Join(FolderNames(folder)) + L"; QLRVX = " + run);
            // In place (_?=), so that its exit code is its result, not that of the copy it starts.
            std::wstring inPlace = UninstallValue(L"QuietUninstallString") + L" _?=" + folder;
            inPlace.pop_back();  // _?= takes the folder without its closing backslash
            const long code = RunToEnd(inPlace, 120000);
            report.Check("  ... an uninstall while it runs fails and leaves it installed and registered",
                         code != 0 && code != -1 && FolderNames(folder) == std::set<std::wstring>{
                             L"00.ini", L"02.ini", L"Quellory.exe", L"Uninstall.exe", L"readme.htm"} &&
                             UninstallKeyExists() && app.Running(),
                         L"exit code " + std::to_wstring(code) + L", " + Join(FolderNames(folder)));
        }
        report.Check("  ... and closes", app.Close());
    }

    // As Add/Remove Programs does it. The uninstaller copies itself away and
    // returns at once: its work is waited for, all of it, then told apart.
    const std::wstring uninstall = UninstallValue(L"QuietUninstallString");
    if (!report.Check("the silent uninstall from the registered command ends with 0",
                      RunToEnd(uninstall, 120000) == 0, uninstall))
        return;
    std::wstring run;
    auto runNamesExe = [&] { return QuelloryApp::ReadRunValue(run) && SamePath(run, exe); };
    WaitUntil([&] { return !Exists(folder) && !Exists(shortcut) && !UninstallKeyExists() && !runNamesExe(); },
              30000);
    report.Check("  ... the folder is gone, markers and all", !Exists(folder),
                 folder + L": " + Join(FolderNames(folder)));
    report.Check("  ... the shortcut is gone", !Exists(shortcut));
    report.Check("  ... the uninstall key is gone", !UninstallKeyExists());
    const bool runStays = runNamesExe();
    report.Check("  ... start with Windows no longer names the removed program", !runStays, L"QLRVX = " + run);
}

}  // namespace e2e
