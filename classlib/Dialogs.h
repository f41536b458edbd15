#pragma once
// The message dialog: a form of class TMessageForm with the application
// title as caption, the text and one OK button; no icon; modal.
#include <string>

#include "classlib/Forms.h"

class TLabel;
class TButton;

class TMessageForm : public TForm {
    DECLARE_CLASS_INFO()
public:
    TMessageForm(TComponent* owner, const std::wstring& text);
    TLabel* Message() const { return message_; }
    TButton* OkButton() const { return ok_; }

private:
    TLabel* message_ = nullptr;
    TButton* ok_ = nullptr;
};

// Shows text in a modal TMessageForm and returns when it is closed.
void ShowMessage(const std::wstring& text);
