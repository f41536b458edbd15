// Writes the program's icon: a microphone on a round blue badge, drawn at
// 128, 96, 64, 48 and 32 pixels as 32-bit images with alpha.
// Usage: icongen OUTPUT.ico
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

struct Rgba {
    double r, g, b, a;
};

// Coverage of a shape by 4x4 supersampling, so the edges are smooth.
template <class Inside>
double Coverage(int x, int y, Inside inside) {
    int hits = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx)
            if (inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4)) ++hits;
    return hits / 16.0;
}

Rgba Over(Rgba below, Rgba colour, double coverage) {
    const double a = colour.a * coverage;
    const double outA = a + below.a * (1 - a);
    if (outA <= 0) return {0, 0, 0, 0};
    auto mix = [&](double c, double d) { return (c * a + d * below.a * (1 - a)) / outA; };
    return {mix(colour.r, below.r), mix(colour.g, below.g), mix(colour.b, below.b), outA};
}

// One image as the icon file stores it: header, bottom-up BGRA rows, AND mask.
std::vector<std::uint8_t> Image(int size) {
    const double s = size;
    const double c = s / 2;
    std::vector<Rgba> px(static_cast<size_t>(size * size), Rgba{0, 0, 0, 0});
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgba p{0, 0, 0, 0};
            p = Over(p, {0.10, 0.38, 0.78, 1}, Coverage(x, y, [&](double u, double v) {
                         return std::hypot(u - c, v - c) <= s * 0.47;
                     }));
            // The microphone's head: a capsule.
            p = Over(p, {1, 1, 1, 1}, Coverage(x, y, [&](double u, double v) {
                         const double w = s * 0.11, top = s * 0.22, bottom = s * 0.52;
                         const double cy = std::clamp(v, top, bottom);
                         return std::hypot(u - c, v - cy) <= w;
                     }));
            // Its holder (an arc under the head) and the stand.
            p = Over(p, {1, 1, 1, 1}, Coverage(x, y, [&](double u, double v) {
                         const double r = std::hypot(u - c, v - s * 0.50);
                         const bool arc = v >= s * 0.50 && r >= s * 0.17 && r <= s * 0.21;
                         const bool stem = std::abs(u - c) <= s * 0.025 && v >= s * 0.70 && v <= s * 0.80;
                         const bool base = std::abs(u - c) <= s * 0.12 && v >= s * 0.78 && v <= s * 0.82;
                         return arc || stem || base;
                     }));
            px[static_cast<size_t>(y * size + x)] = p;
        }

    std::vector<std::uint8_t> out;
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(size));
    Put32(out, static_cast<std::uint32_t>(size * 2));  // colour rows and mask rows
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(size * size * 4));
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    auto byte = [](double v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) {
            const Rgba& p = px[static_cast<size_t>(y * size + x)];
            out.push_back(byte(p.b));
            out.push_back(byte(p.g));
            out.push_back(byte(p.r));
            out.push_back(byte(p.a));
        }
    const int maskStride = ((size + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<size_t>(maskStride), 0);
        for (int x = 0; x < size; ++x)
            if (px[static_cast<size_t>(y * size + x)].a <= 0) row[static_cast<size_t>(x / 8)] |= 0x80 >> (x % 8);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: icongen OUTPUT.ico\n");
        return 2;
    }
    const int sizes[] = {128, 96, 64, 48, 32};
    std::vector<std::vector<std::uint8_t>> images;
    for (int size : sizes) images.push_back(Image(size));

    std::vector<std::uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, static_cast<unsigned>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        file.push_back(static_cast<std::uint8_t>(sizes[i] & 0xFF));  // 256 would be 0
        file.push_back(static_cast<std::uint8_t>(sizes[i] & 0xFF));
        file.push_back(0);
        file.push_back(0);
        Put16(file, 1);
        Put16(file, 32);
        Put32(file, static_cast<std::uint32_t>(images[i].size()));
        Put32(file, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());

    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && ok ? 0 : 1;
}
