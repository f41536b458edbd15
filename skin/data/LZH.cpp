#include "skin/data/LZH.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "core/ByteOrder.h"
#include "skin/data/LZHPosition.h"
#include "skin/data/LZHTree.h"

using namespace lzh;

namespace {

// MSB-first bits from memory; reading past the end yields zero bits.
class BitInput {
public:
    explicit BitInput(std::span<const std::uint8_t> bytes)
        : next_(bytes.data()), end_(bytes.data() + bytes.size()) {}

    // At least n <= 56 bits in Window() afterwards. Away from the end the
    // window is topped up every time: a test of the count would be a branch
    // no predictor gets right.
    void Ensure(int n) {
        if (end_ - next_ >= 8) {
            TopUp();
        } else if (count_ < n) {
            Tail();
        }
    }
    // The next bits, left-aligned.
    std::uint64_t Window() const { return buffer_; }
    void Skip(int n) {
        buffer_ <<= n;
        count_ -= n;
    }

private:
    // Whole bytes past count_ are taken; the part of a byte that also comes
    // in is loaded again next time, to the same bits.
    void TopUp() {
        std::uint64_t word = 0;
        for (int i = 0; i < 8; ++i) word = word << 8 | next_[i];
        buffer_ |= word >> count_;
        const int take = (63 - count_) >> 3;
        next_ += take;
        count_ += 8 * take;
    }

    void Tail() {
        while (count_ <= 56) {
            const std::uint64_t byte = next_ < end_ ? *next_++ : 0;
            buffer_ |= byte << (56 - count_);
            count_ += 8;
        }
    }

    const std::uint8_t* next_;
    const std::uint8_t* end_;
    std::uint64_t buffer_ = 0;  // valid bits left-aligned; below them zeros or the bits that follow
    int count_ = 0;
};

// A whole symbol code and a position code fit in what Ensure gives.
constexpr int kSymbolBits = TLZHTree::kMaxCodeBits + 8 + 6;

// The decoder's own copy of the model, laid out for counting a path: counts
// and parents in one array, a fixed distance apart, so that a pointer to a
// node's count reaches the next count and the parent without index
// arithmetic. TLZHTree stays the reference; rebuilds go through it.
class Model {
public:
    void Load(const TLZHTree& tree) {
        for (int i = 0; i < kNodeCount; ++i) {
            cells_[i] = tree.freq[i];
            son_[i] = static_cast<std::uint16_t>(tree.son[i]);
        }
        for (int i = kNodeCount; i < kParents; ++i) cells_[i] = 0xFFFF;
        for (int i = 0; i <= kScratch; ++i) cells_[kParents + i] = static_cast<std::uint16_t>(tree.prnt[i]);
        // The root's parent is the stop node: it and the count after it are
        // equal, so the path ends on the rare branch instead of a test per level.
        cells_[kParents + kRoot] = kStop;
    }

    void Rebuild(TLZHTree& tree) {
        for (int i = 0; i < kNodeCount; ++i) {
            tree.freq[i] = cells_[i];
            tree.son[i] = static_cast<std::int16_t>(son_[i]);
        }
        tree.Rebuild();
        Load(tree);
    }

    bool Full() const { return cells_[kRoot] == kMaxFreq; }

    std::size_t DecodeSymbol(BitInput& in) const;
    void Count(std::size_t symbol);

private:
    static constexpr int kStop = kNodeCount;  // counts 0xFFFF, as does the node after it
    static constexpr int kScratch = kNodeCount + kSymbolCount;  // takes writes only internal nodes need
    // Counts of the nodes, then 0xFFFF sentinels: kStop and its neighbour,
    // which also end every run of equal counts, and room for a run's last read.
    static constexpr int kParents = kNodeCount + 5;

