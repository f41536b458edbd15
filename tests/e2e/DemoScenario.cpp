// The demo: Quellory types a short Chinese script into Wine's Notepad. The
// windows stay up until the caller has taken its screenshot: the driver
// writes demo.ready into the work folder and waits for demo.shot.
#include "Session.h"

namespace e2e {

namespace {

const std::vector<std::wstring> kPhrases{
    L"你好，这是Quellory的语音输入演示。",
    L"说出的每一句话，",
    L"都会打进前台窗口里有输入焦点的地方，",
    L"比如记事本或者聊天窗口。",
    L"标点也一样：逗号，句号。",
};

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

void RunDemo(const Settings& settings, Report& report) {
    const std::wstring ready = settings.workFolder + L"\\demo.ready";
    const std::wstring shot = settings.workFolder + L"\\demo.shot";
    DeleteFileW(ready.c_str());
    DeleteFileW(shot.c_str());
    Session s(settings, report);
    s.app.DeleteMarkers();
    if (!s.Start()) return;

    std::vector<std::wstring> script;
    std::wstring expected;
    for (const auto& phrase : kPhrases) {
        script.push_back(L"audiolevel 60");
        script.push_back(L"hypothesis " + phrase.substr(0, 2));
        script.push_back(L"recognize " + phrase);
        script.push_back(L"wait 700");
        expected += phrase;
    }
    Print("dictating through the loopback recogniser:\n");
    for (const auto& phrase : kPhrases) Print(L"  > " + phrase + L"\n");
    s.Dictate("Notepad received the whole script", script, expected, 30000);
    Print(L"Notepad received:\n  " + s.notepad.Text() + L"\n");

    CloseHandle(CreateFileW(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    WaitUntil([&] { return FileExists(shot); }, 30000, 100);
    DeleteFileW(ready.c_str());
    DeleteFileW(shot.c_str());
    report.Check("Quellory closes", s.app.Close());
}

}  // namespace e2e
