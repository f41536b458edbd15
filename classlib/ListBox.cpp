#include "classlib/ListBox.h"

const TClassInfo& TCustomListBox::StaticClass() {
    static const TClassInfo info(L"TCustomListBox", &TWinControl::StaticClass(),
                                 {
                                     props::Object(L"Items", &TCustomListBox::Items),
                                     props::Integer(L"ItemIndex", &TCustomListBox::ItemIndex,
                                                    &TCustomListBox::SetItemIndex),
                                 });
    return info;
}

const TClassInfo& TListBox::StaticClass() {
    static const TClassInfo info(L"TListBox", &TCustomListBox::StaticClass());
    return info;
}

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TStringList>()) {
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
    items_->OnChange = [this](TObject*) { FillWindow(); };
}

TCustomListBox::~TCustomListBox() { items_->OnChange = nullptr; }

void TCustomListBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, L"LISTBOX");
    p.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER;
}

void TCustomListBox::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    FillWindow();
}

void TCustomListBox::FillWindow() {
    if (!HandleAllocated()) return;
    HWND wnd = WindowHandle();
    SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
    SendMessageW(wnd, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < items_->Count(); ++i)
        SendMessageW(wnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_->Get(i).c_str()));
    SendMessageW(wnd, LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
    SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(wnd, nullptr, TRUE);
}

int TCustomListBox::ItemIndex() const {
    if (!HandleAllocated()) return itemIndex_;
    return static_cast<int>(SendMessageW(WindowHandle(), LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int v) {
    itemIndex_ = v;
    if (HandleAllocated()) SendMessageW(WindowHandle(), LB_SETCURSEL, static_cast<WPARAM>(v), 0);
}

int TCustomListBox::TopIndex() const {
    return HandleAllocated() ? static_cast<int>(SendMessageW(WindowHandle(), LB_GETTOPINDEX, 0, 0)) : 0;
}

void TCustomListBox::SetTopIndex(int v) {
    if (HandleAllocated()) SendMessageW(WindowHandle(), LB_SETTOPINDEX, static_cast<WPARAM>(v), 0);
}
