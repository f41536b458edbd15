#pragma once
// The shipped skin, as the main window's layout carries it, with no manager
// watching: tests that use it attach the painters themselves. And what the
// painter tests share: the skin's key colour, a control's painter.
#include <windows.h>

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

// The colour transparent skin pixels have.
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// The painter of type T a control owns, or null.
template <class T> T* PainterOf(TComponent* control) {
    for (int i = 0; i < control->ComponentCount(); ++i)
        if (auto* painter = As<T>(control->Components(i))) return painter;
    return nullptr;
}
