#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "LZHTestData.h"
#include "skin/data/LZH.h"
#include "tools/skinpack/ArchiveWriter.h"
#include "tools/skinpack/Commands.h"
#include "tools/skinpack/LZHEncoder.h"

namespace fs = std::filesystem;
using lzhtest::Bytes;

namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result Skinpack(std::vector<fs::path> args) {
    std::ostringstream out, err;
    const int code = RunSkinpack(args, out, err);
    return {code, out.str(), err.str()};
}

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

void Put(const fs::path& p, const Bytes& bytes) {
    std::ofstream f(p, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Get(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

// The stored name list of a packed skin, straight from the archive bytes.
std::string StoredList(const fs::path& skin) {
    const Bytes archive = TLZH::Decode(Get(skin));
    const std::size_t length = archive[4] | archive[5] << 8;
    return std::string(archive.begin() + 16, archive.begin() + 16 + static_cast<std::ptrdiff_t>(length));
}

class SkinpackCommands : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = fs::temp_directory_path() /
                (std::string("skinpack_") + info->name() + "_" + std::to_string(std::random_device()()));
        fs::create_directories(root_ / "skin");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    fs::path Dir() const { return root_ / "skin"; }
    fs::path At(const fs::path& p) const { return root_ / p; }

    fs::path root_;
};

}  // namespace

TEST_F(SkinpackCommands, CompressAndDecompressFiles) {
    const Bytes raw = lzhtest::BitmapLike(20000, 1);
    Put(At("raw"), raw);
    EXPECT_EQ(Skinpack({"compress", At("raw"), At("packed")}).code, 0);
    EXPECT_LT(Get(At("packed")).size(), raw.size());
    EXPECT_EQ(Skinpack({"decompress", At("packed"), At("back")}).code, 0);
    EXPECT_TRUE(Get(At("back")) == raw);
    Put(At("empty"), {});
    EXPECT_EQ(Skinpack({"compress", At("empty"), At("empty.lzh")}).code, 0);
    EXPECT_EQ(Get(At("empty.lzh")), (Bytes{0, 0, 0, 0}));
}

TEST_F(SkinpackCommands, PackOrdersByLowerCasedNameAndKeepsSpelling) {
    Put(Dir() / "b.bmp", B("bb"));
    Put(Dir() / "Luna-Blue.INI", B("[Form]"));
    Put(Dir() / "A.bmp", B("a"));
    Put(Dir() / "_x.bmp", B("x"));
    const Result r = Skinpack({"pack", Dir(), At("out.skin")});
    ASSERT_EQ(r.code, 0) << r.err;
    // '_' (0x5F) sorts after 'A' but before 'a': the comparison is on lower case.
    EXPECT_EQ(StoredList(At("out.skin")), "_x.bmp\r\nA.bmp\r\nb.bmp\r\nLuna-Blue.INI");
    const Result l = Skinpack({"list", At("out.skin")});
    EXPECT_EQ(l.code, 0);
    EXPECT_EQ(l.out, "_x.bmp\t1\na.bmp\t1\nb.bmp\t2\nluna-blue.ini\t6\n");
}

TEST_F(SkinpackCommands, PackWithNamesTakesExactlyThoseInOrder) {
    Put(Dir() / "a.bmp", B("a"));
    Put(Dir() / "main.ini", B("m"));
    Put(Dir() / "extra.ini", B("e"));
    Put(Dir() / "unused.bmp", B("u"));
    const Result r = Skinpack({"pack", Dir(), At("out.skin"), "main.ini", "extra.ini", "a.bmp"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Skinpack({"list", At("out.skin")}).out, "main.ini\t1\nextra.ini\t1\na.bmp\t1\n");
}

TEST_F(SkinpackCommands, PackRefusals) {
    struct Row {
        const char* name;
        std::vector<std::string> files;
        std::vector<fs::path> names;
        const char* message;
        bool subFolder = false;
    } rows[] = {
        {"no definition file", {"a.bmp"}, {}, "\".ini\""},
        {"empty folder", {}, {}, "\".ini\""},
        {"several definition files, no order given", {"a.ini", "b.ini", "c.bmp"}, {}, "give the order"},
        {"missing NAME", {"a.ini"}, {"a.ini", "gone.bmp"}, "no such file"},
        {"NAME with a folder part", {"a.ini"}, {fs::path("..") / "skin" / "a.ini"}, "not a path"},
        {"sub-folder", {"a.ini"}, {}, "sub-folder", true},
        {"NAME naming a sub-folder", {"a.ini"}, {"a.ini", "sub"}, "sub-folder", true},
#ifndef _WIN32
        {"name with a line break", {"a.ini", "b\nc.bmp"}, {}, "line break"},
#endif
    };
    for (const auto& r : rows) {
        fs::remove_all(Dir());
        fs::create_directories(Dir());
        for (const auto& f : r.files) Put(Dir() / f, B("x"));
        if (r.subFolder) fs::create_directories(Dir() / "sub");
        std::vector<fs::path> args = {"pack", Dir(), At("out.skin")};
        args.insert(args.end(), r.names.begin(), r.names.end());
        const Result res = Skinpack(args);
        EXPECT_EQ(res.code, 1) << r.name;
        EXPECT_EQ(res.err.rfind("skinpack: ", 0), 0u) << r.name;
        EXPECT_NE(res.err.find(r.message), std::string::npos) << r.name << ": " << res.err;
        EXPECT_FALSE(fs::exists(At("out.skin"))) << r.name;
    }
}

TEST_F(SkinpackCommands, PackRefusesMoreThan1001Files) {
    Put(Dir() / "skin.ini", B("x"));
    for (int i = 0; i < 1001; ++i) Put(Dir() / (std::string("f").append(std::to_string(i)) + ".bmp"), {});
    const Result r = Skinpack({"pack", Dir(), At("out.skin")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("1002 files"), std::string::npos) << r.err;
    fs::remove(Dir() / "f0.bmp");
    EXPECT_EQ(Skinpack({"pack", Dir(), At("out.skin")}).code, 0);
    const std::string listing = Skinpack({"list", At("out.skin")}).out;
    EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 1001);
}

#ifndef _WIN32
TEST_F(SkinpackCommands, PackRefusesAFileOver2GiBWithoutReadingIt) {
    Put(Dir() / "skin.ini", B("x"));
    { std::ofstream(Dir() / "huge.bmp"); }
    fs::resize_file(Dir() / "huge.bmp", (std::uintmax_t(1) << 31));  // sparse
    const Result r = Skinpack({"pack", Dir(), At("out.skin")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("larger than 2 GiB"), std::string::npos) << r.err;
    const Result c = Skinpack({"compress", Dir() / "huge.bmp", At("out.lzh")});
    EXPECT_EQ(c.code, 1);
    EXPECT_NE(c.err.find("uncompressed size"), std::string::npos) << c.err;
}
#endif

TEST_F(SkinpackCommands, UnpackSkipsUnsafeAndDuplicateNames) {
    const std::vector<TArchiveEntry> entries = {
        {"Skin.ini", B("ini")}, {"", B("empty")},      {".", B("dot")},     {"..", B("dotdot")},
        {"../evil", B("up")},   {"a/b", B("slash")},   {"a\\b", B("back")}, {"c:d", B("colon")},
        {"tab\tname", B("c")},  {"SKIN.INI", B("dup")}, {"ok.bmp", B("ok")},
    };
    Put(At("in.skin"), LZHEncode(WriteArchive(entries)));
    const fs::path out = At("deep") / "er" / "out";
    const Result r = Skinpack({"unpack", At("in.skin"), out});
    EXPECT_EQ(r.code, 0) << r.err;
    std::vector<std::string> written;
    for (const auto& e : fs::directory_iterator(out)) written.push_back(e.path().filename().string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"ok.bmp", "skin.ini"}));
    EXPECT_EQ(Get(out / "skin.ini"), B("ini"));
    EXPECT_FALSE(fs::exists(At("deep") / "er" / "evil"));
    std::size_t warnings = 0;
    for (std::size_t at = 0; (at = r.err.find("skinpack: skipping ", at)) != std::string::npos; ++at) ++warnings;
    EXPECT_EQ(warnings, 9u) << r.err;
    EXPECT_NE(r.err.find("\"tab\\x09name\""), std::string::npos) << r.err;
}

#ifndef _WIN32
TEST_F(SkinpackCommands, UnpackNeverFollowsALinkOutOfTheFolder) {
    Put(At("in.skin"), LZHEncode(WriteArchive({{"a.ini", B("new")}})));
    fs::create_directories(At("out"));
    Put(At("victim"), B("old"));
    fs::create_symlink(At("victim"), At("out") / "a.ini");
    const Result r = Skinpack({"unpack", At("in.skin"), At("out")});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << r.err;
    EXPECT_EQ(Get(At("victim")), B("old"));
}
#endif

TEST_F(SkinpackCommands, RefusedSkinsExitOneWithTheirText) {
    Bytes older;
    for (auto b : {0x1F, 0x4E, 0, 0}) older.push_back(static_cast<std::uint8_t>(b));
    older.resize(16);
    Put(At("older.skin"), LZHEncode(older));
    Put(At("huge.skin"), Bytes{0x00, 0x00, 0x00, 0x10, 0x00});
    Put(At("garbage.skin"), lzhtest::RandomBytes(3000, 5));
    struct Row {
        const char* name;
        std::vector<fs::path> args;
        std::string message;
    } rows[] = {
        {"wrong version, list", {"list", At("older.skin")},
         "skinpack: " + At("older.skin").string() +
             ": This is Older Skin File / Please update to new version !\n"},
        {"wrong version, unpack", {"unpack", At("older.skin"), At("o")}, "Please update"},
        {"size bound, list", {"list", At("huge.skin")}, "uncompressed size"},
        {"size bound, unpack", {"unpack", At("huge.skin"), At("o")}, "uncompressed size"},
        {"size bound, decompress", {"decompress", At("huge.skin"), At("o")}, "uncompressed size"},
        {"missing input", {"list", At("nothing.skin")}, "cannot open"},
        {"folder as input", {"compress", Dir(), At("o")}, "is a folder"},
        {"garbage", {"list", At("garbage.skin")}, "skinpack: "},
    };
    for (const auto& r : rows) {
        const Result res = Skinpack(r.args);
        EXPECT_EQ(res.code, 1) << r.name;
        EXPECT_NE(res.err.find(r.message), std::string::npos) << r.name << ": " << res.err;
        EXPECT_EQ(res.out, "") << r.name;
    }
}

TEST_F(SkinpackCommands, UsageErrorsExitTwo) {
    struct Row {
        const char* name;
        std::vector<fs::path> args;
    } rows[] = {
        {"nothing", {}},
        {"unknown verb", {"pak", "a", "b"}},
        {"compress with one operand", {"compress", "a"}},
        {"decompress with three", {"decompress", "a", "b", "c"}},
        {"pack with one", {"pack", "a"}},
        {"unpack with one", {"unpack", "a"}},
        {"list with two", {"list", "a", "b"}},
    };
    for (const auto& r : rows) {
        const Result res = Skinpack(r.args);
        EXPECT_EQ(res.code, 2) << r.name;
        EXPECT_NE(res.err.find("usage: skinpack"), std::string::npos) << r.name;
    }
}

TEST_F(SkinpackCommands, UnicodePaths) {
    const fs::path dir = At(fs::path(u8"皮肤 \u00e9"));
    fs::create_directories(dir);
    Put(dir / "skin.ini", B("[Form]"));
    const fs::path skin = At(fs::path(u8"输出.skin"));
    ASSERT_EQ(Skinpack({"pack", dir, skin}).code, 0);
    const fs::path out = At(fs::path(u8"解包"));
    EXPECT_EQ(Skinpack({"unpack", skin, out}).code, 0);
    EXPECT_EQ(Get(out / "skin.ini"), B("[Form]"));

    // A name no ANSI code page holds: stored as its bytes natively, refused on Windows.
    Put(dir / fs::path(u8"\U0001F600.bmp"), B("x"));
    const Result r = Skinpack({"pack", dir, skin});
#ifdef _WIN32
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("ANSI code page"), std::string::npos) << r.err;
#else
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Skinpack({"list", skin}).out, "skin.ini\t6\n\xF0\x9F\x98\x80.bmp\t1\n");
#endif
}

