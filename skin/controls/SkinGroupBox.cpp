#include "skin/controls/SkinGroupBox.h"

#include "classlib/Handles.h"
#include "skin/data/WinSkinData.h"

const TClassInfo& TSkinGroupBox::StaticClass() {
    static const TClassInfo info(L"TSkinGroupBox", &TSkinControl::StaticClass(), {});
    return info;
}

void TSkinGroupBox::Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) {
    TSkinControl::Attach(form, skinData, colourFlag, canvas);
    Mode = kModeOwnerPainted;
}

bool TSkinGroupBox::BeforeMessage(TMessage& message) {
    if (!TSkinControl::BeforeMessage(message)) return false;
    if (Mode == kModeOwnerPainted && message.Msg == WM_PAINT) {
        OwnerPaint(message);
        return false;
    }
    return true;
}

void TSkinGroupBox::Draw(HDC dc, const RECT& rect) {
    if (!SkinData) return;
    std::wstring caption(static_cast<std::size_t>(std::max(GetWindowTextLengthW(Window), 0)) + 1, L'\0');
    caption.resize(static_cast<std::size_t>(std::max(GetWindowTextW(Window, caption.data(), static_cast<int>(caption.size())), 0)));
    if (caption.empty() && Control) caption = Control->Caption();
    if (Control) FillFace(dc, rect);

    DrawFrameAndCaption(dc, rect, caption);
    if (Mode == kModeOwnerPainted)
        if (auto* windowed = As<TWinControl>(Control)) windowed->PaintControls(dc);
}

void TSkinGroupBox::DrawFrameAndCaption(HDC dc, const RECT& rect, const std::wstring& caption) {
    // Made before the DC is saved, so it is deleted after the DC lets go of it.
    UniquePen pen(CreatePen(PS_SOLID, 1, ColorToRGB(SkinData->ButtonShadowColour)));
    SavedDC saved(dc);
    if (Control) {
        SelectObject(dc, Control->Font()->Handle());
        SetTextColor(dc, ColorToRGB(Control->Font()->Color()));
    } else if (auto font = reinterpret_cast<HFONT>(SendMessageW(Window, WM_GETFONT, 0, 0))) {
        SelectObject(dc, font);
    }
    SIZE zero{};
    GetTextExtentPoint32A(dc, "0", 1, &zero);
    const int y = zero.cy / 2;

    if (Mode != kModeOwnerPainted) {
        RECT wipe{0, y, rect.right, rect.bottom};
        FrameRect(dc, &wipe, SkinData->FaceBrush());
        InflateRect(&wipe, -1, -1);
        FrameRect(dc, &wipe, SkinData->FaceBrush());
    }
    SelectObject(dc, pen.get());
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, 1, y, rect.right - 1, rect.bottom - 1, 5, 5);

    // An opaque text background hides the line behind the caption.
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ColorToRGB(SkinData->ButtonFaceColour));
    const auto exStyle = static_cast<DWORD>(GetWindowLong(GWL_EXSTYLE));
    if (exStyle & WS_EX_RIGHT) {
        RECT text{rect.left, rect.top, rect.right - 8, rect.bottom};
        const UINT rtl = (exStyle & WS_EX_RTLREADING) ? DT_RTLREADING : 0;
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_EXPANDTABS | DT_RIGHT | rtl);
    } else {
        RECT text{rect.left + 8, rect.top, rect.right, rect.bottom};
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_EXPANDTABS);
    }
}
