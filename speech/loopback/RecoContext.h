#pragma once
// The shared recognition context of the loopback recogniser. It follows the
// script named by LOOPBACK_RECO_SCRIPT from a timer on the thread that made
// it and fires the script's events at the sinks advised on its connection
// point, through their IDispatch::Invoke, in script order.
#include "SpeechApi.h"

#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "ComObject.h"
#include "ScriptFollower.h"
#include "ScriptLine.h"
#include "Session.h"
#include "Stub.h"
#include "TickWindow.h"

namespace loopback {

class RecoContext : public DispatchObject<RecoContext, ISpeechRecoContext>, public IConnectionPointContainer {
public:
    RecoContext();
    ~RecoContext();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        return DispatchObject::QueryInterface(riid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return DispatchObject::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return DispatchObject::Release(); }
    void* QueryOther(REFIID riid);

    static std::span<const DispName> Names();
    HRESULT InvokeMember(DISPID id, DispArgs& args, VARIANT& result);

    // ISpeechRecoContext: what the program uses.
    HRESULT STDMETHODCALLTYPE get_Recognizer(ISpeechRecognizer** recognizer) override;
    HRESULT STDMETHODCALLTYPE put_EventInterests(SpeechRecoEvents interests) override;
    HRESULT STDMETHODCALLTYPE get_EventInterests(SpeechRecoEvents* interests) override;
    HRESULT STDMETHODCALLTYPE Pause() override;
    HRESULT STDMETHODCALLTYPE Resume() override;
    HRESULT STDMETHODCALLTYPE CreateGrammar(VARIANT grammarId, ISpeechRecoGrammar** grammar) override;
    LOOPBACK_STUB(get_AudioInputInterferenceStatus, L"AudioInputInterferenceStatus", SpeechInterference*)
    LOOPBACK_STUB(get_RequestedUIType, L"RequestedUIType", BSTR*)
    LOOPBACK_STUB(putref_Voice, L"Voice", ISpeechVoice*)
    LOOPBACK_STUB(get_Voice, L"Voice", ISpeechVoice**)
    LOOPBACK_STUB(put_AllowVoiceFormatMatchingOnNextSet, L"AllowVoiceFormatMatchingOnNextSet", VARIANT_BOOL)
    LOOPBACK_STUB(get_AllowVoiceFormatMatchingOnNextSet, L"AllowVoiceFormatMatchingOnNextSet", VARIANT_BOOL*)
    LOOPBACK_STUB(put_VoicePurgeEvent, L"VoicePurgeEvent", SpeechRecoEvents)
    LOOPBACK_STUB(get_VoicePurgeEvent, L"VoicePurgeEvent", SpeechRecoEvents*)
    LOOPBACK_STUB(put_CmdMaxAlternates, L"CmdMaxAlternates", LONG)
    LOOPBACK_STUB(get_CmdMaxAlternates, L"CmdMaxAlternates", LONG*)
    LOOPBACK_STUB(put_State, L"State", SpeechRecoContextState)
    LOOPBACK_STUB(get_State, L"State", SpeechRecoContextState*)
    LOOPBACK_STUB(put_RetainedAudio, L"RetainedAudio", SpeechRetainedAudioOptions)
    LOOPBACK_STUB(get_RetainedAudio, L"RetainedAudio", SpeechRetainedAudioOptions*)
    LOOPBACK_STUB(putref_RetainedAudioFormat, L"RetainedAudioFormat", ISpeechAudioFormat*)
    LOOPBACK_STUB(get_RetainedAudioFormat, L"RetainedAudioFormat", ISpeechAudioFormat**)
    LOOPBACK_STUB(CreateResultFromMemory, L"CreateResultFromMemory", VARIANT*, ISpeechRecoResult**)
    LOOPBACK_STUB(Bookmark, L"Bookmark", SpeechBookmarkOptions, VARIANT, VARIANT)
    LOOPBACK_STUB(SetAdaptationData, L"SetAdaptationData", BSTR)

    // IConnectionPointContainer: the one outgoing interface, _ISpeechRecoContextEvents.
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

    // For the connection point.
    HRESULT AddSink(IUnknown* sink, DWORD* cookie);
    HRESULT RemoveSink(DWORD cookie);

private:
    void Tick();
    void Run(const ScriptCommand& cmd);
    // Fires event id with StreamNumber and StreamPosition followed by extra
    // (declaration order); the variants in extra are cleared afterwards.
    void Fire(DISPID id, std::vector<VARIANT> extra = {}, std::optional<LONG> stream = std::nullopt);
    void FireResult(DISPID id, const std::string& utf8, SpeechEngineConfidence confidence, float engine);

    std::shared_ptr<Session> session_;
    ScriptFollower script_;
    std::deque<ScriptCommand> pending_;
    bool waiting_ = false;
    unsigned long long resumeAt_ = 0;
    LONG stream_ = 1;
    unsigned long long streamStart_ = 0;
    std::vector<std::pair<DWORD, ComPtr<IDispatch>>> sinks_;
    DWORD nextCookie_ = 1;
    bool ticking_ = false;
    std::unique_ptr<TickWindow> window_;
};

}  // namespace loopback
