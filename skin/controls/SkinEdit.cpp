#include "skin/controls/SkinEdit.h"

#include <cwctype>
#include <string>

#include "classlib/Handles.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/data/WinSkinData.h"

namespace {

// Asks for the control's client painted into the DC in wParam (the
// answer is the same number, so the asker knows it was understood).
constexpr UINT kPaintClientInto = 0xBC4A;
constexpr LPARAM kPaintClientMagic = 16802;

bool IsUpDownClass(HWND wnd) {
    wchar_t name[64] = {};
    GetClassNameW(wnd, name, 64);
    std::wstring lower(name);
    for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
    return lower == L"msctls_updown32" || lower.find(L"spin") != std::wstring::npos ||
           lower.find(L"updown") != std::wstring::npos;
}

}  // namespace

void DrawEditBorder(HWND wnd, HDC dc, const RECT& rect, TColor shadow, int whiteFrames) {
    RECT client{};
    GetClientRect(wnd, &client);
    if (client.right >= rect.right - rect.left || client.bottom >= rect.bottom - rect.top) return;
    FrameInColour(dc, rect, shadow);
    RECT inner = rect;
    for (int i = 0; i < whiteFrames; ++i) {
        InflateRect(&inner, -1, -1);
        FrameInColour(dc, inner, 0xFFFFFF);
    }
}

const TClassInfo& TSkinEdit::StaticClass() {
    static const TClassInfo info(L"TSkinEdit", &TSkinControl::StaticClass(), {});
    return info;
}

TSkinEdit::TSkinEdit(TComponent* owner) : TSkinControl(owner) {}


void TSkinEdit::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == Buddy) Buddy = nullptr;
}

void TSkinEdit::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        PaintFrame(reinterpret_cast<HDC>(message.WParam));
        break;
    case WM_PRINTCLIENT: {
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        if (dc) {
            PrintBorder(dc);
        } else {
            WindowDC windowDC(Window, true);
            if (windowDC.get()) PrintBorder(windowDC.get());
        }
        break;
    }
    case kPaintClientInto:
        if (message.LParam == kPaintClientMagic && message.WParam) {
            TMessage paint{WM_PAINT, message.WParam, 0, 0};
            CallPrevious(paint);
            message.Result = kPaintClientMagic;
        }
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinEdit::PrintBorder(HDC dc) {
    RECT window{}, client{};
    if (!GetWindowRect(Window, &window) || !GetClientRect(Window, &client)) return;
    OffsetRect(&window, -window.left, -window.top);
    if (window.right - client.right <= 2 || window.bottom - client.bottom <= 2) return;
    RECT inner = window;
    InflateRect(&inner, -1, -1);
    FrameRect(dc, &inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
    FrameInColour(dc, window, SkinData->ButtonShadowColour);
}

void TSkinEdit::FindBuddy() {
    if (Buddy || !SkinData->HasSkinControl(xcSpin)) return;
    for (HWND child = GetWindow(Window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsUpDownClass(child)) continue;
        TComponent* owner = Control && Control->Owner() ? Control->Owner() : Owner();
        Buddy = TComponent::Create<TSkinUpDown>(owner);
        // The form may free the buddy's painter first (its window gone).
        Buddy->FreeNotification(this);
        Buddy->BuddyFlag = true;
        Buddy->AttachHandle(child, SkinData, SkinnedForm, Canvas);
        return;
    }
}

void TSkinEdit::Draw(HDC dc, const RECT& rect) {
    if (!SkinData) return;
    FindBuddy();
    DrawEditBorder(Window, dc, rect, SkinData->ButtonShadowColour, 2);
}
