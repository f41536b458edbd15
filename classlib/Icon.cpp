#include "classlib/Icon.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "classlib/Bitmap.h"
#include "classlib/Canvas.h"
#include "core/ByteOrder.h"
#include "core/PixelImage.h"

namespace {

constexpr std::size_t kDirectoryHeader = 6;
constexpr std::size_t kFileEntry = 16;      // ICONDIRENTRY
constexpr std::size_t kResourceEntry = 14;  // GRPICONDIRENTRY: the offset is a resource id
constexpr int kMaxIconSide = 1024;

void AppendLE16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

bool IsPng(std::span<const std::uint8_t> image) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return image.size() >= 8 && std::equal(kSignature, kSignature + 8, image.begin());
}

// A DIB image must hold its header, colour table and colour rows; the system
// reads them without knowing how many bytes there are.
bool SoundDibImage(std::span<const std::uint8_t> image) {
    if (image.size() < sizeof(BITMAPINFOHEADER)) return false;
    const std::uint64_t headerSize = ReadLE32(image.data());
    const std::int64_t width = ReadLE32Signed(image.data() + 4);
    const std::int64_t height = ReadLE32Signed(image.data() + 8) / 2;  // colour and mask rows
    const int bits = ReadLE16(image.data() + 14);
    const std::uint64_t coloursUsed = ReadLE32(image.data() + 32);
    if (headerSize < sizeof(BITMAPINFOHEADER) || width < 1 || height < 1 || width > kMaxIconSide ||
        height > kMaxIconSide)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    const std::uint64_t colours = coloursUsed != 0 ? coloursUsed : bits <= 8 ? std::uint64_t(1) << bits : 0;
    const std::uint64_t needed =
        headerSize + 4 * colours + DibStride(static_cast<int>(width), bits) * static_cast<std::uint64_t>(height);
    return needed <= image.size();
}

struct TParsedIcon {
    std::vector<TIcon::TImageInfo> images;
    std::size_t end = 0;  // bytes the file takes
};

TParsedIcon ParseIconFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kDirectoryHeader) throw EInvalidGraphic("Too short for an icon file");
    if (ReadLE16(&bytes[0]) != 0 || ReadLE16(&bytes[2]) != 1) throw EInvalidGraphic("Not an icon file");
    const std::size_t count = ReadLE16(&bytes[4]);
    if (count == 0) throw EInvalidGraphic("The icon file holds no image");
    const std::size_t directoryEnd = kDirectoryHeader + kFileEntry * count;
    if (directoryEnd > bytes.size()) throw EInvalidGraphic("Truncated icon directory");

    TParsedIcon parsed;
    parsed.end = directoryEnd;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = &bytes[kDirectoryHeader + kFileEntry * i];
        TIcon::TImageInfo info;
        info.Width = entry[0] ? entry[0] : 256;
        info.Height = entry[1] ? entry[1] : 256;
        info.BitsPerPixel = ReadLE16(entry + 6);
        info.Size = ReadLE32(entry + 8);
        info.Offset = ReadLE32(entry + 12);
        const std::string which = "Icon image " + std::to_string(i + 1);
        if (info.Offset < directoryEnd || std::uint64_t(info.Offset) + info.Size > bytes.size())
            throw EInvalidGraphic(which + " lies outside the file");
        const auto image = bytes.subspan(info.Offset, info.Size);
        const bool png = IsPng(image);
        if (!png && !SoundDibImage(image))
            throw EInvalidGraphic(which + " is neither a sound bitmap nor a PNG picture");
        if (info.BitsPerPixel == 0) info.BitsPerPixel = png ? 32 : ReadLE16(image.data() + 14);
        parsed.images.push_back(info);
        parsed.end = std::max(parsed.end, info.Offset + info.Size);
    }
    return parsed;
}

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return {0, 0};
    UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    GetObjectW(mask.get(), sizeof bm, &bm);
    return {bm.bmWidth, colour ? bm.bmHeight : bm.bmHeight / 2};
}

