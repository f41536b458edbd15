// Scroll bar arrows, grips, thumbs and tracks.
#include <string_view>
#include <vector>

#include "tools/skingen/SkinArt.h"

namespace skinart {
namespace {

constexpr int kCell = 17;


// An arrow pointing up; the others are turned from it.
const std::vector<std::string_view> kUpArrow = {
    "...#...",
    "..###..",
    ".##.##.",
    "##...##",
    "#.....#",
};

TArtImage ArrowGlyph(int direction /* 0 left, 1 right, 2 up, 3 down */) {
    TArtImage up(7, 5);
    DrawPattern(up, 0, 0, kUpArrow, {{'#', MakeColour(0, 0, 0)}});
    TArtImage down(7, 5);
    for (int y = 0; y < 5; ++y) down.Blit(up.Crop({0, y, 7, 1}), 0, 4 - y);
    switch (direction) {
        case 0: return up.Transposed();
        case 1: return down.Transposed();
        case 2: return up;
        default: return down;
    }
}

TArtImage ArrowFrame(int direction, TPartLook look) {
    TArtImage frame(kCell, kCell);
    DrawBox(frame, frame.Bounds(), SmallPartStyle(look));
    const TArtImage glyph = ArrowGlyph(direction);
    const int shift = look == TPartLook::Pressed ? 1 : 0;
    const int x0 = (kCell - glyph.Width()) / 2 + shift, y0 = (kCell - glyph.Height()) / 2 + shift;
    for (int y = 0; y < glyph.Height(); ++y)
        for (int x = 0; x < glyph.Width(); ++x)
            if (glyph.Pixel(x, y) != kMagenta) frame.Set(x0 + x, y0 + y, SmallPartInk(look));
    return frame;
}

// Four raised ridges across the thumb, on magenta so the thumb shows around them.
TArtImage GripFrame(bool vertical, TPartLook look) {
    static const std::vector<std::string_view> ridges = {
        "#.#.#.#",
        "+-+-+-+",
        "+-+-+-+",
        "+-+-+-+",
        "+-+-+-+",
        "+-+-+-+",
        "-.-.-.-",
    };
    const TColor light = MakeColour(255, 255, 255);
    const TColor dark = look == TPartLook::Pressed ? MakeColour(70, 100, 180)
                        : look == TPartLook::Hot   ? MakeColour(110, 150, 235)
                                               : MakeColour(140, 168, 224);
    TArtImage frame(kCell, kCell);
    DrawPatternCentred(frame, frame.Bounds(), ridges, {{'#', light}, {'+', light}, {'-', dark}});
    return vertical ? frame.Transposed() : frame;
}

TBoxStyle ThumbStyle(TPartLook look) {
    switch (look) {
        case TPartLook::Hot: return {MakeColour(100, 140, 230), MakeColour(228, 238, 255), MakeColour(184, 206, 252), 3};
        case TPartLook::Pressed: return {MakeColour(80, 115, 205), MakeColour(160, 186, 240), MakeColour(200, 216, 250), 3};
        case TPartLook::Disabled: return {MakeColour(214, 218, 226), MakeColour(242, 243, 246), MakeColour(236, 238, 242), 3};
        case TPartLook::Normal: break;
    }
    return {MakeColour(140, 170, 230), MakeColour(216, 229, 255), MakeColour(176, 200, 246), 3};
}

TColor TrackColour(TPartLook look) {
    switch (look) {
        case TPartLook::Pressed: return MakeColour(206, 212, 224);
        case TPartLook::Disabled: return MakeColour(248, 248, 246);
        case TPartLook::Hot: return MakeColour(236, 239, 246);
        case TPartLook::Normal: break;
    }
    return MakeColour(244, 244, 240);
}

}  // namespace

TArtImage ScrollArrows() {
    std::vector<TArtImage> frames;
    for (int direction = 0; direction < 4; ++direction)
        for (const TPartLook look : {TPartLook::Normal, TPartLook::Pressed, TPartLook::Disabled, TPartLook::Hot})
            frames.push_back(ArrowFrame(direction, look));
    for (const bool vertical : {false, true})
        for (const TPartLook look : {TPartLook::Normal, TPartLook::Pressed, TPartLook::Hot}) frames.push_back(GripFrame(vertical, look));
    // The corner between two bars.
    frames.push_back(TArtImage(kCell, kCell, kFace));
    return JoinFrames(frames);
}

TArtImage ScrollThumb(bool vertical) {
    std::vector<TArtImage> frames;
    for (const TPartLook look : {TPartLook::Normal, TPartLook::Pressed, TPartLook::Hot, TPartLook::Disabled}) {
        // Drawn lying down; the vertical thumb is the same turned on its side.
        // Opaque element: the rounded corners show the track.
        TArtImage frame(22, 15, TrackColour(TPartLook::Normal));
        DrawBox(frame, frame.Bounds(), ThumbStyle(look));
        frames.push_back(vertical ? frame.Transposed() : frame);
    }
    return JoinFrames(frames);
}

TArtImage ScrollTrack(bool vertical) {
    std::vector<TArtImage> frames;
    for (const TPartLook look : {TPartLook::Normal, TPartLook::Pressed, TPartLook::Disabled, TPartLook::Hot}) {
        TArtImage frame(kCell, kCell, TrackColour(look));
        frame.HLine(0, 0, kCell, MixColour(TrackColour(look), MakeColour(0, 0, 0), 1, 12));
        frame.HLine(0, kCell - 1, kCell, MixColour(TrackColour(look), MakeColour(255, 255, 255), 1, 2));
        frames.push_back(vertical ? frame.Transposed() : frame);
    }
    return JoinFrames(frames);
}

}  // namespace skinart
