// The skin Quellory ships, as the generator draws it: the archive the build
// packs, each picture against the file table, the definition's structure,
// the frame layouts the engine cuts, transparency, the program resources,
// the layout embedding and the contact sheet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/BitmapFile.h"
#include "core/LayoutText.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinReader.h"
#include "tools/skingen/LayoutEmbed.h"
#include "tools/skingen/SkinArt.h"
#include "tools/skingen/SkinFiles.h"
#include "tools/skinpack/ArchiveWriter.h"
#include "tools/skinpack/LZHEncoder.h"
#include "tools/skinsheet/ContactSheet.h"
#include "tools/skinsheet/FrameRules.h"

namespace {

struct TTableRow {
    const char* name;
    int width;
    int height;
    int bitsPerPixel;
};

// The file table of the shipped skin, in archive order.
const TTableRow kTable[] = {
    {"buttons.bmp", 100, 23, 24},        {"checkbox.bmp", 156, 13, 24},       {"radiobutton.bmp", 104, 13, 24},
    {"progress.bmp", 9, 19, 24},         {"progresschunk.bmp", 10, 12, 24},   {"tab.bmp", 90, 18, 24},
    {"tabsheet.bmp", 48, 48, 24},        {"comboboxbtn.bmp", 60, 16, 24},     {"statusbar.bmp", 204, 21, 24},
    {"header.bmp", 72, 18, 24},          {"scrollbararrow.bmp", 391, 17, 32}, {"scrollbarhthumb.bmp", 88, 15, 24},
    {"scrollbarvthumb.bmp", 60, 22, 24}, {"scrollbarhbar.bmp", 68, 17, 24},   {"scrollbarvbar.bmp", 68, 17, 24},
    {"menubackground.bmp", 20, 20, 32},  {"menuitem.bmp", 100, 18, 32},       {"extraimages.bmp", 80, 17, 24},
    {"trackthumbh.bmp", 55, 21, 24},     {"trackbot.bmp", 55, 21, 24},        {"mdibutton.bmp", 156, 13, 24},
    {"spin.bmp", 120, 16, 24},           {"spinarrow.bmp", 56, 6, 8},         {"spinh.bmp", 120, 16, 24},
    {"spinharrow.bmp", 48, 7, 8},        {"closebutton.bmp", 126, 21, 24},    {"maxbutton.bmp", 126, 21, 24},
    {"minbutton.bmp", 126, 21, 24},      {"restrorebutton.bmp", 126, 21, 24}, {"frameleft.bmp", 8, 100, 24},
    {"frameright.bmp", 8, 100, 24},      {"frametop.bmp", 142, 58, 24},       {"framebottom.bmp", 142, 10, 24},
    {"mincaption.bmp", 66, 58, 24},
};

constexpr TColor kMagentaKey = MakeColour(255, 0, 255);

// Generated once: drawing and packing take a moment under the sanitizers.
const std::vector<TNamedFile>& SkinFiles() {
    static const std::vector<TNamedFile> files = BuildSkinFiles();
    return files;
}

const TNamedFile& SkinFile(const std::string& name) {
    const auto& files = SkinFiles();
    const auto it = std::find_if(files.begin(), files.end(), [&](const TNamedFile& f) { return f.name == name; });
    if (it == files.end()) throw std::runtime_error("no file " + name);
    return *it;
}

TBitmapFile Bitmap(const std::string& name) { return TBitmapFile::Decode(SkinFile(name).bytes); }

TPixelImage Pixels(const std::string& name) { return Bitmap(name).To24Bit(); }

TQuickIni Definition() {
    TQuickIni ini;
    ini.LoadFromText(SkinDefinitionText());
    return ini;
}

TEST(SkinGenArchive, PacksTheTableNamesInOrderAndReadsBack) {
    std::vector<TArchiveEntry> entries;
    for (const auto& f : SkinFiles()) entries.push_back({f.name, f.bytes});
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadArchive(LZHEncode(WriteArchive(entries))));
    ASSERT_EQ(reader.FileCount(), 35);
    for (int i = 0; i < 34; ++i) EXPECT_EQ(reader.Names()[i], kTable[i].name) << "file " << i;
    EXPECT_EQ(reader.Names()[34], "luna-blue.ini");
    TMemoryStream ini;
    std::string stored;
    ASSERT_TRUE(reader.ExtractFileLike(".ini", ini, stored));
    EXPECT_EQ(stored, "luna-blue.ini");
    for (int i = 0; i < reader.FileCount(); ++i) {
        const auto bytes = reader.FileBytes(i);
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), SkinFiles()[i].bytes.begin(), SkinFiles()[i].bytes.end()))
            << reader.Names()[i];
    }
}

