// Buttons, check boxes, radio buttons, progress bar, tabs, combo box, status
// bar, header, spin buttons and track bar thumbs.
#include <cstdlib>
#include <string_view>
#include <vector>

#include "tools/skingen/SkinArt.h"

namespace skinart {
namespace {

constexpr TColor kWhite = MakeColour(255, 255, 255);
constexpr TColor kHotRing = MakeColour(250, 190, 70);
constexpr TColor kFocusRing = MakeColour(110, 160, 240);
constexpr TColor kDisabledEdge = MakeColour(190, 196, 206);
constexpr TColor kDisabledFill = MakeColour(244, 245, 248);
constexpr TColor kDisabledInk = MakeColour(168, 174, 186);


const std::vector<std::string_view> kDownChevron = {
    "#.....#",
    "##...##",
    ".##.##.",
    "..###..",
    "...#...",
};

const std::vector<std::string_view> kUpTriangle = {
    "...#...",
    "..###..",
    ".#####.",
    "#######",
};

const std::vector<std::string_view> kDownTriangle = {
    "#######",
    ".#####.",
    "..###..",
    "...#...",
};

}  // namespace

TArtImage PushButton() {
    const TColor edge = MakeColour(0, 60, 116);
    const TBoxStyle normal{edge, kWhite, MakeColour(218, 224, 236), 3};
    std::vector<TBoxStyle> looks = {
        normal,
        {edge, MakeColour(202, 210, 226), MakeColour(240, 242, 247), 3},  // pressed
        {kDisabledEdge, kDisabledFill, kDisabledFill, 3},                 // disabled
        {edge, normal.top, normal.bottom, 3, kHotRing},                   // hot
        {edge, normal.top, normal.bottom, 3, kFocusRing},                 // focused
    };
    std::vector<TArtImage> frames;
    for (const auto& style : looks) {
        TArtImage frame(20, 23);
        DrawBox(frame, frame.Bounds(), style);
        frames.push_back(frame);
    }
    return JoinFrames(frames);
}

namespace {

TBoxStyle BoxStyle(TPartLook look, int radius) {
    const TColor edge = MakeColour(28, 81, 150);
    switch (look) {
        case TPartLook::Hot: return {edge, MakeColour(232, 236, 244), kWhite, radius, kHotRing};
        case TPartLook::Pressed: return {edge, MakeColour(184, 196, 220), MakeColour(226, 232, 244), radius};
        case TPartLook::Disabled: return {kDisabledEdge, kDisabledFill, kDisabledFill, radius};
        case TPartLook::Normal: break;
    }
    return {edge, MakeColour(220, 226, 238), kWhite, radius};
}

constexpr TPartLook kBoxLooks[] = {TPartLook::Normal, TPartLook::Hot, TPartLook::Pressed, TPartLook::Disabled};

TColor MarkInk(TPartLook look) { return look == TPartLook::Disabled ? kDisabledInk : MakeColour(0, 74, 196); }

}  // namespace

TArtImage CheckBox() {
    static const std::vector<std::string_view> check = {
        "......#",
        ".....##",
        "#...###",
        "##.###.",
        "#####..",
        ".###...",
        "..#....",
    };
    static const std::vector<std::string_view> mixed = {
        "#####", "#####", "#####", "#####", "#####",
    };
    std::vector<TArtImage> frames;
    for (int mark = 0; mark < 3; ++mark)
        for (const TPartLook look : kBoxLooks) {
            TArtImage frame(13, 13);
            DrawBox(frame, frame.Bounds(), BoxStyle(look, 0));
            if (mark == 1) DrawPatternCentred(frame, frame.Bounds(), check, {{'#', MarkInk(look)}});
            if (mark == 2)
                DrawPatternCentred(frame, frame.Bounds(), mixed,
                                   {{'#', MixColour(MarkInk(look), kWhite, 2, 5)}});
            frames.push_back(frame);
        }
    return JoinFrames(frames);
}

TArtImage RadioButton() {
    static const std::vector<std::string_view> dot = {
        ".###.", "#####", "#####", "#####", ".###.",
    };
    std::vector<TArtImage> frames;
    for (const bool checked : {false, true})
        for (const TPartLook look : kBoxLooks) {
            TArtImage frame(13, 13);
            DrawBox(frame, frame.Bounds(), BoxStyle(look, 6));
            if (checked) DrawPatternCentred(frame, frame.Bounds(), dot, {{'#', MarkInk(look)}});
            frames.push_back(frame);
        }
    return JoinFrames(frames);
}

TArtImage ProgressBar() {
    TArtImage image(9, 19);
    DrawBox(image, image.Bounds(), {MakeColour(104, 118, 146), MakeColour(238, 241, 247), kWhite, 2});
    return image;
}

TArtImage ProgressChunk() {
    // One block and the gap to the next; the bar repeats it side by side.
    TArtImage image(10, 12, kWhite);
    const std::vector<TColor> ramp = {MakeColour(168, 208, 255), MakeColour(40, 118, 236), MakeColour(96, 160, 250)};
    for (int y = 0; y < 12; ++y) image.HLine(0, y, 8, RampColour(ramp, y, 12));
    return image;
}

TArtImage Tab() {
    const TColor edge = MakeColour(140, 152, 178);
    const TColor accentSelected = MakeColour(60, 130, 240);
    struct TTabLook {
        TColor top, bottom, accent;
    };
    const TTabLook looks[] = {
        {kWhite, MakeColour(228, 232, 240), -1},                  // normal
        {kWhite, MakeColour(250, 251, 253), accentSelected},      // selected
        {kWhite, MakeColour(236, 240, 248), kHotRing},            // hot
        {kDisabledFill, kDisabledFill, -1},                       // disabled
        {kWhite, MakeColour(250, 251, 253), MakeColour(0, 85, 229)},  // selected, focused
    };
    std::vector<TArtImage> frames;
    for (const auto& look : looks) {
        // Opaque element: the corners show the dialog face.
        TArtImage frame(18, 18, kFace);
        // The tab runs on below its picture: it opens into the pane.
        DrawBox(frame, {0, 0, 18, 22}, {look.top == kDisabledFill ? kDisabledEdge : edge, look.top, look.bottom, 3});
        if (look.accent != -1) {
            // A coloured band along the top marks the state.
            const TArtRect shape{0, 0, 18, 22};
            for (int x = 0; x < 18; ++x) {
                if (InsideRounded(shape, 3, x, 0)) frame.Set(x, 0, MixColour(look.accent, MakeColour(0, 0, 0), 1, 4));
                for (int y = 1; y < 3; ++y)
                    if (InsideRounded(shape, 3, x - 1, y) && InsideRounded(shape, 3, x + 1, y))
                        frame.Set(x, y, y == 1 ? look.accent : MixColour(look.accent, kWhite, 1, 2));
            }
        }
        frames.push_back(frame);
    }
    return JoinFrames(frames);
}

TArtImage TabSheet() {
    TArtImage image(48, 48, MakeColour(252, 252, 254));
    image.Outline(image.Bounds(), MakeColour(140, 152, 178));
    // A soft shadow along the right and bottom edges, inside the border.
    const TColor shade1 = MakeColour(210, 214, 224), shade2 = MakeColour(230, 232, 238);
    image.VLine(46, 1, 46, shade1);
    image.HLine(1, 46, 46, shade1);
    image.VLine(45, 1, 45, shade2);
    image.HLine(1, 45, 45, shade2);
    return image;
}

TArtImage ComboButton() {
    std::vector<TArtImage> frames;
    for (const TPartLook look : {TPartLook::Normal, TPartLook::Pressed, TPartLook::Disabled, TPartLook::Hot}) {
        TArtImage frame(15, 16);
        DrawBox(frame, frame.Bounds(), SmallPartStyle(look));
        const int shift = look == TPartLook::Pressed ? 1 : 0;
        DrawPatternCentred(frame, frame.Bounds(), kDownChevron, {{'#', SmallPartInk(look)}}, shift, shift);
        frames.push_back(frame);
    }
    return JoinFrames(frames);
}

TArtImage StatusBar() {
    const TColor light = kWhite, dark = MakeColour(172, 168, 153);
    std::vector<TArtImage> frames;
    for (int kind = 0; kind < 3; ++kind) {
        TArtImage frame(68, 21, kFace);
        frame.HLine(0, 0, 68, MakeColour(214, 210, 196));  // the bar's top edge
        if (kind < 2) {
            const TArtRect panel{1, 3, 66, 16};
            const TColor topLeft = kind == 0 ? dark : light, bottomRight = kind == 0 ? light : dark;
            frame.HLine(panel.x, panel.y, panel.w, topLeft);
            frame.VLine(panel.x, panel.y, panel.h, topLeft);
            frame.HLine(panel.x, panel.Bottom() - 1, panel.w, bottomRight);
            frame.VLine(panel.Right() - 1, panel.y, panel.h, bottomRight);
        }
        frames.push_back(frame);
    }
    return JoinFrames(frames);
}

TArtImage Header() {
    struct THeaderLook {
        TColor face;
        std::vector<TColor> base;  // the three bottom rows
    };
    const THeaderLook looks[] = {
        {MakeColour(250, 250, 248), {MakeColour(228, 226, 216), MakeColour(216, 212, 198), MakeColour(200, 196, 182)}},
        {MakeColour(252, 252, 252), {MakeColour(250, 200, 96), MakeColour(248, 176, 48), MakeColour(228, 150, 24)}},
        {MakeColour(222, 224, 218), {MakeColour(210, 208, 200), MakeColour(200, 196, 184), MakeColour(188, 184, 170)}},
        {MakeColour(250, 250, 248), {MakeColour(150, 190, 250), MakeColour(90, 150, 240), MakeColour(40, 110, 230)}},
    };
    std::vector<TArtImage> frames;
    for (const auto& look : looks) {
        TArtImage frame(18, 18, look.face);
        for (int i = 0; i < 3; ++i) frame.HLine(0, 15 + i, 18, look.base[i]);
        // The divider to the next column.
        frame.VLine(16, 3, 11, MakeColour(199, 197, 178));
        frame.VLine(17, 3, 11, kWhite);
        frames.push_back(frame);
    }
    return JoinFrames(frames);
}

TArtImage ExtraImages() {
    static const std::vector<std::string_view> grip = {
        "..........#",
        ".........##",
        "...........",
        ".......#.#.",
        "......##.##",
        "...........",
        "....#.#.#..",
        "...##.##.##",
        "...........",
        "..#.#.#.#..",
        ".##.##.##.#",
    };
    std::vector<TArtImage> frames;
    for (const TPartLook look : {TPartLook::Normal, TPartLook::Pressed, TPartLook::Disabled, TPartLook::Hot}) {
        TArtImage frame(16, 17);
        const int shift = look == TPartLook::Pressed ? 1 : 0;
        DrawPatternCentred(frame, frame.Bounds(), kDownChevron, {{'#', SmallPartInk(look)}}, shift, shift);
        frames.push_back(frame);
    }
    TArtImage gripFrame(16, 17);
    DrawPattern(gripFrame, 4, 5, grip, {{'#', MakeColour(160, 156, 140)}});
    frames.push_back(gripFrame);
    return JoinFrames(frames);
}

TArtImage TrackThumb() {
    // A block with a point at the bottom, towards the ticks.
    const TArtRect r{0, 0, 11, 21};
    const auto shape = [](int x, int y) {
        if (y < 15) return InsideRounded({0, 0, 11, 20}, 2, x, y);
        return std::abs(x - 5) <= 20 - y;
    };
    const TColor edge = MakeColour(28, 81, 150);
    const TBoxStyle looks[] = {
        {edge, kWhite, MakeColour(214, 222, 238), 2, kFocusRing},             // focused
        {edge, kWhite, MakeColour(214, 222, 238), 2},                         // normal
        {edge, kWhite, MakeColour(226, 234, 250), 2, kHotRing},               // hot
        {edge, MakeColour(190, 204, 230), MakeColour(232, 238, 248), 2},      // pressed
        {kDisabledEdge, kDisabledFill, kDisabledFill, 2},                     // disabled
    };
    std::vector<TArtImage> frames;
    for (const auto& style : looks) {
        TArtImage frame(11, 21);
        DrawShape(frame, r, shape, style);
        frames.push_back(frame);
    }
    return JoinFrames(frames);
}

TArtImage Spin() {
    std::vector<TArtImage> frames;
    for (int half = 0; half < 2; ++half)
        for (const TPartLook look : {TPartLook::Normal, TPartLook::Pressed, TPartLook::Disabled, TPartLook::Hot}) {
            TArtImage frame(15, 16);
            DrawBox(frame, frame.Bounds(), SmallPartStyle(look));
            frames.push_back(frame);
        }
    return JoinFrames(frames);
}

TArtImage SpinArrows(bool horizontal) {
    std::vector<TArtImage> frames;
    for (const auto* rows : {&kUpTriangle, &kDownTriangle})
        for (const TPartLook look : {TPartLook::Normal, TPartLook::Pressed, TPartLook::Disabled, TPartLook::Hot}) {
            TArtImage frame(7, 6);
            DrawPatternCentred(frame, frame.Bounds(), *rows, {{'#', SmallPartInk(look)}});
            // Left and right arrows are the up and down ones on their side.
            frames.push_back(horizontal ? frame.Transposed() : frame);
        }
    return JoinFrames(frames);
}

}  // namespace skinart
