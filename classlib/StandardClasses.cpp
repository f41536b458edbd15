#include "classlib/StandardClasses.h"

#include "classlib/Bevel.h"
#include "classlib/Button.h"
#include "classlib/Edit.h"
#include "classlib/Forms.h"
#include "classlib/ImageList.h"
#include "classlib/Label.h"
#include "classlib/LayoutReader.h"
#include "classlib/Menus.h"
#include "classlib/ProgressBar.h"
#include "classlib/StatusBar.h"
#include "classlib/Timer.h"

void RegisterStandardClasses() {
    static const bool done = [] {
        RegisterComponentClass<TForm>();
        RegisterComponentClass<TMainMenu>();
        RegisterComponentClass<TPopupMenu>();
        RegisterComponentClass<TMenuItem>();
        RegisterComponentClass<TButton>();
        RegisterComponentClass<TLabel>();
        RegisterComponentClass<TBevel>();
        RegisterComponentClass<TEdit>();
        RegisterComponentClass<TMemo>();
        RegisterComponentClass<TStatusBar>();
        RegisterComponentClass<TProgressBar>();
        RegisterComponentClass<TTimer>();
        RegisterComponentClass<TImageList>();
        return true;
    }();
    (void)done;
}
