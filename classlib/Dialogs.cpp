#include "classlib/Dialogs.h"

#include <algorithm>

#include "classlib/Button.h"
#include "classlib/Label.h"

const TClassInfo& TMessageForm::StaticClass() {
    static const TClassInfo info(L"TMessageForm", &TForm::StaticClass());
    return info;
}

TMessageForm::TMessageForm(TComponent* owner, const std::wstring& text) : TForm(owner) {
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(TPosition::poScreenCenter);
    SetCaption(Application ? Application->Title() : std::wstring());
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        Font()->SetLogFont(metrics.lfMessageFont);

    // Size the text the way it will be drawn: wrapped at about a third of the screen.
    RECT textRect{0, 0, std::max(200, GetSystemMetrics(SM_CXSCREEN) / 3), 0};
    {
        WindowDC dc(nullptr);
        SelectedObject font(dc.get(), Font()->Handle());
        std::wstring measured = text.empty() ? std::wstring(L" ") : text;
        DrawTextW(dc.get(), measured.data(), static_cast<int>(measured.size()), &textRect,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    }
    constexpr int kMargin = 12, kButtonWidth = 75, kButtonHeight = 25, kGap = 16;
    const int textWidth = textRect.right - textRect.left, textHeight = textRect.bottom - textRect.top;
    const int clientWidth = std::max(textWidth, kButtonWidth) + 2 * kMargin;
    const int clientHeight = kMargin + textHeight + kGap + kButtonHeight + kMargin;

    message_ = TComponent::Create<TLabel>(this);
    message_->SetName(L"Message");
    message_->SetParent(this);
    message_->SetAutoSize(false);
    message_->SetWordWrap(true);
    message_->SetShowAccelChar(false);
    message_->SetBounds(kMargin, kMargin, textWidth, textHeight);
    message_->SetCaption(text);

    ok_ = TComponent::Create<TButton>(this);
    ok_->SetName(L"OK");
    ok_->SetParent(this);
    ok_->SetCaption(L"OK");
    ok_->SetModalResult(mrOk);
    ok_->SetDefault(true);
    ok_->SetCancel(true);
    ok_->SetBounds((clientWidth - kButtonWidth) / 2, kMargin + textHeight + kGap, kButtonWidth, kButtonHeight);

    SetClientSize(clientWidth, clientHeight);
    SetActiveControl(ok_);
}

void ShowMessage(const std::wstring& text) {
    std::unique_ptr<TMessageForm> form = std::make_unique<TMessageForm>(nullptr, text);
    form->ShowModal();
}
