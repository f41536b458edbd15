#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/BitmapFile.h"
#include "core/ByteOrder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Append16(Bytes& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// A bitmap file put together field by field, so that tests can write what
// no well-behaved writer would.
struct TFileParts {
    std::uint32_t headerSize = 40;
    std::int32_t width = 2;
    std::int32_t height = 2;
    unsigned bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    TBitMasks headerMasks;  // written when the header has room for them
    Bytes afterHeader;      // bit masks, palette
    Bytes pixels;
    std::int64_t pixelOffset = -1;  // -1: right after afterHeader

    Bytes Build() const {
        Bytes out{'B', 'M'};
        const std::uint32_t offset = pixelOffset >= 0 ? static_cast<std::uint32_t>(pixelOffset)
                                                      : 14 + headerSize + static_cast<std::uint32_t>(afterHeader.size());
        AppendLE32(out, 0);  // file size: readers ignore it
        AppendLE32(out, 0);
        AppendLE32(out, offset);
        Bytes header;
        AppendLE32(header, headerSize);
        AppendLE32(header, static_cast<std::uint32_t>(width));
        AppendLE32(header, static_cast<std::uint32_t>(height));
        Append16(header, 1);
        Append16(header, bitsPerPixel);
        AppendLE32(header, compression);
        AppendLE32(header, static_cast<std::uint32_t>(pixels.size()));
        AppendLE32(header, 0);
        AppendLE32(header, 0);
        AppendLE32(header, coloursUsed);
        AppendLE32(header, 0);
        if (headerSize >= 52) {
            AppendLE32(header, headerMasks.Red);
            AppendLE32(header, headerMasks.Green);
            AppendLE32(header, headerMasks.Blue);
        }
        header.resize(std::max<std::size_t>(headerSize, 40), 0);
        out.insert(out.end(), header.begin(), header.end());
        out.insert(out.end(), afterHeader.begin(), afterHeader.end());
        out.resize(std::max<std::size_t>(out.size(), offset), 0);
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }
};

Bytes PaletteBytes(const std::vector<TColor>& colours) {
    Bytes out;
    for (TColor c : colours) {
        out.push_back(static_cast<std::uint8_t>(BlueOf(c)));
        out.push_back(static_cast<std::uint8_t>(GreenOf(c)));
        out.push_back(static_cast<std::uint8_t>(RedOf(c)));
        out.push_back(0);
    }
    return out;
}

// A 2 x 2 24-bit file: top row red, green; bottom row blue, white.
TFileParts Small24(bool topDown) {
    TFileParts parts;
    const Bytes top{0, 0, 255, 0, 255, 0, 0, 0};
    const Bytes bottom{255, 0, 0, 255, 255, 255, 0, 0};
    parts.height = topDown ? -2 : 2;
    parts.pixels = topDown ? top : bottom;
    const Bytes& second = topDown ? bottom : top;
    parts.pixels.insert(parts.pixels.end(), second.begin(), second.end());
    return parts;
}

std::vector<TColor> Pixels(const TPixelImage& image) {
    std::vector<TColor> out;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) out.push_back(image.View().Pixel(x, y));
    return out;
}

std::string DecodeError(const Bytes& bytes) {
    try {
        TBitmapFile::Decode(bytes);
    } catch (const EBitmapError& e) {
        return e.what();
    }
    return "(decoded)";
}

}  // namespace

TEST(BitmapFile, TopDownAndBottomUpRowsGiveTheSamePicture) {
    const std::vector<TColor> expected{0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF};
    for (bool topDown : {false, true}) {
        const auto file = TBitmapFile::Decode(Small24(topDown).Build());
        EXPECT_EQ(file.Width(), 2);
        EXPECT_EQ(file.Height(), 2);
        EXPECT_EQ(file.BitsPerPixel(), 24);
        EXPECT_EQ(Pixels(file.To24Bit()), expected) << (topDown ? "top-down" : "bottom-up");
    }
}

