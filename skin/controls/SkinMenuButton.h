#pragma once
// TSkinMenuButton: a push button face with a drop-down arrow in its
// rightmost 17 pixels and the caption centred in the rest.
#include "skin/controls/SkinButton.h"

class TSkinMenuButton : public TSkinButton {
    DECLARE_CLASS_INFO()
public:
    using TSkinButton::TSkinButton;
    void Draw(HDC dc, const RECT& rect) override;

protected:
    int FacesNeeded() const override { return bfHot; }
    int FaceIndex() const override;
};
