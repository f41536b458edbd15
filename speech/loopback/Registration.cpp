// Self-registration (regsvr32): the shared recognition context's class id
// and ProgID, pointing at this DLL, in HKEY_CLASSES_ROOT. Where that is not
// writable (a user without administrator rights on Windows) the user's own
// classes are used, which Windows merges into HKEY_CLASSES_ROOT.
#include <windows.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "Ids.h"
#include "TickWindow.h"

namespace loopback {
namespace {

struct Value {
    std::wstring key;   // below the classes root
    const wchar_t* name;  // null for the key's default value
    std::wstring data;
};

std::wstring ClsidKey() { return std::wstring(L"CLSID\\") + kClsidText; }

std::vector<Value> Values(const std::wstring& dllPath) {
    const std::wstring clsid = ClsidKey();
    return {
        {clsid, nullptr, kClassName},
        {clsid + L"\\InprocServer32", nullptr, dllPath},
        {clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {clsid + L"\\ProgID", nullptr, kProgIdVersioned},
        {clsid + L"\\VersionIndependentProgID", nullptr, kProgId},
        {kProgId, nullptr, kClassName},
        {std::wstring(kProgId) + L"\\CLSID", nullptr, kClsidText},
        {std::wstring(kProgId) + L"\\CurVer", nullptr, kProgIdVersioned},
        {kProgIdVersioned, nullptr, kClassName},
        {std::wstring(kProgIdVersioned) + L"\\CLSID", nullptr, kClsidText},
    };
}

LSTATUS WriteValue(HKEY root, const Value& v) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(root, v.key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = RegSetValueExW(key, v.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.data.c_str()),
                            static_cast<DWORD>((v.data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status;
}

LSTATUS WriteAll(HKEY root, const std::vector<Value>& values) {
    for (const Value& v : values)
        if (LSTATUS status = WriteValue(root, v); status != ERROR_SUCCESS) return status;
    return ERROR_SUCCESS;
}

// True when the ProgID key names our class id (and so is ours to remove).
bool ProgIdIsOurs(HKEY root, const wchar_t* progId) {
    wchar_t data[64] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    const std::wstring key = std::wstring(progId) + L"\\CLSID";
    if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return false;
    return lstrcmpiW(data, kClsidText) == 0;
}

bool RemoveAll(HKEY root) {
    bool ok = true;
    auto remove = [&](const std::wstring& key) {
        const LSTATUS status = RegDeleteTreeW(root, key.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) ok = false;
    };
    for (const wchar_t* progId : {kProgId, kProgIdVersioned})
        if (ProgIdIsOurs(root, progId)) remove(progId);
    remove(ClsidKey());
    return ok;
}

}  // namespace
}  // namespace loopback

STDAPI DllRegisterServer() {
    using namespace loopback;
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD len = GetModuleFileNameW(ModuleInstance(), path.data(), static_cast<DWORD>(path.size()));
        if (len == 0) return HRESULT_FROM_WIN32(GetLastError());
        if (len < path.size()) {
            path.resize(len);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto values = Values(path);
    LSTATUS status = WriteAll(HKEY_CLASSES_ROOT, values);
    if (status == ERROR_ACCESS_DENIED) {
        HKEY userClasses = nullptr;
        status = RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                 &userClasses, nullptr);
        if (status == ERROR_SUCCESS) {
            status = WriteAll(userClasses, values);
            RegCloseKey(userClasses);
        }
    }
    return status == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
    using namespace loopback;
    bool ok = RemoveAll(HKEY_CLASSES_ROOT);
    HKEY userClasses = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, KEY_ALL_ACCESS, &userClasses) == ERROR_SUCCESS) {
        ok = RemoveAll(userClasses) && ok;
        RegCloseKey(userClasses);
    }
    return ok ? S_OK : SELFREG_E_CLASS;
}
