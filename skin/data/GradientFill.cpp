#include "skin/data/GradientFill.h"

#include <algorithm>

#include "classlib/Handles.h"
#include "core/SystemColours.h"
#include "skin/data/BitmapEffects.h"

void GradientFill(HDC dc, const RECT& rect, TColor c1, bool vertical, TColor c2) {
    if (!RectVisible(dc, &rect)) return;
    c1 = ColorToRGB(c1);
    c2 = ColorToRGB(c2);
    const int start = vertical ? rect.top : rect.left;
    const int n = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    if (n <= 0) return;
    RECT clip{};
    if (GetClipBox(dc, &clip) == ERROR) return;
    const int clipStart = vertical ? clip.top : clip.left;
    const int clipEnd = vertical ? clip.bottom : clip.right;
    const int first = std::max(0, clipStart - start);
    const int last = std::min(n - 1, clipEnd - 1 - start);
    if (first > last) return;

    TGradientCache& cache = GradientCache();
    const auto ramp = cache.Ramp(cache.GradientColours(n, c1, c2));
    for (int band = first; band <= last; ++band) {
        const int at = start + band;
        const RECT line = vertical ? RECT{rect.left, at, rect.right, at + 1} : RECT{at, rect.top, at + 1, rect.bottom};
        UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(ramp[static_cast<std::size_t>(band)])));
        if (brush) FillRect(dc, &line, brush.get());
    }
}
