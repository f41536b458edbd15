#pragma once
// The fixed prefix code of LZHUF match positions: the upper 6 of the 12
// position bits get a 3- to 8-bit prefix (short ones for near positions),
// the lower 6 bits follow verbatim.
#include <array>
#include <cstdint>

namespace lzh {

struct PositionTables {
    // Indexed by the next 8 stream bits: the upper 6 position bits and the
    // prefix length they were coded with.
    std::array<std::uint8_t, 256> decodeCode{};
    std::array<std::uint8_t, 256> decodeLength{};
    // Indexed by the upper 6 position bits: the prefix, left-aligned in 8 bits, and its length.
    std::array<std::uint8_t, 64> encodeCode{};
    std::array<std::uint8_t, 64> encodeLength{};
};

constexpr PositionTables MakePositionTables() {
    PositionTables t;
    // (prefix length, how many consecutive upper values use it)
    constexpr int runs[6][2] = {{3, 1}, {4, 3}, {5, 8}, {6, 12}, {7, 24}, {8, 16}};
    int code = 0;
    int index = 0;
    for (const auto& run : runs) {
        const int length = run[0];
        const int span = 1 << (8 - length);  // 8-bit values sharing one prefix
        for (int n = 0; n < run[1]; ++n, ++code) {
            t.encodeCode[code] = static_cast<std::uint8_t>(index);
            t.encodeLength[code] = static_cast<std::uint8_t>(length);
            for (int k = 0; k < span; ++k, ++index) {
                t.decodeCode[index] = static_cast<std::uint8_t>(code);
                t.decodeLength[index] = static_cast<std::uint8_t>(length);
            }
        }
    }
    return t;
}

inline constexpr PositionTables kPositionTables = MakePositionTables();

}  // namespace lzh
