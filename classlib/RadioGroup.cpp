#include "classlib/RadioGroup.h"

#include <algorithm>

namespace {

constexpr int kFirstButtonId = 100;

}  // namespace

const TClassInfo& TCustomRadioGroup::StaticClass() {
    static const TClassInfo info(
        L"TCustomRadioGroup", &TCustomGroupBox::StaticClass(),
        {
            props::Object(L"Items", &TCustomRadioGroup::Items),
            props::Integer(L"ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex),
            props::Integer(L"Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns),
        });
    return info;
}

const TClassInfo& TRadioGroup::StaticClass() {
    static const TClassInfo info(L"TRadioGroup", &TCustomRadioGroup::StaticClass());
    return info;
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner)
    : TCustomGroupBox(owner), items_(std::make_unique<TStringList>()) {
    items_->OnChange = [this](TObject*) {
        if (!IsLoading() && itemIndex_ >= items_->Count()) itemIndex_ = -1;
        RebuildButtons();
    };
}

HWND TCustomRadioGroup::Button(int index) const {
    return index >= 0 && index < static_cast<int>(buttons_.size()) ? buttons_[static_cast<std::size_t>(index)].get()
                                                                   : nullptr;
}

void TCustomRadioGroup::SetItemIndex(int v) {
    // A stored layout gives ItemIndex before Items: Loaded checks it.
    itemIndex_ = IsLoading() || (v >= 0 && v < items_->Count()) ? v : -1;
    UpdateChecks();
}

void TCustomRadioGroup::Loaded() {
    TCustomGroupBox::Loaded();
    SetItemIndex(itemIndex_);
}

void TCustomRadioGroup::SetColumns(int v) {
    v = std::clamp(v, 1, 16);
    if (v == columns_) return;
    columns_ = v;
    ArrangeButtons();
    Invalidate();
}

void TCustomRadioGroup::CreateHandleDone() {
    TCustomGroupBox::CreateHandleDone();
    RebuildButtons();
}

void TCustomRadioGroup::DestroyWnd() {
    // The buttons go while their parent is still a window.
    buttons_.clear();
    TCustomGroupBox::DestroyWnd();
}

void TCustomRadioGroup::RebuildButtons() {
    buttons_.clear();
    if (!HandleAllocated()) return;
    for (int i = 0; i < items_->Count(); ++i) {
        DWORD style = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON;
        if (i == 0) style |= WS_GROUP | WS_TABSTOP;
        HWND button = CreateWindowExW(0, L"BUTTON", items_->Get(i).c_str(), style, 0, 0, 0, 0, WindowHandle(),
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstButtonId + i)),
                                      GetModuleHandleW(nullptr), nullptr);
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
        buttons_.emplace_back(button);
    }
    ArrangeButtons();
    UpdateChecks();
}

void TCustomRadioGroup::ArrangeButtons() {
    if (buttons_.empty()) return;
    const int count = static_cast<int>(buttons_.size());
    const int rows = (count + columns_ - 1) / columns_;
    const int top = CaptionHeight() + 2;
    const int width = std::max((ClientWidth() - 16) / columns_, 1);
    const int height = std::max((ClientHeight() - top - 4) / rows, 1);
    for (int i = 0; i < count; ++i)
        SetWindowPos(buttons_[static_cast<std::size_t>(i)].get(), nullptr, 8 + (i / rows) * width,
                     top + (i % rows) * height, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomRadioGroup::UpdateChecks() {
    for (int i = 0; i < static_cast<int>(buttons_.size()); ++i)
        SendMessageW(buttons_[static_cast<std::size_t>(i)].get(), BM_SETCHECK,
                     i == itemIndex_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCustomRadioGroup::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_COMMAND: {
        const int index = LOWORD(m.WParam) - kFirstButtonId;
        if (HIWORD(m.WParam) == BN_CLICKED && reinterpret_cast<HWND>(m.LParam) == Button(index)) {
            if (index != itemIndex_) {
                itemIndex_ = index;
                UpdateChecks();
                Click();
            }
            return;
        }
        break;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        // The buttons show the group's colour behind their text.
        if (reinterpret_cast<HWND>(m.LParam) == Button(GetDlgCtrlID(reinterpret_cast<HWND>(m.LParam)) - kFirstButtonId)) {
            SetBkColor(reinterpret_cast<HDC>(m.WParam), ColorToRGB(Color()));
            SetTextColor(reinterpret_cast<HDC>(m.WParam), ColorToRGB(Font()->Color()));
            m.Result = reinterpret_cast<LRESULT>(Brush()->Handle());
            return;
        }
        break;
    case WM_SIZE:
        TCustomGroupBox::WndProc(m);
        ArrangeButtons();
        return;
    case CM_COLORCHANGED:
        TCustomGroupBox::WndProc(m);
        if (HandleAllocated()) RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        return;
    case CM_FONTCHANGED:
        for (const UniqueWindow& button : buttons_)
            SendMessageW(button.get(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
        break;
    default:
        break;
    }
    TCustomGroupBox::WndProc(m);
}
