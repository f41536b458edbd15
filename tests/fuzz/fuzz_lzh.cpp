// The decoder against the plain way of doing the same: every bit through the
// packer's own model update (TLZHTree::Update), bytes through the ring. The
// input is taken both as a compressed stream (any bytes, so damaged streams
// and rebuilds in odd states are covered) and as data to pack and unpack.
// Small inputs only: the plain decoder is slow and the interest is in states.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/ByteOrder.h"
#include "skin/data/LZH.h"
#include "skin/data/LZHPosition.h"
#include "skin/data/LZHTree.h"
#include "tools/skinpack/LZHEncoder.h"

using namespace lzh;

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

class PlainBits {
public:
    explicit PlainBits(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    unsigned Bit() {
        const std::size_t byte = position_ >> 3;
        const unsigned bit = byte < bytes_.size() ? (bytes_[byte] >> (7 - (position_ & 7))) & 1 : 0;
        ++position_;
        return bit;
    }
    unsigned Bits(int n) {
        unsigned v = 0;
        while (n-- > 0) v = v << 1 | Bit();
        return v;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

// Whole matches, as the decoder writes them; no size checks (the caller
// makes sure the size is one the decoder accepts).
std::vector<std::uint8_t> PlainDecode(std::span<const std::uint8_t> stream) {
    const std::int64_t size = ReadLE32Signed(stream.data());
    std::vector<std::uint8_t> out;
    if (size <= 0) return out;
    TLZHTree tree;
    tree.Init();
    std::array<std::uint8_t, kRingSize> ring;
    ring.fill(kRingFill);
    PlainBits in(stream.subspan(4));
    unsigned r = kFirstWrite;
    while (static_cast<std::int64_t>(out.size()) < size) {
        int c = tree.son[kRoot];
        while (c < kNodeCount) c = tree.son[c + in.Bit()];
        c -= kNodeCount;
        tree.Update(c);
        if (c < 256) {
            out.push_back(static_cast<std::uint8_t>(c));
            ring[r] = static_cast<std::uint8_t>(c);
            r = (r + 1) & kRingMask;
            continue;
        }
        unsigned i = in.Bits(8);
        const unsigned upper = kPositionTables.decodeCode[i];
        const int extra = kPositionTables.decodeLength[i] - 2;
        i = (i << extra) | in.Bits(extra);
        const unsigned q = (r - (upper << 6 | (i & 63)) - 1) & kRingMask;
        for (int k = 0; k < c - 256 + kThreshold + 1; ++k) {
            const std::uint8_t b = ring[(q + k) & kRingMask];
            out.push_back(b);
            ring[r] = b;
            r = (r + 1) & kRingMask;
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    if (size >= 4 && ReadLE32Signed(data) <= 16 * 1024) {
        bool refused = false;
        std::vector<std::uint8_t> fast;
        try {
            fast = TLZH::Decode(input);
        } catch (const ElzhException&) {
            refused = true;
        }
        // The decoder refuses only sizes no stream of this length can hold.
        const std::int64_t stated = ReadLE32Signed(data);
        Check(refused == (stated > TLZH::kMaxExpansion * std::int64_t(size - 4) + kMaxMatch));
        if (!refused) Check(fast == PlainDecode(input));
    }
    // One parse per input: packing costs more than all the rest.
    const auto packed = LZHEncode(input, size % 2 ? TLZHParse::Lazy : TLZHParse::Greedy);
    Check(std::vector<std::uint8_t>(input.begin(), input.end()) == TLZH::Decode(packed));
    return 0;
}
