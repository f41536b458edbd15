#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/Exception.h"
#include "core/SystemColours.h"
#include "skin/data/BitmapEffects.h"

namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kBlack = 0;
constexpr TColor kButtonFace = TColor(0x8000000F);

// Every pixel a different colour, so any misplaced pixel shows.
TPixelImage Numbered(int width, int height) {
    TPixelImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.View().SetPixel(x, y, MakeColour(x, y, 7 * x + 13 * y + 1));
    return image;
}

}  // namespace

TEST(SystemColours, ResolveReferencesAndPassPlainColoursThrough) {
    EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
    EXPECT_EQ(ColorToRGB(0), 0);
    EXPECT_GE(ColorToRGB(kButtonFace), 0);
    EXPECT_EQ(ColorToRGB(kButtonFace) & ~0xFFFFFF, 0);
    EXPECT_EQ(ColorToRGB(TColor(0x800000FF)), 0) << "unknown index";
#ifndef _WIN32
    EXPECT_EQ(ColorToRGB(kButtonFace), MakeColour(212, 208, 200));
    EXPECT_EQ(ColorToRGB(TColor(0x80000005)), kWhite) << "window";
    EXPECT_EQ(ColorToRGB(TColor(0x8000001E)), MakeColour(212, 208, 200)) << "menu bar, the last index";
    EXPECT_EQ(ColorToRGB(TColor(0x8000001F)), 0) << "one past the table";
#endif
}

TEST(MixColours, WeightIsPercentBelow100AndPerMilleFrom100) {
    struct Row {
        const char* name;
        TColor c1, c2;
        int weight;
        TColor expected;
    } rows[] = {
        {"15 % grey into white", 0x808080, kWhite, 150, 0xECECEC},
        {"half black half white rounds up", kBlack, kWhite, 50, 0x808080},
        {"100 means 10 %, not all of c1", kBlack, kWhite, 100, 0xE6E6E6},
        {"99 is still a percentage", kWhite, kBlack, 99, 0xFCFCFC},
        {"weight 0 gives c2", 0x123456, 0x654321, 0, 0x654321},
        {"weight 1000 gives c1", 0x123456, 0x654321, 1000, 0x123456},
        {"channels mix separately", MakeColour(255, 0, 0), MakeColour(0, 0, 255), 50, MakeColour(128, 0, 128)},
        {"toolbar bottom of the shipped skin", MakeColour(0, 85, 229), kWhite, 45, MakeColour(140, 179, 243)},
        {"toolbar top of the shipped skin", MakeColour(236, 233, 216), kWhite, 150, MakeColour(252, 252, 249)},
        {"weight above 1000 stays at c1", kBlack, kWhite, 1500, kBlack},
        {"negative weight stays at c2", kBlack, kWhite, -20, kWhite},
    };
    for (const auto& r : rows) EXPECT_EQ(MixColours(r.c1, r.c2, r.weight), r.expected) << r.name;
}

TEST(MixColours, ResolvesSystemColours) {
    EXPECT_EQ(MixColours(kButtonFace, kButtonFace, 37), ColorToRGB(kButtonFace));
    EXPECT_EQ(MixColours(kBlack, kButtonFace, 0), ColorToRGB(kButtonFace));
}

TEST(Saturation255, ScaledSaturationOr200ForDarkColours) {
    struct Row {
        const char* name;
        TColor colour;
        int expected;
    } rows[] = {
        {"pure red", 0x0000FF, 255},
        {"no channel reaches 160", MakeColour(100, 50, 50), 200},
        {"black counts as dark", kBlack, 200},
        {"159 is still dark", MakeColour(159, 0, 0), 200},
        {"160 is bright", MakeColour(160, 0, 0), 255},
        {"white has none", kWhite, 0},
        {"frame colour of the shipped skin", MakeColour(0, 85, 229), 255},
        {"127.5 rounds to even 128", MakeColour(160, 80, 80), 128},
        {"1.5 rounds to even 2", MakeColour(170, 169, 169), 2},
        {"4.5 rounds to even 4", MakeColour(170, 167, 167), 4},
        {"below half rounds down", MakeColour(200, 199, 199), 1},
    };
    for (const auto& r : rows) EXPECT_EQ(Saturation255(r.colour), r.expected) << r.name;
    EXPECT_EQ(Saturation255(kButtonFace), Saturation255(ColorToRGB(kButtonFace)));
}

