// Panels, group boxes, radio groups, header controls and track bars read
// from a stored layout: what reaches their windows, and a radio group
// clicked with the real mouse.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "CaptionTestSupport.h"
#include "TestSupport.h"
#include "classlib/Forms.h"
#include "classlib/HeaderControl.h"
#include "classlib/LayoutReader.h"
#include "classlib/Panel.h"
#include "classlib/RadioGroup.h"
#include "classlib/StandardClasses.h"
#include "classlib/TrackBar.h"

TEST(PanelControls, ALayoutsPropertiesReachTheWindowsAndTheMouseChoosesARadioItem) {
    RegisterStandardClasses();
    auto form = std::make_unique<TForm>(nullptr);
    ReadLayoutText(*form, R"(object Holder: TForm
  Left = 60
  Top = 60
  ClientHeight = 260
  ClientWidth = 400
  object Header: THeaderControl
    Sections = <
      item
        Text = 'Name'
        Width = 120
      end
      item
        Alignment = taCenter
        Text = 'Size'
        Width = 80
      end>
  end
  object Slider: TTrackBar
    Left = 10
    Top = 40
    Width = 40
    Height = 150
    Max = 20
    Min = 5
    Position = 12
    Frequency = 5
    Orientation = trVertical
    TickMarks = tmBoth
  end
  object Box: TGroupBox
    Left = 60
    Top = 40
    Width = 150
    Height = 60
    Caption = 'Box'
    object Inner: TPanel
      Left = 10
      Top = 20
      Width = 100
      Height = 30
      BevelOuter = bvLowered
      BevelInner = bvRaised
      Alignment = taLeftJustify
      Caption = 'Inner'
    end
  end
  object Choice: TRadioGroup
    Left = 220
    Top = 40
    Width = 170
    Height = 120
    Caption = 'Choice'
    Columns = 2
    ItemIndex = 1
    Items.Strings = (
      'One'
      'Two'
      'Three')
  end
end
)");
    auto* header = As<THeaderControl>(form->FindComponent(L"Header"));
    auto* slider = As<TTrackBar>(form->FindComponent(L"Slider"));
    auto* inner = As<TPanel>(form->FindComponent(L"Inner"));
    auto* choice = As<TRadioGroup>(form->FindComponent(L"Choice"));
    ASSERT_TRUE(header && slider && inner && choice);
    form->Show();
    SetForegroundWindow(form->Handle());
    PumpFor(100);

    HWND h = header->Handle();
    ASSERT_EQ(SendMessageW(h, HDM_GETITEMCOUNT, 0, 0), 2);
    wchar_t text[32] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = 32;
    SendMessageW(h, HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, L"Size");
    EXPECT_EQ(item.cxy, 80);
    EXPECT_EQ(item.fmt & HDF_JUSTIFYMASK, HDF_CENTER);

    HWND s = slider->Handle();
    EXPECT_EQ(SendMessageW(s, TBM_GETRANGEMIN, 0, 0), 5);
    EXPECT_EQ(SendMessageW(s, TBM_GETRANGEMAX, 0, 0), 20);
    EXPECT_EQ(SendMessageW(s, TBM_GETPOS, 0, 0), 12);
    EXPECT_EQ(SendMessageW(s, TBM_GETNUMTICS, 0, 0), 4);  // 10 and 15, and both ends
    const LONG style = GetWindowLongW(s, GWL_STYLE);
    EXPECT_TRUE((style & TBS_VERT) && (style & TBS_BOTH));

    EXPECT_EQ(inner->Parent(), As<TWinControl>(form->FindComponent(L"Box")));
    EXPECT_EQ(inner->BevelOuter(), TPanelBevel::bvLowered);
    EXPECT_EQ(inner->BevelInner(), TPanelBevel::bvRaised);
    EXPECT_EQ(inner->Alignment(), TAlignment::taLeftJustify);

    // Two columns: the third item heads the second one.
    ASSERT_EQ(choice->Items()->Count(), 3);
    RECT first{}, third{};
    GetWindowRect(choice->Button(0), &first);
    GetWindowRect(choice->Button(2), &third);
    EXPECT_GT(third.left, first.right - 1);
    EXPECT_EQ(third.top, first.top);
    EXPECT_EQ(SendMessageW(choice->Button(1), BM_GETCHECK, 0, 0), BST_CHECKED);
    int clicks = 0;
    choice->OnClick = [&](TObject*) { ++clicks; };
    caption_test::Click({first.left + 8, (first.top + first.bottom) / 2});
    PumpFor(200);
    EXPECT_EQ(choice->ItemIndex(), 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(SendMessageW(choice->Button(0), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(choice->Button(1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}
