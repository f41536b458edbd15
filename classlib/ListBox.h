#pragma once
// List boxes over the system class "LISTBOX": Items is the source of the
// lines, pushed into the window whenever it changes or the window is made.
#include <memory>

#include "classlib/Controls.h"
#include "classlib/Strings.h"

class TCustomListBox : public TWinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    TStrings* Items() const { return items_.get(); }
    int ItemIndex() const;
    void SetItemIndex(int v);
    int TopIndex() const;
    void SetTopIndex(int v);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;

private:
    void FillWindow();

    std::unique_ptr<TStringList> items_;
    int itemIndex_ = -1;
};

class TListBox : public TCustomListBox {
    DECLARE_CLASS_INFO()
public:
    explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};
