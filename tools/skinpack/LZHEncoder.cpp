#include "tools/skinpack/LZHEncoder.h"

#include <algorithm>
#include <array>
#include <climits>
#include <memory>
#include <stdexcept>

#include "core/ByteOrder.h"
#include "skin/data/LZHPosition.h"
#include "skin/data/LZHTree.h"

using namespace lzh;

namespace {

class BitOutput {
public:
    explicit BitOutput(std::vector<std::uint8_t>& out) : out_(out) {}

    // Appends the low n bits of value, most significant first; n <= 32.
    void Put(int n, std::uint32_t value) {
        buffer_ = buffer_ << n | (value & ((std::uint64_t(1) << n) - 1));
        count_ += n;
        while (count_ >= 8) {
            count_ -= 8;
            out_.push_back(static_cast<std::uint8_t>(buffer_ >> count_));
        }
    }

    // Pads the last byte with zero bits.
    void Flush() {
        if (count_ > 0) out_.push_back(static_cast<std::uint8_t>(buffer_ << (8 - count_)));
        count_ = 0;
    }

private:
    std::vector<std::uint8_t>& out_;
    std::uint64_t buffer_ = 0;
    int count_ = 0;
};

struct Match {
    int length = 0;
    int distance = 0;  // 1..kRingSize
};

// Longest-match search over hash chains of 3-byte prefixes. Positions are
// indices into the blank prefix followed by the input, so a match may
// reach back into the blanks exactly as the decoder's ring holds them.
class MatchFinder {
public:
    explicit MatchFinder(const std::vector<std::uint8_t>& text)
        : text_(text), head_(kHashSize, -1), chain_(kRingSize, -1) {}

    void Insert(int pos) {
        if (pos + 2 >= static_cast<int>(text_.size())) return;
        const unsigned h = Hash(pos);
        chain_[pos & kRingMask] = head_[h];
        head_[h] = pos;
    }

    // Longest match for pos among earlier positions at most kRingSize
    // back; the nearest of equally long ones (its position code is shortest).
    Match Find(int pos) const {
        Match best;
        const int limit = std::min<int>(kMaxMatch, static_cast<int>(text_.size()) - pos);
        if (limit <= kThreshold) return best;
        const std::uint8_t* const s = text_.data() + pos;
        for (int cand = head_[Hash(pos)]; cand >= 0 && pos - cand <= kRingSize;
             cand = chain_[cand & kRingMask]) {
            const std::uint8_t* const t = text_.data() + cand;
            if (t[best.length] != s[best.length] || t[0] != s[0]) continue;
            int n = 0;
            while (n < limit && t[n] == s[n]) ++n;
            if (n > best.length) {
                best = {n, pos - cand};
                if (n == limit) break;
            }
        }
        if (best.length <= kThreshold) best = {};
        return best;
    }

private:
    static constexpr unsigned kHashBits = 15;
    static constexpr unsigned kHashSize = 1u << kHashBits;

    unsigned Hash(int pos) const {
        const std::uint8_t* p = text_.data() + pos;
        const std::uint32_t v = p[0] | p[1] << 8 | p[2] << 16;
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    const std::vector<std::uint8_t>& text_;
    std::vector<int> head_;
    std::vector<int> chain_;  // previous position with the same hash, by pos mod kRingSize
};

class SymbolWriter {
public:
    explicit SymbolWriter(BitOutput& out) : out_(out) { tree_.Init(); }

    void Symbol(int c) {
        // The path is known leaf to root; the decoder reads it root to leaf.
        int depth = 0;
        int k = tree_.prnt[c + kNodeCount];
        do {
            path_[depth++] = static_cast<std::uint8_t>(k & 1);
        } while ((k = tree_.prnt[k]) != kRoot);
        while (depth > 0) {
            const int n = std::min(depth, 32);
            std::uint32_t code = 0;
            for (int i = 0; i < n; ++i) code = code << 1 | path_[--depth];
            out_.Put(n, code);
        }
        tree_.Update(c);
    }

    void Literal(std::uint8_t byte) { Symbol(byte); }

    void MatchOf(const Match& m) {
        Symbol(256 + m.length - kThreshold - 1);
        const int position = m.distance - 1;
        const int upper = position >> 6;
        const int length = kPositionTables.encodeLength[upper];
        out_.Put(length, kPositionTables.encodeCode[upper] >> (8 - length));
        out_.Put(6, static_cast<std::uint32_t>(position & 63));
    }

private:
    BitOutput& out_;
    TLZHTree tree_;
    std::array<std::uint8_t, kNodeCount> path_{};
};

}  // namespace

std::vector<std::uint8_t> LZHEncode(std::span<const std::uint8_t> input, TLZHParse parse) {
    if (input.size() > static_cast<std::size_t>(INT32_MAX))
        throw std::length_error("LZH input larger than 2 GiB");
    std::vector<std::uint8_t> out;
    out.reserve(4 + input.size() / 2);
    AppendLE32(out, static_cast<std::uint32_t>(input.size()));

    std::vector<std::uint8_t> text(kFirstWrite + input.size(), kRingFill);
    std::copy(input.begin(), input.end(), text.begin() + kFirstWrite);
    const int end = static_cast<int>(text.size());

    BitOutput bits(out);
    auto writer = std::make_unique<SymbolWriter>(bits);
    MatchFinder finder(text);
    for (int pos = 0; pos < kFirstWrite; ++pos) finder.Insert(pos);

    int pos = kFirstWrite;
    Match next;  // match at pos found one step ahead, if any
    bool haveNext = false;
    while (pos < end) {
        const Match m = haveNext ? next : finder.Find(pos);
        haveNext = false;
        finder.Insert(pos);
        if (m.length > 0 && parse == TLZHParse::Lazy && m.length < kMaxMatch && pos + 1 < end) {
            next = finder.Find(pos + 1);
            if (next.length > m.length) {
                writer->Literal(text[pos]);
                ++pos;
                haveNext = true;
                continue;
            }
        }
        if (m.length > 0) {
            writer->MatchOf(m);
            for (int i = 1; i < m.length; ++i) finder.Insert(pos + i);
            pos += m.length;
        } else {
            writer->Literal(text[pos]);
            ++pos;
        }
    }
    bits.Flush();
    return out;
}
