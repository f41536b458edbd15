// skinsheet: writes one 24-bit .bmp showing a whole skin.
//   skinsheet SKIN OUT.bmp [SCALE]   SKIN is a compressed skin file or a folder
// Exit codes: 0 success, 1 failure, 2 usage.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "core/BitmapFile.h"
#include "tools/skinsheet/ContactSheet.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::cerr << "usage: skinsheet SKIN OUT.bmp [SCALE]\n";
        return 2;
    }
    try {
        const std::filesystem::path skin = argv[1];
        const int scale = argc == 4 ? std::stoi(argv[3]) : 2;
        if (scale < 1 || scale > 8) throw std::runtime_error("SCALE is 1 to 8");
        const TSkinContents contents =
            std::filesystem::is_directory(skin) ? LoadSkinFolder(skin) : LoadSkinFile(skin);
        const auto bytes = TBitmapFile::FromPixels(MakeContactSheet(contents, scale).Pixels().View()).Encode();
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) throw std::runtime_error(std::string(argv[2]) + ": cannot write");
    } catch (const std::exception& e) {
        std::cerr << "skinsheet: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
