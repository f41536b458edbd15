#pragma once
// Image lists: equal-sized images with masks in a comctl32 image list,
// made when first needed. Changing the size empties the list.
#include <windows.h>
#include <commctrl.h>

#include "classlib/Component.h"
#include "classlib/Handles.h"
#include "core/Colour.h"

class TBitmap;
class TCanvas;
class TIcon;

class TImageList : public TComponent {
    DECLARE_CLASS_INFO()
public:
    explicit TImageList(TComponent* owner);
    ~TImageList() override;

    int Width() const { return width_; }
    void SetWidth(int width) { SetSize(width, height_); }
    int Height() const { return height_; }
    void SetHeight(int height) { SetSize(width_, height); }
    // Sides below 1 count as 1.
    void SetSize(int width, int height);

    int Count() const;
    HIMAGELIST Handle();
    bool HandleAllocated() const { return static_cast<bool>(handle_); }

    // Each adds as many images as fit across the bitmap (Width each) and
    // returns the index of the first, or -1. The caller's bitmaps are left
    // as they are.
    int Add(TBitmap& image, TBitmap* mask);
    // Pixels of maskColour become transparent.
    int AddMasked(TBitmap& image, TColor maskColour);
    int AddIcon(TIcon& icon);
    void Delete(int index);
    void Clear();

    // Draws image index with its mask; a disabled image is drawn embossed
    // in the button highlight and shadow colours.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);
    // image becomes a Width x Height 24-bit copy of image index on black;
    // false (image unchanged) for an index outside the list.
    bool GetBitmap(int index, TBitmap& image);

    TNotifyEvent OnChange;

private:
    void Changed();

    int width_ = 16;
    int height_ = 16;
    UniqueImageList handle_;
};
