#pragma once
// Drawing skin elements: one frame cut from a strip of equal-sized state
// images and fitted into a rectangle, nine-sliced, stretched, centred or
// tiled. The routines keep no state; every scratch bitmap is a device-
// dependent bitmap made and freed within the call, and all copying is done
// with block transfers.
//
// Frames lie side by side in a strip (frame width = strip width / frame
// count) or, with vertical set, one above another; frame indices start at 1.
// Margins are four widths (left, top, right, bottom) that cut a frame into
// corners, edges and a centre. Rectangles with right < left or bottom < top
// draw nothing, and neither does an empty strip or a frame count below 1.
#include <windows.h>

#include "classlib/Bitmap.h"
#include "classlib/Canvas.h"
#include "classlib/Handles.h"
#include "core/Colour.h"

// Pixels of this colour are left out of transparent drawing: magenta.
constexpr TColor kElementKeyColour = 0xFF00FF;

// How a transparent copy leaves out the key colour: one MaskBlt (Windows NT),
// or the source inverted onto the destination, masked and inverted back
// (the Windows 9x family, which has no MaskBlt).
enum class TTransparentMethod { MaskBlt, InvertMaskInvert };
TTransparentMethod PlatformTransparentMethod();

// The frame nine-sliced into rect, drawn with the magenta key when transparent.
void DrawElement(HDC dc, const RECT& rect, TBitmap& bitmap, bool vertical, bool tile, bool transparent, int frameCount,
                 int frameIndex, const RECT& margins);

// A bitmap of rect's size holding the nine-sliced frame. Margins that do
// not fit side by side (left + right wider than rect, or top + bottom
// higher) are both dropped; with tile the centre is repeated, else
// stretched. Null for an inverted or empty rectangle; from an empty strip
// or with a frame count below 1 the bitmap gets no pieces.
UniqueBitmap BuildElementBitmap(const RECT& rect, TBitmap& bitmap, const RECT& margins, bool vertical, bool tile,
                                int frameCount, int frameIndex);

// Repeats sourceRect of bitmap over rect from its top-left corner; the last
// copies run past rect and are clipped only by the canvas.
void TileBitmap(TCanvas& canvas, const RECT& rect, TBitmap& bitmap, const RECT& sourceRect);

// The whole frame (side-by-side layout) stretched into rect.
void DrawFrameStretched(HDC dc, const RECT& rect, TBitmap& bitmap, bool transparent, int frameCount, int frameIndex);

// The frame (side-by-side layout) at its own size, centred in rect; a frame
// larger than rect spills over on both sides.
void DrawFrameCentred(HDC dc, const RECT& rect, TBitmap& bitmap, bool transparent, int frameCount, int frameIndex);

// Left end, stretched middle and right end (left and right margins only),
// all to rect's full height; a rect narrower than a frame gets the whole
// frame stretched.
void DrawThreePart(HDC dc, const RECT& rect, TBitmap& bitmap, bool vertical, int frameCount, int frameIndex,
                   const RECT& margins);

// Left end, the middle repeated side by side, right end, all stretched to
// rect's height; vertical only says where the frame lies in the strip.
void DrawHorizontalTiled(TCanvas& canvas, const RECT& rect, TBitmap& bitmap, bool vertical, bool transparent,
                         int frameCount, int frameIndex, const RECT& margins);

// Copies the bitmap's top-left part of rect's size to rect, leaving the
// destination unchanged where the bitmap has the key colour. The HBITMAP
// must not be selected into any DC.
void DrawTransparent(HDC dc, const RECT& rect, HBITMAP bitmap, TColor key,
                     TTransparentMethod method = PlatformTransparentMethod());
void DrawTransparent(HDC dc, const RECT& rect, TBitmap& bitmap, TColor key,
                     TTransparentMethod method = PlatformTransparentMethod());

// A rectangle filled, or framed one pixel wide, in a solid colour.
void FillInColour(HDC dc, const RECT& rect, TColor colour);
void FrameInColour(HDC dc, const RECT& rect, TColor colour);
