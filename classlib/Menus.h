#pragma once
// Menus: a tree of TMenuItem built into real Win32 menus and kept in step
// with them. Every item has a command identifier unique in the process; the
// form that receives WM_COMMAND finds the item by it (FindItem) and clicks it.
// A main menu tells its window (CM_MENUCHANGED) when its items change.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Component.h"
#include "classlib/Handles.h"
#include "classlib/Keys.h"
#include "classlib/Messages.h"

class TCanvas;
class TMenu;
class TImageList;

using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas* canvas, RECT rect, bool selected)>;
using TMenuMeasureItemEvent = std::function<void(TObject* sender, TCanvas* canvas, int& width, int& height)>;

class TMenuItem : public TComponent {
    DECLARE_CLASS_INFO()
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    std::wstring Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool v);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v);
    bool IsLine() const { return caption_ == L"-"; }

    // The identifier WM_COMMAND carries for this item.
    UINT Command() const { return command_; }
    // The Win32 popup menu of an item with children (created on demand).
    HMENU Handle();

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    // Looks in this item's subtree.
    TMenuItem* FindItem(UINT command);
    TMenuItem* FindShortCut(TShortCut shortCut);
    TMenu* GetParentMenu() const;

    virtual void Click();
    // Runs the owner-draw events (or the default look) for this item.
    void DrawItem(TCanvas& canvas, const RECT& rect, bool selected);
    void MeasureItem(TCanvas& canvas, int& width, int& height);

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

protected:
    void Loaded() override;

private:
    friend class TMenu;
    void Changed(bool rebuild);
    void RebuildHandle();
    void AppendTo(HMENU menu, bool ownerDraw);

    std::wstring caption_;
    TShortCut shortCut_ = 0;
    bool checked_ = false, enabled_ = true, visible_ = true, default_ = false, radioItem_ = false;
    int imageIndex_ = -1;
    UINT command_ = 0;
    UniqueMenu handle_;
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;  // owned by the form like every component; ordered here
    TMenu* menu_ = nullptr;          // set on the root item
};

class TMenu : public TComponent {
    DECLARE_CLASS_INFO()
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    // The root item; its children are the menu's items.
    TMenuItem* Items() const { return items_.get(); }
    virtual HMENU Handle() = 0;
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool v);
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    TMenuItem* FindItem(UINT command) const { return items_->FindItem(command); }
    // Clicks the enabled, visible item whose shortcut is this key message's
    // (WM_KEYDOWN/WM_SYSKEYDOWN or the reflected CN_ forms); true when one did.
    bool IsShortCut(const TMessage& keyMessage) const;
    // Runs the item with this command; true when there was one.
    bool DispatchCommand(UINT command) const;
    // The window told about changes (the form of a main menu).
    HWND WindowHandle() const { return windowHandle_; }
    void SetWindowHandle(HWND wnd) { windowHandle_ = wnd; }

    void Notification(TComponent* component, TOperation operation) override;

protected:
    friend class TMenuItem;
    virtual void MenuChanged(bool rebuild) = 0;
    void Loaded() override;
    std::unique_ptr<TMenuItem> items_;
    bool ownerDraw_ = false;
    TImageList* images_ = nullptr;
    HWND windowHandle_ = nullptr;
};

class TMainMenu : public TMenu {
    DECLARE_CLASS_INFO()
public:
    explicit TMainMenu(TComponent* owner);
    // The menu bar (CreateMenu) holding the top-level items.
    HMENU Handle() override;

protected:
    void MenuChanged(bool rebuild) override;

private:
    UniqueMenu handle_;
};

class TPopupMenu : public TMenu {
    DECLARE_CLASS_INFO()
public:
    explicit TPopupMenu(TComponent* owner);
    HMENU Handle() override;
    // Shows the menu at a screen point; the chosen item's OnClick runs before it returns.
    virtual void Popup(int x, int y);
    TNotifyEvent OnPopup;

protected:
    void MenuChanged(bool rebuild) override;

private:
    UniqueMenu handle_;
};

// "&File" -> 'F'; 0 when there is no accelerator ("&&" is a literal ampersand).
wchar_t GetHotkey(const std::wstring& caption);
// True when ch is caption's accelerator (case-insensitive).
bool IsAccel(wchar_t ch, const std::wstring& caption);
// The caption without accelerator marks.
std::wstring StripHotkey(const std::wstring& caption);
