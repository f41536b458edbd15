#include "skin/data/LZHTree.h"

#include <algorithm>
#include <array>

using namespace lzh;

void TLZHTree::Init() {
    for (int i = 0; i < kSymbolCount; ++i) {
        freq[i] = 1;
        son[i] = static_cast<std::int16_t>(i + kNodeCount);
        prnt[i + kNodeCount] = static_cast<std::int16_t>(i);
    }
    for (int i = 0, j = kSymbolCount; j <= kRoot; i += 2, ++j) {
        freq[j] = static_cast<std::uint16_t>(freq[i] + freq[i + 1]);
        son[j] = static_cast<std::int16_t>(i);
        prnt[i] = prnt[i + 1] = static_cast<std::int16_t>(j);
    }
    std::fill(freq.begin() + kNodeCount, freq.end(), std::uint16_t(0xFFFF));  // end every upward scan
    prnt[kRoot] = 0;
}

void TLZHTree::Rebuild() {
    std::array<std::uint16_t, kSymbolCount> leafFreq;
    std::array<std::int16_t, kSymbolCount> leafSon;
    int leaves = 0;
    for (int i = 0; i < kNodeCount; ++i) {
        if (son[i] >= kNodeCount) {
            leafFreq[leaves] = static_cast<std::uint16_t>((freq[i] + 1) / 2);
            leafSon[leaves] = son[i];
            ++leaves;
        }
    }
    // A new internal node goes after every node whose count is not larger,
    // which keeps the order the packer and every other decoder agree on.
    // Leaves and new nodes each come in order, so that is a merge of the two:
    // node n (n >= kSymbolCount) joins places 2(n - kSymbolCount) and the
    // one after, both settled before it can be placed.
    int nextLeaf = 0, nextNode = 0;
    for (int place = 0; place < kNodeCount; ++place) {
        const int made = place / 2;  // new nodes whose two places are settled
        const bool node = nextNode < made &&
                          (nextLeaf == leaves ||
                           leafFreq[nextLeaf] > freq[2 * nextNode] + freq[2 * nextNode + 1]);
        if (node) {
            freq[place] = static_cast<std::uint16_t>(freq[2 * nextNode] + freq[2 * nextNode + 1]);
            son[place] = static_cast<std::int16_t>(2 * nextNode);
            ++nextNode;
        } else {
            freq[place] = leafFreq[nextLeaf];
            son[place] = leafSon[nextLeaf];
            ++nextLeaf;
        }
    }
    for (int i = 0; i < kNodeCount; ++i) {
        const int k = son[i];
        prnt[k] = static_cast<std::int16_t>(i);
        if (k < kNodeCount) prnt[k + 1] = static_cast<std::int16_t>(i);
    }
}

void TLZHTree::Update(int symbol) {
    if (freq[kRoot] == kMaxFreq) Rebuild();
    int c = prnt[symbol + kNodeCount];
    do {
        const std::uint16_t k = ++freq[c];
        if (k > freq[c + 1]) {
            int l = c + 1;
            while (k > freq[l + 1]) ++l;
            freq[c] = freq[l];
            freq[l] = k;
            const int i = son[c];
            prnt[i] = static_cast<std::int16_t>(l);
            if (i < kNodeCount) prnt[i + 1] = static_cast<std::int16_t>(l);
            const int j = son[l];
            son[l] = static_cast<std::int16_t>(i);
            prnt[j] = static_cast<std::int16_t>(c);
            if (j < kNodeCount) prnt[j + 1] = static_cast<std::int16_t>(c);
            son[c] = static_cast<std::int16_t>(j);
            c = l;
        }
        c = prnt[c];
    } while (c != 0);
}