TEST(BitmapFile, EveryDepthSurvivesTheWriter) {
    struct Row {
        const char* name;
        int bitsPerPixel;
        int paletteSize;
        TBitMasks masks;
    } rows[] = {
        {"1-bit", 1, 2, {}},
        {"4-bit", 4, 16, {}},
        {"4-bit with a short palette", 4, 5, {}},
        {"8-bit", 8, 256, {}},
        {"8-bit with an empty palette", 8, 0, {}},
        {"16-bit 5-5-5", 16, 0, DefaultBitMasks(16)},
        {"16-bit 5-6-5", 16, 0, {0xF800, 0x07E0, 0x001F}},
        {"24-bit", 24, 0, {}},
        {"32-bit", 32, 0, DefaultBitMasks(32)},
        {"32-bit red in the top byte", 32, 0, {0xFF000000, 0x00FF0000, 0x0000FF00}},
    };
    for (const auto& r : rows) {
        // Odd widths make every row need padding.
        TBitmapFile original(7, 3, r.bitsPerPixel);
        for (int i = 0; i < r.paletteSize; ++i) original.Palette().push_back(MakeColour(i, 255 - i, i * 7));
        original.SetMasks(r.masks);
        const std::size_t used = (7 * static_cast<std::size_t>(r.bitsPerPixel) + 7) / 8;
        for (int y = 0; y < 3; ++y)
            for (std::size_t i = 0; i < used; ++i) original.Row(y)[i] = static_cast<std::uint8_t>(31 * y + 17 * i + 5);

        const auto decoded = TBitmapFile::Decode(original.Encode());
        EXPECT_EQ(decoded.Width(), 7) << r.name;
        EXPECT_EQ(decoded.Height(), 3) << r.name;
        EXPECT_EQ(decoded.BitsPerPixel(), r.bitsPerPixel) << r.name;
        // An empty palette is written as a full black one.
        const auto expectedPalette = r.paletteSize == 0 && r.bitsPerPixel <= 8
                                         ? std::vector<TColor>(std::size_t(1) << r.bitsPerPixel, 0)
                                         : original.Palette();
        EXPECT_EQ(decoded.Palette(), expectedPalette) << r.name;
        EXPECT_EQ(decoded.Masks(), original.Masks()) << r.name;
        for (int y = 0; y < 3; ++y)
            EXPECT_TRUE(std::ranges::equal(decoded.Row(y), original.Row(y))) << r.name << " row " << y;
        EXPECT_EQ(decoded.To24Bit(), original.To24Bit()) << r.name;
    }
}

TEST(BitmapFile, WritesAStandardBottomUpFile) {
    TPixelImage image(1, 2);
    image.View().SetPixel(0, 0, MakeColour(1, 2, 3));
    image.View().SetPixel(0, 1, MakeColour(4, 5, 6));
    const Bytes bytes = TBitmapFile::FromPixels(image.View()).Encode();
    ASSERT_EQ(bytes.size(), 14u + 40 + 8);
    EXPECT_EQ(ReadLE32(&bytes[2]), bytes.size()) << "file size";
    EXPECT_EQ(ReadLE32(&bytes[10]), 54u) << "pixel offset";
    EXPECT_EQ(ReadLE32(&bytes[14]), 40u) << "info header size";
    EXPECT_EQ(ReadLE32Signed(&bytes[22]), 2) << "positive height: bottom-up";
    EXPECT_EQ(ReadLE16(&bytes[26]), 1) << "planes";
    EXPECT_EQ(ReadLE32(&bytes[30]), 0u) << "BI_RGB";
    EXPECT_EQ(ReadLE32(&bytes[34]), 8u) << "image size";
    const Bytes pixels(bytes.begin() + 54, bytes.end());
    EXPECT_EQ(pixels, (Bytes{6, 5, 4, 0, 3, 2, 1, 0})) << "bottom row first, padded";
    EXPECT_EQ(TBitmapFile::Decode(bytes).To24Bit(), image);
}

TEST(BitmapFile, WriterPaletteRules) {
    TBitmapFile blank(3, 1, 4);
    const Bytes bytes = blank.Encode();
    EXPECT_EQ(ReadLE32(&bytes[46]), 0u) << "no colour count: a full palette follows";
    EXPECT_EQ(ReadLE32(&bytes[10]), 14u + 40 + 16 * 4);
    EXPECT_EQ(TBitmapFile::Decode(bytes).Palette(), std::vector<TColor>(16, 0));

    TBitmapFile crowded(3, 1, 1);
    crowded.Palette() = {0, 1, 2};
    EXPECT_THROW(crowded.Encode(), EBitmapError);
}

