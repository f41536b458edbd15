// The GDI half of the bitmap helpers on real pixels: gradients, text output
// on both platform paths, cloning, and the pixel operations on whole bitmaps.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Bitmap.h"
#include "skin/data/BitmapOps.h"
#include "skin/data/GradientFill.h"
#include "skin/data/TextHelpers.h"

namespace {

constexpr TColor kUntouched = 0x5A3C1E;

std::unique_ptr<TBitmap> Filled(int width, int height, TColor colour = kUntouched) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    bitmap->SetSize(width, height);
    const TPixelView pixels = bitmap->Pixels();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.SetPixel(x, y, colour);
    return bitmap;
}

// Every pixel of row y (or of column x, with columns) when they are all the
// same colour, else -1.
TColor LineColour(TBitmap& bitmap, int at, bool row = true) {
    const TConstPixelView pixels = bitmap.Pixels();
    const int length = row ? pixels.Width() : pixels.Height();
    const TColor first = row ? pixels.Pixel(0, at) : pixels.Pixel(at, 0);
    for (int i = 1; i < length; ++i)
        if ((row ? pixels.Pixel(i, at) : pixels.Pixel(at, i)) != first) return -1;
    return first;
}

std::vector<TColor> Rows(TBitmap& bitmap) {
    std::vector<TColor> rows;
    for (int y = 0; y < bitmap.Height(); ++y) rows.push_back(LineColour(bitmap, y));
    return rows;
}

// ---------------------------------------------------------------------------
// GradientFill

TEST(GradientFill, OneRowPaintsTheMidpointColour) {
    auto bitmap = Filled(4, 3);
    GradientFill(bitmap->Canvas()->Handle(), {0, 1, 4, 2}, MakeColour(200, 10, 0), true, MakeColour(100, 20, 255));
    EXPECT_EQ((std::vector<TColor>{kUntouched, MakeColour(150, 15, 127), kUntouched}), Rows(*bitmap));
}

TEST(GradientFill, AFallingRampEndsOneAboveItsEndColour) {
    auto bitmap = Filled(3, 10);
    GradientFill(bitmap->Canvas()->Handle(), {0, 0, 3, 10}, MakeColour(200, 0, 0), true, MakeColour(100, 0, 0));
    const std::vector<TColor> rows = Rows(*bitmap);
    EXPECT_EQ(MakeColour(200, 0, 0), rows.front());
    EXPECT_EQ(MakeColour(101, 0, 0), rows.back());
    for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_LT(RedOf(rows[i]), RedOf(rows[i - 1])) << i;
}

TEST(GradientFill, HorizontalRampsRunAcrossTheColumns) {
    auto bitmap = Filled(6, 2);
    GradientFill(bitmap->Canvas()->Handle(), {1, 0, 5, 2}, MakeColour(0, 0, 0), false, MakeColour(0, 30, 0));
    // 4 columns: 0 + (1 + i x 30) / 3.
    const TColor expected[] = {kUntouched, MakeColour(0, 0, 0), MakeColour(0, 10, 0), MakeColour(0, 20, 0),
                               MakeColour(0, 30, 0), kUntouched};
    for (int x = 0; x < 6; ++x) EXPECT_EQ(expected[x], LineColour(*bitmap, x, false)) << x;
}

TEST(GradientFill, OnlyTheLinesInsideTheClipBoxArePainted) {
    auto full = Filled(4, 10);
    GradientFill(full->Canvas()->Handle(), {0, 0, 4, 10}, 0x000000, true, 0xFFFFFF);
    const std::vector<TColor> fullRows = Rows(*full);

    auto clipped = Filled(4, 10);
    HDC dc = clipped->Canvas()->Handle();
    IntersectClipRect(dc, 0, 3, 4, 7);
    GradientFill(dc, {0, 0, 4, 10}, 0x000000, true, 0xFFFFFF);
    SelectClipRgn(dc, nullptr);
    const std::vector<TColor> rows = Rows(*clipped);
    for (int y = 0; y < 10; ++y) EXPECT_EQ(y >= 3 && y < 7 ? fullRows[y] : kUntouched, rows[y]) << y;

    // A clip box that starts before the rectangle and one that ends after it.
    auto across = Filled(10, 2);
    HDC acrossDC = across->Canvas()->Handle();
    IntersectClipRect(acrossDC, 0, 0, 5, 2);
    GradientFill(acrossDC, {3, 0, 9, 2}, 0x000000, false, 0x0000FF);
    SelectClipRgn(acrossDC, nullptr);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(x == 3 ? 0x000000 : x == 4 ? 0x000033 : kUntouched, LineColour(*across, x, false)) << x;
}

