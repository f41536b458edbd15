#pragma once
// Panels: a container that paints its own face in its Color, up to two
// bevels (outer, then inner, BevelWidth pixels each) and its caption.
#include "classlib/Alignment.h"
#include "classlib/Controls.h"

enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
    DECLARE_CLASS_INFO()
public:
    explicit TCustomPanel(TComponent* owner);

    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel v);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel v);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;

private:
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
    TPanelBevel bevelInner_ = TPanelBevel::bvNone;
    int bevelWidth_ = 1;
    TAlignment alignment_ = TAlignment::taCenter;
};

class TPanel : public TCustomPanel {
    DECLARE_CLASS_INFO()
public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};
