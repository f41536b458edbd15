#include "skin/forms/WinSkinForm.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/Icon.h"
#include "classlib/Menus.h"
#include "classlib/Timer.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/NCObjects.h"
#include "skin/forms/WinSkinMenu.h"

namespace {

constexpr UINT kFrameChangedOnly =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;  // 55
constexpr UINT kThemedCaption = 0x00AE;

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, name + std::max(length, 0));
}

HFONT MakeTitleFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
    return CreateFontIndirectW(&metrics.lfCaptionFont);
}

DWORD PlatformVersion() {
    if (TSkinManage* manager = TSkinManage::Instance(); manager && manager->PlatformVersion) return manager->PlatformVersion;
    return GetVersion();
}

}  // namespace

// ---- creation and destruction

TWinSkinForm::TWinSkinForm(HWND window, TCustomForm* form, TSkinData& skinData)
    : TSkinnedForm(window, form, skinData), TitleFont(MakeTitleFont()), Form(form), Handle(window), SkinData(&skinData) {
    DoubleClickTime = static_cast<int>(GetDoubleClickTime());
    Active = true;
    AttachState = kAttached;
}

TWinSkinForm::~TWinSkinForm() {
    if (!Detached) DetachQuiet();
    FreePainters();
    SysButtons.clear();
    HoverTimer.reset();
    SkinMenu.reset();
    SystemPopup.reset();
    // The manager takes this object out of its list before freeing it, so
    // there is no entry to remove here: a new form object of the same window
    // may already be listed.
}

bool TWinSkinForm::Busy() const {
    return FrameSubclass.Dispatching() > 0 || ClientSubclass.Dispatching() > 0 || FormDispatching > 0;
}

void TWinSkinForm::FormGone() {
    Form = nullptr;
    OldWindowProc.Restore(true);
}

void TWinSkinForm::CallPrevious(TMessage& message) {
    message.Result = FrameSubclass.CallPrevious(Handle, message.Msg, message.WParam, message.LParam);
}

TDataSkinBorder* TWinSkinForm::FramePiece(int index) const {
    if (!SkinData) return nullptr;
    switch (index) {
    case 1: return SkinData->FrameLeft.get();
    case 2: return SkinData->FrameRight.get();
    case 3: return SkinData->FrameTop.get();
    case 4: return SkinData->FrameBottom.get();
    default: return nullptr;
    }
}

bool TWinSkinForm::TopPieceUsable() const {
    const TDataSkinBorder* top = FramePiece(3);
    return top && top->Frame >= 1 && !top->Bitmap.Empty() && top->Bitmap.Height() / top->Frame > 0;
}

// ---- attach

void TWinSkinForm::AttachToForm(TSkinData* skinData, TCustomForm* form) {
    if (FrameSubclass.Installed() || !form) return;
    Form = form;
    form->SetProperty(L"AutoScroll", TValue(false));
    AttachToWindow(skinData);
    if (FrameSkinned) {
        OldWindowProc.Install(form, [this](TMessage& message) {
            ++FormDispatching;
            struct Leave {
                int& depth;
                ~Leave() { --depth; }
            } leave{FormDispatching};
            FormWindowProc(message);
        });
    }
    SavedColor = form->Color();
    form->SetColor(SkinData->ButtonFaceColour);
    if (SkinData->HasSkinControl(xcMenuItem)) SetMenuOwnerDraw(form, *this, true);
}

