// The message recorder, the sequence comparison and the pump (see MessageRecorder.h).
#include "support/MessageRecorder.h"

#include <cstdio>
#include <sstream>

#include "framework/afx.h"

namespace wintest {

namespace {

MessageRecorder* g_recorder = nullptr;
// The queued message the pump is dispatching, until its window procedure has seen it once.
const MSG* g_dispatching = nullptr;

bool Matches(const RecordedMessage& got, const ExpectedMessage& want)
{
    if (got.message != want.message)
        return false;
    if ((want.flags & (Parent | Other)) != (got.flags & (Parent | Other)))
        return false;
    if ((want.flags & (Sent | Posted)) != 0 && (want.flags & got.flags & (Sent | Posted)) == 0)
        return false;
    if ((want.flags & CheckWParam) && got.wParam != want.wParam)
        return false;
    if ((want.flags & CheckLParam) && got.lParam != want.lParam)
        return false;
    return true;
}

std::string Describe(UINT message, unsigned flags, WPARAM wParam, LPARAM lParam, bool showParams)
{
    std::ostringstream out;
    out << ((flags & Parent) ? "parent " : (flags & Other) ? "other " : "control ")
        << MessageName(message);
    if (flags & Posted)
        out << " posted";
    else if (flags & Sent)
        out << " sent";
    if (flags & Optional)
        out << " (optional)";
    if (showParams || (flags & CheckWParam))
        out << " w=0x" << std::hex << (unsigned long long)wParam;
    if (showParams || (flags & CheckLParam))
        out << " l=0x" << std::hex << (unsigned long long)lParam;
    return out.str();
}

}  // namespace

MessageRecorder::MessageRecorder()
{
    g_recorder = this;
}

MessageRecorder::~MessageRecorder()
{
    for (const Hooked& hooked : m_hooked) {
        if (::IsWindow(hooked.hwnd) && (WNDPROC)::GetWindowLongPtrA(hooked.hwnd, GWLP_WNDPROC) == Proc)
            ::SetWindowLongPtrA(hooked.hwnd, GWLP_WNDPROC, (LONG_PTR)hooked.previous);
    }
    if (g_recorder == this)
        g_recorder = nullptr;
}

void MessageRecorder::Watch(HWND hwnd, unsigned channel)
{
    Hooked hooked = {hwnd, nullptr, channel & (Parent | Other)};
    hooked.previous = (WNDPROC)::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)Proc);
    m_hooked.push_back(hooked);
}

MessageRecorder::Hooked* MessageRecorder::Find(HWND hwnd)
{
    for (Hooked& hooked : m_hooked)
        if (hooked.hwnd == hwnd)
            return &hooked;
    return nullptr;
}

int MessageRecorder::Count(UINT message, HWND hwnd) const
{
    int count = 0;
    for (const RecordedMessage& m : m_messages)
        if (m.message == message && (hwnd == NULL || m.hwnd == hwnd))
            ++count;
    return count;
}

bool MessageRecorder::IsNoise(UINT message)
{
    switch (message) {
    case WM_GETICON:
    case WM_GETOBJECT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case 0x0118:   // WM_SYSTIMER
    case WM_IME_SETCONTEXT:
    case WM_IME_NOTIFY:
        return true;
    default:
        return message >= 0xC000;
    }
}

LRESULT CALLBACK MessageRecorder::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MessageRecorder* self = g_recorder;
    Hooked* hooked = self != nullptr ? self->Find(hwnd) : nullptr;
    if (hooked == nullptr)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    const WNDPROC previous = hooked->previous;

    if (!IsNoise(message)) {
        unsigned flags = hooked->channel;
        const MSG* queued = g_dispatching;
        if (queued != nullptr && queued->hwnd == hwnd && queued->message == message &&
            queued->wParam == wParam && queued->lParam == lParam) {
            flags |= Posted;
            g_dispatching = nullptr;
        } else {
            flags |= Sent;
        }
        self->m_messages.push_back({hwnd, message, flags, wParam, lParam});
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)previous);
        hooked->hwnd = NULL;
    }
    return ::CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

