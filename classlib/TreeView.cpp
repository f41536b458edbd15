#include "classlib/TreeView.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

const TClassInfo& TCustomTreeView::StaticClass() {
    static const TClassInfo info(L"TCustomTreeView", &TWinControl::StaticClass(),
                                 {
                                     props::Object(L"Items", &TCustomTreeView::Items),
                                 });
    return info;
}

const TClassInfo& TTreeView::StaticClass() {
    static const TClassInfo info(L"TTreeView", &TCustomTreeView::StaticClass());
    return info;
}

TCustomTreeView::TCustomTreeView(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TStringList>()) {
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
    items_->OnChange = [this](TObject*) { FillItems(); };
}

TCustomTreeView::~TCustomTreeView() { items_->OnChange = nullptr; }

void TCustomTreeView::CreateParams(TCreateParams& p) {
    const INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_TREEVIEWW);
    p.ExStyle |= WS_EX_CLIENTEDGE;
    p.Style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;
}

void TCustomTreeView::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    FillItems();
}

void TCustomTreeView::FillItems() {
    if (!HandleAllocated()) return;
    HWND wnd = WindowHandle();
    SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
    SendMessageW(wnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    // The open nodes with their indents, shallowest first: a line's parent
    // is the last node indented less than it, however many blanks each
    // level takes.
    struct Open {
        std::size_t indent;
        HTREEITEM node;
    };
    std::vector<Open> parents;
    for (int i = 0; i < items_->Count(); ++i) {
        const std::wstring line = items_->Get(i);
        const std::size_t indent = std::min(line.find_first_not_of(L"\t "), line.size());
        std::wstring text = line.substr(indent);
        while (!parents.empty() && parents.back().indent >= indent) parents.pop_back();
        TVINSERTSTRUCTW insert{};
        insert.hParent = parents.empty() ? TVI_ROOT : parents.back().node;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = text.data();
        const auto node =
            reinterpret_cast<HTREEITEM>(SendMessageW(wnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        parents.push_back({indent, node});
    }
    SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(wnd, nullptr, TRUE);
}
