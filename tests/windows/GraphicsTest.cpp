// Bitmaps, icons and image lists on real GDI objects: files of every depth,
// pixel format conversions, drawing (plain, stretched, transparent),
// ownership of every handle, and no GDI object left behind.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Bitmap.h"
#include "classlib/Icon.h"
#include "classlib/ImageList.h"
#include "classlib/LayoutReader.h"
#include "core/BitmapFile.h"
#include "core/ByteOrder.h"
#include "core/Stream.h"
#include "core/SystemColours.h"
#include "skin/data/BitmapEffects.h"
#include "TestSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr TColor kBackground = 0x55AA00;  // in none of the pictures
constexpr TBitMasks kMasks565{0xF800, 0x07E0, 0x001F};

// Colours every pixel format holds exactly (channels 0 or 255).
constexpr TColor kPure[] = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF, 0x00FFFF, 0xFFFF00};

int ColourCount(int bitsPerPixel) { return bitsPerPixel == 1 ? 2 : 8; }

// The test picture: 5 x 3 (odd rows need padding), colours in a diagonal pattern.
constexpr int kWidth = 5, kHeight = 3;
int PatternIndex(int x, int y, int bitsPerPixel) { return (x + 3 * y) % ColourCount(bitsPerPixel); }
TColor PatternColour(int x, int y, int bitsPerPixel) { return kPure[PatternIndex(x, y, bitsPerPixel)]; }

// A channel (0..255) in the bits of its mask.
std::uint32_t Pack(unsigned value, std::uint32_t mask) {
    const int shift = std::countr_zero(mask);
    const std::uint32_t max = mask >> shift;
    return (value * max + 127) / 255 << shift;
}

TBitmapFile PatternFile(int bitsPerPixel, const TBitMasks& masks = {}) {
    TBitmapFile file(kWidth, kHeight, bitsPerPixel);
    if (bitsPerPixel <= 8) {
        file.Palette().assign(kPure, kPure + ColourCount(bitsPerPixel));
        file.Palette().resize(std::size_t(1) << bitsPerPixel, 0);
    }
    if (bitsPerPixel == 16 || bitsPerPixel == 32)
        file.SetMasks(masks == TBitMasks{} ? DefaultBitMasks(bitsPerPixel) : masks);
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* row = file.Row(y).data();
        for (int x = 0; x < kWidth; ++x) {
            const int i = PatternIndex(x, y, bitsPerPixel);
            const TColor c = kPure[i];
            const unsigned r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
            switch (bitsPerPixel) {
                case 1: row[x / 8] |= static_cast<std::uint8_t>(i << (7 - x % 8)); break;
                case 4: row[x / 2] |= static_cast<std::uint8_t>(i << (x % 2 ? 0 : 4)); break;
                case 8: row[x] = static_cast<std::uint8_t>(i); break;
                case 16: {
                    const std::uint32_t v =
                        Pack(r, file.Masks().Red) | Pack(g, file.Masks().Green) | Pack(b, file.Masks().Blue);
                    row[2 * x] = static_cast<std::uint8_t>(v);
                    row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                    break;
                }
                case 24:
                    row[3 * x] = static_cast<std::uint8_t>(b);
                    row[3 * x + 1] = static_cast<std::uint8_t>(g);
                    row[3 * x + 2] = static_cast<std::uint8_t>(r);
                    break;
                default:
                    if (file.Masks() != DefaultBitMasks(32)) {
                        const std::uint32_t v =
                            Pack(r, file.Masks().Red) | Pack(g, file.Masks().Green) | Pack(b, file.Masks().Blue);
                        std::memcpy(row + 4 * x, &v, 4);
                        break;
                    }
                    row[4 * x] = static_cast<std::uint8_t>(b);
                    row[4 * x + 1] = static_cast<std::uint8_t>(g);
                    row[4 * x + 2] = static_cast<std::uint8_t>(r);
                    row[4 * x + 3] = 0x7F;  // kept as it is
            }
        }
    }
    return file;
}

void Load(TGraphic& graphic, const Bytes& bytes) {
    TMemoryStream stream;
    stream.Assign(bytes);
    graphic.LoadFromStream(stream);
}

Bytes Save(const TGraphic& graphic) {
    TMemoryStream stream;
    graphic.SaveToStream(stream);
    return stream.Release();
}

// The picture as the portable decoder reads what the bitmap saves.
TPixelImage Picture(const TBitmap& bitmap) { return TBitmapFile::Decode(Save(bitmap)).To24Bit(); }

void Blank(TBitmap& bitmap, int width, int height, TColor colour) {
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(width, height);
    bitmap.Canvas()->Brush()->SetColor(colour);
    bitmap.Canvas()->FillRect({0, 0, width, height});
}

// ---------------------------------------------------------------------------
// Bitmap files

struct TDepthRow {
    const char* name;
    int bits;
    TBitMasks masks;
    TPixelFormat format;
};

const TDepthRow kDepths[] = {
    {"1-bit", 1, {}, TPixelFormat::pf1bit},
    {"4-bit", 4, {}, TPixelFormat::pf4bit},
    {"8-bit with its palette", 8, {}, TPixelFormat::pf8bit},
    {"16-bit 5-5-5", 16, {}, TPixelFormat::pf15bit},
    {"16-bit 5-6-5", 16, kMasks565, TPixelFormat::pf16bit},
    {"24-bit", 24, {}, TPixelFormat::pf24bit},
    {"32-bit, fourth byte kept", 32, {}, TPixelFormat::pf32bit},
};

TEST(BitmapFiles, LoadKeepsDepthRowsAndColoursAndSavesTheSameFile) {
    for (const TDepthRow& row : kDepths) {
        SCOPED_TRACE(row.name);
        const TBitmapFile file = PatternFile(row.bits, row.masks);
        const Bytes bytes = file.Encode();
        TBitmap bitmap;
        Load(bitmap, bytes);
        EXPECT_EQ(kWidth, bitmap.Width());
        EXPECT_EQ(kHeight, bitmap.Height());
        EXPECT_EQ(row.format, bitmap.PixelFormat());
        EXPECT_EQ(row.bits, bitmap.BitsPerPixel());
        for (int y = 0; y < kHeight; ++y) {
            const auto line = bitmap.ScanLine(y);
            ASSERT_EQ(file.Stride(), line.size());
            EXPECT_TRUE(std::equal(line.begin(), line.end(), file.Row(y).begin())) << "row " << y;
        }
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                EXPECT_EQ(PatternColour(x, y, row.bits), bitmap.Canvas()->Pixel(x, y)) << x << "," << y;
        EXPECT_EQ(bytes, Save(bitmap));
    }
}

