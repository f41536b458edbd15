// Tab controls and page controls skinned with the shipped skin: the tab faces
// and the pane on each of the four sides against the skin's own Tabs frames,
// the close boxes asking the form, and pages changed by real clicks.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <vector>

#include "CaptionTestSupport.h"
#include "ShippedSkinSupport.h"
#include "classlib/LayoutReader.h"
#include "classlib/PageControl.h"
#include "classlib/StandardClasses.h"
#include "classlib/TabControl.h"
#include "classlib/TabSet.h"
#include "skin/SkinMessages.h"
#include "skin/controls/SkinTab.h"
#include "skin/controls/SkinTab31.h"
#include "skin/controls/SkinTabSheet.h"
#include "skin/data/BitmapOps.h"
#include "skin/data/SkinElements.h"

using namespace caption_test;

namespace {

RECT ItemRect(HWND wnd, int index) {
    RECT r{};
    SendMessageW(wnd, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

// Where a picture lying as for top tabs lands on the window: the point of
// the window showing pixel (x, y) of the picture whose top-left corner is
// put at the rectangle's tab-side corner.
using Placement = std::function<POINT(int x, int y)>;

// Compares the w x h block at the picture's top-left of `frame` of a strip
// of `frames` side-by-side images with the window, magenta skipped.
::testing::AssertionResult Shows(HWND wnd, TBitmap& strip, int frames, int frame, int w, int h, bool flipped,
                                 const Placement& at) {
    const int fw = strip.Width() / frames, fh = strip.Height();
    HDC source = strip.Canvas()->Handle();
    WindowDC screen(wnd);
    int compared = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const COLORREF want = GetPixel(source, (frame - 1) * fw + x, flipped ? fh - 1 - y : y);
            if (want == kMagenta) continue;
            const POINT p = at(x, y);
            const COLORREF got = GetPixel(screen.get(), p.x, p.y);
            if (got != want)
                return ::testing::AssertionFailure() << "frame " << frame << " pixel (" << x << "," << y << ") at ("
                                                     << p.x << "," << p.y << "): screen " << std::hex << got
                                                     << ", skin " << want;
            ++compared;
        }
    if (compared == 0) return ::testing::AssertionFailure() << "nothing to compare";
    return ::testing::AssertionSuccess();
}

// A tab control on each side and a page control with close boxes whose
// second page is the active one.
constexpr const char* kLayout = R"(object TabsForm: TForm
  Left = 20
  Top = 20
  Width = 760
  Height = 600
  object Top: TTabControl
    Left = 10
    Top = 10
    Width = 350
    Height = 120
    Tabs.Strings = (
      'One'
      'Two'
      'Three')
    TabIndex = 1
  end
  object Bottom: TTabControl
    Left = 370
    Top = 10
    Width = 350
    Height = 120
    TabPosition = tpBottom
    Tabs.Strings = (
      'One'
      'Two'
      'Three')
    TabIndex = 1
  end
  object Left: TTabControl
    Left = 10
    Top = 140
    Width = 350
    Height = 160
    TabPosition = tpLeft
    Tabs.Strings = (
      'One'
      'Two'
      'Three')
    TabIndex = 1
  end
  object Right: TTabControl
    Left = 370
    Top = 140
    Width = 350
    Height = 160
    TabPosition = tpRight
    Tabs.Strings = (
      'One'
      'Two'
      'Three')
    TabIndex = 1
  end
  object Pages: TPageControl
    Left = 10
    Top = 320
    Width = 400
    Height = 200
    Tag = 7777
    ActivePage = Beta
    object Alpha: TTabSheet
      Caption = 'Alpha'
    end
    object Beta: TTabSheet
      Caption = 'Beta'
    end
    object Gamma: TTabSheet
      Caption = 'Gamma'
    end
  end
  object Buttons: TPageControl
    Left = 430
    Top = 400
    Width = 300
    Height = 120
    Style = tsButtons
    object Red: TTabSheet
      Caption = 'Red'
    end
    object Green: TTabSheet
      Caption = 'Green'
    end
  end
  object Sheets: TTabSet
    Left = 430
    Top = 330
    Width = 300
    Height = 24
    Tabs.Strings = (
      'January'
      'February'
      'March'
      'April'
      'May'
      'June'
      'July'
      'August')
    TabIndex = 1
  end
end
)";

// The layout's form, skinned through the manager as the program's forms are.
struct TabsForm {
    SkinHost host;
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    std::vector<TTabControl*> sides;  // top, bottom, left, right
    TPageControl* pages;
    std::vector<TTabSheet*> sheets;
    TTabSet* tabSet;
    TPageControl* buttons;
    std::vector<LPARAM> asked;
    LRESULT answer = 0;

