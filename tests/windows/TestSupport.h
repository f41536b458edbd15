#pragma once
// Helpers for tests on real windows: pumping the message loop for a while,
// answering message boxes and modal forms that a test opens, and counting
// the process's GDI objects.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A file in the temporary folder, private to this test process.
std::wstring TempPath(const wchar_t* prefix, const wchar_t* name);
// Appends bytes to a file (created when missing), shared with readers meanwhile.
void AppendBytes(const std::wstring& path, const std::string& bytes);
// The lines of a file, each ended by a line feed; a last unended part is left
// out (and given in rest). Empty when the file does not exist.
std::vector<std::string> ReadLines(const std::wstring& path, std::string* rest = nullptr);

// Runs the application's message loop for about ms milliseconds.
void PumpFor(int ms);
// Pumps until done() is true or ms milliseconds have passed; returns done().
bool PumpUntil(const std::function<bool()>& done, int ms = 3000);

// Live GDI objects of this process. GetGuiResources tells on Windows; Wine
// answers 0, so there the free slots of the GDI handle table are counted
// (by taking them all) and the count is relative: more live objects, fewer
// free slots. Compare two counts; never read one as an absolute number.
long LiveGdiObjects();

// While alive, closes every dialog box or modal form of this thread that
// appears (class "#32770" or "TMessageForm" by default), after recording its
// caption and text. The modal loop the test started then returns.
class DialogCloser {
public:
    struct Seen {
        std::wstring windowClass;
        std::wstring caption;
        std::wstring text;   // the box's texts, joined with '\n'
        UINT iconStyle = 0;  // MB_ICONSTOP when the box shows the stop icon
    };
    explicit DialogCloser(std::vector<std::wstring> classes = {L"#32770", L"TMessageForm"});
    ~DialogCloser();
    DialogCloser(const DialogCloser&) = delete;
    DialogCloser& operator=(const DialogCloser&) = delete;

    const std::vector<Seen>& SeenDialogs() const { return seen_; }
    // Runs on each dialog in place of the default close (OK).
    std::function<void(HWND)> OnDialog;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    void Check();
    std::vector<std::wstring> classes_;
    std::vector<Seen> seen_;
    std::vector<HWND> handled_;
    UINT_PTR timer_ = 0;
};
