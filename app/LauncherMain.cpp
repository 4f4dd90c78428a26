// The one application object of the launcher, and what must happen before it is made.
#include <mbctype.h>

#include "app/LauncherApp.h"

namespace {

// Runs before the application object is constructed (same file, earlier definition): the module
// state exists and the C runtime's multibyte functions use the system ANSI code page.
struct StartupState
{
    StartupState()
    {
        AfxGetModuleState();
        _setmbcp(_MB_CP_ANSI);
    }
} startupState;

}  // namespace

CLauncherApp theApp;
