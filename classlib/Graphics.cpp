#include "classlib/Graphics.h"

#include <array>
#include <cmath>

namespace {

struct NamedColour {
    const wchar_t* name;
    TColor colour;
};

constexpr std::array kColourNames{
    NamedColour{L"clBlack", 0x000000},     NamedColour{L"clMaroon", 0x000080},
    NamedColour{L"clGreen", 0x008000},     NamedColour{L"clOlive", 0x008080},
    NamedColour{L"clNavy", 0x800000},      NamedColour{L"clPurple", 0x800080},
    NamedColour{L"clTeal", 0x808000},      NamedColour{L"clGray", 0x808080},
    NamedColour{L"clSilver", 0xC0C0C0},    NamedColour{L"clRed", 0x0000FF},
    NamedColour{L"clLime", 0x00FF00},      NamedColour{L"clYellow", 0x00FFFF},
    NamedColour{L"clBlue", 0xFF0000},      NamedColour{L"clFuchsia", 0xFF00FF},
    NamedColour{L"clAqua", 0xFFFF00},      NamedColour{L"clWhite", 0xFFFFFF},
    NamedColour{L"clNone", clNone},        NamedColour{L"clDefault", clDefault},
    NamedColour{L"clScrollBar", clScrollBar}, NamedColour{L"clBackground", clBackground},
    NamedColour{L"clActiveCaption", clActiveCaption}, NamedColour{L"clMenu", clMenu},
    NamedColour{L"clWindow", clWindow},    NamedColour{L"clMenuText", clMenuText},
    NamedColour{L"clWindowText", clWindowText}, NamedColour{L"clCaptionText", clCaptionText},
    NamedColour{L"clHighlight", clHighlight}, NamedColour{L"clHighlightText", clHighlightText},
    NamedColour{L"clBtnFace", clBtnFace},  NamedColour{L"clBtnShadow", clBtnShadow},
    NamedColour{L"clGrayText", clGrayText}, NamedColour{L"clBtnText", clBtnText},
    NamedColour{L"clBtnHighlight", clBtnHighlight}, NamedColour{L"cl3DDkShadow", cl3DDkShadow},
    NamedColour{L"cl3DLight", cl3DLight},  NamedColour{L"clInfoText", clInfoText},
    NamedColour{L"clInfoBk", clInfoBk},
};

}  // namespace

bool IdentToColor(std::wstring_view ident, TColor& colour) {
    for (const auto& c : kColourNames)
        if (SameText(ident, c.name)) {
            colour = c.colour;
            return true;
        }
    return false;
}

std::wstring ColorToString(TColor colour) {
    for (const auto& c : kColourNames)
        if (c.colour == colour) return c.name;
    wchar_t buf[16];
    swprintf(buf, 16, L"$%.8X", static_cast<unsigned>(colour));
    return buf;
}

UniqueBrush MakeSolidBrush(TColor colour) { return UniqueBrush(CreateSolidBrush(ColorToRGB(colour))); }

TPropInfo props::Colour(std::wstring_view name, std::function<TColor(const TObject&)> get,
                        std::function<void(TObject&, TColor)> set) {
    return {name, TPropKind::Integer, [get](const TObject& o) { return TValue(static_cast<std::int64_t>(get(o))); },
            [set](TObject& o, const TValue& v) {
                TColor c = 0;
                if (v.GetKind() == TValue::Kind::Text && IdentToColor(v.AsText(), c)) set(o, c);
                else set(o, static_cast<TColor>(v.AsInteger()));
            },
            {}};
}

const TClassInfo& TGraphicsObject::StaticClass() {
    static const TClassInfo info(L"TGraphicsObject", &TPersistent::StaticClass());
    return info;
}

void TGraphicsObject::Changed() {
    // The old object lives until the listeners have let go of it (a canvas
    // must deselect it, a window gets the new one) and is deleted after.
    UniqueGdiObject old = ReleaseHandle();
    if (OnChange) OnChange(this);
}

