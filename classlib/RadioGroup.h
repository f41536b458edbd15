#pragma once
// Radio groups: a group box holding one radio button per line of Items,
// laid out in Columns, the checked one being ItemIndex (-1: none). The
// buttons are the group's own radio button controls, so whatever handles
// radio buttons (a skin, the keyboard) handles them too.
#include <memory>
#include <vector>

#include "classlib/GroupBox.h"
#include "classlib/RadioButton.h"
#include "classlib/Strings.h"

class TCustomRadioGroup : public TCustomGroupBox {
    DECLARE_CLASS_INFO()
public:
    explicit TCustomRadioGroup(TComponent* owner);

    TStrings* Items() const { return items_.get(); }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int v);
    int Columns() const { return columns_; }
    void SetColumns(int v);
    // The button window of an item (nullptr before the group has a window).
    HWND Button(int index) const;
    TRadioButton* ButtonControl(int index) const;

    void Loaded() override;

protected:
    void WndProc(TMessage& message) override;

private:
    void RebuildButtons();
    void ArrangeButtons();
    void UpdateChecks();
    void ButtonClicked(int index);

    std::unique_ptr<TStringList> items_;
    std::vector<TRadioButton*> buttons_;  // owned by the group as components
    int itemIndex_ = -1;
    int columns_ = 1;
};

class TRadioGroup : public TCustomRadioGroup {
    DECLARE_CLASS_INFO()
public:
    explicit TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
};
