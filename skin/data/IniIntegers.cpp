#include "skin/data/IniIntegers.h"

#include <cstdint>
#include <limits>
#include <string>

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr std::uint64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

}  // namespace

std::optional<std::int32_t> StrToInt32(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const bool hex = i < text.size() && text[i] == '$';
    if (hex) ++i;
    if (i == text.size()) return std::nullopt;

    std::uint64_t value = 0;
    if (hex) {
        for (; i < text.size(); ++i) {
            const int d = HexDigit(text[i]);
            if (d < 0 || value > 0x0FFFFFFF) return std::nullopt;
            value = value << 4 | static_cast<std::uint64_t>(d);
        }
        // Hexadecimal takes all 32 bits and wraps into the signed range.
        std::uint32_t bits = static_cast<std::uint32_t>(value);
        if (negative) bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i]) || value > kInt32Max) return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
    }
    if (value > kInt32Max + (negative ? 1 : 0)) return std::nullopt;
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(value)
                                              : static_cast<std::int64_t>(value));
}

std::int32_t IntegerValue(std::string_view text, std::int32_t defaultValue) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::string dollar = "$";
        dollar.append(text.substr(2));
        return StrToInt32(dollar).value_or(defaultValue);
    }
    return StrToInt32(text).value_or(defaultValue);
}

