// The skin gallery: the gallery form and, beside it, the plain dialog.
//   showcase.exe [--work DIR]
// With --work, DIR\gallery.ready is written once both windows have painted,
// and the program closes when DIR\gallery.shot appears (the screenshot is taken
// in between by whoever started it).
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <cwchar>
#include <string>

#include "classlib/Forms.h"
#include "tools/showcase/GalleryForm.h"

namespace {

std::wstring WorkFolder() {
    int count = 0;
    std::unique_ptr<LPWSTR, decltype(&LocalFree)> args(CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    for (int i = 1; args && i + 1 < count; ++i)
        if (wcscmp(args.get()[i], L"--work") == 0) return args.get()[i + 1];
    return {};
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    TApplication application;
    application.Initialize();
    auto* gallery = application.CreateForm<TGalleryForm>();
    if (const std::wstring work = WorkFolder(); !work.empty()) gallery->StartHandshake(work);
    application.Run();
    return 0;
}
