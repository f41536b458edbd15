// Dictation into Wine's Notepad through the loopback recogniser.
#include <windows.h>

#include <commctrl.h>

#include "Session.h"
#include "skin/SkinMessages.h"

namespace e2e {

namespace {

const wchar_t kStart[] = L"开始(F5)";
const wchar_t kStop[] = L"停止(F6)";
const wchar_t kDict[] = L"词典(F8)";

void CheckStartUp(Session& s) {
    RECT r{};
    GetWindowRect(s.app.Main(), &r);
    const int screen = GetSystemMetrics(SM_CXSCREEN);
    s.report.Check("the main window sits in the top-right corner", r.top == 0 && r.right == screen,
                   L"window at " + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" to " +
                       std::to_wstring(r.right) + L", screen width " + std::to_wstring(screen));
    s.report.Check("no message box at start-up", s.app.MessageBoxes().empty());
    const auto log = s.loopback.LogLines();
    const std::vector<std::wstring> expected{L"EventInterests 393215", L"CreateGrammar 0", L"DictationSetState 1"};
    std::vector<std::wstring> calls;
    for (const auto& line : log)
        if (line.rfind(L"EventInterests", 0) == 0 || line.rfind(L"CreateGrammar", 0) == 0 ||
            line.rfind(L"DictationSetState", 0) == 0 || line == L"Resume" || line == L"Pause")
            calls.push_back(line);
    std::wstring seen;
    for (const auto& c : calls) seen += L"[" + c + L"]";
    s.report.Check("start-up calls EventInterests 393215, CreateGrammar 0, DictationSetState 1 and nothing else",
                   calls == expected, L"log: " + seen);
}

void CheckTypingAtOnce(Session& s) {
    s.Dictate("recognitions are typed right after start-up, in order, ASCII and Chinese mixed",
              {L"recognize Hello, ", L"recognize 你好，世界！", L"recognize abc 中文 123。"},
              L"Hello, 你好，世界！abc 中文 123。");
}

// The same phrase typed into the skin gallery's edit and memo, whose
// painters draw borders around the text and must never change it.
void CheckSkinnedEdits(Session& s, const std::wstring& galleryExe) {
    if (galleryExe.empty()) return;
    ChildProcess gallery;
    HWND top = nullptr;
    const bool started = gallery.Start(L"\"" + galleryExe + L"\"") && WaitUntil([&] {
        top = TopWindow(gallery.Id(), L"TGalleryForm");
        return top && IsWindowVisible(top);
    }, 20000) && gallery.WaitIdle(10000);
    if (!s.report.Check("the skin gallery starts", started)) return;
    const DWORD galleryThread = GetWindowThreadProcessId(top, nullptr);
    const auto skinned = [](HWND wnd) {
        DWORD_PTR answer = 0;
        return wnd && SendMessageTimeoutW(wnd, SKM_ISSKINNED, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) && answer == 1;
    };
    for (const wchar_t* cls : {L"TEdit", L"TMemo"}) {
        const std::string name = cls == std::wstring(L"TEdit") ? "edit" : "memo";
        const HWND target = ChildWindow(top, cls, nullptr, true);
        if (!s.report.Check("the gallery's " + name + " is skinned", skinned(target))) continue;
        SendMessageTimeoutW(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), SMTO_ABORTIFHUNG, 2000, nullptr);
        WaitUntil([&] {
            SetForegroundWindow(top);
            return GetForegroundWindow() == top;
        }, 3000, 200);
        // The focus of another thread is set while attached to its input.
        AttachThreadInput(GetCurrentThreadId(), galleryThread, TRUE);
        SetFocus(target);
        AttachThreadInput(GetCurrentThreadId(), galleryThread, FALSE);
        const std::wstring expected = L"皮肤 skin，你好！123";
        s.loopback.Append(L"recognize " + expected);
        std::wstring last;
        const bool typed = WaitUntil([&] { return (last = WindowText(target)) == expected; }, 10000, 50);
        s.report.Check("dictation into the gallery's skinned " + name + " holds exactly the phrase", typed,
                       L"it has \"" + last + L"\"");
    }
    PostMessageW(top, WM_CLOSE, 0, 0);
    if (!gallery.WaitExit(5000)) gallery.Kill();
    s.FocusNotepad();
}

void CheckThousandPhrases(Session& s) {
    // Quellory posts a batch within 0.1 s, but Wine's Notepad takes 15-20 s
    // to take in its 800 characters, and more on a loaded machine: the wait
    // is long and ends as soon as the batch is complete. Clearing after each
    // batch keeps the edit's single line short.
    const ULONGLONG started = GetTickCount64();
    size_t characters = 0;
    std::wstring detail;
    bool ok = true;
    for (int batch = 0; batch < 10 && ok; ++batch) {
        s.notepad.Clear();
        std::vector<std::wstring> lines;
        std::wstring expected;
        for (int i = 0; i < 100; ++i) {
            const std::wstring phrase = L"第" + std::to_wstring(batch * 100 + i) + L"句ok，";
            lines.push_back(L"recognize " + phrase);
            expected += phrase;
        }
        s.loopback.Append(lines);
        std::wstring last;
        ok = s.notepad.WaitForText(expected, 90000, &last);
        characters += expected.size();
        if (!ok) {
            size_t firstDiff = 0;
            while (firstDiff < last.size() && firstDiff < expected.size() && last[firstDiff] == expected[firstDiff])
                ++firstDiff;
            detail = L"batch " + std::to_wstring(batch) + L": Notepad has " + std::to_wstring(last.size()) +
                     L" characters of " + std::to_wstring(expected.size()) + L", first difference at " +
                     std::to_wstring(firstDiff);
        }
    }
    s.report.Check("a thousand phrases arrive complete and in order", ok, detail);
    s.report.Note(L"1000 phrases, " + std::to_wstring(characters) + L" characters in " + SecondsSince(started) + L" s");
    s.notepad.Clear();
}

void CheckHypothesesAndFalse(Session& s) {
    s.notepad.Clear();
    const size_t mark = s.loopback.LogSize();
    s.Dictate("hypotheses and false recognitions are never typed",
              {L"hypothesis 不要打这个", L"false 也不要", L"hypothesis no", L"recognize 真的"}, L"真的");
    s.report.Check("the false recognition's values are read by name",
                   s.loopback.Count(L"Confidence", mark) >= 1 && s.loopback.Count(L"EngineConfidence", mark) >= 1);
    s.report.Check("no message box after a false recognition", s.app.MessageBoxes().empty());
    s.notepad.Clear();
}

void CheckAudioLevel(Session& s) {
    // The class library registers its controls under their own class names.
    HWND bar = ChildWindow(s.app.Main(), L"TProgressBar");
    if (!bar) bar = ChildWindow(s.app.Main(), PROGRESS_CLASSW);
    if (!s.report.Check("the main window has a progress bar", bar != nullptr)) return;
    s.loopback.Append(L"audiolevel 37");
    s.Sync();
    const LRESULT pos = SendMessageW(bar, PBM_GETPOS, 0, 0);
    s.report.Check("the audio level moves the progress bar", pos == 37, L"position " + std::to_wstring(pos));
    s.report.Check("the progress bar stays hidden", !IsWindowVisible(bar));
}

// Start and Stop: one platform call per press, nothing typed while stopped.
void CheckStopAndStart(Session& s) {
    s.notepad.Clear();
    size_t mark = s.loopback.LogSize();
    s.app.Click(kStop);
    s.loopback.WaitForLog(L"Pause", 1, mark, 5000);
    s.app.RoundTrip();
    s.report.Check("the Stop button calls Pause once", s.loopback.Count(L"Pause", mark) == 1,
                   std::to_wstring(s.loopback.Count(L"Pause", mark)) + L" calls");
    s.app.PressKey(VK_F6);
    s.loopback.WaitForLog(L"Pause", 2, mark, 5000);
    s.app.RoundTrip();
    s.report.Check("F6 calls Pause once more", s.loopback.Count(L"Pause", mark) == 2,
                   std::to_wstring(s.loopback.Count(L"Pause", mark)) + L" calls");
    s.FocusNotepad();
    mark = s.loopback.LogSize();
    s.loopback.Append(L"recognize 停止后不应出现");
    // The recogniser logs the phrase it did not hear: only then is its absence a result.
    const bool unheard = s.loopback.WaitForLog(L"# unheard 停止后不应出现", 1, mark, 10000);
    s.report.Check("nothing is typed after Stop", unheard && s.notepad.Text().empty(),
                   unheard ? L"Notepad has " + s.notepad.Text() : L"the recogniser never reported the phrase unheard");

    mark = s.loopback.LogSize();
    s.app.Click(kStart);
    s.loopback.WaitForLog(L"Resume", 1, mark, 5000);
    s.app.RoundTrip();
    s.report.Check("the Start button calls Resume once", s.loopback.Count(L"Resume", mark) == 1,
                   std::to_wstring(s.loopback.Count(L"Resume", mark)) + L" calls");
    s.FocusNotepad();
    s.Dictate("after Start typing resumes (what was said while stopped stays lost)", {L"recognize 又开始了 OK"},
              L"又开始了 OK");
    mark = s.loopback.LogSize();
    s.app.PressKey(VK_F5);
    s.loopback.WaitForLog(L"Resume", 1, mark, 5000);
    s.app.RoundTrip();
    s.report.Check("F5 calls Resume once", s.loopback.Count(L"Resume", mark) == 1,
                   std::to_wstring(s.loopback.Count(L"Resume", mark)) + L" calls");
    s.notepad.Clear();
}

// The dictionary opens the recogniser's dialog without a message; an
// unsupported type shows nothing at all.
void CheckDictionary(Session& s) {
    struct Trigger {
        const char* check;
        bool key;
    };
    for (const Trigger& t : {Trigger{"F8 opens the recogniser's Add/Remove Word dialog, no message first", true},
                             Trigger{"the dictionary button opens the Add/Remove Word dialog, no message first", false}}) {
        const size_t mark = s.loopback.LogSize();
        if (t.key)
            s.app.PressKey(VK_F8);
        else
            s.app.Click(kDict);
        HWND dialog = nullptr;
        std::vector<MessageBoxSeen> boxes;
        WaitUntil([&] {
            boxes = s.app.MessageBoxes();
            return !boxes.empty();
        }, 10000);
        dialog = s.app.Dialog(L"Add/Remove Word");
        std::wstring seen;
        for (const auto& b : boxes) seen += L"[" + b.title + L": " + b.text + L"]";
        s.report.Check(t.check, dialog && boxes.size() == 1, L"windows seen: " + seen);
        s.report.Check("  ... after IsUISupported and DisplayUI for AddRemoveWord",
                       s.loopback.Count(L"IsUISupported AddRemoveWord", mark) == 1 &&
                           s.loopback.Count(L"DisplayUI AddRemoveWord Add/Remove Word", mark) == 1);
        for (const auto& b : boxes) QuelloryApp::CloseBox(b.wnd);
        s.app.RoundTrip();
        s.report.Check("  ... and no message after the dialog closes", s.app.MessageBoxes().empty());
    }
    s.FocusNotepad();
    s.loopback.Append(L"unsupported AddRemoveWord");
    s.Sync();
    const size_t mark = s.loopback.LogSize();
    s.app.PressKey(VK_F8);
    s.loopback.WaitForLog(L"IsUISupported AddRemoveWord", 1, mark, 5000);
    s.app.RoundTrip();
    s.report.Check("an unsupported UI type shows nothing",
                   s.app.MessageBoxes().empty() && s.loopback.Count(L"IsUISupported AddRemoveWord", mark) == 1 &&
                       s.loopback.Count(L"DisplayUI AddRemoveWord Add/Remove Word", mark) == 0);
}

// The other recogniser tools show their message first, then the dialog; an
// unsupported type shows the message and nothing after it.
void CheckRecogniserTools(Session& s) {
    struct Tool {
        const char* name;
        wchar_t menu;
        int downs;
        const wchar_t* type;
        const wchar_t* title;
    };
    const Tool tools[] = {
        {"训练 > 麦克风", L'e', 0, L"MicTraining", L"Microphone Setup"},
        {"训练 > 语音训练", L'e', 1, L"UserTraining", L"Speaker Training"},
        {"选项 > 灵敏度", L'i', 1, L"RecoProfileProperties", L"User Settings"},
    };
    for (const Tool& t : tools) {
        const std::string name = t.name;
        const size_t mark = s.loopback.LogSize();
        std::wstring why;
        if (!s.report.Check(name + ": the menu item is chosen", s.app.ChooseMenuItem(t.menu, t.downs, &why), why))
            continue;
        std::vector<MessageBoxSeen> boxes;
        WaitUntil([&] {
            boxes = s.app.MessageBoxes();
            return !boxes.empty();
        }, 10000);
        // The text of a TMessageForm is drawn, not a window: only the box counts.
        const bool message = boxes.size() == 1 && !s.app.Dialog(t.title);
        s.report.Check(name + ": a message comes first, before the recogniser is asked",
                       message && s.loopback.Count(std::wstring(L"IsUISupported ") + t.type, mark) == 0,
                       boxes.empty() ? L"no box" : L"first box: " + boxes[0].title + L": " + boxes[0].text);
        for (const auto& b : boxes) QuelloryApp::CloseBox(b.wnd);
        HWND dialog = nullptr;
        WaitUntil([&] { return (dialog = s.app.Dialog(t.title)) != nullptr; }, 10000);
        s.report.Check(name + ": then the recogniser's dialog opens",
                       dialog && s.loopback.Count(std::wstring(L"DisplayUI ") + t.type + L" " + t.title, mark) == 1);
        if (dialog) QuelloryApp::CloseBox(dialog);
    }
    s.FocusNotepad();
    s.loopback.Append(L"unsupported MicTraining");
    s.Sync();
    const size_t mark = s.loopback.LogSize();
    if (!s.app.ChooseMenuItem(L'e', 0)) return;
    std::vector<MessageBoxSeen> boxes;
    WaitUntil([&] {
        boxes = s.app.MessageBoxes();
        return !boxes.empty();
    }, 10000);
    for (const auto& b : boxes) QuelloryApp::CloseBox(b.wnd);
    s.loopback.WaitForLog(L"IsUISupported MicTraining", 1, mark, 5000);
    s.app.RoundTrip();
    s.report.Check("an unsupported tool shows its message and then nothing",
                   boxes.size() == 1 && s.app.MessageBoxes().empty() &&
                       s.loopback.Count(L"IsUISupported MicTraining", mark) == 1 &&
                       s.loopback.Count(L"DisplayUI MicTraining Microphone Setup", mark) == 0);
}

// A failing Resume shows its error and the program goes on.
void CheckFailingResume(Session& s) {
    s.FocusNotepad();
    s.loopback.Append(L"fail Resume 0x8004503A");
    s.Sync();
    size_t mark = s.loopback.LogSize();
    s.app.Click(kStop);
    s.loopback.WaitForLog(L"Pause", 1, mark, 5000);
    s.app.Click(kStart);
    std::vector<MessageBoxSeen> boxes;
    WaitUntil([&] {
        boxes = s.app.MessageBoxes();
        return !boxes.empty();
    }, 10000);
    std::wstring seen;
    for (const auto& b : boxes) seen += L"[" + b.title + L": " + b.text + L"]";
    s.report.Check("a failing Resume shows one box \"OLE error 8004503A.\"",
                   boxes.size() == 1 && boxes[0].text == L"OLE error 8004503A.", L"boxes: " + seen);
    for (const auto& b : boxes) QuelloryApp::CloseBox(b.wnd);
    s.report.Check("  ... and the program goes on", s.app.Running() && IsWindow(s.app.Main()));
    mark = s.loopback.LogSize();
    s.app.Click(kStart);
    s.loopback.WaitForLog(L"Resume", 1, mark, 5000);
    s.FocusNotepad();
    s.notepad.Clear();
    s.Dictate("  ... Start again resumes typing", {L"recognize 继续说。"}, L"继续说。");
    s.report.Check("  ... without another box", s.app.MessageBoxes().empty());
}

}  // namespace

void RunDictation(const Settings& settings, Report& report) {
    report.Note(L"-- dictation into Notepad");
    Session s(settings, report);
    s.app.DeleteMarkers();
    if (!s.Start()) return;
    CheckStartUp(s);
    CheckTypingAtOnce(s);
    CheckSkinnedEdits(s, settings.galleryExe);
    CheckThousandPhrases(s);
    CheckHypothesesAndFalse(s);
    CheckAudioLevel(s);
    CheckStopAndStart(s);
    CheckDictionary(s);
    CheckRecogniserTools(s);
    CheckFailingResume(s);
    report.Check("Quellory closes on WM_CLOSE", s.app.Close());
}

}  // namespace e2e
