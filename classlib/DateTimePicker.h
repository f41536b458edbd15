#pragma once
// Date and time pickers over the common control "SysDateTimePick32".
// DateTime counts days from 30 December 1899, the fraction being the time
// of day; stored layouts write Date and Time as such numbers.
#include <string>

#include "classlib/Controls.h"

enum class TDateTimeKind { dtkDate, dtkTime };
enum class TDTDateMode { dmComboBox, dmUpDown };
enum class TDTDateFormat { dfShort, dfLong };

class TDateTimePicker : public TWinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TDateTimePicker(TComponent* owner);

    double DateTime() const;
    void SetDateTime(double v);
    // The date part (whole days) and the time part (the fraction), as text.
    std::wstring DateText() const;
    void SetDateText(const std::wstring& text);
    std::wstring TimeText() const;
    void SetTimeText(const std::wstring& text);
    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind v);
    TDTDateMode DateMode() const { return dateMode_; }
    void SetDateMode(TDTDateMode v);
    TDTDateFormat DateFormat() const { return dateFormat_; }
    void SetDateFormat(TDTDateFormat v);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;

private:
    double dateTime_ = 0;
    TDateTimeKind kind_ = TDateTimeKind::dtkDate;
    TDTDateMode dateMode_ = TDTDateMode::dmComboBox;
    TDTDateFormat dateFormat_ = TDTDateFormat::dfShort;
};

// Between day counts from 30 December 1899 and SYSTEMTIME; false outside
// what FILETIME can hold.
bool DateTimeToSystemTime(double value, SYSTEMTIME& time);
double SystemTimeToDateTime(const SYSTEMTIME& time);
