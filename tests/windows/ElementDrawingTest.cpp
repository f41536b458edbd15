// Element drawing on small crafted strips, read back pixel by pixel.
// Pictures are written as rows of letters, one letter per pixel; stretched
// pieces are solid or scaled by whole factors, so that every expected pixel
// is exact whatever rounding the stretch uses.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "classlib/Bitmap.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/GradientFill.h"
#include "skin/data/TextHelpers.h"

namespace {

using Rows = std::vector<std::string>;

// '.' is the canvas the tests draw on, 'm' the transparent key; the nine
// pieces of a frame are a..i (corners a, c, g, i; edges b, d, f, h; centre e).
const std::map<char, TColor>& Colours() {
    static const std::map<char, TColor> colours{
        {'.', 0x203040}, {'m', kElementKeyColour}, {'n', 0xFE00FF},  // one off the key
        {'a', 0x0000C0}, {'b', 0x00C000}, {'c', 0xC00000}, {'d', 0x00C0C0}, {'e', 0xC0C000},
        {'f', 0xC000C0}, {'g', 0x404040}, {'h', 0x808080}, {'i', 0xC0C0C0}, {'x', 0x000000},
        {'y', 0xFFFFFF}, {'z', 0x0080FF}, {'1', 0x000010}, {'2', 0x000020}, {'3', 0x000030},
        {'4', 0x000040}, {'5', 0x000050}, {'L', 0x102030}, {'R', 0x302010}, {'M', 0x607080},
    };
    return colours;
}

char LetterOf(TColor colour) {
    for (const auto& [letter, c] : Colours())
        if (c == colour) return letter;
    return '?';
}

std::unique_ptr<TBitmap> Picture(const Rows& rows) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    bitmap->SetSize(rows.empty() ? 0 : static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    const TPixelView pixels = bitmap->Pixels();
    for (int y = 0; y < pixels.Height(); ++y)
        for (int x = 0; x < pixels.Width(); ++x) pixels.SetPixel(x, y, Colours().at(rows[y][x]));
    return bitmap;
}

Rows Blank(int width, int height, char letter = '.') {
    return Rows(static_cast<std::size_t>(height), std::string(static_cast<std::size_t>(width), letter));
}

Rows Letters(TBitmap& bitmap) {
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    const TConstPixelView pixels = bitmap.Pixels();
    Rows rows;
    for (int y = 0; y < pixels.Height(); ++y) {
        std::string row;
        for (int x = 0; x < pixels.Width(); ++x) row += LetterOf(pixels.Pixel(x, y));
        rows.push_back(row);
    }
    return rows;
}

// Takes the bitmap over.
Rows Letters(UniqueBitmap bitmap) {
    TBitmap b;
    b.SetHandle(bitmap.release());
    return Letters(b);
}

// Side by side, or one above another with vertical.
Rows Strip(const std::vector<Rows>& frames, bool vertical = false) {
    Rows strip;
    for (const Rows& frame : frames) {
        if (vertical) {
            strip.insert(strip.end(), frame.begin(), frame.end());
        } else {
            if (strip.empty()) strip.resize(frame.size());
            for (std::size_t y = 0; y < frame.size(); ++y) strip[y] += frame[y];
        }
    }
    return strip;
}

constexpr RECT kNoMargins{0, 0, 0, 0};

// A frame of the nine pieces: margins left 1, top 1, right 2, bottom 1.
const Rows kNineFrame{"abbcc", "deeff", "deeff", "ghhii"};
constexpr RECT kNineMargins{1, 1, 2, 1};

struct TCanvasBitmap {
    std::unique_ptr<TBitmap> bitmap;
    HDC DC() { return bitmap->Canvas()->Handle(); }
    Rows Read() { return Letters(*bitmap); }
};

TCanvasBitmap Canvas(int width, int height) { return {Picture(Blank(width, height))}; }

// ---------------------------------------------------------------------------
// DrawElement and BuildElementBitmap

TEST(BuildElementBitmap, TheNinePiecesLandWhereTheMarginsPutThem) {
    auto strip = Picture(Strip({Blank(5, 4, 'z'), kNineFrame}));
    const Rows expected{"abbbbbbcc", "deeeeeeff", "deeeeeeff", "deeeeeeff", "deeeeeeff", "deeeeeeff", "ghhhhhhii"};
    EXPECT_EQ(expected, Letters(BuildElementBitmap({3, 3, 12, 10}, *strip, kNineMargins, false, false, 2, 2)));
}

TEST(BuildElementBitmap, TheTiledCentreRunsOnUnderTheRightAndBottomPieces) {
    // Centre 2 x 2 ("12" over "34") tiled into a 5 x 4 centre area: copies
    // at 1, 3 and 5 across, the last half under the right edge.
    const Rows frame{"abbcc", "d12ff", "d34ff", "ghhii"};
    auto strip = Picture(frame);
    const Rows expected{"abbbbbcc", "d12121ff", "d34343ff", "d12121ff", "d34343ff", "ghhhhhii"};
    EXPECT_EQ(expected, Letters(BuildElementBitmap({0, 0, 8, 6}, *strip, kNineMargins, false, true, 1, 1)));
}

TEST(BuildElementBitmap, AFiveColumnCentreTilesAtZeroFiveAndTenClippedAtTwelve) {
    auto strip = Picture({"12345"});
    EXPECT_EQ((Rows{"123451234512", "123451234512"}),
              Letters(BuildElementBitmap({0, 0, 12, 2}, *strip, kNoMargins, false, true, 1, 1)));
    // Without Tile the same centre is stretched instead.
    auto solid = Picture({"eeeee"});
    EXPECT_EQ(Blank(12, 2, 'e'), Letters(BuildElementBitmap({0, 0, 12, 2}, *solid, kNoMargins, false, false, 1, 1)));
}

TEST(BuildElementBitmap, MarginsThatDoNotFitAreDroppedInPairs) {
    // The middle frame of a 30-pixel strip of three: a 3-pixel border round
    // a 4 x 4 centre. In 4 x 4 both pairs of margins are dropped and the
    // whole frame is stretched, exactly as a plain stretch of it would be.
    Rows frame = Blank(10, 10, 'b');
    for (int y = 3; y < 7; ++y) frame[y].replace(3, 4, "eeee");
    auto strip = Picture(Strip({Blank(10, 10, 'y'), frame, Blank(10, 10, 'z')}));
    const RECT margins{3, 3, 3, 3};

    auto reference = Picture(Blank(4, 4));
    SetStretchBltMode(reference->Canvas()->Handle(), COLORONCOLOR);
    StretchBlt(reference->Canvas()->Handle(), 0, 0, 4, 4, strip->Canvas()->Handle(), 10, 0, 10, 10, SRCCOPY);
    const Rows built = Letters(BuildElementBitmap({0, 0, 4, 4}, *strip, margins, false, false, 3, 2));
    EXPECT_EQ(Letters(*reference), built);
    EXPECT_EQ('b', built[0][0]);
    for (const std::string& row : built) EXPECT_EQ(std::string::npos, row.find_first_not_of("be")) << row;

    // Only the pair that does not fit goes. The rest of the frame is then
    // scaled by two: columns when left and right go, rows when top and bottom go.
    auto wide = Picture({"bbbbb", "deeef", "deeef", "hhhhh"});
    EXPECT_EQ((Rows{"bbbbbbbbbb", "ddeeeeeeff", "ddeeeeeeff", "hhhhhhhhhh"}),
              Letters(BuildElementBitmap({0, 0, 10, 4}, *wide, {6, 1, 6, 1}, false, false, 1, 1)));
    auto tall = Picture({"dbbf", "deef", "deef", "deef", "dhhf"});
    EXPECT_EQ((Rows{"dbbf", "dbbf", "deef", "deef", "deef", "deef", "deef", "deef", "dhhf", "dhhf"}),
              Letters(BuildElementBitmap({0, 0, 4, 10}, *tall, {1, 6, 1, 6}, false, false, 1, 1)));
}

TEST(BuildElementBitmap, MarginsWiderThanTheFrameCopyNoMirroredPieces) {
    // Left 3 + right 3 of a 5-pixel frame: the centre's source would be
    // -1 pixels wide; it is left out rather than drawn mirrored.
    auto strip = Picture({"abcde"});
    const Rows built = Letters(BuildElementBitmap({0, 0, 8, 1}, *strip, {3, 0, 3, 0}, false, false, 1, 1));
    EXPECT_EQ("abc", built[0].substr(0, 3));
    EXPECT_EQ("cde", built[0].substr(5, 3));
}

TEST(BuildElementBitmap, VerticalStripsStackTheirFrames) {
    auto strip = Picture(Strip({Blank(3, 2, 'x'), Blank(3, 2, 'y'), Blank(3, 2, 'z')}, true));
    EXPECT_EQ(Blank(4, 3, 'y'), Letters(BuildElementBitmap({0, 0, 4, 3}, *strip, kNoMargins, true, false, 3, 2)));
    EXPECT_EQ(Blank(4, 3, 'z'), Letters(BuildElementBitmap({0, 0, 4, 3}, *strip, kNoMargins, true, false, 3, 3)));
    // The same strip read side by side has one 1-pixel frame per column
    // (3 / 3), each a column of x, y and z.
    EXPECT_EQ((Rows{"x", "x", "y", "y", "z", "z"}),
              Letters(BuildElementBitmap({0, 0, 1, 6}, *strip, kNoMargins, false, false, 3, 2)));
}

TEST(BuildElementBitmap, EmptyAndInvertedRectanglesGiveNoBitmap) {
    auto strip = Picture(kNineFrame);
    EXPECT_FALSE(BuildElementBitmap({5, 0, 5, 4}, *strip, kNineMargins, false, false, 1, 1));
    EXPECT_FALSE(BuildElementBitmap({5, 0, 3, 4}, *strip, kNineMargins, false, false, 1, 1));
    EXPECT_FALSE(BuildElementBitmap({0, 5, 3, 4}, *strip, kNineMargins, false, true, 1, 1));
}

TEST(DrawElement, DrawsTheBuiltFrameAtTheRectangle) {
    auto strip = Picture(Strip({Blank(5, 4, 'z'), kNineFrame}));
    TCanvasBitmap canvas = Canvas(9, 6);
    DrawElement(canvas.DC(), {1, 1, 8, 5}, *strip, false, false, false, 2, 2, kNineMargins);
    const Rows expected{".........", ".abbbbcc.", ".deeeeff.", ".deeeeff.", ".ghhhhii.", "........."};
    EXPECT_EQ(expected, canvas.Read());
}

TEST(DrawElement, TransparentLeavesTheCanvasUnderKeyPixels) {
    auto strip = Picture({"mbbcm", "deeff", "dmmff", "ghhim"});
    TCanvasBitmap canvas = Canvas(7, 6);
    DrawElement(canvas.DC(), {1, 1, 6, 5}, *strip, false, false, true, 1, 1, kNineMargins);
    const Rows expected{".......", "..bbc..", ".deeff.", ".d..ff.", ".ghhi..", "......."};
    EXPECT_EQ(expected, canvas.Read());
}

// ---------------------------------------------------------------------------
// Every routine leaves the canvas alone for an inverted or empty rectangle

struct TRoutine {
    const char* name;
    std::function<void(TCanvasBitmap&, const RECT&, TBitmap&)> draw;
};

TEST(ElementDrawing, InvertedRectanglesDrawNothingInEveryRoutine) {
    const TRoutine routines[] = {
        {"DrawElement", [](TCanvasBitmap& c, const RECT& r,
                           TBitmap& b) { DrawElement(c.DC(), r, b, false, false, false, 1, 1, kNoMargins); }},
        {"DrawElement tiled transparent",
         [](TCanvasBitmap& c, const RECT& r, TBitmap& b) { DrawElement(c.DC(), r, b, false, true, true, 1, 1, kNoMargins); }},
        {"TileBitmap", [](TCanvasBitmap& c, const RECT& r, TBitmap& b) { TileBitmap(*c.bitmap->Canvas(), r, b, {0, 0, 2, 2}); }},
        {"TileBitmap inverted source",
         [](TCanvasBitmap& c, const RECT&, TBitmap& b) { TileBitmap(*c.bitmap->Canvas(), {0, 0, 6, 6}, b, {2, 0, 0, 2}); }},
        {"DrawFrameStretched", [](TCanvasBitmap& c, const RECT& r, TBitmap& b) { DrawFrameStretched(c.DC(), r, b, false, 1, 1); }},
        {"DrawFrameCentred", [](TCanvasBitmap& c, const RECT& r, TBitmap& b) { DrawFrameCentred(c.DC(), r, b, false, 1, 1); }},
        {"DrawThreePart", [](TCanvasBitmap& c, const RECT& r, TBitmap& b) { DrawThreePart(c.DC(), r, b, false, 1, 1, {1, 0, 1, 0}); }},
        {"DrawHorizontalTiled",
         [](TCanvasBitmap& c, const RECT& r, TBitmap& b) { DrawHorizontalTiled(*c.bitmap->Canvas(), r, b, false, false, 1, 1, {1, 0, 1, 0}); }},
        {"DrawTransparent MaskBlt",
         [](TCanvasBitmap& c, const RECT& r, TBitmap& b) { DrawTransparent(c.DC(), r, b, kElementKeyColour, TTransparentMethod::MaskBlt); }},
        {"DrawTransparent invert-mask-invert",
         [](TCanvasBitmap& c, const RECT& r, TBitmap& b) {
             DrawTransparent(c.DC(), r, b, kElementKeyColour, TTransparentMethod::InvertMaskInvert);
         }},
    };
    const RECT inverted[] = {{5, 1, 2, 4}, {1, 5, 4, 2}, {5, 5, 1, 1}};
    auto strip = Picture({"abc", "def", "ghi"});
    for (const TRoutine& routine : routines)
        for (const RECT& r : inverted) {
            TCanvasBitmap canvas = Canvas(6, 6);
            routine.draw(canvas, r, *strip);
            EXPECT_EQ(Blank(6, 6), canvas.Read()) << routine.name << " at " << r.left << "," << r.top << ","
                                                  << r.right << "," << r.bottom;
        }
}

TEST(ElementDrawing, ZeroWidthEmptyStripsAndNoFramesDrawNothing) {
    auto strip = Picture({"abc", "def", "ghi"});
    TBitmap empty;
    TCanvasBitmap canvas = Canvas(6, 6);
    DrawElement(canvas.DC(), {2, 1, 2, 5}, *strip, false, false, false, 1, 1, kNoMargins);
    DrawElement(canvas.DC(), {1, 2, 5, 2}, *strip, false, true, true, 1, 1, kNoMargins);
    DrawElement(canvas.DC(), {0, 0, 6, 6}, empty, false, false, false, 1, 1, kNoMargins);
    DrawFrameStretched(canvas.DC(), {0, 0, 6, 6}, empty, false, 1, 1);
    DrawThreePart(canvas.DC(), {0, 0, 6, 6}, empty, false, 1, 1, kNoMargins);
    DrawTransparent(canvas.DC(), {0, 0, 6, 6}, empty, kElementKeyColour);
    DrawTransparent(canvas.DC(), {0, 0, 6, 6}, HBITMAP{}, kElementKeyColour);
    // A frame count of 0 has no frame width; nothing is cut from the strip.
    DrawElement(canvas.DC(), {0, 0, 6, 6}, *strip, false, false, false, 0, 1, kNoMargins);
    DrawFrameCentred(canvas.DC(), {0, 0, 6, 6}, *strip, false, 0, 1);
    DrawHorizontalTiled(*canvas.bitmap->Canvas(), {0, 0, 6, 6}, *strip, false, false, -1, 1, kNoMargins);
    EXPECT_EQ(Blank(6, 6), canvas.Read());
}

// ---------------------------------------------------------------------------
// TileBitmap

TEST(TileBitmap, TheLastCopiesRunPastTheRectangleAndAreClippedByTheCanvas) {
    auto strip = Picture({"12345", "abcde"});
    TCanvasBitmap canvas = Canvas(17, 4);
    TileBitmap(*canvas.bitmap->Canvas(), {1, 1, 13, 2}, *strip, {0, 0, 5, 1});
    const Rows expected{".................", ".123451234512345.", ".................", "................."};
    EXPECT_EQ(expected, canvas.Read());
    // Down as well, from the source's second row, a 2 x 1 piece.
    TCanvasBitmap down = Canvas(5, 4);
    TileBitmap(*down.bitmap->Canvas(), {0, 1, 3, 3}, *strip, {2, 1, 4, 2});
    EXPECT_EQ((Rows{".....", "cdcd.", "cdcd.", "....."}), down.Read());
}

TEST(TileBitmap, ASourceWithoutAreaDrawsNothing) {
    auto strip = Picture({"12345"});
    TCanvasBitmap canvas = Canvas(6, 2);
    TileBitmap(*canvas.bitmap->Canvas(), {0, 0, 6, 2}, *strip, {1, 0, 1, 1});
    TileBitmap(*canvas.bitmap->Canvas(), {0, 0, 6, 2}, *strip, {0, 1, 5, 1});
    EXPECT_EQ(Blank(6, 2), canvas.Read());
}

// ---------------------------------------------------------------------------
// DrawFrameStretched and DrawFrameCentred

TEST(DrawFrameStretched, StretchesTheWholeFrameAndKeysOutMagenta) {
    auto strip = Picture(Strip({Blank(3, 1, 'x'), {"ymy"}, Blank(3, 1, 'z')}));
    TCanvasBitmap canvas = Canvas(8, 3);
    DrawFrameStretched(canvas.DC(), {1, 0, 7, 2}, *strip, false, 3, 2);
    EXPECT_EQ((Rows{".yymmyy.", ".yymmyy.", "........"}), canvas.Read());
    TCanvasBitmap keyed = Canvas(8, 3);
    DrawFrameStretched(keyed.DC(), {1, 0, 7, 2}, *strip, true, 3, 2);
    EXPECT_EQ((Rows{".yy..yy.", ".yy..yy.", "........"}), keyed.Read());
}

TEST(DrawFrameCentred, CentresRoundingTowardZero) {
    auto strip = Picture(Strip({Blank(10, 1, 'c'), Blank(10, 1, 'z')}));
    // 10 pixels in 15 start 2 in (5 / 2).
    TCanvasBitmap canvas = Canvas(16, 3);
    DrawFrameCentred(canvas.DC(), {0, 1, 15, 2}, *strip, false, 2, 1);
    EXPECT_EQ((Rows{"................", "..cccccccccc....", "................"}), canvas.Read());
    // 10 pixels in 7 start at 3 + (-3 / 2) = 2 and spill over both sides;
    // 1 row in 0 rows starts at 1 + (-1 / 2) = 1.
    TCanvasBitmap spill = Canvas(16, 3);
    DrawFrameCentred(spill.DC(), {3, 1, 10, 1}, *strip, false, 2, 2);
    EXPECT_EQ((Rows{"................", "..zzzzzzzzzz....", "................"}), spill.Read());
}

TEST(DrawFrameCentred, TransparentKeepsTheCanvasUnderKeyPixels) {
    auto strip = Picture({"zzz", "ymy", "mmm", "abc"});
    TCanvasBitmap canvas = Canvas(5, 6);
    DrawFrameCentred(canvas.DC(), {0, 0, 5, 6}, *strip, true, 3, 2);
    // Frame 2 is one column (z, m, m, b), centred at (2, 1).
    EXPECT_EQ((Rows{".....", "..z..", ".....", ".....", "..b..", "....."}), canvas.Read());
}

// ---------------------------------------------------------------------------
// DrawThreePart

TEST(DrawThreePart, EndsKeepTheirWidthAndTheMiddleStretches) {
    const Rows frame{"LMMRR"};
    auto strip = Picture(Strip({Blank(5, 1, 'z'), frame}));
    const RECT margins{1, 7, 2, 7};  // top and bottom are not used
    struct Row {
        const char* name;
        int width;
        std::string expected;
    } rows[] = {
        {"exactly one frame wide: three pieces, unchanged", 5, "LMMRR"},
        {"one wider: the middle stretched by 3 / 2", 6, "LMMMRR"},
        {"twice as wide: the middle grows by 5", 10, "LMMMMMMMRR"},
    };
    for (const Row& row : rows) {
        TCanvasBitmap canvas = Canvas(12, 4);
        DrawThreePart(canvas.DC(), {1, 1, 1 + row.width, 3}, *strip, false, 2, 2, margins);
        const std::string line = "." + row.expected + std::string(11 - static_cast<std::size_t>(row.width), '.');
        EXPECT_EQ((Rows{std::string(12, '.'), line, line, std::string(12, '.')}), canvas.Read()) << row.name;
    }
}

TEST(DrawThreePart, ARectangleNarrowerThanAFrameGetsTheWholeFrameStretched) {
    auto strip = Picture(Strip({Blank(5, 2, 'z'), {"LMMRR", "LMMRR"}}, false));
    TCanvasBitmap canvas = Canvas(4, 2);
    DrawThreePart(canvas.DC(), {0, 0, 4, 2}, *strip, false, 2, 2, {1, 0, 2, 0});
    auto reference = Picture(Blank(4, 2));
    SetStretchBltMode(reference->Canvas()->Handle(), COLORONCOLOR);
    StretchBlt(reference->Canvas()->Handle(), 0, 0, 4, 2, strip->Canvas()->Handle(), 5, 0, 5, 2, SRCCOPY);
    EXPECT_EQ(Letters(*reference), canvas.Read());
}

TEST(DrawThreePart, VerticalStripsAndTheCallersStretchModeKept) {
    auto strip = Picture(Strip({{"zzzz"}, {"LMMR"}}, true));
    TCanvasBitmap canvas = Canvas(6, 2);
    SetStretchBltMode(canvas.DC(), HALFTONE);
    DrawThreePart(canvas.DC(), {0, 0, 6, 2}, *strip, true, 2, 2, {1, 0, 1, 0});
    EXPECT_EQ((Rows{"LMMMMR", "LMMMMR"}), canvas.Read());
    EXPECT_EQ(HALFTONE, GetStretchBltMode(canvas.DC()));
}

// ---------------------------------------------------------------------------
// DrawHorizontalTiled

TEST(DrawHorizontalTiled, RepeatsTheMiddleAndTheRightEndCoversTheOverrun) {
    auto strip = Picture(Strip({Blank(6, 1, 'z'), {"L123RR"}}));
    struct Row {
        int width;
        std::string expected;
    } rows[] = {
        {12, "L123123123RR"},  // copies at 1, 4 and 7
        {11, "L12312312RR"},   // the copy at 7 runs under the right end
        {3, "LRR"},            // no room for a middle
        {2, "RR"},             // the right end drawn last, over the left one
    };
    for (const Row& row : rows) {
        TCanvasBitmap canvas = Canvas(13, 3);
        DrawHorizontalTiled(*canvas.bitmap->Canvas(), {1, 1, 1 + row.width, 3}, *strip, false, false, 2, 2,
                            {1, 9, 2, 9});
        const std::string line = "." + row.expected + std::string(12 - static_cast<std::size_t>(row.width), '.');
        EXPECT_EQ((Rows{std::string(13, '.'), line, line}), canvas.Read()) << row.width;
    }
}

TEST(DrawHorizontalTiled, VerticalStripsStillLayTheFrameOutAcross) {
    auto strip = Picture(Strip({{"zzzz"}, {"L12R"}}, true));
    TCanvasBitmap canvas = Canvas(7, 2);
    DrawHorizontalTiled(*canvas.bitmap->Canvas(), {0, 0, 7, 2}, *strip, true, false, 2, 2, {1, 0, 1, 0});
    EXPECT_EQ((Rows{"L12121R", "L12121R"}), canvas.Read());
}

TEST(DrawHorizontalTiled, TransparentKeepsTheCanvasUnderKeyPixels) {
    auto strip = Picture({"mLm1RR", "LL11Rm"});
    TCanvasBitmap canvas = Canvas(8, 2);
    DrawHorizontalTiled(*canvas.bitmap->Canvas(), {0, 0, 8, 2}, *strip, false, true, 1, 1, {1, 0, 2, 0});
    // Middle "Lm1" / "L11" at 1 and 4; the right end at 6.
    EXPECT_EQ((Rows{".L.1L.RR", "LL11L1R."}), canvas.Read());
}

TEST(DrawHorizontalTiled, AMiddleOfNoWidthDrawsOnlyTheEnds) {
    // m = 3 - 1 - 2 = 0 and m = 3 - 2 - 2 = -1: no middle copies, no endless loop.
    auto strip = Picture({"LRR"});
    TCanvasBitmap canvas = Canvas(6, 1);
    DrawHorizontalTiled(*canvas.bitmap->Canvas(), {0, 0, 6, 1}, *strip, false, false, 1, 1, {1, 0, 2, 0});
    const Rows drawn = canvas.Read();
    EXPECT_EQ('L', drawn[0][0]);
    EXPECT_EQ("RR", drawn[0].substr(4));
    TCanvasBitmap wider = Canvas(6, 1);
    DrawHorizontalTiled(*wider.bitmap->Canvas(), {0, 0, 6, 1}, *strip, false, false, 1, 1, {2, 0, 2, 0});
    EXPECT_EQ("RR", wider.Read()[0].substr(4));
}

// ---------------------------------------------------------------------------
// DrawTransparent, both methods

constexpr TTransparentMethod kMethods[] = {TTransparentMethod::MaskBlt, TTransparentMethod::InvertMaskInvert};

const char* NameOf(TTransparentMethod method) {
    return method == TTransparentMethod::MaskBlt ? "MaskBlt" : "invert-mask-invert";
}

// A device-dependent copy of the picture, as the element routines make them.
UniqueBitmap DeviceBitmap(TBitmap& picture) {
    WindowDC screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), picture.Width(), picture.Height()));
    UniqueDC dc(CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.get(), bitmap.get());
    BitBlt(dc.get(), 0, 0, picture.Width(), picture.Height(), picture.Canvas()->Handle(), 0, 0, SRCCOPY);
    return bitmap;
}

