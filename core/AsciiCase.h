#pragma once
// Case in ASCII only: the names these compare (keywords, section and class
// names, file names in archives) are ASCII, and a locale's rules (the
// Turkish dotless i) must not change them.
#include <string>
#include <string_view>

namespace ascii_case {

template <class Char> constexpr Char Lower(Char c) {
    return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}
template <class Char> constexpr Char Upper(Char c) {
    return c >= Char('a') && c <= Char('z') ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}
template <class Char, class Map> std::basic_string<Char> Mapped(std::basic_string_view<Char> text, Map map) {
    std::basic_string<Char> out(text);
    for (Char& c : out) c = map(c);
    return out;
}

}  // namespace ascii_case

inline std::string AsciiLower(std::string_view text) { return ascii_case::Mapped(text, ascii_case::Lower<char>); }
inline std::wstring AsciiLower(std::wstring_view text) { return ascii_case::Mapped(text, ascii_case::Lower<wchar_t>); }
inline std::string AsciiUpper(std::string_view text) { return ascii_case::Mapped(text, ascii_case::Upper<char>); }
inline std::wstring AsciiUpper(std::wstring_view text) { return ascii_case::Mapped(text, ascii_case::Upper<wchar_t>); }

// word equals keyword, which is lower-case, when case is ignored.
constexpr bool SameAsLowerKeyword(std::string_view word, std::string_view keyword) {
    if (word.size() != keyword.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (ascii_case::Lower(word[i]) != keyword[i]) return false;
    return true;
}
