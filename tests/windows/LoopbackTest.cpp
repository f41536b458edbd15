// The loopback recogniser DLL as a program sees it: created by class id,
// called by vtable and by name, its events delivered to an advised sink on
// this thread's message loop, all of it driven by a script file we append to.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <sapi.h>

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "TestSupport.h"
#include "classlib/Handles.h"
#include "speech/SpeechLib_TLB.h"
#include "speech/loopback/ScriptLine.h"

namespace {

constexpr CLSID kClsid{0x47206204, 0x5eca, 0x11d2, {0x96, 0x0f, 0x00, 0xc0, 0x4f, 0x8e, 0xe6, 0x28}};
constexpr wchar_t kClsidKey[] = L"CLSID\\{47206204-5ECA-11D2-960F-00C04F8EE628}";

std::wstring Widen(const std::string& utf8) {
    std::wstring w(utf8.size(), L'\0');
    w.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), static_cast<int>(w.size()))));
    return w;
}

std::wstring FromBstr(BSTR s) { return s ? std::wstring(s, SysStringLen(s)) : std::wstring(); }

// A BSTR owned for the length of a call.
struct Bstr {
    BSTR s;
    explicit Bstr(const wchar_t* text) : s(SysAllocString(text)) {}
    ~Bstr() { SysFreeString(s); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
};

// A VARIANT cleared when it goes.
struct Var : VARIANT {
    Var() { VariantInit(this); }
    ~Var() { VariantClear(this); }
    Var(const Var&) = delete;
    Var& operator=(const Var&) = delete;
};

std::wstring TempPath(const wchar_t* name) { return ::TempPath(L"quellory-loopback-", name); }

void AppendUtf8(const std::wstring& path, const std::string& bytes) { AppendBytes(path, bytes); }

std::vector<std::wstring> ReadLines(const std::wstring& path) {
    std::string rest;
    std::vector<std::wstring> lines;
    for (const auto& line : ::ReadLines(path, &rest)) lines.push_back(Widen(line));
    EXPECT_TRUE(rest.empty()) << "every log line ends with a line feed";
    return lines;
}

// Calls a member by name through IDispatch, as late-bound callers do.
HRESULT CallByName(IDispatch* target, const wchar_t* name, WORD flags, std::vector<VARIANT> argsInOrder,
                   VARIANT* result) {
    DISPID id = 0;
    auto* names = const_cast<LPOLESTR>(name);
    HRESULT hr = target->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    std::vector<VARIANT> reversed(argsInOrder.rbegin(), argsInOrder.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &put;
        params.cNamedArgs = 1;
    }
    hr = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
    for (VARIANT& v : reversed) VariantClear(&v);
    return hr;
}

VARIANT LongArg(LONG n) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = n;
    return v;
}

VARIANT TextArg(const wchar_t* s) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(s);
    return v;
}

// What the sink saw of one event.
struct Seen {
    DISPID id = 0;
    DWORD thread = 0;
    ULONGLONG at = 0;
    std::vector<VARTYPE> types;      // declaration order
    std::vector<std::wstring> args;  // declaration order; a result as its text (by vtable)
    std::wstring textByName;         // Result.PhraseInfo.GetText, late-bound
    std::wstring confidenceByName;   // Result.PhraseInfo.Rule.Confidence, late-bound
    std::wstring engineConfidenceByName;
};

std::wstring AsText(const VARIANT& v) {
    if (V_VT(&v) == VT_BOOL) return V_BOOL(&v) ? L"true" : L"false";
    Var text;
    if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(&v), 0, VT_BSTR))) return L"?";
    return FromBstr(V_BSTR(&text));
}

// Reads a result's values late-bound, the way the program's FalseRecognition handler does.
void ReadByName(IDispatch* result, Seen& seen) {
    Var info, text, rule, confidence, engine;
    if (FAILED(CallByName(result, L"PhraseInfo", DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, &info))) return;
    if (SUCCEEDED(CallByName(V_DISPATCH(&info), L"GetText", DISPATCH_METHOD, {}, &text)))
        seen.textByName = AsText(text);
    if (FAILED(CallByName(V_DISPATCH(&info), L"Rule", DISPATCH_PROPERTYGET, {}, &rule))) return;
    if (SUCCEEDED(CallByName(V_DISPATCH(&rule), L"Confidence", DISPATCH_PROPERTYGET, {}, &confidence)))
        seen.confidenceByName = AsText(confidence);
    if (SUCCEEDED(CallByName(V_DISPATCH(&rule), L"EngineConfidence", DISPATCH_PROPERTYGET, {}, &engine)))
        seen.engineConfidenceByName = AsText(engine);
}

// The event sink: a plain IDispatch that records what Invoke receives.
class Sink : public IDispatch {
public:
    std::vector<Seen> events;
    bool readResultsByName = true;
    std::function<void(const Seen&)> onEvent;
    int depth = 0, deepest = 0;
    IDispatch* lastResult = nullptr;  // the last result an event carried, kept

