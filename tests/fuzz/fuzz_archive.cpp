// A skin file is untrusted: any file can be loaded as a skin. The input is
// taken as a compressed stream and loaded as an archive; it is also read as
// an already decompressed archive, which reaches the archive checks far
// more often than random compressed streams do.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "skin/data/LZH.h"
#include "skin/data/SkinReader.h"

namespace {

void ExtractAll(const TSkinReader& reader) {
    TMemoryStream target;
    std::size_t total = 0;
    for (const auto& name : reader.Names()) {
        reader.ExtractFile(name, target);
        total += target.Size();
    }
    std::string stored;
    for (const char* fragment : {".ini", ".bmp", "", ".INI", "a"}) reader.ExtractFileLike(fragment, target, stored);
    if (total > reader.FileData().Size() * reader.Names().size() + 1) __builtin_trap();
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
