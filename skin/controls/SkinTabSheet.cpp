#include "skin/controls/SkinTabSheet.h"

#include "skin/data/WinSkinData.h"

const TClassInfo& TSkinTabSheet::StaticClass() {
    static const TClassInfo info(L"TSkinTabSheet", &TSkinControl::StaticClass(), {});
    return info;
}

bool TSkinTabSheet::BeforeMessage(TMessage& message) {
    if (!TSkinControl::BeforeMessage(message)) return false;
    if (Mode != 0 || !SkinData) return true;
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        OwnerPaint(message);
        return false;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(Window, &client);
        if (HBRUSH brush = SkinData->FaceBrush())
            FillRect(reinterpret_cast<HDC>(message.WParam), &client, brush);
        else
            FillFace(reinterpret_cast<HDC>(message.WParam), client);
        message.Result = 1;
        return false;
    }
    default:
        return true;
    }
}

void TSkinTabSheet::Draw(HDC dc, const RECT& rect) {
    FillFace(dc, rect);
    if (auto* page = As<TWinControl>(Control)) page->PaintControls(dc);
}
