#include "core/BitmapRle.h"

#include <cstddef>

namespace {

class TRleWriter {
public:
    explicit TRleWriter(TBitmapFile& target)
        : target_(target), width_(target.Width()), height_(target.Height()), rle4_(target.BitsPerPixel() == 4) {}

    // Refuses a run before any of it is written.
    void Reserve(std::int64_t count) const {
        if (y_ >= height_) throw EBitmapError("RLE bitmap data runs past the last row");
        if (x_ + count > width_) throw EBitmapError("RLE bitmap run overruns its row");
    }
    void Put(unsigned index) {
        std::uint8_t& byte = target_.Row(static_cast<int>(height_ - 1 - y_))[static_cast<std::size_t>(rle4_ ? x_ / 2 : x_)];
        if (!rle4_)
            byte = static_cast<std::uint8_t>(index);
        else if (x_ % 2 == 0)
            byte = static_cast<std::uint8_t>((byte & 0x0F) | (index << 4));
        else
            byte = static_cast<std::uint8_t>((byte & 0xF0) | (index & 0x0F));
        ++x_;
    }
    void EndOfLine() {
        if (y_ >= height_) throw EBitmapError("RLE bitmap data runs past the last row");
        x_ = 0;
        ++y_;
    }
    void Move(unsigned right, unsigned up) {
        if (x_ + right > width_ || y_ + up > height_) throw EBitmapError("RLE bitmap delta moves out of the picture");
        x_ += right;
        y_ += up;
    }
    bool Rle4() const { return rle4_; }

private:
    TBitmapFile& target_;
    std::int64_t width_, height_;
    bool rle4_;
    std::int64_t x_ = 0, y_ = 0;  // y counted from the bottom row
};

// The index of pixel i of a run or literal whose bytes start at from.
unsigned Pixel(const std::uint8_t* from, unsigned i, bool rle4) {
    if (!rle4) return from[i];
    const unsigned byte = from[i / 2];
    return i % 2 ? byte & 0x0F : byte >> 4;
}

}  // namespace

void DecodeRle(std::span<const std::uint8_t> data, TBitmapFile& target) {
    TRleWriter out(target);
    std::size_t at = 0;
    auto need = [&](std::size_t count) {
        if (data.size() - at < count) throw EBitmapError("Truncated RLE bitmap data");
    };
    // A missing end-of-bitmap mark leaves the rest of the picture as it is.
    while (at < data.size()) {
        need(2);
        const unsigned count = data[at], value = data[at + 1];
        at += 2;
        if (count > 0) {
            out.Reserve(count);
            // A run repeats one byte: in RLE4 its two pixels alternate.
            const std::uint8_t pair[2] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value)};
            for (unsigned i = 0; i < count; ++i) out.Put(Pixel(pair, i % 2, out.Rle4()));
        } else if (value == 0) {
            out.EndOfLine();
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            need(2);
            out.Move(data[at], data[at + 1]);
            at += 2;
        } else {
            const std::size_t bytes = out.Rle4() ? (value + 1) / 2 : value;
            need(bytes);
            out.Reserve(value);
            for (unsigned i = 0; i < value; ++i) out.Put(Pixel(&data[at], i, out.Rle4()));
            // Literal runs are padded to a 16-bit boundary.
            at += bytes + bytes % 2;
        }
    }
}
