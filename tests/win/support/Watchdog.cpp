// The watchdog's thread and its report (see Watchdog.h).
#include "support/Watchdog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <utility>

namespace wintest {

namespace {

volatile LONG g_gaveUp = 0;       // a watchdog of this program has fired
const DWORD kUnresponsiveMs = 3000;   // after the quit, before the program is ended

}  // namespace

Watchdog::Watchdog(std::string awaited, DWORD timeoutMs)
    : m_awaited(std::move(awaited)), m_timeoutMs(g_gaveUp ? 0 : timeoutMs), m_threadId(::GetCurrentThreadId()),
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
    return "gave up after " + std::to_string(m_timeoutMs) + " ms waiting for " + m_awaited;
}

DWORD WINAPI Watchdog::Watch(void* param)
{
    Watchdog& self = *static_cast<Watchdog*>(param);
    if (::WaitForSingleObject(self.m_ended, self.m_timeoutMs) != WAIT_TIMEOUT)
        return 0;
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

}  // namespace wintest
