#pragma once
// A recognition result as events carry it: the phrase's text (one element)
// through PhraseInfo.GetText, and its confidences through PhraseInfo.Rule.
#include "SpeechApi.h"

#include <memory>
#include <span>
#include <string>

#include "ComObject.h"
#include "Session.h"
#include "Stub.h"

namespace loopback {

struct Phrase {
    std::wstring text;
    SpeechEngineConfidence confidence = SECNormalConfidence;
    float engineConfidence = 0.5f;
};

class PhraseRule : public DispatchObject<PhraseRule, ISpeechPhraseRule> {
public:
    PhraseRule(std::shared_ptr<Session> session, std::shared_ptr<const Phrase> phrase)
        : session_(std::move(session)), phrase_(std::move(phrase)) {}

    static std::span<const DispName> Names();
    HRESULT InvokeMember(DISPID id, DispArgs& args, VARIANT& result);

    HRESULT STDMETHODCALLTYPE get_Confidence(SpeechEngineConfidence* confidence) override;
    HRESULT STDMETHODCALLTYPE get_EngineConfidence(float* confidence) override;
    LOOPBACK_STUB(get_Name, L"Name", BSTR*)
    LOOPBACK_STUB(get_Id, L"Id", LONG*)
    LOOPBACK_STUB(get_FirstElement, L"FirstElement", LONG*)
    LOOPBACK_STUB(get_NumberOfElements, L"NumberOfElements", LONG*)
    LOOPBACK_STUB(get_Parent, L"Parent", ISpeechPhraseRule**)
    LOOPBACK_STUB(get_Children, L"Children", ISpeechPhraseRules**)

private:
    std::shared_ptr<Session> session_;
    std::shared_ptr<const Phrase> phrase_;
};

class PhraseInfo : public DispatchObject<PhraseInfo, ISpeechPhraseInfo> {
public:
    PhraseInfo(std::shared_ptr<Session> session, std::shared_ptr<const Phrase> phrase)
        : session_(std::move(session)), phrase_(std::move(phrase)) {}

    static std::span<const DispName> Names();
    HRESULT InvokeMember(DISPID id, DispArgs& args, VARIANT& result);

    HRESULT STDMETHODCALLTYPE get_Rule(ISpeechPhraseRule** rule) override;
    HRESULT STDMETHODCALLTYPE GetText(LONG startElement, LONG elements, VARIANT_BOOL useReplacements,
                                      BSTR* text) override;
    LOOPBACK_STUB(get_LanguageId, L"LanguageId", LONG*)
    LOOPBACK_STUB(get_GrammarId, L"GrammarId", VARIANT*)
    LOOPBACK_STUB(get_StartTime, L"StartTime", VARIANT*)
    LOOPBACK_STUB(get_AudioStreamPosition, L"AudioStreamPosition", VARIANT*)
    LOOPBACK_STUB(get_AudioSizeBytes, L"AudioSizeBytes", LONG*)
    LOOPBACK_STUB(get_RetainedSizeBytes, L"RetainedSizeBytes", LONG*)
    LOOPBACK_STUB(get_AudioSizeTime, L"AudioSizeTime", LONG*)
    LOOPBACK_STUB(get_Properties, L"Properties", ISpeechPhraseProperties**)
    LOOPBACK_STUB(get_Elements, L"Elements", ISpeechPhraseElements**)
    LOOPBACK_STUB(get_Replacements, L"Replacements", ISpeechPhraseReplacements**)
    LOOPBACK_STUB(get_EngineId, L"EngineId", BSTR*)
    LOOPBACK_STUB(get_EnginePrivateData, L"EnginePrivateData", VARIANT*)
    LOOPBACK_STUB(SaveToMemory, L"SaveToMemory", VARIANT*)
    LOOPBACK_STUB(GetDisplayAttributes, L"GetDisplayAttributes", LONG, LONG, VARIANT_BOOL, SpeechDisplayAttributes*)

private:
    std::shared_ptr<Session> session_;
    std::shared_ptr<const Phrase> phrase_;
};

class RecoResult : public DispatchObject<RecoResult, ISpeechRecoResult> {
public:
    RecoResult(std::shared_ptr<Session> session, std::shared_ptr<const Phrase> phrase)
        : session_(std::move(session)), phrase_(std::move(phrase)) {}

    static std::span<const DispName> Names();
    HRESULT InvokeMember(DISPID id, DispArgs& args, VARIANT& result);

    HRESULT STDMETHODCALLTYPE get_PhraseInfo(ISpeechPhraseInfo** info) override;
    LOOPBACK_STUB(get_RecoContext, L"RecoContext", ISpeechRecoContext**)
    LOOPBACK_STUB(get_Times, L"Times", ISpeechRecoResultTimes**)
    LOOPBACK_STUB(putref_AudioFormat, L"AudioFormat", ISpeechAudioFormat*)
    LOOPBACK_STUB(get_AudioFormat, L"AudioFormat", ISpeechAudioFormat**)
    LOOPBACK_STUB(Alternates, L"Alternates", LONG, LONG, LONG, ISpeechPhraseAlternates**)
    LOOPBACK_STUB(Audio, L"Audio", LONG, LONG, ISpeechMemoryStream**)
    LOOPBACK_STUB(SpeakAudio, L"SpeakAudio", LONG, LONG, SpeechVoiceSpeakFlags, LONG*)
    LOOPBACK_STUB(SaveToMemory, L"SaveToMemory", VARIANT*)
    LOOPBACK_STUB(DiscardResultInfo, L"DiscardResultInfo", SpeechDiscardType)

private:
    std::shared_ptr<Session> session_;
    std::shared_ptr<const Phrase> phrase_;
};

}  // namespace loopback
