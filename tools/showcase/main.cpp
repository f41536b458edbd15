// Shows the showcase form: every control of the class library on one form.
#include <windows.h>

#include "classlib/Forms.h"
#include "tools/showcase/ShowcaseForm.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    TApplication application;
    application.Initialize();
    application.CreateForm<TShowcaseForm>();
    application.Run();
    return 0;
}
