#include "classlib/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "core/BitmapFile.h"
#include "core/ByteOrder.h"

namespace {

constexpr TBitMasks kMasks565{0xF800, 0x07E0, 0x001F};

// A header with room for the largest colour table (or three bit masks).
struct TDibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

RGBQUAD ToRgbQuad(TColor c) {
    return {static_cast<BYTE>(BlueOf(c)), static_cast<BYTE>(GreenOf(c)), static_cast<BYTE>(RedOf(c)), 0};
}

std::uint8_t* DibRow(std::uint8_t* bits, int height, std::size_t stride, int y) {
    return bits + static_cast<std::size_t>(height - 1 - y) * stride;
}

// The colour tables a bitmap gets when nothing better is known: black and
// white, the 16 VGA colours, and for 8 bits those plus a 6 x 6 x 6 colour
// cube and 24 greys.
std::vector<TColor> StandardPalette(int bitsPerPixel) {
    if (bitsPerPixel == 1) return {0x000000, 0xFFFFFF};
    std::vector<TColor> colours{0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
                                0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    if (bitsPerPixel == 8) {
        for (int b = 0; b < 6; ++b)
            for (int g = 0; g < 6; ++g)
                for (int r = 0; r < 6; ++r) colours.push_back(MakeColour(r * 51, g * 51, b * 51));
        for (int i = 0; i < 24; ++i) colours.push_back(MakeColour(8 + 10 * i, 8 + 10 * i, 8 + 10 * i));
    }
    return colours;
}

// The picture's own colours when they fit the table, else the standard table.
std::vector<TColor> ChoosePalette(TConstPixelView image, int bitsPerPixel) {
    const std::size_t limit = std::size_t(1) << bitsPerPixel;
    std::vector<TColor> colours;
    std::unordered_set<TColor> seen;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const TColor c = image.Pixel(x, y);
            if (!seen.insert(c).second) continue;
            if (colours.size() == limit) return StandardPalette(bitsPerPixel);
            colours.push_back(c);
        }
    return colours;
}

// Nearest colour table entry of each colour, remembered per colour.
class TColourIndex {
public:
    explicit TColourIndex(const std::vector<TColor>& palette) : palette_(palette) {}
    std::uint8_t operator()(TColor c) {
        auto [it, added] = cache_.try_emplace(c, std::uint8_t{0});
        if (added) it->second = Nearest(c);
        return it->second;
    }

private:
    std::uint8_t Nearest(TColor c) const {
        std::size_t best = 0;
        int bestDistance = 1 << 30;
        for (std::size_t i = 0; i < palette_.size(); ++i) {
            const int dr = RedOf(c) - RedOf(palette_[i]), dg = GreenOf(c) - GreenOf(palette_[i]),
                      db = BlueOf(c) - BlueOf(palette_[i]);
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                best = i;
                bestDistance = distance;
            }
        }
        return static_cast<std::uint8_t>(best);
    }

    const std::vector<TColor>& palette_;
    std::unordered_map<TColor, std::uint8_t> cache_;
};

void CheckSize(std::int64_t width, std::int64_t height) {
    if (width > TBitmap::kMaxSide || height > TBitmap::kMaxSide || width * height > TBitmap::kMaxPixels)
        throw EInvalidGraphicOperation("A bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                                       " pixels is too large");
}

}  // namespace

// ---------------------------------------------------------------------------

const TClassInfo& TBitmapCanvas::StaticClass() {
    static const TClassInfo info(L"TBitmapCanvas", &TCanvas::StaticClass());
    return info;
}

TBitmapCanvas::~TBitmapCanvas() { FreeContext(); }

void TBitmapCanvas::FreeContext() {
    if (!dc_) return;
    SetHandle(nullptr);
    if (oldBitmap_) SelectObject(dc_.get(), oldBitmap_);
    oldBitmap_ = nullptr;
    dc_.reset();
}