TEST(BitmapFiles, OtherBitMasksAreReadThroughTwentyFourBits) {
    const struct {
        const char* name;
        int bits;
        TBitMasks masks;
        TPixelFormat format;
    } rows[] = {
        {"16-bit 4-4-4 becomes 24-bit", 16, {0x0F00, 0x00F0, 0x000F}, TPixelFormat::pf24bit},
        {"32-bit red first stays 32-bit", 32, {0xFF000000, 0x00FF0000, 0x0000FF00}, TPixelFormat::pf32bit},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Bytes file = PatternFile(row.bits, row.masks).Encode();
        TMemoryStream stream;
        stream.WriteBuffer(file.data(), file.size());
        stream.WriteBuffer("tail", 4);
        stream.Rewind();
        TBitmap bitmap;
        bitmap.LoadFromStream(stream);
        EXPECT_EQ(file.size(), stream.Position());
        EXPECT_EQ(row.format, bitmap.PixelFormat());
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                EXPECT_EQ(PatternColour(x, y, 24), bitmap.Canvas()->Pixel(x, y)) << x << "," << y;
    }
}

TEST(BitmapFiles, PaletteOfAnIndexedFileIsKeptAndCanBeChanged) {
    TBitmapFile file = PatternFile(8);
    file.Palette()[200] = 0x123456;
    TBitmap bitmap;
    Load(bitmap, file.Encode());
    ASSERT_EQ(256u, bitmap.Palette().size());
    EXPECT_EQ(0x123456, bitmap.Palette()[200]);
    EXPECT_EQ(kPure[5], bitmap.Palette()[5]);
    // New entries recolour the pixels that use them.
    bitmap.SetPalette(std::vector<TColor>{0x654321, 0x0000FF});
    EXPECT_EQ(0x654321, bitmap.Canvas()->Pixel(0, 0));
    EXPECT_EQ(0x0000FF, bitmap.Canvas()->Pixel(1, 0));
    EXPECT_EQ(kPure[2], bitmap.Canvas()->Pixel(2, 0));
    TBitmap wide;
    Load(wide, PatternFile(24).Encode());
    wide.SetPalette(std::vector<TColor>{0x654321});
    EXPECT_TRUE(wide.Palette().empty());
}

TEST(BitmapFiles, StreamIsLeftRightAfterEachFile) {
    // A stream may hold more than one file; one that leaves its size field
    // out still ends after its last row.
    Bytes first = PatternFile(24).Encode();
    std::fill(first.begin() + 2, first.begin() + 6, 0);
    const Bytes second = PatternFile(8).Encode();
    TMemoryStream stream;
    stream.WriteBuffer(first.data(), first.size());
    stream.WriteBuffer(second.data(), second.size());
    stream.Rewind();

    TBitmap a, b;
    a.LoadFromStream(stream);
    EXPECT_EQ(first.size(), stream.Position());
    b.LoadFromStream(stream);
    EXPECT_EQ(first.size() + second.size(), stream.Position());
    EXPECT_EQ(TPixelFormat::pf24bit, a.PixelFormat());
    EXPECT_EQ(TPixelFormat::pf8bit, b.PixelFormat());

    // Nothing left: the bitmap becomes empty.
    b.LoadFromStream(stream);
    EXPECT_TRUE(b.Empty());
}

TEST(BitmapFiles, DamagedFilesRaiseAndChangeNothing) {
    const Bytes good = PatternFile(24).Encode();
    Bytes truncated = good;
    truncated.resize(good.size() - 8);
    Bytes compressed = good;
    compressed[30] = 1;  // RLE8
    Bytes nonsense{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!', '!', '!', '!', '!', '!'};
    const struct {
        const char* name;
        Bytes bytes;
    } rows[] = {{"not a bitmap", nonsense}, {"rows cut short", truncated}, {"compressed", compressed}};

    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TBitmap bitmap;
        Load(bitmap, PatternFile(8).Encode());
        TMemoryStream stream;
        stream.Assign(row.bytes);
        EXPECT_THROW(bitmap.LoadFromStream(stream), EInvalidGraphic);
        EXPECT_EQ(0u, stream.Position());
        EXPECT_EQ(TPixelFormat::pf8bit, bitmap.PixelFormat());
        EXPECT_EQ(kPure[1], bitmap.Canvas()->Pixel(1, 0));
    }
}

