#pragma once
// Radio groups: a group box holding one automatic radio button per line of
// Items, laid out in Columns, the checked one being ItemIndex (-1: none).
// The buttons are plain child windows of the group, made and laid out by it.
#include <memory>
#include <vector>

#include "classlib/GroupBox.h"
#include "classlib/Handles.h"
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

    void Loaded() override;

protected:
    void CreateHandleDone() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;

private:
    void RebuildButtons();
    void ArrangeButtons();
    void UpdateChecks();

    std::unique_ptr<TStringList> items_;
    std::vector<UniqueWindow> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
};

class TRadioGroup : public TCustomRadioGroup {
    DECLARE_CLASS_INFO()
public:
    explicit TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
};
