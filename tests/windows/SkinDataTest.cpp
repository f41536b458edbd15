// The skin data component on real bitmaps: its initial properties, the
// stored SkinStream, skins built here in the shipped layout (35 files) and
// crafted variants for the loader's rules, the refused archive's message,
// and the skin manager's bookkeeping.
#include <gtest/gtest.h>

#include <algorithm>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/LayoutReader.h"
#include "classlib/Timer.h"
#include "core/BitmapFile.h"
#include "core/ByteOrder.h"
#include "core/LayoutText.h"
#include "skin/controls/SkinManager.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/OptionalEntryPoints.h"
#include "skin/data/SkinReader.h"
#include "skin/data/WinSkinData.h"
#include "tests/windows/TestSupport.h"
#include "tools/skinpack/ArchiveWriter.h"
#include "tools/skinpack/LZHEncoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr TColor kFrameBlue = MakeColour(0, 85, 229);
constexpr TColor kMagentaKey = 0xFF00FF;

// A picture filled with one colour, in the given depth; a textured one has
// noise in the low bits of every channel, so that it packs about as badly as
// drawn pictures do.
Bytes Picture(int width, int height, int bitsPerPixel = 24, TColor fill = MakeColour(10, 20, 30),
              bool textured = false) {
    std::uint32_t noise = 12345;
    TBitmapFile file(width, height, bitsPerPixel);
    if (bitsPerPixel == 8) file.Palette() = {fill};
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = file.Row(y).data();
        for (int x = 0; x < width; ++x) {
            if (bitsPerPixel == 8) {
                row[x] = 0;
                continue;
            }
            const int step = bitsPerPixel / 8;
            noise = noise * 1103515245u + 12345u;
            const int grain = textured ? static_cast<int>(noise >> 28) : 0;
            row[x * step] = static_cast<std::uint8_t>(BlueOf(fill) ^ grain);
            row[x * step + 1] = static_cast<std::uint8_t>(GreenOf(fill) ^ grain);
            row[x * step + 2] = static_cast<std::uint8_t>(RedOf(fill) ^ grain);
        }
    }
    if (bitsPerPixel == 32) file.SetMasks(DefaultBitMasks(32));
    return file.Encode();
}

// A picture whose left half is one colour and right half another, to see mirroring.
Bytes TwoToned(int width, int height, TColor left, TColor right) {
    TBitmapFile file(width, height, 24);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = file.Row(y).data();
        for (int x = 0; x < width; ++x) {
            const TColor c = x < width / 2 ? left : right;
            row[x * 3] = static_cast<std::uint8_t>(BlueOf(c));
            row[x * 3 + 1] = static_cast<std::uint8_t>(GreenOf(c));
            row[x * 3 + 2] = static_cast<std::uint8_t>(RedOf(c));
        }
    }
    return file.Encode();
}

Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }

// The definition of the skin stored in the main window, key for key: one
// section per row, keys separated by "; ".
constexpr std::string_view kShippedSections[] = {
    "TitlebarSkin: SkinName=luna-BLUE; SkinAuthor=Quellory",
    "Skins: Version=200",
    "Buttons: Bitmap=Buttons.bmp; TopHeight=9; BottomHeight=9; LeftWidth=8; Rightwidth=8; Trans=1; "
    "CheckButtonFrame=12; RadioButtonFrame=8; CheckButton=Checkbox.bmp; RadioButton=RadioButton.bmp",
    "Progress: Bitmap=Progress.bmp; TopHeight=3; BottomHeight=3; LeftWidth=4; Rightwidth=4; Trans=0; Tile=1; Style=1",
    "Progress.Chunk: Image=ProgressChunk.bmp; TopHeight=6; BottomHeight=5; LeftWidth=0; Rightwidth=0; Trans=0; "
    "Tile=1; Style=1",
    "Tabs: Image=Tab.bmp; TopHeight=6; BottomHeight=6; LeftWidth=6; Rightwidth=6; Trans=0; Tile=0; Style=1",
    "Tab.Pane: Image=TabSheet.bmp; TopHeight=2; BottomHeight=4; LeftWidth=2; Rightwidth=4; Trans=0; Tile=0; Style=1",
    "ComboButton: Image=ComboboxBtn.bmp; Trans=0; Style=1",
    "StatusBarEdges: Image=StatusBar.bmp; TopHeight=5; BottomHeight=9; LeftWidth=50; Rightwidth=17; Tile=1",
    "Headerbar: Image=Header.bmp; TopHeight=3; BottomHeight=4; LeftWidth=8; Rightwidth=8; Tile=1; Trans=1; frame=4",
    "Scrollbar: Image=ScrollbarArrow.bmp",
    "HorzScrollThumb: Image=ScrollbarHThumb.bmp; TopHeight=5; BottomHeight=5; LeftWidth=5; Rightwidth=5; "
    "FrameCount=4",
    "VertScrollThumb: Image=ScrollbarVThumb.bmp; TopHeight=5; BottomHeight=5; LeftWidth=5; Rightwidth=5; "
    "FrameCount=4",
    "HorzScroll: Image=ScrollbarHBar.bmp; TopHeight=1; BottomHeight=1; LeftWidth=0; Rightwidth=0; Tile=0",
    "VertScroll: Image=ScrollbarVBar.bmp; TopHeight=0; BottomHeight=0; LeftWidth=1; Rightwidth=1; Tile=0",
    "MenuBackground: Image=MenuBackground.bmp; TopHeight=5; BottomHeight=5; LeftWidth=5; Rightwidth=5",
    "MenuItem: Image=MenuItem.bmp; TopHeight=3; BottomHeight=3; LeftWidth=2; Rightwidth=2; Frame=5; Trans=1",
    "ExtraImages: Image=ExtraImages.bmp",
    "Trackbar.ThumbHorz: Image=TrackThumbH.bmp",
    "Trackbar.ThumbDown: Image=TrackBot.bmp",
    "MDICONTROLS: Image=Mdibutton.bmp",
    "UpDown.Vert: Image=Spin.bmp; GlyphImage=SpinArrow.bmp",
    "UpDown.Horz: Image=Spinh.bmp; GlyphImage=SpinhArrow.bmp",
    "Button0: ButtonImage=CloseButton.bmp; Align=1; XCoord=25; YCoord=5; Action=0; Visibility=0",
    "Button1: ButtonImage=MaxButton.bmp; Align=1; XCoord=49; YCoord=5; Action=1; Visibility=2; Visibility1=6",
    "Button2: ButtonImage=MinButton.bmp; Align=1; XCoord=73; YCoord=5; Action=2; Visibility=8",
    "Button3: ButtonImage=RestroreButton.bmp; Align=1; XCoord=49; YCoord=5; Action=1; Visibility=1",
    "Button4: Align=0; XCoord=8; YCoord=7; Action=3; Visibility=0",
    "Personality: Left=FrameLeft.bmp; LeftFrame=2; LeftStretch=1; LeftTrans=1; LeftTopHeight=29; "
    "LeftBotHeight=5; Right=FrameRight.bmp; RightFrame=2; RightStretch=1; RightTrans=1; RightTopHeight=29; "
    "RightBotHeight=5; Top=FrameTop.bmp; TopFrame=2; TopStretch=1; TopTrans=1; TopTopHeight=32; "
    "TopBotHeight=39; Bottom=FrameBottom.bmp; BottomFrame=2; BottomStretch=1; BottomTrans=0; "
    "BottomTopHeight=32; BottomBotHeight=39; TextShift=16; TextShiftVert=2; TextRightClip=20",
    "MinCaption: Image=MinCaption.bmp; TopHeight=12; BottomHeight=8; LeftWidth=23; Rightwidth=26; Tile=0; "
    "Trans=0; Frame=2",
    "Colours: ButtonFace=236 233 216; TitleTextActive=255 255 255; TitleTextNoActive=216 228 248; "
    "ButtonHilight=255 255 255; ButtonShadow=172 168 153; ButtonDkShadow=113 111 100; Buttonlight=241 239 226; "
    "Menubar=236 233 216; Menu=255 255 255; MenuText=0 0 0; MenuBarText=0 0 0; Hilight=49 106 197; "
    "HilightText=255 255 255",
};

