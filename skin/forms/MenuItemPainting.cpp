// Owner-drawn menu items of a skinned form: measured and painted with the
// skin's MenuItem element on the background of the popup that shows them.
#include <algorithm>
#include <memory>
#include <string>

#include "classlib/Forms.h"
#include "classlib/ImageList.h"
#include "classlib/Menus.h"
#include "skin/controls/SkinManager.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinPopMenu.h"

namespace {

constexpr int kFrameNormal = 1, kFrameSeparator = 2, kFrameSelected = 4;
constexpr int kGlyphSize = 16;      // the glyph box without an image list
constexpr int kCaptionGap = 3;      // between glyph box and caption
constexpr int kShortCutEnd = 10;    // the shortcut ends this far before the caption box
constexpr int kSeparatorDrop = 4;   // the etched line of a plain separator
constexpr WORD kCheckBitmap = 32760;  // OBM_CHECK
constexpr UINT kFirstSystemId = 4096; // identifiers below this are the application's
constexpr int kTextMeasureMax = 80;

// The handlers the skin puts on class-library items, as types of their own
// so that switching off removes exactly these and leaves the application's.
struct TSkinItemDraw {
    TWinSkinForm* form;
    void operator()(TObject* sender, TCanvas* canvas, RECT rect, bool selected) const {
        form->DrawMenuItem(sender, canvas, rect, selected);
    }
};
struct TSkinPopupMeasure {
    TWinSkinForm* form;
    void operator()(TObject* sender, TCanvas* canvas, int& width, int& height) const {
        form->MeasurePopupItem(sender, canvas, width, height);
    }
};
struct TSkinMenuMeasure {
    TWinSkinForm* form;
    void operator()(TObject* sender, TCanvas* canvas, int& width, int& height) const {
        form->MeasureMenuItem(sender, canvas, width, height);
    }
};

template <class Handler, class Event> bool IsFormHandler(const Event& event, const TWinSkinForm& form) {
    const Handler* handler = event.template target<Handler>();
    return handler && handler->form == &form;
}

TSkinManage* Manager() { return TSkinManage::Instance(); }

// The skin data is still one the manager knows (not freed meanwhile).
bool SkinDataAlive(const TSkinData* skinData) {
    const TSkinManage* manager = Manager();
    if (!manager || !skinData) return false;
    const auto& list = manager->SkinDataList();
    return std::find(list.begin(), list.end(), skinData) != list.end();
}

int ItemLeftMargin(const TSkinData* skinData) {
    return SkinDataAlive(skinData) && skinData->MenuItem ? skinData->MenuItem->Margins.left : 0;
}

TImageList* ImagesOf(const TMenuItem& item) {
    const TMenu* menu = item.GetParentMenu();
    return menu ? menu->Images() : nullptr;
}

void UseMenuFont(TCanvas& canvas) {
    if (Screen && Screen->MenuFont()) canvas.Font()->Assign(*Screen->MenuFont());
}

std::wstring MeasuredCaption(const std::wstring& caption) {
    return caption.empty() || caption == L"&" ? std::wstring(L" ") : caption;
}

// The glyph box's checker pattern of the button face and highlight colours.
void FillChecker(HDC dc, const RECT& box) {
    static const WORD kPattern[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    UniqueBitmap pattern(CreateBitmap(8, 8, 1, 1, kPattern));
    UniqueBrush brush(CreatePatternBrush(pattern.get()));
    const COLORREF oldText = SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnFace)));
    const COLORREF oldBack = SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
    FillRect(dc, &box, brush.get());
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

// The system's check mark, its white left out, in the button text colour.
void DrawCheckMark(HDC dc, int boxLeft, int boxWidth, const RECT& item) {
    UniqueBitmap check(LoadBitmapW(nullptr, MAKEINTRESOURCEW(kCheckBitmap)));
    BITMAP info{};
    if (!check || !GetObjectW(check.get(), sizeof(info), &info)) return;
    const int x = boxLeft + (boxWidth - info.bmWidth) / 2 + 1;
    const int y = item.top + (item.bottom - item.top - info.bmHeight) / 2 + 1;
    UniqueDC source(CreateCompatibleDC(dc));
    SelectedObject picked(source.get(), check.get());
    UniqueBrush ink = MakeSolidBrush(clBtnText);
    SelectedObject brush(dc, ink.get());
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    // Where the mark is black: the brush; where white: the destination.
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source.get(), 0, 0, 0x00B8074A);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

