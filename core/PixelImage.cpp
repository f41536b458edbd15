#include "core/PixelImage.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "core/Exception.h"

TPixelImage::TPixelImage(int width, int height) {
    if (width < 0 || height < 0)
        throw Exception("Image size " + std::to_string(width) + " x " + std::to_string(height) + " is negative");
    // Checked in 64 bits so that a 32-bit size_t cannot wrap.
    const std::uint64_t bytes = (std::uint64_t(width) * 24 + 31) / 32 * 4 * std::uint64_t(height);
    if (bytes > std::numeric_limits<std::size_t>::max() / 2)
        throw Exception("Image size " + std::to_string(width) + " x " + std::to_string(height) + " is too large");
    width_ = width;
    height_ = height;
    bits_.assign(static_cast<std::size_t>(bytes), 0);
}

TPixelView TPixelImage::View() {
    return {bits_.data(), width_, height_, static_cast<std::ptrdiff_t>(Stride())};
}

TConstPixelView TPixelImage::View() const {
    return {bits_.data(), width_, height_, static_cast<std::ptrdiff_t>(Stride())};
}

void CopyPixels(TConstPixelView from, TPixelView to) {
    if (from.Width() != to.Width() || from.Height() != to.Height())
        throw Exception("CopyPixels: the images differ in size");
    for (int y = 0; y < from.Height(); ++y) std::ranges::copy(from.Row(y), to.Row(y).begin());
}

bool SamePixels(TConstPixelView a, TConstPixelView b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        if (!std::ranges::equal(a.Row(y), b.Row(y))) return false;
    return true;
}
