// skingen: draws the skin Quellory ships and the program's bitmap resources.
//   skingen skin DIR                    the 35 skin files (34 bitmaps, the definition)
//   skingen names                       their names in archive order, one a line
//   skingen resources DIR               menuglyphs.bmp, track.bmp, trackvert.bmp
//   skingen property SKIN OUTPUT        the line(s) "SkinStream = {...}" of that skin
//   skingen embed TEMPLATE SKIN OUTPUT  a layout with the skin as its SkinStream
// Exit codes: 0 success, 1 failure, 2 usage.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/skingen/LayoutEmbed.h"
#include "tools/skingen/SkinFiles.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "usage: skingen skin DIR | names | resources DIR | property SKIN OUTPUT | embed TEMPLATE SKIN OUTPUT\n";

std::vector<std::uint8_t> ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) throw std::runtime_error(p.string() + ": cannot open for reading");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& p, const void* data, std::size_t size) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error(p.string() + ": cannot open for writing");
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) throw std::runtime_error(p.string() + ": write error");
}

void WriteAll(const fs::path& dir, const std::vector<TNamedFile>& files) {
    fs::create_directories(dir);
    for (const auto& f : files) WriteFile(dir / f.name, f.bytes.data(), f.bytes.size());
}

int Run(const std::vector<std::string>& args) {
    const std::string verb = args.empty() ? "" : args[0];
    if (verb == "skin" && args.size() == 2) {
        WriteAll(args[1], BuildSkinFiles());
    } else if (verb == "names" && args.size() == 1) {
        for (const auto& spec : SkinBitmapSpecs()) std::cout << spec.name << '\n';
        std::cout << kSkinDefinitionName << '\n';
    } else if (verb == "resources" && args.size() == 2) {
        WriteAll(args[1], BuildFiles(ProgramResourceSpecs()));
    } else if (verb == "property" && args.size() == 3) {
        std::string text;
        for (const auto& line : SkinStreamProperty(ReadFile(args[1]))) text += line + "\n";
        WriteFile(args[2], text.data(), text.size());
    } else if (verb == "embed" && args.size() == 4) {
        const auto layout = ReadFile(args[1]);
        const std::string text = EmbedSkinStream(std::string(layout.begin(), layout.end()), ReadFile(args[2]));
        WriteFile(args[3], text.data(), text.size());
    } else {
        std::cerr << kUsage;
        return 2;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::cerr << "skingen: " << e.what() << '\n';
        return 1;
    }
}
