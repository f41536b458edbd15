#include "dictation/Utell.h"

#include "classlib/Edit.h"

const TClassInfo& TFTell::StaticClass() {
    static const TClassInfo info(L"TFTell", &TForm::StaticClass(), {},
                                 {
                                     props::Handler(L"BCopyClick", &TFTell::BCopyClick),
                                     props::Handler(L"BcloseClick", &TFTell::BcloseClick),
                                 });
    return info;
}

TMemo* TFTell::Memo1() const { return As<TMemo>(FindComponent(L"Memo1")); }

void TFTell::BCopyClick(TObject*) {
    TMemo* memo = Memo1();
    if (!memo) return;
    memo->SetFocus();
    memo->SelectAll();
    memo->CopyToClipboard();
}

void TFTell::BcloseClick(TObject*) { Close(); }
