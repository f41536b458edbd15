#pragma once
// The skin elements a loaded skin is made of: a frame strip (a row of state
// images) with the margins of its nine-part layout, its drawing flags and
// text colours. Painters read them from the fixed slots of TSkinData.
#include <windows.h>

#include <string>

#include "classlib/Bitmap.h"
#include "classlib/ClassInfo.h"
#include "classlib/Graphics.h"

class TDataSkinObject : public TObject {
    DECLARE_CLASS_INFO()
public:
    explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}

    RECT Margins{0, 0, 0, 0};  // widths of the fixed border parts
    TBitmap Bitmap;
    int Trans = 0;  // 1: magenta pixels are transparent
    int Tile = 0;   // 1 tiles the middle part (window borders: 1 stretches)
    std::string Name;
    int Frame = 0;  // number of state images in Bitmap
    int Style = 0;
    int NormalColour = -1;
    int MouseOverColour = -1;
    int PressedColour = -1;
    TColor NormalColour2 = clBtnText;
    TColor MouseOverColour2 = clBtnText;
    TColor PressedColour2 = clBtnText;
};

class TDataSkinBorder : public TDataSkinObject {
    DECLARE_CLASS_INFO()
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap Bitmap2;
};

class TDataSkinButton : public TDataSkinObject {
    DECLARE_CLASS_INFO()
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap CheckBitmap;
    TBitmap RadioBitmap;
    int RadioFrames = 0;
    int CheckFrames = 0;
    bool HasNormalColour2 = false;
    bool HasMouseOverColour2 = false;
    bool HasPressedColour2 = false;
};

class TDataSkinSysButton : public TDataSkinObject {
    DECLARE_CLASS_INFO()
public:
    using TDataSkinObject::TDataSkinObject;
    int Action = 0;
    int Align = 0;
    int XCoord = 0;
    int YCoord = 0;
    int CombineOp = -1;
    int Visibility = 0;
    int Visibility1 = 0;
};

// Margins hold TextShift (Left), TextShiftVert (Top) and TextRightClip
// (Right); Bitmap is the caption's TextBack image.
class TDataSkinTitle : public TDataSkinObject {
    DECLARE_CLASS_INFO()
public:
    using TDataSkinObject::TDataSkinObject;
    int TextAlignment = 0;
    int TextBackground = 0;
    int FontHeight = 14;
    int TextBackLeft = 0;
    int TextBackRight = 0;
    TColor ActiveTextColour = clNone;
    TColor InactiveTextColour = clNone;
};

class TDataSkinBoxLabel : public TDataSkinObject {
    DECLARE_CLASS_INFO()
public:
    using TDataSkinObject::TDataSkinObject;
    int BackgroundLeftShift = 0;
    int BackgroundRightShift = 0;
    int BackgroundAlignment = 0;
};
