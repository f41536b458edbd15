#include "skin/controls/SkinTab.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "classlib/Handles.h"
#include "classlib/PageControl.h"
#include "skin/SkinMessages.h"
#include "skin/controls/PainterFactory.h"
#include "skin/controls/TabItems.h"
#include "skin/data/BitmapOps.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"

namespace {

constexpr RECT kPaneMargins{4, 5, 4, 4};
enum { kTop, kBottom, kLeft, kRight };

}  // namespace

const TClassInfo& TSkinTab::StaticClass() {
    static const TClassInfo info(L"TSkinTab", &TSkinControl::StaticClass(), {});
    return info;
}

void TSkinTab::Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) {
    TSkinControl::Attach(form, skinData, colourFlag, canvas);
    if (!Window) return;
    auto* pages = As<TPageControl>(Control);
    CloseBoxes = pages && pages->Tag() == kCloseBoxTag && pages->TabPosition() == TTabPosition::tpTop;
    AttachedCommon();
}

void TSkinTab::AttachHandle(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
    TSkinControl::AttachHandle(wnd, skinData, form, canvas);
    if (Window) AttachedCommon();
}

void TSkinTab::AttachedCommon() {
    EnabledLook = !(GetWindowLong(GWL_STYLE) & WS_DISABLED);
    PrepareBitmaps();
    FindScroller();
    PaintingOn = true;
    UnicodeWindow = IsWindowUnicode(Window) != FALSE;
}

void TSkinTab::SkinChanged() {
    PrepareBitmaps();
    TSkinControl::SkinChanged();
}

void TSkinTab::PrepareBitmaps() {
    TabPosition = TabPositionOf(GetWindowLong(GWL_STYLE));
    TabBitmap.Clear();
    PaneBitmap.Clear();
    if (!SkinData || !SkinData->Tabs) return;
    TDataSkinBorder& tabs = *SkinData->Tabs;
    if (!tabs.Bitmap.Empty()) CloneBitmap(tabs.Bitmap, TabBitmap);
    if (tabs.Style == 0 && !tabs.Bitmap2.Empty()) CloneBitmap(tabs.Bitmap2, PaneBitmap);
    if (tabs.Style == 1 && SkinData->TabPane && !SkinData->TabPane->Bitmap.Empty())
        CloneBitmap(SkinData->TabPane->Bitmap, PaneBitmap);
    for (TBitmap* b : {&TabBitmap, &PaneBitmap})
        if (!b->Empty()) b->SetPixelFormat(TPixelFormat::pf24bit);
    if (TabPosition == kBottom) {
        if (!TabBitmap.Empty()) FlipVertical(TabBitmap);
        if (!PaneBitmap.Empty()) FlipVertical(PaneBitmap);
    }
    // The pane's tab-side edge turns to face the tabs.
    if (TabPosition == kLeft && !PaneBitmap.Empty()) RotateLeft(PaneBitmap);
    if (TabPosition == kRight && !PaneBitmap.Empty()) RotateRight(PaneBitmap);
}

HWND TSkinTab::FindScroller() {
    HWND arrows = FindWindowExW(Window, nullptr, UPDOWN_CLASSW, nullptr);
    if (arrows && !Scroller) {
        Scroller = MakePainter(PainterOf(TPainterKind::UpDown), *this);
        if (Scroller) Scroller->AttachHandle(arrows, SkinData, SkinnedForm, Canvas);
    }
    return arrows && IsWindowVisible(arrows) ? arrows : nullptr;
}

bool TSkinTab::BeforeMessage(TMessage& message) {
    if (!TSkinControl::BeforeMessage(message)) return false;
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        OwnerPaint(message);
        return false;
    case WM_LBUTTONDOWN: {
        if (!CloseBoxes) return true;
        const POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
        const auto hit =
            std::find_if(CloseRects.begin(), CloseRects.end(), [&](const RECT& r) { return PtInRect(&r, p); });
        if (hit == CloseRects.end()) return true;
        AskToClose(static_cast<int>(hit - CloseRects.begin()));
        message.Result = 0;
        return false;
    }
    default:
        return true;
    }
}

void TSkinTab::AskToClose(int index) {
    HWND formWindow = SkinnedForm ? SkinnedForm->Handle : GetAncestor(Window, GA_ROOT);
    if (SendMessageW(formWindow, SKM_CANCLOSETAB, reinterpret_cast<WPARAM>(Window), index) != 0) return;
    auto* pages = As<TPageControl>(Control);
    if (pages && index < pages->PageCount()) pages->Pages(index)->Free();
}

