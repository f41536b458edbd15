// The skin gallery, as skin authors see it: every control of the class
// library on one form with the shipped skin, switched off and on as a
// program would.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "TestSupport.h"
#include "classlib/LayoutReader.h"
#include "classlib/StandardClasses.h"
#include "skin/SkinMessages.h"
#include "skin/controls/SkinManager.h"
#include "skin/data/WinSkinData.h"
#include "tools/showcase/GalleryForm.h"

namespace {

struct Gallery {
    TGalleryForm* form;
    TSkinData* skin;

    Gallery() {
        TSkinManage::FreeInstance();
        RegisterStandardClasses();
        form = TComponent::Create<TGalleryForm>(Application);
        ReadFormLayout(*form);
        skin = As<TSkinData>(form->FindComponent(L"SkinData1"));
        form->DoCreate();
        form->Show();
        SetForegroundWindow(form->Handle());
        EXPECT_TRUE(WaitSkinned(true));
    }
    ~Gallery() {
        form->Free();
        TSkinManage::FreeInstance();
    }
    Gallery(const Gallery&) = delete;
    Gallery& operator=(const Gallery&) = delete;

    bool Skinned(HWND wnd) const { return SendMessageW(wnd, SKM_ISSKINNED, 0, 0) == 1; }
    // The form, its controls and the plain dialog all skinned (or none).
    // Switched on, the form is skinned at once and a plain window when it
    // is next activated, as the manager does for windows it did not make.
    bool WaitSkinned(bool on) {
        if (on) {
            PumpUntil([&] { return Skinned(form->Handle()); });
            SetForegroundWindow(form->PlainDialog());
            PumpUntil([&] { return Skinned(form->PlainDialog()); });
            SetForegroundWindow(form->Handle());
        }
        const bool done = PumpUntil([&] {
            return Skinned(form->Handle()) == on && Skinned(FindControl(L"ButtonNormal")) == on &&
                   Skinned(form->PlainDialog()) == on;
        });
        PumpFor(50);
        return done;
    }
    HWND FindControl(const wchar_t* name) const {
        auto* control = As<TWinControl>(form->FindComponent(name));
        return control ? control->Handle() : nullptr;
    }
    void Switch(bool on) {
        skin->SetActive(on);
        EXPECT_TRUE(WaitSkinned(on)) << (on ? "skinning" : "unskinning") << " never finished: form "
                                     << Skinned(form->Handle()) << ", button " << Skinned(FindControl(L"ButtonNormal"))
                                     << ", dialog " << Skinned(form->PlainDialog());
    }
    // One paint of the whole form, frame and every control, in milliseconds.
    double PaintMs() const {
        const auto start = std::chrono::steady_clock::now();
        RedrawWindow(form->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        GdiFlush();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
};

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

}  // namespace

TEST(Gallery, WholeFormPaintSkinnedAgainstPlainAndSkinOffAndOnLeaksNothing) {
    Gallery g;
    // The tab page: the form's own controls and the tab painters; the list
    // and entry pages bring the scroll-bar overlays and combo painters in.
    g.form->ShowPage(2);
    PumpFor(200);
    // Alternated rounds, the median of each: the machine's other work is noise.
    std::vector<double> skinned, plain;
    for (int round = 0; round < 5; ++round) {
        g.PaintMs();  // the first paint after a switch also lays out
        skinned.push_back(g.PaintMs());
        g.Switch(false);
        g.PaintMs();
        plain.push_back(g.PaintMs());
        g.Switch(true);
    }
    std::sort(skinned.begin(), skinned.end());
    std::sort(plain.begin(), plain.end());
    std::printf("[ gallery ] one paint of the whole form, median of 5: skinned %.1f ms, plain %.1f ms (%.2fx)\n",
                skinned[2], plain[2], skinned[2] / plain[2]);
    // The aim: no more than twice the plain paint (it is about even).
    EXPECT_LT(skinned[2], plain[2] * 2);

    // Two hundred switches later, every GDI object taken while skinned is
    // given back (a few minutes: each switch waits for every window to answer).
    // No window made while skinned (the scroll-bar overlays) outlives it either.
    const auto childWindows = [&] {
        int count = 0;
        EnumChildWindows(g.form->Handle(), &CountWindow, reinterpret_cast<LPARAM>(&count));
        return count;
    };
    const long live = LiveGdiObjects();
    const int children = childWindows();
    for (int cycle = 0; cycle < 200; ++cycle) {
        g.Switch(false);
        g.Switch(true);
    }
    EXPECT_LE(LiveGdiObjects(), live + 4);
    EXPECT_EQ(childWindows(), children);
    EXPECT_EQ(TSkinManage::Instance()->SkinnedFormCount(), 2) << "the form and the plain dialog, once each";
}

// The stored layout's list view and tree view reach their windows whole, and
// the list view's header is skinned with it.
TEST(Gallery, TheLayoutsListViewAndTreeViewReachTheirWindowsAndTheHeaderIsSkinned) {
    Gallery g;
    HWND list = g.FindControl(L"ListView1");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 15);
    const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    ASSERT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
    wchar_t caption[32] = {};
    HDITEMW column{};
    column.mask = HDI_TEXT | HDI_WIDTH;
    column.pszText = caption;
    column.cchTextMax = 32;
    ASSERT_TRUE(SendMessageW(header, HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&column)));
    EXPECT_EQ(std::wstring(caption), L"Name 名字");
    EXPECT_EQ(column.cxy, 100);
    EXPECT_TRUE(g.Skinned(header));

    HWND tree = g.FindControl(L"TreeView1");
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 12);
    const auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(root)), 0) << "one root";
    int children = 0;
    for (auto child = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
         child; child = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child))))
        ++children;
    EXPECT_EQ(children, 11);

    g.Switch(false);
    EXPECT_FALSE(g.Skinned(header)) << "the header's painter goes with the list view's";
}