    explicit TabsForm(const std::function<void(TSkinData&)>& prepareSkin = {}, bool skinned = true) {
        if (prepareSkin) prepareSkin(*host.Skin);
        // An inactive manager leaves new windows alone.
        TSkinManage::Instance()->Active = skinned;
        RegisterStandardClasses();
        ReadLayoutText(*form, kLayout);
        for (const wchar_t* name : {L"Top", L"Bottom", L"Left", L"Right"})
            sides.push_back(As<TTabControl>(form->FindComponent(name)));
        pages = As<TPageControl>(form->FindComponent(L"Pages"));
        for (const wchar_t* name : {L"Alpha", L"Beta", L"Gamma"})
            sheets.push_back(As<TTabSheet>(form->FindComponent(name)));
        tabSet = As<TTabSet>(form->FindComponent(L"Sheets"));
        buttons = As<TPageControl>(form->FindComponent(L"Buttons"));
        const TWndMethod plain = form->WindowProc;
        form->WindowProc = [this, plain](TMessage& m) {
            if (m.Msg == SKM_CANCLOSETAB) {
                asked.push_back(m.LParam);
                m.Result = answer;
                return;
            }
            plain(m);
        };
        form->Show();
        SetForegroundWindow(form->Handle());
        if (skinned) TSkinManage::Instance()->SkinWindow(form->Handle());
        PumpUntil([&] { return !skinned || (PainterOf<TSkinTab>(pages) && PainterOf<TSkinTab>(sides[3])); });
        MoveMouse({2, 1000});
        PumpFor(200);
    }
    TDataSkinBorder& Tabs() const { return *host.Skin->Tabs; }
};

// The display area as the painter is to frame it: the control's own, grown
// over its border, one pixel toward the tabs.
RECT PaneArea(HWND wnd, int side) {
    RECT r{};
    GetClientRect(wnd, &r);
    SendMessageW(wnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    InflateRect(&r, 4, 4);
    if (side == 0) ++r.top;
    if (side == 1) --r.bottom;
    if (side == 2) ++r.left;
    if (side == 3) --r.right;
    return r;
}

}  // namespace

TEST(SkinTab, FacesAndPaneAreTheSkinsFramesOnEverySide) {
    for (int paneStyle : {0, 1}) {
        SCOPED_TRACE(paneStyle == 0 ? "pane from the Tabs element" : "pane from TabPane");
        TabsForm w([&](TSkinData& skin) {
            skin.Tabs->Style = paneStyle;
            // The shipped skin keeps its pane apart; the same picture serves
            // as the Tabs element's own.
            if (paneStyle == 0 && skin.TabPane) CloneBitmap(skin.TabPane->Bitmap, skin.Tabs->Bitmap2);
        });
        TDataSkinBorder& tabs = w.Tabs();
        TDataSkinObject* tabPane = w.host.Skin->TabPane.get();
        ASSERT_TRUE(tabPane);
        TBitmap& pane = paneStyle == 0 ? tabs.Bitmap2 : tabPane->Bitmap;
        const RECT paneMargins = paneStyle == 0 ? RECT{4, 5, 4, 4} : tabPane->Margins;
        ASSERT_FALSE(tabs.Bitmap.Empty());
        ASSERT_FALSE(pane.Empty());
        const int mw = tabs.Margins.left, mh = std::min(tabs.Margins.top, tabs.Margins.bottom);
        // Per side: where pixel (x, y) of an upright tab face lands. The
        // corner checked is the one away from the pane, which overlaps the
        // tabs' edge on that side.
        struct Row {
            const char* name;
            std::function<POINT(const RECT& item, int x, int y)> face;
        };
        const Row rows[] = {
            {"top", [](const RECT& i, int x, int y) { return POINT{i.left + x, i.top + 1 + y}; }},
            // Upside down, one pixel up: the face's top-left corner goes to the bottom-left.
            {"bottom", [](const RECT& i, int x, int y) { return POINT{i.left + x, i.bottom - 2 - y}; }},
            // Turned counter-clockwise: the face's top-left corner goes to the bottom-left.
            {"left", [](const RECT& i, int x, int y) { return POINT{i.left + y, i.bottom - 1 - x}; }},
            // Turned clockwise: the top-left corner goes to the top-right.
            {"right", [](const RECT& i, int x, int y) { return POINT{i.right - 1 - y, i.top - 1 + x}; }},
        };
        for (int side = 0; side < 4; ++side) {
            const Row& row = rows[side];
            SCOPED_TRACE(row.name);
            HWND wnd = w.sides[static_cast<std::size_t>(side)]->Handle();
            for (int item = 0; item < 3; ++item) {
                const RECT r = ItemRect(wnd, item);
                EXPECT_TRUE(Shows(wnd, tabs.Bitmap, tabs.Frame, item == 1 ? 2 : 1, mw, mh, false,
                                  [&](int x, int y) { return row.face(r, x, y); }))
                    << "tab " << item;
            }
            // The pane, turned as the tabs are, nine-sliced over the display area.
            TBitmap oriented;
            CloneBitmap(pane, oriented);
            oriented.SetPixelFormat(TPixelFormat::pf24bit);
            if (side == 1) FlipVertical(oriented);
            if (side == 2) RotateLeft(oriented);
            if (side == 3) RotateRight(oriented);
            const RECT area = PaneArea(wnd, side);
            EXPECT_TRUE(Shows(wnd, oriented, 1, 1, paneMargins.left, paneMargins.top, false,
                              [&](int x, int y) { return POINT{area.left + x, area.top + y}; }))
                << "pane";
        }
        // Button-style tabs are the skin's button faces, one pixel down.
        TDataSkinButton& faces = *w.host.Skin->Buttons;
        HWND wnd = w.buttons->Handle();
        for (int item = 0; item < 2; ++item) {
            const RECT r = ItemRect(wnd, item);
            EXPECT_TRUE(Shows(wnd, faces.Bitmap, faces.Frame, item == 0 ? 2 : 1, faces.Margins.left,
                              faces.Margins.top, false, [&](int x, int y) { return POINT{r.left + x, r.top + 1 + y}; }))
                << "button " << item;
        }
    }
}

TEST(SkinTab, TabSetDrawsTheTabsThatFitUpsideDownAndKeepsRoomForItsScroller) {
    TabsForm w;
    ASSERT_TRUE(PumpUntil([&] { return PainterOf<TSkinTab31>(w.tabSet) != nullptr; }));
    PumpFor(100);
    TTabSet& set = *w.tabSet;
    HWND wnd = set.Handle();
    TDataSkinBorder& tabs = w.Tabs();
    // Four tabs would end 15 pixels before the end margin: room enough
    // without the scroller, too little beside it.
    int fourTabs = set.StartMargin();
    for (int i = 0; i < 4; ++i) fourTabs += set.TabWidth(set.Tabs()->Get(i));
    set.SetBounds(set.Left(), set.Top(), fourTabs + set.EndMargin() + 15, set.Height());
    PumpFor(100);
    const std::vector<RECT> shown = set.VisibleTabs();
    EXPECT_TRUE(set.Scroller()->Visible());
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_LE(shown.back().right, set.Scroller()->Left());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const RECT r = shown[i];
        EXPECT_TRUE(Shows(wnd, tabs.Bitmap, tabs.Frame, i == 1 ? 2 : 1, tabs.Margins.left, tabs.Margins.top, true,
                          [&](int x, int y) { return POINT{r.left + x, r.top + y}; }))
            << "tab " << i;
    }
    // Past the last tab that fits only the face colour, up to the scroller.
    const COLORREF face = ColorToRGB(w.host.Skin->ButtonFaceColour);
    WindowDC dc(wnd);
    for (int x = shown.back().right + 1; x < set.Scroller()->Left(); ++x)
        EXPECT_EQ(GetPixel(dc.get(), x, set.Height() / 2), face) << x;
}

