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

namespace {

std::string ToUtf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size,
                        nullptr, nullptr);
    return out;
}

std::string JsonString(const std::wstring& text)
{
    std::string out = "\"";
    for (unsigned char c : ToUtf8(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

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

bool FileExists(const std::wstring& file)
{
    return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
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
    const std::wstring pid = std::to_wstring(GetCurrentProcessId());

    // The arguments as a Windows program sees them: argv[1..] of the command line.
    const wchar_t* cmdline = GetCommandLineW();
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(cmdline, &argc);
    std::string args = "[";
    for (int i = 1; argv && i < argc; ++i) {
        if (i > 1)
            args += ",";
        args += JsonString(argv[i]);
    }
    args += "]";
    if (argv)
        LocalFree(argv);

    wchar_t cwd[MAX_PATH * 4] = L"";
    GetCurrentDirectoryW(MAX_PATH * 4, cwd);

    // The show command the starter asked for (ShellExecute passes its nShowCmd here).
    STARTUPINFOW si{};
    si.cb = sizeof si;
    GetStartupInfoW(&si);
    const int show = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1;

    AppendLine(record, "{\"event\":\"start\",\"pid\":" + ToUtf8(pid) + ",\"args\":" + args +
                           ",\"cmdline\":" + JsonString(cmdline) + ",\"cwd\":" + JsonString(cwd) +
                           ",\"show\":" + std::to_string(show) + "}");

    const DWORD linger = LingerMilliseconds(dir + L"\\stub-linger-ms.txt");
    const std::wstring release = dir + L"\\stub-release";
    const ULONGLONG until = GetTickCount64() + linger;
    while (GetTickCount64() < until && !FileExists(release))
        Sleep(50);

    AppendLine(record, "{\"event\":\"exit\",\"pid\":" + ToUtf8(pid) + "}");
    return 0;
}
