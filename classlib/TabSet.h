#pragma once
// Tab sets: a row of tabs hanging from the top edge (as under a sheet of a
// workbook), drawn by the control itself. Tabs that do not fit are reached
// through the TScroller arrows, the tab set's first owned component, shown
// at the right end only while some tabs are out of sight.
#include <memory>
#include <string>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/Strings.h"

class TTabSet;

class TScroller : public TCustomControl {
    DECLARE_CLASS_INFO()
public:
    // Fits the room a tab set keeps for it.
    static constexpr int kWidth = 20;

    TScroller(TComponent* owner, TTabSet& tabSet);
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    void Paint() override;

private:
    TTabSet& tabSet_;
};

class TTabSet : public TCustomControl {
    DECLARE_CLASS_INFO()
public:
    // Room a tab takes beside its text; the room kept at the right end
    // while the scroller shows, and while it does not.
    static constexpr int kTabPadding = 9;
    static constexpr int kScrollerRoom = 21;
    static constexpr int kPlainRoom = 9;

    explicit TTabSet(TComponent* owner);

    TStrings* Tabs() const { return tabs_.get(); }
    int TabIndex() const { return tabIndex_; }
    void SetTabIndex(int v);
    // The first tab drawn at the start margin.
    int FirstIndex() const { return firstIndex_; }
    void SetFirstIndex(int v);
    int StartMargin() const { return startMargin_; }
    void SetStartMargin(int v);
    int EndMargin() const { return endMargin_; }
    void SetEndMargin(int v);
    TScroller* Scroller() const { return scroller_; }

    // The tabs that fit from FirstIndex on, as rectangles in client co-ordinates.
    std::vector<RECT> VisibleTabs();
    // Width of a tab with this caption in the control's font.
    int TabWidth(const std::wstring& caption);

    void SetBounds(int left, int top, int width, int height) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void Loaded() override;

    TNotifyEvent OnChange;

protected:
    void Paint() override;
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;

private:
    void Rearrange();

    std::unique_ptr<TStringList> tabs_;
    TScroller* scroller_;
    int tabIndex_ = -1;
    int firstIndex_ = 0;
    int startMargin_ = 5;
    int endMargin_ = 5;
};
