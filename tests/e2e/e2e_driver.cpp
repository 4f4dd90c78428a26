// Windows-side driver of the end-to-end tests: finds the launcher's dialog and message box from the
// outside, reads their texts and rectangles, and presses buttons and keys. One subcommand per run;
// every run prints exactly one JSON object on one line to standard output ("ok" tells whether the
// subcommand did what was asked). Texts are reported twice: as UTF-8 for reading, and as the
// Windows-1252 bytes in hex ("hex"), which is what the tests compare.
//
//   wait-dialog --exe PATH [--timeout MS]                     the launcher's dialog, once it is up
//   info        --hwnd H                                      the same report for a known dialog
//   wait-msgbox --exe PATH [--timeout MS]                     a message box of that process
//   click       --hwnd H --id N [--via bmclick|command]       press a button of a dialog or box
//   key         --hwnd H --key enter|escape|f1|tab [--via post|input|keyf1] [--sync-tab MS]
//   close       --hwnd H                                      the close box (WM_SYSCOMMAND SC_CLOSE)
//   ncpoint     --hwnd H [--hit CODE]                         a screen point with that WM_NCHITTEST code
//   windows     --exe PATH|*                                  top-level windows of that process (or of all)
//   procs       [--exe PATH|PATH..] [--name FILE.EXE|FILE.EXE..]  running processes of those images
//   watch       --exe PATH [--timeout MS]                     waits for the process to end, listing
//                                                             every top-level window it showed meanwhile
//   locale                                                    this process's user locale and code page
//   controls    --hwnd H | --exe PATH [--timeout MS]          every child of the dialog by id
//   shown       --exe PATH --class NAME [--timeout MS]        a shown window of that class (menu, tooltip)
//   syscolors   --set INDEX=0xBBGGRR,...                      SetSysColors, as the system's settings do for
//                                                             every program; reports the old ones as a --set
//
// Processes are told apart by their full image path, so several launchers from different folders
// can run side by side without the driver confusing their windows.
#include <windows.h>
#include <tlhelp32.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace {

using e2e::Quote;

constexpr UINT kMessageBoxTextId = 0xFFFF;  // the static that holds a message box's text
constexpr UINT kWmKeyF1 = 0x004D;           // posted by the system's input handling for F1
constexpr DWORD kPollMs = 30;

// ---- JSON output ---------------------------------------------------------------------------

std::string HwndText(HWND h)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "\"0x%llx\"", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(h)));
    return buf;
}

std::string RectJson(const RECT& r)
{
    return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom) + "]";
}

std::string Bool(bool b) { return b ? "true" : "false"; }

// A window text as {"utf8":..,"hex":..,"lossy":..}: "hex" holds the Windows-1252 bytes, "lossy"
// tells that some character has no Windows-1252 byte (no best-fit substitutes are made).
std::string TextJson(const std::wstring& text)
{
    BOOL lossy = FALSE;
    const std::string bytes = e2e::Narrow(text, 1252, &lossy);
    std::string hex;
    for (unsigned char c : bytes) {
        char buf[4];
        std::snprintf(buf, sizeof buf, "%02x", c);
        hex += buf;
    }
    return "{\"utf8\":" + Quote(text) + ",\"hex\":\"" + hex + "\",\"lossy\":" + Bool(lossy != FALSE) + "}";
}

