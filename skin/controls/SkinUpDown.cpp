#include "skin/controls/SkinUpDown.h"

#include <commctrl.h>

#include <array>

#include "classlib/Handles.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/WinSkinData.h"

namespace {

constexpr int kEdgeKeep = 3;  // the skinned edit's border width

enum class TArrow { Up, Down, Left, Right };

// A small filled arrow of lines around (cx, cy), its tip toward arrow.
void DrawPlainArrow(HDC dc, int cx, int cy, TArrow arrow) {
    for (int i = 0; i < 4; ++i) {
        const int half = 3 - i;
        switch (arrow) {
        case TArrow::Up:
            MoveToEx(dc, cx - half, cy + 1 - i, nullptr);
            LineTo(dc, cx + half + 1, cy + 1 - i);
            break;
        case TArrow::Down:
            MoveToEx(dc, cx - half, cy - 1 + i, nullptr);
            LineTo(dc, cx + half + 1, cy - 1 + i);
            break;
        case TArrow::Left:
            MoveToEx(dc, cx + 1 - i, cy - half, nullptr);
            LineTo(dc, cx + 1 - i, cy + half + 1);
            break;
        case TArrow::Right:
            MoveToEx(dc, cx - 1 + i, cy - half, nullptr);
            LineTo(dc, cx - 1 + i, cy + half + 1);
            break;
        }
    }
}

}  // namespace

int UpDownHalfIndex(bool cursorInside, bool pressed, bool enabled) {
    if (!enabled) return 3;
    return cursorInside && pressed ? 2 : 1;
}

const TClassInfo& TSkinUpDown::StaticClass() {
    static const TClassInfo info(L"TSkinUpDown", &TSkinControl::StaticClass(), {});
    return info;
}

TSkinUpDown::TSkinUpDown(TComponent* owner) : TSkinControl(owner) {}

bool TSkinUpDown::BeforeMessage(TMessage& message) {
    if (!TSkinControl::BeforeMessage(message)) return false;
    switch (message.Msg) {
    case WM_PAINT:
        OwnerPaint(message);
        return false;
    case WM_ERASEBKGND:
        if (!Control) {
            RECT client{};
            GetClientRect(Window, &client);
            FillRect(reinterpret_cast<HDC>(message.WParam), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        }
        message.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallPrevious(message);
        MouseState |= kMousePressed;
        PaintFrame(nullptr);
        return false;
    case WM_LBUTTONUP:
        MouseState &= static_cast<std::uint8_t>(~kMousePressed);
        CallPrevious(message);
        PaintFrame(nullptr);
        return false;
    default:
        return true;
    }
}

RECT TSkinUpDown::ArrowArea(HDC dc, const RECT& rect) const {
    RECT area = rect;
    if (!BuddyFlag) return area;
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT self{}, edit{};
    if (!GetWindowRect(Window, &self) || !GetWindowRect(GetParent(Window), &edit)) return area;
    if (self.top - edit.top < kEdgeKeep) area.top += kEdgeKeep - (self.top - edit.top);
    if (edit.bottom - self.bottom < kEdgeKeep) area.bottom -= kEdgeKeep - (edit.bottom - self.bottom);
    if (edit.right - self.right < kEdgeKeep) area.right -= kEdgeKeep - (edit.right - self.right);
    return area;
}

void TSkinUpDown::Draw(HDC dc, const RECT& rect) {
    if (!SkinData) return;
    const RECT area = ArrowArea(dc, rect);
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;

    UniqueBitmap composition(CreateCompositionBitmap(width, height));
    MemoryDC target(dc, composition.get());
    HDC off = target.get();
    const RECT whole{0, 0, width, height};
    FillFace(off, whole);

    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(Window, &cursor);
    cursor.x -= area.left;
    cursor.y -= area.top;
    const bool enabled = !(GetWindowLong(GWL_STYLE) & WS_DISABLED);
    const bool horizontal = Mode == 1 || (GetWindowLong(GWL_STYLE) & UDS_HORZ);
    const std::array<RECT, 2> halves =
        horizontal ? std::array<RECT, 2>{RECT{0, 0, width / 2, height}, RECT{width / 2, 0, width, height}}
                   : std::array<RECT, 2>{RECT{0, 0, width, height / 2}, RECT{0, height / 2, width, height}};
    TDataSkinBorder* element = horizontal ? SkinData->UpDownHorz.get() : SkinData->UpDownVert.get();
    const bool skinned = element && !element->Bitmap.Empty() && element->Frame >= 8;

    for (int half = 0; half < 2; ++half) {
        const RECT& r = halves[static_cast<std::size_t>(half)];
        const int index = UpDownHalfIndex(PtInRect(&r, cursor) != FALSE, MouseState & kMousePressed, enabled);
        if (skinned) {
            DrawFrameStretched(off, r, element->Bitmap, true, 8, index + 4 * half);
            if (!element->Bitmap2.Empty()) DrawFrameCentred(off, r, element->Bitmap2, true, 8, index + 4 * half);
            continue;
        }
        UniqueBrush brush(CreateSolidBrush(
            ColorToRGB(index == 2 || index == 4 ? SkinData->ButtonShadowColour : SkinData->ButtonFaceColour)));
        UniquePen pen(CreatePen(PS_SOLID, 1, ColorToRGB(SkinData->ButtonDkShadowColour)));
        SelectedObject brushIn(off, brush.get());
        SelectedObject penIn(off, pen.get());
        Rectangle(off, r.left, r.top, r.right, r.bottom);
        const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
        if (horizontal) DrawPlainArrow(off, cx, cy, half == 0 ? TArrow::Left : TArrow::Right);
        else DrawPlainArrow(off, cx, cy - 2, half == 0 ? TArrow::Up : TArrow::Down);
    }
    BitBlt(dc, area.left, area.top, width, height, off, 0, 0, SRCCOPY);
}
