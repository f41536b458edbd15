#include "classlib/DateTimePicker.h"

#include <commctrl.h>

#include <cmath>
#include <cwchar>

#include "classlib/Messages.h"

namespace {

constexpr double kTicksPerDay = 864000000000.0;  // 100 ns ticks

// FILETIME ticks of 30 December 1899, 00:00.
std::int64_t EpochTicks() {
    const SYSTEMTIME epoch{1899, 12, 0, 30, 0, 0, 0, 0};
    FILETIME ft{};
    SystemTimeToFileTime(&epoch, &ft);
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
}

std::wstring NumberText(double v) {
    wchar_t buffer[64] = {};
    std::swprintf(buffer, 64, L"%.6f", v);
    return buffer;
}

double NumberOf(const std::wstring& text) { return std::wcstod(text.c_str(), nullptr); }

}  // namespace

bool DateTimeToSystemTime(double value, SYSTEMTIME& time) {
    const double ticks = static_cast<double>(EpochTicks()) + std::round(value * kTicksPerDay / 10000.0) * 10000.0;
    if (!(ticks >= 0 && ticks < 9.2e18)) return false;
    const auto whole = static_cast<std::uint64_t>(ticks);
    const FILETIME ft{static_cast<DWORD>(whole), static_cast<DWORD>(whole >> 32)};
    return FileTimeToSystemTime(&ft, &time) != FALSE;
}

double SystemTimeToDateTime(const SYSTEMTIME& time) {
    FILETIME ft{};
    if (!SystemTimeToFileTime(&time, &ft)) return 0;
    const auto ticks = static_cast<std::int64_t>((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
    return static_cast<double>(ticks - EpochTicks()) / kTicksPerDay;
}

const TClassInfo& TDateTimePicker::StaticClass() {
    static const TClassInfo info(
        L"TDateTimePicker", &TWinControl::StaticClass(),
        {
            props::Text(L"Date", &TDateTimePicker::DateText, &TDateTimePicker::SetDateText),
            props::Text(L"Time", &TDateTimePicker::TimeText, &TDateTimePicker::SetTimeText),
            props::Enumeration(L"Kind", &TDateTimePicker::Kind, &TDateTimePicker::SetKind, {L"dtkDate", L"dtkTime"}),
            props::Enumeration(L"DateMode", &TDateTimePicker::DateMode, &TDateTimePicker::SetDateMode,
                               {L"dmComboBox", L"dmUpDown"}),
            props::Enumeration(L"DateFormat", &TDateTimePicker::DateFormat, &TDateTimePicker::SetDateFormat,
                               {L"dfShort", L"dfLong"}),
            props::Event(L"OnChange", &TDateTimePicker::OnChange),
        });
    return info;
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 186, 21);
    SetTabStop(true);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    dateTime_ = SystemTimeToDateTime(now);
}

void TDateTimePicker::CreateParams(TCreateParams& p) {
    const INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, DATETIMEPICK_CLASSW);
    if (kind_ == TDateTimeKind::dtkTime) p.Style |= DTS_TIMEFORMAT;
    else if (dateFormat_ == TDTDateFormat::dfLong) p.Style |= DTS_LONGDATEFORMAT;
    if (dateMode_ == TDTDateMode::dmUpDown) p.Style |= DTS_UPDOWN;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TDateTimePicker::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    SYSTEMTIME time{};
    if (DateTimeToSystemTime(dateTime_, time)) SendMessageW(WindowHandle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

void TDateTimePicker::DestroyWnd() {
    dateTime_ = DateTime();
    TWinControl::DestroyWnd();
}

double TDateTimePicker::DateTime() const {
    SYSTEMTIME time{};
    if (HandleAllocated() && SendMessageW(WindowHandle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) == GDT_VALID)
        return SystemTimeToDateTime(time);
    return dateTime_;
}

void TDateTimePicker::SetDateTime(double v) {
    SYSTEMTIME time{};
    if (!DateTimeToSystemTime(v, time)) return;
    dateTime_ = v;
    if (HandleAllocated()) SendMessageW(WindowHandle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

std::wstring TDateTimePicker::DateText() const { return NumberText(std::floor(DateTime())); }

void TDateTimePicker::SetDateText(const std::wstring& text) {
    const double now = DateTime();
    SetDateTime(std::floor(NumberOf(text)) + (now - std::floor(now)));
}

std::wstring TDateTimePicker::TimeText() const {
    const double now = DateTime();
    return NumberText(now - std::floor(now));
}

void TDateTimePicker::SetTimeText(const std::wstring& text) {
    const double time = NumberOf(text);
    SetDateTime(std::floor(DateTime()) + (time - std::floor(time)));
}

void TDateTimePicker::SetKind(TDateTimeKind v) {
    if (v == kind_) return;
    kind_ = v;
    if (HandleAllocated()) RecreateWnd();
}

void TDateTimePicker::SetDateMode(TDTDateMode v) {
    if (v == dateMode_) return;
    dateMode_ = v;
    if (HandleAllocated()) RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat v) {
    if (v == dateFormat_) return;
    dateFormat_ = v;
    if (HandleAllocated()) RecreateWnd();
}

void TDateTimePicker::WndProc(TMessage& m) {
    if (m.Msg == CN_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
        if (header && header->code == DTN_DATETIMECHANGE) {
            if (OnChange) OnChange(this);
            return;
        }
    }
    TWinControl::WndProc(m);
}
