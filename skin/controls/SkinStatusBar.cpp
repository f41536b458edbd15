#include "skin/controls/SkinStatusBar.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "classlib/Bitmap.h"
#include "classlib/Handles.h"
#include "classlib/StatusBar.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"

namespace {

constexpr int kFrameLowered = 1, kFrameRaised = 2, kFrameFlat = 3;

// Status bars paint one at a time on the user-interface thread, so one
// bitmap serves them all; it lives until the program ends.
TBitmap& SharedSurface() {
    static TBitmap surface;
    return surface;
}

UINT AlignFlags(TAlignment alignment) {
    switch (alignment) {
    case TAlignment::taCenter: return DT_CENTER;
    case TAlignment::taRightJustify: return DT_RIGHT;
    default: return DT_LEFT;
    }
}

UINT Mirrored(UINT align) { return align == DT_LEFT ? DT_RIGHT : align == DT_RIGHT ? DT_LEFT : align; }

int FrameOfBevel(TStatusPanelBevel bevel) {
    switch (bevel) {
    case TStatusPanelBevel::pbRaised: return kFrameRaised;
    case TStatusPanelBevel::pbNone: return kFrameFlat;
    default: return kFrameLowered;
    }
}

// A bare bar keeps the panel's look in the flags of its text; its text
// starts with one tab when centred, two when right-aligned.
std::wstring PartText(HWND bar, int part, WPARAM& flags) {
    const auto lengthAndFlags = static_cast<DWORD>(SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0));
    flags = HIWORD(lengthAndFlags);
    if (flags & SBT_OWNERDRAW) return {};
    std::wstring text(static_cast<std::size_t>(LOWORD(lengthAndFlags)) + 1, L'\0');
    SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::wcslen(text.c_str()));
    return text;
}

}  // namespace

const TClassInfo& TSkinStatusBar::StaticClass() {
    static const TClassInfo info(L"TSkinStatusBar", &TSkinControl::StaticClass(), {});
    return info;
}

bool TSkinStatusBar::BeforeMessage(TMessage& message) {
    return TSkinControl::BeforeMessage(message) && !PaintsWholeWindow(message);
}

void TSkinStatusBar::Draw(HDC dc, const RECT& rect) {
    if (!SkinData || rect.right <= rect.left || rect.bottom <= rect.top) return;
    TBitmap& surface = SharedSurface();
    surface.SetSize(rect.right, rect.bottom);
    HDC target = surface.Canvas()->Handle();
    if (!target) return;
    SetStretchBltMode(target, COLORONCOLOR);
    FillFace(target, rect);

    auto* bar = As<TCustomStatusBar>(Control);
    TFont* font = surface.Canvas()->Font();
    HFONT barFont = nullptr;
    if (bar) {
        font->Assign(*bar->Font());
        font->SetStyle(0);
        barFont = font->Handle();
    } else {
        barFont = reinterpret_cast<HFONT>(SendMessageW(Window, WM_GETFONT, 0, 0));
    }
    const TDataSkinObject* edges = SkinData->StatusBarEdges.get();
    const TColor textColour = edges ? edges->NormalColour2 : bar ? font->Color() : clBtnText;

    const bool simple = bar ? bar->SimplePanel() || bar->Panels()->Count() == 0
                            : SendMessageW(Window, SB_ISSIMPLE, 0, 0) != 0;
    const std::vector<TPanelLook> panels = PanelLooks(rect, bar, simple);
    {
        SavedDC saved(target);
        if (barFont) SelectObject(target, barFont);
        SetBkMode(target, TRANSPARENT);
        SetTextColor(target, ColorToRGB(textColour));
        for (const TPanelLook& panel : panels) DrawPanel(target, panel);
    }
    if (GetWindowLong(GWL_STYLE) & SBARS_SIZEGRIP) DrawSizeGrip(target, rect);
    BitBlt(dc, 0, 0, rect.right, rect.bottom, target, 0, 0, SRCCOPY);
    if (auto* windowed = As<TWinControl>(Control)) windowed->PaintControls(dc);
    // The bar's own drawing of its owner-drawn panels was replaced as well;
    // the others keep the text drawn above, as without the skin.
    if (bar && bar->OnDrawPanel && !simple)
        for (const TPanelLook& look : panels) {
            if (look.Part >= bar->Panels()->Count()) continue;
            TStatusPanel* panel = bar->Panels()->Items(look.Part);
            if (panel->Style() != TStatusPanelStyle::psOwnerDraw) continue;
            RECT inner = look.Rect;
            InflateRect(&inner, -2, -2);
            bar->DrawPanel(dc, panel, inner);
        }
}

