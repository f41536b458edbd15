// Skinned frames on real windows: a skin made here whose frame pieces carry
// a distinct pattern in every pixel, so the screen can be compared with the
// pieces themselves; the manager attaching forms and the system's dialogs.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "classlib/LayoutReader.h"
#include "classlib/Menus.h"
#include "core/BitmapFile.h"
#include "dictation/ContinuousDictationU.h"
#include "skin/SkinMessages.h"
#include "skin/data/ElementDrawing.h"
#include "skin/controls/SkinManager.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"
#include "tools/skinpack/ArchiveWriter.h"
#include "tools/skinpack/LZHEncoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Piece sizes of the test skin (one frame each; two frames per strip).
constexpr int kBorder = 6, kCaption = 30, kBottom = 7, kTopWidth = 80, kSideHeight = 40;
constexpr int kTopEnd = 16, kSideTopEnd = 12, kBottomEnd = 8;

// Every pixel of every piece and frame differs from its neighbours and
// from the key colour.
TColor Pattern(int piece, int frame, int x, int y) {
    return MakeColour((piece * 50 + frame * 20 + x * 3) % 200 + 20, (y * 7 + x) % 200 + 30, (x * 11 + y * 5) % 200 + 40);
}

enum class Shape { Plain, BottomKeyed, NoTop };

Bytes PieceFile(int piece, int frameWidth, int frameHeight, bool stacked, bool keyed) {
    const int width = stacked ? frameWidth : frameWidth * 2, height = stacked ? frameHeight * 2 : frameHeight;
    TBitmapFile file(width, height, 24);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = file.Row(y).data();
        for (int x = 0; x < width; ++x) {
            const int frame = stacked ? y / frameHeight + 1 : x / frameWidth + 1;
            const int fx = stacked ? x : x % frameWidth, fy = stacked ? y % frameHeight : y;
            // The bottom piece's outer corners are cut away by the key colour.
            const bool key = keyed && fy >= frameHeight - 3 && (fx < 3 || fx >= frameWidth - 3);
            const TColor c = key ? kElementKeyColour : Pattern(piece, frame, fx, fy);
            row[x * 3] = static_cast<std::uint8_t>(BlueOf(c));
            row[x * 3 + 1] = static_cast<std::uint8_t>(GreenOf(c));
            row[x * 3 + 2] = static_cast<std::uint8_t>(RedOf(c));
        }
    }
    return file.Encode();
}

