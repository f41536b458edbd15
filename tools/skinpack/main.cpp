#include <filesystem>
#include <iostream>
#include <vector>

#include "tools/skinpack/Commands.h"

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> args(argv + 1, argv + argc);
    return RunSkinpack(args, std::cout, std::cerr);
}
