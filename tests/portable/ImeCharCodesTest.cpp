#include <gtest/gtest.h>

#include "dictation/ImeCharCodes.h"

namespace {

TLeadByteRanges CodePage936() {
    TLeadByteRanges r;
    r.AddRange(0x81, 0xFE);
    return r;
}

}  // namespace

TEST(ImeCharCodes, WalksPhrasesOfEachCodePageKind) {
    struct Case {
        const char* name;
        std::string text;
        bool doubleByte;
        std::vector<std::uint16_t> codes;
    };
    const Case cases[] = {
        {"empty posts nothing", "", true, {}},
        {"ascii byte by byte", "ab", true, {0x61, 0x62}},
        {"one Chinese character", "\xC4\xE3", true, {0xC4E3}},
        {"mixed", "a\xC4\xE3" "b", true, {0x61, 0xC4E3, 0x62}},
        {"lead byte last pairs with 0", "a\xC4", true, {0x61, 0xC400}},
        {"trail byte in the ASCII range", "\x81\x40z", true, {0x8140, 0x7A}},
        {"two characters back to back", "\xC4\xE3\xBA\xC3", true, {0xC4E3, 0xBAC3}},
        {"single-byte code page posts every byte", "\xC4\xE3", false, {0xC4, 0xE3}},
        {"high bytes are single bytes there", "a\xE9", false, {0x61, 0xE9}},
    };
    for (const Case& c : cases) {
        const TLeadByteRanges ranges = c.doubleByte ? CodePage936() : TLeadByteRanges();
        EXPECT_EQ(ImeCharCodes(c.text, ranges), c.codes) << c.name;
    }
}

TEST(ImeCharCodes, ByteKindCountsLeadRunsFromTheStart) {
    const TLeadByteRanges r = CodePage936();
    // C4 E3 C4: lead, trail (odd run before), lead (even run of two before).
    const std::string t = "\xC4\xE3\xC4";
    EXPECT_EQ(ByteKindAt(t, 0, r), TByteKind::Lead);
    EXPECT_EQ(ByteKindAt(t, 1, r), TByteKind::Trail);
    EXPECT_EQ(ByteKindAt(t, 2, r), TByteKind::Lead);
    EXPECT_EQ(ByteKindAt(std::string("a\0b", 3), 1, r), TByteKind::Single);
    EXPECT_EQ(ByteKindAt("a", 5, r), TByteKind::Single);
}
