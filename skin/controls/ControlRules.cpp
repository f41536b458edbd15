#include "skin/controls/ControlRules.h"

#include <initializer_list>
#include <optional>
#include <string>

#include "classlib/Controls.h"
#include "skin/controls/DiscoveryText.h"
#include "skin/controls/Skin3rdRules.h"
#include "skin/data/WinSkinData.h"

namespace {

TControlDecision Paint(TPainterKind kind, int mode = 0, bool colourFlag = false,
                       TChildVisit children = TChildVisit::None) {
    TControlDecision d;
    d.Painter = PainterOf(kind, mode, colourFlag);
    d.Children = children;
    return d;
}

TControlDecision Nothing() { return {}; }

bool OneOf(const std::wstring& upperName, std::initializer_list<const wchar_t*> names) {
    for (const wchar_t* n : names)
        if (upperName == n) return true;
    return false;
}

// The class table, top to bottom. "Is" tests ancestry by class name through
// the run-time type information, so other vendors' classes derived from the
// standard ones match too.
std::optional<TControlDecision> ClassTable(TControl& c, const std::wstring& upper, const TSkinData& skin,
                                           bool formSkinsMenus) {
    const auto on = [&skin](TSkinControlType member) { return skin.HasSkinControl(member); };
    const auto is = [&c](const wchar_t* name) { return c.InheritsFrom(name); };
    const bool tabs = on(xcTab) && skin.Tabs != nullptr;

    if (is(L"TCustomTabControl") && tabs) {
        if (!is(L"TPageControl")) return Paint(TPainterKind::Tab, 2);
        if (!SameText(c.GetProperty(L"Style").AsText(), L"tsTabs")) return Paint(TPainterKind::TabBtn);
        return Paint(TPainterKind::Tab);
    }
    if (is(L"TToolButton") && formSkinsMenus) {
        TControlDecision d;
        d.Effects = deMenuOfButton;
        return d;
    }
    if (is(L"TCoolBar") && on(xcToolbar)) {
        TControlDecision d;
        d.Effects = deFaceColourBands;
        return d;
    }
    if (upper == L"TTABSET" && tabs) return Paint(TPainterKind::Tab31);
    if (is(L"TTabSheet") && tabs) return Paint(TPainterKind::TabSheet);
    if (upper == L"TTABBEDNOTEBOOK" && tabs) return Paint(TPainterKind::Tab);
    if (upper == L"TMVCPANEL") {
        TControlDecision d;
        d.Children = TChildVisit::After;
        return d;
    }
    if (is(L"THeaderControl") && on(xcPanel)) return Paint(TPainterKind::Header);
    if (is(L"TCustomCheckBox") && on(xcCheckBox)) return Paint(TPainterKind::CheckBox);
    if (is(L"TTrackBar") && on(xcTrackBar)) return Paint(TPainterKind::TrackBar);
    if (OneOf(upper, {L"TUPDOWN", L"TSPINBUTTON"}) && on(xcSpin)) return Paint(TPainterKind::UpDown);
    if (upper == L"TMEDIAPLAYER" && on(xcButton)) return Paint(TPainterKind::MediaPlayer);
    if (is(L"TCustomRadioGroup") && on(xcRadioButton)) {
        TControlDecision d = Paint(TPainterKind::GroupBox, 0, true, TChildVisit::Before);
        d.ChildRule = TChildRule::Each;
        d.ChildPainter = PainterOf(TPainterKind::RadioButton);
        return d;
    }
    if (upper == L"TDBNAVIGATOR" && on(xcPanel)) return Paint(TPainterKind::Box, 0, true, TChildVisit::After);
    if (OneOf(upper, {L"TRZDBCHECKBOX", L"TRZCHECKBOX"}) && on(xcCheckBox))
        return Paint(TPainterKind::ObjImage, 1, true);
    if (OneOf(upper, {L"TRZRADIOBUTTON", L"TRZDBRADIOBUTTON"}) && on(xcRadioButton))
        return Paint(TPainterKind::ObjImage, 2, true);
    if (OneOf(upper, {L"TCXDBCHECKBOX", L"TCXCHECKBOX"}) && on(xcCheckBox))
        return Paint(TPainterKind::ObjImage, 3, true);
    if (is(L"TCustomGroupBox") && on(xcPanel))
        return Paint(TPainterKind::GroupBox, 0, false, TChildVisit::Before);
    if (is(L"TRadioButton") && on(xcRadioButton)) return Paint(TPainterKind::RadioButton);
    if (is(L"TToolBar") && on(xcToolbar)) {
        TControlDecision d = Paint(TPainterKind::Box);
        d.Effects = deFlatToolbar;
        return d;
    }
    if (is(L"TCustomStatusBar") && on(xcStatusBar)) return Paint(TPainterKind::StatusBar);
    if (is(L"TProgressBar") && on(xcProgress)) return Paint(TPainterKind::Progress);
    if (is(L"TScrollBar") && on(xcScrollbar)) return Paint(TPainterKind::ScControl);
    if ((upper == L"TTNTCOMBOBOX" || is(L"TCustomComboBox")) && on(xcCombo)) return Paint(TPainterKind::ComBox);
    if (is(L"TDateTimePicker") && on(xcEdit)) {
        const bool plainEdit = SameText(c.GetProperty(L"DateMode").AsText(), L"dmUpDown") ||
                               SameText(c.GetProperty(L"Kind").AsText(), L"dtkTime");
        return Paint(plainEdit ? TPainterKind::Edit : TPainterKind::DateTime);
    }
    if (OneOf(upper, {L"TRICHEDIT", L"TWWDBRICHEDIT", L"TDXDBMEMO"}) && on(xcScrollbar))
        return Paint(TPainterKind::Scrollbar);
    // A bit button is never painted as the push button it derives from.
    if (is(L"TBitBtn")) return on(xcBitBtn) ? Paint(TPainterKind::BitButton) : Nothing();
    if (is(L"TSpeedButton") && on(xcSpeedButton)) return Paint(TPainterKind::SpeedButton);
    if (is(L"TCustomPanel") && on(xcPanel)) return Paint(TPainterKind::Box, 0, true, TChildVisit::Before);
    if (OneOf(upper, {L"TDXTREELIST", L"TDXDBTREELIST", L"TDXDBGRID"}) && on(xcScrollbar))
        return Paint(TPainterKind::Scrollbar);
    if (is(L"TCustomListView") && on(xcScrollbar)) return Paint(TPainterKind::ListView);
    if (is(L"TCustomMemo") && on(xcScrollbar)) return Paint(TPainterKind::Scrollbar);
    if (is(L"TCustomGrid") && on(xcScrollbar)) return Paint(TPainterKind::Scrollbar);
    if (IsScrollingControl(c) && on(xcScrollbar)) return Paint(TPainterKind::Scrollbar);
    if (is(L"TButton") && on(xcButton)) return Paint(TPainterKind::Button);
    if (is(L"TCustomEdit") && on(xcEdit)) return Paint(TPainterKind::Edit);
    const bool dcEdit = OneOf(upper, {L"TDCEDIT", L"TDCDBEDIT"});
    if (!dcEdit && is(L"TCustomFrame")) {
        TControlDecision d;
        d.VisitOwned = true;
        return d;
    }
    if (!dcEdit && is(L"TCustomForm")) {
        TControlDecision d = Paint(TPainterKind::Box, 0, true);
        d.VisitOwned = true;
        return d;
    }
    if (dcEdit) {
        const auto buttons = c.GetProperty(L"NumButtons").AsInteger();
        if (buttons == 1 && on(xcCombo)) return Paint(TPainterKind::ComBox);
        if (buttons == 0 && on(xcEdit)) {
            TControlDecision d = Paint(TPainterKind::Edit);
            d.Painter.ByHandle = true;
            return d;
        }
    }
    return std::nullopt;
}

}  // namespace

