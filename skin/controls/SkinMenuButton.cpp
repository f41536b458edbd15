#include "skin/controls/SkinMenuButton.h"

#include "classlib/Graphics.h"
#include "skin/data/TextHelpers.h"

namespace {

constexpr int kArrowWidth = 17;

void DrawDropDownArrow(HDC dc, int width, int height, TColor colour) {
    UniqueBrush brush(CreateSolidBrush(ColorToRGB(colour)));
    UniquePen pen(CreatePen(PS_SOLID, 1, ColorToRGB(colour)));
    SelectedObject selectedBrush(dc, brush.get());
    SelectedObject selectedPen(dc, pen.get());
    const POINT corners[] = {{width - 12, height / 2 + 2}, {width - 15, height / 2 - 1}, {width - 9, height / 2 - 1}};
    Polygon(dc, corners, 3);
}

}  // namespace

const TClassInfo& TSkinMenuButton::StaticClass() {
    static const TClassInfo info(L"TSkinMenuButton", &TSkinButton::StaticClass(), {});
    return info;
}

int TSkinMenuButton::FaceIndex() const {
    if (!EnabledLook) return bfDisabled;
    if (MouseState & kMousePressed) return bfPressed;
    return Focused || (MouseState & kMouseHot) ? bfHot : bfNormal;
}

void TSkinMenuButton::Draw(HDC dc, const RECT& rect) {
    if (!Faces() || rect.right <= rect.left || rect.bottom <= rect.top) return;
    Focused = GetFocus() == Window;
    EnabledLook = !(GetWindowLong(GWL_STYLE) & WS_DISABLED);
    const int face = FaceIndex();
    HDC canvas = ComposeFace(rect, face);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    DrawDropDownArrow(canvas, width, height, EnabledLook ? clWindowText : clGrayText);
    CaptionStyle style(*this, canvas, face);
    const std::wstring caption = CaptionText();
    RECT measured{2, 2, width - kArrowWidth - 2, height - 2};
    DrawTextAuto(canvas, caption, measured, DT_WORDBREAK | DT_CALCRECT);
    const int tw = measured.right - measured.left, th = measured.bottom - measured.top;
    RECT place{(width - kArrowWidth - tw) / 2 + 2, (height - th + 1) / 2, 0, 0};
    place.right = place.left + tw;
    place.bottom = place.top + th;
    SetBkMode(canvas, TRANSPARENT);
    DrawTextAuto(canvas, caption, place, DT_WORDBREAK);
    Present(dc, rect);
}