void TWinSkinForm::AttachToWindow(TSkinData* skinData) {
    if (FrameSubclass.Installed() || !skinData || !IsWindow(Handle)) return;
    TSkinManage* manager = TSkinManage::Instance();
    if (manager) manager->State = TSkinManage::kStateRunning;
    SkinData = skinData;
    HoverTimer = std::make_unique<TTimer>(nullptr);
    HoverTimer->SetEnabled(false);
    HoverTimer->SetInterval(250);
    HoverTimer->SetOnTimer([this](TObject*) { HoverTick(); });

    // A skin without a usable top piece would leave no caption to drag and
    // no buttons to close with: such a window keeps the system frame.
    FrameSkinned = SkinData->HasSkinControl(xcMainMenu) && TopPieceUsable();
    Style = GetWindowLongPtrW(Handle, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(Handle, GWL_EXSTYLE);
    RightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
    IsChild = (Style & WS_CHILD) != 0;
    WindowClass = ClassNameOf(Handle);
    Owner = GetWindow(Handle, GW_OWNER);

    SysFlags = (Style & WS_SYSMENU) || SystemMenu ? kSysMenu : 0;
    if (Style & WS_MINIMIZEBOX) SysFlags |= kSysMinimizeBox;
    if (Style & WS_MAXIMIZEBOX) SysFlags |= kSysMaximizeBox;

    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(Handle, &placement);
    if (placement.showCmd == SW_SHOWMINIMIZED || placement.showCmd == SW_MINIMIZE ||
        placement.showCmd == SW_SHOWMINNOACTIVE)
        WindowState = kStateMinimized;
    else if (placement.showCmd == SW_SHOWMAXIMIZED)
        WindowState = kStateMaximized;
    else
        WindowState = kStateNormal;

    Sizeable = (Style & WS_THICKFRAME) != 0;
    for (HWND child = GetTopWindow(Handle); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassNameOf(child) == L"MDIClient") {
            MDIKind = kMDIParent;
            MDIClient = child;
            if (manager) {
                manager->MDIClient = child;
                manager->MDIParentForm = Form;
            }
            break;
        }
    if (exStyle & WS_EX_MDICHILD) {
        MDIKind = kMDIChild;
        if (SkinData->HasOption(xoMDIChildBorder)) FrameSkinned = false;
    }

    FrameKind = kFrameFixed;
    if ((Style & WS_CAPTION) != WS_CAPTION)
        FrameKind = kFrameNone;
    else if (Style & WS_THICKFRAME)
        FrameKind = kFrameSizeable;
    else if (Style & 0x80)
        FrameKind = kFrameDialog;
    if (exStyle & WS_EX_DLGMODALFRAME) FrameKind = kFrameDialog;

    const DWORD version = PlatformVersion();
    const bool nt5Exactly = !(version & 0x80000000u) && LOBYTE(LOWORD(version)) == 5 && HIBYTE(LOWORD(version)) == 0;
    if (nt5Exactly && ((exStyle & WS_EX_APPWINDOW) || (!Owner && MDIKind != kMDIChild)))
        SysFlags |= kSysCaptionWorkaround;

    UnicodeWindow = IsWindowUnicode(Handle) != FALSE;
    if (WindowClass == L"#32770" || WindowClass == L"TMessageForm") {
        FrameKind = kFrameDialog;
        IsDialog = true;
    }
    if (version & 0x80000000u) SkinData->SetSkinControls(SkinData->SkinControls() & ~SetBit(xcSystemMenu));

    if (MDIKind == kMDIParent) {
        MenuUpdate = SkinData->MenuUpdate();
        ClientSubclass.Install(MDIClient, [this](HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
            TMessage message{msg, wParam, lParam, 0};
            ClientWndProc(message);
            return message.Result;
        });
    }

    FrameSubclass.Install(Handle, [this](HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
        TMessage message{msg, wParam, lParam, 0};
        FrameWndProc(message);
        return message.Result;
    });

    if (FrameSkinned) {
        if (GetMenu(Handle) && MDIKind != kMDIChild) {
            Menu = GetMenu(Handle);
            MenuBarHeight = GetSystemMetrics(SM_CYMENU);
            CreateMenuBar();
        }
        const bool keptMaximized = MDIKind == kMDIChild && manager && manager->MDIMaximized;
        if (!keptMaximized && WindowState != kStateMinimized && (SysFlags & kSysCaptionWorkaround))
            SetWindowLongPtrW(Handle, GWL_STYLE, GetWindowLongPtrW(Handle, GWL_STYLE) & ~WS_CAPTION);
        ComputeFrameMetrics();
    } else {
        AttachState = kRunning;
    }

    if (MDIKind == kMDIChild) {
        const int systemTop = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
        if (CaptionHeight < systemTop) MenuBarHeight = systemTop - CaptionHeight;
        if (WindowState == kStateMaximized && manager && !manager->MDIMaximized) manager->SetMDIMaximized(true);
    }
}

// ---- metrics, deferred set-up and sizing

void TWinSkinForm::ComputeFrameMetrics() {
    if (SkinData->SkinPending) return;
    if (FrameKind == kFrameNone) {
        BorderLeft = CaptionHeight = BorderRight = BorderBottom = MenuBarHeight = 0;
    } else {
        const auto across = [](const TDataSkinBorder* piece) {
            return piece && piece->Frame >= 1 ? piece->Bitmap.Width() / piece->Frame : 0;
        };
        const auto down = [](const TDataSkinBorder* piece) {
            return piece && piece->Frame >= 1 ? piece->Bitmap.Height() / piece->Frame : 0;
        };
        CaptionHeight = down(SkinData->FrameTop.get());
        BorderLeft = across(SkinData->FrameLeft.get());
        BorderRight = across(SkinData->FrameRight.get());
        BorderBottom = down(SkinData->FrameBottom.get());
    }
    for (const auto& element : SkinData->CaptionButtons) {
        if (element->Action != 3 && element->Action != 11) continue;
        BuildIconBitmap();
        if (element->Bitmap.Empty()) {
            element->Bitmap.Assign(IconBitmap);
            element->Frame = 1;
        }
    }
    RebuildCaptionButtons();
}

void TWinSkinForm::RebuildCaptionButtons() {
    SysButtons.clear();
    for (const auto& element : SkinData->CaptionButtons)
        SysButtons.push_back(std::make_unique<TWinSysButton>(*this, *element));
}

void TWinSkinForm::CreateMenuBar() {
    SkinMenu = std::make_unique<TWinSkinMenu>(*this);
    SkinMenu->Handle = Menu;
    SkinMenu->BuildItems();
}

void TWinSkinForm::TakeMenuOff() {
    if (AttachState == kAttached) {
        MenuOffPending = true;
        return;
    }
    SetMenu(Handle, nullptr);
}

bool TWinSkinForm::TakePendingMenuOff(std::optional<SIZE> size) {
    if (!MenuOffPending) return false;
    MenuOffPending = false;
    if (!GetMenu(Handle)) return false;
    // SetMenu changes the frame anyway: with a size, that change is made the resize.
    ForcedFrameSize = size;
    SetMenu(Handle, nullptr);
    ForcedFrameSize.reset();
    RECT r{};
    return size && GetWindowRect(Handle, &r) && r.right - r.left == size->cx && r.bottom - r.top == size->cy;
}

void TWinSkinForm::PaintMenuBar(HDC dc, const RECT& band) {
    if (SkinMenu) SkinMenu->PaintBar(dc, band);
}

void TWinSkinForm::MenuBarChanged() {
    if (!SkinMenu) return;
    if (HMENU menu = GetMenu(Handle)) Menu = menu;
    SkinMenu->BuildItems();
}

void TWinSkinForm::BuildIconBitmap() {
    IconSize = GetSystemMetrics(SM_CXSMICON);
    IconHandle = reinterpret_cast<HICON>(SendMessageW(Handle, WM_GETICON, ICON_SMALL, 0));
    if (!IconHandle) IconHandle = reinterpret_cast<HICON>(SendMessageW(Handle, WM_GETICON, ICON_BIG, 0));
    ScaledIconCopy.reset();  // the icon may have changed under the same handle
    IconBitmap.SetSize(IconSize, IconSize);
    HDC dc = IconBitmap.Canvas()->Handle();
    const RECT all{0, 0, IconSize, IconSize};
    UniqueBrush key(CreateSolidBrush(RGB(255, 0, 255)));
    FillRect(dc, &all, key.get());
    if (IconHandle) DrawIconEx(dc, 0, 0, IconHandle, IconSize, IconSize, 0, nullptr, DI_NORMAL);
}

HICON TWinSkinForm::ScaledIcon(HICON source) {
    if (!source) return nullptr;
    // A class-library form hands windows its icon made at the size asked for.
    if (Form && Form->Icon()->MadeAtSize(source, IconSize, IconSize)) return source;
    if (source != ScaledIconSource || IconSize != ScaledIconSize || !ScaledIconCopy) {
        ScaledIconCopy.reset(static_cast<HICON>(CopyImage(source, IMAGE_ICON, IconSize, IconSize, 0)));
        ScaledIconSource = source;
        ScaledIconSize = IconSize;
    }
    return ScaledIconCopy ? ScaledIconCopy.get() : source;
}

void TWinSkinForm::InitFrame() {
    const unsigned paintsBefore = FramePaints;
    bool sized = false;
    SystemMenu = GetSystemMenu(Handle, FALSE);
    BuildIconBitmap();
    RECT window{};
    GetWindowRect(Handle, &window);
    GetClientRect(Handle, &ClientRect);
    if (AttachState == kAttached) {
        SystemFrameWidth = (window.right - window.left) - (ClientRect.right - ClientRect.left);
        SystemFrameHeight = (window.bottom - window.top) - (ClientRect.bottom - ClientRect.top);
        // The system frame is counted without the Win32 menu that the skinned
        // bar takes off: a single-line bar is SM_CYMENU high, a wrapped one more.
        if (MenuOffPending && GetMenu(Handle)) {
            MENUBARINFO bar{};
            bar.cbSize = sizeof bar;
            int band = GetSystemMetrics(SM_CYMENU);
            if (GetMenuBarInfo(Handle, OBJID_MENU, 0, &bar))
                band = std::max(band, static_cast<int>(bar.rcBar.bottom - bar.rcBar.top));
            SystemFrameHeight -= band;
        }
    }
    SkinControls();
    if (AttachState == kAttached) {
        if (MDIKind == kMDIChild) {
            if (WindowState == kStateMaximized) {
                if (MDIClient || (MDIClient = GetParent(Handle))) PostMessageW(MDIClient, SKM_REDRAWMDI, 0, 0);
            } else if (WindowState == kStateMinimized) {
                if (SysFlags & kSysCaptionWorkaround)
                    SetWindowLongPtrW(Handle, GWL_STYLE, GetWindowLongPtrW(Handle, GWL_STYLE) | WS_CAPTION);
            } else {
                AttachState = kSizing;
                Resize(false);  // cuts the shape too
                sized = true;
                AttachState = kRunning;
            }
        } else if (!IsChild && FrameKind != kFrameNone && WindowState != kStateMinimized) {
            AttachState = kSizing;
            Resize(false);  // cuts the shape too, unless maximised
            sized = true;
            AttachState = kRunning;
            if (WindowState == kStateMaximized) SetWindowPos(Handle, nullptr, 0, 0, 0, 0, kFrameChangedOnly);
        }
    }
    // Set-up paths without a first sizing still lose the Win32 menu.
    TakePendingMenuOff(std::nullopt);
    // The announcement shares its number with the class library's
    // CN_NOTIFY; kSkinMagic in lParam tells it apart (never a pointer).
    SendMessageW(Handle, SKM_ANNOUNCE, 0, kSkinMagic);
    AttachState = kRunning;
    if (HoverTimer) HoverTimer->SetEnabled(true);
    // The frame was left unpainted until now. A first sizing redrew nothing
    // on its way, so the whole window is painted once from here; otherwise
    // the frame is painted now, unless something else did.
    if (sized) RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    if (FrameSkinned && !sized && FramePaints == paintsBefore) PaintFrame();
}

void TWinSkinForm::Resize(bool keepClient) {
    if (WindowState == kStateMinimized) {
        SetWindowPos(Handle, nullptr, 0, 0, 0, 0, kFrameChangedOnly);
        return;
    }
    int clientWidth = 0, clientHeight = 0;
    if (keepClient) {
        RECT r{};
        GetClientRect(Handle, &r);
        clientWidth = r.right;
        clientHeight = r.bottom;
    } else if (Form) {
        clientWidth = Form->ClientWidth();
        // The band is counted once: the client grew by it only if the menu
        // bar took the Win32 menu off the window.
        const bool menuTaken = MDIKind != kMDIChild && !GetMenu(Handle);
        clientHeight = Form->ClientHeight() - (menuTaken ? MenuBarHeight : 0);
    } else {
        clientWidth = ClientRect.right - ClientRect.left;
        clientHeight = ClientRect.bottom - ClientRect.top;
    }
    int width = BorderLeft + std::max(clientWidth, 0) + BorderRight;
    const int height = std::max(clientHeight, 0) + CaptionHeight + BorderBottom + MenuBarHeight;

    if (IsDialog && AttachState == kSizing && SkinData->Title) {
        const int length = GetWindowTextLengthW(Handle);
        std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(std::max(GetWindowTextW(Handle, text.data(), length + 1), 0)));
        {
            WindowDC dc(Handle, true);
            SelectedObject font(dc.get(), TitleFont.get());
            SIZE extent{};
            GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
            CaptionTextWidth = extent.cx;
        }
        const RECT& m = SkinData->Title->Margins;
        const int minimum = m.left + CaptionTextWidth + m.right;
        if (width < minimum) {
            const int shift = (minimum - width) / 2;
            for (HWND child = GetWindow(Handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                RECT r{};
                GetWindowRect(child, &r);
                MapWindowPoints(nullptr, Handle, reinterpret_cast<POINT*>(&r), 2);
                SetWindowPos(child, nullptr, r.left + shift, r.top, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
            }
            width = minimum;
        }
    }
    // The first sizing is painted once, when the set-up ends. Nothing is
    // redrawn on the way, and what waited to be painted waits for that:
    // under Wine every frame change over a window waiting to be painted
    // costs as much again as one over a painted window.
    const bool firstSizing = AttachState == kSizing;
    if (firstSizing) RedrawWindow(Handle, nullptr, nullptr, RDW_VALIDATE | RDW_FRAME | RDW_NOERASE | RDW_ALLCHILDREN);
    if (!TakePendingMenuOff(SIZE{width, height}))
        SetWindowPos(Handle, nullptr, 0, 0, width, height,
                     SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | (firstSizing ? SWP_NOREDRAW : 0));
    // The shape is cut for the final size. Cut before, its own frame change
    // would move the client area once more; no repaint of its own.
    if (firstSizing && WindowState == kStateNormal) BuildRegionFor(width, height, false);
    EnsureOnScreen();
}

void TWinSkinForm::EnsureOnScreen() {
    if (IsChild || WindowState != kStateNormal || !IsWindowVisible(Handle)) return;
    RECT r{};
    GetWindowRect(Handle, &r);
    // Inside the primary monitor's work area it is on screen whichever monitor
    // is nearest, and that area is known without asking the monitors.
    RECT primary{}, inside{};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary, 0) && IntersectRect(&inside, &r, &primary) &&
        EqualRect(&inside, &r))
        return;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromWindow(Handle, MONITOR_DEFAULTTONEAREST), &info)) return;
    const RECT& work = info.rcWork;
    int x = r.left, y = r.top;
    if (r.right > work.right) x -= r.right - work.right;
    if (r.bottom > work.bottom) y -= r.bottom - work.bottom;
    x = std::max(x, static_cast<int>(work.left));
    y = std::max(y, static_cast<int>(work.top));
    if (x != r.left || y != r.top)
        SetWindowPos(Handle, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinSkinForm::ReloadSkin() {
    if (Detached || AttachState == kDestroyed || !IsWindow(Handle)) return;
    const int previous = AttachState;
    AttachState = kReskinning;
    if (Form) Form->SetColor(SkinData->ButtonFaceColour);
    if (FrameSkinned && !TopPieceUsable()) {
        // The new skin has no caption to offer: back to the system frame.
        const int caption = CaptionHeight, left = BorderLeft, right = BorderRight, bottom = BorderBottom;
        RECT r{};
        GetWindowRect(Handle, &r);
        FrameSkinned = false;
        RestoreFormProc();
        RemoveRegion();
        SetWindowLongPtrW(Handle, GWL_STYLE, GetWindowLongPtrW(Handle, GWL_STYLE) | (Style & WS_SYSMENU));
        SetWindowPos(Handle, nullptr, 0, 0, r.right - r.left + SystemFrameWidth - left - right,
                     r.bottom - r.top + SystemFrameHeight - caption - bottom,
                     SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
    } else if (FrameSkinned) {
        ComputeFrameMetrics();
        if (previous != kAttached && !IsChild) Resize(true);
        BuildRegion();
    }
    for (TSkinControl* painter : std::vector<TSkinControl*>(SkinnedControls)) painter->SkinChanged();
    AttachState = previous == kAttached ? kAttached : kRunning;
}

void TWinSkinForm::Repaint() {
    if (IsWindow(Handle))
        RedrawWindow(Handle, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TWinSkinForm::SetMaximizedPainting(bool maximized) {
    if (MDIKind != kMDIChild || !FrameSkinned) return;
    if (maximized) {
        RemoveRegion();
    } else {
        RegionWidth = RegionHeight = 0;
        BuildRegion();
    }
    SetWindowPos(Handle, nullptr, 0, 0, 0, 0, kFrameChangedOnly);
}

POINT TWinSkinForm::WindowPoint(LPARAM screenPoint) const {
    POINT p{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    ScreenToClient(Handle, &p);
    if (!(MDIKind == kMDIChild && WindowState == kStateMinimized)) {
        p.x += BorderLeft;
        p.y += CaptionHeight + MenuBarHeight;
    }
    return p;
}

// ---- timer

void TWinSkinForm::HoverTick() {
    if (MenuTracking) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (HotObject && HitObject(WindowPoint(MAKELPARAM(cursor.x, cursor.y))) != HotObject) {
        // The cursor left the hot object without a non-client move telling.
        TMessage leave{WM_NCMOUSEMOVE, HTNOWHERE, MAKELPARAM(cursor.x, cursor.y), 0};
        NCMouseMove(leave);
    }
    if (!Form && OpenDropDown && OpenDropDown->Window) {
        RECT dropped{};
        SendMessageW(OpenDropDown->Window, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        if (!PtInRect(&dropped, cursor)) {
            SendMessageW(OpenDropDown->Window, CB_SHOWDROPDOWN, FALSE, 0);
            OpenDropDown = nullptr;
        }
    }
}

// ---- window procedure

void TWinSkinForm::NCCalcSize(TMessage& m) {
    RECT proposed{};
    if (m.WParam)
        proposed = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0];
    else
        proposed = *reinterpret_cast<RECT*>(m.LParam);
    CallPrevious(m);
    const bool systemClient = (MDIKind == kMDIChild && WindowState != kStateNormal) || FrameKind == kFrameNone;
    RECT client{proposed.left + BorderLeft, proposed.top + CaptionHeight + MenuBarHeight, proposed.right - BorderRight,
                proposed.bottom - BorderBottom};
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    if (!m.WParam) {
        // The same client area as a sized window gets, not the system's.
        if (!systemClient) *reinterpret_cast<RECT*>(m.LParam) = client;
        m.Result = 0;
        return;
    }
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
    if (!systemClient) params->rgrc[0] = client;
    params->rgrc[1] = params->rgrc[0];
    m.Result = WVR_VALIDRECTS;
}

void TWinSkinForm::NCHitTest(TMessage& m) {
    CallPrevious(m);
    switch (m.Result) {
    case HTSYSMENU:
    case HTCLOSE:
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTHELP:
        // The system buttons are not drawn on a skinned caption; a default
        // procedure that still sees them there must not act on them.
        m.Result = HTNOWHERE;
        break;
    default:
        break;
    }
    if (m.Result != HTNOWHERE && m.Result != HTCAPTION) return;
    const POINT p = WindowPoint(m.LParam);
    if (p.y > 3) m.Result = HTCAPTION;
    if (p.y > CaptionHeight && MenuBarHeight > 0) m.Result = HTMENU;
}

void TWinSkinForm::NCPaint(TMessage& m) {
    if (!(SysFlags & kSysCaptionWorkaround)) {
        const LONG_PTR style = GetWindowLongPtrW(Handle, GWL_STYLE);
        if (style & WS_SYSMENU) SetWindowLongPtrW(Handle, GWL_STYLE, style & ~WS_SYSMENU);
    }
    m.Result = 0;
    if (!SkinData->FramePaintEnabled) return;
    if ((MDIKind == kMDIChild && WindowState == kStateMaximized) || FrameKind == kFrameNone) {
        CallPrevious(m);
        return;
    }
    PaintFrame();
}

void TWinSkinForm::NCActivate(TMessage& m) {
    Active = m.WParam != 0;
    if (HoverTimer) {
        HoverTimer->SetEnabled(Active);
        if (!Active && OpenDropDown && OpenDropDown->Window) {
            SendMessageW(OpenDropDown->Window, CB_SHOWDROPDOWN, FALSE, 0);
            OpenDropDown = nullptr;
        }
    }
    if (MDIKind == kMDIParent && MDIClient) SendMessageW(MDIClient, WM_NCACTIVATE, m.WParam, m.LParam);
    if (MDIKind == kMDIChild) CallPrevious(m);
    // The frame already shows this activity unless the activation changed.
    if (!(MDIKind == kMDIChild && WindowState == kStateMaximized) && PaintedActive != static_cast<int>(Active))
        PaintFrame();
    m.Result = 1;
}

void TWinSkinForm::CaptionChange(TMessage& m) {
    const LONG_PTR style = GetWindowLongPtrW(Handle, GWL_STYLE);
    const bool strip = (style & WS_CAPTION) == WS_CAPTION;
    if (strip) SetWindowLongPtrW(Handle, GWL_STYLE, style & ~WS_CAPTION);
    CallPrevious(m);
    if (strip) SetWindowLongPtrW(Handle, GWL_STYLE, GetWindowLongPtrW(Handle, GWL_STYLE) | WS_CAPTION);
    if (m.Msg == WM_SETICON) BuildIconBitmap();
    PaintFrame();
}

// The frame-paint and skin queries, answered alike by the window and by the
// form's WindowProc; false when the message is not the engine's own.
bool TWinSkinForm::AnswerSkinQuery(TMessage& message) {
    if (message.Msg == SKM_QUERYSKIN) {
        message.Result = message.LParam == kSkinMagic ? kSkinMagic : 1;
        return true;
    }
    if (message.Msg != SKM_PAINTFRAMEDC || message.LParam != kSkinMagic) return false;
    PaintFrame(reinterpret_cast<HDC>(message.WParam));
    message.Result = kSkinMagic;
    return true;
}

void TWinSkinForm::FrameWndProc(TMessage& m) {
    // Stage 1: every window.
    switch (m.Msg) {
    case WM_NCPAINT:
        if (AttachState == kAttached) {
            m.Result = 0;
            return;
        }
        break;
    case WM_ERASEBKGND:
        CallPrevious(m);
        if (!Form) {
            RECT r{};
            GetClientRect(Handle, &r);
            FillRect(reinterpret_cast<HDC>(m.WParam), &r, SkinData->FaceBrush());
            m.Result = 1;
        }
        return;
    case WM_WINDOWPOSCHANGING:
        if (ForcedFrameSize) {
            // The window sees the frame change that was asked for; the skin's
            // size is set after it, so the system's track sizes, made for its
            // own frame, do not bend the skinned one (and are not computed:
            // under Wine that asks every monitor).
            CallPrevious(m);
            auto* position = reinterpret_cast<WINDOWPOS*>(m.LParam);
            position->cx = ForcedFrameSize->cx;
            position->cy = ForcedFrameSize->cy;
            position->flags &= ~(SWP_NOSIZE | SWP_NOREDRAW);
            // The first sizing is repainted when the set-up ends.
            if (AttachState == kSizing) position->flags |= SWP_NOREDRAW;
            return;
        }
        break;
    case WM_NCDESTROY:
        AttachState = kDestroying;
        DetachQuiet();
        CallPrevious(m);
        AttachState = kDestroyed;
        MarkClosed();
        return;
    case WM_NCACTIVATE:
        if (AttachState == kAttached && MDIKind != kMDIChild) {
            // Nothing drawn before the set-up; the activation change itself
            // always goes ahead (an answer of 0 would veto a deactivation).
            Active = m.WParam != 0;
            m.Result = 1;
            return;
        }
        break;
    case kThemedCaption:
        m.Result = 0;
        return;
    case WM_INITMENUPOPUP:
        if (TSkinManage* manager = TSkinManage::Instance())
            manager->MenuKind = reinterpret_cast<HMENU>(m.WParam) == SystemMenu ? 2 : 1;
        CallPrevious(m);
        return;
    case WM_CTLCOLORBTN:
        CallPrevious(m);
        if (!Form) SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
        return;
    case WM_CTLCOLORSTATIC:
        CallPrevious(m);
        if (!Form) {
            SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
            m.Result = reinterpret_cast<LRESULT>(SkinData->FaceBrush());
        }
        return;
    case SKM_INITFRAME:
        InitFrame();
        return;
    case SKM_RESKINSCROLL: {
        const HWND control = reinterpret_cast<HWND>(m.WParam);
        for (TSkinControl* painter : std::vector<TSkinControl*>(SkinnedControls))
            if (painter->Window == control) {
                const bool bare = painter->Control == nullptr;
                painter->Free();
                // Discovery gives the window a fresh painter of the same kind.
                if (bare)
                    SkinChildWindow(control);
                else
                    SkinControls();
                break;
            }
        return;
    }
    case SKM_ISSKINNED:
        m.Result = 1;
        return;
    case SKM_PAINTFRAMEDC:
    case SKM_QUERYSKIN:
        if (AnswerSkinQuery(m)) return;
        break;
    case SKM_SKINCHANGED:
        ReloadSkin();
        Repaint();
        return;
    default:
        break;
    }
    if (!FrameSkinned) {
        CallPrevious(m);
        return;
    }

    // Stage 2: frame skinning on.
    if (IsChild && MDIKind != kMDIChild) {
        CallPrevious(m);
        return;
    }
    switch (m.Msg) {
    case WM_SIZE:
        WMSize(m);
        break;
    case WM_ACTIVATE:
        Active = LOWORD(m.WParam) != WA_INACTIVE;
        break;
    case WM_NCACTIVATE:
        Active = m.WParam != 0;
        break;
    case WM_GETMINMAXINFO:
        WMGetMinMaxInfo(m);
        return;
    case WM_WINDOWPOSCHANGED:
        WMWindowPosChanged(m);
        return;
    case WM_COMMAND:
        WMCommand(m);
        return;
    case WM_SYSCOMMAND:
        if (!MenuKeyCommand(m)) WMSysCommandState(m);
        return;
    case SKM_OPENMENUAT:
        OpenMenuAt(POINT{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))});
        m.Result = 0;
        return;
    case CM_MENUCHANGED: {
        const bool painting = SkinData->FramePaintEnabled;
        SkinData->FramePaintEnabled = false;
        try {
            CallPrevious(m);
        } catch (...) {
            SkinData->FramePaintEnabled = painting;
            throw;
        }
        SkinData->FramePaintEnabled = painting;
        if (GetMenu(Handle)) {
            if (SkinMenu && MenuUpdate) {
                MenuBarChanged();
            } else if (!SkinMenu && MDIKind != kMDIChild) {
                // A menu given after attaching gets a skinned bar too, instead
                // of vanishing with the Win32 one taken off below.
                Menu = GetMenu(Handle);
                CreateMenuBar();
                MenuBarHeight = GetSystemMetrics(SM_CYMENU);
                if (AttachState == kRunning) Resize(true);
            }
            SetMenu(Handle, nullptr);
        } else if (SkinMenu && Form && !Form->Menu()) {
            // The form's menu was taken away: so goes the bar and its band.
            SkinMenu.reset();
            Menu = nullptr;
            MenuBarHeight = 0;
            HotObject = nullptr;
            if (AttachState == kRunning) Resize(true);
        }
        return;
    }
    default:
        break;
    }

    // Stage 3: after the set-up, and not for a maximised MDI child.
    if (AttachState == kAttached || (MDIKind == kMDIChild && WindowState == kStateMaximized)) {
        CallPrevious(m);
        return;
    }
    switch (m.Msg) {
    case WM_DRAWITEM:
        WMDrawItem(m);
        return;
    case WM_MEASUREITEM:
        WMMeasureItem(m);
        return;
    case WM_NCCALCSIZE:
        NCCalcSize(m);
        return;
    case WM_NCHITTEST:
        NCHitTest(m);
        return;
    case WM_NCPAINT:
        NCPaint(m);
        return;
    case WM_NCACTIVATE:
        NCActivate(m);
        return;
    case WM_NCMOUSEMOVE:
        if (Active) NCMouseMove(m);
        return;
    case WM_NCLBUTTONDOWN:
        NCLButtonDown(m);
        return;
    case WM_NCLBUTTONUP:
        NCLButtonUp(m);
        return;
    case WM_NCLBUTTONDBLCLK:
        NCLButtonDblClk(m);
        return;
    case WM_NCRBUTTONDOWN:
        NCRButtonDown(m);
        return;
    case WM_SETTEXT:
    case WM_SETICON:
        CaptionChange(m);
        return;
    case SKM_REPAINTFRAME:
        PaintFrame();
        return;
    default:
        CallPrevious(m);
        return;
    }
}

// ---- detach

void TWinSkinForm::FreePainters() {
    // Painters leave the list themselves when they are freed.
    while (!SkinnedControls.empty()) {
        TSkinControl* painter = SkinnedControls.back();
        if (painter->State != TSkinControl::kStateClosed) painter->Detach();
        if (painter->Owner()) {
            painter->Free();
        } else {
            std::erase(SkinnedControls, painter);
        }
    }
    OpenDropDown = nullptr;
}

void TWinSkinForm::RestoreFormProc() {
    // The hook keeps its link alive while one of the form's own messages
    // (a detach from inside it) is still running through it.
    OldWindowProc.Restore(Form == nullptr);
}

void TWinSkinForm::Detach() {
    if (Detached || AttachState == kDestroyed) return;
    if (!FrameSkinned) {
        DetachControlsOnly();
        return;
    }
    Detached = true;
    const int state = AttachState;
    SystemPopup.reset();
    if (HoverTimer) HoverTimer->SetEnabled(false);
    RestoreFormProc();
    FrameSubclass.Restore();
    FreePainters();
    if (Form) {
        SetMenuOwnerDraw(Form, *this, false);
        if (state != kDestroying) Form->SetColor(SavedColor);
    }
    if (!IsWindow(Handle)) return;
    // A Win32 menu still on the window was already part of the system frame.
    const int menuBand = GetMenu(Handle) ? MenuBarHeight : 0;
    LONG_PTR style = GetWindowLongPtrW(Handle, GWL_STYLE);
    style |= Style & WS_SYSMENU;
    if (SysFlags & kSysCaptionWorkaround) style |= Style & WS_CAPTION;
    SetWindowLongPtrW(Handle, GWL_STYLE, style);
    // The bar's own handle: the form's menu may have changed while skinned.
    if (HMENU bar = SkinMenu && SkinMenu->Handle ? SkinMenu->Handle : Menu; SkinMenu && bar && !GetMenu(Handle))
        SetMenu(Handle, bar);
    SkinMenu.reset();
    ClientSubclass.Restore();
    if (state != kDestroying && state != kAttached && (MDIKind == kMDIChild || !(style & WS_CHILD))) {
        RECT r{};
        GetWindowRect(Handle, &r);
        SetWindowPos(Handle, nullptr, 0, 0, r.right - r.left + SystemFrameWidth - BorderLeft - BorderRight,
                     r.bottom - r.top + SystemFrameHeight - CaptionHeight - BorderBottom - menuBand,
                     SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
    } else {
        // Never sized for the skin: only the frame is computed again.
        SetWindowPos(Handle, nullptr, 0, 0, 0, 0, kFrameChangedOnly);
    }
    SetWindowRgn(Handle, nullptr, TRUE);
    HasRegion = false;
    Region.reset();
}

void TWinSkinForm::DetachQuiet() {
    if (Detached) return;
    Detached = true;
    SystemPopup.reset();
    if (HoverTimer) HoverTimer->SetEnabled(false);
    RestoreFormProc();
    FrameSubclass.Restore();
    FreePainters();
    if (Form) SetMenuOwnerDraw(Form, *this, false);
    SkinMenu.reset();
    ClientSubclass.Restore();
}

void TWinSkinForm::DetachControlsOnly() {
    if (Detached) return;
    Detached = true;
    if (HoverTimer) HoverTimer->SetEnabled(false);
    FreePainters();
    if (Form) {
        SetMenuOwnerDraw(Form, *this, false);
        Form->SetColor(SavedColor);
    }
    RestoreFormProc();
    FrameSubclass.Restore();
    ClientSubclass.Restore();
    if (Form)
        for (int i = 0; i < Form->ComponentCount(); ++i)
            if (auto* control = As<TControl>(Form->Components(i))) control->Invalidate();
}
