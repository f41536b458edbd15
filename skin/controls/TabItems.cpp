#include "skin/controls/TabItems.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace {

constexpr int kTextBuffer = 80;

}  // namespace

int TabPositionOf(LONG_PTR style) {
    if (style & TCS_VERTICAL) return (style & TCS_RIGHT) ? 3 : 2;
    return (style & TCS_BOTTOM) ? 1 : 0;
}

RECT TabDisplayArea(HWND tabs, const RECT& rect, int position) {
    RECT display = rect;
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    InflateRect(&display, 4, 4);
    switch (position) {
    case 0: ++display.top; break;
    case 1: --display.bottom; break;
    case 2: ++display.left; break;
    default: --display.right; break;
    }
    return display;
}

std::wstring TabItemText(HWND tabs, bool unicode, int index, int& image) {
    image = -1;
    if (unicode) {
        wchar_t text[kTextBuffer] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
        item.pszText = text;
        item.cchTextMax = kTextBuffer;
        if (!SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return {};
        image = item.iImage;
        return std::wstring(text, wcsnlen(text, kTextBuffer));
    }
    char text[kTextBuffer] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    item.pszText = text;
    item.cchTextMax = kTextBuffer;
    if (!SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return {};
    image = item.iImage;
    const int length = static_cast<int>(strnlen(text, kTextBuffer));
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    const int converted = MultiByteToWideChar(CP_ACP, 0, text, length, wide.data(), length);
    wide.resize(static_cast<std::size_t>(std::max(0, converted)));
    return wide;
}

void DrawTabItemContent(HDC dc, const RECT& face, const std::wstring& text, HIMAGELIST images, int image) {
    int imageWidth = 0, imageHeight = 0;
    if (!images || image < 0 || !ImageList_GetIconSize(images, &imageWidth, &imageHeight)) imageWidth = imageHeight = 0;
    RECT measured{0, 0, face.right - face.left, face.bottom - face.top};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP);
    const int textWidth = measured.right - measured.left, textHeight = measured.bottom - measured.top;
    const int x = face.left + std::max(1, static_cast<int>(face.right - face.left - imageWidth - textWidth) / 2);
    if (imageWidth > 0)
        ImageList_Draw(images, image, dc, x, face.top + (face.bottom - face.top - imageHeight) / 2, ILD_TRANSPARENT);
    const int top = face.top + static_cast<int>(face.bottom - face.top - textHeight) / 2;
    RECT place{x + imageWidth, top, face.right, top + textHeight};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &place, DT_SINGLELINE | DT_NOPREFIX);
}
