#pragma once
// The tell-a-friend dialog: the program's download address, ready to copy.
#include "classlib/Forms.h"

class TMemo;

class TFTell : public TForm {
    DECLARE_CLASS_INFO()
public:
    explicit TFTell(TComponent* owner) : TForm(owner) {}

    void BCopyClick(TObject* sender);
    void BcloseClick(TObject* sender);

    TMemo* Memo1() const;
};

// The dialog the main window shows; created hidden at program start.
inline TFTell* FTell = nullptr;
