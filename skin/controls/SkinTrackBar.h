#pragma once
// TSkinTrackBar: track bars keep their system-drawn ticks; the painter
// answers the custom-draw notification and draws the channel (Track,
// TrackVert) and the thumb (TrackThumbHorz, TrackThumbVert) from the skin.
#include "skin/controls/WinSubClass.h"

class TSkinTrackBar : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
    // Focus to the bar and back: the control redraws itself completely.
    void SkinChanged() override;

private:
    LRESULT CustomDraw(const NMCUSTOMDRAW& draw, LRESULT incoming);
    // False when the skin has nothing to draw it with.
    bool DrawChannel(HDC dc);
    bool DrawThumb(HDC dc);
    bool Vertical() const;
};
