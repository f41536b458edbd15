#include "skin/controls/SkinTrackBar.h"

#include <commctrl.h>

#include <utility>

#include "classlib/Messages.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"

namespace {

constexpr int kThumbFrames = 5;
constexpr int kThumbFrame = 2;

bool Usable(const TDataSkinObject* element) { return element && !element->Bitmap.Empty(); }

}  // namespace

const TClassInfo& TSkinTrackBar::StaticClass() {
    static const TClassInfo info(L"TSkinTrackBar", &TSkinControl::StaticClass(), {});
    return info;
}

bool TSkinTrackBar::Vertical() const { return (GetWindowLong(GWL_STYLE) & TBS_VERT) != 0; }

bool TSkinTrackBar::BeforeMessage(TMessage& message) {
    if (!TSkinControl::BeforeMessage(message)) return false;
    if (message.Msg != WM_NOTIFY && message.Msg != CN_NOTIFY) return true;
    const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
    if (!header || header->code != static_cast<UINT>(NM_CUSTOMDRAW)) return true;
    message.Result = CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(message.LParam), message.Result);
    return false;
}

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& draw, LRESULT incoming) {
    if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.dwDrawStage != CDDS_ITEMPREPAINT) return incoming;
    switch (draw.dwItemSpec) {
    case TBCD_THUMB: return DrawThumb(draw.hdc) ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
    case TBCD_CHANNEL: return DrawChannel(draw.hdc) ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
    default: return CDRF_DODEFAULT;  // the ticks stay the system's
    }
}

bool TSkinTrackBar::DrawChannel(HDC dc) {
    if (!SkinData) return false;
    RECT c{};
    SendMessageW(Window, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&c));
    const int cw = c.right - c.left, ch = c.bottom - c.top;
    if (Vertical()) {
        TDataSkinObject* track = SkinData->TrackVert.get();
        if (!Usable(track)) return false;
        // The channel of a vertical bar comes back lying down.
        if (cw > ch) {
            std::swap(c.left, c.top);
            std::swap(c.right, c.bottom);
        }
        TBitmap& b = track->Bitmap;
        const int bw = b.Width(), bh = b.Height();
        const int top = track->Margins.top, bottom = track->Margins.bottom;
        const int x = bw < c.right - c.left ? c.left + (c.right - c.left - bw) / 2 : c.left;
        HDC source = b.Canvas()->Handle();
        StretchBlt(dc, x, c.top, bw, top, source, 0, 0, bw, top, SRCCOPY);
        StretchBlt(dc, x, c.top + top, bw, c.bottom - c.top - top - bottom, source, 0, top, bw, bh - top - bottom,
                   SRCCOPY);
        StretchBlt(dc, x, c.bottom - bottom, bw, bottom, source, 0, bh - bottom, bw, bottom, SRCCOPY);
        return true;
    }
    TDataSkinObject* track = SkinData->Track.get();
    if (!Usable(track)) return false;
    TBitmap& b = track->Bitmap;
    const int bw = b.Width(), bh = b.Height();
    const int left = track->Margins.left, right = track->Margins.right;
    const int y = bh < ch ? c.top + ch / 2 : c.top;
    HDC source = b.Canvas()->Handle();
    StretchBlt(dc, c.left, y, left, bh, source, 0, 0, left, bh, SRCCOPY);
    StretchBlt(dc, c.left + left, y, cw - left - right, bh, source, left, 0, bw - left - right, bh, SRCCOPY);
    StretchBlt(dc, c.right - right, y, right, bh, source, bw - right, 0, right, bh, SRCCOPY);
    return true;
}

bool TSkinTrackBar::DrawThumb(HDC dc) {
    if (!SkinData || !IsWindow(Window)) return false;
    TDataSkinObject* thumb = Vertical() && Usable(SkinData->TrackThumbVert.get()) ? SkinData->TrackThumbVert.get()
                                                                                  : SkinData->TrackThumbHorz.get();
    if (!Usable(thumb)) return false;
    RECT r{};
    SendMessageW(Window, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
    DrawFrameStretched(dc, r, thumb->Bitmap, true, kThumbFrames, kThumbFrame);
    return true;
}

void TSkinTrackBar::SkinChanged() {
    TSkinControl::SkinChanged();
    if (!IsWindow(Window)) return;
    HWND focused = GetFocus();
    SetFocus(Window);
    SetFocus(focused);
}
