// The main window against the loopback recogniser: the start-up sequence,
// Start and Stop, phrases typed into another window, the recogniser's
// dialogs, the window options across a restart, and the failures the user
// sees. The loopback DLL of this build is registered (and, for the case
// without a recogniser, unregistered for a moment) by the tests themselves.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CaptionTestSupport.h"
#include "TestSupport.h"
#include "classlib/Button.h"
#include "classlib/Edit.h"
#include "classlib/Graphics.h"
#include "classlib/Icon.h"
#include "classlib/LayoutReader.h"
#include "classlib/Menus.h"
#include "classlib/ProgressBar.h"
#include "classlib/StatusBar.h"
#include "classlib/TextUtils.h"
#include "dictation/ContinuousDictationU.h"
#include "dictation/InfoTexts.h"
#include "dictation/Utell.h"
#include "skin/SkinMessages.h"
#include "skin/controls/SkinManager.h"
#include "skin/forms/WinSkinForm.h"

namespace {

constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring TempPath(const wchar_t* name) { return ::TempPath(L"quellory-dictation-", name); }

void AppendUtf8(const std::wstring& path, const std::string& bytes) { AppendBytes(path, bytes); }

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Touch(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);
}

void RemoveMarkers() {
    for (const wchar_t* name : {L"00.ini", L"01.ini", L"02.ini", L"03.ini"}) {
        const std::wstring path = BesideExecutable(name);
        RemoveDirectoryW(path.c_str());
        DeleteFileW(path.c_str());
    }
}

// The Run value, or nullopt-like "<none>" when it is absent.
std::wstring RunValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return L"<none>";
    wchar_t data[1024] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    DWORD type = 0;
    const LONG status = RegQueryValueExW(key, L"QLRVX", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return L"<none>";
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    return std::wstring(data, size / sizeof(wchar_t)).c_str();
}

void DeleteRunValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, L"QLRVX");
    RegCloseKey(key);
}

std::wstring ExePath() {
    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    return path;
}

bool IsTopmost(HWND wnd) { return (GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

using DllFunction = HRESULT(STDAPICALLTYPE*)();

class Dictation : public ::testing::Test {
protected:
    static HMODULE dll;

    static void SetUpTestSuite() {
#ifdef QUELLORY_LOOPBACK_DLL
        dll = LoadLibraryW(Utf8ToWide(QUELLORY_LOOPBACK_DLL).c_str());
        ASSERT_NE(dll, nullptr);
        ASSERT_EQ(DllCall("DllRegisterServer"), S_OK);
#endif
    }
    static void TearDownTestSuite() {
        if (dll) FreeLibrary(dll);
        dll = nullptr;
    }
    static HRESULT DllCall(const char* name) {
        auto f = reinterpret_cast<DllFunction>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
        return f ? f() : E_FAIL;
    }

    void SetUp() override {
        if (!dll) GTEST_SKIP() << "no loopback recogniser in this build";
        scriptPath = TempPath(L"script.txt");
        logPath = TempPath(L"log.txt");
        DeleteFileW(scriptPath.c_str());
        DeleteFileW(logPath.c_str());
        SetEnvironmentVariableW(L"LOOPBACK_RECO_SCRIPT", scriptPath.c_str());
        SetEnvironmentVariableW(L"LOOPBACK_RECO_LOG", logPath.c_str());
        RemoveMarkers();
    }
    void TearDown() override {
        CloseMain();
        if (target) target->Free();
        target = nullptr;
        SetEnvironmentVariableW(L"LOOPBACK_RECO_SCRIPT", nullptr);
        SetEnvironmentVariableW(L"LOOPBACK_RECO_LOG", nullptr);
        DeleteFileW(scriptPath.c_str());
        DeleteFileW(logPath.c_str());
        RemoveMarkers();
    }

    // The main window built as the program builds it, but not the main form.
    void OpenMain() {
        form = TComponent::Create<TfrmContinuousDictation>(Application);
        ReadFormLayout(*form);
        form->DoCreate();
        form->Show();
        SetForegroundWindow(form->Handle());
        // The skin manager skins the forms 250 ms after the skin is loaded.
        PumpFor(350);
    }
    void CloseMain() {
        if (form) form->Free();
        form = nullptr;
    }

    // Another application's window: a form with an edit that has the focus.
    void OpenTarget() {
        target = TComponent::Create<TForm>(Application);
        edit = TComponent::Create<TEdit>(target);
        edit->SetParent(target);
        edit->SetBounds(8, 8, 400, 24);
        target->SetBounds(100, 300, 440, 100);
        target->Show();
        FocusTarget();
    }
    // Activation under X is not immediate, and a late activation of another
    // window can still arrive: ask until the target has kept it a while.
    void FocusTarget() {
        int steady = 0;
        const bool focused = PumpUntil(
            [&] {
                const bool has = GetForegroundWindow() == target->Handle() && GetFocus() == edit->Handle();
                if (!has) {
                    steady = 0;
                    SetForegroundWindow(target->Handle());
                    edit->SetFocus();
                    return false;
                }
                Sleep(20);
                return ++steady >= 10;
            },
            5000);
        ASSERT_TRUE(focused);
    }

    void Script(const std::string& lines) { AppendUtf8(scriptPath, lines); }
    std::vector<std::string> Log() const { return ReadLines(logPath); }
    int Count(const std::string& line) const {
        const auto log = Log();
        return static_cast<int>(std::count(log.begin(), log.end(), line));
    }
    // Waits until the loopback has logged line count times.
    bool WaitForLog(const std::string& line, int count = 1, int ms = 3000) {
        return PumpUntil([&] { return Count(line) >= count; }, ms);
    }
    // A key pressed while the control has the focus: posted to it, so that
    // the application's key routing sees it whatever window X activated.
    void Press(TWinControl* at, WORD key) {
        SetForegroundWindow(form->Handle());
        at->SetFocus();
        PumpFor(20);
        PostMessageW(at->Handle(), WM_KEYDOWN, key, 1);
        PostMessageW(at->Handle(), WM_KEYUP, key, 0xC0000001);
        PumpFor(50);
    }
    template <class T> T* Get(const wchar_t* name) const {
        T* c = As<T>(form->FindComponent(name));
        EXPECT_NE(c, nullptr) << "no " << WideToUtf8(name);
        return c;
    }
    // Runs a command the way a click does: through the handler the layout bound.
    void Click(const wchar_t* menuItem) { Get<TMenuItem>(menuItem)->Click(); }

    std::wstring scriptPath, logPath;
    TfrmContinuousDictation* form = nullptr;
    TForm* target = nullptr;
    TEdit* edit = nullptr;
};

HMODULE Dictation::dll = nullptr;

}  // namespace

// ---------------------------------------------------------------- start-up

TEST_F(Dictation, StartUpAsksForEveryEventMakesTheDictationGrammarAndTurnsItOn) {
    OpenMain();
    const auto log = Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "EventInterests 393215");
    EXPECT_EQ(log[1], "CreateGrammar 0");
    EXPECT_EQ(log[2], "DictationSetState 1");
    EXPECT_EQ(log.size(), 3u) << "nothing else happens at start-up";
    EXPECT_NE(form->DictationGrammar(), nullptr);
}

