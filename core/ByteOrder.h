#pragma once
// Little-endian integers in byte buffers, independent of the host's order.
#include <cstddef>
#include <cstdint>
#include <vector>

inline std::uint32_t ReadLE32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

inline std::int32_t ReadLE32Signed(const std::uint8_t* p) {
    return static_cast<std::int32_t>(ReadLE32(p));
}

inline std::uint16_t ReadLE16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline void AppendLE32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