bool IsScrollingControl(TControl& control) {
    if (auto* windowed = As<TWinControl>(&control); windowed && windowed->HandleAllocated()) {
        const LONG_PTR style = GetWindowLongPtrW(windowed->WindowHandle(), GWL_STYLE);
        if (style & (WS_HSCROLL | WS_VSCROLL)) return true;
    }
    for (const wchar_t* name : {L"TListBox", L"TMemo", L"TCustomListBox", L"TCustomTreeView", L"TScrollBox"})
        if (control.InheritsFrom(name)) return true;
    return false;
}

TControlDecision DecideControl(TControl& control, const TSkinData& skin, bool formSkinsMenus) {
    const std::wstring upper = AsciiUpper(control.ClassName());
    if (control.Tag() == skin.DisableTag()) {
        // The items of a group the application keeps plain stay plain too.
        const std::wstring lower = AsciiLower(upper);
        TControlDecision d;
        d.DisableChildren =
            lower.find(L"radiogroup") != std::wstring::npos || lower.find(L"checkgroup") != std::wstring::npos;
        return d;
    }
    if (const auto kind = FindSkin3rdKind(*skin.Skin3rd(), upper)) return DecideSkin3rdKind(*kind, control, skin);
    if (OneOf(upper, {L"TDBCOMBOBOXEH", L"TFRDESIGNERPAGE", L"TFRPBOX"})) return Nothing();
    return ClassTable(control, upper, skin, formSkinsMenus).value_or(Nothing());
}
