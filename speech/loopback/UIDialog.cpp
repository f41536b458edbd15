// The stand-in for the recogniser's set-up dialogs, built from an in-memory
// dialog template so that the DLL needs no resources.
#include <windows.h>

#include <string>
#include <vector>

#include "TickWindow.h"
#include "UIDialog.h"

namespace loopback {
namespace {

class TemplateWriter {
public:
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Word(WORD w) { words_.push_back(w); }
    void Text(const std::wstring& s) {
        for (wchar_t c : s) Word(static_cast<WORD>(c));
        Word(0);
    }
    void AlignDword() {
        if (words_.size() % 2) Word(0);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const std::wstring& text) {
        AlignDword();
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        for (short v : {x, y, cx, cy}) Word(static_cast<WORD>(v));
        Word(id);
        Word(0xFFFF);
        Word(atom);
        Text(text);
        Word(0);  // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    std::vector<WORD> words_;
};

INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
        EndDialog(dlg, LOWORD(wp));
        return TRUE;
    }
    return FALSE;
}

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kStaticAtom = 0x0082;

}  // namespace

void ShowUIDialog(HWND parent, const std::wstring& title, const std::wstring& typeOfUI) {
    TemplateWriter t;
    t.Dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    t.Dword(0);
    t.Word(2);  // items
    for (short v : {0, 0, 200, 64}) t.Word(static_cast<WORD>(v));
    t.Word(0);  // no menu
    t.Word(0);  // the standard dialog class
    t.Text(title);
    t.Word(8);
    t.Text(L"MS Shell Dlg");
    t.Item(SS_LEFT, 8, 8, 184, 24, 0xFFFF, kStaticAtom, L"Loopback recogniser: " + typeOfUI);
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 75, 40, 50, 14, IDOK, kButtonAtom, L"OK");
    DialogBoxIndirectParamW(ModuleInstance(), t.Get(), parent, DialogProc, 0);
}

}  // namespace loopback
