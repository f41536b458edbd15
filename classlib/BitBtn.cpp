#include "classlib/BitBtn.h"

#include "classlib/ButtonGlyph.h"
#include "classlib/ImageList.h"

namespace {

struct TKindDefaults {
    const wchar_t* caption;
    TModalResult result;
};

// Captions and results of the standard kinds (bkCustom first, unused).
constexpr TKindDefaults kKinds[] = {
    {L"", mrNone},          {L"OK", mrOk},         {L"Cancel", mrCancel}, {L"&Help", mrNone},
    {L"&Yes", mrYes},       {L"&No", mrNo},        {L"&Close", mrNone},   {L"Abort", mrAbort},
    {L"&Retry", mrRetry},   {L"&Ignore", mrIgnore}, {L"&All", 8},
};

}  // namespace

const TClassInfo& TBitBtn::StaticClass() {
    static const TClassInfo info(
        L"TBitBtn", &TButton::StaticClass(),
        {
            props::Object(L"Glyph", &TBitBtn::Glyph),
            props::Integer(L"NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs),
            props::Enumeration(L"Kind", &TBitBtn::Kind, &TBitBtn::SetKind,
                               {L"bkCustom", L"bkOK", L"bkCancel", L"bkHelp", L"bkYes", L"bkNo", L"bkClose",
                                L"bkAbort", L"bkRetry", L"bkIgnore", L"bkAll"}),
            props::Enumeration(L"Layout", &TBitBtn::Layout, &TBitBtn::SetLayout, ButtonLayoutNames()),
            props::Integer(L"Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing),
            props::Integer(L"Margin", &TBitBtn::Margin, &TBitBtn::SetMargin),
            props::Reference(L"Images", &TBitBtn::Images, &TBitBtn::SetImages),
            props::Integer(L"ImageIndex", &TBitBtn::ImageIndex, &TBitBtn::SetImageIndex),
        });
    return info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::SetNumGlyphs(int v) {
    numGlyphs_ = v < 1 ? 1 : v > 4 ? 4 : v;
    Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind v) {
    kind_ = v;
    if (v == TBitBtnKind::bkCustom) return;
    const TKindDefaults& d = kKinds[static_cast<int>(v)];
    SetCaption(d.caption);
    SetModalResult(d.result);
    if (v == TBitBtnKind::bkOK || v == TBitBtnKind::bkYes) SetDefault(true);
    if (v == TBitBtnKind::bkCancel || v == TBitBtnKind::bkNo) SetCancel(true);
}

void TBitBtn::SetLayout(TButtonLayout v) {
    layout_ = v;
    Invalidate();
}

void TBitBtn::SetSpacing(int v) {
    spacing_ = v;
    Invalidate();
}

void TBitBtn::SetMargin(int v) {
    margin_ = v;
    Invalidate();
}

void TBitBtn::SetImages(TImageList* v) {
    if (images_) images_->RemoveFreeNotification(this);
    images_ = v;
    if (images_) images_->FreeNotification(this);
    Invalidate();
}

void TBitBtn::SetImageIndex(int v) {
    imageIndex_ = v;
    Invalidate();
}

void TBitBtn::Notification(TComponent* component, TOperation operation) {
    TButton::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

void TBitBtn::CreateParams(TCreateParams& p) {
    TButton::CreateParams(p);
    p.Style = (p.Style & ~static_cast<DWORD>(0xF)) | BS_OWNERDRAW;
}

void TBitBtn::WndProc(TMessage& m) {
    if (m.Msg == CN_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
        m.Result = 1;
        return;
    }
    TButton::WndProc(m);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pressed = item.itemState & ODS_SELECTED;
    const bool disabled = item.itemState & ODS_DISABLED;
    // The active button (the one Enter clicks) carries the default frame.
    if (Active()) {
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

    const bool fromList = glyph_->Empty() && images_ && imageIndex_ >= 0;
    const SIZE glyph = fromList ? SIZE{images_->Width(), images_->Height()} : GlyphFrameSize(*glyph_, numGlyphs_);
    const std::wstring caption = Caption();
    SelectedObject font(dc, Font()->Handle());
    RECT text{0, 0, r.right - r.left - 4, r.bottom - r.top - 4};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_CALCRECT | DT_WORDBREAK);
    const TGlyphAndText at =
        LayoutGlyphAndText({r.right - r.left, r.bottom - r.top}, glyph, {text.right, text.bottom}, layout_, margin_,
                           spacing_, false);
    const int shift = pressed ? 1 : 0;
    if (fromList) {
        TCanvas canvas;
        canvas.SetHandle(dc);
        images_->Draw(canvas, r.left + at.Glyph.x + shift, r.top + at.Glyph.y + shift, imageIndex_, !disabled);
        canvas.SetHandle(nullptr);
    } else {
        DrawGlyphFrame(dc, r.left + at.Glyph.x + shift, r.top + at.Glyph.y + shift, *glyph_, numGlyphs_,
                       disabled ? 2 : pressed ? 3 : 1);
    }
    RECT place{r.left + at.Text.x + shift, r.top + at.Text.y + shift, 0, 0};
    place.right = place.left + text.right;
    place.bottom = place.top + text.bottom;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &place, DT_WORDBREAK | DT_CENTER);
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&r, -3, -3);
        DrawFocusRect(dc, &r);
    }
}
