#include "skin/controls/WinSubClass.h"

#include <algorithm>
#include <vector>

#include "classlib/Handles.h"
#include "classlib/Messages.h"
#include "skin/SkinMessages.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"

namespace {

std::wstring WindowTextOf(HWND wnd, bool unicode) {
    if (unicode) {
        const int length = GetWindowTextLengthW(wnd);
        std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(std::max(GetWindowTextW(wnd, text.data(), length + 1), 0)));
        return text;
    }
    char buffer[1000] = {};
    const auto length = static_cast<int>(SendMessageA(wnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)));
    std::wstring text(static_cast<std::size_t>(std::clamp(length, 0, 999)) + 1, L'\0');
    const int wide = MultiByteToWideChar(CP_ACP, 0, buffer, std::clamp(length, 0, 999), text.data(), 1000);
    text.resize(static_cast<std::size_t>(std::max(wide, 0)));
    return text;
}

}  // namespace

const TClassInfo& TSkinControl::StaticClass() {
    static const TClassInfo info(L"TSkinControl", &TComponent::StaticClass(), {});
    return info;
}

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {}

TSkinControl::~TSkinControl() {
    // Teardown order: stop dispatching to this object, then leave the list.
    // A control that is being destroyed has already lost its message path.
    hook_.Restore(!Control || Control->IsDestroying() || (Owner() && Owner()->IsDestroying()));
    subclass_.Restore();
    if (SkinnedForm) std::erase(SkinnedForm->SkinnedControls, this);
    if (SkinnedForm && SkinnedForm->OpenDropDown == this) SkinnedForm->OpenDropDown = nullptr;
}

void TSkinControl::Bind(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) {
    ColourFlag = colourFlag;
    SkinData = skinData;
    SkinnedForm = form;
    Canvas = canvas;
    Control = As<TControl>(Owner());
}

void TSkinControl::Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) {
    if (Attached) return;
    Bind(form, skinData, colourFlag, canvas);
    if (!Control) return;
    if (auto* windowed = As<TWinControl>(Control)) {
        Window = windowed->Handle();
        UnicodeWindow = IsWindowUnicode(Window) != FALSE;
    }
    hook_.Install(Control, [this](TMessage& message) { MessageProc(message); });
    JoinForm(form);
    TakeControlColour();
    Control->Invalidate();
    Attached = true;
    State = kStateAttached;
}

void TSkinControl::AttachHandle(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
    if (Attached || !IsWindow(wnd)) return;
    SkinData = skinData;
    Canvas = canvas;
    SkinnedForm = form;
    Window = wnd;
    EnabledLook = true;
    Mode = 0;
    JoinForm(form);
    UnicodeWindow = IsWindowUnicode(wnd) != FALSE;
    WindowText = WindowTextOf(wnd, UnicodeWindow);
    subclass_.Install(wnd, [this](HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
        TMessage message{msg, wParam, lParam, 0};
        MessageProc(message);
        return message.Result;
    });
    InvalidateRect(wnd, nullptr, TRUE);
    Attached = true;
    State = kStateAttached;
}

void TSkinControl::JoinForm(TWinSkinForm* form) {
    if (form && std::find(form->SkinnedControls.begin(), form->SkinnedControls.end(), this) == form->SkinnedControls.end())
        form->SkinnedControls.push_back(this);
}

void TSkinControl::TakeControlColour() {
    if (!ColourFlag || !Control || !SkinData) return;
    SavedColour = Control->Color();
    Control->SetColor(SkinData->ButtonFaceColour);
}

void TSkinControl::Detach() {
    if (ColourFlag && Control) Control->SetColor(SavedColour);
}

void TSkinControl::MessageProc(TMessage& message) {
    if (message.Msg == SKM_ENABLESKIN) {
        PaintingOn = static_cast<LONG_PTR>(message.WParam) > 0;
        PaintingSwitched();
        return;
    }
    if (!PaintingOn) {
        CallPrevious(message);
        return;
    }
    if (BeforeMessage(message)) {
        CallPrevious(message);
        AfterMessage(message);
    }
}

bool TSkinControl::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_NCDESTROY:
        CallPrevious(message);
        PaintingOn = false;
        State = kStateClosed;
        Detach();
        // A bare window gets its procedure back while it is still a window.
        subclass_.Restore();
        return false;
    case SKM_ISSKINNED:
        message.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinControl::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
        Repaint();
        break;
    case WM_PAINT:
        PaintFrame(reinterpret_cast<HDC>(message.WParam));
        break;
    case SKM_ENABLESKIN:
        PaintingOn = static_cast<LONG_PTR>(message.WParam) > 0;
        break;
    default:
        break;
    }
}

