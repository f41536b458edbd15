#include "skin/controls/SkinBox.h"

const TClassInfo& TSkinBox::StaticClass() {
    static const TClassInfo info(L"TSkinBox", &TSkinControl::StaticClass(), {});
    return info;
}

void TSkinBox::Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) {
    if (Attached) return;
    ColourFlag = colourFlag;
    SkinData = skinData;
    Canvas = canvas;
    SkinnedForm = form;
    Control = As<TControl>(Owner());
    if (auto* windowed = As<TWinControl>(Control); windowed && windowed->HandleAllocated())
        Window = windowed->WindowHandle();
    JoinForm(form);
    TakeControlColour();
    Attached = true;
    State = kStateAttached;
}

void TSkinBox::Detach() {
    if (ColourFlag && Control && State != kStateColourKept) Control->SetColor(SavedColour);
    State = kStateDetached;
}
