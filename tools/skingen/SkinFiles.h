#pragma once
// The files of the shipped skin in archive order (34 bitmaps, then the
// definition), and the program's bitmap resources, as bytes ready to write.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/skingen/ArtImage.h"

struct TSkinBitmapSpec {
    const char* name;  // as stored in the archive
    int width;
    int height;
    int bitsPerPixel;
    TArtImage (*draw)();
};

// The 34 bitmaps, in archive order.
const std::vector<TSkinBitmapSpec>& SkinBitmapSpecs();
// The 3 program resources: menuglyphs.bmp, track.bmp, trackvert.bmp.
const std::vector<TSkinBitmapSpec>& ProgramResourceSpecs();

inline constexpr const char* kSkinDefinitionName = "luna-blue.ini";
// The definition file: CR LF lines.
std::string SkinDefinitionText();

struct TNamedFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// Draws and encodes every file of the list; raises std::logic_error when a
// drawing does not have the size its entry says.
std::vector<TNamedFile> BuildFiles(const std::vector<TSkinBitmapSpec>& specs);
// The 35 skin files in archive order.
std::vector<TNamedFile> BuildSkinFiles();

// A .bmp file of the picture at 1, 4, 8, 24 or 32 bits per pixel. Indexed
// formats get a palette of the colours used, padded to its full length;
// raises std::logic_error when there are more colours than fit.
std::vector<std::uint8_t> EncodeArt(const TArtImage& image, int bitsPerPixel);
