#include "classlib/RadioGroup.h"

#include <algorithm>

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

TRadioButton* TCustomRadioGroup::ButtonControl(int index) const {
    return index >= 0 && index < static_cast<int>(buttons_.size()) ? buttons_[static_cast<std::size_t>(index)]
                                                                   : nullptr;
}

HWND TCustomRadioGroup::Button(int index) const {
    TRadioButton* button = ButtonControl(index);
    return button && button->HandleAllocated() ? button->WindowHandle() : nullptr;
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

void TCustomRadioGroup::RebuildButtons() {
    for (TRadioButton* button : buttons_) button->Free();
    buttons_.clear();
    for (int i = 0; i < items_->Count(); ++i) {
        auto* button = TComponent::Create<TRadioButton>(this);
        button->SetCaption(items_->Get(i));
        button->OnClick = [this, i](TObject*) { ButtonClicked(i); };
        button->SetParent(this);
        buttons_.push_back(button);
    }
    ArrangeButtons();
    UpdateChecks();
}

void TCustomRadioGroup::ButtonClicked(int index) {
    if (index == itemIndex_) return;
    itemIndex_ = index;
    Click();
}

void TCustomRadioGroup::ArrangeButtons() {
    if (buttons_.empty()) return;
    const int count = static_cast<int>(buttons_.size());
    const int rows = (count + columns_ - 1) / columns_;
    const int top = CaptionHeight() + 2;
    const int width = std::max((ClientWidth() - 16) / columns_, 1);
    const int height = std::max((ClientHeight() - top - 4) / rows, 1);
    for (int i = 0; i < count; ++i)
        buttons_[static_cast<std::size_t>(i)]->SetBounds(8 + (i / rows) * width, top + (i % rows) * height, width,
                                                         height);
}

void TCustomRadioGroup::UpdateChecks() {
    // Checking one button unchecks its siblings; with none chosen, all go.
    for (int i = 0; i < static_cast<int>(buttons_.size()); ++i)
        if (i == itemIndex_ || itemIndex_ < 0) buttons_[static_cast<std::size_t>(i)]->SetChecked(i == itemIndex_);
}

void TCustomRadioGroup::WndProc(TMessage& m) {
    if (m.Msg == WM_SIZE) {
        TCustomGroupBox::WndProc(m);
        ArrangeButtons();
        return;
    }
    TCustomGroupBox::WndProc(m);
}