std::string IniText(std::span<const std::string_view> rows) {
    std::string text;
    for (std::string_view row : rows) {
        const std::size_t colon = row.find(": ");
        text += "[" + std::string(row.substr(0, colon)) + "]\r\n";
        std::string_view keys = row.substr(colon + 2);
        while (!keys.empty()) {
            const std::size_t end = keys.find("; ");
            text += std::string(keys.substr(0, end)) + "\r\n";
            keys = end == std::string_view::npos ? std::string_view() : keys.substr(end + 2);
        }
    }
    return text;
}

const std::string kShippedIni = IniText(kShippedSections);

// The 35 files of the shipped skin: names, sizes and depths as stored.
std::vector<TArchiveEntry> ShippedFiles(std::string_view ini = kShippedIni, bool textured = false) {
    struct Shape {
        const char* name;
        int width, height, bits;
    };
    static const Shape shapes[] = {
        {"buttons.bmp", 100, 23, 24},        {"checkbox.bmp", 156, 13, 24},      {"radiobutton.bmp", 104, 13, 24},
        {"progress.bmp", 9, 19, 24},         {"progresschunk.bmp", 10, 12, 24},  {"tab.bmp", 90, 18, 24},
        {"tabsheet.bmp", 48, 48, 24},        {"comboboxbtn.bmp", 60, 16, 24},    {"statusbar.bmp", 204, 21, 24},
        {"header.bmp", 72, 18, 24},          {"scrollbararrow.bmp", 391, 17, 32}, {"scrollbarhthumb.bmp", 88, 15, 24},
        {"scrollbarvthumb.bmp", 60, 22, 24}, {"scrollbarhbar.bmp", 68, 17, 24},  {"scrollbarvbar.bmp", 68, 17, 24},
        {"menubackground.bmp", 20, 20, 32},  {"menuitem.bmp", 100, 18, 32},     {"extraimages.bmp", 80, 17, 24},
        {"trackthumbh.bmp", 55, 21, 24},     {"trackbot.bmp", 55, 21, 24},       {"mdibutton.bmp", 156, 13, 24},
        {"spin.bmp", 120, 16, 24},           {"spinarrow.bmp", 56, 6, 8},        {"spinh.bmp", 120, 16, 24},
        {"spinharrow.bmp", 48, 7, 8},        {"closebutton.bmp", 126, 21, 24},   {"maxbutton.bmp", 126, 21, 24},
        {"minbutton.bmp", 126, 21, 24},      {"restrorebutton.bmp", 126, 21, 24}, {"frameleft.bmp", 8, 100, 24},
        {"frameright.bmp", 8, 100, 24},      {"frametop.bmp", 142, 58, 24},      {"framebottom.bmp", 142, 10, 24},
        {"mincaption.bmp", 66, 58, 24},
    };
    std::vector<TArchiveEntry> files;
    for (const Shape& s : shapes) {
        const TColor fill = std::string_view(s.name) == "frametop.bmp" ? kFrameBlue : MakeColour(10, 20, 30);
        Bytes picture = std::string_view(s.name) == "comboboxbtn.bmp"
                            ? TwoToned(s.width, s.height, kMagentaKey, MakeColour(1, 2, 3))
                            : Picture(s.width, s.height, s.bits, fill, textured);
        files.push_back({s.name, std::move(picture)});
    }
    files.push_back({"luna-blue.ini", Text(ini)});
    return files;
}

Bytes Compressed(const std::vector<TArchiveEntry>& files, std::int32_t version = 20000) {
    Bytes archive = WriteArchive(files);
    archive[0] = static_cast<std::uint8_t>(version);
    archive[1] = static_cast<std::uint8_t>(version >> 8);
    archive[2] = static_cast<std::uint8_t>(version >> 16);
    archive[3] = static_cast<std::uint8_t>(version >> 24);
    return LZHEncode(archive);
}

// The stored property value: count, then the compressed bytes.
Bytes StoredValue(const Bytes& compressed) {
    // Sized first and filled in place: GCC 12 -O3 misreads an insert after the count.
    Bytes value(4 + compressed.size());
    const auto n = static_cast<std::uint32_t>(compressed.size());
    for (int i = 0; i < 4; ++i) value[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(n >> (8 * i));
    std::copy(compressed.begin(), compressed.end(), value.begin() + 4);
    return value;
}

void LoadSkinBytes(TSkinData& data, const Bytes& compressed) {
    data.SetProperty(L"SkinStream", TValue(StoredValue(compressed)));
}

// A minimal skin: the given definition plus the named pictures.
Bytes CraftedSkin(std::string_view ini, std::vector<TArchiveEntry> files) {
    files.push_back({"skin.ini", Text(ini)});
    return Compressed(files);
}

TColor PixelAt(TBitmap& bitmap, int x, int y) {
    return static_cast<TColor>(GetPixel(bitmap.Canvas()->Handle(), x, y));
}

const Bytes& ShippedSkin() {
    static const Bytes skin = Compressed(ShippedFiles());
    return skin;
}

// Every test that talks to the skin manager starts and ends without one.
class SkinManagerScope : public ::testing::Test {
protected:
    void SetUp() override { TSkinManage::FreeInstance(); }
    void TearDown() override { TSkinManage::FreeInstance(); }
};

// Sees whether the elements already exist when the layout reader calls Loaded.
class TLoadProbeSkinData : public TSkinData {
    DECLARE_CLASS_INFO()
public:
    using TSkinData::TSkinData;
    void Loaded() override {
        elementsAtLoaded = ScrollbarArrows != nullptr && !SkinPending;
        TSkinData::Loaded();
    }
    bool elementsAtLoaded = false;
};

const TClassInfo& TLoadProbeSkinData::StaticClass() {
    static const TClassInfo info(L"TLoadProbeSkinData", &TSkinData::StaticClass());
    return info;
}

struct RegisterSkinClasses {
    RegisterSkinClasses() {
        RegisterComponentClass<TSkinData>();
        RegisterComponentClass<TLoadProbeSkinData>();
    }
} registerSkinClasses;

}  // namespace

// ---- Properties

TEST(SkinData, InitialPropertiesAndAlwaysPresentElements) {
    TSkinData data(nullptr);
    EXPECT_FALSE(data.Active());
    EXPECT_EQ(data.DisableTag(), 99);
    EXPECT_EQ(data.SkinControls(), 0x1FFFFBu);
    EXPECT_FALSE(data.HasSkinControl(xcMenuItem));
    EXPECT_FALSE(data.HasSkinControl(xcFastReport));
    EXPECT_TRUE(data.HasSkinControl(xcSystemMenu));
    EXPECT_EQ(data.Options(), 0x48u);
    EXPECT_TRUE(data.HasOption(xoPreview));
    EXPECT_TRUE(data.HasOption(xoToolbarBK));
    EXPECT_EQ(data.SkinFile(), L"");
    EXPECT_EQ(data.GetSkinStore(), L"(none)");
    EXPECT_EQ(data.SkinFormtype(), TSkinFormType::sfMainform);
    EXPECT_TRUE(data.MenuUpdate());
    EXPECT_FALSE(data.MenuMerge());
    EXPECT_TRUE(data.SkinPending);
    EXPECT_TRUE(data.FramePaintEnabled);
    EXPECT_EQ(data.CompressedSkin().Size(), 0u);

    ASSERT_TRUE(data.Title && data.Buttons && data.FrameLeft && data.FrameRight && data.FrameTop && data.FrameBottom);
    EXPECT_EQ(data.Title->Name, "Title");
    EXPECT_EQ(data.Buttons->Name, "Buttons");
    EXPECT_EQ(data.FrameLeft->Name, "Left");
    EXPECT_EQ(data.FrameBottom->Name, "Bottom");
    EXPECT_FALSE(data.Tabs);
    EXPECT_FALSE(data.Toolbar);
    EXPECT_EQ(data.AppIconBitmap.PixelFormat(), TPixelFormat::pf24bit);
    ASSERT_NE(data.MenuGlyphs(), nullptr);
    const bool hasGlyphs = FindResourceW(GetModuleHandleW(nullptr), L"MENUGLYPHS", MAKEINTRESOURCEW(2)) != nullptr;
    EXPECT_EQ(data.MenuGlyphs()->Count(), hasGlyphs ? 4 : 0);

    // The published view of the same values.
    EXPECT_EQ(data.GetProperty(L"DisableTag").AsInteger(), 99);
    EXPECT_EQ(data.GetProperty(L"SkinFormtype").AsText(), L"sfMainform");
    const std::wstring options = data.GetProperty(L"Options").AsText();
    EXPECT_NE(options.find(L"xoPreview"), std::wstring::npos);
    EXPECT_NE(options.find(L"xoToolbarBK"), std::wstring::npos);
    EXPECT_EQ(options.find(L"xoMenuMerge"), std::wstring::npos);
    data.SetProperty(L"SkinStore", TValue(L"(Good)"));
    data.SetProperty(L"Version", TValue(L"2"));
    EXPECT_EQ(data.GetProperty(L"SkinStore").AsText(), L"(none)");
    EXPECT_EQ(data.Version(), TSkinData::kVersionText);
}