std::vector<TSkinStatusBar::TPanelLook> TSkinStatusBar::PanelLooks(const RECT& rect, TCustomStatusBar* bar,
                                                                   bool simple) const {
    std::vector<TPanelLook> panels;
    if (simple) {
        const bool rtlBar = (GetWindowLong(GWL_EXSTYLE) & (WS_EX_RTLREADING | WS_EX_LAYOUTRTL)) != 0;
        WPARAM flags = 0;
        std::wstring text = bar ? bar->SimpleText() : PartText(Window, SB_SIMPLEID, flags);
        panels.push_back({rect, kFrameLowered, std::move(text), rtlBar ? UINT(DT_RIGHT) : UINT(DT_LEFT), rtlBar, 0});
        return panels;
    }
    const int count = static_cast<int>(SendMessageW(Window, SB_GETPARTS, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT r{};
        if (!SendMessageW(Window, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
        r.right = i == count - 1 ? rect.right : r.right + 2;
        WPARAM flags = 0;
        std::wstring text = PartText(Window, i, flags);
        TPanelLook look{r, kFrameLowered, {}, DT_LEFT, (flags & SBT_RTLREADING) != 0, i};
        if (bar && i < bar->Panels()->Count()) {
            const TStatusPanel& panel = *bar->Panels()->Items(i);
            look.Frame = FrameOfBevel(panel.Bevel());
            look.Align = AlignFlags(panel.Alignment());
            if (panel.Style() == TStatusPanelStyle::psText) look.Text = panel.Text();
        } else {
            look.Frame = (flags & SBT_NOBORDERS) ? kFrameFlat : (flags & SBT_POPOUT) ? kFrameRaised : kFrameLowered;
            const std::size_t text0 = text.find_first_not_of(L'\t');
            const std::size_t tabs = std::min<std::size_t>(text0 == std::wstring::npos ? text.size() : text0, 2);
            look.Align = tabs == 1 ? DT_CENTER : tabs == 2 ? DT_RIGHT : DT_LEFT;
            look.Text = text.substr(std::min(tabs, text.size()));
        }
        if (look.RightToLeft) look.Align = Mirrored(look.Align);
        panels.push_back(std::move(look));
    }
    return panels;
}

void TSkinStatusBar::DrawPanel(HDC dc, const TPanelLook& panel) {
    const RECT& r = panel.Rect;
    TDataSkinObject* edges = SkinData->StatusBarEdges.get();
    if (edges && !edges->Bitmap.Empty()) {
        const RECT size{0, 0, r.right - r.left, r.bottom - r.top};
        if (UniqueBitmap face = BuildElementBitmap(size, edges->Bitmap, edges->Margins, false, edges->Tile == 1, 3, panel.Frame)) {
            MemoryDC source(dc, face.get());
            BitBlt(dc, r.left, r.top, size.right, size.bottom, source.get(), 0, 0, SRCCOPY);
        }
    } else if (panel.Frame != kFrameFlat) {
        RECT edge = r;
        DrawEdge(dc, &edge, panel.Frame == kFrameLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }

    const std::wstring text = panel.Text.empty() ? std::wstring(L" ") : panel.Text;
    RECT area{r.left + 2, r.top, r.right - 2, r.bottom};
    RECT measured = area;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
              panel.Align | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
    const int height = measured.bottom - measured.top;
    area.top = r.top + (r.bottom - r.top - height) / 2;
    area.bottom = area.top + height;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
              panel.Align | DT_EXPANDTABS | (panel.RightToLeft ? DT_RTLREADING : 0));
}

void TSkinStatusBar::DrawSizeGrip(HDC dc, const RECT& rect) {
    TDataSkinObject* extra = SkinData->ExtraImages.get();
    if (!extra || extra->Bitmap.Empty() || extra->Frame < 5) return;
    const int width = extra->Bitmap.Width() / extra->Frame, height = extra->Bitmap.Height();
    const RECT grip{rect.right - 1 - width, rect.bottom - 1 - height, rect.right - 1, rect.bottom - 1};
    DrawFrameCentred(dc, grip, extra->Bitmap, true, extra->Frame, 5);
}
