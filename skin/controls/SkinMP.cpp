#include "skin/controls/SkinMP.h"

#include "classlib/Forms.h"
#include "classlib/Messages.h"
#include "skin/controls/WMediaPlayer.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"

const TClassInfo& TSkinMP::StaticClass() {
    static const TClassInfo info(L"TSkinMP", &TSkinControl::StaticClass(), {});
    return info;
}

TSkinMP::TSkinMP(TComponent* owner) : TSkinControl(owner) {}

TSkinMP::~TSkinMP() {
    if (Panel) Panel->Free();
}

void TSkinMP::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == Panel) Panel = nullptr;
}

void TSkinMP::Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) {
    if (Attached) return;
    TSkinControl::Attach(form, skinData, colourFlag, canvas);
    if (!Control || !Control->Parent()) return;
    TComponent* owner = form && form->Form ? static_cast<TComponent*>(form->Form) : Control->Parent();
    Panel = TComponent::Create<TWMediaPlayer>(owner, Control, skinData);
    // Discovery must leave the bar alone.
    Panel->FreeNotification(this);
    Panel->SetTag(skinData ? skinData->DisableTag() : TSkinData::kDefaultDisableTag);
    Panel->SetParent(Control->Parent());
    FollowPlayer();
}

void TSkinMP::FollowPlayer() {
    if (!Panel || !Control) return;
    const RECT r = Control->BoundsRect();
    Panel->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    Panel->SetVisible(Control->Visible());
    Panel->BringToFront();
}

void TSkinMP::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_WINDOWPOSCHANGED:
    case CM_VISIBLECHANGED:
        FollowPlayer();
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinMP::Detach() {
    TSkinControl::Detach();
    if (Panel && State != kStateClosed) Panel->Free();
    Panel = nullptr;
}

void TSkinMP::SkinChanged() {
    TSkinControl::SkinChanged();
    if (Panel) Panel->Invalidate();
}