Bytes TestSkin(Shape shape) {
    const bool keyed = shape == Shape::BottomKeyed;
    std::string ini =
        "[Personality]\r\nLeft=l.bmp\r\nLeftFrame=2\r\nLeftStretch=1\r\nLeftTrans=0\r\nLeftTopHeight=12\r\n"
        "LeftBotHeight=6\r\nRight=r.bmp\r\nRightFrame=2\r\nRightStretch=1\r\nRightTrans=0\r\nRightTopHeight=12\r\n"
        "RightBotHeight=6\r\nTopFrame=2\r\nTopStretch=1\r\nTopTrans=0\r\nTopTopHeight=16\r\nTopBotHeight=16\r\n"
        "Bottom=b.bmp\r\nBottomFrame=2\r\nBottomStretch=1\r\nBottomTopHeight=8\r\nBottomBotHeight=8\r\n"
        "TextShift=40\r\nTextRightClip=40\r\n";
    ini += keyed ? "BottomTrans=1\r\n" : "BottomTrans=0\r\n";
    if (shape != Shape::NoTop) ini += "Top=t.bmp\r\n";
    ini += "[Colours]\r\nButtonFace=200 200 200\r\n";
    std::vector<TArchiveEntry> files = {
        {"l.bmp", PieceFile(1, kBorder, kSideHeight, false, false)},
        {"r.bmp", PieceFile(2, kBorder, kSideHeight, false, false)},
        {"t.bmp", PieceFile(3, kTopWidth, kCaption, true, false)},
        {"b.bmp", PieceFile(4, kTopWidth, kBottom, true, keyed)},
        {"skin.ini", Bytes(ini.begin(), ini.end())},
    };
    Bytes archive = WriteArchive(files);
    const std::int32_t version = 20000;
    for (int i = 0; i < 4; ++i) archive[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(version >> (8 * i));
    const Bytes compressed = LZHEncode(archive);
    Bytes value(4 + compressed.size());
    const auto n = static_cast<std::uint32_t>(compressed.size());
    for (int i = 0; i < 4; ++i) value[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(n >> (8 * i));
    std::copy(compressed.begin(), compressed.end(), value.begin() + 4);
    return value;
}

// The manager, switched on, with one skin data of the given shape.
class SkinFormScope : public ::testing::Test {
protected:
    void SetUp() override { TSkinManage::FreeInstance(); }
    void TearDown() override {
        TSkinManage::FreeInstance();
        skin_.reset();
    }
    TSkinManage& Start(Shape shape) {
        skin_ = std::make_unique<TSkinData>(nullptr);
        skin_->SetProperty(L"SkinStream", TValue(TestSkin(shape)));
        TSkinManage& manager = TSkinManage::Ensure();
        manager.AddSkinData(skin_.get());
        manager.Active = true;
        manager.State = TSkinManage::kStateRunning;
        return manager;
    }
    static TWinSkinForm* Skinned(HWND window) {
        TSkinManage* manager = TSkinManage::Instance();
        return manager ? dynamic_cast<TWinSkinForm*>(manager->FindSkinnedForm(window)) : nullptr;
    }
    static bool Running(HWND window) {
        TWinSkinForm* form = Skinned(window);
        return form && form->AttachState == TWinSkinForm::kRunning;
    }
    std::unique_ptr<TForm> MakeForm(int x, int y, int clientWidth, int clientHeight) {
        auto form = std::make_unique<TForm>(nullptr);
        form->SetBounds(x, y, 100, 100);
        form->SetClientSize(clientWidth, clientHeight);
        form->Show();
        return form;
    }
    std::unique_ptr<TSkinData> skin_;
};

SIZE ClientSize(HWND wnd) {
    RECT r{};
    GetClientRect(wnd, &r);
    return SIZE{r.right, r.bottom};
}

COLORREF ScreenPixel(HWND wnd, int x, int y) {
    RECT r{};
    GetWindowRect(wnd, &r);
    WindowDC screen(nullptr);
    return GetPixel(screen.get(), r.left + x, r.top + y);
}

// Counts the frame-end pixels on screen that differ from the skin's pieces.
int FrameEndMismatches(HWND wnd, int frame) {
    RECT r{};
    GetWindowRect(wnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    int wrong = 0;
    const auto expect = [&](int x, int y, TColor colour) {
        if (ScreenPixel(wnd, x, y) != static_cast<COLORREF>(ColorToRGB(colour))) ++wrong;
    };
    for (int y = 0; y < kCaption; y += 3)
        for (int x = 0; x < kTopEnd; ++x) {
            expect(kBorder + x, y, Pattern(3, frame, x, y));                              // caption, left end
            expect(w - kBorder - kTopEnd + x, y, Pattern(3, frame, kTopWidth - kTopEnd + x, y));  // right end
        }
    for (int y = 0; y < kSideTopEnd; ++y)
        for (int x = 0; x < kBorder; ++x) {
            expect(x, y, Pattern(1, frame, x, y));                                        // left piece, top end
            expect(w - kBorder + x, y, Pattern(2, frame, x, y));                          // right piece, top end
        }
    for (int y = 0; y < kBottom; ++y)
        for (int x = 0; x < kBottomEnd; ++x) expect(kBorder + x, h - kBottom + y, Pattern(4, frame, x, y));
    return wrong;
}

}  // namespace

TEST_F(SkinFormScope, FrameEndsOnScreenAreTheSkinsOwnPiecesActiveAndInactive) {
    TSkinManage& manager = Start(Shape::Plain);
    auto form = MakeForm(60, 60, 400, 300);
    SetWindowTextW(form->Handle(), L"");
    ASSERT_TRUE(manager.SkinWindow(form->Handle()));
    ASSERT_TRUE(PumpUntil([&] { return Running(form->Handle()); }));
    PumpFor(50);
    EXPECT_TRUE(Skinned(form->Handle())->Active);
    EXPECT_EQ(FrameEndMismatches(form->Handle(), 1), 0);

    // Another window takes the activation: the inactive frames.
    UniqueWindow other(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 700, 600, 50, 50, nullptr, nullptr,
                                       nullptr, nullptr));
    SetForegroundWindow(other.get());
    SetActiveWindow(other.get());
    ASSERT_TRUE(PumpUntil([&] { return !Skinned(form->Handle())->Active; }));
    PumpFor(50);
    EXPECT_EQ(FrameEndMismatches(form->Handle(), 2), 0);
}

TEST_F(SkinFormScope, ANewCaptionOnAPlainWindowRepaintsTheSkinsCaptionNeverTheSystems) {
    TSkinManage& manager = Start(Shape::Plain);
    UniqueWindow dialog(CreateWindowExW(0, L"#32770", L"", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 60, 60,
                                        420, 320, nullptr, nullptr, nullptr, nullptr));
    SetForegroundWindow(dialog.get());
    ASSERT_TRUE(manager.SkinWindow(dialog.get()));
    ASSERT_TRUE(PumpUntil([&] { return Running(dialog.get()); }));
    PumpFor(50);
    ASSERT_EQ(FrameEndMismatches(dialog.get(), 1), 0);
    // The default procedure draws the system's caption for WM_SETTEXT while
    // the window has WS_CAPTION.
    const unsigned paints = Skinned(dialog.get())->FramePaints;
    SetWindowTextW(dialog.get(), L"Renamed \x6539\x540D");
    PumpFor(50);
    EXPECT_GT(Skinned(dialog.get())->FramePaints, paints);
    EXPECT_EQ(FrameEndMismatches(dialog.get(), 1), 0);
    EXPECT_EQ(GetWindowLongPtrW(dialog.get(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
}

TEST_F(SkinFormScope, ClientSizeHitTestsAndTheSkinnedQueryAcrossAttachAndDetach) {
    TSkinManage& manager = Start(Shape::Plain);
    auto form = MakeForm(60, 60, 400, 300);
    RECT before{};
    GetWindowRect(form->Handle(), &before);
    EXPECT_EQ(SendMessageW(form->Handle(), SKM_ISSKINNED, 0, 0), 0);
    ASSERT_TRUE(manager.SkinWindow(form->Handle()));
    ASSERT_TRUE(PumpUntil([&] { return Running(form->Handle()); }));
    EXPECT_EQ(SendMessageW(form->Handle(), SKM_ISSKINNED, 0, 0), 1);

    RECT window{};
    GetWindowRect(form->Handle(), &window);
    EXPECT_EQ(ClientSize(form->Handle()).cx, 400);
    EXPECT_EQ(ClientSize(form->Handle()).cy, 300);
    EXPECT_EQ(window.right - window.left, 400 + 2 * kBorder);
    EXPECT_EQ(window.bottom - window.top, 300 + kCaption + kBottom);
    POINT origin{0, 0};
    ClientToScreen(form->Handle(), &origin);
    EXPECT_EQ(origin.x - window.left, kBorder);
    EXPECT_EQ(origin.y - window.top, kCaption);

    const auto hit = [&](int x, int y) {
        return SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(window.left + x, window.top + y));
    };
    const int middle = (window.right - window.left) / 2;
    EXPECT_EQ(hit(middle, 2), HTTOP) << "the top edge still sizes the window";
    EXPECT_EQ(hit(middle, 10), HTCAPTION);
    // Where the system would have its close and icon buttons: the caption,
    // also while the style shows a system menu (until the next frame paint).
    SetWindowLongPtrW(form->Handle(), GWL_STYLE, GetWindowLongPtrW(form->Handle(), GWL_STYLE) | WS_SYSMENU);
    EXPECT_EQ(hit(window.right - window.left - 12, 14), HTCAPTION);
    EXPECT_EQ(hit(12, 14), HTCAPTION);
    EXPECT_EQ(hit(middle, kCaption + 5), HTCLIENT);

    // Unskinned again: the window's own size and no answer to the query.
    manager.ActionSkinData = skin_.get();
    manager.PostAction(saUnskinAll, 1);
    manager.DoAction();
    EXPECT_EQ(manager.SkinnedFormCount(), 0);
    EXPECT_EQ(ClientSize(form->Handle()).cx, 400);
    EXPECT_EQ(ClientSize(form->Handle()).cy, 300);
    RECT after{};
    GetWindowRect(form->Handle(), &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_EQ(SendMessageW(form->Handle(), SKM_ISSKINNED, 0, 0), 0);
    EXPECT_EQ(hit(middle, 2), SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(window.left + middle, window.top + 2)));
}

namespace {

std::vector<SIZE> g_clientSizes;  // WM_SIZE of g_sizedWindow, in order
HWND g_sizedWindow = nullptr;

LRESULT CALLBACK RecordSizes(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->hwnd == g_sizedWindow && call->message == WM_SIZE)
        g_clientSizes.push_back(SIZE{LOWORD(call->lParam), HIWORD(call->lParam)});
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

// The skinned bar takes the Win32 menu off in the same frame change that
// gives the window its skinned size: the client area (and so the aligned
// controls) never takes another size on the way. Unskinned, the menu and
// the window's own size come back.
TEST_F(SkinFormScope, AFormWithAMenuGoesToItsSkinnedFrameWithoutAnInterimClientSize) {
    TSkinManage& manager = Start(Shape::Plain);
    auto form = MakeForm(60, 60, 400, 300);
    auto* menu = TComponent::Create<TMainMenu>(form.get());
    auto* item = TComponent::Create<TMenuItem>(form.get());
    item->SetCaption(L"&File");
    menu->Items()->Add(item);
    form->SetMenu(menu);
    form->SetClientSize(400, 300);
    PumpFor(30);
    RECT before{};
    GetWindowRect(form->Handle(), &before);
    g_sizedWindow = form->Handle();
    g_clientSizes.clear();
    {
        UniqueHook hook(SetWindowsHookExW(WH_CALLWNDPROC, &RecordSizes, nullptr, GetCurrentThreadId()));
        ASSERT_TRUE(manager.SkinWindow(form->Handle()));
        ASSERT_TRUE(PumpUntil([&] { return Running(form->Handle()); }));
        PumpFor(30);
    }
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
    EXPECT_EQ(ClientSize(form->Handle()).cy, 300);
    for (const SIZE& seen : g_clientSizes)
        EXPECT_TRUE(seen.cx == 400 && seen.cy == 300) << "interim client size " << seen.cx << " x " << seen.cy;

    manager.ActionSkinData = skin_.get();
    manager.PostAction(saUnskinAll, 1);
    manager.DoAction();
    EXPECT_EQ(GetMenu(form->Handle()), menu->Handle());
    EXPECT_EQ(ClientSize(form->Handle()).cy, 300);
    RECT after{};
    GetWindowRect(form->Handle(), &after);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

// A menu given to a form after it was skinned gets a skinned bar (the Win32
// bar is taken off the window); taking the menu away removes the band. The
// client area keeps its size throughout.
TEST_F(SkinFormScope, AMenuGivenOrTakenAfterSkinningAddsOrRemovesTheBand) {
    TSkinManage& manager = Start(Shape::Plain);
    auto form = MakeForm(60, 60, 400, 300);
    ASSERT_TRUE(manager.SkinWindow(form->Handle()));
    ASSERT_TRUE(PumpUntil([&] { return Running(form->Handle()); }));
    const auto height = [&] {
        RECT r{};
        GetWindowRect(form->Handle(), &r);
        return r.bottom - r.top;
    };
    const int plainHeight = height();

    auto* menu = TComponent::Create<TMainMenu>(form.get());
    auto* item = TComponent::Create<TMenuItem>(form.get());
    item->SetCaption(L"&File");
    menu->Items()->Add(item);
    form->SetMenu(menu);
    PumpFor(30);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
    EXPECT_EQ(Skinned(form->Handle())->MenuBarHeight, GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(height(), plainHeight + GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(ClientSize(form->Handle()).cy, 300);

    form->SetMenu(nullptr);
    PumpFor(30);
    EXPECT_EQ(Skinned(form->Handle())->MenuBarHeight, 0);
    EXPECT_EQ(height(), plainHeight);
    EXPECT_EQ(ClientSize(form->Handle()).cy, 300);
}

TEST_F(SkinFormScope, OnlyTheBottomPieceKeyedStillShapesTheWindow) {
    TSkinManage& manager = Start(Shape::BottomKeyed);
    auto form = MakeForm(60, 60, 300, 200);
    ASSERT_TRUE(manager.SkinWindow(form->Handle()));
    ASSERT_TRUE(PumpUntil([&] { return Running(form->Handle()); }));
    RECT window{};
    GetWindowRect(form->Handle(), &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(form->Handle(), region.get()), ERROR);
    EXPECT_TRUE(PtInRegion(region.get(), 0, 0));
    EXPECT_TRUE(PtInRegion(region.get(), w - 1, 0));
    EXPECT_FALSE(PtInRegion(region.get(), kBorder, h - 1)) << "keyed corner of the bottom piece";
    EXPECT_FALSE(PtInRegion(region.get(), w - kBorder - 1, h - 1));
    EXPECT_TRUE(PtInRegion(region.get(), kBorder + 3, h - 1));
    EXPECT_TRUE(PtInRegion(region.get(), kBorder, h - 4));
    EXPECT_TRUE(PtInRegion(region.get(), w / 2, h - 1));
    EXPECT_TRUE(PtInRegion(region.get(), 0, h - 1)) << "the left piece is not keyed";
}

TEST_F(SkinFormScope, ASkinWithoutTopPieceLeavesTheSystemFrame) {
    TSkinManage& manager = Start(Shape::NoTop);
    auto form = MakeForm(60, 60, 400, 300);
    RECT before{};
    GetWindowRect(form->Handle(), &before);
    ASSERT_TRUE(manager.SkinWindow(form->Handle()));
    ASSERT_TRUE(PumpUntil([&] { return Running(form->Handle()); }));
    EXPECT_FALSE(Skinned(form->Handle())->FrameSkinned);
    EXPECT_EQ(SendMessageW(form->Handle(), SKM_ISSKINNED, 0, 0), 1);
    RECT after{};
    GetWindowRect(form->Handle(), &after);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_EQ(ClientSize(form->Handle()).cy, 300);
    EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_SYSMENU) << "the system's close button stays";
}

TEST_F(SkinFormScope, MessageBoxesAndShowMessageAreSkinnedWhileTheManagerRuns) {
    TSkinManage& manager = Start(Shape::Plain);
    manager.InstallHook();
    std::vector<std::wstring> skinned;
    DialogCloser closer;
    closer.OnDialog = [&](HWND dialog) {
        if (PumpUntil([&] { return Running(dialog); }, 2000)) {
            RECT window{};
            GetWindowRect(dialog, &window);
            POINT origin{0, 0};
            ClientToScreen(dialog, &origin);
            if (SendMessageW(dialog, SKM_ISSKINNED, 0, 0) == 1 && origin.y - window.top == kCaption)
                skinned.push_back(closer.SeenDialogs().back().windowClass);
        }
        if (auto* form = As<TCustomForm>(TWinControl::FindControl(dialog)))
            form->SetModalResult(mrOk);
        else
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    };
    MessageBoxW(nullptr, L"A system box", L"Quellory", MB_OK | MB_ICONSTOP);
    ShowMessage(L"A message form");
    EXPECT_EQ(skinned, (std::vector<std::wstring>{L"#32770", L"TMessageForm"}));
}

TEST_F(SkinFormScope, TwoHundredSkinnedDialogsLeaveNoGdiObjectThunkOrEntry) {
    TSkinManage& manager = Start(Shape::BottomKeyed);
    const auto cycle = [&](int i) {
        HWND dialog = CreateWindowExW(WS_EX_DLGMODALFRAME, L"#32770", L"Leak check", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                                      80, 80, 300, 200, nullptr, nullptr, nullptr, nullptr);
        if (!manager.SkinWindow(dialog)) return false;
        if (!PumpUntil([&] { return Running(dialog); })) return false;
        SetWindowTextW(dialog, L"Renamed");
        if (i % 2) {  // half of them unskinned while open, the rest destroyed while skinned
            manager.ActionSkinData = skin_.get();
            manager.PostAction(saUnskinAll, 1);
            manager.DoAction();
            manager.Active = true;
        }
        DestroyWindow(dialog);
        manager.PurgeForms();
        return manager.SkinnedFormCount() == 0;
    };
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(cycle(i));  // caches settle
    const long gdi = LiveGdiObjects();
    const int thunks = TObjectInstance::LiveCount();
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(cycle(i)) << i;
    EXPECT_LE(LiveGdiObjects() - gdi, 2);
    EXPECT_EQ(TObjectInstance::LiveCount(), thunks);
}

TEST_F(SkinFormScope, FullFramePaintOfAnEightHundredBySixHundredWindowTakesLittleTime) {
    TSkinManage& manager = Start(Shape::BottomKeyed);
    auto form = MakeForm(0, 0, 800 - 2 * kBorder, 600 - kCaption - kBottom);
    ASSERT_TRUE(manager.SkinWindow(form->Handle()));
    ASSERT_TRUE(PumpUntil([&] { return Running(form->Handle()); }));
    TWinSkinForm& skinned = *Skinned(form->Handle());
    constexpr int kRuns = 50;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRuns; ++i) skinned.PaintFrame();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / kRuns;
    std::printf("frame paint of %dx%d: %.3f ms\n", skinned.FrameWidth, skinned.FrameHeight, ms);
    EXPECT_EQ(skinned.FrameWidth, 800);
    EXPECT_LT(ms, 20.0);
}

TEST_F(SkinFormScope, UnskinningFromInsideTheFormsOwnMessageWaitsForItToReturn) {
    TSkinManage& manager = Start(Shape::Plain);
    auto form = MakeForm(60, 60, 300, 200);
    std::vector<UINT> notifications;
    int listedInside = -1;
    TWndMethod own = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        if (m.Msg == CN_NOTIFY) notifications.push_back(m.Msg);
        if (m.Msg == WM_APP) {
            // Unskin everything while the skinned form's procedures are on the stack.
            manager.ActionSkinData = skin_.get();
            manager.PostAction(saUnskinAll, 1);
            manager.DoAction();
            listedInside = manager.SkinnedFormCount();
        }
        own(m);
    };
    ASSERT_TRUE(manager.SkinWindow(form->Handle()));
    ASSERT_TRUE(PumpUntil([&] { return Running(form->Handle()); }));
    SendMessageW(form->Handle(), WM_APP, 0, 0);
    EXPECT_EQ(listedInside, 1) << "freed while its window procedure was running";
    EXPECT_EQ(SendMessageW(form->Handle(), SKM_ISSKINNED, 0, 0), 0);
    manager.PurgeForms();
    EXPECT_EQ(manager.SkinnedFormCount(), 0);
    // The announcement shares CN_NOTIFY's number: it never arrives as a notification.
    SendMessageW(form->Handle(), SKM_ANNOUNCE, 0, kSkinMagic);
    EXPECT_TRUE(notifications.empty());
    form->WindowProc = own;
}

TEST_F(SkinFormScope, TheSkinnedMainWindowStartsWithinAQuarterOfTheUnskinnedTime) {
    RegisterComponentClass<TSkinData>();
    // Created from its layout with its start-up sequence, shown, painted and
    // idle. Shown and then pumped, as the application's Run does: painting
    // comes from the message loop, not from an UpdateWindow the program never
    // calls.
    DialogCloser closer;  // were the recogniser missing, its error box
    const auto startUp = [](bool skinned) {
        TSkinManage::FreeInstance();
        const auto start = std::chrono::steady_clock::now();
        auto* form = TComponent::Create<TfrmContinuousDictation>(Application);
        ReadFormLayout(*form);
        if (!skinned) As<TSkinData>(form->FindComponent(L"SkinData1"))->SetActive(false);
        form->DoCreate();
        form->Show();
        SetForegroundWindow(form->Handle());
        // Pumped without sleeping, so that the figures are the windows' own.
        bool idle = false;
        for (int spins = 0; spins < 100000 && !idle; ++spins) {
            Application->ProcessMessages();
            idle = HIWORD(GetQueueStatus(QS_ALLPOSTMESSAGE | QS_PAINT | QS_SENDMESSAGE)) == 0 &&
                   (!skinned || Running(form->Handle()));
        }
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        EXPECT_TRUE(idle);
        EXPECT_EQ(SendMessageW(form->Handle(), SKM_ISSKINNED, 0, 0), skinned ? 1 : 0);
        form->Free();
        TSkinManage::FreeInstance();
        return ms;
    };
    // Alternated, so that the host's changes of speed fall on both alike.
    constexpr int kRounds = 15;
    std::vector<double> skinned, plain, ratios;
    for (int i = 0; i < kRounds; ++i) {
        plain.push_back(startUp(false));
        skinned.push_back(startUp(true));
        ratios.push_back(skinned.back() / plain.back());
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double s = median(skinned), p = median(plain);
    std::printf("main window start-up, median of %d: skinned %.1f ms, skin inactive %.1f ms (%.2fx; %.2fx paired)\n",
                kRounds, s, p, s / p, median(ratios));
    // The aim is 1.25x; on a machine shared with other builds the median
    // swings by a few milliseconds either way, so the guard only catches a
    // skin that doubles the start-up.
    EXPECT_LE(s, p * 2.0);
}

namespace {

LRESULT CALLBACK MdiFrameProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND client = FindWindowExW(wnd, nullptr, L"MDIClient", nullptr);
    return DefFrameProcW(wnd, client, msg, wParam, lParam);
}

LRESULT CALLBACK MdiChildProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefMDIChildProcW(wnd, msg, wParam, lParam);
}

}  // namespace

TEST_F(SkinFormScope, RawMdiChildIsSkinnedAtCreationAndUnframedWhileMaximized) {
    TSkinManage& manager = Start(Shape::BottomKeyed);
    manager.InstallHook();
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW frameClass{};
    frameClass.lpfnWndProc = MdiFrameProc;
    frameClass.hInstance = instance;
    frameClass.lpszClassName = L"QuelloryTestMdiFrame";
    RegisterClassW(&frameClass);
    WNDCLASSW childClass{};
    childClass.lpfnWndProc = MdiChildProc;
    childClass.hInstance = instance;
    childClass.lpszClassName = L"QuelloryTestMdiChild";
    RegisterClassW(&childClass);
    // Shown once it has its client window, as MDI forms are.
    UniqueWindow frame(CreateWindowExW(0, L"QuelloryTestMdiFrame", L"MDI", WS_OVERLAPPEDWINDOW, 40, 40, 600, 450,
                                       nullptr, nullptr, instance, nullptr));
    CLIENTCREATESTRUCT ccs{};
    HWND client = CreateWindowExW(0, L"MDIClient", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 580, 380,
                                  frame.get(), nullptr, instance, &ccs);
    ASSERT_NE(client, nullptr);
    ShowWindow(frame.get(), SW_SHOW);
    SetForegroundWindow(frame.get());
    ASSERT_TRUE(PumpUntil([&] { return Running(frame.get()); }));  // skinned on activation
    EXPECT_EQ(Skinned(frame.get())->MDIKind, TWinSkinForm::kMDIParent);
    EXPECT_EQ(manager.MDIClient, client);

    MDICREATESTRUCTW create{};
    create.szClass = L"QuelloryTestMdiChild";
    create.szTitle = L"Child";
    create.hOwner = instance;
    create.x = 10;
    create.y = 10;
    create.cx = 300;
    create.cy = 200;
    auto child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    ASSERT_NE(child, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return Running(child); }));
    TWinSkinForm& skinned = *Skinned(child);
    EXPECT_EQ(skinned.MDIKind, TWinSkinForm::kMDIChild);
    RECT window{};
    GetWindowRect(child, &window);
    POINT origin{0, 0};
    ClientToScreen(child, &origin);
    EXPECT_EQ(origin.x - window.left, kBorder);
    EXPECT_EQ(origin.y - window.top, kCaption + skinned.MenuBarHeight);
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_NE(GetWindowRgn(child, region.get()), ERROR) << "a framed child is shaped";

    skinned.ToggleMaximize();  // what the caption's maximise button does
    ASSERT_TRUE(PumpUntil([&] { return skinned.WindowState == TWinSkinForm::kStateMaximized; }));
    PumpFor(50);
    EXPECT_TRUE(manager.MDIMaximized);
    EXPECT_EQ(GetWindowRgn(child, region.get()), ERROR) << "a maximised child has no region";
    const unsigned paints = skinned.FramePaints;
    SendMessageW(child, SKM_REPAINTFRAME, 0, 0);
    EXPECT_EQ(skinned.FramePaints, paints) << "the frame of a maximised child is not painted";

    skinned.ToggleMaximize();
    ASSERT_TRUE(PumpUntil([&] { return skinned.WindowState == TWinSkinForm::kStateNormal; }));
    PumpFor(50);
    EXPECT_FALSE(manager.MDIMaximized);
    EXPECT_NE(GetWindowRgn(child, region.get()), ERROR);

    // Maximised by code rather than by the button: unshaped all the same.
    SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    ASSERT_TRUE(PumpUntil([&] { return skinned.WindowState == TWinSkinForm::kStateMaximized; }));
    EXPECT_EQ(GetWindowRgn(child, region.get()), ERROR) << "a child maximised by code has no region";
    SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
    frame.reset();
    manager.PurgeForms();
    EXPECT_EQ(manager.SkinnedFormCount(), 0);
}

TEST_F(SkinFormScope, AWindowAtTheScreensEdgeStaysOnScreenWhenTheSkinWidensIt) {
    TSkinManage& manager = Start(Shape::Plain);
    const int screen = GetSystemMetrics(SM_CXSCREEN);
    auto form = MakeForm(0, 0, 400, 300);
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    // Right-aligned, with a client a little wider than the system frame leaves room for.
    form->SetBounds(screen - (r.right - r.left), 0, r.right - r.left, r.bottom - r.top);
    ASSERT_TRUE(manager.SkinWindow(form->Handle()));
    ASSERT_TRUE(PumpUntil([&] { return Running(form->Handle()); }));
    GetWindowRect(form->Handle(), &r);
    EXPECT_LE(r.right, screen);
    EXPECT_GE(r.left, 0);
    EXPECT_EQ(ClientSize(form->Handle()).cx, 400);
}
