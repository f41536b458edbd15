#include "skin/controls/SkinTabBtn.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/Handles.h"
#include "skin/controls/TabItems.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"

const TClassInfo& TSkinTabBtn::StaticClass() {
    static const TClassInfo info(L"TSkinTabBtn", &TSkinControl::StaticClass(), {});
    return info;
}

bool TSkinTabBtn::BeforeMessage(TMessage& message) {
    if (!TSkinControl::BeforeMessage(message)) return false;
    if (message.Msg != WM_PAINT && message.Msg != WM_PRINTCLIENT) return true;
    OwnerPaint(message);
    return false;
}

void TSkinTabBtn::Draw(HDC dc, const RECT& rect) {
    if (!SkinData || !SkinData->Buttons || SkinData->Buttons->Bitmap.Empty()) return;
    TDataSkinButton& buttons = *SkinData->Buttons;
    const RECT display = TabDisplayArea(Window, rect, 0);
    const RECT strip{0, 0, rect.right - rect.left, std::min<LONG>(display.top + 1, rect.bottom)};
    if (strip.right <= 0 || strip.bottom <= 0) return;

    UniqueBitmap composition(CreateCompositionBitmap(strip.right, strip.bottom));
    MemoryDC target(dc, composition.get());
    FillFace(target.get(), strip);
    SelectedObject font(target.get(), reinterpret_cast<HFONT>(SendMessageW(Window, WM_GETFONT, 0, 0)));
    SetBkMode(target.get(), TRANSPARENT);
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Window, TCM_GETIMAGELIST, 0, 0));
    const int focused = static_cast<int>(SendMessageW(Window, TCM_GETCURFOCUS, 0, 0));
    const int count = static_cast<int>(SendMessageW(Window, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT face{};
        if (!SendMessageW(Window, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&face))) continue;
        OffsetRect(&face, 0, 1);
        const int frame = i == focused ? 2 : 1;
        DrawElement(target.get(), face, buttons.Bitmap, false, buttons.Tile == 1, buttons.Trans == 1, buttons.Frame,
                    frame, buttons.Margins);
        COLORREF colour = RGB(0, 0, 0);
        if (frame == 1 && buttons.HasNormalColour2) colour = ColorToRGB(buttons.NormalColour2);
        if (frame == 2 && buttons.HasPressedColour2) colour = ColorToRGB(buttons.PressedColour2);
        SetTextColor(target.get(), colour);
        int image = -1;
        const std::wstring text = TabItemText(Window, UnicodeWindow, i, image);
        DrawTabItemContent(target.get(), face, text, images, image);
    }
    BitBlt(dc, 0, 0, strip.right, strip.bottom, target.get(), 0, 0, SRCCOPY);
}
