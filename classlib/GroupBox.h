#pragma once
// Group boxes: a container that paints an etched frame starting half a line
// down and its caption over the frame's top edge.
#include "classlib/Controls.h"

class TCustomGroupBox : public TCustomControl {
    DECLARE_CLASS_INFO()
public:
    explicit TCustomGroupBox(TComponent* owner);

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;
    // Height of the caption line in the current font.
    int CaptionHeight();
};

class TGroupBox : public TCustomGroupBox {
    DECLARE_CLASS_INFO()
public:
    explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};
