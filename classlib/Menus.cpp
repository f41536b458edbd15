#include "classlib/Menus.h"

#include "classlib/UtilityWindow.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "classlib/Canvas.h"

namespace {

// The process's command identifiers: a bit per identifier, the lowest free one
// handed out first so that freed identifiers come back. Trivially destructible,
// so items destroyed late in the program's exit still find it.
class TCommandPool {
public:
    UINT Allocate() {
        for (UINT id = lowestFree_; id <= MaxMenuCommand; ++id)
            if (!Used(id)) {
                bits_[id / 64] |= Bit(id);
                lowestFree_ = id + 1;
                return id;
            }
        throw EMenuError("too many menu items: every menu command identifier is in use");
    }
    void Release(UINT id) {
        if (id == 0 || id > MaxMenuCommand || !Used(id)) return;
        bits_[id / 64] &= ~Bit(id);
        lowestFree_ = std::min(lowestFree_, id);
    }

private:
    static std::uint64_t Bit(UINT id) { return std::uint64_t{1} << (id % 64); }
    bool Used(UINT id) const { return (bits_[id / 64] & Bit(id)) != 0; }

    std::array<std::uint64_t, MaxMenuCommand / 64 + 1> bits_{};
    UINT lowestFree_ = 1;  // 0 is never a command: WM_COMMAND with 0 means nothing chosen
};

TCommandPool& CommandPool() {
    static TCommandPool pool;
    return pool;
}

// Takes every entry out of a Win32 menu without destroying the submenus:
// those belong to the child items.
void ClearMenu(HMENU menu) {
    for (int n = GetMenuItemCount(menu); n > 0; --n) RemoveMenu(menu, 0, MF_BYPOSITION);
}

void UseMenuFont(TFont& font) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        font.SetLogFont(metrics.lfMenuFont);
}

// Someone who draws this menu's entries (a skinned menu bar) made them
// owner-drawn: entries rewritten for a change keep that.
bool EntryOwnerDrawn(HMENU menu, int position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    return position >= 0 && GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) &&
           (info.fType & MFT_OWNERDRAW) != 0;
}

TMenuItem* FindByHandle(TMenuItem& item, HMENU menu) {
    for (int i = 0; i < item.Count(); ++i) {
        TMenuItem* child = item.Items(i);
        if (child->HandleAllocated() && child->Handle() == menu) return child;
        if (TMenuItem* found = FindByHandle(*child, menu)) return found;
    }
    return nullptr;
}

// Integers (116 for F5) as stored layouts write them, or the text ("Ctrl+S").
TPropInfo ShortCutProperty() {
    return {L"ShortCut", TPropKind::Integer,
            [](const TObject& o) { return TValue(static_cast<int>(static_cast<const TMenuItem&>(o).ShortCut())); },
            [](TObject& o, const TValue& v) {
                TShortCut shortCut = 0;
                if (v.GetKind() == TValue::Kind::Text) shortCut = TextToShortCut(v.AsText());
                if (!shortCut) {
                    const std::int64_t n = v.AsInteger();
                    if (n < 0 || n > 0xFFFF) return;  // not a shortcut: ignored like any unusable value
                    shortCut = static_cast<TShortCut>(n);
                }
                static_cast<TMenuItem&>(o).SetShortCut(shortCut);
            },
            {}};
}

// A reference to the image list, kept as a component: this file knows no more of it.
TPropInfo ImagesProperty() {
    return {L"Images", TPropKind::Object,
            [](const TObject& o) {
                return TValue(static_cast<TObject*>(static_cast<const TMenu&>(o).Images<TComponent>()));
            },
            [](TObject& o, const TValue& v) {
                static_cast<TMenu&>(o).SetImagesComponent(dynamic_cast<TComponent*>(v.AsObject()));
            },
            {}};
}

}  // namespace

// ---------------------------------------------------------------------------
// TMenuItem

