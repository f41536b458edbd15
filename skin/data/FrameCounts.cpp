#include "skin/data/FrameCounts.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "core/AsciiCase.h"
#include "skin/data/QuickIni.h"

int FixedFrameCount(std::string_view section) {
    static constexpr std::array<std::pair<std::string_view, int>, 19> kFixed{{
        {"BUTTONS", 5},          {"TABS", 5},           {"UPDOWN.HORZ", 8},        {"UPDOWN.VERT", 8},
        {"SUNKEDGE", 4},         {"EXTRAIMAGES", 5},    {"COMBOBUTTON", 4},        {"GROUPBOXEDGE", 2},
        {"TOOLBARS", 5},         {"GROUPBOX", 1},       {"STATUSBAREDGES", 3},     {"TAB.PANE", 1},
        {"MENUITEM", 5},         {"MENUBACKGROUND", 1}, {"SCROLLBAR", 23},         {"HORZSCROLL", 4},
        {"VERTSCROLL", 4},       {"TRACKBAR.THUMBHORZ", 5}, {"TRACKBAR.THUMBVERT", 5},
    }};
    const std::string upper = AsciiUpper(section);
    for (const auto& [name, count] : kFixed)
        if (name == upper) return count;
    return 0;
}

int ScrollThumbFrames(const TQuickIni& ini, std::string_view section) {
    return ini.ReadInteger(section, "FrameCount", 3);
}

int StripFrames(int countKey, int width, int height) {
    if (countKey != 0) return countKey;
    const int cell = height < 16 ? 13 : 16;
    return std::max(width / cell, 4);
}

int CaptionButtonFrames(int frameKey, int action, int width, int height) {
    if (frameKey != 0) return frameKey;
    if (action < 0 || width <= 0 || height <= 0) return 6;
    return static_cast<double>(width) / static_cast<double>(height) <= 3.8 ? 3 : 6;
}
