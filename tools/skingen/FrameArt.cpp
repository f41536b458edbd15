// The window frame and the caption buttons. The four borders are cut from one
// drawn window, so the caption's rounded corners and gradient run on across
// the joins exactly.
#include <algorithm>
#include <string_view>
#include <vector>

#include "tools/skingen/SkinArt.h"

namespace skinart {
namespace {

// The border pieces' sizes as the definition file gives them.
constexpr int kSide = 4;        // left and right border width
constexpr int kCaption = 29;    // caption height (top border frame height)
constexpr int kBottom = 5;      // bottom border height
constexpr int kTopWidth = 142;  // width of the top and bottom border pictures
constexpr int kSideHeight = 100;
constexpr int kCornerRadius = 7;

// Inactive windows keep the shapes and lose most of the colour.
TColor Inactive(TColor c) { return MixColour(c, MakeColour(196, 208, 232), 11, 20); }

TColor CaptionRow(int y) {
    constexpr TColor edge = MakeColour(0, 32, 128);
    constexpr TColor highlight = MakeColour(150, 198, 255);
    constexpr TColor upper = MakeColour(64, 142, 255);
    constexpr TColor lower = MakeColour(0, 60, 196);
    constexpr TColor shadow = MakeColour(0, 44, 156);
    if (y <= 0) return edge;
    if (y == 1) return highlight;
    // The frame colour sits exactly on the row a third of the way down.
    constexpr int kFrameRow = kCaption / 3;
    if (y <= kFrameRow) return MixColour(upper, kFrameBlue, y - 2, kFrameRow - 2);
    if (y < kCaption - 1) return MixColour(kFrameBlue, lower, y - kFrameRow, kCaption - 2 - kFrameRow);
    return shadow;
}

// Border colours by distance from the outer edge.
TColor BorderColumn(int d) {
    switch (d) {
        case 0: return MakeColour(0, 32, 128);
        case 1: return MakeColour(48, 124, 242);
        case 2: return kFrameBlue;
        case 3: return MakeColour(0, 68, 206);
        default: return MakeColour(0, 52, 170);
    }
}

// A whole window of width w and height h: caption, borders and a face-coloured
// client area. Only the top corners are rounded; outside them is magenta.
TArtImage Window(int w, int h, bool active) {
    TArtImage image(w, h);
    // The shape reaches past the bottom edge so the bottom corners stay square.
    const TArtRect shape{0, 0, w, h + 2 * kCornerRadius};
    const auto inside = [&](int x, int y) { return y < h && InsideRounded(shape, kCornerRadius, x, y); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!inside(x, y)) continue;
            const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1);
            const int fromSide = std::min(x, w - 1 - x);
            const int fromBottom = h - 1 - y;
            TColor c;
            if (edge || fromBottom == 0) {
                c = BorderColumn(0);
            } else if (y < kCaption) {
                c = CaptionRow(y);
                // A soft light line down the caption's outer edge.
                if (fromSide == 1 && y > 1) c = MixColour(c, MakeColour(255, 255, 255), 1, 4);
            } else if (fromSide < kSide || fromBottom < kBottom) {
                c = BorderColumn(std::min(fromSide, fromBottom));
            } else {
                c = kFace;
            }
            image.Set(x, y, active ? c : Inactive(c));
        }
    return image;
}

TArtImage FullWindow(bool active) { return Window(kSide + kTopWidth + kSide, kSideHeight, active); }

TArtImage SidePiece(bool right) {
    std::vector<TArtImage> frames;
    for (const bool active : {true, false}) {
        const TArtImage window = FullWindow(active);
        frames.push_back(window.Crop({right ? window.Width() - kSide : 0, 0, kSide, kSideHeight}));
    }
    return JoinFrames(frames);
}

TArtImage TopOrBottom(bool bottom) {
    std::vector<TArtImage> frames;
    for (const bool active : {true, false}) {
        const TArtImage window = FullWindow(active);
        frames.push_back(bottom ? window.Crop({kSide, kSideHeight - kBottom, kTopWidth, kBottom})
                                : window.Crop({kSide, 0, kTopWidth, kCaption}));
    }
    return JoinFrames(frames, true);
}

// Caption button glyphs, white on the button face.
const std::vector<std::string_view>& GlyphRows(TCaptionGlyph glyph) {
    static const std::vector<std::string_view> close = {
        "##.....##",
        "###...###",
        ".###.###.",
        "..#####..",
        "...###...",
        "..#####..",
        ".###.###.",
        "###...###",
        "##.....##",
    };
    static const std::vector<std::string_view> maximise = {
        "#########",
        "#########",
        "#.......#",
        "#.......#",
        "#.......#",
        "#.......#",
        "#.......#",
        "#.......#",
        "#########",
    };
    static const std::vector<std::string_view> minimise = {
        ".........",
        ".........",
        ".........",
        ".........",
        ".........",
        ".........",
        ".........",
        "######...",
        "######...",
    };
    static const std::vector<std::string_view> restore = {
        "..#######",
        "..#######",
        "..#.....#",
        "#######.#",
        "#######.#",
        "#.....###",
        "#.....#..",
        "#.....#..",
        "#######..",
    };
    switch (glyph) {
        case TCaptionGlyph::Close: return close;
        case TCaptionGlyph::Maximise: return maximise;
        case TCaptionGlyph::Minimise: return minimise;
        case TCaptionGlyph::Restore: return restore;
    }
    return close;
}

