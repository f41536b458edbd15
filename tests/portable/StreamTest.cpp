#include <gtest/gtest.h>

#include "core/Stream.h"

TEST(MemoryStream, WriteReadAndShortReads) {
    TMemoryStream s;
    const char text[] = "abcdef";
    s.WriteBuffer(text, 6);
    EXPECT_EQ(s.Size(), 6u);
    EXPECT_EQ(s.Position(), 6u);
    s.Rewind();
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 4), 4u);
    EXPECT_EQ(std::string(buf, 4), "abcd");
    EXPECT_EQ(s.Read(buf, 8), 2u);
    EXPECT_EQ(s.Read(buf, 8), 0u);
    s.SetPosition(100);  // past the end: reads nothing, writes extend with zeros
    EXPECT_EQ(s.Read(buf, 1), 0u);
    s.WriteBuffer("z", 1);
    EXPECT_EQ(s.Size(), 101u);
    EXPECT_EQ(s.Memory()[50], 0);
    s.SetPosition(98);
    EXPECT_THROW(s.ReadBuffer(buf, 8), EReadError);
}

TEST(MemoryStream, SetSizeClampsPositionAndCopyFromTakesWholeSource) {
    TMemoryStream a;
    a.WriteBuffer("0123456789", 10);
    a.SetSize(4);
    EXPECT_EQ(a.Position(), 4u);
    TMemoryStream b;
    b.CopyFrom(a, 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.Memory()), b.Size()), "0123");
}
