#pragma once
// Puts a compressed skin into a stored layout as the SkinStream value of its
// skin data component, so the layout carries the skin the way the program's
// main window stores it.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The line a layout template holds (alone, indented as the property) where
// the value goes.
inline constexpr std::string_view kSkinStreamMarker = "@SKINSTREAM@";

// The stored property value: the stream's byte count (signed 32-bit,
// little-endian), then the stream.
std::vector<std::uint8_t> SkinStreamValue(std::span<const std::uint8_t> compressed);

// "SkinStream = {...}" in the layout writer's binary format, one string per
// line, unindented.
std::vector<std::string> SkinStreamProperty(std::span<const std::uint8_t> compressed);

// The template with its marker line replaced by "SkinStream = {...}" at the
// marker's indentation, in the layout writer's binary format; the template's
// line ending is kept. Raises std::invalid_argument unless exactly one line
// holds the marker.
std::string EmbedSkinStream(std::string_view layoutTemplate, std::span<const std::uint8_t> compressed);