TEST(SkinGenBitmaps, EachHasTheTableSizeDepthAndNaturalFileSize) {
    for (const auto& row : kTable) {
        SCOPED_TRACE(row.name);
        const TBitmapFile bitmap = Bitmap(row.name);
        EXPECT_EQ(bitmap.Width(), row.width);
        EXPECT_EQ(bitmap.Height(), row.height);
        EXPECT_EQ(bitmap.BitsPerPixel(), row.bitsPerPixel);
        // Headers, a full palette for indexed pictures, DWORD-aligned rows.
        const std::size_t palette = row.bitsPerPixel <= 8 ? 4u << row.bitsPerPixel : 0;
        EXPECT_EQ(SkinFile(row.name).bytes.size(), 54 + palette + DibStride(row.width, row.bitsPerPixel) * row.height);
    }
}

// Pictures that depend on something else are drawn from it, not copied: a
// drawing error would otherwise show up only on screen.
TEST(SkinGenBitmaps, FrameColourIsTheShippedBlueAtTheSampledPixel) {
    const TPixelImage top = Pixels("frametop.bmp");
    const int x = top.Width() / 3, y = (top.Height() / 2) / 3;
    EXPECT_EQ(top.View().Pixel(x, y), MakeColour(0, 85, 229));
    EXPECT_EQ(skinart::kFrameBlue, MakeColour(0, 85, 229));
}

struct TTransparencyCase {
    const char* name;
    int x;
    int y;
    bool magenta;
};

const TTransparencyCase kTransparency[] = {
    {"frametop.bmp", 0, 0, false},        // the left border holds the outermost corner pixels
    {"frameleft.bmp", 0, 0, true},        // rounded caption corner, active frame
    {"frameleft.bmp", 4, 0, true},        // ... and inactive frame
    {"frameright.bmp", 3, 0, true},
    {"frameright.bmp", 7, 0, true},
    {"frameleft.bmp", 0, 50, false},      // the border itself is solid
    {"closebutton.bmp", 0, 0, true},      // rounded button corners show the caption
    {"closebutton.bmp", 125, 20, true},
    {"closebutton.bmp", 10, 10, false},
    {"buttons.bmp", 0, 0, true},          // Trans=1 push button corners
    {"radiobutton.bmp", 0, 0, true},      // round radio buttons
    {"radiobutton.bmp", 6, 6, false},
    {"scrollbararrow.bmp", 0, 0, true},   // arrow button corners
    {"scrollbararrow.bmp", 16 * 17, 0, true},  // grips sit on magenta
    {"spinarrow.bmp", 0, 0, true},        // glyphs over the spin faces
    {"extraimages.bmp", 0, 0, true},
    {"trackthumbh.bmp", 11 + 0, 20, true},  // the thumb's point
    {"menuitem.bmp", 5, 5, true},         // plain items show the menu background
    {"menuitem.bmp", 60 + 10, 9, false},  // the highlight is solid
};

TEST(SkinGenBitmaps, MagentaExactlyWhereTheEngineKeysItOut) {
    for (const auto& c : kTransparency) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_EQ(Pixels(c.name).View().Pixel(c.x, c.y) == kMagentaKey, c.magenta);
    }
}

TEST(SkinGenBitmaps, OpaqueElementsHoldNoMagenta) {
    // Drawn without the key (Trans=0, or copied as they are): magenta would show.
    for (const char* name : {"framebottom.bmp", "tab.bmp", "tabsheet.bmp", "progresschunk.bmp", "statusbar.bmp",
                             "header.bmp", "scrollbarhthumb.bmp", "scrollbarvthumb.bmp", "scrollbarhbar.bmp",
                             "scrollbarvbar.bmp", "menubackground.bmp"}) {
        const TPixelImage image = Pixels(name);
        int found = 0;
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x) found += image.View().Pixel(x, y) == kMagentaKey;
        EXPECT_EQ(found, 0) << name;
    }
}

