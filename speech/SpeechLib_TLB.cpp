#include "speech/SpeechLib_TLB.h"

#include <atomic>
#include <cstdio>

#include "classlib/Forms.h"

const CLSID kSpSharedRecoContextClassId = {0x47206204, 0x5eca, 0x11d2, {0x96, 0x0f, 0x00, 0xc0, 0x4f, 0x8e, 0xe6, 0x28}};

namespace {

const IID kRecoContextEventsId = {0x7b8fcb42, 0x0e9d, 0x4f00, {0xa0, 0x48, 0x7b, 0x04, 0xd6, 0x17, 0x9d, 0x3d}};

// A VARIANT that clears itself.
struct Variant {
    VARIANT v;
    Variant() { VariantInit(&v); }
    ~Variant() { VariantClear(&v); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

std::string TrimmedUtf8(const wchar_t* text) {
    std::wstring s = text ? text : L"";
    while (!s.empty() && (s.back() == L'\r' || s.back() == L'\n' || s.back() == L' ')) s.pop_back();
    return WideToUtf8(s);
}

}  // namespace

std::string OleErrorText(HRESULT hr) {
    wchar_t* message = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<LPWSTR>(&message), 0, nullptr);
    std::string text = n ? TrimmedUtf8(message) : std::string();
    if (message) LocalFree(message);
    if (!text.empty()) return text;
    char buf[32];
    std::snprintf(buf, sizeof buf, "OLE error %.8X", static_cast<unsigned>(hr));
    return buf;
}

void OleCheck(HRESULT hr) {
    if (SUCCEEDED(hr)) return;
    std::string text;
    IErrorInfo* raw = nullptr;
    if (GetErrorInfo(0, &raw) == S_OK && raw) {
        ComPtr<IErrorInfo> info = ComPtr<IErrorInfo>::Attach(raw);
        BSTR description = nullptr;
        if (SUCCEEDED(info->GetDescription(&description)) && description) {
            text = TrimmedUtf8(description);
            SysFreeString(description);
        }
    }
    if (text.empty()) text = OleErrorText(hr);
    throw EOleException(text, hr);
}

// ---------------------------------------------------------------- event sink

class TSpSharedRecoContext::TEventSink final : public IDispatch {
public:
    explicit TEventSink(TSpSharedRecoContext* owner) : owner_(owner) {}
    virtual ~TEventSink() = default;
    void Orphan() { owner_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kRecoContextEventsId) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG n = --refs_;
        if (n == 0) delete this;  // COM lifetime: the last reference frees the sink
        return n;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        if (!owner_ || !params) return S_OK;
        // A handler's error is reported here and the platform gets a normal answer.
        try {
            owner_->DispatchEvent(id, *params);
        } catch (...) {
            if (Application) Application->HandleException(owner_);
        }
        return S_OK;
    }

private:
    std::atomic<ULONG> refs_{1};
    TSpSharedRecoContext* owner_;
};

// ---------------------------------------------------------------- component

const TClassInfo& TSpSharedRecoContext::StaticClass() {
    static const TClassInfo info(
        L"TSpSharedRecoContext", &TComponent::StaticClass(),
        {
            props::Boolean(L"AutoConnect", &TSpSharedRecoContext::AutoConnect, &TSpSharedRecoContext::SetAutoConnect),
            props::Enumeration(L"ConnectKind", &TSpSharedRecoContext::ConnectKind,
                               &TSpSharedRecoContext::SetConnectKind,
                               {L"ckRunningOrNew", L"ckNewInstance", L"ckRunningInstance", L"ckRemote",
                                L"ckAttachToInterface"}),
            props::Event(L"OnStartStream", &TSpSharedRecoContext::OnStartStream),
            props::Event(L"OnEndStream", &TSpSharedRecoContext::OnEndStream),
            props::Event(L"OnBookmark", &TSpSharedRecoContext::OnBookmark),
            props::Event(L"OnSoundStart", &TSpSharedRecoContext::OnSoundStart),
            props::Event(L"OnSoundEnd", &TSpSharedRecoContext::OnSoundEnd),
            props::Event(L"OnPhraseStart", &TSpSharedRecoContext::OnPhraseStart),
            props::Event(L"OnRecognition", &TSpSharedRecoContext::OnRecognition),
            props::Event(L"OnHypothesis", &TSpSharedRecoContext::OnHypothesis),
            props::Event(L"OnPropertyNumberChange", &TSpSharedRecoContext::OnPropertyNumberChange),
            props::Event(L"OnPropertyStringChange", &TSpSharedRecoContext::OnPropertyStringChange),
            props::Event(L"OnFalseRecognition", &TSpSharedRecoContext::OnFalseRecognition),
            props::Event(L"OnInterference", &TSpSharedRecoContext::OnInterference),
            props::Event(L"OnRequestUI", &TSpSharedRecoContext::OnRequestUI),
            props::Event(L"OnRecognizerStateChange", &TSpSharedRecoContext::OnRecognizerStateChange),
            props::Event(L"OnAdaptation", &TSpSharedRecoContext::OnAdaptation),
            props::Event(L"OnRecognitionForOtherContext", &TSpSharedRecoContext::OnRecognitionForOtherContext),
            props::Event(L"OnAudioLevel", &TSpSharedRecoContext::OnAudioLevel),
            props::Event(L"OnEnginePrivate", &TSpSharedRecoContext::OnEnginePrivate),
        });
    return info;
}

