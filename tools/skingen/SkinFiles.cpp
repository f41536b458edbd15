#include "tools/skingen/SkinFiles.h"

#include <algorithm>
#include <stdexcept>

#include "core/BitmapFile.h"
#include "tools/skingen/SkinArt.h"

using namespace skinart;

const std::vector<TSkinBitmapSpec>& SkinBitmapSpecs() {
    static const std::vector<TSkinBitmapSpec> specs = {
        {"buttons.bmp", 100, 23, 24, PushButton},
        {"checkbox.bmp", 156, 13, 24, CheckBox},
        {"radiobutton.bmp", 104, 13, 24, RadioButton},
        {"progress.bmp", 9, 19, 24, ProgressBar},
        {"progresschunk.bmp", 10, 12, 24, ProgressChunk},
        {"tab.bmp", 90, 18, 24, Tab},
        {"tabsheet.bmp", 48, 48, 24, TabSheet},
        {"comboboxbtn.bmp", 60, 16, 24, ComboButton},
        {"statusbar.bmp", 204, 21, 24, StatusBar},
        {"header.bmp", 72, 18, 24, Header},
        {"scrollbararrow.bmp", 391, 17, 32, ScrollArrows},
        {"scrollbarhthumb.bmp", 88, 15, 24, [] { return ScrollThumb(false); }},
        {"scrollbarvthumb.bmp", 60, 22, 24, [] { return ScrollThumb(true); }},
        {"scrollbarhbar.bmp", 68, 17, 24, [] { return ScrollTrack(false); }},
        {"scrollbarvbar.bmp", 68, 17, 24, [] { return ScrollTrack(true); }},
        {"menubackground.bmp", 20, 20, 32, MenuBackground},
        {"menuitem.bmp", 100, 18, 32, MenuItem},
        {"extraimages.bmp", 80, 17, 24, ExtraImages},
        {"trackthumbh.bmp", 55, 21, 24, TrackThumb},
        {"trackbot.bmp", 55, 21, 24, TrackThumb},
        {"mdibutton.bmp", 156, 13, 24, MdiButtons},
        {"spin.bmp", 120, 16, 24, Spin},
        {"spinarrow.bmp", 56, 6, 8, [] { return SpinArrows(false); }},
        {"spinh.bmp", 120, 16, 24, Spin},
        {"spinharrow.bmp", 48, 7, 8, [] { return SpinArrows(true); }},
        {"closebutton.bmp", 126, 21, 24, [] { return CaptionButton(TCaptionGlyph::Close); }},
        {"maxbutton.bmp", 126, 21, 24, [] { return CaptionButton(TCaptionGlyph::Maximise); }},
        {"minbutton.bmp", 126, 21, 24, [] { return CaptionButton(TCaptionGlyph::Minimise); }},
        {"restrorebutton.bmp", 126, 21, 24, [] { return CaptionButton(TCaptionGlyph::Restore); }},
        {"frameleft.bmp", 8, 100, 24, FrameLeft},
        {"frameright.bmp", 8, 100, 24, FrameRight},
        {"frametop.bmp", 142, 58, 24, FrameTop},
        {"framebottom.bmp", 142, 10, 24, FrameBottom},
        {"mincaption.bmp", 66, 58, 24, MinCaption},
    };
    return specs;
}

const std::vector<TSkinBitmapSpec>& ProgramResourceSpecs() {
    static const std::vector<TSkinBitmapSpec> specs = {
        {"menuglyphs.bmp", 64, 16, 1, MenuGlyphs},
        {"track.bmp", 16, 4, 4, [] { return TrackChannel(false); }},
        {"trackvert.bmp", 4, 16, 4, [] { return TrackChannel(true); }},
    };
    return specs;
}

std::vector<std::uint8_t> EncodeArt(const TArtImage& image, int bitsPerPixel) {
    TBitmapFile file(image.Width(), image.Height(), bitsPerPixel);
    const auto view = image.Pixels().View();
    if (bitsPerPixel <= 8) {
        auto& palette = file.Palette();
        const std::size_t limit = std::size_t(1) << bitsPerPixel;
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x) {
                const TColor c = view.Pixel(x, y);
                if (std::find(palette.begin(), palette.end(), c) != palette.end()) continue;
                if (palette.size() == limit)
                    throw std::logic_error("more than " + std::to_string(limit) + " colours for " +
                                           std::to_string(bitsPerPixel) + " bits per pixel");
                palette.push_back(c);
            }
        // A monochrome picture keeps black as index 0, as monochrome bitmaps do.
        if (bitsPerPixel == 1) std::sort(palette.begin(), palette.end());
        palette.resize(limit, 0);
    }
    for (int y = 0; y < image.Height(); ++y) {
        const auto row = file.Row(y);
        for (int x = 0; x < image.Width(); ++x) {
            const TColor c = view.Pixel(x, y);
            switch (bitsPerPixel) {
                case 32:
                    row[4 * x + 3] = 0xFF;
                    [[fallthrough]];
                case 24: {
                    const int bytes = bitsPerPixel / 8;
                    row[bytes * x] = static_cast<std::uint8_t>(BlueOf(c));
                    row[bytes * x + 1] = static_cast<std::uint8_t>(GreenOf(c));
                    row[bytes * x + 2] = static_cast<std::uint8_t>(RedOf(c));
                    break;
                }
                default: {
                    const auto& palette = file.Palette();
                    const auto index = static_cast<unsigned>(std::find(palette.begin(), palette.end(), c) - palette.begin());
                    const int perByte = 8 / bitsPerPixel;
                    const int shift = (perByte - 1 - x % perByte) * bitsPerPixel;
                    row[x / perByte] = static_cast<std::uint8_t>(row[x / perByte] | index << shift);
                }
            }
        }
    }
    return file.Encode();
}

std::vector<TNamedFile> BuildFiles(const std::vector<TSkinBitmapSpec>& specs) {
    std::vector<TNamedFile> files;
    for (const auto& spec : specs) {
        const TArtImage image = spec.draw();
        if (image.Width() != spec.width || image.Height() != spec.height)
            throw std::logic_error(std::string(spec.name) + " is drawn " + std::to_string(image.Width()) + " x " +
                                   std::to_string(image.Height()) + ", not " + std::to_string(spec.width) + " x " +
                                   std::to_string(spec.height));
        files.push_back({spec.name, EncodeArt(image, spec.bitsPerPixel)});
    }
    return files;
}

std::vector<TNamedFile> BuildSkinFiles() {
    std::vector<TNamedFile> files = BuildFiles(SkinBitmapSpecs());
    const std::string text = SkinDefinitionText();
    files.push_back({kSkinDefinitionName, std::vector<std::uint8_t>(text.begin(), text.end())});
    return files;
}
