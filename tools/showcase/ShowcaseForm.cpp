#include "tools/showcase/ShowcaseForm.h"

#include "classlib/Menus.h"
#include "classlib/ProgressBar.h"
#include "classlib/StatusBar.h"
#include "classlib/Timer.h"

const TClassInfo& TShowcaseForm::StaticClass() {
    static const TClassInfo info(L"TShowcaseForm", &TForm::StaticClass(), {},
                                 {
                                     props::Handler(L"FormCreate", &TShowcaseForm::FormCreate),
                                     props::Handler(L"BStartClick", &TShowcaseForm::BStartClick),
                                     props::Handler(L"BStopClick", &TShowcaseForm::BStopClick),
                                     props::Handler(L"NTopClick", &TShowcaseForm::NTopClick),
                                     props::Handler(L"NCloseClick", &TShowcaseForm::NCloseClick),
                                     props::Handler(L"Timer1Timer", &TShowcaseForm::Timer1Timer),
                                 });
    return info;
}

void TShowcaseForm::FormCreate(TObject*) {}

void TShowcaseForm::BStartClick(TObject*) {
    ++starts;
    if (auto* timer = Find<TTimer>(L"Timer1")) timer->SetEnabled(true);
}

void TShowcaseForm::BStopClick(TObject*) {
    ++stops;
    if (auto* timer = Find<TTimer>(L"Timer1")) timer->SetEnabled(false);
}

void TShowcaseForm::NTopClick(TObject* sender) {
    auto* item = As<TMenuItem>(static_cast<TComponent*>(sender));
    if (!item) return;
    item->SetChecked(!item->Checked());
    SetFormStyle(item->Checked() ? TFormStyle::fsStayOnTop : TFormStyle::fsNormal);
}

void TShowcaseForm::NCloseClick(TObject*) { Close(); }

void TShowcaseForm::Timer1Timer(TObject*) {
    ++ticks;
    if (auto* bar = Find<TProgressBar>(L"ProgressBar1")) bar->SetPosition((bar->Position() + 5) % 101);
}