void TBitmapCanvas::CreateHandle() {
    UniqueDC dc(CreateCompatibleDC(nullptr));
    if (!dc) return;
    oldBitmap_ = bitmap_.handle_ ? SelectObject(dc.get(), bitmap_.handle_.get()) : nullptr;
    dc_ = std::move(dc);
    SetHandle(dc_.get());
}

// ---------------------------------------------------------------------------

const TClassInfo& TBitmap::StaticClass() {
    static const TClassInfo info(
        L"TBitmap", &TGraphic::StaticClass(),
        {
            props::Integer(L"Width", &TBitmap::Width, &TBitmap::SetWidth),
            props::Integer(L"Height", &TBitmap::Height, &TBitmap::SetHeight),
            props::Enumeration(
                L"PixelFormat", &TBitmap::PixelFormat, &TBitmap::SetPixelFormat,
                {L"pfDevice", L"pf1bit", L"pf4bit", L"pf8bit", L"pf15bit", L"pf16bit", L"pf24bit", L"pf32bit"}),
            props::Boolean(L"Transparent", &TBitmap::Transparent, &TBitmap::SetTransparent),
            props::Colour(L"TransparentColor", &TBitmap::TransparentColor, &TBitmap::SetTransparentColor),
            props::Enumeration(L"TransparentMode", &TBitmap::TransparentMode, &TBitmap::SetTransparentMode,
                               {L"tmAuto", L"tmFixed"}),
            props::GraphicData(L"Data"),
        });
    return info;
}

TBitmap::TBitmap() : layout_(LayoutOf(format_)), palette_(NormalPalette({}, layout_)) {}

TBitmap::~TBitmap() { canvas_.reset(); }

TBitmap::TLayout TBitmap::LayoutOf(TPixelFormat format) {
    switch (format) {
        case TPixelFormat::pf1bit: return {1, false};
        case TPixelFormat::pf4bit: return {4, false};
        case TPixelFormat::pf8bit: return {8, false};
        case TPixelFormat::pf15bit: return {16, false};
        case TPixelFormat::pf16bit: return {16, true};
        case TPixelFormat::pf24bit: return {24, false};
        case TPixelFormat::pf32bit: return {32, false};
        case TPixelFormat::pfDevice: break;
    }
    // Every current display works in 32 bits per pixel. Asking the display
    // would cost more than making the bitmap, and a fixed layout keeps the
    // rows of a pfDevice bitmap the same on every machine.
    return {32, false};
}

std::vector<TColor> TBitmap::NormalPalette(std::vector<TColor> palette, TLayout layout) {
    if (layout.bitsPerPixel > 8) return {};
    if (palette.empty()) palette = StandardPalette(layout.bitsPerPixel);
    palette.resize(std::size_t(1) << layout.bitsPerPixel, 0);
    return palette;
}

TBitmap::TDib TBitmap::MakeDib(int width, int height, TLayout layout, const std::vector<TColor>& palette) {
    if (width <= 0 || height <= 0) return {};
    TDibInfo info{};
    // Bottom-up, like the files.
    info.header = DibHeader(width, height, layout.bitsPerPixel, layout.rgb565 ? BI_BITFIELDS : BI_RGB);
    if (layout.rgb565) {
        const DWORD masks[3] = {kMasks565.Red, kMasks565.Green, kMasks565.Blue};
        std::memcpy(info.colours, masks, sizeof masks);
    }
    if (layout.bitsPerPixel <= 8) {
        info.header.biClrUsed = static_cast<DWORD>(palette.size());
        for (std::size_t i = 0; i < palette.size(); ++i) info.colours[i] = ToRgbQuad(palette[i]);
    }
    void* bits = nullptr;
    HBITMAP handle =
        CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!handle)
        throw EInvalidGraphicOperation("Out of system resources: cannot make a bitmap of " + std::to_string(width) +
                                       " x " + std::to_string(height) + " pixels");
    return {UniqueBitmap(handle), static_cast<std::uint8_t*>(bits)};
}

