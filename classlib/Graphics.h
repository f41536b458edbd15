#pragma once
// Fonts, brushes and pens: each owns its one GDI object, created when first
// asked for and dropped whenever a property changes.
#include <windows.h>

#include <functional>
#include <string>

#include "classlib/Component.h"
#include "classlib/Handles.h"
#include "core/Colour.h"
#include "core/SystemColours.h"

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor SystemColour(int index) { return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index)); }
constexpr TColor clScrollBar = SystemColour(COLOR_SCROLLBAR);
constexpr TColor clBackground = SystemColour(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SystemColour(COLOR_ACTIVECAPTION);
constexpr TColor clMenu = SystemColour(COLOR_MENU);
constexpr TColor clWindow = SystemColour(COLOR_WINDOW);
constexpr TColor clMenuText = SystemColour(COLOR_MENUTEXT);
constexpr TColor clWindowText = SystemColour(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SystemColour(COLOR_CAPTIONTEXT);
constexpr TColor clHighlight = SystemColour(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SystemColour(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SystemColour(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColour(COLOR_BTNSHADOW);
constexpr TColor clGrayText = SystemColour(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SystemColour(COLOR_BTNTEXT);
constexpr TColor clBtnHighlight = SystemColour(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SystemColour(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SystemColour(COLOR_3DLIGHT);
constexpr TColor clInfoText = SystemColour(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SystemColour(COLOR_INFOBK);

// Colour names as stored layouts write them ("clBtnFace", "clRed"); false for other text.
bool IdentToColor(std::wstring_view ident, TColor& colour);
std::wstring ColorToString(TColor colour);

namespace props {
// A colour property: an integer or a colour name ("clBtnFace") in stored layouts.
TPropInfo Colour(std::wstring_view name, std::function<TColor(const TObject&)> get,
                 std::function<void(TObject&, TColor)> set);
template <class C>
TPropInfo Colour(std::wstring_view name, TColor (C::*get)() const, void (C::*set)(TColor)) {
    return Colour(
        name, [get](const TObject& o) { return (static_cast<const C&>(o).*get)(); },
        [set](TObject& o, TColor c) { (static_cast<C&>(o).*set)(c); });
}
}  // namespace props

// Base of fonts, brushes and pens: a change drops the handle and is reported.
class TGraphicsObject : public TPersistent {
    DECLARE_CLASS_INFO()
public:
    std::function<void(TObject*)> OnChange;

protected:
    void Changed();
    virtual UniqueGdiObject ReleaseHandle() = 0;
};

enum TFontStyle : std::uint32_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont : public TGraphicsObject {
    DECLARE_CLASS_INFO()
public:
    TFont();
    void Assign(const TPersistent& source) override;

    std::wstring Name() const { return name_; }
    void SetName(const std::wstring& name);
    int Height() const { return height_; }
    void SetHeight(int height);
    // Points at the screen's pixels per inch.
    int Size() const;
    void SetSize(int points);
    std::uint32_t Style() const { return style_; }
    void SetStyle(std::uint32_t style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Charset() const { return charset_; }
    void SetCharset(int charset);

    HFONT Handle();
    // Takes the attributes of a LOGFONT (for example a system font).
    void SetLogFont(const LOGFONTW& lf);

protected:
    UniqueGdiObject ReleaseHandle() override { return UniqueGdiObject(handle_.release()); }

private:
    std::wstring name_ = L"MS Sans Serif";
    int height_ = -11;
    std::uint32_t style_ = 0;
    TColor color_ = clWindowText;
    int charset_ = DEFAULT_CHARSET;
    UniqueFont handle_;
};

enum class TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
    DECLARE_CLASS_INFO()
public:
    void Assign(const TPersistent& source) override;
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    HBRUSH Handle();

protected:
    UniqueGdiObject ReleaseHandle() override { return UniqueGdiObject(handle_.release()); }

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
    UniqueBrush handle_;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };

class TPen : public TGraphicsObject {
    DECLARE_CLASS_INFO()
public:
    void Assign(const TPersistent& source) override;
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    HPEN Handle();

protected:
    UniqueGdiObject ReleaseHandle() override { return UniqueGdiObject(handle_.release()); }

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = TPenStyle::psSolid;
    UniquePen handle_;
};

// A solid brush for a colour, owned by the caller (painters fill with it and drop it).
UniqueBrush MakeSolidBrush(TColor colour);
