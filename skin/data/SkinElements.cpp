#include "skin/data/SkinElements.h"

const TClassInfo& TDataSkinObject::StaticClass() {
    static const TClassInfo info(L"TDataSkinObject", &TObject::StaticClass());
    return info;
}
const TClassInfo& TDataSkinBorder::StaticClass() {
    static const TClassInfo info(L"TDataSkinBorder", &TDataSkinObject::StaticClass());
    return info;
}
const TClassInfo& TDataSkinButton::StaticClass() {
    static const TClassInfo info(L"TDataSkinButton", &TDataSkinObject::StaticClass());
    return info;
}
const TClassInfo& TDataSkinSysButton::StaticClass() {
    static const TClassInfo info(L"TDataSkinSysButton", &TDataSkinObject::StaticClass());
    return info;
}
const TClassInfo& TDataSkinTitle::StaticClass() {
    static const TClassInfo info(L"TDataSkinTitle", &TDataSkinObject::StaticClass());
    return info;
}
const TClassInfo& TDataSkinBoxLabel::StaticClass() {
    static const TClassInfo info(L"TDataSkinBoxLabel", &TDataSkinObject::StaticClass());
    return info;
}
