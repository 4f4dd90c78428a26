// The one watchdog of the Windows tests: a modal loop or a wait for a window that never ends gives up
// after a few seconds, and the test fails naming what it waited for.
#pragma once

#include <windows.h>

#include <string>

namespace wintest {

// Watches the thread that makes it while it lives. When the time is up it posts WM_QUIT to that
// thread (every modal loop and pump ends on it), and its destructor takes the quit out of the queue
// and fails the test with what was awaited. Later watchdogs of the program then give up at once, so
// that a loop that hung once costs no more time in the tests after it. A thread that takes no message
// for a few seconds more (it spins or is blocked) ends the program with the same words.
class Watchdog
{
public:
    explicit Watchdog(std::string awaited, DWORD timeoutMs = 5000);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    static DWORD WINAPI Watch(void* self);
    std::string Complaint() const;

    std::string m_awaited;
    DWORD m_timeoutMs;
    DWORD m_threadId;       // the watched thread
    HANDLE m_ended;         // set when the watched scope ends
    HANDLE m_watcher;
    volatile LONG m_fired;
};

}  // namespace wintest
