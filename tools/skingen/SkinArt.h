#pragma once
// The pictures of the skin Quellory ships, one function per element. Each
// returns the whole strip: its frames side by side (the top and bottom window
// borders and the minimised caption stack theirs), in the order the painters
// number them.
#include "core/Colour.h"
#include "tools/skingen/ArtImage.h"

namespace skinart {

// The caption colour at a third of the way across and a third of the way
// down the active caption: the engine derives its frame colour (and the
// toolbar gradient) from that pixel of the top border.
inline constexpr TColor kFrameBlue = MakeColour(0, 85, 229);
// The dialog face of the "Colours" section; corners of opaque elements use it.
inline constexpr TColor kFace = MakeColour(236, 233, 216);

// Window frame: all four borders are cut from one drawn window.
TArtImage FrameLeft();
TArtImage FrameRight();
TArtImage FrameTop();
TArtImage FrameBottom();
TArtImage MinCaption();

enum class TCaptionGlyph { Close, Maximise, Minimise, Restore };
// 6 frames: normal, pressed, hot, inactive, disabled, inactive hot.
TArtImage CaptionButton(TCaptionGlyph glyph);
// 12 cells: minimise, restore, close, each normal, pressed, disabled, hot.
TArtImage MdiButtons();

// 5 frames: normal, pressed, disabled, hot, focused.
TArtImage PushButton();
// 12 frames: unchecked, checked, mixed; each normal, hot, pressed, disabled.
TArtImage CheckBox();
// 8 frames: unchecked, checked; each normal, hot, pressed, disabled.
TArtImage RadioButton();
TArtImage ProgressBar();
TArtImage ProgressChunk();
// 5 frames: normal, selected, hot, disabled, selected with focus.
TArtImage Tab();
TArtImage TabSheet();
// 4 frames: normal, pressed, disabled, hot.
TArtImage ComboButton();
// 3 frames: lowered, raised, plain.
TArtImage StatusBar();
// 4 frames: normal, hot, pressed, sorted.
TArtImage Header();
// 5 frames: combo arrows normal, pressed, disabled, hot; size grip.
TArtImage ExtraImages();
// 5 frames: focused, normal (what the track bar draws), hot, pressed, disabled.
TArtImage TrackThumb();
// 8 frames: first half (up or left) normal, pressed, disabled, hot; then the
// second half. The faces are the same both ways; the arrows tell them apart.
TArtImage Spin();
TArtImage SpinArrows(bool horizontal);

// 23 frames: left, right, up, down arrows (normal, pressed, disabled, hot
// each), horizontal and vertical thumb grips (normal, pressed, hot), corner.
TArtImage ScrollArrows();
// 4 frames: normal, pressed, hot, disabled.
TArtImage ScrollThumb(bool vertical);
// 4 frames: normal, pressed, disabled, hot.
TArtImage ScrollTrack(bool vertical);

// The states of the small push-style parts (combo, spin and scroll arrows):
// one light blue face and one glyph ink per state, shared by all of them.
enum class TPartLook { Normal, Hot, Pressed, Disabled };
TBoxStyle SmallPartStyle(TPartLook look);
TColor SmallPartInk(TPartLook look);

TArtImage MenuBackground();
// 5 frames: plain, separator, disabled highlight, highlight, hot.
TArtImage MenuItem();

// The program's own resources.
TArtImage MenuGlyphs();  // restore, maximise, minimise, close; black on white
TArtImage TrackChannel(bool vertical);

}  // namespace skinart
