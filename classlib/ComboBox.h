#pragma once
// Combo boxes over the Windows "COMBOBOX" class. Items and the selection
// live in the object before the window exists and across a re-created one.
#include <memory>
#include <string>

#include "classlib/Controls.h"
#include "classlib/Strings.h"

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TCustomComboBox : public TWinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TCustomComboBox(TComponent* owner);

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle v);
    TStrings* Items() const { return items_.get(); }
    int ItemIndex() const;
    void SetItemIndex(int v);
    // Lines shown by the open list of a drop-down style.
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int v) { dropDownCount_ = v < 1 ? 1 : v; }
    bool DroppedDown() const;
    void SetDroppedDown(bool v);

    void Loaded() override;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;

private:
    void FillWindow();

    std::unique_ptr<TStringList> items_;
    TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
    int itemIndex_ = -1;
    int dropDownCount_ = 8;
};

class TComboBox : public TCustomComboBox {
    DECLARE_CLASS_INFO()
public:
    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};
