#include "skin/data/TextHelpers.h"

#include <algorithm>
#include <cwchar>
#include <limits>

namespace {
// Longer texts are cut: the conversion and drawing calls count in ints.
int ClampedLength(std::size_t length) {
    return static_cast<int>(std::min<std::size_t>(length, std::numeric_limits<int>::max() / 2));
}
}  // namespace

std::wstring AnsiToWide(std::string_view text) {
    if (text.empty()) return {};
    const int length = ClampedLength(text.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, out.data(), n);
    return out;
}

std::wstring WideCopy(const wchar_t* text, int count) {
    if (!text) return {};
    if (count == -1) return text;
    if (count < 0) return {};
    return std::wstring(text, static_cast<std::size_t>(count));
}

int DrawTextAuto(HDC dc, std::wstring_view text, RECT& rect, UINT format, bool unicode) {
    // The text is read-only here: DrawText must not write its shortened
    // form back into it.
    format &= ~static_cast<UINT>(DT_MODIFYSTRING);
    const int length = ClampedLength(text.size());
    if (unicode) return DrawTextW(dc, text.data(), length, &rect, format);
    const std::wstring whole = WideCopy(text.data(), length);
    std::string ansi;
    if (!whole.empty()) {
        const int n = WideCharToMultiByte(CP_ACP, 0, whole.data(), length, nullptr, 0, nullptr, nullptr);
        if (n > 0) {
            ansi.assign(static_cast<std::size_t>(n), '\0');
            WideCharToMultiByte(CP_ACP, 0, whole.data(), length, ansi.data(), n, nullptr, nullptr);
        }
    }
    return DrawTextA(dc, ansi.c_str(), -1, &rect, format);
}
