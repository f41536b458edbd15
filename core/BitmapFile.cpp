#include "core/BitmapFile.h"

#include <algorithm>
#include <bit>
#include <string>

#include "core/BitmapRle.h"
#include "core/ByteOrder.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;  // the OS/2 header: 16-bit sizes, 3-byte palette entries
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiJpeg = 4, kBiPng = 5,
                        kBiAlphaBitfields = 6;

bool SupportedDepth(int bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1: case 4: case 8: case 16: case 24: case 32: return true;
        default: return false;
    }
}

void CheckSize(std::int64_t width, std::int64_t height) {
    if (width < 1 || height < 1 || width > TBitmapFile::kMaxSide || height > TBitmapFile::kMaxSide ||
        width * height > TBitmapFile::kMaxPixels)
        throw EBitmapError("Bitmap size " + std::to_string(width) + " x " + std::to_string(height) +
                           " is out of range (1 to " + std::to_string(TBitmapFile::kMaxSide) + " a side, at most " +
                           std::to_string(TBitmapFile::kMaxPixels) + " pixels)");
}

std::string CompressionName(std::uint32_t compression) {
    switch (compression) {
        case kBiRle8: return "RLE8";
        case kBiRle4: return "RLE4";
        case kBiJpeg: return "JPEG";
        case kBiPng: return "PNG";
        default: return std::to_string(compression);
    }
}

// Scales one masked channel to 0..255, whatever its width and position.
class TChannel {
public:
    explicit TChannel(std::uint32_t mask)
        : mask_(mask), shift_(mask ? std::countr_zero(mask) : 0), max_(mask >> shift_) {}
    std::uint8_t operator()(std::uint32_t pixel) const {
        if (max_ == 0) return 0;
        const std::uint64_t v = (pixel & mask_) >> shift_;
        return static_cast<std::uint8_t>((v * 255 + max_ / 2) / max_);
    }

private:
    std::uint32_t mask_;
    int shift_;
    std::uint64_t max_;
};

TColor PaletteEntry(const std::vector<TColor>& palette, unsigned index) {
    return index < palette.size() ? palette[index] : 0;
}

}  // namespace

TBitMasks DefaultBitMasks(int bitsPerPixel) {
    if (bitsPerPixel == 16) return {0x7C00, 0x03E0, 0x001F};
    if (bitsPerPixel == 32) return {0xFF0000, 0x00FF00, 0x0000FF};
    return {};
}

TBitmapFile::TBitmapFile(int width, int height, int bitsPerPixel)
    : width_(width), height_(height), bitsPerPixel_(bitsPerPixel), masks_(DefaultBitMasks(bitsPerPixel)) {
    if (!SupportedDepth(bitsPerPixel))
        throw EBitmapError(std::to_string(bitsPerPixel) + " bits per pixel is not supported");
    CheckSize(width, height);
    bits_.assign(Stride() * static_cast<std::size_t>(height), 0);
}

TBitmapFile TBitmapFile::FromPixels(TConstPixelView image) {
    TBitmapFile result(image.Width(), image.Height(), 24);
    for (int y = 0; y < image.Height(); ++y) std::ranges::copy(image.Row(y), result.Row(y).begin());
    return result;
}

std::span<std::uint8_t> TBitmapFile::Row(int y) {
    return std::span(bits_).subspan(static_cast<std::size_t>(y) * Stride(), Stride());
}

std::span<const std::uint8_t> TBitmapFile::Row(int y) const {
    return std::span(bits_).subspan(static_cast<std::size_t>(y) * Stride(), Stride());
}

