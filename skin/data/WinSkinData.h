#pragma once
// TSkinData: the component a form carries to be skinned. It holds the
// compressed skin, builds the skin elements and colours from it, and asks
// the skin manager to attach and detach the painters.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Bitmap.h"
#include "classlib/Component.h"
#include "classlib/Handles.h"
#include "classlib/ImageList.h"
#include "classlib/Strings.h"
#include "core/Stream.h"
#include "skin/data/SkinElements.h"

class TControl;
class TQuickIni;
class TSkinReader;
class TSkinData;

// Member i is bit i of a TSkinControlTypes mask.
enum TSkinControlType : int {
    xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
    xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox,
    xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport
};
using TSkinControlTypes = std::uint32_t;

enum TSkinOption : int {
    xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK,
    xoMDIChildBorder, xoMenuBG
};
using TSkinOptions = std::uint32_t;

constexpr std::uint32_t SetBit(int member) { return std::uint32_t(1) << member; }

enum class TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

using TOnFormSkin = std::function<void(TObject* sender, const std::wstring& aName, bool& doSkin)>;
using TOnSkinControl = std::function<void(TComponent* sender, TSkinData* skinData, TControl* form,
                                          TControl* control, const std::wstring& controlClass,
                                          TComponent*& skinnedControl)>;

class TSkinData : public TComponent {
    DECLARE_CLASS_INFO()
public:
    static constexpr int kDefaultDisableTag = 99;
    static constexpr TSkinControlTypes kDefaultSkinControls = 0x1FFFFB;
    static constexpr TSkinOptions kDefaultOptions = 0x48;
    static constexpr const wchar_t* kVersionText = L"Quellory skin engine 1.0";
    // Delay of the manager actions this component asks for.
    static constexpr unsigned kActionDelay = 250;

    explicit TSkinData(TComponent* owner);
    ~TSkinData() override;

    // Published properties.
    bool Active() const { return active_; }
    void SetActive(bool value);
    int DisableTag() const { return disableTag_; }
    void SetDisableTag(int value) { disableTag_ = value; }
    TSkinControlTypes SkinControls() const { return skinControls_; }
    void SetSkinControls(TSkinControlTypes value) { skinControls_ = value; }
    bool HasSkinControl(TSkinControlType member) const { return (skinControls_ & SetBit(member)) != 0; }
    TSkinOptions Options() const { return options_; }
    void SetOptions(TSkinOptions value) { options_ = value; }
    bool HasOption(TSkinOption member) const { return (options_ & SetBit(member)) != 0; }
    TStrings* Skin3rd() const { return skin3rd_.get(); }
    void SetSkin3rd(const TStrings& lines) { skin3rd_->Assign(lines); }
    std::wstring SkinFile() const { return skinFile_; }
    void SetSkinFile(const std::wstring& path);
    std::wstring GetSkinStore() const;
    void SetSkinStore(const std::wstring&) {}
    TSkinFormType SkinFormtype() const { return skinFormtype_; }
    void SetSkinFormtype(TSkinFormType value) { skinFormtype_ = value; }
    std::wstring Version() const { return kVersionText; }
    void SetVersion(const std::wstring&) {}
    bool MenuUpdate() const { return menuUpdate_; }
    void SetMenuUpdate(bool value) { menuUpdate_ = value; }
    bool MenuMerge() const { return menuMerge_; }
    void SetMenuMerge(bool value) { menuMerge_ = value; }
    TOnFormSkin OnFormSkin;
    TNotifyEvent OnSkinChanged;
    TOnSkinControl OnSkinControl;

    // The stored byte-string property SkinStream: a 32-bit count N, then N
    // compressed bytes. A count of 0 or less reads nothing more and keeps the
    // held skin; at run time a new skin is loaded at once.
    void ReadSkinStream(TStream& stream);
    void WriteSkinStream(TStream& stream) const;
    const TMemoryStream& CompressedSkin() const { return compressed_; }

    void Loaded() override;
    // Loads the held compressed skin; false when the archive was refused
    // (its message shown) or at design time. A refused skin leaves every
    // element as it was and SkinPending set.
    bool LoadSkin();
    // Builds every element from the definition of the skin being loaded.
    void ApplySkin();
    // Re-applies the current skin to the forms that use this component.
    void Refresh();
    // Fills bitmap from the archive file named (the part after any path);
    // empty unless the name ends in ".bmp" exactly and the file is readable.
    void LoadSkinBitmap(TBitmap& bitmap, const std::string& fileName);
    void QueryFormSkin(HWND window, const std::wstring& className, bool& doSkin);
    void NotifySkinChanged();

    // State.
    bool SkinPending = true;
    bool FramePaintEnabled = true;
    HWND QueriedWindow = nullptr;  // the window of the last QueryFormSkin

