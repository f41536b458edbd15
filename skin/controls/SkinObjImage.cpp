#include "skin/controls/SkinObjImage.h"

#include <algorithm>
#include <vector>

#include "skin/controls/SkinCheckBox.h"
#include "skin/data/SkinElements.h"
#include "skin/data/WinSkinData.h"

namespace {

constexpr TColor kKey = 0xFF00FF;

// Frames of the strips the controls expect, in the check box painter's
// terms: unchecked and checked (twice: normal and pressed), both disabled;
// the nine-frame strip adds grayed, grayed pressed and grayed disabled.
struct TStripFrame {
    int index;  // 1 unchecked, 2 checked
    bool disabled;
    bool indeterminate;
};
const std::vector<TStripFrame> kSixFrames = {{1, false, false}, {2, false, false}, {1, false, false},
                                             {2, false, false}, {1, true, false},  {2, true, false}};
const std::vector<TStripFrame> kNineFrames = {{1, false, false}, {2, false, false}, {1, false, false},
                                              {2, false, false}, {1, true, false},  {2, true, false},
                                              {1, false, true},  {1, false, true},  {1, true, true}};

void BuildStrip(TBitmap& strip, TBitmap& source, int sourceFrames, const std::vector<TStripFrame>& order, bool radio) {
    strip.Clear();
    if (source.Empty() || sourceFrames < 1 || source.Width() < sourceFrames) return;
    const int fw = source.Width() / sourceFrames, fh = source.Height();
    strip.SetPixelFormat(TPixelFormat::pf24bit);
    strip.SetSize(fw * static_cast<int>(order.size()), fh);
    HDC dc = strip.Canvas()->Handle();
    for (std::size_t i = 0; i < order.size(); ++i) {
        const TStripFrame& f = order[i];
        int frame = radio ? RadioButtonFrame(f.index, f.disabled, sourceFrames)
                          : CheckBoxFrame(f.index, f.disabled, f.indeterminate, sourceFrames);
        frame = std::clamp(frame, 1, sourceFrames);
        BitBlt(dc, static_cast<int>(i) * fw, 0, fw, fh, source.Canvas()->Handle(), (frame - 1) * fw, 0, SRCCOPY);
    }
}

}  // namespace

const TClassInfo& TSkinObjImage::StaticClass() {
    static const TClassInfo info(L"TSkinObjImage", &TSkinControl::StaticClass(), {});
    return info;
}

TSkinObjImage::TSkinObjImage(TComponent* owner) : TSkinControl(owner) {}

void TSkinObjImage::Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) {
    if (Attached) return;
    Bind(form, skinData, colourFlag, canvas);
    JoinForm(form);
    Attached = true;
    State = kStateAttached;
    BuildAndHand();
}

void TSkinObjImage::BuildAndHand() {
    if (!Control || !SkinData || !SkinData->Buttons) return;
    TDataSkinButton& faces = *SkinData->Buttons;
    if (Mode == 2) BuildStrip(Strip, faces.RadioBitmap, faces.RadioFrames, kSixFrames, true);
    else BuildStrip(Strip, faces.CheckBitmap, faces.CheckFrames, Mode == 1 ? kNineFrames : kSixFrames, false);
    if (Strip.Empty()) return;
    if (Mode == 3) {
        if (TObject* properties = Control->GetProperty(L"Properties").AsObject())
            if (auto* glyph = As<TBitmap>(properties->GetProperty(L"Glyph").AsObject())) glyph->Assign(Strip);
        return;
    }
    if (auto* glyphs = As<TBitmap>(Control->GetProperty(L"CustomGlyphs").AsObject())) glyphs->Assign(Strip);
    Control->SetProperty(L"transparentcolor", std::to_wstring(kKey));
    Control->SetProperty(L"UseCustomGlyphs", L"false");
    Control->SetProperty(L"UseCustomGlyphs", L"true");
}

void TSkinObjImage::Detach() {
    if (!Control) return;
    if (Mode == 3) {
        if (TObject* properties = Control->GetProperty(L"Properties").AsObject())
            if (auto* glyph = As<TBitmap>(properties->GetProperty(L"Glyph").AsObject())) glyph->Clear();
        return;
    }
    Control->SetProperty(L"UseCustomGlyphs", L"false");
}

void TSkinObjImage::SkinChanged() { BuildAndHand(); }