    // Counts, then from kParents on the parents of the nodes, the symbols'
    // nodes and kScratch.
    std::array<std::uint16_t, kParents + kScratch + 1> cells_;
    std::array<std::uint16_t, kNodeCount> son_;
};

// Of a value known not to be 0.
inline int CountTrailingZeros(std::uint64_t value) {
#if defined(__GNUC__)
    return __builtin_ctzll(value);
#else
    return std::countr_zero(value);
#endif
}

// Shifts the top bit out and returns it (the carry of bits + bits, where the compiler has it).
inline std::size_t NextBit(std::uint64_t& bits) {
#if defined(__GNUC__)
    return __builtin_add_overflow(bits, bits, &bits);
#else
    const std::size_t bit = bits >> 63;
    bits <<= 1;
    return bit;
#endif
}

// The bits used are counted by where a 1 put below the window ends up.
std::size_t Model::DecodeSymbol(BitInput& in) const {
    const std::uint16_t* const son = son_.data();
    std::uint64_t bits = in.Window() | 1;
    std::size_t c = son[kRoot];
    while (c < kNodeCount) c = son[c + NextBit(bits)];
    in.Skip(CountTrailingZeros(bits));
    return c - kNodeCount;
}

// How many counts from p on equal p[-1]. The counts never fall, so a run
// ends where a count differs from the one before it, found four at a time
// by comparing the counts with themselves one place back. The sentinels end
// every run before the reads leave the counts.
std::size_t EqualRun(const std::uint16_t* p) {
    if constexpr (std::endian::native == std::endian::little) {
        for (std::size_t run = 0;; run += 4) {
            std::uint64_t lanes, before;
            std::memcpy(&lanes, p + run, sizeof lanes);
            std::memcpy(&before, p + run - 1, sizeof before);
            if (const std::uint64_t differ = lanes ^ before)
                return run + static_cast<std::size_t>(CountTrailingZeros(differ) >> 4);
        }
    } else {
        std::size_t run = 0;
        while (p[run] == p[-1]) ++run;
        return run;
    }
}

// TLZHTree::Update's result: the same swaps in the same order.
void Model::Count(std::size_t symbol) {
    std::uint16_t* const count = cells_.data();
    std::uint16_t* const parent = count + kParents;
    std::uint16_t* const son = son_.data();
    std::uint16_t* n = count + parent[symbol + kNodeCount];
    for (;;) {
        const unsigned k = n[0];
        if (n[1] == k) [[unlikely]] {
            if (n == count + kStop) break;
            const auto c = static_cast<std::size_t>(n - count);
            // c's place once counted: the last node counting as much.
            const std::size_t l = c + 1 + EqualRun(n + 2);
            const std::size_t i = son[c];
            const std::size_t j = son[l];
            son[l] = static_cast<std::uint16_t>(i);
            son[c] = static_cast<std::uint16_t>(j);
            parent[i] = static_cast<std::uint16_t>(l);
            parent[i < kNodeCount ? i + 1 : kScratch] = static_cast<std::uint16_t>(l);
            parent[j] = static_cast<std::uint16_t>(c);
            parent[j < kNodeCount ? j + 1 : kScratch] = static_cast<std::uint16_t>(c);
            n = count + l;
        }
        // Swapped or not, the node at n is the one counted.
        n[0] = static_cast<std::uint16_t>(k + 1);
        n = count + n[kParents];
    }
}

// The upper 6 bits from the prefix table, the lower 6 verbatim.
int DecodePosition(BitInput& in) {
    const std::uint64_t bits = in.Window();
    const unsigned first = static_cast<unsigned>(bits >> 56);
    const int length = kPositionTables.decodeLength[first];
    const unsigned low = static_cast<unsigned>(bits >> (58 - length)) & 63;
    in.Skip(length + 6);
    return static_cast<int>(kPositionTables.decodeCode[first] << 6 | low);
}

// Matches are copied 8 bytes at a time when they start at least 8 back, so
// the output has room for 7 bytes more than the longest match writes.
constexpr std::size_t kCopySlack = 8;

void CopyMatch(std::uint8_t* dst, int distance, int length) {
    const std::uint8_t* src = dst - distance;
    if (distance >= 8) {
        for (int k = 0; k < length; k += 8) std::memcpy(dst + k, src + k, 8);
    } else {
        // Overlapping: each byte may be one this match has just written.
        for (int k = 0; k < length; ++k) dst[k] = src[k];
    }
}

}  // namespace

std::vector<std::uint8_t> TLZH::Decode(std::span<const std::uint8_t> stream) {
    // A stream too short for its size field has size 0.
    if (stream.size() < 4) return {};
    const std::int64_t size = ReadLE32Signed(stream.data());
    if (size <= 0) return {};
    const auto bits = stream.subspan(4);
    const std::int64_t bound = kMaxExpansion * std::int64_t(bits.size()) + kMaxMatch;
    if (size > kMaxUncompressedSize)
        throw ElzhException("LZH : uncompressed size " + std::to_string(size) +
                            " exceeds the limit of 256 MiB");
    if (size > bound)
        throw ElzhException("LZH : uncompressed size " + std::to_string(size) +
                            " is more than " + std::to_string(bits.size()) +
                            " bit-stream bytes can hold (" + std::to_string(bound) + ")");

    // The ring is not kept: the output itself is the window, behind a prefix
    // of blanks that stands for the ring's first fill (a match reaches at
    // most kRingSize back).
    std::unique_ptr<TLZHTree> tree;
    std::unique_ptr<Model> model;
    std::vector<std::uint8_t> out;
    try {
        tree = std::make_unique<TLZHTree>();
        model = std::make_unique<Model>();
        // The last match is copied whole and may run up to 59 bytes past size.
        out.resize(kRingSize + static_cast<std::size_t>(size) + kMaxMatch - 1 + kCopySlack);
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
    tree->Init();
    model->Load(*tree);
    std::fill_n(out.begin(), kRingSize, kRingFill);

    BitInput in(bits);
    std::uint8_t* dst = out.data() + kRingSize;
    std::uint8_t* const stop = dst + size;
    while (dst < stop) {
        in.Ensure(kSymbolBits);
        const std::size_t c = model->DecodeSymbol(in);
        if (model->Full()) model->Rebuild(*tree);
        model->Count(c);
        if (c < 256) {
            *dst++ = static_cast<std::uint8_t>(c);
        } else {
            const int length = static_cast<int>(c) - 256 + kThreshold + 1;
            CopyMatch(dst, DecodePosition(in) + 1, length);
            dst += length;
        }
    }
    const auto written = static_cast<std::size_t>(dst - out.data());
    out.erase(out.begin(), out.begin() + kRingSize);
    out.resize(written - kRingSize);
    return out;
}

void TLZH::Decompress(TStream& input, TStream& output) {
    input.SetPosition(0);
    output.SetPosition(0);
    std::vector<std::uint8_t> decoded;
    if (const auto* memory = dynamic_cast<const TMemoryStream*>(&input)) {
        decoded = Decode(memory->Bytes());
    } else {
        std::vector<std::uint8_t> bytes(input.Size());
        bytes.resize(input.Read(bytes.data(), bytes.size()));
        decoded = Decode(bytes);
    }
    output.WriteBuffer(decoded.data(), decoded.size());
    if (auto* memory = dynamic_cast<TMemoryStream*>(&output)) memory->SetSize(decoded.size());
}
