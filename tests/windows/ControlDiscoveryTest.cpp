// Control discovery: which painter each control and plain window gets (the
// class table with its gates, DisableTag, the Skin3rd list, the plain-window
// table), and a walk over a real form that attaches painters.
#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <map>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <ostream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "classlib/Button.h"
#include "classlib/Edit.h"
#include "classlib/Forms.h"
#include "classlib/Handles.h"
#include "classlib/Menus.h"
#include "skin/SkinMessages.h"
#include "skin/controls/ControlRules.h"
#include "skin/controls/PainterFactory.h"
#include "skin/controls/Skin3rdRules.h"
#include "skin/controls/WinSubClass.h"
#include "skin/controls/WindowRules.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"

void PrintTo(const TControlDecision& d, std::ostream* os) {
    *os << "{painter " << static_cast<int>(d.Painter.Kind) << " mode " << d.Painter.Mode << " colour "
        << d.Painter.ColourFlag << " by handle " << d.Painter.ByHandle << ", children " << static_cast<int>(d.Children)
        << " rule " << static_cast<int>(d.ChildRule) << " child painter " << static_cast<int>(d.ChildPainter.Kind)
        << " mode " << d.ChildPainter.Mode << ", owned " << d.VisitOwned << ", disable children " << d.DisableChildren
        << ", effects " << d.Effects << "}";
}

