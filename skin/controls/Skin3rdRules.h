#pragma once
// The Skin3rd list: "ClassName=kind" lines that give controls of other
// vendors' classes one of the engine's painters.
#include <optional>
#include <string>
#include <string_view>

#include "skin/controls/PainterKind.h"

class TControl;
class TSkinData;
class TStrings;

// The kind given by the first line that begins with className and "="
// (ASCII case ignored): the text after the first "=", lower-cased, at most
// 50 characters. No value when no line names the class.
std::optional<std::wstring> FindSkin3rdKind(const TStrings& lines, std::wstring_view className);

// What a matched kind does for control. A kind that is unknown, or whose
// gate is off, still ends the decision: the result is then "nothing".
TControlDecision DecideSkin3rdKind(std::wstring_view kind, TControl& control, const TSkinData& skin);
