#pragma once
// Scroll boxes: a container whose window scroll bars appear when its
// children reach beyond its client area and move them all when scrolled.
#include "classlib/Controls.h"
#include "classlib/Edit.h"

class TScrollBox : public TWinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TScrollBox(TComponent* owner);

    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle v);
    // How far the content is scrolled, in pixels.
    POINT ScrollPos() const { return pos_; }
    void ScrollTo(int x, int y);

protected:
    void CreateParams(TCreateParams& params) override;
    void AlignControls(RECT& rect) override;
    void WndProc(TMessage& message) override;

private:
    // Ranges from the children's extent, pages from the client size.
    void UpdateRanges();
    int Scrolled(int bar, int code) const;

    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    POINT pos_{};
    bool updating_ = false;
};
