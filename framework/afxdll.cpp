// AfxRestrictLibrarySearch and AfxLoadSystemLibrary (see afxdll.h).
#include "framework/afxdll.h"

#include <cstring>

void AfxRestrictLibrarySearch()
{
    // Looked up rather than imported: a Windows 7 without the update that added it still starts,
    // and keeps the system's own order without the current directory.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    if (HMODULE kernel = ::GetModuleHandleA("kernel32.dll")) {
        auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
            reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
        if (setDefault != nullptr)
            setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    ::SetDllDirectoryA("");
}

HMODULE AfxLoadSystemLibrary(const char* fileName)
{
    char path[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
    const size_t nameLength = std::strlen(fileName);
    if (length == 0 || length + 1 + nameLength >= MAX_PATH)
        return NULL;
    path[length] = '\\';
    std::memcpy(path + length + 1, fileName, nameLength + 1);
    // What the library itself imports is looked for in its own directory first, even where the
    // search could not be restricted.
    return ::LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}

namespace {

// Stands in for any function of a library that cannot be had. The x64 calling convention leaves
// the arguments to the caller, so one function fits every signature; 0 is the failure answer of
// each function the launcher binds late (no size, FALSE, no instance).
INT_PTR WINAPI UnavailableFunction()
{
    ::SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
}

}  // namespace

FARPROC WINAPI AfxDelayLoadHook(unsigned notification, PDelayLoadInfo info)
{
    if (notification == dliNotePreLoadLibrary) {
        // With NULL the helper would search the usual places itself, the program's folder first.
        // The program's own module exports none of the functions asked for, so each is then failed.
        HMODULE library = AfxLoadSystemLibrary(info->szDll);
        return reinterpret_cast<FARPROC>(library != NULL ? library : ::GetModuleHandleA(NULL));
    }
    if (notification == dliFailGetProc)
        return reinterpret_cast<FARPROC>(UnavailableFunction);
    return nullptr;
}
