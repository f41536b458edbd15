#pragma once
// Objects of a skinned window's non-client area: the caption buttons and the
// items of the skinned menu bar. Each knows its rectangle in window
// co-ordinates (origin at the window's top-left corner), its look (State)
// and how to paint itself straight on the window DC.
#include <windows.h>

#include <string>

class TWinSkinForm;
class TSkinData;
class TMenuItem;
class TDataSkinSysButton;

class TNCObject {
public:
    // State values.
    static constexpr int kNormal = 1, kPressed = 2, kHot = 3;

    explicit TNCObject(TWinSkinForm& form) : Form(&form) {}
    // A hot object that goes is no longer the form's hot object.
    virtual ~TNCObject();
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Paint() {}

    TWinSkinForm* Form;
    RECT BoundsRect{};
    bool Visible = false;
    int State = 0;  // 0 until first touched: painted like kNormal
};

class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TWinSkinForm& form, TDataSkinSysButton& element) : TNCObject(form), Element(&element) {}
    void Paint() override;
    // The icon/system-menu button (Action 3 or 11).
    bool IsIconButton() const;
    // Draws the window's small icon into rect.
    void PaintIcon(HDC dc, const RECT& rect) const;

    TDataSkinSysButton* Element;
};

class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TWinSkinForm& form, TSkinData* skinData) : TNCObject(form), SkinData(skinData) {}
    void Paint() override;

    TSkinData* SkinData;
    int Index = 0;
    std::wstring Caption;
    bool Enabled = true;
    HMENU SubMenu = nullptr;
    UINT Command = 0;
    TMenuItem* VclItem = nullptr;
};
