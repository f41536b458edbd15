#include "skin/controls/SkinProgress.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/Bitmap.h"
#include "classlib/Handles.h"
#include "skin/data/BitmapOps.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"

namespace {

constexpr int kStyleChunks = 1;

// Frame index of frameCount, nine-sliced to length x height, keyed onto dc at x = 0.
void DrawKeyedFrame(HDC dc, TDataSkinObject& element, int length, int height, int frameCount, int frame) {
    const RECT size{0, 0, length, height};
    if (UniqueBitmap face =
            BuildElementBitmap(size, element.Bitmap, element.Margins, false, element.Tile == 1, frameCount, frame))
        DrawTransparent(dc, size, face.get(), kElementKeyColour);
}

}  // namespace

const TClassInfo& TSkinProgress::StaticClass() {
    static const TClassInfo info(L"TSkinProgress", &TSkinControl::StaticClass(), {});
    return info;
}

bool TSkinProgress::HasElement() const { return SkinData && SkinData->Progress && !SkinData->Progress->Bitmap.Empty(); }

bool TSkinProgress::BeforeMessage(TMessage& message) {
    if (!TSkinControl::BeforeMessage(message)) return false;
    // Without the element the bar keeps its own drawing.
    if (message.Msg == WM_PAINT && !HasElement()) return true;
    return !PaintsWholeWindow(message);
}

int TSkinProgress::FilledLength(int length) const {
    const auto position = static_cast<int>(SendMessageW(Window, PBM_GETPOS, 0, 0));
    PBRANGE range{};
    SendMessageW(Window, PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));
    // Measured from the low end, so a range that does not start at 0 fills
    // in proportion too.
    if (range.iHigh <= range.iLow || position <= range.iLow) return 0;
    return std::clamp(MulDiv(length, position - range.iLow, range.iHigh - range.iLow), 0, length);
}

void TSkinProgress::Draw(HDC dc, const RECT& rect) {
    if (!HasElement() || rect.right <= rect.left || rect.bottom <= rect.top) return;
    const bool vertical = (GetWindowLong(GWL_STYLE) & PBS_VERTICAL) != 0;
    const int length = vertical ? rect.bottom : rect.right;
    const int height = vertical ? rect.right : rect.bottom;
    const int filled = FilledLength(length);

    TBitmap composition;
    composition.SetPixelFormat(TPixelFormat::pf24bit);
    composition.SetSize(length, height);
    {
        HDC target = composition.Canvas()->Handle();
        if (!target) return;
        FillFace(target, RECT{0, 0, length, height});
        if (SkinData->Progress->Style == kStyleChunks)
            DrawChunks(target, length, height, filled);
        else
            DrawFrames(target, length, height, filled);
    }
    // Turned counter-clockwise the bar's start is at the bottom.
    if (vertical) RotateLeft(composition);
    BitBlt(dc, 0, 0, rect.right, rect.bottom, composition.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TSkinProgress::DrawFrames(HDC dc, int length, int height, int filled) {
    TDataSkinBorder& bar = *SkinData->Progress;
    DrawKeyedFrame(dc, bar, length, height, 2, 1);
    if (filled > 0) DrawKeyedFrame(dc, bar, filled, height, 2, 2);
}

void TSkinProgress::DrawChunks(HDC dc, int length, int height, int filled) {
    DrawKeyedFrame(dc, *SkinData->Progress, length, height, 1, 1);
    TDataSkinObject* chunk = SkinData->ProgressChunk.get();
    if (!chunk || chunk->Bitmap.Empty() || filled <= 0) return;
    TBitmap& image = chunk->Bitmap;
    if (chunk->Tile == 1) {
        const int x = chunk->Margins.left + 2;
        // The strip stops inside the bar's frame.
        const int width = std::min(filled, length - 2 - x);
        if (width <= 0) return;
        const int chunkWidth = image.Width(), chunkHeight = image.Height();
        const int y = (height - chunkHeight) / 2;
        UniqueBitmap strip(CreateCompositionBitmap(width, chunkHeight));
        MemoryDC stripDC(dc, strip.get());
        HDC source = image.Canvas()->Handle();
        for (int copy = 0; copy < filled / chunkWidth + 1; ++copy)
            BitBlt(stripDC.get(), copy * chunkWidth, 0, chunkWidth, chunkHeight, source, 0, 0, SRCCOPY);
        BitBlt(dc, x, y, width, chunkHeight, stripDC.get(), 0, 0, SRCCOPY);
    } else {
        const RECT place{2, 2, 2 + std::min(filled, length - 4), height - 2};
        DrawThreePart(dc, place, image, false, 1, 1, RECT{chunk->Margins.left, 0, chunk->Margins.right, 0});
    }
}