TEST_F(Dictation, StartUpPlacesTheWindowAtTheTopRightCorner) {
    OpenMain();
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    // The layout's 315 x 105 with the system frame; a skinned frame keeps
    // that client area and puts its own thicknesses around it.
    RECT client{};
    GetClientRect(form->Handle(), &client);
    int frameWidth = r.right - r.left - client.right, frameHeight = r.bottom - r.top - client.bottom;
    if (auto* skinned = dynamic_cast<TWinSkinForm*>(TSkinManage::Instance()->FindSkinnedForm(form->Handle()))) {
        frameWidth = skinned->SystemFrameWidth;
        // A menu bar that took the Win32 menu off leaves it out of the system frame.
        frameHeight = skinned->SystemFrameHeight + (GetMenu(form->Handle()) ? 0 : skinned->MenuBarHeight);
    }
    EXPECT_EQ(client.right, 315 - frameWidth);
    EXPECT_EQ(client.bottom, 105 - frameHeight);
    EXPECT_FALSE(IsTopmost(form->Handle())) << "no marker files: a normal window";
    EXPECT_FALSE(Get<TMenuItem>(L"NWindowTop")->Checked());
    EXPECT_FALSE(Get<TMenuItem>(L"NAutoRun")->Checked());
}

TEST_F(Dictation, TheIconHasFiveImagesAndBecomesTheApplicationIcon) {
    OpenMain();
    std::vector<int> sizes;
    for (const auto& image : form->Icon()->Images()) {
        sizes.push_back(image.Width);
        EXPECT_EQ(image.Width, image.Height);
        EXPECT_EQ(image.BitsPerPixel, 32);
    }
    EXPECT_EQ(sizes, (std::vector<int>{128, 96, 64, 48, 32}));
    EXPECT_EQ(Application->Icon()->Images().size(), 5u);
    EXPECT_NE(SendMessageW(form->Handle(), WM_GETICON, ICON_BIG, 0), 0);
}

