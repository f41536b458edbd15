#pragma once
// The pixel operations of BitmapEffects.h on whole bitmaps, and copying a
// bitmap with its pixel format.
#include "classlib/Bitmap.h"
#include "core/Colour.h"

// Destination takes the source's size, pixel format (with the colour table
// of 1, 4 and 8-bit bitmaps) and a copy of its picture.
void CloneBitmap(TBitmap& source, TBitmap& destination);

// Both leave the bitmap in 24 bits per pixel.
void ToGrayscale(TBitmap& bitmap);
void ReplaceMagenta(TBitmap& bitmap, TColor colour);

// These keep the pixel format; bitmaps not in 24 bits are converted there
// and back.
void MirrorHorizontal(TBitmap& bitmap);
void FlipVertical(TBitmap& bitmap);
// Width and height swap.
void RotateLeft(TBitmap& bitmap);
void RotateRight(TBitmap& bitmap);