TEST(BitmapFile, ExpandsStoredFormatsTo24Bit) {
    struct Row {
        const char* name;
        int bitsPerPixel, width;
        std::vector<TColor> palette;
        TBitMasks masks;
        Bytes row;
        std::vector<TColor> expected;
    } rows[] = {
        {"1-bit, leftmost pixel in the high bit", 1, 3, {0, 0xFFFFFF}, {}, {0b10100000}, {0xFFFFFF, 0, 0xFFFFFF}},
        {"4-bit, leftmost pixel in the high nibble", 4, 2, {0x111111, 0x222222, 0x333333}, {}, {0x21},
         {0x333333, 0x222222}},
        {"8-bit index past the palette reads black", 8, 2, {0x123456}, {}, {0, 200}, {0x123456, 0}},
        {"1-bit with no palette at all", 1, 1, {}, {}, {0x80}, {0}},
        {"16-bit 5-5-5", 16, 3, {}, DefaultBitMasks(16), {0xFF, 0x7F, 0x00, 0x7C, 0x10, 0x00},
         {0xFFFFFF, MakeColour(255, 0, 0), MakeColour(0, 0, 132)}},
        {"16-bit 5-6-5", 16, 2, {}, {0xF800, 0x07E0, 0x001F}, {0xE0, 0x07, 0x00, 0xF8},
         {MakeColour(0, 255, 0), MakeColour(255, 0, 0)}},
        {"32-bit blue, green, red, unused", 32, 1, {}, DefaultBitMasks(32), {30, 20, 10, 99},
         {MakeColour(10, 20, 30)}},
        {"32-bit red in the top byte", 32, 1, {}, {0xFF000000, 0x00FF0000, 0x0000FF00}, {99, 30, 20, 10},
         {MakeColour(10, 20, 30)}},
        {"a zero mask gives a black channel", 32, 1, {}, {0, 0xFF00, 0xFF}, {30, 20, 10, 0},
         {MakeColour(0, 20, 30)}},
    };
    for (const auto& r : rows) {
        TBitmapFile file(r.width, 1, r.bitsPerPixel);
        file.Palette() = r.palette;
        file.SetMasks(r.masks);
        std::ranges::copy(r.row, file.Row(0).begin());
        EXPECT_EQ(Pixels(file.To24Bit()), r.expected) << r.name;
    }
}

TEST(BitmapFile, ReadsWhatLegitimateWritersProduce) {
    const TColor red = MakeColour(255, 0, 0), green = MakeColour(0, 255, 0), blue = MakeColour(0, 0, 255);
    struct Row {
        const char* name;
        std::function<void(TFileParts&)> change;
        std::vector<TColor> expected;  // of the 2 x 1 picture
    } rows[] = {
        {"colour count 0 means the full palette",
         [&](TFileParts& p) {
             p.bitsPerPixel = 1;
             p.afterHeader = PaletteBytes({red, blue});
             p.pixels = {0x40, 0, 0, 0};
         },
         {red, blue}},
        {"colour count smaller than the full palette",
         [&](TFileParts& p) {
             p.bitsPerPixel = 8;
             p.coloursUsed = 2;
             p.afterHeader = PaletteBytes({red, blue});
             p.pixels = {1, 0, 0, 0};
         },
         {blue, red}},
        {"colour count above what the depth can index",
         [&](TFileParts& p) {
             p.bitsPerPixel = 1;
             p.coloursUsed = 1000;
             p.afterHeader = PaletteBytes({red, blue, green});
             p.pixels = {0x80, 0, 0, 0};
         },
         {blue, red}},
        {"palette cut short by the pixel offset",
         [&](TFileParts& p) {
             p.bitsPerPixel = 8;
             p.afterHeader = PaletteBytes({red});
             p.pixels = {0, 255, 0, 0};
         },
         {red, 0}},
        {"gap before the pixel data",
         [&](TFileParts& p) {
             p.pixelOffset = 14 + 40 + 100;
             p.pixels = {255, 0, 0, 0, 255, 0, 0, 0};
         },
         {blue, green}},
        {"last row without its padding",
         [&](TFileParts& p) { p.pixels = {255, 0, 0, 0, 255, 0}; },
         {blue, green}},
        {"bit masks after a basic header",
         [&](TFileParts& p) {
             p.bitsPerPixel = 16;
             p.compression = 3;
             p.afterHeader = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
             p.pixels = {0x00, 0xF8, 0x1F, 0x00};
         },
         {red, blue}},
        {"alpha bit masks after a basic header",
         [&](TFileParts& p) {
             p.bitsPerPixel = 32;
             p.compression = 6;
             p.afterHeader = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0xFF};
             p.pixels = {0, 0, 255, 0, 0, 255, 0, 0};
         },
         {red, green}},
        {"version 5 header with its masks inside",
         [&](TFileParts& p) {
             p.headerSize = 124;
             p.bitsPerPixel = 32;
             p.compression = 3;
             p.headerMasks = {0x0000FF00, 0x00FF0000, 0xFF000000};
             p.pixels = {0, 255, 0, 0, 0, 0, 0, 255};
         },
         {red, blue}},
        {"version 4 header before a palette",
         [&](TFileParts& p) {
             p.headerSize = 108;
             p.bitsPerPixel = 4;
             p.coloursUsed = 3;
             p.afterHeader = PaletteBytes({red, green, blue});
             p.pixels = {0x21, 0, 0, 0};
         },
         {blue, green}},
    };
    for (const auto& r : rows) {
        TFileParts parts;
        parts.height = 1;
        r.change(parts);
        try {
            EXPECT_EQ(Pixels(TBitmapFile::Decode(parts.Build()).To24Bit()), r.expected) << r.name;
        } catch (const EBitmapError& e) {
            ADD_FAILURE() << r.name << ": " << e.what();
        }
    }
}

