#include "support/SelfStub.h"

#include <shlwapi.h>

#include <cstring>

namespace wintest {

bool ExitIfStartedAsStub(const char* prefix)
{
    char path[MAX_PATH] = "";
    const DWORD length = ::GetModuleFileNameA(NULL, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH - 4 ||
        ::StrCmpNIA(::PathFindFileNameA(path), prefix, static_cast<int>(std::strlen(prefix))) != 0)
        return false;
    lstrcatA(path, ".ran");
    HANDLE marker = ::CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (marker != INVALID_HANDLE_VALUE)
        ::CloseHandle(marker);
    ::ExitProcess(0);
}

SelfStub::SelfStub(const char* prefix) : m_made(false)
{
    char self[MAX_PATH] = "", temp[MAX_PATH] = "";
    const DWORD length = ::GetModuleFileNameA(NULL, self, MAX_PATH);
    ::GetTempPathA(MAX_PATH, temp);
    m_path = std::string(temp) + prefix + "_" + std::to_string(::GetCurrentProcessId()) + ".exe";
    m_marker = m_path + ".ran";
    ::DeleteFileA(m_marker.c_str());
    m_made = length != 0 && length < MAX_PATH && ::CopyFileA(self, m_path.c_str(), FALSE);
}

SelfStub::~SelfStub()
{
    // The stub may still be ending; its file goes once it has.
    ::DeleteFileA(m_marker.c_str());
    for (int i = 0; m_made && i < 100 && !::DeleteFileA(m_path.c_str()); ++i)
        ::Sleep(50);
}

bool SelfStub::WaitUntilRan(DWORD timeoutMs) const
{
    const DWORD start = ::GetTickCount();
    while (::GetFileAttributesA(m_marker.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(50);
    }
    return true;
}

}  // namespace wintest
