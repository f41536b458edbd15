#include "tools/skinsheet/ContactSheet.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "core/BitmapFile.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinReader.h"
#include "skin/data/SkinValues.h"
#include "tools/skinsheet/FrameRules.h"
#include "tools/skinsheet/TinyFont.h"

namespace fs = std::filesystem;

namespace {

constexpr TColor kPaper = MakeColour(244, 244, 246);
constexpr TColor kText = MakeColour(24, 28, 40);
constexpr TColor kDim = MakeColour(110, 116, 130);
constexpr TColor kFrameBorder = MakeColour(176, 180, 190);
constexpr int kSheetWidth = 1280;
constexpr int kMargin = 16;
constexpr int kGap = 10;

std::vector<std::uint8_t> ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) throw std::runtime_error(p.string() + ": cannot open for reading");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct TDecoded {
    TArtImage image;
    int bitsPerPixel = 0;
};

TDecoded Decode(const std::vector<std::uint8_t>& bytes) {
    const TBitmapFile file = TBitmapFile::Decode(bytes);
    return {TArtImage::FromPixels(file.To24Bit().View()), file.BitsPerPixel()};
}

// Places blocks left to right, wrapping at the sheet's width.
class TFlow {
public:
    explicit TFlow(int top) : x_(kMargin), y_(top) {}
    TArtRect Place(int w, int h) {
        if (x_ > kMargin && x_ + w > kSheetWidth - kMargin) NewLine();
        const TArtRect r{x_, y_, w, h};
        x_ += w + kGap;
        lineHeight_ = std::max(lineHeight_, h);
        return r;
    }
    int NewLine() {
        y_ += lineHeight_ + kGap;
        x_ = kMargin;
        lineHeight_ = 0;
        return y_;
    }

private:
    int x_;
    int y_;
    int lineHeight_ = 0;
};

// One frame: the picture enlarged, a thin border around it, its number below.
void DrawFrameTile(TArtImage& sheet, TFlow& flow, const TArtImage& frame, int number, int scale) {
    const int w = frame.Width() * scale, h = frame.Height() * scale;
    const TArtRect r = flow.Place(std::max(w + 2, TinyTextWidth(std::to_string(number)) + 2), h + 2 + 10);
    sheet.Outline({r.x, r.y, w + 2, h + 2}, kFrameBorder);
    sheet.StretchBlit({r.x + 1, r.y + 1, w, h}, frame, frame.Bounds());
    DrawTinyText(sheet, r.x + 1, r.y + h + 4, std::to_string(number), kDim);
}

struct TMargins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Nine parts: corners copied, edges and middle stretched (by nearest pixel).
void DrawNine(TArtImage& dst, const TArtRect& d, const TArtImage& src, TMargins m, bool keyed) {
    const int sw = src.Width(), sh = src.Height();
    m.left = std::min(m.left, sw), m.right = std::min(m.right, sw - m.left);
    m.top = std::min(m.top, sh), m.bottom = std::min(m.bottom, sh - m.top);
    const int sx[] = {0, m.left, sw - m.right, sw}, sy[] = {0, m.top, sh - m.bottom, sh};
    const int dx[] = {d.x, d.x + m.left, d.Right() - m.right, d.Right()};
    const int dy[] = {d.y, d.y + m.top, d.Bottom() - m.bottom, d.Bottom()};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            dst.StretchBlit({dx[col], dy[row], dx[col + 1] - dx[col], dy[row + 1] - dy[row]}, src,
                            {sx[col], sy[row], sx[col + 1] - sx[col], sy[row + 1] - sy[row]}, keyed);
}