TEST(SkinTab, CloseBoxClickAsksTheFormAndFreesThePageOnlyWhenAllowed) {
    TabsForm w;
    HWND wnd = w.pages->Handle();
    const auto clickCloseBox = [&](int index) {
        const RECT item = ItemRect(wnd, index);
        // The box's centre: 6 x 6 pixels at the tab's top-right corner.
        Click(w.pages->ClientToScreen({item.right - 5, item.top + 6}));
        PumpFor(150);
    };
    ASSERT_EQ(w.pages->ActivePage(), w.sheets[1]);
    w.answer = 1;
    clickCloseBox(0);
    EXPECT_EQ(w.asked, std::vector<LPARAM>{0});
    EXPECT_EQ(w.pages->PageCount(), 3);
    // The click went to the box, not to the tab under it.
    EXPECT_EQ(w.pages->ActivePage(), w.sheets[1]);

    w.answer = 0;
    clickCloseBox(1);
    EXPECT_EQ(w.asked, (std::vector<LPARAM>{0, 1}));
    ASSERT_EQ(w.pages->PageCount(), 2);
    EXPECT_EQ(w.pages->Pages(0), w.sheets[0]);
    EXPECT_EQ(w.pages->Pages(1), w.sheets[2]);
    EXPECT_EQ(SendMessageW(wnd, TCM_GETITEMCOUNT, 0, 0), 2);
    // The page after the freed active one takes its place.
    EXPECT_EQ(w.pages->ActivePage(), w.sheets[2]);
    EXPECT_TRUE(w.sheets[2]->Visible());

    // Away from the box the click selects the tab as usual, without asking.
    const RECT first = ItemRect(wnd, 0);
    Click(w.pages->ClientToScreen({first.left + 6, (first.top + first.bottom) / 2}));
    PumpFor(150);
    EXPECT_EQ(w.asked.size(), 2u);
    EXPECT_EQ(w.pages->ActivePage(), w.sheets[0]);
}