TSpSharedRecoContext::TSpSharedRecoContext(TComponent* owner) : TComponent(owner) {}

TSpSharedRecoContext::~TSpSharedRecoContext() { Disconnect(); }

void TSpSharedRecoContext::Loaded() {
    TComponent::Loaded();
    if (autoConnect_ && !IsDesigning()) Connect();
}

void TSpSharedRecoContext::Connect() {
    if (context_) return;
    SetErrorInfo(0, nullptr);
    ComPtr<ISpeechRecoContext> context;
    OleCheck(CoCreateInstance(kSpSharedRecoContextClassId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                              __uuidof(ISpeechRecoContext), reinterpret_cast<void**>(context.Put())));
    context_ = context;
    // Events are optional: a context that cannot be advised simply sends none.
    ComPtr<IConnectionPointContainer> container;
    if (SUCCEEDED(context_.As(container)) &&
        SUCCEEDED(container->FindConnectionPoint(kRecoContextEventsId, connectionPoint_.Put()))) {
        auto* sink = new TEventSink(this);  // reference-counted by COM from here on
        sink_ = ComPtr<IDispatch>::Attach(sink);
        if (FAILED(connectionPoint_->Advise(sink_.Get(), &cookie_))) {
            cookie_ = 0;
            connectionPoint_.Reset();
        }
    }
}

void TSpSharedRecoContext::Disconnect() {
    if (connectionPoint_ && cookie_) connectionPoint_->Unadvise(cookie_);
    cookie_ = 0;
    connectionPoint_.Reset();
    if (sink_) static_cast<TEventSink*>(sink_.Get())->Orphan();
    sink_.Reset();
    context_.Reset();
}

ISpeechRecoContext* TSpSharedRecoContext::DefaultInterface() {
    Connect();
    return context_.Get();
}

void TSpSharedRecoContext::SetEventInterests(long interests) {
    ISpeechRecoContext* c = DefaultInterface();
    SetErrorInfo(0, nullptr);
    OleCheck(c->put_EventInterests(static_cast<SpeechRecoEvents>(interests)));
}

ComPtr<ISpeechRecoGrammar> TSpSharedRecoContext::CreateGrammar(const VARIANT& grammarId) {
    ISpeechRecoContext* c = DefaultInterface();
    SetErrorInfo(0, nullptr);
    ComPtr<ISpeechRecoGrammar> grammar;
    OleCheck(c->CreateGrammar(grammarId, grammar.Put()));
    return grammar;
}

void TSpSharedRecoContext::Resume() {
    ISpeechRecoContext* c = DefaultInterface();
    SetErrorInfo(0, nullptr);
    OleCheck(c->Resume());
}

void TSpSharedRecoContext::Pause() {
    ISpeechRecoContext* c = DefaultInterface();
    SetErrorInfo(0, nullptr);
    OleCheck(c->Pause());
}

ComPtr<ISpeechRecognizer> TSpSharedRecoContext::Recognizer() {
    ISpeechRecoContext* c = DefaultInterface();
    SetErrorInfo(0, nullptr);
    ComPtr<ISpeechRecognizer> recognizer;
    OleCheck(c->get_Recognizer(recognizer.Put()));
    return recognizer;
}