TEST(SkinGenBitmaps, StretchedMiddlesOfTheBordersAreUniform) {
    const TQuickIni ini = Definition();
    // The top and bottom borders stretch between their end margins: every
    // column of the middle must be the same, or the caption would smear.
    for (const char* side : {"Top", "Bottom"}) {
        const TPixelImage image = Pixels(AsciiLower(ini.ReadString("Personality", side, "")));
        const int left = ini.ReadInteger("Personality", std::string(side) + "TopHeight", 0);
        const int right = image.Width() - ini.ReadInteger("Personality", std::string(side) + "BotHeight", 0);
        for (int y = 0; y < image.Height(); ++y)
            for (int x = left; x < right; ++x)
                ASSERT_EQ(image.View().Pixel(x, y), image.View().Pixel(left, y)) << side << " " << x << "," << y;
    }
    for (const char* side : {"Left", "Right"}) {
        const TPixelImage image = Pixels(AsciiLower(ini.ReadString("Personality", side, "")));
        const int top = ini.ReadInteger("Personality", std::string(side) + "TopHeight", 0);
        const int bottom = image.Height() - ini.ReadInteger("Personality", std::string(side) + "BotHeight", 0);
        for (int x = 0; x < image.Width(); ++x)
            for (int y = top; y < bottom; ++y)
                ASSERT_EQ(image.View().Pixel(x, y), image.View().Pixel(x, top)) << side << " " << x << "," << y;
    }
}

// Every strip divides evenly into the frames the engine cuts, and the frames
// of a strip are different pictures (the states can be told apart).
TEST(SkinGenBitmaps, FramesDivideEvenlyAndStatesDiffer) {
    const TQuickIni ini = Definition();
    std::vector<std::string> names;
    for (const auto& f : SkinFiles()) names.push_back(f.name);
    // Strips that repeat frames on purpose: the spin faces serve both halves.
    const std::set<std::string> repeats = {"spin.bmp", "spinh.bmp"};
    for (const auto& element : SheetElements(ini, names)) {
        SCOPED_TRACE(element.file);
        ASSERT_FALSE(element.section.empty()) << "no key names it";
        const TPixelImage pixels = Pixels(element.file);
        const TFrameLayout layout = FrameLayoutFor(ini, element.section, element.key, pixels.Width(), pixels.Height());
        EXPECT_EQ((layout.vertical ? pixels.Height() : pixels.Width()) % layout.frames, 0);
        const auto frames = CutFrames(TArtImage::FromPixels(pixels.View()), layout.frames, layout.vertical);
        if (repeats.count(element.file)) continue;
        for (std::size_t i = 0; i < frames.size(); ++i)
            for (std::size_t j = i + 1; j < frames.size(); ++j)
                EXPECT_FALSE(frames[i].Pixels() == frames[j].Pixels()) << "frames " << i + 1 << " and " << j + 1;
    }
}

struct TFrameCase {
    const char* section;
    const char* key;
    int frames;
    int frameWidth;
};

const TFrameCase kShippedFrames[] = {
    {"Button0", "ButtonImage", 6, 21},  // 126 x 21: ratio 6
    {"Button3", "ButtonImage", 6, 21},
    {"Buttons", "RadioButton", 8, 13},
    {"Buttons", "CheckButton", 12, 13},
    {"Buttons", "Bitmap", 5, 20},
    {"Scrollbar", "Image", 23, 17},
    {"MDICONTROLS", "Image", 12, 13},
    {"HorzScrollThumb", "Image", 4, 22},
    {"VertScrollThumb", "Image", 4, 15},
    {"UpDown.Vert", "GlyphImage", 8, 7},
    {"UpDown.Horz", "GlyphImage", 8, 6},
    {"Personality", "Left", 2, 4},
};

TEST(SkinGenDefinition, ShippedFrameCounts) {
    const TQuickIni ini = Definition();
    for (const auto& c : kShippedFrames) {
        SCOPED_TRACE(std::string(c.section) + " " + c.key);
        const TBitmapFile bitmap = Bitmap(AsciiLower(ini.ReadString(c.section, c.key, "")));
        const TFrameLayout layout = FrameLayoutFor(ini, c.section, c.key, bitmap.Width(), bitmap.Height());
        EXPECT_EQ(layout.frames, c.frames);
        EXPECT_EQ(bitmap.Width() / layout.frames, c.frameWidth);
    }
    // The caption: two frames stacked, 29 pixels each.
    const TBitmapFile top = Bitmap("frametop.bmp");
    const TFrameLayout layout = FrameLayoutFor(ini, "Personality", "Top", top.Width(), top.Height());
    EXPECT_TRUE(layout.vertical);
    EXPECT_EQ(top.Height() / layout.frames, 29);
}

