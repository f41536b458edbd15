#include "speech/DispatchCall.h"

#include <string>

#include "classlib/TextUtils.h"
#include "speech/SpeechLib_TLB.h"

namespace {

// Takes the strings out of an exception record, filling it in first when the
// server deferred that, and raises what it says.
[[noreturn]] void RaiseDispatchException(EXCEPINFO& error, HRESULT hr) {
    if (error.pfnDeferredFillIn) error.pfnDeferredFillIn(&error);
    std::wstring description = error.bstrDescription ? error.bstrDescription : L"";
    SysFreeString(error.bstrDescription);
    SysFreeString(error.bstrSource);
    SysFreeString(error.bstrHelpFile);
    // A server reports either scode or its own wCode; both zero says nothing.
    const HRESULT code = error.scode ? error.scode : hr;
    if (description.empty() && error.wCode)
        description = L"The automation server reported error " + std::to_wstring(error.wCode);
    if (!description.empty()) throw EOleException(WideToUtf8(description), code);
    OleCheck(code);
    throw EOleException(OleErrorText(code), code);
}

}  // namespace

void GetByName(IDispatch* target, const wchar_t* name, VARIANT& result) {
    if (!target) OleCheck(E_POINTER);
    DISPID id = 0;
    auto* names = const_cast<LPOLESTR>(name);
    OleCheck(target->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id));
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXCEPINFO error{};
    const HRESULT hr = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                      &none, &result, &error, nullptr);
    if (hr == DISP_E_EXCEPTION) RaiseDispatchException(error, hr);
    OleCheck(hr);
}
