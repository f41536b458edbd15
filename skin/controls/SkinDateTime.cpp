#include "skin/controls/SkinDateTime.h"

#include "skin/controls/ArrowButton.h"
#include "skin/controls/SkinEdit.h"
#include "skin/data/WinSkinData.h"

const TClassInfo& TSkinDateTime::StaticClass() {
    static const TClassInfo info(L"TSkinDateTime", &TSkinControl::StaticClass(), {});
    return info;
}

TSkinDateTime::TSkinDateTime(TComponent* owner) : TSkinControl(owner) {}

TSkinDateTime::~TSkinDateTime() { DropArrowButton(); }

void TSkinDateTime::Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) {
    if (Attached) return;
    TSkinControl::Attach(form, skinData, colourFlag, canvas);
    auto* picker = As<TWinControl>(Control);
    if (!picker || !Window) return;
    ArrowButton = TComponent::Create<TArrowButton>(this, picker, skinData);
    ArrowButton->SetParent(picker);
    ArrowButton->Place();
    const LONG_PTR style = ::GetWindowLongPtrW(Window, GWL_STYLE);
    // The picker must not paint its own button over ours.
    addedClipChildren_ = !(style & WS_CLIPCHILDREN);
    ::SetWindowLongPtrW(Window, GWL_STYLE, style | WS_CLIPCHILDREN);
}

void TSkinDateTime::DropArrowButton() {
    if (!ArrowButton) return;
    // Skinning ends with the picker as it was: its own button in view again.
    ArrowButton->Free();
    ArrowButton = nullptr;
    if (addedClipChildren_ && IsWindow(Window))
        ::SetWindowLongPtrW(Window, GWL_STYLE, ::GetWindowLongPtrW(Window, GWL_STYLE) & ~WS_CLIPCHILDREN);
    addedClipChildren_ = false;
    if (IsWindow(Window)) InvalidateRect(Window, nullptr, TRUE);
}

void TSkinDateTime::Detach() {
    TSkinControl::Detach();
    DropArrowButton();
}

void TSkinDateTime::Draw(HDC dc, const RECT& rect) {
    if (SkinData) DrawEditBorder(Window, dc, rect, SkinData->ButtonShadowColour, 1);
}