void TBitmap::Changing() {
    if (canvas_) canvas_->FreeContext();
}

void TBitmap::Adopt(TDib dib, int width, int height, TPixelFormat format, TLayout layout, std::vector<TColor> palette) {
    Changing();
    handle_ = std::move(dib.handle);
    bits_ = dib.bits;
    width_ = width;
    height_ = height;
    format_ = format;
    layout_ = layout;
    palette_ = std::move(palette);
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    CheckSize(width, height);
    TDib dib = MakeDib(width, height, layout_, palette_);
    if (dib.bits && bits_) {
        GdiFlush();
        const std::size_t stride = DibStride(width, layout_.bitsPerPixel);
        const std::size_t bytes =
            (static_cast<std::size_t>(std::min(width, width_)) * static_cast<std::size_t>(layout_.bitsPerPixel) + 7) /
            8;
        for (int y = 0; y < std::min(height, height_); ++y)
            std::memcpy(DibRow(dib.bits, height, stride, y), Row(y), bytes);
    }
    Adopt(std::move(dib), width, height, format_, layout_, palette_);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == format_) return;
    const TLayout layout = LayoutOf(format);
    if (layout.bitsPerPixel == layout_.bitsPerPixel && layout.rgb565 == layout_.rgb565) {
        format_ = format;  // pfDevice and the format it stands for
        return;
    }
    if (Empty()) {
        Adopt({}, width_, height_, format, layout, NormalPalette({}, layout));
        return;
    }
    const TPixelImage picture = As24Bit();
    std::vector<TColor> palette;
    if (layout.bitsPerPixel <= 8) palette = NormalPalette(ChoosePalette(picture.View(), layout.bitsPerPixel), layout);
    TDib dib = MakeDib(width_, height_, layout, palette);
    Adopt(std::move(dib), width_, height_, format, layout, std::move(palette));
    StorePixels(picture.View());
}

void TBitmap::SetPalette(std::span<const TColor> colours) {
    if (palette_.empty()) return;
    std::copy_n(colours.begin(), std::min(colours.size(), palette_.size()), palette_.begin());
    if (!handle_) return;
    RGBQUAD table[256];
    std::transform(palette_.begin(), palette_.end(), table, ToRgbQuad);
    WithDC([&](HDC dc) { SetDIBColorTable(dc, 0, static_cast<UINT>(palette_.size()), table); });
}

std::span<std::uint8_t> TBitmap::ScanLine(int y) {
    if (y < 0 || y >= height_ || !bits_) throw EInvalidGraphicOperation("Scan line index out of range");
    GdiFlush();
    return {Row(y), Stride()};
}

std::span<const std::uint8_t> TBitmap::ScanLine(int y) const { return const_cast<TBitmap*>(this)->ScanLine(y); }

TPixelView TBitmap::Pixels() {
    if (Empty()) return {};
    if (layout_.bitsPerPixel != 24)
        throw EInvalidGraphicOperation("24-bit pixel access to a bitmap of " + std::to_string(layout_.bitsPerPixel) +
                                       " bits per pixel");
    GdiFlush();
    return TPixelView::FromDib(bits_, width_, height_);
}

TConstPixelView TBitmap::Pixels() const { return const_cast<TBitmap*>(this)->Pixels(); }

TCanvas* TBitmap::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TBitmapCanvas>(*this);
    return canvas_.get();
}

HBITMAP TBitmap::Handle() {
    // A bitmap can be selected into one DC only: whoever takes the handle
    // may want to select it.
    Changing();
    return handle_.get();
}

template <class F>
void TBitmap::WithDC(F f) {
    if (canvas_ && canvas_->HandleAllocated()) {
        f(canvas_->Handle());
        return;
    }
    UniqueDC dc(CreateCompatibleDC(nullptr));
    if (!dc) return;
    SelectedObject selected(dc.get(), handle_.get());
    f(dc.get());
}