TEST(BitmapFiles, ResourcesReadLikeTheSystemReadsThem) {
    // A 4-bit bitmap of user32 and a 32-bit one with a version 4 header and
    // bit masks of comctl32, each compared with what LoadImage makes of it.
    const struct {
        const wchar_t* module;
        int id;
    } rows[] = {{L"user32.dll", 32754}, {L"comctl32.dll", 120}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        HMODULE module = LoadLibraryW(row.module);
        ASSERT_NE(nullptr, module);
        TBitmap ours, systems;
        ours.LoadFromResourceID(module, row.id);
        systems.SetHandle(static_cast<HBITMAP>(
            LoadImageW(module, MAKEINTRESOURCEW(row.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        EXPECT_FALSE(ours.Empty());
        EXPECT_EQ(systems.Width(), ours.Width());
        EXPECT_EQ(systems.Height(), ours.Height());
        EXPECT_EQ(systems.BitsPerPixel(), ours.BitsPerPixel());
        EXPECT_TRUE(Picture(systems) == Picture(ours));
        FreeLibrary(module);
    }
    TBitmap bitmap;
    EXPECT_THROW(bitmap.LoadFromResourceName(GetModuleHandleW(nullptr), L"NO_SUCH_BITMAP"), EInvalidGraphic);
}

// ---------------------------------------------------------------------------
// Pixel formats, rows and sizes

const TPixelFormat kFormats[] = {TPixelFormat::pf4bit,  TPixelFormat::pf8bit,  TPixelFormat::pf15bit,
                                 TPixelFormat::pf16bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit,
                                 TPixelFormat::pfDevice};

TEST(BitmapFormats, EveryConversionKeepsThePixels) {
    const TPixelImage expected = PatternFile(24).To24Bit();
    for (const TPixelFormat from : kFormats)
        for (const TPixelFormat to : kFormats) {
            SCOPED_TRACE(std::to_string(static_cast<int>(from)) + " to " + std::to_string(static_cast<int>(to)));
            TBitmap bitmap;
            Load(bitmap, PatternFile(24).Encode());
            bitmap.SetPixelFormat(from);
            bitmap.SetPixelFormat(to);
            EXPECT_EQ(to, bitmap.PixelFormat());
            EXPECT_EQ(kWidth, bitmap.Width());
            EXPECT_TRUE(Picture(bitmap) == expected);
        }
}

TEST(BitmapFormats, TwoColoursFitOneBitExactly) {
    TBitmap bitmap;
    Blank(bitmap, 4, 2, 0x0000FF);
    bitmap.Canvas()->SetPixel(1, 1, 0xFF0000);
    bitmap.SetPixelFormat(TPixelFormat::pf1bit);
    EXPECT_EQ(1, bitmap.BitsPerPixel());
    EXPECT_EQ(0x0000FF, bitmap.Canvas()->Pixel(0, 0));
    EXPECT_EQ(0xFF0000, bitmap.Canvas()->Pixel(1, 1));
}

TEST(BitmapFormats, TooManyColoursForEightBitsGoToTheNearestStandardColour) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) bitmap.Pixels().SetPixel(x, y, MakeColour(x * 8, y * 8, 100));
    bitmap.Pixels().SetPixel(0, 0, 0xFFFFFF);
    bitmap.SetPixelFormat(TPixelFormat::pf8bit);
    const TPixelImage picture = Picture(bitmap);
    EXPECT_EQ(0xFFFFFF, picture.View().Pixel(0, 0));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (x == 0 && y == 0) continue;
            const TColor c = picture.View().Pixel(x, y);
            const int dr = RedOf(c) - x * 8, dg = GreenOf(c) - y * 8, db = BlueOf(c) - 100;
            ASSERT_LE(dr * dr + dg * dg + db * db, 45 * 45) << x << "," << y;
        }
}

TEST(BitmapRows, ScanLineAndPixelViewReachTheSamePixelsAsTheCanvas) {
    TBitmap bitmap;
    Load(bitmap, PatternFile(24).Encode());
    // Drawn by GDI, read from the rows.
    bitmap.Canvas()->SetPixel(4, 2, 0x123456);
    EXPECT_EQ(0x123456, bitmap.Pixels().Pixel(4, 2));
    EXPECT_EQ(0x12, bitmap.ScanLine(2)[3 * 4]);  // blue first
    // Written to the rows, seen by GDI.
    MirrorHorizontal(bitmap.Pixels());
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const TColor expected = x == 0 && y == 2 ? 0x123456 : PatternColour(kWidth - 1 - x, y, 24);
            EXPECT_EQ(expected, bitmap.Canvas()->Pixel(x, y)) << x << "," << y;
        }
}

TEST(BitmapRows, OutOfRangeAndWrongFormatRaise) {
    TBitmap bitmap;
    Load(bitmap, PatternFile(8).Encode());
    EXPECT_THROW(bitmap.ScanLine(-1), EInvalidGraphicOperation);
    EXPECT_THROW(bitmap.ScanLine(kHeight), EInvalidGraphicOperation);
    EXPECT_NO_THROW(bitmap.ScanLine(kHeight - 1));
    EXPECT_THROW(bitmap.Pixels(), EInvalidGraphicOperation);
    TBitmap empty;
    EXPECT_THROW(empty.ScanLine(0), EInvalidGraphicOperation);
    EXPECT_TRUE(empty.Pixels().Empty());
}

TEST(BitmapSize, ResizingKeepsTheTopLeftPart) {
    for (const TPixelFormat format : {TPixelFormat::pf4bit, TPixelFormat::pf24bit}) {
        SCOPED_TRACE(static_cast<int>(format));
        TBitmap bitmap;
        Load(bitmap, PatternFile(24).Encode());
        bitmap.SetPixelFormat(format);
        bitmap.SetSize(3, 5);
        EXPECT_EQ(format, bitmap.PixelFormat());
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(y < kHeight ? PatternColour(x, y, 24) : 0, bitmap.Canvas()->Pixel(x, y)) << x << "," << y;
    }
}

TEST(BitmapSize, EdgeCases) {
    TBitmap bitmap;
    bitmap.SetSize(-4, 3);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(0, bitmap.Width());
    EXPECT_EQ(nullptr, bitmap.Handle());
    EXPECT_THROW(bitmap.SetSize(TBitmap::kMaxSide + 1, 1), EInvalidGraphicOperation);
    EXPECT_THROW(bitmap.SetSize(8192, 8192), EInvalidGraphicOperation);
    EXPECT_TRUE(bitmap.Empty());
    // Drawing on the canvas of an empty bitmap does nothing, and harms nothing.
    bitmap.Canvas()->FillRect({0, 0, 5, 5});
    bitmap.SetSize(2, 2);
    EXPECT_NE(nullptr, bitmap.Handle());
    EXPECT_EQ(0, bitmap.Canvas()->Pixel(1, 1));
}

// ---------------------------------------------------------------------------
// Drawing

TEST(BitmapDraw, CopiesAtTheRectangleAndStretches) {
    TBitmap source;
    Load(source, PatternFile(24).Encode());
    TBitmap target;
    Blank(target, 20, 20, kBackground);
    target.Canvas()->Draw(2, 3, source);
    target.Canvas()->StretchDraw({10, 10, 10 + 2 * kWidth, 10 + 2 * kHeight}, source);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            EXPECT_EQ(PatternColour(x, y, 24), target.Canvas()->Pixel(2 + x, 3 + y));
            for (int d = 0; d < 4; ++d)
                EXPECT_EQ(PatternColour(x, y, 24), target.Canvas()->Pixel(10 + 2 * x + d % 2, 10 + 2 * y + d / 2));
        }
    EXPECT_EQ(kBackground, target.Canvas()->Pixel(1, 3));
    EXPECT_EQ(kBackground, target.Canvas()->Pixel(2 + kWidth, 3));
}