void Emit(const std::string& json)
{
    std::fwrite(json.data(), 1, json.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int Fail(const std::string& error, const std::string& extra = std::string())
{
    Emit("{\"ok\":false,\"error\":" + Quote(error) + (extra.empty() ? "" : "," + extra) + "}");
    return 1;
}

// ---- windows and processes -------------------------------------------------------------------

std::wstring WindowText(HWND h)
{
    // For a window of another process this reads the text the system keeps for it; no message is
    // sent, so a busy or blocked target cannot hang the driver.
    std::vector<wchar_t> buf(16384);
    const int n = GetWindowTextW(h, buf.data(), static_cast<int>(buf.size()));
    return std::wstring(buf.data(), n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring ClassOf(HWND h)
{
    wchar_t buf[256];
    const int n = GetClassNameW(h, buf, 256);
    return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring ImageOf(DWORD pid)
{
    std::wstring path;
    HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!p)
        return path;
    wchar_t buf[MAX_PATH * 4];
    DWORD size = MAX_PATH * 4;
    if (QueryFullProcessImageNameW(p, 0, buf, &size))
        path.assign(buf, size);
    CloseHandle(p);
    return path;
}

bool SameText(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

struct Process {
    DWORD pid;
    std::wstring image;
};

// The processes of an image: a full path matches when equal, ignoring case; a bare file name matches
// the image in any folder, and "*" every image.
std::vector<Process> ProcessesOf(const std::wstring& want)
{
    const bool bare = want.find_first_of(L"\\/") == std::wstring::npos;
    std::vector<Process> found;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return found;
    PROCESSENTRY32W pe{};
    pe.dwSize = sizeof pe;
    for (BOOL more = Process32FirstW(snap, &pe); more; more = Process32NextW(snap, &pe)) {
        if (bare && want != L"*" && !SameText(pe.szExeFile, want))
            continue;
        std::wstring image = ImageOf(pe.th32ProcessID);
        if (image.empty())
            image = pe.szExeFile;
        if (bare || SameText(image, want))
            found.push_back({pe.th32ProcessID, image});
    }
    CloseHandle(snap);
    return found;
}

std::set<DWORD> PidsOf(const std::wstring& exe)
{
    std::set<DWORD> pids;
    for (const Process& p : ProcessesOf(exe))
        pids.insert(p.pid);
    return pids;
}

DWORD PidOf(HWND h)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    return pid;
}

// The top-level windows of the processes.
std::vector<HWND> WindowsOfPids(const std::set<DWORD>& pids)
{
    std::pair<const std::set<DWORD>*, std::vector<HWND>> search{&pids, {}};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<decltype(search)*>(lp);
            if (s->first->count(PidOf(h)))
                s->second.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

bool IsMessageBox(HWND h) { return GetDlgItem(h, kMessageBoxTextId) != nullptr; }

// Visible top-level dialogs (#32770) of the processes running the given image.
std::vector<HWND> DialogsOf(const std::wstring& exe)
{
    std::vector<HWND> found;
    for (HWND h : WindowsOfPids(PidsOf(exe)))
        if (IsWindowVisible(h) && ClassOf(h) == L"#32770")
            found.push_back(h);
    return found;
}

std::string WindowListJson(const std::vector<HWND>& windows)
{
    std::string out = "[";
    for (HWND h : windows)
        out += std::string(out.size() > 1 ? "," : "") + "{\"hwnd\":" + HwndText(h) + ",\"pid\":" +
               std::to_string(PidOf(h)) + ",\"class\":" + Quote(ClassOf(h)) + ",\"caption\":" +
               TextJson(WindowText(h)) + ",\"visible\":" + Bool(IsWindowVisible(h) != FALSE) +
               ",\"msgbox\":" + Bool(IsMessageBox(h)) + "}";
    return out + "]";
}

RECT ScreenClientRect(HWND h)
{
    RECT r{};
    GetClientRect(h, &r);
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A point of the client area (screen coordinates) as far as possible from every child window and
// from the client edges: where a pointer can rest without being over any control.
POINT FreePoint(HWND dlg)
{
    const RECT client = ScreenClientRect(dlg);
    std::vector<RECT> children;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        if (IsWindowVisible(c) && GetWindowRect(c, &r))
            children.push_back(r);
    }
    POINT best{client.left, client.top};
    long bestDistance = -1;
    for (long y = client.top; y < client.bottom; y += 2) {
        for (long x = client.left; x < client.right; x += 2) {
            long d = std::min(std::min(x - client.left, client.right - 1 - x),
                              std::min(y - client.top, client.bottom - 1 - y));
            for (const RECT& r : children) {
                const long dx = x < r.left ? r.left - x : (x >= r.right ? x - r.right + 1 : 0);
                const long dy = y < r.top ? r.top - y : (y >= r.bottom ? y - r.bottom + 1 : 0);
                d = std::min(d, std::max(dx, dy) - 1);  // -1: inside or touching counts as no room
            }
            if (d > bestDistance) {
                bestDistance = d;
                best = {x, y};
            }
        }
    }
    return best;
}

HWND FocusOf(DWORD tid)
{
    GUITHREADINFO gti{};
    gti.cbSize = sizeof gti;
    return GetGUIThreadInfo(tid, &gti) ? gti.hwndFocus : nullptr;
}

// The dialog's texts and rectangles, its focus (-1: the dialog itself) and a free point.
std::string DialogJson(HWND dlg)
{
    static const int kIds[] = {IDOK, IDCANCEL, 1000, 1001, 1002, 1003, 1004};
    std::string controls;
    for (int id : kIds) {
        HWND c = GetDlgItem(dlg, id);
        RECT r{};
        controls += (controls.empty() ? "{\"" : ",\"") + std::to_string(id) + "\":" +
                    (c && GetWindowRect(c, &r) ? "{\"exists\":true,\"text\":" + TextJson(WindowText(c)) +
                                                     ",\"rect\":" + RectJson(r) + "}"
                                               : "{\"exists\":false}");
    }
    HWND focus = FocusOf(GetWindowThreadProcessId(dlg, nullptr));
    RECT wr{};
    GetWindowRect(dlg, &wr);
    const POINT free = FreePoint(dlg);
    return "{\"ok\":true,\"hwnd\":" + HwndText(dlg) + ",\"caption\":" + TextJson(WindowText(dlg)) +
           ",\"controls\":" + controls + "},\"window_rect\":" + RectJson(wr) +
           ",\"client_rect\":" + RectJson(ScreenClientRect(dlg)) + ",\"focus_id\":" +
           std::to_string(focus == dlg ? -1 : focus ? GetDlgCtrlID(focus) : 0) + ",\"free_point\":[" +
           std::to_string(free.x) + "," + std::to_string(free.y) + "]}";
}

std::string MessageBoxJson(HWND box, size_t count)
{
    std::string buttons;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (SameText(ClassOf(c), L"Button"))
            buttons += std::string(buttons.empty() ? "" : ",") + "{\"id\":" + std::to_string(GetDlgCtrlID(c)) +
                       ",\"text\":" + TextJson(WindowText(c)) + ",\"visible\":" + Bool(IsWindowVisible(c) != FALSE) +
                       "}";
    return "{\"ok\":true,\"hwnd\":" + HwndText(box) + ",\"caption\":" + TextJson(WindowText(box)) + ",\"text\":" +
           TextJson(WindowText(GetDlgItem(box, kMessageBoxTextId))) + ",\"buttons\":[" + buttons +
           "],\"owner\":" + HwndText(GetWindow(box, GW_OWNER)) + ",\"count\":" + std::to_string(count) + "}";
}

// Waits for the system's input-idle signal of the process: raised whenever its main thread waits
// for messages, which includes waits inside a send to another thread, so it is only a hint.
bool WaitIdle(DWORD pid, DWORD timeoutMs)
{
    HANDLE p = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!p)
        return false;
    const DWORD r = WaitForInputIdle(p, timeoutMs);
    CloseHandle(p);
    return r == 0;
}

// ---- command line ----------------------------------------------------------------------------

struct Args {
    std::wstring command;
    std::map<std::wstring, std::wstring> options;

    bool Has(const wchar_t* name) const { return options.count(name) != 0; }
    std::wstring Get(const wchar_t* name, const wchar_t* fallback = L"") const
    {
        auto it = options.find(name);
        return it == options.end() ? std::wstring(fallback) : it->second;
    }
    unsigned long Number(const wchar_t* name, unsigned long fallback) const
    {
        return Has(name) ? std::wcstoul(Get(name).c_str(), nullptr, 0) : fallback;
    }
    HWND Hwnd() const
    {
        return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::wcstoull(Get(L"hwnd").c_str(), nullptr, 0)));
    }
};

bool ParseArgs(Args& args)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2)
        return false;
    args.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        std::wstring name = argv[i];
        if (name.rfind(L"--", 0) != 0 || i + 1 >= argc) {
            LocalFree(argv);
            return false;
        }
        args.options[name.substr(2)] = argv[++i];
    }
    LocalFree(argv);
    return true;
}