// Frame 2's separator strip over rect: the ends as wide as the margins, the
// middle stretched, from the bottom of the frame when the item is lower.
void DrawSeparatorStrip(TCanvas& canvas, const RECT& rect, TDataSkinObject& element) {
    const int frames = std::max(element.Frame, 1);
    const int fw = element.Bitmap.Width() / frames, fh = element.Bitmap.Height();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (fw <= 0 || fh <= 0 || w <= 0 || h <= 0) return;
    const int sourceHeight = std::min(h, fh);
    TBitmap source;
    source.SetSize(fw, sourceHeight);
    BitBlt(source.Canvas()->Handle(), 0, 0, fw, sourceHeight, element.Bitmap.Canvas()->Handle(),
           (kFrameSeparator - 1) * fw, fh - sourceHeight, SRCCOPY);
    TBitmap strip;
    strip.SetSize(w, h);
    DrawThreePart(strip.Canvas()->Handle(), RECT{0, 0, w, h}, source, false, 1, 1, element.Margins);
    DrawTransparent(canvas.Handle(), rect, strip, clFuchsia);
}

// A class-library item standing for a Win32 one (system commands, plain windows).
std::unique_ptr<TMenuItem> ItemFromWin32(HMENU menu, const DRAWITEMSTRUCT& draw) {
    auto item = std::make_unique<TMenuItem>(nullptr);
    wchar_t text[kTextMeasureMax + 1] = {};
    GetMenuStringW(menu, draw.itemID, text, kTextMeasureMax + 1, MF_BYCOMMAND);
    std::wstring caption = text;
    // "Close\tAlt+F4": the part after the tab is the shortcut column.
    const std::size_t tab = caption.find(L'\t');
    if (tab != std::wstring::npos) {
        if (const TShortCut keys = TextToShortCut(caption.substr(tab + 1))) {
            item->SetShortCut(keys);
            caption.erase(tab);
        }
    }
    item->SetCaption(caption.empty() ? std::wstring(L"-") : caption);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    UINT state = 0;
    if (GetMenuItemInfoW(menu, draw.itemID, FALSE, &info)) state = info.fState;
    else state = ((draw.itemState & (ODS_DISABLED | ODS_GRAYED)) ? MFS_DISABLED : 0u) |
                 ((draw.itemState & ODS_CHECKED) ? MFS_CHECKED : 0u) | ((draw.itemState & ODS_DEFAULT) ? MFS_DEFAULT : 0u);
    item->SetEnabled((state & (MFS_DISABLED | MFS_GRAYED)) == 0);
    item->SetChecked((state & MFS_CHECKED) != 0);
    item->SetDefault((state & MFS_DEFAULT) != 0);
    return item;
}

// The item composed in a bitmap of its size on the popup's background, then
// copied once.
void PaintSkinnedItem(TWinSkinForm& form, TMenuItem& item, TCanvas& canvas, const RECT& rect, bool selected,
                      HMENU menu) {
    TSkinData& skin = *form.SkinData;
    TDataSkinObject& element = *skin.MenuItem;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    TBitmap composed;
    composed.SetSize(w, h);
    TCanvas& target = *composed.Canvas();
    target.Font()->Assign(*canvas.Font());
    UseMenuFont(target);
    const RECT whole{0, 0, w, h};
    const TSkinManage* manager = Manager();
    TWinSkinPopMenu* popup = manager ? manager->PopupFor(menu) : nullptr;
    if (popup && !popup->FrameBitmap.Empty()) {
        const POINT origin = popup->ClientOrigin();
        BitBlt(target.Handle(), 0, 0, w, h, popup->FrameBitmap.Canvas()->Handle(), rect.left + origin.x,
               rect.top + origin.y, SRCCOPY);
    } else {
        target.Brush()->SetStyle(TBrushStyle::bsSolid);
        target.Brush()->SetColor(skin.MenuColour);
        target.FillRect(whole);
    }
    if (item.IsLine()) {
        BitBlt(canvas.Handle(), rect.left, rect.top, w, h, target.Handle(), 0, 0, SRCCOPY);
        DrawSeparatorStrip(canvas, rect, element);
        return;
    }
    DrawElement(target.Handle(), whole, element.Bitmap, false, element.Tile == 1, element.Trans == 1,
                std::max(element.Frame, 1), selected ? kFrameSelected : kFrameNormal, element.Margins);
    form.DrawItemContent(item, target, selected, whole);
    BitBlt(canvas.Handle(), rect.left, rect.top, w, h, target.Handle(), 0, 0, SRCCOPY);
}

