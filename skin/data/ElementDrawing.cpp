#include "skin/data/ElementDrawing.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "core/SystemColours.h"
#include "skin/data/WindowsPlatform.h"

namespace {

// Where a frame lies in its strip.
struct TFrame {
    int x = 0, y = 0, width = 0, height = 0;
};

std::optional<TFrame> FindFrame(const TBitmap& strip, bool vertical, int frameCount, int frameIndex) {
    // A frame count below 1 would divide by zero; there is no frame to cut.
    if (strip.Empty() || frameCount < 1) return std::nullopt;
    TFrame frame;
    if (vertical) {
        frame.width = strip.Width();
        frame.height = strip.Height() / frameCount;
        frame.y = (frameIndex - 1) * frame.height;
    } else {
        frame.width = strip.Width() / frameCount;
        frame.height = strip.Height();
        frame.x = (frameIndex - 1) * frame.width;
    }
    return frame;
}

bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

// A composition bitmap selected into a memory DC of its own for the scope.
// The bitmap leaves the DC before either dies.
class TScratch {
public:
    TScratch(int width, int height) {
        if (width <= 0 || height <= 0) return;
        // Asking the screen itself for a DC costs a round trip to the display.
        dc_.reset(CreateCompatibleDC(nullptr));
        if (!dc_) return;
        bitmap_ = CreateCompositionBitmap(width, height);
        if (bitmap_ && dc_) old_ = SelectObject(dc_.get(), bitmap_.get());
        if (old_) SetStretchBltMode(dc_.get(), COLORONCOLOR);
    }
    ~TScratch() { Deselect(); }
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;

    explicit operator bool() const { return old_ != nullptr; }
    HDC DC() const { return dc_.get(); }
    // The bitmap, out of the DC, for the caller to keep.
    UniqueBitmap Release() {
        Deselect();
        return std::move(bitmap_);
    }

private:
    void Deselect() {
        if (old_) SelectObject(dc_.get(), old_);
        old_ = nullptr;
    }