// ---- subcommands -----------------------------------------------------------------------------

// Waits for the launcher's dialog, or for a message box of it, and reports the first found. A wait
// that times out reports whether the image still runs, and the windows it has.
int WaitFor(const Args& args, bool messageBox)
{
    const std::wstring exe = args.Get(L"exe");
    std::vector<HWND> found;
    const bool any = e2e::PollUntil(args.Number(L"timeout", 15000), kPollMs, [&] {
        found.clear();
        for (HWND h : DialogsOf(exe))
            if (IsMessageBox(h) == messageBox)
                found.push_back(h);
        return !found.empty();
    });
    if (!any) {
        const std::set<DWORD> pids = PidsOf(exe);
        return Fail(messageBox ? "timeout waiting for a message box" : "timeout waiting for the dialog",
                    "\"running\":" + Bool(!pids.empty()) + ",\"windows\":" + WindowListJson(WindowsOfPids(pids)));
    }
    // Visible means initialised: a dialog is shown only after WM_INITDIALOG has set the texts. The
    // wait for input idle is a courtesy (the modal loop has usually started by then); nothing relies
    // on it, since posted messages wait in the queue anyway.
    WaitIdle(PidOf(found.front()), messageBox ? 5000 : 2000);
    Emit(messageBox ? MessageBoxJson(found.front(), found.size()) : DialogJson(found.front()));
    return 0;
}

