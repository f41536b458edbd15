#include "skin/controls/SkinTab31.h"

#include <vector>

#include "classlib/Handles.h"
#include "classlib/TabSet.h"
#include "skin/controls/PainterFactory.h"
#include "skin/data/BitmapOps.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"

const TClassInfo& TSkinTab31::StaticClass() {
    static const TClassInfo info(L"TSkinTab31", &TSkinControl::StaticClass(), {});
    return info;
}

void TSkinTab31::Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) {
    auto* tabSet = As<TTabSet>(Owner());
    if (Attached || !tabSet) return;
    // The tab set paints in its window procedure: the painter sits there,
    // and keeps the control for its tabs.
    AttachHandle(tabSet->Handle(), skinData, form, canvas);
    Control = tabSet;
    ColourFlag = colourFlag;
    FlipTabs();
    if (tabSet->ComponentCount() > 0)
        if (auto* scroller = As<TScroller>(tabSet->Components(0))) {
            ScrollerControl = scroller;
            ScrollerPainter = MakePainter(PainterOf(TPainterKind::UpDown), *this);
            if (ScrollerPainter) {
                ScrollerPainter->AttachHandle(scroller->Handle(), skinData, form, canvas);
                ScrollerPainter->Mode = 1;  // its arrows lie side by side
            }
        }
}

void TSkinTab31::SkinChanged() {
    FlipTabs();
    TSkinControl::SkinChanged();
}

void TSkinTab31::FlipTabs() {
    TabBitmap.Clear();
    if (!SkinData || !SkinData->Tabs || SkinData->Tabs->Bitmap.Empty()) return;
    CloneBitmap(SkinData->Tabs->Bitmap, TabBitmap);
    FlipVertical(TabBitmap);
}

bool TSkinTab31::BeforeMessage(TMessage& message) {
    if (!TSkinControl::BeforeMessage(message)) return false;
    switch (message.Msg) {
    case WM_PAINT:
        // Painted now and again after the tab set's own paint (AfterMessage),
        // so its drawing never shows between the two.
        PaintFrame(reinterpret_cast<HDC>(message.WParam));
        return true;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinTab31::Draw(HDC dc, const RECT& rect) {
    auto* tabSet = As<TTabSet>(Control);
    if (!tabSet || TabBitmap.Empty() || rect.right <= rect.left || rect.bottom <= rect.top) return;
    TDataSkinBorder& tabs = *SkinData->Tabs;
    UniqueBitmap composition(CreateCompositionBitmap(rect.right, rect.bottom));
    MemoryDC target(dc, composition.get());
    FillFace(target.get(), rect);
    SelectedObject font(target.get(), reinterpret_cast<HFONT>(SendMessageW(Window, WM_GETFONT, 0, 0)));
    SetBkMode(target.get(), TRANSPARENT);
    const std::vector<RECT> faces = tabSet->VisibleTabs();
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const int index = tabSet->FirstIndex() + static_cast<int>(i);
        const int frame = index == tabSet->TabIndex() ? 2 : 1;
        RECT face = faces[i];
        DrawElement(target.get(), face, TabBitmap, false, tabs.Tile == 1, tabs.Trans == 1, tabs.Frame, frame,
                    tabs.Margins);
        SetTextColor(target.get(), ColorToRGB(frame == 1 ? tabs.NormalColour2 : tabs.MouseOverColour2));
        const std::wstring caption = tabSet->Tabs()->Get(index);
        DrawTextW(target.get(), caption.c_str(), static_cast<int>(caption.size()), &face,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    BitBlt(dc, 0, 0, rect.right, rect.bottom, target.get(), 0, 0, SRCCOPY);
}
