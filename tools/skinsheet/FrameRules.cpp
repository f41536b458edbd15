#include "tools/skinsheet/FrameRules.h"

#include <algorithm>

#include "core/AsciiCase.h"
#include "skin/data/FrameCounts.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinReader.h"

namespace {

// A count from a Frame-like key as the engine reads it; a picture is always
// cut into one frame at least, as the painters draw it.
int AtLeastOne(int frames) { return std::max(frames, 1); }

bool IsCaptionButtonSection(const std::string& upper) {
    return upper.starts_with("BUTTON") && upper != "BUTTON" && upper != "BUTTONS" && upper != "BUTTON.RADIO" &&
           upper != "BUTTON.CHECKBOX";
}

}  // namespace

TFrameLayout FrameLayoutFor(const TQuickIni& ini, const std::string& section, const std::string& key, int width,
                            int height) {
    const std::string s = AsciiUpper(section), k = AsciiUpper(key);
    const auto frameKey = [&](int fallback) { return ini.ReadInteger(section, "Frame", fallback); };
    if (s == "PERSONALITY") {
        for (const char* side : {"LEFT", "RIGHT"})
            if (k == side) return {AtLeastOne(ini.ReadInteger(section, key + "Frame", 1)), false};
        for (const char* side : {"TOP", "BOTTOM"})
            if (k == side) return {AtLeastOne(ini.ReadInteger(section, key + "Frame", 1)), true};
        if (k == "MENUBAR") return {kMenuBarFrames, true};
        if (k == "TEXTBACK") return {kTitleFrames, false};
        return {1, false};
    }
    if (s == "BUTTONS") {
        if (k == "CHECKBUTTON")
            return {AtLeastOne(StripFrames(ini.ReadInteger(section, "CheckButtonFrame", 0), width, height)), false};
        if (k == "RADIOBUTTON")
            return {AtLeastOne(StripFrames(ini.ReadInteger(section, "RadioButtonFrame", 0), width, height)), false};
        return {FixedFrameCount(s), false};
    }
    if (IsCaptionButtonSection(s))
        return {AtLeastOne(CaptionButtonFrames(ini.ReadInteger(section, "frame", 0), ini.ReadInteger(section, "Action", 0),
                                               width, height)),
                false};
    if (s == "MDICONTROLS") return {kMdiControlCells, false};
    if (s == "PROGRESS") return {ProgressFrames(ini.ReadInteger(section, "Style", 0)), false};
    if (s == "HEADERBAR") return {AtLeastOne(HeaderFrames(frameKey(0))), false};
    if (s == "HORZSCROLLTHUMB" || s == "VERTSCROLLTHUMB") return {AtLeastOne(ScrollThumbFrames(ini, section)), false};
    if (s == "TABS" && k == "BORDER") return {1, false};
    if (const int fixed = FixedFrameCount(s)) return {fixed, false};
    // Read by no painter; shown as their pictures are drawn.
    if (s == "TRACKBAR.THUMBDOWN") return {5, false};
    return {AtLeastOne(frameKey(0)), s == "MINCAPTION"};
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
