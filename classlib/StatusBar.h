#pragma once
// Status bars over the common control "msctls_statusbar32": either one
// simple panel (SimplePanel, SimpleText) or a row of panels (Panels).
//
// The class library lays the bar out (Align, alBottom by default); the
// control does not move or size itself (CCS_NOPARENTALIGN | CCS_NORESIZE).
#include <functional>
#include <memory>
#include <string>

#include "classlib/Alignment.h"
#include "classlib/Collection.h"
#include "classlib/Controls.h"

enum class TStatusPanelStyle { psText, psOwnerDraw };
enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusPanel : public TCollectionItem {
    DECLARE_CLASS_INFO()
public:
    explicit TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}

    std::wstring Text() const { return text_; }
    void SetText(const std::wstring& v);
    int Width() const { return width_; }
    void SetWidth(int v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    TStatusPanelStyle Style() const { return style_; }
    void SetStyle(TStatusPanelStyle v);
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel v);

    void Assign(const TPersistent& source) override;

private:
    std::wstring text_;
    int width_ = 50;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    TStatusPanelStyle style_ = TStatusPanelStyle::psText;
    TStatusPanelBevel bevel_ = TStatusPanelBevel::pbLowered;
};

class TStatusPanels : public TCollection {
    DECLARE_CLASS_INFO()
public:
    TStatusPanels();
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }
};

class TCustomStatusBar;
// Draws an owner-drawn panel (psOwnerDraw) on the bar's Canvas within rect.
using TDrawPanelEvent = std::function<void(TCustomStatusBar* bar, TStatusPanel* panel, const RECT& rect)>;

class TCustomStatusBar : public TWinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TCustomStatusBar(TComponent* owner);

    // The DC of the panel being drawn, while OnDrawPanel runs.
    TCanvas* Canvas() const { return canvas_.get(); }
    TDrawPanelEvent OnDrawPanel;
    // Runs OnDrawPanel for the panel on dc.
    void DrawPanel(HDC dc, TStatusPanel* panel, const RECT& rect);

    TStatusPanels* Panels() const { return panels_.get(); }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool v);
    std::wstring SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::wstring& v);
    // The grip shows only when the bar sits on a form with a sizeable border.
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool v);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& message) override;

private:
    void UpdatePanels();
    void UpdateSimpleText();
    void UpdateColour();

    std::unique_ptr<TStatusPanels> panels_;
    std::unique_ptr<TCanvas> canvas_;
    bool simplePanel_ = false;
    std::wstring simpleText_;
    bool sizeGrip_ = true;
};

class TStatusBar : public TCustomStatusBar {
    DECLARE_CLASS_INFO()
public:
    explicit TStatusBar(TComponent* owner) : TCustomStatusBar(owner) {}
};
