#include "classlib/Label.h"

#include "classlib/Menus.h"

const TClassInfo& TCustomLabel::StaticClass() {
    static const TClassInfo info(
        L"TCustomLabel", &TGraphicControl::StaticClass(),
        {
            props::Boolean(L"AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize),
            props::Enumeration(L"Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment, AlignmentNames()),
            props::Boolean(L"WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap),
            props::Boolean(L"Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent),
            props::Boolean(L"ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar),
            props::Reference(L"FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl),
        });
    return info;
}

const TClassInfo& TLabel::StaticClass() {
    static const TClassInfo info(L"TLabel", &TCustomLabel::StaticClass());
    return info;
}

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    ControlStyle |= csOpaque;
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
}

void TCustomLabel::SetAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment v) {
    if (v == alignment_) return;
    alignment_ = v;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool v) {
    if (v == Transparent()) return;
    if (v)
        ControlStyle &= ~csOpaque;
    else
        ControlStyle |= csOpaque;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool v) {
    if (v == showAccelChar_) return;
    showAccelChar_ = v;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* control) {
    focusControl_ = control;
    if (control) control->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::DoDrawText(RECT& r, UINT flags) {
    std::wstring text = Caption();
    // An empty caption (or a lone accelerator mark) still measures one line high.
    if ((flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == L"&"))) text += L' ';
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    TCanvas& canvas = *Canvas();
    canvas.Font()->Assign(*Font());
    if (!Enabled() && !(flags & DT_CALCRECT)) {
        // Embossed, as Windows draws disabled text.
        OffsetRect(&r, 1, 1);
        canvas.Font()->SetColor(clBtnHighlight);
        canvas.DrawText(text, r, flags);
        OffsetRect(&r, -1, -1);
        canvas.Font()->SetColor(clBtnShadow);
    }
    canvas.DrawText(text, r, flags);
}

void TCustomLabel::AdjustBounds() {
    if (!autoSize_ || IsLoading()) return;
    RECT r{0, 0, Width(), Height()};
    {
        WindowDC screen(nullptr);
        Canvas()->SetHandle(screen.get());
        DoDrawText(r, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0));
        Canvas()->SetHandle(nullptr);
    }
    int left = Left();
    if (alignment_ == TAlignment::taRightJustify) left += Width() - r.right;
    SetBounds(left, Top(), r.right, r.bottom);
}

void TCustomLabel::Paint() {
    TCanvas& canvas = *Canvas();
    RECT r{0, 0, Width(), Height()};
    if (!Transparent()) {
        canvas.Brush()->SetColor(Color());
        canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
        canvas.FillRect(r);
    }
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    DoDrawText(r, DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | AlignmentToDrawText(alignment_));
}

void TCustomLabel::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        AdjustBounds();
        break;
    case CM_DIALOGCHAR:
        // Alt+accelerator moves the focus to the control this label names.
        if (focusControl_ && Enabled() && showAccelChar_ && IsAccel(static_cast<wchar_t>(m.WParam), Caption())) {
            if (focusControl_->CanFocus()) {
                focusControl_->SetFocus();
                m.Result = 1;
            }
            return;
        }
        break;
    default:
        break;
    }
    TGraphicControl::WndProc(m);
}
