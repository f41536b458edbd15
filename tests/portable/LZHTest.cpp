#include <gtest/gtest.h>

#include <random>

#include "LZHTestData.h"
#include "skin/data/LZH.h"
#include "skin/data/LZHPosition.h"
#include "skin/data/LZHTree.h"

using lzhtest::Bytes;
using namespace lzh;

namespace {

std::string AsString(const Bytes& b) { return std::string(b.begin(), b.end()); }

Bytes Stream(std::int32_t size, Bytes bits) {
    Bytes out(4 + bits.size());
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(size) >> (8 * i));
    std::copy(bits.begin(), bits.end(), out.begin() + 4);
    return out;
}

// The invariants both coders rely on: counts in non-decreasing order,
// children in pairs at (even, odd) positions, parent links matching.
void ExpectConsistent(const TLZHTree& t) {
    for (int i = 0; i < kRoot; ++i) ASSERT_LE(t.freq[i], t.freq[i + 1]) << "node " << i;
    int leaves = 0;
    for (int i = 0; i < kNodeCount; ++i) {
        const int k = t.son[i];
        if (k >= kNodeCount) {
            ++leaves;
            ASSERT_EQ(t.prnt[k], i);
        } else {
            ASSERT_EQ(k % 2, 0);
            ASSERT_EQ(t.prnt[k], i);
            ASSERT_EQ(t.prnt[k + 1], i);
        }
    }
    EXPECT_EQ(leaves, kSymbolCount);
}

}  // namespace

TEST(LZHPositionTables, RunBoundariesFollowThePublishedCode) {
    struct Row { int index, code, length; } rows[] = {
        {0, 0, 3},    {31, 0, 3},   {32, 1, 4},   {47, 1, 4},   {48, 2, 4},   {79, 3, 4},
        {80, 4, 5},   {87, 4, 5},   {88, 5, 5},   {143, 11, 5}, {144, 12, 6}, {191, 23, 6},
        {192, 24, 7}, {239, 47, 7}, {240, 48, 8}, {255, 63, 8},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(kPositionTables.decodeCode[r.index], r.code) << r.index;
        EXPECT_EQ(kPositionTables.decodeLength[r.index], r.length) << r.index;
    }
    // The packer's prefix of each upper value decodes back to it.
    for (int code = 0; code < 64; ++code) {
        const int prefix = kPositionTables.encodeCode[code];
        EXPECT_EQ(kPositionTables.decodeCode[prefix], code);
        EXPECT_EQ(kPositionTables.decodeLength[prefix], kPositionTables.encodeLength[code]);
    }
}

TEST(LZHTree, InitPairsNeighboursAndRootCountsEverySymbol) {
    TLZHTree t;
    t.Init();
    ExpectConsistent(t);
    EXPECT_EQ(t.freq[kRoot], kSymbolCount);
    EXPECT_EQ(t.son[kRoot], 624);
    EXPECT_EQ(t.prnt[kRoot], 0);
    EXPECT_EQ(t.freq[kNodeCount], 0xFFFF);
}

TEST(LZHTree, UpdatesKeepOrderAndRebuildHalvesAtTheLimit) {
    TLZHTree t;
    t.Init();
    std::mt19937 rng(7);
    int rebuilds = 0;
    for (int n = 0; n < 100000; ++n) {
        // Skewed symbols, so counts differ widely and nodes move.
        const int s = static_cast<int>(rng() % 16 == 0 ? rng() % kSymbolCount : rng() % 8);
        const bool full = t.freq[kRoot] == kMaxFreq;
        t.Update(s);
        if (full) {
            ++rebuilds;
            EXPECT_LT(t.freq[kRoot], 0x4200);
            ExpectConsistent(t);
        }
        ASSERT_LE(t.freq[kRoot], kMaxFreq);
    }
    EXPECT_GE(rebuilds, 2);
    ExpectConsistent(t);
}

TEST(LZHTree, RebuildRoundsUpAndPlacesNewNodesAfterEqualCounts) {
    TLZHTree t;
    t.Init();
    for (int s = 0; s < kSymbolCount; ++s)
        for (int n = 0; n < s % 5; ++n) t.Update(s);  // leaf counts 1..5
    std::vector<int> before(kSymbolCount);
    for (int i = 0; i < kNodeCount; ++i)
        if (t.son[i] >= kNodeCount) before[t.son[i] - kNodeCount] = t.freq[i];
    t.Rebuild();
    ExpectConsistent(t);
    for (int i = 0; i < kNodeCount; ++i) {
        if (t.son[i] >= kNodeCount) {
            EXPECT_EQ(t.freq[i], (before[t.son[i] - kNodeCount] + 1) / 2);
        } else {
            EXPECT_EQ(t.freq[i], t.freq[t.son[i]] + t.freq[t.son[i] + 1]) << "node " << i;
            // No leaf of the same count may follow an internal node.
            for (int j = i + 1; j < kNodeCount && t.freq[j] == t.freq[i]; ++j)
                EXPECT_LT(t.son[j], kNodeCount) << "leaf after internal node " << i;
        }
    }
}