TEST(SkinData, Skin3rdHoldsTheDefault117LinesWithTheirDuplicates) {
    TSkinData data(nullptr);
    const std::vector<std::wstring> lines = data.Skin3rd()->ToVector();
    ASSERT_EQ(lines.size(), 117u);
    EXPECT_EQ(lines.front(), L"TCategoryButtons=scrollbar");
    EXPECT_EQ(lines[12], L"TControlBar=Panel");
    EXPECT_EQ(lines.back(), L"TOVCDBNUMERICFIELD=Edit");
    std::map<std::wstring, int> counts;
    for (const auto& line : lines) ++counts[line];
    EXPECT_EQ(counts[L"TDBCheckboxEh=Checkbox"], 2);
    EXPECT_EQ(counts[L"TLMDFontSizeCombobox=combobox"], 2);
    EXPECT_EQ(counts[L"TWWDBCombobox=Combobox"], 2);
    EXPECT_EQ(counts.size(), 114u);
    // Assigning copies the lines.
    TStringList other;
    other.Add(L"TMyGrid=scrollbar");
    data.SetSkin3rd(other);
    other.Add(L"TOther=nil");
    EXPECT_EQ(data.Skin3rd()->ToVector(), std::vector<std::wstring>{L"TMyGrid=scrollbar"});
}

// ---- SkinStream

TEST(SkinData, SkinStreamWritesCountAndBytesAndIgnoresEmptyCounts) {
    TSkinData data(nullptr);
    EXPECT_EQ(data.GetProperty(L"SkinStream").AsBytes(), (Bytes{0, 0, 0, 0}));
    LoadSkinBytes(data, ShippedSkin());
    EXPECT_EQ(data.GetProperty(L"SkinStream").AsBytes(), StoredValue(ShippedSkin()));
    EXPECT_FALSE(data.SkinPending);

    struct Case {
        const char* name;
        Bytes value;
    };
    const Case keeps[] = {
        {"count 0", {0, 0, 0, 0}},
        {"count -1", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"count 0 with bytes after it", {0, 0, 0, 0, 1, 2, 3}},
    };
    for (const Case& c : keeps) {
        SCOPED_TRACE(c.name);
        data.SetProperty(L"SkinStream", TValue(c.value));
        EXPECT_EQ(data.GetProperty(L"SkinStream").AsBytes(), StoredValue(ShippedSkin()));
    }
    // A count larger than what follows is a read error, not a partial skin.
    EXPECT_THROW(data.SetProperty(L"SkinStream", TValue(Bytes{10, 0, 0, 0, 1, 2})), EReadError);
    EXPECT_EQ(data.CompressedSkin().Size(), ShippedSkin().size());
}

TEST(SkinData, StoredLayoutRoundTripLoadsTheSkinBeforeLoaded) {
    TSkinManage::FreeInstance();
    // Write the stream out through a layout text, then read it back.
    LayoutObject root;
    root.name = "Host";
    root.className = "TComponent";
    LayoutObject child;
    child.name = "SkinData1";
    child.className = "TLoadProbeSkinData";
    child.properties.push_back({{"SkinFormtype"}, LayoutValue{LayoutIdent{"sfOnlyThisForm"}}});
    child.properties.push_back({{"SkinStream"}, MakeLayoutBinary(StoredValue(ShippedSkin()))});
    root.children.push_back(child);
    const std::string text = WriteLayout(root);
    ASSERT_NE(text.find("SkinStream = {"), std::string::npos);

    TComponent host(nullptr);
    ReadLayoutText(host, text);
    auto* data = As<TLoadProbeSkinData>(host.FindComponent(L"SkinData1"));
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->elementsAtLoaded);
    EXPECT_EQ(data->GetProperty(L"SkinStream").AsBytes(), StoredValue(ShippedSkin()));
    ASSERT_TRUE(data->ScrollbarArrows);
    EXPECT_EQ(data->ScrollbarArrows->Frame, 23);
    // Loaded registered it with the manager it created.
    ASSERT_NE(TSkinManage::Instance(), nullptr);
    EXPECT_EQ(TSkinManage::Instance()->SkinDataList(), std::vector<TSkinData*>{data});
    EXPECT_EQ(TSkinManage::Instance()->MainSkinData(), nullptr);
    TSkinManage::FreeInstance();
}

// ---- The shipped layout

