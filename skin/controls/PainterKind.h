#pragma once
// What control discovery decides for one control or window: which painter
// (if any), in which variant, and what else happens around it (children
// visited before or after, a painter for each child, properties set).
// Decisions are plain values; only the walk acts on them.
#include <cstdint>
#include <string>

// One value per painter class.
enum class TPainterKind {
    None,
    Button,          // TSkinButton
    BitButton,       // TSkinBitButton
    MenuButton,      // TSkinMenuButton
    SpeedButton,     // TSkinSpeedButton
    CheckBox,        // TSkinCheckBox
    RadioButton,     // TSkinRadioButton
    ObjImage,        // TSkinObjImage (Mode: 1 check box, 2 radio button, 3 other check box)
    MediaPlayer,     // TSkinMP
    Scrollbar,       // TSkinScrollbar (Mode 1: single bar)
    ScControl,       // TSkinScControl
    Sizer,           // TSkinSizer
    ListView,        // TSkinListView
    Edit,            // TSkinEdit
    ComBox,          // TSkinComBox
    UpDown,          // TSkinUpDown
    DateTime,        // TSkinDateTime
    Box,             // TSkinBox
    BoxH,            // TSkinBoxH
    GroupBox,        // TSkinGroupBox
    Header,          // TSkinHeader
    StatusBar,       // TSkinStatusBar
    Progress,        // TSkinProgress
    TrackBar,        // TSkinTrackBar
    Tab,             // TSkinTab (Mode 2: tab-control mode)
    TabBtn,          // TSkinTabBtn
    Tab31,           // TSkinTab31
    TabSheet,        // TSkinTabSheet
    AdvPage,         // TSkinAdvPage (Mode 4)
};

struct TPainterRequest {
    TPainterKind Kind = TPainterKind::None;
    int Mode = 0;
    // While attached, the control's Color is the skin's face colour.
    bool ColourFlag = false;
    // Attached by window handle although the control is a class-library one.
    bool ByHandle = false;
    // The published property holding a bit button's glyph ("" = "Glyph").
    std::wstring GlyphProperty;

    bool operator==(const TPainterRequest&) const = default;
};

inline TPainterRequest PainterOf(TPainterKind kind, int mode = 0, bool colourFlag = false) {
    TPainterRequest r;
    r.Kind = kind;
    r.Mode = mode;
    r.ColourFlag = colourFlag;
    return r;
}

enum class TChildVisit {
    None,
    Before,  // the children are discovered before the control's own painter
    After,   // ... after it
};

// What to give each child when the decision names one painter for all of
// them (radio and check groups), or a test per child (embedded scroll bars).
enum class TChildRule {
    None,
    Each,                // every child control gets ChildPainter
    EmbeddedScrollbars,  // scroll-bar controls get ScControl, scrolling controls Scrollbar
    First,               // only the first child window gets ChildPainter
};

// Side effects on the control itself, applied by the walk before attaching.
enum TDecisionEffect : std::uint32_t {
    deTransparent = 1,      // published "Transparent" := True
    deFlatToolbar = 2,      // published "Flat" := True, the toolbar's menu to the menu code
    deFaceColourBands = 4,  // every band's colour := the skin's face colour
    deMenuOfButton = 8,     // the tool button's menu goes to the menu code
    deFaceColour = 16,      // the control's Color := the skin's face colour (no painter)
};

struct TControlDecision {
    TPainterRequest Painter;
    TChildVisit Children = TChildVisit::None;
    TChildRule ChildRule = TChildRule::None;
    TPainterRequest ChildPainter;
    // Discover the components owned by the control (frames, embedded forms).
    bool VisitOwned = false;
    // Every child control's Tag := DisableTag, so the walk leaves them alone.
    bool DisableChildren = false;
    std::uint32_t Effects = 0;

    bool operator==(const TControlDecision&) const = default;
};