// GDI clips every line anyway, so the pixels cannot tell whether lines
// outside the clip box were painted: a metafile records every brush made.
int CALLBACK CountBrush(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM count) {
    if (record->iType == EMR_CREATEBRUSHINDIRECT) ++*reinterpret_cast<int*>(count);
    return 1;
}

int BrushesCreated(HENHMETAFILE metafile) {
    int count = 0;
    EnumEnhMetaFile(nullptr, metafile, CountBrush, &count, nullptr);
    return count;
}

TEST(GradientFill, MakesOneBrushPerLineInsideTheClipBox) {
    struct Row {
        const char* name;
        RECT clip;  // in the metafile's pixels
        bool vertical;
        int expected;
    } rows[] = {
        {"no clipping: all 40 rows", {0, 0, 100, 100}, true, 40},
        {"rows 15 to 24", {0, 15, 100, 25}, true, 10},
        {"the clip box starts before the rectangle", {0, 0, 100, 12}, true, 2},
        {"columns 30 to 34", {30, 0, 35, 100}, false, 5},
        {"the clip box ends after the rectangle", {45, 0, 100, 100}, false, 5},
    };
    for (const Row& row : rows) {
        HDC reference = GetDC(nullptr);
        HDC dc = CreateEnhMetaFileW(reference, nullptr, nullptr, nullptr);
        ReleaseDC(nullptr, reference);
        ASSERT_TRUE(dc);
        IntersectClipRect(dc, row.clip.left, row.clip.top, row.clip.right, row.clip.bottom);
        GradientFill(dc, {10, 10, 50, 50}, 0x000000, row.vertical, 0xFFFFFF);
        HENHMETAFILE metafile = CloseEnhMetaFile(dc);
        EXPECT_EQ(row.expected, BrushesCreated(metafile)) << row.name;
        DeleteEnhMetaFile(metafile);
    }
}

TEST(GradientFill, NothingVisibleOrNothingToPaintLeavesThePixels) {
    auto bitmap = Filled(4, 4);
    HDC dc = bitmap->Canvas()->Handle();
    GradientFill(dc, {0, 2, 4, 2}, 0x000000, true, 0xFFFFFF);      // no rows
    GradientFill(dc, {0, 3, 4, 1}, 0x000000, true, 0xFFFFFF);      // inverted
    GradientFill(dc, {2, 0, 1, 4}, 0x000000, false, 0xFFFFFF);     // no columns
    GradientFill(dc, {10, 10, 14, 14}, 0x000000, true, 0xFFFFFF);  // outside the bitmap
    IntersectClipRect(dc, 0, 0, 4, 1);
    GradientFill(dc, {0, 2, 4, 4}, 0x000000, true, 0xFFFFFF);  // outside the clip box
    SelectClipRgn(dc, nullptr);
    EXPECT_EQ(std::vector<TColor>(4, kUntouched), Rows(*bitmap));
}

TEST(GradientFill, SystemColoursAreResolved) {
    auto bitmap = Filled(2, 2);
    GradientFill(bitmap->Canvas()->Handle(), {0, 0, 2, 2}, clBtnFace, true, clHighlight);
    EXPECT_EQ((std::vector<TColor>{static_cast<TColor>(GetSysColor(COLOR_BTNFACE)),
                                   static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT))}),
              Rows(*bitmap));
}

// ---------------------------------------------------------------------------
// Text

TEST(WideCopy, CopiesTheWholeTextOrItsFirstCharacters) {
    static const wchar_t kEmbedded[] = L"ab\0cd";
    struct Row {
        const char* name;
        const wchar_t* text;
        int count;
        std::wstring expected;
    } rows[] = {
        {"-1 means up to the terminator", L"abc", -1, L"abc"},
        {"a count takes that many", L"abc", 2, L"ab"},
        {"a count of 0 takes none", L"abc", 0, L""},
        {"a count reads past a terminator", kEmbedded, 5, std::wstring(kEmbedded, 5)},
        {"-1 stops at the first terminator", kEmbedded, -1, L"ab"},
        {"other negative counts take none", L"abc", -2, L""},
        {"no text", nullptr, -1, L""},
        {"no text with a count", nullptr, 3, L""},
    };
    for (const Row& row : rows) EXPECT_EQ(row.expected, WideCopy(row.text, row.count)) << row.name;
}

TEST(AnsiToWide, ConvertsWithTheAnsiCodePage) {
    EXPECT_EQ(L"", AnsiToWide(""));
    EXPECT_EQ(L"Skin 1.0", AnsiToWide("Skin 1.0"));
    // A text the code page can hold comes back whole from the round trip.
    const std::wstring wide = L"caf\u00e9";
    char ansi[16] = {};
    BOOL lost = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi, sizeof ansi, nullptr, &lost);
    if (n > 0 && !lost) {
        EXPECT_EQ(wide, AnsiToWide(ansi));
    }
}