// The report of a subcommand that posts one message.
int Posted(BOOL posted)
{
    if (!posted)
        return Fail("PostMessage failed");
    Emit("{\"ok\":true}");
    return 0;
}

// Buttons are pressed by posting, never by sending: the press may open a modal message box, and a
// sent message would then not return until someone closes it.
int Click(const Args& args)
{
    HWND dlg = args.Hwnd();
    const int id = static_cast<int>(args.Number(L"id", IDOK));
    HWND button = GetDlgItem(dlg, id);
    if (!button)
        return Fail("no such control");
    // With --via command the notification a click would send; else BM_CLICK: the button presses
    // itself (mouse down and up) and notifies its parent.
    return Posted(args.Get(L"via") == L"command"
                      ? PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button))
                      : PostMessageW(button, BM_CLICK, 0, 0));
}

UINT KeyCode(const std::wstring& name)
{
    const std::map<std::wstring, UINT> keys = {
        {L"enter", VK_RETURN}, {L"escape", VK_ESCAPE}, {L"f1", VK_F1}, {L"tab", VK_TAB}, {L"space", VK_SPACE}};
    const auto it = keys.find(name);
    return it == keys.end() ? 0 : it->second;
}

// Keys reach the dialog in one of three ways:
//  post  - WM_KEYDOWN/WM_KEYUP posted to the control that has the focus in the dialog's thread. The
//          modal loop takes them from the queue like typed keys and hands them to the dialog's
//          pre-translation (the dialog's PreTranslateMessage and IsDialogMessage), which is where
//          Enter, Escape and Tab are decided. The system's own F1 handling is not reached this
//          way: it runs only for keys taken from the input queue.
//  input - SendInput: real keyboard input, delivered to the focus window of the foreground
//          thread, so the dialog is brought to the foreground first. Here the system turns F1
//          into a posted WM_KEYF1 as it takes the key from the queue, as with a typed F1.
//  keyf1 - WM_KEYF1 posted directly to the focus control: the message a typed F1 becomes.
//
// --sync-tab MS then sends Tab by the same road and waits until the focus has moved: keys are
// handled in order, and a WM_KEYF1 made from a key is handled before the next key, so once the
// focus has moved everything the first key caused has happened (the system's input-idle signal is
// no help here: it is also raised whenever the thread waits inside a send to another thread). If
// the key opened a modal window, the Tab lands there and the report shows the focus outside the
// dialog.
bool SendKey(HWND dlg, DWORD tid, const std::wstring& via, UINT vk)
{
    HWND target = FocusOf(tid);
    if (!target || (target != dlg && !IsChild(dlg, target)))
        target = dlg;
    const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    if (via == L"post" || (via == L"keyf1" && vk != VK_F1)) {
        const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
        const LPARAM up = down | (1L << 30) | (1UL << 31);
        // The key-down may end the dialog before the key-up is posted: a key-up that finds the window
        // gone is no failure.
        return PostMessageW(target, WM_KEYDOWN, vk, down) &&
               (PostMessageW(target, WM_KEYUP, vk, up) || !IsWindow(target));
    }
    if (via == L"input") {
        SetForegroundWindow(dlg);
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wVk = in[1].ki.wVk = static_cast<WORD>(vk);
        in[0].ki.wScan = in[1].ki.wScan = static_cast<WORD>(scan);
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        return SendInput(2, in, sizeof(INPUT)) == 2;
    }
    if (via == L"keyf1")
        return PostMessageW(target, kWmKeyF1, 0, 0) != FALSE;
    return false;
}

