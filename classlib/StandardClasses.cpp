#include "classlib/StandardClasses.h"

#include "classlib/Forms.h"
#include "classlib/LayoutReader.h"
#include "classlib/Menus.h"

void RegisterStandardClasses() {
    static const bool done = [] {
        RegisterComponentClass<TForm>();
        RegisterComponentClass<TMainMenu>();
        RegisterComponentClass<TPopupMenu>();
        RegisterComponentClass<TMenuItem>();
        return true;
    }();
    (void)done;
}
