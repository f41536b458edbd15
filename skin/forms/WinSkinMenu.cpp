#include "skin/forms/WinSkinMenu.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "core/SystemColours.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"
#include "skin/data/WindowsPlatform.h"
#include "skin/forms/NCObjects.h"
#include "skin/forms/WinSkinForm.h"

namespace {

constexpr int kItemPadding = 10;      // an item is its text plus this
constexpr int kFirstItemOffset = 6;   // without a MenuBar element
constexpr int kNarrowBandOffset = 12;

}  // namespace

TBitmap* MenuBarScratch() {
    static TBitmap scratch;
    return &scratch;
}

HFONT MenuBarFont() {
    if (Screen && Screen->MenuFont()) return Screen->MenuFont()->Handle();
    static UniqueFont font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        return UniqueFont(CreateFontIndirectW(&metrics.lfMenuFont));
    }();
    return font.get();
}

TWinSkinMenu::TWinSkinMenu(TWinSkinForm& form) : SkinData(form.SkinData), Form(&form) {}

TWinSkinMenu::~TWinSkinMenu() = default;

bool TWinSkinMenu::RightToLeft() const { return Form->RightToLeft; }

void TWinSkinMenu::BuildItems() {
    if (IsWindowsNT4OrOlder()) {
        BuildItemsFromMenu();
        return;
    }
    ReadItems(false);
}

void TWinSkinMenu::RebuildItems() {
    ReadItems(true);
    LayoutItems();
}

void TWinSkinMenu::ReadItems(bool keepWin32WhenEmpty) {
    if (HMENU current = GetMenu(Form->Handle)) Handle = current;
    if (!Handle) return;
    if (Form->Form) {
        Menu = Form->Form->Menu();
        if (!Menu) return;
    }
    Items.clear();
    ItemCount = std::max(GetMenuItemCount(Handle), 0);
    for (int i = 0; i < ItemCount; ++i) {
        wchar_t text[80] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = static_cast<UINT>(std::size(text) - 1);
        if (!GetMenuItemInfoW(Handle, static_cast<UINT>(i), TRUE, &info)) info = MENUITEMINFOW{};
        auto item = std::make_unique<TMenuBtn>(*Form, SkinData);
        item->Index = i;
        item->SubMenu = info.hSubMenu;
        item->Enabled = (info.fState & (MFS_DISABLED | MFS_GRAYED)) == 0;
        item->Visible = true;
        item->Command = info.wID;
        item->Caption = text;
        if (TMenuItem* vcl = Menu ? Menu->FindItem(info.wID) : nullptr;
            vcl && !(keepWin32WhenEmpty && item->Caption.empty())) {
            item->Caption = vcl->Caption();
            item->Enabled = vcl->Enabled();
            item->VclItem = vcl;
            item->SubMenu = vcl->Count() > 0 ? vcl->Handle() : nullptr;
        }
        Items.push_back(std::move(item));
    }
    Form->TakeMenuOff();
}

void TWinSkinMenu::BuildItemsFromMenu() {
    if (HMENU current = GetMenu(Form->Handle)) Handle = current;
    Menu = Form->Form ? Form->Form->Menu() : nullptr;
    if (!Menu) return;
    Items.clear();
    TMenuItem* root = Menu->Items();
    ItemCount = root->Count();
    for (int i = 0; i < ItemCount; ++i) {
        TMenuItem* vcl = root->Items(i);
        auto item = std::make_unique<TMenuBtn>(*Form, SkinData);
        item->Index = i;
        item->Visible = vcl->Visible();
        item->Enabled = vcl->Enabled();
        item->Command = vcl->Command();
        item->Caption = vcl->Caption();
        item->VclItem = vcl;
        item->SubMenu = vcl->Count() > 0 ? vcl->Handle() : nullptr;
        Items.push_back(std::move(item));
    }
    if (GetMenu(Form->Handle)) Form->TakeMenuOff();
}

RECT TWinSkinMenu::Band() const {
    int width = Form->FrameWidth;
    if (width <= 0) {
        RECT window{};
        GetWindowRect(Form->Handle, &window);
        width = window.right - window.left;
    }
    return {Form->BorderLeft, Form->CaptionHeight, width - Form->BorderRight,
            Form->CaptionHeight + Form->MenuBarHeight};
}