TEST(BitmapDraw, TransparentColourLeavesTheCanvasUnchanged) {
    const struct {
        const char* name;
        TPixelFormat format;
        int scale;
        bool autoColour;  // bottom-left pixel as key instead of a fixed magenta
    } rows[] = {
        {"8-bit", TPixelFormat::pf8bit, 1, false},
        {"15-bit", TPixelFormat::pf15bit, 1, false},
        {"24-bit", TPixelFormat::pf24bit, 1, false},
        {"32-bit", TPixelFormat::pf32bit, 1, false},
        {"24-bit stretched", TPixelFormat::pf24bit, 3, false},
        {"24-bit, bottom-left pixel as key", TPixelFormat::pf24bit, 1, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TBitmap source;
        Load(source, PatternFile(24).Encode());
        source.SetPixelFormat(row.format);
        source.SetTransparent(true);
        if (!row.autoColour) source.SetTransparentColor(clFuchsia);
        const TColor key = row.autoColour ? PatternColour(0, kHeight - 1, 24) : clFuchsia;
        EXPECT_EQ(key, source.TransparentColor());

        TBitmap target;
        Blank(target, 20, 20, kBackground);
        target.Canvas()->StretchDraw({1, 1, 1 + row.scale * kWidth, 1 + row.scale * kHeight}, source);
        for (int y = 0; y < row.scale * kHeight; ++y)
            for (int x = 0; x < row.scale * kWidth; ++x) {
                const TColor c = PatternColour(x / row.scale, y / row.scale, 24);
                EXPECT_EQ(c == key ? kBackground : c, target.Canvas()->Pixel(1 + x, 1 + y)) << x << "," << y;
            }
    }
}

TEST(BitmapDraw, TransparentModeFollowsTheColour) {
    TBitmap bitmap;
    Load(bitmap, PatternFile(24).Encode());
    EXPECT_EQ(TTransparentMode::tmAuto, bitmap.TransparentMode());
    bitmap.SetTransparentColor(clFuchsia);
    EXPECT_EQ(TTransparentMode::tmFixed, bitmap.TransparentMode());
    bitmap.SetTransparentColor(clDefault);
    EXPECT_EQ(TTransparentMode::tmAuto, bitmap.TransparentMode());
    // Fixing the mode keeps the colour it had.
    bitmap.SetTransparentMode(TTransparentMode::tmFixed);
    Load(bitmap, PatternFile(8).Encode());
    bitmap.Canvas()->SetPixel(0, kHeight - 1, 0xFFFFFF);
    EXPECT_EQ(PatternColour(0, kHeight - 1, 24), bitmap.TransparentColor());
    TBitmap empty;
    EXPECT_EQ(clDefault, empty.TransparentColor());
}

// ---------------------------------------------------------------------------
// Handles, assignment, published properties

TEST(BitmapHandles, HandleComesFreeOfTheCanvasAndTheCanvasStillDraws) {
    TBitmap bitmap;
    Blank(bitmap, 4, 4, 0x0000FF);
    HBITMAP handle = bitmap.Handle();
    UniqueDC other(CreateCompatibleDC(nullptr));
    HGDIOBJ old = SelectObject(other.get(), handle);
    ASSERT_NE(nullptr, old) << "the bitmap is still selected into the canvas's DC";
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(other.get(), 3, 3));
    SelectObject(other.get(), old);
    bitmap.Canvas()->SetPixel(2, 2, 0x00FF00);
    EXPECT_EQ(0x00FF00, bitmap.Canvas()->Pixel(2, 2));
}

TEST(BitmapHandles, SetHandleTakesOverAnyBitmap) {
    WindowDC screen(nullptr);
    {
        // A device-dependent bitmap: its pixels come along, at the screen's depth.
        HBITMAP ddb = CreateCompatibleBitmap(screen.get(), 3, 2);
        UniqueDC dc(CreateCompatibleDC(nullptr));
        HGDIOBJ old = SelectObject(dc.get(), ddb);
        SetPixel(dc.get(), 2, 1, RGB(0, 0, 255));
        SelectObject(dc.get(), old);
        TBitmap bitmap;
        bitmap.SetHandle(ddb);
        EXPECT_EQ(0, GetObjectType(ddb)) << "the bitmap given is deleted";
        EXPECT_EQ(TPixelFormat::pfDevice, bitmap.PixelFormat());
        EXPECT_EQ(3, bitmap.Width());
        EXPECT_EQ(2, bitmap.Height());
        EXPECT_EQ(0xFF0000, bitmap.Canvas()->Pixel(2, 1));
    }
    {
        // An 8-bit DIB section: depth and colour table come along.
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colours[256];
        } info{};
        info.header = {sizeof(BITMAPINFOHEADER), 4, 4, 1, 8, BI_RGB, 0, 0, 0, 3, 0};
        info.colours[2] = {0x10, 0x20, 0x30, 0};
        void* bits = nullptr;
        HBITMAP dib =
            CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(nullptr, dib);
        static_cast<std::uint8_t*>(bits)[0] = 2;  // bottom-left
        TBitmap bitmap;
        bitmap.SetHandle(dib);
        EXPECT_EQ(0, GetObjectType(dib));
        EXPECT_EQ(TPixelFormat::pf8bit, bitmap.PixelFormat());
        EXPECT_EQ(MakeColour(0x30, 0x20, 0x10), bitmap.Palette()[2]);
        EXPECT_EQ(MakeColour(0x30, 0x20, 0x10), bitmap.Canvas()->Pixel(0, 3));
        // Its own handle back: nothing changes, nothing is deleted.
        HBITMAP own = bitmap.Handle();
        bitmap.SetHandle(own);
        EXPECT_EQ(own, bitmap.Handle());
        EXPECT_EQ(MakeColour(0x30, 0x20, 0x10), bitmap.Canvas()->Pixel(0, 3));
    }
}

TEST(BitmapAssign, CopiesPictureFormatPaletteAndTransparency) {
    TBitmap source;
    Load(source, PatternFile(8).Encode());
    source.SetTransparent(true);
    source.SetTransparentColor(clFuchsia);
    TBitmap copy;
    copy.Assign(source);
    EXPECT_EQ(kWidth, copy.Width());
    EXPECT_EQ(kHeight, copy.Height());
    EXPECT_EQ(TPixelFormat::pf8bit, copy.PixelFormat());
    EXPECT_EQ(source.Palette(), copy.Palette());
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(TTransparentMode::tmFixed, copy.TransparentMode());
    EXPECT_EQ(clFuchsia, copy.TransparentColor());
    EXPECT_EQ(Save(source), Save(copy));
    EXPECT_NE(source.Handle(), copy.Handle());

    // The copy is its own picture.
    copy.Canvas()->SetPixel(0, 0, 0xFFFFFF);
    EXPECT_EQ(kPure[0], source.Canvas()->Pixel(0, 0));
    copy.Assign(copy);
    EXPECT_EQ(0xFFFFFF, copy.Canvas()->Pixel(0, 0));
    TBitmap empty;
    copy.Assign(empty);
    EXPECT_TRUE(copy.Empty());
    TIcon icon;
    EXPECT_THROW(copy.Assign(icon), EConvertError);
}