    UniqueBitmap bitmap_;  // declared first: deleted after the DC
    UniqueDC dc_;
    HGDIOBJ old_ = nullptr;
};

// The stretch mode of a caller's DC for the scope.
class TColourOnColour {
public:
    explicit TColourOnColour(HDC dc) : dc_(dc), old_(SetStretchBltMode(dc, COLORONCOLOR)) {}
    ~TColourOnColour() {
        if (old_) SetStretchBltMode(dc_, old_);
    }
    TColourOnColour(const TColourOnColour&) = delete;
    TColourOnColour& operator=(const TColourOnColour&) = delete;

private:
    HDC dc_;
    int old_;
};

// Copies the source rectangle (x0, y0)-(x1, y1) to the target rectangle,
// stretched when the sizes differ. A rectangle without area copies nothing:
// negative sides (margins wider than the frame) would mirror the picture.
void CopyPiece(HDC target, int left, int top, int right, int bottom, HDC source, int sourceLeft, int sourceTop,
               int sourceRight, int sourceBottom) {
    const int w = right - left, h = bottom - top;
    const int sw = sourceRight - sourceLeft, sh = sourceBottom - sourceTop;
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
    if (w == sw && h == sh)
        BitBlt(target, left, top, w, h, source, sourceLeft, sourceTop, SRCCOPY);
    else
        StretchBlt(target, left, top, w, h, source, sourceLeft, sourceTop, sw, sh, SRCCOPY);
}

void TileFrom(HDC dc, const RECT& rect, HDC source, const RECT& sourceRect) {
    const int sw = sourceRect.right - sourceRect.left, sh = sourceRect.bottom - sourceRect.top;
    if (sw <= 0 || sh <= 0) return;
    // A copy of its own, so that a bitmap can be tiled over itself.
    TScratch copy(sw, sh);
    if (!copy) return;
    BitBlt(copy.DC(), 0, 0, sw, sh, source, sourceRect.left, sourceRect.top, SRCCOPY);
    for (long long x = rect.left; x < rect.right; x += sw)
        for (long long y = rect.top; y < rect.bottom; y += sh)
            BitBlt(dc, static_cast<int>(x), static_cast<int>(y), sw, sh, copy.DC(), 0, 0, SRCCOPY);
}

// The nine pieces of the frame into a target of w x h pixels.
void RenderElement(HDC target, int w, int h, HDC source, const TFrame& f, RECT margins, bool tile) {
    int l = margins.left, t = margins.top, r = margins.right, b = margins.bottom;
    if (w < l + r) l = r = 0;
    if (h < t + b) t = b = 0;
    const int fx = f.x, fy = f.y, fr = f.x + f.width, fb = f.y + f.height;
    if (l * t > 0) CopyPiece(target, 0, 0, l, t, source, fx, fy, fx + l, fy + t);
    if (l * b > 0) CopyPiece(target, 0, h - b, l, h, source, fx, fb - b, fx + l, fb);
    if (r * t > 0) CopyPiece(target, w - r, 0, w, t, source, fr - r, fy, fr, fy + t);
    if (l > 0) CopyPiece(target, 0, t, l, h - b, source, fx, fy + t, fx + l, fb - b);
    if (t > 0) CopyPiece(target, l, 0, w - r, t, source, fx + l, fy, fr - r, fy + t);
    // The centre's last tiles run on under the right and bottom pieces,
    // which are drawn after it.
    if (tile)
        TileFrom(target, {l, t, w - r, h - b}, source, {fx + l, fy + t, fr - r, fb - b});
    else
        CopyPiece(target, l, t, w - r, h - b, source, fx + l, fy + t, fr - r, fb - b);
    if (r * b > 0) CopyPiece(target, w - r, h - b, w, h, source, fr - r, fb - b, fr, fb);
    if (r > 0) CopyPiece(target, w - r, t, w, h - b, source, fr - r, fy + t, fr, fb - b);
    if (b > 0) CopyPiece(target, l, h - b, w - r, h, source, fx + l, fb - b, fr - r, fb);
}

// A DIB section's pixels, row by row from the top.
struct TDibTarget {
    std::uint8_t* top = nullptr;  // first byte of the top row
    std::ptrdiff_t stride = 0;     // to the row below: negative when bottom-up
    int width = 0, height = 0;
    int bytesPerPixel = 4;
};

// The 24- or 32-bit DIB section selected into a DC whose co-ordinates are
// plain device pixels (no clip region, mapping, offset or mirroring).
std::optional<TDibTarget> PlainDib(HDC dc) {
    DIBSECTION section{};
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    if (!bitmap || GetObjectW(bitmap, sizeof section, &section) != sizeof section) return std::nullopt;
    const BITMAP& bm = section.dsBm;
    if ((bm.bmBitsPixel != 24 && bm.bmBitsPixel != 32) || !bm.bmBits || section.dsBmih.biCompression != BI_RGB)
        return std::nullopt;
    POINT viewport{}, window{};
    if (GetMapMode(dc) != MM_TEXT || GetGraphicsMode(dc) != GM_COMPATIBLE || GetLayout(dc) != 0 ||
        !GetViewportOrgEx(dc, &viewport) || !GetWindowOrgEx(dc, &window) || viewport.x || viewport.y || window.x ||
        window.y)
        return std::nullopt;
    {
        UniqueRegion clip(CreateRectRgn(0, 0, 0, 0));
        if (!clip || GetClipRgn(dc, clip.get()) != 0) return std::nullopt;
    }
    TDibTarget dib;
    dib.width = bm.bmWidth;
    dib.height = bm.bmHeight;
    dib.stride = bm.bmWidthBytes;
    dib.top = static_cast<std::uint8_t*>(bm.bmBits);
    dib.bytesPerPixel = bm.bmBitsPixel / 8;
    if (dib.width <= 0 || dib.height <= 0) return std::nullopt;
    // GetObject reports every DIB section's height as positive, top-down or
    // not: whether the first stored row shows at the top tells. Two marks,
    // so that a top row of the same colour cannot pass for the first. Rows
    // are whole DWORDs, so the four bytes marked are the row's own.
    // A section over a read-only mapping is left to MaskBlt.
    MEMORY_BASIC_INFORMATION memory{};
    constexpr DWORD kWritable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    if (!VirtualQuery(dib.top, &memory, sizeof memory) || !(memory.Protect & kWritable)) return std::nullopt;
    GdiFlush();
    auto* first = reinterpret_cast<std::uint32_t*>(dib.top);
    const std::uint32_t saved = *first;
    bool firstOnTop = true;
    for (const std::uint32_t mark : {0x00123456u, 0x00654321u}) {
        *first = mark;
        firstOnTop = firstOnTop && GetPixel(dc, 0, 0) == RGB((mark >> 16) & 0xFF, (mark >> 8) & 0xFF, mark & 0xFF);
    }
    *first = saved;
    if (!firstOnTop) {
        dib.top += static_cast<std::ptrdiff_t>(dib.height - 1) * dib.stride;
        dib.stride = -dib.stride;
    }
    return dib;
}

// The keyed copy done on the pixels themselves when the target is a plain
// 32-bit DIB section and the source a 24- or 32-bit one: MaskBlt makes and
// selects temporary bitmaps on every call, which costs more than the copy of
// a small element. Same result: only source pixels of exactly the key colour
// leave the destination as it is.
bool KeyedCopyBetweenDibs(HDC dc, const RECT& rect, HDC source, int sourceX, int sourceY, TColor key) {
    const auto to = PlainDib(dc);
    const auto from = to && to->bytesPerPixel == 4 ? PlainDib(source) : std::nullopt;
    if (!from) return false;
    // Clipped to both bitmaps, as the blit would be.
    int x = rect.left, y = rect.top, sx = sourceX, sy = sourceY;
    int w = rect.right - rect.left, h = rect.bottom - rect.top;
    const auto clip = [](int& start, int& otherStart, int& length, int limit) {
        if (start < 0) {
            length += start;
            otherStart -= start;
            start = 0;
        }
        length = std::min(length, limit - start);
    };
    clip(x, sx, w, to->width);
    clip(y, sy, h, to->height);
    clip(sx, x, w, from->width);
    clip(sy, y, h, from->height);
    if (w <= 0 || h <= 0) return true;
    const COLORREF rgb = static_cast<COLORREF>(ColorToRGB(key));
    const std::uint32_t keyPixel = (GetRValue(rgb) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb);
    for (int row = 0; row < h; ++row) {
        auto* out = reinterpret_cast<std::uint32_t*>(to->top + (y + row) * to->stride) + x;
        const std::uint8_t* in = from->top + (sy + row) * from->stride + sx * from->bytesPerPixel;
        if (from->bytesPerPixel == 4) {
            const auto* pixels = reinterpret_cast<const std::uint32_t*>(in);
            for (int col = 0; col < w; ++col)
                if ((pixels[col] & 0xFFFFFFu) != keyPixel) out[col] = pixels[col];
        } else {
            for (int col = 0; col < w; ++col, in += 3) {
                const std::uint32_t pixel = in[0] | (in[1] << 8) | (static_cast<std::uint32_t>(in[2]) << 16);
                if (pixel != keyPixel) out[col] = pixel;
            }
        }
    }
    return true;
}

// Copies w x h pixels from (sourceX, sourceY) of the source DC to rect,
// key-coloured pixels left out.
void TransparentFrom(HDC dc, const RECT& rect, HDC source, int sourceX, int sourceY, TColor key,
                     TTransparentMethod method) {
    if (Inverted(rect)) return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w == 0 || h == 0) return;
    if (method == TTransparentMethod::MaskBlt && KeyedCopyBetweenDibs(dc, rect, source, sourceX, sourceY, key))
        return;
    UniqueBitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
    UniqueDC maskDC(CreateCompatibleDC(dc));
    if (!mask || !maskDC) return;
    HGDIOBJ oldMask = SelectObject(maskDC.get(), mask.get());
    if (!oldMask) return;
    // Colour to monochrome: pixels of the source's background colour give 1.
    const COLORREF oldSourceBack = SetBkColor(source, static_cast<COLORREF>(ColorToRGB(key) & 0xFFFFFF));
    BitBlt(maskDC.get(), 0, 0, w, h, source, sourceX, sourceY, SRCCOPY);
    SetBkColor(source, oldSourceBack);

