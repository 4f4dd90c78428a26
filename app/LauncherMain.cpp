// The one application object of the launcher and the program's own hooks. What must happen before
// the object is made is the start-up in LauncherApp.cpp, which this object brings into the program.
#include "app/LauncherApp.h"
#include "framework/afxdll.h"

#include <cstdlib>

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