TEST(BitmapProperties, PublishedByName) {
    TBitmap bitmap;
    EXPECT_EQ(L"TBitmap", bitmap.ClassName());
    EXPECT_TRUE(bitmap.InheritsFrom(L"TGraphic"));
    EXPECT_TRUE(bitmap.Canvas()->InheritsFrom(L"TCanvas"));
    EXPECT_EQ(L"TBitmapCanvas", bitmap.Canvas()->ClassName());

    bitmap.SetProperty(L"PixelFormat", L"pf24bit");
    bitmap.SetProperty(L"Width", 7);
    bitmap.SetProperty(L"Height", 2);
    bitmap.SetProperty(L"TransparentColor", L"clFuchsia");
    bitmap.SetProperty(L"Transparent", true);
    EXPECT_EQ(TPixelFormat::pf24bit, bitmap.PixelFormat());
    EXPECT_EQ(7, bitmap.GetProperty(L"Width").AsInteger());
    EXPECT_EQ(2, bitmap.Height());
    EXPECT_EQ(L"tmFixed", bitmap.GetProperty(L"TransparentMode").AsText());
    EXPECT_EQ(clFuchsia, bitmap.GetProperty(L"TransparentColor").AsInteger());
    EXPECT_TRUE(bitmap.Transparent());

    // Data is the file: read, and written into another bitmap.
    const Bytes file = PatternFile(8).Encode();
    Load(bitmap, file);
    EXPECT_EQ(file, bitmap.GetProperty(L"Data").AsBytes());
    TBitmap other;
    other.SetProperty(L"Data", TValue(file));
    EXPECT_EQ(L"pf8bit", other.GetProperty(L"PixelFormat").AsText());
    EXPECT_EQ(file, Save(other));
    other.SetProperty(L"Data", TValue(Bytes{}));
    EXPECT_TRUE(other.Empty());
    EXPECT_TRUE(other.GetProperty(L"Data").AsBytes().empty());
}

// ---------------------------------------------------------------------------
// Icons

void AppendLE16(Bytes& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// One 32-bit icon image of one colour; the top-left pixel is transparent.
Bytes IconImage(int size, TColor colour) {
    Bytes out;
    AppendLE32(out, 40);
    AppendLE32(out, static_cast<std::uint32_t>(size));
    AppendLE32(out, static_cast<std::uint32_t>(2 * size));
    AppendLE16(out, 1);
    AppendLE16(out, 32);
    for (int i = 0; i < 6; ++i) AppendLE32(out, 0);
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) {
            const bool clear = x == 0 && y == 0;
            out.push_back(clear ? 0 : static_cast<std::uint8_t>(BlueOf(colour)));
            out.push_back(clear ? 0 : static_cast<std::uint8_t>(GreenOf(colour)));
            out.push_back(clear ? 0 : static_cast<std::uint8_t>(RedOf(colour)));
            out.push_back(clear ? 0 : 0xFF);
        }
    const std::size_t maskStride = DibStride(size, 1);
    for (int y = size - 1; y >= 0; --y)
        for (std::size_t i = 0; i < maskStride; ++i) out.push_back(y == 0 && i == 0 ? 0x80 : 0);
    return out;
}

struct TIconImageSpec {
    int size;
    TColor colour;
};

// The main window's kind of icon: five 32-bit images, largest first.
const TIconImageSpec kMainIcon[] = {{128, 0x0000C0}, {96, 0x00C000}, {64, 0xC00000}, {48, 0xC0C000}, {32, 0x00C0C0}};

Bytes IconFile(std::span<const TIconImageSpec> specs) {
    Bytes out;
    AppendLE16(out, 0);
    AppendLE16(out, 1);
    AppendLE16(out, static_cast<unsigned>(specs.size()));
    Bytes images;
    for (const auto& spec : specs) {
        const Bytes image = IconImage(spec.size, spec.colour);
        out.push_back(static_cast<std::uint8_t>(spec.size % 256));
        out.push_back(static_cast<std::uint8_t>(spec.size % 256));
        out.push_back(0);
        out.push_back(0);
        AppendLE16(out, 1);
        AppendLE16(out, 32);
        AppendLE32(out, static_cast<std::uint32_t>(image.size()));
        AppendLE32(out, static_cast<std::uint32_t>(6 + 16 * specs.size() + images.size()));
        images.insert(images.end(), image.begin(), image.end());
    }
    out.insert(out.end(), images.begin(), images.end());
    return out;
}

SIZE HandleSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return {0, 0};
    UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    GetObjectW(mask.get(), sizeof bm, &bm);
    return {bm.bmWidth, colour ? bm.bmHeight : bm.bmHeight / 2};
}

// The icon drawn at its own size on kBackground: the centre pixel's colour.
TColor CentreColour(HICON icon) {
    const SIZE s = HandleSize(icon);
    TBitmap target;
    Blank(target, s.cx, s.cy, kBackground);
    DrawIconEx(target.Canvas()->Handle(), 0, 0, icon, s.cx, s.cy, 0, nullptr, DI_NORMAL);
    return target.Canvas()->Pixel(s.cx / 2, s.cy / 2);
}

TEST(Icons, LoadsEveryImageAndHandsOutTheSystemSize) {
    TIcon icon;
    Load(icon, IconFile(kMainIcon));
    ASSERT_EQ(5u, icon.Images().size());
    EXPECT_EQ(96, icon.Images()[1].Width);
    EXPECT_EQ(32, icon.Images()[4].BitsPerPixel);
    // The system's large size (32 at 96 dots per inch) picks the image.
    const int large = GetSystemMetrics(SM_CXICON);
    const auto best = static_cast<std::size_t>(TIcon::BestImage(icon.Images(), large, large));
    EXPECT_EQ(kMainIcon[best].size, icon.Width());
    EXPECT_EQ(kMainIcon[best].size, icon.Height());
    HICON handle = icon.Handle();
    ASSERT_NE(nullptr, handle);
    EXPECT_EQ(handle, icon.Handle()) << "kept, not made again";
    EXPECT_EQ(kMainIcon[best].size, HandleSize(handle).cx);
    EXPECT_EQ(kMainIcon[best].colour, CentreColour(handle));

    icon.SetSize(64, 64);
    EXPECT_EQ(64, icon.Width());
    EXPECT_EQ(64, HandleSize(icon.Handle()).cx);
    EXPECT_EQ(0xC00000, CentreColour(icon.Handle()));
}

