// Windows side of the start-up benchmark: starts two programs in turn, times each from
// CreateProcess to its first visible top-level window, closes that window, waits for the exit, and
// prints every time, both medians and their ratio.
//   startup_timer RUNS FLOOR.exe PROGRAM.exe
// Each program is started once before the timed runs, so neither pays for a cold cache.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Search
{
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM param)
{
    Search* search = reinterpret_cast<Search*>(param);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !::IsWindowVisible(window))
        return TRUE;
    search->window = window;
    return FALSE;
}

// Milliseconds from process creation to its first visible window; negative if none came.
double TimeStart(const std::string& path)
{
    std::string commandLine = "\"" + path + "\"";
    const std::string directory = path.substr(0, path.find_last_of('\\'));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER frequency, begin, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&begin);
    if (!::CreateProcessA(path.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, directory.c_str(),
                          &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", path.c_str(), ::GetLastError());
        return -1;
    }
    Search search = {process.dwProcessId, NULL};
    double elapsed = -1;
    for (;;) {
        ::EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
        ::QueryPerformanceCounter(&now);
        const double ms = 1000.0 * double(now.QuadPart - begin.QuadPart) / double(frequency.QuadPart);
        if (search.window != NULL) {
            elapsed = ms;
            break;
        }
        if (ms > 30000 || ::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break;
        ::Sleep(1);
    }
    if (search.window != NULL)
        ::PostMessageA(search.window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return elapsed;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: %s RUNS FLOOR.exe PROGRAM.exe\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const std::string programs[2] = {argv[2], argv[3]};
    std::vector<double> times[2];
    for (int round = -1; round < runs; ++round) {
        // Which goes first alternates too, so that neither always follows the other.
        for (int turn = 0; turn < 2; ++turn) {
            const int which = (round & 1) ? 1 - turn : turn;
            const double ms = TimeStart(programs[which]);
            if (ms < 0) {
                std::fprintf(stderr, "%s showed no window\n", programs[which].c_str());
                return 1;
            }
            if (round >= 0)
                times[which].push_back(ms);
        }
        if (round >= 0)
            std::printf("run %2d: floor %7.1f ms, program %7.1f ms\n", round + 1, times[0].back(),
                        times[1].back());
    }
    const double floor = Median(times[0]), program = Median(times[1]);
    std::printf("median of %d: floor %.1f ms, program %.1f ms, ratio %.3f\n", runs, floor, program,
                program / floor);
    return 0;
}