TEST(DrawTransparent, AnAllKeyBitmapLeavesTheDestinationUnchanged) {
    auto picture = Picture(Blank(4, 3, 'm'));
    UniqueBitmap device = DeviceBitmap(*picture);
    const Rows before{"abcde", "fghia", "bcdef", "ghiab"};
    for (TTransparentMethod method : kMethods) {
        TCanvasBitmap canvas{Picture(before)};
        DrawTransparent(canvas.DC(), {1, 1, 5, 4}, *picture, kElementKeyColour, method);
        DrawTransparent(canvas.DC(), {0, 0, 4, 3}, device.get(), kElementKeyColour, method);
        EXPECT_EQ(before, canvas.Read()) << NameOf(method);
    }
}

TEST(DrawTransparent, CopiesExactlyThePixelsThatAreNotTheKey) {
    auto picture = Picture({"amnb", "mmcm", "xyzm"});
    UniqueBitmap device = DeviceBitmap(*picture);
    for (TTransparentMethod method : kMethods) {
        TCanvasBitmap canvas = Canvas(6, 4);
        DrawTransparent(canvas.DC(), {1, 1, 5, 4}, *picture, kElementKeyColour, method);
        EXPECT_EQ((Rows{"......", ".a.nb.", "...c..", ".xyz.."}), canvas.Read()) << NameOf(method);
        // The device-dependent bitmap, and only the rectangle's size of it from (0, 0).
        TCanvasBitmap part = Canvas(4, 3);
        DrawTransparent(part.DC(), {2, 1, 4, 3}, device.get(), kElementKeyColour, method);
        EXPECT_EQ((Rows{"....", "..a.", "...."}), part.Read()) << NameOf(method);
        // Any colour can be the key.
        TCanvasBitmap other = Canvas(4, 3);
        DrawTransparent(other.DC(), {0, 0, 4, 3}, *picture, Colours().at('x'), method);
        EXPECT_EQ((Rows{"amnb", "mmcm", ".yzm"}), other.Read()) << NameOf(method);
    }
}