    Sink() = default;
    Sink(const Sink&) = delete;
    Sink& operator=(const Sink&) = delete;
    virtual ~Sink() {
        if (lastResult) lastResult->Release();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(_ISpeechRecoContextEvents)) {
            *out = static_cast<IDispatch*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO*, UINT*) override {
        EXPECT_EQ(flags, DISPATCH_METHOD);
        Seen seen;
        seen.id = id;
        seen.thread = GetCurrentThreadId();
        seen.at = GetTickCount64();
        for (UINT i = params->cArgs; i-- > 0;) {
            const VARIANT& v = params->rgvarg[i];
            seen.types.push_back(V_VT(&v));
            if (V_VT(&v) == VT_DISPATCH) {
                ISpeechRecoResult* result = nullptr;
                ISpeechPhraseInfo* info = nullptr;
                BSTR text = nullptr;
                if (SUCCEEDED(V_DISPATCH(&v)->QueryInterface(__uuidof(ISpeechRecoResult),
                                                             reinterpret_cast<void**>(&result))) &&
                    SUCCEEDED(result->get_PhraseInfo(&info)) && SUCCEEDED(info->GetText(0, -1, VARIANT_TRUE, &text)))
                    seen.args.push_back(FromBstr(text));
                else
                    seen.args.push_back(L"?");
                SysFreeString(text);
                if (info) info->Release();
                if (result) result->Release();
                if (readResultsByName) ReadByName(V_DISPATCH(&v), seen);
                if (lastResult) lastResult->Release();
                lastResult = V_DISPATCH(&v);
                lastResult->AddRef();
            } else {
                seen.args.push_back(AsText(v));
            }
        }
        events.push_back(seen);
        ++depth;
        deepest = std::max(deepest, depth);
        if (onEvent) onEvent(seen);
        --depth;
        return S_OK;
    }

    const Seen* Find(DISPID id) const {
        for (const Seen& s : events)
            if (s.id == id) return &s;
        return nullptr;
    }
    int Count(DISPID id) const {
        return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const Seen& s) { return s.id == id; }));
    }
};

using DllFunction = HRESULT(STDAPICALLTYPE*)();

class Loopback : public ::testing::Test {
protected:
    static HMODULE dll;

    static void SetUpTestSuite() {
        dll = LoadLibraryW(Widen(QUELLORY_LOOPBACK_DLL).c_str());
        ASSERT_NE(dll, nullptr);
    }
    static void TearDownTestSuite() {
        FreeLibrary(dll);
        dll = nullptr;
    }

    void SetUp() override {
        // Registered for each test: other programs share the Wine prefix and
        // may take the registration away to test running without it.
        ASSERT_NE(dll, nullptr);
        auto reg = reinterpret_cast<DllFunction>(reinterpret_cast<void*>(GetProcAddress(dll, "DllRegisterServer")));
        ASSERT_NE(reg, nullptr);
        ASSERT_EQ(reg(), S_OK);
        scriptPath = TempPath(L"script.txt");
        logPath = TempPath(L"log.txt");
        DeleteFileW(scriptPath.c_str());
        DeleteFileW(logPath.c_str());
        SetEnvironmentVariableW(L"LOOPBACK_RECO_SCRIPT", scriptPath.c_str());
        SetEnvironmentVariableW(L"LOOPBACK_RECO_LOG", logPath.c_str());
    }
    void TearDown() override {
        Close();
        SetEnvironmentVariableW(L"LOOPBACK_RECO_SCRIPT", nullptr);
        SetEnvironmentVariableW(L"LOOPBACK_RECO_LOG", nullptr);
        DeleteFileW(scriptPath.c_str());
        DeleteFileW(logPath.c_str());
    }

    // Creates the context as the program does and advises the sink.
    void Open() {
        ASSERT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, __uuidof(ISpeechRecoContext),
                                   reinterpret_cast<void**>(&context)),
                  S_OK);
        IConnectionPointContainer* container = nullptr;
        ASSERT_EQ(context->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)), S_OK);
        ASSERT_EQ(container->FindConnectionPoint(__uuidof(_ISpeechRecoContextEvents), &point), S_OK);
        container->Release();
        ASSERT_EQ(point->Advise(static_cast<IDispatch*>(&sink), &cookie), S_OK);
    }
    // Open, every event asked for, dictation on.
    void OpenDictating() {
        ASSERT_NO_FATAL_FAILURE(Open());
        ASSERT_EQ(context->put_EventInterests(SREAllEvents), S_OK);
        Var id;
        V_VT(&id) = VT_I4;
        V_I4(&id) = 0;
        ASSERT_EQ(context->CreateGrammar(id, &grammar), S_OK);
        ASSERT_EQ(grammar->DictationSetState(SGDSActive), S_OK);
    }
    void Close() {
        if (point) {
            point->Unadvise(cookie);
            point->Release();
            point = nullptr;
        }
        if (grammar) grammar->Release();
        grammar = nullptr;
        if (context) context->Release();
        context = nullptr;
    }

    void Script(const std::string& lines) { AppendUtf8(scriptPath, lines); }
    // Pumps until the sink has seen an event with this DISPID (count times).
    bool WaitFor(DISPID id, int count = 1, int ms = 3000) {
        return PumpUntil([&] { return sink.Count(id) >= count; }, ms);
    }
    std::vector<std::wstring> Log() const { return ReadLines(logPath); }

    std::wstring scriptPath, logPath;
    Sink sink;
    ISpeechRecoContext* context = nullptr;
    ISpeechRecoGrammar* grammar = nullptr;
    IConnectionPoint* point = nullptr;
    DWORD cookie = 0;
};

HMODULE Loopback::dll = nullptr;

}  // namespace

