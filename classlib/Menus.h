#pragma once
// Menus: a tree of TMenuItem built into real Win32 menus and kept in step
// with them. Every item has a command identifier unique in the process; the
// form that receives WM_COMMAND finds the item by it (FindItem) and clicks it.
// A main menu tells its window (CM_MENUCHANGED) when its items change.
//
// Items are components owned like any other (normally by the form); the tree
// is only kept by Add/Insert/Remove. Destroying either side of a link, in any
// order, leaves the other side consistent: a destroyed item leaves its parent,
// and the children of a destroyed item or menu are left without a parent.
// Each item owns the popup HMENU of its own children (Handle); a menu's root
// item owns the menu's HMENU. Submenus are taken out of a Win32 menu before it
// is destroyed, because DestroyMenu would destroy them too. A window destroys
// its menu bar with itself: menus lost that way are built again on demand.
#include <windows.h>

#include <cstddef>
#include <exception>
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

class EMenuError : public Exception {
public:
    using Exception::Exception;
};

// Command identifiers stay below the system commands (SC_SIZE = 0xF000).
constexpr UINT MaxMenuCommand = 0xEFFF;

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
    // The Win32 popup menu of this item's children (created on demand).
    HMENU Handle();
    bool HandleAllocated() const { return static_cast<bool>(handle_); }

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const;
    // Add and Insert take an item away from its old parent first; an item
    // cannot become its own descendant, and a menu's root item no one's child.
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Does nothing when item is not a child of this one.
    void Remove(TMenuItem* item);
    // Looks in this item's subtree, this item included.
    TMenuItem* FindItem(UINT command);
    // The first enabled, visible item of this subtree with that shortcut,
    // reached only through enabled, visible items.
    TMenuItem* FindShortCut(TShortCut shortCut);
    TMenu* GetParentMenu() const;

    // Runs OnClick (nothing for a disabled item).
    virtual void Click();
    // Runs OnDrawItem, or draws the default look.
    void DrawItem(TCanvas& canvas, const RECT& rect, bool selected);
    // Sets the default size, then lets OnMeasureItem adjust it.
    void MeasureItem(TCanvas& canvas, int& width, int& height);

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

    void AddReadChild(TComponent* child) override;

private:
    friend class TMenu;
    // This item's own entry changed: updated in place, or the parent's Win32
    // menu is rebuilt when rebuild is set.
    void Changed(bool rebuild);
    // The children changed: this item's popup is rebuilt.
    void ChildrenChanged();
    void NotifyMenu(bool rebuild) const;
    void RebuildHandle(bool keepOwnerDraw = true);
    void RebuildTree();
    void ReleaseHandle();
    bool ForgetLostHandle();
    void AppendTo(HMENU menu, bool ownerDrawn = false);
    void UpdateEntry();
    MENUITEMINFOW ItemInfo(std::wstring& text);
    bool IsBarItem() const;
    bool OwnerDrawn() const;
    int VisibleIndex() const;
    void DrawDefault(TCanvas& canvas, const RECT& rect, bool selected);

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
    // The menu's Win32 menu (built on first use).
    virtual HMENU Handle() { return items_->Handle(); }
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool v);

    // The image list for the items' ImageIndex. Templates, so that this header
    // needs only the forward declaration of TImageList: the conversions happen
    // where the caller has the class.
    template <class T = TImageList> T* Images() const { return static_cast<T*>(images_); }
    template <class T> void SetImages(T* images) { SetImagesComponent(images); }
    void SetImages(std::nullptr_t) { SetImagesComponent(nullptr); }
    // The same from any component: anything but an image list is refused (nullptr).
    void SetImagesComponent(TComponent* images);

    // Looks among the menu's items (not the root).
    TMenuItem* FindItem(UINT command) const;
    // Clicks the enabled, visible item whose shortcut is this key message's
    // (WM_KEYDOWN/WM_SYSKEYDOWN or the reflected CN_ forms); true when one did.
    bool IsShortCut(const TMessage& keyMessage) const;
    // Runs the item with this command; true when there was one.
    bool DispatchCommand(UINT command) const;
    // A submenu is opening (WM_INITMENUPOPUP): clicks the item whose popup it
    // is, so that OnClick can update the children; true when there was one.
    bool DispatchPopup(HMENU popup) const;
    // Owner-drawn items (WM_DRAWITEM/WM_MEASUREITEM of type ODT_MENU): runs the
    // item's DrawItem/MeasureItem; false when the item is not one of this menu's.
    bool DispatchDrawItem(const DRAWITEMSTRUCT& draw) const;
    bool DispatchMeasureItem(MEASUREITEMSTRUCT& measure) const;
    // The window told about changes (the form of a main menu).
    HWND WindowHandle() const { return windowHandle_; }
    void SetWindowHandle(HWND wnd) { windowHandle_ = wnd; }

    void AddReadChild(TComponent* child) override;
    void Notification(TComponent* component, TOperation operation) override;

protected:
    friend class TMenuItem;
    virtual void MenuChanged(bool rebuild) = 0;
    // The kind of Win32 menu the root item holds: a popup unless overridden.
    virtual HMENU CreateMenuHandle() const { return CreatePopupMenu(); }
    void Loaded() override;
    TMenuItem* ItemOfOwnerDraw(UINT command, ULONG_PTR data) const;

    std::unique_ptr<TMenuItem> items_;
    bool ownerDraw_ = false;
    TComponent* images_ = nullptr;
    HWND windowHandle_ = nullptr;
};

class TMainMenu : public TMenu {
    DECLARE_CLASS_INFO()
public:
    explicit TMainMenu(TComponent* owner);
    // Takes the menu bar off its window before it goes, so that the window
    // never holds a destroyed menu.
    ~TMainMenu() override;

protected:
    void MenuChanged(bool rebuild) override;
    // The menu bar (CreateMenu) holding the top-level items.
    HMENU CreateMenuHandle() const override { return CreateMenu(); }
};

class TPopupMenu : public TMenu {
    DECLARE_CLASS_INFO()
public:
    explicit TPopupMenu(TComponent* owner);
    // Shows the menu at a screen point; the chosen item's OnClick runs before
    // it returns. An exception raised by an item's handler while the menu is
    // open closes the menu and is raised again here.
    virtual void Popup(int x, int y);
    TNotifyEvent OnPopup;

protected:
    void MenuChanged(bool) override {}

private:
    static LRESULT CALLBACK OwnerWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    std::exception_ptr pendingError_;
};

// "&File" -> 'F'; 0 when there is no accelerator ("&&" is a literal ampersand).
wchar_t GetHotkey(const std::wstring& caption);
// True when ch is caption's accelerator (case-insensitive).
bool IsAccel(wchar_t ch, const std::wstring& caption);
// The caption without accelerator marks.
std::wstring StripHotkey(const std::wstring& caption);