TEST_F(SkinpackCommands, MalformedSkinsNeverCrash) {
    std::mt19937 rng(99);
    const Bytes valid = LZHEncode(WriteArchive({{"a.ini", B("abc")}, {"b.bmp", lzhtest::BitmapLike(500, 1)}}));
    for (int n = 0; n < 200; ++n) {
        Bytes b = valid;
        for (int k = 0; k < 3; ++k) b[rng() % b.size()] ^= static_cast<std::uint8_t>(1 << (rng() % 8));
        if (n % 3 == 0) b.resize(rng() % b.size());
        Put(At("m.skin"), b);
        const Result l = Skinpack({"list", At("m.skin")});
        EXPECT_TRUE(l.code == 0 || l.code == 1);
        const Result u = Skinpack({"unpack", At("m.skin"), At("m")});
        EXPECT_TRUE(u.code == 0 || u.code == 1);
        fs::remove_all(At("m"));
    }
}

TEST_F(SkinpackCommands, UnpackSkipsNamesWindowsCannotCreate) {
    Put(At("in.skin"), LZHEncode(WriteArchive({{"con.bmp", B("1")}, {"lpt1", B("2")}, {"q?.bmp", B("3")},
                                                {"dot.", B("4")}, {"ok.ini", B("5")}})));
    const Result r = Skinpack({"unpack", At("in.skin"), At("out")});
    EXPECT_EQ(r.code, 0) << r.err;
    std::size_t files = 0;
    for (const auto& e : fs::directory_iterator(At("out"))) files += e.is_regular_file();
#ifdef _WIN32
    EXPECT_EQ(files, 1u);
    EXPECT_EQ(Get(At("out") / "ok.ini"), B("5"));
#else
    EXPECT_EQ(files, 5u);
    EXPECT_EQ(r.err, "");
#endif
}
