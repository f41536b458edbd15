#pragma once
// Bitmaps over a DIB section. A bitmap keeps the pixel format it was given
// (1, 4 or 8 bits with a colour table, 15 or 16 bits, 24 or 32 bits), its
// rows can be reached directly, and its canvas draws on it through a memory
// DC. Files are read and written by the portable bitmap decoder and writer.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/Graphic.h"
#include "classlib/Handles.h"
#include "core/PixelImage.h"

class TBitmap;
class TBitmapFile;

// pfDevice is stored like pf32bit (what displays use); pf15bit is 5-5-5 and
// pf16bit 5-6-5.
enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };
// tmAuto takes the bottom-left pixel as the transparent colour.
enum class TTransparentMode { tmAuto, tmFixed };

// A bitmap's canvas: a memory DC with the bitmap selected, made when first
// needed and deleted whenever the bitmap changes or hands its handle out.
class TBitmapCanvas : public TCanvas {
    DECLARE_CLASS_INFO()
public:
    explicit TBitmapCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}
    ~TBitmapCanvas() override;
    // Puts the DC's own objects back and deletes it.
    void FreeContext();

protected:
    void CreateHandle() override;

private:
    TBitmap& bitmap_;
    UniqueDC dc_;
    HGDIOBJ oldBitmap_ = nullptr;
};

class TBitmap : public TGraphic {
    DECLARE_CLASS_INFO()
public:
    // The largest bitmap that can be made: what a bitmap file may hold.
    static constexpr int kMaxSide = 16384;
    static constexpr std::int64_t kMaxPixels = std::int64_t(1) << 25;

    TBitmap();
    ~TBitmap() override;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return width_ == 0 || height_ == 0; }
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    // Keeps the part of the picture that still fits at the top left; new
    // pixels are zero (black, or palette entry 0). Negative sides count as 0.
    void SetSize(int width, int height);
    void Clear() override { SetSize(0, 0); }

    TPixelFormat PixelFormat() const { return format_; }
    // Converts the picture. Going down to 1, 4 or 8 bits keeps every colour
    // when the picture has few enough of them (an exact colour table), and
    // otherwise maps each pixel to the nearest colour of a standard table.
    void SetPixelFormat(TPixelFormat format);
    // Bits per stored pixel, also for pfDevice.
    int BitsPerPixel() const { return layout_.bitsPerPixel; }
    // The colour table of 1/4/8-bit bitmaps (full length); empty otherwise.
    const std::vector<TColor>& Palette() const { return palette_; }
    // Replaces colour table entries (indices keep their pixels); shorter
    // tables leave the remaining entries, extra entries are ignored.
    void SetPalette(std::span<const TColor> colours);

    // Row y counted from the top, in the stored format with its padding.
    // Raises EInvalidGraphicOperation for a row outside the bitmap.
    std::span<std::uint8_t> ScanLine(int y);
    std::span<const std::uint8_t> ScanLine(int y) const;
    // The rows as 24-bit pixels for the portable pixel operations; only for
    // bitmaps stored with 24 bits (EInvalidGraphicOperation otherwise).
    TPixelView Pixels();
    TConstPixelView Pixels() const;

    TCanvas* Canvas();
    // The DIB section (nullptr while empty), owned by the bitmap. It is
    // returned free of the canvas's DC, so it can be selected elsewhere.
    HBITMAP Handle();
    bool HandleAllocated() const { return static_cast<bool>(handle_); }
    // Takes over any bitmap (device-dependent or DIB section): its picture
    // is copied into a DIB section of the same depth and the handle deleted.
    void SetHandle(HBITMAP bitmap);

    // Reads a bitmap file from the stream's position and leaves the position
    // after it; the file's depth and colour table are kept. No bytes left
    // empties the bitmap. Raises EInvalidGraphic (the bitmap unchanged).
    void LoadFromStream(TStream& stream) override;
    // Writes a bottom-up bitmap file of the bitmap's depth; nothing when empty.
    void SaveToStream(TStream& stream) const override;
    // RT_BITMAP resources; EInvalidGraphic when missing or unreadable.
    void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);
    void LoadFromResourceID(HINSTANCE instance, int id);

    TColor TransparentColor() const;
    // clDefault goes back to tmAuto; any other colour sets tmFixed.
    void SetTransparentColor(TColor colour);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode);

    // Copies the picture into r, stretched when sizes differ, with the
    // canvas's CopyMode; when Transparent, pixels of the transparent colour
    // leave the canvas unchanged.
    void Draw(TCanvas& canvas, const RECT& r) override;
    // From another bitmap: picture, size, pixel format, colour table and
    // transparency, all copied.
    void Assign(const TPersistent& source) override;

private:
    friend class TBitmapCanvas;

    struct TLayout {
        int bitsPerPixel = 32;
        bool rgb565 = false;
    };
    static TLayout LayoutOf(TPixelFormat format);

    // A DIB section and its rows (both null for an empty picture).
    struct TDib {
        UniqueBitmap handle;
        std::uint8_t* bits = nullptr;
    };
    static TDib MakeDib(int width, int height, TLayout layout, const std::vector<TColor>& palette);
    // A full-length colour table for 1/4/8-bit layouts (the standard one
    // when palette is empty); nothing for the others.
    static std::vector<TColor> NormalPalette(std::vector<TColor> palette, TLayout layout);

    std::size_t Stride() const { return DibStride(width_, layout_.bitsPerPixel); }
    std::uint8_t* Row(int y) const { return bits_ + static_cast<std::size_t>(height_ - 1 - y) * Stride(); }
    // Lets go of the canvas's DC before the picture is replaced.
    void Changing();
    // Replaces the picture; the old DIB section is deleted here.
    void Adopt(TDib dib, int width, int height, TPixelFormat format, TLayout layout, std::vector<TColor> palette);
    // Rows first..first+count in the stored format.
    TBitmapFile Snapshot(int first, int count) const;
    TPixelImage As24Bit() const;
    // Fills the (same-sized) picture from 24-bit pixels in the stored format.
    void StorePixels(TConstPixelView from);
    void LoadFromFile(const TBitmapFile& file);
    // Reads a file at the start of bytes; returns how many bytes it takes.
    std::size_t LoadFromBytes(std::span<const std::uint8_t> bytes);
    void LoadFromResource(HINSTANCE instance, const wchar_t* name, const std::string& description);
    // Runs f with a DC that has the bitmap selected: the canvas's if it has
    // one, else a scratch DC.
    template <class F>
    void WithDC(F f);

    UniqueBitmap handle_;
    std::uint8_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    TPixelFormat format_ = TPixelFormat::pfDevice;
    TLayout layout_;
    std::vector<TColor> palette_;
    TTransparentMode transparentMode_ = TTransparentMode::tmAuto;
    TColor transparentColor_ = clDefault;
    // Declared after handle_ so that it lets go of the bitmap first.
    std::unique_ptr<TBitmapCanvas> canvas_;
};

// The header of a device-independent bitmap; a negative height makes its
// rows run top-down.
inline BITMAPINFOHEADER DibHeader(int width, int height, int bitsPerPixel, DWORD compression = BI_RGB) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bitsPerPixel);
    header.biCompression = compression;
    return header;
}