// Hand-derived streams. In a fresh tree node p hangs below 314 + p / 2 on
// branch p & 1, so the all-zero path ends at symbol 116 ('t') after 8 bits,
// symbol 256 (match of 3) is 10001100 and symbol 313 (match of 60) 11000101.
TEST(LZHDecode, HandBuiltStreams) {
    struct Row {
        const char* name;
        Bytes stream;
        std::string expected;
    } rows[] = {
        {"empty input", {}, ""},
        {"stream shorter than its size field", {5, 0, 0}, ""},
        {"size zero", Stream(0, {0xFF}), ""},
        {"negative size produces nothing", Stream(-5, {0xFF, 0xFF}), ""},
        {"missing bit-stream bytes read as zero bits", Stream(1, {}), "t"},
        {"all-ones path is symbol 115 after 9 bits", Stream(1, {0xFF, 0x80}), "s"},
        {"first match reaches back into the blanks", Stream(3, {0x8C, 0x00, 0x00}), "   "},
        {"farthest position reads blank ring slots", Stream(3, {0x8C, 0xFF, 0xFC}), "   "},
        // 'X', then two length-60 matches one back (from the independent
        // reference coder): the second reads what the first wrote past the
        // ring's end, at the start of the ring.
        {"matches carry a run across the ring's end", Stream(121, {0xF2, 0x79, 0x00, 0x18, 0x80, 0x00}),
         std::string(121, 'X')},
        {"a match is copied whole past the size", Stream(2, {0x8C, 0x00, 0x00}), "   "},
    };
    for (const auto& r : rows) EXPECT_EQ(AsString(TLZH::Decode(r.stream)), r.expected) << r.name;
}

TEST(LZHDecode, SizeBoundRefusesWhatNoStreamCanHold) {
    struct Row {
        const char* name;
        std::int32_t size;
        std::size_t bitBytes;
        bool refused;
    } rows[] = {
        {"no bit bytes, one last match", 60, 0, false},
        {"no bit bytes, one more", 61, 0, true},
        {"48 per byte plus 60", 48 * 100 + 60, 100, false},
        {"one over the bound", 48 * 100 + 61, 100, true},
        {"largest signed size", INT32_MAX, 1000, true},
    };
    for (const auto& r : rows) {
        const Bytes s = Stream(r.size, Bytes(r.bitBytes, 0));
        if (r.refused) {
            try {
                TLZH::Decode(s);
                ADD_FAILURE() << r.name << ": not refused";
            } catch (const ElzhException& e) {
                EXPECT_NE(std::string(e.what()).find("uncompressed size"), std::string::npos) << r.name;
            }
        } else {
            EXPECT_GE(TLZH::Decode(s).size(), static_cast<std::size_t>(r.size)) << r.name;
        }
    }
}

TEST(LZHDecode, SizeOver256MiBRefusedEvenWhenTheStreamCouldHoldIt) {
    const Bytes s = Stream((256 << 20) + 1, Bytes((256 << 20) / 48 + 1, 0));
    try {
        TLZH::Decode(s);
        FAIL() << "not refused";
    } catch (const ElzhException& e) {
        EXPECT_NE(std::string(e.what()).find("uncompressed size"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("256 MiB"), std::string::npos);
    }
}

namespace {
// A stream that is not a memory stream, to take the copying path.
class PlainStream : public TStream {
public:
    explicit PlainStream(Bytes b) : bytes_(std::move(b)) {}
    std::size_t Read(void* buffer, std::size_t count) override {
        std::size_t n = 0;
        auto* out = static_cast<std::uint8_t*>(buffer);
        while (n < count && pos_ < bytes_.size()) out[n++] = bytes_[pos_++];
        return n;
    }
    std::size_t Write(const void*, std::size_t) override { return 0; }
    std::size_t Size() const override { return bytes_.size(); }
    std::size_t Position() const override { return pos_; }
    void SetPosition(std::size_t p) override { pos_ = p; }

private:
    Bytes bytes_;
    std::size_t pos_ = 0;
};
}  // namespace

TEST(LZHDecompress, RewindsBothStreamsAndReplacesOldOutput) {
    const Bytes stream = Stream(3, {0x8C, 0x00, 0x00});
    TMemoryStream in;
    in.WriteBuffer(stream.data(), stream.size());  // left at the end: must be rewound
    TMemoryStream out;
    out.WriteBuffer("previous content", 16);
    TLZH().Decompress(in, out);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.Memory()), out.Size()), "   ");

    PlainStream plain(stream);
    plain.SetPosition(5);
    TMemoryStream out2;
    TLZH().Decompress(plain, out2);
    EXPECT_EQ(out2.Size(), 3u);
}
