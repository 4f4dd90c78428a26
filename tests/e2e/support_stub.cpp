// Stand-in for the remote-support tool in end-to-end runs: built as "Teleskarn-pqrw7kt3mz.exe" and
// placed beside the launcher. Each start appends one JSON line to "stub-record.txt" beside itself:
//   {"event":"start","pid":..,"args":[..],"cmdline":"..","cwd":"..","show":N}
// and, just before it ends, {"event":"exit","pid":..}.
// A file "stub-linger-ms.txt" beside it (a decimal number of milliseconds) makes it stay alive that
// long, or until a file "stub-release" appears beside it, so a test can see that the launcher ended
// while the tool was still running.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "e2e_support.h"

namespace {

std::wstring OwnDirectory()
{
    wchar_t path[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    std::wstring dir(path, n);
    const size_t slash = dir.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : dir.substr(0, slash);
}

// Appends one line; several starts may write at once, so each line goes out in a single write.
void AppendLine(const std::wstring& file, const std::string& line)
{
    HANDLE h = CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    const std::string data = line + "\n";
    DWORD written = 0;
    WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(h);
}

DWORD LingerMilliseconds(const std::wstring& file)
{
    FILE* f = _wfopen(file.c_str(), L"r");
    if (!f)
        return 0;
    unsigned long ms = 0;
    if (std::fscanf(f, "%lu", &ms) != 1)
        ms = 0;
    std::fclose(f);
    return static_cast<DWORD>(ms);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const std::wstring dir = OwnDirectory();
    const std::wstring record = dir + L"\\stub-record.txt";
    const std::string pid = std::to_string(GetCurrentProcessId());

    // The arguments as a Windows program sees them: argv[1..] of the command line.
    const wchar_t* cmdline = GetCommandLineW();
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(cmdline, &argc);
    std::string args;
    for (int i = 1; argv && i < argc; ++i)
        args += (i > 1 ? "," : "") + e2e::Quote(argv[i]);
    LocalFree(argv);

    wchar_t cwd[MAX_PATH * 4] = L"";
    GetCurrentDirectoryW(MAX_PATH * 4, cwd);

    // The show command the starter asked for (ShellExecute passes its nShowCmd here).
    STARTUPINFOW si{};
    si.cb = sizeof si;
    GetStartupInfoW(&si);
    const int show = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1;

    AppendLine(record, "{\"event\":\"start\",\"pid\":" + pid + ",\"args\":[" + args + "]" +
                           ",\"cmdline\":" + e2e::Quote(cmdline) + ",\"cwd\":" + e2e::Quote(cwd) +
                           ",\"show\":" + std::to_string(show) + "}");

    const std::wstring release = dir + L"\\stub-release";
    e2e::PollUntil(LingerMilliseconds(dir + L"\\stub-linger-ms.txt"), 50,
                   [&] { return GetFileAttributesW(release.c_str()) != INVALID_FILE_ATTRIBUTES; });

    AppendLine(record, "{\"event\":\"exit\",\"pid\":" + pid + "}");
    return 0;
}