namespace {

// Argument i in declaration order (DISPPARAMS holds them last first), by value.
class Args {
public:
    explicit Args(DISPPARAMS& p) : p_(p) {}
    bool Has(UINT i) const { return i < p_.cArgs; }
    // The windows API takes non-const VARIANTs even to read them.
    VARIANT& Raw(UINT i) const {
        static VARIANT empty = [] {
            VARIANT v;
            VariantInit(&v);
            return v;
        }();
        return Has(i) ? p_.rgvarg[p_.cArgs - 1 - i] : empty;
    }
    int Int(UINT i) const {
        Variant v;
        if (FAILED(VariantChangeType(&v.v, &Raw(i), 0, VT_I4))) return 0;
        return v.v.lVal;
    }
    bool Bool(UINT i) const {
        Variant v;
        if (FAILED(VariantChangeType(&v.v, &Raw(i), 0, VT_BOOL))) return false;
        return v.v.boolVal != VARIANT_FALSE;
    }
    std::wstring Text(UINT i) const {
        Variant v;
        if (FAILED(VariantChangeType(&v.v, &Raw(i), 0, VT_BSTR)) || !v.v.bstrVal) return {};
        return std::wstring(v.v.bstrVal, SysStringLen(v.v.bstrVal));
    }
    // The variant with any by-reference indirection removed.
    const VARIANT& Value(UINT i) {
        VariantClear(&held_[i % 4].v);
        VariantCopyInd(&held_[i % 4].v, &Raw(i));
        return held_[i % 4].v;
    }
    ComPtr<ISpeechRecoResult> Result(UINT i) const {
        Variant v;
        ComPtr<ISpeechRecoResult> result;
        if (SUCCEEDED(VariantChangeType(&v.v, &Raw(i), 0, VT_DISPATCH)) && v.v.pdispVal)
            v.v.pdispVal->QueryInterface(__uuidof(ISpeechRecoResult), reinterpret_cast<void**>(result.Put()));
        return result;
    }

private:
    DISPPARAMS& p_;
    Variant held_[4];
};

}  // namespace

void TSpSharedRecoContext::DispatchEvent(DISPID id, DISPPARAMS& params) {
    Args a(params);
    const int stream = a.Int(0);
    const VARIANT& position = a.Value(1);
    switch (id) {
    case 1:
        if (OnStartStream) OnStartStream(this, stream, position);
        break;
    case 2:
        if (OnEndStream) OnEndStream(this, stream, position, a.Bool(2));
        break;
    case 3:
        if (OnBookmark) OnBookmark(this, stream, position, a.Value(2), a.Int(3));
        break;
    case 4:
        if (OnSoundStart) OnSoundStart(this, stream, position);
        break;
    case 5:
        if (OnSoundEnd) OnSoundEnd(this, stream, position);
        break;
    case 6:
        if (OnPhraseStart) OnPhraseStart(this, stream, position);
        break;
    case 7:
        if (OnRecognition) OnRecognition(this, stream, position, a.Int(2), a.Result(3).Get());
        break;
    case 8:
        if (OnHypothesis) OnHypothesis(this, stream, position, a.Result(2).Get());
        break;
    case 9:
        if (OnPropertyNumberChange) OnPropertyNumberChange(this, stream, position, a.Text(2), a.Int(3));
        break;
    case 10:
        if (OnPropertyStringChange) OnPropertyStringChange(this, stream, position, a.Text(2), a.Text(3));
        break;
    case 11:
        if (OnFalseRecognition) OnFalseRecognition(this, stream, position, a.Result(2).Get());
        break;
    case 12:
        if (OnInterference) OnInterference(this, stream, position, a.Int(2));
        break;
    case 13:
        if (OnRequestUI) OnRequestUI(this, stream, position, a.Text(2));
        break;
    case 14:
        if (OnRecognizerStateChange) OnRecognizerStateChange(this, stream, position, a.Int(2));
        break;
    case 15:
        if (OnAdaptation) OnAdaptation(this, stream, position);
        break;
    case 16:
        if (OnRecognitionForOtherContext) OnRecognitionForOtherContext(this, stream, position);
        break;
    case 17:
        if (OnAudioLevel) OnAudioLevel(this, stream, position, a.Int(2));
        break;
    case 18:
        if (OnEnginePrivate) OnEnginePrivate(this, stream, position, a.Value(2));
        break;
    default:
        break;
    }
}