// Smaller glyphs for the 13-pixel MDI buttons.
const std::vector<std::string_view>& SmallGlyphRows(TCaptionGlyph glyph) {
    static const std::vector<std::string_view> close = {
        "##...##", ".##.##.", "..###..", "..###..", ".##.##.", "##...##",
    };
    static const std::vector<std::string_view> minimise = {
        ".......", ".......", ".......", ".......", "#####..", "#####..",
    };
    static const std::vector<std::string_view> restore = {
        "..#####", "..#...#", "#####.#", "#...###", "#...#..", "#####..",
    };
    switch (glyph) {
        case TCaptionGlyph::Close: return close;
        case TCaptionGlyph::Minimise: return minimise;
        default: return restore;
    }
}

enum class TLook { Normal, Pressed, Hot, Inactive, Disabled, InactiveHot };

TBoxStyle CaptionButtonStyle(bool red, TLook look) {
    const TColor rim = MakeColour(236, 244, 255);
    TBoxStyle normal = red ? TBoxStyle{rim, MakeColour(240, 128, 96), MakeColour(204, 60, 32), 3}
                           : TBoxStyle{rim, MakeColour(96, 164, 255), MakeColour(24, 104, 240), 3};
    TBoxStyle hot = red ? TBoxStyle{rim, MakeColour(255, 164, 136), MakeColour(232, 88, 56), 3}
                        : TBoxStyle{rim, MakeColour(150, 200, 255), MakeColour(48, 136, 255), 3};
    TBoxStyle pressed = red ? TBoxStyle{rim, MakeColour(168, 44, 20), MakeColour(214, 86, 56), 3}
                            : TBoxStyle{rim, MakeColour(0, 60, 188), MakeColour(40, 112, 236), 3};
    switch (look) {
        case TLook::Normal: return normal;
        case TLook::Hot: return hot;
        case TLook::Pressed: return pressed;
        case TLook::Inactive: return {Inactive(rim), Inactive(normal.top), Inactive(normal.bottom), 3};
        case TLook::InactiveHot: return {Inactive(rim), Inactive(hot.top), Inactive(hot.bottom), 3};
        case TLook::Disabled: {
            // Washed out towards grey, so it never reads as merely inactive.
            const TColor grey = MakeColour(206, 210, 218);
            return {MixColour(rim, grey, 1, 2), MixColour(normal.top, grey, 3, 4), MixColour(normal.bottom, grey, 3, 4), 3};
        }
    }
    return normal;
}

TColor GlyphInk(TLook look, const TBoxStyle& style) {
    switch (look) {
        case TLook::Inactive:
        case TLook::InactiveHot: return MakeColour(238, 242, 250);
        case TLook::Disabled: return MixColour(style.bottom, MakeColour(255, 255, 255), 2, 5);
        default: return MakeColour(255, 255, 255);
    }
}

TArtImage ButtonFrame(int size, TCaptionGlyph glyph, TLook look, bool small) {
    TArtImage frame(size, size);
    const bool red = glyph == TCaptionGlyph::Close;
    const TBoxStyle style = CaptionButtonStyle(red, look);
    DrawBox(frame, frame.Bounds(), style);
    // A pressed button's glyph sinks by a pixel.
    const int shift = look == TLook::Pressed ? 1 : 0;
    DrawPatternCentred(frame, frame.Bounds(), small ? SmallGlyphRows(glyph) : GlyphRows(glyph),
                       {{'#', GlyphInk(look, style)}}, shift, shift);
    return frame;
}

}  // namespace

TArtImage FrameLeft() { return SidePiece(false); }
TArtImage FrameRight() { return SidePiece(true); }
TArtImage FrameTop() { return TopOrBottom(false); }
TArtImage FrameBottom() { return TopOrBottom(true); }

TArtImage MinCaption() {
    // A minimised window is just its caption bar.
    return JoinFrames({Window(66, kCaption + kBottom, true).Crop({0, 0, 66, kCaption}),
                       Window(66, kCaption + kBottom, false).Crop({0, 0, 66, kCaption})},
                      true);
}

TArtImage CaptionButton(TCaptionGlyph glyph) {
    std::vector<TArtImage> frames;
    for (const TLook look : {TLook::Normal, TLook::Pressed, TLook::Hot, TLook::Inactive, TLook::Disabled,
                             TLook::InactiveHot})
        frames.push_back(ButtonFrame(21, glyph, look, false));
    return JoinFrames(frames);
}

TArtImage MdiButtons() {
    std::vector<TArtImage> frames;
    for (const TCaptionGlyph glyph : {TCaptionGlyph::Minimise, TCaptionGlyph::Restore, TCaptionGlyph::Close})
        for (const TLook look : {TLook::Normal, TLook::Pressed, TLook::Disabled, TLook::Hot})
            frames.push_back(ButtonFrame(13, glyph, look, true));
    return JoinFrames(frames);
}

}  // namespace skinart
