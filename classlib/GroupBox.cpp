#include "classlib/GroupBox.h"

#include "classlib/Handles.h"

const TClassInfo& TCustomGroupBox::StaticClass() {
    static const TClassInfo info(L"TCustomGroupBox", &TCustomControl::StaticClass());
    return info;
}

const TClassInfo& TGroupBox::StaticClass() {
    static const TClassInfo info(L"TGroupBox", &TCustomGroupBox::StaticClass());
    return info;
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque;
    SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::WndProc(TMessage& m) {
    // The caption is painted, not kept by a window class that would redraw it.
    if (m.Msg == WM_SETTEXT || m.Msg == CM_FONTCHANGED) Invalidate();
    TCustomControl::WndProc(m);
}

int TCustomGroupBox::CaptionHeight() {
    if (!HandleAllocated()) return 0;
    WindowDC dc(WindowHandle());
    SelectedObject font(dc.get(), Font()->Handle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight;
}

void TCustomGroupBox::Paint() {
    TCanvas& canvas = *Canvas();
    RECT r = ClientRect();
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.FillRect(r);
    const int half = canvas.TextHeight(L"0") / 2;
    RECT frame{0, half, r.right, r.bottom};
    DrawEdge(canvas.Handle(), &frame, EDGE_ETCHED, BF_RECT);
    const std::wstring caption = Caption();
    if (caption.empty()) return;
    RECT text{8, 0, r.right - 8, r.bottom};
    // The caption's own background cuts the frame line behind it.
    canvas.DrawText(caption, text, DT_SINGLELINE | DT_EXPANDTABS);
}
