#pragma once
// TSkinDateTime: a date picker in drop-down mode gets the edit's skinned
// border and, over its own button, a TArrowButton drawn from ComboArrow.
#include <windows.h>

#include "skin/controls/WinSubClass.h"

class TArrowButton;

class TSkinDateTime : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TSkinDateTime(TComponent* owner);
    ~TSkinDateTime() override;

    void Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) override;
    void Detach() override;
    void Draw(HDC dc, const RECT& rect) override;

    TArrowButton* ArrowButton = nullptr;

private:
    void DropArrowButton();
    bool addedClipChildren_ = false;
};
