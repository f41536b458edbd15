#include "tools/showcase/GalleryForm.h"

#include <commctrl.h>

#include <array>

#include "classlib/BitBtn.h"
#include "classlib/Canvas.h"
#include "classlib/LayoutReader.h"
#include "classlib/PageControl.h"
#include "classlib/SpeedButton.h"
#include "classlib/Timer.h"
#include "skin/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "tools/showcase/GalleryDialog.h"

namespace {

// Fills the plain dialog's controls with one of each state the painters draw.
void FillPlainDialog(HWND dialog) {
    CheckDlgButton(dialog, IDC_PLAIN_CHECKED, BST_CHECKED);
    CheckDlgButton(dialog, IDC_PLAIN_GRAYED, BST_INDETERMINATE);
    CheckDlgButton(dialog, IDC_PLAIN_CHECK_DISABLED, BST_CHECKED);
    CheckDlgButton(dialog, IDC_PLAIN_RADIO1, BST_CHECKED);
    SetDlgItemTextW(dialog, IDC_PLAIN_EDIT, L"编辑框 Edit");
    SendDlgItemMessageW(dialog, IDC_PLAIN_PROGRESS, PBM_SETPOS, 60, 0);
    SendDlgItemMessageW(dialog, IDC_PLAIN_TRACK, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    SendDlgItemMessageW(dialog, IDC_PLAIN_TRACK, TBM_SETPOS, TRUE, 4);

    const std::array<const wchar_t*, 3> columns{L"Name 名字", L"Size", L"Type"};
    HWND header = GetDlgItem(dialog, IDC_PLAIN_HEADER);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.cxy = 100;
        item.fmt = HDF_STRING | (i == 1 ? HDF_RIGHT : HDF_LEFT);
        item.pszText = const_cast<wchar_t*>(columns[i]);
        SendMessageW(header, HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }

    HWND status = GetDlgItem(dialog, IDC_PLAIN_STATUS);
    const int parts[] = {150, 260, -1};
    SendMessageW(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"就绪 Ready"));
    SendMessageW(status, SB_SETTEXTW, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>(L"Raised"));
    SendMessageW(status, SB_SETTEXTW, 2 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(L"No border"));
}

INT_PTR CALLBACK PlainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: FillPlainDialog(dialog); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) ShowWindow(dialog, SW_HIDE);
        return TRUE;
    default: return FALSE;
    }
}

// A 16 x 16 glyph on olive, the colour the buttons leave out: a filled
// shape in the given colour (0 circle, 1 square, 2 triangle, 3 diamond).
void DrawGlyph(TBitmap& glyph, COLORREF ink, int shape) {
    glyph.SetPixelFormat(TPixelFormat::pf24bit);
    glyph.SetSize(16, 16);
    HDC dc = glyph.Canvas()->Handle();
    const RECT all{0, 0, 16, 16};
    UniqueBrush olive(CreateSolidBrush(RGB(128, 128, 0)));
    FillRect(dc, &all, olive.get());
    UniqueBrush fill(CreateSolidBrush(ink));
    UniquePen edge(CreatePen(PS_SOLID, 1, ink));
    const HGDIOBJ oldBrush = SelectObject(dc, fill.get());
    const HGDIOBJ oldPen = SelectObject(dc, edge.get());
    const POINT triangle[] = {{8, 2}, {14, 13}, {2, 13}};
    const POINT diamond[] = {{8, 1}, {14, 8}, {8, 14}, {2, 8}};
    switch (shape) {
    case 0: Ellipse(dc, 2, 2, 14, 14); break;
    case 1: Rectangle(dc, 3, 3, 13, 13); break;
    case 2: Polygon(dc, triangle, 3); break;
    default: Polygon(dc, diamond, 4); break;
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

}  // namespace

const TClassInfo& TGalleryForm::StaticClass() {
    static const TClassInfo info(L"TGalleryForm", &TForm::StaticClass(), {},
                                 {
                                     props::Handler(L"FormCreate", &TGalleryForm::FormCreate),
                                     props::Handler(L"FormShow", &TGalleryForm::FormShow),
                                 });
    return info;
}

TGalleryForm::TGalleryForm(TComponent* owner) : TForm(owner) {
    // The layout names the skin data by class.
    static const bool registered = [] {
        RegisterComponentClass<TSkinData>();
        return true;
    }();
    (void)registered;
}

void TGalleryForm::FormCreate(TObject*) {
    const struct {
        const wchar_t* name;
        COLORREF ink;
        int shape;
    } glyphs[] = {
        {L"BitOk", RGB(0, 150, 0), 0},          {L"BitDisabled", RGB(200, 0, 0), 2},
        {L"SpeedDown", RGB(0, 90, 200), 1},     {L"SpeedUp", RGB(0, 150, 0), 0},
        {L"SpeedFlat", RGB(200, 0, 0), 2},      {L"SpeedDisabled", RGB(120, 0, 160), 3},
    };
    for (const auto& g : glyphs) {
        TComponent* c = FindComponent(g.name);
        if (auto* bit = As<TBitBtn>(c)) DrawGlyph(*bit->Glyph(), g.ink, g.shape);
        if (auto* speed = As<TSpeedButton>(c)) DrawGlyph(*speed->Glyph(), g.ink, g.shape);
    }
}

void TGalleryForm::FormShow(TObject*) { OpenPlainDialog(); }

void TGalleryForm::ShowPage(int index) {
    if (auto* pages = As<TPageControl>(FindComponent(L"Pages")); pages && index >= 0 && index < pages->PageCount())
        pages->SetActivePageIndex(index);
}

void TGalleryForm::OpenPlainDialog() {
    if (plainDialog_) return;
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    plainDialog_.reset(CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_GALLERY_PLAIN), nullptr,
                                          PlainDialogProc, 0));
    if (!plainDialog_) return;
    // Beside the form, top edges level.
    RECT form{};
    GetWindowRect(Handle(), &form);
    SetWindowPos(plainDialog_.get(), nullptr, form.right + 12, form.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(plainDialog_.get(), SW_SHOWNOACTIVATE);
}

void TGalleryForm::StartHandshake(const std::wstring& folder) {
    handshakeFolder_ = folder;
    auto* timer = TComponent::Create<TTimer>(this);
    timer->SetInterval(500);
    timer->SetOnTimer([this](TObject* sender) { HandshakeTick(sender); });
}

// Ready once the form and the plain dialog are skinned and two more ticks
// have let every control repaint with its painter.
void TGalleryForm::HandshakeTick(TObject*) {
    const bool skinned = SendMessageW(Handle(), SKM_ISSKINNED, 0, 0) == 1 &&
                         (!plainDialog_ || SendMessageW(plainDialog_.get(), SKM_ISSKINNED, 0, 0) == 1);
    settledTicks_ = skinned ? settledTicks_ + 1 : 0;
    if (!ready_ && settledTicks_ < 3) return;
    if (!ready_) {
        HANDLE file = CreateFileW((handshakeFolder_ + L"\\gallery.ready").c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        ready_ = true;
    } else if (GetFileAttributesW((handshakeFolder_ + L"\\gallery.shot").c_str()) != INVALID_FILE_ATTRIBUTES) {
        Close();
    }
}