void SetMainItemHandlers(TMenuItem& item, TWinSkinForm& form, bool on) {
    for (int i = 0; i < item.Count(); ++i) {
        TMenuItem& child = *item.Items(i);
        if (on && !child.OnDrawItem) {
            child.OnDrawItem = TSkinItemDraw{&form};
            child.OnMeasureItem = TSkinMenuMeasure{&form};
        } else if (!on) {
            if (IsFormHandler<TSkinItemDraw>(child.OnDrawItem, form)) child.OnDrawItem = nullptr;
            if (IsFormHandler<TSkinMenuMeasure>(child.OnMeasureItem, form)) child.OnMeasureItem = nullptr;
        }
        SetMainItemHandlers(child, form, on);
    }
}

void SetOwnerDrawIn(TComponent& owner, TWinSkinForm& form, bool on, bool topLevel) {
    if (owner.ClassName() == L"TwwRichEditForm") return;
    const TSkinData& skin = *form.SkinData;
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        TComponent* component = owner.Components(i);
        if (auto* popup = As<TPopupMenu>(component)) {
            if (popup->Tag() == skin.DisableTag() || !skin.HasSkinControl(xcPopupMenu)) continue;
            popup->SetOwnerDraw(on);
            SetPopupItemHandlers(*popup->Items(), form, on);
        } else if (auto* mainMenu = As<TMainMenu>(component)) {
            if (!topLevel || !skin.HasSkinControl(xcMenuItem)) continue;
            mainMenu->SetOwnerDraw(on);
            // The bar's own items are painted by the skinned menu bar.
            for (int j = 0; j < mainMenu->Items()->Count(); ++j)
                SetMainItemHandlers(*mainMenu->Items()->Items(j), form, on);
        } else if (component->InheritsFrom(L"TCustomForm") || component->InheritsFrom(L"TCustomFrame")) {
            SetOwnerDrawIn(*component, form, on, false);
        }
    }
}

}  // namespace

void SetPopupItemHandlers(TMenuItem& item, TWinSkinForm& form, bool on) {
    for (int i = 0; i < item.Count(); ++i) {
        TMenuItem& child = *item.Items(i);
        if (on) {
            child.OnDrawItem = TSkinItemDraw{&form};
            if (!child.OnMeasureItem) child.OnMeasureItem = TSkinPopupMeasure{&form};
        } else {
            if (IsFormHandler<TSkinItemDraw>(child.OnDrawItem, form)) child.OnDrawItem = nullptr;
            if (IsFormHandler<TSkinPopupMeasure>(child.OnMeasureItem, form)) child.OnMeasureItem = nullptr;
        }
        SetPopupItemHandlers(child, form, on);
    }
}

void SetMenuOwnerDraw(TComponent* owner, TWinSkinForm& form, bool on) {
    if (owner && form.SkinData) SetOwnerDrawIn(*owner, form, on, true);
}

// ---- measuring

void TWinSkinForm::MeasureMenuItem(TObject* sender, TCanvas* canvas, int& width, int& height) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item || !canvas || MeasuringItem) return;
    MeasuringItem = true;
    struct Guard {
        bool& flag;
        ~Guard() { flag = false; }
    } guard{MeasuringItem};
    item->MeasureItem(*canvas, width, height);
    width += ItemLeftMargin(SkinData) + 10;
    if (!ImagesOf(*item)) width += 25;
}

void TWinSkinForm::MeasurePopupItem(TObject* sender, TCanvas*, int& width, int&) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item) return;
    width += ItemLeftMargin(SkinData) + 12;
    if (!ImagesOf(*item)) width += 23;
}

