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

// MSB-first bits from a copy of the stream with zeros after it, kept as a
// bit position: the bits at hand are one unaligned 8-byte load away, with
// nothing to top up and no end to test on each read. The caller asks for a
// number of safe reads now and then instead.
class BitInput {
public:
    // The zeros after the stream, as many as one 8-byte load and a run of
    // reads between two Reserve calls need.
    static constexpr std::size_t kPadding = 128;

    // padded holds the stream's size bytes, then kPadding zeros.
    BitInput(const std::uint8_t* padded, std::size_t size)
        : bytes_(padded), end_(8 * std::uint64_t(size)), last_(8 * std::uint64_t(size + kPadding - 8)) {}

    // At least the next 57 bits, left-aligned; below them the bits that
    // follow or zeros.
    std::uint64_t Window() const { return LoadBigEndian(bytes_ + (position_ >> 3)) << (position_ & 7); }
    void Skip(unsigned n) { position_ += n; }

    // How many more Window and Skip pairs may follow, each skipping at most
    // most bits. A damaged stream reads on past its end until the output is
    // full; all it reads there is zeros, as at the end itself, so the
    // position goes back to the end.
    std::uint64_t Reserve(unsigned most) {
        position_ = std::min(position_, end_);
        return (last_ - position_) / most + 1;
    }

private:
    static std::uint64_t LoadBigEndian(const std::uint8_t* p) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        if constexpr (std::endian::native == std::endian::little) {
#if defined(__GNUC__)
            word = __builtin_bswap64(word);
#else
            std::uint64_t swapped = 0;
            for (int i = 0; i < 8; ++i, word >>= 8) swapped = swapped << 8 | (word & 0xFF);
            word = swapped;
#endif
        }
        return word;
    }

    const std::uint8_t* bytes_;
    // In bits; 64 of them even where size_t has 32.
    std::uint64_t end_;
    std::uint64_t last_;  // the last position an 8-byte load may start from
    std::uint64_t position_ = 0;
};

// A leaf's son value in the decoder's model, and where its node is kept
// among the parents. Every other place is left free, so that a swap can set
// the parent of a son value and the one after it without asking whether it
// is a leaf.
constexpr int Leaf(int symbol) { return kNodeCount + 2 * symbol; }

// The decoder's own copy of the model, laid out for its loops: everything in
// one array at fixed offsets, so that one register reaches it all, and a
// node's byte offset reaches its count, the next count and its parent
// without index arithmetic. TLZHTree stays the reference; rebuilds go
// through it.
class Model {
public:
    Model() {
        tree_.Init();
        room_ = kMaxFreq - static_cast<int>(Load());
    }

    // The symbol the window starts with; used gets the length of its code.
    std::size_t DecodeSymbol(std::uint64_t window, unsigned& used) const;
    // Counts the symbol, first rebuilding the model when the root's count
    // is at its limit.
    void Count(std::size_t symbol) {
        if (--room_ < 0) [[unlikely]] room_ = kMaxFreq - static_cast<int>(Rebuild()) - 1;
        CountUp(symbol);
    }

private:
    // Returns the root's count.
    unsigned Load() {
        std::uint16_t* const m = m_.data();
        for (int i = 0; i < kNodeCount; ++i) {
            m[kCounts + i] = tree_.freq[i];
            const int s = tree_.son[i];
            m[kSons + i] = static_cast<std::uint16_t>(s < kNodeCount ? s : Leaf(s - kNodeCount));
            m[kParents + i] = static_cast<std::uint16_t>(2 * tree_.prnt[i]);
        }
        for (int i = kCounts + kNodeCount; i < kCounts + kCountsSize; ++i) m[i] = 0xFFFF;
        for (int symbol = 0; symbol < kSymbolCount; ++symbol)
            m[kParents + Leaf(symbol)] = static_cast<std::uint16_t>(2 * tree_.prnt[kNodeCount + symbol]);
        // The root counts as much as the sentinel after it, so a path ends
        // on the rare branch instead of a test per node; room_ keeps its
        // true count.
        m[kCounts + kRoot] = 0xFFFF;
        for (int x = 0; x < kNodeCount; ++x) {
            const int s = m[kSons + x];
            for (int b = 0; b < 2; ++b)
                m[kGrandsons + 2 * x + b] =
                    static_cast<std::uint16_t>(s < kNodeCount ? RowOffset(m[kSons + s + b]) : RowOffset(s) | kOneBit);
        }
        return tree_.freq[kRoot];
    }

    // Returns the root's count. Out of line, as it is rare: inlined, it
    // takes registers from the decoding loop around it.
    [[gnu::noinline]] unsigned Rebuild() {
        for (int i = 0; i < kNodeCount; ++i) {
            tree_.freq[i] = m_[kCounts + i];  // only the leaves' counts matter
            const int s = m_[kSons + i];
            tree_.son[i] = static_cast<std::int16_t>(s < kNodeCount ? s : kNodeCount + (s - kNodeCount) / 2);
        }
        tree_.Rebuild();
        return Load();
    }

