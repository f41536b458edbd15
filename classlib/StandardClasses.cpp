#include "classlib/StandardClasses.h"

#include "classlib/Forms.h"
#include "classlib/LayoutReader.h"
#include "classlib/Menus.h"

void RegisterStandardClasses() {
    static const bool done = [] {
        RegisterClass<TForm>();
        RegisterClass<TMainMenu>();
        RegisterClass<TPopupMenu>();
        RegisterClass<TMenuItem>();
        return true;
    }();
    (void)done;
}
