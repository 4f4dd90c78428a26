// The one application object of the launcher, and what must happen before it is made.
#include "app/LauncherApp.h"
#include "framework/afxdll.h"

#include <mbctype.h>

#include <cstdlib>

namespace {

// Runs before every other static initialiser of the program (101 is the first priority a program
// may take), so nothing can load a library before the search is restricted. Then the module state
// exists and the C runtime's multibyte functions use the system ANSI code page.
struct StartupState
{
    StartupState()
    {
        AfxRestrictLibrarySearch();
        AfxGetModuleState();
        _setmbcp(_MB_CP_ANSI);
    }
} startupState __attribute__((init_priority(101)));

}  // namespace

// The libraries the launcher binds on first use (version information, common controls, shell) are
// loaded by their full path in the system directory, or stand in as failing functions. The
// delay-load helper asks these hooks (declared extern "C" by delayimp.h) before it loads a library
// itself and before it raises an exception for a function it cannot find.
PfnDliHook __pfnDliNotifyHook2 = AfxDelayLoadHook;
PfnDliHook __pfnDliFailureHook2 = AfxDelayLoadHook;

// What an exception that nobody catches ends in. The C++ runtime's default handler prints the
// exception's demangled type name to a console this program does not have, and brings the whole
// demangler into the executable; this one ends the process straight away.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx

CLauncherApp theApp;