void TSkinTab::Draw(HDC dc, const RECT& rect) {
    if (!SkinData || !SkinData->Tabs || rect.right <= rect.left || rect.bottom <= rect.top) return;
    const RECT display = TabDisplayArea(Window, rect, TabPosition);
    const int count = static_cast<int>(SendMessageW(Window, TCM_GETITEMCOUNT, 0, 0));
    CloseRects.assign(static_cast<std::size_t>(std::max(count, 0)), RECT{});
    if (!TabBitmap.Empty()) DrawStrip(dc, rect, display);

    if (!PaneBitmap.Empty()) {
        const bool ownMargins = SkinData->Tabs->Style != 0 && SkinData->TabPane;
        DrawElement(dc, display, PaneBitmap, false, false, false, 1, 1,
                    ownMargins ? SkinData->TabPane->Margins : kPaneMargins);
    }
    if (Mode == 2)
        if (auto* windowed = As<TWinControl>(Control)) windowed->PaintControls(dc);
}

void TSkinTab::DrawStrip(HDC dc, const RECT& rect, const RECT& display) {
    RECT band = rect;
    switch (TabPosition) {
    case kTop: band.bottom = display.top; break;
    case kBottom: band.top = display.bottom; break;
    case kLeft: band.right = display.left; break;
    default: band.left = display.right; break;
    }
    const bool vertical = TabPosition == kLeft || TabPosition == kRight;
    const int length = vertical ? band.bottom - band.top : band.right - band.left;
    const int thickness = vertical ? band.right - band.left : band.bottom - band.top;
    if (length <= 0 || thickness <= 0) return;

    StripBitmap.SetPixelFormat(TPixelFormat::pf24bit);
    StripBitmap.SetSize(length, thickness);
    {
        HDC strip = StripBitmap.Canvas()->Handle();
        FillFace(strip, RECT{0, 0, length, thickness});
        SavedDC saved(strip);
        if (auto font = reinterpret_cast<HFONT>(SendMessageW(Window, WM_GETFONT, 0, 0))) SelectObject(strip, font);
        SetBkMode(strip, TRANSPARENT);
        const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Window, TCM_GETIMAGELIST, 0, 0));
        const int focused = static_cast<int>(SendMessageW(Window, TCM_GETCURFOCUS, 0, 0));
        for (int i = 0; i < static_cast<int>(CloseRects.size()); ++i) {
            RECT item{};
            if (!SendMessageW(Window, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
                continue;
            RECT face = item;
            switch (TabPosition) {
            case kTop: OffsetRect(&face, 0, 1); break;
            case kBottom: OffsetRect(&face, 0, -(display.bottom + 1)); break;
            case kLeft: face = RECT{length - item.bottom, item.left, length - item.top, item.right}; break;
            default: {
                const int width = rect.right - rect.left;
                face = RECT{item.top - 1, width - item.right, item.bottom - 1, width - item.left};
                break;
            }
            }
            DrawItem(strip, i, face, i == focused ? 2 : 1, images);
            // Close boxes exist on top tabs only, whose strip lies where the window begins.
            if (CloseBoxes)
                CloseRects[static_cast<std::size_t>(i)] =
                    RECT{face.right - 8, face.top + 2, face.right - 2, face.top + 8};
        }
    }
    if (TabPosition == kLeft) RotateLeft(StripBitmap);
    if (TabPosition == kRight) RotateRight(StripBitmap);

    SavedDC saved(dc);
    if (HWND arrows = FindScroller()) {
        RECT r{};
        GetWindowRect(arrows, &r);
        MapWindowPoints(HWND_DESKTOP, Window, reinterpret_cast<POINT*>(&r), 2);
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    BitBlt(dc, band.left, band.top, band.right - band.left, band.bottom - band.top, StripBitmap.Canvas()->Handle(), 0,
           0, SRCCOPY);
}

void TSkinTab::DrawItem(HDC strip, int index, const RECT& face, int frame, HIMAGELIST images) {
    TDataSkinBorder& tabs = *SkinData->Tabs;
    DrawElement(strip, face, TabBitmap, false, tabs.Tile == 1, tabs.Trans == 1, tabs.Frame, frame, tabs.Margins);
    if (CloseBoxes) {
        MoveToEx(strip, face.right - 8, face.top + 2, nullptr);
        LineTo(strip, face.right - 2, face.top + 8);
        MoveToEx(strip, face.right - 2, face.top + 2, nullptr);
        LineTo(strip, face.right - 8, face.top + 8);
    }
    int image = -1;
    const std::wstring text = TabItemText(Window, UnicodeWindow, index, image);
    SetTextColor(strip, ColorToRGB(frame == 1 ? tabs.NormalColour2 : tabs.MouseOverColour2));
    DrawTabItemContent(strip, face, text, images, image);
}