TEST(DrawTransparent, TheDestinationsColoursAndTheSourceAreRestored) {
    auto picture = Picture({"am", "ma"});
    HDC source = picture->Canvas()->Handle();
    SetBkColor(source, RGB(1, 2, 3));
    TCanvasBitmap canvas = Canvas(2, 2);
    SetBkColor(canvas.DC(), RGB(4, 5, 6));
    SetTextColor(canvas.DC(), RGB(7, 8, 9));
    for (TTransparentMethod method : kMethods)
        DrawTransparent(canvas.DC(), {0, 0, 2, 2}, *picture, kElementKeyColour, method);
    EXPECT_EQ(RGB(4, 5, 6), GetBkColor(canvas.DC()));
    EXPECT_EQ(RGB(7, 8, 9), GetTextColor(canvas.DC()));
    EXPECT_EQ(RGB(1, 2, 3), GetBkColor(source));
    EXPECT_EQ((Rows{"a.", ".a"}), canvas.Read());
}

// A 24- or 32-bit DIB section stored top-down or bottom-up, written and read
// through its own memory so that the rows' order is known.
struct TSection {
    UniqueBitmap bitmap;
    std::uint8_t* bits = nullptr;
    int width = 0, height = 0, bytes = 4;
    bool topDown = true;

    TSection(const Rows& rows, bool topDownRows, int bitsPerPixel = 32)
        : width(static_cast<int>(rows[0].size())), height(static_cast<int>(rows.size())), bytes(bitsPerPixel / 8),
          topDown(topDownRows) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, topDown ? -height : height, 1,
                          static_cast<WORD>(bitsPerPixel), BI_RGB, 0, 0, 0, 0, 0};
        void* memory = nullptr;
        bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0));
        bits = static_cast<std::uint8_t*>(memory);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const TColor c = Colours().at(rows[y][x]);
                std::uint8_t* p = At(x, y);
                p[0] = static_cast<std::uint8_t>(BlueOf(c));
                p[1] = static_cast<std::uint8_t>(GreenOf(c));
                p[2] = static_cast<std::uint8_t>(RedOf(c));
            }
    }
    std::uint8_t* At(int x, int y) {
        const int stride = (width * bytes + 3) / 4 * 4;
        return bits + (topDown ? y : height - 1 - y) * stride + x * bytes;
    }
    Rows Read() {
        GdiFlush();
        Rows rows;
        for (int y = 0; y < height; ++y) {
            std::string row;
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* p = At(x, y);
                row += LetterOf(MakeColour(p[2], p[1], p[0]));
            }
            rows.push_back(row);
        }
        return rows;
    }
};

