#pragma once
// The drawing surface of the skin generator: a 24-bit picture with clipped
// pixel access, plus the few primitives every element is built from.
#include <functional>
#include <string_view>
#include <vector>

#include "core/Colour.h"
#include "core/PixelImage.h"

// The colour the engine treats as transparent.
inline constexpr TColor kMagenta = MakeColour(255, 0, 255);

struct TArtRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    int Right() const { return x + w; }
    int Bottom() const { return y + h; }
    TArtRect Inset(int d) const { return {x + d, y + d, w - 2 * d, h - 2 * d}; }
};

class TArtImage {
public:
    TArtImage() = default;
    TArtImage(int width, int height, TColor fill = kMagenta);
    static TArtImage FromPixels(TConstPixelView view);

    int Width() const { return pixels_.Width(); }
    int Height() const { return pixels_.Height(); }
    TArtRect Bounds() const { return {0, 0, Width(), Height()}; }

    // Reads outside the picture give magenta; writes there are dropped.
    TColor Pixel(int x, int y) const;
    void Set(int x, int y, TColor colour);

    void Fill(const TArtRect& r, TColor colour);
    // One-pixel outline just inside r.
    void Outline(const TArtRect& r, TColor colour);
    void HLine(int x, int y, int w, TColor colour) { Fill({x, y, w, 1}, colour); }
    void VLine(int x, int y, int h, TColor colour) { Fill({x, y, 1, h}, colour); }

    // Copies src with its top-left corner at (x, y); magenta source pixels
    // are skipped when keyed.
    void Blit(const TArtImage& src, int x, int y, bool keyed = false);
    TArtImage Crop(const TArtRect& r) const;
    // Copies the src rectangle of src into dest, scaling by nearest pixel.
    void StretchBlit(const TArtRect& dest, const TArtImage& src, const TArtRect& from, bool keyed = false);
    TArtImage MirroredX() const;
    // Rows become columns: (x, y) goes to (y, x).
    TArtImage Transposed() const;

    const TPixelImage& Pixels() const { return pixels_; }

private:
    TPixelImage pixels_;
};

// a + (b - a) * num / den per channel, rounded.
TColor MixColour(TColor a, TColor b, int num, int den);

// Vertical ramp through evenly spaced stops: row y of h gets its colour.
TColor RampColour(const std::vector<TColor>& stops, int y, int h);

// Whether pixel (x, y) lies inside r with corners rounded by radius
// (pixel centres against a circle of that radius).
bool InsideRounded(const TArtRect& r, int radius, int x, int y);

// A box with rounded corners: outline, then a vertical gradient inside it.
// Pixels outside the rounded shape keep what was there.
struct TBoxStyle {
    TColor outline;
    TColor top;     // fill at the first inner row
    TColor bottom;  // fill at the last inner row
    int radius = 2;
    // An optional second ring inside the outline (hot and focus rings); -1 is none.
    TColor ring = -1;
};
void DrawBox(TArtImage& image, const TArtRect& r, const TBoxStyle& style);
// The same for any shape: inside(x, y) says which pixels of r belong to it.
// style.radius is not used.
void DrawShape(TArtImage& image, const TArtRect& r, const std::function<bool(int, int)>& inside,
               const TBoxStyle& style);

// A small picture written as text: each row a string, each character one
// pixel. '.' and ' ' leave the pixel alone; other characters are looked up
// in the key string ("#" and "+" with their colours, for example).
struct TInk {
    char symbol;
    TColor colour;
};
void DrawPattern(TArtImage& image, int x, int y, const std::vector<std::string_view>& rows,
                 const std::vector<TInk>& inks);
// The pattern's size, for centring.
int PatternWidth(const std::vector<std::string_view>& rows);
inline int PatternHeight(const std::vector<std::string_view>& rows) { return static_cast<int>(rows.size()); }
void DrawPatternCentred(TArtImage& image, const TArtRect& r, const std::vector<std::string_view>& rows,
                        const std::vector<TInk>& inks, int dx = 0, int dy = 0);

// Frames of equal size side by side (or stacked) into one strip.
TArtImage JoinFrames(const std::vector<TArtImage>& frames, bool vertical = false);