// Character sets: a number, or its name as stored layouts write it.
static TPropInfo CharsetProp() {
    static constexpr std::pair<const wchar_t*, int> kNames[] = {
        {L"ANSI_CHARSET", ANSI_CHARSET},       {L"DEFAULT_CHARSET", DEFAULT_CHARSET},
        {L"SYMBOL_CHARSET", SYMBOL_CHARSET},   {L"GB2312_CHARSET", GB2312_CHARSET},
        {L"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET}, {L"OEM_CHARSET", OEM_CHARSET},
    };
    return {L"Charset", TPropKind::Integer,
            [](const TObject& o) { return TValue(static_cast<const TFont&>(o).Charset()); },
            [](TObject& o, const TValue& v) {
                if (v.GetKind() == TValue::Kind::Text)
                    for (const auto& [name, value] : kNames)
                        if (SameText(v.AsText(), name)) return static_cast<TFont&>(o).SetCharset(value);
                static_cast<TFont&>(o).SetCharset(static_cast<int>(v.AsInteger()));
            },
            {}};
}

const TClassInfo& TFont::StaticClass() {
    static const TClassInfo info(
        L"TFont", &TGraphicsObject::StaticClass(),
        {
            props::Text(L"Name", &TFont::Name, &TFont::SetName),
            props::Integer(L"Height", &TFont::Height, &TFont::SetHeight),
            props::Integer(L"Size", &TFont::Size, &TFont::SetSize),
            CharsetProp(),
            props::SetOf(L"Style", &TFont::Style, &TFont::SetStyle, {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"}),
            props::Colour(L"Color", &TFont::Color, &TFont::SetColor),
        });
    return info;
}

static int ScreenPixelsPerInch() {
    WindowDC dc(nullptr);
    return GetDeviceCaps(dc.get(), LOGPIXELSY);
}

TFont::TFont() = default;

void TFont::Assign(const TPersistent& source) {
    if (auto* f = dynamic_cast<const TFont*>(&source)) {
        name_ = f->name_;
        height_ = f->height_;
        style_ = f->style_;
        color_ = f->color_;
        charset_ = f->charset_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

void TFont::SetName(const std::wstring& name) {
    if (name == name_ || name.empty()) return;
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Changed();
}

int TFont::Size() const { return -static_cast<int>(std::lround(height_ * 72.0 / ScreenPixelsPerInch())); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72)); }

void TFont::SetStyle(std::uint32_t style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    // The colour is not part of the GDI font: keep the handle.
    if (OnChange) OnChange(this);
}

void TFont::SetCharset(int charset) {
    if (charset == charset_) return;
    charset_ = charset;
    Changed();
}

HFONT TFont::Handle() {
    if (!handle_) {
        LOGFONTW lf{};
        lf.lfHeight = height_;
        lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & fsItalic) != 0;
        lf.lfUnderline = (style_ & fsUnderline) != 0;
        lf.lfStrikeOut = (style_ & fsStrikeOut) != 0;
        lf.lfCharSet = static_cast<BYTE>(charset_);
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynW(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        handle_.reset(CreateFontIndirectW(&lf));
    }
    return handle_.get();
}

void TFont::SetLogFont(const LOGFONTW& lf) {
    name_ = lf.lfFaceName;
    height_ = lf.lfHeight;
    style_ = (lf.lfWeight >= FW_BOLD ? fsBold : 0u) | (lf.lfItalic ? fsItalic : 0u) |
             (lf.lfUnderline ? fsUnderline : 0u) | (lf.lfStrikeOut ? fsStrikeOut : 0u);
    charset_ = lf.lfCharSet;
    Changed();
}

const TClassInfo& TBrush::StaticClass() {
    static const TClassInfo info(
        L"TBrush", &TGraphicsObject::StaticClass(),
        {
            props::Colour(L"Color", &TBrush::Color, &TBrush::SetColor),
            props::Enumeration(L"Style", &TBrush::Style, &TBrush::SetStyle, {L"bsSolid", L"bsClear"}),
        });
    return info;
}

void TBrush::Assign(const TPersistent& source) {
    if (auto* b = dynamic_cast<const TBrush*>(&source)) {
        color_ = b->color_;
        style_ = b->style_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

void TBrush::SetColor(TColor color) {
    if (color == color_ && style_ == TBrushStyle::bsSolid) return;
    color_ = color;
    style_ = TBrushStyle::bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

HBRUSH TBrush::Handle() {
    if (style_ == TBrushStyle::bsClear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    if (!handle_) handle_.reset(CreateSolidBrush(ColorToRGB(color_)));
    return handle_.get();
}

const TClassInfo& TPen::StaticClass() {
    static const TClassInfo info(
        L"TPen", &TGraphicsObject::StaticClass(),
        {
            props::Colour(L"Color", &TPen::Color, &TPen::SetColor),
            props::Integer(L"Width", &TPen::Width, &TPen::SetWidth),
            props::Enumeration(L"Style", &TPen::Style, &TPen::SetStyle,
                               {L"psSolid", L"psDash", L"psDot", L"psDashDot", L"psDashDotDot", L"psClear"}),
        });
    return info;
}

void TPen::Assign(const TPersistent& source) {
    if (auto* p = dynamic_cast<const TPen*>(&source)) {
        color_ = p->color_;
        width_ = p->width_;
        style_ = p->style_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

void TPen::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TPen::SetWidth(int width) {
    if (width == width_ || width < 0) return;
    width_ = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

HPEN TPen::Handle() {
    if (!handle_) {
        static constexpr int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL};
        handle_.reset(CreatePen(kStyles[static_cast<int>(style_)], width_, ColorToRGB(color_)));
    }
    return handle_.get();
}