// The text drawn black on white into a fresh bitmap, and the result.
struct TTextPicture {
    std::unique_ptr<TBitmap> bitmap;
    int result = 0;
    RECT rect{};
};

template <class Draw>
TTextPicture DrawnText(Draw draw) {
    TTextPicture picture{Filled(120, 20, 0xFFFFFF)};
    HDC dc = picture.bitmap->Canvas()->Handle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, 0);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    picture.rect = {2, 2, 118, 18};
    picture.result = draw(dc, picture.rect);
    SelectObject(dc, old);
    return picture;
}

bool SamePicture(TBitmap& a, TBitmap& b) { return SamePixels(a.Pixels(), b.Pixels()); }

TEST(DrawTextAuto, DrawsWhatDrawTextWDrawsOnBothPaths) {
    const std::wstring text = L"Hello, skin & co";
    const UINT formats[] = {DT_LEFT | DT_SINGLELINE | DT_VCENTER, DT_CENTER | DT_SINGLELINE,
                            DT_RIGHT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, DT_CALCRECT | DT_NOPREFIX};
    for (UINT format : formats) {
        const UINT plain = format & ~static_cast<UINT>(DT_MODIFYSTRING);
        TTextPicture reference = DrawnText([&](HDC dc, RECT& r) {
            return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, plain);
        });
        for (bool unicode : {true, false}) {
            TTextPicture drawn = DrawnText([&](HDC dc, RECT& r) { return DrawTextAuto(dc, text, r, format, unicode); });
            EXPECT_EQ(reference.result, drawn.result) << format << " unicode " << unicode;
            EXPECT_TRUE(EqualRect(&reference.rect, &drawn.rect)) << format << " unicode " << unicode;
            EXPECT_TRUE(SamePicture(*reference.bitmap, *drawn.bitmap)) << format << " unicode " << unicode;
        }
    }
    // Beyond ASCII on the platform's own path.
    const std::wstring wide = L"Gr\u00fc\u00dfe \u4f60\u597d";
    TTextPicture reference = DrawnText([&](HDC dc, RECT& r) {
        return DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, DT_SINGLELINE);
    });
    TTextPicture drawn = DrawnText([&](HDC dc, RECT& r) { return DrawTextAuto(dc, wide, r, DT_SINGLELINE); });
    EXPECT_TRUE(SamePicture(*reference.bitmap, *drawn.bitmap));
}

TEST(DrawTextAuto, TheTextIsNeverWrittenTo) {
    // An ellipsis with DT_MODIFYSTRING would write into the caller's text.
    const std::wstring text = L"A rather long caption that will not fit";
    const std::wstring copy = text;
    for (bool unicode : {true, false}) {
        TTextPicture drawn = DrawnText([&](HDC dc, RECT& r) {
            r.right = r.left + 30;
            return DrawTextAuto(dc, text, r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, unicode);
        });
        EXPECT_GT(drawn.result, 0);
        EXPECT_EQ(copy, text);
    }
}

// ---------------------------------------------------------------------------
// CloneBitmap and the pixel operations on bitmaps

// Colours every format keeps exactly.
constexpr TColor kPure[] = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF, 0x00FFFF, 0xFFFF00};

// 5 x 3, the pixel at (x, y) coloured by its position.
std::unique_ptr<TBitmap> Pattern(TPixelFormat format, int colours = 8) {
    auto bitmap = Filled(5, 3);
    const TPixelView pixels = bitmap->Pixels();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) pixels.SetPixel(x, y, kPure[(x + 3 * y) % colours]);
    bitmap->SetPixelFormat(format);
    return bitmap;
}

// The picture as 24-bit pixels, the bitmap left as it is.
TPixelImage Snapshot(const TBitmap& bitmap) {
    TBitmap copy;
    copy.Assign(bitmap);
    copy.SetPixelFormat(TPixelFormat::pf24bit);
    TPixelImage image(copy.Width(), copy.Height());
    if (!copy.Empty()) CopyPixels(copy.Pixels(), image.View());
    return image;
}

