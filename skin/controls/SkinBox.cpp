#include "skin/controls/SkinBox.h"

#include <algorithm>

#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"

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
    if (form && std::find(form->SkinnedControls.begin(), form->SkinnedControls.end(), this) == form->SkinnedControls.end())
        form->SkinnedControls.push_back(this);
    if (ColourFlag && Control && SkinData) {
        SavedColour = Control->Color();
        Control->SetColor(SkinData->ButtonFaceColour);
    }
    Attached = true;
    State = kStateAttached;
}

void TSkinBox::Detach() {
    if (ColourFlag && Control && State != kStateColourKept) Control->SetColor(SavedColour);
    State = kStateDetached;
}
