#pragma once
// Push buttons with a glyph beside the caption, drawn by the control
// itself (an owner-drawn "BUTTON").
#include <memory>

#include "classlib/Bitmap.h"
#include "classlib/Button.h"
#include "classlib/ButtonLayout.h"

class TImageList;

enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

class TBitBtn : public TButton {
    DECLARE_CLASS_INFO()
public:
    explicit TBitBtn(TComponent* owner);

    TBitmap* Glyph() const { return glyph_.get(); }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int v);
    // A standard kind gives the caption and modal result of its kind.
    TBitBtnKind Kind() const { return kind_; }
    void SetKind(TBitBtnKind v);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout v);
    int Spacing() const { return spacing_; }
    void SetSpacing(int v);
    int Margin() const { return margin_; }
    void SetMargin(int v);
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* v);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v);

    void Notification(TComponent* component, TOperation operation) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& item);

    std::unique_ptr<TBitmap> glyph_ = std::make_unique<TBitmap>();
    int numGlyphs_ = 1;
    TBitBtnKind kind_ = TBitBtnKind::bkCustom;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    int spacing_ = 4;
    int margin_ = -1;
    TImageList* images_ = nullptr;
    int imageIndex_ = -1;
};