TEST(CloneBitmap, CopiesSizeFormatAndPicture) {
    struct Row {
        const char* name;
        TPixelFormat format;
        int colours;
    } rows[] = {
        {"1 bit", TPixelFormat::pf1bit, 2},   {"4 bits", TPixelFormat::pf4bit, 8},
        {"8 bits", TPixelFormat::pf8bit, 8},  {"15 bits", TPixelFormat::pf15bit, 8},
        {"16 bits", TPixelFormat::pf16bit, 8}, {"24 bits", TPixelFormat::pf24bit, 8},
        {"32 bits", TPixelFormat::pf32bit, 8}, {"device", TPixelFormat::pfDevice, 8},
    };
    for (const Row& row : rows) {
        auto source = Pattern(row.format, row.colours);
        auto destination = Filled(9, 7);  // another size and format before
        CloneBitmap(*source, *destination);
        EXPECT_EQ(5, destination->Width()) << row.name;
        EXPECT_EQ(3, destination->Height()) << row.name;
        EXPECT_EQ(row.format, destination->PixelFormat()) << row.name;
        EXPECT_EQ(source->Palette(), destination->Palette()) << row.name;
        EXPECT_EQ(Snapshot(*source), Snapshot(*destination)) << row.name;
    }
}

TEST(CloneBitmap, AnEmptySourceEmptiesTheDestination) {
    TBitmap empty;
    empty.SetPixelFormat(TPixelFormat::pf8bit);
    auto destination = Filled(3, 3);
    CloneBitmap(empty, *destination);
    EXPECT_TRUE(destination->Empty());
    EXPECT_EQ(TPixelFormat::pf8bit, destination->PixelFormat());
    // Cloning onto itself changes nothing.
    auto self = Pattern(TPixelFormat::pf24bit);
    const TPixelImage before = Snapshot(*self);
    CloneBitmap(*self, *self);
    EXPECT_EQ(before, Snapshot(*self));
}

TEST(BitmapOperations, GreyAndMagentaLeaveTheBitmapIn24Bits) {
    auto bitmap = Filled(3, 1);
    bitmap->Pixels().SetPixel(0, 0, MakeColour(255, 0, 255));
    bitmap->Pixels().SetPixel(1, 0, MakeColour(255, 1, 255));
    bitmap->Pixels().SetPixel(2, 0, MakeColour(10, 20, 33));
    bitmap->SetPixelFormat(TPixelFormat::pf32bit);
    ReplaceMagenta(*bitmap, MakeColour(1, 2, 3));
    ASSERT_EQ(TPixelFormat::pf24bit, bitmap->PixelFormat());
    EXPECT_EQ(MakeColour(1, 2, 3), bitmap->Pixels().Pixel(0, 0));
    EXPECT_EQ(MakeColour(255, 1, 255), bitmap->Pixels().Pixel(1, 0));

    bitmap->SetPixelFormat(TPixelFormat::pf8bit);
    ToGrayscale(*bitmap);
    ASSERT_EQ(TPixelFormat::pf24bit, bitmap->PixelFormat());
    EXPECT_EQ(MakeColour(2, 2, 2), bitmap->Pixels().Pixel(0, 0));
    EXPECT_EQ(MakeColour(170, 170, 170), bitmap->Pixels().Pixel(1, 0));
    EXPECT_EQ(MakeColour(21, 21, 21), bitmap->Pixels().Pixel(2, 0));
}

TEST(BitmapOperations, MirrorFlipAndRotateKeepThePixelFormat) {
    for (TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf8bit, TPixelFormat::pf32bit}) {
        auto original = Pattern(format);
        const TPixelImage before = Snapshot(*original);
        const TConstPixelView was = before.View();

        auto mirrored = Pattern(format);
        MirrorHorizontal(*mirrored);
        EXPECT_EQ(format, mirrored->PixelFormat());
        const TPixelImage m = Snapshot(*mirrored);
        EXPECT_EQ(was.Pixel(4, 0), m.View().Pixel(0, 0));
        EXPECT_EQ(was.Pixel(0, 2), m.View().Pixel(4, 2));

        auto flipped = Pattern(format);
        FlipVertical(*flipped);
        EXPECT_EQ(format, flipped->PixelFormat());
        const TPixelImage f = Snapshot(*flipped);
        EXPECT_EQ(was.Pixel(1, 2), f.View().Pixel(1, 0));

        auto turned = Pattern(format);
        RotateLeft(*turned);
        EXPECT_EQ(format, turned->PixelFormat());
        ASSERT_EQ(3, turned->Width());
        ASSERT_EQ(5, turned->Height());
        // The old top-right corner becomes the new top-left one.
        EXPECT_EQ(was.Pixel(4, 0), Snapshot(*turned).View().Pixel(0, 0));
        RotateRight(*turned);
        EXPECT_EQ(before, Snapshot(*turned));
        RotateRight(*turned);
        // The old top-left corner becomes the new top-right one.
        EXPECT_EQ(was.Pixel(0, 0), Snapshot(*turned).View().Pixel(2, 0));
    }
    TBitmap empty;
    MirrorHorizontal(empty);
    RotateLeft(empty);
    EXPECT_TRUE(empty.Empty());
}

}  // namespace