void TWinSkinForm::WMMeasureItem(TMessage& message) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
    if (!measure || measure->CtlType != ODT_MENU) {
        message.Result = FrameSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
        return;
    }
    WindowDC dc(Handle);
    TCanvas canvas;
    canvas.SetHandle(dc.get());
    UseMenuFont(canvas);
    if (Form) {
        TMainMenu* menu = Form->Menu();
        if (TMenuItem* item = menu ? menu->FindItem(measure->itemID) : nullptr) {
            int width = static_cast<int>(measure->itemWidth), height = static_cast<int>(measure->itemHeight);
            MeasureMenuItem(item, &canvas, width, height);
            measure->itemWidth = static_cast<UINT>(std::max(width, 0));
            measure->itemHeight = static_cast<UINT>(std::max(height, 0));
            message.Result = TRUE;
            return;
        }
        if (measure->itemID != 0 && measure->itemID < kFirstSystemId) {
            message.Result = FrameSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
            return;
        }
    }
    // The text of the open menu's item; a system command may come from the
    // window's system menu when no menu-bar popup is open.
    wchar_t text[kTextMeasureMax + 1] = {};
    int length = OpenMenu ? GetMenuStringW(OpenMenu, measure->itemID, text, kTextMeasureMax + 1, MF_BYCOMMAND) : 0;
    if (length <= 0 && measure->itemID >= kFirstSystemId) {
        HMENU system = SystemMenu ? SystemMenu : GetSystemMenu(Handle, FALSE);
        length = GetMenuStringW(system, measure->itemID, text, kTextMeasureMax + 1, MF_BYCOMMAND);
    }
    const std::wstring caption(text, static_cast<std::size_t>(std::max(length, 0)));
    RECT r{};
    if (!caption.empty()) canvas.DrawText(caption, r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    int margin = 0;
    if (SkinData && SkinData->MenuItem) margin = SkinData->MenuItem->Margins.left;
    measure->itemWidth = static_cast<UINT>(r.right - r.left + 26 + margin);
    measure->itemHeight = caption.empty() ? 8u : measure->itemHeight + 4;
    if (GetVersion() & 0x80000000u) measure->itemHeight += 4;  // Windows 9x
    message.Result = TRUE;
}

// ---- painting

void TWinSkinForm::DrawMenuItem(TObject* sender, TCanvas* canvas, RECT rect, bool selected) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item || !canvas || !SkinData) return;
    if (!SkinData->MenuItem) {
        DrawFlatItem(*item, *canvas, rect, selected);
        return;
    }
    TMenuItem* parent = item->Parent();
    HMENU menu = parent && parent->HandleAllocated() ? parent->Handle() : nullptr;
    if (TSkinManage* manager = Manager()) {
        manager->SetMenuHandle(menu);
        manager->MarkOwnerDrawn();
    }
    try {
        PaintSkinnedItem(*this, *item, *canvas, rect, selected, menu);
    } catch (...) {
        // A failed skin paint still leaves a readable item.
        DrawFlatItem(*item, *canvas, rect, selected);
    }
}

void TWinSkinForm::DrawWin32Item(HMENU menu, const DRAWITEMSTRUCT& draw) {
    if (!SkinData) return;
    std::unique_ptr<TMenuItem> item = ItemFromWin32(menu, draw);
    SavedDC saved(draw.hDC);
    TCanvas canvas;
    canvas.SetHandle(draw.hDC);
    UseMenuFont(canvas);
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    if (!SkinData->MenuItem) {
        DrawFlatItem(*item, canvas, draw.rcItem, selected);
        return;
    }
    try {
        PaintSkinnedItem(*this, *item, canvas, draw.rcItem, selected, menu);
    } catch (...) {
        DrawFlatItem(*item, canvas, draw.rcItem, selected);
    }
}

void TWinSkinForm::DrawFlatItem(TMenuItem& item, TCanvas& canvas, const RECT& rect, bool selected) {
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(selected ? SkinData->HilightColour : SkinData->MenuColour);
    canvas.FillRect(rect);
    DrawItemContent(item, canvas, selected, rect);
}

