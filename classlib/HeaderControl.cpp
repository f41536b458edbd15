#include "classlib/HeaderControl.h"

#include <commctrl.h>

#include <algorithm>

// ---------------------------------------------------------------- THeaderSection

const TClassInfo& THeaderSection::StaticClass() {
    static const TClassInfo info(
        L"THeaderSection", &TCollectionItem::StaticClass(),
        {
            props::Text(L"Text", &THeaderSection::Text, &THeaderSection::SetText),
            props::Integer(L"Width", &THeaderSection::Width, &THeaderSection::SetWidth),
            props::Enumeration(L"Alignment", &THeaderSection::Alignment, &THeaderSection::SetAlignment,
                               AlignmentNames()),
        });
    return info;
}

void THeaderSection::SetText(const std::wstring& v) {
    if (v == text_) return;
    text_ = v;
    Changed();
}

void THeaderSection::SetWidth(int v) {
    v = std::max(0, v);
    if (v == width_) return;
    width_ = v;
    Changed();
}

void THeaderSection::SetAlignment(TAlignment v) {
    if (v == alignment_) return;
    alignment_ = v;
    Changed();
}

void THeaderSection::Assign(const TPersistent& source) {
    if (auto* s = dynamic_cast<const THeaderSection*>(&source)) {
        text_ = s->text_;
        width_ = s->width_;
        alignment_ = s->alignment_;
        Changed();
        return;
    }
    TCollectionItem::Assign(source);
}

const TClassInfo& THeaderSections::StaticClass() {
    static const TClassInfo info(L"THeaderSections", &TCollection::StaticClass());
    return info;
}

THeaderSections::THeaderSections()
    : TCollection([](TCollection* c) { return std::make_unique<THeaderSection>(c); }) {}

// ---------------------------------------------------------------- THeaderControl

const TClassInfo& THeaderControl::StaticClass() {
    static const TClassInfo info(L"THeaderControl", &TWinControl::StaticClass(),
                                 {
                                     props::Object(L"Sections", &THeaderControl::Sections),
                                 });
    return info;
}

THeaderControl::THeaderControl(TComponent* owner)
    : TWinControl(owner), sections_(std::make_unique<THeaderSections>()) {
    sections_->OnUpdate = [this](TCollection*) { UpdateSections(); };
    SetBounds(0, 0, 170, 17);
    SetAlign(TAlign::alTop);
}

void THeaderControl::CreateParams(TCreateParams& p) {
    const INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_HEADERW);
    p.Style |= HDS_BUTTONS | HDS_HORZ | CCS_NOPARENTALIGN | CCS_NORESIZE;
}

void THeaderControl::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    UpdateSections();
}

void THeaderControl::UpdateSections() {
    if (!HandleAllocated()) return;
    HWND wnd = WindowHandle();
    while (SendMessageW(wnd, HDM_GETITEMCOUNT, 0, 0) > 0) SendMessageW(wnd, HDM_DELETEITEM, 0, 0);
    for (int i = 0; i < sections_->Count(); ++i) {
        const THeaderSection& section = *sections_->Items(i);
        std::wstring text = section.Text();
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.pszText = text.data();
        item.cxy = section.Width();
        item.fmt = HDF_STRING | (section.Alignment() == TAlignment::taCenter         ? HDF_CENTER
                                 : section.Alignment() == TAlignment::taRightJustify ? HDF_RIGHT
                                                                                     : HDF_LEFT);
        SendMessageW(wnd, HDM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}