TEST(Icons, HandleForSizeUsesTheBestImage) {
    const struct {
        const char* name;
        int size;
        TColor colour;
    } rows[] = {
        {"an exact size", 48, 0xC0C000},
        {"between two, the nearer", 36, 0x00C0C0},
        {"halfway between two, the larger", 40, 0xC0C000},
        {"smaller than all, the smallest", 16, 0x00C0C0},
        {"larger than all, the largest", 256, 0x0000C0},
    };
    TIcon icon;
    Load(icon, IconFile(kMainIcon));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        UniqueIcon handle = icon.CreateHandle(row.size, row.size);
        ASSERT_TRUE(handle);
        EXPECT_EQ(row.size, HandleSize(handle.get()).cx);
        EXPECT_EQ(row.colour, CentreColour(handle.get()));
    }
    EXPECT_FALSE(icon.CreateHandle(0, 16));

    // Kept by the icon for windows to use, one per size, until it changes.
    HICON small = icon.HandleForSize(16, 16);
    ASSERT_NE(nullptr, small);
    EXPECT_EQ(small, icon.HandleForSize(16, 16));
    EXPECT_EQ(16, HandleSize(small).cx);
    EXPECT_NE(small, icon.HandleForSize(20, 20));
    EXPECT_EQ(nullptr, icon.HandleForSize(-1, 16));
    Load(icon, IconFile(kMainIcon));
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(small, &info)) << "destroyed when the picture changed";
}

TEST(Icons, BestImagePrefersNearestSizeThenLargerThenMoreColours) {
    const std::vector<TIcon::TImageInfo> images = {
        {32, 32, 8, 0, 0}, {32, 32, 32, 0, 0}, {16, 16, 32, 0, 0}, {48, 48, 4, 0, 0}};
    const struct {
        const char* name;
        int cx, cy, expected;
    } rows[] = {
        {"same size, more colours", 32, 32, 1},
        {"exact small", 16, 16, 2},
        {"tie between 16 and 32 goes to 32", 24, 24, 1},
        {"tie between 32 and 48 goes to 48", 40, 40, 3},
        {"a wide request, by the sum of both distances", 40, 20, 1},
    };
    for (const auto& row : rows) EXPECT_EQ(row.expected, TIcon::BestImage(images, row.cx, row.cy)) << row.name;
    EXPECT_EQ(-1, TIcon::BestImage({}, 32, 32));
}

TEST(Icons, SavesWhatItReadAndLeavesTheStreamAfterIt) {
    const Bytes file = IconFile(kMainIcon);
    TMemoryStream stream;
    stream.WriteBuffer(file.data(), file.size());
    stream.WriteBuffer("tail", 4);
    stream.Rewind();
    TIcon icon;
    icon.LoadFromStream(stream);
    EXPECT_EQ(file.size(), stream.Position());
    EXPECT_EQ(file, Save(icon));
    EXPECT_EQ(file, icon.GetProperty(L"Data").AsBytes());

    TIcon fromData;
    fromData.SetProperty(L"Data", TValue(file));
    EXPECT_EQ(5u, fromData.Images().size());
    EXPECT_EQ(32, fromData.GetProperty(L"Width").AsInteger());
    fromData.SetProperty(L"Data", TValue(Bytes{}));
    EXPECT_TRUE(fromData.Empty());
    EXPECT_EQ(L"TIcon", fromData.ClassName());
}

TEST(Icons, DamagedFilesRaiseAndChangeNothing) {
    const Bytes good = IconFile(kMainIcon);
    auto patched = [&](std::size_t at, std::uint8_t value) {
        Bytes b = good;
        b[at] = value;
        return b;
    };
    Bytes cut = good;
    cut.resize(good.size() - 100);
    Bytes shortImage = good;
    AppendLE32(shortImage, 0);
    shortImage[6 + 8] = 39;  // first image: fewer bytes than a header
    shortImage[6 + 9] = 0;
    shortImage[6 + 10] = 0;
    shortImage[6 + 11] = 0;
    Bytes tallImage = good;
    const std::size_t first = ReadLE32(&good[6 + 12]);
    tallImage[first + 9] = 0x10;  // height 4096 + 256 rows: more than the bytes hold
    const struct {
        const char* name;
        Bytes bytes;
    } rows[] = {
        {"too short", Bytes{0, 0, 1}},
        {"a cursor file", patched(2, 2)},
        {"no images", patched(4, 0)},
        {"directory longer than the file", patched(4, 200)},
        {"image past the end", cut},
        {"image smaller than a bitmap header", shortImage},
        {"image rows past its bytes", tallImage},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TIcon icon;
        Load(icon, good);
        TMemoryStream stream;
        stream.Assign(row.bytes);
        EXPECT_THROW(icon.LoadFromStream(stream), EInvalidGraphic);
        EXPECT_EQ(0u, stream.Position());
        EXPECT_EQ(5u, icon.Images().size());
    }
}

TEST(Icons, SetHandleTakesOwnershipAndSavesAFileOfIt) {
    TIcon source;
    Load(source, IconFile(kMainIcon));
    HICON handle = source.CreateHandle(48, 48).release();
    TIcon icon;
    icon.SetHandle(handle);
    EXPECT_FALSE(icon.Empty());
    EXPECT_EQ(48, icon.Width());
    EXPECT_TRUE(icon.Images().empty());
    EXPECT_EQ(handle, icon.Handle());

    // Saved as a one-image file that reads back with the same pixels.
    TIcon reread;
    Load(reread, Save(icon));
    ASSERT_EQ(1u, reread.Images().size());
    EXPECT_EQ(48, reread.Images()[0].Width);
    EXPECT_EQ(0xC0C000, CentreColour(reread.Handle()));

    TIcon copy;
    copy.Assign(icon);
    EXPECT_NE(handle, copy.Handle());
    EXPECT_EQ(0xC0C000, CentreColour(copy.Handle()));

    icon.SetHandle(icon.Handle());
    EXPECT_EQ(48, HandleSize(icon.Handle()).cx) << "its own handle stays alive";
    copy.SetHandle(copy.Handle());
    HICON sized = copy.HandleForSize(20, 20);
    copy.SetHandle(sized);
    EXPECT_EQ(20, HandleSize(copy.Handle()).cx) << "a sized handle given back becomes the icon";
    copy.Assign(source);
    copy.SetHandle(copy.Handle());  // the handle made from the file becomes the icon
    EXPECT_TRUE(copy.Images().empty());
    EXPECT_EQ(source.Width(), HandleSize(copy.Handle()).cx);

    icon.Clear();
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(handle, &info)) << "the icon given was destroyed with its owner";
    EXPECT_TRUE(icon.Empty());
}

