#pragma once
// The shipped skin, as the main window's layout carries it, with no manager
// watching: tests that use it attach the painters themselves.
#include "classlib/LayoutReader.h"
#include "dictation/ContinuousDictationU.h"
#include "skin/controls/SkinManager.h"
#include "skin/data/WinSkinData.h"

struct ShippedSkin {
    TfrmContinuousDictation* main;
    TSkinData* skin;
    ShippedSkin() {
        RegisterComponentClass<TSkinData>();
        main = TComponent::Create<TfrmContinuousDictation>(Application);
        ReadFormLayout(*main);
        TSkinManage::FreeInstance();
        skin = As<TSkinData>(main->FindComponent(L"SkinData1"));
    }
    ~ShippedSkin() { main->Free(); }
    ShippedSkin(const ShippedSkin&) = delete;
    ShippedSkin& operator=(const ShippedSkin&) = delete;
};