std::string MessageName(UINT message)
{
#define N(m) {m, #m}   // a message and its name
    static const struct { UINT message; const char* name; } names[] = {
        N(WM_NULL), N(WM_CREATE), N(WM_DESTROY), N(WM_MOVE), N(WM_SIZE), N(WM_ACTIVATE), N(WM_SETFOCUS),
        N(WM_KILLFOCUS), N(WM_ENABLE), N(WM_SETREDRAW), N(WM_SETTEXT), N(WM_PAINT), N(WM_CLOSE),
        N(WM_ERASEBKGND), N(WM_SYSCOLORCHANGE), N(WM_SHOWWINDOW), N(WM_ACTIVATEAPP), N(WM_CANCELMODE),
        N(WM_SETCURSOR), N(WM_MOUSEACTIVATE), N(WM_CHILDACTIVATE), N(WM_DRAWITEM), N(WM_NEXTDLGCTL),
        N(WM_SETFONT), N(WM_WINDOWPOSCHANGING), N(WM_WINDOWPOSCHANGED), N(WM_NOTIFY),
        N(WM_STYLECHANGING), N(WM_STYLECHANGED), N(WM_NCCALCSIZE), N(WM_NCPAINT), N(WM_NCACTIVATE),
        N(WM_GETDLGCODE), N(WM_NCDESTROY), N(WM_NCMOUSEMOVE), N(WM_KEYDOWN), N(WM_KEYUP), N(WM_CHAR),
        N(WM_INITDIALOG), N(WM_COMMAND), N(WM_SYSCOMMAND), N(WM_TIMER), N(WM_ENTERIDLE),
        N(WM_CTLCOLORBTN), N(WM_CTLCOLORDLG), N(WM_CTLCOLORSTATIC), N(WM_MOUSEMOVE), N(WM_LBUTTONDOWN),
        N(WM_LBUTTONUP), N(WM_LBUTTONDBLCLK), N(WM_PARENTNOTIFY), N(WM_ENTERMENULOOP),
        N(WM_EXITMENULOOP), N(WM_CAPTURECHANGED), N(WM_MOUSELEAVE), N(WM_PRINTCLIENT), N(BM_GETCHECK),
        N(BM_SETCHECK), N(BM_GETSTATE), N(BM_SETSTATE), N(BM_SETSTYLE), N(BM_CLICK), N(DM_GETDEFID),
        N(DM_SETDEFID),
    };
#undef N
    for (const auto& entry : names)
        if (entry.message == message)
            return entry.name;
    char text[16];
    std::snprintf(text, sizeof text, "0x%04x", message);
    return text;
}

::testing::AssertionResult SequenceMatches(const std::vector<RecordedMessage>& recorded,
                                           const ExpectedMessage* expected, size_t count)
{
    size_t got = 0, want = 0;
    bool ok = true;
    while (want < count || got < recorded.size()) {
        if (want < count && got < recorded.size() && Matches(recorded[got], expected[want])) {
            ++got;
            ++want;
        } else if (want < count && (expected[want].flags & Optional)) {
            ++want;
        } else {
            ok = false;
            break;
        }
    }
    if (ok)
        return ::testing::AssertionSuccess();

    std::ostringstream out;
    out << "message sequence differs at expected entry " << want << ", recorded entry " << got
        << "\n  expected:";
    for (size_t i = 0; i < count; ++i)
        out << "\n    " << Describe(expected[i].message, expected[i].flags, expected[i].wParam,
                                    expected[i].lParam, false);
    out << "\n  recorded:";
    for (const RecordedMessage& m : recorded)
        out << "\n    " << Describe(m.message, m.flags, m.wParam, m.lParam, true);
    return ::testing::AssertionFailure() << out.str();
}

void PumpMessages(HWND dialog)
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (CWnd::WalkPreTranslateTree(dialog, &msg))
            continue;
        ::TranslateMessage(&msg);
        g_dispatching = &msg;
        ::DispatchMessageA(&msg);
        g_dispatching = nullptr;
    }
}

bool PumpUntil(HWND dialog, const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpMessages(dialog);
        if (done())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
    }
}

void PumpFor(HWND dialog, DWORD milliseconds)
{
    PumpUntil(dialog, [] { return false; }, milliseconds);
}

}  // namespace wintest