class TSheetPainter {
public:
    TSheetPainter(const TSkinContents& skin, int scale) : skin_(skin), scale_(scale) {
        const auto ini = std::find_if(skin.names.begin(), skin.names.end(),
                                      [](const std::string& n) { return n.find(".ini") != std::string::npos; });
        if (ini == skin.names.end()) throw std::runtime_error("the skin has no definition file (.ini)");
        definitionName_ = *ini;
        const auto& text = skin.files.at(*ini);
        ini_.LoadFromText(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    }

    TArtImage Paint() {
        TArtImage sheet(kSheetWidth, 8000, kPaper);
        int y = kMargin;
        const std::string title = "SKIN " + ini_.ReadString("TitlebarSkin", "SkinName", "(no name)") + " - " +
                                  std::to_string(skin_.names.size()) + " FILES, DEFINITION " + definitionName_;
        DrawTinyText(sheet, kMargin, y, title, kText, 2);
        y += 2 * kTinyFontHeight + kGap;
        y = PaintPreview(sheet, y);
        for (const auto& element : SheetElements(ini_, skin_.names)) y = PaintElement(sheet, element, y);
        y = PaintColours(sheet, y);
        return sheet.Crop({0, 0, kSheetWidth, y + kMargin});
    }

private:
    const TArtImage* Bitmap(const std::string& name) {
        const std::string lower = AsciiLower(name);
        if (const auto it = decoded_.find(lower); it != decoded_.end()) return &it->second.image;
        const auto file = skin_.files.find(lower);
        if (file == skin_.files.end() || file->second.empty()) return nullptr;
        return &decoded_.emplace(lower, Decode(file->second)).first->second.image;
    }

    // Frame f (from 1) of the bitmap named by section/key.
    TArtImage FrameOf(const std::string& section, const std::string& key, int f) {
        const TArtImage* strip = Bitmap(ini_.ReadString(section, key, ""));
        if (!strip) return {};
        const TFrameLayout layout = FrameLayoutFor(ini_, section, key, strip->Width(), strip->Height());
        const auto frames = CutFrames(*strip, layout.frames, layout.vertical);
        return frames.at(static_cast<std::size_t>(std::clamp(f, 1, static_cast<int>(frames.size())) - 1));
    }

    TMargins MarginsOf(const std::string& section) {
        return {ini_.ReadInteger(section, "LeftWidth", 0), ini_.ReadInteger(section, "TopHeight", 0),
                ini_.ReadInteger(section, "RightWidth", 0), ini_.ReadInteger(section, "BottomHeight", 0)};
    }

    TColor Colour(const char* key, TColor fallback) {
        return ColourTripleValue(ini_.ReadString("Colours", key, ""), fallback);
    }

    // A window as the frame painter assembles it, with a few controls inside.
    void PaintWindow(TArtImage& sheet, const TArtRect& w, bool active) {
        const int f = active ? 1 : 2;
        const std::string p = "Personality";
        const TArtImage left = FrameOf(p, "Left", f), right = FrameOf(p, "Right", f);
        const TArtImage top = FrameOf(p, "Top", f), bottom = FrameOf(p, "Bottom", f);
        const int bl = left.Width(), br = right.Width(), caption = top.Height(), bb = bottom.Height();
        sheet.Fill({w.x + bl, w.y + caption, w.w - bl - br, w.h - caption - bb}, Colour("ButtonFace", kPaper));
        DrawNine(sheet, {w.x, w.y, bl, w.h}, left,
                 {0, ini_.ReadInteger(p, "LeftTopHeight", 0), 0, ini_.ReadInteger(p, "LeftBotHeight", 0)}, true);
        DrawNine(sheet, {w.Right() - br, w.y, br, w.h}, right,
                 {0, ini_.ReadInteger(p, "RightTopHeight", 0), 0, ini_.ReadInteger(p, "RightBotHeight", 0)}, true);
        DrawNine(sheet, {w.x + bl, w.y, w.w - bl - br, caption}, top,
                 {ini_.ReadInteger(p, "TopTopHeight", 0), 0, ini_.ReadInteger(p, "TopBotHeight", 0), 0}, true);
        DrawNine(sheet, {w.x + bl, w.Bottom() - bb, w.w - bl - br, bb}, bottom,
                 {ini_.ReadInteger(p, "BottomTopHeight", 0), 0, ini_.ReadInteger(p, "BottomBotHeight", 0), 0}, true);
        const TColor titleColour = active ? Colour("TitleTextActive", MakeColour(255, 255, 255))
                                          : Colour("TitleTextNoActive", MakeColour(200, 200, 200));
        DrawTinyText(sheet, w.x + bl + 30, w.y + (caption - kTinyFontHeight) / 2 + ini_.ReadInteger(p, "TextShiftVert", 0),
                     active ? "Quellory" : "Quellory (inactive)", titleColour);
        // Caption buttons of a normal (not maximised) window with every box.
        std::vector<std::string> sections;
        ini_.ReadSections(sections);
        for (const auto& s : sections) {
            std::string upper = s;
            for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            if (!upper.starts_with("BUTTON") || upper == "BUTTONS" || ini_.ReadInteger(s, "Visibility", 0) == 1) continue;
            const TArtImage face = FrameOf(s, "ButtonImage", active ? 1 : 4);
            if (face.Width() == 0) continue;
            const int x = ini_.ReadInteger(s, "Align", 0) == 1 ? w.Right() - ini_.ReadInteger(s, "XCoord", 0)
                                                               : w.x + ini_.ReadInteger(s, "XCoord", 0);
            sheet.Blit(face, x, w.y + ini_.ReadInteger(s, "YCoord", 0), true);
        }
        // Push buttons in their five states, then check boxes and radio buttons.
        const int cx = w.x + bl + 10, cy = w.y + caption + 10;
        for (int state = 1; state <= 5; ++state)
            DrawNine(sheet, {cx + (state - 1) * 54, cy, 50, 23}, FrameOf("Buttons", "Bitmap", state),
                     MarginsOf("Buttons"), true);
        for (int i = 0; i < 12; ++i) sheet.Blit(FrameOf("Buttons", "CheckButton", i + 1), cx + i * 18, cy + 32, true);
        for (int i = 0; i < 8; ++i) sheet.Blit(FrameOf("Buttons", "RadioButton", i + 1), cx + i * 18, cy + 50, true);
        // A horizontal scroll bar: arrows, track, thumb with its grip.
        const int sy = cy + 72, sw = 220, a = 17;
        DrawNine(sheet, {cx + a, sy, sw - 2 * a, a}, FrameOf("HorzScroll", "Image", 1), MarginsOf("HorzScroll"), false);
        sheet.Blit(FrameOf("Scrollbar", "Image", 1), cx, sy, true);
        sheet.Blit(FrameOf("Scrollbar", "Image", 5), cx + sw - a, sy, true);
        DrawNine(sheet, {cx + 60, sy, 60, a}, FrameOf("HorzScrollThumb", "Image", 1), MarginsOf("HorzScrollThumb"), false);
        sheet.Blit(FrameOf("Scrollbar", "Image", 17), cx + 60 + (60 - a) / 2, sy, true);
        // A progress bar, 60 per cent done.
        const int py = sy + 26, pw = 220;
        DrawNine(sheet, {cx, py, pw, 19}, FrameOf("Progress", "Bitmap", 1), MarginsOf("Progress"), true);
        if (const TArtImage* chunk = Bitmap(ini_.ReadString("Progress.Chunk", "Image", ""))) {
            const int filled = pw * 6 / 10;
            for (int x = 0; x + chunk->Width() <= filled; x += chunk->Width())
                sheet.Blit(*chunk, cx + 2 + x, py + (19 - chunk->Height()) / 2);
        }
    }

    int PaintPreview(TArtImage& sheet, int y) {
        DrawTinyText(sheet, kMargin, y, "SAMPLE WINDOWS (ACTIVE, INACTIVE)", kText);
        y += kTinyFontHeight + 6;
        const int w = 300, h = 170;
        int x = kMargin;
        for (const bool active : {true, false}) {
            TArtImage window(w, h, kPaper);
            PaintWindow(window, window.Bounds(), active);
            sheet.StretchBlit({x, y, w * scale_, h * scale_}, window, window.Bounds());
            x += w * scale_ + 2 * kGap;
        }
        return y + h * scale_ + 2 * kGap;
    }

    int PaintElement(TArtImage& sheet, const TSheetElement& element, int y) {
        const auto file = skin_.files.find(element.file);
        if (file == skin_.files.end()) return y;
        const TDecoded decoded = Decode(file->second);
        const TArtImage& strip = decoded.image;
        const TFrameLayout layout = element.section.empty()
                                        ? TFrameLayout{}
                                        : FrameLayoutFor(ini_, element.section, element.key, strip.Width(), strip.Height());
        const std::string where = element.section.empty() ? "(no key names it)"
                                                          : "[" + element.section + "] " + element.key;
        const std::string label = element.file + "  " + std::to_string(strip.Width()) + "X" +
                                  std::to_string(strip.Height()) + "  " + std::to_string(decoded.bitsPerPixel) +
                                  " BIT  " + where + "  " + std::to_string(layout.frames) + " FRAME" +
                                  (layout.frames == 1 ? "" : "S") + (layout.vertical ? " STACKED" : "");
        DrawTinyText(sheet, kMargin, y, label, kText);
        TFlow flow(y + kTinyFontHeight + 5);
        int number = 1;
        for (const auto& frame : CutFrames(strip, layout.frames, layout.vertical))
            DrawFrameTile(sheet, flow, frame, number++, scale_);
        return flow.NewLine() + 4;
    }

    int PaintColours(TArtImage& sheet, int y) {
        DrawTinyText(sheet, kMargin, y, "[COLOURS]", kText);
        TFlow flow(y + kTinyFontHeight + 5);
        const std::ptrdiff_t header = ini_.SectionIndex("Colours");
        if (header < 0) return flow.NewLine();
        const auto& lines = ini_.Lines();
        for (std::size_t i = static_cast<std::size_t>(header) + 1; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            if (line.starts_with('[') && line.ends_with(']')) break;
            const std::size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            const std::string key(TrimIniText(std::string_view(line).substr(0, eq)));
            const std::string value(TrimIniText(std::string_view(line).substr(eq + 1)));
            const TColor c = ColourTripleValue(value, 0);
            const TArtRect r = flow.Place(200, 24);
            sheet.Fill({r.x, r.y, 24, 24}, c);
            sheet.Outline({r.x, r.y, 24, 24}, kFrameBorder);
            DrawTinyText(sheet, r.x + 30, r.y + 2, key, kText);
            DrawTinyText(sheet, r.x + 30, r.y + 14, value, kDim);
        }
        return flow.NewLine();
    }

    const TSkinContents& skin_;
    int scale_;
    std::string definitionName_;
    TQuickIni ini_;
    std::map<std::string, TDecoded> decoded_;
};

}  // namespace

