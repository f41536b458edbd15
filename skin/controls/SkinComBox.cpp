#include "skin/controls/SkinComBox.h"

#include <algorithm>
#include <utility>

#include "classlib/Canvas.h"
#include "classlib/Handles.h"
#include "classlib/Messages.h"
#include "skin/SkinMessages.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinScrollbarH.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"

int ComboButtonIndex(bool pressed, bool focusedOrHot, bool disabled) {
    if (disabled) return 3;
    if (pressed) return 2;
    return focusedOrHot ? 4 : 1;
}

const TClassInfo& TSkinComBox::StaticClass() {
    static const TClassInfo info(L"TSkinComBox", &TSkinControl::StaticClass(), {});
    return info;
}

TSkinComBox::TSkinComBox(TComponent* owner) : TSkinControl(owner) { ComboInfo.cbSize = sizeof ComboInfo; }

TSkinComBox::~TSkinComBox() { ReleaseParts(); }

void TSkinComBox::ReadStyles() {
    Style = GetWindowLong(GWL_STYLE);
    ExStyle = GetWindowLong(GWL_EXSTYLE);
}

void TSkinComBox::Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) {
    if (Attached) return;
    TSkinControl::Attach(form, skinData, colourFlag, canvas);
    AttachParts();
}

void TSkinComBox::AttachHandle(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
    if (Attached) return;
    TSkinControl::AttachHandle(wnd, skinData, form, canvas);
    AttachParts();
}

void TSkinComBox::AttachParts() {
    if (!Window) return;
    ReadStyles();
    if ((Style & 3) != CBS_SIMPLE) {
        // A Unicode combo's edit keeps its own procedure: the pressed look
        // then follows the button part only.
        HWND edit = GetWindow(Window, GW_CHILD);
        if (!UnicodeWindow && edit) {
            edit_.Install(edit, [this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
                const LRESULT result = edit_.CallPrevious(wnd, msg, wParam, lParam);
                switch (msg) {
                case WM_PAINT: PaintFrame(nullptr); break;
                case WM_LBUTTONDOWN:
                case WM_LBUTTONDBLCLK: SetMouseBit(kMousePressed, true); break;
                case WM_LBUTTONUP: SetMouseBit(kMousePressed, false); break;
                default: break;
                }
                return result;
            });
        }
        return;
    }
    if (GetComboBoxInfo(Window, &ComboInfo)) ListWindow = ComboInfo.hwndList;
    // A simple combo's list is a child window that stays on screen: it gets
    // the skin's scroll bars like any other list.
    if (ListWindow && !listBars_ && SkinData && SkinData->HasSkinControl(xcScrollbar)) {
        auto* bars = TComponent::Create<TSkinScrollbarH>(this);
        listBars_ = bars;
        bars->AttachHandle(ListWindow, SkinData, SkinnedForm, Canvas);
    }
}

void TSkinComBox::ReleaseParts() {
    edit_.Restore();
    ListWindow = nullptr;
    if (TSkinControl* bars = std::exchange(listBars_, nullptr)) {
        if (bars->State != kStateClosed) bars->Detach();
        bars->Free();
    }
}

void TSkinComBox::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == listBars_) listBars_ = nullptr;
}

// The list's scroll bars go on and off with the combo.
void TSkinComBox::PaintingSwitched() {
    if (listBars_ && ListWindow) SendMessageW(ListWindow, SKM_ENABLESKIN, PaintingOn ? 1 : 0, 0);
    TSkinControl::PaintingSwitched();
}

void TSkinComBox::Detach() {
    TSkinControl::Detach();
    ReleaseParts();
}

void TSkinComBox::SetMouseBit(std::uint8_t bit, bool on) {
    const auto before = MouseState;
    MouseState = on ? static_cast<std::uint8_t>(MouseState | bit) : static_cast<std::uint8_t>(MouseState & ~bit);
    if (MouseState != before || bit == kMousePressed) Repaint();
}

bool TSkinComBox::Focused() const {
    HWND focus = GetFocus();
    return focus && (focus == Window || IsChild(Window, focus));
}

