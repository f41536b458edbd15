#pragma once
// Run-length encoded device-independent bitmaps (RLE8 and RLE4).
#include <cstdint>
#include <span>

#include "core/BitmapFile.h"

// Expands RLE8 data into an 8-bit picture or RLE4 data into a 4-bit one.
// The first encoded row is the bottom one; pixels the data skips keep
// index 0. Raises EBitmapError for data that would write outside the
// picture or ends inside an instruction.
void DecodeRle(std::span<const std::uint8_t> data, TBitmapFile& target);
