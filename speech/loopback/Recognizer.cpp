#include "Recognizer.h"

#include "UIDialog.h"

#include <array>
#include <string>

namespace loopback {
namespace {

std::wstring FromBstr(BSTR s) { return s ? std::wstring(s, SysStringLen(s)) : std::wstring(); }

}  // namespace

std::span<const DispName> Recognizer::Names() {
    static constexpr std::array names{
        DispName{L"IsUISupported", DISPID_SRIsUISupported},
        DispName{L"DisplayUI", DISPID_SRDisplayUI},
    };
    return names;
}

HRESULT Recognizer::InvokeMember(DISPID id, DispArgs& args, VARIANT& result) {
    if (!args.IsGetOrCall()) return DISP_E_MEMBERNOTFOUND;
    VARIANT extra;
    VariantInit(&extra);
    HRESULT hr = DISP_E_MEMBERNOTFOUND;
    if (id == DISPID_SRIsUISupported) {
        std::wstring type;
        hr = args.String(0, type);
        if (SUCCEEDED(hr)) hr = args.Variant(1, extra);
        if (SUCCEEDED(hr)) {
            BSTR typeBstr = SysAllocStringLen(type.data(), static_cast<UINT>(type.size()));
            VARIANT_BOOL supported = VARIANT_FALSE;
            hr = IsUISupported(typeBstr, &extra, &supported);
            SysFreeString(typeBstr);
            if (SUCCEEDED(hr)) SetBool(result, supported);
        }
    } else if (id == DISPID_SRDisplayUI) {
        LONG parent = 0;
        std::wstring title, type;
        hr = args.Long(0, parent);
        if (SUCCEEDED(hr)) hr = args.String(1, title);
        if (SUCCEEDED(hr)) hr = args.String(2, type);
        if (SUCCEEDED(hr)) hr = args.Variant(3, extra);
        if (SUCCEEDED(hr)) {
            BSTR titleBstr = SysAllocStringLen(title.data(), static_cast<UINT>(title.size()));
            BSTR typeBstr = SysAllocStringLen(type.data(), static_cast<UINT>(type.size()));
            hr = DisplayUI(parent, titleBstr, typeBstr, &extra);
            SysFreeString(titleBstr);
            SysFreeString(typeBstr);
        }
    }
    VariantClear(&extra);
    return hr;
}

HRESULT Recognizer::IsUISupported(const BSTR typeOfUI, const VARIANT*, VARIANT_BOOL* supported) {
    const std::wstring type = FromBstr(typeOfUI);
    if (const HRESULT hr = session_->calls.Record(L"IsUISupported", type); hr != S_OK) return hr;
    if (!supported) return E_POINTER;
    *supported = session_->unsupportedUI.count(type) ? VARIANT_FALSE : VARIANT_TRUE;
    return S_OK;
}

HRESULT Recognizer::DisplayUI(LONG hWndParent, BSTR title, const BSTR typeOfUI, const VARIANT*) {
    const std::wstring type = FromBstr(typeOfUI);
    const std::wstring caption = FromBstr(title);
    if (const HRESULT hr = session_->calls.Record(L"DisplayUI", type + L' ' + caption); hr != S_OK) return hr;
    if (session_->unsupportedUI.count(type)) return E_INVALIDARG;
    // Window handles travel as 32-bit LONGs; they are sign-extended back, as Windows does.
    HWND parent = reinterpret_cast<HWND>(static_cast<LONG_PTR>(hWndParent));
    ShowUIDialog(IsWindow(parent) ? parent : nullptr, caption, type);
    return S_OK;
}

}  // namespace loopback
