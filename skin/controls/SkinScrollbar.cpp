#include "skin/controls/SkinScrollbar.h"

#include "classlib/Handles.h"
#include "classlib/Messages.h"
#include "core/AsciiCase.h"
#include "skin/SkinMessages.h"
#include "skin/controls/WScrollbar.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"

namespace {

constexpr int kSingleBarMode = 1;

}  // namespace

const TClassInfo& TSkinScrollbar::StaticClass() {
    static const TClassInfo info(L"TSkinScrollbar", &TSkinControl::StaticClass(), {});
    return info;
}

TSkinScrollbar::~TSkinScrollbar() { FreeBars(); }

void TSkinScrollbar::Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) {
    if (Attached) return;
    ColourFlag = colourFlag;
    AttachScroll(As<TControl>(Owner()), skinData, form, canvas);
}

void TSkinScrollbar::AttachScroll(TControl* control, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
    if (!control) return;
    TSkinControl::Attach(form, skinData, ColourFlag, canvas);
    if (!Attached || !Window) return;
    Border = AsciiLower(control->GetProperty(L"BorderStyle").AsText()) != L"bsnone" &&
             control->ClassName() != std::wstring_view(L"TImageScrollBox") && Mode != kSingleBarMode &&
             control->HasProperty(L"BorderStyle");
    // Grids draw their fixed cells in the face colour while skinned.
    if (const TValue fixed = control->GetProperty(L"FixedColor"); fixed.GetKind() == TValue::Kind::Integer) {
        SavedFixedColour = static_cast<TColor>(fixed.AsInteger());
        FixedColourTaken = true;
        control->SetProperty(L"FixedColor", TValue(static_cast<std::int64_t>(skinData->ButtonFaceColour)));
    }
    HorzBar = TComponent::Create<TWScrollbar>(this);
    HorzBar->AttachToControl(this, control, TWScrollbar::kHorzBar);
    VertBar = TComponent::Create<TWScrollbar>(this);
    VertBar->AttachToControl(this, control, TWScrollbar::kVertBar);
    if (!control->Visible()) HideBars();
    // The border is drawn over the control's own edge, which keeps its size:
    // a frame repaint is enough, and a hidden control gets one when shown.
    if (Border && IsWindowVisible(Window)) RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbar::PlaceBars() {
    for (TWScrollbar* bar : {HorzBar, VertBar})
        if (bar) bar->PlaceOverBar(Window);
}

void TSkinScrollbar::HideBars() {
    for (TWScrollbar* bar : {HorzBar, VertBar})
        if (bar) bar->HideOverlay();
}

// Off, the control's own bars and border show again; on, the overlays go
// back over them.
void TSkinScrollbar::PaintingSwitched() {
    if (PaintingOn)
        PlaceBars();
    else
        HideBars();
    if (Window) RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void TSkinScrollbar::FreeBars() {
    for (TWScrollbar** bar : {&HorzBar, &VertBar})
        if (*bar) {
            (*bar)->Free();
            *bar = nullptr;
        }
}

bool TSkinScrollbar::BeforeMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_NCPAINT:
        if (!Border) break;
        CallPrevious(m);
        if (WindowDC dc(Window, true); dc.get()) DrawBorder(dc.get());
        return false;
    case WM_DESTROY:
        // The overlays sit on the parent: gone with the window, not later.
        HideBars();
        break;
    case SKM_PAINTFRAMEDC:
        if (m.LParam != kSkinMagic) break;
        if (m.WParam) DrawBorder(reinterpret_cast<HDC>(m.WParam));
        m.Result = kSkinMagic;
        return false;
    default:
        break;
    }
    return TSkinControl::BeforeMessage(m);
}

void TSkinScrollbar::AfterMessage(TMessage& m) {
    TSkinControl::AfterMessage(m);
    switch (m.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        PlaceBars();
        return;
    case WM_HSCROLL:
    case WM_VSCROLL:
        ShowScrollCode(m);
        break;
    case CM_VISIBLECHANGED:
        if (m.WParam) PlaceBars();
        else HideBars();
        return;
    case CM_RECREATEWND:
        if (SkinnedForm && SkinnedForm->Handle)
            PostMessageW(SkinnedForm->Handle, SKM_RESKINSCROLL, reinterpret_cast<WPARAM>(Window), 0);
        return;
    case WM_DESTROY:
    case WM_NCDESTROY:
        return;
    default:
        break;
    }
    // Scrolled by the keyboard or by code: the thumb follows at once.
    if (!MayScroll(m.Msg)) return;
    for (TWScrollbar* bar : {HorzBar, VertBar})
        if (bar) bar->RefreshIfChanged();
}

void TSkinScrollbar::ShowScrollCode(const TMessage& m) {
    if (TWScrollbar* bar = m.Msg == WM_HSCROLL ? HorzBar : VertBar) {
        bar->HotPart = LOWORD(m.WParam);
        bar->RepaintNow();
    }
}

void TSkinScrollbar::DrawBorder(HDC dc) const {
    RECT r{};
    if (!SkinData || !GetWindowRect(Window, &r)) return;
    OffsetRect(&r, -r.left, -r.top);
    FrameInColour(dc, r, SkinData->ButtonShadowColour);
    InflateRect(&r, -1, -1);
    FrameInColour(dc, r, SkinData->ButtonFaceColour);
}

void TSkinScrollbar::Draw(HDC dc, const RECT&) {
    for (TWScrollbar* bar : {HorzBar, VertBar}) {
        if (!bar) continue;
        const LONG_PTR wanted = bar == VertBar ? WS_VSCROLL : WS_HSCROLL;
        if (bar->Shown) bar->RepaintNow();
        else if (GetWindowLong(GWL_STYLE) & wanted) bar->PlaceOverBar(Window);
    }
    FillCorner(dc);
}

void TSkinScrollbar::FillCorner(HDC dc) const {
    if (!HorzBar || !VertBar || !HorzBar->Shown || !VertBar->Shown) return;
    // Bar rectangles are client co-ordinates; the DC is the window's.
    RECT window{};
    GetWindowRect(Window, &window);
    POINT origin{0, 0};
    ClientToScreen(Window, &origin);
    const int dx = origin.x - window.left, dy = origin.y - window.top;
    RECT corner{HorzBar->BarRect.right, VertBar->BarRect.bottom, VertBar->BarRect.right, HorzBar->BarRect.bottom};
    OffsetRect(&corner, dx, dy);
    if (corner.right > corner.left && corner.bottom > corner.top) FillFace(dc, corner);
}

void TSkinScrollbar::Detach() {
    if (FixedColourTaken && Control) {
        Control->SetProperty(L"FixedColor", TValue(static_cast<std::int64_t>(SavedFixedColour)));
        FixedColourTaken = false;
    }
    TSkinControl::Detach();
    if (State != kStateClosed) FreeBars();
}