const TClassInfo& TMenuItem::StaticClass() {
    static const TClassInfo info(L"TMenuItem", &TComponent::StaticClass(),
                                 {
                                     props::Text(L"Caption", &TMenuItem::Caption, &TMenuItem::SetCaption),
                                     ShortCutProperty(),
                                     props::Boolean(L"Checked", &TMenuItem::Checked, &TMenuItem::SetChecked),
                                     props::Boolean(L"Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled),
                                     props::Boolean(L"Visible", &TMenuItem::Visible, &TMenuItem::SetVisible),
                                     props::Boolean(L"Default", &TMenuItem::Default, &TMenuItem::SetDefault),
                                     props::Boolean(L"RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem),
                                     props::Integer(L"ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex),
                                     props::Event(L"OnClick", &TMenuItem::OnClick),
                                     props::Event(L"OnDrawItem", &TMenuItem::OnDrawItem),
                                     props::Event(L"OnMeasureItem", &TMenuItem::OnMeasureItem),
                                 });
    return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(CommandPool().Allocate()) {}

TMenuItem::~TMenuItem() {
    try {
        if (parent_) parent_->Remove(this);
    } catch (...) {
        // Rebuilding the parent's menu failed (no USER handles left); the
        // entry that pointed at this item is gone either way.
    }
    for (TMenuItem* child : items_) child->parent_ = nullptr;
    items_.clear();
    ReleaseHandle();
    CommandPool().Release(command_);
}

void TMenuItem::SetCaption(const std::wstring& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Changed(false);
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
    if (shortCut == shortCut_) return;
    shortCut_ = shortCut;
    Changed(false);
}

void TMenuItem::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    Changed(false);
}

void TMenuItem::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Changed(false);
}

void TMenuItem::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    Changed(true);  // hidden items are left out of the Win32 menu
}

void TMenuItem::SetDefault(bool v) {
    if (v == default_) return;
    default_ = v;
    Changed(false);
}

void TMenuItem::SetRadioItem(bool v) {
    if (v == radioItem_) return;
    radioItem_ = v;
    Changed(false);
}

void TMenuItem::SetImageIndex(int v) {
    if (v == imageIndex_) return;
    imageIndex_ = v;
    Changed(false);
}

HMENU TMenuItem::Handle() {
    ForgetLostHandle();
    if (!handle_) {
        handle_.reset(menu_ ? menu_->CreateMenuHandle() : CreatePopupMenu());
        if (!handle_) throw EMenuError("cannot create a menu (error " + std::to_string(GetLastError()) + ")");
        RebuildHandle();
    }
    return handle_.get();
}

int TMenuItem::MenuIndex() const {
    if (!parent_) return -1;
    const auto& siblings = parent_->items_;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

void TMenuItem::Add(TMenuItem* item) {
    const int end = Count() - (item && item->parent_ == this ? 1 : 0);
    Insert(end, item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) throw EMenuError("no menu item to insert");
    if (item->menu_) throw EMenuError("a menu's root item cannot be inserted into another item");
    for (const TMenuItem* p = this; p; p = p->parent_)
        if (p == item) throw EMenuError("a menu item cannot be inserted into itself or its own children");
    // The index counts the items as they are once item has left its old place.
    const int count = Count() - (item->parent_ == this ? 1 : 0);
    if (index < 0 || index > count) throw EMenuError("menu index out of range");
    if (item->parent_) item->parent_->Remove(item);
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    ChildrenChanged();
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
    ChildrenChanged();
}

TMenuItem* TMenuItem::FindItem(UINT command) {
    if (command == 0) return nullptr;
    if (command_ == command) return this;
    for (TMenuItem* child : items_)
        if (TMenuItem* found = child->FindItem(command)) return found;
    return nullptr;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut shortCut) {
    if (shortCut == 0) return nullptr;
    for (TMenuItem* child : items_) {
        if (!child->visible_ || !child->enabled_) continue;
        if (child->shortCut_ == shortCut) return child;
        if (TMenuItem* found = child->FindShortCut(shortCut)) return found;
    }
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* top = this;
    while (top->parent_) top = top->parent_;
    return top->menu_;
}

void TMenuItem::Click() {
    if (enabled_ && OnClick) OnClick(this);
}

void TMenuItem::AddReadChild(TComponent* child) {
    if (TMenuItem* item = As<TMenuItem>(child)) Add(item);
}

void TMenuItem::Changed(bool rebuild) {
    if (parent_) {
        if (rebuild) parent_->RebuildHandle();
        else UpdateEntry();
    }
    NotifyMenu(rebuild);
}

void TMenuItem::ChildrenChanged() {
    RebuildHandle();
    UpdateEntry();  // gaining the first or losing the last child changes this item's own entry
    NotifyMenu(true);
}

void TMenuItem::NotifyMenu(bool rebuild) const {
    TMenu* menu = GetParentMenu();
    if (menu && !menu->IsLoading() && !menu->IsDestroying()) menu->MenuChanged(rebuild);
}

void TMenuItem::RebuildHandle(bool keepOwnerDraw) {
    if (ForgetLostHandle() || !handle_) return;
    const bool ownerDrawn = keepOwnerDraw && EntryOwnerDrawn(handle_.get(), 0);
    ClearMenu(handle_.get());
    for (TMenuItem* child : items_)
        if (child->visible_) child->AppendTo(handle_.get(), ownerDrawn);
}

void TMenuItem::RebuildTree() {
    // The owner-draw setting itself changed: entries take it afresh.
    for (TMenuItem* child : items_) child->RebuildTree();
    RebuildHandle(false);
}

bool TMenuItem::ForgetLostHandle() {
    // A window destroys its menu bar, and every submenu in it, with itself;
    // a menu lost that way is built again when next asked for.
    if (!handle_ || IsMenu(handle_.get())) return false;
    handle_.release();
    return true;
}

void TMenuItem::ReleaseHandle() {
    if (ForgetLostHandle() || !handle_) return;
    ClearMenu(handle_.get());
    handle_.reset();
}

void TMenuItem::AppendTo(HMENU menu, bool ownerDrawn) {
    std::wstring text;
    MENUITEMINFOW info = ItemInfo(text);
    if (ownerDrawn) info.fType |= MFT_OWNERDRAW;
    InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
}

void TMenuItem::UpdateEntry() {
    if (!parent_ || !parent_->handle_ || !visible_) return;
    std::wstring text;
    MENUITEMINFOW info = ItemInfo(text);
    const int position = VisibleIndex();
    if (EntryOwnerDrawn(parent_->handle_.get(), position)) info.fType |= MFT_OWNERDRAW;
    SetMenuItemInfoW(parent_->handle_.get(), static_cast<UINT>(position), TRUE, &info);
}

MENUITEMINFOW TMenuItem::ItemInfo(std::wstring& text) {
    const bool bar = IsBarItem();
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    info.fType = (IsLine() ? MFT_SEPARATOR : MFT_STRING) | (radioItem_ ? MFT_RADIOCHECK : 0u) |
                 (OwnerDrawn() && !bar ? MFT_OWNERDRAW : 0u);
    info.fState = (checked_ ? MFS_CHECKED : 0u) | (enabled_ ? 0u : MFS_DISABLED) | (default_ ? MFS_DEFAULT : 0u);
    info.wID = command_;
    info.hSubMenu = items_.empty() ? nullptr : Handle();
    info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    if (!IsLine()) {
        // Owner-drawn items keep their text too: whoever reads the Win32 menu
        // (GetMenuString, a skinned menu bar) still finds the caption.
        text = caption_;
        if (shortCut_ && items_.empty() && !bar) {
            const std::wstring keys = ShortCutToText(shortCut_);
            if (!keys.empty()) text += L"\t" + keys;
        }
        info.fMask |= MIIM_STRING;
        info.dwTypeData = text.data();
        info.cch = static_cast<UINT>(text.size());
    }
    return info;
}

bool TMenuItem::IsBarItem() const {
    return parent_ && parent_->menu_ && parent_->menu_->Is<TMainMenu>();
}

bool TMenuItem::OwnerDrawn() const {
    const TMenu* menu = GetParentMenu();
    return menu && menu->OwnerDraw();
}

int TMenuItem::VisibleIndex() const {
    int index = 0;
    for (const TMenuItem* sibling : parent_->items_) {
        if (sibling == this) return index;
        if (sibling->visible_) ++index;
    }
    return -1;
}

void TMenuItem::DrawItem(TCanvas& canvas, const RECT& rect, bool selected) {
    if (OnDrawItem) OnDrawItem(this, &canvas, rect, selected);
    else DrawDefault(canvas, rect, selected);
}

namespace {
constexpr int kGlyphWidth = 16;  // the check mark's column
constexpr int kGlyphGap = 3;     // between that column and the caption
constexpr int kShortCutGap = 15; // at least between caption and shortcut
constexpr int kShortCutEnd = 10; // the shortcut ends this far before the item's right end

std::wstring MeasuredCaption(const std::wstring& caption) {
    // An empty caption (or a lone "&") still needs a line's height.
    return StripHotkey(caption).empty() ? std::wstring(L" ") : caption;
}
}  // namespace

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
    if (IsLine()) {
        width = kGlyphWidth;
        height = std::max(GetSystemMetrics(SM_CYMENU) / 2, 8);
    } else {
        TFont plain;
        plain.Assign(*canvas.Font());
        if (default_) canvas.Font()->SetStyle(canvas.Font()->Style() | fsBold);
        RECT r{};
        canvas.DrawText(MeasuredCaption(caption_), r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP);
        width = 1 + kGlyphWidth + kGlyphGap + (r.right - r.left) + 1;
        if (shortCut_ && items_.empty())
            width += kShortCutGap + canvas.TextWidth(ShortCutToText(shortCut_)) + kShortCutEnd;
        height = std::max<int>(r.bottom - r.top + 4, kGlyphWidth + 2);
        canvas.Font()->Assign(plain);
    }
    if (OnMeasureItem) OnMeasureItem(this, &canvas, width, height);
}

void TMenuItem::DrawDefault(TCanvas& canvas, const RECT& rect, bool selected) {
    const bool highlighted = selected && !IsLine();
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(highlighted ? clHighlight : clMenu);
    canvas.FillRect(rect);
    if (IsLine()) {
        RECT line = rect;
        line.top += 4;
        DrawEdge(canvas.Handle(), &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const TColor textColour = !enabled_ ? clGrayText : highlighted ? clHighlightText : clMenuText;
    TFont plain;
    plain.Assign(*canvas.Font());
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    RECT glyph{rect.left + 1, rect.top, rect.left + 1 + kGlyphWidth, rect.bottom};
    if (checked_) {
        // The check mark and the radio bullet of the Marlett symbol font.
        canvas.Font()->SetName(L"Marlett");
        canvas.Font()->SetCharset(SYMBOL_CHARSET);
        canvas.Font()->SetStyle(0);
        canvas.Font()->SetHeight(-(kGlyphWidth - 2));
        canvas.Font()->SetColor(textColour);
        canvas.DrawText(radioItem_ ? L"h" : L"a", glyph, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
        canvas.Font()->Assign(plain);
    }
    canvas.Font()->SetColor(textColour);
    if (default_) canvas.Font()->SetStyle(plain.Style() | fsBold);
    RECT text{glyph.right + kGlyphGap, rect.top, rect.right - 1, rect.bottom};
    canvas.DrawText(caption_, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
    if (shortCut_ && items_.empty()) {
        RECT keys = text;
        keys.right -= kShortCutEnd;
        canvas.DrawText(ShortCutToText(shortCut_), keys, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    }
    canvas.Font()->Assign(plain);
}

// ---------------------------------------------------------------------------
// TMenu

const TClassInfo& TMenu::StaticClass() {
    static const TClassInfo info(
        L"TMenu", &TComponent::StaticClass(),
        {
            props::Boolean(L"OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw),
            ImagesProperty(),
        });
    return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>(nullptr)) {
    items_->menu_ = this;
}

TMenu::~TMenu() {
    // The root item goes while the menu is still whole; it tells no one.
    items_.reset();
}

void TMenu::SetOwnerDraw(bool v) {
    if (v == ownerDraw_) return;
    ownerDraw_ = v;
    items_->RebuildTree();
    if (!IsLoading()) MenuChanged(true);
}

void TMenu::SetImagesComponent(TComponent* images) {
    if (images && !images->InheritsFrom(L"TImageList")) images = nullptr;
    if (images == images_) return;
    if (images_) RemoveFreeNotification(images_);
    images_ = images;
    if (images_) FreeNotification(images_);
    // Owner-drawn items are measured with the images: entered again, they are measured again.
    if (ownerDraw_) items_->RebuildTree();
    if (!IsLoading()) MenuChanged(true);
}

TMenuItem* TMenu::FindItem(UINT command) const {
    for (int i = 0; i < items_->Count(); ++i)
        if (TMenuItem* found = items_->Items(i)->FindItem(command)) return found;
    return nullptr;
}

bool TMenu::IsShortCut(const TMessage& keyMessage) const {
    switch (keyMessage.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: break;
    default: return false;
    }
    const WORD key = static_cast<WORD>(keyMessage.WParam & 0xFF);
    if (key == 0 || key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return false;
    TMenuItem* item = items_->FindShortCut(::ShortCut(key, KeyDataToShiftState(keyMessage.LParam)));
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::DispatchCommand(UINT command) const {
    TMenuItem* item = FindItem(command);
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::DispatchPopup(HMENU popup) const {
    TMenuItem* item = popup ? FindByHandle(*items_, popup) : nullptr;
    if (!item) return false;
    item->Click();
    return true;
}

TMenuItem* TMenu::ItemOfOwnerDraw(UINT command, ULONG_PTR data) const {
    // The item data is only trusted when it names the item of that command.
    TMenuItem* item = FindItem(command);
    return item && reinterpret_cast<ULONG_PTR>(item) == data ? item : nullptr;
}

bool TMenu::DispatchDrawItem(const DRAWITEMSTRUCT& draw) const {
    if (draw.CtlType != ODT_MENU) return false;
    TMenuItem* item = ItemOfOwnerDraw(draw.itemID, draw.itemData);
    if (!item) return false;
    SavedDC saved(draw.hDC);
    TCanvas canvas;
    canvas.SetHandle(draw.hDC);
    UseMenuFont(*canvas.Font());
    item->DrawItem(canvas, draw.rcItem, (draw.itemState & ODS_SELECTED) != 0);
    return true;
}

bool TMenu::DispatchMeasureItem(MEASUREITEMSTRUCT& measure) const {
    if (measure.CtlType != ODT_MENU) return false;
    TMenuItem* item = ItemOfOwnerDraw(measure.itemID, measure.itemData);
    if (!item) return false;
    WindowDC screen(nullptr);
    TCanvas canvas;
    canvas.SetHandle(screen.get());
    UseMenuFont(*canvas.Font());
    int width = static_cast<int>(measure.itemWidth), height = static_cast<int>(measure.itemHeight);
    item->MeasureItem(canvas, width, height);
    measure.itemWidth = static_cast<UINT>(std::max(width, 0));
    measure.itemHeight = static_cast<UINT>(std::max(height, 0));
    return true;
}

void TMenu::AddReadChild(TComponent* child) { items_->AddReadChild(child); }

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component && component == images_) {
        images_ = nullptr;
        if (IsDestroying()) return;
        if (ownerDraw_) items_->RebuildTree();
        if (!IsLoading()) MenuChanged(true);
    }
}

void TMenu::Loaded() {
    TComponent::Loaded();
    items_->RebuildTree();
    MenuChanged(true);
}

// ---------------------------------------------------------------------------
// TMainMenu

const TClassInfo& TMainMenu::StaticClass() {
    static const TClassInfo info(L"TMainMenu", &TMenu::StaticClass());
    return info;
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() {
    if (windowHandle_ && items_->HandleAllocated() && IsWindow(windowHandle_) &&
        GetMenu(windowHandle_) == items_->Handle())
        SetMenu(windowHandle_, nullptr);
}

void TMainMenu::MenuChanged(bool) {
    if (windowHandle_) SendMessageW(windowHandle_, CM_MENUCHANGED, 0, 0);
}

// ---------------------------------------------------------------------------
// TPopupMenu

const TClassInfo& TPopupMenu::StaticClass() {
    static const TClassInfo info(L"TPopupMenu", &TMenu::StaticClass(),
                                 {
                                     props::Event(L"OnPopup", &TPopupMenu::OnPopup),
                                 });
    return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

namespace {
constexpr wchar_t kPopupOwnerClass[] = L"TPopupMenuOwner";
}

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    HMENU menu = Handle();
    // The hidden owner receives the owner-draw messages of this menu only.
    UniqueWindow owner = CreateUtilityWindow(kPopupOwnerClass, &TPopupMenu::OwnerWndProc, WS_EX_TOOLWINDOW, WS_POPUP,
                                             nullptr, this);
    if (!owner) throw EMenuError("cannot create the popup menu's owner window");
    pendingError_ = nullptr;
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, x, y, 0, owner.get(), nullptr));
    owner.reset();
    if (pendingError_) std::rethrow_exception(std::exchange(pendingError_, nullptr));
    if (command) DispatchCommand(command);
}

LRESULT CALLBACK TPopupMenu::OwnerWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrW(wnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<TPopupMenu*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (self && (msg == WM_DRAWITEM || msg == WM_MEASUREITEM)) {
        // Nothing may escape into the menu loop: the first error closes the
        // menu and Popup raises it once the loop has returned.
        try {
            const bool done = msg == WM_DRAWITEM
                                  ? self->DispatchDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))
                                  : self->DispatchMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            if (done) return TRUE;
        } catch (...) {
            if (!self->pendingError_) self->pendingError_ = std::current_exception();
            EndMenu();
            return TRUE;
        }
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Accelerators

wchar_t GetHotkey(const std::wstring& caption) {
    // The first single "&" marks it, as Windows picks a menu item's mnemonic.
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] != L'&') return caption[i + 1];
        ++i;  // "&&" is a literal ampersand
    }
    return 0;
}

bool IsAccel(wchar_t ch, const std::wstring& caption) {
    const wchar_t hotkey = GetHotkey(caption);
    return hotkey != 0 && ch != 0 && SameText(std::wstring_view(&ch, 1), std::wstring_view(&hotkey, 1));
}

std::wstring StripHotkey(const std::wstring& caption) {
    std::wstring text;
    text.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&') {
            if (i + 1 < caption.size() && caption[i + 1] == L'&') {
                text += L'&';
                ++i;
            }
            continue;
        }
        text += caption[i];
    }
    return text;
}