void TWinSkinMenu::LayoutItems() {
    const RECT band = Band();
    if (band.right <= band.left || band.bottom <= band.top) return;
    WindowDC screen(nullptr);
    SavedDC saved(screen.get());
    SelectObject(screen.get(), MenuBarFont());
    PlaceItems(screen.get(), band);
}

void TWinSkinMenu::PlaceItems(HDC dc, const RECT& band) {
    const bool rtl = RightToLeft();
    int offset = kFirstItemOffset;
    if (SkinData && SkinData->MenuBar)
        offset = rtl ? SkinData->MenuBar->Margins.right + 8 : SkinData->MenuBar->Margins.left + 4;
    if (band.right - band.left < offset) offset = kNarrowBandOffset;
    int x = rtl ? band.right - offset : band.left + offset;
    for (auto& item : Items) {
        if (!item->Visible) {
            item->BoundsRect = RECT{};
            continue;
        }
        int width = 0;
        if (!item->Caption.empty()) {
            RECT measured{};
            DrawTextW(dc, item->Caption.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE);
            width = measured.right - measured.left + kItemPadding;
        }
        if (rtl) {
            item->BoundsRect = {x - width, band.top, x, band.bottom - 1};
            x -= width;
        } else {
            item->BoundsRect = {x, band.top, x + width, band.bottom - 1};
            x += width;
        }
    }
}

void TWinSkinMenu::DrawItemText(HDC dc, const TMenuBtn& item, const RECT& rect) const {
    const TColor colour = item.Enabled ? (SkinData ? SkinData->MenuBarTextColour : clMenuText) : clBtnShadow;
    SelectedObject font(dc, MenuBarFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(colour)));
    RECT r = rect;
    DrawTextW(dc, item.Caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TWinSkinMenu::PaintBar(HDC dc, const RECT& band) {
    TBitmap* scratch = MenuBarScratch();
    const int width = band.right - band.left, height = band.bottom - band.top;
    if (!scratch || width <= 0 || height <= 0) return;
    Painting = true;
    scratch->SetSize(width, height);
    TCanvas& canvas = *scratch->Canvas();
    HDC target = canvas.Handle();
    SetStretchBltMode(target, COLORONCOLOR);
    const RECT local{0, 0, width, height};
    TDataSkinObject* bar = SkinData ? SkinData->MenuBar.get() : nullptr;
    if (bar && !bar->Bitmap.Empty()) {
        const int frame = Form->Active ? 1 : 2;
        const RECT ends{bar->Margins.left, 0, bar->Margins.right, 0};
        if (bar->Tile == 1) DrawElement(target, local, bar->Bitmap, true, false, false, 2, frame, ends);
        else DrawHorizontalTiled(canvas, local, bar->Bitmap, true, false, 2, frame, ends);
    } else {
        UniqueBrush brush(CreateSolidBrush(
            static_cast<COLORREF>(ColorToRGB(SkinData ? SkinData->MenuBarColour : clBtnFace))));
        FillRect(target, &local, brush.get());
    }
    BarRect = band;
    Background.Assign(*scratch);

    {
        SavedDC saved(target);
        SelectObject(target, MenuBarFont());
        PlaceItems(target, band);
        for (const auto& item : Items) {
            if (!item->Visible || item->Caption.empty()) continue;
            RECT r = item->BoundsRect;
            OffsetRect(&r, -band.left, -band.top);
            DrawItemText(target, *item, r);
        }
    }

    // The buttons of a maximised MDI child live in the parent's menu band.
    if (Form->MDIKind == TWinSkinForm::kMDIParent) {
        bool childButtons = false;
        for (const auto& button : Form->SysButtons) {
            if (!button->Visible || button->Element->Visibility != 100 || button->Element->Bitmap.Empty()) continue;
            RECT r = button->BoundsRect;
            OffsetRect(&r, -band.left, -band.top);
            DrawFrameStretched(target, r, button->Element->Bitmap, true, std::max(button->Element->Frame, 1), 1);
            childButtons = true;
        }
        if (childButtons)
            if (TSkinManage* manager = TSkinManage::Instance(); manager && !manager->MDIMaximized)
                manager->SetMDIMaximized(true);
    }

    BitBlt(dc, band.left, band.top, width, height, target, 0, 0, SRCCOPY);
    Painting = false;
}

TMenuBtn* TWinSkinMenu::ItemAt(POINT windowPoint) const {
    for (const auto& item : Items)
        if (item->Visible && !item->Caption.empty() && PtInRect(&item->BoundsRect, windowPoint)) return item.get();
    return nullptr;
}
