#include "tools/skingen/SkinArt.h"

namespace skinart {

TBoxStyle SmallPartStyle(TPartLook look) {
    switch (look) {
        case TPartLook::Hot: return {MakeColour(110, 150, 235), MakeColour(246, 250, 255), MakeColour(200, 220, 255), 2};
        case TPartLook::Pressed: return {MakeColour(90, 125, 210), MakeColour(150, 176, 232), MakeColour(196, 212, 246), 2};
        case TPartLook::Disabled: return {MakeColour(214, 218, 226), MakeColour(242, 243, 246), MakeColour(236, 238, 242), 2};
        case TPartLook::Normal: break;
    }
    return {MakeColour(160, 186, 236), MakeColour(230, 238, 255), MakeColour(190, 208, 246), 2};
}

// Glyphs change with the state too: the arrows are drawn on their own, over
// faces that may not change.
TColor SmallPartInk(TPartLook look) {
    switch (look) {
        case TPartLook::Hot: return MakeColour(0, 96, 224);
        case TPartLook::Pressed: return MakeColour(0, 28, 92);
        case TPartLook::Disabled: return MakeColour(168, 174, 186);
        case TPartLook::Normal: break;
    }
    return MakeColour(40, 60, 110);
}

}  // namespace skinart
