#include "skin/data/BitmapEffects.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/Exception.h"
#include "core/SystemColours.h"

void ToGrayscale(TPixelView image) {
    for (int y = 0; y < image.Height(); ++y) {
        auto row = image.Row(y);
        for (std::size_t i = 0; i < row.size(); i += 3) {
            const auto grey = static_cast<std::uint8_t>((row[i] + row[i + 1] + row[i + 2]) / 3);
            row[i] = row[i + 1] = row[i + 2] = grey;
        }
    }
}

void ReplaceMagenta(TPixelView image, TColor colour) {
    // The bytes of a system-colour reference would be its index, not a colour.
    const TColor rgb = ColorToRGB(colour);
    const auto blue = static_cast<std::uint8_t>(BlueOf(rgb));
    const auto green = static_cast<std::uint8_t>(GreenOf(rgb));
    const auto red = static_cast<std::uint8_t>(RedOf(rgb));
    for (int y = 0; y < image.Height(); ++y) {
        auto row = image.Row(y);
        for (std::size_t i = 0; i < row.size(); i += 3) {
            if (row[i] == 255 && row[i + 1] == 0 && row[i + 2] == 255) {
                row[i] = blue;
                row[i + 1] = green;
                row[i + 2] = red;
            }
        }
    }
}

void MirrorHorizontal(TPixelView image) {
    for (int y = 0; y < image.Height(); ++y) {
        auto row = image.Row(y);
        for (std::size_t l = 0, r = row.size(); l + 3 < r; l += 3, r -= 3)
            std::swap_ranges(row.begin() + l, row.begin() + l + 3, row.begin() + (r - 3));
    }
}

void FlipVertical(TPixelView image) {
    for (int top = 0, bottom = image.Height() - 1; top < bottom; ++top, --bottom)
        std::ranges::swap_ranges(image.Row(top), image.Row(bottom));
}

TPixelImage RotateLeft(TConstPixelView image) {
    const int oldWidth = image.Width();
    TPixelImage result(image.Height(), oldWidth);
    TPixelView to = result.View();
    for (int y = 0; y < to.Height(); ++y) {
        std::uint8_t* out = to.Row(y).data();
        for (int x = 0; x < to.Width(); ++x, out += 3) {
            const std::uint8_t* in = image.Row(x).data() + 3 * (oldWidth - 1 - y);
            std::copy_n(in, 3, out);
        }
    }
    return result;
}

TPixelImage RotateRight(TConstPixelView image) {
    const int oldHeight = image.Height();
    TPixelImage result(oldHeight, image.Width());
    TPixelView to = result.View();
    for (int y = 0; y < to.Height(); ++y) {
        std::uint8_t* out = to.Row(y).data();
        for (int x = 0; x < to.Width(); ++x, out += 3) {
            const std::uint8_t* in = image.Row(oldHeight - 1 - x).data() + 3 * y;
            std::copy_n(in, 3, out);
        }
    }
    return result;
}

TColor MixColours(TColor c1, TColor c2, int weight) {
    c1 = ColorToRGB(c1);
    c2 = ColorToRGB(c2);
    const int scale = weight < 100 ? 100 : 1000;
    // A weight outside 0..scale would push channels past 0..255, where
    // keeping the low byte gives an unrelated colour: use the nearest end.
    const int w = std::clamp(weight, 0, scale);
    auto mix = [&](int a, int b) { return (b * (scale - w) + a * w + scale / 2) / scale; };
    return MakeColour(mix(RedOf(c1), RedOf(c2)), mix(GreenOf(c1), GreenOf(c2)), mix(BlueOf(c1), BlueOf(c2)));
}

int Saturation255(TColor colour) {
    // The bytes of a system-colour reference would be its index, not a colour.
    colour = ColorToRGB(colour);
    const int r = RedOf(colour), g = GreenOf(colour), b = BlueOf(colour);
    const int high = std::max({r, g, b});
    const int low = std::min({r, g, b});
    if (high < 160) return 200;
    // (high - low) / high x 255, rounded half to even, in exact integers.
    const int numerator = (high - low) * 255;
    const int quotient = numerator / high;
    const int twiceRest = 2 * (numerator % high);
    if (twiceRest > high || (twiceRest == high && quotient % 2 == 1)) return quotient + 1;
    return quotient;
}

int TGradientCache::GradientColours(int count, TColor c1, TColor c2) {
    if (count < 1) throw Exception("A colour ramp needs at least one entry, not " + std::to_string(count));
    c1 = ColorToRGB(c1) & 0xFFFFFF;
    c2 = ColorToRGB(c2) & 0xFFFFFF;
    for (int slot = kSlots - 1; slot >= 0; --slot) {
        const auto& ramp = ramps_[static_cast<std::size_t>(slot)];
        if (ramp.size() == static_cast<std::size_t>(count) && ramp.front() == c1 && ramp.back() == c2)
            return slot;
    }
    const int slot = next_;
    next_ = (next_ + 1) % kSlots;
    auto& ramp = ramps_[static_cast<std::size_t>(slot)];
    ramp.resize(static_cast<std::size_t>(count));
    if (count == 1) {
        auto half = [](int a, int b) { return a + (b - a) / 2; };
        ramp[0] = MakeColour(half(RedOf(c1), RedOf(c2)), half(GreenOf(c1), GreenOf(c2)),
                             half(BlueOf(c1), BlueOf(c2)));
        return slot;
    }
    // Truncating toward zero: a falling channel can end one above c2, and
    // such a ramp is then never found by the search above.
    const std::int64_t d = count - 1;
    const std::int64_t h = d / 2;
    for (std::int64_t i = 0; i < count; ++i) {
        auto step = [&](int a, int b) { return static_cast<int>(a + (h + i * (b - a)) / d); };
        ramp[static_cast<std::size_t>(i)] =
            MakeColour(step(RedOf(c1), RedOf(c2)), step(GreenOf(c1), GreenOf(c2)), step(BlueOf(c1), BlueOf(c2)));
    }
    return slot;
}

TGradientCache& GradientCache() {
    static TGradientCache cache;
    return cache;
}
