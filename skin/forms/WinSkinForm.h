#pragma once
// TWinSkinForm: the skinned non-client area of one top-level window (a
// class-library form, an MDI parent or child, or a plain Win32 dialog such
// as a message box). It subclasses the window, gives it the skin's frame
// thicknesses, paints frame, caption, caption buttons and menu bar, cuts the
// window to the frame's shape, and re-creates what the standard frame would
// have done (caption drag, system menu, menu-bar keys, window state).
//
// The skin manager makes, keeps and frees these objects (one per window).
// The members are defined by topic:
//   WinSkinForm.cpp        attach, detach, metrics, sizing, FrameWndProc
//   FramePainting.cpp      PaintFrame, DrawFramePiece, caption text
//   FrameRegion.cpp        BuildRegion, RegionFromBitmap
//   WindowState.cpp        window state, system popup, FormWindowProc, ClientWndProc
//   CaptionButtons.cpp     caption button layout, paint, hit-test, actions
//   MenuBarAccess.cpp      opening menu-bar items, keyboard access, the filter hook
//   MenuItemPainting.cpp   owner-drawn menu items (measure and draw)
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "classlib/Bitmap.h"
#include "classlib/Canvas.h"
#include "classlib/Controls.h"
#include "classlib/Handles.h"
#include "classlib/Messages.h"
#include "classlib/WindowProcHook.h"
#include "classlib/WindowSubclass.h"
#include "skin/SkinMessages.h"
#include "skin/controls/SkinManager.h"

class TCustomForm;
class TMenu;
class TMenuItem;
class TPopupMenu;
class TSkinControl;
class TSkinData;
class TTimer;
class TDataSkinBorder;
class TNCObject;
class TWinSysButton;
class TMenuBtn;
class TWinSkinMenu;

class TWinSkinForm : public TSkinnedForm {
public:
    // AttachState values.
    static constexpr int kAttached = 0;     // attached, not initialised yet
    static constexpr int kRunning = 1;
    static constexpr int kReskinning = 3;   // a changed skin is being applied
    static constexpr int kDestroying = 4;   // WM_NCDESTROY is being handled
    static constexpr int kSizing = 5;       // the first Resize
    static constexpr int kDestroyed = 6;
    // FrameKind values.
    static constexpr int kFrameSizeable = 0, kFrameFixed = 1, kFrameNone = 2, kFrameDialog = 3;
    // SysFlags bits.
    static constexpr int kSysMaximizeBox = 1, kSysMinimizeBox = 2, kSysMenu = 8, kSysCaptionWorkaround = 0x10;
    // WindowState values.
    static constexpr int kStateNormal = 0, kStateMaximized = 1, kStateMinimized = 2;
    // MDIKind values.
    static constexpr int kNotMDI = 0, kMDIParent = 1, kMDIChild = 2;

    TWinSkinForm(HWND window, TCustomForm* form, TSkinData& skinData);
    ~TWinSkinForm() override;

    // ---- attach and detach
    void AttachToForm(TSkinData* skinData, TCustomForm* form);
    void AttachToWindow(TSkinData* skinData);
    void Detach() override;
    void DetachQuiet();
    void DetachControlsOnly();
    // The manager's refresh: re-read the skin and lay the window out again.
    void ReloadSkin() override;
    void Repaint() override;
    void SetMaximizedPainting(bool maximized) override;
    bool Busy() const override;
    // The previous window procedure with the message unchanged; its answer
    // becomes the Result.
    void CallPrevious(TMessage& message);
    // Whether the skin's top frame piece can carry a caption; without one
    // the window keeps the system frame (FrameSkinned false).
    bool TopPieceUsable() const;
    // Keeps a top-level window inside the work area of its monitor.
    void EnsureOnScreen();

