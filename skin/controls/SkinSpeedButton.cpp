#include "skin/controls/SkinSpeedButton.h"

#include "classlib/Messages.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinElements.h"

namespace {

bool PublishedTrue(const TObject& control, const wchar_t* name) {
    return SameText(control.GetProperty(name).AsText(), L"true");
}

}  // namespace

const TClassInfo& TSkinSpeedButton::StaticClass() {
    static const TClassInfo info(L"TSkinSpeedButton", &TSkinBitButton::StaticClass(), {});
    return info;
}

void TSkinSpeedButton::Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) {
    if (Attached) return;
    TSkinButton::Attach(form, skinData, colourFlag, canvas);
    RedrawTarget = Control;
}

bool TSkinSpeedButton::BeforeMessage(TMessage& message) {
    if (!Control || !Faces()) return TSkinControl::BeforeMessage(message);
    switch (message.Msg) {
    case WM_PAINT: {
        auto* graphic = As<TGraphicControl>(Control);
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        if (!graphic || !dc) return true;
        TCanvas& canvas = *graphic->Canvas();
        canvas.SetHandle(dc);
        try {
            Draw(canvas.Handle(), Control->ClientRect());
        } catch (...) {
            // A painting failure never reaches the control.
        }
        canvas.SetHandle(nullptr);
        message.Result = 1;
        return false;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallPrevious(message);
        MouseState |= kMousePressed;
        Repaint();
        return false;
    case WM_ENABLE:
    case CM_FOCUSCHANGED:
    case CM_ENABLEDCHANGED:
        CallPrevious(message);
        return false;
    case CM_RELEASE:
        // The control is about to go: from here on it gets its messages unchanged.
        PaintingOn = false;
        return true;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinSpeedButton::AfterMessage(TMessage& message) {
    if (!Control || !Faces()) {
        TSkinControl::AfterMessage(message);
        return;
    }
    switch (message.Msg) {
    case WM_LBUTTONUP:
        MouseState &= static_cast<std::uint8_t>(~kMousePressed);
        Repaint();
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (message.WParam == VK_SPACE) {
            if (message.Msg == WM_KEYDOWN) MouseState |= kMousePressed;
            else MouseState &= static_cast<std::uint8_t>(~kMousePressed);
            Repaint();
        }
        break;
    case CM_MOUSEENTER:
        MouseState |= kMouseHot;
        Repaint();
        break;
    case CM_MOUSELEAVE:
        MouseState &= static_cast<std::uint8_t>(~(kMouseHot | kMousePressed));
        if (Control->Visible()) Repaint();
        break;
    default:
        break;
    }
}

int TSkinSpeedButton::FaceIndex() const {
    if (PublishedTrue(*Control, L"Down")) return bfPressed;
    if (!Control->Enabled()) return bfDisabled;
    if (MouseState & kMousePressed) return bfPressed;
    return MouseState & kMouseHot ? bfHot : bfNormal;
}

void TSkinSpeedButton::Draw(HDC dc, const RECT& rect) {
    if (Drawing || !Control || !Faces() || rect.right <= rect.left || rect.bottom <= rect.top) return;
    Drawing = true;
    try {
        const int face = FaceIndex();
        const bool drawFace = face == bfPressed || face == bfHot || !PublishedTrue(*Control, L"Flat");
        HDC canvas = ComposeFace(rect, face, drawFace);
        const bool down = PublishedTrue(*Control, L"Down");
        const int glyphFrame = down ? 4 : (MouseState & kMousePressed) ? 3 : !Control->Enabled() ? 2 : 1;
        DrawGlyphAndCaption(canvas, RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top}, glyphFrame, face);
        Present(dc, rect);
    } catch (...) {
        Drawing = false;
        throw;
    }
    Drawing = false;
}