    if (method == TTransparentMethod::MaskBlt) {
        SelectObject(maskDC.get(), oldMask);
        // Where the mask is 1 the destination stays (0xAA0029), where it is 0 the source is copied.
        MaskBlt(dc, rect.left, rect.top, w, h, source, sourceX, sourceY, mask.get(), 0, 0,
                MAKEROP4(0x00AA0029, SRCCOPY));
        return;
    }
    // Monochrome to colour: 1 bits give the background colour, 0 bits the text colour.
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, rect.left, rect.top, w, h, source, sourceX, sourceY, SRCINVERT);
    BitBlt(dc, rect.left, rect.top, w, h, maskDC.get(), 0, 0, SRCAND);
    BitBlt(dc, rect.left, rect.top, w, h, source, sourceX, sourceY, SRCINVERT);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
    SelectObject(maskDC.get(), oldMask);
}

// A scratch picture goes to rect's top-left corner, transparently or not.
void DrawScratch(HDC dc, const RECT& rect, const TScratch& scratch, bool transparent) {
    if (transparent)
        TransparentFrom(dc, rect, scratch.DC(), 0, 0, kElementKeyColour, PlatformTransparentMethod());
    else
        BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, scratch.DC(), 0, 0, SRCCOPY);
}

}  // namespace