void TSkinComBox::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        break;
    case WM_MOUSEMOVE: {
        const POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
        const bool enabled = !(GetWindowLong(GWL_STYLE) & WS_DISABLED);
        const bool over = enabled && PtInRect(&ButtonRect, p);
        if (over && !(MouseState & kMouseHot)) {
            // A foreign combo has no class-library leave notice: ask Windows.
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Window, 0};
            TrackMouseEvent(&track);
            SetMouseBit(kMouseHot, true);
        } else if (!over && (MouseState & kMouseHot)) {
            SetMouseBit(kMouseHot, false);
        }
        break;
    }
    case WM_DRAWITEM:
    case WM_NCPAINT:
    case WM_ERASEBKGND:
        // The frame goes back over what was just drawn, without invalidating
        // the combo: that would erase its edit and list, which draw
        // themselves and are not told to. (An erase is not always followed
        // by a paint either.)
        PaintFrame(nullptr);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetMouseBit(kMousePressed, true);
        break;
    case WM_LBUTTONUP:
        SetMouseBit(kMousePressed, false);
        break;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
        if (MouseState & kMouseHot) SetMouseBit(kMouseHot, false);
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinComBox::Draw(HDC dc, const RECT& rect) {
    TDataSkinBorder* button = SkinData ? SkinData->ComboButton.get() : nullptr;
    if (!button || button->Bitmap.Empty() || button->Frame < 1) return;
    ReadStyles();
    if (GetComboBoxInfo(Window, &ComboInfo)) {
        if (ComboInfo.stateButton & STATE_SYSTEM_INVISIBLE) return;
        ButtonRect = ComboInfo.rcButton;
    }
    const bool leftButton = ExStyle & WS_EX_LEFTSCROLLBAR;
    const bool disabled = Style & WS_DISABLED;
    if (button->Style == 1) {
        DrawFlat(dc, rect, ComboButtonIndex(MouseState & kMousePressed, Focused() || (MouseState & kMouseHot), disabled),
                 leftButton);
        return;
    }
    const int index = std::min(
        ComboButtonIndex(MouseState & kMousePressed, Focused() || (MouseState & kMouseHot), disabled), button->Frame);
    if (button->Style == 2) {
        TDataSkinObject* element = leftButton && SkinData->SunkEdge ? static_cast<TDataSkinObject*>(SkinData->SunkEdge.get())
                                                                    : button;
        DrawElement(dc, rect, element->Bitmap, false, false, true, element->Frame, std::min(index, element->Frame),
                    element->Margins);
        return;
    }
    DrawSplit(dc, rect, index, leftButton);
}

void TSkinComBox::DrawSplit(HDC dc, const RECT& rect, int index, bool leftButton) {
    TDataSkinBorder& button = *SkinData->ComboButton;
    const int a = GetSystemMetrics(SM_CXHSCROLL);
    SavedDC saved(dc);
    if (leftButton) ExcludeClipRect(dc, rect.left + a + 4, rect.top + 2, rect.right - 2, rect.bottom - 2);
    else ExcludeClipRect(dc, rect.left + 2, rect.top + 2, rect.right - a - 4, rect.bottom - 2);
    if (TDataSkinObject* edge = SkinData->SunkEdge.get(); edge && edge->Frame >= 1)
        DrawElement(dc, rect, edge->Bitmap, false, edge->Tile == 1, edge->Trans == 1, edge->Frame,
                    std::min(index, edge->Frame), edge->Margins);
    ButtonRect = leftButton ? RECT{rect.left, rect.top, rect.left + a + 2, rect.bottom}
                            : RECT{rect.right - a - 2, rect.top, rect.right, rect.bottom};
    DrawFrameStretched(dc, ButtonRect, leftButton ? button.Bitmap2 : button.Bitmap, true, button.Frame, index);
    TDataSkinObject* extra = SkinData->ExtraImages.get();
    if (!extra || extra->Bitmap.Empty() || extra->Frame < 1) return;
    RECT arrow = ButtonRect;
    if (leftButton) arrow = RECT{2, rect.top, a + 2, rect.bottom};
    else arrow.right -= 2;
    DrawFrameCentred(dc, arrow, extra->Bitmap, true, extra->Frame, std::min(index, extra->Frame));
}

void TSkinComBox::DrawFlat(HDC dc, const RECT& rect, int index, bool leftButton) {
    TDataSkinBorder& button = *SkinData->ComboButton;
    const int thumb = GetSystemMetrics(SM_CYVTHUMB);
    HBRUSH brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
    RECT inner = rect;
    InflateRect(&inner, -1, -1);
    FrameRect(dc, &inner, brush);
    InflateRect(&inner, -1, -1);
    RECT strip = leftButton ? RECT{inner.left, inner.top, inner.left + thumb, inner.bottom}
                            : RECT{inner.right - thumb, inner.top, inner.right, inner.bottom};
    FillRect(dc, &strip, brush);
    FrameInColour(dc, rect, SkinData->ButtonShadowColour);
    const int frameWidth = button.Bitmap.Width() / button.Frame;
    const int height = std::min(button.Bitmap.Height(), thumb);
    ButtonRect = RECT{strip.left, strip.top, strip.left + frameWidth, strip.top + height};
    if (!leftButton) OffsetRect(&ButtonRect, strip.right - ButtonRect.right, 0);
    DrawFrameStretched(dc, ButtonRect, button.Bitmap, true, button.Frame, std::min(index, button.Frame));
}
