#pragma once
// TSkinListView: a list view's scroll bars and border, as for any scrolling
// control, and its header drawn as a skinned header.
#include "skin/controls/SkinScrollbar.h"

class TSkinHeader;

class TSkinListView : public TSkinScrollbar {
    DECLARE_CLASS_INFO()
public:
    using TSkinScrollbar::TSkinScrollbar;
    void AttachScroll(TControl* control, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) override;

    TSkinHeader* Header = nullptr;
};