TEST(GradientColours, RampEntries) {
    struct Row {
        const char* name;
        int count;
        TColor c1, c2;
        std::vector<TColor> expected;
    } rows[] = {
        {"one entry is the midpoint", 1, kBlack, kWhite, {0x7F7F7F}},
        {"falling midpoint truncates toward c1", 1, MakeColour(201, 0, 0), MakeColour(100, 0, 0),
         {MakeColour(151, 0, 0)}},
        {"two entries are the ends", 2, MakeColour(10, 20, 30), MakeColour(40, 50, 60),
         {MakeColour(10, 20, 30), MakeColour(40, 50, 60)}},
        {"rising ramp reaches c2", 3, kBlack, MakeColour(255, 0, 0),
         {kBlack, MakeColour(128, 0, 0), MakeColour(255, 0, 0)}},
        {"falling ramp stops one above c2", 3, MakeColour(255, 0, 0), kBlack,
         {MakeColour(255, 0, 0), MakeColour(128, 0, 0), MakeColour(1, 0, 0)}},
    };
    for (const auto& r : rows) {
        TGradientCache cache;
        const int slot = cache.GradientColours(r.count, r.c1, r.c2);
        const auto ramp = cache.Ramp(slot);
        EXPECT_EQ(std::vector<TColor>(ramp.begin(), ramp.end()), r.expected) << r.name;
    }
}

TEST(GradientColours, FallingRedOverTenEndsAt101) {
    TGradientCache cache;
    const auto ramp = cache.Ramp(cache.GradientColours(10, MakeColour(200, 0, 0), MakeColour(100, 0, 0)));
    ASSERT_EQ(ramp.size(), 10u);
    EXPECT_EQ(ramp.front(), MakeColour(200, 0, 0));
    EXPECT_EQ(ramp.back(), MakeColour(101, 0, 0));
}

TEST(GradientColours, ToolbarRampOfTheShippedSkin) {
    TGradientCache cache;
    const auto ramp = cache.Ramp(cache.GradientColours(40, MakeColour(252, 252, 249), MakeColour(140, 179, 243)));
    EXPECT_EQ(ramp.back(), MakeColour(141, 180, 244));
}

TEST(GradientColours, CacheHitsMissesAndOverwriteOrder) {
    TGradientCache cache;
    // Sixteen rising ramps fill the slots in order.
    for (int n = 2; n < 18; ++n) EXPECT_EQ(cache.GradientColours(n, kBlack, kWhite), n - 2);
    EXPECT_EQ(cache.GradientColours(5, kBlack, kWhite), 3) << "hit";
    EXPECT_EQ(cache.GradientColours(5, kBlack, MakeColour(1, 1, 1)), 0) << "17th ramp overwrites slot 0";
    EXPECT_EQ(cache.GradientColours(2, kBlack, kWhite), 1) << "the evicted ramp misses and takes the next slot";
    EXPECT_EQ(cache.GradientColours(5, kBlack, kWhite), 3) << "untouched slots still hit";
}

TEST(GradientColours, FallingRampsAreNeverFoundAgain) {
    TGradientCache cache;
    const TColor from = MakeColour(200, 0, 0), to = MakeColour(100, 0, 0);
    EXPECT_EQ(cache.GradientColours(10, from, to), 0);
    EXPECT_EQ(cache.GradientColours(10, from, to), 1) << "its last entry is 101, so it misses";
    // Both slots now hold 200..101; the search from slot 15 down finds slot 1.
    EXPECT_EQ(cache.GradientColours(10, from, MakeColour(101, 0, 0)), 1);
}

TEST(GradientColours, RefusesEmptyRampsAndHasOneProgramWideCache) {
    TGradientCache cache;
    EXPECT_THROW(cache.GradientColours(0, kBlack, kWhite), Exception);
    EXPECT_THROW(cache.GradientColours(-3, kBlack, kWhite), Exception);
    EXPECT_EQ(&GradientCache(), &GradientCache());
}

TEST(ToGrayscale, AverageOfTheChannelsTruncated) {
    struct Row {
        const char* name;
        TColor colour;
        int grey;
    } rows[] = {
        {"plain average", MakeColour(10, 20, 33), 21},
        {"white stays white", kWhite, 255},
        {"764 / 3 truncates", MakeColour(255, 255, 254), 254},
        {"2 / 3 truncates to black", MakeColour(0, 0, 2), 0},
    };
    for (const auto& r : rows) {
        TPixelImage image(1, 1);
        image.View().SetPixel(0, 0, r.colour);
        ToGrayscale(image.View());
        EXPECT_EQ(image.View().Pixel(0, 0), MakeColour(r.grey, r.grey, r.grey)) << r.name;
    }
}

TEST(ReplaceMagenta, OnlyPureMagentaTakesTheColour) {
    struct Row {
        const char* name;
        TColor pixel;
        TColor expected;
    } rows[] = {
        {"pure magenta", 0xFF00FF, 0x336699},
        {"green 1 is not magenta", MakeColour(255, 1, 255), MakeColour(255, 1, 255)},
        {"red 254 is not magenta", MakeColour(254, 0, 255), MakeColour(254, 0, 255)},
        {"blue 254 is not magenta", MakeColour(255, 0, 254), MakeColour(255, 0, 254)},
        {"other colours stay", 0x123456, 0x123456},
    };
    for (const auto& r : rows) {
        TPixelImage image(1, 1);
        image.View().SetPixel(0, 0, r.pixel);
        ReplaceMagenta(image.View(), 0x336699);
        EXPECT_EQ(image.View().Pixel(0, 0), r.expected) << r.name;
    }
    TPixelImage image(1, 1);
    image.View().SetPixel(0, 0, 0xFF00FF);
    ReplaceMagenta(image.View(), kButtonFace);
    EXPECT_EQ(image.View().Pixel(0, 0), ColorToRGB(kButtonFace)) << "system colour resolved, not its bytes";
}