    // Element slots (empty when the skin lacks the element).
    std::unique_ptr<TDataSkinTitle> Title;
    std::vector<std::unique_ptr<TDataSkinSysButton>> CaptionButtons;
    std::unique_ptr<TDataSkinButton> Buttons;
    std::unique_ptr<TDataSkinBorder> Tabs;
    std::unique_ptr<TDataSkinBorder> UpDownHorz;
    std::unique_ptr<TDataSkinBorder> UpDownVert;
    std::unique_ptr<TDataSkinObject> SunkEdge;
    std::unique_ptr<TDataSkinObject> ExtraImages;
    std::unique_ptr<TDataSkinBorder> ComboButton;
    std::unique_ptr<TDataSkinObject> ComboArrow;
    std::unique_ptr<TDataSkinObject> GroupBoxEdge;
    std::unique_ptr<TDataSkinObject> Toolbar;
    std::unique_ptr<TDataSkinObject> ToolBars;
    std::unique_ptr<TDataSkinBorder> Progress;
    std::unique_ptr<TDataSkinObject> ProgressChunk;
    std::unique_ptr<TDataSkinBoxLabel> GroupBox;
    std::unique_ptr<TDataSkinObject> StatusBarEdges;
    std::unique_ptr<TDataSkinObject> TabPane;
    std::unique_ptr<TDataSkinObject> Headerbar;
    std::unique_ptr<TDataSkinObject> MenuBar;
    std::unique_ptr<TDataSkinObject> MenuItem;
    std::unique_ptr<TDataSkinObject> MenuBackground;
    std::unique_ptr<TDataSkinObject> ScrollbarArrows;
    std::unique_ptr<TDataSkinObject> HorzScroll;
    std::unique_ptr<TDataSkinObject> VertScroll;
    std::unique_ptr<TDataSkinObject> HorzScrollThumb;
    std::unique_ptr<TDataSkinObject> VertScrollThumb;
    std::unique_ptr<TDataSkinObject> TrackThumbHorz;
    std::unique_ptr<TDataSkinObject> TrackThumbVert;
    std::unique_ptr<TDataSkinObject> Track;
    std::unique_ptr<TDataSkinObject> TrackVert;
    std::unique_ptr<TDataSkinBorder> FrameLeft;
    std::unique_ptr<TDataSkinBorder> FrameRight;
    std::unique_ptr<TDataSkinBorder> FrameTop;
    std::unique_ptr<TDataSkinBorder> FrameBottom;

    // Colours (RGB or system-colour references).
    TColor WindowTextColour = clWindowText;
    TColor TitleTextActiveColour = clCaptionText;
    TColor TitleTextInactiveColour = SystemColour(COLOR_INACTIVECAPTIONTEXT);
    TColor ButtonFaceColour = clBtnFace;
    TColor ButtonTextColour = clBtnText;
    TColor ButtonHilightColour = clBtnHighlight;
    TColor ButtonLightColour = clBtnHighlight;
    TColor ButtonShadowColour = clBtnShadow;
    TColor ButtonDkShadowColour = SystemColour(COLOR_3DDKSHADOW);
    TColor HilightTextColour = clHighlightText;
    TColor HilightColour = clHighlight;
    TColor MenuBarColour = clBtnFace;
    TColor MenuBarTextColour = clMenuText;
    TColor MenuTextColour = clMenuText;
    TColor MenuColour = clMenu;
    TColor ScrollbarColour = clScrollBar;
    TColor FrameColour = clBtnFace;

    HBRUSH FaceBrush() const { return faceBrush_.get(); }
    TBitmap AppIconBitmap;
    TImageList* MenuGlyphs() const { return menuGlyphs_.get(); }

private:
    void LoadMenuGlyphs();
    void BuildAppIconBitmap();
    std::unique_ptr<TDataSkinBorder> ReadFrameBorder(const std::string& side, const char* name);
    void ReadColours();
    void ReadCaptionButtons(const std::vector<std::string>& sections);
    void ReadButtons();
    void ReadTitle();
    void ReadMenuBar();
    void ReadElementCommon(TDataSkinObject& element, const std::string& section, bool colours);
    std::unique_ptr<TDataSkinObject> ReadPlain(const std::string& section);
    std::unique_ptr<TDataSkinBorder> ReadTwoImage(const std::string& section, const std::string& secondKey);
    std::unique_ptr<TDataSkinBoxLabel> ReadGroupBox(const std::string& section);
    std::unique_ptr<TDataSkinBorder> ReadProgress();
    std::unique_ptr<TDataSkinObject> ResourceTrack(const wchar_t* resource);
    void FixFrameCounts();
    void BuildComboStrips();
    void BuildComboArrow();
    void BuildToolbar();
    TColor FrameTopColour() const;

    bool active_ = false;
    int disableTag_ = kDefaultDisableTag;
    TSkinControlTypes skinControls_ = kDefaultSkinControls;
    TSkinOptions options_ = kDefaultOptions;
    std::unique_ptr<TStringList> skin3rd_;
    std::wstring skinFile_;
    TSkinFormType skinFormtype_ = TSkinFormType::sfMainform;
    bool menuUpdate_ = true;
    bool menuMerge_ = false;

    TMemoryStream compressed_;
    UniqueBrush faceBrush_;
    std::unique_ptr<TImageList> menuGlyphs_;

    // Only while LoadSkin runs.
    TSkinReader* reader_ = nullptr;
    TQuickIni* ini_ = nullptr;
    TMemoryStream* work_ = nullptr;
};

// The lines a new component's Skin3rd holds.
const std::vector<std::wstring>& DefaultSkin3rd();