void TBitmap::SetHandle(HBITMAP bitmap) {
    if (bitmap && bitmap == handle_.get()) return;
    UniqueBitmap source(bitmap);
    if (!bitmap) {
        Clear();
        return;
    }
    DIBSECTION ds{};
    const int got = GetObjectW(bitmap, sizeof ds, &ds);
    if (got != sizeof(BITMAP) && got != sizeof(DIBSECTION)) {
        source.release();  // not ours to delete: it is no bitmap
        throw EInvalidGraphicOperation("The handle is not a bitmap");
    }
    const int width = ds.dsBm.bmWidth, height = std::abs(ds.dsBm.bmHeight);
    CheckSize(width, height);
    TPixelFormat format = TPixelFormat::pfDevice;
    if (got == sizeof(DIBSECTION) || ds.dsBm.bmBitsPixel == 1) {
        switch (ds.dsBm.bmBitsPixel) {
            case 1: format = TPixelFormat::pf1bit; break;
            case 4: format = TPixelFormat::pf4bit; break;
            case 8: format = TPixelFormat::pf8bit; break;
            case 16: {
                const bool is565 = ds.dsBmih.biCompression == BI_BITFIELDS && ds.dsBitfields[0] == kMasks565.Red &&
                                   ds.dsBitfields[1] == kMasks565.Green && ds.dsBitfields[2] == kMasks565.Blue;
                format = is565 ? TPixelFormat::pf16bit : TPixelFormat::pf15bit;
                break;
            }
            case 24: format = TPixelFormat::pf24bit; break;
            default: format = TPixelFormat::pf32bit; break;
        }
    }
    const TLayout layout = LayoutOf(format);

    UniqueDC from(CreateCompatibleDC(nullptr));
    SelectedObject selectedFrom(from.get(), bitmap);
    std::vector<TColor> palette;
    if (layout.bitsPerPixel <= 8) {
        RGBQUAD table[256];
        const UINT count = GetDIBColorTable(from.get(), 0, 256, table);
        for (UINT i = 0; i < count; ++i)
            palette.push_back(MakeColour(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue));
        palette = NormalPalette(std::move(palette), layout);
    }
    TDib dib = MakeDib(width, height, layout, palette);
    if (dib.handle) {
        UniqueDC to(CreateCompatibleDC(nullptr));
        SelectedObject selectedTo(to.get(), dib.handle.get());
        BitBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    Adopt(std::move(dib), width, height, format, layout, std::move(palette));
}

TBitmapFile TBitmap::Snapshot(int first, int count) const {
    GdiFlush();
    TBitmapFile file(width_, count, layout_.bitsPerPixel);
    if (layout_.bitsPerPixel <= 8) file.Palette() = palette_;
    if (layout_.rgb565) file.SetMasks(kMasks565);
    for (int y = 0; y < count; ++y) std::memcpy(file.Row(y).data(), Row(first + y), Stride());
    return file;
}

TPixelImage TBitmap::As24Bit() const { return Snapshot(0, height_).To24Bit(); }

void TBitmap::StorePixels(TConstPixelView from) {
    const int bits = layout_.bitsPerPixel;
    std::optional<TColourIndex> index;
    if (bits <= 8) index.emplace(palette_);
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* in = from.Row(y).data();
        std::uint8_t* out = Row(y);
        if (bits == 24) {
            std::memcpy(out, in, 3 * static_cast<std::size_t>(width_));
            continue;
        }
        std::memset(out, 0, Stride());
        for (int x = 0; x < width_; ++x) {
            const std::uint8_t* p = in + 3 * x;  // blue, green, red
            switch (bits) {
                case 32: std::memcpy(out + 4 * x, p, 3); break;
                case 16: {
                    const unsigned v = layout_.rgb565 ? (p[2] >> 3) << 11 | (p[1] >> 2) << 5 | p[0] >> 3
                                                      : (p[2] >> 3) << 10 | (p[1] >> 3) << 5 | p[0] >> 3;
                    out[2 * x] = static_cast<std::uint8_t>(v);
                    out[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                    break;
                }
                default: {
                    const unsigned i = (*index)(MakeColour(p[2], p[1], p[0]));
                    if (bits == 8)
                        out[x] = static_cast<std::uint8_t>(i);
                    else if (bits == 4)
                        out[x / 2] |= static_cast<std::uint8_t>(i << (x % 2 ? 0 : 4));
                    else
                        out[x / 8] |= static_cast<std::uint8_t>(i << (7 - x % 8));
                }
            }
        }
    }
}

void TBitmap::LoadFromFile(const TBitmapFile& file) {
    const int bits = file.BitsPerPixel();
    TPixelFormat format = TPixelFormat::pf24bit;
    bool sameRows = true;  // else the rows go through 24 bits
    switch (bits) {
        case 1: format = TPixelFormat::pf1bit; break;
        case 4: format = TPixelFormat::pf4bit; break;
        case 8: format = TPixelFormat::pf8bit; break;
        case 16:
            if (file.Masks() == DefaultBitMasks(16))
                format = TPixelFormat::pf15bit;
            else if (file.Masks() == kMasks565)
                format = TPixelFormat::pf16bit;
            else
                sameRows = false;
            break;
        case 24: break;
        default: format = TPixelFormat::pf32bit; sameRows = file.Masks() == DefaultBitMasks(32);
    }
    const TLayout layout = LayoutOf(format);
    std::vector<TColor> palette;
    if (bits <= 8) palette = NormalPalette(file.Palette(), layout);
    std::optional<TPixelImage> picture;
    if (!sameRows) picture = file.To24Bit();

    TDib dib = MakeDib(file.Width(), file.Height(), layout, palette);
    if (sameRows)
        for (int y = 0; y < file.Height(); ++y)
            std::memcpy(DibRow(dib.bits, file.Height(), file.Stride(), y), file.Row(y).data(), file.Stride());
    Adopt(std::move(dib), file.Width(), file.Height(), format, layout, std::move(palette));
    if (picture) StorePixels(picture->View());
}

std::size_t TBitmap::LoadFromBytes(std::span<const std::uint8_t> bytes) {
    std::optional<TBitmapFile> file;
    try {
        file = TBitmapFile::Decode(bytes);
    } catch (const EBitmapError& e) {
        throw EInvalidGraphic(e.what());
    }
    LoadFromFile(*file);
    // The file ends at its declared size or after its last row, whichever
    // comes later.
    const std::uint64_t declared = ReadLE32(&bytes[2]);
    const std::uint64_t rowsEnd = ReadLE32(&bytes[10]) + std::uint64_t(file->Stride()) * std::uint64_t(file->Height());
    return static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), std::max(declared, rowsEnd)));
}

