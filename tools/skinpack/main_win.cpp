// Windows entry: the arguments arrive as UTF-16, so any path works,
// whatever the ANSI code page.
#include <filesystem>
#include <iostream>
#include <vector>

#include "tools/skinpack/Commands.h"

int wmain(int argc, wchar_t** argv) {
    std::vector<std::filesystem::path> args(argv + 1, argv + argc);
    return RunSkinpack(args, std::cout, std::cerr);
}