int Key(const Args& args)
{
    HWND dlg = args.Hwnd();
    const UINT vk = KeyCode(args.Get(L"key"));
    if (!vk)
        return Fail("unknown key");
    const std::wstring via = args.Get(L"via", L"post");
    if (via != L"post" && via != L"input" && via != L"keyf1")
        return Fail("unknown --via");
    DWORD pid = 0;
    const DWORD tid = GetWindowThreadProcessId(dlg, &pid);
    HWND before = FocusOf(tid);
    const int targetId = before && IsChild(dlg, before) ? GetDlgCtrlID(before) : -1;
    if (!SendKey(dlg, tid, via, vk))
        return Fail("sending the key failed");

    std::string sync;
    if (args.Has(L"sync-tab")) {
        if (!SendKey(dlg, tid, via, VK_TAB))
            return Fail("sending Tab failed");
        HWND now = before;
        e2e::PollUntil(args.Number(L"sync-tab", 10000), kPollMs, [&] {
            now = FocusOf(tid);
            return now != before || !IsWindow(dlg);
        });
        const bool inDialog = now && IsChild(dlg, now);
        sync = ",\"synced\":" + Bool(now != before) + ",\"focus_in_dialog\":" + Bool(inDialog) +
               ",\"focus_id\":" + std::to_string(inDialog ? GetDlgCtrlID(now) : 0) +
               ",\"windows\":" + WindowListJson(WindowsOfPids({pid}));
    }
    Emit("{\"ok\":true,\"target_id\":" + std::to_string(targetId) + ",\"foreground\":" +
         Bool(GetForegroundWindow() == dlg) + ",\"alive\":" + Bool(IsWindow(dlg) != FALSE) + sync + "}");
    return 0;
}

// A screen point of the window whose non-client hit test gives the code (20, HTCLOSE: the close
// box), found by asking the window itself over the right end of its top rows; the middle of the hits.
int NcPoint(const Args& args)
{
    HWND h = args.Hwnd();
    const LRESULT want = static_cast<LRESULT>(args.Number(L"hit", HTCLOSE));
    RECT r{};
    GetWindowRect(h, &r);
    long sx = 0, sy = 0, n = 0;
    for (long y = r.top; y < std::min(r.bottom, r.top + 40); y += 2) {
        for (long x = std::max(r.left, r.right - 80); x < r.right; x += 2) {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(h, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 2000, &result))
                return Fail("WM_NCHITTEST failed");
            if (static_cast<LRESULT>(result) == want) {
                sx += x;
                sy += y;
                ++n;
            }
        }
    }
    if (n == 0)
        return Fail("no point with that hit code");
    Emit("{\"ok\":true,\"point\":[" + std::to_string(sx / n) + "," + std::to_string(sy / n) + "]}");
    return 0;
}

int Windows(const Args& args)
{
    const std::set<DWORD> pids = PidsOf(args.Get(L"exe"));
    std::string list = "[";
    for (DWORD pid : pids)
        list += (list.size() > 1 ? "," : "") + std::to_string(pid);
    Emit("{\"ok\":true,\"pids\":" + list + "],\"windows\":" + WindowListJson(WindowsOfPids(pids)) + "}");
    return 0;
}

