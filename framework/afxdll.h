// Libraries the program loads itself: from the system directory only, never from beside the program
// or from the current directory, where anyone could have put a file of the same name.
#pragma once

#include <windows.h>

// Takes the program's own directory and the current directory out of the library search: from here
// on a library named without a path comes from the system directory. Called once at start-up,
// before anything loads a library.
void AfxRestrictLibrarySearch();

// The system library of that file name ("version.dll"), loaded from the system directory by its
// full path; NULL when it cannot be loaded from there.
HMODULE AfxLoadSystemLibrary(const char* fileName);
