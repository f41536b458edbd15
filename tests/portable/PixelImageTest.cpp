#include <gtest/gtest.h>

#include <vector>

#include "core/Exception.h"
#include "core/PixelImage.h"

TEST(DibStride, RowsArePaddedToWholeDwords) {
    struct Row {
        const char* name;
        int width, bitsPerPixel;
        std::size_t stride;
    } rows[] = {
        {"empty row", 0, 24, 0},
        {"one 24-bit pixel pads 3 to 4", 1, 24, 4},
        {"two 24-bit pixels pad 6 to 8", 2, 24, 8},
        {"four 24-bit pixels fill 12 exactly", 4, 24, 12},
        {"one bit still takes a dword", 1, 1, 4},
        {"33 bits spill into a second dword", 33, 1, 8},
        {"nine nibbles are 5 bytes, padded to 8", 9, 4, 8},
        {"three 8-bit pixels pad to 4", 3, 8, 4},
        {"three 16-bit pixels pad 6 to 8", 3, 16, 8},
        {"32-bit rows never pad", 3, 32, 12},
    };
    for (const auto& r : rows) EXPECT_EQ(DibStride(r.width, r.bitsPerPixel), r.stride) << r.name;
}

TEST(PixelView, BottomUpDibRowsAreAddressedFromTheTop) {
    // Two rows of two pixels, stored bottom row first as a DIB does.
    std::vector<std::uint8_t> bits(2 * 8, 0);
    auto view = TPixelView::FromDib(bits.data(), 2, 2);
    view.SetPixel(1, 0, MakeColour(10, 20, 30));  // top row, right pixel
    EXPECT_EQ(bits[8 + 3], 30);  // blue first, in the second stored row
    EXPECT_EQ(bits[8 + 5], 10);
    EXPECT_EQ(view.Row(1).data(), bits.data());
    EXPECT_EQ(view.Pixel(1, 0), MakeColour(10, 20, 30));

    auto topDown = TPixelView::FromDib(bits.data(), 2, -2);
    EXPECT_EQ(topDown.Height(), 2);
    EXPECT_EQ(topDown.Row(0).data(), bits.data());
    EXPECT_EQ(topDown.Pixel(1, 1), MakeColour(10, 20, 30));
}

TEST(PixelImage, StartsBlackWithPaddedRowsAndComparesByPicture) {
    TPixelImage a(3, 2), b(3, 2);
    EXPECT_EQ(a.Stride(), 12u);
    EXPECT_EQ(a.Bytes().size(), 24u);
    EXPECT_EQ(a, b);
    b.View().SetPixel(2, 1, MakeColour(1, 2, 3));
    EXPECT_NE(a, b);
    CopyPixels(b.View(), a.View());
    EXPECT_EQ(a, b);
    EXPECT_TRUE(SamePixels(a.View(), b.View()));
    EXPECT_FALSE(SamePixels(a.View(), TPixelImage(2, 3).View()));
    EXPECT_THROW(CopyPixels(a.View(), TPixelImage(2, 3).View()), Exception);
    EXPECT_THROW(TPixelImage(-1, 2), Exception);
    EXPECT_TRUE(TPixelImage(0, 5).Empty());
}
