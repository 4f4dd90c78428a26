// The watchdog's thread and its report (see Watchdog.h).
#include "support/Watchdog.h"

#include <cstdio>
#include <utility>

#include "support/TestDialog.h"

namespace wintest {

namespace {

volatile LONG g_gaveUp = 0;       // a watchdog of this program has fired
const DWORD kUnresponsiveMs = 3000;   // after the quit, before the program is ended

// The thread's visible top-level windows, class and title, read without a message to them (the
// thread may be the one that hangs).
std::string OpenWindows(DWORD threadId)
{
    std::string open;
    ::EnumThreadWindows(threadId, [](HWND hwnd, LPARAM list) {
        wchar_t name[64] = L"", title[256] = L"";
        ::GetClassNameW(hwnd, name, 64);
        ::InternalGetWindowText(hwnd, title, 256);
        char text[512] = "";
        ::WideCharToMultiByte(CP_UTF8, 0, (std::wstring(name) + L" \"" + title + L"\"").c_str(), -1, text,
                              sizeof text, NULL, NULL);
        if (::IsWindowVisible(hwnd))
            *reinterpret_cast<std::string*>(list) += std::string(", ") + text;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&open));
    return open.empty() ? open : open.substr(2);
}

}  // namespace

Watchdog::Watchdog(std::string awaited, DWORD timeoutMs, bool wholeTest)
    : m_awaited(std::move(awaited)), m_timeoutMs(g_gaveUp && !wholeTest ? 0 : timeoutMs),
      m_threadId(::GetCurrentThreadId()),
      m_ended(::CreateEventW(NULL, TRUE, FALSE, NULL)), m_fired(0)
{
    m_watcher = ::CreateThread(NULL, 0, Watch, this, 0, NULL);
}

Watchdog::~Watchdog()
{
    ::SetEvent(m_ended);
    ::WaitForSingleObject(m_watcher, INFINITE);
    ::CloseHandle(m_watcher);
    ::CloseHandle(m_ended);
    if (!m_fired)
        return;
    MSG quit;
    while (::PeekMessageW(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    ADD_FAILURE() << Complaint();
}

std::string Watchdog::Complaint() const
{
    if (m_timeoutMs == 0)
        return "not waited for " + m_awaited + ": an earlier wait of this program hung";
    return "gave up after " + std::to_string(m_timeoutMs) + " ms waiting for " + m_awaited +
           (m_open.empty() ? "" : "; open then: " + m_open);
}

DWORD WINAPI Watchdog::Watch(void* param)
{
    Watchdog& self = *static_cast<Watchdog*>(param);
    if (::WaitForSingleObject(self.m_ended, self.m_timeoutMs) != WAIT_TIMEOUT)
        return 0;
    self.m_open = OpenWindows(self.m_threadId);
    ::InterlockedExchange(&self.m_fired, 1);
    ::InterlockedExchange(&g_gaveUp, 1);
    ::PostThreadMessageW(self.m_threadId, WM_QUIT, 0, 0);
    if (::WaitForSingleObject(self.m_ended, kUnresponsiveMs) != WAIT_TIMEOUT)
        return 0;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::fflush(stdout);
    std::fprintf(stderr, "%s.%s: %s, and the thread took no message for %lu ms more: the program ends\n",
                 test != nullptr ? test->test_suite_name() : "?", test != nullptr ? test->name() : "?",
                 self.Complaint().c_str(), static_cast<unsigned long>(kUnresponsiveMs));
    std::fflush(stderr);
    ::TerminateProcess(::GetCurrentProcess(), 3);
    return 0;
}

// ---- ModalGuard ----------------------------------------------------------------------------------

void ModalGuard::OnTestProgramStart(const ::testing::UnitTest&)
{
    CatchMessageBoxes();
}

void ModalGuard::OnTestStart(const ::testing::TestInfo&)
{
    m_test = std::make_unique<Watchdog>("the test to end (a modal loop or dialog nothing ended)", TestLimitMs,
                                        true);
}

void ModalGuard::OnTestEnd(const ::testing::TestInfo&)
{
    m_test.reset();   // a failure here still counts for the test: listeners added last hear of its end first
}

}  // namespace wintest
