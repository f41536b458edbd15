#include "skin/controls/SkinRadioButton.h"

#include "skin/data/SkinElements.h"
#include "skin/data/WinSkinData.h"

const TClassInfo& TSkinRadioButton::StaticClass() {
    static const TClassInfo info(L"TSkinRadioButton", &TSkinCheckBox::StaticClass(), {});
    return info;
}

TBitmap* TSkinRadioButton::Strip(int& frames) const {
    TDataSkinButton* faces = SkinData ? SkinData->Buttons.get() : nullptr;
    return faces ? UsableStrip(faces->RadioBitmap, faces->RadioFrames, frames) : nullptr;
}

void TSkinRadioButton::AfterMessage(TMessage& message) {
    if (message.Msg == BM_SETCHECK) {
        Repaint();
        return;
    }
    TSkinCheckBox::AfterMessage(message);
}

int TSkinRadioButton::FrameIndex(int frames) {
    int index = SendMessageW(Window, BM_GETCHECK, 0, 0) == BST_CHECKED ? 2 : 1;
    if (Control && Control->HasProperty(L"Checked")) index = Control->GetProperty(L"Checked").AsBoolean() ? 2 : 1;
    return RadioButtonFrame(index, GetWindowLong(GWL_STYLE) & WS_DISABLED, frames);
}
