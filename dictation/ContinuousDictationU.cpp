#include "dictation/ContinuousDictationU.h"

#include <shellapi.h>

#include <array>
#include <vector>

#include "classlib/Dialogs.h"
#include "classlib/Edit.h"
#include "classlib/Icon.h"
#include "classlib/LayoutReader.h"
#include "classlib/Menus.h"
#include "classlib/ProgressBar.h"
#include "classlib/Strings.h"
#include "classlib/TextUtils.h"
#include "dictation/InfoTexts.h"
#include "dictation/SendTextToFocusedWindow.h"
#include "dictation/Utell.h"
#include "skin/data/WinSkinData.h"
#include "speech/DispatchCall.h"

namespace {

// The Run key entry and the keys around it.
constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"QLRVX";
constexpr wchar_t kMakerKey[] = L"SOFTWARE\\tarn-quill";
constexpr wchar_t kSkipRunKey[] = L"SOFTWARE_tarn-quill";

// Marker files: start with Windows on / off, always on top on / off.
constexpr wchar_t kAutoRunOn[] = L"00.ini";
constexpr wchar_t kAutoRunOff[] = L"01.ini";
constexpr wchar_t kTopOn[] = L"02.ini";
constexpr wchar_t kTopOff[] = L"03.ini";

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The system's ANSI code page; characters it lacks become its default character.
std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) return {};
    const int size =
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// A VARIANT cleared when it goes.
struct Variant : VARIANT {
    Variant() { VariantInit(this); }
    ~Variant() { VariantClear(this); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

// A BSTR owned for the length of a call.
struct Bstr {
    BSTR s;
    explicit Bstr(const std::wstring& text) : s(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~Bstr() { SysFreeString(s); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
};

IDispatch* AsDispatch(const VARIANT& v) {
    if (V_VT(&v) != VT_DISPATCH || !V_DISPATCH(&v)) OleCheck(DISP_E_TYPEMISMATCH);
    return V_DISPATCH(&v);
}

std::wstring VariantText(VARIANT& v) {
    Variant text;
    OleCheck(VariantChangeType(&text, &v, VARIANT_ALPHABOOL, VT_BSTR));
    return V_BSTR(&text) ? std::wstring(V_BSTR(&text), SysStringLen(V_BSTR(&text))) : std::wstring();
}

void OpenWithShell(HWND owner, const std::wstring& target, int show) {
    // The shell's answer is not reported: a missing browser is the user's affair.
    ShellExecuteW(owner, nullptr, target.c_str(), nullptr, nullptr, show);
}

}  // namespace

const TClassInfo& TfrmContinuousDictation::StaticClass() {
    using F = TfrmContinuousDictation;
    static const TClassInfo info(
        L"TfrmContinuousDictation", &TForm::StaticClass(), {},
        {
            props::Handler(L"FormCreate", &F::FormCreate),
            props::Handler(L"BStartClick", &F::BStartClick),
            props::Handler(L"NStartClick", &F::NStartClick),
            props::Handler(L"BStopClick", &F::BStopClick),
            props::Handler(L"NStopClick", &F::NStopClick),
            props::Handler(L"BDictClick", &F::BDictClick),
            props::Handler(L"NDictClick", &F::NDictClick),
            props::Handler(L"NMicroPhoneClick", &F::NMicroPhoneClick),
            props::Handler(L"NYuYinXunLianXiangDaoClick", &F::NYuYinXunLianXiangDaoClick),
            props::Handler(L"NLingMinDuClick", &F::NLingMinDuClick),
            props::Handler(L"NvoicesClick", &F::NvoicesClick),
            props::Handler(L"NWindowTopClick", &F::NWindowTopClick),
            props::Handler(L"NAutoRunClick", &F::NAutoRunClick),
            props::Handler(L"NQianTouMingClick", &F::NQianTouMingClick),
            props::Handler(L"NShenTouMingClick", &F::NShenTouMingClick),
            props::Handler(L"NBuTouMingClick", &F::NBuTouMingClick),
            props::Handler(L"NReadmeClick", &F::NReadmeClick),
            props::Handler(L"NDownSDKClick", &F::NDownSDKClick),
            props::Handler(L"NSDKlanguageClick", &F::NSDKlanguageClick),
            props::Handler(L"NHelpsClick", &F::NHelpsClick),
            props::Handler(L"NHowInputOneClick", &F::NHowInputOneClick),
            props::Handler(L"NSoftsClick", &F::NSoftsClick),
            props::Handler(L"NTellClick", &F::NTellClick),
            props::Handler(L"NSoftDiyClick", &F::NSoftDiyClick),
            props::Handler(L"NSoftAdClick", &F::NSoftAdClick),
            props::Handler(L"NAboutClick", &F::NAboutClick),
            props::Handler(L"NCloseClick", &F::NCloseClick),
            props::Handler(L"SpSharedRecoContextStartStream", &F::SpSharedRecoContextStartStream),
            props::Handler(L"SpSharedRecoContextEndStream", &F::SpSharedRecoContextEndStream),
            props::Handler(L"SpSharedRecoContextSoundStart", &F::SpSharedRecoContextSoundStart),
            props::Handler(L"SpSharedRecoContextSoundEnd", &F::SpSharedRecoContextSoundEnd),
            props::Handler(L"SpSharedRecoContextPhraseStart", &F::SpSharedRecoContextPhraseStart),
            props::Handler(L"SpSharedRecoContextRecognition", &F::SpSharedRecoContextRecognition),
            props::Handler(L"SpSharedRecoContextHypothesis", &F::SpSharedRecoContextHypothesis),
            props::Handler(L"SpSharedRecoContextFalseRecognition", &F::SpSharedRecoContextFalseRecognition),
            props::Handler(L"SpSharedRecoContextInterference", &F::SpSharedRecoContextInterference),
            props::Handler(L"SpSharedRecoContextRequestUI", &F::SpSharedRecoContextRequestUI),
            props::Handler(L"SpSharedRecoContextRecognitionForOtherContext",
                           &F::SpSharedRecoContextRecognitionForOtherContext),
            props::Handler(L"SpSharedRecoContextAudioLevel", &F::SpSharedRecoContextAudioLevel),
        });
    return info;
}

TfrmContinuousDictation::TfrmContinuousDictation(TComponent* owner) : TForm(owner) {
    // The layout names the recognition context and the skin data by class.
    static const bool registered = [] {
        RegisterComponentClass<TSpSharedRecoContext>();
        RegisterComponentClass<TSkinData>();
        return true;
    }();
    (void)registered;
}

// The grammar goes before the context component that made it.
TfrmContinuousDictation::~TfrmContinuousDictation() { dictationGrammar_.Reset(); }

void TfrmContinuousDictation::Loaded() {
    TForm::Loaded();
    // The window icon is carried as the program's icon resource.
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (Icon()->Empty() && FindResourceW(instance, L"MAINICON", MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */))
        Icon()->LoadFromResourceName(instance, L"MAINICON");
}

void TfrmContinuousDictation::DoCreate() {
    try {
        TForm::DoCreate();
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
}

TSpSharedRecoContext* TfrmContinuousDictation::SpSharedRecoContext() const {
    auto* context = As<TSpSharedRecoContext>(FindComponent(L"SpSharedRecoContext"));
    if (!context) throw Exception("The recognition context is missing from the main window");
    return context;
}

TProgressBar* TfrmContinuousDictation::ProgressBar() const { return As<TProgressBar>(FindComponent(L"ProgressBar")); }
TMemo* TfrmContinuousDictation::Memo3() const { return As<TMemo>(FindComponent(L"Memo3")); }
TMenuItem* TfrmContinuousDictation::MenuItem(const wchar_t* name) const {
    return As<TMenuItem>(FindComponent(name));
}

void TfrmContinuousDictation::FormCreate(TObject*) {
    TSpSharedRecoContext* context = SpSharedRecoContext();
    context->SetEventInterests(0x5FFFF);
    Variant grammarId;
    V_VT(&grammarId) = VT_I4;
    V_I4(&grammarId) = 0;
    dictationGrammar_ = context->CreateGrammar(grammarId);
    OleCheck(dictationGrammar_->DictationSetState(SGDSActive));

    if (Application) Application->Icon()->Assign(*Icon());
    SetBounds(Screen ? Screen->Width() - Width() : Left(), 0, Width(), Height());
    RestoreOptions();
}

// ------------------------------------------------------------ start and stop

void TfrmContinuousDictation::BStartClick(TObject*) { SpSharedRecoContext()->Resume(); }
void TfrmContinuousDictation::NStartClick(TObject*) { SpSharedRecoContext()->Resume(); }
void TfrmContinuousDictation::BStopClick(TObject*) { SpSharedRecoContext()->Pause(); }
void TfrmContinuousDictation::NStopClick(TObject*) { SpSharedRecoContext()->Pause(); }

// ------------------------------------------------------------ recognition events

void TfrmContinuousDictation::SpSharedRecoContextStartStream(TObject*, int streamNumber, const VARIANT&) {
    LogEvent(L"OnStartStream: stream %d", {streamNumber});
}

void TfrmContinuousDictation::SpSharedRecoContextEndStream(TObject*, int streamNumber, const VARIANT&, bool) {
    LogEvent(L"OnEndStream: stream %d", {streamNumber});
}

void TfrmContinuousDictation::SpSharedRecoContextSoundStart(TObject*, int, const VARIANT&) {
    LogEvent(L"OnSoundStart");
}

void TfrmContinuousDictation::SpSharedRecoContextSoundEnd(TObject*, int, const VARIANT&) { LogEvent(L"OnSoundEnd"); }

void TfrmContinuousDictation::SpSharedRecoContextPhraseStart(TObject*, int, const VARIANT&) {
    LogEvent(L"OnPhraseStart");
}

void TfrmContinuousDictation::SpSharedRecoContextRecognition(TObject*, int, const VARIANT&, int,
                                                             ISpeechRecoResult* result) {
    if (!result) OleCheck(E_POINTER);
    ComPtr<ISpeechPhraseInfo> info;
    OleCheck(result->get_PhraseInfo(info.Put()));
    if (!info) OleCheck(E_POINTER);
    BSTR text = nullptr;
    OleCheck(info->GetText(0, -1, VARIANT_TRUE, &text));
    const std::wstring phrase = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    SendTextToFocusedWindow(ToAnsi(phrase));
}

// Hypotheses are never typed.
void TfrmContinuousDictation::SpSharedRecoContextHypothesis(TObject*, int, const VARIANT&, ISpeechRecoResult*) {}

void TfrmContinuousDictation::SpSharedRecoContextFalseRecognition(TObject*, int, const VARIANT&,
                                                                  ISpeechRecoResult* result) {
    // Fetched by name even though the line is dropped: their failures still show.
    ComPtr<IDispatch> dispatch;
    if (!result || FAILED(result->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.Put()))))
        OleCheck(E_NOINTERFACE);
    Variant info, text, rule, confidence, engineConfidence;
    GetByName(dispatch.Get(), L"PhraseInfo", info);
    GetByName(AsDispatch(info), L"GetText", text);
    GetByName(AsDispatch(info), L"Rule", rule);
    GetByName(AsDispatch(rule), L"Confidence", confidence);
    GetByName(AsDispatch(rule), L"EngineConfidence", engineConfidence);
    LogEvent(L"OnFalseRecognition: %s, SAPI confidence: %s, engine confidence: %s",
             {VariantText(text), VariantText(confidence), VariantText(engineConfidence)});
}

void TfrmContinuousDictation::SpSharedRecoContextInterference(TObject*, int, const VARIANT&, int interference) {
    LogEvent(L"OnInterference: %s", {InterferenceName(interference)});
}

void TfrmContinuousDictation::SpSharedRecoContextRequestUI(TObject*, int, const VARIANT&,
                                                           const std::wstring& uiType) {
    LogEvent(L"OnRequestUI: %s", {uiType});
}

void TfrmContinuousDictation::SpSharedRecoContextRecognitionForOtherContext(TObject*, int, const VARIANT&) {
    LogEvent(L"OnRecognitionForOtherContext");
}

void TfrmContinuousDictation::SpSharedRecoContextAudioLevel(TObject*, int, const VARIANT&, int audioLevel) {
    if (TProgressBar* bar = ProgressBar()) bar->SetPosition(audioLevel);
}

// No log exists: the lines are made and dropped.
void TfrmContinuousDictation::LogEvent(const std::wstring&) {}

void TfrmContinuousDictation::LogEvent(const std::wstring& format, std::initializer_list<TLogArg> args) {
    LogEvent(FormatLogLine(format, args));
}

std::wstring InterferenceName(int interference) {
    static constexpr std::array<const wchar_t*, 7> names = {
        L"none",
        L"noise",
        L"no signal",
        L"too loud for discrete recognition",
        L"too quiet for discrete recognition",
        L"too fast for discrete recognition",
        L"too slow",
    };
    if (interference < 0 || interference >= static_cast<int>(names.size())) return {};
    return names[static_cast<size_t>(interference)];
}

std::wstring FormatLogLine(const std::wstring& format, std::initializer_list<TLogArg> args) {
    std::wstring out;
    auto next = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        const wchar_t c = format[i];
        if (c != L'%' || i + 1 == format.size()) {
            out += c;
            continue;
        }
        const wchar_t kind = format[++i];
        if (kind == L'%') {
            out += L'%';
        } else if (kind == L's' || kind == L'd') {
            // A missing argument formats as nothing rather than reading past the list.
            if (next == args.end()) continue;
            if (const int* n = std::get_if<int>(&*next))
                out += std::to_wstring(*n);
            else
                out += std::get<std::wstring>(*next);
            ++next;
        } else {
            out += L'%';
            out += kind;
        }
    }
    return out;
}

// ------------------------------------------------------------ recogniser tools

void TfrmContinuousDictation::ShowRecognizerUI(const std::wstring& uiType, const std::wstring& title) {
    Variant extraData;
    Bstr type(uiType);
    VARIANT_BOOL supported = VARIANT_FALSE;
    OleCheck(SpSharedRecoContext()->Recognizer()->IsUISupported(type.s, &extraData, &supported));
    if (!supported) return;
    Bstr caption(title);
    OleCheck(SpSharedRecoContext()->Recognizer()->DisplayUI(
        static_cast<LONG>(reinterpret_cast<LONG_PTR>(Handle())), caption.s, type.s, &extraData));
}

void TfrmContinuousDictation::BDictClick(TObject*) { ShowRecognizerUI(L"AddRemoveWord", L"Add/Remove Word"); }
void TfrmContinuousDictation::NDictClick(TObject*) { ShowRecognizerUI(L"AddRemoveWord", L"Add/Remove Word"); }

void TfrmContinuousDictation::NMicroPhoneClick(TObject*) {
    ShowMessage(L"麦克风向导：请在第一次使用本软件前运行，根据提示一步步的进行，以使系统识别您所使用的麦克风。");
    ShowRecognizerUI(L"MicTraining", L"Microphone Setup");
}

void TfrmContinuousDictation::NYuYinXunLianXiangDaoClick(TObject*) {
    ShowMessage(
        L"请在[麦克风向导]配置完毕后，第一次使用本软件时运行此选项。一步步的跟着提示进行语音识别训练，将三篇例文用自然平"
        L"和的普通话朗读完毕。不要嫌麻烦而中途取消，以使系统更好的对您的声音信息进行取样，从而有效的提高语音识别率。");
    ShowRecognizerUI(L"UserTraining", L"Speaker Training");
}

void TfrmContinuousDictation::NLingMinDuClick(TObject*) {
    ShowMessage(L"通过本功能可以轻松方便的对语音识别灵敏度进行调整和设定。");
    ShowRecognizerUI(L"RecoProfileProperties", L"User Settings");
}

void TfrmContinuousDictation::NvoicesClick(TObject*) {
    ShowMessage(
        L"双击[语音]图标，打开[语音属性]窗口。可以在[语音识别]页中对系统语音属性参数进行调整，以及新建用户，配置麦克风，"
        L"进行语音训练等操作，适合高级用户使用。");
    // The Control Panel itself; whether it starts is not checked.
    WinExec("rundll32.exe shell32.dll,Control_RunDLL", SW_RESTORE);
}

// ------------------------------------------------------------ window options

void TfrmContinuousDictation::WriteMarkerFile(const wchar_t* name) {
    const std::wstring path = BesideExecutable(name);
    TMemo* memo = Memo3();
    std::string content;
    if (memo) {
        memo->Clear();
        content = ToAnsi(memo->Lines()->Text());
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw Exception("Cannot create file " + WideToUtf8(path));
    DWORD written = 0;
    if (!content.empty()) WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

void TfrmContinuousDictation::NWindowTopClick(TObject*) {
    TMenuItem* item = MenuItem(L"NWindowTop");
    item->SetChecked(!item->Checked());
    if (item->Checked()) {
        WriteMarkerFile(kTopOn);
        DeleteFileW(BesideExecutable(kTopOff).c_str());
        SetFormStyle(TFormStyle::fsStayOnTop);
    } else {
        WriteMarkerFile(kTopOff);
        DeleteFileW(BesideExecutable(kTopOn).c_str());
        SetFormStyle(TFormStyle::fsNormal);
    }
}

void TfrmContinuousDictation::NAutoRunClick(TObject*) {
    TMenuItem* item = MenuItem(L"NAutoRun");
    item->SetChecked(!item->Checked());
    const bool on = item->Checked();
    WriteMarkerFile(on ? kAutoRunOn : kAutoRunOff);
    DeleteFileW(BesideExecutable(on ? kAutoRunOff : kAutoRunOn).c_str());

    HKEY skip = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSkipRunKey, 0, KEY_READ, &skip) == ERROR_SUCCESS) {
        RegCloseKey(skip);
        return;
    }
    HKEY maker = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kMakerKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &maker, nullptr) !=
        ERROR_SUCCESS)
        throw Exception("Failed to create key " + WideToUtf8(kMakerKey));
    RegCloseKey(maker);

    HKEY run = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &run, nullptr) !=
        ERROR_SUCCESS)
        throw Exception("Failed to set data for '" + WideToUtf8(kRunValue) + "'");
    std::wstring value;
    if (on) {
        std::vector<wchar_t> path(MAX_PATH);
        DWORD len = 0;
        while ((len = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
            path.resize(path.size() * 2);
        value.assign(path.data(), len);
    }
    const LONG status = RegSetValueExW(run, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(run);
    if (status != ERROR_SUCCESS) throw Exception("Failed to set data for '" + WideToUtf8(kRunValue) + "'");
}

void TfrmContinuousDictation::SetTransparency(bool alphaBlend, BYTE alpha) {
    HWND wnd = Handle();
    const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
    if (alphaBlend) {
        if (!(style & WS_EX_LAYERED)) SetWindowLongPtrW(wnd, GWL_EXSTYLE, style | WS_EX_LAYERED);
        SetLayeredWindowAttributes(wnd, 0, alpha, LWA_ALPHA);
    } else if (style & WS_EX_LAYERED) {
        SetWindowLongPtrW(wnd, GWL_EXSTYLE, style & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
        RedrawWindow(wnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

// The lighter level is the more see-through one.
void TfrmContinuousDictation::NQianTouMingClick(TObject*) { SetTransparency(true, 110); }
void TfrmContinuousDictation::NShenTouMingClick(TObject*) { SetTransparency(true, 180); }
void TfrmContinuousDictation::NBuTouMingClick(TObject*) { SetTransparency(false, 255); }

void TfrmContinuousDictation::RestoreOptions() {
    // The "off" file of a pair wins: it is applied last.
    TMenuItem* autoRun = MenuItem(L"NAutoRun");
    const bool autoRunOn = FileExists(BesideExecutable(kAutoRunOn));
    const bool autoRunOff = FileExists(BesideExecutable(kAutoRunOff));
    if (autoRunOn) autoRun->SetChecked(true);
    if (autoRunOff) autoRun->SetChecked(false);
    if (!autoRunOn && !autoRunOff) autoRun->SetChecked(false);

    TMenuItem* top = MenuItem(L"NWindowTop");
    const bool topOn = FileExists(BesideExecutable(kTopOn));
    const bool topOff = FileExists(BesideExecutable(kTopOff));
    if (topOn) {
        SetFormStyle(TFormStyle::fsStayOnTop);
        top->SetChecked(true);
    }
    if (topOff || !topOn) {
        SetFormStyle(TFormStyle::fsNormal);
        top->SetChecked(false);
    }
}

// ------------------------------------------------------------ information

void TfrmContinuousDictation::NReadmeClick(TObject*) {
    const std::wstring readme = BesideExecutable(L"readme.htm");
    if (FileExists(readme)) OpenWithShell(Handle(), readme, SW_SHOWNORMAL);
}

void TfrmContinuousDictation::NDownSDKClick(TObject*) {
    ShowMessage(kDownloadMessage);
    OpenWithShell(Handle(), kSpeechSdkUrl, SW_SHOWMAXIMIZED);
}

void TfrmContinuousDictation::NSDKlanguageClick(TObject*) {
    ShowMessage(kDownloadMessage);
    OpenWithShell(Handle(), kLanguagePackUrl, SW_SHOWMAXIMIZED);
}

void TfrmContinuousDictation::NHelpsClick(TObject*) { ShowMessage(HelpText()); }
void TfrmContinuousDictation::NHowInputOneClick(TObject*) { ShowMessage(AdviceText()); }
void TfrmContinuousDictation::NSoftsClick(TObject*) { OpenWithShell(Handle(), kSoftwareListUrl, SW_SHOWMAXIMIZED); }

void TfrmContinuousDictation::NTellClick(TObject*) {
    if (FTell) FTell->ShowModal();
}

void TfrmContinuousDictation::NSoftDiyClick(TObject*) { ShowMessage(CustomSoftwareText()); }
void TfrmContinuousDictation::NSoftAdClick(TObject*) { ShowMessage(AdvertisingText()); }
void TfrmContinuousDictation::NAboutClick(TObject*) { ShowMessage(AboutText()); }
void TfrmContinuousDictation::NCloseClick(TObject*) { Close(); }

std::wstring BesideExecutable(const std::wstring& fileName) {
    std::vector<wchar_t> path(MAX_PATH);
    DWORD len = 0;
    while ((len = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    std::wstring dir(path.data(), len);
    const size_t slash = dir.find_last_of(L"\\/");
    dir.resize(slash == std::wstring::npos ? 0 : slash);
    return dir + L"\\" + fileName;
}