TEST_F(Dictation, TheStoredLayoutGivesEveryControlAndTheMenuTree) {
    OpenMain();
    EXPECT_EQ(form->Caption(), L"Quellory");
    EXPECT_EQ(form->BorderIcons(), static_cast<std::uint32_t>(biSystemMenu | biMinimize));
    EXPECT_EQ(form->BorderStyle(), TFormBorderStyle::bsSizeable);
    EXPECT_EQ(GetWindowLongW(form->Handle(), GWL_STYLE) & WS_MAXIMIZEBOX, 0);
    EXPECT_TRUE(form->ShowHint());
    EXPECT_EQ(form->Font()->Name(), L"MS Sans Serif");
    EXPECT_EQ(form->Font()->Height(), -11);
    EXPECT_EQ(form->Hint().rfind(L"将光标切换到要进行输入的窗口中", 0), 0u);

    auto* start = Get<TButton>(L"BStart");
    auto* stop = Get<TButton>(L"BStop");
    auto* dict = Get<TButton>(L"BDict");
    EXPECT_EQ(start->Caption(), L"开始(F5)");
    EXPECT_EQ(stop->Caption(), L"停止(F6)");
    EXPECT_EQ(dict->Caption(), L"词典(F8)");
    EXPECT_EQ(start->Hint(), L"开始接受语音输入(F5、回车键)");
    EXPECT_EQ(stop->Hint(), L"停止接受语音录入(F6、Esc)");
    EXPECT_TRUE(start->Default());
    EXPECT_TRUE(stop->Cancel());
    EXPECT_EQ(start->TabOrder(), 1);
    EXPECT_EQ(stop->TabOrder(), 2);
    EXPECT_EQ(dict->TabOrder(), 3);
    EXPECT_EQ(dict->Left(), 210);

    auto* bar = Get<TProgressBar>(L"ProgressBar");
    EXPECT_FALSE(bar->Visible());
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 100);
    EXPECT_TRUE(bar->Smooth());
    EXPECT_FALSE(Get<TMemo>(L"Memo3")->Visible());
    auto* status = Get<TStatusBar>(L"StatusBar1");
    EXPECT_TRUE(status->SimplePanel());
    EXPECT_EQ(status->SimpleText(), L"用你的声音进行文字聊天，就用《Quellory》。  ");

    // The menu tree, captions and shortcuts (F5 116, F6 117, F8 119).
    struct Item {
        std::wstring path;
        TShortCut shortCut;
    };
    std::vector<Item> items;
    std::function<void(TMenuItem*, const std::wstring&)> walk = [&](TMenuItem* parent, const std::wstring& prefix) {
        for (int i = 0; i < parent->Count(); ++i) {
            TMenuItem* item = parent->Items(i);
            items.push_back({prefix + item->Caption(), item->ShortCut()});
            walk(item, prefix + item->Caption() + L"/");
        }
    };
    walk(Get<TMainMenu>(L"MainMenu1")->Items(), L"");
    const std::vector<std::wstring> expected = {
        L"文件(&F)", L"文件(&F)/请读", L"文件(&F)/-", L"文件(&F)/最顶端", L"文件(&F)/透明度",
        L"文件(&F)/透明度/浅透明", L"文件(&F)/透明度/深透明", L"文件(&F)/透明度/不透明", L"文件(&F)/自动运行",
        L"文件(&F)/-", L"文件(&F)/下载SDK", L"文件(&F)/下载语言包", L"文件(&F)/-", L"文件(&F)/关闭",
        L"训练(&E)", L"训练(&E)/麦克风", L"训练(&E)/语音训练",
        L"选项(&I)", L"选项(&I)/★词典", L"选项(&I)/灵敏度", L"选项(&I)/语音属性",
        L"控制(&C)", L"控制(&C)/开始", L"控制(&C)/停止",
        L"帮助(&H)", L"帮助(&H)/帮助(&H)", L"帮助(&H)/★如何提高识别率", L"帮助(&H)/-", L"帮助(&H)/★精品软件推荐",
        L"帮助(&H)/☆告诉我的好友", L"帮助(&H)/-", L"帮助(&H)/★软件定制服务", L"帮助(&H)/★软件广告服务",
        L"帮助(&H)/-", L"帮助(&H)/关于(&A)"};
    std::vector<std::wstring> paths;
    for (const auto& i : items) paths.push_back(i.path);
    EXPECT_EQ(paths, expected);
    for (const auto& i : items) {
        const TShortCut want = i.path == L"选项(&I)/★词典" ? 119
                               : i.path == L"控制(&C)/开始" ? 116
                               : i.path == L"控制(&C)/停止" ? 117
                                                            : 0;
        EXPECT_EQ(i.shortCut, want) << WideToUtf8(i.path);
    }

    auto* context = Get<TSpSharedRecoContext>(L"SpSharedRecoContext");
    EXPECT_FALSE(context->AutoConnect());
    EXPECT_EQ(context->ConnectKind(), TConnectKind::ckNewInstance);
    EXPECT_TRUE(context->OnRecognition && context->OnHypothesis && context->OnFalseRecognition &&
                context->OnAudioLevel && context->OnStartStream && context->OnEndStream && context->OnSoundStart &&
                context->OnSoundEnd && context->OnPhraseStart && context->OnInterference && context->OnRequestUI &&
                context->OnRecognitionForOtherContext);
    EXPECT_FALSE(context->OnBookmark || context->OnAdaptation || context->OnEnginePrivate ||
                 context->OnRecognizerStateChange || context->OnPropertyNumberChange ||
                 context->OnPropertyStringChange);
}

// ---------------------------------------------------------------- start and stop

TEST_F(Dictation, EachPressOfStartOrStopReachesThePlatformOnce) {
    OpenMain();
    Get<TButton>(L"BStart")->Click();
    Get<TButton>(L"BStart")->Click();
    Get<TButton>(L"BStop")->Click();
    EXPECT_EQ(Count("Resume"), 2);
    EXPECT_EQ(Count("Pause"), 1);

    // Shortcuts work wherever the focus is in the window.
    Press(Get<TButton>(L"BDict"), VK_F5);
    EXPECT_EQ(Count("Resume"), 3);
    Press(Get<TButton>(L"BDict"), VK_F6);
    EXPECT_EQ(Count("Pause"), 2);

    // Enter on Start, Esc from anywhere.
    Press(Get<TButton>(L"BStart"), VK_RETURN);
    EXPECT_EQ(Count("Resume"), 4);
    Press(Get<TButton>(L"BDict"), VK_ESCAPE);
    EXPECT_EQ(Count("Pause"), 3);
    EXPECT_EQ(Count("Resume"), 4);
}