struct TSectionKeys {
    const char* section;
    std::vector<std::string> keys;
};

const TSectionKeys kSections[] = {
    {"TitlebarSkin", {"SkinName", "SkinAuthor"}},
    {"Skins", {"Version"}},
    {"Buttons", {"Bitmap", "TopHeight", "BottomHeight", "LeftWidth", "Rightwidth", "Trans", "CheckButtonFrame",
                 "RadioButtonFrame", "CheckButton", "RadioButton"}},
    {"Progress", {"Bitmap", "TopHeight", "BottomHeight", "LeftWidth", "Rightwidth", "Trans", "Tile", "Style"}},
    {"Progress.Chunk", {"Image", "TopHeight", "BottomHeight", "LeftWidth", "Rightwidth", "Trans", "Tile", "Style"}},
    {"Tabs", {"Image", "TopHeight", "BottomHeight", "LeftWidth", "Rightwidth", "Trans", "Tile", "Style"}},
    {"Tab.Pane", {"Image", "TopHeight", "BottomHeight", "LeftWidth", "Rightwidth", "Trans", "Tile", "Style"}},
    {"ComboButton", {"Image", "Trans", "Style"}},
    {"StatusBarEdges", {"Image", "TopHeight", "BottomHeight", "LeftWidth", "Rightwidth", "Tile"}},
    {"Headerbar", {"Image", "TopHeight", "BottomHeight", "LeftWidth", "Rightwidth", "Tile", "Trans", "frame"}},
    {"Scrollbar", {"Image"}},
    {"HorzScrollThumb", {"Image", "TopHeight", "BottomHeight", "LeftWidth", "Rightwidth", "FrameCount"}},
    {"VertScrollThumb", {"Image", "TopHeight", "BottomHeight", "LeftWidth", "Rightwidth", "FrameCount"}},
    {"HorzScroll", {"Image", "TopHeight", "BottomHeight", "LeftWidth", "Rightwidth", "Tile"}},
    {"VertScroll", {"Image", "TopHeight", "BottomHeight", "LeftWidth", "Rightwidth", "Tile"}},
    {"MenuBackground", {"Image", "TopHeight", "BottomHeight", "LeftWidth", "Rightwidth"}},
    {"MenuItem", {"Image", "TopHeight", "BottomHeight", "LeftWidth", "Rightwidth", "Frame", "Trans"}},
    {"ExtraImages", {"Image"}},
    {"Trackbar.ThumbHorz", {"Image"}},
    {"Trackbar.ThumbDown", {"Image"}},
    {"MDICONTROLS", {"Image"}},
    {"UpDown.Vert", {"Image", "GlyphImage"}},
    {"UpDown.Horz", {"Image", "GlyphImage"}},
    {"Button0", {"ButtonImage", "Align", "XCoord", "YCoord", "Action", "Visibility"}},
    {"Button1", {"ButtonImage", "Align", "XCoord", "YCoord", "Action", "Visibility", "Visibility1"}},
    {"Button2", {"ButtonImage", "Align", "XCoord", "YCoord", "Action", "Visibility"}},
    {"Button3", {"ButtonImage", "Align", "XCoord", "YCoord", "Action", "Visibility"}},
    {"Button4", {"Align", "XCoord", "YCoord", "Action", "Visibility"}},
    {"Personality",
     {"Left", "LeftFrame", "LeftStretch", "LeftTrans", "LeftTopHeight", "LeftBotHeight", "Right", "RightFrame",
      "RightStretch", "RightTrans", "RightTopHeight", "RightBotHeight", "Top", "TopFrame", "TopStretch", "TopTrans",
      "TopTopHeight", "TopBotHeight", "Bottom", "BottomFrame", "BottomStretch", "BottomTrans", "BottomTopHeight",
      "BottomBotHeight", "TextShift", "TextShiftVert", "TextRightClip"}},
    {"MinCaption", {"Image", "TopHeight", "BottomHeight", "LeftWidth", "Rightwidth", "Tile", "Trans", "Frame"}},
    {"Colours", {"ButtonFace", "TitleTextActive", "TitleTextNoActive", "ButtonHilight", "ButtonShadow",
                 "ButtonDkShadow", "Buttonlight", "Menubar", "Menu", "MenuText", "MenuBarText", "Hilight",
                 "HilightText"}},
};

