// A library of a name of its own, put beside the launcher's Windows test program: it is found there
// only while the program's own folder is in the library search.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
