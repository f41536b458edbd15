#pragma once
// 24-bit pixel rows (blue, green, red per pixel), laid out the way a
// device-independent bitmap stores them. A view borrows rows from anywhere,
// a DIB section's bits included; an image owns its rows.
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>
#include <vector>

#include "core/Colour.h"

// Bytes in one stored row of a DIB: rows are padded to whole DWORDs.
constexpr std::size_t DibStride(int width, int bitsPerPixel) {
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
}

template <class Byte>
class TBasicPixelView {
public:
    TBasicPixelView() = default;
    // top is the first byte of the top row; stride goes from a row to the one
    // below it, so it is negative for bottom-up storage.
    TBasicPixelView(Byte* top, int width, int height, std::ptrdiff_t stride)
        : top_(top), width_(width), height_(height), stride_(stride) {}

    template <class Other>
        requires std::is_convertible_v<Other*, Byte*>
    TBasicPixelView(const TBasicPixelView<Other>& other)
        : top_(other.Top()), width_(other.Width()), height_(other.Height()), stride_(other.Stride()) {}

    // A DIB's bits: a positive height means the last row comes first in memory.
    static TBasicPixelView FromDib(Byte* bits, int width, int dibHeight) {
        const auto stride = static_cast<std::ptrdiff_t>(DibStride(width, 24));
        if (dibHeight < 0) return TBasicPixelView(bits, width, -dibHeight, stride);
        Byte* top = dibHeight == 0 ? bits : bits + (dibHeight - 1) * stride;
        return TBasicPixelView(top, width, dibHeight, -stride);
    }

    Byte* Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    std::ptrdiff_t Stride() const { return stride_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }

    // The 3 x Width bytes of row y, counted from the top.
    std::span<Byte> Row(int y) const {
        return {top_ + y * stride_, static_cast<std::size_t>(width_) * 3};
    }

    TColor Pixel(int x, int y) const {
        const Byte* p = Row(y).data() + 3 * x;
        return MakeColour(p[2], p[1], p[0]);
    }

    void SetPixel(int x, int y, TColor colour) const
        requires(!std::is_const_v<Byte>)
    {
        Byte* p = Row(y).data() + 3 * x;
        p[0] = static_cast<Byte>(BlueOf(colour));
        p[1] = static_cast<Byte>(GreenOf(colour));
        p[2] = static_cast<Byte>(RedOf(colour));
    }

private:
    Byte* top_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::ptrdiff_t stride_ = 0;
};

using TPixelView = TBasicPixelView<std::uint8_t>;
using TConstPixelView = TBasicPixelView<const std::uint8_t>;

// A 24-bit image with top-down, DWORD-aligned rows; new pixels are black.
class TPixelImage {
public:
    TPixelImage() = default;
    TPixelImage(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::size_t Stride() const { return DibStride(width_, 24); }
    bool Empty() const { return width_ == 0 || height_ == 0; }

    TPixelView View();
    TConstPixelView View() const;
    // All rows, padding included, top row first.
    std::span<const std::uint8_t> Bytes() const { return bits_; }

    // Padding bytes are never written, so equal pictures compare equal.
    bool operator==(const TPixelImage&) const = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> bits_;
};

// Both views must have the same size.
void CopyPixels(TConstPixelView from, TPixelView to);
bool SamePixels(TConstPixelView a, TConstPixelView b);