TEST(SkinGenDefinition, ThirtyOneSectionsInOrderWithTheirKeys) {
    const TQuickIni ini = Definition();
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    ASSERT_EQ(sections.size(), std::size(kSections));
    for (std::size_t i = 0; i < sections.size(); ++i) {
        SCOPED_TRACE(kSections[i].section);
        EXPECT_EQ(sections[i], kSections[i].section);
        std::vector<std::string> keys;
        const auto& lines = ini.Lines();
        for (std::size_t l = static_cast<std::size_t>(ini.SectionIndex(sections[i])) + 1;
             l < lines.size() && !lines[l].starts_with('['); ++l)
            keys.push_back(lines[l].substr(0, lines[l].find('=')));
        EXPECT_EQ(keys, kSections[i].keys);
        for (const auto& key : keys) EXPECT_NE(ini.ReadString(sections[i], key, ""), "") << key << " has no value";
    }
    EXPECT_EQ(ini.ReadString("TitlebarSkin", "SkinName", ""), "Quellory Blue");
}

TEST(SkinGenDefinition, LinesEndInCrLfAndNameOnlyArchiveFiles) {
    const std::string text = SkinDefinitionText();
    ASSERT_TRUE(text.ends_with("\r\n"));
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
        } else if (text[i] == '\r') {
            EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at " << i;
        }
    }
    // Every bitmap key names a file of the archive, with the lower-case
    // extension the loader insists on; every bitmap is named by some key.
    const TQuickIni ini = Definition();
    std::set<std::string> named;
    for (const auto& line : ini.Lines()) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos || !AsciiLower(line.substr(eq + 1)).ends_with(".bmp")) continue;
        EXPECT_TRUE(line.ends_with(".bmp")) << line;
        named.insert(AsciiLower(line.substr(eq + 1)));
    }
    std::set<std::string> table;
    for (const auto& row : kTable) table.insert(row.name);
    EXPECT_EQ(named, table);
}

TEST(SkinGenResources, SizesDepthsAndGlyphCells) {
    const auto files = BuildFiles(ProgramResourceSpecs());
    ASSERT_EQ(files.size(), 3u);
    const TBitmapFile glyphs = TBitmapFile::Decode(files[0].bytes);
    EXPECT_EQ(files[0].name, "menuglyphs.bmp");
    EXPECT_EQ(glyphs.Width(), 64);
    EXPECT_EQ(glyphs.Height(), 16);
    EXPECT_EQ(glyphs.BitsPerPixel(), 1);
    // Black glyphs on white, which is the mask colour; every cell has one
    // and its border stays white so glyphs never touch.
    const TPixelImage pixels = glyphs.To24Bit();
    for (int cell = 0; cell < 4; ++cell) {
        int black = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const TColor c = pixels.View().Pixel(16 * cell + x, y);
                ASSERT_TRUE(c == MakeColour(0, 0, 0) || c == MakeColour(255, 255, 255));
                if (x == 0 || y == 0 || x == 15 || y == 15) {
                    EXPECT_EQ(c, MakeColour(255, 255, 255));
                }
                black += c == 0;
            }
        EXPECT_GT(black, 0) << "cell " << cell;
    }
    for (const auto& [index, name, w, h] : {std::tuple{1, "track.bmp", 16, 4}, std::tuple{2, "trackvert.bmp", 4, 16}}) {
        const TBitmapFile bitmap = TBitmapFile::Decode(files[index].bytes);
        EXPECT_EQ(files[index].name, name);
        EXPECT_EQ(bitmap.Width(), w);
        EXPECT_EQ(bitmap.Height(), h);
        EXPECT_EQ(bitmap.BitsPerPixel(), 4);
    }
}

struct TEncodeCase {
    const char* name;
    int bitsPerPixel;
    int colours;
    bool fits;
};

