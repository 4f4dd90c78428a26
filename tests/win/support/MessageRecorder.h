// Message-sequence checks for Windows tests: a recorder that subclasses windows and logs what
// reaches them (a control channel and a parent channel), expected sequences as small tables, and a
// queue pump that runs messages through the framework's PreTranslateMessage walk as the dialog's
// modal loop does.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace wintest {

enum MessageFlags : unsigned {
    Sent = 0x01,        // reached the window procedure outside the pump's dispatch
    Posted = 0x02,      // came from the queue through the pump
    Parent = 0x04,      // recorded on the parent channel
    Other = 0x40,       // recorded on the second control's channel
    Optional = 0x08,    // may be missing
    CheckWParam = 0x10,
    CheckLParam = 0x20,
};

struct ExpectedMessage
{
    UINT message;
    unsigned flags;
    WPARAM wParam;
    LPARAM lParam;
};

struct RecordedMessage
{
    HWND hwnd;
    UINT message;
    unsigned flags;   // Sent or Posted, with the channel's flag (Parent, Other)
    WPARAM wParam;
    LPARAM lParam;
};

// Subclasses windows and records the messages that reach them, without the noise every window
// gets (registered messages, WM_GETICON, WM_GETOBJECT, WM_GETTEXT, hit tests, cursor requests,
// system timers, IME messages). One recorder at a time per thread.
class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // Starts recording hwnd's messages on a channel: 0 for the control, or Parent or Other.
    void Watch(HWND hwnd, unsigned channel = 0);
    void Clear() { m_messages.clear(); }
    const std::vector<RecordedMessage>& Messages() const { return m_messages; }
    // How many times message reached hwnd (any recorded window when hwnd is NULL).
    int Count(UINT message, HWND hwnd = NULL) const;

private:
    static bool IsNoise(UINT message);
    struct Hooked
    {
        HWND hwnd;
        WNDPROC previous;
        unsigned channel;
    };
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    Hooked* Find(HWND hwnd);

    std::vector<Hooked> m_hooked;
    std::vector<RecordedMessage> m_messages;
};

// The message's name for failure reports ("WM_PAINT", or the number in hex).
std::string MessageName(UINT message);

// Compares what was recorded with the table; on a mismatch the message shows both sequences.
::testing::AssertionResult SequenceMatches(const std::vector<RecordedMessage>& recorded,
                                           const ExpectedMessage* expected, size_t count);

template <size_t N>
::testing::AssertionResult SequenceMatches(const MessageRecorder& recorder,
                                           const ExpectedMessage (&expected)[N])
{
    return SequenceMatches(recorder.Messages(), expected, N);
}

// Empties the queue: each message is offered to the PreTranslateMessage walk from its window up to
// dialog (as the dialog's modal loop does) and dispatched unless taken. Returns after the queue
// stays empty, paints included.
void PumpMessages(HWND dialog);
// Pumps until done() answers true or timeoutMs passes; answers done().
bool PumpUntil(HWND dialog, const std::function<bool()>& done, DWORD timeoutMs);
// Pumps for a while (for things that may or may not come, such as timer-driven messages).
void PumpFor(HWND dialog, DWORD milliseconds);

}  // namespace wintest
