#pragma once
// Deterministic inputs for the LZH and archive tests.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace lzhtest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes RandomBytes(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes out(n);
    for (auto& b : out) b = static_cast<std::uint8_t>(rng());
    return out;
}

inline Bytes Text(std::size_t n, unsigned seed) {
    static const char* const words[] = {"skin", "window", "frame", "caption", "button", "the",
                                        "of", "bitmap", "margins", "colour", "=", "\r\n",
                                        "[Form]", "Tile", "Trans", "1", "0", "255", ",", " "};
    std::mt19937 rng(seed);
    Bytes out;
    while (out.size() < n) {
        const std::string w = words[rng() % 20];
        out.insert(out.end(), w.begin(), w.end());
        out.push_back(' ');
    }
    out.resize(n);
    return out;
}

// 24-bit rows of flat areas, gradients and some noise, like skin bitmaps.
inline Bytes BitmapLike(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes out;
    out.reserve(n);
    while (out.size() < n) {
        const int width = 20 + static_cast<int>(rng() % 200);
        const int kind = static_cast<int>(rng() % 4);
        const std::uint8_t base = static_cast<std::uint8_t>(rng());
        for (int x = 0; x < width && out.size() < n; ++x) {
            std::uint8_t px[3] = {base, static_cast<std::uint8_t>(base + 40), 0xFF};
            if (kind == 1) px[0] = px[1] = static_cast<std::uint8_t>(base + x);
            if (kind == 2) px[2] = static_cast<std::uint8_t>(rng() % 4 + 200);
            if (kind == 3) { px[0] = 0xFF; px[1] = 0x00; px[2] = 0xFF; }  // magenta key
            for (auto b : px) if (out.size() < n) out.push_back(b);
        }
    }
    return out;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

inline Bytes Repeat(std::uint8_t value, std::size_t n) { return Bytes(n, value); }

}  // namespace lzhtest