const TEncodeCase kEncodeCases[] = {
    {"Monochrome", 1, 2, true},      {"TooManyForMonochrome", 1, 3, false}, {"FourBitFull", 4, 16, true},
    {"TooManyForFourBits", 4, 17, false}, {"EightBit", 8, 40, true},     {"TrueColour", 24, 40, true},
    {"TrueColourWithPad", 32, 40, true},
};

TEST(SkinGenEncode, RoundTripsEveryDepthAndRefusesOverfullPalettes) {
    for (const auto& c : kEncodeCases) {
        SCOPED_TRACE(c.name);
        // An odd width exercises row padding and partial bytes.
        TArtImage image(c.colours, 3);
        for (int x = 0; x < c.colours; ++x) image.VLine(x, 0, 3, MakeColour(x * 6, 255 - x * 5, x % 2 ? 255 : 0));
        if (!c.fits) {
            EXPECT_THROW({ EncodeArt(image, c.bitsPerPixel); }, std::logic_error);
            continue;
        }
        const TBitmapFile decoded = TBitmapFile::Decode(EncodeArt(image, c.bitsPerPixel));
        EXPECT_EQ(decoded.BitsPerPixel(), c.bitsPerPixel);
        EXPECT_TRUE(decoded.To24Bit() == image.Pixels());
    }
}

TEST(SkinGenEmbed, ReplacesTheMarkerWithTheStoredValue) {
    const std::vector<std::uint8_t> stream(40, 0xAB);
    const std::string layout = "object frmMain: TfrmMain\r\n  object SkinData1: TSkinData\r\n    Active = True\r\n"
                               "    @SKINSTREAM@\r\n  end\r\nend\r\n";
    const std::string out = EmbedSkinStream(layout, stream);
    EXPECT_EQ(out.find("@SKINSTREAM@"), std::string::npos);
    EXPECT_NE(out.find("\r\n    SkinStream = {\r\n      28000000ABAB"), std::string::npos) << out;
    EXPECT_TRUE(out.ends_with("  end\r\nend\r\n"));
    const LayoutObject root = ParseLayout(out);
    ASSERT_EQ(root.children.size(), 1u);
    const auto& props = root.children[0].properties;
    ASSERT_EQ(props.size(), 2u);
    EXPECT_EQ(props[1].path, std::vector<std::string>{"SkinStream"});
    const auto* binary = props[1].value.Get<LayoutBinary>();
    ASSERT_NE(binary, nullptr);
    EXPECT_EQ(binary->bytes, SkinStreamValue(stream));
    EXPECT_EQ(SkinStreamValue(stream).size(), 44u);
}

TEST(SkinGenEmbed, PropertyLinesAloneForAnEmptyAndALongStream) {
    EXPECT_EQ(SkinStreamProperty({}), (std::vector<std::string>{"SkinStream = {", "  00000000}"}));
    const std::vector<std::uint8_t> stream(100, 1);
    const auto lines = SkinStreamProperty(stream);
    ASSERT_EQ(lines.size(), 1u + (104 + 15) / 16);  // 16 bytes a line
    EXPECT_EQ(lines[1], "  64000000010101010101010101010101");
    EXPECT_TRUE(lines.back().ends_with("}"));
}

TEST(SkinGenEmbed, RefusesTemplatesWithoutExactlyOneMarker) {
    EXPECT_THROW(EmbedSkinStream("object A: TA\nend\n", {}), std::invalid_argument);
    EXPECT_THROW(EmbedSkinStream("object A: TA\n  @SKINSTREAM@\n  @SKINSTREAM@\nend\n", {}), std::invalid_argument);
    // The marker must stand alone on its line.
    EXPECT_THROW(EmbedSkinStream("object A: TA\n  X = @SKINSTREAM@\nend\n", {}), std::invalid_argument);
}

struct TMixCase {
    const char* name;
    TColor a, b;
    int num, den;
    TColor expected;
};

