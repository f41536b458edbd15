#pragma once
// Base of pictures that can be loaded, drawn on a canvas and assigned:
// bitmaps and icons.
#include "classlib/Component.h"
#include "core/Stream.h"

class TCanvas;

class TGraphic : public TPersistent {
    DECLARE_CLASS_INFO()
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) const = 0;
    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool value) { transparent_ = value; }

    // Draws the picture into r of the canvas (stretched when sizes differ).
    virtual void Draw(TCanvas& canvas, const RECT& r) = 0;

private:
    bool transparent_ = false;
};
