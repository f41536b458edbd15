#include "classlib/ListView.h"

#include <commctrl.h>

#include <algorithm>

const TClassInfo& TListColumn::StaticClass() {
    static const TClassInfo info(L"TListColumn", &TCollectionItem::StaticClass(),
                                 {
                                     props::Text(L"Caption", &TListColumn::Caption, &TListColumn::SetCaption),
                                     props::Integer(L"Width", &TListColumn::Width, &TListColumn::SetWidth),
                                 });
    return info;
}

void TListColumn::SetCaption(const std::wstring& v) {
    if (v == caption_) return;
    caption_ = v;
    Changed();
}

void TListColumn::SetWidth(int v) {
    v = std::max(0, v);
    if (v == width_) return;
    width_ = v;
    Changed();
}

const TClassInfo& TListColumns::StaticClass() {
    static const TClassInfo info(L"TListColumns", &TCollection::StaticClass());
    return info;
}

TListColumns::TListColumns() : TCollection([](TCollection* c) { return std::make_unique<TListColumn>(c); }) {}

const TClassInfo& TCustomListView::StaticClass() {
    static const TClassInfo info(L"TCustomListView", &TWinControl::StaticClass(),
                                 {
                                     props::Object(L"Columns", &TCustomListView::Columns),
                                     props::Object(L"Items", &TCustomListView::Items),
                                     props::Enumeration(L"ViewStyle", &TCustomListView::ViewStyle,
                                                        &TCustomListView::SetViewStyle,
                                                        {L"vsIcon", L"vsSmallIcon", L"vsList", L"vsReport"}),
                                 });
    return info;
}

const TClassInfo& TListView::StaticClass() {
    static const TClassInfo info(L"TListView", &TCustomListView::StaticClass());
    return info;
}

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner), columns_(std::make_unique<TListColumns>()), items_(std::make_unique<TStringList>()) {
    SetBounds(0, 0, 250, 150);
    SetTabStop(true);
    SetColor(clWindow);
    columns_->OnUpdate = [this](TCollection*) { FillColumns(); };
    items_->OnChange = [this](TObject*) { FillItems(); };
}

TCustomListView::~TCustomListView() {
    columns_->OnUpdate = nullptr;
    items_->OnChange = nullptr;
}

void TCustomListView::CreateParams(TCreateParams& p) {
    const INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_LISTVIEWW);
    p.ExStyle |= WS_EX_CLIENTEDGE;
    constexpr DWORD kStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    p.Style |= kStyles[static_cast<int>(viewStyle_)] | LVS_SHAREIMAGELISTS;
}

void TCustomListView::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    FillColumns();
    FillItems();
}

void TCustomListView::SetViewStyle(TViewStyle v) {
    if (v == viewStyle_) return;
    viewStyle_ = v;
    RecreateWnd();
}

void TCustomListView::FillColumns() {
    if (!HandleAllocated()) return;
    HWND wnd = WindowHandle();
    while (SendMessageW(wnd, LVM_DELETECOLUMN, 0, 0)) {
    }
    for (int i = 0; i < columns_->Count(); ++i) {
        std::wstring caption = columns_->Items(i)->Caption();
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = columns_->Items(i)->Width();
        column.pszText = caption.data();
        SendMessageW(wnd, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
}

void TCustomListView::FillItems() {
    if (!HandleAllocated()) return;
    HWND wnd = WindowHandle();
    SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
    SendMessageW(wnd, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < items_->Count(); ++i) {
        std::wstring caption = items_->Get(i);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = caption.data();
        SendMessageW(wnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(wnd, nullptr, TRUE);
}
