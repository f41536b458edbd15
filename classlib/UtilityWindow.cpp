#include "classlib/UtilityWindow.h"

#include "classlib/TextUtils.h"
#include "core/Exception.h"

void EnsureWindowClass(const wchar_t* className, WNDPROC proc) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, className, &wc)) return;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw Exception("Cannot register the window class " + WideToUtf8(className));
}

UniqueWindow CreateUtilityWindow(const wchar_t* className, WNDPROC proc, DWORD exStyle, DWORD style, HWND parent,
                                 void* param, const wchar_t* title) {
    EnsureWindowClass(className, proc);
    return UniqueWindow(CreateWindowExW(exStyle, className, title, style, 0, 0, 0, 0, parent, nullptr,
                                        GetModuleHandleW(nullptr), param));
}
