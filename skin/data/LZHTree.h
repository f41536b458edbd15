#pragma once
// The adaptive Huffman model of the LZHUF coder. The decoder and the packer
// must update it identically, symbol for symbol, so both use this one type.
#include <array>
#include <cstdint>

namespace lzh {

inline constexpr int kRingSize = 4096;          // sliding window
inline constexpr int kRingMask = kRingSize - 1;
inline constexpr int kMaxMatch = 60;            // look-ahead
inline constexpr int kThreshold = 2;            // shortest match is kThreshold + 1
inline constexpr int kFirstWrite = kRingSize - kMaxMatch;  // 4036
inline constexpr std::uint8_t kRingFill = 0x20;
inline constexpr int kRingBytes = kRingSize + kMaxMatch - 1;  // 4155
inline constexpr int kSymbolCount = 256 + kMaxMatch - kThreshold;  // 314
inline constexpr int kNodeCount = 2 * kSymbolCount - 1;            // 627
inline constexpr int kRoot = kNodeCount - 1;                       // 626
inline constexpr std::uint16_t kMaxFreq = 0x8000;

}  // namespace lzh

// Nodes are kept in non-decreasing count order; the children of a node sit at
// son[n] and son[n] + 1, so the branch bit of a node is its index's low bit.
// son[] >= kNodeCount marks a leaf (symbol son[] - kNodeCount); prnt[] holds
// the parent of nodes 0..626 and, from 627 on, the node of each symbol.
// The order makes it a Huffman tree, and the root never counts more than
// kMaxFreq, so no code is longer than kMaxCodeBits (a leaf at depth d needs a
// root count of at least Fibonacci(d + 2)).
struct TLZHTree {
    static constexpr int kMaxCodeBits = 21;

    // Past the last node: a 0xFFFF sentinel that ends every upward scan.
    std::array<std::uint16_t, lzh::kNodeCount + 1> freq;
    std::array<std::int16_t, lzh::kNodeCount + lzh::kSymbolCount> prnt;
    std::array<std::int16_t, lzh::kNodeCount> son;

    void Init();
    // Counts one occurrence of symbol and restores the sibling order. The
    // decoder has its own faster copy; the packer's round trips hold the two
    // to the same result.
    void Update(int symbol);
    // Halves every leaf count and rebuilds the internal nodes.
    void Rebuild();
};
