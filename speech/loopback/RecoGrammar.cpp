#include "RecoGrammar.h"

#include <array>
#include <string>

namespace loopback {

RecoGrammar::~RecoGrammar() {
    if (dictationActive_) --session_->activeDictations;
}

std::span<const DispName> RecoGrammar::Names() {
    static constexpr std::array names{
        DispName{L"DictationSetState", DISPID_SRGDictationSetState},
    };
    return names;
}

HRESULT RecoGrammar::InvokeMember(DISPID id, DispArgs& args, VARIANT&) {
    if (id != DISPID_SRGDictationSetState || !args.IsGetOrCall()) return DISP_E_MEMBERNOTFOUND;
    LONG state = 0;
    if (const HRESULT hr = args.Long(0, state); FAILED(hr)) return hr;
    return DictationSetState(static_cast<SpeechRuleState>(state));
}

HRESULT RecoGrammar::DictationSetState(SpeechRuleState state) {
    if (const HRESULT hr = session_->calls.Record(L"DictationSetState", std::to_wstring(state)); hr != S_OK)
        return hr;
    if (state != SGDSInactive && state != SGDSActive && state != SGDSActiveWithAutoPause) return E_INVALIDARG;
    const bool active = state != SGDSInactive;
    if (active != dictationActive_) session_->activeDictations += active ? 1 : -1;
    dictationActive_ = active;
    return S_OK;
}

}  // namespace loopback