TBitmapFile TBitmapFile::Decode(std::span<const std::uint8_t> bytes) {
    // All offsets are 64-bit so that no header value can wrap them.
    const std::uint64_t size = bytes.size();
    if (size < kFileHeaderSize + 4) throw EBitmapError("Too short for a bitmap file");
    if (bytes[0] != 'B' || bytes[1] != 'M') throw EBitmapError("Not a bitmap file (no \"BM\" signature)");
    const std::uint64_t pixelOffset = ReadLE32(&bytes[10]);
    const std::uint64_t headerSize = ReadLE32(&bytes[14]);
    const bool core = headerSize == kCoreHeaderSize;
    if (headerSize < kInfoHeaderSize && !core)
        throw EBitmapError("Unsupported bitmap header of " + std::to_string(headerSize) + " bytes");
    if (kFileHeaderSize + headerSize > size) throw EBitmapError("Truncated bitmap header");

    const std::uint8_t* info = &bytes[kFileHeaderSize];
    const std::int64_t width = core ? ReadLE16(info + 4) : ReadLE32Signed(info + 4);
    const std::int64_t storedHeight = core ? ReadLE16(info + 6) : ReadLE32Signed(info + 8);
    const int bitsPerPixel = ReadLE16(info + (core ? 10 : 14));
    const std::uint32_t compression = core ? kBiRgb : ReadLE32(info + 16);
    const std::uint32_t coloursUsed = core ? 0 : ReadLE32(info + 32);

    if (!SupportedDepth(bitsPerPixel))
        throw EBitmapError(std::to_string(bitsPerPixel) + " bits per pixel is not supported");
    const bool bitfields = compression == kBiBitfields || compression == kBiAlphaBitfields;
    if (bitfields && bitsPerPixel != 16 && bitsPerPixel != 32)
        throw EBitmapError("Bit masks with " + std::to_string(bitsPerPixel) + " bits per pixel are not supported");
    const bool rle = compression == kBiRle8 || compression == kBiRle4;
    if (rle && bitsPerPixel != (compression == kBiRle8 ? 8 : 4))
        throw EBitmapError(CompressionName(compression) + " with " + std::to_string(bitsPerPixel) +
                           " bits per pixel is not supported");
    if (compression != kBiRgb && !bitfields && !rle)
        throw EBitmapError("Compressed bitmaps (" + CompressionName(compression) + ") are not supported");
    const bool topDown = storedHeight < 0;
    if (rle && topDown) throw EBitmapError("A top-down bitmap cannot be " + CompressionName(compression));
    const std::int64_t height = topDown ? -storedHeight : storedHeight;
    CheckSize(width, height);

    // Masks lie inside the larger headers, or follow the basic one.
    std::uint64_t tableStart = kFileHeaderSize + headerSize;
    TBitMasks fileMasks;
    if (bitfields) {
        const std::uint8_t* masks = info + kInfoHeaderSize;
        if (headerSize < kInfoHeaderSize + 12) {
            const std::uint64_t maskBytes = compression == kBiAlphaBitfields ? 16 : 12;
            if (tableStart + maskBytes > size) throw EBitmapError("Truncated bit masks");
            masks = &bytes[tableStart];
            tableStart += maskBytes;
        }
        fileMasks = {ReadLE32(masks), ReadLE32(masks + 4), ReadLE32(masks + 8)};
    }

    if (pixelOffset < tableStart) throw EBitmapError("Bitmap pixel data offset lies inside the headers");
    if (pixelOffset > size) throw EBitmapError("Bitmap pixel data offset lies past the end of the file");
    // Checked before allocating anything: the pixels must be in the file.
    // The last row's padding may be missing; every byte of a pixel must be there.
    const std::uint64_t stride = DibStride(static_cast<int>(width), bitsPerPixel);
    const std::uint64_t rowBytes = (std::uint64_t(width) * bitsPerPixel + 7) / 8;
    if (!rle && size - pixelOffset < stride * (height - 1) + rowBytes)
        throw EBitmapError("Truncated bitmap pixel data");
    // Even a blank RLE picture holds its end mark.
    if (rle && size - pixelOffset < 2) throw EBitmapError("Truncated RLE bitmap data");

    TBitmapFile result(static_cast<int>(width), static_cast<int>(height), bitsPerPixel);
    if (bitfields) result.masks_ = fileMasks;

    if (bitsPerPixel <= 8) {
        const std::uint64_t full = std::uint64_t(1) << bitsPerPixel;
        const std::uint64_t wanted = coloursUsed == 0 ? full : std::min<std::uint64_t>(coloursUsed, full);
        // A palette cut short by the pixel data keeps what it has.
        const std::uint64_t entrySize = core ? 3 : 4;
        const std::uint64_t count = std::min(wanted, (pixelOffset - tableStart) / entrySize);
        result.palette_.reserve(count);
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint8_t* entry = &bytes[tableStart + entrySize * i];
            result.palette_.push_back(MakeColour(entry[2], entry[1], entry[0]));
        }
    }

    if (rle) {
        DecodeRle(bytes.subspan(pixelOffset), result);
        return result;
    }
    for (int y = 0; y < result.height_; ++y) {
        const std::uint64_t storedRow = static_cast<std::uint64_t>(topDown ? y : height - 1 - y);
        const auto from = bytes.subspan(pixelOffset + stride * storedRow, rowBytes);
        std::ranges::copy(from, result.Row(y).begin());
    }
    return result;
}