// Several images at once: --exe and --name may each list alternatives separated by '|'.
int Procs(const Args& args)
{
    std::vector<std::wstring> wanted;
    for (const wchar_t* option : {L"exe", L"name"}) {
        std::wistringstream list(args.Get(option));
        for (std::wstring want; std::getline(list, want, L'|');)
            if (!want.empty())
                wanted.push_back(want);
    }
    std::string json = "[";
    for (const std::wstring& want : wanted)
        for (const Process& p : ProcessesOf(want))
            json += (json.size() > 1 ? "," : "") + std::string("{\"pid\":") + std::to_string(p.pid) +
                    ",\"image\":" + Quote(p.image) + "}";
    Emit("{\"ok\":true,\"procs\":" + json + "]}");
    return 0;
}

int Watch(const Args& args)
{
    const std::wstring exe = args.Get(L"exe");
    const ULONGLONG start = GetTickCount64();
    std::set<HWND> seen;
    std::string seenJson = "[";
    const bool exited = e2e::PollUntil(args.Number(L"timeout", 20000), kPollMs, [&] {
        const std::set<DWORD> pids = PidsOf(exe);
        for (HWND h : WindowsOfPids(pids)) {
            if (!IsWindowVisible(h) || !seen.insert(h).second)
                continue;
            const std::string one = WindowListJson({h});
            seenJson += (seenJson.size() > 1 ? "," : "") + one.substr(1, one.size() - 2);
        }
        return pids.empty();
    });
    if (!exited)
        return Fail("timeout waiting for the process to end", "\"exited\":false,\"windows\":" + seenJson + "]");
    Emit("{\"ok\":true,\"exited\":true,\"elapsed_ms\":" + std::to_string(GetTickCount64() - start) +
         ",\"windows\":" + seenJson + "]}");
    return 0;
}

int Locale()
{
    char lang[16] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_ILANGUAGE, lang, sizeof lang);
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%04lx", static_cast<unsigned long>(GetUserDefaultLCID()));
    Emit("{\"ok\":true,\"lcid\":\"" + std::string(buf) + "\",\"ilanguage\":" + Quote(std::string(lang)) +
         ",\"acp\":" + std::to_string(GetACP()) + "}");
    return 0;
}

// ---- the controls gallery -------------------------------------------------------------------

// The first visible window of the class among the top-level windows of the image's processes.
int WaitForWindowOf(const Args& args, const wchar_t* windowClass, HWND* found)
{
    const std::wstring exe = args.Get(L"exe");
    *found = nullptr;
    if (!e2e::PollUntil(args.Number(L"timeout", 15000), kPollMs, [&] {
            for (HWND h : WindowsOfPids(PidsOf(exe)))
                if (IsWindowVisible(h) && SameText(ClassOf(h), windowClass))
                    return (*found = h) != nullptr;
            return false;
        }))
        return Fail("timeout waiting for a window of class " + e2e::Narrow(windowClass));
    return 0;
}

// Every child of the dialog (--hwnd, or the visible dialog of --exe) with an id of its own: text,
// screen rectangle and a button's BM_GETCHECK; and a point where the pointer is over no control.
int Controls(const Args& args)
{
    HWND dlg = args.Hwnd();
    if (!args.Has(L"hwnd") && WaitForWindowOf(args, L"#32770", &dlg) != 0)
        return 1;
    std::string controls;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r{};
        DWORD_PTR check = 0;
        const bool button = SameText(ClassOf(c), L"Button");
        if (GetDlgCtrlID(c) == -1 || !GetWindowRect(c, &r) ||
            (button && !SendMessageTimeoutW(c, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &check)))
            continue;
        controls += (controls.empty() ? "{\"" : ",\"") + std::to_string(GetDlgCtrlID(c)) + "\":{\"text\":" +
                    TextJson(WindowText(c)) + ",\"rect\":" + RectJson(r) + ",\"check\":" +
                    (button ? std::to_string(check) : "null") + "}";
    }
    const POINT free = FreePoint(dlg);
    Emit("{\"ok\":true,\"hwnd\":" + HwndText(dlg) + ",\"controls\":" + controls + "},\"free_point\":[" +
         std::to_string(free.x) + "," + std::to_string(free.y) + "]}");
    return 0;
}

