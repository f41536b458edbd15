#pragma once
// Pixel operations and colour arithmetic the skin engine applies to skin
// bitmaps: derived elements at load time, disabled, flipped and rotated
// variants for the control painters, and the colour ramps of gradients.
#include <array>
#include <span>
#include <vector>

#include "core/Colour.h"
#include "core/PixelImage.h"

// In place on 24-bit rows.
void ToGrayscale(TPixelView image);
// Pure magenta (255, 0, 255) pixels take the colour; a system-colour
// reference is resolved first.
void ReplaceMagenta(TPixelView image, TColor colour);
void MirrorHorizontal(TPixelView image);
void FlipVertical(TPixelView image);

// Width and height swap. RotateLeft turns counter-clockwise (the top-right
// corner becomes the top-left one), RotateRight clockwise; one undoes the other.
TPixelImage RotateLeft(TConstPixelView image);
TPixelImage RotateRight(TConstPixelView image);

// weight is the share of c1: a percentage below 100, per mille from 100 on
// (so 100 means 10 %). System-colour references are resolved first.
TColor MixColours(TColor c1, TColor c2, int weight);

// Colourfulness 0..255, or 200 when no channel reaches 160.
int Saturation255(TColor colour);

// The last sixteen colour ramps that gradients asked for; when all slots are
// taken the oldest is overwritten.
class TGradientCache {
public:
    static constexpr int kSlots = 16;

    // The slot holding a ramp of count (at least 1) colours from c1 to c2.
    int GradientColours(int count, TColor c1, TColor c2);
    std::span<const TColor> Ramp(int slot) const { return ramps_.at(static_cast<std::size_t>(slot)); }

private:
    std::array<std::vector<TColor>, kSlots> ramps_;
    int next_ = 0;
};

// The program's one cache, used by every gradient painted on the
// user-interface thread; it is not locked.
TGradientCache& GradientCache();
