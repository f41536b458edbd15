#include "classlib/ComboBox.h"

#include "classlib/Messages.h"

const TClassInfo& TCustomComboBox::StaticClass() {
    static const TClassInfo info(
        L"TCustomComboBox", &TWinControl::StaticClass(),
        {
            props::Enumeration(L"Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle,
                               {L"csDropDown", L"csSimple", L"csDropDownList"}),
            props::Object(L"Items", &TCustomComboBox::Items),
            props::Integer(L"ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex),
            props::Integer(L"DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount),
            props::Event(L"OnChange", &TCustomComboBox::OnChange),
        });
    return info;
}

const TClassInfo& TComboBox::StaticClass() {
    static const TClassInfo info(L"TComboBox", &TCustomComboBox::StaticClass());
    return info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TStringList>()) {
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    items_->OnChange = [this](TObject*) {
        if (!IsLoading() && itemIndex_ >= items_->Count()) itemIndex_ = -1;
        FillWindow();
    };
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, L"COMBOBOX");
    p.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
    switch (style_) {
    case TComboBoxStyle::csDropDown: p.Style |= CBS_DROPDOWN; break;
    case TComboBoxStyle::csSimple: p.Style |= CBS_SIMPLE; break;
    case TComboBoxStyle::csDropDownList: p.Style |= CBS_DROPDOWNLIST; break;
    }
    // A drop-down combo's window height is that of its open list; the
    // closed box takes its own height from the font.
    if (style_ != TComboBoxStyle::csSimple) p.Height += dropDownCount_ * 16 + 2;
}

void TCustomComboBox::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    // The text given at creation is lost when the items go in; keep it.
    const std::wstring text = TControl::GetText();
    FillWindow();
    if (itemIndex_ < 0 && style_ != TComboBoxStyle::csDropDownList && !text.empty()) SetText(text);
}

void TCustomComboBox::DestroyWnd() {
    itemIndex_ = ItemIndex();
    TWinControl::DestroyWnd();
}

void TCustomComboBox::FillWindow() {
    if (!HandleAllocated()) return;
    HWND wnd = WindowHandle();
    SendMessageW(wnd, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < items_->Count(); ++i)
        SendMessageW(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_->Get(i).c_str()));
    SendMessageW(wnd, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

int TCustomComboBox::ItemIndex() const {
    if (HandleAllocated()) return static_cast<int>(SendMessageW(WindowHandle(), CB_GETCURSEL, 0, 0));
    return itemIndex_;
}

void TCustomComboBox::SetItemIndex(int v) {
    // A stored layout gives ItemIndex before Items: Loaded checks it.
    itemIndex_ = IsLoading() || (v >= 0 && v < items_->Count()) ? v : -1;
    if (HandleAllocated() && !IsLoading()) SendMessageW(WindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

void TCustomComboBox::Loaded() {
    TWinControl::Loaded();
    SetItemIndex(itemIndex_);
}

void TCustomComboBox::SetStyle(TComboBoxStyle v) {
    if (v == style_) return;
    style_ = v;
    if (HandleAllocated()) RecreateWnd();
}

bool TCustomComboBox::DroppedDown() const {
    return HandleAllocated() && SendMessageW(WindowHandle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool v) { SendMessageW(Handle(), CB_SHOWDROPDOWN, v ? TRUE : FALSE, 0); }

void TCustomComboBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        const WORD code = HIWORD(m.WParam);
        if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE) {
            if (code == CBN_SELCHANGE) itemIndex_ = ItemIndex();
            if (OnChange) OnChange(this);
        }
        return;
    }
    TWinControl::WndProc(m);
}
