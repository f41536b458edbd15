#pragma once
// The skin gallery: every class-library control in each of its states on
// one skinned form, and the same controls as a plain Win32 dialog beside it.
// Skin authors look at it; the screenshot tests photograph it.
#include <windows.h>

#include <string>

#include "classlib/Forms.h"
#include "classlib/Handles.h"

class TGalleryForm : public TForm {
    DECLARE_CLASS_INFO()
public:
    explicit TGalleryForm(TComponent* owner);

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);

    // The plain dialog, opened beside the form when the form is shown.
    HWND PlainDialog() const { return plainDialog_.get(); }
    void OpenPlainDialog();
    // Brings the page control's page index (0-based) to the front.
    void ShowPage(int index);
    // Writes folder\gallery.ready once every window has painted, and closes
    // the program when folder\gallery.shot appears: a screenshot handshake.
    void StartHandshake(const std::wstring& folder);

private:
    void HandshakeTick(TObject* sender);

    UniqueWindow plainDialog_;
    std::wstring handshakeFolder_;
    bool ready_ = false;
    int settledTicks_ = 0;
};
