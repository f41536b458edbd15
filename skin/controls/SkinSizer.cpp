#include "skin/controls/SkinSizer.h"

const TClassInfo& TSkinSizer::StaticClass() {
    static const TClassInfo info(L"TSkinSizer", &TSkinControl::StaticClass(), {});
    return info;
}

void TSkinSizer::Draw(HDC dc, const RECT& rect) { FillFace(dc, rect); }