namespace {

using K = TPainterKind;

// ---- expected decisions

TControlDecision Nothing() { return {}; }

TControlDecision Paints(K kind, int mode = 0, bool colourFlag = false) {
    TControlDecision d;
    d.Painter = PainterOf(kind, mode, colourFlag);
    return d;
}

TControlDecision ChildrenFirst(TControlDecision d) {
    d.Children = TChildVisit::Before;
    return d;
}

TControlDecision EachChild(TControlDecision d, K kind, int mode = 0, bool colourFlag = false) {
    d.Children = TChildVisit::Before;
    d.ChildRule = TChildRule::Each;
    d.ChildPainter = PainterOf(kind, mode, colourFlag);
    return d;
}

TControlDecision ByHandle(TControlDecision d) {
    d.Painter.ByHandle = true;
    return d;
}

TControlDecision WithEffects(TControlDecision d, std::uint32_t effects) {
    d.Effects = effects;
    return d;
}

// ---- stand-ins for classes of other libraries

// Class information made here lives as long as the test program.
const TClassInfo& Class(const wchar_t* name, const TClassInfo& parent, std::vector<TPropInfo> properties = {}) {
    static std::deque<TClassInfo> infos;
    return infos.emplace_back(name, &parent, std::move(properties));
}

TPropInfo Fixed(const wchar_t* name, TValue value) {
    return {name, TPropKind::Text, [value](const TObject&) { return value; }, nullptr, {}};
}

// A windowed control that reports the given class (name, ancestry,
// published properties); its window gets the extra styles.
class TStandIn : public TWinControl {
public:
    TStandIn(TComponent* owner, const TClassInfo& info, DWORD extraStyle)
        : TWinControl(owner), info_(info), extraStyle_(extraStyle) {
        SetBounds(0, 0, 80, 40);
    }
    const TClassInfo& ClassType() const override { return info_; }

protected:
    void CreateParams(TCreateParams& p) override {
        TWinControl::CreateParams(p);
        p.Style |= extraStyle_;
    }

private:
    const TClassInfo& info_;
    DWORD extraStyle_;
};

const TClassInfo& CustomGroupBox() { static const TClassInfo& c = Class(L"TCustomGroupBox", TWinControl::StaticClass()); return c; }
const TClassInfo& CustomTabControl() { static const TClassInfo& c = Class(L"TCustomTabControl", TWinControl::StaticClass()); return c; }
const TClassInfo& CustomComboBox() { static const TClassInfo& c = Class(L"TCustomComboBox", TWinControl::StaticClass()); return c; }
const TClassInfo& CustomRadioGroup() { static const TClassInfo& c = Class(L"TCustomRadioGroup", CustomGroupBox()); return c; }

using Maker = std::function<TWinControl*(TComponent* owner)>;

Maker StandIn(const TClassInfo& info, DWORD extraStyle = 0) {
    return [&info, extraStyle](TComponent* owner) { return TComponent::Create<TStandIn>(owner, info, extraStyle); };
}
template <class T> Maker Real() {
    return [](TComponent* owner) { return TComponent::Create<T>(owner); };
}

struct ClassRow {
    const char* edge;
    Maker make;
    TControlDecision expected;
    TSkinControlTypes off = 0;               // members taken out of the default SkinControls
    bool tabs = true;                        // the skin has a Tabs element
    int tag = 0;
    std::vector<std::wstring> skin3rd = {};  // lines put before the default list
};

TEST(ControlDiscovery, TheClassTableWithItsGatesDisableTagAndSkin3rd) {
    const std::vector<ClassRow> rows = {
        {"bit button: its own painter", StandIn(Class(L"TBitBtn", TButton::StaticClass())), Paints(K::BitButton)},
        {"bit button without xcBitBtn stays plain, never a push button",
         StandIn(Class(L"TBitBtn", TButton::StaticClass())), Nothing(), SetBit(xcBitBtn)},
        {"push button", Real<TButton>(), Paints(K::Button)},
        {"push button without xcButton", Real<TButton>(), Nothing(), SetBit(xcButton)},
        {"group box with xcPanel: its children first", StandIn(Class(L"TGroupBox", CustomGroupBox())),
         ChildrenFirst(Paints(K::GroupBox))},
        {"group box is gated by xcPanel, not xcGroupBox", StandIn(Class(L"TGroupBox", CustomGroupBox())), Nothing(),
         SetBit(xcPanel)},
        {"radio group: every item a radio button, the group in face colour",
         StandIn(Class(L"TRadioGroup", CustomRadioGroup())), EachChild(Paints(K::GroupBox, 0, true), K::RadioButton)},
        {"radio group without xcRadioButton: a group box",
         StandIn(Class(L"TRadioGroup", CustomRadioGroup())), ChildrenFirst(Paints(K::GroupBox)),
         SetBit(xcRadioButton)},
        {"edit", Real<TEdit>(), Paints(K::Edit)},
        {"edit class mapped to nil in Skin3rd stays plain", StandIn(Class(L"TMyEdit", TEdit::StaticClass())),
         Nothing(), 0, true, 0, {L"TMyEdit=nil"}},
        {"DisableTag", Real<TButton>(), Nothing(), 0, true, 99},
        {"DisableTag on a radio group tags its items too", StandIn(Class(L"TRzRadioGroup", CustomRadioGroup())),
         [] { TControlDecision d; d.DisableChildren = true; return d; }(), 0, true, 99},
        {"page control in button style", StandIn(Class(L"TPageControl", CustomTabControl(), {Fixed(L"Style", L"tsButtons")})),
         Paints(K::TabBtn)},
        {"page control needs the skin's Tabs", StandIn(Class(L"TPageControl", CustomTabControl(), {Fixed(L"Style", L"tsTabs")})),
         Nothing(), 0, false},
        {"tab control: tab painter in tab-control mode", StandIn(Class(L"TTabControl", CustomTabControl())),
         Paints(K::Tab, 2)},
        {"memo: scroll-bar painter", Real<TMemo>(), Paints(K::Scrollbar)},
        {"memo without xcScrollbar falls to the edit row", Real<TMemo>(), Paints(K::Edit), SetBit(xcScrollbar)},
        {"any control with a window scroll bar", StandIn(Class(L"TThing", TWinControl::StaticClass()), WS_VSCROLL),
         Paints(K::Scrollbar)},
        {"combo box", StandIn(Class(L"TComboBox", CustomComboBox())), Paints(K::ComBox)},
        {"excluded class name", StandIn(Class(L"TDBComboBoxEh", CustomComboBox())), Nothing()},
        {"Skin3rd bitbtn: drop-down kind of tcxbutton is a menu button",
         StandIn(Class(L"TcxButton", TWinControl::StaticClass(), {Fixed(L"Kind", L"cxbkDropDownButton")})),
         Paints(K::MenuButton)},
        {"Skin3rd bitbtn: other kinds a bit button",
         StandIn(Class(L"TcxButton", TWinControl::StaticClass(), {Fixed(L"Kind", L"cxbkStandard")})),
         Paints(K::BitButton)},
        {"Skin3rd radiogroup of the TRz family: glyph-strip items",
         StandIn(Class(L"TRzRadioGroup", CustomRadioGroup())),
         EachChild(Paints(K::GroupBox, 0, true), K::ObjImage, 2, true)},
        {"Skin3rd edit with a border", StandIn(Class(L"TLMDEdit", TCustomEdit::StaticClass()), WS_BORDER),
         Paints(K::Edit)},
        {"Skin3rd edit without a border: plain, and the class table is not asked",
         StandIn(Class(L"TLMDEdit", TCustomEdit::StaticClass())), Nothing()},
        {"Skin3rd panel: transparent, face colour",
         StandIn(Class(L"TTBDock", TWinControl::StaticClass())), WithEffects(Paints(K::Box, 0, true), deTransparent)},
        {"TDCEdit without buttons: edit painter by handle",
         StandIn(Class(L"TDCEdit", TWinControl::StaticClass(), {Fixed(L"NumButtons", 0)})), ByHandle(Paints(K::Edit))},
    };

    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(10, 10, 300, 200);
    for (const ClassRow& row : rows) {
        SCOPED_TRACE(row.edge);
        TSkinData skin(nullptr);
        skin.SetSkinControls(TSkinData::kDefaultSkinControls & ~row.off);
        if (row.tabs) skin.Tabs = std::make_unique<TDataSkinBorder>("Tabs");
        for (std::size_t i = 0; i < row.skin3rd.size(); ++i) skin.Skin3rd()->Insert(static_cast<int>(i), row.skin3rd[i]);
        TWinControl* control = row.make(form.get());
        control->SetParent(form.get());
        control->SetTag(row.tag);
        control->HandleNeeded();

        EXPECT_EQ(DecideControl(*control, skin, true), row.expected);
        control->Hide();  // out of the way of the next rows; the form frees it
    }
}

TEST(ControlDiscovery, Skin3rdLinesMatchTheClassNameFollowedByEquals) {
    TStringList lines;
    lines.Assign(std::vector<std::wstring>{L"TEditX=button", L"tedit=ComboBox", L"TEdit=nil", L"TFoo=a=b",
                                           L"TLong=" + std::wstring(60, L'k')});
    const struct {
        const wchar_t* className;
        std::optional<std::wstring> kind;
    } rows[] = {
        {L"TEdit", L"combobox"},          // a longer name is no match; the first match wins; kind in lower case
        {L"TEDIT", L"combobox"},          // case ignored
        {L"TEdi", std::nullopt},          // the name must be followed by "="
        {L"TFoo", L"a=b"},                // the kind is all after the first "="
        {L"TLong", std::wstring(50, L'k')},  // at most 50 characters
        {L"TNone", std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(FindSkin3rdKind(lines, row.className), row.kind) << WideToUtf8(row.className);
}

TEST(ControlDiscovery, ThePlainWindowTableByClassAndStyle) {
    TControlDecision firstChildCombo;
    firstChildCombo.ChildRule = TChildRule::First;
    firstChildCombo.ChildPainter.Kind = K::ComBox;
    TControlDecision panel;
    panel.Children = TChildVisit::Before;
    panel.Effects = deFaceColour;
    const struct {
        const char* edge;
        const wchar_t* lowerClass;
        LONG_PTR style;
        TControlDecision expected;
        TSkinControlTypes off = 0;
    } rows[] = {
        {"owner-drawn button", L"button", BS_OWNERDRAW, Nothing()},
        {"group box", L"button", BS_GROUPBOX, Nothing()},
        {"bitmap button", L"button", BS_PUSHBUTTON | BS_BITMAP, Nothing()},
        {"auto check box (3)", L"button", BS_AUTOCHECKBOX, Paints(K::CheckBox)},
        {"check box (2)", L"button", BS_CHECKBOX, Paints(K::CheckBox)},
        {"three-state (5)", L"button", BS_3STATE, Paints(K::CheckBox)},
        {"auto three-state (6)", L"button", BS_AUTO3STATE, Paints(K::CheckBox)},
        {"auto radio button (9)", L"button", BS_AUTORADIOBUTTON, Paints(K::RadioButton)},
        {"radio button (4)", L"button", BS_RADIOBUTTON, Paints(K::RadioButton)},
        {"push button", L"button", BS_PUSHBUTTON | WS_TABSTOP, Paints(K::Button)},
        {"default push button", L"button", BS_DEFPUSHBUTTON, Paints(K::Button)},
        {"split button is neither radio nor check box", L"button", 0xC, Nothing()},
        {"command link is no check box", L"button", 0xE, Nothing()},
        {"simple combo box", L"combobox", CBS_SIMPLE, Nothing()},
        {"drop-down list", L"combobox", CBS_DROPDOWNLIST, Paints(K::ComBox)},
        {"extended combo box: its inner combo", L"comboboxex32", 0, firstChildCombo},
        {"size grip", L"scrollbar", SBS_SIZEGRIP, Paints(K::Sizer)},
        {"size grip without the scroll-bar set", L"scrollbar", SBS_SIZEGRIP, Nothing(), SetBit(xcScrollbar)},
        {"embedded dialog: its children first", L"#32770", WS_CHILD, ChildrenFirst(Paints(K::BoxH))},
        {"embedded dialog with 0x10000", L"#32770", WS_CHILD | 0x10000, Nothing()},
        {"class-library panel: children, face colour", L"tpanel", 0, panel},
        {"owner-drawn tab control", L"systabcontrol32", TCS_OWNERDRAWFIXED, Nothing()},
        {"tab control", L"systabcontrol32", 0, Paints(K::Tab)},
        {"tree view", L"systreeview32", 0, Nothing()},
        {"edit", L"edit", ES_AUTOHSCROLL, Paints(K::Edit)},
    };
    for (const auto& row : rows) {
        TSkinData skin(nullptr);
        skin.SetSkinControls(TSkinData::kDefaultSkinControls & ~row.off);
        EXPECT_EQ(DecideWindow(row.lowerClass, row.style, skin), row.expected) << row.edge;
    }
}

// ---- walks that attach painters

constexpr COLORREF kFill = RGB(10, 200, 30);

// Fills its window after the control has painted: the screen shows it is on.
class TFillPainter : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void Draw(HDC dc, const RECT& rect) override {
        UniqueBrush brush(CreateSolidBrush(kFill));
        FillRect(dc, &rect, brush.get());
    }
};

// Gives kinds the fill painter while alive, counting what it makes.
class FillPainters {
public:
    explicit FillPainters(std::vector<K> kinds) : kinds_(std::move(kinds)) {
        for (K kind : kinds_)
            SetPainterMaker(kind, [this](const TPainterRequest& request, TComponent& owner) {
                ++made[request.Kind];
                return TComponent::Create<TFillPainter>(&owner);
            });
    }
    ~FillPainters() {
        for (K kind : kinds_) SetPainterMaker(kind, {});
    }
    std::map<K, int> made;

private:
    std::vector<K> kinds_;
};

bool AnswersSkinned(HWND window) { return SendMessageW(window, SKM_ISSKINNED, 0, 0) == 1; }

COLORREF CentreOf(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    WindowDC dc(wnd, true);
    return GetPixel(dc.get(), (r.right - r.left) / 2, (r.bottom - r.top) / 2);
}

TEST(ControlDiscovery, AFormWalkAttachesThePaintersItDecidesOnOnce) {
    FillPainters painters({K::Button, K::Edit, K::RadioButton, K::GroupBox});
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(40, 40, 300, 200);
    auto* button = TComponent::Create<TButton>(form.get());
    button->SetParent(form.get());
    button->SetBounds(10, 10, 120, 40);
    auto* plainEdit = TComponent::Create<TEdit>(form.get());
    plainEdit->SetParent(form.get());
    plainEdit->SetBounds(10, 60, 120, 24);
    plainEdit->SetTag(99);
    auto* appEdit = TComponent::Create<TEdit>(form.get());
    appEdit->SetParent(form.get());
    appEdit->SetBounds(10, 100, 120, 24);
    // A tool button whose menu belongs to no form: the walk hands it to the skin.
    TComponent menuOwner(nullptr);
    auto* dropDown = TComponent::Create<TPopupMenu>(&menuOwner);
    auto* item = TComponent::Create<TMenuItem>(&menuOwner);
    dropDown->Items()->Add(item);
    const TClassInfo& toolButton = Class(L"TToolButton", TWinControl::StaticClass(),
                                         {Fixed(L"DropdownMenu", static_cast<TObject*>(dropDown))});
    TComponent::Create<TStandIn>(form.get(), toolButton, 0)->SetParent(form.get());
    // Radio groups: the items of a skinned one get the item painter, those of
    // one kept plain by DisableTag stay plain with it.
    const auto group = [&](const TClassInfo& info, int tag, int top) {
        auto* box = TComponent::Create<TStandIn>(form.get(), info, 0);
        box->SetParent(form.get());
        box->SetBounds(150, top, 120, 60);
        box->SetTag(tag);
        auto* radio = TComponent::Create<TStandIn>(form.get(), Class(L"TGroupButton", TWinControl::StaticClass()), 0);
        radio->SetParent(box);
        radio->SetBounds(5, 20, 100, 20);
        return std::pair{box, radio};
    };
    const auto [skinnedGroup, skinnedItem] = group(Class(L"TRadioGroup", CustomRadioGroup()), 0, 10);
    const auto [plainGroup, plainItem] = group(Class(L"TRzRadioGroup", CustomRadioGroup()), 99, 80);
    form->Show();
    TSkinData skin(nullptr);
    std::wstring askedClass;
    skin.OnSkinControl = [&](TComponent*, TSkinData*, TControl*, TControl* control, const std::wstring& controlClass,
                             TComponent*& skinned) {
        if (control != appEdit) return;
        askedClass = controlClass;
        skinned = TComponent::Create<TFillPainter>(control);
    };
    TWinSkinForm skinned(form->Handle(), form.get(), skin);
    skinned.FrameSkinned = true;

    skinned.SkinControls();
    skinned.SkinControls();  // a second walk finds everything painted already

    EXPECT_TRUE(AnswersSkinned(button->Handle()));
    EXPECT_FALSE(AnswersSkinned(plainEdit->Handle()));  // DisableTag
    EXPECT_TRUE(AnswersSkinned(appEdit->Handle()));     // the application's own painter
    EXPECT_EQ(askedClass, L"TEDIT");
    EXPECT_TRUE(AnswersSkinned(skinnedGroup->Handle()));
    EXPECT_TRUE(AnswersSkinned(skinnedItem->Handle()));
    EXPECT_FALSE(AnswersSkinned(plainGroup->Handle()));
    EXPECT_FALSE(AnswersSkinned(plainItem->Handle()));
    EXPECT_EQ(plainItem->Tag(), 99);
    EXPECT_EQ(painters.made, (std::map<K, int>{{K::Button, 1}, {K::RadioButton, 1}, {K::GroupBox, 1}}));
    ASSERT_EQ(skinned.SkinnedControls.size(), 4u);
    EXPECT_TRUE(dropDown->OwnerDraw());
    EXPECT_TRUE(item->OnDrawItem);
    button->Invalidate();
    PumpFor(50);
    EXPECT_EQ(CentreOf(button->Handle()), kFill);
}

TEST(ControlDiscovery, APlainWindowsChildrenArePaintedByHandle) {
    FillPainters painters({K::CheckBox, K::Edit});
    UniqueWindow dialog(CreateWindowExW(0, L"#32770", L"Plain", WS_POPUP | WS_CAPTION | WS_VISIBLE, 40, 40, 300, 200,
                                        nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(dialog);
    const auto child = [&](const wchar_t* cls, DWORD style, int y) {
        return CreateWindowExW(0, cls, L"x", WS_CHILD | WS_VISIBLE | style, 10, y, 120, 24, dialog.get(), nullptr,
                               nullptr, nullptr);
    };
    const HWND check = child(L"Button", BS_AUTOCHECKBOX, 10);
    const HWND group = child(L"Button", BS_GROUPBOX, 40);
    const HWND edit = child(L"Edit", 0, 70);
    TSkinData skin(nullptr);
    {
        TWinSkinForm skinned(dialog.get(), nullptr, skin);
        skinned.SkinControls();
        skinned.SkinControls();

        EXPECT_TRUE(AnswersSkinned(check));
        EXPECT_FALSE(AnswersSkinned(group));
        EXPECT_TRUE(AnswersSkinned(edit));
        EXPECT_EQ(painters.made, (std::map<K, int>{{K::CheckBox, 1}, {K::Edit, 1}}));
        EXPECT_EQ(skinned.PlainPainters.ComponentCount(), 2);
    }
    // Freeing the form object gave the windows back.
    EXPECT_FALSE(AnswersSkinned(check));
}

}  // namespace
