#pragma once
// A drawing surface over any DC. The canvas selects its font, pen and brush
// into the DC when a drawing call needs them and puts the DC's own objects
// back when it lets go of the DC.
#include <windows.h>

#include <memory>
#include <string>

#include "classlib/Graphics.h"

class TGraphic;

class TCanvas : public TPersistent {
    DECLARE_CLASS_INFO()
public:
    TCanvas();
    ~TCanvas() override;

    // The DC; a canvas that makes its own (a control's, a bitmap's) creates it here.
    HDC Handle();
    bool HandleAllocated() const { return dc_ != nullptr; }
    void SetHandle(HDC dc);

    TFont* Font() const { return font_.get(); }
    TBrush* Brush() const { return brush_.get(); }
    TPen* Pen() const { return pen_.get(); }

    void FillRect(const RECT& r);
    void FrameRect(const RECT& r);
    void Rectangle(int left, int top, int right, int bottom);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void TextOut(int x, int y, const std::wstring& text);
    void TextRect(const RECT& r, int x, int y, const std::wstring& text);
    SIZE TextExtent(const std::wstring& text);
    int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
    int TextHeight(const std::wstring& text) { return TextExtent(text).cy; }
    int DrawText(std::wstring text, RECT& r, UINT format);
    void DrawFocusRect(const RECT& r);
    void Draw(int x, int y, TGraphic& graphic);
    void StretchDraw(const RECT& r, TGraphic& graphic);
    void CopyRect(const RECT& dest, TCanvas& source, const RECT& src);
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor colour);
    DWORD CopyMode = SRCCOPY;

protected:
    // Asked for a DC when none is set: TControlCanvas and bitmap canvases.
    virtual void CreateHandle() {}
    // Lets go of the DC (restoring its objects) without deleting it.
    void DeselectObjects();

private:
    void RequireFont();
    void RequirePen();
    void RequireBrush();

    HDC dc_ = nullptr;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
    bool fontSelected_ = false, penSelected_ = false, brushSelected_ = false;
    HGDIOBJ oldFont_ = nullptr, oldPen_ = nullptr, oldBrush_ = nullptr;
};