void TWinSkinForm::DrawItemContent(TMenuItem& item, TCanvas& canvas, bool selected, const RECT& rect) {
    HDC dc = canvas.Handle();
    if (item.IsLine()) {
        RECT line = rect;
        line.top += kSeparatorDrop;
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const bool rtl = RightToLeft;
    TImageList* images = ImagesOf(item);
    int glyph = images ? images->Width() : kGlyphSize;
    if (item.Checked()) glyph = std::max(glyph, kGlyphSize);
    const int margin = SkinData && SkinData->MenuItem ? SkinData->MenuItem->Margins.left : 0;
    RECT box{rect.left + 1 + margin, rect.top + 1, 0, rect.top + 1 + glyph};
    if (rtl) box.left = rect.right - 1 - margin - glyph;
    box.right = box.left + glyph;

    const int index = item.ImageIndex();
    if (images && index >= 0 && index < images->Count()) {
        if (item.Checked()) {
            FillChecker(dc, box);
            RECT edge = box;
            DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
        }
        images->Draw(canvas, box.left, box.top, index, item.Enabled());
    } else if (item.Checked()) {
        DrawCheckMark(dc, box.left, glyph, rect);
    }

    TColor colour = selected ? SkinData->HilightTextColour : SkinData->MenuTextColour;
    if (!item.Enabled())
        colour = SkinData->ButtonShadowColour == SkinData->MenuTextColour ? clBtnShadow : SkinData->ButtonShadowColour;
    const std::uint32_t plainStyle = canvas.Font()->Style();
    canvas.Font()->SetColor(colour);
    if (item.Default()) canvas.Font()->SetStyle(plainStyle | fsBold);
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);

    RECT caption = rtl ? RECT{rect.left + 1, rect.top, box.left - kCaptionGap, rect.bottom}
                       : RECT{box.right + kCaptionGap, rect.top, rect.right - 1, rect.bottom};
    RECT measured{0, 0, 0, 0};
    canvas.DrawText(MeasuredCaption(item.Caption()), measured,
                    DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP);
    const int textHeight = measured.bottom - measured.top;
    caption.top = rect.top + (rect.bottom - rect.top - textHeight) / 2;
    caption.bottom = caption.top + textHeight;
    const UINT align = rtl ? DT_RIGHT | DT_RTLREADING : DT_LEFT;
    RECT text = caption;
    canvas.DrawText(item.Caption(), text, align | DT_SINGLELINE | DT_EXPANDTABS);
    if (item.ShortCut()) {
        RECT keys = caption;
        if (rtl) keys.left += kShortCutEnd;
        else keys.right -= kShortCutEnd;
        canvas.DrawText(ShortCutToText(item.ShortCut()), keys, (rtl ? DT_LEFT : DT_RIGHT) | DT_SINGLELINE);
    }
    canvas.Font()->SetStyle(plainStyle);
}

void TWinSkinForm::WMDrawItem(TMessage& message) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    if (!draw || draw->CtlType != ODT_MENU || !SkinData) {
        message.Result = FrameSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
        return;
    }
    const auto menu = reinterpret_cast<HMENU>(draw->hwndItem);
    if (TSkinManage* manager = Manager()) {
        manager->SetMenuHandle(menu);
        manager->MarkOwnerDrawn();
    }
    if (Form) {
        TMainMenu* mainMenu = Form->Menu();
        if (TMenuItem* item = mainMenu ? mainMenu->FindItem(draw->itemID) : nullptr) {
            SavedDC saved(draw->hDC);
            TCanvas canvas;
            canvas.SetHandle(draw->hDC);
            UseMenuFont(canvas);
            const bool selected = (draw->itemState & ODS_SELECTED) != 0;
            if (SkinData->MenuItem) DrawMenuItem(item, &canvas, draw->rcItem, selected);
            else DrawFlatItem(*item, canvas, draw->rcItem, selected);
            message.Result = TRUE;
            return;
        }
        if (draw->itemID != 0 && draw->itemID < kFirstSystemId) {
            message.Result = FrameSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
            return;
        }
    }
    DrawWin32Item(menu, *draw);
    message.Result = TRUE;
}
