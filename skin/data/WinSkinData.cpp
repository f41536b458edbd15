#include "skin/data/WinSkinData.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "classlib/Forms.h"
#include "core/AsciiCase.h"
#include "core/ByteOrder.h"
#include "skin/controls/SkinManager.h"
#include "skin/data/BitmapEffects.h"
#include "skin/data/BitmapOps.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/FrameCounts.h"
#include "skin/data/GradientFill.h"
#include "skin/data/LZH.h"
#include "skin/data/OptionalEntryPoints.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinReader.h"
#include "skin/data/SkinValues.h"

namespace {

// Height of the derived combo-box strips and width of one of their frames.
constexpr int kComboStripHeight = 21;
constexpr int kComboStripWidth = 50;
constexpr int kComboArrowCell = 17;

// Caption-button sections: names starting with BUTTON, except those of the
// push-button, radio and check-box elements.
bool IsCaptionButtonSection(const std::string& section) {
    const std::string name = AsciiUpper(section);
    return name.starts_with("BUTTON") && name != "BUTTON" && name != "BUTTONS" && name != "BUTTON.RADIO" &&
           name != "BUTTON.CHECKBOX";
}

// A 24-bit picture of the given size, filled with colour.
void MakeFilled(TBitmap& bitmap, int width, int height, TColor colour) {
    bitmap.Clear();
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(width, height);
    FillInColour(bitmap.Canvas()->Handle(), RECT{0, 0, width, height}, colour);
}

void Mirrored24(TBitmap& bitmap) {
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    MirrorHorizontal(bitmap);
}

bool HasBitmapResource(const wchar_t* name) {
    return FindResourceW(GetModuleHandleW(nullptr), name, MAKEINTRESOURCEW(2) /* RT_BITMAP */) != nullptr;
}

}  // namespace

const std::vector<std::wstring>& DefaultSkin3rd() {
    static const std::vector<std::wstring> lines{
        L"TCategoryButtons=scrollbar", L"TPngBitBtn=pngbitbtn", L"TVirtualStringTree=scrollbar",
        L"TVirtualDrawTree=scrollbar", L"TTBXDockablePanel=Panel", L"TAdvPanelGroup=scrollbar",
        L"TComboboxex=combobox", L"TRxSpeedButton=speedbutton", L"THTMLViewer=scrollbar",
        L"TDBCtrlGrid=scrollbar", L"TfrSpeedButton=speedbutton", L"TfrTBButton=speedbutton",
        L"TControlBar=Panel", L"TTBDock=Panel", L"TTBToolbar=Panel",
        L"TImageEnMView=scrollbar", L"TImageEnView=scrollbar", L"TAdvMemo=scrollbar",
        L"TDBAdvMemo=scrollbar", L"TcxDBLookupComboBox=combobox", L"TcxDBComboBox=combobox",
        L"TcxDBDateEdit=combobox", L"TcxDBImageComboBox=combobox", L"TcxDBCalcEdit=combobox",
        L"TcxDBBlobEdit=combobox", L"TcxDBPopupEdit=combobox", L"TcxDBFontNameComboBox=combobox",
        L"TcxDBShellComboBox=combobox", L"TRxLookupEdit=combobox", L"TRxDBLookupCombo=combobox",
        L"TRzGroup=panel", L"TRzButton=button", L"TRzBitbtn=bitbtn",
        L"TRzMenuButton=menubtn", L"TRzCheckGroup=CheckGroup", L"TRzRadioGroup=Radiogroup",
        L"TRzButtonEdit=Edit", L"TRzDBRadioGroup=Radiogroup", L"TRzDBRadioButton=Radiobutton",
        L"TRzDateTimeEdit=combobox", L"TRzColorEdit=combobox", L"TRzDateTimePicker=combobox",
        L"TRzDBDateTimeEdit=combobox", L"TRzDbColorEdit=combobox", L"TRzDBDateTimePicker=combobox",
        L"TLMDButton=bitbtn", L"TLMDGroupBox=Groupbox", L"TDBCheckboxEh=Checkbox",
        L"TDBCheckboxEh=Checkbox", L"TLMDCHECKBOX=Checkbox", L"TLMDDBCHECKBOX=Checkbox",
        L"TLMDRadiobutton=Radiobutton", L"TLMDCalculator=panel", L"TLMDGROUPBOX=Panel",
        L"TLMDSIMPLEPANEL=Panel", L"TLMDDBCalendar=Panel", L"TLMDButtonPanel=Panel",
        L"TLMDLMDCalculator=Panel", L"TLMDHeaderPanel=Panel", L"TLMDTechnicalLine=Panel",
        L"TLMDLMDClock=Panel", L"TLMDTrackbar=panel", L"TLMDListCombobox=combobox",
        L"TLMDCheckListCombobox=combobox", L"TLMDHeaderListCombobox=combobox", L"TLMDImageCombobox=combobox",
        L"TLMDColorCombobox=combobox", L"TLMDFontCombobox=combobox", L"TLMDFontSizeCombobox=combobox",
        L"TLMDFontSizeCombobox=combobox", L"TLMDPrinterCombobox=combobox", L"TLMDDriveCombobox=combobox",
        L"TLMDCalculatorComboBox=combobox", L"TLMDTrackBarComboBox=combobox", L"TLMDCalendarComboBox=combobox",
        L"TLMDTreeComboBox=combobox", L"TLMDRADIOGROUP=radiogroup", L"TLMDCheckGroup=CheckGroup",
        L"TLMDDBRADIOGROUP=radiogroup", L"TLMDDBCheckGroup=CheckGroup", L"TLMDCalculatorEdit=edit",
        L"TLMDEDIT=Edit", L"TLMDMASKEDIT=Edit", L"TLMDBROWSEEDIT=Edit",
        L"TLMDEXTSPINEDIT=Edit", L"TLMDCALENDAREDIT=Edit", L"TLMDFILEOPENEDIT=Edit",
        L"TLMDFILESAVEEDIT=Edit", L"TLMDCOLOREDIT=Edit", L"TLMDDBEDIT=Edit",
        L"TLMDDBMASKEDIT=Edit", L"TLMDDBEXTSPINEDIT=Edit", L"TLMDDBSPINEDIT=Edit",
        L"TLMDDBEDITDBLookup=Edit", L"TLMDEDITDBLookup=Edit", L"TDBLookupCombobox=Combobox",
        L"TWWDBCombobox=Combobox", L"TWWDBLookupCombo=Combobox", L"TWWDBCombobox=Combobox",
        L"TWWKeyCombo=Combobox", L"TWWTempKeyCombo=combobox", L"TWWDBDateTimePicker=Combobox",
        L"TWWRADIOGROUP=radiogroup", L"TWWDBEDIT=Edit", L"TcxButton=bitbtn",
        L"TcxDBRadioGroup=radiogroup", L"TcxRadioGroup=radiogroup", L"TcxGroupbox=groupbox",
        L"TOVCPICTUREFIELD=Edit", L"TOVCDBPICTUREFIELD=Edit", L"TOVCSLIDEREDIT=Edit",
        L"TOVCDBSLIDEREDIT=Edit", L"TOVCSIMPLEFIELD=Edit", L"TOVCDBSIMPLEFIELD=Edit",
        L"TO32DBFLEXEDIT=Edit", L"TOVCNUMERICFIELD=Edit", L"TOVCDBNUMERICFIELD=Edit",
    };
    return lines;
}

