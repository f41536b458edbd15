#include <gtest/gtest.h>

#include <climits>

#include "LZHTestData.h"
#include "core/ByteOrder.h"
#include "skin/data/LZH.h"
#include "skin/data/SkinReader.h"
#include "tools/skinpack/ArchiveWriter.h"
#include "tools/skinpack/LZHEncoder.h"

using namespace lzhtest;

namespace {

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }
std::string S(const TMemoryStream& m) { return std::string(m.Bytes().begin(), m.Bytes().end()); }

// An archive from its parts, for layouts the writer would never produce.
Bytes RawArchive(std::int32_t version, const std::string& list, std::vector<std::int32_t> sizes,
                 const std::string& data, std::int32_t listLength = INT32_MIN) {
    Bytes out;
    AppendLE32(out, static_cast<std::uint32_t>(version));
    AppendLE32(out, static_cast<std::uint32_t>(listLength != INT32_MIN ? listLength : static_cast<std::int32_t>(list.size())));
    AppendLE32(out, 0x12345678);  // reserved words hold anything
    AppendLE32(out, 0xDEADBEEF);
    out.insert(out.end(), list.begin(), list.end());
    for (auto s : sizes) AppendLE32(out, static_cast<std::uint32_t>(s));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

void Load(TSkinReader& r, const Bytes& archive) {
    EXPECT_TRUE(r.LoadArchive(LZHEncode(archive))) << r.RefusalText();
}

}  // namespace

