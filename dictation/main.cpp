// Quellory: speak, and the text appears in the window being typed in.
#include <windows.h>

#include "classlib/Forms.h"
#include "dictation/ContinuousDictationU.h"
#include "dictation/Utell.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    TApplication application;
    application.Initialize();
    application.CreateForm<TfrmContinuousDictation>();
    // Only the first form is shown by the message loop; the dialog waits hidden.
    FTell = application.CreateForm<TFTell>();
    application.Run();
    return 0;
}
