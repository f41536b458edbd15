#include "classlib/Controls.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "classlib/Forms.h"
#include "classlib/Menus.h"

namespace {

const std::vector<std::wstring_view> kAlignNames{L"alNone", L"alTop", L"alBottom", L"alLeft", L"alRight", L"alClient"};

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK; }

POINT PointFromLParam(LPARAM l) { return {static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))}; }

}  // namespace

// ---------------------------------------------------------------- TControl

const TClassInfo& TControl::StaticClass() {
    static const TClassInfo info(
        L"TControl", &TComponent::StaticClass(),
        {
            props::Integer(L"Left", &TControl::Left, &TControl::SetLeft),
            props::Integer(L"Top", &TControl::Top, &TControl::SetTop),
            props::Integer(L"Width", &TControl::Width, &TControl::SetWidth),
            props::Integer(L"Height", &TControl::Height, &TControl::SetHeight),
            props::Integer(L"ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth),
            props::Integer(L"ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight),
            props::Enumeration(L"Align", &TControl::Align, &TControl::SetAlign, kAlignNames),
            props::Boolean(L"Visible", &TControl::Visible, &TControl::SetVisible),
            props::Boolean(L"Enabled", &TControl::Enabled, &TControl::SetEnabled),
            props::Colour(L"Color", &TControl::Color, &TControl::SetColor),
            props::Boolean(L"ParentColor", &TControl::ParentColor, &TControl::SetParentColor),
            props::Object(L"Font", &TControl::Font),
            props::Boolean(L"ParentFont", &TControl::ParentFont, &TControl::SetParentFont),
            props::Text(L"Caption", &TControl::Caption, &TControl::SetCaption),
            props::Text(L"Text", &TControl::Text, &TControl::SetTextProp),
            props::Text(L"Hint", &TControl::Hint, &TControl::SetHint),
            props::Boolean(L"ShowHint", &TControl::ShowHint, &TControl::SetShowHint),
            props::Boolean(L"ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint),
            props::Reference(L"PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu),
            props::Event(L"OnClick", &TControl::OnClick),
            props::Event(L"OnDblClick", &TControl::OnDblClick),
            props::Event(L"OnMouseDown", &TControl::OnMouseDown),
            props::Event(L"OnMouseUp", &TControl::OnMouseUp),
            props::Event(L"OnMouseMove", &TControl::OnMouseMove),
        });
    return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), color_(clBtnFace), font_(std::make_unique<TFont>()) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    font_->OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
    if (parent_) parent_->RemoveControl(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    if (WindowProc) WindowProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& m) {
    if (IsMouseMessage(m.Msg)) HandleMouse(m);
    switch (m.Msg) {
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        break;
    case CM_FONTCHANGED:
        Invalidate();
        break;
    case CM_PARENTCOLORCHANGED:
        if (parentColor_ && parent_) {
            SetColor(parent_->Color());
            parentColor_ = true;
        }
        break;
    case CM_PARENTFONTCHANGED:
        if (parentFont_ && parent_) {
            font_->Assign(*parent_->Font());
            parentFont_ = true;
        }
        break;
    case CM_PARENTSHOWHINTCHANGED:
        if (parentShowHint_ && parent_) {
            showHint_ = parent_->ShowHint();
        }
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        // Parents hear about their children's enter and leave (lParam = the child).
        if (parent_) parent_->Perform(m.Msg, m.WParam, m.LParam ? m.LParam : reinterpret_cast<LPARAM>(this));
        break;
    default:
        break;
    }
    DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::HandleMouse(TMessage& m) {
    const POINT p = PointFromLParam(m.LParam);
    const TShiftState shift = MouseKeysToShiftState(m.WParam);
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (m.Msg == WM_LBUTTONDBLCLK && OnDblClick) OnDblClick(this);
        clicked_ = true;
        MouseDown(TMouseButton::mbLeft, shift | (m.Msg == WM_LBUTTONDBLCLK ? TShiftState{ssDouble} : TShiftState{0}), p.x, p.y);
        break;
    case WM_RBUTTONDOWN:
        MouseDown(TMouseButton::mbRight, shift, p.x, p.y);
        break;
    case WM_MBUTTONDOWN:
        MouseDown(TMouseButton::mbMiddle, shift, p.x, p.y);
        break;
    case WM_LBUTTONUP: {
        const bool wasClicked = clicked_;
        clicked_ = false;
        MouseUp(TMouseButton::mbLeft, shift, p.x, p.y);
        const RECT r = ClientRect();
        if (wasClicked && (ControlStyle & csClickEvents) && PtInRect(&r, p)) Click();
        break;
    }
    case WM_RBUTTONUP:
        MouseUp(TMouseButton::mbRight, shift, p.x, p.y);
        break;
    case WM_MBUTTONUP:
        MouseUp(TMouseButton::mbMiddle, shift, p.x, p.y);
        break;
    case WM_MOUSEMOVE:
        MouseMove(shift, p.x, p.y);
        break;
    default:
        break;
    }
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw Exception("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetBoundsFields(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = std::max(0, width);
    height_ = std::max(0, height);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    Invalidate();
    SetBoundsFields(left, top, width, height);
    Invalidate();
    RequestAlign();
}

void TControl::SetClientSize(int width, int height) {
    const RECT r = ClientRect();
    SetBounds(left_, top_, width_ + width - r.right, height_ + height - r.bottom);
}

POINT TControl::ClientOrigin() const {
    if (!parent_) return {left_, top_};
    POINT p = parent_->ClientOrigin();
    return {p.x + left_, p.y + top_};
}

POINT TControl::ClientToScreen(POINT p) const {
    const POINT o = ClientOrigin();
    return {p.x + o.x, p.y + o.y};
}

POINT TControl::ScreenToClient(POINT p) const {
    const POINT o = ClientOrigin();
    return {p.x - o.x, p.y - o.y};
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    RequestAlign();
}

void TControl::RequestAlign() {
    if (parent_ && !IsLoading()) parent_->Realign();
}

void TControl::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    Perform(CM_VISIBLECHANGED, v);
    RequestAlign();
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor color) {
    if (color != color_) {
        color_ = color;
        Perform(CM_COLORCHANGED);
    }
    parentColor_ = false;
}

void TControl::SetParentColor(bool v) {
    parentColor_ = v;
    if (v && parent_) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool v) {
    parentFont_ = v;
    if (v && parent_) Perform(CM_PARENTFONTCHANGED);
}

void TControl::FontChanged() {
    parentFont_ = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetText(const std::wstring& text) {
    if (text == text_) return;
    text_ = text;
    Perform(CM_TEXTCHANGED);
}

void TControl::SetShowHint(bool v) {
    showHint_ = v;
    parentShowHint_ = false;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool v) {
    parentShowHint_ = v;
    if (v && parent_) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    popupMenu_ = menu;
    if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::Invalidate() {
    if (parent_ && parent_->HandleAllocated()) {
        const RECT r = BoundsRect();
        InvalidateRect(parent_->WindowHandle(), &r, !(ControlStyle & csOpaque));
    }
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    if (auto* w = As<TWinControl>(this); w && w->HandleAllocated())
        SetWindowPos(w->WindowHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

// ---------------------------------------------------------------- TGraphicControl

const TClassInfo& TGraphicControl::StaticClass() {
    static const TClassInfo info(L"TGraphicControl", &TControl::StaticClass());
    return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(std::make_unique<TCanvas>()) {}

void TGraphicControl::WndProc(TMessage& m) {
    if (m.Msg == WM_PAINT && m.WParam) {
        PaintOn(reinterpret_cast<HDC>(m.WParam));
        return;
    }
    TControl::WndProc(m);
}

void TGraphicControl::PaintOn(HDC dc) {
    canvas_->SetHandle(dc);
    canvas_->Font()->Assign(*Font());
    canvas_->Brush()->SetColor(Color());
    Paint();
    canvas_->SetHandle(nullptr);
}

void TGraphicControl::Invalidate() { TControl::Invalidate(); }

void TGraphicControl::Update() {
    if (Parent()) Parent()->Update();
}

// ---------------------------------------------------------------- TWinControl

const TClassInfo& TWinControl::StaticClass() {
    static const TClassInfo info(L"TWinControl", &TControl::StaticClass(),
                                 {
                                     props::Integer(L"TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder),
                                     props::Boolean(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop),
                                     props::Event(L"OnKeyDown", &TWinControl::OnKeyDown),
                                     props::Event(L"OnKeyUp", &TWinControl::OnKeyUp),
                                     props::Event(L"OnKeyPress", &TWinControl::OnKeyPress),
                                     props::Event(L"OnEnter", &TWinControl::OnEnter),
                                     props::Event(L"OnExit", &TWinControl::OnExit),
                                 });
    return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), brush_(std::make_unique<TBrush>()) {
    brush_->SetColor(Color());
}

TWinControl::~TWinControl() {
    // Leave the parent while this is still a windowed control: the parent
    // keeps windowed children in its tab list too.
    if (Parent()) Parent()->RemoveControl(this);
    // Children outlive this part of us only as orphans: they are owned, and
    // freed, by their owner.
    for (TControl* c : std::vector<TControl*>(controls_)) RemoveControl(c);
    DestroyHandle();
}

ATOM TWinControl::ControlAtom() {
    // Named after the module and the thread, as the skin engine expects.
    thread_local const ATOM atom = [] {
        wchar_t name[64];
        swprintf(name, 64, L"ControlOfs%.8X%.8X",
                 static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr))),
                 static_cast<unsigned>(GetCurrentThreadId()));
        return GlobalAddAtomW(name);
    }();
    return atom;
}

namespace {

// The controls of this thread's windows, as their window property says. The
// window procedure needs its control for every message, and under Wine
// reading a window property is a round trip to the window server (tens of
// microseconds); this copy is read instead. Both are set and cleared together.
std::unordered_map<HWND, TWinControl*>& ThreadControls() {
    thread_local std::unordered_map<HWND, TWinControl*> controls;
    return controls;
}

}  // namespace

TWinControl* TWinControl::FindControl(HWND wnd) {
    if (!wnd) return nullptr;
    const auto& controls = ThreadControls();
    const auto found = controls.find(wnd);
    return found == controls.end() ? nullptr : found->second;
}

void TWinControl::Attach(HWND wnd) {
    handle_ = wnd;
    SetPropW(wnd, MAKEINTATOM(ControlAtom()), this);
    ThreadControls()[wnd] = this;
}

void TWinControl::Detach() {
    if (!handle_) return;
    RemovePropW(handle_, MAKEINTATOM(ControlAtom()));
    ThreadControls().erase(handle_);
    handle_ = nullptr;
}

LRESULT CALLBACK TWinControl::StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = FindControl(wnd);
    if (!control && msg == WM_NCCREATE) {
        control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (control) control->Attach(wnd);
    }
    if (!control) return DefWindowProcW(wnd, msg, wParam, lParam);
    // A CN_NOTIFY from Windows carries an NMHDR pointer; the skin engine's
    // announcement shares the number with a small lParam that is none.
    if (msg == CN_NOTIFY && static_cast<ULONG_PTR>(lParam) < 0x10000) return 0;
    TMessage m{msg, wParam, lParam, 0};
    // Nothing escapes into Windows: the application's handler reports it.
    try {
        control->WindowProc(m);
    } catch (...) {
        if (Application) Application->HandleException(control);
    }
    if (msg == WM_NCDESTROY) control->Detach();
    return m.Result;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = text_;
    p.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (Visible()) p.Style |= WS_VISIBLE;
    if (!Enabled()) p.Style |= WS_DISABLED;
    if (tabStop_) p.Style |= WS_TABSTOP;
    p.X = Left();
    p.Y = Top();
    p.Width = Width();
    p.Height = Height();
    p.WndParent = Parent() ? Parent()->Handle() : parentWindow_;
    p.WinClassName = std::wstring(ClassName());
}

void TWinControl::CreateSubClass(TCreateParams& p, const wchar_t* windowsClass) { p.SubClassName = windowsClass; }

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    if (!(p.Style & WS_CHILD) || p.WndParent) {
        // fine: top-level, or a child with a parent window
    } else {
        throw Exception("Control '" + WideToUtf8(Name()) + "' has no parent window");
    }
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExW(instance, p.WinClassName.c_str(), &existing) || existing.lpfnWndProc != StdWndProc) {
        WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
        if (!p.SubClassName.empty()) {
            if (!GetClassInfoExW(nullptr, p.SubClassName.c_str(), &wc) &&
                !GetClassInfoExW(instance, p.SubClassName.c_str(), &wc))
                throw Exception("Window class " + WideToUtf8(p.SubClassName) + " is not registered");
            wc.cbSize = sizeof wc;
            wc.style &= ~CS_GLOBALCLASS;
        } else {
            wc.style = p.ClassStyle;
            wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        }
        wc.lpfnWndProc = StdWndProc;
        wc.hInstance = instance;
        wc.lpszClassName = p.WinClassName.c_str();
        wc.lpszMenuName = nullptr;
        RegisterClassExW(&wc);  // fails only if registered meanwhile; CreateWindow tells
    }
    defWndProc_ = DefWindowProcW;
    if (!p.SubClassName.empty()) {
        WNDCLASSEXW sub{};
    sub.cbSize = sizeof sub;
        if (GetClassInfoExW(nullptr, p.SubClassName.c_str(), &sub) ||
            GetClassInfoExW(instance, p.SubClassName.c_str(), &sub))
            defWndProc_ = sub.lpfnWndProc;
    }
    creating_ = true;
    HWND wnd = CreateWindowExW(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                               p.Height, p.WndParent, p.Menu, instance, this);
    creating_ = false;
    if (!wnd || handle_ != wnd) {
        if (wnd) DestroyWindow(wnd);
        throw Exception("Error creating window of class " + WideToUtf8(p.WinClassName));
    }
}

HWND TWinControl::Handle() {
    if (!handle_) {
        CreateWnd();
        SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
        // Children made before the window get theirs now, in z-order.
        for (TControl* c : std::vector<TControl*>(controls_))
            if (auto* w = As<TWinControl>(c)) w->HandleNeeded();
        CreateHandleDone();
        Realign();
    }
    return handle_;
}

void TWinControl::DestroyWnd() {
    text_ = GetText();
    HWND wnd = handle_;
    DestroyWindow(wnd);
    if (handle_ == wnd) Detach();  // a window that ignored WM_NCDESTROY
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    for (TControl* c : controls_)
        if (auto* w = As<TWinControl>(c)) w->DestroyHandle();
    DestroyWnd();
}

void TWinControl::RecreateWnd() {
    // Through the message, so that whoever replaced WindowProc (a skin
    // painter) learns that the window it works on is gone and new.
    if (handle_) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (auto* w = As<TWinControl>(control)) {
        tabList_.push_back(w);
        if (handle_) w->HandleNeeded();
    }
    control->Perform(CM_PARENTCOLORCHANGED);
    control->Perform(CM_PARENTFONTCHANGED);
    control->Perform(CM_PARENTSHOWHINTCHANGED);
    if (!As<TWinControl>(control)) control->Invalidate();
    Realign();
}

void TWinControl::RemoveControl(TControl* control) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end()) return;
    if (auto* w = As<TWinControl>(control)) {
        w->DestroyHandle();
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
    } else {
        control->Invalidate();
    }
    controls_.erase(std::find(controls_.begin(), controls_.end(), control));
    control->parent_ = nullptr;
    Realign();
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        const RECT r = c->BoundsRect();
        if (c->Visible() && (allowDisabled || c->Enabled()) && PtInRect(&r, p)) return c;
    }
    return nullptr;
}

void TWinControl::NotifyChildren(UINT msg) {
    for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(msg);
}

void TWinControl::Broadcast(TMessage& m) {
    for (TControl* c : std::vector<TControl*>(controls_)) {
        c->WindowProc(m);
        if (m.Result != 0) return;
    }
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    const auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent()) return;
    auto& list = Parent()->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

void TWinControl::SetTabStop(bool v) {
    if (v == tabStop_) return;
    tabStop_ = v;
    if (handle_) {
        LONG style = GetWindowLongW(handle_, GWL_STYLE);
        SetWindowLongW(handle_, GWL_STYLE, v ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
    Perform(CM_TABSTOPCHANGED);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop,
                                          bool checkParent) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    auto it = std::find(list.begin(), list.end(), current);
    std::size_t start = it == list.end() ? (forward ? list.size() - 1 : 0) : static_cast<std::size_t>(it - list.begin());
    std::size_t i = start;
    for (std::size_t n = 0; n < list.size(); ++n) {
        i = forward ? (i + 1) % list.size() : (i + list.size() - 1) % list.size();
        TWinControl* c = list[i];
        if (c == current) break;
        if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this) && c->CanFocus()) return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, forward, checkTabStop, false)) next->SetFocus();
}

