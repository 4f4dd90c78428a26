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
