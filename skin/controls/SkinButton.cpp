#include "skin/controls/SkinButton.h"

#include "classlib/Graphics.h"
#include "classlib/Messages.h"
#include "skin/controls/ButtonCaption.h"
#include "skin/controls/DiscoveryText.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/OptionalEntryPoints.h"
#include "skin/data/SkinElements.h"
#include "skin/data/WinSkinData.h"

namespace {

constexpr int kTransparentTag = 5555;

HFONT FontOf(TControl* control, HWND window) {
    if (control)
        if (auto* font = As<TFont>(control->GetProperty(L"Font").AsObject())) return font->Handle();
    return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

}  // namespace

bool TransparentByTagOrSkin(const TControl* control, const TSkinData* skinData) {
    return (control && control->Tag() == kTransparentTag) ||
           (skinData && (skinData->Options() & SetBit(xoTransparent)));
}

int PushButtonFace(bool focused, bool pressed, bool hot, bool enabled) {
    int face = focused ? bfFocused : bfNormal;
    if (pressed) face = bfPressed;
    else if (hot) face = bfHot;
    if (!enabled) face = bfDisabled;
    return face;
}

const TClassInfo& TSkinButton::StaticClass() {
    static const TClassInfo info(L"TSkinButton", &TSkinControl::StaticClass(), {});
    return info;
}

TSkinButton::TSkinButton(TComponent* owner) : TSkinControl(owner) {}

void TSkinButton::SetTransparentFlag() { Transparent = TransparentByTagOrSkin(Control, SkinData); }

void TSkinButton::Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) {
    if (Attached) return;
    TSkinControl::Attach(form, skinData, colourFlag, canvas);
    Mode = 0;
    if (Control) {
        const std::wstring name = AsciiLower(Control->ClassName());
        if (name.starts_with(L"trz") || name.starts_with(L"tel")) Mode = 1;
    }
    SetTransparentFlag();
}

void TSkinButton::AttachHandle(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
    TSkinControl::AttachHandle(wnd, skinData, form, canvas);
    SetTransparentFlag();
}

TDataSkinButton* TSkinButton::Faces() const {
    TDataSkinButton* faces = SkinData ? SkinData->Buttons.get() : nullptr;
    if (!faces || faces->Bitmap.Empty() || faces->Frame < FacesNeeded() || faces->Bitmap.Width() < faces->Frame)
        return nullptr;
    return faces;
}

