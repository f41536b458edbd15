// Text delivery on a real edit control: the characters the focused control
// of the foreground window receives from the posted WM_IME_CHAR messages.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "classlib/Edit.h"
#include "classlib/Forms.h"
#include "dictation/SendTextToFocusedWindow.h"

namespace {

std::string ToAnsi(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring FromAnsi(const std::string& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

}  // namespace

TEST(TextDelivery, PhrasesArriveInTheFocusedEditInOrder) {
    auto* form = TComponent::Create<TForm>(Application);
    auto* edit = TComponent::Create<TEdit>(form);
    edit->SetParent(form);
    edit->SetBounds(8, 8, 300, 24);
    form->Show();
    SetForegroundWindow(form->Handle());
    edit->SetFocus();
    PumpFor(30);
    ASSERT_EQ(GetFocus(), edit->Handle());
    const std::wstring phrases[] = {L"Hello ", L"你好，", L"", L"world。"};
    std::wstring expected;
    for (const auto& p : phrases) {
        SendTextToFocusedWindow(ToAnsi(p));
        expected += FromAnsi(ToAnsi(p));  // what the code page can carry (all of it in 936)
    }
    if (GetACP() == 936) {
        EXPECT_EQ(expected, L"Hello 你好，world。");
    }
    EXPECT_TRUE(PumpUntil([&] { return edit->Text() == expected; }, 2000)) << WideToUtf8(edit->Text());
    form->Free();
}

TEST(TextDelivery, SystemLeadBytesFollowTheCodePage) {
    const TLeadByteRanges r = SystemLeadByteRanges();
    if (GetACP() == 936) {
        EXPECT_TRUE(r.IsLead(0x81));
        EXPECT_TRUE(r.IsLead(0xFE));
        EXPECT_FALSE(r.IsLead(0x80));
    } else {
        EXPECT_TRUE(r.Empty() || GetACP() == 932 || GetACP() == 949 || GetACP() == 950);
    }
}

namespace {

// Records the calls delivery makes, answering from the row's set-up.
struct RecordingPlatform : TTextDeliveryPlatform {
    HWND front = nullptr, focus = nullptr;
    DWORD self = 1, frontThread = 2;
    bool attachWorks = true;
    std::vector<std::string> calls;

    HWND ForegroundWindow() override { return front; }
    DWORD WindowThread(HWND wnd) override { return wnd == front ? frontThread : 0; }
    DWORD CurrentThread() override { return self; }
    bool AttachInput(DWORD from, DWORD to, bool attach) override {
        calls.push_back((attach ? "attach " : "detach ") + std::to_string(from) + ">" + std::to_string(to));
        return attachWorks;
    }
    HWND FocusedWindow() override { return focus; }
    void Post(HWND wnd, std::uint16_t code) override {
        calls.push_back("post " + std::string(wnd == focus ? "focus " : "other ") + std::to_string(code));
    }
};

}  // namespace

TEST(TextDelivery, AttachesAroundEachPhraseAndPostsOnlyToAFocusedControlItCanReach) {
    const auto front = reinterpret_cast<HWND>(0x100), focus = reinterpret_cast<HWND>(0x200);
    using Calls = std::vector<std::string>;
    struct Row {
        const char* name;
        HWND front, focus;
        DWORD frontThread;
        bool attachWorks;
        std::vector<std::string> phrases;
        Calls want;
    };
    const Row rows[] = {
        {"each phrase attached and detached", front, focus, 2, true, {"ab", "c"},
         {"attach 1>2", "post focus 97", "post focus 98", "detach 1>2", "attach 1>2", "post focus 99", "detach 1>2"}},
        {"an empty phrase still detaches", front, focus, 2, true, {""}, {"attach 1>2", "detach 1>2"}},
        {"own window in front: no attach", front, focus, 1, true, {"a"}, {"post focus 97"}},
        {"no focused control: nothing posted", front, nullptr, 2, true, {"a"}, {"attach 1>2", "detach 1>2"}},
        {"attach refused: nothing posted", front, focus, 2, false, {"a"}, {"attach 1>2"}},
        {"no foreground window", nullptr, focus, 2, true, {"a"}, {}},
    };
    for (const Row& row : rows) {
        RecordingPlatform p;
        p.front = row.front;
        p.focus = row.focus;
        p.frontThread = row.frontThread;
        p.attachWorks = row.attachWorks;
        for (const std::string& phrase : row.phrases) SendTextToFocusedWindow(phrase, p);
        EXPECT_EQ(p.calls, row.want) << row.name;
    }
}
