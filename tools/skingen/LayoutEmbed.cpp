#include "tools/skingen/LayoutEmbed.h"

#include <algorithm>
#include <stdexcept>

#include "core/LayoutText.h"

std::vector<std::uint8_t> SkinStreamValue(std::span<const std::uint8_t> compressed) {
    if (compressed.size() > 0x7FFFFFFF) throw std::invalid_argument("a skin stream over 2 GiB cannot be stored");
    const auto n = static_cast<std::uint32_t>(compressed.size());
    // Sized first and filled in place: GCC 12 misreads an insert after a
    // 4-byte initialiser as an out-of-bounds copy (-Warray-bounds).
    std::vector<std::uint8_t> value(4 + compressed.size());
    for (int i = 0; i < 4; ++i) value[i] = static_cast<std::uint8_t>(n >> (8 * i));
    std::copy(compressed.begin(), compressed.end(), value.begin() + 4);
    return value;
}

std::vector<std::string> SkinStreamProperty(std::span<const std::uint8_t> compressed) {
    LayoutObject holder{"SkinData1", "TSkinData"};
    holder.properties.push_back({{"SkinStream"}, MakeLayoutBinary(SkinStreamValue(compressed))});
    const std::string text = WriteLayout(holder);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    // Drop "object ..." and "end", and the two-space indent of the properties.
    std::vector<std::string> property;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) property.push_back(lines[i].substr(2));
    return property;
}

std::string EmbedSkinStream(std::string_view layoutTemplate, std::span<const std::uint8_t> compressed) {
    std::string out;
    int markers = 0;
    for (std::size_t start = 0; start < layoutTemplate.size();) {
        std::size_t end = layoutTemplate.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) end = layoutTemplate.size();
        std::string_view line = layoutTemplate.substr(start, end - start);
        const std::string_view newline = line.ends_with('\r') ? "\r\n" : "\n";
        if (line.ends_with('\r')) line.remove_suffix(1);
        const std::size_t indent = line.find_first_not_of(" \t");
        if (indent != std::string_view::npos && line.substr(indent) == kSkinStreamMarker) {
            ++markers;
            const auto property = SkinStreamProperty(compressed);
            for (std::size_t i = 0; i < property.size(); ++i) {
                out += line.substr(0, indent);
                out += property[i];
                if (i + 1 < property.size() || !last) out += newline;
            }
        } else {
            out += layoutTemplate.substr(start, end - start);
            if (!last) out += '\n';
        }
        start = end + 1;
    }
    if (markers != 1)
        throw std::invalid_argument("the layout template must hold exactly one line " + std::string(kSkinStreamMarker) +
                                    ", it holds " + std::to_string(markers));
    return out;
}
