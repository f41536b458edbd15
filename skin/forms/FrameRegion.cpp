#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"

namespace {

// Rectangles gathered for one ExtCreateRegion call.
class RegionBatch {
public:
    static constexpr std::size_t kGrowth = 500;
    static constexpr std::size_t kFlushAt = 2000;

    explicit RegionBatch(HRGN result) : result_(result) { rects_.reserve(kGrowth); }

    void Add(const RECT& r) {
        if (rects_.size() == rects_.capacity()) rects_.reserve(rects_.capacity() + kGrowth);
        rects_.push_back(r);
        if (rects_.size() == 1)
            bounds_ = r;
        else
            UnionRect(&bounds_, &bounds_, &r);
        if (rects_.size() == kFlushAt) Flush();
    }

    void Flush() {
        if (rects_.empty()) return;
        std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + rects_.size() * sizeof(RECT));
        RGNDATAHEADER header{};
        header.dwSize = sizeof(RGNDATAHEADER);
        header.iType = RDH_RECTANGLES;
        header.nCount = static_cast<DWORD>(rects_.size());
        header.rcBound = bounds_;
        std::memcpy(data.data(), &header, sizeof header);
        std::memcpy(data.data() + sizeof header, rects_.data(), rects_.size() * sizeof(RECT));
        UniqueRegion part(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                          reinterpret_cast<const RGNDATA*>(data.data())));
        if (part) CombineRgn(result_, result_, part.get(), RGN_OR);
        rects_.clear();
    }

private:
    HRGN result_;
    std::vector<RECT> rects_;
    RECT bounds_{};
};

}  // namespace

UniqueRegion RegionFromBitmap(HBITMAP bitmap, int x, int y, TColor key, int tolerance) {
    UniqueRegion result(CreateRectRgn(0, 0, 0, 0));
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return result;
    const int width = info.bmWidth, height = info.bmHeight;
    BITMAPINFO format{};
    format.bmiHeader = DibHeader(width, -height, 32);  // top-down rows
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    {
        // A memory DC serves as well and, unlike the screen's, costs no round trip.
        UniqueDC memory(CreateCompatibleDC(nullptr));
        if (!GetDIBits(memory.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &format, DIB_RGB_COLORS))
            return result;
    }
    const int lowR = RedOf(key), lowG = GreenOf(key), lowB = BlueOf(key);
    const int highR = std::min(lowR + tolerance, 255), highG = std::min(lowG + tolerance, 255),
              highB = std::min(lowB + tolerance, 255);
    const auto transparent = [&](std::uint32_t p) {
        const int r = static_cast<int>((p >> 16) & 0xFF), g = static_cast<int>((p >> 8) & 0xFF),
                  b = static_cast<int>(p & 0xFF);
        return r >= lowR && r <= highR && g >= lowG && g <= highG && b >= lowB && b <= highB;
    };
    RegionBatch batch(result.get());
    for (int row = 0; row < height; ++row) {
        const std::uint32_t* line = pixels.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
        int col = 0;
        while (col < width) {
            while (col < width && transparent(line[col])) ++col;
            const int start = col;
            while (col < width && !transparent(line[col])) ++col;
            if (col > start) batch.Add(RECT{x + start, y + row, x + col, y + row + 1});
        }
    }
    batch.Flush();
    return result;
}

void TWinSkinForm::RemoveRegion() {
    if (!HasRegion) return;
    Region.reset();
    SetWindowRgn(Handle, nullptr, MDIKind == kMDIChild);
    HasRegion = false;
    RegionWidth = RegionHeight = 0;
}

void TWinSkinForm::BuildRegion() {
    if (!IsWindow(Handle)) return;
    RECT window{};
    GetWindowRect(Handle, &window);
    BuildRegionFor(window.right - window.left, window.bottom - window.top, true);
}

void TWinSkinForm::BuildRegionFor(int w, int h, bool redraw) {
    if (AttachState == kDestroyed || !FrameSkinned || !IsWindow(Handle)) return;
    if (w <= 0 || h <= 0) return;
    if (MDIKind == kMDIChild && WindowState != kStateNormal) return;
    if (w == RegionWidth && h == RegionHeight && MDIKind != kMDIChild && AttachState != kReskinning) return;

    TDataSkinBorder* pieces[4] = {FramePiece(1), FramePiece(2), FramePiece(3), FramePiece(4)};
    const bool anyTransparent = std::any_of(std::begin(pieces), std::end(pieces), [](const TDataSkinBorder* piece) {
        return piece && piece->Trans == 1;
    });
    RegionWidth = w;
    RegionHeight = h;
    UniqueRegion region;
    if (!anyTransparent) {
        region.reset(CreateRectRgn(0, 0, w, h));
    } else {
        region.reset(CreateRectRgn(BorderLeft, CaptionHeight, w - BorderRight, h - BorderBottom));
        if (FrameKind != kFrameNone) {
            const RECT places[4] = {{0, 0, BorderLeft, h},
                                    {w - BorderRight, 0, w, h},
                                    {BorderLeft, 0, w - BorderRight, CaptionHeight},
                                    {BorderLeft, h - BorderBottom, w - BorderRight, h}};
            for (int i = 0; i < 4; ++i) {
                const RECT& place = places[i];
                if (place.right <= place.left || place.bottom <= place.top) continue;
                TDataSkinBorder* piece = pieces[i];
                bool shaped = piece && piece->Trans == 1;
                if (i < 2) shaped = shaped && h > 1;
                if (i == 2) shaped = shaped && CaptionHeight > 1 && place.right > place.left;
                if (i == 3) shaped = shaped && BorderBottom >= 2;
                UniqueRegion part;
                if (shaped) {
                    const bool vertical = i >= 2;
                    const RECT& m = piece->Margins;
                    const RECT margins = vertical ? RECT{m.left, 0, m.right, 0} : RECT{0, m.top, 0, m.bottom};
                    const int frames = std::max(piece->Frame, 1);
                    UniqueBitmap scratch =
                        BuildElementBitmap(RECT{0, 0, place.right - place.left, place.bottom - place.top}, piece->Bitmap,
                                           margins, vertical, piece->Tile != 1, frames, 1);
                    if (scratch) part = RegionFromBitmap(scratch.get(), place.left, place.top, kElementKeyColour, 1);
                }
                if (!part) part.reset(CreateRectRgn(place.left, place.top, place.right, place.bottom));
                CombineRgn(region.get(), region.get(), part.get(), RGN_OR);
            }
        }
    }
    // The system owns a region once it is set.
    if (SetWindowRgn(Handle, region.get(), redraw)) region.release();
    Region.reset();
    HasRegion = true;
}