TEST(SkinData, ShippedLayoutFillsEverySlotAsTheSlotTableSays) {
    TSkinData data(nullptr);
    LoadSkinBytes(data, ShippedSkin());
    ASSERT_FALSE(data.SkinPending);

    // Five caption-button sections and the three MDI buttons.
    ASSERT_EQ(data.CaptionButtons.size(), 8u);
    const char* names[] = {"BUTTON0", "BUTTON1", "BUTTON2", "BUTTON3", "BUTTON4"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(data.CaptionButtons[i]->Name, names[i]);
    const TDataSkinSysButton& maxButton = *data.CaptionButtons[1];
    EXPECT_EQ(maxButton.Action, 1);
    EXPECT_EQ(maxButton.Align, 1);
    EXPECT_EQ(maxButton.XCoord, 49);
    EXPECT_EQ(maxButton.YCoord, 5);
    EXPECT_EQ(maxButton.Visibility, 2);
    EXPECT_EQ(maxButton.Visibility1, 6);
    EXPECT_EQ(maxButton.CombineOp, -1);
    EXPECT_EQ(maxButton.Frame, 6);  // 126 x 21: ratio 6
    EXPECT_EQ(maxButton.Bitmap.Width(), 126);
    EXPECT_TRUE(data.CaptionButtons[4]->Bitmap.Empty());  // system menu: the icon
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        const TDataSkinSysButton& mdi = *data.CaptionButtons[5 + k];
        EXPECT_EQ(mdi.Action, 7 + k);
        EXPECT_EQ(mdi.Align, 100);
        EXPECT_EQ(mdi.Visibility, 100);
        EXPECT_EQ(mdi.Visibility1, 100);
        EXPECT_EQ(mdi.Frame, 4);
        EXPECT_EQ(mdi.Bitmap.Width(), 52);  // four of the twelve 13-pixel cells
        EXPECT_EQ(mdi.Bitmap.Height(), 13);
        EXPECT_EQ(mdi.XCoord, 17 * (3 - k));
    }

    ASSERT_TRUE(data.Buttons);
    EXPECT_EQ(data.Buttons->Frame, 5);
    EXPECT_EQ(data.Buttons->CheckFrames, 12);
    EXPECT_EQ(data.Buttons->RadioFrames, 8);
    EXPECT_EQ(data.Buttons->Margins.left, 8);
    EXPECT_EQ(data.Buttons->Margins.right, 8);  // "Rightwidth"
    EXPECT_EQ(data.Buttons->Margins.top, 9);
    EXPECT_EQ(data.Buttons->Trans, 1);
    EXPECT_FALSE(data.Buttons->HasNormalColour2);
    EXPECT_EQ(data.Buttons->NormalColour2, data.ButtonTextColour);

    struct Slot {
        const char* name;
        const TDataSkinObject* element;
        int frames;
    };
    const Slot slots[] = {
        {"Title", data.Title.get(), 2},
        {"Tabs", data.Tabs.get(), 5},
        {"UpDownHorz", data.UpDownHorz.get(), 8},
        {"UpDownVert", data.UpDownVert.get(), 8},
        {"ExtraImages", data.ExtraImages.get(), 5},
        {"ComboButton", data.ComboButton.get(), 4},
        {"ComboArrow", data.ComboArrow.get(), 4},
        {"Toolbar", data.Toolbar.get(), 1},
        {"Progress (Style 1)", data.Progress.get(), 1},
        {"ProgressChunk (as read)", data.ProgressChunk.get(), 0},
        {"StatusBarEdges", data.StatusBarEdges.get(), 3},
        {"TabPane", data.TabPane.get(), 1},
        {"Headerbar (frame=4)", data.Headerbar.get(), 4},
        {"MenuItem", data.MenuItem.get(), 5},
        {"MenuBackground", data.MenuBackground.get(), 1},
        {"ScrollbarArrows", data.ScrollbarArrows.get(), 23},
        {"HorzScroll", data.HorzScroll.get(), 4},
        {"VertScroll", data.VertScroll.get(), 4},
        {"HorzScrollThumb (FrameCount)", data.HorzScrollThumb.get(), 4},
        {"VertScrollThumb (FrameCount)", data.VertScrollThumb.get(), 4},
        {"TrackThumbHorz", data.TrackThumbHorz.get(), 5},
        {"FrameLeft", data.FrameLeft.get(), 2},
        {"FrameTop", data.FrameTop.get(), 2},
    };
    for (const Slot& s : slots) {
        SCOPED_TRACE(s.name);
        ASSERT_NE(s.element, nullptr);
        EXPECT_EQ(s.element->Frame, s.frames);
    }
    // Sections the skin does not have leave their slots empty.
    EXPECT_FALSE(data.SunkEdge);
    EXPECT_FALSE(data.GroupBox);
    EXPECT_FALSE(data.GroupBoxEdge);
    EXPECT_FALSE(data.ToolBars);
    EXPECT_FALSE(data.MenuBar);
    EXPECT_FALSE(data.TrackThumbVert);  // the skin names Trackbar.ThumbDown, which is not read

    EXPECT_EQ(data.Title->Margins.left, 16);
    EXPECT_EQ(data.Title->Margins.top, 2);
    EXPECT_EQ(data.Title->Margins.right, 20);
    EXPECT_EQ(data.Title->FontHeight, 14);
    EXPECT_EQ(data.Title->ActiveTextColour, clNone);
    EXPECT_EQ(data.FrameLeft->Margins.top, 29);
    EXPECT_EQ(data.FrameLeft->Margins.bottom, 5);
    EXPECT_EQ(data.FrameTop->Margins.left, 32);
    EXPECT_EQ(data.FrameTop->Margins.right, 39);
    EXPECT_EQ(data.FrameTop->Tile, 1);
    EXPECT_EQ(data.FrameBottom->Trans, 0);
    EXPECT_EQ(data.UpDownVert->Bitmap2.Width(), 56);
    EXPECT_EQ(data.UpDownVert->Bitmap2.BitsPerPixel(), 8);
    EXPECT_EQ(data.ScrollbarArrows->Bitmap.Width(), 391);
    EXPECT_EQ(data.ScrollbarArrows->NormalColour, -1);

    EXPECT_EQ(data.ButtonFaceColour, MakeColour(236, 233, 216));
    EXPECT_EQ(data.MenuBarColour, MakeColour(236, 233, 216));
    EXPECT_EQ(data.HilightColour, MakeColour(49, 106, 197));
    EXPECT_EQ(data.TitleTextInactiveColour, MakeColour(216, 228, 248));
    EXPECT_EQ(data.ButtonTextColour, clBtnText);  // not in the skin: the system colour
    EXPECT_EQ(data.FrameColour, kFrameBlue);
    LOGBRUSH brush{};
    ASSERT_TRUE(GetObjectW(data.FaceBrush(), sizeof(brush), &brush));
    EXPECT_EQ(brush.lbColor, static_cast<COLORREF>(MakeColour(236, 233, 216)));

    // The combo button: its picture mirrored into Bitmap2; without a sunken
    // edge the arrow is the picture with magenta turned to the face colour.
    EXPECT_EQ(PixelAt(data.ComboButton->Bitmap, 0, 0), kMagentaKey);
    EXPECT_EQ(PixelAt(data.ComboButton->Bitmap2, 0, 0), MakeColour(1, 2, 3));
    EXPECT_EQ(PixelAt(data.ComboButton->Bitmap2, 59, 0), kMagentaKey);
    EXPECT_EQ(PixelAt(data.ComboArrow->Bitmap, 0, 0), MakeColour(236, 233, 216));
    EXPECT_EQ(PixelAt(data.ComboArrow->Bitmap, 59, 0), MakeColour(1, 2, 3));
    EXPECT_EQ(data.ComboArrow->Name, "ComboxArrow");
}

TEST(SkinData, ToolbarGradientRunsFromTheFaceColourToTheFrameColour) {
    TSkinData data(nullptr);
    LoadSkinBytes(data, ShippedSkin());
    ASSERT_TRUE(data.Toolbar);
    TBitmap& bar = data.Toolbar->Bitmap;
    ASSERT_EQ(bar.Width(), 10);
    ASSERT_EQ(bar.Height(), 40);
    for (int x : {0, 9}) {
        EXPECT_EQ(PixelAt(bar, x, 0), MakeColour(252, 252, 249));
        EXPECT_EQ(PixelAt(bar, x, 39), MakeColour(141, 180, 244));
    }
}

// ---- Crafted skins for the loader's rules

TEST(SkinData, CaptionButtonFrameCountsFollowTheirPicturesAndActions) {
    constexpr std::string_view ini = R"([ButtonWide]
ButtonImage=wide.bmp
[ButtonNarrow]
ButtonImage=narrow.bmp
Action=1
[ButtonHiddenShown]
ButtonImage=narrow.bmp
Action=-1
Visibility=0
[ButtonHidden]
ButtonImage=narrow.bmp
Action=-1
[ButtonSysMenu]
ButtonImage=wide.bmp
Action=3
[ButtonHelp]
ButtonImage=narrow.bmp
Action=11
[ButtonGiven]
ButtonImage=narrow.bmp
Action=3
frame=2
[ButtonNoImage]
Action=2
[Buttons]
Bitmap=b.bmp
[Button.Radio]
Image=b.bmp
[BUTTON.CHECKBOX]
Image=b.bmp
[Button]
ButtonImage=wide.bmp
)";
    TSkinData data(nullptr);
    LoadSkinBytes(data, CraftedSkin(ini, {{"wide.bmp", Picture(126, 21)}, {"narrow.bmp", Picture(60, 22)},
                                          {"b.bmp", Picture(10, 10)}}));
    struct Row {
        const char* name;
        int frames;
        bool bitmapKept;
        int visibility1;
    };
    const Row rows[] = {
        {"BUTTONWIDE", 6, true, 0},          // 126 x 21: ratio 6
        {"BUTTONNARROW", 3, true, 0},        // 60 x 22: ratio about 2.7
        {"BUTTONHIDDENSHOWN", 6, true, -1},  // Action -1 always 6
        {"BUTTONSYSMENU", 6, false, 0},      // Action 3 drops its picture
        {"BUTTONHELP", 3, false, 0},         // so does 11
        {"BUTTONGIVEN", 2, true, 0},         // a given frame count keeps both
        {"BUTTONNOIMAGE", 6, false, 0},
    };
    ASSERT_EQ(data.CaptionButtons.size(), std::size(rows) + 3);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].name);
        const TDataSkinSysButton& b = *data.CaptionButtons[i];
        EXPECT_EQ(b.Name, rows[i].name);
        EXPECT_EQ(b.Frame, rows[i].frames);
        EXPECT_EQ(!b.Bitmap.Empty(), rows[i].bitmapKept);
        EXPECT_EQ(b.Visibility1, rows[i].visibility1);
    }
    // Without MDICONTROLS the MDI buttons have no picture and sit at 0.
    EXPECT_TRUE(data.CaptionButtons.back()->Bitmap.Empty());
    EXPECT_EQ(data.CaptionButtons.back()->XCoord, 0);
}

