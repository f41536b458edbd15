#include "skin/controls/SkinCheckBox.h"

#include <algorithm>

#include "classlib/Graphics.h"
#include "classlib/Messages.h"
#include "skin/controls/DiscoveryText.h"
#include "skin/controls/SkinButton.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinElements.h"
#include "skin/data/TextHelpers.h"
#include "skin/data/WinSkinData.h"

namespace {

constexpr UINT kCheckRepaint = 0xB0D0;  // sent by other modules' controls

bool Contains(const std::wstring& text, const wchar_t* part) { return text.find(part) != std::wstring::npos; }

}  // namespace

int CheckBoxFrame(int index, bool disabled, bool indeterminate, int frames) {
    if (disabled) index += 2;
    if (indeterminate) index = 4;
    if (frames == 12) {
        if (indeterminate) return disabled ? 12 : 9;
        if (index == 2) return 5;
        if (index == 3) return 4;
        if (index == 4) return 8;
    }
    return index;
}

int RadioButtonFrame(int index, bool disabled, int frames) {
    if (disabled) index += 2;
    if (frames == 8) {
        if (index == 2) return 5;
        if (index == 3) return 4;
        if (index == 4) return 8;
    }
    return index;
}

const TClassInfo& TSkinCheckBox::StaticClass() {
    static const TClassInfo info(L"TSkinCheckBox", &TSkinControl::StaticClass(), {});
    return info;
}

TSkinCheckBox::TSkinCheckBox(TComponent* owner) : TSkinControl(owner) {}

TBitmap* UsableStrip(TBitmap& strip, int stripFrames, int& frames) {
    if (strip.Empty() || stripFrames < 1 || strip.Width() < stripFrames) return nullptr;
    frames = stripFrames;
    return &strip;
}

TBitmap* TSkinCheckBox::Strip(int& frames) const {
    TDataSkinButton* faces = SkinData ? SkinData->Buttons.get() : nullptr;
    return faces ? UsableStrip(faces->CheckBitmap, faces->CheckFrames, frames) : nullptr;
}

void TSkinCheckBox::ChooseMode() {
    int frames = 0;
    Mode = Control && Strip(frames) ? 1 : 0;
    Transparent = TransparentByTagOrSkin(Control, SkinData);
}

void TSkinCheckBox::Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) {
    if (Attached) return;
    TSkinControl::Attach(form, skinData, colourFlag, canvas);
    RememberedState = 0;
    ChooseMode();
}

void TSkinCheckBox::AttachHandle(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
    TSkinControl::AttachHandle(wnd, skinData, form, canvas);
    ChooseMode();
}

void TSkinCheckBox::SkinChanged() {
    ChooseMode();
    TSkinControl::SkinChanged();
}

bool TSkinCheckBox::BeforeMessage(TMessage& message) {
    if (!TSkinControl::BeforeMessage(message)) return false;
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (Mode != 1) return true;
        OwnerPaint(message);
        return false;
    case WM_ERASEBKGND: {
        if (!Transparent) return true;
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        if (Control) {
            PaintParentInto(Control, dc);
        } else {
            RECT r{};
            GetClientRect(Window, &r);
            FillParentColour(dc, r);
        }
        message.Result = 1;
        return false;
    }
    default:
        return true;
    }
}

void TSkinCheckBox::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case BM_SETCHECK:
        RememberedState = static_cast<int>(message.WParam) + 1;
        Repaint();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case kCheckRepaint:
        Repaint();
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

int TSkinCheckBox::FrameIndex(int frames) {
    const auto state = static_cast<UINT>(SendMessageW(Window, BM_GETSTATE, 0, 0));
    int index = state & BST_CHECKED ? 2 : 1;
    if (Control) {
        if (Control->HasProperty(L"State")) {
            const std::wstring value = AsciiLower(Control->GetProperty(L"State").AsText());
            index = Contains(value, L"uncheck") ? 1 : Contains(value, L"check") ? 2 : Contains(value, L"gray") ? 4 : index;
        } else if (Control->HasProperty(L"Checked")) {
            index = Control->GetProperty(L"Checked").AsBoolean() ? 2 : 1;
        }
        if (Control->HasProperty(L"DataField") && RememberedState != 0)
            index = RememberedState == 3 ? 4 : RememberedState;
        if (Control->HasProperty(L"DataBinding")) index = 1;
    }
    const bool disabled = GetWindowLong(GWL_STYLE) & WS_DISABLED;
    return CheckBoxFrame(index, disabled, state & BST_INDETERMINATE, frames);
}

void TSkinCheckBox::Draw(HDC dc, const RECT& rect) {
    int frames = 0;
    TBitmap* strip = Strip(frames);
    if (!strip) {
        Mode = 0;
        return;
    }
    const int fw = strip->Width() / frames, fh = strip->Height();
    const int index = std::clamp(FrameIndex(frames), 1, frames);
    const bool leftText = GetWindowLong(GWL_STYLE) & BS_LEFTTEXT;
    RECT box{rect.left, rect.top + (rect.bottom - rect.top - fh) / 2, 0, 0};
    RECT text = rect;
    UINT format = DT_LEFT;
    if (leftText) {
        box.left = rect.right - RightInset() - fw;
        text.right = box.left - 2;
        if (Control) {
            const std::wstring bidi = Control->GetProperty(L"BiDiMode").AsText();
            if (!bidi.empty() && AsciiLower(bidi) != L"bdlefttoright") format = DT_RIGHT | DT_RTLREADING;
        }
    } else {
        text.left = box.left + fw + 2;
    }
    box.right = box.left + fw;
    box.bottom = box.top + fh;

    if (Mode == 1 && !Transparent) FillFace(dc, rect);
    DrawFrameStretched(dc, box, *strip, true, frames, index);
    if (Mode != 1) return;

    const std::wstring caption = Control ? Control->GetProperty(L"Caption").AsText() : WindowText;
    auto* font = Control ? As<TFont>(Control->GetProperty(L"Font").AsObject()) : nullptr;
    HFONT handle = font ? font->Handle() : reinterpret_cast<HFONT>(SendMessageW(Window, WM_GETFONT, 0, 0));
    TColor colour = font ? font->Color() : SkinData->ButtonTextColour;
    if (GetWindowLong(GWL_STYLE) & WS_DISABLED) colour = clGrayText;
    SavedDC saved(dc);
    SelectedObject selected(dc, handle);
    SetTextColor(dc, ColorToRGB(colour));
    SetBkColor(dc, ColorToRGB(SkinData->ButtonFaceColour));
    SetBkMode(dc, TRANSPARENT);
    RECT measured = text;
    DrawTextAuto(dc, caption, measured, format | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
    const int height = measured.bottom - measured.top;
    text.top = rect.top + (rect.bottom - rect.top - height) / 2;
    text.bottom = text.top + height;
    if (GetFocus() == Window && !caption.empty()) DrawFocusAroundText(dc, format, text);
    DrawTextAuto(dc, caption, text, format | DT_EXPANDTABS | DT_WORDBREAK);
}
