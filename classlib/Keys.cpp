#include "classlib/Keys.h"

#include "classlib/TextUtils.h"

TShiftState KeyboardShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
    TShiftState s = KeyboardShiftState() & ~ssAlt;
    if (keyData & (1 << 29)) s |= ssAlt;
    return s;
}

TShiftState MouseKeysToShiftState(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

namespace {

struct KeyName {
    WORD key;
    const wchar_t* name;
};

constexpr KeyName kKeyNames[] = {
    {VK_BACK, L"BkSp"}, {VK_TAB, L"Tab"},     {VK_RETURN, L"Enter"}, {VK_ESCAPE, L"Esc"},   {VK_SPACE, L"Space"},
    {VK_PRIOR, L"PgUp"}, {VK_NEXT, L"PgDn"},  {VK_END, L"End"},      {VK_HOME, L"Home"},    {VK_LEFT, L"Left"},
    {VK_UP, L"Up"},     {VK_RIGHT, L"Right"}, {VK_DOWN, L"Down"},    {VK_INSERT, L"Ins"},   {VK_DELETE, L"Del"},
};

std::wstring KeyToText(WORD key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
    for (const auto& k : kKeyNames)
        if (k.key == key) return k.name;
    return {};
}

}  // namespace

std::wstring ShortCutToText(TShortCut shortCut) {
    const std::wstring name = KeyToText(shortCut & 0xFF);
    if (name.empty()) return {};
    std::wstring text;
    if (shortCut & scShift) text += L"Shift+";
    if (shortCut & scCtrl) text += L"Ctrl+";
    if (shortCut & scAlt) text += L"Alt+";
    return text + name;
}

TShortCut TextToShortCut(const std::wstring& text) {
    std::wstring rest = text;
    TShortCut mods = 0;
    for (;;) {
        if (rest.size() > 6 && SameText(rest.substr(0, 6), L"Shift+")) { mods |= scShift; rest.erase(0, 6); }
        else if (rest.size() > 5 && SameText(rest.substr(0, 5), L"Ctrl+")) { mods |= scCtrl; rest.erase(0, 5); }
        else if (rest.size() > 4 && SameText(rest.substr(0, 4), L"Alt+")) { mods |= scAlt; rest.erase(0, 4); }
        else break;
    }
    for (WORD key = 1; key < 256; ++key) {
        const std::wstring name = KeyToText(key);
        if (!name.empty() && SameText(name, rest)) return static_cast<TShortCut>(mods | key);
    }
    return 0;
}
