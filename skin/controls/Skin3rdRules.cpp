#include "skin/controls/Skin3rdRules.h"

#include "classlib/Controls.h"
#include "classlib/Strings.h"
#include "skin/controls/DiscoveryText.h"
#include "skin/data/WinSkinData.h"

namespace {

constexpr std::size_t kMaxKindLength = 50;

// A control with a border: its window is larger than its client area.
bool HasBorder(TControl& control) {
    auto* windowed = As<TWinControl>(&control);
    if (!windowed || !windowed->HandleAllocated()) return false;
    RECT window{}, client{};
    if (!GetWindowRect(windowed->WindowHandle(), &window) || !GetClientRect(windowed->WindowHandle(), &client))
        return false;
    return window.right - window.left != client.right || window.bottom - window.top != client.bottom;
}

// Radio and check groups: each child gets the item painter (or the glyph
// strip of the one family that takes glyphs), then the group its box.
TControlDecision Group(TControl& control, const TSkinData& skin, TPainterKind item, int glyphKind) {
    TControlDecision d;
    if (skin.HasSkinControl(xcRadioButton)) {
        d.ChildRule = TChildRule::Each;
        d.Children = TChildVisit::Before;
        d.ChildPainter = AsciiUpper(control.ClassName()).find(L"TRZ") != std::wstring::npos
                             ? PainterOf(TPainterKind::ObjImage, glyphKind, true)
                             : PainterOf(item);
    }
    if (skin.HasSkinControl(xcGroupBox)) d.Painter = PainterOf(TPainterKind::GroupBox, 0, true);
    return d;
}

}  // namespace

std::optional<std::wstring> FindSkin3rdKind(const TStrings& lines, std::wstring_view className) {
    const std::wstring prefix = AsciiLower(className) + L"=";
    for (int i = 0; i < lines.Count(); ++i) {
        const std::wstring line = AsciiLower(lines.Get(i));
        if (line.compare(0, prefix.size(), prefix) == 0) return line.substr(prefix.size(), kMaxKindLength);
    }
    return std::nullopt;
}

TControlDecision DecideSkin3rdKind(std::wstring_view kind, TControl& control, const TSkinData& skin) {
    const auto on = [&skin](TSkinControlType member) { return skin.HasSkinControl(member); };
    TControlDecision d;
    if (kind == L"combobox") {
        if (on(xcCombo)) d.Painter = PainterOf(TPainterKind::ComBox);
    } else if (kind == L"edit") {
        if (on(xcEdit) && HasBorder(control)) d.Painter = PainterOf(TPainterKind::Edit);
    } else if (kind == L"radiobutton") {
        if (on(xcRadioButton)) d.Painter = PainterOf(TPainterKind::RadioButton);
    } else if (kind == L"panel") {
        if (on(xcPanel)) {
            d.Effects = deTransparent;
            d.Painter = PainterOf(TPainterKind::Box, 0, true);
        }
    } else if (kind == L"trackbar") {
        if (on(xcButton)) {
            d.Effects = deTransparent;
            d.Painter = PainterOf(TPainterKind::TrackBar);
        }
    } else if (kind == L"button") {
        if (on(xcButton)) d.Painter = PainterOf(TPainterKind::Button);
    } else if (kind == L"datetimepicker") {
        if (on(xcCombo)) d.Painter = PainterOf(TPainterKind::DateTime);
    } else if (kind == L"mediaplayer") {
        if (on(xcButton)) d.Painter = PainterOf(TPainterKind::MediaPlayer);
    } else if (kind == L"bitbtn") {
        if (on(xcButton)) {
            const bool dropDown = AsciiLower(control.ClassName()) == L"tcxbutton" &&
                                  SameText(control.GetProperty(L"Kind").AsText(), L"cxbkDropDownButton");
            d.Painter = PainterOf(dropDown ? TPainterKind::MenuButton : TPainterKind::BitButton);
        }
    } else if (kind == L"pngbitbtn") {
        if (on(xcButton)) {
            d.Painter = PainterOf(TPainterKind::BitButton);
            d.Painter.GlyphProperty = L"PngImage";
        }
    } else if (kind == L"menubtn") {
        if (on(xcButton)) d.Painter = PainterOf(TPainterKind::MenuButton);
    } else if (kind == L"speedbutton") {
        if (on(xcSpeedButton)) d.Painter = PainterOf(TPainterKind::SpeedButton);
    } else if (kind == L"tab") {
        if (on(xcTab) && skin.Tabs) d.Painter = PainterOf(TPainterKind::Tab);
    } else if (kind == L"progress") {
        if (on(xcProgress)) d.Painter = PainterOf(TPainterKind::Progress);
    } else if (kind == L"scrollbar") {
        if (on(xcScrollbar)) {
            d.Painter = PainterOf(TPainterKind::Scrollbar);
            d.Children = TChildVisit::After;
        }
    } else if (kind == L"singlescrollbar") {
        if (on(xcScrollbar)) d.Painter = PainterOf(TPainterKind::Scrollbar, 1);
    } else if (kind == L"embedscrollbar") {
        if (on(xcScrollbar)) {
            d.ChildRule = TChildRule::EmbeddedScrollbars;
            d.Children = TChildVisit::Before;
        }
    } else if (kind == L"container") {
        d.Children = TChildVisit::After;
    } else if (kind == L"groupbox") {
        if (on(xcGroupBox)) d.Painter = PainterOf(TPainterKind::GroupBox, 0, true);
    } else if (kind == L"advpagecontrol") {
        if (on(xcTab)) d.Painter = PainterOf(TPainterKind::AdvPage, 4, true);
    } else if (kind == L"radiogroup") {
        if (on(xcGroupBox)) d = Group(control, skin, TPainterKind::RadioButton, 2);
    } else if (kind == L"checkgroup") {
        if (on(xcPanel)) d = Group(control, skin, TPainterKind::CheckBox, 1);
    } else if (kind == L"checkbox") {
        if (on(xcCheckBox)) d.Painter = PainterOf(TPainterKind::CheckBox);
    }
    // "nil" and unknown kinds: nothing.
    return d;
}
