#include "skin/controls/SkinBitButton.h"

#include "classlib/ButtonGlyph.h"
#include "classlib/ImageList.h"
#include "skin/controls/ButtonCaption.h"
#include "skin/controls/DiscoveryText.h"
#include "skin/data/BitmapOps.h"
#include "skin/data/TextHelpers.h"
#include "skin/data/WinSkinData.h"

namespace {

int PublishedInteger(const TObject& control, const wchar_t* name) {
    return control.HasProperty(name) ? static_cast<int>(control.GetProperty(name).AsInteger()) : -1;
}

// One frame of a glyph strip turned grey, drawn with its own transparent colour.
void DrawGreyFrame(HDC dc, int x, int y, TBitmap& glyph, int numGlyphs, int frame) {
    const SIZE size = GlyphFrameSize(glyph, numGlyphs);
    TBitmap copy;
    copy.SetPixelFormat(TPixelFormat::pf24bit);
    copy.SetSize(size.cx, size.cy);
    BitBlt(copy.Canvas()->Handle(), 0, 0, size.cx, size.cy, glyph.Canvas()->Handle(), (frame - 1) * size.cx, 0,
           SRCCOPY);
    ToGrayscale(copy);
    DrawGlyphFrame(dc, x, y, copy, 1, 1);
}

}  // namespace

TButtonLayout PublishedLayout(const TObject& control) {
    const std::wstring layout = AsciiLower(control.GetProperty(L"Layout").AsText());
    if (layout == L"blglyphright") return TButtonLayout::blGlyphRight;
    if (layout == L"blglyphtop") return TButtonLayout::blGlyphTop;
    if (layout == L"blglyphbottom") return TButtonLayout::blGlyphBottom;
    return TButtonLayout::blGlyphLeft;
}

const TClassInfo& TSkinBitButton::StaticClass() {
    static const TClassInfo info(L"TSkinBitButton", &TSkinButton::StaticClass(), {});
    return info;
}

void TSkinBitButton::DrawGlyphAndCaption(HDC dc, const RECT& local, int glyphFrame, int face) {
    TControl* control = Target();
    if (!control) return;
    const bool disabled = glyphFrame == 2;
    auto* glyph = As<TBitmap>(control->GetProperty(GlyphProperty.empty() ? L"Glyph" : GlyphProperty).AsObject());
    if (glyph && glyph->Empty()) glyph = nullptr;
    auto* images = glyph ? nullptr : As<TImageList>(control->GetProperty(L"Images").AsObject());
    int imageIndex = PublishedInteger(*control, L"ImageIndex");
    if (disabled && PublishedInteger(*control, L"DisabledIndex") != -1)
        imageIndex = PublishedInteger(*control, L"DisabledIndex");
    if (images && (imageIndex < 0 || imageIndex >= images->Count())) images = nullptr;
    const int numGlyphs = std::max(PublishedInteger(*control, L"NumGlyphs"), 1);
    const SIZE g = glyph ? GlyphFrameSize(*glyph, numGlyphs)
                         : images ? SIZE{images->Width(), images->Height()} : SIZE{0, 0};

    const TButtonLayout layout = PublishedLayout(*control);
    const bool horizontal = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
    UINT format = DT_WORDBREAK;
    if (layout == TButtonLayout::blGlyphRight) format |= DT_RIGHT;
    if (!horizontal) format |= DT_CENTER;
    const std::wstring caption = TwoLineCaption(CaptionText());

    CaptionStyle style(*this, dc, face);
    RECT measured = local;
    InflateRect(&measured, -2, -2);
    if (horizontal) measured.right -= g.cx + 2;
    else measured.bottom -= g.cy + 2;
    if (!caption.empty()) DrawTextAuto(dc, caption, measured, format | DT_CALCRECT);
    const SIZE t = caption.empty() ? SIZE{0, 0} : SIZE{measured.right - measured.left, measured.bottom - measured.top};
    const bool centred = SameText(control->GetProperty(L"Alignment").AsText(), L"taCenter");
    const TGlyphAndText at =
        LayoutGlyphAndText({local.right, local.bottom}, g, t, layout, PublishedInteger(*control, L"Margin"),
                           PublishedInteger(*control, L"Spacing"), centred);

    if (glyph) {
        const int frame = glyphFrame > numGlyphs ? 1 : glyphFrame;
        if (disabled) DrawGreyFrame(dc, at.Glyph.x, at.Glyph.y, *glyph, numGlyphs, frame);
        else DrawGlyphFrame(dc, at.Glyph.x, at.Glyph.y, *glyph, numGlyphs, frame);
    } else if (images) {
        TCanvas canvas;
        canvas.SetHandle(dc);
        images->Draw(canvas, at.Glyph.x, at.Glyph.y, imageIndex, !disabled || PublishedInteger(*control, L"DisabledIndex") != -1);
        canvas.SetHandle(nullptr);
    }
    if (caption.empty()) return;
    SetBkMode(dc, TRANSPARENT);
    RECT place{at.Text.x, at.Text.y, at.Text.x + t.cx, at.Text.y + t.cy};
    DrawTextAuto(dc, caption, place, format | (RightToLeft() ? DT_RTLREADING : 0));
    if (Focused && !(SkinData->Options() & SetBit(xoNoFocusRect))) {
        InflateRect(&place, 2, 2);
        DrawFocusRect(dc, &place);
    }
}

void TSkinBitButton::Draw(HDC dc, const RECT& rect) {
    if (!Faces() || rect.right <= rect.left || rect.bottom <= rect.top) return;
    Focused = GetFocus() == Window;
    EnabledLook = !(GetWindowLong(GWL_STYLE) & WS_DISABLED);
    const int face = FaceIndex();
    HDC canvas = ComposeFace(rect, face);
    const bool pressed = MouseState & kMousePressed;
    DrawGlyphAndCaption(canvas, RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top},
                        pressed ? 3 : !EnabledLook ? 2 : 1, face);
    Present(dc, rect);
}