TEST_F(Loopback, ExportsUndecoratedNamesAndRegistersUnderTheClassesRoot) {
    for (const char* name : {"DllGetClassObject", "DllCanUnloadNow", "DllRegisterServer", "DllUnregisterServer"})
        EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
    wchar_t dllPath[MAX_PATH] = {};
    GetModuleFileNameW(dll, dllPath, MAX_PATH);
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof(value);
    const std::wstring inproc = std::wstring(kClsidKey) + L"\\InprocServer32";
    ASSERT_EQ(RegGetValueW(HKEY_CLASSES_ROOT, inproc.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(lstrcmpiW(value, dllPath), 0) << Widen(QUELLORY_LOOPBACK_DLL).c_str();
    size = sizeof(value);
    ASSERT_EQ(RegGetValueW(HKEY_CLASSES_ROOT, inproc.c_str(), L"ThreadingModel", RRF_RT_REG_SZ, nullptr, value, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(value, L"Apartment");
    CLSID byProgId{};
    EXPECT_EQ(CLSIDFromProgID(L"SAPI.SpSharedRecoContext", &byProgId), S_OK);
    EXPECT_TRUE(IsEqualCLSID(byProgId, kClsid));
}

TEST_F(Loopback, UnregisteringRemovesTheClassAndRegisteringBringsItBack) {
    auto unreg = reinterpret_cast<DllFunction>(reinterpret_cast<void*>(GetProcAddress(dll, "DllUnregisterServer")));
    auto reg = reinterpret_cast<DllFunction>(reinterpret_cast<void*>(GetProcAddress(dll, "DllRegisterServer")));
    ASSERT_EQ(unreg(), S_OK);
    IUnknown* unknown = nullptr;
    EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&unknown)),
              REGDB_E_CLASSNOTREG);
    CLSID byProgId{};
    EXPECT_NE(CLSIDFromProgID(L"SAPI.SpSharedRecoContext", &byProgId), S_OK);
    EXPECT_EQ(unreg(), S_OK) << "unregistering twice is not an error";
    ASSERT_EQ(reg(), S_OK);
    ASSERT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    unknown->Release();
}

TEST_F(Loopback, StaysLoadedWhileAContextLives) {
    auto canUnload = reinterpret_cast<DllFunction>(reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_EQ(canUnload(), S_FALSE);
    Close();
    EXPECT_EQ(canUnload(), S_OK);
}

TEST_F(Loopback, EveryCallIsLoggedOnOneLineByVtableAndByName) {
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_EQ(context->put_EventInterests(static_cast<SpeechRecoEvents>(0x5FFFF)), S_OK);
    Var id;
    V_VT(&id) = VT_I4;
    V_I4(&id) = 0;
    ASSERT_EQ(context->CreateGrammar(id, &grammar), S_OK);
    ASSERT_EQ(grammar->DictationSetState(SGDSActive), S_OK);
    EXPECT_EQ(context->Resume(), S_OK);
    EXPECT_EQ(context->Pause(), S_OK);
    ISpeechRecognizer* recognizer = nullptr;
    ASSERT_EQ(context->get_Recognizer(&recognizer), S_OK);
    Bstr type(L"MicTraining");
    Var extra;
    VARIANT_BOOL supported = VARIANT_FALSE;
    EXPECT_EQ(recognizer->IsUISupported(type.s, &extra, &supported), S_OK);
    EXPECT_EQ(supported, VARIANT_TRUE);
    recognizer->Release();
    SpeechRecoEvents interests{};
    EXPECT_EQ(context->get_EventInterests(&interests), S_OK);
    EXPECT_EQ(interests, 0x5FFFF);
    // The same calls late-bound.
    Var none, recognizerByName, supportedByName, grammarByName;
    EXPECT_EQ(CallByName(context, L"EventInterests", DISPATCH_PROPERTYPUT, {LongArg(0x10)}, nullptr), S_OK);
    EXPECT_EQ(CallByName(context, L"resume", DISPATCH_METHOD, {}, &none), S_OK) << "names are case-insensitive";
    EXPECT_EQ(CallByName(context, L"CreateGrammar", DISPATCH_METHOD, {LongArg(7)}, &grammarByName), S_OK);
    EXPECT_EQ(CallByName(V_DISPATCH(&grammarByName), L"DictationSetState", DISPATCH_METHOD, {LongArg(0)}, &none), S_OK);
    ASSERT_EQ(CallByName(context, L"Recognizer", DISPATCH_PROPERTYGET, {}, &recognizerByName), S_OK);
    ASSERT_EQ(V_VT(&recognizerByName), VT_DISPATCH);
    EXPECT_EQ(CallByName(V_DISPATCH(&recognizerByName), L"IsUISupported", DISPATCH_METHOD,
                         {TextArg(L"UserTraining"), Var{}}, &supportedByName),
              S_OK);
    EXPECT_EQ(V_VT(&supportedByName), VT_BOOL);
    EXPECT_EQ(CallByName(context, L"NoSuchMember", DISPATCH_METHOD, {}, &none), DISP_E_UNKNOWNNAME);
    // A member not offered still answers, and is logged.
    EXPECT_EQ(context->put_CmdMaxAlternates(3), E_NOTIMPL);

    EXPECT_EQ(Log(), (std::vector<std::wstring>{
                         L"EventInterests 393215", L"CreateGrammar 0", L"DictationSetState 1", L"Resume", L"Pause",
                         L"Recognizer", L"IsUISupported MicTraining", L"EventInterests", L"EventInterests 16",
                         L"Resume", L"CreateGrammar 7", L"DictationSetState 0", L"Recognizer",
                         L"IsUISupported UserTraining", L"CmdMaxAlternates"}));
}

TEST_F(Loopback, RecognitionCarriesItsTextByVtableAndByNameOnTheCreatingThread) {
    ASSERT_NO_FATAL_FAILURE(OpenDictating());
    Script("recognize 你好 world\n");
    ASSERT_TRUE(WaitFor(DISPID_SRCERecognition));
    const Seen& r = sink.events.back();
    EXPECT_EQ(r.id, DISPID_SRCERecognition);
    EXPECT_EQ(r.thread, GetCurrentThreadId());
    EXPECT_EQ(r.types, (std::vector<VARTYPE>{VT_I4, VT_DECIMAL, VT_I4, VT_DISPATCH}));
    EXPECT_EQ(r.args[0], L"1") << "stream number";
    EXPECT_EQ(r.args[2], L"0") << "SRTStandard";
    EXPECT_EQ(r.args[3], L"你好 world");
    EXPECT_EQ(r.textByName, L"你好 world");
    EXPECT_EQ(r.confidenceByName, L"1");
    EXPECT_FALSE(r.engineConfidenceByName.empty());
    const auto log = Log();
    for (const wchar_t* call : {L"PhraseInfo", L"GetText 0 -1 true", L"Rule", L"Confidence", L"EngineConfidence"})
        EXPECT_NE(std::find(log.begin(), log.end(), call), log.end()) << call;
}

TEST_F(Loopback, EveryScriptedEventArrivesInOrderWithItsArguments) {
    struct Row {
        const char* line;
        DISPID id;
        std::vector<VARTYPE> ownTypes;  // after StreamNumber and StreamPosition
        std::vector<std::wstring> ownArgs;
        const wchar_t* stream;
    };
    const std::vector<Row> rows{
        {"startstream 3", DISPID_SRCEStartStream, {}, {}, L"3"},
        {"soundstart", DISPID_SRCESoundStart, {}, {}, L"3"},
        {"phrasestart", DISPID_SRCEPhraseStart, {}, {}, L"3"},
        {"hypothesis 你", DISPID_SRCEHypothesis, {VT_DISPATCH}, {L"你"}, L"3"},
        {"recognize 你好", DISPID_SRCERecognition, {VT_I4, VT_DISPATCH}, {L"0", L"你好"}, L"3"},
        {"false 泥嚎", DISPID_SRCEFalseRecognition, {VT_DISPATCH}, {L"泥嚎"}, L"3"},
        {"soundend", DISPID_SRCESoundEnd, {}, {}, L"3"},
        {"bookmark 5", DISPID_SRCEBookmark, {VT_I4, VT_I4}, {L"5", L"0"}, L"3"},
        {"bookmark", DISPID_SRCEBookmark, {VT_I4, VT_I4}, {L"0", L"0"}, L"3"},
        {"propertynumber Volume 7", DISPID_SRCEPropertyNumberChange, {VT_BSTR, VT_I4}, {L"Volume", L"7"}, L"3"},
        {"propertystring Name two words", DISPID_SRCEPropertyStringChange, {VT_BSTR, VT_BSTR}, {L"Name", L"two words"}, L"3"},
        {"interference 6", DISPID_SRCEInterference, {VT_I4}, {L"6"}, L"3"},
        {"interference 7", DISPID_SRCEInterference, {VT_I4}, {L"7"}, L"3"},
        {"requestui MicTraining", DISPID_SRCERequestUI, {VT_BSTR}, {L"MicTraining"}, L"3"},
        {"statechange 1", DISPID_SRCERecognizerStateChange, {VT_I4}, {L"1"}, L"3"},
        {"adaptation", DISPID_SRCEAdaptation, {}, {}, L"3"},
        {"otherrecognition", DISPID_SRCERecognitionForOtherContext, {}, {}, L"3"},
        {"audiolevel 42", DISPID_SRCEAudioLevel, {VT_I4}, {L"42"}, L"3"},
        {"engineprivate data", DISPID_SRCEEnginePrivate, {VT_BSTR}, {L"data"}, L"3"},
        {"endstream 9", DISPID_SRCEEndStream, {VT_BOOL}, {L"true"}, L"9"},
        {"endstream", DISPID_SRCEEndStream, {VT_BOOL}, {L"true"}, L"3"},
        {"recognize", DISPID_SRCERecognition, {VT_I4, VT_DISPATCH}, {L"0", L""}, L"3"},
    };
    ASSERT_NO_FATAL_FAILURE(OpenDictating());
    sink.readResultsByName = false;
    std::string script;
    for (const Row& row : rows) script += std::string(row.line) + "\n";
    Script(script + "soundstart\n");
    ASSERT_TRUE(PumpUntil([&] { return sink.events.size() > rows.size(); }));
    ASSERT_EQ(sink.events.size(), rows.size() + 1);
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const Seen& seen = sink.events[i];
        SCOPED_TRACE(row.line);
        EXPECT_EQ(seen.id, row.id);
        std::vector<VARTYPE> types{VT_I4, VT_DECIMAL};
        types.insert(types.end(), row.ownTypes.begin(), row.ownTypes.end());
        EXPECT_EQ(seen.types, types);
        ASSERT_EQ(seen.args.size(), types.size());
        EXPECT_EQ(seen.args[0], row.stream);
        EXPECT_EQ(std::vector<std::wstring>(seen.args.begin() + 2, seen.args.end()), row.ownArgs);
    }
}

TEST_F(Loopback, RecognitionsAreDroppedWithoutActiveDictationOrWhilePaused) {
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_EQ(context->put_EventInterests(SREAllEvents), S_OK);
    auto mark = [&](const char* lines) {
        const int before = sink.Count(DISPID_SRCESoundStart);
        Script(std::string(lines) + "soundstart\n");
        return WaitFor(DISPID_SRCESoundStart, before + 1);
    };
    ASSERT_TRUE(mark("recognize before grammar\n"));
    Var id;
    V_VT(&id) = VT_I4;
    ASSERT_EQ(context->CreateGrammar(id, &grammar), S_OK);
    ASSERT_TRUE(mark("recognize before DictationSetState\n"));
    EXPECT_EQ(sink.Count(DISPID_SRCERecognition), 0);

    ASSERT_EQ(grammar->DictationSetState(SGDSActive), S_OK);
    ASSERT_TRUE(mark("recognize one\n"));
    EXPECT_EQ(sink.Count(DISPID_SRCERecognition), 1);

    ASSERT_EQ(context->Pause(), S_OK);
    ASSERT_TRUE(mark("recognize paused\nhypothesis paused\nfalse paused\naudiolevel 5\n"));
    EXPECT_EQ(sink.Count(DISPID_SRCERecognition), 1);
    EXPECT_EQ(sink.Count(DISPID_SRCEHypothesis), 0);
    EXPECT_EQ(sink.Count(DISPID_SRCEFalseRecognition), 0);
    EXPECT_EQ(sink.Count(DISPID_SRCEAudioLevel), 1) << "only the phrase events stop";

    ASSERT_EQ(context->Resume(), S_OK);
    ASSERT_TRUE(mark("recognize two\n"));
    ASSERT_EQ(sink.Count(DISPID_SRCERecognition), 2);
    EXPECT_EQ(sink.Find(DISPID_SRCERecognition)->args[3], L"one");
    EXPECT_EQ(sink.events[sink.events.size() - 2].args[3], L"two");

    ASSERT_EQ(grammar->DictationSetState(SGDSInactive), S_OK);
    ASSERT_TRUE(mark("recognize inactive\n"));
    EXPECT_EQ(sink.Count(DISPID_SRCERecognition), 2);

    // A grammar that goes away takes its dictation with it.
    ASSERT_EQ(grammar->DictationSetState(SGDSActive), S_OK);
    grammar->Release();
    grammar = nullptr;
    ASSERT_TRUE(mark("recognize no grammar\n"));
    EXPECT_EQ(sink.Count(DISPID_SRCERecognition), 2);
}

TEST_F(Loopback, OnlyEventsInTheInterestMaskAreFired) {
    ASSERT_NO_FATAL_FAILURE(Open());
    Var id;
    V_VT(&id) = VT_I4;
    ASSERT_EQ(context->CreateGrammar(id, &grammar), S_OK);
    ASSERT_EQ(grammar->DictationSetState(SGDSActive), S_OK);
    // The runtime's default asks for everything but the audio level.
    Script("audiolevel 5\nsoundstart\n");
    ASSERT_TRUE(WaitFor(DISPID_SRCESoundStart));
    EXPECT_EQ(sink.Count(DISPID_SRCEAudioLevel), 0);
    ASSERT_EQ(context->put_EventInterests(static_cast<SpeechRecoEvents>(SRERecognition | SREAudioLevel)), S_OK);
    Script("soundstart\ninterference 1\naudiolevel 6\nrecognize x\n");
    ASSERT_TRUE(WaitFor(DISPID_SRCERecognition));
    EXPECT_EQ(sink.Count(DISPID_SRCESoundStart), 1);
    EXPECT_EQ(sink.Count(DISPID_SRCEInterference), 0);
    EXPECT_EQ(sink.Count(DISPID_SRCEAudioLevel), 1);
}

namespace {

int& RecogniserTicks() {
    static int ticks = 0;
    return ticks;
}

// Counts the recogniser's timer ticks as this thread takes them from its queue.
LRESULT CALLBACK CountRecogniserTicks(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    wchar_t name[64] = {};
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_TIMER && GetClassNameW(msg->hwnd, name, 64) &&
        std::wstring_view(name) == L"QuelloryLoopbackRecoTick")
        ++RecogniserTicks();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

// The recogniser acts on what its script holds at each tick of its timer
// (a few tens of milliseconds): an appended line is acted on at the first
// tick after it, however busy the machine.
TEST_F(Loopback, AppendedLinesAreActedOnAtTheNextTick) {
    ASSERT_NO_FATAL_FAILURE(OpenDictating());
    UniqueHook hook(SetWindowsHookExW(WH_GETMESSAGE, &CountRecogniserTicks, nullptr, GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    int& ticks = RecogniserTicks();
    for (int i = 0; i < 7; ++i) {
        PumpFor(37);  // land at different points of the timer's period
        ticks = 0;
        Script("audiolevel " + std::to_string(i) + "\n");
        ASSERT_TRUE(WaitFor(DISPID_SRCEAudioLevel, i + 1, 2000));
        EXPECT_EQ(ticks, 1) << "line " << i;
    }
}

TEST_F(Loopback, OnlyCompleteLinesAreActedOn) {
    ASSERT_NO_FATAL_FAILURE(OpenDictating());
    Script("\xEF\xBB\xBFrecognize first\r\nrecognize hal");
    ASSERT_TRUE(WaitFor(DISPID_SRCERecognition));
    PumpFor(120);
    ASSERT_EQ(sink.Count(DISPID_SRCERecognition), 1);
    EXPECT_EQ(sink.events[0].args[3], L"first") << "byte order mark and CR are not part of the line";
    Script("lo\n# a comment\n\nnonsense line\naudiolevel x\n");
    ASSERT_TRUE(WaitFor(DISPID_SRCERecognition, 2));
    EXPECT_EQ(sink.events[1].args[3], L"hallo");
    PumpFor(80);
    EXPECT_EQ(sink.events.size(), 2u) << "comments, blank and malformed lines do nothing";
}

TEST_F(Loopback, AScriptRewrittenShorterIsReadFromItsStart) {
    ASSERT_NO_FATAL_FAILURE(OpenDictating());
    Script("recognize one long first line\n");
    ASSERT_TRUE(WaitFor(DISPID_SRCERecognition));
    DeleteFileW(scriptPath.c_str());
    Script("recognize two\n");
    ASSERT_TRUE(WaitFor(DISPID_SRCERecognition, 2));
    EXPECT_EQ(sink.events.back().args[3], L"two");
}

TEST_F(Loopback, WaitDelaysTheLinesAfterIt) {
    ASSERT_NO_FATAL_FAILURE(OpenDictating());
    Script("soundstart\nwait 300\nsoundend\nphrasestart\n");
    ASSERT_TRUE(WaitFor(DISPID_SRCEPhraseStart));
    ASSERT_EQ(sink.events.size(), 3u);
    const ULONGLONG gap = sink.events[1].at - sink.events[0].at;
    EXPECT_GE(gap, 295u);
    EXPECT_LT(gap, 1000u);
    EXPECT_LT(sink.events[2].at - sink.events[1].at, 20u) << "only the lines after the wait are delayed once";
}

TEST_F(Loopback, FailMakesTheNextCallsOfThatMethodFail) {
    ASSERT_NO_FATAL_FAILURE(OpenDictating());
    Script("fail Resume 0x8004503A\nfail Pause 0x80004005\nfail Pause 0x80070005\nfail Confidence 0x80020009\n"
           "soundstart\n");
    ASSERT_TRUE(WaitFor(DISPID_SRCESoundStart));
    EXPECT_EQ(context->Resume(), static_cast<HRESULT>(0x8004503A));
    EXPECT_EQ(context->Resume(), S_OK) << "one failure per line";
    EXPECT_EQ(context->Pause(), E_FAIL);
    EXPECT_EQ(context->Pause(), E_ACCESSDENIED) << "failures for one method queue up";
    EXPECT_EQ(context->Pause(), S_OK);
    ASSERT_EQ(context->Resume(), S_OK);
    // A failing late-bound read reaches the caller of Invoke: Confidence fails once.
    Script("false y\nfalse z\n");
    ASSERT_TRUE(WaitFor(DISPID_SRCEFalseRecognition, 2));
    EXPECT_EQ(sink.events[sink.events.size() - 2].textByName, L"y");
    EXPECT_EQ(sink.events[sink.events.size() - 2].confidenceByName, L"") << "Confidence failed";
    EXPECT_EQ(sink.events[sink.events.size() - 2].engineConfidenceByName, L"0.1");
    EXPECT_EQ(sink.events.back().confidenceByName, L"-1");
    const auto log = Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), L"Resume"), 3) << "failed calls are logged too";
}

TEST_F(Loopback, UnsupportedUITypesAreAnsweredFalse) {
    ASSERT_NO_FATAL_FAILURE(Open());
    Script("unsupported MicTraining\nsoundstart\n");
    ASSERT_TRUE(WaitFor(DISPID_SRCESoundStart));
    ISpeechRecognizer* recognizer = nullptr;
    ASSERT_EQ(context->get_Recognizer(&recognizer), S_OK);
    Var extra;
    for (auto [type, expected] : {std::pair{L"MicTraining", VARIANT_FALSE}, std::pair{L"UserTraining", VARIANT_TRUE},
                                  std::pair{L"AddRemoveWord", VARIANT_TRUE}}) {
        Bstr t(type);
        VARIANT_BOOL supported = 2;
        EXPECT_EQ(recognizer->IsUISupported(t.s, &extra, &supported), S_OK);
        EXPECT_EQ(supported, expected) << type;
    }
    Var byName;
    EXPECT_EQ(CallByName(recognizer, L"IsUISupported", DISPATCH_METHOD, {TextArg(L"MicTraining")}, &byName), S_OK);
    EXPECT_EQ(V_VT(&byName), VT_BOOL);
    EXPECT_EQ(V_BOOL(&byName), VARIANT_FALSE);
    Bstr title(L"Microphone Setup"), type(L"MicTraining");
    EXPECT_EQ(recognizer->DisplayUI(0, title.s, type.s, &extra), E_INVALIDARG) << "no dialog for it either";
    recognizer->Release();
}

TEST_F(Loopback, DisplayUIShowsAModalDialogWithTheTitleUntilItIsClosed) {
    ASSERT_NO_FATAL_FAILURE(Open());
    ISpeechRecognizer* recognizer = nullptr;
    ASSERT_EQ(context->get_Recognizer(&recognizer), S_OK);
    DialogCloser closer;
    Bstr title(L"Add/Remove Word"), type(L"AddRemoveWord");
    Var extra;
    EXPECT_EQ(recognizer->DisplayUI(0, title.s, type.s, &extra), S_OK);
    ASSERT_EQ(closer.SeenDialogs().size(), 1u);
    EXPECT_EQ(closer.SeenDialogs()[0].caption, L"Add/Remove Word");
    EXPECT_NE(closer.SeenDialogs()[0].text.find(L"AddRemoveWord"), std::wstring::npos);
    // By name, with a parent window.
    HWND parent = CreateWindowExW(0, L"STATIC", L"parent", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    Var none;
    EXPECT_EQ(CallByName(recognizer, L"DisplayUI", DISPATCH_METHOD,
                         {LongArg(static_cast<LONG>(reinterpret_cast<LONG_PTR>(parent))), TextArg(L"Speaker Training"),
                          TextArg(L"UserTraining"), Var{}},
                         &none),
              S_OK);
    ASSERT_EQ(closer.SeenDialogs().size(), 2u);
    EXPECT_EQ(closer.SeenDialogs()[1].caption, L"Speaker Training");
    DestroyWindow(parent);
    recognizer->Release();
    const auto log = Log();
    EXPECT_EQ(std::vector<std::wstring>(log.end() - 2, log.end()),
              (std::vector<std::wstring>{L"DisplayUI AddRemoveWord Add/Remove Word",
                                         L"DisplayUI UserTraining Speaker Training"}));
}

TEST_F(Loopback, AThousandRecognitionsArriveInOrder) {
    ASSERT_NO_FATAL_FAILURE(OpenDictating());
    sink.readResultsByName = false;
    std::string script;
    for (int i = 0; i < 1000; ++i) script += "recognize 第" + std::to_string(i) + "句 phrase\n";
    Script(script);
    ASSERT_TRUE(WaitFor(DISPID_SRCERecognition, 1000, 10000));
    ASSERT_EQ(sink.events.size(), 1000u);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(sink.events[i].args[3], Widen("第" + std::to_string(i) + "句 phrase"));
}

TEST_F(Loopback, AHandlerThatPumpsMessagesDoesNotReceiveTheNextEventInsideIt) {
    ASSERT_NO_FATAL_FAILURE(OpenDictating());
    sink.onEvent = [](const Seen&) { PumpFor(80); };
    Script("recognize a\nrecognize b\nrecognize c\n");
    ASSERT_TRUE(WaitFor(DISPID_SRCERecognition, 3));
    EXPECT_EQ(sink.deepest, 1);
    EXPECT_EQ(sink.events[2].args[3], L"c");
}

TEST_F(Loopback, AHandlerMayReleaseTheContext) {
    ASSERT_NO_FATAL_FAILURE(OpenDictating());
    sink.onEvent = [&](const Seen& seen) {
        if (seen.id == DISPID_SRCERecognition) Close();
    };
    Script("recognize last\nrecognize never\n");
    ASSERT_TRUE(WaitFor(DISPID_SRCERecognition));
    PumpFor(120);
    EXPECT_EQ(sink.Count(DISPID_SRCERecognition), 1);
}

TEST_F(Loopback, GetTextTreatsThePhraseAsOneElement) {
    ASSERT_NO_FATAL_FAILURE(OpenDictating());
    sink.readResultsByName = false;
    Script("recognize a  b\n");
    ASSERT_TRUE(WaitFor(DISPID_SRCERecognition));
    ASSERT_NE(sink.lastResult, nullptr);
    ISpeechRecoResult* result = nullptr;
    ASSERT_EQ(sink.lastResult->QueryInterface(__uuidof(ISpeechRecoResult), reinterpret_cast<void**>(&result)), S_OK);
    ISpeechPhraseInfo* info = nullptr;
    ASSERT_EQ(result->get_PhraseInfo(&info), S_OK);
    struct Row {
        const char* name;
        LONG start, count;
        HRESULT hr;
        const wchar_t* text;
    };
    const Row rows[] = {
        {"all elements", 0, -1, S_OK, L"a  b"},
        {"the one element", 0, 1, S_OK, L"a  b"},
        {"more than there are", 0, 5, S_OK, L"a  b"},
        {"none", 0, 0, S_OK, L""},
        {"from the end", 1, -1, S_OK, L""},
        {"past the end", 2, -1, E_INVALIDARG, nullptr},
        {"negative start", -1, -1, E_INVALIDARG, nullptr},
        {"negative count", 0, -2, E_INVALIDARG, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        BSTR text = nullptr;
        EXPECT_EQ(info->GetText(row.start, row.count, VARIANT_TRUE, &text), row.hr);
        if (row.text)
            EXPECT_EQ(FromBstr(text), row.text);
        else
            EXPECT_EQ(text, nullptr);
        SysFreeString(text);
    }
    // By name with all arguments given.
    Var byName;
    EXPECT_EQ(CallByName(info, L"GetText", DISPATCH_METHOD, {LongArg(0), LongArg(-1), LongArg(0)}, &byName), S_OK);
    EXPECT_EQ(AsText(byName), L"a  b");
    info->Release();
    result->Release();
}

// The program's own recognition context component, against the loopback.
TEST_F(Loopback, TheRecognitionContextComponentWorksAgainstIt) {
    TSpSharedRecoContext component(nullptr);
    std::vector<std::wstring> texts;
    std::vector<int> levels;
    bool ended = false;
    component.OnRecognition = [&](TObject*, int stream, const VARIANT&, int type, ISpeechRecoResult* result) {
        EXPECT_EQ(stream, 1);
        EXPECT_EQ(type, 0);
        ISpeechPhraseInfo* info = nullptr;
        BSTR text = nullptr;
        if (SUCCEEDED(result->get_PhraseInfo(&info)) && SUCCEEDED(info->GetText(0, -1, VARIANT_TRUE, &text)))
            texts.push_back(FromBstr(text));
        SysFreeString(text);
        if (info) info->Release();
    };
    component.OnAudioLevel = [&](TObject*, int, const VARIANT&, int level) { levels.push_back(level); };
    component.OnEndStream = [&](TObject*, int, const VARIANT&, bool released) { ended = released; };
    component.SetEventInterests(0x5FFFF);
    Var id;
    V_VT(&id) = VT_I4;
    V_I4(&id) = 0;
    auto dictation = component.CreateGrammar(id);
    ASSERT_EQ(dictation->DictationSetState(SGDSActive), S_OK);
    Script("fail Resume 0x8004503A\nrecognize 你好，world\nhypothesis no\naudiolevel 40\nendstream\n");
    ASSERT_TRUE(PumpUntil([&] { return ended; }));
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"你好，world"}));
    EXPECT_EQ(levels, (std::vector<int>{40}));
    try {
        component.Resume();
        ADD_FAILURE() << "Resume did not fail";
    } catch (const EOleException& e) {
        EXPECT_EQ(e.ErrorCode(), static_cast<HRESULT>(0x8004503A));
    }
    component.Pause();
    const auto log = Log();
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(std::vector<std::wstring>(log.begin(), log.begin() + 3),
              (std::vector<std::wstring>{L"EventInterests 393215", L"CreateGrammar 0", L"DictationSetState 1"}));
    EXPECT_EQ(std::vector<std::wstring>(log.end() - 2, log.end()), (std::vector<std::wstring>{L"Resume", L"Pause"}));
}

