#pragma once
// Scroll-bar controls over the system class "SCROLLBAR". Range, position
// and page live in the control while the window exists and in the object
// before (and across a re-created window).
#include "classlib/Controls.h"

enum class TScrollBarKind { sbHorizontal, sbVertical };

class TScrollBar : public TWinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TScrollBar(TComponent* owner);

    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind v);
    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    int Position() const;
    void SetPosition(int v);
    int PageSize() const { return pageSize_; }
    void SetPageSize(int v);
    int SmallChange() const { return smallChange_; }
    void SetSmallChange(int v) { smallChange_ = v; }
    int LargeChange() const { return largeChange_; }
    void SetLargeChange(int v) { largeChange_ = v; }

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;

private:
    void UpdateScrollInfo();
    // The position a scroll code leads to from the current one.
    int Scrolled(int code) const;

    TScrollBarKind kind_ = TScrollBarKind::sbHorizontal;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int pageSize_ = 0;
    int smallChange_ = 1;
    int largeChange_ = 1;
};