TEST(MirrorAndFlip, EveryPixelLandsOppositeForOddAndEvenSizes) {
    for (int size = 1; size <= 4; ++size) {
        const TPixelImage original = Numbered(size, size + 1);
        TPixelImage mirrored = original, flipped = original;
        MirrorHorizontal(mirrored.View());
        FlipVertical(flipped.View());
        for (int y = 0; y < original.Height(); ++y)
            for (int x = 0; x < original.Width(); ++x) {
                EXPECT_EQ(mirrored.View().Pixel(x, y), original.View().Pixel(size - 1 - x, y)) << size;
                EXPECT_EQ(flipped.View().Pixel(x, y), original.View().Pixel(x, size - y)) << size;
            }
    }
}

TEST(MirrorAndFlip, LeaveRowPaddingAloneAndWorkOnBottomUpRows) {
    // A bottom-up 2 x 2 DIB whose padding bytes hold a sentinel.
    std::vector<std::uint8_t> bits(16, 0xAB);
    auto view = TPixelView::FromDib(bits.data(), 2, 2);
    view.SetPixel(0, 0, 0x010203);
    view.SetPixel(1, 0, 0x040506);
    view.SetPixel(0, 1, 0x070809);
    view.SetPixel(1, 1, 0x0A0B0C);
    MirrorHorizontal(view);
    FlipVertical(view);
    EXPECT_EQ(view.Pixel(0, 0), 0x0A0B0C);
    EXPECT_EQ(view.Pixel(1, 1), 0x010203);
    ToGrayscale(view);
    ReplaceMagenta(view, 0);
    for (int i : {6, 7, 14, 15}) EXPECT_EQ(bits[i], 0xAB) << "padding byte " << i;
}

TEST(Rotate, CornersOfANonSquareImage) {
    // 3 wide, 2 high.
    const TPixelImage original = Numbered(3, 2);
    const auto o = original.View();
    const TPixelImage left = RotateLeft(o);
    ASSERT_EQ(left.Width(), 2);
    ASSERT_EQ(left.Height(), 3);
    EXPECT_EQ(left.View().Pixel(0, 0), o.Pixel(2, 0)) << "top-right becomes top-left";
    EXPECT_EQ(left.View().Pixel(0, 2), o.Pixel(0, 0)) << "top-left becomes bottom-left";
    EXPECT_EQ(left.View().Pixel(1, 2), o.Pixel(0, 1)) << "bottom-left becomes bottom-right";
    EXPECT_EQ(left.View().Pixel(1, 0), o.Pixel(2, 1)) << "bottom-right becomes top-right";

    const TPixelImage right = RotateRight(o);
    ASSERT_EQ(right.Width(), 2);
    ASSERT_EQ(right.Height(), 3);
    EXPECT_EQ(right.View().Pixel(1, 0), o.Pixel(0, 0)) << "top-left becomes top-right";
    EXPECT_EQ(right.View().Pixel(1, 2), o.Pixel(2, 0)) << "top-right becomes bottom-right";
    EXPECT_EQ(right.View().Pixel(0, 2), o.Pixel(2, 1)) << "bottom-right becomes bottom-left";
    EXPECT_EQ(right.View().Pixel(0, 0), o.Pixel(0, 1)) << "bottom-left becomes top-left";
    EXPECT_EQ(right.View().Pixel(0, 1), o.Pixel(1, 1));
}

TEST(Rotate, OneWayUndoesTheOther) {
    for (auto [w, h] : {std::pair{1, 1}, {1, 5}, {5, 1}, {3, 2}, {4, 7}}) {
        const TPixelImage original = Numbered(w, h);
        EXPECT_EQ(RotateRight(RotateLeft(original.View()).View()), original) << w << "x" << h;
        EXPECT_EQ(RotateLeft(RotateRight(original.View()).View()), original) << w << "x" << h;
        TPixelImage turned = original;
        for (int i = 0; i < 4; ++i) turned = RotateLeft(turned.View());
        EXPECT_EQ(turned, original) << w << "x" << h;
    }
}

TEST(Rotate, ReadsBottomUpViewsLikeTopDownOnes) {
    const TPixelImage original = Numbered(3, 2);
    std::vector<std::uint8_t> bits(2 * DibStride(3, 24));
    auto dib = TPixelView::FromDib(bits.data(), 3, 2);
    CopyPixels(original.View(), dib);
    EXPECT_EQ(RotateLeft(dib), RotateLeft(original.View()));
    EXPECT_EQ(RotateRight(dib), RotateRight(original.View()));
    EXPECT_TRUE(RotateLeft(TPixelImage(0, 3).View()).Empty());
}
