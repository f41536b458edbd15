#include "classlib/Canvas.h"

#include "classlib/Graphic.h"

const TClassInfo& TGraphic::StaticClass() {
    static const TClassInfo info(L"TGraphic", &TPersistent::StaticClass());
    return info;
}

const TClassInfo& TCanvas::StaticClass() {
    static const TClassInfo info(L"TCanvas", &TPersistent::StaticClass());
    return info;
}

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()), pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>()) {
    // A changed object must leave the DC before its old GDI object is deleted.
    font_->OnChange = [this](TObject*) {
        if (fontSelected_ && dc_) SelectObject(dc_, oldFont_);
        fontSelected_ = false;
    };
    pen_->OnChange = [this](TObject*) {
        if (penSelected_ && dc_) SelectObject(dc_, oldPen_);
        penSelected_ = false;
    };
    brush_->OnChange = [this](TObject*) {
        if (brushSelected_ && dc_) SelectObject(dc_, oldBrush_);
        brushSelected_ = false;
    };
}

TCanvas::~TCanvas() { DeselectObjects(); }

HDC TCanvas::Handle() {
    if (!dc_) CreateHandle();
    return dc_;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    DeselectObjects();
    dc_ = dc;
}

void TCanvas::DeselectObjects() {
    if (dc_) {
        if (fontSelected_) SelectObject(dc_, oldFont_);
        if (penSelected_) SelectObject(dc_, oldPen_);
        if (brushSelected_) SelectObject(dc_, oldBrush_);
    }
    fontSelected_ = penSelected_ = brushSelected_ = false;
}

void TCanvas::RequireFont() {
    HDC dc = Handle();
    if (!dc) return;
    if (!fontSelected_) {
        HGDIOBJ old = SelectObject(dc, font_->Handle());
        oldFont_ = old;
        fontSelected_ = true;
    }
    SetTextColor(dc, ColorToRGB(font_->Color()));
}

void TCanvas::RequirePen() {
    HDC dc = Handle();
    if (!dc || penSelected_) return;
    oldPen_ = SelectObject(dc, pen_->Handle());
    penSelected_ = true;
}

void TCanvas::RequireBrush() {
    HDC dc = Handle();
    if (!dc) return;
    if (!brushSelected_) {
        oldBrush_ = SelectObject(dc, brush_->Handle());
        brushSelected_ = true;
    }
    if (brush_->Style() == TBrushStyle::bsClear) {
        SetBkMode(dc, TRANSPARENT);
    } else {
        SetBkColor(dc, ColorToRGB(brush_->Color()));
        SetBkMode(dc, OPAQUE);
    }
}

void TCanvas::FillRect(const RECT& r) {
    RequireBrush();
    if (dc_ && brush_->Style() != TBrushStyle::bsClear) ::FillRect(dc_, &r, brush_->Handle());
}

void TCanvas::FrameRect(const RECT& r) {
    RequireBrush();
    if (dc_) ::FrameRect(dc_, &r, brush_->Handle());
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    RequirePen();
    RequireBrush();
    if (dc_) ::Rectangle(dc_, left, top, right, bottom);
}

void TCanvas::MoveTo(int x, int y) {
    if (Handle()) MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    RequirePen();
    if (dc_) ::LineTo(dc_, x, y);
}

void TCanvas::TextOut(int x, int y, const std::wstring& text) {
    RequireFont();
    RequireBrush();
    if (dc_) ExtTextOutW(dc_, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

void TCanvas::TextRect(const RECT& r, int x, int y, const std::wstring& text) {
    RequireFont();
    RequireBrush();
    UINT options = ETO_CLIPPED;
    if (brush_->Style() != TBrushStyle::bsClear) options |= ETO_OPAQUE;
    if (dc_) ExtTextOutW(dc_, x, y, options, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

SIZE TCanvas::TextExtent(const std::wstring& text) {
    SIZE s{0, 0};
    RequireFont();
    if (dc_) GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &s);
    return s;
}

int TCanvas::DrawText(std::wstring text, RECT& r, UINT format) {
    RequireFont();
    RequireBrush();
    return dc_ ? ::DrawTextW(dc_, text.data(), static_cast<int>(text.size()), &r, format) : 0;
}

void TCanvas::DrawFocusRect(const RECT& r) {
    if (Handle()) ::DrawFocusRect(dc_, &r);
}

void TCanvas::Draw(int x, int y, TGraphic& graphic) {
    if (graphic.Empty() || !Handle()) return;
    const RECT r{x, y, x + graphic.Width(), y + graphic.Height()};
    graphic.Draw(*this, r);
}

void TCanvas::StretchDraw(const RECT& r, TGraphic& graphic) {
    if (!graphic.Empty() && Handle()) graphic.Draw(*this, r);
}

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& src) {
    if (!Handle() || !source.Handle()) return;
    StretchBlt(dc_, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source.dc_, src.left,
               src.top, src.right - src.left, src.bottom - src.top, CopyMode);
}

TColor TCanvas::Pixel(int x, int y) {
    return Handle() ? static_cast<TColor>(GetPixel(dc_, x, y)) : 0;
}

void TCanvas::SetPixel(int x, int y, TColor colour) {
    if (Handle()) ::SetPixel(dc_, x, y, ColorToRGB(colour));
}