TTransparentMethod PlatformTransparentMethod() {
    return IsWindowsNT() ? TTransparentMethod::MaskBlt : TTransparentMethod::InvertMaskInvert;
}

void DrawElement(HDC dc, const RECT& rect, TBitmap& bitmap, bool vertical, bool tile, bool transparent, int frameCount,
                 int frameIndex, const RECT& margins) {
    if (Inverted(rect)) return;
    const auto frame = FindFrame(bitmap, vertical, frameCount, frameIndex);
    if (!frame) return;
    TScratch built(rect.right - rect.left, rect.bottom - rect.top);
    if (!built) return;
    RenderElement(built.DC(), rect.right - rect.left, rect.bottom - rect.top, bitmap.Canvas()->Handle(), *frame,
                  margins, tile);
    DrawScratch(dc, rect, built, transparent);
}

UniqueBitmap BuildElementBitmap(const RECT& rect, TBitmap& bitmap, const RECT& margins, bool vertical, bool tile,
                                int frameCount, int frameIndex) {
    if (Inverted(rect)) return {};
    TScratch built(rect.right - rect.left, rect.bottom - rect.top);
    if (!built) return {};
    if (const auto frame = FindFrame(bitmap, vertical, frameCount, frameIndex))
        RenderElement(built.DC(), rect.right - rect.left, rect.bottom - rect.top, bitmap.Canvas()->Handle(), *frame,
                      margins, tile);
    return built.Release();
}

void TileBitmap(TCanvas& canvas, const RECT& rect, TBitmap& bitmap, const RECT& sourceRect) {
    if (bitmap.Empty()) return;
    HDC dc = canvas.Handle();
    if (!dc) return;
    TileFrom(dc, rect, bitmap.Canvas()->Handle(), sourceRect);
}

void DrawFrameStretched(HDC dc, const RECT& rect, TBitmap& bitmap, bool transparent, int frameCount, int frameIndex) {
    if (Inverted(rect)) return;
    const auto f = FindFrame(bitmap, false, frameCount, frameIndex);
    if (!f) return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    TScratch stretched(w, h);
    if (!stretched) return;
    CopyPiece(stretched.DC(), 0, 0, w, h, bitmap.Canvas()->Handle(), f->x, f->y, f->x + f->width, f->y + f->height);
    DrawScratch(dc, rect, stretched, transparent);
}

