#pragma once
// A small form with each control the program uses and a main menu, read
// from its stored layout. Tests and the skin painters' work use it.
#include "classlib/Forms.h"

class TButton;
class TEdit;
class TMemo;
class TLabel;
class TBevel;
class TProgressBar;
class TStatusBar;
class TTimer;

class TShowcaseForm : public TForm {
    DECLARE_CLASS_INFO()
public:
    explicit TShowcaseForm(TComponent* owner) : TForm(owner) {}

    void FormCreate(TObject* sender);
    void BStartClick(TObject* sender);
    void BStopClick(TObject* sender);
    void NTopClick(TObject* sender);
    void NCloseClick(TObject* sender);
    void Timer1Timer(TObject* sender);

    int starts = 0;
    int stops = 0;
    int ticks = 0;

    // The components by role, as the layout names them.
    template <class T> T* Find(const wchar_t* name) const { return As<T>(FindComponent(name)); }
};
