#include <gtest/gtest.h>

#include "LZHTestData.h"
#include "skin/data/LZH.h"
#include "skin/data/LZHTree.h"
#include "tools/skinpack/LZHEncoder.h"

using namespace lzhtest;

namespace {

struct Input {
    const char* name;
    Bytes bytes;
};

std::vector<Input> Inputs() {
    Bytes period4096 = RandomBytes(4096, 11);
    Bytes period4097 = RandomBytes(4097, 12);
    return {
        {"empty", {}},
        {"one byte", {0x41}},
        {"one blank", {0x20}},
        {"two bytes", {0x00, 0xFF}},
        {"long run", Repeat('a', 100000)},
        {"long zero run", Repeat(0, 70000)},
        {"starts with blanks", Concat({Repeat(' ', 5000), Text(3000, 1)})},
        {"blanks then a long run of them", Repeat(' ', 9000)},
        {"random", RandomBytes(50000, 2)},
        {"random, over 40000 symbols so the tree is rebuilt", RandomBytes(120000, 3)},
        {"text", Text(200000, 4)},
        {"bitmap-like", BitmapLike(300000, 5)},
        {"every byte value", [] { Bytes b; for (int n = 0; n < 4; ++n) for (int i = 0; i < 256; ++i) b.push_back(static_cast<std::uint8_t>(i)); return b; }()},
        {"repeat at exactly the window size", Concat({period4096, period4096, period4096})},
        {"repeat just outside the window", Concat({period4097, period4097})},
        {"short period", [] { Bytes b; for (int i = 0; i < 50000; ++i) b.push_back(static_cast<std::uint8_t>("abcab"[i % 5])); return b; }()},
        {"mixed", Concat({Text(20000, 6), BitmapLike(40000, 7), RandomBytes(3000, 8), Repeat(0xFF, 5000), Text(20000, 6)})},
    };
}

}  // namespace

TEST(LZHEncoder, RoundTripsThroughTheDecoder) {
    for (const auto& input : Inputs()) {
        for (const auto parse : {TLZHParse::Greedy, TLZHParse::Lazy}) {
            const Bytes packed = LZHEncode(input.bytes, parse);
            ASSERT_GE(packed.size(), 4u);
            EXPECT_EQ(packed[0] | packed[1] << 8 | packed[2] << 16 | packed[3] << 24,
                      static_cast<int>(input.bytes.size()));
            EXPECT_TRUE(TLZH::Decode(packed) == input.bytes)
                << input.name << (parse == TLZHParse::Lazy ? " (lazy)" : " (greedy)");
        }
    }
}

// The same bits the decoder tests take apart by hand: in a fresh tree
// symbol 256 is 10001100, symbol 313 is 11000101, position 0 is nine 0 bits.
TEST(LZHEncoder, LeadingBlanksBecomeOneMatchIntoTheBlankRing) {
    EXPECT_EQ(LZHEncode(Bytes(3, ' ')), (Bytes{3, 0, 0, 0, 0x8C, 0x00, 0x00}));
    EXPECT_EQ(LZHEncode(Bytes(60, ' ')), (Bytes{60, 0, 0, 0, 0xC5, 0x00, 0x00}));
    EXPECT_EQ(LZHEncode(Bytes{}), (Bytes{0, 0, 0, 0}));
}

TEST(LZHEncoder, MatchesReachExactlyTheWholeWindow) {
    const Bytes block = RandomBytes(4096, 21);
    const Bytes farther = RandomBytes(4097, 22);
    const std::size_t once = LZHEncode(block).size();
    const std::size_t twice = LZHEncode(Concat({block, block})).size();
    // 4096 bytes at distance 4096: about 69 matches of at most 3 bytes each.
    EXPECT_LT(twice - once, 250u);
    const std::size_t farOnce = LZHEncode(farther).size();
    const std::size_t farTwice = LZHEncode(Concat({farther, farther})).size();
    EXPECT_GT(farTwice - farOnce, 3500u);
}

TEST(LZHEncoder, LazyParseIsNoWorseOnSkinLikeData) {
    for (const auto& input : {Text(100000, 31), BitmapLike(200000, 32)}) {
        const auto greedy = LZHEncode(input, TLZHParse::Greedy).size();
        const auto lazy = LZHEncode(input, TLZHParse::Lazy).size();
        EXPECT_LE(lazy, greedy);
    }
}

TEST(LZHEncoder, TruncatedStreamStillDecodesToTheStatedSize) {
    const Bytes input = Text(5000, 41);
    Bytes packed = LZHEncode(input);
    packed.resize(packed.size() / 2);
    const Bytes decoded = TLZH::Decode(packed);
    EXPECT_GE(decoded.size(), input.size());
    EXPECT_LT(decoded.size(), input.size() + 60);
    EXPECT_TRUE(std::equal(input.begin(), input.begin() + 1000, decoded.begin()));
}

// Missing bytes read as zeros wherever the stream stops, also where the
// decoder's reads of 8 bytes run past it: each cut of a packed stream decodes
// as the cut followed by enough zeros for every symbol, or is refused when
// its bytes cannot hold the stated size.
TEST(LZHEncoder, EveryCutReadsOnAsZeros) {
    const Bytes input = Concat({Text(1200, 42), RandomBytes(200, 43)});
    const Bytes packed = LZHEncode(input);
    for (std::size_t cut = 4; cut <= packed.size(); ++cut) {
        const Bytes head(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(cut));
        if (static_cast<std::int64_t>(input.size()) >
            TLZH::kMaxExpansion * static_cast<std::int64_t>(cut - 4) + lzh::kMaxMatch) {
            EXPECT_THROW(TLZH::Decode(head), ElzhException) << "cut at " << cut;
            continue;
        }
        Bytes zeros = head;
        zeros.resize(cut + 35 * input.size() / 8 + 8);  // no symbol takes more than 35 bits
        const Bytes decoded = TLZH::Decode(head);
        ASSERT_TRUE(decoded == TLZH::Decode(zeros)) << "cut at " << cut;
        if (cut == packed.size()) {
            EXPECT_TRUE(decoded == input);
        }
    }
}