bool TSkinButton::BeforeMessage(TMessage& message) {
    // A skin without every face leaves the button to the system.
    if (!Faces()) return TSkinControl::BeforeMessage(message);
    switch (message.Msg) {
    case WM_PAINT:
        OwnerPaint(message);
        return false;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    case WM_TIMER:
        KillTimer(Window, 1);
        SetWindowLongPtrW(Window, GWL_STYLE, GetWindowLong(GWL_STYLE));
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (GetFocus() != Window) SetFocus(Window);
        MouseState |= kMousePressed;
        PaintFrame(nullptr);
        if (Mode == 0 && Control) MouseDownFromMessage(message);
        // The button's own procedure never sees the press, so it never
        // captures the mouse nor reports a click of its own.
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinButton::TrackHot() {
    if (EnabledLook && !(MouseState & kMouseHot)) {
        MouseState |= kMouseHot;
        Repaint();
    }
    TrackMouseLeave(Window);
}

void TSkinButton::ClickControl() {
    if (Control) {
        Control->Click();
        return;
    }
    const bool libraryButton = AsciiLower(WindowClassName(Window)) == L"tbutton";
    const WPARAM id = libraryButton ? 0 : static_cast<WPARAM>(GetDlgCtrlID(Window));
    PostMessageW(GetParent(Window), WM_COMMAND, id, reinterpret_cast<LPARAM>(Window));
}

void TSkinButton::AfterMessage(TMessage& message) {
    if (!Faces()) {
        TSkinControl::AfterMessage(message);
        return;
    }
    switch (message.Msg) {
    case WM_SETTEXT:
        PaintFrame(nullptr);
        break;
    case WM_KEYDOWN:
        if (message.WParam == VK_SPACE) {
            MouseState |= kMousePressed;
            Repaint();
        }
        break;
    case WM_KEYUP:
        if (message.WParam == VK_SPACE) {
            MouseState &= static_cast<std::uint8_t>(~kMousePressed);
            Repaint();
        }
        break;
    case WM_MOUSEMOVE:
        EnabledLook = !(GetWindowLong(GWL_STYLE) & WS_DISABLED);
        TrackHot();
        break;
    case WM_LBUTTONUP:
        if (MouseState & kMousePressed) {
            MouseState &= static_cast<std::uint8_t>(~kMousePressed);
            Repaint();
            ClickControl();
        }
        break;
    case WM_MOUSELEAVE:
        MouseState &= static_cast<std::uint8_t>(~(kMouseHot | kMousePressed));
        Repaint();
        break;
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED:
        Repaint();
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

int TSkinButton::FaceIndex() const {
    return PushButtonFace(Focused, MouseState & kMousePressed, MouseState & kMouseHot, EnabledLook);
}

std::wstring TSkinButton::CaptionText() const {
    if (Control) return Control->GetProperty(L"Caption").AsText();
    const int length = GetWindowTextLengthW(Window);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(Window, text.data(), length + 1)));
    return text;
}

bool TSkinButton::RightToLeft() const {
    TControl* target = RedrawTarget ? RedrawTarget : Control;
    if (!target) return false;
    const std::wstring mode = target->GetProperty(L"BiDiMode").AsText();
    return !mode.empty() && AsciiLower(mode) != L"bdlefttoright";
}

HDC TSkinButton::ComposeFace(const RECT& rect, int face, bool drawFace) {
    const RECT local{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    Offscreen.SetSize(local.right, local.bottom);
    HDC dc = Offscreen.Canvas()->Handle();
    FillFace(dc, local);
    if (Transparent) PaintParentInto(RedrawTarget ? RedrawTarget : Control, dc);
    if (drawFace)
        if (TDataSkinButton* faces = Faces())
            DrawElement(dc, local, faces->Bitmap, false, faces->Tile != 0, faces->Trans != 0, faces->Frame, face,
                        faces->Margins);
    return dc;
}

void TSkinButton::Present(HDC dc, const RECT& rect) {
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, Offscreen.Canvas()->Handle(), 0,
           0, SRCCOPY);
}

TSkinButton::CaptionStyle::CaptionStyle(TSkinButton& painter, HDC dc, int face)
    : font_(dc, FontOf(painter.RedrawTarget ? painter.RedrawTarget : painter.Control, painter.Window)) {
    TControl* control = painter.RedrawTarget ? painter.RedrawTarget : painter.Control;
    TColor colour = painter.SkinData ? painter.SkinData->ButtonTextColour : clBtnText;
    if (control)
        if (auto* font = As<TFont>(control->GetProperty(L"Font").AsObject())) colour = font->Color();
    if (const TDataSkinButton* faces = painter.SkinData ? painter.SkinData->Buttons.get() : nullptr) {
        if (face == bfNormal && faces->HasNormalColour2) colour = faces->NormalColour2;
        if (face == bfHot && faces->HasMouseOverColour2) colour = faces->MouseOverColour2;
        if (face == bfPressed && faces->HasPressedColour2) colour = faces->PressedColour2;
    }
    if (face == bfDisabled) colour = clGrayText;
    SetTextColor(dc, ColorToRGB(colour));
}

void TSkinButton::Draw(HDC dc, const RECT& rect) {
    if (!Faces() || rect.right <= rect.left || rect.bottom <= rect.top) return;
    Focused = GetFocus() == Window;
    EnabledLook = !(GetWindowLong(GWL_STYLE) & WS_DISABLED);
    const int face = FaceIndex();
    HDC canvas = ComposeFace(rect, face);
    {
        CaptionStyle style(*this, canvas, face);
        const bool focusRect = Focused && !(SkinData->Options() & SetBit(xoNoFocusRect));
        DrawButtonCaption(canvas, CaptionText(), RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top},
                          DT_CENTER, RightToLeft(), focusRect);
    }
    Present(dc, rect);
}