// A one-image .ico file of the icon: 32-bit colour and mask, or the 1-bit
// image and mask of a monochrome icon.
std::vector<std::uint8_t> EncodeIcon(HICON icon) {
    ICONINFO ii{};
    if (!GetIconInfo(icon, &ii)) return {};
    UniqueBitmap colour(ii.hbmColor), mask(ii.hbmMask);
    BITMAP bm{};
    if (!GetObjectW(mask.get(), sizeof bm, &bm)) return {};
    const int width = bm.bmWidth;
    const int height = colour ? bm.bmHeight : bm.bmHeight / 2;
    const int bits = colour ? 32 : 1;

    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{};
    auto rows = [&](HBITMAP bitmap, int bitsPerPixel, int count) {
        info.header = DibHeader(width, count, bitsPerPixel);
        std::vector<std::uint8_t> out(DibStride(width, bitsPerPixel) * static_cast<std::size_t>(count));
        UniqueDC dc(CreateCompatibleDC(nullptr));
        GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(count), out.data(), reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS);
        return out;
    };
    // A monochrome icon's mask holds the AND rows above the XOR rows; read
    // bottom-up they come in the order of the file: XOR, then AND.
    std::vector<std::uint8_t> pixels = colour ? rows(colour.get(), 32, height) : rows(mask.get(), 1, 2 * height);
    if (colour) {
        const std::vector<std::uint8_t> andRows = rows(mask.get(), 1, height);
        pixels.insert(pixels.end(), andRows.begin(), andRows.end());
    }
    const std::size_t paletteBytes = bits == 1 ? 8 : 0;
    const std::size_t imageSize = sizeof(BITMAPINFOHEADER) + paletteBytes + pixels.size();

    std::vector<std::uint8_t> out;
    AppendLE16(out, 0);
    AppendLE16(out, 1);
    AppendLE16(out, 1);
    out.push_back(static_cast<std::uint8_t>(width < 256 ? width : 0));
    out.push_back(static_cast<std::uint8_t>(height < 256 ? height : 0));
    out.push_back(bits == 1 ? 2 : 0);
    out.push_back(0);
    AppendLE16(out, 1);
    AppendLE16(out, static_cast<unsigned>(bits));
    AppendLE32(out, static_cast<std::uint32_t>(imageSize));
    AppendLE32(out, static_cast<std::uint32_t>(kDirectoryHeader + kFileEntry));

    AppendLE32(out, sizeof(BITMAPINFOHEADER));
    AppendLE32(out, static_cast<std::uint32_t>(width));
    AppendLE32(out, static_cast<std::uint32_t>(2 * height));
    AppendLE16(out, 1);
    AppendLE16(out, static_cast<unsigned>(bits));
    AppendLE32(out, BI_RGB);
    AppendLE32(out, static_cast<std::uint32_t>(pixels.size()));
    for (int i = 0; i < 4; ++i) AppendLE32(out, 0);
    if (bits == 1) {
        AppendLE32(out, 0x000000);
        AppendLE32(out, 0xFFFFFF);
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

}  // namespace

const TClassInfo& TIcon::StaticClass() {
    static const TClassInfo info(L"TIcon", &TGraphic::StaticClass(),
                                 {
                                     props::Integer<TIcon, int>(L"Width", &TIcon::Width, nullptr),
                                     props::Integer<TIcon, int>(L"Height", &TIcon::Height, nullptr),
                                     props::GraphicData(L"Data"),
                                 });
    return info;
}

TIcon::TIcon() {
    // Icons carry their own mask.
    SetTransparent(true);
}

TIcon::~TIcon() = default;

int TIcon::BestImage(std::span<const TImageInfo> images, int cx, int cy) {
    int best = -1;
    int bestDistance = 0, bestArea = 0, bestBits = 0;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const TImageInfo& image = images[i];
        const int distance = std::abs(image.Width - cx) + std::abs(image.Height - cy);
        const int area = image.Width * image.Height;
        if (best < 0 || distance < bestDistance ||
            (distance == bestDistance && (area > bestArea || (area == bestArea && image.BitsPerPixel > bestBits)))) {
            best = static_cast<int>(i);
            bestDistance = distance;
            bestArea = area;
            bestBits = image.BitsPerPixel;
        }
    }
    return best;
}

