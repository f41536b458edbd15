#include "skin/controls/WindowRules.h"

#include <commctrl.h>

#include "skin/data/WinSkinData.h"

namespace {

TControlDecision Paint(TPainterKind kind) {
    TControlDecision d;
    d.Painter.Kind = kind;
    return d;
}

// Button styles by their bits. The newer types (push box, split buttons,
// command links: 0xA, 0xC to 0xF) share bits with check boxes and radio
// buttons but look like neither; they are left to draw themselves.
TControlDecision Button(LONG_PTR style) {
    const LONG_PTR type = style & BS_TYPEMASK;
    if ((style & 0xB) == 0xB) return {};                             // owner-drawn
    if ((style & 7) == 7 || (style & BS_BITMAP)) return {};          // group box, bitmap
    if (type == 0xA || type >= 0xC) return {};
    if ((style & 3) == 3 || (style & 2) || (style & 5) == 5) return Paint(TPainterKind::CheckBox);
    if ((style & 9) == 9 || (style & 4)) return Paint(TPainterKind::RadioButton);
    return Paint(TPainterKind::Button);
}

}  // namespace

TControlDecision DecideWindow(std::wstring_view lowerClass, LONG_PTR style, const TSkinData& skin) {
    if (lowerClass == L"button") return Button(style);
    if (lowerClass == L"combobox") return (style & 3) != CBS_SIMPLE ? Paint(TPainterKind::ComBox) : TControlDecision{};
    if (lowerClass == L"comboboxex32") {
        TControlDecision d;
        d.ChildRule = TChildRule::First;
        d.ChildPainter.Kind = TPainterKind::ComBox;
        return d;
    }
    // Size grips are scroll-bar painters: none without the scroll-bar set.
    if (lowerClass == L"scrollbar")
        return !(style & 0x10000) && skin.HasSkinControl(xcScrollbar) ? Paint(TPainterKind::Sizer) : TControlDecision{};
    if (lowerClass == L"systreeview32") return {};
    if (lowerClass == L"#32770") {
        if (style & 0x10000) return {};
        TControlDecision d = Paint(TPainterKind::BoxH);
        d.Children = TChildVisit::Before;
        return d;
    }
    if (lowerClass == L"tpanel" || lowerClass == L"ttntpanel.unicodeclass" ||
        lowerClass == L"ttntsilentpaintpanel.unicodeclass") {
        TControlDecision d;
        d.Children = TChildVisit::Before;
        d.Effects = deFaceColour;
        return d;
    }
    if (lowerClass == L"tcheckbox") return Paint(TPainterKind::CheckBox);
    if (lowerClass == L"tcombobox") return Paint(TPainterKind::ComBox);
    if (lowerClass == L"tbutton") return Paint(TPainterKind::Button);
    if (lowerClass == L"tprogressbar") return Paint(TPainterKind::Progress);
    if (lowerClass == L"tsilentpaintpanel") {
        TControlDecision d;
        d.Effects = deFaceColour;
        return d;
    }
    if (lowerClass == L"systabcontrol32") return !(style & TCS_OWNERDRAWFIXED) ? Paint(TPainterKind::Tab) : TControlDecision{};
    if (lowerClass == L"edit") return Paint(TPainterKind::Edit);
    return {};
}
