#pragma once
// Horizontal text alignment shared by labels and status panels, with
// the identifiers stored layouts use for it.
#include <string_view>
#include <vector>

#include <windows.h>

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

inline std::vector<std::wstring_view> AlignmentNames() { return {L"taLeftJustify", L"taRightJustify", L"taCenter"}; }

// The DrawText flag for an alignment.
constexpr UINT AlignmentToDrawText(TAlignment a) {
    return a == TAlignment::taRightJustify ? DT_RIGHT : a == TAlignment::taCenter ? DT_CENTER : DT_LEFT;
}
