#include "skin/data/LZH.h"

#include <algorithm>
#include <array>
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

    unsigned Bit() {
        if (count_ == 0) Refill();
        const auto bit = static_cast<unsigned>(buffer_ >> 63);
        buffer_ <<= 1;
        --count_;
        return bit;
    }

    // n <= 8
    unsigned Bits(int n) {
        if (count_ < n) Refill();
        const auto bits = static_cast<unsigned>(buffer_ >> (64 - n));
        buffer_ <<= n;
        count_ -= n;
        return bits;
    }

private:
    void Refill() {
        if (end_ - next_ >= 8) {
            const int take = (64 - count_) >> 3;
            for (int i = 0; i < take; ++i)
                buffer_ |= std::uint64_t(next_[i]) << (56 - count_ - 8 * i);
            next_ += take;
            count_ += 8 * take;
            return;
        }
        while (count_ <= 56) {
            const std::uint64_t byte = next_ < end_ ? *next_++ : 0;
            buffer_ |= byte << (56 - count_);
            count_ += 8;
        }
    }

    const std::uint8_t* next_;
    const std::uint8_t* end_;
    std::uint64_t buffer_ = 0;  // valid bits are left-aligned
    int count_ = 0;
};

int DecodeSymbol(TLZHTree& tree, BitInput& in) {
    int c = tree.son[kRoot];
    while (c < kNodeCount) c = tree.son[c + in.Bit()];
    c -= kNodeCount;
    tree.Update(c);
    return c;
}

int DecodePosition(BitInput& in) {
    unsigned i = in.Bits(8);
    const unsigned upper = kPositionTables.decodeCode[i];
    const int extra = kPositionTables.decodeLength[i] - 2;
    i = (i << extra) | in.Bits(extra);
    return static_cast<int>(upper << 6 | (i & 63));
}

struct DecoderState {
    TLZHTree tree;
    std::array<std::uint8_t, kRingBytes> ring;
};

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

    std::unique_ptr<DecoderState> state;
    std::vector<std::uint8_t> out;
    try {
        state = std::make_unique<DecoderState>();
        // The last match is copied whole and may run up to 59 bytes past size.
        out.resize(static_cast<std::size_t>(size) + kMaxMatch - 1);
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
    TLZHTree& tree = state->tree;
    auto& ring = state->ring;
    tree.Init();
    ring.fill(kRingFill);

    BitInput in(bits);
    std::uint8_t* dst = out.data();
    std::uint8_t* const stop = dst + size;
    unsigned r = kFirstWrite;
    while (dst < stop) {
        const int c = DecodeSymbol(tree, in);
        if (c < 256) {
            *dst++ = static_cast<std::uint8_t>(c);
            ring[r] = static_cast<std::uint8_t>(c);
            r = (r + 1) & kRingMask;
        } else {
            const unsigned q = (r - DecodePosition(in) - 1) & kRingMask;
            const int length = c - 256 + kThreshold + 1;
            for (int k = 0; k < length; ++k) {
                const std::uint8_t b = ring[(q + k) & kRingMask];
                *dst++ = b;
                ring[r] = b;
                r = (r + 1) & kRingMask;
            }
        }
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
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
