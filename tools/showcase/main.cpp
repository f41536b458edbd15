// The skin gallery: the gallery form and, beside it, the plain dialog.
//   showcase.exe [--work DIR] [--page N]
// --page shows page N (from 0) of the page control at the bottom.
// With --work, DIR\gallery.ready is written once both windows have painted,
// and the program closes when DIR\gallery.shot appears (the screenshot is taken
// in between by whoever started it).
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <memory>
#include <cwchar>
#include <string>

#include "classlib/Forms.h"
#include "tools/showcase/GalleryForm.h"

namespace {

// The value after option on the command line, or empty.
std::wstring Option(const wchar_t* option) {
    int count = 0;
    std::unique_ptr<LPWSTR, decltype(&LocalFree)> args(CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    for (int i = 1; args && i + 1 < count; ++i)
        if (wcscmp(args.get()[i], option) == 0) return args.get()[i + 1];
    return {};
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    TApplication application;
    application.Initialize();
    auto* gallery = application.CreateForm<TGalleryForm>();
    if (const std::wstring page = Option(L"--page"); !page.empty()) gallery->ShowPage(_wtoi(page.c_str()));
    if (const std::wstring work = Option(L"--work"); !work.empty()) gallery->StartHandshake(work);
    application.Run();
    return 0;
}
