#pragma once
// The integers of a definition file, as its reader converts them; the schema
// values (skin/data/SkinValues.h) build on these.
#include <cstdint>
#include <optional>
#include <string_view>

// The class library's string-to-integer conversion: leading blanks, an
// optional sign, then decimal digits or "$" and hexadecimal digits, nothing
// after them. Decimal must fit a signed 32-bit number; hexadecimal may use
// all 32 bits and wraps ("$FFFFFFFF" is -1).
std::optional<std::int32_t> StrToInt32(std::string_view text);

// An integer value of the definition: "0x"/"0X" also introduces hexadecimal.
std::int32_t IntegerValue(std::string_view text, std::int32_t defaultValue);
