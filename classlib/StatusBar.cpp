#include "classlib/StatusBar.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/Forms.h"

namespace {

// The most parts the common control keeps.
constexpr int kMaxParts = 255;

}  // namespace

// ---------------------------------------------------------------- TStatusPanel

const TClassInfo& TStatusPanel::StaticClass() {
    static const TClassInfo info(
        L"TStatusPanel", &TCollectionItem::StaticClass(),
        {
            props::Text(L"Text", &TStatusPanel::Text, &TStatusPanel::SetText),
            props::Integer(L"Width", &TStatusPanel::Width, &TStatusPanel::SetWidth),
            props::Enumeration(L"Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment,
                               AlignmentNames()),
            props::Enumeration(L"Style", &TStatusPanel::Style, &TStatusPanel::SetStyle, {L"psText", L"psOwnerDraw"}),
            props::Enumeration(L"Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel,
                               {L"pbNone", L"pbLowered", L"pbRaised"}),
        });
    return info;
}

void TStatusPanel::SetText(const std::wstring& v) {
    if (v == text_) return;
    text_ = v;
    Changed();
}

void TStatusPanel::SetWidth(int v) {
    v = std::max(0, v);
    if (v == width_) return;
    width_ = v;
    Changed();
}

void TStatusPanel::SetAlignment(TAlignment v) {
    if (v == alignment_) return;
    alignment_ = v;
    Changed();
}

void TStatusPanel::SetStyle(TStatusPanelStyle v) {
    if (v == style_) return;
    style_ = v;
    Changed();
}

void TStatusPanel::SetBevel(TStatusPanelBevel v) {
    if (v == bevel_) return;
    bevel_ = v;
    Changed();
}

void TStatusPanel::Assign(const TPersistent& source) {
    if (auto* p = dynamic_cast<const TStatusPanel*>(&source)) {
        text_ = p->text_;
        width_ = p->width_;
        alignment_ = p->alignment_;
        style_ = p->style_;
        bevel_ = p->bevel_;
        Changed();
        return;
    }
    TCollectionItem::Assign(source);
}

const TClassInfo& TStatusPanels::StaticClass() {
    static const TClassInfo info(L"TStatusPanels", &TCollection::StaticClass());
    return info;
}

TStatusPanels::TStatusPanels()
    : TCollection([](TCollection* c) { return std::make_unique<TStatusPanel>(c); }) {}

// ---------------------------------------------------------------- TCustomStatusBar

const TClassInfo& TCustomStatusBar::StaticClass() {
    static const TClassInfo info(
        L"TCustomStatusBar", &TWinControl::StaticClass(),
        {
            props::Object(L"Panels", &TCustomStatusBar::Panels),
            props::Boolean(L"SimplePanel", &TCustomStatusBar::SimplePanel, &TCustomStatusBar::SetSimplePanel),
            props::Text(L"SimpleText", &TCustomStatusBar::SimpleText, &TCustomStatusBar::SetSimpleText),
            props::Boolean(L"SizeGrip", &TCustomStatusBar::SizeGrip, &TCustomStatusBar::SetSizeGrip),
            props::Event(L"OnDrawPanel", &TCustomStatusBar::OnDrawPanel),
        });
    return info;
}

const TClassInfo& TStatusBar::StaticClass() {
    static const TClassInfo info(L"TStatusBar", &TCustomStatusBar::StaticClass());
    return info;
}

TCustomStatusBar::TCustomStatusBar(TComponent* owner)
    : TWinControl(owner), panels_(std::make_unique<TStatusPanels>()), canvas_(std::make_unique<TCanvas>()) {
    panels_->OnUpdate = [this](TCollection*) { UpdatePanels(); };
    ControlStyle |= csOpaque;
    SetBounds(0, 0, 150, 19);
    SetAlign(TAlign::alBottom);
}

void TCustomStatusBar::CreateParams(TCreateParams& p) {
    const INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, STATUSCLASSNAMEW);
    p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
    if (sizeGrip_)
        if (auto* form = As<TCustomForm>(Parent()); form && (form->BorderStyle() == TFormBorderStyle::bsSizeable ||
                                                             form->BorderStyle() == TFormBorderStyle::bsSizeToolWin))
            p.Style |= SBARS_SIZEGRIP;
}