TEST(SkinReaderSplit, NameListLines) {
    struct Row {
        const char* name;
        std::string text;
        std::vector<std::string> lines;
    } rows[] = {
        {"empty list", "", {}},
        {"one name without break", "a.bmp", {"a.bmp"}},
        {"final CR LF adds no name", "a\r\nb\r\n", {"a", "b"}},
        {"lone CR and lone LF", "a\rb\nc", {"a", "b", "c"}},
        {"empty middle line counts", "a\r\n\r\nb", {"a", "", "b"}},
        {"only a break is one empty name", "\r\n", {""}},
        {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
        {"two final breaks add one empty name", "a\r\n\r\n", {"a", ""}},
    };
    for (const auto& r : rows) EXPECT_EQ(SplitLines(B(r.text)), r.lines) << r.name;
    EXPECT_EQ(AsciiLower("Luna-BLUE.INI\xC4\xE3"), "luna-blue.ini\xC4\xE3");
}

TEST(SkinReader, LooksUpLowerCasedNamesFirstMatchWins) {
    const Bytes archive = WriteArchive({{"Buttons.BMP", B("BTN")},
                                        {"Luna-Blue.ini", B("[Form]")},
                                        {"buttons.bmp", B("second")},
                                        {"other.ini", B("x")}});
    TSkinReader r;
    Load(r, archive);
    EXPECT_EQ(r.Names(), (std::vector<std::string>{"buttons.bmp", "luna-blue.ini", "buttons.bmp", "other.ini"}));
    EXPECT_EQ(r.FileCount(), 4);
    EXPECT_EQ(r.Sizes(), (std::vector<std::int32_t>{3, 6, 6, 1}));
    EXPECT_EQ(S(r.FileData()), "BTN[Form]secondx");

    TMemoryStream m;
    EXPECT_TRUE(r.ExtractFile("Buttons.bmp", m));
    EXPECT_EQ(S(m), "BTN");
    EXPECT_EQ(m.Position(), 0u);

    std::string stored;
    EXPECT_TRUE(r.ExtractFileLike(".ini", m, stored));
    EXPECT_EQ(stored, "luna-blue.ini");
    EXPECT_EQ(S(m), "[Form]");

    // The fragment is not lower-cased, the stored names are.
    stored = "unchanged";
    EXPECT_FALSE(r.ExtractFileLike(".INI", m, stored));
    EXPECT_EQ(m.Size(), 0u);
    EXPECT_EQ(stored, "unchanged");

    m.WriteBuffer("old", 3);
    EXPECT_FALSE(r.ExtractFile("missing.bmp", m));
    EXPECT_EQ(m.Size(), 0u);
}

TEST(SkinReader, EmptyMiddleNameHasItsOwnSizeEntry) {
    TSkinReader r;
    Load(r, RawArchive(20000, "a.bmp\r\n\r\nb.bmp", {2, 3, 4}, "AAeeeBBBB"));
    ASSERT_EQ(r.FileCount(), 3);
    EXPECT_EQ(r.Names()[1], "");
    TMemoryStream m;
    EXPECT_TRUE(r.ExtractFile("", m));
    EXPECT_EQ(S(m), "eee");
    EXPECT_TRUE(r.ExtractFile("B.BMP", m));
    EXPECT_EQ(S(m), "BBBB");
}

TEST(SkinReader, WriterKeepsALastEmptyName) {
    TSkinReader r;
    Load(r, WriteArchive({{"a", B("1")}, {"", B("22")}}));
    EXPECT_EQ(r.Names(), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(r.Sizes(), (std::vector<std::int32_t>{1, 2}));
}

TEST(SkinReader, ThirtyFiveSkinFiles) {
    std::vector<TArchiveEntry> entries;
    for (int i = 0; i < 34; ++i)
        entries.push_back({"Bitmap" + std::to_string(i) + ".bmp", BitmapLike(1000 + 97 * i, i)});
    entries.push_back({"luna-blue.ini", Text(3383, 99)});
    const Bytes archive = WriteArchive(entries);
    TSkinReader r;
    Load(r, archive);
    ASSERT_EQ(r.FileCount(), 35);
    std::int64_t sum = 0;
    for (auto s : r.Sizes()) sum += s;
    EXPECT_EQ(sum, static_cast<std::int64_t>(r.FileData().Size()));
    TMemoryStream m;
    for (int i = 0; i < 35; ++i) {
        EXPECT_TRUE(r.ExtractFile(entries[i].name, m));
        EXPECT_TRUE(m.Bytes().size() == entries[i].data.size() &&
                    std::equal(m.Bytes().begin(), m.Bytes().end(), entries[i].data.begin()))
            << entries[i].name;
    }
}

TEST(SkinReader, TrailingBytesAfterTheFilesAreKeptButUnused) {
    TSkinReader r;
    Load(r, RawArchive(20000, "a", {2}, "xyTRAILING"));
    TMemoryStream m;
    EXPECT_TRUE(r.ExtractFile("a", m));
    EXPECT_EQ(S(m), "xy");
}

TEST(SkinReader, RefusedArchives) {
    std::string list1002;
    for (int i = 0; i < 1002; ++i) list1002 += std::string("f").append(std::to_string(i)) + "\r\n";
    std::string list1001;
    for (int i = 0; i < 1001; ++i) list1001 += std::string("f").append(std::to_string(i)) + "\r\n";
    struct Row {
        const char* name;
        Bytes archive;
        bool versionText;
    } rows[] = {
        {"version 19999", RawArchive(19999, "a", {1}, "x"), true},
        {"version 20001", RawArchive(20001, "a", {1}, "x"), true},
        {"empty archive", {}, true},
        {"header shorter than 16 bytes", {0x1F, 0x4E, 0, 0, 1, 0}, true},
        {"short header whose first bytes read as 20000", {0x20, 0x4E}, false},
        {"more than 1001 names", RawArchive(20000, list1002, std::vector<std::int32_t>(1002, 0), ""), false},
        {"negative size", RawArchive(20000, "a\r\nb", {1, -1}, "x"), false},
        {"negative name-list length", RawArchive(20000, "a", {1}, "x", -1000), false},
        {"name list past the data", RawArchive(20000, "a", {}, "", 50), false},
        {"size table past the data", RawArchive(20000, "a\r\nb", {1}, ""), false},
        {"sizes past the data area", RawArchive(20000, "a\r\nb", {1, 5}, "xyz"), false},
        {"sizes whose 32-bit sum wraps", RawArchive(20000, "a\r\nb\r\nc", {INT32_MAX, INT32_MAX, 3}, "xyz"), false},
    };
    for (const auto& r : rows) {
        TSkinReader reader;
        EXPECT_FALSE(reader.LoadDecompressed(r.archive)) << r.name;
        EXPECT_TRUE(reader.Refused()) << r.name;
        EXPECT_EQ(reader.VersionRefused(), r.versionText) << r.name << ": " << reader.RefusalText();
        EXPECT_EQ(reader.FileCount(), 0) << r.name;
        EXPECT_EQ(reader.FileData().Size(), 0u) << r.name;
        TMemoryStream m;
        std::string stored;
        EXPECT_FALSE(reader.ExtractFile("a", m)) << r.name;
        EXPECT_FALSE(reader.ExtractFileLike("", m, stored)) << r.name;
    }
    TSkinReader reader;
    EXPECT_TRUE(reader.LoadDecompressed(RawArchive(20000, list1001, std::vector<std::int32_t>(1001, 0), "")));
    EXPECT_EQ(reader.FileCount(), 1001);
    EXPECT_EQ(std::string(TSkinReader::kOlderSkinText),
              "This is Older Skin File\rPlease update to new version !");
}

TEST(SkinReader, RefusalClearsAnEarlierLoad) {
    TSkinReader r;
    Load(r, WriteArchive({{"a", B("1")}}));
    EXPECT_FALSE(r.LoadArchive(LZHEncode(RawArchive(19999, "a", {1}, "x"))));
    EXPECT_EQ(r.RefusalText(), TSkinReader::kOlderSkinText);
    TMemoryStream m;
    EXPECT_FALSE(r.ExtractFile("a", m));
}

TEST(SkinReader, CompressedStreamEdgeCases) {
    TSkinReader r;
    // Size 0: nothing decoded, so the version test fails.
    EXPECT_FALSE(r.LoadArchive(Bytes{0, 0, 0, 0}));
    EXPECT_TRUE(r.VersionRefused());
    TMemoryStream in;
    const Bytes packed = LZHEncode(WriteArchive({{"x.ini", B("k=v")}}));
    in.WriteBuffer(packed.data(), packed.size());
    EXPECT_TRUE(r.LoadArchive(in));
    EXPECT_EQ(r.Names(), std::vector<std::string>{"x.ini"});
    EXPECT_THROW(r.LoadArchive(Bytes{0xFF, 0xFF, 0xFF, 0x0F, 1, 2, 3}), ElzhException);
}
