#pragma once
// Tree views over the common control "SysTreeView32". Items holds one node
// per line, its depth given by the leading tabs (or spaces) of the line,
// and is pushed into the window whenever it changes or the window is made.
#include <memory>

#include "classlib/Controls.h"
#include "classlib/Strings.h"

class TCustomTreeView : public TWinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TCustomTreeView(TComponent* owner);
    ~TCustomTreeView() override;

    TStrings* Items() const { return items_.get(); }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;

private:
    void FillItems();

    std::unique_ptr<TStringList> items_;
};

class TTreeView : public TCustomTreeView {
    DECLARE_CLASS_INFO()
public:
    explicit TTreeView(TComponent* owner) : TCustomTreeView(owner) {}
};