void TCustomStatusBar::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    UpdateColour();
    UpdatePanels();
    SendMessageW(WindowHandle(), SB_SIMPLE, simplePanel_, 0);
    UpdateSimpleText();
}

void TCustomStatusBar::DrawPanel(HDC dc, TStatusPanel* panel, const RECT& rect) {
    if (!OnDrawPanel || !panel) return;
    canvas_->SetHandle(dc);
    canvas_->Font()->Assign(*Font());
    canvas_->Brush()->SetColor(Color());
    OnDrawPanel(this, panel, rect);
    canvas_->SetHandle(nullptr);
}

void TCustomStatusBar::WndProc(TMessage& m) {
    if (m.Msg == CN_DRAWITEM) {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
        const auto index = static_cast<int>(item.itemID);
        if (index >= 0 && index < panels_->Count()) DrawPanel(item.hDC, panels_->Items(index), item.rcItem);
        m.Result = 1;
        return;
    }
    if (m.Msg == CM_COLORCHANGED) UpdateColour();
    TWinControl::WndProc(m);
}

void TCustomStatusBar::SetSimplePanel(bool v) {
    if (v == simplePanel_) return;
    simplePanel_ = v;
    if (HandleAllocated()) SendMessageW(WindowHandle(), SB_SIMPLE, v, 0);
}

void TCustomStatusBar::SetSimpleText(const std::wstring& v) {
    if (v == simpleText_) return;
    simpleText_ = v;
    UpdateSimpleText();
}

void TCustomStatusBar::SetSizeGrip(bool v) {
    if (v == sizeGrip_) return;
    sizeGrip_ = v;
    RecreateWnd();
}

void TCustomStatusBar::UpdateSimpleText() {
    if (HandleAllocated())
        SendMessageW(WindowHandle(), SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TCustomStatusBar::UpdateColour() {
    if (!HandleAllocated()) return;
    const COLORREF c = Color() == clBtnFace ? CLR_DEFAULT : ColorToRGB(Color());
    SendMessageW(WindowHandle(), SB_SETBKCOLOR, 0, static_cast<LPARAM>(c));
}

void TCustomStatusBar::UpdatePanels() {
    if (!HandleAllocated()) return;
    HWND wnd = WindowHandle();
    const int count = std::min(panels_->Count(), kMaxParts);
    if (count == 0) {
        int edge = -1;
        SendMessageW(wnd, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&edge));
        SendMessageW(wnd, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
        return;
    }
    // Parts are given by their right edges; the last one takes the rest.
    std::vector<int> edges(static_cast<std::size_t>(count));
    int right = 0;
    for (int i = 0; i < count - 1; ++i) {
        right += panels_->Items(i)->Width();
        edges[static_cast<std::size_t>(i)] = right;
    }
    edges.back() = -1;
    SendMessageW(wnd, SB_SETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < count; ++i) {
        const TStatusPanel& panel = *panels_->Items(i);
        WPARAM flags = 0;
        if (panel.Bevel() == TStatusPanelBevel::pbNone) flags |= SBT_NOBORDERS;
        if (panel.Bevel() == TStatusPanelBevel::pbRaised) flags |= SBT_POPOUT;
        if (panel.Style() == TStatusPanelStyle::psOwnerDraw) flags |= SBT_OWNERDRAW;
        // The control centres text after one tab and right-aligns it after two.
        std::wstring text = panel.Text();
        if (panel.Alignment() == TAlignment::taCenter) text.insert(0, L"\t");
        if (panel.Alignment() == TAlignment::taRightJustify) text.insert(0, L"\t\t");
        // An owner-drawn part's lParam is item data, not text: it draws its own.
        const LPARAM data = (flags & SBT_OWNERDRAW) ? 0 : reinterpret_cast<LPARAM>(text.c_str());
        SendMessageW(wnd, SB_SETTEXTW, static_cast<WPARAM>(i) | flags, data);
    }
}
