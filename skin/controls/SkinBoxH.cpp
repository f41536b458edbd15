#include "skin/controls/SkinBoxH.h"

#include "skin/data/WinSkinData.h"

const TClassInfo& TSkinBoxH::StaticClass() {
    static const TClassInfo info(L"TSkinBoxH", &TSkinControl::StaticClass(), {});
    return info;
}

bool TSkinBoxH::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND: {
        RECT r{};
        GetWindowRect(Window, &r);
        OffsetRect(&r, -r.left, -r.top);
        FillFace(reinterpret_cast<HDC>(message.WParam), r);
        message.Result = 0;
        return false;
    }
    case WM_CTLCOLORSTATIC:
        CallPrevious(message);
        if (SkinData && SkinData->FaceBrush()) message.Result = reinterpret_cast<LRESULT>(SkinData->FaceBrush());
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}
