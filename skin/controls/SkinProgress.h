#pragma once
// TSkinProgress: progress bars drawn from the skin's Progress element, as an
// empty and a full frame or as a frame with chunks (ProgressChunk). A
// vertical bar is composed lying down and turned upright.
#include "skin/controls/WinSubClass.h"

class TSkinProgress : public TSkinControl {
    DECLARE_CLASS_INFO()
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    bool HasElement() const;
    // The filled part of length pixels.
    int FilledLength(int length) const;
    void DrawFrames(HDC dc, int length, int height, int filled);
    void DrawChunks(HDC dc, int length, int height, int filled);
};