TEST(Icons, DrawUsesTheMaskAndStretches) {
    TIcon icon;
    Load(icon, IconFile(kMainIcon));
    icon.SetSize(32, 32);
    TBitmap target;
    Blank(target, 140, 120, kBackground);
    target.Canvas()->Draw(4, 4, icon);
    EXPECT_EQ(kBackground, target.Canvas()->Pixel(4, 4)) << "the transparent corner";
    EXPECT_EQ(0x00C0C0, target.Canvas()->Pixel(5, 4));
    EXPECT_EQ(0x00C0C0, target.Canvas()->Pixel(35, 35));
    EXPECT_EQ(kBackground, target.Canvas()->Pixel(36, 36));
    target.Canvas()->StretchDraw({40, 20, 136, 116}, icon);  // the 96 image
    EXPECT_EQ(0x00C000, target.Canvas()->Pixel(80, 60));
    EXPECT_EQ(kBackground, target.Canvas()->Pixel(40, 20));

    TIcon copy;
    copy.Assign(icon);
    EXPECT_EQ(Save(icon), Save(copy));
}

TEST(Icons, ResourceGroupsBecomeFiles) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    TIcon icon;
    icon.LoadFromResourceID(user32, 32512);  // the application icon
    EXPECT_FALSE(icon.Images().empty());
    HICON handle = icon.Handle();
    ASSERT_NE(nullptr, handle);
    EXPECT_EQ(icon.Width(), HandleSize(handle).cx);
    EXPECT_THROW(icon.LoadFromResourceName(user32, L"NO_SUCH_ICON"), EInvalidGraphic);
    EXPECT_FALSE(icon.Empty());
}

// ---------------------------------------------------------------------------
// Pictures in stored layouts

class TPictureHolder : public TComponent {
    DECLARE_CLASS_INFO()
public:
    using TComponent::TComponent;
    TBitmap* Glyph() const { return glyph_.get(); }
    TIcon* Icon() const { return icon_.get(); }

private:
    std::unique_ptr<TBitmap> glyph_ = std::make_unique<TBitmap>();
    std::unique_ptr<TIcon> icon_ = std::make_unique<TIcon>();
};

const TClassInfo& TPictureHolder::StaticClass() {
    static const TClassInfo info(L"TPictureHolder", &TComponent::StaticClass(),
                                 {props::Object(L"Glyph", &TPictureHolder::Glyph),
                                  props::Object(L"Icon", &TPictureHolder::Icon)});
    return info;
}

