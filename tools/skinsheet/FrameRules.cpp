#include "tools/skinsheet/FrameRules.h"

#include <algorithm>
#include <map>

#include "core/AsciiCase.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinReader.h"

namespace {

// A count from a key; 0 or absent gives the fallback.
int CountKey(const TQuickIni& ini, const std::string& section, const char* key, int fallback) {
    const int n = ini.ReadInteger(section, key, 0);
    return n > 0 ? n : fallback;
}

// Check and radio strips without a count: cells of 13 pixels (16 for tall pictures), at least 4.
int CellCount(int width, int height) {
    const int cell = height < 16 ? 13 : 16;
    return std::max(4, width / cell);
}

bool IsCaptionButtonSection(const std::string& upper) {
    return upper.starts_with("BUTTON") && upper != "BUTTON" && upper != "BUTTONS" && upper != "BUTTON.RADIO" &&
           upper != "BUTTON.CHECKBOX";
}

}  // namespace

TFrameLayout FrameLayoutFor(const TQuickIni& ini, const std::string& section, const std::string& key, int width,
                            int height) {
    const std::string s = AsciiUpper(section), k = AsciiUpper(key);
    if (s == "PERSONALITY") {
        for (const char* side : {"LEFT", "RIGHT"})
            if (k == side) return {CountKey(ini, section, (key + "Frame").c_str(), 1), false};
        for (const char* side : {"TOP", "BOTTOM"})
            if (k == side) return {CountKey(ini, section, (key + "Frame").c_str(), 1), true};
        if (k == "MENUBAR") return {2, true};
        return {1, false};
    }
    if (s == "BUTTONS") {
        if (k == "CHECKBUTTON") return {CountKey(ini, section, "CheckButtonFrame", CellCount(width, height)), false};
        if (k == "RADIOBUTTON") return {CountKey(ini, section, "RadioButtonFrame", CellCount(width, height)), false};
        return {5, false};
    }
    if (IsCaptionButtonSection(s)) {
        if (const int given = ini.ReadInteger(section, "frame", 0); given != 0) return {given, false};
        if (ini.ReadInteger(section, "Action", 0) < 0 || height == 0) return {6, false};
        return {static_cast<double>(width) / height <= 3.8 ? 3 : 6, false};
    }
    if (s == "MDICONTROLS") return {12, false};
    if (s == "PROGRESS") return {ini.ReadInteger(section, "Style", 0) != 0 ? 1 : 2, false};
    if (s == "PROGRESS.CHUNK") return {CountKey(ini, section, "Frame", 1), false};
    if (s == "HEADERBAR") return {CountKey(ini, section, "Frame", 5), false};
    if (s == "HORZSCROLLTHUMB" || s == "VERTSCROLLTHUMB") return {CountKey(ini, section, "FrameCount", 3), false};
    if (s == "TRACK" || s == "TRACKVERT") return {CountKey(ini, section, "Frame", 1), false};
    if (s == "TABS") return {k == "BORDER" ? 1 : 5, false};
    if (s == "UPDOWN.HORZ" || s == "UPDOWN.VERT") return {8, false};
    static const std::map<std::string, int> fixed = {
        {"SUNKEDGE", 4},       {"EXTRAIMAGES", 5},     {"COMBOBUTTON", 4},        {"GROUPBOXEDGE", 2},
        {"TOOLBARS", 5},       {"GROUPBOX", 1},        {"STATUSBAREDGES", 3},     {"TAB.PANE", 1},
        {"MENUITEM", 5},       {"MENUBACKGROUND", 1},  {"SCROLLBAR", 23},         {"HORZSCROLL", 4},
        {"VERTSCROLL", 4},     {"TRACKBAR.THUMBHORZ", 5}, {"TRACKBAR.THUMBVERT", 5},
        // Read by no painter; shown as their pictures are drawn.
        {"TRACKBAR.THUMBDOWN", 5},
    };
    if (const auto it = fixed.find(s); it != fixed.end()) return {it->second, false};
    if (s == "MINCAPTION") return {CountKey(ini, section, "Frame", 1), true};
    return {CountKey(ini, section, "Frame", 1), false};
}

std::vector<TSheetElement> SheetElements(const TQuickIni& ini, const std::vector<std::string>& fileNames) {
    std::vector<TSheetElement> elements;
    const auto known = [&](const std::string& file) {
        return std::any_of(elements.begin(), elements.end(), [&](const TSheetElement& e) { return e.file == file; });
    };
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    for (const auto& section : sections) {
        const std::ptrdiff_t header = ini.SectionIndex(section);
        // Only the section's first occurrence counts, as for the reader.
        const auto& lines = ini.Lines();
        for (std::size_t i = static_cast<std::size_t>(header) + 1; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            if (line.starts_with('[') && line.ends_with(']')) break;
            const std::size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            const std::string key(TrimIniText(std::string_view(line).substr(0, eq)));
            const std::string value = AsciiLower(std::string(TrimIniText(std::string_view(line).substr(eq + 1))));
            if (!value.ends_with(".bmp") || known(value)) continue;
            if (std::find(fileNames.begin(), fileNames.end(), value) == fileNames.end()) continue;
            elements.push_back({value, section, key});
        }
    }
    for (const auto& file : fileNames)
        if (file.ends_with(".bmp") && !known(file)) elements.push_back({file, "", ""});
    return elements;
}
