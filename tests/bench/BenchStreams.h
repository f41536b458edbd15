#pragma once
// The streams the decoder is timed on.
#include <random>

#include "tests/portable/LZHTestData.h"

namespace benchstreams {

using lzhtest::Bytes;

// What a skin archive holds, in about the proportions it holds it: text,
// binary tables, shaded 24-bit pictures, long runs and bytes that were
// already compressed. It packs to about 0.6 of its size.
inline Bytes Mixed(std::size_t n = 1u << 20) {
    std::mt19937 rng(1989);
    Bytes out;
    for (unsigned part = 0; out.size() < n; ++part) {
        out = lzhtest::Concat({out, lzhtest::Text(24 * 1024, part)});
        for (int i = 0; i < 4 * 1024; ++i) {  // records: an increasing offset and a small count
            const std::uint32_t words[2] = {static_cast<std::uint32_t>(i * 52 + rng() % 16),
                                             static_cast<std::uint32_t>(rng() % 300)};
            for (auto w : words)
                for (int b = 0; b < 4; ++b) out.push_back(static_cast<std::uint8_t>(w >> (8 * b)));
        }
        for (int row = 0; row < 64; ++row)  // a shaded picture with sensor noise
            for (int x = 0; x < 3 * 240; ++x)
                out.push_back(static_cast<std::uint8_t>(row * 2 + x / 6 + rng() % 12));
        const auto flat = lzhtest::BitmapLike(16 * 1024, part);
        out.insert(out.end(), flat.begin(), flat.end());
        out.insert(out.end(), 6 * 1024, static_cast<std::uint8_t>(part % 3 ? 0xFF : 0x00));
        const auto packed = lzhtest::RandomBytes(12 * 1024, part);
        out.insert(out.end(), packed.begin(), packed.end());
    }
    out.resize(n);
    return out;
}

// Text and flat pictures only: packs to about 0.16.
inline Bytes Compressible(std::size_t n = 4u << 20) {
    Bytes b;
    for (unsigned i = 0; b.size() < n; ++i)
        b = lzhtest::Concat({b, lzhtest::Text(64 * 1024, i), lzhtest::BitmapLike(192 * 1024, i)});
    return b;
}

}  // namespace benchstreams
