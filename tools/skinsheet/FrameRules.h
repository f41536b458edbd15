#pragma once
// Which frame rule of the engine (skin/data/FrameCounts.h) each bitmap of a
// skin falls under, by the section and key that name it, so the sheet shows
// frames exactly as they are painted.
#include <string>
#include <vector>

class TQuickIni;

struct TFrameLayout {
    int frames = 1;
    bool vertical = false;  // frames stacked (top and bottom borders, menu bar, minimised caption)
};

// The layout of the bitmap named by key in section, whose picture is
// width x height pixels.
TFrameLayout FrameLayoutFor(const TQuickIni& ini, const std::string& section, const std::string& key, int width,
                            int height);

struct TSheetElement {
    std::string file;  // lower-case, as stored
    std::string section;
    std::string key;
};

// Every bitmap the definition names, in file order, each once (its first
// mention), then the bitmaps of the skin no key names (section and key empty).
std::vector<TSheetElement> SheetElements(const TQuickIni& ini, const std::vector<std::string>& fileNames);
