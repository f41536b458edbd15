#include "skin/data/BitmapOps.h"

#include "skin/data/BitmapEffects.h"

namespace {

// Runs op on the bitmap's pixels as 24-bit rows and puts the pixel format back.
template <class Op>
void In24Bit(TBitmap& bitmap, Op op) {
    if (bitmap.Empty()) return;
    const TPixelFormat format = bitmap.PixelFormat();
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    op();
    bitmap.SetPixelFormat(format);
}

template <class Rotate>
void Turn(TBitmap& bitmap, Rotate rotate) {
    In24Bit(bitmap, [&] {
        const TPixelImage turned = rotate(TConstPixelView(bitmap.Pixels()));
        bitmap.SetSize(turned.Width(), turned.Height());
        CopyPixels(turned.View(), bitmap.Pixels());
    });
}

}  // namespace

void CloneBitmap(TBitmap& source, TBitmap& destination) {
    if (&source == &destination) return;
    const int width = source.Width(), height = source.Height();
    destination.Clear();  // nothing to convert when the format changes
    destination.SetPixelFormat(source.PixelFormat());
    // The same colour table, so that drawing keeps every colour exactly.
    destination.SetPalette(source.Palette());
    destination.SetSize(width, height);
    if (source.Empty()) return;
    BitBlt(destination.Canvas()->Handle(), 0, 0, width, height, source.Canvas()->Handle(), 0, 0, SRCCOPY);
    GdiFlush();
}

void ToGrayscale(TBitmap& bitmap) {
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    ToGrayscale(bitmap.Pixels());
}

void ReplaceMagenta(TBitmap& bitmap, TColor colour) {
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    ReplaceMagenta(bitmap.Pixels(), colour);
}

void MirrorHorizontal(TBitmap& bitmap) {
    In24Bit(bitmap, [&] { MirrorHorizontal(bitmap.Pixels()); });
}

void FlipVertical(TBitmap& bitmap) {
    In24Bit(bitmap, [&] { FlipVertical(bitmap.Pixels()); });
}

void RotateLeft(TBitmap& bitmap) {
    Turn(bitmap, [](TConstPixelView v) { return RotateLeft(v); });
}

void RotateRight(TBitmap& bitmap) {
    Turn(bitmap, [](TConstPixelView v) { return RotateRight(v); });
}
