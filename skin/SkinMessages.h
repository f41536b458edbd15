#pragma once
// The skin engine's private window messages. The numbers are fixed: other
// modules' windows answer them too.
#include <windows.h>

constexpr UINT SKM_SKINCHANGED = 0x3401;    // to a form's WindowProc: the skin was reloaded
constexpr UINT SKM_REPAINTFRAME = 0x3502;   // repaint the non-client area now
constexpr UINT SKM_INITFRAME = 0x3503;      // posted after attaching (lParam 1000): deferred set-up
constexpr UINT SKM_ENABLESKIN = 0x3506;     // to a subclassed control: wParam > 0 paints, else plain
constexpr UINT SKM_CANCLOSETAB = 0x3507;    // tab painter to form: wParam tab window, lParam page; 0 = may free
constexpr UINT SKM_BUTTONACTION = 0x3514;   // posted by a caption button with no built-in action; wParam Action
constexpr UINT SKM_BUTTONVISIBLE = 0x3515;  // is a caption button shown? wParam Visibility, lParam Action; > 0 yes
constexpr UINT SKM_REDRAWMDI = 0x3516;      // posted to the MDI client: the parent redraws everything
constexpr UINT SKM_RESKINSCROLL = 0x3517;   // wParam control window: replace its scroll-bar painter
constexpr UINT SKM_OPENMENUAT = 0x3518;     // open the menu-bar popup under the screen point in lParam
constexpr UINT SKM_ISSKINNED = 0x3523;      // every skinned window answers 1
constexpr UINT SKM_PAINTFRAMEDC = 0xBC4B;   // to a form's WindowProc, lParam kSkinMagic: paint the frame into wParam
constexpr UINT SKM_QUERYSKIN = 0xBC4D;      // to a form's WindowProc: kSkinMagic when lParam is kSkinMagic, else 1
constexpr UINT SKM_ANNOUNCE = 0xBC4E;       // sent by a window to itself when its skinning is set up, lParam kSkinMagic

// The value that marks the engine's own SKM_PAINTFRAMEDC, SKM_QUERYSKIN and
// SKM_ANNOUNCE. SKM_ANNOUNCE shares its number with the class library's
// CN_NOTIFY: a window procedure must check this lParam before it reads the
// lParam of a CN_NOTIFY as a pointer.
constexpr LPARAM kSkinMagic = 16802;

// lParam of SKM_INITFRAME as the manager posts it.
constexpr LPARAM kInitFrameTag = 1000;
