#pragma once
// TSkinComBox: combo boxes of every style (and foreign combo windows) get
// the skin's sunken frame and drop-down button, hot under the mouse and
// pressed while the left button is down; the combo draws its own text.
#include <windows.h>

#include "classlib/WindowSubclass.h"
#include "skin/controls/WinSubClass.h"

// The button's frame: 2 pressed, 4 focused or hot, 1 otherwise, 3 disabled.
int ComboButtonIndex(bool pressed, bool focusedOrHot, bool disabled);

class TSkinComBox : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TSkinComBox(TComponent* owner);
    ~TSkinComBox() override;

    void Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) override;
    void AttachHandle(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) override;
    void Detach() override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
    void Notification(TComponent* component, TOperation operation) override;
    void PaintingSwitched() override;

    LONG_PTR Style = 0;
    LONG_PTR ExStyle = 0;
    // A simple combo's list window.
    HWND ListWindow = nullptr;
    COMBOBOXINFO ComboInfo{};
    // Where the button was last drawn, in window co-ordinates.
    RECT ButtonRect{};

private:
    // Subclasses a drop-down combo's edit, records a simple combo's list.
    void AttachParts();
    void ReleaseParts();
    void ReadStyles();
    void SetMouseBit(std::uint8_t bit, bool on);
    bool Focused() const;
    void DrawFlat(HDC dc, const RECT& rect, int index, bool leftButton);
    void DrawSplit(HDC dc, const RECT& rect, int index, bool leftButton);

    TWindowSubclass edit_;
    // The skin's scroll bars on a simple combo's list.
    TSkinControl* listBars_ = nullptr;
};
