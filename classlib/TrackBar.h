#pragma once
// Track bars over the common control "msctls_trackbar32". Range and
// position live in the control while the window exists and in the object
// before (and across a re-created window).
#include "classlib/Controls.h"

enum class TTrackBarOrientation { trHorizontal, trVertical };
enum class TTickMark { tmBottomRight, tmTopLeft, tmBoth };

class TTrackBar : public TWinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TTrackBar(TComponent* owner);

    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    int Position() const;
    void SetPosition(int v);
    TTrackBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation v);
    // A tick every Frequency positions.
    int Frequency() const { return frequency_; }
    void SetFrequency(int v);
    TTickMark TickMarks() const { return tickMarks_; }
    void SetTickMarks(TTickMark v);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;

private:
    int min_ = 0;
    int max_ = 10;
    int position_ = 0;
    int frequency_ = 1;
    TTrackBarOrientation orientation_ = TTrackBarOrientation::trHorizontal;
    TTickMark tickMarks_ = TTickMark::tmBottomRight;
};
