#pragma once
// TWScrollbar: a small window laid exactly over one scroll bar (a window's
// own horizontal or vertical bar, or a scroll-bar control) and painted from
// the skin. Mouse presses are handed to the real bar, so the system's own
// scrolling (arrows, page areas, thumb drag, auto-repeat) keeps working
// underneath.
#include <windows.h>

#include "classlib/Panel.h"

class TSkinControl;

// False for messages that cannot move a scroll bar (painting, questions
// asked of the window): reading the bars after each of them would double
// the cost of every paint.
bool MayScroll(UINT msg);

class TWScrollbar : public TCustomPanel {
    DECLARE_CLASS_INFO()
public:
    static constexpr int kHorzBar = 0;     // the target's OBJID_HSCROLL
    static constexpr int kVertBar = 1;     // the target's OBJID_VSCROLL
    static constexpr int kControlBar = 2;  // the target is a scroll-bar control
    // Parts, numbered as the system's scroll codes.
    static constexpr int kNoPart = -1, kFirstArrow = 0, kSecondArrow = 1, kPageBefore = 2, kPageAfter = 3,
                         kThumb = 5;

    explicit TWScrollbar(TComponent* owner);

    void AttachToControl(TSkinControl* painter, TControl* control, int barMode);
    void AttachToWindow(TSkinControl* painter, HWND window, int barMode);
    // Moves the overlay over the bar, or hides it when the bar is not shown.
    void PlaceOverBar(HWND target);
    void HideOverlay();
    int HitTest(POINT p) const;
    // The thumb start while it is dragged: follows the cursor between the arrows.
    int TrackThumb() const;
    // Repaints now when the bar differs from what was drawn last (scrolled
    // by the keyboard or by code), re-placing it when it came or went.
    void RefreshIfChanged();
    void RepaintNow();

    int BarMode = 0;
    int Orientation = 0;
    HWND TargetWindow = nullptr;
    TControl* TargetControl = nullptr;
    TSkinControl* Painter = nullptr;
    int ArrowSize = 0;
    int BarLength = 0;
    int ThumbStart = 0, ThumbEnd = 0;
    int HotPart = kNoPart;
    bool Tracking = false;
    POINT PressPoint{};
    int ThumbStartAtPress = 0;
    RECT BarRect{};  // in the target's client co-ordinates
    bool Shown = false;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void Paint() override;

private:
    struct TBarRecord {
        RECT Screen{};  // the bar in screen co-ordinates
        int ThumbStart = 0, ThumbEnd = 0;
        DWORD State = 0;
        bool operator==(const TBarRecord& other) const {
            return EqualRect(&Screen, &other.Screen) && ThumbStart == other.ThumbStart &&
                   ThumbEnd == other.ThumbEnd && State == other.State;
        }
    };
    bool ReadBar(TBarRecord& bar) const;
    bool Vertical() const { return Orientation == 1; }
    void Compose(HDC dc, const TBarRecord& bar, int width, int height);
    void MouseDown(LPARAM lParam);
    void MouseUp();

    TBarRecord drawn_{};
    bool refreshing_ = false;
};
