#pragma once
// TWMediaPlayer: the button bar laid over a media player control. It draws
// the player's visible buttons on faces of the skin's Buttons element, with
// the program's own glyph bitmaps, and hands the clicks to the player.
#include <array>

#include "classlib/Bitmap.h"
#include "classlib/Controls.h"

class TSkinData;

// The player's buttons in the order of its button type, btPlay to btEject.
enum class TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
constexpr int kMPButtonCount = 9;

class TWMediaPlayer : public TCustomControl {
    DECLARE_CLASS_INFO()
public:
    // Loads the glyph bitmaps from the program's resources; a missing one
    // leaves its button without a glyph.
    TWMediaPlayer(TComponent* owner, TControl* player, TSkinData* skinData);

    // The slots from the left, one per visible button, and their buttons.
    std::vector<TMPBtnType> VisibleButtons() const;
    int PressedSlot = -1;

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;

private:
    int SlotAt(int x) const;
    bool Listed(const wchar_t* property, TMPBtnType button) const;

    TControl* player_;
    TSkinData* skinData_;
    // Enabled, disabled and coloured glyphs, by button.
    std::array<TBitmap, kMPButtonCount> enabled_, disabled_, coloured_;
};
