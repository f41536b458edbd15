// Decodes arbitrary bytes as a bitmap file. Anything it accepts must expand to
// 24 bits, survive the writer unchanged, and go through the pixel operations.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/BitmapFile.h"
#include "skin/data/BitmapEffects.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

void ExercisePixels(const TPixelImage& original) {
    TPixelImage image = original;
    Check(RotateRight(RotateLeft(image.View()).View()) == original);
    MirrorHorizontal(image.View());
    FlipVertical(image.View());
    MirrorHorizontal(image.View());
    FlipVertical(image.View());
    Check(image == original);

    const TColor first = image.View().Pixel(0, 0);
    const TColor last = image.View().Pixel(image.Width() - 1, image.Height() - 1);
    ReplaceMagenta(image.View(), last);
    ToGrayscale(image.View());
    const TColor grey = image.View().Pixel(0, 0);
    Check(RedOf(grey) == GreenOf(grey) && GreenOf(grey) == BlueOf(grey));

    const int weight = (first ^ last) & 0x7FF;
    const TColor mixed = MixColours(first, last, weight);
    Check(mixed >= 0 && mixed <= 0xFFFFFF);
    const int saturation = Saturation255(mixed);
    Check(saturation >= 0 && saturation <= 255);

    TGradientCache cache;
    const int count = 1 + (first & 0xFF);
    const auto ramp = cache.Ramp(cache.GradientColours(count, first, last));
    Check(ramp.size() == static_cast<std::size_t>(count));
    for (TColor c : ramp) Check(c >= 0 && c <= 0xFFFFFF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const auto file = TBitmapFile::Decode(std::span(data, size));
        const TPixelImage image = file.To24Bit();
        Check(image.Width() == file.Width() && image.Height() == file.Height());

        const auto again = TBitmapFile::Decode(file.Encode());
        Check(again.BitsPerPixel() == file.BitsPerPixel() && again.Masks() == file.Masks());
        for (int y = 0; y < file.Height(); ++y) Check(std::ranges::equal(again.Row(y), file.Row(y)));
        Check(again.To24Bit() == image);

        if (std::int64_t(image.Width()) * image.Height() <= 4096) ExercisePixels(image);
    } catch (const EBitmapError&) {
    }
    return 0;
}
