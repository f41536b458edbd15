// The end-to-end driver: Wine's Notepad as the target application, Quellory.exe
// driven through the loopback recogniser's script.
//   e2e_dictation [--demo] [--loopback DLL] [--work FOLDER] [--gallery SHOWCASE_EXE] QUELLORY_EXE
//   e2e_dictation --package SETUP_EXE [--loopback DLL] [--work FOLDER]
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "Scenarios.h"

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    e2e::Settings settings;
    bool demo = false;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--demo")
            demo = true;
        else if (arg == L"--loopback" && i + 1 < argc)
            settings.loopbackDll = argv[++i];
        else if (arg == L"--package" && i + 1 < argc)
            settings.setupExe = argv[++i];
        else if (arg == L"--work" && i + 1 < argc)
            settings.workFolder = argv[++i];
        else if (arg == L"--gallery" && i + 1 < argc)
            settings.galleryExe = argv[++i];
        else
            settings.quelloryExe = arg;
    }
    if (settings.quelloryExe.empty() == settings.setupExe.empty()) {
        std::fputs("usage: e2e_dictation [--demo] [--loopback DLL] [--work FOLDER] [--gallery SHOWCASE_EXE] QUELLORY_EXE\n"
                   "       e2e_dictation --package SETUP_EXE [--loopback DLL] [--work FOLDER]\n",
                   stderr);
        return 2;
    }
    for (std::wstring* path : {&settings.quelloryExe, &settings.setupExe, &settings.galleryExe}) {
        wchar_t full[MAX_PATH * 2];
        if (!path->empty() && GetFullPathNameW(path->c_str(), MAX_PATH * 2, full, nullptr)) *path = full;
    }
    if (settings.workFolder.empty()) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        settings.workFolder = temp;
    }
    while (!settings.workFolder.empty() &&
           (settings.workFolder.back() == L'\\' || settings.workFolder.back() == L'/'))
        settings.workFolder.pop_back();
    CreateDirectoryW(settings.workFolder.c_str(), nullptr);

    e2e::Report report;
    const ULONGLONG started = GetTickCount64();
    if (!settings.setupExe.empty()) {
        e2e::RunPackage(settings, report);
    } else if (demo) {
        e2e::RunDemo(settings, report);
    } else {
        report.Check("the ANSI code page is 936 (run under LC_ALL=zh_CN.UTF-8)", GetACP() == 936,
                     L"GetACP() = " + std::to_wstring(GetACP()));
        e2e::RunDictation(settings, report);
        e2e::RunOptions(settings, report);
        e2e::RunWithoutRecogniser(settings, report);
    }
    e2e::Print(std::to_wstring(report.Checks()) + L" checks, " + std::to_wstring(report.Failures()) +
               L" failed, " + e2e::SecondsSince(started) + L" s\n");
    return report.Failures() == 0 && report.Checks() > 0 ? 0 : 1;
}
