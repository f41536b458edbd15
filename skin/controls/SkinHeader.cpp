#include "skin/controls/SkinHeader.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "classlib/Handles.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/OptionalEntryPoints.h"
#include "skin/data/WinSkinData.h"

namespace {

constexpr int kTextBuffer = 201;
constexpr UINT kMeasureFlags = DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE | DT_END_ELLIPSIS;
constexpr UINT kTextFlags = DT_EXPANDTABS | DT_SINGLELINE | DT_END_ELLIPSIS;

}  // namespace

const TClassInfo& TSkinHeader::StaticClass() {
    static const TClassInfo info(L"TSkinHeader", &TSkinControl::StaticClass(), {});
    return info;
}

void TSkinHeader::Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) {
    TSkinControl::Attach(form, skinData, colourFlag, canvas);
    HotItem = -1;
}

void TSkinHeader::AttachHandle(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
    TSkinControl::AttachHandle(wnd, skinData, form, canvas);
    HotItem = -1;
}

bool TSkinHeader::HasElement() const { return SkinData && SkinData->Headerbar && !SkinData->Headerbar->Bitmap.Empty(); }

bool TSkinHeader::BeforeMessage(TMessage& message) {
    if (!TSkinControl::BeforeMessage(message)) return false;
    // Without the element the header keeps its own drawing.
    return !HasElement() || !PaintsWholeWindow(message);
}

void TSkinHeader::AfterMessage(TMessage& message) {
    TSkinControl::AfterMessage(message);
    switch (message.Msg) {
    case WM_MOUSEMOVE: {
        const POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
        for (int i = 0; i < static_cast<int>(ItemRects.size()); ++i)
            if (PtInRect(&ItemRects[static_cast<std::size_t>(i)], p) && i != HotItem) {
                HotItem = i;
                Repaint();
                break;
            }
        TrackMouseLeave(Window);
        break;
    }
    case WM_MOUSELEAVE:
        HotItem = -1;
        Repaint();
        break;
    default:
        break;
    }
}

void TSkinHeader::Draw(HDC dc, const RECT& rect) {
    if (!HasElement() || rect.right <= rect.left || rect.bottom <= rect.top) return;
    TDataSkinObject& bar = *SkinData->Headerbar;
    const bool tile = bar.Tile == 1;
    UniqueBitmap composition(CreateCompositionBitmap(rect.right, rect.bottom));
    MemoryDC target(dc, composition.get());
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Window, HDM_GETIMAGELIST, 0, 0));

    ItemRects.clear();
    int end = 0;
    const int count = static_cast<int>(SendMessageW(Window, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (!Header_GetItemRect(Window, i, &item) || item.right <= item.left) continue;
        const RECT size{0, 0, item.right - item.left, rect.bottom};
        UniqueBitmap face =
            BuildElementBitmap(size, bar.Bitmap, bar.Margins, false, tile, bar.Frame, i == HotItem ? 2 : 1);
        if (!face) continue;
        {
            MemoryDC faceDC(dc, face.get());
            DrawItemContent(faceDC.get(), size, i, images);
            BitBlt(target.get(), item.left, 0, size.right, size.bottom, faceDC.get(), 0, 0, SRCCOPY);
        }
        ItemRects.push_back(RECT{item.left + 3, item.top, item.right - 3, item.bottom});
        end = std::max(end, static_cast<int>(item.right));
    }
    if (end < rect.right) {
        const RECT rest{0, 0, rect.right - end, rect.bottom};
        if (UniqueBitmap face = BuildElementBitmap(rest, bar.Bitmap, bar.Margins, false, tile, bar.Frame, 1)) {
            MemoryDC faceDC(dc, face.get());
            BitBlt(target.get(), end, 0, rest.right, rest.bottom, faceDC.get(), 0, 0, SRCCOPY);
        }
    }
    BitBlt(dc, 0, 0, rect.right, rect.bottom, target.get(), 0, 0, SRCCOPY);
}

void TSkinHeader::DrawItemContent(HDC face, const RECT& size, int index, HIMAGELIST images) {
    wchar_t text[kTextBuffer] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    item.pszText = text;
    item.cchTextMax = kTextBuffer;
    if (!SendMessageW(Window, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) || !text[0])
        return;
    const int length = static_cast<int>(std::wcslen(text));

    SavedDC saved(face);
    if (auto font = reinterpret_cast<HFONT>(SendMessageW(Window, WM_GETFONT, 0, 0))) SelectObject(face, font);
    SetBkMode(face, TRANSPARENT);
    SetTextColor(face, ColorToRGB(SkinData->ButtonTextColour));

    int imageWidth = 0, imageHeight = 0;
    const bool withImage = images && (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) && item.iImage >= 0;
    if (withImage && ImageList_GetIconSize(images, &imageWidth, &imageHeight) &&
        (imageWidth > size.right || imageHeight > size.bottom))
        imageWidth = imageHeight = 0;
    if (!withImage) imageWidth = imageHeight = 0;

    RECT measured{0, 0, size.right, size.bottom};
    DrawTextW(face, text, length, &measured, kMeasureFlags);
    const int textWidth = measured.right - measured.left, textHeight = measured.bottom - measured.top;
    const UINT align = (item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? DT_RIGHT
                       : (item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                                    : DT_LEFT;
    int x = 3;
    if (align == DT_CENTER) x = (size.right - imageWidth - textWidth) / 2;
    if (align == DT_RIGHT) x = size.right - imageWidth - textWidth - 2;
    x = std::max(x, 1);

    if (imageWidth > 0)
        ImageList_Draw(images, item.iImage, face, x, (size.bottom - imageHeight) / 2, ILD_TRANSPARENT);
    const int top = (size.bottom - textHeight) / 2;
    RECT place{x + imageWidth, top, size.right, top + textHeight};
    const UINT rtl = (item.fmt & HDF_RTLREADING) ? DT_RTLREADING : 0;
    DrawTextW(face, text, length, &place, kTextFlags | rtl);
}