std::string Hex(const Bytes& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const std::uint8_t b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

TEST(PictureLayouts, DataByteStringsLoadBitmapsAndIcons) {
    const TIconImageSpec small[] = {{16, 0x00C0C0}};
    const Bytes glyph = PatternFile(8).Encode(), icon = IconFile(small);
    TPictureHolder holder(nullptr);
    ReadLayoutText(holder, "object Holder: TPictureHolder\n  Glyph.Data = {" + Hex(glyph) + "}\n  Icon.Data = {" +
                               Hex(icon) + "}\nend\n");
    EXPECT_EQ(TPixelFormat::pf8bit, holder.Glyph()->PixelFormat());
    EXPECT_EQ(glyph, Save(*holder.Glyph()));
    ASSERT_EQ(1u, holder.Icon()->Images().size());
    EXPECT_EQ(0x00C0C0, CentreColour(holder.Icon()->Handle()));
}

// ---------------------------------------------------------------------------
// Image lists

// Four 16 x 16 glyphs side by side on white, 1 bit per pixel like the menu
// glyphs: glyph i has a black (i + 2)-pixel square at its top left.
void GlyphStrip(TBitmap& strip) {
    Blank(strip, 64, 16, 0xFFFFFF);
    strip.Canvas()->Brush()->SetColor(0x000000);
    for (int i = 0; i < 4; ++i) strip.Canvas()->FillRect({16 * i, 0, 16 * i + i + 2, i + 2});
    strip.SetPixelFormat(TPixelFormat::pf1bit);
}

TEST(ImageLists, AddMaskedCutsGlyphsAndDrawsThemTransparently) {
    TImageList list(nullptr);
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    TBitmap strip;
    GlyphStrip(strip);
    const Bytes before = Save(strip);
    EXPECT_EQ(0, list.AddMasked(strip, clWhite));
    EXPECT_EQ(4, list.Count());
    EXPECT_EQ(1, changes);
    EXPECT_EQ(before, Save(strip)) << "the caller's bitmap is left as it was";

    TBitmap target;
    Blank(target, 20, 20, 0x0000FF);
    list.Draw(*target.Canvas(), 2, 2, 2);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(x < 4 && y < 4 ? 0x000000 : 0x0000FF, target.Canvas()->Pixel(2 + x, 2 + y)) << x << "," << y;
}

TEST(ImageLists, AddWithAMaskBitmap) {
    TImageList list(nullptr);
    TBitmap images;
    Blank(images, 32, 16, 0x00FF00);
    TBitmap mask;
    Blank(mask, 32, 16, 0xFFFFFF);  // white: transparent
    mask.Canvas()->Brush()->SetColor(0x000000);
    mask.Canvas()->FillRect({16, 0, 24, 16});  // the left half of the second image shows
    mask.SetPixelFormat(TPixelFormat::pf1bit);
    EXPECT_EQ(0, list.Add(images, &mask));
    EXPECT_EQ(2, list.Count());
    TBitmap target;
    Blank(target, 16, 16, 0x0000FF);
    list.Draw(*target.Canvas(), 0, 0, 1);
    EXPECT_EQ(0x00FF00, target.Canvas()->Pixel(7, 8));
    EXPECT_EQ(0x0000FF, target.Canvas()->Pixel(8, 8));
    list.Draw(*target.Canvas(), 0, 0, 0);  // all masked
    EXPECT_EQ(0x00FF00, target.Canvas()->Pixel(7, 8));
    EXPECT_EQ(0x0000FF, target.Canvas()->Pixel(8, 8));
}

TEST(ImageLists, DisabledImagesAreEmbossed) {
    TImageList list(nullptr);
    TBitmap glyph;
    Blank(glyph, 16, 16, 0xFFFFFF);
    glyph.Canvas()->SetPixel(5, 5, 0x000000);
    list.AddMasked(glyph, clWhite);
    TBitmap target;
    Blank(target, 20, 20, kBackground);
    list.Draw(*target.Canvas(), 0, 0, 0, false);
    EXPECT_EQ(ColorToRGB(clBtnShadow), target.Canvas()->Pixel(5, 5));
    EXPECT_EQ(ColorToRGB(clBtnHighlight), target.Canvas()->Pixel(6, 6));
    EXPECT_EQ(kBackground, target.Canvas()->Pixel(4, 4));
    EXPECT_EQ(kBackground, target.Canvas()->Pixel(6, 5));
}

TEST(ImageLists, SizeCountDeleteAndCopiesOut) {
    TImageList list(nullptr);
    EXPECT_EQ(L"TImageList", list.ClassName());
    EXPECT_EQ(16, list.GetProperty(L"Width").AsInteger());
    TBitmap strip;
    GlyphStrip(strip);
    list.AddMasked(strip, clWhite);
    list.Delete(0);
    EXPECT_EQ(3, list.Count());
    list.Delete(7);
    EXPECT_EQ(3, list.Count());

    TBitmap copy;
    EXPECT_TRUE(list.GetBitmap(0, copy));  // the glyph with a 3-pixel square
    EXPECT_EQ(16, copy.Width());
    EXPECT_EQ(TPixelFormat::pf24bit, copy.PixelFormat());
    EXPECT_EQ(0x000000, copy.Canvas()->Pixel(2, 2));
    EXPECT_FALSE(list.GetBitmap(3, copy));

    TBitmap target;
    Blank(target, 16, 16, kBackground);
    list.Draw(*target.Canvas(), 0, 0, 5);
    list.Draw(*target.Canvas(), 0, 0, -1);
    EXPECT_EQ(kBackground, target.Canvas()->Pixel(0, 0));

    list.SetProperty(L"Width", 8);
    EXPECT_EQ(8, list.Width());
    EXPECT_EQ(0, list.Count()) << "a new size empties the list";
    list.AddMasked(strip, clWhite);
    EXPECT_EQ(8, list.Count());
    list.Clear();
    EXPECT_EQ(0, list.Count());
    TIcon icon;
    Load(icon, IconFile(kMainIcon));
    list.SetSize(32, 32);
    EXPECT_EQ(0, list.AddIcon(icon));
}

// ---------------------------------------------------------------------------
// Ownership: nothing leaks, nothing lives on after its owner

TEST(GdiOwnership, TheCounterSeesALeak) {
    const long before = LiveGdiObjects();
    HBRUSH leaked[3] = {CreateSolidBrush(1), CreateSolidBrush(2), CreateSolidBrush(3)};
    EXPECT_EQ(before + 3, LiveGdiObjects());
    for (HBRUSH b : leaked) DeleteObject(b);
    EXPECT_EQ(before, LiveGdiObjects());
}

struct TCycleInput {
    Bytes files[3] = {PatternFile(8).Encode(), PatternFile(24).Encode(), PatternFile(32).Encode()};
    Bytes icon = IconFile(kMainIcon);
};

// Everything the classes do with GDI objects, once.
void GraphicsCycle(const TCycleInput& input) {
    TBitmap target;
    Blank(target, 40, 40, kBackground);
    TBitmap bitmaps[3];
    for (int i = 0; i < 3; ++i) {
        Load(bitmaps[i], input.files[i]);
        bitmaps[i].Canvas()->SetPixel(0, 0, 0x123456);
        bitmaps[i].SetTransparent(i == 1);
        target.Canvas()->Draw(i, i, bitmaps[i]);
        target.Canvas()->StretchDraw({0, 0, 17, 9}, bitmaps[i]);
    }
    bitmaps[0].SetPixelFormat(TPixelFormat::pf24bit);
    MirrorHorizontal(bitmaps[0].Pixels());
    bitmaps[1].SetSize(9, 2);
    bitmaps[2].SetPalette(std::vector<TColor>{0xFFFFFF});
    TBitmap copy;
    copy.Assign(bitmaps[2]);
    copy.SetHandle(CreateCompatibleBitmap(target.Canvas()->Handle(), 3, 3));
    (void)bitmaps[1].Handle();
    (void)Save(copy);

    TIcon icon;
    Load(icon, input.icon);
    (void)icon.Handle();
    target.Canvas()->StretchDraw({0, 0, 20, 20}, icon);
    TIcon fromHandle;
    fromHandle.SetHandle(icon.CreateHandle(24, 24).release());
    (void)fromHandle.HandleForSize(16, 16);
    (void)icon.HandleForSize(16, 16);
    (void)Save(fromHandle);
    TIcon iconCopy;
    iconCopy.Assign(fromHandle);

    TImageList list(nullptr);
    TBitmap strip;
    GlyphStrip(strip);
    list.AddMasked(strip, clWhite);
    list.Add(bitmaps[0], nullptr);
    list.AddIcon(icon);
    list.Draw(*target.Canvas(), 1, 1, 1);
    list.Draw(*target.Canvas(), 1, 1, 2, false);
    list.GetBitmap(0, copy);
    list.SetWidth(8);
}

TEST(GdiOwnership, ThousandsOfCyclesLeaveNoObjectBehind) {
    const TCycleInput input;
    GraphicsCycle(input);  // first-use allocations of the system itself
    GraphicsCycle(input);
    const long before = LiveGdiObjects();
    for (int i = 0; i < 2000; ++i) GraphicsCycle(input);
    EXPECT_EQ(before, LiveGdiObjects());
}

TEST(GdiOwnership, HandlesDieWithTheirOwners) {
    HBITMAP bitmapHandle = nullptr;
    HDC canvasDC = nullptr;
    HICON iconHandle = nullptr;
    {
        TBitmap bitmap;
        Blank(bitmap, 4, 4, 0);
        canvasDC = bitmap.Canvas()->Handle();
        bitmapHandle = bitmap.Handle();
        EXPECT_EQ(0, GetObjectType(canvasDC)) << "handing the bitmap out deletes the canvas's DC";
        canvasDC = bitmap.Canvas()->Handle();
        TIcon icon;
        Load(icon, IconFile(kMainIcon));
        iconHandle = icon.Handle();
        EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(bitmapHandle));
        EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(canvasDC));
    }
    EXPECT_EQ(0, GetObjectType(bitmapHandle));
    EXPECT_EQ(0, GetObjectType(canvasDC));
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(iconHandle, &info));
}

}  // namespace