const TClassInfo& TSkinData::StaticClass() {
    static const TClassInfo info(
        L"TSkinData", &TComponent::StaticClass(),
        {
            props::Boolean(L"Active", &TSkinData::Active, &TSkinData::SetActive),
            props::Integer(L"DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag),
            props::SetOf(L"SkinControls", &TSkinData::SkinControls, &TSkinData::SetSkinControls,
                         {L"xcMainMenu", L"xcPopupMenu", L"xcMenuItem", L"xcToolbar", L"xcControlbar", L"xcCombo",
                          L"xcCheckBox", L"xcRadioButton", L"xcProgress", L"xcScrollbar", L"xcEdit", L"xcButton",
                          L"xcBitBtn", L"xcSpeedButton", L"xcSpin", L"xcPanel", L"xcGroupBox", L"xcStatusBar",
                          L"xcTab", L"xcTrackBar", L"xcSystemMenu", L"xcFastReport"}),
            props::SetOf(L"Options", &TSkinData::Options, &TSkinData::SetOptions,
                         {L"xoMDIScrollbar", L"xoMenuMerge", L"xoTransparent", L"xoPreview", L"xoParentBackGround",
                          L"xoNoFocusRect", L"xoToolbarBK", L"xoMDIChildBorder", L"xoMenuBG"}),
            props::Object(L"Skin3rd", &TSkinData::Skin3rd),
            props::Text(L"SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile),
            props::Text(L"SkinStore", &TSkinData::GetSkinStore, &TSkinData::SetSkinStore),
            props::Enumeration(L"SkinFormtype", &TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype,
                               {L"sfMainform", L"sfOnlyThisForm", L"sfDialog", L"sfDLL"}),
            props::Text(L"Version", &TSkinData::Version, &TSkinData::SetVersion),
            props::Boolean(L"MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate),
            props::Boolean(L"MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge),
            props::Event(L"OnFormSkin", &TSkinData::OnFormSkin),
            props::Event(L"OnSkinChanged", &TSkinData::OnSkinChanged),
            props::Event(L"OnSkinControl", &TSkinData::OnSkinControl),
            // The stored byte string: the count and the bytes as one value.
            TPropInfo{L"SkinStream", TPropKind::Bytes,
                      [](const TObject& o) {
                          TMemoryStream stream;
                          static_cast<const TSkinData&>(o).WriteSkinStream(stream);
                          return TValue(stream.Release());
                      },
                      [](TObject& o, const TValue& v) {
                          TMemoryStream stream;
                          stream.Assign(v.AsBytes());
                          static_cast<TSkinData&>(o).ReadSkinStream(stream);
                      },
                      {}},
        });
    return info;
}

TSkinData::TSkinData(TComponent* owner)
    : TComponent(owner),
      Title(std::make_unique<TDataSkinTitle>("Title")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")),
      FrameLeft(std::make_unique<TDataSkinBorder>("Left")),
      FrameRight(std::make_unique<TDataSkinBorder>("Right")),
      FrameTop(std::make_unique<TDataSkinBorder>("Top")),
      FrameBottom(std::make_unique<TDataSkinBorder>("Bottom")),
      skin3rd_(std::make_unique<TStringList>()),
      menuGlyphs_(std::make_unique<TImageList>(nullptr)) {
    AppIconBitmap.SetPixelFormat(TPixelFormat::pf24bit);
    skin3rd_->Assign(DefaultSkin3rd());
    LoadMenuGlyphs();
}

TSkinData::~TSkinData() {
    if (TSkinManage* manager = TSkinManage::Instance()) manager->RemoveSkinData(this);
}

void TSkinData::LoadMenuGlyphs() {
    menuGlyphs_->SetSize(16, 16);
    if (!HasBitmapResource(L"MENUGLYPHS")) return;
    TBitmap glyphs;
    try {
        glyphs.LoadFromResourceName(GetModuleHandleW(nullptr), L"MENUGLYPHS");
    } catch (const Exception&) {
        return;
    }
    menuGlyphs_->AddMasked(glyphs, clWhite);
}

// ---- SkinStream and the skin file

void TSkinData::ReadSkinStream(TStream& stream) {
    std::uint8_t countBytes[4];
    stream.ReadBuffer(countBytes, 4);
    const std::int32_t count = static_cast<std::int32_t>(ReadLE32(countBytes));
    if (count <= 0) return;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    stream.ReadBuffer(bytes.data(), bytes.size());
    compressed_.Assign(std::move(bytes));
    if (!IsDesigning()) LoadSkin();
}

void TSkinData::WriteSkinStream(TStream& stream) const {
    std::vector<std::uint8_t> countBytes;
    AppendLE32(countBytes, static_cast<std::uint32_t>(compressed_.Size()));
    stream.WriteBuffer(countBytes.data(), countBytes.size());
    if (compressed_.Size() > 0) stream.WriteBuffer(compressed_.Memory(), compressed_.Size());
}

std::wstring TSkinData::GetSkinStore() const {
    return IsDesigning() && compressed_.Size() > 0 ? L"(Good)" : L"(none)";
}

void TSkinData::SetSkinFile(const std::wstring& path) {
    SkinPending = true;
    skinFile_ = path;
    if (IsDesigning()) {
        if (!path.empty()) compressed_.Clear();
        return;
    }
    std::error_code error;
    const std::filesystem::path file(path);
    if (path.empty() || !std::filesystem::is_regular_file(file, error)) return;
    std::ifstream in(file, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) return;
    compressed_.Assign(std::move(bytes));
    LoadSkin();
    if (skinFormtype_ == TSkinFormType::sfMainform) Refresh();
}

// ---- Loading

bool TSkinData::LoadSkin() {
    SkinPending = true;
    if (IsDesigning()) return false;
    TSkinReader reader;
    compressed_.Rewind();
    // A damaged stream is refused like an archive of the wrong version: one
    // message, the elements of the previous skin stay, the program goes on.
    std::string refusal;
    try {
        if (!reader.LoadArchive(compressed_)) refusal = reader.RefusalText();
    } catch (const ElzhException& error) {
        refusal = error.Message();
    }
    if (!refusal.empty()) {
        MessageBoxA(nullptr, refusal.c_str(), nullptr, MB_OK);
        return false;
    }
    TMemoryStream work;
    TQuickIni ini;
    std::string iniName;
    reader.ExtractFileLike(".ini", work, iniName);
    work.Rewind();
    ini.LoadFromStream(work);

    // Seen by the element readers only while this load runs.
    struct TLoadScope {
        TSkinData& self;
        ~TLoadScope() {
            self.reader_ = nullptr;
            self.ini_ = nullptr;
            self.work_ = nullptr;
        }
    } scope{*this};
    reader_ = &reader;
    ini_ = &ini;
    work_ = &work;
    ApplySkin();
    return true;
}

void TSkinData::LoadSkinBitmap(TBitmap& bitmap, const std::string& fileName) {
    const std::size_t slash = fileName.find_last_of("\\/:");
    const std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    if (name.empty() || extension != ".bmp" || !reader_ || !work_) {
        bitmap.Clear();
        return;
    }
    reader_->ExtractFile(name, *work_);
    if (work_->Size() == 0) {
        bitmap.Clear();
        return;
    }
    try {
        bitmap.LoadFromStream(*work_);
    } catch (const Exception&) {
        // A damaged picture counts as a missing one.
        bitmap.Clear();
        return;
    }
    // GDI gives the fourth byte of a 32-bit pixel no meaning, but Wine's
    // colour-to-monochrome copy compares it, and a set byte would hide the
    // magenta key from transparent drawing: it is cleared.
    if (bitmap.BitsPerPixel() == 32)
        for (int y = 0; y < bitmap.Height(); ++y) {
            const auto row = bitmap.ScanLine(y);
            for (std::size_t x = 3; x < row.size(); x += 4) row[x] = 0;
        }
}

void TSkinData::ApplySkin() {
    if (!ini_) return;
    const TQuickIni& ini = *ini_;
    std::vector<std::string> sections;
    ini.ReadSections(sections);

    FrameLeft = ReadFrameBorder("Left", "Left");
    FrameRight = ReadFrameBorder("Right", "Right");
    FrameTop = ReadFrameBorder("Top", "Top");
    FrameBottom = ReadFrameBorder("Bottom", "Bottom");

    ReadColours();
    ReadCaptionButtons(sections);
    ReadButtons();
    ReadTitle();

    Progress = ReadProgress();
    ProgressChunk = ReadPlain("Progress.Chunk");
    ReadMenuBar();
    GroupBoxEdge = ReadPlain("GroupBoxEdge");
    GroupBox = ReadGroupBox("GroupBox");
    Tabs = ReadTwoImage("Tabs", "Border");
    StatusBarEdges = ReadPlain("StatusBarEdges");
    TabPane = ReadPlain("Tab.Pane");
    if (TabPane) {
        RECT& m = TabPane->Margins;
        m.left = std::min<LONG>(m.left, 4);
        m.top = std::min<LONG>(m.top, 4);
        m.right = std::min<LONG>(m.right, 4);
        m.bottom = std::min<LONG>(m.bottom, 4);
    }
    ToolBars = ReadPlain("ToolBars");
    ComboButton = ReadTwoImage("ComboButton", "****");
    SunkEdge = ReadPlain("SunkEdge");

    if (ComboButton && !ComboButton->Bitmap.Empty()) {
        CloneBitmap(ComboButton->Bitmap, ComboButton->Bitmap2);
        Mirrored24(ComboButton->Bitmap2);
    }

    ExtraImages = ReadPlain("ExtraImages");
    Headerbar = ReadPlain("Headerbar");
    MenuItem = ReadPlain("MenuItem");
    MenuBackground = ReadPlain("MenuBackground");
    ScrollbarArrows = ReadPlain("Scrollbar");
    HorzScroll = ReadPlain("HorzScroll");
    VertScroll = ReadPlain("VertScroll");
    HorzScrollThumb = ReadPlain("HorzScrollThumb");
    VertScrollThumb = ReadPlain("VertScrollThumb");
    TrackThumbHorz = ReadPlain("Trackbar.ThumbHorz");
    TrackThumbVert = ReadPlain("Trackbar.ThumbVert");
    UpDownHorz = ReadTwoImage("UpDown.Horz", "GlyphImage");
    UpDownVert = ReadTwoImage("UpDown.Vert", "GlyphImage");
    Track = ReadPlain("Track");
    TrackVert = ReadPlain("TRACKVERT");

    if (!Track) Track = ResourceTrack(L"TRACK");
    if (!TrackVert) TrackVert = ResourceTrack(L"TRACKVERT");

    FixFrameCounts();
    BuildComboStrips();
    BuildComboArrow();
    BuildToolbar();
    FrameColour = FrameTopColour();
    faceBrush_.reset(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(ButtonFaceColour))));
    SkinPending = false;
}

// ---- Element readers

std::unique_ptr<TDataSkinBorder> TSkinData::ReadFrameBorder(const std::string& side, const char* name) {
    const TQuickIni& ini = *ini_;
    auto border = std::make_unique<TDataSkinBorder>(name);
    LoadSkinBitmap(border->Bitmap, ini.ReadString("Personality", side, ""));
    const int topHeight = ini.ReadInteger("Personality", side + "TopHeight", 0);
    const int botHeight = ini.ReadInteger("Personality", side + "BotHeight", 0);
    if (side == "Left" || side == "Right") {
        border->Margins.top = topHeight;
        border->Margins.bottom = botHeight;
    } else {
        border->Margins.left = topHeight;
        border->Margins.right = botHeight;
    }
    border->Frame = ini.ReadInteger("Personality", side + "Frame", 1);
    border->Tile = std::min(ini.ReadInteger("Personality", side + "Stretch", 1), 1);
    border->Trans = ini.ReadInteger("Personality", side + "Trans", 1);
    return border;
}

void TSkinData::ReadColours() {
    const TQuickIni& ini = *ini_;
    const auto colour = [&](const char* key, TColor fallback) {
        return ReadColourTriple(ini, "Colours", key, fallback);
    };
    WindowTextColour = colour("WindowText", clWindowText);
    ButtonFaceColour = colour("ButtonFace", clBtnFace);
    ScrollbarColour = colour("Scrollbar", clScrollBar);
    HilightTextColour = colour("HilightText", clHighlightText);
    HilightColour = colour("Hilight", clHighlight);
    MenuBarColour = colour("Menubar", ButtonFaceColour);
    MenuColour = colour("Menu", clMenu);
    MenuTextColour = colour("MenuText", clMenuText);
    ButtonHilightColour = colour("ButtonHilight", clBtnHighlight);
    ButtonLightColour = colour("Buttonlight", clBtnHighlight);
    ButtonShadowColour = colour("ButtonShadow", clBtnShadow);
    ButtonDkShadowColour = colour("ButtonDkShadow", SystemColour(COLOR_3DDKSHADOW));
    MenuBarTextColour = colour("MenuBarText", clMenuText);
    TitleTextActiveColour = colour("TitleTextActive", clCaptionText);
    TitleTextInactiveColour = colour("TitleTextNoActive", SystemColour(COLOR_INACTIVECAPTIONTEXT));
    ButtonTextColour = colour("ButtonText", clBtnText);
}

void TSkinData::ReadCaptionButtons(const std::vector<std::string>& sections) {
    const TQuickIni& ini = *ini_;
    CaptionButtons.clear();
    std::vector<std::string> kept;
    for (const std::string& s : sections) {
        if (!IsCaptionButtonSection(s)) continue;
        // A hidden button (Action -1) counts only with an explicit Visibility 0.
        if (ini.ReadInteger(s, "Action", 0) == -1 && ini.ReadInteger(s, "Visibility", -1) != 0) continue;
        kept.push_back(s);
    }
    for (const std::string& s : kept) {
        auto button = std::make_unique<TDataSkinSysButton>(AsciiUpper(s));
        button->Action = ini.ReadInteger(s, "Action", 0);
        button->Align = ini.ReadInteger(s, "Align", 0);
        button->XCoord = ini.ReadInteger(s, "Xcoord", 0);
        button->YCoord = ini.ReadInteger(s, "Ycoord", 0);
        button->Visibility = ini.ReadInteger(s, "Visibility", 0);
        button->Visibility1 = ini.ReadInteger(s, "Visibility1", button->Action == -1 ? -1 : 0);
        button->CombineOp = ini.ReadInteger(s, "CombineOp", -1);
        const int frameKey = ini.ReadInteger(s, "frame", 0);
        button->NormalColour2 = button->MouseOverColour2 = button->PressedColour2 = ButtonTextColour;
        LoadSkinBitmap(button->Bitmap, ini.ReadString(s, "ButtonImage", ""));
        button->Frame = CaptionButtonFrames(frameKey, button->Action, button->Bitmap.Width(), button->Bitmap.Height());
        // The system-menu button draws the window's icon instead.
        if (frameKey == 0 && (button->Action == 3 || button->Action == 11)) button->Bitmap.Clear();
        CaptionButtons.push_back(std::move(button));
    }

    TBitmap mdiImage;
    LoadSkinBitmap(mdiImage, ini.ReadString("MDICONTROLS", "Image", ""));
    const int cell = mdiImage.Width() / kMdiControlCells;
    for (int k = 0; k < 3; ++k) {
        auto button = std::make_unique<TDataSkinSysButton>("MDICONTROLS" + std::to_string(k));
        button->Action = 7 + k;
        button->Align = 100;
        button->Visibility = 100;
        button->Visibility1 = 100;
        button->Frame = 4;
        button->NormalColour2 = button->MouseOverColour2 = button->PressedColour2 = ButtonTextColour;
        if (!mdiImage.Empty()) {
            if (cell > 0) {
                button->Bitmap.SetPixelFormat(mdiImage.PixelFormat());
                // An indexed image's cells keep its colour table, as CloneBitmap does.
                button->Bitmap.SetPalette(mdiImage.Palette());
                button->Bitmap.SetSize(4 * cell, mdiImage.Height());
                BitBlt(button->Bitmap.Canvas()->Handle(), 0, 0, 4 * cell, mdiImage.Height(),
                       mdiImage.Canvas()->Handle(), 4 * cell * k, 0, SRCCOPY);
                GdiFlush();
            }
            button->XCoord = (cell + 4) * (3 - k);
        }
        CaptionButtons.push_back(std::move(button));
    }
}

void TSkinData::ReadElementCommon(TDataSkinObject& element, const std::string& section, bool colours) {
    const TQuickIni& ini = *ini_;
    element.Style = ini.ReadInteger(section, "Style", 0);
    element.Margins.left = ini.ReadInteger(section, "LeftWidth", 0);
    element.Margins.top = ini.ReadInteger(section, "TopHeight", 0);
    element.Margins.right = ini.ReadInteger(section, "RightWidth", 0);
    element.Margins.bottom = ini.ReadInteger(section, "BottomHeight", 0);
    element.Trans = ini.ReadInteger(section, "Trans", 0);
    element.Tile = ini.ReadInteger(section, "Tile", 0);
    if (element.Tile > 1) element.Tile = 0;
    element.NormalColour2 = element.MouseOverColour2 = element.PressedColour2 = ButtonTextColour;
    if (!colours) return;
    element.NormalColour = ini.ReadInteger(section, "NormalColour", -1);
    element.MouseOverColour = ini.ReadInteger(section, "MouseOverColour", -1);
    element.PressedColour = ini.ReadInteger(section, "PressedColour", -1);
    element.NormalColour2 = ReadColourTriple(ini, section, "NormalColour2", ButtonTextColour);
    element.MouseOverColour2 = ReadColourTriple(ini, section, "MouseOverColour2", ButtonTextColour);
    element.PressedColour2 = ReadColourTriple(ini, section, "PressedColour2", ButtonTextColour);
}

std::unique_ptr<TDataSkinObject> TSkinData::ReadPlain(const std::string& section) {
    const std::string image = ini_->ReadString(section, "Image", "");
    if (image.empty()) return nullptr;
    auto element = std::make_unique<TDataSkinObject>(section);
    LoadSkinBitmap(element->Bitmap, image);
    ReadElementCommon(*element, section, true);
    element->Frame = ini_->ReadInteger(section, "Frame", 0);
    return element;
}

std::unique_ptr<TDataSkinBorder> TSkinData::ReadTwoImage(const std::string& section, const std::string& secondKey) {
    const std::string image = ini_->ReadString(section, "Image", "");
    if (image.empty()) return nullptr;
    auto element = std::make_unique<TDataSkinBorder>(section);
    LoadSkinBitmap(element->Bitmap, image);
    LoadSkinBitmap(element->Bitmap2, ini_->ReadString(section, secondKey, ""));
    ReadElementCommon(*element, section, true);
    return element;
}

std::unique_ptr<TDataSkinBoxLabel> TSkinData::ReadGroupBox(const std::string& section) {
    const std::string image = ini_->ReadString(section, "Image", "");
    if (image.empty()) return nullptr;
    auto element = std::make_unique<TDataSkinBoxLabel>(section);
    LoadSkinBitmap(element->Bitmap, image);
    ReadElementCommon(*element, section, true);
    element->BackgroundAlignment = ini_->ReadInteger(section, "BackgroundAlignment", 0);
    element->BackgroundLeftShift = ini_->ReadInteger(section, "BackgroundLeftShift", 0);
    element->BackgroundRightShift = ini_->ReadInteger(section, "BackgroundRightShift", 0);
    return element;
}

std::unique_ptr<TDataSkinBorder> TSkinData::ReadProgress() {
    const std::string image = ini_->ReadString("Progress", "Bitmap", "");
    if (image.empty()) return nullptr;
    auto element = std::make_unique<TDataSkinBorder>("Progress");
    LoadSkinBitmap(element->Bitmap, image);
    ReadElementCommon(*element, "Progress", false);
    // Unlike the other elements, a Tile above 1 means tiling here.
    element->Tile = std::min(ini_->ReadInteger("Progress", "Tile", 0), 1);
    return element;
}

void TSkinData::ReadButtons() {
    const TQuickIni& ini = *ini_;
    auto buttons = std::make_unique<TDataSkinButton>("Buttons");
    LoadSkinBitmap(buttons->Bitmap, ini.ReadString("Buttons", "Bitmap", ""));
    ReadElementCommon(*buttons, "Buttons", true);
    buttons->Style = 0;
    LoadSkinBitmap(buttons->CheckBitmap, ini.ReadString("Buttons", "CheckButton", ""));
    LoadSkinBitmap(buttons->RadioBitmap, ini.ReadString("Buttons", "RadioButton", ""));
    buttons->CheckFrames = ini.ReadInteger("Buttons", "CheckButtonFrame", 0);
    buttons->RadioFrames = ini.ReadInteger("Buttons", "RadioButtonFrame", 0);
    buttons->HasNormalColour2 = !ini.ReadString("Buttons", "NormalColour2", "").empty();
    buttons->HasMouseOverColour2 = !ini.ReadString("Buttons", "MouseOverColour2", "").empty();
    buttons->HasPressedColour2 = !ini.ReadString("Buttons", "PressedColour2", "").empty();
    Buttons = std::move(buttons);
}

void TSkinData::ReadTitle() {
    const TQuickIni& ini = *ini_;
    auto title = std::make_unique<TDataSkinTitle>("Title");
    LoadSkinBitmap(title->Bitmap, ini.ReadString("Personality", "TextBack", ""));
    title->Margins.left = ini.ReadInteger("Personality", "TextShift", 0);
    title->Margins.top = ini.ReadInteger("Personality", "TextShiftVert", 0);
    title->Margins.right = ini.ReadInteger("Personality", "TextRightClip", 0);
    title->Margins.bottom = 0;
    title->TextAlignment = ini.ReadInteger("Personality", "TextAlignment", 0);
    title->TextBackground = ini.ReadInteger("Personality", "Textbackground", 0);
    title->TextBackLeft = ini.ReadInteger("Personality", "TXTBackleft", 0);
    title->TextBackRight = ini.ReadInteger("Personality", "TXTBackRight", 0);
    const TColor active = ReadColourComponents(ini, "Personality", "ActiveText");
    const TColor inactive = ReadColourComponents(ini, "Personality", "InActiveText");
    title->ActiveTextColour = active;
    title->InactiveTextColour = inactive;
    title->FontHeight = ini.ReadInteger("Fonts", "FontHeight", 14);
    title->NormalColour2 = title->MouseOverColour2 = title->PressedColour2 = ButtonTextColour;
    Title = std::move(title);
}

void TSkinData::ReadMenuBar() {
    const TQuickIni& ini = *ini_;
    MenuBar.reset();
    const std::string image = ini.ReadString("Personality", "menuBar", "");
    if (image.empty()) return;
    auto bar = std::make_unique<TDataSkinObject>("MenuBar");
    LoadSkinBitmap(bar->Bitmap, image);
    bar->Tile = std::min(ini.ReadInteger("Personality", "TileMenu", 1), 1);
    bar->Margins.left = ini.ReadInteger("Personality", "TileLeftMenu", 1);
    bar->Margins.right = ini.ReadInteger("Personality", "TileRightMenu", 1);
    bar->NormalColour2 = bar->MouseOverColour2 = bar->PressedColour2 = ButtonTextColour;
    MenuBar = std::move(bar);
}

// A skin without its own track bitmaps gets the program's. Without those
// resources the slot stays empty, as for any missing element.
std::unique_ptr<TDataSkinObject> TSkinData::ResourceTrack(const wchar_t* resource) {
    if (!HasBitmapResource(resource)) return nullptr;
    auto track = std::make_unique<TDataSkinObject>(WideToUtf8(resource));
    try {
        track->Bitmap.LoadFromResourceName(GetModuleHandleW(nullptr), resource);
    } catch (const Exception&) {
        return nullptr;
    }
    track->Margins = RECT{3, 3, 3, 3};
    track->Tile = 0;
    track->Frame = 1;
    return track;
}

void TSkinData::FixFrameCounts() {
    const auto fix = [](const auto& slot) {
        if (slot) slot->Frame = FixedFrameCount(slot->Name);
    };
    fix(Buttons);
    fix(Tabs);
    fix(UpDownHorz);
    fix(UpDownVert);
    fix(SunkEdge);
    fix(ExtraImages);
    fix(ComboButton);
    fix(GroupBoxEdge);
    fix(ToolBars);
    fix(GroupBox);
    fix(StatusBarEdges);
    fix(TabPane);
    fix(MenuItem);
    fix(MenuBackground);
    fix(ScrollbarArrows);
    fix(HorzScroll);
    fix(VertScroll);
    fix(TrackThumbHorz);
    fix(TrackThumbVert);
    if (Title) Title->Frame = kTitleFrames;
    if (MenuBar) MenuBar->Frame = kMenuBarFrames;
    if (Progress) Progress->Frame = ProgressFrames(Progress->Style);
    if (Headerbar) Headerbar->Frame = HeaderFrames(Headerbar->Frame);
    if (HorzScrollThumb) HorzScrollThumb->Frame = ScrollThumbFrames(*ini_, "HorzScrollThumb");
    if (VertScrollThumb) VertScrollThumb->Frame = ScrollThumbFrames(*ini_, "VertScrollThumb");
    Buttons->RadioFrames = StripFrames(Buttons->RadioFrames, Buttons->RadioBitmap.Width(), Buttons->RadioBitmap.Height());
    Buttons->CheckFrames = StripFrames(Buttons->CheckFrames, Buttons->CheckBitmap.Width(), Buttons->CheckBitmap.Height());
}

// The combo box's drop-down part and its edit part drawn from the sunken
// edge and the combo button: one 50 x 21 frame per sunken-edge state.
void TSkinData::BuildComboStrips() {
    if (!SunkEdge || !ComboButton) return;
    const int b = GetSystemMetrics(SM_CXHSCROLL) + 2;
    const int frames = SunkEdge->Frame;
    TBitmap scratch;
    TBitmap result;
    MakeFilled(scratch, kComboStripWidth, kComboStripHeight, kElementKeyColour);
    MakeFilled(result, kComboStripWidth * frames, kComboStripHeight, kElementKeyColour);
    HDC scratchDC = scratch.Canvas()->Handle();
    const RECT whole{0, 0, kComboStripWidth, kComboStripHeight};
    const RECT buttonArea{kComboStripWidth - b, 0, kComboStripWidth, kComboStripHeight};
    for (int f = 1; f <= frames; ++f) {
        DrawElement(scratchDC, whole, SunkEdge->Bitmap, false, false, SunkEdge->Trans != 0, SunkEdge->Frame, f,
                    SunkEdge->Margins);
        DrawElement(scratchDC, buttonArea, ComboButton->Bitmap, false, false, true, ComboButton->Frame, f,
                    ComboButton->Margins);
        if (ExtraImages) DrawFrameCentred(scratchDC, buttonArea, ExtraImages->Bitmap, true, ExtraImages->Frame, f);
        FillInColour(scratchDC, RECT{2, 2, 49 - b, 18}, kElementKeyColour);
        BitBlt(result.Canvas()->Handle(), kComboStripWidth * (f - 1), 0, kComboStripWidth, kComboStripHeight,
               scratchDC, 0, 0, SRCCOPY);
    }
    GdiFlush();

    ComboButton->Style = 2;
    ComboButton->Margins = SunkEdge->Margins;
    ComboButton->Margins.left = 2;
    ComboButton->Margins.right = b + 2;
    CloneBitmap(result, ComboButton->Bitmap);

    CloneBitmap(result, SunkEdge->Bitmap);
    Mirrored24(SunkEdge->Bitmap);
    SunkEdge->Margins.left = b + 2;
    SunkEdge->Margins.right = 2;
}

void TSkinData::BuildComboArrow() {
    // Always rebuilt, so nothing of an earlier skin's arrow survives.
    ComboArrow = std::make_unique<TDataSkinObject>("ComboxArrow");
    if (!SunkEdge) {
        if (!ComboButton) return;
        CloneBitmap(ComboButton->Bitmap, ComboArrow->Bitmap);
        ReplaceMagenta(ComboArrow->Bitmap, ButtonFaceColour);
        ComboArrow->Frame = ComboButton->Frame;
        return;
    }
    if (!ComboButton) return;
    const int frames = SunkEdge->Frame;
    if (frames <= 0) return;
    const int w = ComboButton->Bitmap.Width() / frames;
    MakeFilled(ComboArrow->Bitmap, kComboArrowCell * frames, kComboArrowCell, kElementKeyColour);
    for (int i = 0; i < frames; ++i)
        BitBlt(ComboArrow->Bitmap.Canvas()->Handle(), kComboArrowCell * i, 0, kComboArrowCell, kComboArrowCell,
               ComboButton->Bitmap.Canvas()->Handle(), w * (i + 1) - 19, 2, SRCCOPY);
    GdiFlush();
    ComboArrow->Frame = frames;
}

void TSkinData::BuildToolbar() {
    Toolbar = std::make_unique<TDataSkinObject>("Toolbar");
    Toolbar->Frame = 1;
    const TColor c = FrameTopColour();
    TColor bottom = MixColours(0x808080, c, 150);
    const TColor top = MixColours(ButtonFaceColour, clWhite, 150);
    const int s = Saturation255(c);
    if (s > 110) bottom = MixColours(c, clWhite, (5625 - 25 * s) / 140 + 50);
    constexpr int kWidth = 10, kHeight = 40;
    MakeFilled(Toolbar->Bitmap, kWidth, kHeight, top);
    GradientFill(Toolbar->Bitmap.Canvas()->Handle(), RECT{0, 0, kWidth, kHeight}, top, true, bottom);
    GdiFlush();
}

TColor TSkinData::FrameTopColour() const {
    TBitmap& bitmap = FrameTop->Bitmap;
    if (bitmap.Empty()) return ButtonFaceColour;
    const int frames = FrameTop->Frame == 0 ? 1 : FrameTop->Frame;
    const int x = bitmap.Width() / 3;
    const int y = bitmap.Height() / frames / 3;
    return static_cast<TColor>(GetPixel(bitmap.Canvas()->Handle(), x, y) & 0xFFFFFF);
}

// ---- Life cycle and the skin manager

void TSkinData::Loaded() {
    TComponent::Loaded();
    if (IsDesigning()) return;
    if (!HasGetScrollBarInfo()) skinControls_ &= ~SetBit(xcScrollbar);
    TSkinManage& manager = TSkinManage::Ensure();
    manager.AddSkinData(this);
    if (skinFormtype_ != TSkinFormType::sfMainform) {
        manager.Active = true;
        ++manager.State;
        if (auto* form = As<TCustomForm>(Owner()); form && active_) manager.SkinWindow(form->Handle());
        return;
    }
    manager.InstallHook();
    if (active_) {
        if (SkinPending) {
            active_ = false;
        } else {
            manager.ActionSkinData = this;
            manager.PostAction(saSkinAll, kActionDelay);
        }
    }
    if (HasSkinControl(xcMainMenu))
        skinControls_ &= ~SetBit(xcMenuItem);
    else
        skinControls_ &= ~SetBit(xcSystemMenu);
    BuildAppIconBitmap();
}

void TSkinData::BuildAppIconBitmap() {
    const int cx = GetSystemMetrics(SM_CXSMICON);
    const int cy = GetSystemMetrics(SM_CYSMICON);
    MakeFilled(AppIconBitmap, cx, cy, kElementKeyColour);
    HWND appWindow = Application ? Application->Handle() : nullptr;
    HICON icon = nullptr;
    if (appWindow) {
        icon = reinterpret_cast<HICON>(SendMessageW(appWindow, WM_GETICON, ICON_SMALL, 0));
        if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(appWindow, WM_GETICON, ICON_BIG, 0));
    }
    if (icon) {
        UniqueIcon copy(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, 0)));
        if (copy) DrawIconEx(AppIconBitmap.Canvas()->Handle(), 0, 0, copy.get(), cx, cy, 0, nullptr, DI_NORMAL);
        GdiFlush();
    }
    AppIconBitmap.SetTransparentColor(kElementKeyColour);
    AppIconBitmap.SetTransparent(true);
}

