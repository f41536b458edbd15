// The portable half of loading a skin: the archive, the definition file in
// it and every bitmap the definition names, as the skin data component takes
// them. The input is read as a compressed skin and as a decompressed archive
// (which reaches the definition far more often).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/BitmapFile.h"
#include "skin/data/LZH.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinReader.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

// The file a definition value names: its last path part, when it is a .bmp.
std::string BitmapName(std::string_view value) {
    const std::size_t slash = value.find_last_of("\\/:");
    if (slash != std::string_view::npos) value.remove_prefix(slash + 1);
    const std::size_t dot = value.find_last_of('.');
    if (value.empty() || dot == std::string_view::npos || value.substr(dot) != ".bmp") return {};
    return std::string(value);
}

void LoadBitmap(const TSkinReader& reader, const std::string& name, TMemoryStream& work) {
    if (!reader.ExtractFile(name, work) || work.Size() == 0) return;
    try {
        const auto file = TBitmapFile::Decode(std::span(work.Memory(), work.Size()));
        const TPixelImage image = file.To24Bit();
        Check(image.Width() == file.Width() && image.Height() == file.Height());
    } catch (const EBitmapError&) {
    }
}

void LoadSkin(const TSkinReader& reader) {
    TMemoryStream work;
    std::string iniName;
    reader.ExtractFileLike(".ini", work, iniName);
    work.Rewind();
    TQuickIni ini;
    ini.LoadFromStream(work);
    const auto& lines = ini.Lines();
    const auto& sections = ini.Sections();
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const std::size_t end = s + 1 < sections.size() ? sections[s + 1].LineIndex : lines.size();
        const std::string& header = sections[s].Header;
        const std::string_view section = std::string_view(header).substr(1, header.size() >= 2 ? header.size() - 2 : 0);
        for (std::size_t i = sections[s].LineIndex + 1; i < end; ++i) {
            const std::size_t equals = lines[i].find('=');
            if (equals == std::string::npos) continue;
            const std::string_view key = TrimIniText(std::string_view(lines[i]).substr(0, equals));
            const std::string name = BitmapName(ini.ReadString(section, key, ""));
            if (!name.empty()) LoadBitmap(reader, name, work);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    TSkinReader reader;
    try {
        if (reader.LoadArchive(input)) LoadSkin(reader);
    } catch (const ElzhException&) {
    }
    if (reader.LoadDecompressed(input)) LoadSkin(reader);
    return 0;
}