void TBitmap::LoadFromStream(TStream& stream) {
    const std::size_t start = stream.Position();
    if (start >= stream.Size()) {
        Clear();
        return;
    }
    std::vector<std::uint8_t> bytes(stream.Size() - start);
    stream.ReadBuffer(bytes.data(), bytes.size());
    // A stream may hold more than this one file.
    try {
        stream.SetPosition(start + LoadFromBytes(bytes));
    } catch (...) {
        stream.SetPosition(start);
        throw;
    }
}

void TBitmap::SaveToStream(TStream& stream) const {
    if (Empty()) return;
    const std::vector<std::uint8_t> bytes = Snapshot(0, height_).Encode();
    stream.WriteBuffer(bytes.data(), bytes.size());
}

void TBitmap::LoadFromResource(HINSTANCE instance, const wchar_t* name, const std::string& description) {
    HRSRC info = FindResourceW(instance, name, RT_BITMAP);
    if (!info) throw EInvalidGraphic("Bitmap resource " + description + " not found");
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(instance, info)));
    const DWORD size = SizeofResource(instance, info);
    if (!data || size < sizeof(BITMAPINFOHEADER))
        throw EInvalidGraphic("Bitmap resource " + description + " is damaged");

    // A bitmap resource is a file without its file header: put one in front.
    const std::uint64_t headerSize = ReadLE32(data);
    const unsigned bitsPerPixel = ReadLE16(data + 14);
    const std::uint32_t compression = ReadLE32(data + 16);
    const std::uint64_t coloursUsed = ReadLE32(data + 32);
    const std::uint64_t colours = coloursUsed != 0    ? coloursUsed
                                  : bitsPerPixel <= 8 ? std::uint64_t(1) << bitsPerPixel
                                                      : 0;
    const std::uint64_t masks = headerSize == sizeof(BITMAPINFOHEADER) && compression == BI_BITFIELDS ? 12
                                : headerSize == sizeof(BITMAPINFOHEADER) && compression == 6 /* BI_ALPHABITFIELDS */
                                    ? 16
                                    : 0;
    const std::uint64_t pixelOffset = 14 + headerSize + masks + 4 * colours;
    if (pixelOffset > 14 + std::uint64_t(size)) throw EInvalidGraphic("Bitmap resource " + description + " is damaged");
    std::vector<std::uint8_t> file{'B', 'M'};
    file.reserve(14 + size);
    AppendLE32(file, 14 + size);
    AppendLE32(file, 0);
    AppendLE32(file, static_cast<std::uint32_t>(pixelOffset));
    file.insert(file.end(), data, data + size);
    LoadFromBytes(file);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::wstring& name) {
    LoadFromResource(instance, name.c_str(), WideToUtf8(name));
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id) {
    LoadFromResource(instance, MAKEINTRESOURCEW(id), "#" + std::to_string(id));
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == TTransparentMode::tmFixed) return transparentColor_;
    if (Empty()) return clDefault;
    return Snapshot(height_ - 1, 1).To24Bit().View().Pixel(0, 0);
}

