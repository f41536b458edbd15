#include "skin/controls/WMediaPlayer.h"

#include <cwchar>
#include <string>

#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinElements.h"
#include "skin/data/WinSkinData.h"

namespace {

constexpr const wchar_t* kButtonNames[kMPButtonCount] = {L"MPPLAY", L"MPPAUSE", L"MPSTOP",   L"MPNEXT", L"MPPREV",
                                                          L"MPSTEP", L"MPBACK",  L"MPRECORD", L"MPEJECT"};
constexpr const wchar_t* kEnumNames[kMPButtonCount] = {L"btPlay", L"btPause", L"btStop",   L"btNext", L"btPrev",
                                                        L"btStep", L"btBack",  L"btRecord", L"btEject"};
constexpr TColor kGlyphKey = 0x008080;  // clOlive

void LoadGlyph(TBitmap& bitmap, const wchar_t* prefix, const wchar_t* button) {
    wchar_t name[32] = {};
    std::swprintf(name, 32, L"%ls_%ls", prefix, button);
    try {
        bitmap.LoadFromResourceName(GetModuleHandleW(nullptr), name);
    } catch (...) {
        bitmap.Clear();
    }
}

}  // namespace

const TClassInfo& TWMediaPlayer::StaticClass() {
    static const TClassInfo info(L"TWMediaPlayer", &TCustomControl::StaticClass());
    return info;
}

TWMediaPlayer::TWMediaPlayer(TComponent* owner, TControl* player, TSkinData* skinData)
    : TCustomControl(owner), player_(player), skinData_(skinData) {
    for (int i = 0; i < kMPButtonCount; ++i) {
        LoadGlyph(enabled_[static_cast<std::size_t>(i)], L"EN", kButtonNames[i]);
        LoadGlyph(disabled_[static_cast<std::size_t>(i)], L"DI", kButtonNames[i]);
        LoadGlyph(coloured_[static_cast<std::size_t>(i)], L"CL", kButtonNames[i]);
    }
}

bool TWMediaPlayer::Listed(const wchar_t* property, TMPBtnType button) const {
    return player_->GetProperty(property).AsText().find(kEnumNames[static_cast<int>(button)]) != std::wstring::npos;
}

std::vector<TMPBtnType> TWMediaPlayer::VisibleButtons() const {
    std::vector<TMPBtnType> visible;
    for (int i = 0; i < kMPButtonCount; ++i)
        if (Listed(L"VisibleButtons", static_cast<TMPBtnType>(i))) visible.push_back(static_cast<TMPBtnType>(i));
    return visible;
}

int TWMediaPlayer::SlotAt(int x) const {
    const auto count = static_cast<int>(VisibleButtons().size());
    if (count == 0 || Width() < count || x < 0) return -1;
    const int slot = x / (Width() / count);
    return slot < count ? slot : -1;
}

void TWMediaPlayer::Paint() {
    const RECT all{0, 0, Width(), Height()};
    TBitmap bar;
    bar.SetSize(all.right, all.bottom);
    HDC dc = bar.Canvas()->Handle();
    {
        UniqueBrush face(CreateSolidBrush(ColorToRGB(skinData_ ? skinData_->ButtonFaceColour : clBtnFace)));
        FillRect(dc, &all, face.get());
    }
    const std::vector<TMPBtnType> visible = VisibleButtons();
    TDataSkinButton* faces = skinData_ ? skinData_->Buttons.get() : nullptr;
    const int slotWidth = visible.empty() ? 0 : all.right / static_cast<int>(visible.size());
    for (std::size_t slot = 0; slot < visible.size() && slotWidth > 0; ++slot) {
        const TMPBtnType button = visible[slot];
        const auto i = static_cast<std::size_t>(button);
        const bool enabled = Listed(L"EnabledButtons", button);
        const bool pressed = PressedSlot == static_cast<int>(slot);
        const RECT r{static_cast<LONG>(slot) * slotWidth, 0, static_cast<LONG>(slot + 1) * slotWidth, all.bottom};
        if (faces && !faces->Bitmap.Empty() && faces->Frame >= 3)
            DrawElement(dc, r, faces->Bitmap, false, faces->Tile != 0, faces->Trans != 0, faces->Frame,
                        pressed ? 2 : !enabled ? 3 : 1, faces->Margins);
        TBitmap& glyph = !enabled ? disabled_[i] : Listed(L"ColoredButtons", button) ? coloured_[i] : enabled_[i];
        if (glyph.Empty()) continue;
        const int shift = pressed ? 1 : 0;
        const int x = r.left + (slotWidth - glyph.Width()) / 2 + shift, y = (all.bottom - glyph.Height()) / 2 + shift;
        DrawTransparent(dc, RECT{x, y, x + glyph.Width(), y + glyph.Height()}, glyph, kGlyphKey);
    }
    BitBlt(Canvas()->Handle(), 0, 0, all.right, all.bottom, dc, 0, 0, SRCCOPY);
}

void TWMediaPlayer::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
        PressedSlot = SlotAt(static_cast<short>(LOWORD(m.LParam)));
        player_->Perform(m.Msg, m.WParam, m.LParam);
        ReleaseCapture();
        Invalidate();
        return;
    case WM_LBUTTONUP: {
        const int pressed = PressedSlot;
        PressedSlot = -1;
        if (pressed >= 0 && SlotAt(static_cast<short>(LOWORD(m.LParam))) == pressed)
            player_->Perform(m.Msg, m.WParam, m.LParam);
        Invalidate();
        return;
    }
    case WM_ERASEBKGND:
        m.Result = 1;
        return;
    default:
        TCustomControl::WndProc(m);
    }
}