TEST_F(Dictation, AFailingResumeShowsItsErrorAndTheProgramGoesOn) {
    OpenMain();
    Script("fail Resume 0x8004503A\n");
    PumpFor(300);  // the loopback reads the script from its timer
    DialogCloser closer;
    // Through the button's window, whose errors go to the application's box.
    SendMessageW(Get<TButton>(L"BStart")->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(closer.SeenDialogs().size(), 1u);
    EXPECT_EQ(closer.SeenDialogs()[0].text, L"OLE error 8004503A.");
    EXPECT_EQ(closer.SeenDialogs()[0].caption, Application->Title());
    EXPECT_EQ(closer.SeenDialogs()[0].iconStyle, static_cast<UINT>(MB_ICONSTOP));
    SendMessageW(Get<TButton>(L"BStart")->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(closer.SeenDialogs().size(), 1u) << "the next press works";
    EXPECT_EQ(Count("Resume"), 2);
}

// ---------------------------------------------------------------- recognitions

TEST_F(Dictation, RecognitionsAreTypedIntoTheFocusedWindowInOrderAndNothingElseIs) {
    OpenMain();
    OpenTarget();
    const bool chinese = GetACP() == 936;
    const std::string first = chinese ? "你好 Quellory，" : "Hello ";
    const std::string second = chinese ? "今天天气很好。" : "world.";
    Script("recognize " + first + "\n" + "hypothesis 不要\n" + "false wrong\n" + "recognize " + second + "\n");
    const std::wstring expected = Utf8ToWide(first + second);
    EXPECT_TRUE(PumpUntil([&] { return edit->Text() == expected; }, 3000)) << WideToUtf8(edit->Text());
    PumpFor(200);
    EXPECT_EQ(edit->Text(), expected) << "hypotheses and false recognitions are never typed";
    // The false recognition's values were read by name.
    EXPECT_EQ(Count("Confidence"), 1);
    EXPECT_EQ(Count("EngineConfidence"), 1);
}

TEST_F(Dictation, AfterStopNothingIsTypedAndAfterStartTypingResumes) {
    OpenMain();
    OpenTarget();
    form->BStopClick(nullptr);
    Script("recognize lost\nwait 100\n");
    PumpFor(500);
    EXPECT_EQ(edit->Text(), L"");
    form->BStartClick(nullptr);
    FocusTarget();
    Script("recognize kept\n");
    EXPECT_TRUE(PumpUntil([&] { return edit->Text() == L"kept"; }, 3000)) << WideToUtf8(edit->Text());
}

TEST_F(Dictation, TheAudioLevelMovesTheHiddenProgressBar) {
    OpenMain();
    auto* bar = Get<TProgressBar>(L"ProgressBar");
    Script("audiolevel 42\n");
    EXPECT_TRUE(PumpUntil([&] { return bar->Position() == 42; }, 3000));
    Script("audiolevel 7\n");
    EXPECT_TRUE(PumpUntil([&] { return bar->Position() == 7; }, 3000));
    EXPECT_FALSE(bar->Visible());
    EXPECT_FALSE(IsWindowVisible(bar->Handle()));
}

TEST_F(Dictation, AFailingReadOfAFalseRecognitionIsReportedAndDictationGoesOn) {
    OpenMain();
    OpenTarget();
    DialogCloser closer;
    Script("fail EngineConfidence 0x80004005\nfalse oops\nrecognize after\n");
    EXPECT_TRUE(PumpUntil([&] { return edit->Text() == L"after"; }, 3000)) << WideToUtf8(edit->Text());
    ASSERT_EQ(closer.SeenDialogs().size(), 1u);
    EXPECT_EQ(closer.SeenDialogs()[0].iconStyle, static_cast<UINT>(MB_ICONSTOP));
}

TEST_F(Dictation, EventsWithoutVisibleEffectChangeNothing) {
    OpenMain();
    DialogCloser closer;
    Script("startstream 1\nsoundstart\nphrasestart\ninterference 6\ninterference 7\nrequestui MicTraining\n"
           "otherrecognition\nsoundend\nendstream 1\nbookmark\naudiolevel 3\n");
    auto* bar = Get<TProgressBar>(L"ProgressBar");
    EXPECT_TRUE(PumpUntil([&] { return bar->Position() == 3; }, 3000));
    EXPECT_TRUE(closer.SeenDialogs().empty()) << "a requested dialog is not opened";
    EXPECT_EQ(Get<TStatusBar>(L"StatusBar1")->SimpleText(), L"用你的声音进行文字聊天，就用《Quellory》。  ");
}

// ---------------------------------------------------------------- recogniser tools

TEST_F(Dictation, TheDictionaryOpensWithoutAMessageFromF8AndTheButton) {
    OpenMain();
    DialogCloser closer;
    Press(Get<TButton>(L"BStart"), VK_F8);
    ASSERT_TRUE(WaitForLog("DisplayUI AddRemoveWord Add/Remove Word"));
    Get<TButton>(L"BDict")->Click();
    EXPECT_TRUE(WaitForLog("DisplayUI AddRemoveWord Add/Remove Word", 2));
    ASSERT_EQ(closer.SeenDialogs().size(), 2u);
    for (const auto& seen : closer.SeenDialogs()) {
        EXPECT_EQ(seen.caption, L"Add/Remove Word");
        EXPECT_NE(seen.windowClass, L"TMessageForm");
    }
    EXPECT_EQ(Count("IsUISupported AddRemoveWord"), 2);
}

TEST_F(Dictation, TheOtherToolsShowTheirMessageFirst) {
    OpenMain();
    struct Row {
        const wchar_t* item;
        const char* type;
        const wchar_t* title;
        const wchar_t* messageStart;
    };
    const Row rows[] = {
        {L"NMicroPhone", "MicTraining", L"Microphone Setup", L"麦克风向导："},
        {L"NYuYinXunLianXiangDao", "UserTraining", L"Speaker Training", L"请在[麦克风向导]配置完毕后"},
        {L"NLingMinDu", "RecoProfileProperties", L"User Settings", L"通过本功能可以"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(WideToUtf8(row.item));
        DialogCloser closer;
        Click(row.item);
        ASSERT_EQ(closer.SeenDialogs().size(), 2u);
        EXPECT_EQ(closer.SeenDialogs()[0].windowClass, L"TMessageForm");
        EXPECT_EQ(closer.SeenDialogs()[0].text.rfind(row.messageStart, 0), 0u) << WideToUtf8(closer.SeenDialogs()[0].text);
        EXPECT_EQ(closer.SeenDialogs()[1].caption, row.title);
        EXPECT_EQ(Count(std::string("DisplayUI ") + row.type + " " + WideToUtf8(row.title)), 1);
    }
}

TEST_F(Dictation, AnUnsupportedDialogShowsNothingBeyondTheMessage) {
    OpenMain();
    Script("unsupported AddRemoveWord\nunsupported MicTraining\n");
    PumpFor(300);
    DialogCloser closer;
    form->BDictClick(nullptr);
    EXPECT_TRUE(closer.SeenDialogs().empty());
    EXPECT_EQ(Count("IsUISupported AddRemoveWord"), 1);
    Click(L"NMicroPhone");
    ASSERT_EQ(closer.SeenDialogs().size(), 1u) << "the message, then nothing";
    EXPECT_EQ(closer.SeenDialogs()[0].windowClass, L"TMessageForm");
    for (const auto& line : Log()) {
        EXPECT_EQ(line.rfind("DisplayUI", 0), std::string::npos) << line;
    }
}

// ---------------------------------------------------------------- window options

TEST_F(Dictation, AlwaysOnTopSurvivesARestartThroughTheMarkerFiles) {
    OpenMain();
    Click(L"NWindowTop");
    EXPECT_TRUE(Get<TMenuItem>(L"NWindowTop")->Checked());
    EXPECT_TRUE(IsTopmost(form->Handle()));
    EXPECT_TRUE(Exists(BesideExecutable(L"02.ini")));
    EXPECT_FALSE(Exists(BesideExecutable(L"03.ini")));

    CloseMain();
    OpenMain();
    EXPECT_TRUE(Get<TMenuItem>(L"NWindowTop")->Checked());
    EXPECT_TRUE(IsTopmost(form->Handle()));

    Click(L"NWindowTop");
    EXPECT_FALSE(IsTopmost(form->Handle()));
    EXPECT_FALSE(Exists(BesideExecutable(L"02.ini")));
    EXPECT_TRUE(Exists(BesideExecutable(L"03.ini")));
    CloseMain();
    OpenMain();
    EXPECT_FALSE(Get<TMenuItem>(L"NWindowTop")->Checked());
    EXPECT_FALSE(IsTopmost(form->Handle()));
}

TEST_F(Dictation, RestoringFollowsTheMarkerFilesAndTheOffFileWins) {
    struct Row {
        const char* name;
        std::vector<const wchar_t*> files;
        bool autoRun, top;
    };
    const Row rows[] = {
        {"none", {}, false, false},
        {"auto-run on", {L"00.ini"}, true, false},
        {"auto-run off", {L"01.ini"}, false, false},
        {"auto-run both", {L"00.ini", L"01.ini"}, false, false},
        {"top on", {L"02.ini"}, false, true},
        {"top off", {L"03.ini"}, false, false},
        {"top both", {L"02.ini", L"03.ini"}, false, false},
        {"all on", {L"00.ini", L"02.ini"}, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RemoveMarkers();
        for (const wchar_t* f : row.files) Touch(BesideExecutable(f));
        OpenMain();
        EXPECT_EQ(Get<TMenuItem>(L"NAutoRun")->Checked(), row.autoRun);
        EXPECT_EQ(Get<TMenuItem>(L"NWindowTop")->Checked(), row.top);
        EXPECT_EQ(IsTopmost(form->Handle()), row.top);
        CloseMain();
    }
}

TEST_F(Dictation, StartWithWindowsWritesTheRunValueAndItsMarkers) {
    const std::wstring before = RunValue();
    OpenMain();
    Click(L"NAutoRun");
    EXPECT_TRUE(Get<TMenuItem>(L"NAutoRun")->Checked());
    EXPECT_EQ(RunValue(), ExePath());
    EXPECT_TRUE(Exists(BesideExecutable(L"00.ini")));
    EXPECT_FALSE(Exists(BesideExecutable(L"01.ini")));
    HANDLE f = CreateFileW(BesideExecutable(L"00.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(f, nullptr), 0u) << "a marker file is empty";
    CloseHandle(f);
    HKEY maker = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\tarn-quill", 0, KEY_READ, &maker), ERROR_SUCCESS);
    if (maker) RegCloseKey(maker);

    CloseMain();
    OpenMain();
    EXPECT_TRUE(Get<TMenuItem>(L"NAutoRun")->Checked());

    Click(L"NAutoRun");
    EXPECT_EQ(RunValue(), L"") << "turned off: the value stays, empty";
    EXPECT_FALSE(Exists(BesideExecutable(L"00.ini")));
    EXPECT_TRUE(Exists(BesideExecutable(L"01.ini")));
    CloseMain();
    OpenMain();
    EXPECT_FALSE(Get<TMenuItem>(L"NAutoRun")->Checked());
    if (before == L"<none>") DeleteRunValue();
}

TEST_F(Dictation, TheSkipKeyLeavesTheRunValueAlone) {
    HKEY skip = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE_tarn-quill", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &skip, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(skip);
    DeleteRunValue();
    OpenMain();
    Click(L"NAutoRun");
    EXPECT_TRUE(Get<TMenuItem>(L"NAutoRun")->Checked());
    EXPECT_TRUE(Exists(BesideExecutable(L"00.ini")));
    EXPECT_EQ(RunValue(), L"<none>");
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE_tarn-quill");
}

TEST_F(Dictation, AMarkerFileThatCannotBeCreatedIsReportedAfterTheCheckMarkChanged) {
    OpenMain();
    const std::wstring blocked = BesideExecutable(L"02.ini");
    ASSERT_TRUE(CreateDirectoryW(blocked.c_str(), nullptr));
    Touch(BesideExecutable(L"03.ini"));
    DialogCloser closer;
    // A click goes through the menu's handler call, whose error reaches the box.
    // The menu's own handle: a skinned menu bar takes it off the window.
    PostMessageW(form->Handle(), WM_COMMAND, GetMenuItemID(GetSubMenu(form->Menu()->Handle(), 0), 2), 0);
    PumpFor(200);
    ASSERT_EQ(closer.SeenDialogs().size(), 1u);
    EXPECT_EQ(closer.SeenDialogs()[0].text, L"Cannot create file " + blocked + L".");
    EXPECT_TRUE(Get<TMenuItem>(L"NWindowTop")->Checked()) << "inverted before the failure";
    EXPECT_TRUE(Exists(BesideExecutable(L"03.ini"))) << "the rest of the command is skipped";
    EXPECT_FALSE(IsTopmost(form->Handle()));
    RemoveDirectoryW(blocked.c_str());
}

TEST_F(Dictation, TransparencyLevels) {
    OpenMain();
    HWND wnd = form->Handle();
    struct Row {
        const wchar_t* item;
        bool layered;
        BYTE alpha;
    };
    const Row rows[] = {{L"NQianTouMing", true, 110}, {L"NShenTouMing", true, 180}, {L"NBuTouMing", false, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(WideToUtf8(row.item));
        Click(row.item);
        EXPECT_EQ((GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0, row.layered);
        if (row.layered) {
            BYTE alpha = 0;
            DWORD flags = 0;
            ASSERT_TRUE(GetLayeredWindowAttributes(wnd, nullptr, &alpha, &flags));
            EXPECT_EQ(alpha, row.alpha);
            EXPECT_TRUE(flags & LWA_ALPHA);
        }
    }
    for (const wchar_t* name : {L"00.ini", L"01.ini", L"02.ini", L"03.ini"}) {
        EXPECT_FALSE(Exists(BesideExecutable(name))) << "transparency is not remembered";
    }
}

// ---------------------------------------------------------------- without a recogniser

TEST_F(Dictation, WithoutTheRecogniserOneErrorBoxAndTheStoredPlace) {
    Touch(BesideExecutable(L"00.ini"));
    Touch(BesideExecutable(L"02.ini"));
    ASSERT_EQ(DllCall("DllUnregisterServer"), S_OK);
    // Registered again however this test ends: the later tests need it.
    struct Reregister {
        ~Reregister() { EXPECT_EQ(DllCall("DllRegisterServer"), S_OK); }
    } reregister;
    {
        DialogCloser closer;
        OpenMain();
        PumpFor(100);
        EXPECT_EQ(closer.SeenDialogs().size(), 1u);
        if (!closer.SeenDialogs().empty()) {
            EXPECT_EQ(closer.SeenDialogs()[0].iconStyle, static_cast<UINT>(MB_ICONSTOP));
        }
        RECT r{};
        GetWindowRect(form->Handle(), &r);
        EXPECT_EQ(r.left, 197);
        EXPECT_EQ(r.top, 115);
        EXPECT_FALSE(Get<TMenuItem>(L"NAutoRun")->Checked()) << "options not restored";
        EXPECT_FALSE(Get<TMenuItem>(L"NWindowTop")->Checked());
        EXPECT_FALSE(IsTopmost(form->Handle()));
        EXPECT_EQ(form->DictationGrammar(), nullptr);
        // Each later use tries again and reports the same error.
        SendMessageW(Get<TButton>(L"BStart")->Handle(), BM_CLICK, 0, 0);
        EXPECT_EQ(closer.SeenDialogs().size(), 2u);
    }
}

// ---------------------------------------------------------------- skin

TEST_F(Dictation, AltAndAMenuLetterInAnotherFormOpenTheMainWindowsSkinnedMenu) {
    ASSERT_EQ(Application->MainForm(), nullptr);
    form = Application->CreateForm<TfrmContinuousDictation>();
    ReadFormLayout(*form);
    form->DoCreate();
    form->Show();
    PumpFor(350);
    ASSERT_EQ(Application->MainForm(), form);
    OpenTarget();
    ASSERT_TRUE(PumpUntil([&] { return SendMessageW(target->Handle(), SKM_ISSKINNED, 0, 0) == 1; }));
    bool opened = false;
    caption_test::RunScript([&](DWORD ui) {
        caption_test::AltPress('F');  // 文件(&F), on the main window only
        caption_test::Wait(500);
        opened = caption_test::ShownPopupMenu(ui) != nullptr;
        caption_test::Press(VK_ESCAPE);
        caption_test::Wait(200);
    });
    EXPECT_TRUE(opened) << "Alt+F in the other form did not open the main window's File menu";
}

TEST_F(Dictation, AReloadedSkinRecoloursTheFormAndKeepsItsClientSize) {
    OpenMain();
    auto* skinned = dynamic_cast<TWinSkinForm*>(TSkinManage::Instance()->FindSkinnedForm(form->Handle()));
    ASSERT_TRUE(skinned && PumpUntil([&] { return skinned->AttachState == TWinSkinForm::kRunning; }));
    auto* skin = As<TSkinData>(form->FindComponent(L"SkinData1"));
    const TColor face = skin->ButtonFaceColour;
    const int width = form->ClientWidth(), height = form->ClientHeight();
    skin->ButtonFaceColour = MakeColour(200, 100, 50);
    form->Perform(SKM_SKINCHANGED, 0, 0);
    EXPECT_EQ(form->Color(), skin->ButtonFaceColour);
    EXPECT_EQ(form->ClientWidth(), width);
    EXPECT_EQ(form->ClientHeight(), height);
    EXPECT_EQ(skinned->AttachState, TWinSkinForm::kRunning);
    skin->ButtonFaceColour = face;
    form->Perform(SKM_SKINCHANGED, 0, 0);
}

// ---------------------------------------------------------------- information

TEST_F(Dictation, TheTellAFriendDialogCopiesTheAddressAndClosesWithEsc) {
    OpenMain();
    FTell = TComponent::Create<TFTell>(Application);
    ReadFormLayout(*FTell);
    EXPECT_FALSE(FTell->Visible());
    EXPECT_EQ(FTell->Caption(), L"☆告诉我的好友");
    EXPECT_EQ(FTell->ClientWidth(), 650);
    EXPECT_EQ(FTell->ClientHeight(), 227);
    auto* memo = FTell->Memo1();
    ASSERT_NE(memo, nullptr);
    const std::wstring address = memo->Text();
    EXPECT_EQ(address.rfind(L"https://", 0), 0u);

    DialogCloser closer({L"TFTell"});
    std::wstring selected;
    bool barSkinned = false;
    closer.OnDialog = [&](HWND dialog) {
        auto* copy = As<TButton>(FTell->FindComponent(L"BCopy"));
        copy->Click();
        selected = memo->SelText();
        // Text longer than the box: a skinned overlay lies over the memo's bar.
        memo->Lines()->SetText(address + L"\r\n2\r\n3\r\n4\r\n5\r\n6");
        PumpUntil([&] {
            SCROLLBARINFO bar{};
            bar.cbSize = sizeof bar;
            if (!GetScrollBarInfo(memo->Handle(), OBJID_VSCROLL, &bar)) return false;
            const POINT middle{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2,
                               (bar.rcScrollBar.top + bar.rcScrollBar.bottom) / 2};
            HWND over = WindowFromPoint(middle);
            wchar_t name[32] = {};
            GetClassNameW(over, name, 32);
            return barSkinned = GetParent(over) == dialog && std::wstring(name) == L"TWScrollbar";
        }, 1000);
        memo->Lines()->SetText(address);
        copy->Click();
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageW(GetFocus(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
    };
    Click(L"NTell");  // modal: returns when Esc closed it
    EXPECT_EQ(closer.SeenDialogs().size(), 1u);
    EXPECT_EQ(selected, address);
    EXPECT_TRUE(barSkinned) << "the memo's scroll bar is not skinned";
    EXPECT_FALSE(IsWindowVisible(FTell->Handle()));

    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    std::wstring clip = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(clip, address);
    FTell->Free();
    FTell = nullptr;
}

TEST_F(Dictation, MessagesOfTheInformationCommands) {
    OpenMain();
    DeleteFileW(BesideExecutable(L"readme.htm").c_str());
    DialogCloser closer;
    Click(L"NReadme");  // no read-me: nothing at all
    EXPECT_TRUE(closer.SeenDialogs().empty());
    const wchar_t* items[] = {L"NHelps", L"NHowInputOne", L"NSoftDiy", L"NSoftAd", L"NAbout"};
    const std::wstring texts[] = {HelpText(), AdviceText(), CustomSoftwareText(), AdvertisingText(), AboutText()};
    for (size_t i = 0; i < std::size(items); ++i) {
        Click(items[i]);
        ASSERT_EQ(closer.SeenDialogs().size(), i + 1);
        EXPECT_EQ(closer.SeenDialogs()[i].windowClass, L"TMessageForm");
        EXPECT_EQ(closer.SeenDialogs()[i].caption, Application->Title());
        EXPECT_NE(closer.SeenDialogs()[i].text.find(texts[i].substr(0, 8)), std::wstring::npos);
    }
}

TEST(DictationTexts, LinesAreSeparatedByCarriageReturnsAloneAndFollowTheirStructure) {
    for (const std::wstring& text : {HelpText(), AdviceText(), CustomSoftwareText(), AdvertisingText(), AboutText()}) {
        EXPECT_EQ(text.find(L'\n'), std::wstring::npos);
    }
    const std::wstring help = HelpText();
    EXPECT_EQ(help.rfind(L"★软件使用帮助：\r\r◇1、", 0), 0u);
    EXPECT_EQ(std::count(help.begin(), help.end(), L'◇'), 5);
    EXPECT_EQ(std::count(help.begin(), help.end(), L'◆'), 3);
    for (int point = 1; point <= 8; ++point) {
        const std::wstring marker = std::wstring(L"\r\r") + (point <= 5 ? L"◇" : L"◆") + std::to_wstring(point) + L"、";
        EXPECT_NE(help.find(marker), std::wstring::npos) << point;
    }
    EXPECT_NE(help.find(L"OLE error 8004503A"), std::wstring::npos);
    EXPECT_NE(help.find(L"Microsoft Simplified Chinese Recognizer v5.1"), std::wstring::npos);
    EXPECT_EQ(AdviceText().rfind(L"★如何提高输入识别率(下面的步骤是关键说明请按照进行)：\r\r1、", 0), 0u);
    for (const std::wstring& offer : {CustomSoftwareText(), AdvertisingText()}) {
        EXPECT_EQ(offer.rfind(L"尊敬的用户,您好：\r\r", 0), 0u);
        EXPECT_EQ(offer.find(L"\r\r\r"), std::wstring::npos);
    }
    EXPECT_NE(std::wstring(kSpeechSdkUrl).find(L"speechsdk51.exe"), std::wstring::npos);
    EXPECT_NE(std::wstring(kLanguagePackUrl).find(L"speechsdk51LangPack.exe"), std::wstring::npos);
}

TEST(DictationLog, InterferenceNamesAndFormattedLines) {
    struct Row {
        int value;
        const wchar_t* name;
    };
    const Row rows[] = {{-1, L""},
                        {0, L"none"},
                        {1, L"noise"},
                        {2, L"no signal"},
                        {3, L"too loud for discrete recognition"},
                        {4, L"too quiet for discrete recognition"},
                        {5, L"too fast for discrete recognition"},
                        {6, L"too slow"},
                        {7, L""}};
    for (const Row& row : rows) {
        EXPECT_EQ(InterferenceName(row.value), row.name) << row.value;
    }

    struct Line {
        const char* name;
        std::wstring format;
        std::vector<TLogArg> args;
        std::wstring expected;
    };
    const Line lines[] = {
        {"integer", L"OnStartStream: stream %d", {3}, L"OnStartStream: stream 3"},
        {"texts", L"OnFalseRecognition: %s, SAPI confidence: %s, engine confidence: %s",
         {L"你好", L"1", L"0.5"}, L"OnFalseRecognition: 你好, SAPI confidence: 1, engine confidence: 0.5"},
        {"empty text", L"OnInterference: %s", {L""}, L"OnInterference: "},
        {"missing argument", L"a %s b %d", {L"x"}, L"a x b "},
        {"percent", L"100%% %q", {}, L"100% %q"},
        {"trailing percent", L"x%", {}, L"x%"},
    };
    for (const Line& line : lines) {
        SCOPED_TRACE(line.name);
        std::wstring got;
        switch (line.args.size()) {
        case 0: got = FormatLogLine(line.format, {}); break;
        case 1: got = FormatLogLine(line.format, {line.args[0]}); break;
        default: got = FormatLogLine(line.format, {line.args[0], line.args[1], line.args[2]}); break;
        }
        EXPECT_EQ(got, line.expected);
    }
}
