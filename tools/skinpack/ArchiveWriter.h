#pragma once
// Builds a decompressed skin archive: version 20000, the name-list length,
// two zero words, the names joined with CR LF, the size table, the data.
#include <cstdint>
#include <string>
#include <vector>

struct TArchiveEntry {
    std::string name;  // bytes as stored; the reader lower-cases them
    std::vector<std::uint8_t> data;
};

// Raises std::invalid_argument for a name holding CR or LF, more than
// 1001 entries, or a file or archive the 32-bit fields cannot describe.
std::vector<std::uint8_t> WriteArchive(const std::vector<TArchiveEntry>& entries);