TEST(SkinTab, RealClicksChangeThePageAndTheSelectedFace) {
    TabsForm w;
    HWND wnd = w.pages->Handle();
    TDataSkinBorder& tabs = w.Tabs();
    EXPECT_TRUE(PainterOf<TSkinTabSheet>(w.sheets[0]));
    EXPECT_EQ(w.pages->ActivePage(), w.sheets[1]);
    for (int target : {2, 0, 1}) {
        SCOPED_TRACE(target);
        const RECT item = ItemRect(wnd, target);
        Click(w.pages->ClientToScreen({item.left + 8, (item.top + item.bottom) / 2 + 2}));
        PumpFor(200);
        EXPECT_EQ(w.pages->ActivePage(), w.sheets[static_cast<std::size_t>(target)]);
        EXPECT_EQ(w.pages->TabIndex(), target);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(w.sheets[static_cast<std::size_t>(i)]->Visible(), i == target) << "sheet " << i;
            const RECT r = ItemRect(wnd, i);
            EXPECT_TRUE(Shows(wnd, tabs.Bitmap, tabs.Frame, i == target ? 2 : 1, tabs.Margins.left, tabs.Margins.top,
                              false, [&](int x, int y) { return POINT{r.left + x, r.top + 1 + y}; }))
                << "tab " << i;
        }
    }
}

namespace {

struct Look {
    TColor colour;
    LONG_PTR style, exStyle;
    LRESULT selected, count;
    bool visible;
    std::vector<COLORREF> pixels;
    bool operator==(const Look&) const = default;
};

Look LookOf(TWinControl* c) {
    HWND wnd = c->Handle();
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r{};
    GetClientRect(wnd, &r);
    std::vector<COLORREF> pixels;
    WindowDC dc(wnd);
    for (int y = 0; y < r.bottom; y += 2)
        for (int x = 0; x < r.right; x += 2) pixels.push_back(GetPixel(dc.get(), x, y));
    return {c->Color(),
            GetWindowLongPtrW(wnd, GWL_STYLE),
            GetWindowLongPtrW(wnd, GWL_EXSTYLE),
            SendMessageW(wnd, TCM_GETCURSEL, 0, 0),
            SendMessageW(wnd, TCM_GETITEMCOUNT, 0, 0),
            c->Visible(),
            std::move(pixels)};
}

}  // namespace

