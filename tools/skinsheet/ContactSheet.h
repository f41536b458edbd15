#pragma once
// The contact sheet: one picture of a skin with every bitmap cut into its
// frames as the engine cuts them, each frame numbered, a sample window put
// together from the pieces, and swatches of the "Colours" section.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tools/skingen/ArtImage.h"

struct TSkinContents {
    std::vector<std::string> names;  // lower-case, archive (or folder) order
    std::map<std::string, std::vector<std::uint8_t>> files;
};

// A compressed skin file; raises std::runtime_error when it is refused.
TSkinContents LoadSkinFile(const std::filesystem::path& path);
// The files of a folder, names lower-cased, in name order.
TSkinContents LoadSkinFolder(const std::filesystem::path& path);

// Frames are drawn scale times their size. Raises std::runtime_error when
// the skin has no definition file.
TArtImage MakeContactSheet(const TSkinContents& skin, int scale = 2);

// The frames of one strip, cut as the engine cuts it.
std::vector<TArtImage> CutFrames(const TArtImage& strip, int frames, bool vertical);