TEST(SkinData, MdiCellsKeepThePaletteAndTheirPlace) {
    const TColor fill = MakeColour(1, 120, 240);
    const struct {
        const char* name;
        int width, bitsPerPixel, cellWidth;
    } rows[] = {
        {"indexed image", 36, 8, 12},
        {"image under 12 pixels: empty cells", 6, 24, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        TSkinData data(nullptr);
        LoadSkinBytes(data, CraftedSkin("[MDICONTROLS]\nImage=m.bmp\n",
                                        {{"m.bmp", Picture(r.width, 2, r.bitsPerPixel, fill)}}));
        ASSERT_EQ(data.CaptionButtons.size(), 3u);
        for (int k = 0; k < 3; ++k) {
            SCOPED_TRACE(k);
            TDataSkinSysButton& mdi = *data.CaptionButtons[k];
            EXPECT_EQ(mdi.XCoord, (r.cellWidth / 4 + 4) * (3 - k));
            EXPECT_EQ(mdi.Bitmap.Width(), r.cellWidth);
            if (r.cellWidth > 0) {
                EXPECT_EQ(PixelAt(mdi.Bitmap, r.cellWidth - 1, 1), fill);
            }
        }
    }
}

TEST(SkinData, CheckAndRadioFramesComputedFromTheirStrips) {
    struct Case {
        const char* name;
        int width, height, frames;
    };
    const Case cases[] = {
        {"104 x 13: 13-pixel cells", 104, 13, 8},
        {"40 x 20: 2 cells of 16, raised to 4", 40, 20, 4},
        {"160 x 16: 16-pixel cells", 160, 16, 10},
        {"15 high still 13-pixel cells", 130, 15, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSkinData data(nullptr);
        LoadSkinBytes(data, CraftedSkin("[Buttons]\nRadioButton=radio.bmp\nCheckButton=check.bmp\nCheckButtonFrame=3\n",
                                        {{"radio.bmp", Picture(c.width, c.height)},
                                         {"check.bmp", Picture(c.width, c.height)}}));
        EXPECT_EQ(data.Buttons->RadioFrames, c.frames);
        EXPECT_EQ(data.Buttons->CheckFrames, 3);
    }
    TSkinData empty(nullptr);
    LoadSkinBytes(empty, CraftedSkin("[Colours]\n", {}));
    EXPECT_EQ(empty.Buttons->RadioFrames, 4);  // no strip at all
    EXPECT_EQ(empty.Buttons->CheckFrames, 4);
}

TEST(SkinData, ThirtyTwoBitPicturesKeepTheirMagentaKeyWithTheFourthByteSet) {
    // Magenta with 0xFF in every pixel's fourth byte, as many painting tools write it.
    TBitmapFile file(20, 18, 32);
    for (int y = 0; y < 18; ++y) {
        std::uint8_t* row = file.Row(y).data();
        for (int x = 0; x < 20; ++x) {
            row[4 * x] = 0xFF;
            row[4 * x + 1] = 0;
            row[4 * x + 2] = 0xFF;
            row[4 * x + 3] = 0xFF;
        }
    }
    TSkinData data(nullptr);
    LoadSkinBytes(data, CraftedSkin("[MenuItem]\nImage=item.bmp\nTrans=1\n", {{"item.bmp", file.Encode()}}));
    ASSERT_TRUE(data.MenuItem);
    TBitmap target;
    target.SetSize(30, 20);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect({0, 0, 30, 20});
    DrawElement(target.Canvas()->Handle(), {0, 0, 30, 20}, data.MenuItem->Bitmap, false, false, true, 1, 1,
                RECT{2, 2, 2, 2});
    EXPECT_EQ(PixelAt(target, 15, 10), clWhite);
    EXPECT_EQ(PixelAt(target, 0, 0), clWhite);
}

TEST(SkinData, ElementReadersLimitsAndCaseRules) {
    constexpr std::string_view ini = R"([Tab.Pane]
Image=pane.bmp
LeftWidth=9
TopHeight=4
RightWidth=5
BottomHeight=-1
Tile=2
[Scrollbar]
Image=Arrows.BMP
[HorzScroll]
Image=dir\hbar.bmp
NormalColour=$FF
NormalColour2=1 2 3
[Progress]
Image=pane.bmp
[VertScroll]
Image=broken.bmp
[ToolBars]
Image=pane.bmp
Tile=3
[GroupBox]
Image=pane.bmp
BackgroundAlignment=2
BackgroundLeftShift=7
[Personality]
menuBar=pane.bmp
TileMenu=5
LeftStretch=4
Left=frameleft.bmp
Top=missing.bmp
ActiveTextR=1
ActiveTextG=2
ActiveTextB=3
InActiveTextR=1
InActiveTextG=-1
InActiveTextB=3
[Fonts]
FontHeight=18
)";
    TSkinData data(nullptr);
    LoadSkinBytes(data, CraftedSkin(ini, {{"pane.bmp", Picture(8, 8)},
                                          {"arrows.bmp", Picture(23, 5)},
                                          {"hbar.bmp", Picture(4, 4)},
                                          {"frameleft.bmp", Picture(8, 20)},
                                          {"broken.bmp", Text("BM not a bitmap")}}));
    ASSERT_TRUE(data.TabPane);
    EXPECT_EQ(data.TabPane->Margins.left, 4);
    EXPECT_EQ(data.TabPane->Margins.top, 4);
    EXPECT_EQ(data.TabPane->Margins.right, 4);
    EXPECT_EQ(data.TabPane->Margins.bottom, -1);
    EXPECT_EQ(data.TabPane->Tile, 0);  // above 1 becomes 0

    // Upper-case .BMP: the element exists, its picture does not.
    ASSERT_TRUE(data.ScrollbarArrows);
    EXPECT_TRUE(data.ScrollbarArrows->Bitmap.Empty());
    // A path in front of the name is dropped.
    ASSERT_TRUE(data.HorzScroll);
    EXPECT_EQ(data.HorzScroll->Bitmap.Width(), 4);
    EXPECT_EQ(data.HorzScroll->NormalColour, 255);
    EXPECT_EQ(data.HorzScroll->NormalColour2, MakeColour(1, 2, 3));
    EXPECT_EQ(data.HorzScroll->PressedColour2, clBtnText);

    // A damaged picture counts as a missing one; the load goes on.
    ASSERT_TRUE(data.VertScroll);
    EXPECT_TRUE(data.VertScroll->Bitmap.Empty());
    EXPECT_FALSE(data.SkinPending);
    EXPECT_FALSE(data.Progress);  // Progress names its file with "Bitmap", not "Image"
    ASSERT_TRUE(data.ToolBars);
    EXPECT_EQ(data.ToolBars->Tile, 0);
    ASSERT_TRUE(data.GroupBox);
    EXPECT_EQ(data.GroupBox->BackgroundAlignment, 2);
    EXPECT_EQ(data.GroupBox->BackgroundLeftShift, 7);
    ASSERT_TRUE(data.MenuBar);
    EXPECT_EQ(data.MenuBar->Tile, 1);
    EXPECT_EQ(data.MenuBar->Margins.left, 1);
    EXPECT_EQ(data.MenuBar->Frame, 2);
    EXPECT_EQ(data.FrameLeft->Tile, 1);
    EXPECT_EQ(data.FrameLeft->Trans, 1);
    EXPECT_EQ(data.FrameLeft->Frame, 1);
    EXPECT_EQ(data.FrameLeft->Bitmap.Height(), 20);
    EXPECT_TRUE(data.FrameTop->Bitmap.Empty());  // a name not in the archive
    EXPECT_EQ(data.Title->ActiveTextColour, MakeColour(1, 2, 3));
    EXPECT_EQ(data.Title->InactiveTextColour, clNone);
    EXPECT_EQ(data.Title->FontHeight, 18);
    // No top frame picture: the frame colour is the face colour.
    EXPECT_EQ(data.FrameColour, clBtnFace);
}

TEST(SkinData, TrackElementsComeFromTheProgramWhenTheSkinHasNone) {
    TSkinData data(nullptr);
    LoadSkinBytes(data, ShippedSkin());
    const bool hasTrack = FindResourceW(GetModuleHandleW(nullptr), L"TRACK", MAKEINTRESOURCEW(2)) != nullptr;
    if (!hasTrack) {
        // This program carries no TRACK picture: the slot stays empty, as for
        // any element neither the skin nor the program provides.
        EXPECT_FALSE(data.Track);
        EXPECT_FALSE(data.TrackVert);
    } else {
        ASSERT_TRUE(data.Track);
        EXPECT_EQ(data.Track->Frame, 1);
        EXPECT_EQ(data.Track->Margins.left, 3);
        EXPECT_EQ(data.Track->Margins.bottom, 3);
        EXPECT_EQ(data.Track->Tile, 0);
        EXPECT_FALSE(data.Track->Bitmap.Empty());
    }
    // A skin's own Track section wins, with the frame count it gives.
    TSkinData own(nullptr);
    LoadSkinBytes(own, CraftedSkin("[Track]\nImage=t.bmp\nFrame=3\nLeftWidth=1\n", {{"t.bmp", Picture(12, 4)}}));
    ASSERT_TRUE(own.Track);
    EXPECT_EQ(own.Track->Frame, 3);
    EXPECT_EQ(own.Track->Margins.left, 1);
}

TEST(SkinData, ComboStripsBuiltFromSunkenEdgeAndComboButton) {
    constexpr std::string_view ini = R"([SunkEdge]
Image=sunk.bmp
LeftWidth=3
TopHeight=3
RightWidth=3
BottomHeight=3
[ComboButton]
Image=combo.bmp
[ExtraImages]
Image=extra.bmp
)";
    TSkinData data(nullptr);
    LoadSkinBytes(data, CraftedSkin(ini, {{"sunk.bmp", Picture(40, 21, 24, MakeColour(0, 128, 0))},
                                          {"combo.bmp", Picture(64, 21, 24, MakeColour(0, 0, 200))},
                                          {"extra.bmp", Picture(50, 10, 24, MakeColour(200, 0, 0))}}));
    ASSERT_TRUE(data.SunkEdge && data.ComboButton && data.ComboArrow);
    const int b = GetSystemMetrics(SM_CXHSCROLL) + 2;
    EXPECT_EQ(data.ComboButton->Style, 2);
    EXPECT_EQ(data.ComboButton->Bitmap.Width(), 200);
    EXPECT_EQ(data.ComboButton->Bitmap.Height(), 21);
    EXPECT_EQ(data.ComboButton->Margins.left, 2);
    EXPECT_EQ(data.ComboButton->Margins.right, b + 2);
    EXPECT_EQ(data.ComboButton->Margins.top, 3);
    EXPECT_EQ(data.SunkEdge->Margins.left, b + 2);
    EXPECT_EQ(data.SunkEdge->Margins.right, 2);
    EXPECT_EQ(data.SunkEdge->Bitmap.Width(), 200);
    // Each 50-pixel frame: the edge, the inside cleared to magenta, the
    // button at the right; the sunken edge is the mirror image.
    for (int f = 0; f < 4; ++f) {
        SCOPED_TRACE(f);
        EXPECT_EQ(PixelAt(data.ComboButton->Bitmap, 50 * f, 0), MakeColour(0, 128, 0));
        EXPECT_EQ(PixelAt(data.ComboButton->Bitmap, 50 * f + 10, 10), kMagentaKey);
        EXPECT_EQ(PixelAt(data.SunkEdge->Bitmap, 199 - 50 * f - 10, 10), kMagentaKey);
        EXPECT_EQ(PixelAt(data.SunkEdge->Bitmap, 199 - 50 * f, 0), MakeColour(0, 128, 0));
    }
    EXPECT_EQ(data.ComboArrow->Frame, 4);
    EXPECT_EQ(data.ComboArrow->Bitmap.Width(), 68);
    EXPECT_EQ(data.ComboArrow->Bitmap.Height(), 17);
    // The arrow cells come from the button area (the extra image's red in its middle).
    EXPECT_EQ(PixelAt(data.ComboArrow->Bitmap, 17 - 1 - (b - 2) / 2, 8), MakeColour(200, 0, 0));
}

