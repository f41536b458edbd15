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
