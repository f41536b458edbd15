#include "RecoResult.h"

#include <array>

namespace loopback {
namespace {

std::wstring BoolText(VARIANT_BOOL b) { return b ? L"true" : L"false"; }

}  // namespace

// ---- PhraseRule

std::span<const DispName> PhraseRule::Names() {
    static constexpr std::array names{
        DispName{L"Confidence", DISPID_SPRuleConfidence},
        DispName{L"EngineConfidence", DISPID_SPRuleEngineConfidence},
    };
    return names;
}

HRESULT PhraseRule::InvokeMember(DISPID id, DispArgs& args, VARIANT& result) {
    if (!args.IsGetOrCall()) return DISP_E_MEMBERNOTFOUND;
    switch (id) {
    case DISPID_SPRuleConfidence: {
        SpeechEngineConfidence c{};
        const HRESULT hr = get_Confidence(&c);
        if (SUCCEEDED(hr)) SetLong(result, c);
        return hr;
    }
    case DISPID_SPRuleEngineConfidence: {
        float c = 0;
        const HRESULT hr = get_EngineConfidence(&c);
        if (SUCCEEDED(hr)) SetFloat(result, c);
        return hr;
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT PhraseRule::get_Confidence(SpeechEngineConfidence* confidence) {
    if (const HRESULT hr = session_->calls.Record(L"Confidence"); hr != S_OK) return hr;
    if (!confidence) return E_POINTER;
    *confidence = phrase_->confidence;
    return S_OK;
}

HRESULT PhraseRule::get_EngineConfidence(float* confidence) {
    if (const HRESULT hr = session_->calls.Record(L"EngineConfidence"); hr != S_OK) return hr;
    if (!confidence) return E_POINTER;
    *confidence = phrase_->engineConfidence;
    return S_OK;
}

// ---- PhraseInfo

std::span<const DispName> PhraseInfo::Names() {
    static constexpr std::array names{
        DispName{L"Rule", DISPID_SPIRule},
        DispName{L"GetText", DISPID_SPIGetText},
    };
    return names;
}

HRESULT PhraseInfo::InvokeMember(DISPID id, DispArgs& args, VARIANT& result) {
    if (!args.IsGetOrCall()) return DISP_E_MEMBERNOTFOUND;
    switch (id) {
    case DISPID_SPIRule: {
        ISpeechPhraseRule* rule = nullptr;
        const HRESULT hr = get_Rule(&rule);
        if (SUCCEEDED(hr)) SetDispatch(result, rule);
        return hr;
    }
    case DISPID_SPIGetText: {
        // The runtime's defaults: from the first element, all of them, with replacements.
        LONG start = 0, count = 0;
        VARIANT_BOOL replacements = VARIANT_FALSE;
        HRESULT hr = args.Long(0, start, 0);
        if (SUCCEEDED(hr)) hr = args.Long(1, count, -1);
        if (SUCCEEDED(hr)) hr = args.Bool(2, replacements, VARIANT_TRUE);
        if (FAILED(hr)) return hr;
        BSTR text = nullptr;
        hr = GetText(start, count, replacements, &text);
        if (SUCCEEDED(hr)) SetBstr(result, text);
        return hr;
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT PhraseInfo::get_Rule(ISpeechPhraseRule** rule) {
    if (const HRESULT hr = session_->calls.Record(L"Rule"); hr != S_OK) return hr;
    if (!rule) return E_POINTER;
    *rule = PhraseRule::Make(session_, phrase_).Detach();
    return S_OK;
}

HRESULT PhraseInfo::GetText(LONG startElement, LONG elements, VARIANT_BOOL useReplacements, BSTR* text) {
    const std::wstring args =
        std::to_wstring(startElement) + L' ' + std::to_wstring(elements) + L' ' + BoolText(useReplacements);
    if (const HRESULT hr = session_->calls.Record(L"GetText", args); hr != S_OK) return hr;
    if (!text) return E_POINTER;
    *text = nullptr;
    // The whole phrase is one element: element 0 is the text, element 1 is the end.
    if (startElement < 0 || startElement > 1 || elements < -1) return E_INVALIDARG;
    const bool whole = startElement == 0 && elements != 0;
    *text = whole ? SysAllocStringLen(phrase_->text.data(), static_cast<UINT>(phrase_->text.size()))
                  : SysAllocString(L"");
    return *text ? S_OK : E_OUTOFMEMORY;
}

// ---- RecoResult

std::span<const DispName> RecoResult::Names() {
    static constexpr std::array names{
        DispName{L"PhraseInfo", DISPID_SRRPhraseInfo},
    };
    return names;
}

HRESULT RecoResult::InvokeMember(DISPID id, DispArgs& args, VARIANT& result) {
    if (id != DISPID_SRRPhraseInfo || !args.IsGetOrCall()) return DISP_E_MEMBERNOTFOUND;
    ISpeechPhraseInfo* info = nullptr;
    const HRESULT hr = get_PhraseInfo(&info);
    if (SUCCEEDED(hr)) SetDispatch(result, info);
    return hr;
}

HRESULT RecoResult::get_PhraseInfo(ISpeechPhraseInfo** info) {
    if (const HRESULT hr = session_->calls.Record(L"PhraseInfo"); hr != S_OK) return hr;
    if (!info) return E_POINTER;
    *info = PhraseInfo::Make(session_, phrase_).Detach();
    return S_OK;
}

}  // namespace loopback