    // ---- frame
    void ComputeFrameMetrics();          // thicknesses from the frame pieces, caption buttons rebuilt
    void InitFrame();                    // SKM_INITFRAME
    void SkinControls();                 // control discovery over the client area
    void SkinChildWindow(HWND child);    // a plain Win32 child by the plain-window table (control discovery)
    void RebuildCaptionButtons();        // one TWinSysButton per caption-button element (caption buttons)
    // The skinned menu bar (menu bar): made over Menu, which it takes off
    // the window; painted into the band below the caption; told when the
    // form's menu changed (the window has a Win32 menu again).
    void CreateMenuBar();
    // Windows would draw its own bar and keep room for it. Before the first
    // sizing the menu goes with that sizing, in one frame change.
    void TakeMenuOff();
    // The marked menu taken off; with a size, in the frame change that gives
    // the window that size. True when the window got it.
    bool TakePendingMenuOff(std::optional<SIZE> size);
    void PaintMenuBar(HDC dc, const RECT& band);
    void MenuBarChanged();
    void Resize(bool keepClient);
    void PaintFrame(HDC dc = nullptr);
    void DrawFramePiece(int index, const RECT& rect, HDC dc);
    void PaintCaptionText(HDC dc, const RECT& captionBand);
    void BuildRegion();
    void RemoveRegion();
    // A non-client mouse position (screen, signed halves) in window co-ordinates.
    POINT WindowPoint(LPARAM screenPoint) const;
    void HoverTick();
    void FrameWndProc(TMessage& message);
    bool AnswerSkinQuery(TMessage& message);  // SKM_PAINTFRAMEDC, SKM_QUERYSKIN

    // ---- window state, system popup, form and MDI client procedures
    void ToggleMaximize();
    void ToggleMinimize();
    void RestoreWindow();
    void CloseFromButton();
    void SendToActiveMDIChild(UINT command);
    void ShowSystemPopup(POINT screenPoint);
    void BuildSystemPopup();
    void FormWindowProc(TMessage& message);
    void ClientWndProc(TMessage& message);
    void WMSize(TMessage& message);
    void WMWindowPosChanged(TMessage& message);
    void WMGetMinMaxInfo(TMessage& message);
    void WMSysCommandState(TMessage& message);  // the state part, then the previous procedure
    void WMCommand(TMessage& message);

    // ---- caption buttons and menu bar
    void LayoutCaptionButtons();
    void PaintCaptionButtons(TCanvas& caption);
    bool CaptionButtonVisible(int index);
    TNCObject* HitObject(POINT windowPoint);
    void RunButtonAction(POINT screenPoint);
    bool OpenMenuItem(TMenuBtn& item);
    TMenuBtn* FindAccelItem(wchar_t ch);
    // SC_KEYMENU handling before the state part of WM_SYSCOMMAND; true when
    // the message is answered (Result set) and goes no further.
    bool MenuKeyCommand(TMessage& message);
    void OpenMenuAt(POINT screenPoint);  // SKM_OPENMENUAT
    // Presses a bar item and opens its popup (mouse, F10, Alt+letter).
    void PressMenuItem(TMenuBtn& item);
    void NCMouseMove(TMessage& message);
    void NCLButtonDown(TMessage& message);
    void NCLButtonUp(TMessage& message);
    void NCLButtonDblClk(TMessage& message);
    void NCRButtonDown(TMessage& message);

    // ---- owner-drawn menu items
    void MeasureMenuItem(TObject* sender, TCanvas* canvas, int& width, int& height);
    void MeasurePopupItem(TObject* sender, TCanvas* canvas, int& width, int& height);
    void DrawMenuItem(TObject* sender, TCanvas* canvas, RECT rect, bool selected);
    void DrawWin32Item(HMENU menu, const DRAWITEMSTRUCT& draw);
    void DrawFlatItem(TMenuItem& item, TCanvas& canvas, const RECT& rect, bool selected);
    void DrawItemContent(TMenuItem& item, TCanvas& canvas, bool selected, const RECT& rect);
    void WMDrawItem(TMessage& message);
    void WMMeasureItem(TMessage& message);
    // MeasureMenuItem runs the item's own measuring; the nested call of the
    // handler it causes returns at once.
    bool MeasuringItem = false;