bool TWinControl::CanFocus() const {
    for (const TWinControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TWinControl::SetFocus() {
    TCustomForm* form = GetParentForm(this);
    if (form && form != static_cast<TControl*>(this) && !form->Showing()) {
        form->SetActiveControl(this);
        return;
    }
    ::SetFocus(Handle());
}

RECT TWinControl::ClientRect() const {
    RECT r{0, 0, Width(), Height()};
    if (handle_) GetClientRect(handle_, &r);
    return r;
}

POINT TWinControl::ClientOrigin() const {
    POINT p{0, 0};
    if (handle_) ::ClientToScreen(handle_, &p);
    else return TControl::ClientOrigin();
    return p;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (handle_ && !creating_) {
        if (left != Left() || top != Top() || width != Width() || height != Height())
            SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        // WM_WINDOWPOSCHANGED stores what Windows made of it.
        return;
    }
    const bool resized = width != Width() || height != Height();
    SetBoundsFields(left, top, width, height);
    if (resized) Realign();
    RequestAlign();
}

bool TWinControl::Showing() const {
    if (!Visible()) return false;
    if (Parent()) return Parent()->Showing();
    return handle_ && IsWindowVisible(handle_);
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::Realign() {
    if (IsLoading() || aligning_) return;
    RECT r = ClientRect();
    AlignControls(r);
}

void TWinControl::AlignControls(RECT& rect) {
    ++aligning_;
    // Top, bottom, left, right, then client: each takes its edge of what is left.
    for (TAlign a : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
        for (TControl* c : controls_) {
            if (c->Align() != a || !c->Visible()) continue;
            const int w = rect.right - rect.left, h = rect.bottom - rect.top;
            switch (a) {
            case TAlign::alTop:
                c->SetBounds(rect.left, rect.top, w, c->Height());
                rect.top += c->Height();
                break;
            case TAlign::alBottom:
                c->SetBounds(rect.left, rect.bottom - c->Height(), w, c->Height());
                rect.bottom -= c->Height();
                break;
            case TAlign::alLeft:
                c->SetBounds(rect.left, rect.top, c->Width(), h);
                rect.left += c->Width();
                break;
            case TAlign::alRight:
                c->SetBounds(rect.right - c->Width(), rect.top, c->Width(), h);
                rect.right -= c->Width();
                break;
            default:
                c->SetBounds(rect.left, rect.top, w, h);
                break;
            }
        }
    }
    --aligning_;
}

void TWinControl::SetText(const std::wstring& text) {
    if (handle_) {
        if (text == GetText()) return;
        SetWindowTextW(handle_, text.c_str());
        Perform(CM_TEXTCHANGED);
    } else {
        TControl::SetText(text);
    }
}

std::wstring TWinControl::GetText() const {
    if (!handle_) return text_;
    const int n = GetWindowTextLengthW(handle_);
    std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(handle_, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(std::max(0, got)));
    return s;
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (handle_) m.Result = CallWindowProcW(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::ReflectToChild(TMessage& m, HWND child) {
    TWinControl* c = FindControl(child);
    if (c && c != this) {
        m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
    }
    DefaultHandler(m);
}

void TWinControl::UpdateShowing() {
    if (Visible() && !handle_ && (Parent() ? Parent()->HandleAllocated() : false)) HandleNeeded();
    if (!handle_) return;
    if (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD)
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

bool TWinControl::IsMenuKey(TMessage& m) {
    for (TControl* c = this; c; c = c->Parent())
        if (c->PopupMenu() && c->PopupMenu()->IsShortCut(m)) return true;
    TCustomForm* form = GetParentForm(this);
    return form && form->IsShortCut(m);
}

void TWinControl::CNKeyDown(TMessage& m) {
    m.Result = 1;
    if (IsMenuKey(m)) return;
    if (m.Msg == CN_KEYDOWN) {
        DWORD mask = 0;
        switch (m.WParam) {
        case VK_TAB: mask = DLGC_WANTTAB; break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN: mask = DLGC_WANTARROWS; break;
        case VK_RETURN:
        case VK_EXECUTE:
        case VK_ESCAPE:
        case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
        default: break;
        }
        if (mask && Perform(CM_WANTSPECIALKEY, m.WParam, m.LParam) == 0 &&
            (Perform(WM_GETDLGCODE) & mask) == 0) {
            TCustomForm* form = GetParentForm(this);
            if (form && form->Perform(CM_DIALOGKEY, m.WParam, m.LParam) != 0) return;
        }
    }
    m.Result = 0;
}

void TWinControl::CNChar(TMessage& m) {
    TCustomForm* form = GetParentForm(this);
    if (m.Msg == CN_CHAR) {
        m.Result = 1;
        if ((Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0 && form &&
            form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0)
            return;
        m.Result = 0;
    } else {  // CN_SYSCHAR: Alt+key
        m.Result = (m.WParam != VK_SPACE && form) ? form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) : 0;
    }
}

bool TWinControl::DoKeyDown(TMessage& m) {
    WORD key = static_cast<WORD>(m.WParam);
    KeyDown(key, KeyDataToShiftState(m.LParam));
    return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& m) {
    wchar_t key = static_cast<wchar_t>(m.WParam);
    KeyPress(key);
    if (key == 0) return true;
    m.WParam = key;
    return false;
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyPress(wchar_t& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::PaintWindow(HDC dc) {
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(m);
}

void TWinControl::PaintHandler(TMessage& m) {
    PAINTSTRUCT ps{};
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    const bool own = dc == nullptr;
    if (own) dc = BeginPaint(handle_, &ps);
    {
        SavedDC saved(dc);
        // Windowed children paint themselves: keep their area out.
        for (TControl* c : controls_)
            if (auto* w = As<TWinControl>(c); w && w->Visible() && w->HandleAllocated()) {
                const RECT r = w->BoundsRect();
                ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
            }
        PaintWindow(dc);
    }
    PaintControls(dc);
    if (own) EndPaint(handle_, &ps);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    auto it = controls_.begin();
    if (first) it = std::find(controls_.begin(), controls_.end(), first);
    for (; it != controls_.end(); ++it) {
        TControl* c = *it;
        if (As<TWinControl>(c) || !c->Visible()) continue;
        const RECT r = c->BoundsRect();
        if (!RectVisible(dc, &r)) continue;
        SavedDC saved(dc);
        POINT org;
        GetViewportOrgEx(dc, &org);
        SetViewportOrgEx(dc, org.x + r.left, org.y + r.top, nullptr);
        IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
    }
}

void TWinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        if (ControlCount() == 0 && !Is<TCustomControl>()) break;
        PaintHandler(m);
        return;
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(handle_, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush_->Handle());
        m.Result = 1;
        return;
    }
    case WM_PRINTCLIENT:
        if (ControlCount() == 0) break;
        PaintWindow(reinterpret_cast<HDC>(m.WParam));
        PaintControls(reinterpret_cast<HDC>(m.WParam));
        return;
    case WM_COMMAND:
        if (m.LParam) return ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
        break;
    case WM_NOTIFY:
        return ReflectToChild(m, reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (m.LParam) return ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
        break;
    case WM_DRAWITEM:
        if (reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->CtlType != ODT_MENU)
            return ReflectToChild(m, reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem);
        break;
    case WM_MEASUREITEM:
        if (reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->CtlType != ODT_MENU && handle_)
            return ReflectToChild(m, GetDlgItem(handle_, static_cast<int>(m.WParam)));
        break;
    case WM_DELETEITEM:
        return ReflectToChild(m, reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam)->hwndItem);
    case WM_COMPAREITEM:
        return ReflectToChild(m, reinterpret_cast<COMPAREITEMSTRUCT*>(m.LParam)->hwndItem);
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
        return ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        SetBkColor(dc, ColorToRGB(Color()));
        m.Result = reinterpret_cast<LRESULT>(brush_->Handle());
        return;
    }
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
        return CNKeyDown(m);
    case CN_CHAR:
    case CN_SYSCHAR:
        return CNChar(m);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (DoKeyDown(m)) return;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (OnKeyUp) {
            WORD key = static_cast<WORD>(m.WParam);
            OnKeyUp(this, key, KeyDataToShiftState(m.LParam));
            if (key == 0) return;
        }
        break;
    case WM_CHAR:
        if (DoKeyPress(m)) return;
        break;
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(this); form && form != static_cast<TControl*>(this))
            form->SetFocusedControl(this);
        break;
    case WM_WINDOWPOSCHANGED: {
        const auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
        if (!(wp->flags & SWP_NOSIZE) || !(wp->flags & SWP_NOMOVE)) {
            RECT r;
            GetWindowRect(handle_, &r);
            if (HWND parent = GetParent(handle_); parent && (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD))
                MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
            const bool resized = r.right - r.left != Width() || r.bottom - r.top != Height();
            SetBoundsFields(r.left, r.top, r.right - r.left, r.bottom - r.top);
            if (resized) {
                Realign();
                RequestAlign();
            }
        }
        break;
    }
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
        TrackMouseEvent(&t);
        break;
    }
    case WM_MOUSELEAVE:
        if (Application) Application->CheckMouseControl();
        break;
    case CM_VISIBLECHANGED:
        UpdateShowing();
        break;
    case CM_ENABLEDCHANGED:
        if (handle_) EnableWindow(handle_, Enabled());
        break;
    case CM_COLORCHANGED:
        brush_->SetColor(Color());
        Invalidate();
        NotifyChildren(CM_PARENTCOLORCHANGED);
        break;
    case CM_FONTCHANGED:
        if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
        NotifyChildren(CM_PARENTFONTCHANGED);
        break;
    case CM_SHOWHINTCHANGED:
        NotifyChildren(CM_PARENTSHOWHINTCHANGED);
        break;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED:
        Broadcast(m);
        if (m.Result != 0 || m.Msg == CM_FOCUSCHANGED) return;
        break;
    case CM_RECREATEWND:
        if (handle_) {
            DestroyHandle();
            HandleNeeded();
        }
        return;
    default:
        break;
    }
    if (IsMouseMessage(m.Msg) && ForwardMouseToChild(m)) return;
    TControl::WndProc(m);
}

bool TWinControl::ForwardMouseToChild(TMessage& m) {
    // A windowless child under the mouse (or holding it) gets the message in its coordinates.
    POINT p = PointFromLParam(m.LParam);
    TControl* target = mouseCapture_;
    if (!target) {
        target = ControlAtPos(p);
        if (target && As<TWinControl>(target)) target = nullptr;
    }
    if (!target) return false;
    if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN) {
        mouseCapture_ = target;
        SetCapture(handle_);
    } else if ((m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP) && mouseCapture_) {
        mouseCapture_ = nullptr;
        ReleaseCapture();
    }
    m.Result = target->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top()));
    return true;
}

// ---------------------------------------------------------------- TCustomControl

const TClassInfo& TCustomControl::StaticClass() {
    static const TClassInfo info(L"TCustomControl", &TWinControl::StaticClass());
    return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {}

void TCustomControl::PaintWindow(HDC dc) {
    canvas_->SetHandle(dc);
    canvas_->Font()->Assign(*Font());
    canvas_->Brush()->SetColor(Color());
    Paint();
    canvas_->SetHandle(nullptr);
}

// ---------------------------------------------------------------- helpers

TCustomForm* GetParentForm(const TControl* control) {
    const TControl* c = control;
    while (c && c->Parent()) c = c->Parent();
    return As<TCustomForm>(const_cast<TControl*>(c));
}

TWinControl* FindVCLWindow(HWND wnd) {
    for (; wnd; wnd = GetParent(wnd))
        if (TWinControl* c = TWinControl::FindControl(wnd)) return c;
    return nullptr;
}
