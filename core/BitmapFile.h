#pragma once
// Windows bitmap (.bmp) files: decoding untrusted bytes and writing standard
// bottom-up files. The decoded picture keeps the stored pixel format, so a
// bitmap class can take 8-, 24- or 32-bit rows as they are; To24Bit gives
// what the pixel operations work on.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/Colour.h"
#include "core/Exception.h"
#include "core/PixelImage.h"

class EBitmapError : public Exception {
public:
    using Exception::Exception;
};

// Where the red, green and blue bits of a 16- or 32-bit pixel lie.
struct TBitMasks {
    std::uint32_t Red = 0;
    std::uint32_t Green = 0;
    std::uint32_t Blue = 0;
    bool operator==(const TBitMasks&) const = default;
};

// The masks a file without explicit ones means: 5-5-5 and 8-8-8.
TBitMasks DefaultBitMasks(int bitsPerPixel);

class TBitmapFile {
public:
    // The limits of what Decode accepts, and of what may be built.
    static constexpr int kMaxSide = 16384;
    static constexpr std::int64_t kMaxPixels = std::int64_t(1) << 25;

    // A black picture; 1/4/8-bit pictures start with an empty palette.
    // bitsPerPixel is 1, 4, 8, 16, 24 or 32.
    TBitmapFile(int width, int height, int bitsPerPixel);
    // A 24-bit picture holding a copy of the image.
    static TBitmapFile FromPixels(TConstPixelView image);

    // Reads uncompressed, bit-mask and RLE8/RLE4 pictures after any header
    // from the 12-byte OS/2 one on. Raises EBitmapError for anything it
    // cannot read safely.
    static TBitmapFile Decode(std::span<const std::uint8_t> bytes);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitsPerPixel() const { return bitsPerPixel_; }
    // Bytes per stored row, a multiple of 4.
    std::size_t Stride() const { return DibStride(width_, bitsPerPixel_); }

    // Row y, counted from the top, in the stored format (padding included).
    std::span<std::uint8_t> Row(int y);
    std::span<const std::uint8_t> Row(int y) const;

    // RGB colours (red in the low byte) for 1/4/8-bit pictures. It may be
    // shorter than the pixels need: missing entries read as black.
    std::vector<TColor>& Palette() { return palette_; }
    const std::vector<TColor>& Palette() const { return palette_; }

    // Meaningful for 16 and 32 bits only.
    const TBitMasks& Masks() const { return masks_; }
    void SetMasks(const TBitMasks& masks) { masks_ = masks; }

    TPixelImage To24Bit() const;

    // A bottom-up file with a BITMAPINFOHEADER; BI_BITFIELDS only when the
    // masks are not the default ones.
    std::vector<std::uint8_t> Encode() const;

private:
    int width_;
    int height_;
    int bitsPerPixel_;
    std::vector<TColor> palette_;
    TBitMasks masks_;
    std::vector<std::uint8_t> bits_;  // top row first
};
