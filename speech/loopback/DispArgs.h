#pragma once
// Reading the arguments of an IDispatch::Invoke call by position, converted
// to the type the member takes; left-out optional arguments take a default.
#include <windows.h>
#include <oleauto.h>

#include <optional>
#include <string>

namespace loopback {

class DispArgs {
public:
    DispArgs(DISPPARAMS* params, WORD flags);

    // False when the call names arguments other than a property put's value.
    bool Valid() const { return valid_; }
    bool IsPut() const { return (flags_ & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }
    bool IsGetOrCall() const { return (flags_ & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) != 0; }
    // The index (in DISPPARAMS order) of the argument that failed to convert.
    std::optional<UINT> BadArgument() const { return bad_; }

    // Positional argument pos (0 = first declared), or a property put's value
    // for pos 0. Fail with DISP_E_PARAMNOTFOUND when missing and there is no
    // default, DISP_E_TYPEMISMATCH when it does not convert.
    HRESULT Long(UINT pos, LONG& out, std::optional<LONG> fallback = std::nullopt);
    HRESULT Bool(UINT pos, VARIANT_BOOL& out, std::optional<VARIANT_BOOL> fallback = std::nullopt);
    HRESULT String(UINT pos, std::wstring& out);
    // Any variant, copied (an empty variant when missing).
    HRESULT Variant(UINT pos, VARIANT& out);

private:
    VARIANT* At(UINT pos) const;
    HRESULT Convert(UINT pos, VARTYPE vt, VARIANT& out);

    DISPPARAMS* params_;
    WORD flags_;
    bool valid_ = true;
    std::optional<UINT> bad_;
};

// Result setters for InvokeMember.
void SetLong(VARIANT& v, LONG value);
void SetBool(VARIANT& v, VARIANT_BOOL value);
void SetFloat(VARIANT& v, float value);
// Takes over a reference (or a BSTR) the caller owns.
void SetDispatch(VARIANT& v, IDispatch* value);
void SetBstr(VARIANT& v, BSTR value);

}  // namespace loopback
