#pragma once
// LZHUF packer: writes exactly the stream TLZH decodes, using the same
// adaptive Huffman model and the same blank-filled ring.
#include <cstdint>
#include <span>
#include <vector>

enum class TLZHParse {
    Greedy,  // the classic packer's choice: always the longest match here
    Lazy,    // defer a match by one byte when the next byte starts a longer one
};

// Size field plus bit stream. Raises std::length_error for more than
// INT32_MAX input bytes (the size field is signed 32-bit).
std::vector<std::uint8_t> LZHEncode(std::span<const std::uint8_t> input,
                                    TLZHParse parse = TLZHParse::Lazy);
