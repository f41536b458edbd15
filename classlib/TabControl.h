#pragma once
// Tab controls over the common control "SysTabControl32". TCustomTabControl
// is the window with its tab row; TTabControl keeps its tabs as lines of
// Tabs, TPageControl (PageControl.h) as pages.
#include <memory>
#include <string>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/Strings.h"

enum class TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum class TTabStyle { tsTabs, tsButtons, tsFlatButtons };

class TCustomTabControl : public TWinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TCustomTabControl(TComponent* owner);

    // -1: no tab selected.
    int TabIndex() const { return tabIndex_; }
    void SetTabIndex(int v);
    TTabPosition TabPosition() const { return tabPosition_; }
    void SetTabPosition(TTabPosition v);
    TTabStyle Style() const { return style_; }
    void SetStyle(TTabStyle v);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool v);
    // The area under the tabs, client co-ordinates.
    RECT DisplayRect();

    void AlignControls(RECT& rect) override;
    void Loaded() override;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& message) override;
    // The user chose another tab; TabIndex already tells which.
    virtual void Change();
    virtual std::vector<std::wstring> TabTexts() const = 0;
    // Puts TabTexts into the window and selects TabIndex.
    void UpdateTabs();

    int tabIndex_ = -1;

private:
    TTabPosition tabPosition_ = TTabPosition::tpTop;
    TTabStyle style_ = TTabStyle::tsTabs;
    bool multiLine_ = false;
};

class TTabControl : public TCustomTabControl {
    DECLARE_CLASS_INFO()
public:
    explicit TTabControl(TComponent* owner);
    TStrings* Tabs() const { return tabs_.get(); }

protected:
    std::vector<std::wstring> TabTexts() const override { return tabs_->ToVector(); }

private:
    std::unique_ptr<TStringList> tabs_;
};
