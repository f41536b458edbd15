#include "classlib/ImageList.h"

#include <algorithm>

#include "classlib/Bitmap.h"
#include "classlib/Canvas.h"
#include "classlib/Icon.h"

namespace {

// Every image goes in as a 24-bit copy: the list is a 24-bit one, the
// caller's bitmap stays untouched (adding with a mask colour blackens the
// masked pixels of what it is given), and a 1-bit picture is compared by
// colour, not copied bit for bit as monochrome.
void Copy24(TBitmap& from, TBitmap& to) {
    to.Assign(from);
    to.SetPixelFormat(TPixelFormat::pf24bit);
}

}  // namespace

const TClassInfo& TImageList::StaticClass() {
    static const TClassInfo info(L"TImageList", &TComponent::StaticClass(),
                                 {
                                     props::Integer(L"Width", &TImageList::Width, &TImageList::SetWidth),
                                     props::Integer(L"Height", &TImageList::Height, &TImageList::SetHeight),
                                 });
    return info;
}

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() = default;

void TImageList::SetSize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    if (handle_) {
        ImageList_SetIconSize(handle_.get(), width_, height_);  // removes every image
        Changed();
    }
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_.get()) : 0; }

HIMAGELIST TImageList::Handle() {
    if (!handle_) handle_.reset(ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4));
    return handle_.get();
}

void TImageList::Changed() {
    if (OnChange) OnChange(this);
}

int TImageList::Add(TBitmap& image, TBitmap* mask) {
    if (image.Empty()) return -1;
    TBitmap copy;
    Copy24(image, copy);
    const int index = ImageList_Add(Handle(), copy.Handle(), mask ? mask->Handle() : nullptr);
    if (index >= 0) Changed();
    return index;
}

int TImageList::AddMasked(TBitmap& image, TColor maskColour) {
    if (image.Empty()) return -1;
    TBitmap copy;
    Copy24(image, copy);
    const int index = ImageList_AddMasked(Handle(), copy.Handle(), static_cast<COLORREF>(ColorToRGB(maskColour)));
    if (index >= 0) Changed();
    return index;
}

int TImageList::AddIcon(TIcon& icon) {
    if (icon.Empty()) return -1;
    const int index = ImageList_AddIcon(Handle(), icon.Handle());
    if (index >= 0) Changed();
    return index;
}

void TImageList::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    ImageList_Remove(handle_.get(), index);
    Changed();
}

void TImageList::Clear() {
    if (Count() == 0) return;
    ImageList_Remove(handle_.get(), -1);
    Changed();
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
    if (index < 0 || index >= Count()) return;
    HDC dc = canvas.Handle();
    if (!dc) return;
    if (enabled) {
        ImageList_DrawEx(handle_.get(), index, dc, x, y, 0, 0, CLR_NONE, CLR_DEFAULT, ILD_TRANSPARENT);
        return;
    }
    // The image's shape: drawn on white, whatever is not white is ink.
    TBitmap shape;
    shape.SetPixelFormat(TPixelFormat::pf24bit);
    shape.SetSize(width_, height_);
    HDC shapeDC = shape.Canvas()->Handle();
    PatBlt(shapeDC, 0, 0, width_, height_, WHITENESS);
    ImageList_DrawEx(handle_.get(), index, shapeDC, 0, 0, 0, 0, CLR_NONE, CLR_DEFAULT, ILD_TRANSPARENT);
    UniqueBitmap mono(CreateBitmap(width_, height_, 1, 1, nullptr));
    UniqueDC monoDC(CreateCompatibleDC(nullptr));
    SelectedObject selectedMono(monoDC.get(), mono.get());
    SetBkColor(shapeDC, RGB(255, 255, 255));  // white becomes 1, ink 0
    BitBlt(monoDC.get(), 0, 0, width_, height_, shapeDC, 0, 0, SRCCOPY);

    // The ink in the highlight colour one pixel down and right, then in the
    // shadow colour in place. With white text and black background the mono
    // ink arrives as all ones, and DSPDxax puts the brush there and keeps
    // the canvas elsewhere.
    constexpr DWORD kDSPDxax = 0x00E20746;
    const COLORREF oldText = SetTextColor(dc, RGB(255, 255, 255));
    const COLORREF oldBack = SetBkColor(dc, RGB(0, 0, 0));
    for (const auto& [offset, colour] : {std::pair{1, clBtnHighlight}, std::pair{0, clBtnShadow}}) {
        UniqueBrush brush = MakeSolidBrush(colour);
        SelectedObject selectedBrush(dc, brush.get());
        BitBlt(dc, x + offset, y + offset, width_, height_, monoDC.get(), 0, 0, kDSPDxax);
    }
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

bool TImageList::GetBitmap(int index, TBitmap& image) {
    if (index < 0 || index >= Count()) return false;
    image.SetPixelFormat(TPixelFormat::pf24bit);
    image.SetSize(width_, height_);
    HDC dc = image.Canvas()->Handle();
    PatBlt(dc, 0, 0, width_, height_, BLACKNESS);
    ImageList_DrawEx(handle_.get(), index, dc, 0, 0, 0, 0, CLR_NONE, CLR_DEFAULT, ILD_TRANSPARENT);
    return true;
}
