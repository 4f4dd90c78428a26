// The one watchdog of the Windows tests: a modal loop or a wait for a window that never ends gives up
// after a few seconds, and the test fails naming what it waited for and the windows then open. Every
// test program's main adds the guard below, so that no test waits for a window nobody expected.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace wintest {

// Watches the thread that makes it while it lives. When the time is up it posts WM_QUIT to that
// thread (every modal loop and pump ends on it), and its destructor takes the quit out of the queue
// and fails the test with what was awaited. Later watchdogs of the program then give up at once, so
// that a loop that hung once costs no more time in the tests after it. A thread that takes no message
// for a few seconds more (it spins or is blocked) ends the program with the same words. A watchdog
// over a whole test (wholeTest) keeps its time after an earlier one has fired.
class Watchdog
{
public:
    explicit Watchdog(std::string awaited, DWORD timeoutMs = 5000, bool wholeTest = false);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    static DWORD WINAPI Watch(void* self);
    std::string Complaint() const;

    std::string m_awaited;
    std::string m_open;     // the watched thread's windows when the time was up
    DWORD m_timeoutMs;
    DWORD m_threadId;       // the watched thread
    HANDLE m_ended;         // set when the watched scope ends
    HANDLE m_watcher;
    volatile LONG m_fired;
};

// Guards each test of the program on its main thread: a message box that no MessageBoxCatcher
// expects is closed as soon as it has set up its texts and fails the test with its caption and text
// (CatchMessageBoxes); any other modal loop or dialog that nothing ends is ended by a watchdog over
// the whole test.
class ModalGuard : public ::testing::EmptyTestEventListener
{
public:
    static constexpr DWORD TestLimitMs = 15000;

    void OnTestProgramStart(const ::testing::UnitTest&) override;
    void OnTestStart(const ::testing::TestInfo&) override;
    void OnTestEnd(const ::testing::TestInfo&) override;

private:
    std::unique_ptr<Watchdog> m_test;
};

}  // namespace wintest
