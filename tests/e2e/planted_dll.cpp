// A planted library for the planting scenario: built as version.dll (PLANTED_VERSION) and as
// comctl32.dll, each exporting the functions the launcher takes from the real one. Put beside the
// launcher, it appends a line to "planted-version.txt" or "planted-comctl32.txt" beside itself when
// it is loaded ("loaded") and whenever one of its functions is called (the function's name). The functions do
// nothing else and report failure.
// Not <windows.h>: its version header declares the real functions with their own signatures.
// Nothing from user32 either: Wine's user32 imports version.dll, so this one is set up first.
#include <windef.h>
#include <winbase.h>

namespace {

#ifdef PLANTED_VERSION
const char kRecordName[] = "planted-version.txt";
#else
const char kRecordName[] = "planted-comctl32.txt";
#endif

HMODULE g_module = NULL;

void Record(const char* what)
{
    char path[MAX_PATH], file[2 * MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(g_module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    char* name = path;
    for (char* p = path; *p != '\0'; ++p)
        if (*p == '\\')
            name = p + 1;
    ::lstrcpyA(file, path);
    ::lstrcpyA(file + (name - path), kRecordName);
    HANDLE h = ::CreateFileA(file, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return;
    char line[64];
    ::lstrcpynA(line, what, sizeof line - 1);
    ::lstrcatA(line, "\n");
    DWORD written = 0;
    ::WriteFile(h, line, static_cast<DWORD>(::lstrlenA(line)), &written, NULL);
    ::CloseHandle(h);
}

}  // namespace

// Any arguments, none read: the callee never looks at its caller's stack in the 64-bit convention.
#define PLANTED_FUNCTION(name) \
    extern "C" __declspec(dllexport) INT_PTR name() \
    { \
        Record(#name); \
        return 0; \
    }

#ifdef PLANTED_VERSION
PLANTED_FUNCTION(GetFileVersionInfoSizeA)
PLANTED_FUNCTION(GetFileVersionInfoA)
PLANTED_FUNCTION(VerQueryValueA)
// What Wine's own user32 takes from version.dll (Windows' user32 imports nothing from it).
PLANTED_FUNCTION(GetFileVersionInfoSizeW)
PLANTED_FUNCTION(GetFileVersionInfoW)
PLANTED_FUNCTION(VerQueryValueW)
#else
PLANTED_FUNCTION(InitCommonControlsEx)
PLANTED_FUNCTION(_TrackMouseEvent)
#endif

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        Record("loaded");
    }
    return TRUE;
}