TEST(SkinTab, SkinningOffAndOnLeavesEveryControlAsItWas) {
    TabsForm w({}, false);
    std::vector<TWinControl*> controls(w.sides.begin(), w.sides.end());
    controls.push_back(w.tabSet);
    controls.push_back(w.pages);
    controls.push_back(w.sheets[0]);
    std::vector<Look> before;
    for (TWinControl* c : controls) before.push_back(LookOf(c));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        if (round > 0) TSkinManage::Instance()->RemoveForm(w.form->Handle());
        TSkinManage::Instance()->Active = true;
        TSkinManage::Instance()->SkinWindow(w.form->Handle());
        ASSERT_TRUE(PumpUntil([&] { return PainterOf<TSkinTab>(w.pages) && PainterOf<TSkinTabSheet>(w.sheets[0]); }));
        PumpFor(100);
        for (std::size_t i = 0; i + 1 < controls.size(); ++i) {
            EXPECT_TRUE(SendMessageW(controls[i]->Handle(), SKM_ISSKINNED, 0, 0)) << i;
            EXPECT_NE(LookOf(controls[i]).pixels, before[i].pixels) << i << " is not skinned";
        }
        SkinHost::Form(w.form->Handle())->Detach();
        PumpFor(100);
        for (std::size_t i = 0; i < controls.size(); ++i) EXPECT_TRUE(LookOf(controls[i]) == before[i]) << i;
    }
}

namespace {

// A page control of another family, known to discovery through the skin's
// third-party list, that draws its tabs from two published pictures.
class TAdvPageControl : public TCustomControl {
    DECLARE_CLASS_INFO()
public:
    using TCustomControl::TCustomControl;
    TBitmap* TabBackGround() const { return normal_.get(); }
    TBitmap* TabBackGroundActive() const { return active_.get(); }

private:
    std::unique_ptr<TBitmap> normal_ = std::make_unique<TBitmap>();
    std::unique_ptr<TBitmap> active_ = std::make_unique<TBitmap>();
};

const TClassInfo& TAdvPageControl::StaticClass() {
    static const TClassInfo info(L"TAdvPageControl", &TCustomControl::StaticClass(),
                                 {props::Object(L"TabBackGround", &TAdvPageControl::TabBackGround),
                                  props::Object(L"TabBackGroundActive", &TAdvPageControl::TabBackGroundActive)});
    return info;
}

}  // namespace

TEST(SkinTab, ExternalPageControlGetsTheTabFacesAsPicturesWhileSkinned) {
    SkinHost host;
    host.Skin->Skin3rd()->Add(L"TAdvPageControl=advpagecontrol");
    TDataSkinBorder& tabs = *host.Skin->Tabs;
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(20, 20, 300, 200);
    auto* pages = TComponent::Create<TAdvPageControl>(form.get());
    pages->SetParent(form.get());
    pages->SetBounds(10, 10, 200, 100);
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return !pages->TabBackGround()->Empty(); }));
    int frame = 1;
    for (TBitmap* picture : {pages->TabBackGround(), pages->TabBackGroundActive()}) {
        SCOPED_TRACE(frame);
        ASSERT_EQ(picture->Width(), 100);
        ASSERT_EQ(picture->Height(), 21);
        // The frame's corners, unscaled, at the picture's corners.
        const int fw = tabs.Bitmap.Width() / tabs.Frame, fh = tabs.Bitmap.Height();
        const int mw = tabs.Margins.left, mh = tabs.Margins.top;
        int wrong = 0;
        for (int y = 0; y < mh; ++y)
            for (int x = 0; x < mw; ++x) {
                wrong += picture->Canvas()->Pixel(x, y) != tabs.Bitmap.Canvas()->Pixel((frame - 1) * fw + x, y);
                wrong += picture->Canvas()->Pixel(99 - x, 20 - y) !=
                         tabs.Bitmap.Canvas()->Pixel(frame * fw - 1 - x, fh - 1 - y);
            }
        EXPECT_EQ(wrong, 0);
        ++frame;
    }
    SkinHost::Form(form->Handle())->Detach();
    EXPECT_TRUE(pages->TabBackGround()->Empty());
    EXPECT_TRUE(pages->TabBackGroundActive()->Empty());
}
