#include <algorithm>
#include <string>

#include "classlib/Forms.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinMenu.h"

namespace {

TColor TitleColour(const TSkinData& skin, bool active) {
    if (const TDataSkinTitle* title = skin.Title.get()) {
        const TColor own = active ? title->ActiveTextColour : title->InactiveTextColour;
        if (own != clNone) return own;
    }
    return active ? skin.TitleTextActiveColour : skin.TitleTextInactiveColour;
}

}  // namespace

void TWinSkinForm::DrawFramePiece(int index, const RECT& rect, HDC dc) {
    TDataSkinBorder* piece = FramePiece(index);
    if (!piece || rect.right < 0 || rect.bottom < 0 || rect.right <= rect.left || rect.bottom <= rect.top) return;
    const int frames = std::max(piece->Frame, 1);
    const int frame = Active || frames == 1 ? 1 : 2;
    const bool vertical = index == 3 || index == 4;
    const RECT& m = piece->Margins;
    // Left and right pieces keep their top and bottom ends, top and bottom
    // pieces their left and right ends.
    const RECT margins = vertical ? RECT{m.left, 0, m.right, 0} : RECT{0, m.top, 0, m.bottom};
    const RECT size{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    UniqueBitmap rendered = BuildElementBitmap(size, piece->Bitmap, margins, vertical, piece->Tile != 1, frames, frame);
    if (!rendered) return;
    MemoryDC source(dc, rendered.get());
    BitBlt(dc, rect.left, rect.top, size.right, size.bottom, source.get(), 0, 0, SRCCOPY);
}

void TWinSkinForm::PaintCaptionText(HDC dc, const RECT& band) {
    const int length = GetWindowTextLengthW(Handle);
    CaptionText.assign(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    CaptionText.resize(static_cast<std::size_t>(std::max(GetWindowTextW(Handle, CaptionText.data(), length + 1), 0)));
    if (CaptionText.empty()) return;
    TDataSkinTitle* title = SkinData->Title.get();
    const RECT margins = title ? title->Margins : RECT{4, 0, 4, 0};
    const int width = band.right - band.left;
    RECT text{band.left + margins.left, band.top + margins.top, band.right - margins.right, band.bottom + margins.top};
    // The text starts after a left-aligned icon button and ends before the
    // right-aligned caption buttons that are shown.
    for (std::size_t i = 0; i < SkinData->CaptionButtons.size(); ++i) {
        const TDataSkinSysButton& button = *SkinData->CaptionButtons[i];
        const int buttonWidth = button.Frame >= 1 ? button.Bitmap.Width() / button.Frame : 0;
        if (button.Align == 0 && (button.Action == 3 || button.Action == 11) && (SysFlags & kSysMenu))
            text.left = std::max<LONG>(text.left, band.left + button.XCoord + std::max(buttonWidth, IconSize) + 4);
        else if (button.Align == 1 && button.XCoord > 0 && CaptionButtonVisible(static_cast<int>(i)))
            text.right = std::min<LONG>(text.right, band.left + width - button.XCoord - 4);
    }
    if (text.right <= text.left) return;

    UINT align = DT_LEFT;
    if (title && title->TextAlignment == 1) align = DT_CENTER;
    if (title && title->TextAlignment == 2) align = DT_RIGHT;
    if (RightToLeft) align = DT_RIGHT | DT_RTLREADING;

    SelectedObject font(dc, TitleFont.get());
    if (title && title->TextBackground && !title->Bitmap.Empty()) {
        RECT measured = text;
        DrawTextW(dc, CaptionText.c_str(), static_cast<int>(CaptionText.size()), &measured,
                  DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
        const int textWidth = std::min(measured.right - measured.left, text.right - text.left);
        RECT back{text.left - title->TextBackLeft, band.top, text.left + textWidth + title->TextBackRight, band.bottom};
        if (align & DT_CENTER) OffsetRect(&back, (text.right - text.left - textWidth) / 2, 0);
        if (align & DT_RIGHT) OffsetRect(&back, text.right - text.left - textWidth, 0);
        const int frames = std::max(title->Frame, 1);
        DrawThreePart(dc, back, title->Bitmap, false, frames, Active || frames == 1 ? 1 : 2,
                      RECT{title->TextBackLeft, 0, title->TextBackRight, 0});
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(TitleColour(*SkinData, Active)));
    DrawTextW(dc, CaptionText.c_str(), static_cast<int>(CaptionText.size()), &text,
              align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void TWinSkinForm::PaintFrame(HDC dc) {
    if (!MenuBarScratch() || (AttachState != kRunning && AttachState != kReskinning)) return;
    if (FrameKind == kFrameNone || (MDIKind == kMDIChild && WindowState == kStateMaximized)) return;
    if (!IsWindow(Handle)) return;
    std::unique_ptr<WindowDC> own;
    if (!dc) {
        own = std::make_unique<WindowDC>(Handle, true);
        dc = own->get();
    }
    if (!dc) return;
    ++FramePaints;
    PaintedActive = Active;
    try {
        GetWindowRect(Handle, &WindowRect);
        const int w = WindowRect.right - WindowRect.left, h = WindowRect.bottom - WindowRect.top;
        FrameWidth = w;
        FrameHeight = h;
        const bool minimized = WindowState == kStateMinimized;
        if (!minimized) {
            DrawFramePiece(1, RECT{0, 0, BorderLeft, h}, dc);
            DrawFramePiece(2, RECT{w - BorderRight, 0, w, h}, dc);
            DrawFramePiece(4, RECT{BorderLeft, h - BorderBottom, w - BorderRight, h}, dc);
        }
        const int bandHeight = minimized ? h : CaptionHeight;
        if (w > 0 && bandHeight > 0) {
            CaptionBitmap.SetSize(w, bandHeight);
            HDC caption = CaptionBitmap.Canvas()->Handle();
            RECT top{BorderLeft, 0, w - BorderRight, CaptionHeight};
            if (minimized) {
                UniqueBrush face(CreateSolidBrush(ColorToRGB(SkinData->ButtonFaceColour)));
                const RECT all{0, 0, w, h};
                FillRect(caption, &all, face.get());
                top = RECT{0, 0, w, CaptionHeight};
            } else {
                BitBlt(caption, 0, 0, w, bandHeight, dc, 0, 0, SRCCOPY);
            }
            DrawFramePiece(3, top, caption);
            PaintCaptionText(caption, top);
            LayoutCaptionButtons();
            PaintCaptionButtons(*CaptionBitmap.Canvas());
            BitBlt(dc, 0, 0, w, bandHeight, caption, 0, 0, SRCCOPY);
            SetBkMode(dc, OPAQUE);
        }
        if (!minimized && MenuBarHeight > 0) {
            const RECT band{BorderLeft, CaptionHeight, w - BorderRight, CaptionHeight + MenuBarHeight};
            if (SkinMenu)
                PaintMenuBar(dc, band);
            else
                FillRect(dc, &band, SkinData->FaceBrush());
        }
    } catch (...) {
        // A failed paint leaves what was drawn; the window goes on, with no
        // object left drawn hot.
        HotObject = nullptr;
    }
}