std::vector<TArtImage> CutFrames(const TArtImage& strip, int frames, bool vertical) {
    frames = std::max(frames, 1);
    const int w = vertical ? strip.Width() : strip.Width() / frames;
    const int h = vertical ? strip.Height() / frames : strip.Height();
    std::vector<TArtImage> out;
    if (w <= 0 || h <= 0) return out;
    for (int i = 0; i < frames; ++i) out.push_back(strip.Crop({vertical ? 0 : i * w, vertical ? i * h : 0, w, h}));
    return out;
}

TSkinContents LoadSkinFile(const fs::path& path) {
    TSkinReader reader;
    if (!reader.LoadArchive(ReadBytes(path))) throw std::runtime_error(path.string() + ": " + reader.RefusalText());
    TSkinContents skin;
    for (int i = 0; i < reader.FileCount(); ++i) {
        const std::string& name = reader.Names()[i];
        if (skin.files.count(name)) continue;
        const auto bytes = reader.FileBytes(i);
        skin.names.push_back(name);
        skin.files[name] = std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    }
    return skin;
}

TSkinContents LoadSkinFolder(const fs::path& path) {
    TSkinContents skin;
    for (const auto& entry : fs::directory_iterator(path)) {
        if (!entry.is_regular_file()) continue;
        const std::string name = AsciiLower(entry.path().filename().string());
        skin.names.push_back(name);
        skin.files[name] = ReadBytes(entry.path());
    }
    std::sort(skin.names.begin(), skin.names.end());
    return skin;
}

TArtImage MakeContactSheet(const TSkinContents& skin, int scale) { return TSheetPainter(skin, scale).Paint(); }