// The process's shown window of a class (#32768 a popup menu, tooltips_class32 a tooltip): its
// screen rectangle, its text (WM_GETTEXT, which the system carries across processes; a tooltip
// answers with its tip) and, for a menu, the menu it shows.
int Shown(const Args& args)
{
    HWND h = nullptr;
    if (WaitForWindowOf(args, args.Get(L"class").c_str(), &h) != 0)
        return 1;
    RECT r{};
    GetWindowRect(h, &r);
    std::vector<wchar_t> buf(1024);
    DWORD_PTR n = 0, menu = 0;
    SendMessageTimeoutW(h, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG, 5000, &n);
    SendMessageTimeoutW(h, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, 5000, &menu);
    Emit("{\"ok\":true,\"rect\":" + RectJson(r) + ",\"text\":" + TextJson(std::wstring(buf.data(), n)) +
         ",\"menu\":" + HwndText(reinterpret_cast<HWND>(menu)) + "}");
    return 0;
}

// Sets system colours for the whole session ("8=0xffffff,5=0x0": COLOR_* indices) and reports the
// ones they replaced in the same form, for a second run to put back.
int SysColors(const Args& args)
{
    std::vector<int> indices;
    std::vector<COLORREF> colors;
    std::string old;
    std::wistringstream list(args.Get(L"set"));
    for (std::wstring item; std::getline(list, item, L',');) {
        wchar_t* end = nullptr;
        indices.push_back(static_cast<int>(std::wcstoul(item.c_str(), &end, 0)));
        colors.push_back(static_cast<COLORREF>(std::wcstoul(*end == L'=' ? end + 1 : end, nullptr, 0)));
        char buf[32];
        std::snprintf(buf, sizeof buf, ",%d=0x%06lx", indices.back(), GetSysColor(indices.back()));
        old += buf;
    }
    if (indices.empty() || !SetSysColors(static_cast<int>(indices.size()), indices.data(), colors.data()))
        return Fail("SetSysColors failed");
    Emit("{\"ok\":true,\"old\":" + Quote(old.substr(1)) + "}");
    return 0;
}

}  // namespace

// Ends the driver should anything it calls hang, so a test reports that instead of waiting on.
DWORD WINAPI Watchdog(void* limit)
{
    Sleep(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(limit)));
    Fail("the driver itself hung");
    ExitProcess(3);
}

int main()
{
    _setmode(_fileno(stdout), _O_BINARY);
    // Rectangles and points in the screen's own pixels at any display scale, as the X screen shows
    // them (the launcher declares the same awareness); unaware, they would be mapped to 96 DPI.
    SetProcessDPIAware();
    Args args;
    if (!ParseArgs(args))
        return Fail("usage: e2e_driver COMMAND [--option value]...");
    if (args.Has(L"hwnd") && !IsWindow(args.Hwnd()))
        return Fail("no such window");
    const ULONG_PTR limit = args.Number(L"timeout", 30000) + 30000;
    CloseHandle(CreateThread(nullptr, 0, Watchdog, reinterpret_cast<void*>(limit), 0, nullptr));
    const std::map<std::wstring, int (*)(const Args&)> commands = {
        {L"wait-dialog", [](const Args& a) { return WaitFor(a, false); }},
        {L"wait-msgbox", [](const Args& a) { return WaitFor(a, true); }},
        {L"info", [](const Args& a) {
             Emit(IsMessageBox(a.Hwnd()) ? MessageBoxJson(a.Hwnd(), 1) : DialogJson(a.Hwnd()));
             return 0;
         }},
        {L"click", Click}, {L"key", Key}, {L"ncpoint", NcPoint}, {L"windows", Windows},
        {L"close", [](const Args& a) { return Posted(PostMessageW(a.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0)); }},
        {L"procs", Procs}, {L"watch", Watch}, {L"locale", [](const Args&) { return Locale(); }},
        {L"controls", Controls}, {L"shown", Shown}, {L"syscolors", SysColors}};
    const auto command = commands.find(args.command);
    if (command != commands.end())
        return command->second(args);
    return Fail("unknown command");
}