TEST(BitmapFile, RefusesMalformedFiles) {
    const Bytes good = Small24(false).Build();
    struct Row {
        const char* name;
        std::function<Bytes()> make;
        const char* error;  // part of the message
    } rows[] = {
        {"empty input", [] { return Bytes{}; }, "Too short"},
        {"shorter than the file header", [&] { return Bytes(good.begin(), good.begin() + 10); }, "Too short"},
        {"wrong signature", [&] { Bytes b = good; b[1] = 'N'; return b; }, "signature"},
        {"header between the core and the basic one", [] { TFileParts p; p.headerSize = 16; return p.Build(); },
         "header of 16 bytes"},
        {"header past the end", [&] { return Bytes(good.begin(), good.begin() + 40); }, "Truncated bitmap header"},
        {"header size near 4 GB", [&] { Bytes b = good; b[17] = 0xFF; return b; }, "Truncated bitmap header"},
        {"zero width", [] { TFileParts p; p.width = 0; return p.Build(); }, "out of range"},
        {"negative width", [] { TFileParts p; p.width = -2; return p.Build(); }, "out of range"},
        {"zero height", [] { TFileParts p; p.height = 0; return p.Build(); }, "out of range"},
        {"width over 16384", [] { TFileParts p; p.width = 16385; return p.Build(); }, "out of range"},
        {"top-down height over 16384", [] { TFileParts p; p.height = -16385; return p.Build(); }, "out of range"},
        {"most negative height", [] { TFileParts p; p.height = INT32_MIN; return p.Build(); }, "out of range"},
        {"too many pixels in all",
         [] { TFileParts p; p.width = 16384; p.height = 16384; p.bitsPerPixel = 1; return p.Build(); },
         "out of range"},
        {"2 bits per pixel", [] { TFileParts p; p.bitsPerPixel = 2; return p.Build(); }, "2 bits per pixel"},
        {"0 bits per pixel", [] { TFileParts p; p.bitsPerPixel = 0; return p.Build(); }, "0 bits per pixel"},
        {"RLE8 with 4 bits", [] { TFileParts p; p.bitsPerPixel = 4; p.compression = 1; return p.Build(); },
         "RLE8 with 4 bits"},
        {"PNG inside", [] { TFileParts p; p.compression = 5; return p.Build(); }, "(PNG)"},
        {"bit masks with 24 bits", [] { TFileParts p; p.compression = 3; return p.Build(); }, "Bit masks"},
        {"bit masks cut off",
         [] {
             TFileParts p;
             p.bitsPerPixel = 32;
             p.compression = 3;
             Bytes b = p.Build();
             b.resize(14 + 40 + 8);
             return b;
         },
         "Truncated bit masks"},
        {"pixel offset inside the header", [] { TFileParts p; p.pixelOffset = 20; return p.Build(); },
         "inside the headers"},
        {"pixel offset past the end", [&] { Bytes b = good; b[12] = 0x10; return b; }, "past the end"},
        {"a pixel byte missing", [&] { return Bytes(good.begin(), good.end() - 3); }, "Truncated bitmap pixel"},
        {"huge picture promised by a tiny file",
         [] { TFileParts p; p.width = 8192; p.height = 4096; p.pixels = Bytes(64, 0); return p.Build(); },
         "Truncated bitmap pixel"},
    };
    for (const auto& r : rows) {
        const std::string error = DecodeError(r.make());
        EXPECT_NE(error.find(r.error), std::string::npos) << r.name << ": got \"" << error << "\"";
    }
}