void DrawFrameCentred(HDC dc, const RECT& rect, TBitmap& bitmap, bool transparent, int frameCount, int frameIndex) {
    if (Inverted(rect)) return;
    const auto f = FindFrame(bitmap, false, frameCount, frameIndex);
    if (!f || f->width <= 0) return;
    // Division truncates toward zero, also for a frame larger than rect.
    const int left = rect.left + (rect.right - rect.left - f->width) / 2;
    const int top = rect.top + (rect.bottom - rect.top - f->height) / 2;
    HDC source = bitmap.Canvas()->Handle();
    // Unscaled, so the strip itself serves as the frame's copy.
    if (transparent)
        TransparentFrom(dc, {left, top, left + f->width, top + f->height}, source, f->x, f->y, kElementKeyColour,
                        PlatformTransparentMethod());
    else
        BitBlt(dc, left, top, f->width, f->height, source, f->x, f->y, SRCCOPY);
}

void DrawThreePart(HDC dc, const RECT& rect, TBitmap& bitmap, bool vertical, int frameCount, int frameIndex,
                   const RECT& margins) {
    if (Inverted(rect)) return;
    const auto f = FindFrame(bitmap, vertical, frameCount, frameIndex);
    if (!f) return;
    HDC source = bitmap.Canvas()->Handle();
    TColourOnColour mode(dc);
    const int fx = f->x, fy = f->y, fr = f->x + f->width, fb = f->y + f->height;
    if (f->width > rect.right - rect.left) {
        CopyPiece(dc, rect.left, rect.top, rect.right, rect.bottom, source, fx, fy, fr, fb);
        return;
    }
    const int l = margins.left, r = margins.right;
    CopyPiece(dc, rect.left, rect.top, rect.left + l, rect.bottom, source, fx, fy, fx + l, fb);
    CopyPiece(dc, rect.left + l, rect.top, rect.right - r, rect.bottom, source, fx + l, fy, fr - r, fb);
    CopyPiece(dc, rect.right - r, rect.top, rect.right, rect.bottom, source, fr - r, fy, fr, fb);
}

void DrawHorizontalTiled(TCanvas& canvas, const RECT& rect, TBitmap& bitmap, bool vertical, bool transparent,
                         int frameCount, int frameIndex, const RECT& margins) {
    if (Inverted(rect)) return;
    const auto f = FindFrame(bitmap, vertical, frameCount, frameIndex);
    if (!f) return;
    HDC dc = canvas.Handle();
    if (!dc) return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    TScratch strip(w, h);
    if (!strip) return;
    HDC source = bitmap.Canvas()->Handle();
    const int l = margins.left, r = margins.right;
    const int fx = f->x, fy = f->y, fr = f->x + f->width, fb = f->y + f->height;
    CopyPiece(strip.DC(), 0, 0, l, h, source, fx, fy, fx + l, fb);
    // Without a middle (m <= 0) there is nothing to repeat.
    const int m = f->width - l - r;
    if (m > 0)
        for (long long x = l; x < w - r; x += m)
            CopyPiece(strip.DC(), static_cast<int>(x), 0, static_cast<int>(x + m), h, source, fx + l, fy, fx + l + m,
                      fb);
    // Over any middle copy that ran into it.
    CopyPiece(strip.DC(), w - r, 0, w, h, source, fr - r, fy, fr, fb);
    DrawScratch(dc, rect, strip, transparent);
}

void DrawTransparent(HDC dc, const RECT& rect, HBITMAP bitmap, TColor key, TTransparentMethod method) {
    if (!bitmap || Inverted(rect)) return;
    UniqueDC source(CreateCompatibleDC(dc));
    if (!source) return;
    SelectedObject selected(source.get(), bitmap);
    TransparentFrom(dc, rect, source.get(), 0, 0, key, method);
}

void DrawTransparent(HDC dc, const RECT& rect, TBitmap& bitmap, TColor key, TTransparentMethod method) {
    if (bitmap.Empty()) return;
    TransparentFrom(dc, rect, bitmap.Canvas()->Handle(), 0, 0, key, method);
}

void FillInColour(HDC dc, const RECT& rect, TColor colour) {
    UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(colour))));
    FillRect(dc, &rect, brush.get());
}

void FrameInColour(HDC dc, const RECT& rect, TColor colour) {
    UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(colour))));
    FrameRect(dc, &rect, brush.get());
}