const TMixCase kMixCases[] = {
    {"Start", MakeColour(10, 20, 30), MakeColour(200, 100, 0), 0, 4, MakeColour(10, 20, 30)},
    {"End", MakeColour(10, 20, 30), MakeColour(200, 100, 0), 4, 4, MakeColour(200, 100, 0)},
    {"HalfRoundsUp", MakeColour(0, 0, 0), MakeColour(255, 1, 3), 1, 2, MakeColour(128, 1, 2)},
    {"ChannelsApart", MakeColour(0, 255, 0), MakeColour(255, 0, 255), 1, 3, MakeColour(85, 170, 85)},
    {"ZeroDenominatorKeepsFirst", MakeColour(1, 2, 3), MakeColour(9, 9, 9), 1, 0, MakeColour(1, 2, 3)},
};

TEST(SkinGenArt, MixColourPerChannelRounded) {
    for (const auto& c : kMixCases) EXPECT_EQ(MixColour(c.a, c.b, c.num, c.den), c.expected) << c.name;
}

TEST(SkinGenArt, RampHitsEveryStopAndClamps) {
    const TColor a = MakeColour(0, 0, 0), b = MakeColour(100, 100, 100), c = MakeColour(200, 0, 100);
    const std::vector<TColor> stops = {a, b, c};
    EXPECT_EQ(RampColour(stops, 0, 5), a);
    EXPECT_EQ(RampColour(stops, 1, 5), MakeColour(50, 50, 50));
    EXPECT_EQ(RampColour(stops, 2, 5), b);
    EXPECT_EQ(RampColour(stops, 4, 5), c);
    EXPECT_EQ(RampColour(stops, 9, 5), c);
    EXPECT_EQ(RampColour(stops, -3, 5), a);
    EXPECT_EQ(RampColour({b}, 3, 5), b);
    EXPECT_EQ(RampColour(stops, 0, 1), a);  // one row: no division by zero
}

struct TRoundCase {
    const char* name;
    TArtRect r;
    int radius;
    int x, y;
    bool inside;
};

const TRoundCase kRoundCases[] = {
    {"SquareKeepsCorner", {0, 0, 5, 5}, 0, 0, 0, true},
    {"RadiusTwoCutsCorner", {0, 0, 5, 5}, 2, 0, 0, false},
    {"RadiusTwoKeepsNeighbour", {0, 0, 5, 5}, 2, 1, 0, true},
    {"CircleCutsDiagonal", {0, 0, 13, 13}, 6, 1, 1, false},
    {"CircleKeepsInnerDiagonal", {0, 0, 13, 13}, 6, 2, 2, true},
    {"CircleKeepsTopMiddle", {0, 0, 13, 13}, 6, 6, 0, true},
    {"CircleCutsBottomRight", {0, 0, 13, 13}, 6, 12, 12, false},
    {"OffsetRect", {10, 20, 5, 5}, 2, 10, 20, false},
    {"OutsideRect", {0, 0, 5, 5}, 0, 5, 2, false},
};

TEST(SkinGenArt, RoundedCornersCutTheRightPixels) {
    for (const auto& c : kRoundCases) EXPECT_EQ(InsideRounded(c.r, c.radius, c.x, c.y), c.inside) << c.name;
}

TEST(SkinGenArt, BoxOutlineRingAndFillLeaveOutsideAlone) {
    TArtImage image(7, 7);
    DrawBox(image, image.Bounds(), {MakeColour(1, 1, 1), MakeColour(9, 9, 9), MakeColour(9, 9, 9), 2, MakeColour(5, 5, 5)});
    EXPECT_EQ(image.Pixel(0, 0), kMagentaKey);        // cut corner
    EXPECT_EQ(image.Pixel(1, 0), MakeColour(1, 1, 1));  // outline
    EXPECT_EQ(image.Pixel(0, 1), MakeColour(1, 1, 1));  // the outline steps round the corner
    EXPECT_EQ(image.Pixel(1, 1), MakeColour(5, 5, 5));  // ... and the ring follows it
    EXPECT_EQ(image.Pixel(3, 1), MakeColour(5, 5, 5));  // ring inside the outline
    EXPECT_EQ(image.Pixel(3, 3), MakeColour(9, 9, 9));  // fill
    EXPECT_THROW(DrawPattern(image, 0, 0, {"#?"}, {{'#', 0}}), std::invalid_argument);
}

struct TRuleCase {
    const char* name;
    std::string ini;
    const char* section;
    const char* key;
    int width;
    int height;
    int frames;
    bool vertical;
};

