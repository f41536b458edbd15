// A skin file is untrusted: any file can be loaded as a skin. The input is
// taken as a compressed stream and loaded as an archive; it is also read as
// an already decompressed archive, which reaches the archive checks far
// more often than random compressed streams do.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "skin/data/LZH.h"
#include "skin/data/SkinReader.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

// Files lie back to back in the data area, in name order; ExtractFile gives
// the first file of a name.
void ExtractAll(const TSkinReader& reader) {
    const auto area = reader.FileData().Bytes();
    const auto& names = reader.Names();
    const auto& sizes = reader.Sizes();
    Check(names.size() == sizes.size());
    TMemoryStream target;
    std::size_t start = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        Check(sizes[i] >= 0 && start + static_cast<std::size_t>(sizes[i]) <= area.size());
        const auto expected = area.subspan(start, static_cast<std::size_t>(sizes[i]));
        start += expected.size();
        const auto here = names.begin() + static_cast<std::ptrdiff_t>(i);
        if (std::find(names.begin(), here, names[i]) != here) continue;
        Check(reader.ExtractFile(names[i], target));
        Check(std::equal(expected.begin(), expected.end(), target.Memory(), target.Memory() + target.Size()));
    }
    std::string stored;
    for (const char* fragment : {".ini", ".bmp", "", ".INI", "a"}) reader.ExtractFileLike(fragment, target, stored);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TMemoryStream in;
    in.WriteBuffer(data, size);
    TSkinReader reader;
    try {
        if (reader.LoadArchive(in)) ExtractAll(reader);
    } catch (const ElzhException&) {
    }
    if (reader.LoadDecompressed(std::span<const std::uint8_t>(data, size))) ExtractAll(reader);
    return 0;
}
