// Libraries the program loads itself: from the system directory only, never from beside the program
// or from the current directory, where anyone could have put a file of the same name.
#pragma once

#include <windows.h>
#include <delayimp.h>   // no include guard of its own: include this header instead

// Takes the program's own directory and the current directory out of the library search: from here
// on a library named without a path comes from the system directory. Called once at start-up,
// before anything loads a library.
void AfxRestrictLibrarySearch();

// The system library of that file name ("version.dll"), loaded from the system directory by its
// full path; NULL when it cannot be loaded from there.
HMODULE AfxLoadSystemLibrary(const char* fileName);

// The delay-load helper's notification and failure hook for the libraries bound on first use: a
// library comes from the system directory only, and one that cannot be loaded from there is looked
// for nowhere else. Each function of such a library, or one the library lacks, then fails when
// called (answers 0, last error ERROR_MOD_NOT_FOUND) instead of the helper raising an exception that
// would end the program.
FARPROC WINAPI AfxDelayLoadHook(unsigned notification, PDelayLoadInfo info);