    // ---- state (see the field notes in WinSkinForm.cpp)
    TWindowProcHook OldWindowProc;          // the form's WindowProc -> FormWindowProc, and the one before
    TWindowSubclass FrameSubclass;          // the window's procedure -> FrameWndProc
    TWindowSubclass ClientSubclass;         // the MDI client's procedure -> ClientWndProc
    UniqueFont TitleFont;
    std::unique_ptr<TTimer> HoverTimer;
    std::wstring WindowClass;
    bool MenuUpdate = true;
    bool FrameSkinned = false;
    RECT ClientRect{};
    DWORD SysMenuClickTick = 0;
    int DoubleClickTime = 0;
    int CaptionTextWidth = 0;
    HWND Owner = nullptr;
    HICON IconHandle = nullptr;
    int IconSize = 16;
    // source at IconSize, made once: copying an icon on every frame paint
    // costs more than the rest of the caption.
    HICON ScaledIcon(HICON source);
    std::wstring CaptionText;
    int BorderLeft = 0, CaptionHeight = 0, BorderRight = 0, BorderBottom = 0;
    RECT WindowRect{};
    int SystemFrameWidth = 0, SystemFrameHeight = 0;
    int MenuBarHeight = 0;
    bool MenuTracking = false;
    bool RightToLeft = false, Sizeable = false, IsDialog = false, UnicodeWindow = true, IsChild = false;
    std::unique_ptr<TPopupMenu> SystemPopup;
    HWND MDIClient = nullptr;
    HMENU Menu = nullptr;
    bool MenuOffPending = false;
    // While set, every move, size or frame change of the window makes it this size.
    std::optional<SIZE> ForcedFrameSize;
    HMENU SystemMenu = nullptr;
    HMENU OpenMenu = nullptr;
    TColor SavedColor = 0;
    LONG_PTR Style = 0;
    TNCObject* HotObject = nullptr;
    UniqueRegion Region;
    bool HasRegion = false;
    TCustomForm* Form = nullptr;
    HWND Handle = nullptr;
    TCanvas NCCanvas, ControlCanvas;
    TSkinData* SkinData = nullptr;
    std::unique_ptr<TWinSkinMenu> SkinMenu;
    std::vector<std::unique_ptr<TWinSysButton>> SysButtons;
    TBitmap IconBitmap, CaptionBitmap;
    UniqueIcon ScaledIconCopy;
    HICON ScaledIconSource = nullptr;
    int ScaledIconSize = 0;
    std::vector<TSkinControl*> SkinnedControls;  // painters of the children (see TSkinControl for ownership)
    int FrameWidth = 0, FrameHeight = 0, RegionWidth = 0, RegionHeight = 0;
    bool Active = true;
    int MDIKind = kNotMDI;
    int FrameKind = kFrameSizeable;
    int SysFlags = 0;
    int WindowState = kStateNormal;
    int AttachState = kAttached;
    TSkinControl* OpenDropDown = nullptr;
    bool Detached = false;                  // one of the detach operations has run
    int FormDispatching = 0;                // FormWindowProc calls now on the stack
    unsigned FramePaints = 0;               // PaintFrame runs that drew, for the set-up's last paint
    int PaintedActive = -1;                 // the activity the frame was last painted with

protected:
    void FormGone() override;

public:

    // The frame piece for DrawFramePiece's index (1 left, 2 right, 3 top, 4 bottom).
    TDataSkinBorder* FramePiece(int index) const;

    // ---- control discovery (skin/controls/ControlDiscovery.cpp)
    // Owns the painters of windows that have no class-library control, so
    // that every painter is freed alike (Free). Declared last: its painters
    // go while the list they remove themselves from still exists.
    TComponent PlainPainters{nullptr};

private:
    void FreePainters();
    void RestoreFormProc();
    void NCCalcSize(TMessage& message);
    void NCHitTest(TMessage& message);
    void NCPaint(TMessage& message);
    void NCActivate(TMessage& message);
    // WM_SETTEXT and WM_SETICON: the default procedure would draw the
    // standard caption over the skinned one.
    void CaptionChange(TMessage& message);
    void BuildIconBitmap();
    // The region for a window of that size; redraw as SetWindowRgn takes it.
    void BuildRegionFor(int width, int height, bool redraw);
};

// Owner-drawing of the class-library popup menus (and main menus, when the
// skin asks for it) owned by owner, switched on or off for form.
void SetMenuOwnerDraw(TComponent* owner, TWinSkinForm& form, bool on);
// The skin's popup-item handlers (DrawMenuItem, MeasurePopupItem) on item
// and its sub-items: on sets them (an own OnMeasureItem is kept), off clears
// the ones that are form's. For the system popup and tool-button menus.
void SetPopupItemHandlers(TMenuItem& item, TWinSkinForm& form, bool on);

// The region of bitmap's pixels that are not key (each channel within
// tolerance above it), offset by (x, y). The caller owns the region.
UniqueRegion RegionFromBitmap(HBITMAP bitmap, int x, int y, TColor key, int tolerance);
