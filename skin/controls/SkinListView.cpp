#include "skin/controls/SkinListView.h"

#include <commctrl.h>

#include "skin/controls/SkinHeader.h"

const TClassInfo& TSkinListView::StaticClass() {
    static const TClassInfo info(L"TSkinListView", &TSkinScrollbar::StaticClass(), {});
    return info;
}

void TSkinListView::AttachScroll(TControl* control, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
    TSkinScrollbar::AttachScroll(control, skinData, form, canvas);
    if (!Attached || Header) return;
    const auto header = reinterpret_cast<HWND>(SendMessageW(Window, LVM_GETHEADER, 0, 0));
    if (!header) return;
    // Owned by this painter, so the header's painter ends with the list
    // view's and never outlives its window.
    Header = TComponent::Create<TSkinHeader>(this);
    Header->AttachHandle(header, skinData, form, canvas);
}