    void CountUp(std::size_t symbol);

    // A node's count, at a byte offset from the first; the node's parent is
    // at a fixed distance after it.
    std::uint16_t* Node(std::size_t at) {
        return reinterpret_cast<std::uint16_t*>(reinterpret_cast<unsigned char*>(m_.data() + kCounts) + at);
    }

    // Marks a grandson entry that is a leaf one level down. A row offset's
    // low bits are free, and the symbol is then the offset's high bits.
    static constexpr unsigned kOneBit = 1;
    // A son value as a grandson entry: where its row starts, in bytes from
    // the first row. The walk down then adds the next two bits to it and
    // loads, with no scaling in its chain, which is what the decoding of the
    // next symbol waits for.
    static constexpr std::uint32_t RowOffset(std::size_t son) { return static_cast<std::uint32_t>(4 * son); }

    // Counts of the nodes, then 0xFFFF sentinels: one that the root counts
    // as much as, and room for a run's last read. First in the array, so
    // that a node's byte offset reaches its count with no displacement.
    static constexpr int kCounts = 0;
    static constexpr int kCountsSize = kNodeCount + 5;
    // Two levels at a time: for node x and a bit b, the son of child b of
    // x, or when x is a leaf, x's son with kOneBit; as RowOffset. A swap
    // changes the entries of the two nodes and one of each one's parent.
    static constexpr int kGrandsons = kCounts + kCountsSize;
    // The parents of the nodes, then the symbols' nodes, as byte offsets
    // (twice the index): the walk up then adds no scaling to its loads.
    static constexpr int kParents = kGrandsons + 2 * kNodeCount;
    static constexpr int kSons = kParents + Leaf(kSymbolCount);
    static constexpr int kSize = kSons + kNodeCount;

    std::array<std::uint16_t, kSize> m_;
    // How many more symbols the root can count before the model is rebuilt.
    // Kept here rather than in a register, as the decoding loop has none to
    // spare; it costs no more to count down in memory.
    int room_;
    TLZHTree tree_;
};

// Of a value known not to be 0.
inline unsigned CountTrailingZeros(std::uint64_t value) {
#if defined(__GNUC__)
    return static_cast<unsigned>(__builtin_ctzll(value));
#else
    return static_cast<unsigned>(std::countr_zero(value));
#endif
}

