#include "skin/data/SkinValues.h"

#include <array>
#include <cstdint>
#include <limits>

#include "skin/data/QuickIni.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr std::uint64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

}  // namespace

TColor ColourTripleValue(std::string_view text, TColor defaultValue) {
    if (text.empty()) return defaultValue;
    text = TrimIniText(text);

    std::array<std::uint8_t, 3> rgb{};
    std::size_t stored = 0;
    std::uint64_t run = 0;
    bool inRun = false;
    // False when the run is too large: that ends the conversion.
    auto store = [&] {
        if (run > kInt32Max) return false;
        if (stored < rgb.size()) rgb[stored++] = static_cast<std::uint8_t>(run & 0xFF);
        return true;
    };
    for (const char c : text) {
        if (IsDigit(c)) {
            if (!inRun) run = 0;
            inRun = true;
            // Past the 32-bit range the run is only remembered as too large.
            if (run <= kInt32Max) run = run * 10 + static_cast<std::uint64_t>(c - '0');
            continue;
        }
        if (inRun) {
            inRun = false;
            if (!store()) return MakeColour(rgb[0], rgb[1], rgb[2]);
        }
    }
    // A number still open at the end counts only as the third one.
    if (inRun && stored == 2) store();
    return MakeColour(rgb[0], rgb[1], rgb[2]);
}

TColor ColourFromComponents(std::int32_t r, std::int32_t g, std::int32_t b) {
    if (r < 0 || g < 0 || b < 0) return kUnsetColour;
    // Like the triple, each component is taken modulo 256.
    return MakeColour(static_cast<std::uint8_t>(r & 0xFF), static_cast<std::uint8_t>(g & 0xFF),
                      static_cast<std::uint8_t>(b & 0xFF));
}

TColor ReadColourTriple(const TQuickIni& ini, std::string_view section, std::string_view key,
                        TColor defaultValue) {
    return ColourTripleValue(ini.ReadString(section, key, ""), defaultValue);
}

TColor ReadColourComponents(const TQuickIni& ini, std::string_view section,
                            std::string_view prefix) {
    auto component = [&](char c) {
        std::string key(prefix);
        key.push_back(c);
        return ini.ReadInteger(section, key, -1);
    };
    return ColourFromComponents(component('R'), component('G'), component('B'));
}