TEST(SkinData, SecondSkinReplacesTheElementsOfTheFirst) {
    TSkinData data(nullptr);
    LoadSkinBytes(data, ShippedSkin());
    ASSERT_TRUE(data.Tabs);
    LoadSkinBytes(data, CraftedSkin("[Scrollbar]\nImage=a.bmp\n", {{"a.bmp", Picture(46, 2)}}));
    EXPECT_FALSE(data.Tabs);
    EXPECT_FALSE(data.ComboButton);
    EXPECT_TRUE(data.ComboArrow && data.ComboArrow->Bitmap.Empty());
    ASSERT_TRUE(data.ScrollbarArrows);
    EXPECT_EQ(data.ScrollbarArrows->Bitmap.Width(), 46);
    EXPECT_EQ(data.CaptionButtons.size(), 3u);
    EXPECT_EQ(data.ButtonFaceColour, clBtnFace);
}

// ---- Refused archives

TEST_F(SkinManagerScope, WrongVersionShowsTheMessageOnceAndKeepsTheElements) {
    for (std::int32_t version : {19999, 20001}) {
        SCOPED_TRACE(version);
        TSkinData data(nullptr);
        LoadSkinBytes(data, ShippedSkin());
        TDataSkinObject* arrows = data.ScrollbarArrows.get();
        const Bytes refused = Compressed(ShippedFiles(), version);
        {
            DialogCloser closer;
            LoadSkinBytes(data, refused);
            ASSERT_EQ(closer.SeenDialogs().size(), 1u);
            EXPECT_NE(closer.SeenDialogs()[0].text.find(L"This is Older Skin File"), std::wstring::npos);
            EXPECT_NE(closer.SeenDialogs()[0].text.find(L"Please update to new version !"), std::wstring::npos);
        }
        EXPECT_EQ(data.ScrollbarArrows.get(), arrows);
        EXPECT_TRUE(data.SkinPending);
        // The refused bytes are held (and written back) as they came.
        EXPECT_EQ(data.CompressedSkin().Size(), refused.size());

        // Active can be switched on but starts nothing.
        data.SetActive(true);
        EXPECT_TRUE(data.Active());
        EXPECT_EQ(TSkinManage::Instance(), nullptr);
        // And Loaded of the main form switches it off again.
        data.Loaded();
        EXPECT_FALSE(data.Active());
        ASSERT_NE(TSkinManage::Instance(), nullptr);
        EXPECT_FALSE(TSkinManage::Instance()->ActionTimer().Enabled());
        EXPECT_EQ(TSkinManage::Instance()->PendingAction, saNone);
        TSkinManage::FreeInstance();
    }
}

// A stream the decoder refuses, from the stored property or from a file.
TEST(SkinData, DamagedSkinShowsOneMessageAndKeepsTheElements) {
    const Bytes& shipped = ShippedSkin();
    Bytes huge(8, 0);
    huge[3] = 0x7F;  // more than any skin may decompress to
    const struct {
        const char* name;
        Bytes bytes;
    } damaged[] = {
        {"truncated", Bytes(shipped.begin(), shipped.begin() + 16)},
        {"impossible size", huge},
    };
    const bool fromFile[] = {false, true};
    for (const auto& d : damaged) {
        for (const bool file : fromFile) {
            SCOPED_TRACE(std::string(d.name) + (file ? " SkinFile" : " SkinStream"));
            TSkinData data(nullptr);
            LoadSkinBytes(data, shipped);
            TDataSkinObject* arrows = data.ScrollbarArrows.get();
            wchar_t dir[MAX_PATH], path[MAX_PATH];
            if (file) {
                ASSERT_TRUE(GetTempPathW(MAX_PATH, dir));
                ASSERT_TRUE(GetTempFileNameW(dir, L"skn", 0, path));
                FILE* out = _wfopen(path, L"wb");
                ASSERT_NE(out, nullptr);
                fwrite(d.bytes.data(), 1, d.bytes.size(), out);
                fclose(out);
            }
            {
                DialogCloser closer;
                if (file) {
                    // SkinFormtype is not the main form's: no Refresh, no manager.
                    data.SetSkinFormtype(TSkinFormType::sfDialog);
                    data.SetSkinFile(path);
                    DeleteFileW(path);
                } else {
                    LoadSkinBytes(data, d.bytes);
                }
                ASSERT_EQ(closer.SeenDialogs().size(), 1u);
                EXPECT_NE(closer.SeenDialogs()[0].text.find(L"LZH"), std::wstring::npos);
            }
            EXPECT_EQ(data.ScrollbarArrows.get(), arrows);
            EXPECT_TRUE(data.SkinPending);
            // The program goes on: the stored skin still loads.
            LoadSkinBytes(data, shipped);
            EXPECT_FALSE(data.SkinPending);
        }
    }
}

