#pragma once
// TSkinMP: skins a media player control by laying a TWMediaPlayer bar over
// it and keeping the bar's bounds and visibility with the player's.
#include "skin/controls/WinSubClass.h"

class TWMediaPlayer;

class TSkinMP : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    explicit TSkinMP(TComponent* owner);
    // The bar goes with the painter: it reads the player it covers.
    ~TSkinMP() override;

    void Attach(TWinSkinForm* form, TSkinData* skinData, bool colourFlag, TCanvas* canvas) override;
    void Detach() override;
    void AfterMessage(TMessage& message) override;
    void SkinChanged() override;
    void Notification(TComponent* component, TOperation operation) override;

    TWMediaPlayer* Panel = nullptr;  // owned by the form

private:
    void FollowPlayer();
};
