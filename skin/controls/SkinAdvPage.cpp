#include "skin/controls/SkinAdvPage.h"

#include <commctrl.h>

#include "classlib/Bitmap.h"
#include "skin/controls/PainterFactory.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"

namespace {

constexpr int kExternalMode = 4;

TBitmap* PublishedBitmap(TControl* control, const wchar_t* name) {
    if (!control || !control->ClassType().FindProperty(name)) return nullptr;
    return As<TBitmap>(control->GetProperty(name).AsObject());
}

}  // namespace

const TClassInfo& TSkinAdvPage::StaticClass() {
    static const TClassInfo info(L"TSkinAdvPage", &TSkinControl::StaticClass(), {});
    return info;
}

void TSkinAdvPage::Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) {
    TSkinControl::Attach(form, skinData, colourFlag, canvas);
    if (Mode == kExternalMode) BuildImages();
}

void TSkinAdvPage::SkinChanged() {
    if (Mode == kExternalMode) BuildImages();
    TSkinControl::SkinChanged();
}

void TSkinAdvPage::Detach() {
    for (const wchar_t* name : {L"TabBackGround", L"TabBackGroundActive"})
        if (TBitmap* image = PublishedBitmap(Control, name)) image->Clear();
    if (Control) Control->Invalidate();
    TSkinControl::Detach();
}

void TSkinAdvPage::BuildImages() {
    if (!SkinData || !SkinData->Tabs) return;
    TDataSkinBorder& tabs = *SkinData->Tabs;
    const RECT size{0, 0, kImageWidth, kImageHeight};
    int frame = 1;
    for (const wchar_t* name : {L"TabBackGround", L"TabBackGroundActive"}) {
        TBitmap* image = PublishedBitmap(Control, name);
        // The centre tiles exactly when the element is drawn transparent.
        UniqueBitmap built =
            BuildElementBitmap(size, tabs.Bitmap, tabs.Margins, false, tabs.Trans == 1, tabs.Frame, frame++);
        if (image && built) image->SetHandle(built.release());
    }
    if (Control) Control->Invalidate();
}

void TSkinAdvPage::Draw(HDC, const RECT&) {
    if (Scroller || !Window) return;
    if (HWND arrows = FindWindowExW(Window, nullptr, UPDOWN_CLASSW, nullptr)) {
        Scroller = MakePainter(PainterOf(TPainterKind::UpDown), *this);
        if (Scroller) Scroller->AttachHandle(arrows, SkinData, SkinnedForm, Canvas);
    }
}
