#include "skin/controls/ButtonCaption.h"

#include "skin/data/TextHelpers.h"

std::wstring TwoLineCaption(std::wstring caption) {
    for (std::size_t at = caption.find(L"||"); at != std::wstring::npos; at = caption.find(L"||", at + 2))
        caption.replace(at, 2, L"\r\n");
    return caption;
}

void DrawButtonCaption(HDC dc, const std::wstring& caption, RECT rect, UINT alignment, bool rtl, bool focusRect) {
    const std::wstring text = TwoLineCaption(caption);
    InflateRect(&rect, -2, -2);
    SetBkMode(dc, TRANSPARENT);
    RECT box = rect;
    DrawTextAuto(dc, text, box, alignment | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
    const int width = box.right - box.left, height = box.bottom - box.top;
    if (alignment & DT_CENTER) {
        box.left = rect.left + (rect.right - rect.left - width) / 2;
        box.right = box.left + width;
    } else {
        box.left = rect.left;
        box.right = rect.right;
    }
    box.top = rect.top + (rect.bottom - rect.top - height) / 2;
    box.bottom = box.top + height;
    DrawTextAuto(dc, text, box, alignment | DT_EXPANDTABS | DT_WORDBREAK | (rtl ? DT_RTLREADING : 0));
    if (focusRect) {
        InflateRect(&box, 2, 2);
        DrawFocusRect(dc, &box);
    }
}