SIZE TIcon::RequestedSize() const {
    if (requested_.cx > 0 && requested_.cy > 0) return requested_;
    return {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
}

const TIcon::TImageInfo* TIcon::Best(int cx, int cy) const {
    const int i = BestImage(images_, cx, cy);
    return i < 0 ? nullptr : &images_[static_cast<std::size_t>(i)];
}

int TIcon::Width() const {
    if (images_.empty()) return handleSize_.cx;
    const SIZE s = RequestedSize();
    return Best(s.cx, s.cy)->Width;
}

int TIcon::Height() const {
    if (images_.empty()) return handleSize_.cy;
    const SIZE s = RequestedSize();
    return Best(s.cx, s.cy)->Height;
}

void TIcon::Clear() {
    data_.clear();
    images_.clear();
    sized_.clear();
    handle_.reset();
    handleSize_ = {0, 0};
}

void TIcon::SetSize(int width, int height) {
    requested_ = {std::max(width, 0), std::max(height, 0)};
    // A handle made from the file may no longer be the best image.
    if (!images_.empty()) handle_.reset();
}

std::size_t TIcon::LoadFromBytes(std::vector<std::uint8_t> bytes) {
    TParsedIcon parsed = ParseIconFile(bytes);
    bytes.resize(parsed.end);
    Clear();
    data_ = std::move(bytes);
    images_ = std::move(parsed.images);
    return parsed.end;
}

void TIcon::LoadFromStream(TStream& stream) {
    const std::size_t start = stream.Position();
    if (start >= stream.Size()) {
        Clear();
        return;
    }
    std::vector<std::uint8_t> bytes(stream.Size() - start);
    stream.ReadBuffer(bytes.data(), bytes.size());
    try {
        stream.SetPosition(start + LoadFromBytes(std::move(bytes)));
    } catch (...) {
        stream.SetPosition(start);
        throw;
    }
}

void TIcon::SaveToStream(TStream& stream) const {
    const std::vector<std::uint8_t> made =
        data_.empty() && handle_ ? EncodeIcon(handle_.get()) : std::vector<std::uint8_t>();
    const std::vector<std::uint8_t>& bytes = data_.empty() ? made : data_;
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), bytes.size());
}

void TIcon::LoadFromResource(HINSTANCE instance, const wchar_t* name, const std::string& description) {
    const std::string damaged = "Icon resource " + description + " is damaged";
    HRSRC group = FindResourceW(instance, name, RT_GROUP_ICON);
    if (!group) throw EInvalidGraphic("Icon resource " + description + " not found");
    const auto* dir = static_cast<const std::uint8_t*>(LockResource(LoadResource(instance, group)));
    const std::size_t dirSize = SizeofResource(instance, group);
    if (!dir || dirSize < kDirectoryHeader) throw EInvalidGraphic(damaged);
    const std::size_t count = ReadLE16(dir + 4);
    if (kDirectoryHeader + kResourceEntry * count > dirSize) throw EInvalidGraphic(damaged);

    // The group lists the images by resource id; a file lists them by offset.
    std::vector<std::uint8_t> file;
    AppendLE16(file, 0);
    AppendLE16(file, 1);
    AppendLE16(file, static_cast<unsigned>(count));
    std::vector<std::uint8_t> images;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = dir + kDirectoryHeader + kResourceEntry * i;
        HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(ReadLE16(entry + 12)), RT_ICON);
        const auto* image =
            found ? static_cast<const std::uint8_t*>(LockResource(LoadResource(instance, found))) : nullptr;
        if (!image) throw EInvalidGraphic(damaged);
        const std::uint32_t size = SizeofResource(instance, found);
        file.insert(file.end(), entry, entry + 8);
        AppendLE32(file, size);
        AppendLE32(file, static_cast<std::uint32_t>(kDirectoryHeader + kFileEntry * count + images.size()));
        images.insert(images.end(), image, image + size);
    }
    file.insert(file.end(), images.begin(), images.end());
    try {
        LoadFromBytes(std::move(file));
    } catch (const EInvalidGraphic& e) {
        throw EInvalidGraphic(damaged + ": " + e.what());
    }
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const std::wstring& name) {
    LoadFromResource(instance, name.c_str(), WideToUtf8(name));
}

