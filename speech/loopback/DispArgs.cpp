#include "DispArgs.h"

namespace loopback {

DispArgs::DispArgs(DISPPARAMS* params, WORD flags) : params_(params), flags_(flags) {
    if (params_ && params_->cNamedArgs > 0)
        valid_ = IsPut() && params_->cNamedArgs == 1 && params_->rgdispidNamedArgs &&
                 params_->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
    if (params_ && params_->cArgs > 0 && !params_->rgvarg) valid_ = false;
}

VARIANT* DispArgs::At(UINT pos) const {
    if (!params_) return nullptr;
    VARIANT* v = nullptr;
    if (IsPut()) {
        // A put's value is the one argument (rgvarg[0]); no indexed properties here.
        if (pos == 0 && params_->cArgs >= 1) v = &params_->rgvarg[0];
    } else if (pos < params_->cArgs) {
        v = &params_->rgvarg[params_->cArgs - 1 - pos];
    }
    if (v && V_VT(v) == VT_ERROR && V_ERROR(v) == DISP_E_PARAMNOTFOUND) return nullptr;
    return v;
}

HRESULT DispArgs::Convert(UINT pos, VARTYPE vt, VARIANT& out) {
    VARIANT* v = At(pos);
    if (!v) return DISP_E_PARAMNOTFOUND;
    VariantInit(&out);
    if (FAILED(VariantChangeType(&out, v, 0, vt))) {
        bad_ = IsPut() ? 0 : params_->cArgs - 1 - pos;
        return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}

HRESULT DispArgs::Long(UINT pos, LONG& out, std::optional<LONG> fallback) {
    VARIANT v;
    HRESULT hr = Convert(pos, VT_I4, v);
    if (hr == DISP_E_PARAMNOTFOUND && fallback) {
        out = *fallback;
        return S_OK;
    }
    if (SUCCEEDED(hr)) out = V_I4(&v);
    return hr;
}

HRESULT DispArgs::Bool(UINT pos, VARIANT_BOOL& out, std::optional<VARIANT_BOOL> fallback) {
    VARIANT v;
    HRESULT hr = Convert(pos, VT_BOOL, v);
    if (hr == DISP_E_PARAMNOTFOUND && fallback) {
        out = *fallback;
        return S_OK;
    }
    if (SUCCEEDED(hr)) out = V_BOOL(&v);
    return hr;
}

HRESULT DispArgs::String(UINT pos, std::wstring& out) {
    VARIANT v;
    HRESULT hr = Convert(pos, VT_BSTR, v);
    if (SUCCEEDED(hr)) {
        out.assign(V_BSTR(&v) ? V_BSTR(&v) : L"", SysStringLen(V_BSTR(&v)));
        VariantClear(&v);
    }
    return hr;
}

HRESULT DispArgs::Variant(UINT pos, VARIANT& out) {
    VariantInit(&out);
    VARIANT* v = At(pos);
    return v ? VariantCopyInd(&out, v) : S_OK;
}

void SetLong(VARIANT& v, LONG value) {
    V_VT(&v) = VT_I4;
    V_I4(&v) = value;
}

void SetBool(VARIANT& v, VARIANT_BOOL value) {
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = value;
}

void SetFloat(VARIANT& v, float value) {
    V_VT(&v) = VT_R4;
    V_R4(&v) = value;
}

void SetDispatch(VARIANT& v, IDispatch* value) {
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = value;
}

void SetBstr(VARIANT& v, BSTR value) {
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = value;
}

}  // namespace loopback
