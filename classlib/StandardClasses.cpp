#include "classlib/StandardClasses.h"

#include "classlib/Bevel.h"
#include "classlib/BitBtn.h"
#include "classlib/Button.h"
#include "classlib/CheckBox.h"
#include "classlib/ComboBox.h"
#include "classlib/DateTimePicker.h"
#include "classlib/Edit.h"
#include "classlib/Forms.h"
#include "classlib/GroupBox.h"
#include "classlib/HeaderControl.h"
#include "classlib/ImageList.h"
#include "classlib/Label.h"
#include "classlib/ListBox.h"
#include "classlib/ListView.h"
#include "classlib/LayoutReader.h"
#include "classlib/Menus.h"
#include "classlib/PageControl.h"
#include "classlib/Panel.h"
#include "classlib/ProgressBar.h"
#include "classlib/RadioButton.h"
#include "classlib/RadioGroup.h"
#include "classlib/ScrollBar.h"
#include "classlib/ScrollBox.h"
#include "classlib/SpeedButton.h"
#include "classlib/StatusBar.h"
#include "classlib/TabControl.h"
#include "classlib/TabSet.h"
#include "classlib/Timer.h"
#include "classlib/TrackBar.h"
#include "classlib/TreeView.h"
#include "classlib/UpDown.h"

void RegisterStandardClasses() {
    static const bool done = [] {
        RegisterComponentClass<TForm>();
        RegisterComponentClass<TMainMenu>();
        RegisterComponentClass<TPopupMenu>();
        RegisterComponentClass<TMenuItem>();
        RegisterComponentClass<TButton>();
        RegisterComponentClass<TCheckBox>();
        RegisterComponentClass<TRadioButton>();
        RegisterComponentClass<TBitBtn>();
        RegisterComponentClass<TSpeedButton>();
        RegisterComponentClass<TLabel>();
        RegisterComponentClass<TBevel>();
        RegisterComponentClass<TEdit>();
        RegisterComponentClass<TMemo>();
        RegisterComponentClass<TStatusBar>();
        RegisterComponentClass<TProgressBar>();
        RegisterComponentClass<TTimer>();
        RegisterComponentClass<TImageList>();
        RegisterComponentClass<TPanel>();
        RegisterComponentClass<TGroupBox>();
        RegisterComponentClass<TRadioGroup>();
        RegisterComponentClass<THeaderControl>();
        RegisterComponentClass<TTrackBar>();
        RegisterComponentClass<TComboBox>();
        RegisterComponentClass<TUpDown>();
        RegisterComponentClass<TDateTimePicker>();
        RegisterComponentClass<TTabControl>();
        RegisterComponentClass<TPageControl>();
        RegisterComponentClass<TTabSheet>();
        RegisterComponentClass<TTabSet>();
        RegisterComponentClass<TScrollBar>();
        RegisterComponentClass<TListBox>();
        RegisterComponentClass<TListView>();
        RegisterComponentClass<TTreeView>();
        RegisterComponentClass<TScrollBox>();
        return true;
    }();
    (void)done;
}
