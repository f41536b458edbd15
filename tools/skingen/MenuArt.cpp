// Popup menu background and menu items.
#include <vector>

#include "tools/skingen/SkinArt.h"

namespace skinart {

TArtImage MenuBackground() {
    TArtImage image(20, 20, MakeColour(255, 255, 255));
    image.Outline(image.Bounds(), MakeColour(96, 120, 170));
    return image;
}

TArtImage MenuItem() {
    constexpr int kW = 20, kH = 18;
    std::vector<TArtImage> frames;
    // 1: plain items let the menu background show through.
    frames.push_back(TArtImage(kW, kH));
    // 2: the separator strip. A separator item is lower than the frame and
    // shows its bottom part, so the groove lies in the lower half.
    TArtImage separator(kW, kH);
    separator.HLine(1, kH - 6, kW - 2, MakeColour(190, 198, 215));
    separator.HLine(1, kH - 5, kW - 2, MakeColour(255, 255, 255));
    frames.push_back(separator);
    // 3: a disabled item under the pointer, 4: the highlight, 5: hot in a bar.
    const TBoxStyle looks[] = {
        {MakeColour(200, 205, 215), MakeColour(244, 245, 248), MakeColour(236, 238, 242), 2},
        {MakeColour(24, 74, 170), MakeColour(72, 132, 228), MakeColour(40, 96, 196), 2},
        {MakeColour(90, 140, 230), MakeColour(226, 236, 255), MakeColour(190, 210, 250), 2},
    };
    for (const auto& style : looks) {
        TArtImage frame(kW, kH);
        DrawBox(frame, frame.Bounds(), style);
        frames.push_back(frame);
    }
    return JoinFrames(frames);
}

}  // namespace skinart
