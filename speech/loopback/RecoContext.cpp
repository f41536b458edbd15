#include "RecoContext.h"

#include <olectl.h>

#include <array>
#include <string>

#include "RecoGrammar.h"
#include "RecoResult.h"
#include "Recognizer.h"

namespace loopback {
namespace {

// Short enough that appended script lines are acted on well within 100 ms.
constexpr UINT kTickMs = 25;

// The EventInterests bit of each event, by DISPID (index 0 unused).
constexpr std::array<LONG, 19> kInterestBits{
    0,
    SREStreamStart,           // 1 StartStream
    SREStreamEnd,             // 2 EndStream
    SREBookmark,              // 3 Bookmark
    SRESoundStart,            // 4 SoundStart
    SRESoundEnd,              // 5 SoundEnd
    SREPhraseStart,           // 6 PhraseStart
    SRERecognition,           // 7 Recognition
    SREHypothesis,            // 8 Hypothesis
    SREPropertyNumChange,     // 9 PropertyNumberChange
    SREPropertyStringChange,  // 10 PropertyStringChange
    SREFalseRecognition,      // 11 FalseRecognition
    SREInterference,          // 12 Interference
    SRERequestUI,             // 13 RequestUI
    SREStateChange,           // 14 RecognizerStateChange
    SREAdaptation,            // 15 Adaptation
    SRERecoOtherContext,      // 16 RecognitionForOtherContext
    SREAudioLevel,            // 17 AudioLevel
    SREPrivate,               // 18 EnginePrivate
};

std::wstring ScriptPath() {
    wchar_t path[MAX_PATH * 2];
    const DWORD len = GetEnvironmentVariableW(L"LOOPBACK_RECO_SCRIPT", path, MAX_PATH * 2);
    return len > 0 && len < MAX_PATH * 2 ? std::wstring(path, len) : std::wstring();
}

VARIANT Long(LONG value) {
    VARIANT v;
    VariantInit(&v);
    SetLong(v, value);
    return v;
}

VARIANT Text(const std::string& utf8) {
    const std::wstring wide = Utf8ToWide(utf8);
    VARIANT v;
    VariantInit(&v);
    SetBstr(v, SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
    return v;
}

class EventConnectionPoint : public ComObject<EventConnectionPoint, IConnectionPoint> {
public:
    explicit EventConnectionPoint(ComPtr<RecoContext> context) : context_(std::move(context)) {}

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
        if (!iid) return E_POINTER;
        *iid = __uuidof(_ISpeechRecoContextEvents);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override {
        if (!container) return E_POINTER;
        *container = context_.Get();
        (*container)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
        return context_->AddSink(sink, cookie);
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override { return context_->RemoveSink(cookie); }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override {
        if (connections) *connections = nullptr;
        return E_NOTIMPL;
    }

private:
    ComPtr<RecoContext> context_;
};

}  // namespace

RecoContext::RecoContext()
    : session_(std::make_shared<Session>()),
      script_(ScriptPath()),
      streamStart_(GetTickCount64()),
      window_(std::make_unique<TickWindow>(kTickMs, [this] { Tick(); })) {}

RecoContext::~RecoContext() = default;

void* RecoContext::QueryOther(REFIID riid) {
    if (riid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
    return nullptr;
}

std::span<const DispName> RecoContext::Names() {
    static constexpr std::array names{
        DispName{L"Recognizer", DISPID_SRCRecognizer},
        DispName{L"EventInterests", DISPID_SRCEventInterests},
        DispName{L"Pause", DISPID_SRCPause},
        DispName{L"Resume", DISPID_SRCResume},
        DispName{L"CreateGrammar", DISPID_SRCCreateGrammar},
    };
    return names;
}

HRESULT RecoContext::InvokeMember(DISPID id, DispArgs& args, VARIANT& result) {
    switch (id) {
    case DISPID_SRCEventInterests:
        if (args.IsPut()) {
            LONG interests = 0;
            if (const HRESULT hr = args.Long(0, interests); FAILED(hr)) return hr;
            return put_EventInterests(static_cast<SpeechRecoEvents>(interests));
        } else {
            SpeechRecoEvents interests{};
            const HRESULT hr = get_EventInterests(&interests);
            if (SUCCEEDED(hr)) SetLong(result, interests);
            return hr;
        }
    case DISPID_SRCRecognizer: {
        if (!args.IsGetOrCall()) return DISP_E_MEMBERNOTFOUND;
        ISpeechRecognizer* recognizer = nullptr;
        const HRESULT hr = get_Recognizer(&recognizer);
        if (SUCCEEDED(hr)) SetDispatch(result, recognizer);
        return hr;
    }
    case DISPID_SRCPause:
        return args.IsGetOrCall() ? Pause() : DISP_E_MEMBERNOTFOUND;
    case DISPID_SRCResume:
        return args.IsGetOrCall() ? Resume() : DISP_E_MEMBERNOTFOUND;
    case DISPID_SRCCreateGrammar: {
        if (!args.IsGetOrCall()) return DISP_E_MEMBERNOTFOUND;
        VARIANT grammarId;
        HRESULT hr = args.Variant(0, grammarId);
        if (FAILED(hr)) return hr;
        ISpeechRecoGrammar* grammar = nullptr;
        hr = CreateGrammar(grammarId, &grammar);
        VariantClear(&grammarId);
        if (SUCCEEDED(hr)) SetDispatch(result, grammar);
        return hr;
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT RecoContext::get_Recognizer(ISpeechRecognizer** recognizer) {
    if (const HRESULT hr = session_->calls.Record(L"Recognizer"); hr != S_OK) return hr;
    if (!recognizer) return E_POINTER;
    *recognizer = Recognizer::Make(session_).Detach();
    return S_OK;
}

HRESULT RecoContext::put_EventInterests(SpeechRecoEvents interests) {
    if (const HRESULT hr = session_->calls.Record(L"EventInterests", std::to_wstring(interests)); hr != S_OK)
        return hr;
    session_->eventInterests = interests;
    return S_OK;
}

HRESULT RecoContext::get_EventInterests(SpeechRecoEvents* interests) {
    if (const HRESULT hr = session_->calls.Record(L"EventInterests"); hr != S_OK) return hr;
    if (!interests) return E_POINTER;
    *interests = static_cast<SpeechRecoEvents>(session_->eventInterests);
    return S_OK;
}

HRESULT RecoContext::Pause() {
    if (const HRESULT hr = session_->calls.Record(L"Pause"); hr != S_OK) return hr;
    session_->paused = true;
    return S_OK;
}

HRESULT RecoContext::Resume() {
    if (const HRESULT hr = session_->calls.Record(L"Resume"); hr != S_OK) return hr;
    session_->paused = false;
    return S_OK;
}

HRESULT RecoContext::CreateGrammar(VARIANT grammarId, ISpeechRecoGrammar** grammar) {
    // The id as text, the way the runtime would show it ("0" for the integer 0).
    std::wstring idText;
    VARIANT text;
    VariantInit(&text);
    if (SUCCEEDED(VariantChangeType(&text, &grammarId, VARIANT_ALPHABOOL, VT_BSTR)) && V_BSTR(&text))
        idText.assign(V_BSTR(&text), SysStringLen(V_BSTR(&text)));
    VariantClear(&text);
    if (const HRESULT hr = session_->calls.Record(L"CreateGrammar", idText); hr != S_OK) return hr;
    if (!grammar) return E_POINTER;
    *grammar = RecoGrammar::Make(session_).Detach();
    return S_OK;
}

HRESULT RecoContext::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (points) *points = nullptr;
    return E_NOTIMPL;
}

HRESULT RecoContext::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (riid != __uuidof(_ISpeechRecoContextEvents)) return CONNECT_E_NOCONNECTION;
    *point = EventConnectionPoint::Make(ComPtr<RecoContext>(this)).Detach();
    return S_OK;
}

HRESULT RecoContext::AddSink(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    ComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(__uuidof(_ISpeechRecoContextEvents),
                                    reinterpret_cast<void**>(dispatch.GetAddressOf()))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.GetAddressOf()))))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = nextCookie_++;
    sinks_.emplace_back(*cookie, std::move(dispatch));
    return S_OK;
}

HRESULT RecoContext::RemoveSink(DWORD cookie) {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
        if (it->first == cookie) {
            sinks_.erase(it);
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

void RecoContext::Tick() {
    // A handler may pump messages (a message box) and so reach this timer
    // again; events stay in order by letting only the outer tick run them.
    if (ticking_) return;
    ticking_ = true;
    const ComPtr<RecoContext> keepAlive(this);  // a handler may drop the last reference

    for (const std::string& line : script_.ReadNewLines()) {
        ParsedLine parsed = ParseScriptLine(line);
        if (parsed.kind == ScriptLineKind::Command) {
            pending_.push_back(std::move(parsed.command));
        } else if (parsed.kind == ScriptLineKind::Invalid) {
            OutputDebugStringW((L"loopback recogniser: script line ignored: " + Utf8ToWide(line)).c_str());
        }
    }
    while (!pending_.empty()) {
        if (waiting_ && GetTickCount64() < resumeAt_) break;
        waiting_ = false;
        const ScriptCommand cmd = std::move(pending_.front());
        pending_.pop_front();
        Run(cmd);
    }
    ticking_ = false;
}

void RecoContext::Run(const ScriptCommand& cmd) {
    const LONG n = static_cast<LONG>(cmd.number);
    switch (cmd.op) {
    case ScriptOp::Recognize:
        FireResult(DISPID_SRCERecognition, cmd.text, SECHighConfidence, 0.9f);
        break;
    case ScriptOp::Hypothesis:
        FireResult(DISPID_SRCEHypothesis, cmd.text, SECNormalConfidence, 0.5f);
        break;
    case ScriptOp::False:
        FireResult(DISPID_SRCEFalseRecognition, cmd.text, SECLowConfidence, 0.1f);
        break;
    case ScriptOp::AudioLevel:
        Fire(DISPID_SRCEAudioLevel, {Long(n)});
        break;
    case ScriptOp::Interference:
        Fire(DISPID_SRCEInterference, {Long(n)});
        break;
    case ScriptOp::RequestUI:
        Fire(DISPID_SRCERequestUI, {Text(cmd.text)});
        break;
    case ScriptOp::StartStream:
        if (cmd.hasNumber) stream_ = n;
        streamStart_ = GetTickCount64();
        Fire(DISPID_SRCEStartStream);
        break;
    case ScriptOp::EndStream: {
        VARIANT released;
        VariantInit(&released);
        SetBool(released, VARIANT_TRUE);
        Fire(DISPID_SRCEEndStream, {released}, cmd.hasNumber ? std::optional<LONG>(n) : std::nullopt);
        break;
    }
    case ScriptOp::SoundStart:
        Fire(DISPID_SRCESoundStart);
        break;
    case ScriptOp::SoundEnd:
        Fire(DISPID_SRCESoundEnd);
        break;
    case ScriptOp::PhraseStart:
        Fire(DISPID_SRCEPhraseStart);
        break;
    case ScriptOp::OtherRecognition:
        Fire(DISPID_SRCERecognitionForOtherContext);
        break;
    case ScriptOp::Bookmark:
        Fire(DISPID_SRCEBookmark, {Long(cmd.hasNumber ? n : 0), Long(SBONone)});
        break;
    case ScriptOp::PropertyNumber:
        Fire(DISPID_SRCEPropertyNumberChange, {Text(cmd.text), Long(n)});
        break;
    case ScriptOp::PropertyString:
        Fire(DISPID_SRCEPropertyStringChange, {Text(cmd.text), Text(cmd.value)});
        break;
    case ScriptOp::StateChange:
        Fire(DISPID_SRCERecognizerStateChange, {Long(n)});
        break;
    case ScriptOp::Adaptation:
        Fire(DISPID_SRCEAdaptation);
        break;
    case ScriptOp::EnginePrivate:
        Fire(DISPID_SRCEEnginePrivate, {Text(cmd.text)});
        break;
    case ScriptOp::Wait:
        waiting_ = true;
        resumeAt_ = GetTickCount64() + static_cast<unsigned long long>(cmd.number);
        break;
    case ScriptOp::Fail:
        session_->calls.PlanFailure(Utf8ToWide(cmd.text), static_cast<HRESULT>(static_cast<std::uint32_t>(cmd.number)));
        break;
    case ScriptOp::Unsupported:
        session_->unsupportedUI.insert(Utf8ToWide(cmd.text));
        break;
    }
}

void RecoContext::FireResult(DISPID id, const std::string& utf8, SpeechEngineConfidence confidence, float engine) {
    // Without an active dictation, or while paused, nothing is heard; the
    // log says so, so that a reader knows the line is used up.
    if (!session_->Listening()) {
        AppendToLog(L"# unheard " + Utf8ToWide(utf8));
        return;
    }
    if (!(session_->eventInterests & kInterestBits[static_cast<size_t>(id)])) return;
    auto phrase = std::make_shared<Phrase>(Phrase{Utf8ToWide(utf8), confidence, engine});
    VARIANT result;
    VariantInit(&result);
    SetDispatch(result, RecoResult::Make(session_, std::move(phrase)).Detach());
    if (id == DISPID_SRCERecognition)
        Fire(id, {Long(SRTStandard), result});
    else
        Fire(id, {result});
}

void RecoContext::Fire(DISPID id, std::vector<VARIANT> extra, std::optional<LONG> stream) {
    if (!(session_->eventInterests & kInterestBits[static_cast<size_t>(id)])) {
        for (VARIANT& v : extra) VariantClear(&v);
        return;
    }
    // DISPPARAMS holds the arguments last to first.
    std::vector<VARIANT> reversed(extra.rbegin(), extra.rend());
    // The position in bytes of 16 kHz 16-bit mono audio since the stream
    // started, as a Decimal, the type the runtime uses for 64-bit positions.
    VARIANT position;
    VariantInit(&position);
    VarDecFromUI8((GetTickCount64() - streamStart_) * 32, &V_DECIMAL(&position));
    V_VT(&position) = VT_DECIMAL;
    reversed.push_back(position);
    reversed.push_back(Long(stream.value_or(stream_)));
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    // A handler may advise or unadvise; this event goes to the sinks there were.
    std::vector<ComPtr<IDispatch>> sinks;
    for (const auto& s : sinks_) sinks.push_back(s.second);
    for (const auto& sink : sinks) {
        VARIANT ignored;
        VariantInit(&ignored);
        sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &ignored, nullptr, nullptr);
        VariantClear(&ignored);
    }
    for (VARIANT& v : reversed) VariantClear(&v);
}

}  // namespace loopback