TEST(LoopbackScript, LinesParse) {
    using loopback::ParseScriptLine;
    using loopback::ScriptLineKind;
    using loopback::ScriptOp;
    struct Row {
        const char* name;
        const char* line;
        ScriptLineKind kind;
        ScriptOp op;
        const char* text;
        long long number;
        bool hasNumber;
        const char* value;
    };
    const auto C = ScriptLineKind::Command, B = ScriptLineKind::Blank, I = ScriptLineKind::Invalid;
    const Row rows[] = {
        {"text keeps inner and trailing blanks", "recognize  a b ", C, ScriptOp::Recognize, " a b ", 0, false, ""},
        {"text may be empty", "recognize", C, ScriptOp::Recognize, "", 0, false, ""},
        {"UTF-8 text", "false \xE4\xBD\xA0", C, ScriptOp::False, "\xE4\xBD\xA0", 0, false, ""},
        {"trailing CR dropped", "hypothesis hi\r", C, ScriptOp::Hypothesis, "hi", 0, false, ""},
        {"command word any case", "AudioLevel 50", C, ScriptOp::AudioLevel, "", 50, true, ""},
        {"negative number", "interference -1", C, ScriptOp::Interference, "", -1, true, ""},
        {"number with blanks around", "audiolevel  7 ", C, ScriptOp::AudioLevel, "", 7, true, ""},
        {"number missing", "audiolevel", I, {}, "", 0, false, ""},
        {"number not a number", "audiolevel loud", I, {}, "", 0, false, ""},
        {"number with junk", "audiolevel 5x", I, {}, "", 0, false, ""},
        {"number too large for LONG", "audiolevel 2147483648", I, {}, "", 0, false, ""},
        {"largest LONG", "statechange 2147483647", C, ScriptOp::StateChange, "", 2147483647, true, ""},
        {"hex HRESULT", "fail Resume 0x8004503A", C, ScriptOp::Fail, "Resume", 0x8004503A, true, ""},
        {"decimal HRESULT", "fail Pause -2147467259", C, ScriptOp::Fail, "Pause", -2147467259, true, ""},
        {"HRESULT over 32 bits", "fail Pause 0x100000000", I, {}, "", 0, false, ""},
        {"fail without code", "fail Resume", I, {}, "", 0, false, ""},
        {"fail without method", "fail", I, {}, "", 0, false, ""},
        {"optional number left out", "startstream", C, ScriptOp::StartStream, "", 0, false, ""},
        {"optional number given", "endstream 4", C, ScriptOp::EndStream, "", 4, true, ""},
        {"wait", "wait 250", C, ScriptOp::Wait, "", 250, true, ""},
        {"negative wait", "wait -5", I, {}, "", 0, false, ""},
        {"no-argument command", "soundstart", C, ScriptOp::SoundStart, "", 0, false, ""},
        {"no-argument command with junk", "soundend now", I, {}, "", 0, false, ""},
        {"unsupported needs a type", "unsupported ", I, {}, "", 0, false, ""},
        {"unsupported", "unsupported MicTraining", C, ScriptOp::Unsupported, "MicTraining", 0, false, ""},
        {"request UI", "requestui AddRemoveWord", C, ScriptOp::RequestUI, "AddRemoveWord", 0, false, ""},
        {"property string", "propertystring Name a b", C, ScriptOp::PropertyString, "Name", 0, false, "a b"},
        {"property number", "propertynumber Volume 3", C, ScriptOp::PropertyNumber, "Volume", 3, true, ""},
        {"unknown word", "shout hello", I, {}, "", 0, false, ""},
        {"word prefix is not the word", "recog hi", I, {}, "", 0, false, ""},
        {"empty line", "", B, {}, "", 0, false, ""},
        {"blank line", " \t\r", B, {}, "", 0, false, ""},
        {"comment", "  # recognize hi", B, {}, "", 0, false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto parsed = ParseScriptLine(row.line);
        ASSERT_EQ(parsed.kind, row.kind);
        if (row.kind != C) continue;
        EXPECT_EQ(parsed.command.op, row.op);
        EXPECT_EQ(parsed.command.text, row.text);
        EXPECT_EQ(parsed.command.number, row.number);
        EXPECT_EQ(parsed.command.hasNumber, row.hasNumber);
        EXPECT_EQ(parsed.command.value, row.value);
    }
}