TPixelImage TBitmapFile::To24Bit() const {
    TPixelImage image(width_, height_);
    TPixelView to = image.View();
    const TChannel red(masks_.Red), green(masks_.Green), blue(masks_.Blue);
    const bool plain32 = bitsPerPixel_ == 32 && masks_ == DefaultBitMasks(32);
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* in = Row(y).data();
        std::uint8_t* out = to.Row(y).data();
        if (bitsPerPixel_ == 24) {
            std::copy_n(in, 3 * static_cast<std::size_t>(width_), out);
            continue;
        }
        for (int x = 0; x < width_; ++x, out += 3) {
            TColor c = 0;
            switch (bitsPerPixel_) {
                case 1: c = PaletteEntry(palette_, (in[x / 8] >> (7 - x % 8)) & 1u); break;
                case 4: c = PaletteEntry(palette_, (in[x / 2] >> (x % 2 ? 0 : 4)) & 0xFu); break;
                case 8: c = PaletteEntry(palette_, in[x]); break;
                case 16: {
                    const std::uint32_t p = ReadLE16(in + 2 * x);
                    c = MakeColour(red(p), green(p), blue(p));
                    break;
                }
                default: {
                    const std::uint8_t* p = in + 4 * x;
                    if (plain32) {
                        c = MakeColour(p[2], p[1], p[0]);
                    } else {
                        const std::uint32_t v = ReadLE32(p);
                        c = MakeColour(red(v), green(v), blue(v));
                    }
                }
            }
            out[0] = static_cast<std::uint8_t>(BlueOf(c));
            out[1] = static_cast<std::uint8_t>(GreenOf(c));
            out[2] = static_cast<std::uint8_t>(RedOf(c));
        }
    }
    return image;
}

std::vector<std::uint8_t> TBitmapFile::Encode() const {
    const bool indexed = bitsPerPixel_ <= 8;
    const std::size_t full = indexed ? std::size_t(1) << bitsPerPixel_ : 0;
    if (palette_.size() > full && indexed)
        throw EBitmapError("A palette of " + std::to_string(palette_.size()) + " colours does not fit " +
                           std::to_string(bitsPerPixel_) + " bits per pixel");
    // An empty palette is written as a black one: a colour count of 0 in the
    // file would mean "all of them".
    const std::size_t paletteCount = !indexed ? 0 : palette_.empty() ? full : palette_.size();
    const bool bitfields = (bitsPerPixel_ == 16 || bitsPerPixel_ == 32) && masks_ != DefaultBitMasks(bitsPerPixel_);
    const std::size_t imageSize = Stride() * static_cast<std::size_t>(height_);
    const std::size_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + (bitfields ? 12 : 0) + 4 * paletteCount;

    std::vector<std::uint8_t> out;
    out.reserve(pixelOffset + imageSize);
    out.push_back('B');
    out.push_back('M');
    AppendLE32(out, static_cast<std::uint32_t>(pixelOffset + imageSize));
    AppendLE32(out, 0);
    AppendLE32(out, static_cast<std::uint32_t>(pixelOffset));

    AppendLE32(out, kInfoHeaderSize);
    AppendLE32(out, static_cast<std::uint32_t>(width_));
    AppendLE32(out, static_cast<std::uint32_t>(height_));  // positive: bottom-up
    out.push_back(1);  // planes
    out.push_back(0);
    out.push_back(static_cast<std::uint8_t>(bitsPerPixel_));
    out.push_back(0);
    AppendLE32(out, bitfields ? kBiBitfields : kBiRgb);
    AppendLE32(out, static_cast<std::uint32_t>(imageSize));
    AppendLE32(out, 2835);  // 72 dots per inch
    AppendLE32(out, 2835);
    AppendLE32(out, indexed && !palette_.empty() ? static_cast<std::uint32_t>(palette_.size()) : 0);
    AppendLE32(out, 0);

    if (bitfields) {
        AppendLE32(out, masks_.Red);
        AppendLE32(out, masks_.Green);
        AppendLE32(out, masks_.Blue);
    }
    for (std::size_t i = 0; i < paletteCount; ++i) {
        const TColor c = i < palette_.size() ? palette_[i] : 0;
        out.push_back(static_cast<std::uint8_t>(BlueOf(c)));
        out.push_back(static_cast<std::uint8_t>(GreenOf(c)));
        out.push_back(static_cast<std::uint8_t>(RedOf(c)));
        out.push_back(0);
    }
    for (int y = height_ - 1; y >= 0; --y) {
        const auto row = Row(y);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}
