#include "tools/skingen/ArtImage.h"

#include <algorithm>
#include <stdexcept>

TArtImage::TArtImage(int width, int height, TColor fill) : pixels_(width, height) {
    Fill(Bounds(), fill);
}

TArtImage TArtImage::FromPixels(TConstPixelView view) {
    TArtImage image(view.Width(), view.Height());
    CopyPixels(view, image.pixels_.View());
    return image;
}

TColor TArtImage::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return kMagenta;
    return pixels_.View().Pixel(x, y);
}

void TArtImage::Set(int x, int y, TColor colour) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
    pixels_.View().SetPixel(x, y, colour);
}

void TArtImage::Fill(const TArtRect& r, TColor colour) {
    for (int y = r.y; y < r.Bottom(); ++y)
        for (int x = r.x; x < r.Right(); ++x) Set(x, y, colour);
}

void TArtImage::Outline(const TArtRect& r, TColor colour) {
    HLine(r.x, r.y, r.w, colour);
    HLine(r.x, r.Bottom() - 1, r.w, colour);
    VLine(r.x, r.y, r.h, colour);
    VLine(r.Right() - 1, r.y, r.h, colour);
}

void TArtImage::Blit(const TArtImage& src, int x, int y, bool keyed) {
    for (int sy = 0; sy < src.Height(); ++sy)
        for (int sx = 0; sx < src.Width(); ++sx) {
            const TColor c = src.Pixel(sx, sy);
            if (!keyed || c != kMagenta) Set(x + sx, y + sy, c);
        }
}

void TArtImage::StretchBlit(const TArtRect& dest, const TArtImage& src, const TArtRect& from, bool keyed) {
    if (dest.w <= 0 || dest.h <= 0 || from.w <= 0 || from.h <= 0) return;
    for (int y = 0; y < dest.h; ++y)
        for (int x = 0; x < dest.w; ++x) {
            const TColor c = src.Pixel(from.x + x * from.w / dest.w, from.y + y * from.h / dest.h);
            if (!keyed || c != kMagenta) Set(dest.x + x, dest.y + y, c);
        }
}

TArtImage TArtImage::Crop(const TArtRect& r) const {
    TArtImage out(r.w, r.h);
    for (int y = 0; y < r.h; ++y)
        for (int x = 0; x < r.w; ++x) out.Set(x, y, Pixel(r.x + x, r.y + y));
    return out;
}

TArtImage TArtImage::MirroredX() const {
    TArtImage out(Width(), Height());
    for (int y = 0; y < Height(); ++y)
        for (int x = 0; x < Width(); ++x) out.Set(Width() - 1 - x, y, Pixel(x, y));
    return out;
}

TArtImage TArtImage::Transposed() const {
    TArtImage out(Height(), Width());
    for (int y = 0; y < Height(); ++y)
        for (int x = 0; x < Width(); ++x) out.Set(y, x, Pixel(x, y));
    return out;
}

TColor MixColour(TColor a, TColor b, int num, int den) {
    if (den <= 0) return a;
    const auto mix = [&](int ca, int cb) { return (ca * (den - num) + cb * num + den / 2) / den; };
    return MakeColour(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

TColor RampColour(const std::vector<TColor>& stops, int y, int h) {
    if (stops.empty()) return 0;
    if (stops.size() == 1 || h <= 1) return stops.front();
    // Position along the ramp in units of 1 / (h - 1) of the whole length.
    const int segments = static_cast<int>(stops.size()) - 1;
    const int scaled = std::clamp(y, 0, h - 1) * segments;
    const int index = std::min(scaled / (h - 1), segments - 1);
    const int within = scaled - index * (h - 1);
    return MixColour(stops[index], stops[index + 1], within, h - 1);
}

bool InsideRounded(const TArtRect& r, int radius, int x, int y) {
    if (x < r.x || y < r.y || x >= r.Right() || y >= r.Bottom()) return false;
    // Twice the coordinates keeps pixel centres whole numbers.
    const int px = 2 * x + 1, py = 2 * y + 1;
    const int left = 2 * (r.x + radius), right = 2 * (r.Right() - radius);
    const int top = 2 * (r.y + radius), bottom = 2 * (r.Bottom() - radius);
    const int cx = px < left ? left : px > right ? right : px;
    const int cy = py < top ? top : py > bottom ? bottom : py;
    const int dx = px - cx, dy = py - cy;
    return dx * dx + dy * dy <= 4 * radius * radius;
}

void DrawBox(TArtImage& image, const TArtRect& r, const TBoxStyle& style) {
    DrawShape(image, r, [&](int x, int y) { return InsideRounded(r, style.radius, x, y); }, style);
}

void DrawShape(TArtImage& image, const TArtRect& r, const std::function<bool(int, int)>& shape,
               const TBoxStyle& style) {
    // Pixels beyond r never belong, so a shape touching r's border gets its outline there.
    const auto inside = [&](int x, int y) {
        return x >= r.x && y >= r.y && x < r.Right() && y < r.Bottom() && shape(x, y);
    };
    const auto edge = [&](int x, int y) {
        return inside(x, y) && (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1));
    };
    for (int y = r.y; y < r.Bottom(); ++y)
        for (int x = r.x; x < r.Right(); ++x) {
            if (!inside(x, y)) continue;
            if (edge(x, y)) {
                image.Set(x, y, style.outline);
            } else if (style.ring != -1 &&
                       (edge(x - 1, y) || edge(x + 1, y) || edge(x, y - 1) || edge(x, y + 1))) {
                image.Set(x, y, style.ring);
            } else {
                image.Set(x, y, MixColour(style.top, style.bottom, y - r.y - 1, std::max(1, r.h - 3)));
            }
        }
}

void DrawPattern(TArtImage& image, int x, int y, const std::vector<std::string_view>& rows,
                 const std::vector<TInk>& inks) {
    for (int row = 0; row < static_cast<int>(rows.size()); ++row)
        for (int col = 0; col < static_cast<int>(rows[row].size()); ++col) {
            const char symbol = rows[row][col];
            if (symbol == '.' || symbol == ' ') continue;
            const auto ink = std::find_if(inks.begin(), inks.end(), [&](const TInk& i) { return i.symbol == symbol; });
            if (ink == inks.end()) throw std::invalid_argument(std::string("pattern symbol without ink: ") + symbol);
            image.Set(x + col, y + row, ink->colour);
        }
}

int PatternWidth(const std::vector<std::string_view>& rows) {
    std::size_t w = 0;
    for (const auto row : rows) w = std::max(w, row.size());
    return static_cast<int>(w);
}

void DrawPatternCentred(TArtImage& image, const TArtRect& r, const std::vector<std::string_view>& rows,
                        const std::vector<TInk>& inks, int dx, int dy) {
    const int x = r.x + (r.w - PatternWidth(rows)) / 2 + dx;
    const int y = r.y + (r.h - PatternHeight(rows)) / 2 + dy;
    DrawPattern(image, x, y, rows, inks);
}

TArtImage JoinFrames(const std::vector<TArtImage>& frames, bool vertical) {
    if (frames.empty()) return {};
    const int fw = frames.front().Width(), fh = frames.front().Height();
    const int n = static_cast<int>(frames.size());
    TArtImage strip(vertical ? fw : fw * n, vertical ? fh * n : fh);
    for (int i = 0; i < n; ++i) {
        if (frames[i].Width() != fw || frames[i].Height() != fh)
            throw std::invalid_argument("frames of a strip differ in size");
        strip.Blit(frames[i], vertical ? 0 : i * fw, vertical ? i * fh : 0);
    }
    return strip;
}