void TBitmap::SetTransparentColor(TColor colour) {
    transparentColor_ = colour;
    transparentMode_ = colour == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
    if (mode == transparentMode_) return;
    transparentColor_ = mode == TTransparentMode::tmFixed ? TransparentColor() : clDefault;
    transparentMode_ = mode;
}

void TBitmap::Draw(TCanvas& canvas, const RECT& r) {
    if (Empty()) return;
    HDC dc = canvas.Handle();
    if (!dc) return;
    const int w = r.right - r.left, h = r.bottom - r.top;
    const bool transparent = Transparent();
    const COLORREF key = transparent ? static_cast<COLORREF>(ColorToRGB(TransparentColor())) : 0;
    const DWORD rop = canvas.CopyMode;
    WithDC([&](HDC source) {
        const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        if (transparent)
            TransparentBlt(dc, r.left, r.top, w, h, source, 0, 0, width_, height_, key);
        else if (w == width_ && h == height_)
            BitBlt(dc, r.left, r.top, w, h, source, 0, 0, rop);
        else
            StretchBlt(dc, r.left, r.top, w, h, source, 0, 0, width_, height_, rop);
        SetStretchBltMode(dc, oldMode);
    });
}

void TBitmap::Assign(const TPersistent& source) {
    if (&source == this) return;
    const auto* other = dynamic_cast<const TBitmap*>(&source);
    if (!other) {
        TGraphic::Assign(source);
        return;
    }
    TDib dib = MakeDib(other->width_, other->height_, other->layout_, other->palette_);
    if (dib.bits) {
        GdiFlush();
        std::memcpy(dib.bits, other->bits_, other->Stride() * static_cast<std::size_t>(other->height_));
    }
    Adopt(std::move(dib), other->width_, other->height_, other->format_, other->layout_, other->palette_);
    SetTransparent(other->Transparent());
    transparentMode_ = other->transparentMode_;
    transparentColor_ = other->transparentColor_;
}