TEST(DrawTransparent, DibSectionsEitherWayUpLandUprightAndClippedLikeABlit) {
    struct Case {
        RECT rect;
        Rows expected;
    };
    const Case cases[] = {
        {{1, 1, 5, 4}, {"......", ".a.nb.", "...c..", ".xyz.."}},
        {{3, 2, 7, 5}, {"......", "......", "...a.n", ".....c"}},  // past the right and bottom edges
        {{-1, -1, 3, 2}, {".c....", "yz....", "......", "......"}},  // from above and left of the target
    };
    for (const int sourceBits : {24, 32})
        for (const bool sourceTopDown : {true, false})
            for (const bool targetTopDown : {true, false})
                for (const Case& c : cases) {
                    SCOPED_TRACE(testing::Message() << sourceBits << "-bit source "
                                                    << (sourceTopDown ? "top-down" : "bottom-up") << ", target "
                                                    << (targetTopDown ? "top-down" : "bottom-up") << ", at "
                                                    << c.rect.left << "," << c.rect.top);
                    TSection source({"amnb", "mmcm", "xyzm"}, sourceTopDown, sourceBits);
                    TSection target(Blank(6, 4), targetTopDown);
                    {
                        UniqueDC dc(CreateCompatibleDC(nullptr));
                        SelectedObject selected(dc.get(), target.bitmap.get());
                        DrawTransparent(dc.get(), c.rect, source.bitmap.get(), kElementKeyColour,
                                        TTransparentMethod::MaskBlt);
                    }
                    EXPECT_EQ(c.expected, target.Read());
                }
}

