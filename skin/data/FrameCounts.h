#pragma once
// How many frames each bitmap of a skin holds. The skin data component cuts
// its elements by these rules, and the contact-sheet tool shows skins by the
// same ones, so the sheet shows frames exactly as they are painted.
#include <string_view>

class TQuickIni;

// The count of an element whose section always has the same number of
// frames (section in any case); 0 when the count comes from elsewhere.
int FixedFrameCount(std::string_view section);

// The title background and the menu bar, pictures named in [Personality].
constexpr int kTitleFrames = 2;
constexpr int kMenuBarFrames = 2;
// The MDI caption buttons' picture: minimise, restore and close, four states each.
constexpr int kMdiControlCells = 12;

// A progress bar of Style 0 holds its empty and filled looks; any other
// style holds the empty bar only (the filled part is chunks).
constexpr int ProgressFrames(int style) { return style != 0 ? 1 : 2; }
// A header's Frame key, five when it is 0.
constexpr int HeaderFrames(int frameKey) { return frameKey == 0 ? 5 : frameKey; }
// A scroll thumb's FrameCount key, three when absent.
int ScrollThumbFrames(const TQuickIni& ini, std::string_view section);
// A check or radio strip: its count key, or when that is 0 cells of 13
// pixels (16 from 16 pixels high), at least four.
int StripFrames(int countKey, int width, int height);
// A caption button: its frame key, or when that is 0 three frames for a
// picture at most 3.8 times as wide as high and six otherwise; six for a
// hidden button (Action below 0) or a missing picture.
int CaptionButtonFrames(int frameKey, int action, int width, int height);
