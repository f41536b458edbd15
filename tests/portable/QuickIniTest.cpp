#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/Stream.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinValues.h"

namespace {

using Strings = std::vector<std::string>;

TQuickIni LoadIni(const std::string& text) {
    TMemoryStream s;
    s.WriteBuffer(text.data(), text.size());
    s.Rewind();
    TQuickIni ini;
    ini.LoadFromStream(s);
    return ini;
}

struct LinesCase {
    const char* name;
    std::string text;
    Strings lines;
};

void PrintTo(const LinesCase& c, std::ostream* os) { *os << c.name; }

const LinesCase kLinesCases[] = {
    {"EmptyText", "", {}},
    {"NoFinalBreak", "a=1", {"a=1"}},
    {"CrLf", "a\r\nb\r\n", {"a", "b"}},
    {"LoneLf", "a\nb", {"a", "b"}},
    {"LoneCr", "a\rb", {"a", "b"}},
    {"LfCr", "a\n\rb", {"a", "b"}},
    {"MixedBreaks", "a\r\n\r\nb\n\nc\r\rd\n\r\ne", {"a", "b", "c", "d", "e"}},
    {"NulEndsText", std::string("a\nb\0c\nd", 7), {"a", "b"}},
    {"NulFirst", std::string("\0a", 2), {}},
    {"TrimsBlanksAndControls", " \t\x01 a = 1 \x1f\x7f\x20\n", {"a = 1 \x1f\x7f"}},
    {"KeepsHighBytes", "\xA0x\xA0\n\xC4\xE3=\xBA\xC3", {"\xA0x\xA0", "\xC4\xE3=\xBA\xC3"}},
    {"DropsBlankLines", "\n \t \n\x01\na", {"a"}},
    {"DropsComments", "; one\n   ;two\n;\na", {"a"}},
    {"SemicolonLaterKept", "Trans=1 ; transparent", {"Trans=1 ; transparent"}},
    {"HeaderTrimmed", "  [S]  \n", {"[S]"}},
};

class LinesTest : public testing::TestWithParam<LinesCase> {};

TEST_P(LinesTest, SplitsTrimsAndDrops) {
    EXPECT_EQ(LoadIni(GetParam().text).Lines(), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, LinesTest, testing::ValuesIn(kLinesCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QuickIni, SectionsPairHeadersWithLineIndexes) {
    const TQuickIni ini = LoadIni("x=0\n[a]\nk=1\n[b\nc]\n[]\n[d] ;c\n[e]\n\n[a]\n");
    std::vector<std::pair<std::string, std::size_t>> got;
    for (const auto& s : ini.Sections()) got.emplace_back(s.Header, s.LineIndex);
    const std::vector<std::pair<std::string, std::size_t>> want = {
        {"[a]", 1}, {"[]", 5}, {"[e]", 7}, {"[a]", 8}};
    EXPECT_EQ(got, want);
}

TEST(QuickIni, LoadFromStreamReadsFromPositionAndReplaces) {
    TQuickIni ini;
    TMemoryStream first;
    first.WriteBuffer("[Old]\nk=1\n", 10);
    first.Rewind();
    ini.LoadFromStream(first);
    ASSERT_EQ(ini.SectionIndex("Old"), 0);

    const std::string text = "garbage]\n[New]\nk=2\n";
    TMemoryStream second;
    second.WriteBuffer(text.data(), text.size());
    second.SetPosition(7);  // starts at the "]" that ends "garbage"
    ini.LoadFromStream(second);
    EXPECT_EQ(ini.Lines(), (Strings{"]", "[New]", "k=2"}));
    EXPECT_EQ(ini.SectionIndex("Old"), -1);
    EXPECT_EQ(ini.ReadString("new", "k", ""), "2");

    second.SetPosition(100);  // past the end: nothing to read
    ini.LoadFromStream(second);
    EXPECT_TRUE(ini.Lines().empty());
    EXPECT_TRUE(ini.Sections().empty());
}

struct SectionCase {
    const char* name;
    const char* section;
    std::ptrdiff_t index;
};

void PrintTo(const SectionCase& c, std::ostream* os) { *os << c.name; }

const char kSectionText[] =
    "[buttons]\n"
    "[ Buttons ]\n"
    "[Trackbar.ThumbHorz]\n"
    "[BUTTONS]\n"
    "[\xC6\xA4\xB7\xF4]\n"  // a section named in the ANSI code page
    "[]\n"
    "[a]b]\n";

const SectionCase kSectionCases[] = {
    {"CaseIgnored", "Buttons", 0},
    {"FirstOfDuplicates", "BUTTONS", 0},
    {"BlanksInsideBracketsSignificant", " Buttons ", 1},
    {"BlankNameNotTrimmed", "Buttons ", -1},
    {"DottedName", "trackbar.thumbhorz", 2},
    {"AnsiBytes", "\xC6\xA4\xB7\xF4", 4},
    {"EmptyName", "", 5},
    {"BracketInsideName", "a]b", 6},
    {"Missing", "Colours", -1},
    {"BracketsNotPartOfName", "[buttons]", -1},
};

class SectionIndexTest : public testing::TestWithParam<SectionCase> {};

TEST_P(SectionIndexTest, Finds) {
    EXPECT_EQ(LoadIni(kSectionText).SectionIndex(GetParam().section), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(Cases, SectionIndexTest, testing::ValuesIn(kSectionCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct ReadCase {
    const char* name;
    const char* section;
    const char* key;
    const char* expected;  // "<default>" when the default comes back
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

const char kReadText[] =
    "orphan=1\n"
    "[Buttons]\n"
    "Rightwidth=8\n"
    "Trans=1 ; transparent\n"
    "Tile=\n"
    "Tile=1\n"
    "  Spaced Key \t=  spaced value  \n"
    "NoEquals\n"
    "Text=a=b\n"
    "=keyless\n"
    "\xC4\xE3Key=\xBA\xC3\n"
    "[ Buttons ]\n"
    "Other=2\n"
    "[Next]\n"
    "Rightwidth=9\n"
    "[buttons]\n"
    "Late=1\n";

const ReadCase kReadCases[] = {
    {"KeyCaseIgnored", "Buttons", "RightWidth", "8"},
    {"SectionCaseIgnored", "BUTTONS", "rightwidth", "8"},
    {"TrailingCommentIsPartOfValue", "Buttons", "Trans", "1 ; transparent"},
    {"EmptyFirstOccurrenceDecides", "Buttons", "Tile", "<default>"},
    {"KeyAndValueTrimmed", "Buttons", "spaced key", "spaced value"},
    {"LineWithoutEqualsHasNoKey", "Buttons", "NoEquals", "<default>"},
    {"ValueAfterFirstEquals", "Buttons", "Text", "a=b"},
    {"EmptyKeyMatchesKeylessLine", "Buttons", "", "keyless"},
    {"AnsiKey", "Buttons", "\xC4\xE3key", "\xBA\xC3"},
    {"SectionEndsAtNextHeader", "Buttons", "Other", "<default>"},
    {"OtherSection", "Next", "RightWidth", "9"},
    {"SecondOfDuplicateSectionsIgnored", "Buttons", "Late", "<default>"},
    {"KeyBeforeFirstSectionNeverFound", "", "orphan", "<default>"},
    {"MissingSection", "Colours", "Menu", "<default>"},
    {"MissingKey", "Next", "Trans", "<default>"},
};

class ReadStringTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadStringTest, Reads) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(LoadIni(kReadText).ReadString(c.section, c.key, "<default>"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadStringTest, testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QuickIni, ReadIntegerUsesTheSameLookup) {
    const TQuickIni ini = LoadIni(
        "[S]\n"
        "Comment=1 ; transparent\n"
        "Hex=0x1\n"
        "Dollar=$10\n"
        "Letters=abc\n"
        "Empty=\n"
        "Empty=5\n"
        "Negative=-3\n");
    EXPECT_EQ(ini.ReadInteger("S", "Comment", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "Hex", 7), 1);
    EXPECT_EQ(ini.ReadInteger("s", "dollar", 7), 16);
    EXPECT_EQ(ini.ReadInteger("S", "Letters", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "Empty", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "Negative", 7), -3);
    EXPECT_EQ(ini.ReadInteger("S", "Missing", 7), 7);
    EXPECT_EQ(ini.ReadInteger("T", "Hex", 7), 7);
}

TEST(QuickIni, ReadSectionsGivesBareNamesInFileOrderAndReplacesList) {
    const TQuickIni ini = LoadIni("[b]\n[ A ]\nk=[x]\n[]\n[b]\n");
    Strings list = {"stale"};
    ini.ReadSections(list);
    EXPECT_EQ(list, (Strings{"b", " A ", "", "b"}));
}

// The definition file of the skin the main window carries, with its
// mixed key spellings ("Rightwidth", "XCoord") and Windows line breaks.
const char* const kShippedDefinition[] = {
    "[TitlebarSkin]", "SkinName=luna-BLUE", "SkinAuthor=unknown",
    "[Skins]", "Version=200",
    "[Buttons]", "Bitmap=Buttons.bmp", "TopHeight=9", "BottomHeight=9", "LeftWidth=8",
    "Rightwidth=8", "Trans=1", "CheckButtonFrame=12", "RadioButtonFrame=8",
    "CheckButton=Checkbox.bmp", "RadioButton=RadioButton.bmp",
    "[Progress]", "Bitmap=Progress.bmp", "TopHeight=3", "BottomHeight=3", "LeftWidth=4",
    "Rightwidth=4", "Trans=0", "Tile=1", "Style=1",
    "[Progress.Chunk]", "Image=ProgressChunk.bmp", "TopHeight=6", "BottomHeight=5",
    "LeftWidth=0", "Rightwidth=0", "Trans=0", "Tile=1", "Style=1",
    "[Tabs]", "Image=Tab.bmp", "TopHeight=6", "BottomHeight=6", "LeftWidth=6", "Rightwidth=6",
    "Trans=0", "Tile=0", "Style=1",
    "[Tab.Pane]", "Image=TabSheet.bmp", "TopHeight=2", "BottomHeight=4", "LeftWidth=2",
    "Rightwidth=4", "Trans=0", "Tile=0", "Style=1",
    "[ComboButton]", "Image=ComboboxBtn.bmp", "Trans=0", "Style=1",
    "[StatusBarEdges]", "Image=StatusBar.bmp", "TopHeight=5", "BottomHeight=9",
    "LeftWidth=50", "Rightwidth=17", "Tile=1",
    "[Headerbar]", "Image=Header.bmp", "TopHeight=3", "BottomHeight=4", "LeftWidth=8",
    "Rightwidth=8", "Tile=1", "Trans=1", "frame=4",
    "[Scrollbar]", "Image=ScrollbarArrow.bmp",
    "[HorzScrollThumb]", "Image=ScrollbarHThumb.bmp", "TopHeight=5", "BottomHeight=5",
    "LeftWidth=5", "Rightwidth=5", "FrameCount=4",
    "[VertScrollThumb]", "Image=ScrollbarVThumb.bmp", "TopHeight=5", "BottomHeight=5",
    "LeftWidth=5", "Rightwidth=5", "FrameCount=4",
    "[HorzScroll]", "Image=ScrollbarHBar.bmp", "TopHeight=1", "BottomHeight=1", "LeftWidth=0",
    "Rightwidth=0", "Tile=0",
    "[VertScroll]", "Image=ScrollbarVBar.bmp", "TopHeight=0", "BottomHeight=0", "LeftWidth=1",
    "Rightwidth=1", "Tile=0",
    "[MenuBackground]", "Image=MenuBackground.bmp", "TopHeight=5", "BottomHeight=5",
    "LeftWidth=5", "Rightwidth=5",
    "[MenuItem]", "Image=MenuItem.bmp", "TopHeight=3", "BottomHeight=3", "LeftWidth=2",
    "Rightwidth=2", "Frame=5", "Trans=1",
    "[ExtraImages]", "Image=ExtraImages.bmp",
    "[Trackbar.ThumbHorz]", "Image=TrackThumbH.bmp",
    "[Trackbar.ThumbDown]", "Image=TrackBot.bmp",
    "[MDICONTROLS]", "Image=Mdibutton.bmp",
    "[UpDown.Vert]", "Image=Spin.bmp", "GlyphImage=SpinArrow.bmp",
    "[UpDown.Horz]", "Image=Spinh.bmp", "GlyphImage=SpinhArrow.bmp",
    "[Button0]", "ButtonImage=CloseButton.bmp", "Align=1", "XCoord=25", "YCoord=5", "Action=0",
    "Visibility=0",
    "[Button1]", "ButtonImage=MaxButton.bmp", "Align=1", "XCoord=49", "YCoord=5", "Action=1",
    "Visibility=2", "Visibility1=6",
    "[Button2]", "ButtonImage=MinButton.bmp", "Align=1", "XCoord=73", "YCoord=5", "Action=2",
    "Visibility=8",
    "[Button3]", "ButtonImage=RestroreButton.bmp", "Align=1", "XCoord=49", "YCoord=5",
    "Action=1", "Visibility=1",
    "[Button4]", "Align=0", "XCoord=8", "YCoord=7", "Action=3", "Visibility=0",
    "[Personality]", "Left=FrameLeft.bmp", "LeftFrame=2", "LeftStretch=1", "LeftTrans=1",
    "LeftTopHeight=29", "LeftBotHeight=5", "Right=FrameRight.bmp", "RightFrame=2",
    "RightStretch=1", "RightTrans=1", "RightTopHeight=29", "RightBotHeight=5",
    "Top=FrameTop.bmp", "TopFrame=2", "TopStretch=1", "TopTrans=1", "TopTopHeight=32",
    "TopBotHeight=39", "Bottom=FrameBottom.bmp", "BottomFrame=2", "BottomStretch=1",
    "BottomTrans=0", "BottomTopHeight=32", "BottomBotHeight=39", "TextShift=16",
    "TextShiftVert=2", "TextRightClip=20",
    "[MinCaption]", "Image=MinCaption.bmp", "TopHeight=12", "BottomHeight=8", "LeftWidth=23",
    "Rightwidth=26", "Tile=0", "Trans=0", "Frame=2",
    "[Colours]", "ButtonFace=236 233 216", "TitleTextActive=255 255 255",
    "TitleTextNoActive=216 228 248", "ButtonHilight=255 255 255", "ButtonShadow=172 168 153",
    "ButtonDkShadow=113 111 100", "Buttonlight=241 239 226", "Menubar=236 233 216",
    "Menu=255 255 255", "MenuText=0 0 0", "MenuBarText=0 0 0", "Hilight=49 106 197",
    "HilightText=255 255 255",
};

TQuickIni LoadShipped() {
    std::string text;
    for (const char* line : kShippedDefinition) text.append(line).append("\r\n");
    return LoadIni(text);
}

TEST(ShippedDefinition, ListsItsSectionsInOrder) {
    Strings sections;
    LoadShipped().ReadSections(sections);
    const Strings want = {
        "TitlebarSkin", "Skins", "Buttons", "Progress", "Progress.Chunk", "Tabs", "Tab.Pane",
        "ComboButton", "StatusBarEdges", "Headerbar", "Scrollbar", "HorzScrollThumb",
        "VertScrollThumb", "HorzScroll", "VertScroll", "MenuBackground", "MenuItem",
        "ExtraImages", "Trackbar.ThumbHorz", "Trackbar.ThumbDown", "MDICONTROLS", "UpDown.Vert",
        "UpDown.Horz", "Button0", "Button1", "Button2", "Button3", "Button4", "Personality",
        "MinCaption", "Colours"};
    EXPECT_EQ(sections.size(), 31u);
    EXPECT_EQ(sections, want);
}

TEST(ShippedDefinition, ReadsKeysAsTheSkinDataComponentAsks) {
    const TQuickIni ini = LoadShipped();
    EXPECT_EQ(ini.ReadInteger("Buttons", "RightWidth", 0), 8);
    EXPECT_EQ(ini.ReadInteger("Buttons", "CheckButtonFrame", 0), 12);
    EXPECT_EQ(ini.ReadString("Buttons", "CheckButton", ""), "Checkbox.bmp");
    EXPECT_EQ(ini.ReadInteger("Buttons", "Tile", 0), 0);
    EXPECT_EQ(ini.ReadString("Progress", "Bitmap", ""), "Progress.bmp");
    EXPECT_EQ(ini.ReadString("Progress", "Image", ""), "");
    EXPECT_EQ(ini.ReadInteger("Headerbar", "Frame", 0), 4);
    EXPECT_EQ(ini.ReadInteger("HorzScrollThumb", "FrameCount", 3), 4);
    EXPECT_EQ(ini.ReadString("ComboButton", "****", ""), "");
    EXPECT_EQ(ini.ReadString("UpDown.Horz", "GlyphImage", ""), "SpinhArrow.bmp");
    EXPECT_EQ(ini.ReadString("Button4", "ButtonImage", ""), "");
    EXPECT_EQ(ini.ReadInteger("Button1", "Xcoord", 0), 49);
    EXPECT_EQ(ini.ReadInteger("Button1", "Visibility1", 0), 6);
    EXPECT_EQ(ini.ReadInteger("Button2", "CombineOp", -1), -1);
    EXPECT_EQ(ini.ReadInteger("Personality", "TopBotHeight", 0), 39);
    EXPECT_EQ(ini.ReadString("Personality", "menuBar", ""), "");
    EXPECT_EQ(ini.ReadInteger("Fonts", "FontHeight", 14), 14);
    EXPECT_EQ(ReadColourComponents(ini, "Personality", "ActiveText"), kUnsetColour);
}

TEST(ShippedDefinition, ColoursSectionGivesTriplesOrDefaults) {
    const TQuickIni ini = LoadShipped();
    constexpr TColor kSystem = static_cast<TColor>(0x80000008);
    struct Row {
        const char* key;
        TColor expected;
    };
    const Row rows[] = {
        {"ButtonFace", MakeColour(236, 233, 216)},
        {"TitleTextActive", MakeColour(255, 255, 255)},
        {"TitleTextNoActive", MakeColour(216, 228, 248)},
        {"ButtonShadow", MakeColour(172, 168, 153)},
        {"ButtonDkShadow", MakeColour(113, 111, 100)},
        {"ButtonLight", MakeColour(241, 239, 226)},
        {"MenuText", MakeColour(0, 0, 0)},
        {"Hilight", MakeColour(49, 106, 197)},
        {"WindowText", kSystem},
        {"Scrollbar", kSystem},
        {"ButtonText", kSystem},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ReadColourTriple(ini, "Colours", r.key, kSystem), r.expected) << r.key;
    }
}

}  // namespace