void TSkinControl::PaintFrame(HDC dc) {
    RECT r{};
    if (!Window || !GetWindowRect(Window, &r)) return;
    WindowRect = r;
    OffsetRect(&r, -r.left, -r.top);
    try {
        if (dc) {
            Draw(dc, r);
        } else {
            WindowDC windowDC(Window, true);
            if (windowDC.get()) Draw(windowDC.get(), r);
        }
    } catch (...) {
        // A painting failure never reaches the control.
    }
}

void TSkinControl::OwnerPaint(TMessage& message) {
    struct Painting {
        HWND wnd;
        PAINTSTRUCT ps{};
        HDC dc;
        explicit Painting(HWND w, HDC given) : wnd(w), dc(given ? given : BeginPaint(w, &ps)) {}
        ~Painting() {
            if (ps.hdc) EndPaint(wnd, &ps);
        }
        Painting(const Painting&) = delete;
        Painting& operator=(const Painting&) = delete;
    } painting(Window, reinterpret_cast<HDC>(message.WParam));
    message.Result = 0;
    RECT r{};
    if (!GetWindowRect(Window, &r)) return;
    WindowRect = r;
    OffsetRect(&r, -r.left, -r.top);
    try {
        Draw(painting.dc, r);
    } catch (...) {
        // A painting failure never reaches the control.
    }
}

void TSkinControl::Draw(HDC, const RECT&) {}

bool TSkinControl::PaintsWholeWindow(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        OwnerPaint(message);
        return true;
    case WM_ERASEBKGND:
        message.Result = 1;
        return true;
    default:
        return false;
    }
}

void TSkinControl::PaintingSwitched() {
    if (PaintingOn) Repaint();
}

void TSkinControl::SkinChanged() {
    if (ColourFlag && Control && SkinData) Control->SetColor(SkinData->ButtonFaceColour);
    Repaint();
}

void TSkinControl::CallPrevious(TMessage& message) {
    if (hook_.Installed()) {
        hook_.CallPrevious(message);
        return;
    }
    message.Result = subclass_.CallPrevious(message.Msg, message.WParam, message.LParam);
}

void TSkinControl::Repaint() {
    if (RedrawTarget) {
        RedrawTarget->Invalidate();
        return;
    }
    if (!Window) return;
    InvalidateRect(Window, nullptr, TRUE);
    UpdateWindow(Window);
}

void TSkinControl::FillFace(HDC dc, const RECT& rect) const {
    FillInColour(dc, rect, SkinData ? SkinData->ButtonFaceColour : clBtnFace);
}

void TSkinControl::FillParentColour(HDC dc, const RECT& rect) const {
    if (Control && Control->Parent())
        FillInColour(dc, rect, Control->Parent()->Color());
    else
        FillFace(dc, rect);
}

LONG_PTR TSkinControl::GetWindowLong(int index) const {
    return UnicodeWindow ? ::GetWindowLongPtrW(Window, index) : ::GetWindowLongPtrA(Window, index);
}

void TSkinControl::DrawFocusAroundText(HDC dc, UINT format, const RECT& rect) const {
    RECT box = rect;
    const std::wstring text = Control ? Control->Caption() : WindowText;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format | DT_CALCRECT | DT_NOCLIP);
    const int width = box.right - box.left, height = box.bottom - box.top;
    if (format & DT_CENTER) {
        box.left = rect.left + (rect.right - rect.left - width) / 2;
        box.top = rect.top + (rect.bottom - rect.top - height) / 2;
    } else if (format & DT_RIGHT) {
        box.left = rect.right - width;
        box.top = rect.top;
    } else {
        box.left = rect.left;
        box.top = rect.top;
    }
    box.right = box.left + width;
    box.bottom = box.top + height;
    InflateRect(&box, 2, 1);
    IntersectRect(&box, &box, &rect);
    DrawFocusRect(dc, &box);
}

void TSkinControl::MouseDownFromMessage(const TMessage& message) {
    if (!Control) return;
    POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
    if (Control->Width() > 32768 || Control->Height() > 32768) {
        GetCursorPos(&p);
        p = Control->ScreenToClient(p);
    }
    TShiftState shift = ssLeft;
    if (message.WParam & MK_SHIFT) shift |= ssShift;
    if (message.WParam & MK_CONTROL) shift |= ssCtrl;
    Control->MouseDown(TMouseButton::mbLeft, shift, p.x, p.y);
}

void PaintParentInto(TControl* control, HDC dc) {
    if (!control || !control->Parent()) return;
    TWinControl* parent = control->Parent();
    const RECT client = control->ClientRect();
    SavedDC saved(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - control->Left(), origin.y - control->Top(), nullptr);
    IntersectClipRect(dc, control->Left(), control->Top(), control->Left() + client.right,
                      control->Top() + client.bottom);
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
    parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
}