TEST(SkinData, SkinFileThatDoesNotExistOnlySetsPending) {
    TSkinData data(nullptr);
    LoadSkinBytes(data, ShippedSkin());
    ASSERT_FALSE(data.SkinPending);
    data.SetSkinFile(L"Z:\\no\\such\\skin.skn");
    EXPECT_EQ(data.SkinFile(), L"Z:\\no\\such\\skin.skn");
    EXPECT_TRUE(data.SkinPending);
    EXPECT_EQ(data.CompressedSkin().Size(), ShippedSkin().size());
    EXPECT_TRUE(data.ScrollbarArrows);
}

TEST_F(SkinManagerScope, SkinFileLoadsTheFileAndRefreshes) {
    wchar_t dir[MAX_PATH], path[MAX_PATH];
    ASSERT_TRUE(GetTempPathW(MAX_PATH, dir));
    ASSERT_TRUE(GetTempFileNameW(dir, L"skn", 0, path));
    {
        HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, ShippedSkin().data(), static_cast<DWORD>(ShippedSkin().size()), &written, nullptr);
        CloseHandle(file);
    }
    TSkinData data(nullptr);
    data.SetSkinFile(path);
    DeleteFileW(path);
    EXPECT_FALSE(data.SkinPending);
    EXPECT_EQ(data.CompressedSkin().Size(), ShippedSkin().size());
    ASSERT_TRUE(data.ScrollbarArrows);
    // The refresh of a main skin data ran Loaded, which made the manager.
    ASSERT_NE(TSkinManage::Instance(), nullptr);
    EXPECT_TRUE(TSkinManage::Instance()->HookInstalled());
}

// ---- Loaded, Active, QueryFormSkin

TEST_F(SkinManagerScope, LoadedDropsMenuItemOrSystemMenuByMainMenu) {
    struct Case {
        const char* name;
        TSkinFormType type;
        TSkinControlTypes before, after;
    };
    const TSkinControlTypes all = (1u << 22) - 1;
    const Case cases[] = {
        {"with main menu: menu items go", TSkinFormType::sfMainform, all, all & ~SetBit(xcMenuItem)},
        {"without: system menu goes", TSkinFormType::sfMainform, all & ~SetBit(xcMainMenu),
         all & ~SetBit(xcMainMenu) & ~SetBit(xcSystemMenu)},
        {"other form types keep both", TSkinFormType::sfDialog, all, all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSkinData data(nullptr);
        data.SetSkinFormtype(c.type);
        data.SetSkinControls(c.before);
        data.Loaded();
        TSkinControlTypes expected = c.after;
        if (!HasGetScrollBarInfo()) expected &= ~SetBit(xcScrollbar);
        EXPECT_EQ(data.SkinControls(), expected);
    }
}

TEST_F(SkinManagerScope, LoadedRegistersHooksAndRecordsTheSwitchBeforeStart) {
    TSkinData dialog(nullptr);
    dialog.SetSkinFormtype(TSkinFormType::sfDialog);
    TSkinData main(nullptr);
    LoadSkinBytes(main, ShippedSkin());
    main.SetLoading(true);
    main.SetActive(true);  // while reading: stored only
    main.SetLoading(false);
    EXPECT_EQ(TSkinManage::Instance(), nullptr);

    dialog.Loaded();
    TSkinManage* manager = TSkinManage::Instance();
    ASSERT_NE(manager, nullptr);
    EXPECT_FALSE(manager->HookInstalled());  // only the main form's component hooks
    EXPECT_TRUE(manager->Active);
    EXPECT_EQ(manager->State, 1);
    EXPECT_EQ(manager->MainSkinData(), nullptr);

    manager->State = TSkinManage::kStateNotStarted;
    manager->Active = false;
    main.Loaded();
    EXPECT_TRUE(manager->HookInstalled());
    EXPECT_EQ(manager->MainSkinData(), &main);
    EXPECT_EQ(manager->SkinDataList(), (std::vector<TSkinData*>{&dialog, &main}));
    EXPECT_TRUE(main.Active());
    // Not started yet: the request only switches skinning on.
    EXPECT_EQ(manager->PendingAction, saSkinAll);
    EXPECT_TRUE(manager->Active);
    EXPECT_FALSE(manager->ActionTimer().Enabled());
    EXPECT_EQ(main.AppIconBitmap.Width(), GetSystemMetrics(SM_CXSMICON));
    EXPECT_TRUE(main.AppIconBitmap.Transparent());
    EXPECT_EQ(main.AppIconBitmap.TransparentColor(), kMagentaKey);
}

TEST(SkinData, QueryFormSkinRules) {
    struct Case {
        const char* name;
        std::wstring className;
        bool fastReport;
        bool expected;
    };
    const Case cases[] = {
        {"month calendar never", L"SysMonthCal32", false, false},
        {"class names compare exactly", L"sysmonthcal32", false, true},
        {"report designer with xcFastReport", L"TfrDesignerForm", true, false},
        {"report designer without it", L"TfrDesignerForm", false, true},
        {"ordinary form", L"TForm1", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSkinData data(nullptr);
        data.SetSkinControls(c.fastReport ? data.SkinControls() | SetBit(xcFastReport) : data.SkinControls());
        bool doSkin = true;
        data.QueryFormSkin(reinterpret_cast<HWND>(1), c.className, doSkin);
        EXPECT_EQ(doSkin, c.expected);
        EXPECT_EQ(data.QueriedWindow, reinterpret_cast<HWND>(1));
    }
    // An OnFormSkin handler decides alone.
    TSkinData data(nullptr);
    std::wstring asked;
    data.OnFormSkin = [&](TObject* sender, const std::wstring& name, bool& doSkin) {
        EXPECT_EQ(sender, &data);
        asked = name;
        doSkin = true;
    };
    bool doSkin = false;
    data.QueryFormSkin(nullptr, L"SysMonthCal32", doSkin);
    EXPECT_TRUE(doSkin);
    EXPECT_EQ(asked, L"SysMonthCal32");
}

// ---- The skin manager

TEST_F(SkinManagerScope, ActionsRunFromTheTimerAndNotifyTheSkinData) {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(10, 10, 200, 150);
    form->Show();
    TSkinData* data = TComponent::Create<TSkinData>(form.get());
    LoadSkinBytes(*data, ShippedSkin());
    data->Loaded();
    TSkinManage& manager = *TSkinManage::Instance();
    int changes = 0;
    data->OnSkinChanged = [&](TObject* sender) {
        EXPECT_EQ(sender, data);
        ++changes;
    };

    data->SetActive(true);
    EXPECT_EQ(manager.State, TSkinManage::kStateRunning);
    EXPECT_TRUE(manager.ActionTimer().Enabled());
    EXPECT_EQ(manager.ActionTimer().Interval(), 250u);
    ASSERT_TRUE(PumpUntil([&] { return changes == 1; }, 3000));
    EXPECT_TRUE(manager.Active);
    EXPECT_FALSE(manager.ActionTimer().Enabled());
    EXPECT_EQ(manager.ActionSkinData, nullptr);
    ASSERT_NE(manager.FindSkinnedForm(form->Handle()), nullptr);
    EXPECT_EQ(manager.FindSkinnedForm(form->Handle())->SkinData(), data);
    // A second attempt on a skinned window does nothing.
    EXPECT_FALSE(manager.SkinWindow(form->Handle()));
    EXPECT_EQ(manager.SkinnedFormCount(), 1);

    data->Refresh();
    ASSERT_TRUE(PumpUntil([&] { return changes == 2; }, 3000));
    EXPECT_EQ(manager.SkinnedFormCount(), 1);

    data->SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return changes == 3; }, 3000));
    EXPECT_FALSE(manager.Active);
    EXPECT_EQ(manager.SkinnedFormCount(), 0);

    manager.ActionSkinData = data;
    manager.PostAction(saPurge, 10);
    ASSERT_TRUE(PumpUntil([&] { return changes == 4; }, 3000));
    form.reset();  // frees the skin data, which leaves the manager
    EXPECT_TRUE(manager.SkinDataList().empty());
}

