#pragma once
// Stand-ins for the caption-button, menu-bar and popup classes while their
// own files are being written; removed when those arrive.
#include <windows.h>

class TNCObject {
public:
    virtual ~TNCObject() = default;
};
class TWinSysButton : public TNCObject {};
class TMenuBtn : public TNCObject {};
class TWinSkinMenu {};