TEST(DrawTransparent, ThePlatformPicksMaskBltOnWindowsNT) {
    EXPECT_EQ(IsWindowsNT() ? TTransparentMethod::MaskBlt : TTransparentMethod::InvertMaskInvert,
              PlatformTransparentMethod());
}

// ---------------------------------------------------------------------------
// No GDI object outlives a call

TEST(ElementDrawing, ThousandsOfCallsLeaveNoGdiObjectBehind) {
    auto strip = Picture(Strip({Blank(5, 4, 'z'), {"mbbcc", "deeff", "deemf", "ghhii"}}));
    TCanvasBitmap canvas = Canvas(24, 16);
    auto cycle = [&] {
        HDC dc = canvas.DC();
        DrawElement(dc, {1, 1, 20, 12}, *strip, false, false, false, 2, 2, kNineMargins);
        DrawElement(dc, {1, 1, 20, 12}, *strip, false, true, true, 2, 2, kNineMargins);
        UniqueBitmap built = BuildElementBitmap({0, 0, 9, 7}, *strip, kNineMargins, false, true, 2, 2);
        for (TTransparentMethod method : kMethods) {
            DrawTransparent(dc, {0, 0, 9, 7}, built.get(), kElementKeyColour, method);
            DrawTransparent(dc, {2, 2, 7, 6}, *strip, kElementKeyColour, method);
        }
        DrawFrameStretched(dc, {0, 0, 7, 3}, *strip, true, 2, 1);
        DrawFrameCentred(dc, {0, 0, 7, 3}, *strip, true, 2, 2);
        DrawFrameCentred(dc, {0, 0, 7, 3}, *strip, false, 2, 2);
        DrawThreePart(dc, {0, 0, 12, 3}, *strip, false, 2, 2, kNineMargins);
        DrawHorizontalTiled(*canvas.bitmap->Canvas(), {0, 0, 23, 5}, *strip, false, true, 2, 2, kNineMargins);
        TileBitmap(*canvas.bitmap->Canvas(), {0, 0, 23, 5}, *strip, {1, 1, 3, 3});
        GradientFill(dc, {0, 0, 10, 10}, 0x102030, true, clBtnFace);
        RECT text{0, 0, 20, 10};
        DrawTextAuto(dc, L"ab", text, DT_SINGLELINE, false);
    };
    cycle();  // first-use allocations of the system itself
    const long before = LiveGdiObjects();
    for (int i = 0; i < 2000; ++i) cycle();
    EXPECT_EQ(before, LiveGdiObjects());
}

}  // namespace