// Two bits a step through grandson_, which halves the chain of dependent
// loads. The bits used are counted by where a 1 put below the window ends
// up (no code is longer than 21 bits, and the window holds 57), less one
// when the last step needed only one.
std::size_t Model::DecodeSymbol(std::uint64_t window, unsigned& used) const {
    const auto* const rows = reinterpret_cast<const unsigned char*>(m_.data() + kGrandsons);
    std::uint64_t bits = window | 1;
    // A step scales the top two bits into the row, which a shift by 62
    // leaves with nothing to mask. The bits' part is added to the base
    // first, as it is known early; the compiler is kept from moving the base
    // to the entry's side.
    auto step = [rows, &bits](std::size_t offset) {
        const unsigned char* row = rows + 2 * (bits >> 62);
#if defined(__GNUC__)
        __asm__("" : "+r"(row));
#endif
        std::uint16_t next;
        std::memcpy(&next, row + offset, sizeof next);
        bits <<= 2;
        return std::size_t{next};
    };
    // The root's sons are the two nodes below it, always: no swap reaches
    // the root, and a rebuild makes them its last pair. The first step's
    // load then needs nothing but the window.
    std::size_t c = step(RowOffset(kRoot - 2));
    while (c < RowOffset(kNodeCount)) c = step(c);
    used = CountTrailingZeros(bits) - (c & kOneBit);
    static_assert(kOneBit < RowOffset(2));  // the division drops it
    return (c - RowOffset(kNodeCount)) / RowOffset(2);
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
void Model::CountUp(std::size_t symbol) {
    std::uint16_t* const m = m_.data();
    // Both halves of a pair of parents at once.
    auto setParents = [m](std::size_t son, std::size_t node) {
        const auto both = static_cast<std::uint32_t>(2 * node * 0x10001u);
        std::memcpy(m + kParents + son, &both, sizeof both);
    };
    std::size_t at = m[kParents + kNodeCount + 2 * symbol];  // Leaf(symbol)
    for (;;) {
        std::uint16_t* const n = Node(at);
        const unsigned k = n[0];
        if (n[1] == k) [[unlikely]] {
            if (at == 2 * kRoot) break;
            const std::size_t c = at / 2;
            // c's place once counted: the last node counting as much.
            const std::size_t l = c + 1 + EqualRun(n + 2);
            const std::size_t i = m[kSons + c];
            const std::size_t j = m[kSons + l];
            m[kSons + l] = static_cast<std::uint16_t>(i);
            m[kSons + c] = static_cast<std::uint16_t>(j);
            setParents(i, l);
            setParents(j, c);
            m[kGrandsons + m[kParents + c] + (c & 1)] = static_cast<std::uint16_t>(RowOffset(j));
            m[kGrandsons + m[kParents + l] + (l & 1)] = static_cast<std::uint16_t>(RowOffset(i));
            // Last, when i and j are no longer needed: fewer values at once.
            std::uint32_t rowC, rowL;
            std::memcpy(&rowC, m + kGrandsons + 2 * c, sizeof rowC);
            std::memcpy(&rowL, m + kGrandsons + 2 * l, sizeof rowL);
            std::memcpy(m + kGrandsons + 2 * c, &rowL, sizeof rowL);
            std::memcpy(m + kGrandsons + 2 * l, &rowC, sizeof rowC);
            at = 2 * l;
        }
        // Swapped or not, the node at is the one counted.
        Node(at)[0] = static_cast<std::uint16_t>(k + 1);
        at = Node(at)[kParents - kCounts];
    }
}

// The upper 6 bits from the prefix table, the lower 6 verbatim; used gets
// the length of the code.
std::ptrdiff_t DecodePosition(std::uint64_t bits, unsigned& used) {
    const unsigned first = static_cast<unsigned>(bits >> 56);
    const int length = kPositionTables.decodeLength[first];
    const unsigned low = static_cast<unsigned>(bits >> (58 - length)) & 63;
    used = static_cast<unsigned>(length) + 6;
    return static_cast<std::ptrdiff_t>(kPositionTables.decodeCode[first] << 6 | low);
}

// Matches are copied 8 bytes at a time, and 16 bytes at least, when they
// start at least 8 back, so the output has room for 13 bytes more than the
// shortest match writes (and 7 more than the longest).
constexpr std::size_t kCopySlack = 16;

// Pointer-wide counts, which the output pointer takes with no widening.
void CopyMatch(const std::uint8_t* start, std::uint8_t* dst, std::ptrdiff_t distance, std::ptrdiff_t length) {
    if (distance > dst - start) [[unlikely]] {
        // Reaching back before the output, into the blanks the ring starts with.
        const std::ptrdiff_t from = (dst - start) - distance;
        for (std::ptrdiff_t k = 0; k < length; ++k) dst[k] = from + k < 0 ? kRingFill : start[from + k];
        return;
    }
    const std::uint8_t* src = dst - distance;
    if (distance >= 8) {
        // Most matches are short: their copy has no loop end to guess.
        std::memcpy(dst, src, 8);
        std::memcpy(dst + 8, src + 8, 8);
        if (length > 16) [[unlikely]]
            for (std::ptrdiff_t k = 16; k < length; k += 8) std::memcpy(dst + k, src + k, 8);
    } else {
        // Overlapping: each byte may be one this match has just written.
        for (std::ptrdiff_t k = 0; k < length; ++k) dst[k] = src[k];
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

    // The ring is not kept: the output itself is the window, and a match
    // reaching back before it reads the blanks of the ring's first fill.
    std::unique_ptr<Model> model;
    std::vector<std::uint8_t> padded;
    std::vector<std::uint8_t> out;
    try {
        model = std::make_unique<Model>();
        padded.resize(bits.size() + BitInput::kPadding);
        // The last match is copied whole and may run up to 59 bytes past size.
        out.resize(static_cast<std::size_t>(size) + kMaxMatch - 1 + kCopySlack);
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
    std::copy(bits.begin(), bits.end(), padded.begin());
    BitInput in(padded.data(), bits.size());
    std::uint8_t* const start = out.data();
    std::uint8_t* dst = start;
    std::uint8_t* const stop = dst + size;
    // The next symbol's code is decoded from the last window shifted past
    // the last symbol: no symbol and position together take more than
    // 21 + 14 bits of its 57, which leaves the 21 of the longest code. So
    // the walk down waits for one shift instead of a load, and the fresh
    // window is read beside it, for a position and the symbol after.
    constexpr unsigned kMaxSymbolBits = TLZHTree::kMaxCodeBits + 14;
    static_assert(57 - kMaxSymbolBits >= TLZHTree::kMaxCodeBits);
    std::uint64_t ahead = in.Window();
    while (dst < stop) {
        // Every symbol writes a byte at least, so the run stops before the
        // reads it may make are used up.
        std::uint8_t* const runStop = dst + std::min<std::uint64_t>(in.Reserve(kMaxSymbolBits), stop - dst);
        while (dst < runStop) {
            // The output is written before the model is counted, which leaves
            // the count few values to keep in registers.
            const std::uint64_t window = in.Window();
            unsigned used;
            const std::size_t c = model->DecodeSymbol(ahead, used);
            if (c < 256) {
                *dst++ = static_cast<std::uint8_t>(c);
            } else {
                unsigned positionBits;
                const std::ptrdiff_t distance = DecodePosition(window << used, positionBits) + 1;
                used += positionBits;
                const std::ptrdiff_t length = static_cast<std::ptrdiff_t>(c) - 256 + kThreshold + 1;
                CopyMatch(start, dst, distance, length);
                dst += length;
            }
            ahead = window << used;
            in.Skip(used);
            model->Count(c);
        }
    }
    out.resize(static_cast<std::size_t>(dst - start));
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
