// Pictures the program carries as resources, outside any skin.
#include <string_view>
#include <vector>

#include "tools/skingen/SkinArt.h"

namespace skinart {

TArtImage MenuGlyphs() {
    // 16 x 16 cells; black glyphs on white, which the image list masks out.
    static const std::vector<std::string_view> restore = {
        "..######",
        "..######",
        "..#....#",
        "######.#",
        "######.#",
        "#....###",
        "#....#..",
        "#....#..",
        "######..",
    };
    static const std::vector<std::string_view> maximise = {
        "#########",
        "#########",
        "#.......#",
        "#.......#",
        "#.......#",
        "#.......#",
        "#.......#",
        "#########",
    };
    static const std::vector<std::string_view> minimise = {
        "......",
        "......",
        "......",
        "......",
        "......",
        "......",
        "######",
        "######",
    };
    static const std::vector<std::string_view> close = {
        "##....##",
        ".##..##.",
        "..####..",
        "...##...",
        "..####..",
        ".##..##.",
        "##....##",
    };
    const TColor white = MakeColour(255, 255, 255);
    TArtImage image(64, 16, white);
    int cell = 0;
    for (const auto* rows : {&restore, &maximise, &minimise, &close})
        DrawPatternCentred(image, {16 * cell++, 0, 16, 16}, *rows, {{'#', MakeColour(0, 0, 0)}});
    return image;
}

TArtImage TrackChannel(bool vertical) {
    // A groove: shadow above, light below; lying down unless vertical.
    TArtImage image(16, 4);
    const TColor rows[] = {MakeColour(128, 128, 128), MakeColour(192, 192, 192), MakeColour(255, 255, 255),
                           MakeColour(255, 255, 255)};
    for (int y = 0; y < 4; ++y) image.HLine(0, y, 16, rows[y]);
    image.Set(0, 3, MakeColour(192, 192, 192));
    image.Set(15, 0, MakeColour(192, 192, 192));
    return vertical ? image.Transposed() : image;
}

}  // namespace skinart