void TIcon::LoadFromResourceID(HINSTANCE instance, int id) {
    LoadFromResource(instance, MAKEINTRESOURCEW(id), "#" + std::to_string(id));
}

HICON TIcon::Handle() {
    if (!handle_ && !images_.empty()) {
        const SIZE s = RequestedSize();
        const TImageInfo* image = Best(s.cx, s.cy);
        handle_ = CreateHandle(image->Width, image->Height);
        handleSize_ = {image->Width, image->Height};
    }
    return handle_.get();
}

void TIcon::SetHandle(HICON icon) {
    if (icon && icon == handle_.get()) {
        // Its own handle: kept, and no longer made from the file.
        data_.clear();
        images_.clear();
        return;
    }
    // One of its own sized handles changes owner rather than dying.
    for (TSized& kept : sized_)
        if (kept.icon.get() == icon) (void)kept.icon.release();
    UniqueIcon taken(icon);
    Clear();
    handleSize_ = IconSize(icon);
    handle_ = std::move(taken);
}

HICON TIcon::HandleForSize(int cx, int cy) {
    for (const TSized& kept : sized_)
        if (kept.size.cx == cx && kept.size.cy == cy) return kept.icon.get();
    UniqueIcon made = CreateHandle(cx, cy);
    if (!made) return nullptr;
    sized_.push_back({{cx, cy}, std::move(made)});
    return sized_.back().icon.get();
}

bool TIcon::MadeAtSize(HICON icon, int cx, int cy) const {
    return icon && std::any_of(sized_.begin(), sized_.end(), [&](const TSized& kept) {
        return kept.icon.get() == icon && kept.size.cx == cx && kept.size.cy == cy;
    });
}

UniqueIcon TIcon::CreateHandle(int cx, int cy) const {
    if (cx <= 0 || cy <= 0) return {};
    if (const TImageInfo* image = Best(cx, cy))
        return UniqueIcon(CreateIconFromResourceEx(const_cast<BYTE*>(data_.data() + image->Offset),
                                                   static_cast<DWORD>(image->Size), TRUE, 0x00030000, cx, cy,
                                                   LR_DEFAULTCOLOR));
    if (handle_) return UniqueIcon(static_cast<HICON>(CopyImage(handle_.get(), IMAGE_ICON, cx, cy, 0)));
    return {};
}

void TIcon::Draw(TCanvas& canvas, const RECT& r) {
    if (Empty()) return;
    HDC dc = canvas.Handle();
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (!dc || w <= 0 || h <= 0) return;
    UniqueIcon scaled;
    HICON icon = nullptr;
    if (w == Width() && h == Height()) {
        icon = Handle();
    } else {
        scaled = CreateHandle(w, h);
        icon = scaled.get();
    }
    if (icon) DrawIconEx(dc, r.left, r.top, icon, w, h, 0, nullptr, DI_NORMAL);
}

void TIcon::Assign(const TPersistent& source) {
    if (&source == this) return;
    const auto* other = dynamic_cast<const TIcon*>(&source);
    if (!other) {
        TGraphic::Assign(source);
        return;
    }
    UniqueIcon copied;
    if (other->data_.empty() && other->handle_) copied.reset(CopyIcon(other->handle_.get()));
    Clear();
    data_ = other->data_;
    images_ = other->images_;
    requested_ = other->requested_;
    if (copied) {
        handleSize_ = other->handleSize_;
        handle_ = std::move(copied);
    }
}