void TSkinData::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    if (IsDesigning() || IsLoading()) return;
    switch (skinFormtype_) {
    case TSkinFormType::sfOnlyThisForm: {
        TSkinManage& manager = TSkinManage::Ensure();
        manager.ActionSkinData = this;
        if (value && SkinPending) return;
        manager.PostAction(value ? saSkinAll : saUnskinAll, kActionDelay);
        return;
    }
    case TSkinFormType::sfDialog:
    case TSkinFormType::sfDLL:
        return;
    case TSkinFormType::sfMainform: {
        if (value && SkinPending) return;
        TSkinManage& manager = TSkinManage::Ensure();
        manager.ActionSkinData = this;
        if (value) {
            // Started before the request, so that the action runs.
            manager.State = TSkinManage::kStateRunning;
            manager.PostAction(saSkinAll, kActionDelay);
        } else {
            manager.PostAction(saUnskinAll, kActionDelay);
        }
        return;
    }
    }
}

void TSkinData::Refresh() {
    if (IsDesigning() || IsLoading()) return;
    if (!TSkinManage::Instance()) Loaded();
    TSkinManage& manager = TSkinManage::Ensure();
    manager.ActionSkinData = this;
    manager.RefreshForms();
    if (manager.State == TSkinManage::kStateRunning) {
        manager.ActionSkinData = this;
        manager.PostAction(saRefresh, kActionDelay);
    }
}

void TSkinData::QueryFormSkin(HWND window, const std::wstring& className, bool& doSkin) {
    QueriedWindow = window;
    if (OnFormSkin) {
        OnFormSkin(this, className, doSkin);
        return;
    }
    if (className == L"SysMonthCal32") doSkin = false;
    if (HasSkinControl(xcFastReport) && className.starts_with(L"Tfr")) doSkin = false;
}

void TSkinData::NotifySkinChanged() {
    if (OnSkinChanged) OnSkinChanged(this);
}