// Palette entry i is MakeColour(i, 0, 0), so that a picture reads back as indices.
TEST(BitmapFile, RunLengthAndCoreHeaderPictures) {
    struct Row {
        const char* name;
        unsigned bitsPerPixel;  // 8: RLE8, 4: RLE4; with a core header: uncompressed
        int width, height;
        Bytes data;
        std::vector<unsigned> expected;  // indices, top row first
        const char* error = nullptr;     // part of the message when refused
        bool core = false;
        bool topDown = false;
    } rows[] = {
        {"runs and line ends", 8, 4, 2, {3, 5, 1, 6, 0, 0, 2, 7, 0, 0, 0, 1}, {7, 7, 0, 0, 5, 5, 5, 6}},
        {"odd literal padded to a word", 8, 4, 1, {0, 3, 1, 2, 3, 0, 1, 9, 0, 1}, {1, 2, 3, 9}},
        {"delta skips pixels", 8, 3, 2, {0, 2, 1, 1, 1, 4, 0, 1}, {0, 4, 0, 0, 0, 0}},
        {"no end mark", 8, 2, 2, {2, 1}, {0, 0, 1, 1}},
        {"RLE4 run alternates its two pixels", 4, 5, 1, {5, 0x12, 0, 1}, {1, 2, 1, 2, 1}},
        {"RLE4 literal of three bytes padded", 4, 6, 1, {0, 5, 0x12, 0x34, 0x50, 0, 1, 0x67}, {1, 2, 3, 4, 5, 6}},
        {"core header, 3-byte palette", 4, 3, 2, {0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0}, {4, 5, 6, 1, 2, 3}, nullptr,
         true},
        {"run overruns its row", 8, 4, 2, {5, 1}, {}, "overruns its row"},
        {"literal overruns its row", 8, 4, 2, {0, 5, 1, 2, 3, 4, 5, 0}, {}, "overruns its row"},
        {"run after the last row", 8, 2, 1, {0, 0, 1, 1}, {}, "past the last row"},
        {"line end after the last row", 8, 2, 1, {0, 0, 0, 0}, {}, "past the last row"},
        {"delta past the row end", 8, 4, 2, {0, 2, 5, 0}, {}, "delta"},
        {"delta past the top", 8, 4, 2, {0, 2, 0, 3}, {}, "delta"},
        {"literal cut short", 8, 4, 1, {0, 4, 1, 2}, {}, "Truncated RLE"},
        {"a lone byte at the end", 8, 4, 1, {4, 1, 0}, {}, "Truncated RLE"},
        {"no data at all", 8, 4, 1, {}, {}, "Truncated RLE"},
        {"huge picture of nothing", 8, 16384, 2048, {}, {}, "Truncated RLE"},
        {"top-down", 8, 2, 1, {2, 1, 0, 1}, {}, "top-down", false, true},
    };
    for (const auto& r : rows) {
        Bytes palette;
        for (unsigned i = 0; i < (1u << r.bitsPerPixel); ++i) {
            const Bytes entry = PaletteBytes({MakeColour(static_cast<int>(i), 0, 0)});
            palette.insert(palette.end(), entry.begin(), entry.end() - (r.core ? 1 : 0));
        }
        Bytes file;
        if (r.core) {
            file = {'B', 'M'};
            AppendLE32(file, 0);
            AppendLE32(file, 0);
            AppendLE32(file, static_cast<std::uint32_t>(14 + 12 + palette.size()));
            AppendLE32(file, 12);
            for (unsigned v : {unsigned(r.width), unsigned(r.height), 1u, r.bitsPerPixel}) Append16(file, v);
            file.insert(file.end(), palette.begin(), palette.end());
            file.insert(file.end(), r.data.begin(), r.data.end());
        } else {
            TFileParts parts;
            parts.width = r.width;
            parts.height = r.topDown ? -r.height : r.height;
            parts.bitsPerPixel = r.bitsPerPixel;
            parts.compression = r.bitsPerPixel == 8 ? 1 : 2;
            parts.afterHeader = palette;
            parts.pixels = r.data;
            file = parts.Build();
        }
        if (r.error) {
            const std::string error = DecodeError(file);
            EXPECT_NE(error.find(r.error), std::string::npos) << r.name << ": got \"" << error << "\"";
            continue;
        }
        std::vector<TColor> expected;
        for (unsigned i : r.expected) expected.push_back(MakeColour(static_cast<int>(i), 0, 0));
        try {
            EXPECT_EQ(Pixels(TBitmapFile::Decode(file).To24Bit()), expected) << r.name;
        } catch (const EBitmapError& e) {
            ADD_FAILURE() << r.name << ": " << e.what();
        }
    }
}