TEST_F(SkinManagerScope, SkinWindowEligibility) {
    TSkinManage& manager = TSkinManage::Ensure();
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(10, 10, 200, 150);
    form->Show();
    TSkinData main(nullptr);
    manager.AddSkinData(&main);

    EXPECT_FALSE(manager.SkinWindow(form->Handle()));  // not switched on
    manager.Active = true;
    EXPECT_FALSE(manager.SkinWindow(form->Handle()));  // no skin loaded yet
    LoadSkinBytes(main, ShippedSkin());
    form->SetTag(99);
    EXPECT_FALSE(manager.SkinWindow(form->Handle()));
    form->SetTag(0);
    main.OnFormSkin = [](TObject*, const std::wstring&, bool& doSkin) { doSkin = false; };
    EXPECT_FALSE(manager.SkinWindow(form->Handle()));
    main.OnFormSkin = nullptr;
    EXPECT_TRUE(manager.SkinWindow(form->Handle()));
    EXPECT_EQ(manager.SkinnedFormCount(), 1);
    EXPECT_EQ(manager.FindSkinnedForm(form->Handle())->Form(), form.get());

    // A plain child window is left alone unless forced; the application's
    // window never.
    EXPECT_TRUE(TSkinManage::IsPlainChildWindow(
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, form->Handle(), nullptr, nullptr, nullptr)));
    EXPECT_FALSE(manager.SkinWindow(Application->Handle()));

    // A dialog window goes to the dialog skin data, everything else to the main one.
    TSkinData dialogData(nullptr);
    dialogData.SetSkinFormtype(TSkinFormType::sfDialog);
    manager.AddSkinData(&dialogData);
    HWND dialog = CreateWindowExW(0, L"#32770", L"d", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(manager.FindSkinData(dialog), &dialogData);
    EXPECT_EQ(manager.FindSkinData(form->Handle()), &main);
    // A window of zero size is not skinned.
    HWND empty = CreateWindowExW(0, L"#32770", L"e", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    LoadSkinBytes(dialogData, ShippedSkin());
    EXPECT_FALSE(manager.SkinWindow(empty));
    EXPECT_TRUE(manager.SkinWindow(dialog));
    EXPECT_EQ(manager.FindSkinnedForm(dialog)->SkinData(), &dialogData);
    // A closed window's entry goes at the next purge.
    DestroyWindow(dialog);
    DestroyWindow(empty);
    manager.PurgeForms();
    EXPECT_EQ(manager.SkinnedFormCount(), 1);
    manager.RemoveSkinData(&dialogData);
    manager.RemoveSkinData(&main);
    EXPECT_EQ(manager.SkinnedFormCount(), 0);
}

TEST_F(SkinManagerScope, PaintersComeFromTheFactoryAndHearEveryAction) {
    struct TRecordingForm : TSkinnedForm {
        TRecordingForm(HWND w, TCustomForm* f, TSkinData& d, std::vector<std::string>& log)
            : TSkinnedForm(w, f, d), log_(log) {}
        ~TRecordingForm() override { log_.push_back("freed"); }
        void Detach() override { log_.push_back("detach"); }
        void ReloadSkin() override { log_.push_back("reload"); }
        void Repaint() override { log_.push_back("repaint"); }
        void SetMaximizedPainting(bool) override { log_.push_back("maximized"); }
        std::vector<std::string>& log_;
    };
    std::vector<std::string> log;
    TSkinManage& manager = TSkinManage::Ensure();
    manager.SkinnedFormFactory = [&](HWND w, TCustomForm* f, TSkinData& d) {
        log.push_back("made");
        return std::make_unique<TRecordingForm>(w, f, d, log);
    };
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(10, 10, 200, 150);
    form->Show();
    TSkinData data(nullptr);
    LoadSkinBytes(data, ShippedSkin());
    manager.AddSkinData(&data);
    manager.Active = true;
    ASSERT_TRUE(manager.SkinWindow(form->Handle()));
    manager.State = TSkinManage::kStateRunning;
    manager.SetMDIMaximized(true);  // no MDI child among them
    EXPECT_TRUE(manager.MDIMaximized);

    const auto run = [&](TSkinAction action) {
        manager.ActionSkinData = &data;
        manager.PostAction(action, 1);
        manager.DoAction();
    };
    run(saRefresh);
    EXPECT_EQ(log, (std::vector<std::string>{"made", "reload", "repaint"}));
    log.clear();
    manager.TargetWindow = form->Handle();
    run(saReskinWindow);  // detached, closed, purged, attached again
    EXPECT_EQ(log, (std::vector<std::string>{"detach", "freed", "made"}));
    log.clear();
    run(saUnskinAll);
    EXPECT_EQ(log, (std::vector<std::string>{"detach", "freed"}));
    EXPECT_EQ(manager.SkinnedFormCount(), 0);
    manager.RemoveSkinData(&data);
}

TEST_F(SkinManagerScope, PostActionBeforeStartOnlyRecordsTheSwitch) {
    TSkinManage& manager = TSkinManage::Ensure();
    EXPECT_FALSE(manager.ActionTimer().Enabled());
    EXPECT_EQ(manager.ActionTimer().Interval(), TSkinManage::kTimerInterval);
    manager.PostAction(saSkinAll, 250);
    EXPECT_TRUE(manager.Active);
    EXPECT_FALSE(manager.ActionTimer().Enabled());
    manager.PostAction(saUnskinAll, 250);
    EXPECT_FALSE(manager.Active);
    manager.PostAction(saRefresh, 250);
    EXPECT_FALSE(manager.Active);
    // Without an action skin data a tick does nothing but stop the timer.
    manager.State = TSkinManage::kStateRunning;
    manager.PostAction(saSkinAll, 20);
    EXPECT_TRUE(manager.ActionTimer().Enabled());
    manager.DoAction();
    EXPECT_FALSE(manager.ActionTimer().Enabled());
    EXPECT_FALSE(manager.Active);
}

TEST(SkinData, OptionalEntryPointsAnswerSafely) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    HWND wnd = CreateWindowExW(0, L"SCROLLBAR", L"", WS_POPUP | SBS_HORZ, 0, 0, 100, 16, nullptr, nullptr, nullptr,
                               nullptr);
    ASSERT_NE(wnd, nullptr);
    EXPECT_EQ(GetScrollBarInfoSafe(wnd, OBJID_CLIENT, info) != FALSE, HasGetScrollBarInfo());
    TrackMouseLeave(wnd);  // nothing to see; it must simply not fail
    DestroyWindow(wnd);
}

// ---- Speed

// How long it takes is reported, not judged: a loaded machine decides that.
// The native benchmark (bench_lzh) measures the load.
TEST(SkinData, ASkinSizedArchiveLoadsWholeAndItsTimeIsReported) {
    TSkinData data(nullptr);
    const std::vector<TArchiveEntry> files = ShippedFiles(kShippedIni, true);
    const Bytes skin = Compressed(files);
    LoadSkinBytes(data, skin);
    constexpr int kRuns = 20;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRuns; ++i) data.LoadSkin();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / kRuns;
    // The share of unpacking the archive alone.
    const auto unpackStart = std::chrono::steady_clock::now();
    for (int i = 0; i < kRuns; ++i) {
        TSkinReader reader;
        ASSERT_TRUE(reader.LoadArchive(std::span<const std::uint8_t>(skin)));
    }
    const double unpackMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - unpackStart).count() / kRuns;
    std::size_t unpacked = 0;
    for (const auto& f : files) unpacked += f.data.size();
    std::printf("[ skin load ] %zu compressed bytes, %zu bytes of files, 35 files: %.2f ms per load "
                "(%.2f ms of it unpacking)\n",
                skin.size(), unpacked, ms, unpackMs);
    RecordProperty("LoadMilliseconds", std::to_string(ms));
    EXPECT_FALSE(data.SkinPending);
}
