#include "ComObject.h"

namespace loopback {

HRESULT LookUpNames(std::span<const DispName> table, LPOLESTR* names, UINT count, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    if (count == 0) return S_OK;
    // Only the member's name is known: argument names (names[1..]) are not.
    HRESULT hr = S_OK;
    ids[0] = DISPID_UNKNOWN;
    for (const DispName& entry : table)
        if (names[0] && lstrcmpiW(names[0], entry.name) == 0) ids[0] = entry.id;
    if (ids[0] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    for (UINT i = 1; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

}  // namespace loopback
