#include "tools/skinpack/ArchiveWriter.h"

#include <climits>
#include <stdexcept>

#include "core/ByteOrder.h"
#include "skin/data/SkinReader.h"

std::vector<std::uint8_t> WriteArchive(const std::vector<TArchiveEntry>& entries) {
    if (entries.size() > static_cast<std::size_t>(TSkinReader::kMaxFiles))
        throw std::invalid_argument("more than " + std::to_string(TSkinReader::kMaxFiles) +
                                    " files");
    std::string list;
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& name = entries[i].name;
        if (name.find_first_of("\r\n") != std::string::npos)
            throw std::invalid_argument("a file name holds a line break");
        if (i > 0) list += "\r\n";
        list += name;
        total += entries[i].data.size();
    }
    // A last empty name needs its own line break, or it would not count.
    if (!entries.empty() && entries.back().name.empty()) list += "\r\n";
    total += 16 + list.size() + 4 * entries.size();
    if (total > static_cast<std::uint64_t>(INT32_MAX))
        throw std::invalid_argument("archive larger than 2 GiB");

    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(total));
    AppendLE32(out, static_cast<std::uint32_t>(TSkinReader::kVersion));
    AppendLE32(out, static_cast<std::uint32_t>(list.size()));
    AppendLE32(out, 0);
    AppendLE32(out, 0);
    out.insert(out.end(), list.begin(), list.end());
    for (const auto& entry : entries) AppendLE32(out, static_cast<std::uint32_t>(entry.data.size()));
    for (const auto& entry : entries) out.insert(out.end(), entry.data.begin(), entry.data.end());
    return out;
}
