#pragma once
// The decision for one class-library control: DisableTag, the Skin3rd list,
// the excluded class names, then the class table, first match wins. The
// walk's own skips (no parent, already skinned) and OnSkinControl are the
// walk's (ControlDiscovery.cpp).
#include "skin/controls/PainterKind.h"

class TControl;
class TSkinData;

// formSkinsMenus: the skinned form draws menus (a tool button's menu then
// goes to the menu code).
TControlDecision DecideControl(TControl& control, const TSkinData& skin, bool formSkinsMenus);

// The class table's scroll test: a windowed control with window scroll
// bars, or one of the list, memo, tree and scroll-box classes.
bool IsScrollingControl(TControl& control);
