#pragma once
// Decoder of the LZHUF stream a skin archive is packed with: a 32-bit
// little-endian uncompressed size, then adaptive-Huffman coded literals and
// matches over a 4096-byte window.
#include <cstdint>
#include <span>
#include <vector>

#include "core/Exception.h"
#include "core/Stream.h"

class ElzhException : public Exception {
public:
    using Exception::Exception;
};

class TLZH {
public:
    // No valid stream produces more than this many bytes per bit-stream
    // byte: a symbol costs at least 1 bit, a 60-byte match at least 10 bits.
    static constexpr std::int64_t kMaxExpansion = 48;
    static constexpr std::int64_t kMaxUncompressedSize = std::int64_t(256) << 20;

    // Decodes a whole stream (size field included). Missing bytes read as 0;
    // a size of 0 or less, or a stream shorter than its size field, gives nothing. Raises ElzhException for a size no
    // stream of this length can hold or beyond kMaxUncompressedSize.
    static std::vector<std::uint8_t> Decode(std::span<const std::uint8_t> stream);

    // Rewinds both streams and writes the decoded bytes to output from
    // position 0 (a memory stream is cut to exactly what was written).
    void Decompress(TStream& input, TStream& output);
};
