#pragma once
// Where a bit button or speed button puts its glyph and its caption: the
// glyph on one side, the text beside it along the same axis, both centred
// across it. Margin is the gap from the edge to the glyph, Spacing the gap
// between glyph and text; -1 asks for an even share of the free room.
#include <windows.h>

#include <string_view>
#include <vector>

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

inline std::vector<std::wstring_view> ButtonLayoutNames() {
    return {L"blGlyphLeft", L"blGlyphRight", L"blGlyphTop", L"blGlyphBottom"};
}

struct TGlyphAndText {
    POINT Glyph{};
    POINT Text{};
    int Margin = 0;
    int Spacing = 0;
};

// client, glyph and text are sizes (an empty size: nothing of that kind);
// centred lays the pair out in the middle whatever Margin says.
TGlyphAndText LayoutGlyphAndText(SIZE client, SIZE glyph, SIZE text, TButtonLayout layout, int margin, int spacing,
                                 bool centred);