const TRuleCase kRuleCases[] = {
    {"CaptionButtonWide", "[Button0]\nButtonImage=a.bmp\n", "Button0", "ButtonImage", 126, 21, 6, false},
    {"CaptionButtonNarrow", "[Button0]\nButtonImage=a.bmp\n", "Button0", "ButtonImage", 60, 22, 3, false},
    {"CaptionButtonGivenFrames", "[Button0]\nframe=2\n", "Button0", "ButtonImage", 126, 21, 2, false},
    {"CaptionButtonNegativeAction", "[Button0]\nAction=-1\n", "Button0", "ButtonImage", 60, 22, 6, false},
    {"CheckComputedTallCells", "[Buttons]\n", "Buttons", "CheckButton", 40, 20, 4, false},
    {"RadioComputed", "[Buttons]\n", "Buttons", "RadioButton", 104, 13, 8, false},
    {"TopBorderStacked", "[Personality]\nTopFrame=2\n", "Personality", "Top", 142, 58, 2, true},
    {"LeftBorderSideBySide", "[Personality]\nLeftFrame=2\n", "Personality", "Left", 8, 100, 2, false},
    {"BorderWithoutFrameKey", "[Personality]\n", "Personality", "Bottom", 142, 10, 1, true},
    {"HeaderZeroMeansFive", "[Headerbar]\nframe=0\n", "Headerbar", "Image", 90, 18, 5, false},
    {"ProgressStyleZeroTwoFrames", "[Progress]\nStyle=0\n", "Progress", "Bitmap", 20, 10, 2, false},
    {"ThumbDefaultThree", "[HorzScrollThumb]\n", "HorzScrollThumb", "Image", 66, 15, 3, false},
    {"ScrollArrowsFixed", "[Scrollbar]\nFrame=3\n", "Scrollbar", "Image", 391, 17, 23, false},
};

TEST(SkinSheet, FrameRulesFollowTheEngine) {
    for (const auto& c : kRuleCases) {
        SCOPED_TRACE(c.name);
        TQuickIni ini;
        ini.LoadFromText(c.ini);
        const TFrameLayout layout = FrameLayoutFor(ini, c.section, c.key, c.width, c.height);
        EXPECT_EQ(layout.frames, c.frames);
        EXPECT_EQ(layout.vertical, c.vertical);
    }
}

TEST(SkinSheet, CutsFramesAcrossOrDown) {
    TArtImage strip(6, 4);
    strip.Fill({2, 0, 2, 4}, MakeColour(1, 2, 3));
    const auto across = CutFrames(strip, 3, false);
    ASSERT_EQ(across.size(), 3u);
    EXPECT_EQ(across[1].Width(), 2);
    EXPECT_EQ(across[1].Pixel(0, 0), MakeColour(1, 2, 3));
    EXPECT_EQ(across[2].Pixel(0, 0), kMagentaKey);
    const auto down = CutFrames(strip, 2, true);
    ASSERT_EQ(down.size(), 2u);
    EXPECT_EQ(down[1].Height(), 2);
    EXPECT_EQ(down[1].Width(), 6);
    EXPECT_TRUE(CutFrames(strip, 7, false).empty());  // frames narrower than a pixel
}

TEST(SkinSheet, FolderNamesAreLowerCasedInNameOrder) {
    const auto dir = std::filesystem::temp_directory_path() / "quellory-skinsheet-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    for (const char* name : {"Zeta.BMP", "alpha.ini"}) std::ofstream(dir / name) << "x";
    const TSkinContents skin = LoadSkinFolder(dir);
    std::filesystem::remove_all(dir);
    EXPECT_EQ(skin.names, (std::vector<std::string>{"alpha.ini", "zeta.bmp"}));
    EXPECT_EQ(skin.files.at("zeta.bmp"), std::vector<std::uint8_t>{'x'});
}

TEST(SkinSheet, ShowsTheWholeShippedSkin) {
    TSkinContents skin;
    for (const auto& f : SkinFiles()) {
        skin.names.push_back(f.name);
        skin.files[f.name] = f.bytes;
    }
    const TArtImage sheet = MakeContactSheet(skin, 2);
    EXPECT_EQ(sheet.Width(), 1280);
    EXPECT_GT(sheet.Height(), 1000);
    skin.names.pop_back();  // without the definition there is nothing to cut by
    EXPECT_THROW(MakeContactSheet(skin, 2), std::runtime_error);
}

}  // namespace
